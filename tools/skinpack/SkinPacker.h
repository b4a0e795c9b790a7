#pragma once
// Builds skin archives: the uncompressed layout (header, name list, size table, data)
// and the packing of a skin folder (its .bmp files by name, then its INI file last).

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

namespace vx {

struct TSkinFile {
    std::string Name;  // plain file name, ASCII
    std::vector<std::uint8_t> Data;
};

class ESkinPackError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The uncompressed archive of `files` in the given order: the version (20000, 30000,
// 40000 or 50000), a zero-filled extra block of the version's size, the names joined
// by CR LF (after the last one too), the sizes and the data. Throws ESkinPackError for
// an unknown version, more than 1001 files, or a name with a line break or NUL.
std::vector<std::uint8_t> BuildSkinArchive(const std::vector<TSkinFile>& files,
                                           std::int32_t version = 20000);

// The files of a skin folder in archive order: the .bmp files sorted by name (byte
// order), then the one .ini file. Extensions match without regard to case; other files
// are ignored. Throws ESkinPackError when there are .bmp files but no .ini, more than
// one .ini, or a file name that is not plain ASCII. An empty folder, or a missing one,
// gives no files when `allowEmpty` is set and an error otherwise.
std::vector<TSkinFile> CollectSkinFolder(const std::filesystem::path& folder, bool allowEmpty);

}  // namespace vx
