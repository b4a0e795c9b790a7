// Arbitrary decompressed archives (and, with the first byte odd, arbitrary stored
// blobs): indexing and every lookup must stay inside the buffers, and a lookup by name
// must return the bytes of the first entry of that name.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <unordered_map>
#include <utility>

#include "skin/data/SkinRead.h"

namespace {

// Entries looked up by name per input: lookups are linear, so looking up all of up to
// 1001 names would make each input quadratic. The first ones and the last one reach
// every path; the size table itself is walked in full below.
constexpr int kLookups = 48;

// Stored blobs announcing 8 KiB .. 64 MiB are skipped: decoding them only repeats the
// decoder's own target at a high price. Short, negative and over-cap lengths stay in.
bool WorthDecoding(vx::TByteSpan blob) {
    if (blob.size() < 4)
        return true;
    const std::uint32_t length = blob[0] | (blob[1] << 8) | (blob[2] << 16) | (static_cast<std::uint32_t>(blob[3]) << 24);
    const auto signedLength = static_cast<std::int32_t>(length);
    return signedLength < 8192 || signedLength > vx::TSkinReader::MaxArchiveSize;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1)
        return 0;
    vx::TSkinReader reader;
    reader.OnMessage = nullptr;
    const vx::TByteSpan rest(data + 1, size - 1);
    bool ok;
    if (data[0] & 1) {
        if (!WorthDecoding(rest))
            return 0;
        ok = reader.LoadArchive(rest);
    } else {
        ok = reader.IndexArchive(rest);
    }
    if (!ok) {
        if (reader.Count() != 0 || !reader.Data().empty())
            __builtin_trap();  // a rejected archive must leave nothing indexed
        return 0;
    }
    if (reader.Count() > vx::TSkinReader::MaxFiles)
        __builtin_trap();

    // Offsets of the first entry of each name, from the size table alone.
    std::unordered_map<std::string, std::pair<std::size_t, std::size_t>> first;
    std::size_t total = 0;
    for (int i = 0; i < reader.Count(); ++i) {
        const auto entrySize = reader.Size(i);
        if (entrySize < 0)
            __builtin_trap();
        first.emplace(reader.Names()[static_cast<std::size_t>(i)], std::make_pair(total, static_cast<std::size_t>(entrySize)));
        total += static_cast<std::size_t>(entrySize);
    }
    if (total > reader.Data().size())
        __builtin_trap();

    vx::TBytes out;
    for (int i = 0; i < reader.Count(); ++i) {
        if (i >= kLookups && i != reader.Count() - 1)
            continue;
        const std::string& name = reader.Names()[static_cast<std::size_t>(i)];
        reader.ExtractFile(name, out);
        const auto [offset, length] = first.at(name);
        if (out.size() != length || (length && std::memcmp(out.data(), reader.Data().data() + offset, length) != 0))
            __builtin_trap();
    }
    std::string name;
    const bool any = reader.ExtractFirstMatching("", out, name);
    if (any != (reader.Count() > 0))
        __builtin_trap();
    reader.ExtractFirstMatching(".ini", out, name);
    return 0;
}
