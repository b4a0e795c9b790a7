// Arbitrary bit streams with an arbitrary count: decoding must stay inside its buffers
// and end after the count.
#include <cstddef>
#include <cstdint>

#include "skin/data/SkinRead.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2)
        return 0;
    // The first two bytes choose the count: up to 4095 bytes usually (fast runs), or
    // 32 to 97 KiB when the second byte is 0xFF (long enough for tree rebuilds).
    const std::int32_t count = data[1] == 0xFF ? 32768 + data[0] * 256 : ((data[0] | (data[1] << 8)) & 0x0FFF);
    vx::TBytes out;
    vx::TLZH lzh(vx::TByteSpan(data + 2, size - 2), out);
    lzh.Decode(count);
    if (out.size() < static_cast<std::size_t>(count) || out.size() >= static_cast<std::size_t>(count) + 60)
        __builtin_trap();
    return 0;
}
