#pragma once
// The archive format versions that the reader and the packer both know.

#include <cstdint>

namespace vx {

// Size of the zero-filled block that follows a version's header, or -1 for a version
// that is not known.
constexpr int SkinArchiveExtraBlockSize(std::int32_t version) {
    switch (version) {
    case 20000: return 0;
    case 30000: return 256;
    case 40000: return 80;
    case 50000: return 48;
    default: return -1;
    }
}

}  // namespace vx
