#include "skin/data/LzhHuffman.h"

#include <cassert>

namespace vx::lzh {

void TLzhTree::Start() {
    for (int i = 0; i < N_CHAR; ++i) {
        freq_[i] = 1;
        son_[i] = static_cast<std::int16_t>(i + T);
        prnt_[i + T] = static_cast<std::int16_t>(i);
    }
    for (int i = 0, j = N_CHAR; j <= R; i += 2, ++j) {
        freq_[j] = static_cast<std::uint16_t>(freq_[i] + freq_[i + 1]);
        son_[j] = static_cast<std::int16_t>(i);
        prnt_[i] = prnt_[i + 1] = static_cast<std::int16_t>(j);
    }
    freq_[T] = 0xFFFF;
    prnt_[R] = 0;
    rebuilds_ = 0;
}

void TLzhTree::Rebuild() {
    ++rebuilds_;
    // Leaves to the front, frequencies halved (rounding up so none drops to 0).
    int j = 0;
    for (int i = 0; i < T; ++i) {
        if (son_[i] >= T) {
            freq_[j] = static_cast<std::uint16_t>((freq_[i] + 1u) / 2u);
            son_[j] = son_[i];
            ++j;
        }
    }
    // Inner nodes: each pair's sum is inserted where it keeps the order rising.
    for (int i = 0, jj = N_CHAR; jj < T; i += 2, ++jj) {
        const unsigned f = static_cast<unsigned>(freq_[i]) + freq_[i + 1];
        int k = jj - 1;
        while (k >= 0 && f < freq_[k])
            --k;
        ++k;
        for (int m = jj; m > k; --m) {
            freq_[m] = freq_[m - 1];
            son_[m] = son_[m - 1];
        }
        freq_[k] = static_cast<std::uint16_t>(f);
        son_[k] = static_cast<std::int16_t>(i);
    }
    // Parent links from the new child links.
    for (int i = 0; i < T; ++i) {
        const int k = son_[i];
        if (k >= T)
            prnt_[k] = static_cast<std::int16_t>(i);
        else
            prnt_[k] = prnt_[k + 1] = static_cast<std::int16_t>(i);
    }
}

void TLzhTree::Update(int c) {
    assert(c >= 0 && c < N_CHAR);
    if (freq_[R] == MAX_FREQ)
        Rebuild();
    c = prnt_[c + T];
    do {
        const unsigned k = ++freq_[c];
        if (k > freq_[c + 1]) {
            // Move the node past every node of lower frequency: swap it with the last
            // of them (the sentinel ends the scan).
            int l = c + 1;
            while (k > freq_[l + 1])
                ++l;
            freq_[c] = freq_[l];
            freq_[l] = static_cast<std::uint16_t>(k);

            const int i = son_[c];
            prnt_[i] = static_cast<std::int16_t>(l);
            if (i < T)
                prnt_[i + 1] = static_cast<std::int16_t>(l);

            const int jn = son_[l];
            son_[l] = static_cast<std::int16_t>(i);
            prnt_[jn] = static_cast<std::int16_t>(c);
            if (jn < T)
                prnt_[jn + 1] = static_cast<std::int16_t>(c);
            son_[c] = static_cast<std::int16_t>(jn);
            c = l;
        }
        c = prnt_[c];
    } while (c != 0);
}

int TLzhTree::CodeOf(int c, std::uint8_t* bits) const {
    // Collect the branch bits from the leaf up, then reverse them.
    int length = 0;
    for (int k = prnt_[c + T]; k != R; k = prnt_[k])
        bits[length++] = static_cast<std::uint8_t>(k & 1);
    for (int a = 0, b = length - 1; a < b; ++a, --b) {
        const std::uint8_t t = bits[a];
        bits[a] = bits[b];
        bits[b] = t;
    }
    return length;
}

}  // namespace vx::lzh
