#pragma once
// Decoding of JPEG pictures through libjpeg into 24-bit pixel rows.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vx {

struct DecodedJpeg {
    int Width = 0;
    int Height = 0;
    // Top-down rows of Width * 3 bytes, in blue, green, red order (the layout of a
    // 24-bit device-independent bitmap row, without its padding).
    std::vector<std::uint8_t> Pixels;
};

// Decodes a whole JPEG file held in memory. Returns false and fills `error` with
// libjpeg's message when the data is not a readable JPEG; never aborts the process.
bool DecodeJpeg(const std::uint8_t* data, std::size_t size, DecodedJpeg& out, std::string& error);

}  // namespace vx
