// Arbitrary bit streams with an arbitrary count: decoding must stay inside its buffers
// and end after the count.
#include <cstddef>
#include <cstdint>

#include "skin/data/SkinRead.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2)
        return 0;
    // The first two bytes choose the count: up to 1023 bytes usually, or 32 to 97 KiB
    // when the second byte is 0xFF (long enough for tree rebuilds). Short counts keep
    // each input cheap: the window wraps after 60 bytes and every match position is
    // reachable from the first byte on, so longer outputs only add decoding time.
    const std::int32_t count = data[1] == 0xFF ? 32768 + data[0] * 256 : ((data[0] | (data[1] << 8)) & 0x03FF);
    vx::TBytes out;
    out.reserve(static_cast<std::size_t>(count) + 60);
    vx::TLZH lzh(vx::TByteSpan(data + 2, size - 2), out);
    lzh.Decode(count);
    if (out.size() < static_cast<std::size_t>(count) || out.size() >= static_cast<std::size_t>(count) + 60)
        __builtin_trap();
    // Decoding is deterministic: the same stream and count give the same bytes.
    if (size < 64 && count < 256) {
        vx::TBytes again;
        vx::TLZH(vx::TByteSpan(data + 2, size - 2), again).Decode(count);
        if (again != out)
            __builtin_trap();
    }
    return 0;
}
