// Time to queue 10,000 files: the queue model (a set of upper-cased paths beside the
// rows) against a scan of every queued row per added file.
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "app/FileQueue.h"
#include "framework/SysUtils.h"
#include "app/vxeUtils.h"

namespace {

std::vector<std::wstring> MakePaths(int count) {
    std::vector<std::wstring> paths;
    paths.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        paths.push_back(L"D:\\Videos\\Holiday 2026\\Camera " + std::to_wstring(i % 7) + L"\\clip-" +
                        std::to_wstring(i) + L".mpg");
    return paths;
}

// Every added file is compared with every queued row, ASCII letters upper-cased.
int NaiveAdd(const std::vector<std::wstring>& paths) {
    std::vector<std::wstring> rows;
    for (const std::wstring& path : paths) {
        const std::wstring key = vx::UpperCase(path);
        bool found = false;
        for (const std::wstring& row : rows)
            if (vx::UpperCase(row) == key) {
                found = true;
                break;
            }
        if (!found) rows.push_back(path);
    }
    return static_cast<int>(rows.size());
}

template <class F>
double Milliseconds(F&& f) {
    const auto start = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main() {
    const int count = 10000;
    const std::vector<std::wstring> paths = MakePaths(count);
    int modelRows = 0, naiveRows = 0;
    const double model = Milliseconds([&] {
        vx::TFileQueue queue;
        for (const std::wstring& p : paths) queue.AddFile(p);
        // A second drop of the same files adds nothing.
        for (const std::wstring& p : paths) queue.AddFile(p);
        modelRows = queue.Count();
    });
    const double naive = Milliseconds([&] { naiveRows = NaiveAdd(paths); });
    std::printf("files: %d\nqueue model: %.2f ms for %d adds (%d rows)\n", count, model, 2 * count, modelRows);
    std::printf("row scan:    %.2f ms for %d adds (%d rows)\nratio: %.0fx\n", naive, count, naiveRows,
                naive / (model > 0 ? model : 1e-9));
    return modelRows == count && naiveRows == count ? 0 : 1;
}
