// Pictures: the graphic base, DIB-section bitmaps, icons, JPEG pictures, TPicture.
#include <algorithm>
#include <cstring>
#include <unordered_map>

#include "framework/BmpCodec.h"
#include "framework/Graphics.h"
#include "framework/JpegDecoder.h"

namespace vx {

namespace {

// --- Pixel formats -----------------------------------------------------------------------

int BitsOf(TPixelFormat format) {
    switch (format) {
        case pf1bit: return 1;
        case pf4bit: return 4;
        case pf8bit: return 8;
        case pf15bit:
        case pf16bit: return 16;
        case pf24bit: return 24;
        default: return 32;  // pf32bit and pfDevice
    }
}

bool IsIndexed(TPixelFormat format) { return format == pf1bit || format == pf4bit || format == pf8bit; }

RGBQUAD Quad(std::uint8_t r, std::uint8_t g, std::uint8_t b) { return RGBQUAD{b, g, r, 0}; }
TColor QuadColor(const RGBQUAD& q) { return RGB(q.rgbRed, q.rgbGreen, q.rgbBlue); }

// The colour tables a new paletted bitmap gets: black and white; the 16 VGA colours;
// those 16, a 6 x 6 x 6 colour cube and a grey ramp.
std::vector<RGBQUAD> DefaultPalette(TPixelFormat format) {
    static const std::uint32_t kVga[16] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                                           0x008080, 0xC0C0C0, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00,
                                           0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
    std::vector<RGBQUAD> p;
    if (format == pf1bit) return {Quad(0, 0, 0), Quad(255, 255, 255)};
    for (std::uint32_t c : kVga)
        p.push_back(Quad(static_cast<std::uint8_t>(c >> 16), static_cast<std::uint8_t>(c >> 8), static_cast<std::uint8_t>(c)));
    if (format == pf4bit) return p;
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b)
                p.push_back(Quad(static_cast<std::uint8_t>(r * 51), static_cast<std::uint8_t>(g * 51),
                                 static_cast<std::uint8_t>(b * 51)));
    for (int i = 0; p.size() < 256; ++i) {
        const auto v = static_cast<std::uint8_t>(8 + i * 10);
        p.push_back(Quad(v, v, v));
    }
    return p;
}

// Reads pixel x of a row as 0x00BBGGRR.
TColor ReadPixel(const std::uint8_t* row, int x, TPixelFormat format, const std::vector<RGBQUAD>& palette) {
    auto fromPalette = [&](unsigned index) { return index < palette.size() ? QuadColor(palette[index]) : clBlack; };
    switch (format) {
        case pf1bit: return fromPalette((row[x >> 3] >> (7 - (x & 7))) & 1);
        case pf4bit: return fromPalette((row[x >> 1] >> ((x & 1) ? 0 : 4)) & 15);
        case pf8bit: return fromPalette(row[x]);
        case pf15bit:
        case pf16bit: {
            const unsigned v = row[2 * x] | row[2 * x + 1] << 8;
            unsigned r, g, b;
            if (format == pf15bit) {
                r = (v >> 10) & 31, g = (v >> 5) & 31, b = v & 31;
                g = (g << 3) | (g >> 2);
            } else {
                r = (v >> 11) & 31, g = (v >> 5) & 63, b = v & 31;
                g = (g << 2) | (g >> 4);
            }
            return RGB((r << 3) | (r >> 2), g, (b << 3) | (b >> 2));
        }
        case pf24bit: return RGB(row[3 * x + 2], row[3 * x + 1], row[3 * x]);
        default: return RGB(row[4 * x + 2], row[4 * x + 1], row[4 * x]);
    }
}

// Writes pixel x of a row; `index` maps a colour to a palette index for paletted rows.
template <class IndexOf>
void WritePixel(std::uint8_t* row, int x, TPixelFormat format, TColor c, IndexOf& index) {
    const unsigned r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
    switch (format) {
        case pf1bit: {
            const auto mask = static_cast<std::uint8_t>(0x80 >> (x & 7));
            row[x >> 3] = static_cast<std::uint8_t>(index(c) ? (row[x >> 3] | mask) : (row[x >> 3] & ~mask));
            break;
        }
        case pf4bit: {
            const unsigned i = index(c) & 15;
            std::uint8_t& byte = row[x >> 1];
            byte = static_cast<std::uint8_t>((x & 1) ? ((byte & 0xF0) | i) : ((byte & 0x0F) | (i << 4)));
            break;
        }
        case pf8bit: row[x] = static_cast<std::uint8_t>(index(c)); break;
        case pf15bit: {
            const unsigned v = ((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3);
            row[2 * x] = static_cast<std::uint8_t>(v), row[2 * x + 1] = static_cast<std::uint8_t>(v >> 8);
            break;
        }
        case pf16bit: {
            const unsigned v = ((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3);
            row[2 * x] = static_cast<std::uint8_t>(v), row[2 * x + 1] = static_cast<std::uint8_t>(v >> 8);
            break;
        }
        case pf24bit:
            row[3 * x] = static_cast<std::uint8_t>(b), row[3 * x + 1] = static_cast<std::uint8_t>(g);
            row[3 * x + 2] = static_cast<std::uint8_t>(r);
            break;
        default:
            row[4 * x] = static_cast<std::uint8_t>(b), row[4 * x + 1] = static_cast<std::uint8_t>(g);
            row[4 * x + 2] = static_cast<std::uint8_t>(r), row[4 * x + 3] = 0;
            break;
    }
}

// Palette index for a colour: exact table colours map to their own entry; any other
// colour maps to the entry nearest (squared RGB distance) to the centre of its 5-5-5
// cell, computed once per cell.
class NearestColor {
public:
    explicit NearestColor(const std::vector<RGBQUAD>& palette) : palette_(palette), cells_(32768, -1) {
        for (unsigned i = palette.size(); i-- > 0;) exact_[QuadColor(palette[i])] = i;
    }
    unsigned operator()(TColor c) {
        auto it = exact_.find(c);
        if (it != exact_.end()) return it->second;
        const unsigned r = GetRValue(c) >> 3, g = GetGValue(c) >> 3, b = GetBValue(c) >> 3;
        int& cell = cells_[(r << 10) | (g << 5) | b];
        if (cell < 0) cell = static_cast<int>(Nearest(long(r << 3 | 4), long(g << 3 | 4), long(b << 3 | 4)));
        return static_cast<unsigned>(cell);
    }

private:
    unsigned Nearest(long r, long g, long b) const {
        unsigned best = 0;
        long bestDistance = -1;
        for (unsigned i = 0; i < palette_.size(); ++i) {
            const long dr = r - palette_[i].rgbRed, dg = g - palette_[i].rgbGreen, db = b - palette_[i].rgbBlue;
            const long d = dr * dr + dg * dg + db * db;
            if (bestDistance < 0 || d < bestDistance) best = i, bestDistance = d;
        }
        return best;
    }
    const std::vector<RGBQUAD>& palette_;
    std::vector<int> cells_;
    std::unordered_map<TColor, unsigned> exact_;
};

TPixelFormat FormatOf(const TBmpImage& image) {
    switch (image.BitCount) {
        case 1: return pf1bit;
        case 4: return pf4bit;
        case 8: return pf8bit;
        case 16: return image.Rgb565 ? pf16bit : pf15bit;
        case 24: return pf24bit;
        default: return pf32bit;
    }
}

// The bytes from the stream's position to its end.
std::vector<std::uint8_t> ReadRest(TStream& stream) {
    const std::int64_t left = stream.GetSize() - stream.GetPosition();
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(std::max<std::int64_t>(left, 0)));
    if (!bytes.empty()) stream.ReadBuffer(bytes.data(), static_cast<std::int32_t>(bytes.size()));
    return bytes;
}

}  // namespace

// --- TGraphic ----------------------------------------------------------------------------------

VX_IMPLEMENT_CLASS_WITH_PROPERTIES(TGraphic, TPersistent)

void TGraphic::RegisterProperties(TPropertyRegistrar<TGraphic>& r) {
    r.Integer(L"Width", &TGraphic::GetWidth, &TGraphic::SetWidth)
        .Integer(L"Height", &TGraphic::GetHeight, &TGraphic::SetHeight)
        .Boolean(L"Transparent", &TGraphic::GetTransparent, &TGraphic::SetTransparent);
}

void TGraphic::SetTransparent(bool value) {
    if (value == transparent_) return;
    transparent_ = value;
    Changed();
}

void TGraphic::Changed() {
    if (OnChange) OnChange(this);
}

void TGraphic::LoadFromFile(const std::wstring& fileName) {
    TFileStream file(fileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(file);
}

void TGraphic::SaveToFile(const std::wstring& fileName) {
    TFileStream file(fileName, fmCreate);
    SaveToStream(file);
}

// --- TBitmap ---------------------------------------------------------------------------------------

VX_IMPLEMENT_CLASS(TBitmap, TGraphic)

// The bitmap's canvas: a memory DC holding the DIB section, made on first use.
class TBitmap::TBitmapCanvas : public TCanvas {
public:
    explicit TBitmapCanvas(TBitmap& owner) : owner_(owner) {}

protected:
    void CreateHandle() override { SetHandle(owner_.CanvasDC()); }

private:
    TBitmap& owner_;
};

TBitmap::TBitmap() = default;

TBitmap::TBitmap(int width, int height, TPixelFormat format) {
    pixelFormat_ = format;
    SetSize(width, height);
}

// The canvas goes first: it gives the DC its own pen, brush and font back. Then the
// members end the DIB's selection, delete the DC and delete the DIB.
TBitmap::~TBitmap() { canvas_.reset(); }

HDC TBitmap::CanvasDC() {
    if (!canvasDC_) {
        canvasDC_.emplace();
        if (!*canvasDC_) {
            canvasDC_.reset();
            throw EInvalidGraphic(L"无法创建位图画布");
        }
    }
    if (dib_ && !canvasSelection_) canvasSelection_.emplace(canvasDC_->Get(), dib_.Get());
    return canvasDC_->Get();
}

void TBitmap::FreeImage() {
    canvasSelection_.reset();
    dib_.Reset();
    bits_ = nullptr;
}

void TBitmap::Allocate(int width, int height, TPixelFormat format, const std::vector<RGBQUAD>& colors) {
    if (format == pfCustom) throw EInvalidGraphic(L"不支持的像素格式");
    if (width < 0 || height < 0 || width > kMaxBmpDimension || height > kMaxBmpDimension)
        throw EInvalidGraphic(L"位图尺寸无效");
    FreeImage();
    width_ = width;
    height_ = height;
    pixelFormat_ = format;
    palette_.clear();
    if (IsIndexed(format)) {
        palette_ = colors.empty() ? DefaultPalette(format) : colors;
        palette_.resize(std::size_t{1} << BitsOf(format), RGBQUAD{0, 0, 0, 0});
    }
    if (width == 0 || height == 0) return;

    std::vector<std::uint8_t> info(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD), 0);
    auto* header = reinterpret_cast<BITMAPINFOHEADER*>(info.data());
    header->biSize = sizeof(BITMAPINFOHEADER);
    header->biWidth = width;
    header->biHeight = height;  // bottom-up; ScanLine hides the orientation
    header->biPlanes = 1;
    header->biBitCount = static_cast<WORD>(BitsOf(format));
    header->biCompression = BI_RGB;
    auto* table = reinterpret_cast<std::uint8_t*>(header + 1);
    if (format == pf16bit) {
        header->biCompression = BI_BITFIELDS;
        const DWORD masks[3] = {0xF800, 0x07E0, 0x001F};
        std::memcpy(table, masks, sizeof(masks));
    } else if (IsIndexed(format)) {
        header->biClrUsed = static_cast<DWORD>(palette_.size());
        std::memcpy(table, palette_.data(), palette_.size() * sizeof(RGBQUAD));
    }
    void* bits = nullptr;
    dib_.Reset(CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(info.data()), DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!dib_ || !bits) {
        dib_.Reset();
        width_ = height_ = 0;
        throw EInvalidGraphic(L"无法创建位图（" + IntToStr(width) + L" × " + IntToStr(height) + L"）");
    }
    bits_ = static_cast<std::uint8_t*>(bits);
    if (canvasDC_) canvasSelection_.emplace(canvasDC_->Get(), dib_.Get());
}

void TBitmap::SetSize(int width, int height) {
    if (width == width_ && height == height_ && (dib_ || width == 0 || height == 0)) return;
    const int oldWidth = width_, oldHeight = height_;
    std::vector<std::uint8_t> oldBits;
    const int oldStride = GetRowStride();
    if (bits_) {
        GdiFlush();
        oldBits.assign(bits_, bits_ + static_cast<std::size_t>(oldStride) * static_cast<std::size_t>(oldHeight));
    }
    const std::vector<RGBQUAD> colors = palette_;
    Allocate(width, height, pixelFormat_, colors);
    // Keep the top-left part that still fits.
    if (bits_ && !oldBits.empty()) {
        const int rows = std::min(oldHeight, height_);
        const std::size_t bytes = (static_cast<std::size_t>(std::min(oldWidth, width_)) * BitsOf(pixelFormat_) + 7) / 8;
        for (int y = 0; y < rows; ++y) {
            const std::uint8_t* from = oldBits.data() + static_cast<std::size_t>(oldHeight - 1 - y) * oldStride;
            std::memcpy(ScanLine(y), from, bytes);
        }
    }
    Changed();
}

int TBitmap::GetBitsPerPixel() const { return BitsOf(pixelFormat_); }

int TBitmap::GetRowStride() const { return ((width_ * BitsOf(pixelFormat_) + 31) / 32) * 4; }

void* TBitmap::ScanLine(int row) {
    return const_cast<void*>(static_cast<const TBitmap*>(this)->ScanLine(row));
}

const void* TBitmap::ScanLine(int row) const {
    if (!bits_ || row < 0 || row >= height_) throw EInvalidGraphic(L"扫描行索引越界 (" + IntToStr(row) + L")");
    GdiFlush();  // finish pending GDI drawing before the caller touches the bits
    return bits_ + static_cast<std::size_t>(height_ - 1 - row) * static_cast<std::size_t>(GetRowStride());
}

std::vector<RGBQUAD> TBitmap::GetColorTable() const { return palette_; }

void TBitmap::SetColorTable(const std::vector<RGBQUAD>& colors) {
    if (!IsIndexed(pixelFormat_)) return;
    palette_ = colors;
    palette_.resize(std::size_t{1} << BitsOf(pixelFormat_), RGBQUAD{0, 0, 0, 0});
    if (dib_) SetDIBColorTable(CanvasDC(), 0, static_cast<UINT>(palette_.size()), palette_.data());
    Changed();
}

TColor TBitmap::PixelColor(int x, int y) const {
    return ReadPixel(static_cast<const std::uint8_t*>(ScanLine(y)), x, pixelFormat_, palette_);
}

void TBitmap::SetPixelFormat(TPixelFormat format) {
    if (format == pixelFormat_) return;
    if (format == pfCustom) throw EInvalidGraphic(L"不支持的像素格式");
    if (!bits_) {
        Allocate(width_, height_, format, {});
        Changed();
        return;
    }
    // Read every pixel as a colour, then write it in the new format.
    std::vector<TColor> pixels(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_));
    for (int y = 0; y < height_; ++y) {
        const auto* row = static_cast<const std::uint8_t*>(ScanLine(y));  // one flush per row, not per pixel
        for (int x = 0; x < width_; ++x)
            pixels[static_cast<std::size_t>(y) * width_ + x] = ReadPixel(row, x, pixelFormat_, palette_);
    }
    // A colour table that fits is kept, so paletted pictures convert without loss.
    std::vector<RGBQUAD> colors;
    if (IsIndexed(format) && IsIndexed(pixelFormat_) && BitsOf(format) >= BitsOf(pixelFormat_)) colors = palette_;
    Allocate(width_, height_, format, colors);
    NearestColor nearest(palette_);
    for (int y = 0; y < height_; ++y) {
        auto* row = static_cast<std::uint8_t*>(ScanLine(y));
        for (int x = 0; x < width_; ++x) WritePixel(row, x, format, pixels[static_cast<std::size_t>(y) * width_ + x], nearest);
    }
    Changed();
}

TCanvas* TBitmap::GetCanvas() {
    if (!canvas_) canvas_ = std::make_unique<TBitmapCanvas>(*this);
    return canvas_.get();
}

// A bitmap can be selected into one DC at a time: handing the handle out takes it out of
// the canvas's DC (the canvas makes a new one when it next draws).
void TBitmap::FreeContext() {
    if (canvas_) canvas_->SetHandle(nullptr);
    canvasSelection_.reset();
    canvasDC_.reset();
}

HBITMAP TBitmap::GetHandle() {
    FreeContext();
    return dib_.Get();
}

HBITMAP TBitmap::ReleaseHandle() {
    FreeContext();
    HBITMAP released = dib_.Detach();
    bits_ = nullptr;
    width_ = height_ = 0;
    Changed();
    return released;
}

void TBitmap::SetHandle(HBITMAP bitmap) {
    if (!bitmap) {
        Allocate(0, 0, pixelFormat_, {});
        Changed();
        return;
    }
    BITMAP bm{};
    if (!GetObjectW(bitmap, sizeof(bm), &bm)) throw EInvalidGraphic(L"无效的位图句柄");
    const TBitmapHandle adopted(bitmap);  // its pixels are copied into a DIB of our own
    const TPixelFormat format = bm.bmBitsPixel == 32 ? pf32bit : pf24bit;
    Allocate(bm.bmWidth, std::abs(bm.bmHeight), format, {});
    if (bits_) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width_;
        info.bmiHeader.biHeight = height_;  // bottom-up, the layout of our own bits
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = static_cast<WORD>(BitsOf(format));
        info.bmiHeader.biCompression = BI_RGB;
        TWindowDC screen(nullptr);
        GdiFlush();
        GetDIBits(screen.Get(), bitmap, 0, static_cast<UINT>(height_), bits_, &info, DIB_RGB_COLORS);
    }
    Changed();
}

TColor TBitmap::GetTransparentColor() {
    if (transparentMode_ == tmFixed && transparentColor_ != clDefault) return transparentColor_;
    if (!bits_) return clDefault;
    return PixelColor(0, height_ - 1);  // the bottom-left pixel
}

void TBitmap::SetTransparentColor(TColor color) {
    transparentColor_ = color;
    transparentMode_ = color == clDefault ? tmAuto : tmFixed;
    Changed();
}

void TBitmap::SetTransparentMode(TTransparentMode mode) {
    if (mode == transparentMode_) return;
    transparentMode_ = mode;
    if (mode == tmAuto) transparentColor_ = clDefault;
    Changed();
}

void TBitmap::LoadFromStream(TStream& stream) {
    const std::int64_t start = stream.GetPosition();
    const std::vector<std::uint8_t> bytes = ReadRest(stream);
    if (bytes.empty()) {
        Allocate(0, 0, pixelFormat_, {});
        Changed();
        return;
    }
    TBmpImage image;
    std::size_t consumed = 0;
    std::wstring error;
    if (!DecodeBmp(bytes.data(), bytes.size(), image, consumed, error)) throw EInvalidGraphic(error);
    std::vector<RGBQUAD> colors;
    for (std::uint32_t c : image.Palette)
        colors.push_back(Quad(static_cast<std::uint8_t>(c >> 16), static_cast<std::uint8_t>(c >> 8), static_cast<std::uint8_t>(c)));
    Allocate(image.Width, image.Height, FormatOf(image), colors);
    for (int y = 0; y < image.Height; ++y)
        std::memcpy(ScanLine(y), image.Row(y), static_cast<std::size_t>(image.Stride()));
    stream.SetPosition(start + static_cast<std::int64_t>(consumed));  // leave what follows the file
    Changed();
}

void TBitmap::SaveToStream(TStream& stream) {
    if (!bits_) return;  // an empty bitmap writes nothing (and reads back empty)
    TBmpImage image;
    image.Width = width_;
    image.Height = height_;
    image.BitCount = BitsOf(pixelFormat_);
    image.Rgb565 = pixelFormat_ == pf16bit;
    for (const RGBQUAD& q : palette_)
        image.Palette.push_back(static_cast<std::uint32_t>(q.rgbRed) << 16 | static_cast<std::uint32_t>(q.rgbGreen) << 8 | q.rgbBlue);
    image.Pixels.resize(static_cast<std::size_t>(image.Stride()) * static_cast<std::size_t>(height_));
    for (int y = 0; y < height_; ++y) std::memcpy(image.Row(y), ScanLine(y), static_cast<std::size_t>(image.Stride()));
    const std::vector<std::uint8_t> file = EncodeBmp(image);
    stream.WriteBuffer(file.data(), static_cast<std::int32_t>(file.size()));
}

void TBitmap::LoadFromResourceName(HINSTANCE instance, const std::wstring& name) {
    TResourceStream resource(instance, name.c_str(), RT_BITMAP);
    // A bitmap resource is a BMP file without its 14-byte file header: rebuild it.
    const auto size = static_cast<std::size_t>(resource.GetSize());
    const std::uint8_t* data = resource.GetMemory();
    if (size < 16) throw EInvalidGraphic(L"位图资源无效");
    std::uint32_t headerSize = 0, bitCount = 0, compression = 0, colorsUsed = 0;
    std::memcpy(&headerSize, data, 4);
    std::size_t entry = 4;
    if (headerSize == 12) {
        bitCount = data[10] | data[11] << 8;
        entry = 3;
    } else if (size >= 40) {
        bitCount = data[14] | data[15] << 8;
        std::memcpy(&compression, data + 16, 4);
        std::memcpy(&colorsUsed, data + 32, 4);
    }
    std::size_t offset = 14 + headerSize;
    if (headerSize == 40 && compression == BI_BITFIELDS) offset += 12;
    if (bitCount <= 8) offset += entry * (colorsUsed ? colorsUsed : (1u << bitCount));
    std::vector<std::uint8_t> file(14 + size);
    file[0] = 'B', file[1] = 'M';
    const auto total = static_cast<std::uint32_t>(file.size()), off = static_cast<std::uint32_t>(offset);
    std::memcpy(file.data() + 2, &total, 4);
    std::memcpy(file.data() + 10, &off, 4);
    std::memcpy(file.data() + 14, data, size);
    TMemoryStream stream;
    stream.WriteBuffer(file.data(), static_cast<std::int32_t>(file.size()));
    stream.SetPosition(0);
    LoadFromStream(stream);
}

void TBitmap::LoadFromResourceID(HINSTANCE instance, int id) {
    LoadFromResourceName(instance, L"#" + IntToStr(id));
}

void TBitmap::Draw(TCanvas& canvas, const RECT& rect) {
    if (!bits_) return;
    HDC dest = canvas.GetHandle();
    HDC source = GetCanvas()->GetHandle();
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    const int oldMode = SetStretchBltMode(dest, COLORONCOLOR);
    if (!transparent_) {
        StretchBlt(dest, rect.left, rect.top, w, h, source, 0, 0, width_, height_, canvas.GetCopyMode());
    } else {
        // Without TransparentBlt: a mask (white where the key colour is) and the
        // classic invert / and / invert sequence.
        TMemoryDC maskDC(dest);
        TBitmapHandle mask(CreateBitmap(width_, height_, 1, 1, nullptr));
        TSelectObject selection(maskDC.Get(), mask.Get());
        const COLORREF oldSourceBk = SetBkColor(source, ColorToColorRef(GetTransparentColor()));
        BitBlt(maskDC.Get(), 0, 0, width_, height_, source, 0, 0, SRCCOPY);
        SetBkColor(source, oldSourceBk);
        const COLORREF oldText = SetTextColor(dest, RGB(0, 0, 0));
        const COLORREF oldBk = SetBkColor(dest, RGB(255, 255, 255));
        StretchBlt(dest, rect.left, rect.top, w, h, source, 0, 0, width_, height_, SRCINVERT);
        StretchBlt(dest, rect.left, rect.top, w, h, maskDC.Get(), 0, 0, width_, height_, SRCAND);
        StretchBlt(dest, rect.left, rect.top, w, h, source, 0, 0, width_, height_, SRCINVERT);
        SetTextColor(dest, oldText);
        SetBkColor(dest, oldBk);
    }
    SetStretchBltMode(dest, oldMode);
}

bool TBitmap::Assign(const TPersistent& source) {
    if (auto* jpeg = dynamic_cast<const TJPEGImage*>(&source)) {
        if (jpeg->GetBitmap()) return Assign(*jpeg->GetBitmap());
        Allocate(0, 0, pf24bit, {});
        Changed();
        return true;
    }
    auto* other = dynamic_cast<const TBitmap*>(&source);
    if (!other) return false;
    if (other == this) return true;
    Allocate(other->width_, other->height_, other->pixelFormat_, other->palette_);
    for (int y = 0; y < height_; ++y)
        std::memcpy(ScanLine(y), other->ScanLine(y), static_cast<std::size_t>(GetRowStride()));
    transparent_ = other->transparent_;
    transparentColor_ = other->transparentColor_;
    transparentMode_ = other->transparentMode_;
    Changed();
    return true;
}

// --- TIcon -----------------------------------------------------------------------------------------

VX_IMPLEMENT_CLASS(TIcon, TGraphic)

TIcon::~TIcon() {
    if (icon_) DestroyIcon(icon_);
}

void TIcon::SetWidth(int) { throw EInvalidGraphic(L"不能改变图标的大小"); }
void TIcon::SetHeight(int) { throw EInvalidGraphic(L"不能改变图标的大小"); }

void TIcon::Adopt(HICON icon) {
    if (icon_ && icon_ != icon) DestroyIcon(icon_);
    icon_ = icon;
    width_ = height_ = 0;
    ICONINFO info{};
    if (icon && GetIconInfo(icon, &info)) {
        // GetIconInfo made copies of both masks for the caller.
        const TBitmapHandle color(info.hbmColor), mask(info.hbmMask);
        BITMAP bm{};
        if (info.hbmColor && GetObjectW(info.hbmColor, sizeof(bm), &bm)) {
            width_ = bm.bmWidth, height_ = bm.bmHeight;
        } else if (info.hbmMask && GetObjectW(info.hbmMask, sizeof(bm), &bm)) {
            width_ = bm.bmWidth, height_ = bm.bmHeight / 2;  // AND and XOR masks stacked
        }
    }
    Changed();
}

void TIcon::SetHandle(HICON icon) {
    data_.clear();
    Adopt(icon);
}

HICON TIcon::ReleaseHandle() {
    HICON released = icon_;
    icon_ = nullptr;
    width_ = height_ = 0;
    data_.clear();
    Changed();
    return released;
}

void TIcon::LoadFromResourceName(HINSTANCE instance, const std::wstring& name, int size) {
    const wchar_t* id = name.size() > 1 && name[0] == L'#' ? MAKEINTRESOURCEW(StrToIntDef(name.substr(1), 0)) : name.c_str();
    auto icon = static_cast<HICON>(LoadImageW(instance, id, IMAGE_ICON, size, size, 0));
    if (!icon) throw EResNotFound(L"找不到图标资源“" + name + L"”");
    SetHandle(icon);
}

void TIcon::LoadFromResourceID(HINSTANCE instance, int id, int size) {
    LoadFromResourceName(instance, L"#" + IntToStr(id), size);
}

void TIcon::LoadFromStream(TStream& stream) {
    std::vector<std::uint8_t> bytes = ReadRest(stream);
    auto u16 = [&](std::size_t at) { return static_cast<unsigned>(bytes[at] | bytes[at + 1] << 8); };
    auto u32 = [&](std::size_t at) { return static_cast<std::size_t>(u16(at) | u16(at + 2) << 16); };
    if (bytes.size() < 6 || u16(0) != 0 || u16(2) != 1 || u16(4) == 0) throw EInvalidGraphic(L"不是图标文件");
    const unsigned count = u16(4);
    if (6 + 16ull * count > bytes.size()) throw EInvalidGraphic(L"图标文件不完整");
    // The entry nearest to 32 x 32 pixels; a stored size of 0 means 256.
    int best = -1, bestDistance = 0;
    for (unsigned i = 0; i < count; ++i) {
        const std::size_t e = 6 + 16 * i;
        const std::size_t length = u32(e + 8), offset = u32(e + 12);
        if (offset > bytes.size() || length > bytes.size() - offset || length < 40) continue;
        const int w = bytes[e] ? bytes[e] : 256;
        const int distance = std::abs(w - 32);
        if (best < 0 || distance < bestDistance) best = static_cast<int>(i), bestDistance = distance;
    }
    if (best < 0) throw EInvalidGraphic(L"图标文件不完整");
    const std::size_t e = 6 + 16 * static_cast<std::size_t>(best);
    const int w = bytes[e] ? bytes[e] : 256, h = bytes[e + 1] ? bytes[e + 1] : 256;
    HICON icon = CreateIconFromResourceEx(bytes.data() + u32(e + 12), static_cast<DWORD>(u32(e + 8)), TRUE, 0x00030000,
                                          w, h, 0);
    if (!icon) throw EInvalidGraphic(L"无法读取图标");
    data_ = std::move(bytes);
    Adopt(icon);
}

void TIcon::SaveToStream(TStream& stream) {
    if (data_.empty()) throw EInvalidGraphic(L"只能保存从图标文件读取的图标");
    stream.WriteBuffer(data_.data(), static_cast<std::int32_t>(data_.size()));
}

void TIcon::Draw(TCanvas& canvas, const RECT& rect) {
    if (!icon_) return;
    DrawIconEx(canvas.GetHandle(), rect.left, rect.top, icon_, rect.right - rect.left, rect.bottom - rect.top, 0,
               nullptr, DI_NORMAL);
}

bool TIcon::Assign(const TPersistent& source) {
    auto* other = dynamic_cast<const TIcon*>(&source);
    if (!other) return false;
    if (other == this) return true;
    std::vector<std::uint8_t> data = other->data_;
    Adopt(other->icon_ ? CopyIcon(other->icon_) : nullptr);
    data_ = std::move(data);
    return true;
}

// --- TJPEGImage ------------------------------------------------------------------------------------

VX_IMPLEMENT_CLASS(TJPEGImage, TGraphic)

TJPEGImage::TJPEGImage() = default;
TJPEGImage::~TJPEGImage() = default;

int TJPEGImage::GetWidth() const { return bitmap_ ? bitmap_->GetWidth() : 0; }
int TJPEGImage::GetHeight() const { return bitmap_ ? bitmap_->GetHeight() : 0; }
void TJPEGImage::SetWidth(int) { throw EInvalidGraphic(L"不能改变 JPEG 图像的大小"); }
void TJPEGImage::SetHeight(int) { throw EInvalidGraphic(L"不能改变 JPEG 图像的大小"); }
bool TJPEGImage::GetEmpty() const { return !bitmap_ || bitmap_->GetEmpty(); }

void TJPEGImage::LoadFromStream(TStream& stream) {
    std::vector<std::uint8_t> bytes = ReadRest(stream);
    DecodedJpeg decoded;
    std::string error;
    if (!DecodeJpeg(bytes.data(), bytes.size(), decoded, error))
        throw EInvalidGraphic(L"无法读取 JPEG 图像：" + Utf8ToWide(error));
    auto bitmap = std::make_unique<TBitmap>(decoded.Width, decoded.Height, pf24bit);
    const std::size_t rowBytes = static_cast<std::size_t>(decoded.Width) * 3;
    for (int y = 0; y < decoded.Height; ++y)
        std::memcpy(bitmap->ScanLine(y), decoded.Pixels.data() + rowBytes * static_cast<std::size_t>(y), rowBytes);
    bitmap_ = std::move(bitmap);
    data_ = std::move(bytes);
    Changed();
}

void TJPEGImage::SaveToStream(TStream& stream) {
    if (!data_.empty()) stream.WriteBuffer(data_.data(), static_cast<std::int32_t>(data_.size()));
}

void TJPEGImage::Draw(TCanvas& canvas, const RECT& rect) {
    if (bitmap_) bitmap_->Draw(canvas, rect);
}

bool TJPEGImage::Assign(const TPersistent& source) {
    auto* other = dynamic_cast<const TJPEGImage*>(&source);
    if (!other) return false;
    if (other == this) return true;
    data_ = other->data_;
    bitmap_.reset();
    if (other->bitmap_) {
        bitmap_ = std::make_unique<TBitmap>();
        bitmap_->Assign(*other->bitmap_);
    }
    Changed();
    return true;
}

// --- TPicture -----------------------------------------------------------------------------------------

VX_IMPLEMENT_CLASS_WITH_PROPERTIES(TPicture, TPersistent)

void TPicture::RegisterProperties(TPropertyRegistrar<TPicture>& r) {
    r.Object(L"Graphic", &TPicture::GetGraphic, &TPicture::SetGraphic);
}

TPicture::TPicture() = default;
TPicture::~TPicture() = default;

void TPicture::Changed() {
    if (OnChange) OnChange(this);
}

void TPicture::Hold(std::unique_ptr<TGraphic> graphic) {
    graphic_ = std::move(graphic);
    if (graphic_) graphic_->OnChange = [this](TObject*) { Changed(); };
    Changed();
}

void TPicture::SetGraphic(TGraphic* graphic) {
    if (graphic == graphic_.get()) return;
    if (!graphic) {
        Hold(nullptr);
        return;
    }
    std::unique_ptr<TGraphic> copy;
    if (dynamic_cast<TBitmap*>(graphic)) copy = std::make_unique<TBitmap>();
    else if (dynamic_cast<TIcon*>(graphic)) copy = std::make_unique<TIcon>();
    else if (dynamic_cast<TJPEGImage*>(graphic)) copy = std::make_unique<TJPEGImage>();
    else throw EInvalidGraphic(L"不支持的图像类型");
    copy->Assign(*graphic);
    copy->SetTransparent(graphic->GetTransparent());
    Hold(std::move(copy));
}

TBitmap* TPicture::GetBitmap() {
    if (!dynamic_cast<TBitmap*>(graphic_.get())) Hold(std::make_unique<TBitmap>());
    return static_cast<TBitmap*>(graphic_.get());
}

TIcon* TPicture::GetIcon() {
    if (!dynamic_cast<TIcon*>(graphic_.get())) Hold(std::make_unique<TIcon>());
    return static_cast<TIcon*>(graphic_.get());
}

int TPicture::GetWidth() const { return graphic_ ? graphic_->GetWidth() : 0; }
int TPicture::GetHeight() const { return graphic_ ? graphic_->GetHeight() : 0; }

void TPicture::LoadFromFile(const std::wstring& fileName) {
    const std::wstring ext = LowerCase(ExtractFileExt(fileName));
    std::unique_ptr<TGraphic> graphic;
    if (ext == L".bmp") graphic = std::make_unique<TBitmap>();
    else if (ext == L".ico") graphic = std::make_unique<TIcon>();
    else if (ext == L".jpg" || ext == L".jpeg") graphic = std::make_unique<TJPEGImage>();
    else throw EInvalidGraphic(L"未知的图像文件类型“" + ext + L"”");
    graphic->LoadFromFile(fileName);  // the held picture stays when loading fails
    Hold(std::move(graphic));
}

void TPicture::SaveToFile(const std::wstring& fileName) {
    if (!graphic_) throw EInvalidGraphic(L"没有可保存的图像");
    graphic_->SaveToFile(fileName);
}

bool TPicture::Assign(const TPersistent& source) {
    if (auto* picture = dynamic_cast<const TPicture*>(&source)) {
        if (picture != this) SetGraphic(picture->graphic_.get());
        return true;
    }
    if (auto* graphic = dynamic_cast<const TGraphic*>(&source)) {
        SetGraphic(const_cast<TGraphic*>(graphic));
        return true;
    }
    return false;
}

}  // namespace vx
