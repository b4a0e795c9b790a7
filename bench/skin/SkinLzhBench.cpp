// Decoding and encoding throughput of skin archives, and the compression ratio.
//   bench_skin_lzh [SKIN_FOLDER]
// Measures the packed skin folder (default: the program's own assets/skin) when it has
// files, and always a synthetic skin of the same make-up as the shipped one: 63
// 24-bit bitmaps (frames with gradients, flat faces and magenta corners) and an INI
// file, about half a megabyte.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "skin/data/SkinRead.h"
#include "tools/skinpack/LzhEncoder.h"
#include "tools/skinpack/SkinPacker.h"

namespace {

using Clock = std::chrono::steady_clock;

void Put16(std::vector<std::uint8_t>& b, unsigned v) { b.push_back(v & 0xFF); b.push_back((v >> 8) & 0xFF); }
void Put32(std::vector<std::uint8_t>& b, unsigned v) { Put16(b, v & 0xFFFF); Put16(b, v >> 16); }

// A 24-bit bitmap file drawn like a skin element.
std::vector<std::uint8_t> SkinBitmap(int w, int h, std::mt19937& rng) {
    const int stride = (w * 3 + 3) & ~3;
    std::vector<std::uint8_t> b;
    b.push_back('B'); b.push_back('M');
    Put32(b, 54 + stride * h); Put32(b, 0); Put32(b, 54);
    Put32(b, 40); Put32(b, w); Put32(b, h); Put16(b, 1); Put16(b, 24);
    Put32(b, 0); Put32(b, stride * h); Put32(b, 2835); Put32(b, 2835); Put32(b, 0); Put32(b, 0);
    const int base = static_cast<int>(rng() % 200), tint = static_cast<int>(rng() % 60);
    const int corner = 3 + static_cast<int>(rng() % 4);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const bool border = x < 2 || y < 2 || x >= w - 2 || y >= h - 2;
            const bool magenta = (x < corner && y < corner - x) || (x >= w - corner && y < x - (w - corner) + 1);
            int r, g, bl;
            if (magenta) { r = 255; g = 0; bl = 255; }
            else if (border) { r = g = bl = base / 3; }
            else {
                const int shade = base + (y * 55) / std::max(1, h);
                r = std::min(255, shade); g = std::min(255, shade + tint / 2); bl = std::min(255, shade + tint);
                if (rng() % 23 == 0) { r ^= 1; }  // a little dither noise
            }
            b.push_back(static_cast<std::uint8_t>(bl));
            b.push_back(static_cast<std::uint8_t>(g));
            b.push_back(static_cast<std::uint8_t>(r));
        }
        for (int p = w * 3; p < stride; ++p)
            b.push_back(0);
    }
    return b;
}

std::vector<vx::TSkinFile> SyntheticSkin() {
    std::mt19937 rng(1);
    std::vector<vx::TSkinFile> files;
    std::string ini = "[TitlebarSkin]\r\nSkinName=Bench\r\n[Personality]\r\n";
    std::size_t total = 0;
    for (int i = 0; i < 63; ++i) {
        int w = 20 + static_cast<int>(rng() % 140), h = 10 + static_cast<int>(rng() % 30);
        if (i < 4) { w = 250; h = 40; }  // the big frame pieces
        const std::string name = "element" + std::to_string(i) + ".bmp";
        files.push_back({name, SkinBitmap(w, h, rng)});
        total += files.back().Data.size();
        ini += "[Section" + std::to_string(i) + "]\r\nImage=" + name + "\r\nLeftWidth=4\r\nTopHeight=4\r\n"
               "RightWidth=4\r\nBottomHeight=4\r\nTrans=1\r\nTile=0\r\nFrame=5\r\n";
    }
    files.push_back({"skin.ini", std::vector<std::uint8_t>(ini.begin(), ini.end())});
    return files;
}

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

void Measure(const char* what, const std::vector<std::uint8_t>& archive) {
    std::vector<std::uint8_t> blob;
    std::vector<double> encode, decode;
    for (int run = 0; run < 5; ++run) {
        const auto t0 = Clock::now();
        blob = vx::LzhEncodeStored(archive);
        encode.push_back(Seconds(Clock::now() - t0));
    }
    for (int run = 0; run < 20; ++run) {
        vx::TSkinReader reader;
        const auto t0 = Clock::now();
        const bool ok = reader.LoadArchive(blob);
        decode.push_back(Seconds(Clock::now() - t0));
        if (!ok) { std::printf("%s: decoding failed\n", what); return; }
    }
    std::sort(encode.begin(), encode.end());
    std::sort(decode.begin(), decode.end());
    const double mb = archive.size() / 1e6;
    std::printf("%s: archive %zu bytes, blob %zu bytes, ratio %.2f%% (%.2f:1)\n", what, archive.size(),
                blob.size(), 100.0 * blob.size() / archive.size(), double(archive.size()) / blob.size());
    std::printf("  decode+index: median %.2f ms (%.1f MB/s of output), best %.2f ms, worst %.2f ms (20 runs)\n",
                decode[decode.size() / 2] * 1e3, mb / decode[decode.size() / 2], decode.front() * 1e3,
                decode.back() * 1e3);
    std::printf("  encode: median %.1f ms (%.1f MB/s of input), best %.1f ms, worst %.1f ms (5 runs)\n",
                encode[encode.size() / 2] * 1e3, mb / encode[encode.size() / 2], encode.front() * 1e3,
                encode.back() * 1e3);
}

}  // namespace

int main(int argc, char** argv) {
    const std::string folder = argc > 1 ? argv[1] : std::string(VX_SOURCE_DIR) + "/assets/skin";
    try {
        const auto files = vx::CollectSkinFolder(folder, true);
        if (!files.empty())
            Measure(("skin folder " + folder).c_str(), vx::BuildSkinArchive(files));
        else
            std::printf("skin folder %s is empty\n", folder.c_str());
    } catch (const std::exception& e) {
        std::printf("skin folder %s: %s\n", folder.c_str(), e.what());
    }
    Measure("synthetic skin (63 bitmaps + INI)", vx::BuildSkinArchive(SyntheticSkin()));
    return 0;
}
