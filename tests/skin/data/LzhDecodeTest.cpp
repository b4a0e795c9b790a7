// The decoder against streams derived by hand from the coding rules, independently of
// the packer's encoder, and the adaptive tree's invariants under long use.

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "skin/data/LzhHuffman.h"
#include "skin/data/SkinRead.h"

namespace vx {
namespace {

std::string DecodeToString(const TBytes& bits, std::int32_t count) {
    TBytes out;
    TLZH lzh(bits, out);
    lzh.Decode(count);
    return std::string(out.begin(), out.end());
}

// In the initial tree, node n >= 314 has children 2n - 628 and 2n - 627 and symbol c
// sits at leaf c, so a symbol's code is found by walking k -> (k >> 1) + 314 up to the
// root 626, taking k & 1 as the bit at each step, and reading the bits root first:
//   'A' (65): 65, 346, 487, 557, 592, 610, 619, 623, 625 -> bits 1,0,1,1,0,0,1,1,1
//             -> code 111001101
//   313 (a match of 60): 313, 470, 549, 588, 608, 618, 623, 625 -> code 11000101
TEST(LzhDecode, FirstLiteralOfTheInitialTree) {
    // 111001101 then zero padding: 1110 0110 | 1000 0000
    EXPECT_EQ(DecodeToString({0xE6, 0x80}, 1), "A");
    // Missing bytes read as 0: symbol 313 alone is followed by position 0, a copy of
    // the spaces just before the write position.
    EXPECT_EQ(DecodeToString({0xC5}, 60), std::string(60, ' '));
}

TEST(LzhDecode, MatchWithPositionThenLiteral) {
    // Symbol 313 (length 60); position 0xABC: high bits 42 have the 7-bit code 1110010
    // (first byte 0xE4), low bits 111100; then 'A' again. Counting 313 up the initial
    // tree swaps nothing (every node stays at or below its right neighbour), so 'A'
    // keeps its initial code. Bits:
    //   11000101 1110010 111100 111001101 -> C5 E5 E7 34
    // The copy starts at (4036 - 0xABC - 1), inside the initial spaces.
    EXPECT_EQ(DecodeToString({0xC5, 0xE5, 0xE7, 0x34}, 61), std::string(60, ' ') + "A");
}

TEST(LzhDecode, CopyUnderWayFinishesPastTheCount) {
    // The 60-byte match is written whole although only 10 bytes were asked for.
    const TBytes bits = {0xC5, 0xE5, 0xE7, 0x34};
    TBytes out;
    TLZH lzh(bits, out);
    lzh.Decode(10);
    EXPECT_EQ(out.size(), 60u);
}

TEST(LzhDecode, NothingForZeroOrNegativeCounts) {
    EXPECT_EQ(DecodeToString({0xE6, 0x80}, 0), "");
    EXPECT_EQ(DecodeToString({0xE6, 0x80}, -5), "");
    // An empty stream still decodes the requested count (zero bits, meaningless bytes).
    const TBytes none;
    TBytes out;
    TLZH lzh(none, out);
    lzh.Decode(1000);
    EXPECT_GE(out.size(), 1000u);
}

TEST(LzhPositionTables, ShapeOfTheStandardTables) {
    EXPECT_EQ(lzh::d_code[0x00], 0);
    EXPECT_EQ(lzh::d_code[0x1F], 0);
    EXPECT_EQ(lzh::d_code[0x20], 1);
    EXPECT_EQ(lzh::d_code[0x4F], 3);
    EXPECT_EQ(lzh::d_code[0x50], 4);
    EXPECT_EQ(lzh::d_code[0x8F], 11);
    EXPECT_EQ(lzh::d_code[0x90], 12);
    EXPECT_EQ(lzh::d_code[0xBF], 23);
    EXPECT_EQ(lzh::d_code[0xC0], 24);
    EXPECT_EQ(lzh::d_code[0xE4], 42);
    EXPECT_EQ(lzh::d_code[0xEF], 47);
    EXPECT_EQ(lzh::d_code[0xF0], 48);
    EXPECT_EQ(lzh::d_code[0xFF], 63);
    const int lengths[][2] = {{0x00, 3}, {0x1F, 3}, {0x20, 4}, {0x4F, 4}, {0x50, 5}, {0x8F, 5},
                              {0x90, 6}, {0xBF, 6}, {0xC0, 7}, {0xEF, 7}, {0xF0, 8}, {0xFF, 8}};
    for (const auto& l : lengths)
        EXPECT_EQ(lzh::d_len[static_cast<std::size_t>(l[0])], l[1]) << l[0];
}

// Sibling order, sums, and links that agree both ways: what the coder relies on.
void ExpectConsistentTree(const lzh::TLzhTree& t) {
    int leaves = 0;
    for (int n = 0; n < lzh::T; ++n) {
        if (n + 1 < lzh::T) {
            ASSERT_LE(t.Freq(n), t.Freq(n + 1)) << "node " << n;
        }
        const int s = t.Son(n);
        if (s >= lzh::T) {
            ++leaves;
            ASSERT_EQ(t.Parent(s), n);
        } else {
            ASSERT_EQ(s % 2, 0) << "node " << n;
            ASSERT_EQ(t.Parent(s), n);
            ASSERT_EQ(t.Parent(s + 1), n);
            ASSERT_EQ(t.Freq(n), t.Freq(s) + t.Freq(s + 1)) << "node " << n;
        }
    }
    EXPECT_EQ(leaves, lzh::N_CHAR);
    EXPECT_EQ(t.Freq(lzh::T), 0xFFFF);
}

TEST(LzhTree, StaysConsistentAcrossRebuilds) {
    lzh::TLzhTree tree;
    ExpectConsistentTree(tree);
    EXPECT_EQ(tree.Freq(lzh::R), lzh::N_CHAR);
    // A skewed distribution makes swaps at every depth; 100000 updates pass the
    // rebuild limit three times.
    std::mt19937 rng(7);
    std::geometric_distribution<int> skew(0.05);
    for (int i = 0; i < 100000; ++i) {
        tree.Update(std::min(skew(rng), lzh::N_CHAR - 1));
        if (i % 9973 == 0)
            ExpectConsistentTree(tree);
    }
    ExpectConsistentTree(tree);
    EXPECT_GE(tree.RebuildCount(), 2u);
    EXPECT_LE(tree.Freq(lzh::R), lzh::MAX_FREQ);
}

TEST(LzhTree, RebuildHalvesLeafCountsRoundingUp) {
    lzh::TLzhTree tree;
    // Count symbol 0 until the root reaches the limit; the next update rebuilds.
    while (tree.Freq(lzh::R) < lzh::MAX_FREQ)
        tree.Update(0);
    const int leaf0 = tree.Parent(lzh::T + 0);
    const unsigned before0 = tree.Freq(leaf0);
    tree.Update(1);
    EXPECT_EQ(tree.RebuildCount(), 1u);
    ExpectConsistentTree(tree);
    EXPECT_EQ(tree.Freq(tree.Parent(lzh::T + 0)), (before0 + 1) / 2);
    // Symbol 1 had count 1: halved up to 1, then counted once more.
    EXPECT_EQ(tree.Freq(tree.Parent(lzh::T + 1)), 2u);
    // Every untouched symbol keeps a count of 1.
    EXPECT_EQ(tree.Freq(tree.Parent(lzh::T + 200)), 1u);
}

TEST(LzhTree, CodesOfTheInitialTree) {
    lzh::TLzhTree tree;
    std::uint8_t bits[lzh::T];
    const int n = tree.CodeOf('A', bits);
    EXPECT_EQ(std::string(bits, bits + n), std::string({1, 1, 1, 0, 0, 1, 1, 0, 1}));
    const int m = tree.CodeOf(313, bits);
    EXPECT_EQ(std::string(bits, bits + m), std::string({1, 1, 0, 0, 0, 1, 0, 1}));
}

}  // namespace
}  // namespace vx
