#pragma once
// Reading and writing Windows BMP files without the platform. The decoder checks every
// header field against the data it was given and never reads past it; malformed or
// unsupported files are rejected with a message.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vx {

// A decoded picture in one of the layouts a DIB section can hold.
struct TBmpImage {
    int Width = 0;
    int Height = 0;
    // 1, 4, 8 (indexed), 16 (5-5-5, or 5-6-5 with Rgb565), 24 (B, G, R) or 32 (B, G, R, x).
    int BitCount = 24;
    bool Rgb565 = false;
    // Colour table of indexed pictures as RGBQUAD values (0x00RRGGBB), 2^BitCount entries.
    std::vector<std::uint32_t> Palette;
    // Top-down rows, Stride() bytes each (DWORD-aligned, padding zero).
    std::vector<std::uint8_t> Pixels;

    int Stride() const { return ((Width * BitCount + 31) / 32) * 4; }
    std::uint8_t* Row(int y) { return Pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(Stride()); }
    const std::uint8_t* Row(int y) const {
        return Pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(Stride());
    }
};

// Decodes a BMP file (with its 14-byte file header). Accepted: core (OS/2 1.x), info and
// V4/V5 headers; 1, 4, 8, 16, 24 and 32 bits per pixel; bottom-up and top-down rows;
// BI_RGB, and BI_BITFIELDS for 16 and 32 bits (masks other than 5-5-5, 5-6-5 and
// 8-8-8 are converted to 32 bits). Compressed (RLE, JPEG, PNG) files are refused.
// `consumed` receives the length of the file within the data.
bool DecodeBmp(const std::uint8_t* data, std::size_t size, TBmpImage& out, std::size_t& consumed,
               std::wstring& error);

// Encodes a bottom-up BMP file with an info header (BI_BITFIELDS for 5-6-5).
std::vector<std::uint8_t> EncodeBmp(const TBmpImage& image);

// Largest width or height accepted by the decoder.
constexpr int kMaxBmpDimension = 32768;

}  // namespace vx
