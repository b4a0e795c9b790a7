#include "tools/skinpack/LzhEncoder.h"

#include <algorithm>
#include <array>
#include <stdexcept>

#include "skin/data/LzhHuffman.h"

namespace vx {

namespace {

using namespace lzh;

// Most significant bit first, as the decoder takes them.
class TBitWriter {
public:
    explicit TBitWriter(std::vector<std::uint8_t>& out) : out_(out) {}
    void Put(unsigned bit) {
        acc_ = static_cast<std::uint8_t>((acc_ << 1) | (bit & 1));
        if (++n_ == 8) {
            out_.push_back(acc_);
            acc_ = 0;
            n_ = 0;
        }
    }
    void PutBits(unsigned value, int count) {
        for (int i = count - 1; i >= 0; --i)
            Put((value >> i) & 1);
    }
    void Flush() {
        while (n_ != 0)
            Put(0);
    }

private:
    std::vector<std::uint8_t>& out_;
    std::uint8_t acc_ = 0;
    int n_ = 0;
};

// For each value of the high 6 position bits: its code (the top p_len bits of the
// first byte that the decoder maps to that value) and the code's length.
struct TPositionCodes {
    std::array<std::uint8_t, 64> code{};
    std::array<std::uint8_t, 64> len{};
    TPositionCodes() {
        for (int v = 0; v < 64; ++v) {
            int first = 0;
            while (d_code[static_cast<std::size_t>(first)] != v)
                ++first;
            len[static_cast<std::size_t>(v)] = d_len[static_cast<std::size_t>(first)];
            code[static_cast<std::size_t>(v)] =
                static_cast<std::uint8_t>(first >> (8 - d_len[static_cast<std::size_t>(first)]));
        }
    }
};

const TPositionCodes& PositionCodes() {
    static const TPositionCodes codes;
    return codes;
}

// The encoder's view of the decoder's history: TEXT_START spaces, then the data. A
// position v of this virtual text sits at ring index v & (N - 1) in the decoder, so a
// match back by distance d (1..N-1) is coded as position d - 1. Matches never reach
// before the spaces: the decoder's ring holds undefined bytes there.
class TMatchFinder {
public:
    TMatchFinder(std::span<const std::uint8_t> data, int maxChain)
        : data_(data), total_(TEXT_START + data.size()), maxChain_(maxChain),
          head_(HashSize, -1), prev_(N, -1) {}

    std::uint8_t At(std::size_t v) const {
        return v < TEXT_START ? std::uint8_t(' ') : data_[v - TEXT_START];
    }

    // Adds every position below `v` not yet in the chains.
    void InsertUpTo(std::size_t v) {
        for (; inserted_ < v; ++inserted_) {
            if (inserted_ + 2 >= total_)
                continue;
            const unsigned h = Hash(inserted_);
            prev_[inserted_ & (N - 1)] = head_[h];
            head_[h] = static_cast<std::int64_t>(inserted_);
        }
    }

    // Longest match for the text at v (limited to `limit` bytes); length 0 when none.
    void Find(std::size_t v, int limit, int& bestLength, int& bestDistance) const {
        bestLength = 0;
        bestDistance = 0;
        if (limit < THRESHOLD + 1 || v + 2 >= total_)
            return;
        std::int64_t cand = head_[Hash(v)];
        for (int chain = 0; cand >= 0 && chain < maxChain_; ++chain) {
            const std::size_t c = static_cast<std::size_t>(cand);
            const std::size_t distance = v - c;
            if (distance >= static_cast<std::size_t>(N))
                break;
            int len = 0;
            while (len < limit && At(c + static_cast<std::size_t>(len)) == At(v + static_cast<std::size_t>(len)))
                ++len;
            if (len > bestLength) {
                bestLength = len;
                bestDistance = static_cast<int>(distance);
                if (len == limit)
                    break;
            }
            const std::int64_t next = prev_[c & (N - 1)];
            if (next >= cand)
                break;  // the slot was reused by a newer position: the chain ends
            cand = next;
        }
    }

private:
    static constexpr unsigned HashBits = 15;
    static constexpr unsigned HashSize = 1u << HashBits;
    unsigned Hash(std::size_t v) const {
        const unsigned x = (static_cast<unsigned>(At(v)) << 16) | (static_cast<unsigned>(At(v + 1)) << 8) | At(v + 2);
        return (x * 2654435761u) >> (32 - HashBits);
    }

    std::span<const std::uint8_t> data_;
    std::size_t total_;
    int maxChain_;
    std::vector<std::int64_t> head_;
    std::vector<std::int64_t> prev_;
    std::size_t inserted_ = 0;
};

class TEncoder {
public:
    TEncoder(std::vector<std::uint8_t>& out) : bits_(out) {}

    void Symbol(int c) {
        const int length = tree_.CodeOf(c, path_.data());
        for (int i = 0; i < length; ++i)
            bits_.Put(path_[static_cast<std::size_t>(i)]);
        tree_.Update(c);
    }
    void Literal(std::uint8_t b) { Symbol(b); }
    void Match(int length, int distance) {
        Symbol(255 - THRESHOLD + length);
        const unsigned p = static_cast<unsigned>(distance - 1);
        const TPositionCodes& pc = PositionCodes();
        bits_.PutBits(pc.code[p >> 6], pc.len[p >> 6]);
        bits_.PutBits(p & 0x3F, 6);
    }
    void Finish() { bits_.Flush(); }

private:
    TLzhTree tree_;
    std::array<std::uint8_t, T> path_{};
    TBitWriter bits_;
};

}  // namespace

std::vector<std::uint8_t> LzhEncode(std::span<const std::uint8_t> data, const TLzhEncodeOptions& options) {
    std::vector<std::uint8_t> out;
    out.reserve(data.size() / 2 + 16);
    TEncoder enc(out);
    TMatchFinder finder(data, std::max(1, options.MaxChainLength));

    std::size_t i = 0;  // index into data
    while (i < data.size()) {
        const std::size_t v = TEXT_START + i;
        const int limit = static_cast<int>(std::min<std::size_t>(F, data.size() - i));
        finder.InsertUpTo(v);
        int length, distance;
        finder.Find(v, limit, length, distance);
        if (length > THRESHOLD && options.LazyMatching && i + 1 < data.size()) {
            finder.InsertUpTo(v + 1);
            int nextLength, nextDistance;
            const int nextLimit = static_cast<int>(std::min<std::size_t>(F, data.size() - i - 1));
            finder.Find(v + 1, nextLimit, nextLength, nextDistance);
            if (nextLength > length + 1)
                length = 0;  // a literal now, the longer match next round
        }
        if (length > THRESHOLD) {
            enc.Match(length, distance);
            i += static_cast<std::size_t>(length);
        } else {
            enc.Literal(data[i]);
            ++i;
        }
    }
    enc.Finish();
    return out;
}

std::vector<std::uint8_t> LzhEncodeStored(std::span<const std::uint8_t> data, const TLzhEncodeOptions& options) {
    if (data.size() > 0x7FFFFFFFu)
        throw std::length_error("skin archive too large");
    const auto n = static_cast<std::uint32_t>(data.size());
    std::vector<std::uint8_t> blob = {static_cast<std::uint8_t>(n), static_cast<std::uint8_t>(n >> 8),
                                      static_cast<std::uint8_t>(n >> 16), static_cast<std::uint8_t>(n >> 24)};
    const std::vector<std::uint8_t> bits = LzhEncode(data, options);
    blob.insert(blob.end(), bits.begin(), bits.end());
    return blob;
}

}  // namespace vx
