// Time of a whole skin load into the model, from the packed blob the program carries:
// decompression and indexing of the archive, the definition, every bitmap and every
// derived picture (combo strips, arrow, toolbar gradient), as the main window does it.
//   bench_skin_load [BLOB] [RUNS]
// Run it from its build folder (the default blob path is relative to it).

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "framework/Classes.h"
#include "skin/data/SkinIni.h"
#include "skin/data/SkinModel.h"
#include "skin/data/SkinRead.h"

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

struct TStats {
    double Median;
    double Best;
};

TStats Summarise(std::vector<double> runs) {
    std::sort(runs.begin(), runs.end());
    const std::size_t n = runs.size();
    const double median = n % 2 ? runs[n / 2] : (runs[n / 2 - 1] + runs[n / 2]) / 2;
    return {median, runs.front()};
}

}  // namespace

int main(int argc, char** argv) {
    const std::string path = argc > 1 ? argv[1] : VX_BENCH_SKIN_BLOB;
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 21;
    std::ifstream file(path, std::ios::binary);
    const std::vector<std::uint8_t> blob((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (blob.size() < 4) {
        std::fprintf(stderr, "cannot read the skin blob %s\n", path.c_str());
        return 1;
    }
    vx::SetDefaultSkinMessageNotifier([](const std::wstring&) {});

    std::vector<double> decode, whole, modelOnly;
    std::size_t archiveBytes = 0, elements = 0;
    for (int i = 0; i < runs + 1; ++i) {  // the first run warms caches and is dropped
        const auto t0 = Clock::now();
        vx::TSkinReader reader;
        if (!reader.LoadArchive(vx::TByteSpan(blob.data(), blob.size()))) {
            std::fprintf(stderr, "the blob does not hold a skin archive\n");
            return 1;
        }
        const auto t1 = Clock::now();
        vx::TMemoryStream text;
        std::string name;
        reader.ExtractFirstMatching(".ini", text, name);
        vx::TQuickIni ini;
        ini.LoadFromStream(&text);
        vx::TSkinModel model;
        const auto t2 = Clock::now();
        model.LoadDefinition(ini, reader);
        const auto t3 = Clock::now();
        archiveBytes = reader.Data().size();
        elements = model.SysButtons.size();
        if (i == 0)
            continue;
        decode.push_back(Ms(t1 - t0));
        modelOnly.push_back(Ms(t3 - t2));
        whole.push_back(Ms(t3 - t0));
    }
    const TStats d = Summarise(decode), m = Summarise(modelOnly), w = Summarise(whole);
    std::printf("skin blob: %zu bytes -> %zu bytes of files, %d runs (+1 warm-up dropped)\n", blob.size(),
                archiveBytes, runs);
    std::printf("decode + index:      median %8.2f ms  best %8.2f ms  (%.1f MB/s at the median)\n", d.Median, d.Best,
                archiveBytes / 1e6 / (d.Median / 1e3));
    std::printf("model (INI, bitmaps, derived pictures): median %8.2f ms  best %8.2f ms\n", m.Median, m.Best);
    std::printf("whole load:          median %8.2f ms  best %8.2f ms  (%zu title-bar buttons)\n", w.Median, w.Best,
                elements);
    return 0;
}
