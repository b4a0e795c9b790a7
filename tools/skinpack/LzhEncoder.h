#pragma once
// LZHUF compression for skin archives: LZSS over a 4096-byte window (matches of 3 to
// 60 bytes found through hash chains) with the adaptive Huffman coding of symbols and
// the fixed position codes that the skin decoder reads. Build-time only: the program
// itself never compresses.

#include <cstdint>
#include <span>
#include <vector>

namespace vx {

struct TLzhEncodeOptions {
    // Candidates examined per position; more finds longer matches, slower.
    int MaxChainLength = 1024;
    // Defer a match by one byte when the next position has a longer one.
    bool LazyMatching = true;
};

// The LZHUF bit stream of `data` (without the length field), padded with zero bits to
// a whole byte.
std::vector<std::uint8_t> LzhEncode(std::span<const std::uint8_t> data,
                                    const TLzhEncodeOptions& options = {});

// A stored skin blob: the 4-byte little-endian length followed by the bit stream.
std::vector<std::uint8_t> LzhEncodeStored(std::span<const std::uint8_t> data,
                                          const TLzhEncodeOptions& options = {});

}  // namespace vx
