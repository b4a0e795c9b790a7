#include "tools/skingen/ImageFiles.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace vx::skingen {

namespace {

void put16(Bytes& b, std::uint32_t v) {
  b.push_back(std::uint8_t(v));
  b.push_back(std::uint8_t(v >> 8));
}
void put32(Bytes& b, std::uint32_t v) {
  put16(b, v & 0xFFFF);
  put16(b, v >> 16);
}
std::uint32_t get16(const Bytes& b, std::size_t at) { return b[at] | (b[at + 1] << 8); }
std::uint32_t get32(const Bytes& b, std::size_t at) { return get16(b, at) | (get16(b, at + 2) << 16); }

constexpr std::uint32_t kFileHeader = 14;
constexpr std::uint32_t kInfoHeader = 40;
constexpr std::uint32_t kPixelsPerMetre = 2835;  // 72 dots per inch

// Row stride in bytes of a bitmap row of the given bit width, padded to 4 bytes.
std::uint32_t stride(int width, int bits) { return ((std::uint32_t(width) * bits + 31) / 32) * 4; }

void putInfoHeader(Bytes& b, int width, int height, int bits, std::uint32_t imageSize,
                   std::uint32_t paletteSize) {
  put32(b, kInfoHeader);
  put32(b, std::uint32_t(width));
  put32(b, std::uint32_t(height));
  put16(b, 1);     // planes
  put16(b, bits);  // bit count
  put32(b, 0);     // BI_RGB
  put32(b, imageSize);
  put32(b, kPixelsPerMetre);
  put32(b, kPixelsPerMetre);
  put32(b, paletteSize);
  put32(b, 0);
}

void putFileHeader(Bytes& b, std::uint32_t total, std::uint32_t pixelOffset) {
  b.push_back('B');
  b.push_back('M');
  put32(b, total);
  put32(b, 0);
  put32(b, pixelOffset);
}

}  // namespace

Bytes encodeBmp24(const Image& image) {
  const std::uint32_t row = stride(image.width(), 24);
  const std::uint32_t size = row * image.height();
  Bytes b;
  b.reserve(kFileHeader + kInfoHeader + size);
  putFileHeader(b, kFileHeader + kInfoHeader + size, kFileHeader + kInfoHeader);
  putInfoHeader(b, image.width(), image.height(), 24, size, 0);
  for (int y = image.height() - 1; y >= 0; --y) {
    const std::size_t start = b.size();
    for (int x = 0; x < image.width(); ++x) {
      const Rgb c = image.colour(x, y);
      b.push_back(std::uint8_t(blue(c)));
      b.push_back(std::uint8_t(green(c)));
      b.push_back(std::uint8_t(red(c)));
    }
    b.resize(start + row, 0);
  }
  return b;
}

Bytes encodeBmp1(const Image& image) {
  const std::uint32_t row = stride(image.width(), 1);
  const std::uint32_t size = row * image.height();
  const std::uint32_t offset = kFileHeader + kInfoHeader + 8;
  Bytes b;
  putFileHeader(b, offset + size, offset);
  putInfoHeader(b, image.width(), image.height(), 1, size, 2);
  put32(b, 0x000000);  // index 0: black
  put32(b, 0xFFFFFF);  // index 1: white
  for (int y = image.height() - 1; y >= 0; --y) {
    Bytes line(row, 0);
    for (int x = 0; x < image.width(); ++x)
      if (image.colour(x, y) == 0xFFFFFF) line[x / 8] |= std::uint8_t(0x80 >> (x % 8));
    b.insert(b.end(), line.begin(), line.end());
  }
  return b;
}

Bytes encodeIco(const std::vector<Image>& images) {
  std::vector<Bytes> bodies;
  for (const Image& img : images) {
    if (img.width() > 256 || img.height() > 256 || img.empty())
      throw std::invalid_argument("icon image size out of range");
    const std::uint32_t colourSize = stride(img.width(), 32) * img.height();
    const std::uint32_t maskRow = stride(img.width(), 1);
    Bytes body;
    // The icon's header counts the colour rows and the mask rows together.
    putInfoHeader(body, img.width(), img.height() * 2, 32, colourSize + maskRow * img.height(), 0);
    for (int y = img.height() - 1; y >= 0; --y)
      for (int x = 0; x < img.width(); ++x) {
        const Pixel& p = img.at(x, y);
        body.push_back(std::uint8_t(blue(p.colour)));
        body.push_back(std::uint8_t(green(p.colour)));
        body.push_back(std::uint8_t(red(p.colour)));
        body.push_back(p.alpha);
      }
    for (int y = img.height() - 1; y >= 0; --y) {
      Bytes line(maskRow, 0);
      for (int x = 0; x < img.width(); ++x)
        if (img.at(x, y).alpha == 0) line[x / 8] |= std::uint8_t(0x80 >> (x % 8));
      body.insert(body.end(), line.begin(), line.end());
    }
    bodies.push_back(std::move(body));
  }
  Bytes b;
  put16(b, 0);
  put16(b, 1);  // icon
  put16(b, std::uint32_t(images.size()));
  std::uint32_t offset = 6 + 16 * std::uint32_t(images.size());
  for (std::size_t i = 0; i < images.size(); ++i) {
    b.push_back(std::uint8_t(images[i].width() & 0xFF));  // 256 is written as 0
    b.push_back(std::uint8_t(images[i].height() & 0xFF));
    b.push_back(0);  // no palette
    b.push_back(0);
    put16(b, 1);   // planes
    put16(b, 32);  // bits
    put32(b, std::uint32_t(bodies[i].size()));
    put32(b, offset);
    offset += std::uint32_t(bodies[i].size());
  }
  for (const Bytes& body : bodies) b.insert(b.end(), body.begin(), body.end());
  return b;
}

std::optional<BmpInfo> readBmpInfo(const Bytes& b) {
  if (b.size() < kFileHeader + kInfoHeader || b[0] != 'B' || b[1] != 'M') return std::nullopt;
  if (get32(b, 14) < kInfoHeader) return std::nullopt;
  BmpInfo info;
  info.width = int(std::int32_t(get32(b, 18)));
  const int h = int(std::int32_t(get32(b, 22)));
  info.bottomUp = h > 0;
  info.height = h > 0 ? h : -h;
  info.bitsPerPixel = int(get16(b, 28));
  const std::uint32_t compression = get32(b, 30);
  if (info.width <= 0 || info.height <= 0 || compression != 0) return std::nullopt;
  if (info.bitsPerPixel != 1 && info.bitsPerPixel != 24 && info.bitsPerPixel != 32) return std::nullopt;
  const std::uint64_t need = get32(b, 10) + std::uint64_t(stride(info.width, info.bitsPerPixel)) * info.height;
  if (need > b.size()) return std::nullopt;
  return info;
}

std::optional<Image> decodeBmp(const Bytes& b) {
  const auto info = readBmpInfo(b);
  if (!info || info->bitsPerPixel == 32) return std::nullopt;
  const std::uint32_t offset = get32(b, 10);
  const std::uint32_t row = stride(info->width, info->bitsPerPixel);
  Image img(info->width, info->height);
  for (int y = 0; y < info->height; ++y) {
    const int fileRow = info->bottomUp ? info->height - 1 - y : y;
    const std::size_t base = offset + std::size_t(fileRow) * row;
    for (int x = 0; x < info->width; ++x) {
      if (info->bitsPerPixel == 24) {
        const std::size_t p = base + std::size_t(x) * 3;
        img.set(x, y, rgb(b[p + 2], b[p + 1], b[p]));
      } else {
        // Palette entries follow the info header: index 0 and index 1, as B, G, R, 0.
        const std::size_t pal = kFileHeader + get32(b, 14);
        const int bit = (b[base + x / 8] >> (7 - x % 8)) & 1;
        const std::size_t e = pal + bit * 4;
        img.set(x, y, rgb(b[e + 2], b[e + 1], b[e]));
      }
    }
  }
  return img;
}

Bytes readFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return {};
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeFile(const std::filesystem::path& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) throw std::runtime_error("cannot write " + path.string());
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

}  // namespace vx::skingen
