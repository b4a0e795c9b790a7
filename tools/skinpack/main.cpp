// skinpack FOLDER OUT [--allow-empty] [--version V] [--stream STREAM]
// Packs a skin folder (its .bmp files sorted by name, then its .ini file) into a
// compressed skin blob: the 4-byte archive length followed by the LZHUF bit stream.
// With --stream the blob is also written as a skin data component stores it (the
// "SkinStream" property): its 32-bit little-endian length, then the blob.
// With --allow-empty an empty or missing folder gives a blob of an archive with no
// files (a warning is printed), so a build can go on before the skin exists.

#include <cstdio>
#include <cstring>
#include <exception>
#include <fstream>
#include <string>
#include <vector>
#include <cstdint>

#include "tools/skinpack/LzhEncoder.h"
#include "tools/skinpack/SkinPacker.h"

namespace {

int Usage() {
    std::fprintf(stderr, "usage: skinpack FOLDER OUT [--allow-empty] [--version 20000|30000|40000|50000] [--stream STREAM]\n");
    return 2;
}

// Writes to a temporary name first so an interrupted build leaves no torn file.
void WriteAtomically(const std::string& out, const std::vector<std::uint8_t>& bytes) {
    const std::string temp = out + ".tmp";
    {
        std::ofstream f(temp, std::ios::binary | std::ios::trunc);
        f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        if (!f.flush())
            throw vx::ESkinPackError("cannot write " + temp);
    }
    std::remove(out.c_str());
    if (std::rename(temp.c_str(), out.c_str()) != 0)
        throw vx::ESkinPackError("cannot write " + out);
}

}  // namespace

int main(int argc, char** argv) {
    std::string folder, out, stream;
    bool allowEmpty = false;
    std::int32_t version = 20000;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--allow-empty") == 0)
            allowEmpty = true;
        else if (std::strcmp(argv[i], "--version") == 0 && i + 1 < argc)
            version = static_cast<std::int32_t>(std::atoi(argv[++i]));
        else if (std::strcmp(argv[i], "--stream") == 0 && i + 1 < argc)
            stream = argv[++i];
        else if (folder.empty())
            folder = argv[i];
        else if (out.empty())
            out = argv[i];
        else
            return Usage();
    }
    if (folder.empty() || out.empty())
        return Usage();

    try {
        const auto files = vx::CollectSkinFolder(folder, allowEmpty);
        if (files.empty())
            std::fprintf(stderr, "skinpack: warning: no skin files in %s, writing an empty archive\n",
                         folder.c_str());
        const auto archive = vx::BuildSkinArchive(files, version);
        const auto blob = vx::LzhEncodeStored(archive);
        WriteAtomically(out, blob);
        if (!stream.empty()) {
            const auto length = static_cast<std::uint32_t>(blob.size());
            std::vector<std::uint8_t> property{static_cast<std::uint8_t>(length), static_cast<std::uint8_t>(length >> 8),
                                               static_cast<std::uint8_t>(length >> 16),
                                               static_cast<std::uint8_t>(length >> 24)};
            property.insert(property.end(), blob.begin(), blob.end());
            WriteAtomically(stream, property);
        }
        std::printf("skinpack: %zu files, %zu bytes -> %zu bytes\n", files.size(), archive.size(), blob.size());
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "skinpack: %s\n", e.what());
        return 1;
    }
}
