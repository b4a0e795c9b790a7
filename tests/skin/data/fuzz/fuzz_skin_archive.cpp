// Arbitrary decompressed archives (and, with the first byte odd, arbitrary stored
// blobs): indexing and every lookup must stay inside the buffers.
#include <cstddef>
#include <cstdint>
#include <string>

#include "skin/data/SkinRead.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1)
        return 0;
    vx::TSkinReader reader;
    reader.OnMessage = nullptr;
    const vx::TByteSpan rest(data + 1, size - 1);
    bool ok;
    if (data[0] & 1) {
        // Keep the announced length small so a run stays quick; the length cap itself
        // is covered by the unit tests.
        if (rest.size() >= 4 && (rest[2] | rest[3]))
            return 0;
        ok = reader.LoadArchive(rest);
    } else {
        ok = reader.IndexArchive(rest);
    }
    if (!ok)
        return 0;
    vx::TBytes out;
    std::size_t total = 0;
    for (int i = 0; i < reader.Count(); ++i) {
        reader.ExtractFile(reader.Names()[static_cast<std::size_t>(i)], out);
        total += static_cast<std::size_t>(reader.Size(i));
    }
    if (total > reader.Data().size())
        __builtin_trap();
    std::string name;
    reader.ExtractFirstMatching(".ini", out, name);
    reader.ExtractFirstMatching("", out, name);
    return 0;
}
