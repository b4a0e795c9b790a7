// The encoder's output read back by the skin decoder, byte for byte.

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "skin/data/SkinRead.h"
#include "tools/skinpack/LzhEncoder.h"

namespace vx {
namespace {

struct TDecoded {
    TBytes bytes;
    unsigned rebuilds;
};

TDecoded RoundTrip(const TBytes& data, const TLzhEncodeOptions& options = {}) {
    const TBytes bits = LzhEncode(data, options);
    TDecoded d;
    TLZH lzh(bits, d.bytes);
    lzh.Decode(static_cast<std::int32_t>(data.size()));
    d.rebuilds = lzh.RebuildCount();
    return d;
}

TBytes RandomBytes(std::size_t n, unsigned seed, int alphabet = 256) {
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> byte(0, alphabet - 1);
    TBytes b(n);
    for (auto& x : b)
        x = static_cast<std::uint8_t>(byte(rng));
    return b;
}

// Text-like data with repeats at every distance, like an INI file.
TBytes Structured(std::size_t n, unsigned seed) {
    std::mt19937 rng(seed);
    const char* words[] = {"LeftWidth=", "TopHeight=", "[Personality]\r\n", "Image=", ".bmp\r\n",
                           "Trans=1\r\n", "0", "12", "  ", "\xFF\x00\xFF", "Tile=0\r\n"};
    TBytes b;
    while (b.size() < n) {
        const std::string w = words[rng() % 11];
        b.insert(b.end(), w.begin(), w.end());
        if (rng() % 50 == 0 && b.size() > 100) {  // a long copy from far back
            const std::size_t from = rng() % (b.size() - 80);
            const TBytes copy(b.begin() + static_cast<std::ptrdiff_t>(from),
                              b.begin() + static_cast<std::ptrdiff_t>(from + 80));
            b.insert(b.end(), copy.begin(), copy.end());
        }
    }
    b.resize(n);
    return b;
}

TEST(LzhRoundTrip, RandomAndStructuredDataOfManySizes) {
    for (std::size_t n : {0u, 1u, 2u, 3u, 59u, 60u, 61u, 62u, 4035u, 4036u, 4095u, 4096u, 4097u, 8193u, 70000u}) {
        SCOPED_TRACE(n);
        const TBytes random = RandomBytes(n, static_cast<unsigned>(n));
        EXPECT_EQ(RoundTrip(random).bytes, random);
        const TBytes text = Structured(n, static_cast<unsigned>(n) + 1);
        EXPECT_EQ(RoundTrip(text).bytes, text);
        const TBytes few = RandomBytes(n, static_cast<unsigned>(n) + 2, 3);
        EXPECT_EQ(RoundTrip(few).bytes, few);
    }
}

TEST(LzhRoundTrip, RunsAndTheInitialSpaces) {
    // Runs of one byte use overlapping copies; runs of spaces match the window's
    // initial content straight away.
    for (std::uint8_t fill : {std::uint8_t(0), std::uint8_t(' '), std::uint8_t(0xFF)}) {
        const TBytes run(10000, fill);
        const TBytes bits = LzhEncode(run);
        EXPECT_LT(bits.size(), 600u);
        EXPECT_EQ(RoundTrip(run).bytes, run);
    }
    const TBytes spaces(60, ' ');
    EXPECT_LE(LzhEncode(spaces).size(), 3u);  // one 60-byte match from the window
}

TEST(LzhRoundTrip, LongStreamsCrossTreeRebuilds) {
    // 200000 mostly literal symbols: the root frequency reaches 0x8000 several times.
    const TBytes random = RandomBytes(200000, 11);
    const TDecoded d = RoundTrip(random);
    EXPECT_EQ(d.bytes, random);
    EXPECT_GE(d.rebuilds, 5u);
    // Highly compressible data crosses rebuilds too (each match is one symbol).
    const TBytes text = Structured(1500000, 12);
    const TDecoded t = RoundTrip(text);
    EXPECT_EQ(t.bytes, text);
    EXPECT_GE(t.rebuilds, 1u);
}

TEST(LzhRoundTrip, EveryMatcherSetting) {
    const TBytes text = Structured(30000, 5);
    for (int chain : {1, 4, 4096})
        for (bool lazy : {false, true}) {
            TLzhEncodeOptions o;
            o.MaxChainLength = chain;
            o.LazyMatching = lazy;
            EXPECT_EQ(RoundTrip(text, o).bytes, text) << chain << lazy;
        }
}

TEST(LzhRoundTrip, CompressesRepetitiveData) {
    const TBytes text = Structured(100000, 3);
    EXPECT_LT(LzhEncode(text).size(), text.size() / 4);
    // Random bytes cannot shrink; the adaptive code costs little over 8 bits a byte.
    const TBytes random = RandomBytes(100000, 4);
    EXPECT_LT(LzhEncode(random).size(), random.size() * 103 / 100);
}

TEST(LzhStored, LengthFieldThenBitStream) {
    const TBytes data = Structured(5000, 9);
    const TBytes blob = LzhEncodeStored(data);
    ASSERT_GE(blob.size(), 4u);
    EXPECT_EQ(blob[0] | (blob[1] << 8) | (blob[2] << 16) | (blob[3] << 24), 5000);
    TBytes out;
    TLZH lzh(TByteSpan(blob).subspan(4), out);
    lzh.Decode(5000);
    EXPECT_EQ(out, data);
}

}  // namespace
}  // namespace vx
