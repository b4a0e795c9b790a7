#include "tools/skinpack/SkinPacker.h"

#include <algorithm>
#include <fstream>
#include <iterator>

#include "skin/data/SkinArchiveFormat.h"

namespace vx {

namespace {

void PutInt32(std::vector<std::uint8_t>& out, std::int32_t value) {
    const auto v = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

std::string LowerAscii(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return s;
}

std::vector<std::uint8_t> ReadWholeFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw ESkinPackError("cannot read " + path.string());
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad())
        throw ESkinPackError("cannot read " + path.string());
    return bytes;
}

}  // namespace

std::vector<std::uint8_t> BuildSkinArchive(const std::vector<TSkinFile>& files, std::int32_t version) {
    const int extra = SkinArchiveExtraBlockSize(version);
    if (extra < 0)
        throw ESkinPackError("unknown archive version " + std::to_string(version));
    if (files.size() > 1001)
        throw ESkinPackError("a skin archive holds at most 1001 files");

    std::string names;
    for (const TSkinFile& f : files) {
        if (f.Name.find_first_of(std::string("\r\n\0", 3)) != std::string::npos)
            throw ESkinPackError("file name with a line break or NUL");
        names += f.Name;
        names += "\r\n";
    }
    std::vector<std::uint8_t> out;
    PutInt32(out, version);
    PutInt32(out, static_cast<std::int32_t>(names.size()));
    PutInt32(out, 0);
    PutInt32(out, 0);
    out.insert(out.end(), static_cast<std::size_t>(extra), 0);
    out.insert(out.end(), names.begin(), names.end());
    for (const TSkinFile& f : files) {
        if (f.Data.size() > 0x7FFFFFFFu)
            throw ESkinPackError("file too large: " + f.Name);
        PutInt32(out, static_cast<std::int32_t>(f.Data.size()));
    }
    for (const TSkinFile& f : files)
        out.insert(out.end(), f.Data.begin(), f.Data.end());
    return out;
}

std::vector<TSkinFile> CollectSkinFolder(const std::filesystem::path& folder, bool allowEmpty) {
    std::vector<std::filesystem::path> bitmaps, inis;
    std::error_code ec;
    if (std::filesystem::is_directory(folder, ec)) {
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            if (!entry.is_regular_file())
                continue;
            const std::string ext = LowerAscii(entry.path().extension().string());
            if (ext == ".bmp")
                bitmaps.push_back(entry.path());
            else if (ext == ".ini")
                inis.push_back(entry.path());
        }
    } else if (!allowEmpty) {
        throw ESkinPackError("not a folder: " + folder.string());
    }

    if (bitmaps.empty() && inis.empty()) {
        if (!allowEmpty)
            throw ESkinPackError("no skin files in " + folder.string());
        return {};
    }
    if (inis.empty())
        throw ESkinPackError("no .ini file in " + folder.string());
    if (inis.size() > 1)
        throw ESkinPackError("more than one .ini file in " + folder.string());

    auto nameOf = [](const std::filesystem::path& p) {
        const std::u8string u8 = p.filename().u8string();
        std::string name(u8.begin(), u8.end());
        for (unsigned char c : name)
            if (c < 32 || c > 126)
                throw ESkinPackError("file name is not plain ASCII: " + name);
        return name;
    };
    std::vector<TSkinFile> files;
    for (const auto& p : bitmaps)
        files.push_back({nameOf(p), ReadWholeFile(p)});
    std::sort(files.begin(), files.end(),
              [](const TSkinFile& a, const TSkinFile& b) { return a.Name < b.Name; });
    files.push_back({nameOf(inis.front()), ReadWholeFile(inis.front())});
    return files;
}

}  // namespace vx
