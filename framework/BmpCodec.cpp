#include "framework/BmpCodec.h"

#include <cstring>

namespace vx {

namespace {

std::uint16_t U16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }
std::uint32_t U32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}
void Put16(std::vector<std::uint8_t>& v, std::uint32_t x) {
    v.push_back(static_cast<std::uint8_t>(x));
    v.push_back(static_cast<std::uint8_t>(x >> 8));
}
void Put32(std::vector<std::uint8_t>& v, std::uint32_t x) {
    Put16(v, x & 0xFFFF);
    Put16(v, x >> 16);
}

constexpr std::uint32_t kBiRgb = 0, kBiBitfields = 3;

// One colour channel described by a bit mask: extracts it and scales it to 8 bits.
struct Channel {
    std::uint32_t Mask = 0;
    int Shift = 0;
    int Bits = 0;
    explicit Channel(std::uint32_t mask) : Mask(mask) {
        if (!mask) return;
        while (!((mask >> Shift) & 1)) ++Shift;
        while (Shift + Bits < 32 && ((mask >> (Shift + Bits)) & 1)) ++Bits;
    }
    // A mask must be one run of set bits.
    bool Valid() const { return Bits > 0 && (Mask >> Shift) == ((Bits == 32 ? 0u : (1u << Bits)) - 1u); }
    std::uint8_t Get(std::uint32_t pixel) const {
        const std::uint32_t v = (pixel & Mask) >> Shift;
        if (Bits >= 8) return static_cast<std::uint8_t>(v >> (Bits - 8));
        return static_cast<std::uint8_t>((v * 255u + ((1u << Bits) - 1u) / 2u) / ((1u << Bits) - 1u));
    }
};

bool Fail(std::wstring& error, const wchar_t* message) {
    error = message;
    return false;
}

}  // namespace

bool DecodeBmp(const std::uint8_t* data, std::size_t size, TBmpImage& out, std::size_t& consumed, std::wstring& error) {
    if (size < 14 + 12 || data[0] != 'B' || data[1] != 'M') return Fail(error, L"不是 BMP 文件");
    const std::uint32_t fileSize = U32(data + 2);
    const std::uint32_t offBits = U32(data + 10);
    const std::uint8_t* h = data + 14;
    const std::uint32_t headerSize = U32(h);
    const bool core = headerSize == 12;
    if (!core && headerSize != 40 && headerSize != 52 && headerSize != 56 && headerSize != 64 && headerSize != 108 &&
        headerSize != 124)
        return Fail(error, L"BMP 文件头无效");
    if (14ull + headerSize > size) return Fail(error, L"BMP 文件不完整");

    std::int64_t width = 0, height = 0;
    std::uint32_t planes = 0, bitCount = 0, compression = kBiRgb, colorsUsed = 0;
    if (core) {
        width = U16(h + 4);
        height = U16(h + 6);
        planes = U16(h + 8);
        bitCount = U16(h + 10);
    } else {
        width = static_cast<std::int32_t>(U32(h + 4));
        height = static_cast<std::int32_t>(U32(h + 8));
        planes = U16(h + 12);
        bitCount = U16(h + 14);
        compression = U32(h + 16);
        colorsUsed = U32(h + 32);
    }
    const bool topDown = height < 0;
    if (topDown) height = -height;
    if (planes != 1) return Fail(error, L"BMP 文件头无效");
    if (width <= 0 || height <= 0 || width > kMaxBmpDimension || height > kMaxBmpDimension)
        return Fail(error, L"BMP 图像尺寸无效");
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 && bitCount != 32)
        return Fail(error, L"不支持的 BMP 颜色位数");
    if (compression != kBiRgb && !(compression == kBiBitfields && (bitCount == 16 || bitCount == 32)))
        return Fail(error, L"不支持的 BMP 压缩方式");
    if (core && topDown) return Fail(error, L"BMP 文件头无效");

    // Masks: inside V2+ headers, or three DWORDs after an info header.
    std::size_t tableStart = 14 + headerSize;
    std::uint32_t masks[3] = {0, 0, 0};
    if (bitCount == 16) masks[0] = 0x7C00, masks[1] = 0x03E0, masks[2] = 0x001F;
    if (bitCount == 32) masks[0] = 0xFF0000, masks[1] = 0x00FF00, masks[2] = 0x0000FF;
    if (compression == kBiBitfields) {
        const std::uint8_t* m = h + 40;
        if (headerSize == 40) {
            if (tableStart + 12 > size) return Fail(error, L"BMP 文件不完整");
            m = data + tableStart;
            tableStart += 12;
        }
        for (int i = 0; i < 3; ++i) masks[i] = U32(m + 4 * i);
    }
    const Channel red(masks[0]), green(masks[1]), blue(masks[2]);
    const bool masked = bitCount == 16 || bitCount == 32;
    if (masked && (!red.Valid() || !green.Valid() || !blue.Valid() || (masks[0] & masks[1]) ||
                   (masks[0] & masks[2]) || (masks[1] & masks[2])))
        return Fail(error, L"BMP 颜色掩码无效");

    // Colour table.
    const std::uint32_t maxColors = bitCount <= 8 ? (1u << bitCount) : 0;
    std::uint32_t colors = 0;
    if (bitCount <= 8) {
        colors = colorsUsed == 0 ? maxColors : colorsUsed;
        if (colors > maxColors) return Fail(error, L"BMP 调色板无效");
    }
    const std::size_t entrySize = core ? 3 : 4;
    if (tableStart + static_cast<std::size_t>(colors) * entrySize > size) return Fail(error, L"BMP 文件不完整");

    const std::uint64_t stride = ((static_cast<std::uint64_t>(width) * bitCount + 31) / 32) * 4;
    const std::uint64_t imageBytes = stride * static_cast<std::uint64_t>(height);
    std::size_t pixelStart = offBits;
    const std::size_t tableEnd = tableStart + static_cast<std::size_t>(colors) * entrySize;
    if (pixelStart == 0) pixelStart = tableEnd;
    if (pixelStart < 14 + headerSize) return Fail(error, L"BMP 文件头无效");
    if (pixelStart > size || imageBytes > size - pixelStart) return Fail(error, L"BMP 文件不完整");

    TBmpImage image;
    image.Width = static_cast<int>(width);
    image.Height = static_cast<int>(height);
    image.BitCount = static_cast<int>(bitCount);
    if (bitCount <= 8) {
        image.Palette.assign(maxColors, 0);
        for (std::uint32_t i = 0; i < colors; ++i) {
            const std::uint8_t* e = data + tableStart + i * entrySize;
            image.Palette[i] = static_cast<std::uint32_t>(e[0]) | static_cast<std::uint32_t>(e[1]) << 8 |
                               static_cast<std::uint32_t>(e[2]) << 16;
        }
    }
    // Layouts a DIB section holds as they are; any other mask set becomes 32 bits.
    bool convert = false;
    if (bitCount == 16) {
        if (masks[0] == 0xF800 && masks[1] == 0x07E0 && masks[2] == 0x001F) image.Rgb565 = true;
        else if (!(masks[0] == 0x7C00 && masks[1] == 0x03E0 && masks[2] == 0x001F)) convert = true;
    }
    if (bitCount == 32 && !(masks[0] == 0xFF0000 && masks[1] == 0x00FF00 && masks[2] == 0x0000FF)) convert = true;
    if (convert) image.BitCount = 32;

    const std::size_t outStride = static_cast<std::size_t>(image.Stride());
    image.Pixels.assign(outStride * static_cast<std::size_t>(height), 0);
    for (std::int64_t y = 0; y < height; ++y) {
        const std::int64_t sourceRow = topDown ? y : height - 1 - y;
        const std::uint8_t* src = data + pixelStart + static_cast<std::size_t>(sourceRow) * stride;
        std::uint8_t* dst = image.Row(static_cast<int>(y));
        if (!convert) {
            std::memcpy(dst, src, static_cast<std::size_t>(stride));
            continue;
        }
        for (std::int64_t x = 0; x < width; ++x) {
            const std::uint32_t pixel = bitCount == 16 ? U16(src + 2 * x) : U32(src + 4 * x);
            dst[4 * x] = blue.Get(pixel);
            dst[4 * x + 1] = green.Get(pixel);
            dst[4 * x + 2] = red.Get(pixel);
            dst[4 * x + 3] = 0;
        }
    }
    out = std::move(image);
    const std::size_t end = pixelStart + static_cast<std::size_t>(imageBytes);
    consumed = (fileSize >= end && fileSize <= size) ? fileSize : end;
    return true;
}

std::vector<std::uint8_t> EncodeBmp(const TBmpImage& image) {
    const bool bitfields = image.BitCount == 16 && image.Rgb565;
    const std::uint32_t colors = image.BitCount <= 8 ? static_cast<std::uint32_t>(image.Palette.size()) : 0;
    const std::uint32_t headerBytes = 14 + 40 + (bitfields ? 12 : 0) + colors * 4;
    const auto stride = static_cast<std::uint32_t>(image.Stride());
    const std::uint32_t imageBytes = stride * static_cast<std::uint32_t>(image.Height);
    std::vector<std::uint8_t> v;
    v.reserve(headerBytes + imageBytes);
    v.push_back('B');
    v.push_back('M');
    Put32(v, headerBytes + imageBytes);
    Put32(v, 0);
    Put32(v, headerBytes);
    Put32(v, 40);
    Put32(v, static_cast<std::uint32_t>(image.Width));
    Put32(v, static_cast<std::uint32_t>(image.Height));
    Put16(v, 1);
    Put16(v, static_cast<std::uint32_t>(image.BitCount));
    Put32(v, bitfields ? kBiBitfields : kBiRgb);
    Put32(v, imageBytes);
    Put32(v, 3780);  // 96 dots per inch
    Put32(v, 3780);
    Put32(v, colors);
    Put32(v, 0);
    if (bitfields) {
        Put32(v, 0xF800);
        Put32(v, 0x07E0);
        Put32(v, 0x001F);
    }
    for (std::uint32_t i = 0; i < colors; ++i) Put32(v, image.Palette[i] & 0xFFFFFF);
    for (int y = image.Height - 1; y >= 0; --y) {
        const std::uint8_t* row = image.Row(y);
        v.insert(v.end(), row, row + stride);
    }
    return v;
}

}  // namespace vx
