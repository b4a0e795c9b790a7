// Encoders for the picture files the generator writes: Windows BMP (24-bit colour and
// 1-bit monochrome) and Windows icons (32-bit images with an AND mask), plus a reader
// of the BMP files it writes so that tests and the preview can load them back.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

#include "tools/skingen/Image.h"

namespace vx::skingen {

using Bytes = std::vector<std::uint8_t>;

// 24 bits per pixel, bottom-up rows padded to 4 bytes; coverage is ignored, so
// callers flatten or key their art first.
Bytes encodeBmp24(const Image& image);
// 1 bit per pixel with the palette black, white: white pixels stay white, every other
// pixel becomes black.
Bytes encodeBmp1(const Image& image);
// One icon resource file holding every image (each at most 256 pixels square), 32-bit
// colour with the coverage as alpha and an AND mask that is set where alpha is 0.
Bytes encodeIco(const std::vector<Image>& images);

struct BmpInfo {
  int width = 0;
  int height = 0;  // always positive; bottomUp tells the row order
  int bitsPerPixel = 0;
  bool bottomUp = true;
};
// Reads the headers of a BMP file; nothing when the bytes are not a BMP this
// generator could have written (uncompressed 1, 24 or 32 bits).
std::optional<BmpInfo> readBmpInfo(const Bytes& bytes);
// Loads a 24-bit or 1-bit BMP back into an opaque image; nothing on any other input.
std::optional<Image> decodeBmp(const Bytes& bytes);

Bytes readFile(const std::filesystem::path& path);
void writeFile(const std::filesystem::path& path, const Bytes& bytes);

}  // namespace vx::skingen
