#pragma once
// The adaptive Huffman model and the position tables of the skin archive's LZHUF coding.
// The decoder (SkinRead) and the build-time packer share this one model, so both sides
// keep the tree in step by construction: every symbol coded or decoded updates it the
// same way.

#include <array>
#include <cstdint>

namespace vx::lzh {

constexpr int N = 4096;          // window size; positions are masked with N - 1
constexpr int F = 60;            // longest match
constexpr int THRESHOLD = 2;     // a match is at least THRESHOLD + 1 bytes long
constexpr int N_CHAR = 256 - THRESHOLD + F;  // 314 symbols: 256 bytes, 58 lengths
constexpr int T = N_CHAR * 2 - 1;            // 627 tree nodes
constexpr int R = T - 1;                     // the root
constexpr unsigned MAX_FREQ = 0x8000;        // root frequency that triggers a rebuild
constexpr int TEXT_SIZE = N + F - 1;         // 4155 bytes of text buffer
constexpr int TEXT_START = N - F;            // 4036: first write position

namespace detail {
// The position tables follow from their shape: first bytes 0x00-0x1F give the value 0
// with a 3-bit code, then groups of 16, 8, 4, 2 and 1 bytes per value with codes of 4
// to 8 bits.
template <bool wantLength>
constexpr std::array<std::uint8_t, 256> PositionTable() {
    struct Group { int values; int bytesPerValue; int bits; };
    constexpr Group groups[] = {{1, 32, 3}, {3, 16, 4}, {8, 8, 5},
                                {12, 4, 6}, {24, 2, 7}, {16, 1, 8}};
    std::array<std::uint8_t, 256> table{};
    int byte = 0, value = 0;
    for (const Group& g : groups)
        for (int v = 0; v < g.values; ++v, ++value)
            for (int k = 0; k < g.bytesPerValue; ++k, ++byte)
                table[byte] = static_cast<std::uint8_t>(wantLength ? g.bits : value);
    return table;
}
}  // namespace detail

// High 6 bits of a 12-bit match position from the first byte read, and the number of
// bits (counted from that byte's top) that make up the code of those 6 bits.
inline constexpr std::array<std::uint8_t, 256> d_code = detail::PositionTable<false>();
inline constexpr std::array<std::uint8_t, 256> d_len = detail::PositionTable<true>();

// The adaptive Huffman tree over N_CHAR symbols. Nodes are kept in order of rising
// frequency; the two children of an inner node sit at son[n] and son[n] + 1, son[n]
// always even, so a node's branch bit is the parity of its own index.
class TLzhTree {
public:
    TLzhTree() { Start(); }

    // The initial balanced tree, every symbol with frequency 1.
    void Start();
    // Counts symbol c (0..N_CHAR-1) once more, rebuilding first when the root has
    // reached MAX_FREQ.
    void Update(int c);

    // Walks from the root; NextBit() gives 0 or 1. Returns the symbol, updating the tree.
    template <class BitSource>
    int DecodeSymbol(BitSource&& nextBit) {
        int c = son_[R];
        while (c < T)
            c = son_[c + nextBit()];
        c -= T;
        Update(c);
        return c;
    }

    // The code of symbol c, root first: bits[0..length-1]. Returns the length. Does not
    // update the tree. `bits` must hold T entries (the deepest possible path).
    int CodeOf(int c, std::uint8_t* bits) const;

    // How many times the tree has been rebuilt since Start (for tests and diagnostics).
    unsigned RebuildCount() const { return rebuilds_; }

    // Read access for consistency checks.
    std::uint16_t Freq(int node) const { return freq_[node]; }
    int Son(int node) const { return son_[node]; }
    int Parent(int nodeOrLeaf) const { return prnt_[nodeOrLeaf]; }

private:
    void Rebuild();

    std::array<std::uint16_t, T + 1> freq_{};      // freq_[T] is the 0xFFFF sentinel
    std::array<std::int16_t, T + N_CHAR> prnt_{};  // entries T.. link symbols to leaves
    std::array<std::int16_t, T> son_{};            // >= T: leaf of symbol value - T
    unsigned rebuilds_ = 0;
};

}  // namespace vx::lzh
