// Colours, the drawing objects (font, pen, brush), the canvas and two drawing helpers
// (transparent bitmaps, embossed captions). Pictures are in GraphicsPictures.cpp.
#include "framework/Graphics.h"

#include <algorithm>

namespace vx {

TColor ColorToRGB(TColor color) {
    if ((color & 0xFF000000u) == clSystemColor) return GetSysColor(static_cast<int>(color & 0xFF));
    return color;
}

// --- TGraphicsObject --------------------------------------------------------------------

VX_IMPLEMENT_CLASS(TGraphicsObject, TPersistent)

void TGraphicsObject::Changed() {
    if (OnChange) OnChange(this);
}

// --- TFont ----------------------------------------------------------------------------------

VX_IMPLEMENT_CLASS_WITH_PROPERTIES(TFont, TGraphicsObject)

void TFont::RegisterProperties(TPropertyRegistrar<TFont>& r) {
    r.Text(L"Name", &TFont::GetName, &TFont::SetName)
        .Integer(L"Height", &TFont::GetHeight, &TFont::SetHeight)
        .Integer(L"Size", &TFont::GetSize, &TFont::SetSize)
        .Integer(L"Color", &TFont::GetColor, &TFont::SetColor)
        .Integer(L"Charset", &TFont::GetCharset, &TFont::SetCharset)
        .Integer(L"Style", &TFont::GetStyle, &TFont::SetStyle)
        .Enumeration(L"Pitch", &TFont::GetPitch, &TFont::SetPitch, {L"fpDefault", L"fpVariable", L"fpFixed"});
}

// A scalable face that exists on Windows and under Wine; 8 points at 96 dpi.
TFont::TFont() : name_(L"Tahoma"), height_(-11) {}

TFont::~TFont() = default;

// Listeners (a canvas) take the old handle out of their DC in OnChange, before it is
// deleted here.
void TFont::Change() {
    const TFontHandle old = std::move(handle_);
    Changed();
}

void TFont::SetName(const std::wstring& name) {
    if (name.empty() || name == name_) return;
    name_ = name;
    Change();
}

void TFont::SetHeight(int height) {
    if (height == height_) return;
    height_ = height;
    Change();
}

int TFont::GetSize() const { return -MulDiv(height_, 72, pixelsPerInch_); }

void TFont::SetSize(int points) { SetHeight(-MulDiv(points, pixelsPerInch_, 72)); }

void TFont::SetStyle(TFontStyles style) {
    style &= fsBold | fsItalic | fsUnderline | fsStrikeOut;
    if (style == style_) return;
    style_ = style;
    Change();
}

// The colour is not part of the HFONT, but listeners still need to hear about it.
void TFont::SetColor(TColor color) {
    if (color == color_) return;
    color_ = color;
    Changed();
}

void TFont::SetCharset(int charset) {
    if (charset == charset_) return;
    charset_ = charset;
    Change();
}

void TFont::SetPitch(TFontPitch pitch) {
    if (pitch == pitch_) return;
    pitch_ = pitch;
    Change();
}

void TFont::SetPixelsPerInch(int ppi) {
    if (ppi > 0) pixelsPerInch_ = ppi;
}

HFONT TFont::GetHandle() {
    if (!handle_) {
        LOGFONTW lf{};
        lf.lfHeight = height_;
        lf.lfWeight = (style_ & fsBold) ? FW_BOLD : FW_NORMAL;
        lf.lfItalic = (style_ & fsItalic) ? TRUE : FALSE;
        lf.lfUnderline = (style_ & fsUnderline) ? TRUE : FALSE;
        lf.lfStrikeOut = (style_ & fsStrikeOut) ? TRUE : FALSE;
        lf.lfCharSet = static_cast<BYTE>(charset_);
        lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
        lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
        lf.lfQuality = DEFAULT_QUALITY;
        lf.lfPitchAndFamily = pitch_ == fpFixed ? FIXED_PITCH : (pitch_ == fpVariable ? VARIABLE_PITCH : DEFAULT_PITCH);
        lstrcpynW(lf.lfFaceName, name_.c_str(), LF_FACESIZE);
        handle_.Reset(CreateFontIndirectW(&lf));
    }
    return handle_.Get();
}

void TFont::SetHandle(HFONT font) {
    LOGFONTW lf{};
    // The font's own handle describes what the font already is (and must not be
    // deleted to be adopted again).
    if (!font || font == handle_.Get() || !GetObjectW(font, sizeof(lf), &lf)) return;
    const TFontHandle old = std::move(handle_);
    name_ = lf.lfFaceName;
    height_ = lf.lfHeight;
    style_ = 0;
    if (lf.lfWeight >= FW_BOLD) style_ |= fsBold;
    if (lf.lfItalic) style_ |= fsItalic;
    if (lf.lfUnderline) style_ |= fsUnderline;
    if (lf.lfStrikeOut) style_ |= fsStrikeOut;
    charset_ = lf.lfCharSet;
    const int pitch = lf.lfPitchAndFamily & 3;
    pitch_ = pitch == FIXED_PITCH ? fpFixed : (pitch == VARIABLE_PITCH ? fpVariable : fpDefault);
    Changed();
    handle_.Reset(font);
}

bool TFont::Assign(const TPersistent& source) {
    auto* other = dynamic_cast<const TFont*>(&source);
    if (!other) return false;
    if (other == this) return true;
    name_ = other->name_;
    height_ = other->height_;
    style_ = other->style_;
    color_ = other->color_;
    charset_ = other->charset_;
    pitch_ = other->pitch_;
    pixelsPerInch_ = other->pixelsPerInch_;
    Change();
    return true;
}

// --- TPen ----------------------------------------------------------------------------------

VX_IMPLEMENT_CLASS_WITH_PROPERTIES(TPen, TGraphicsObject)

void TPen::RegisterProperties(TPropertyRegistrar<TPen>& r) {
    r.Integer(L"Color", &TPen::GetColor, &TPen::SetColor)
        .Integer(L"Width", &TPen::GetWidth, &TPen::SetWidth)
        .Enumeration(L"Style", &TPen::GetStyle, &TPen::SetStyle,
                     {L"psSolid", L"psDash", L"psDot", L"psDashDot", L"psDashDotDot", L"psClear", L"psInsideFrame"})
        .Enumeration(L"Mode", &TPen::GetMode, &TPen::SetMode,
                     {L"pmBlack", L"pmWhite", L"pmNop", L"pmNot", L"pmCopy", L"pmNotCopy", L"pmMergePenNot",
                      L"pmMaskPenNot", L"pmMergeNotPen", L"pmMaskNotPen", L"pmMerge", L"pmNotMerge", L"pmMask",
                      L"pmNotMask", L"pmXor", L"pmNotXor"});
}

TPen::~TPen() = default;

void TPen::Change() {
    const TPenHandle old = std::move(handle_);
    Changed();
}

void TPen::SetColor(TColor color) {
    if (color == color_) return;
    color_ = color;
    Change();
}

void TPen::SetWidth(int width) {
    if (width < 0 || width == width_) return;
    width_ = width;
    Change();
}

void TPen::SetStyle(TPenStyle style) {
    if (style == style_) return;
    style_ = style;
    Change();
}

// The mode is a DC setting, not part of the HPEN.
void TPen::SetMode(TPenMode mode) {
    if (mode == mode_) return;
    mode_ = mode;
    Changed();
}

HPEN TPen::GetHandle() {
    if (!handle_) {
        static const int kStyles[] = {PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT, PS_NULL, PS_INSIDEFRAME};
        handle_.Reset(CreatePen(kStyles[style_], width_, ColorToColorRef(color_)));
    }
    return handle_.Get();
}

bool TPen::Assign(const TPersistent& source) {
    auto* other = dynamic_cast<const TPen*>(&source);
    if (!other) return false;
    if (other == this) return true;
    color_ = other->color_;
    width_ = other->width_;
    style_ = other->style_;
    mode_ = other->mode_;
    Change();
    return true;
}

// --- TBrush -----------------------------------------------------------------------------------

VX_IMPLEMENT_CLASS_WITH_PROPERTIES(TBrush, TGraphicsObject)

void TBrush::RegisterProperties(TPropertyRegistrar<TBrush>& r) {
    r.Integer(L"Color", &TBrush::GetColor, &TBrush::SetColor)
        .Enumeration(L"Style", &TBrush::GetStyle, &TBrush::SetStyle,
                     {L"bsSolid", L"bsClear", L"bsHorizontal", L"bsVertical", L"bsFDiagonal", L"bsBDiagonal",
                      L"bsCross", L"bsDiagCross"});
}

TBrush::~TBrush() = default;

void TBrush::Change() {
    const TBrushHandle old = std::move(handle_);
    Changed();
}

void TBrush::SetColor(TColor color) {
    if (color == color_ && style_ != bsClear) return;
    color_ = color;
    if (style_ == bsClear) style_ = bsSolid;
    Change();
}

void TBrush::SetStyle(TBrushStyle style) {
    if (style == style_) return;
    style_ = style;
    Change();
}

void TBrush::SetBitmap(TBitmap* bitmap) {
    if (bitmap == bitmap_) return;
    bitmap_ = bitmap;
    Change();
}

// A clear brush is the stock null brush, which is never owned (nor deleted).
HBRUSH TBrush::GetHandle() {
    if (!handle_) {
        if (bitmap_ && !bitmap_->GetEmpty())
            handle_.Reset(CreatePatternBrush(bitmap_->GetHandle()));
        else if (style_ == bsClear)
            return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
        else if (style_ == bsSolid)
            handle_.Reset(CreateSolidBrush(ColorToColorRef(color_)));
        else
            handle_.Reset(CreateHatchBrush(static_cast<int>(style_) - static_cast<int>(bsHorizontal),
                                           ColorToColorRef(color_)));
    }
    return handle_.Get();
}

bool TBrush::Assign(const TPersistent& source) {
    auto* other = dynamic_cast<const TBrush*>(&source);
    if (!other) return false;
    if (other == this) return true;
    color_ = other->color_;
    style_ = other->style_;
    bitmap_ = other->bitmap_;
    Change();
    return true;
}

// --- TCanvas -------------------------------------------------------------------------------------

VX_IMPLEMENT_CLASS(TCanvas, TPersistent)

TCanvas::TCanvas() : font_(std::make_unique<TFont>()), pen_(std::make_unique<TPen>()), brush_(std::make_unique<TBrush>()) {
    // A changed object is taken out of the DC at once (its old handle is about to be
    // deleted) and selected again before the next drawing call.
    font_->OnChange = [this](TObject*) {
        if (dc_ && oldFont_) SelectObject(dc_, oldFont_), oldFont_ = nullptr;
        fontDirty_ = true;
    };
    pen_->OnChange = [this](TObject*) {
        if (dc_ && oldPen_) SelectObject(dc_, oldPen_), oldPen_ = nullptr;
        penDirty_ = true;
    };
    brush_->OnChange = [this](TObject*) {
        if (dc_ && oldBrush_) SelectObject(dc_, oldBrush_), oldBrush_ = nullptr;
        brushDirty_ = true;
    };
}

TCanvas::~TCanvas() { DeselectHandles(); }

void TCanvas::DeselectHandles() {
    if (!dc_) return;
    if (oldFont_) SelectObject(dc_, oldFont_);
    if (oldPen_) SelectObject(dc_, oldPen_);
    if (oldBrush_) SelectObject(dc_, oldBrush_);
    oldFont_ = oldPen_ = oldBrush_ = nullptr;
    fontDirty_ = penDirty_ = brushDirty_ = true;
}

void TCanvas::SetHandle(HDC dc) {
    if (dc == dc_) return;
    DeselectHandles();
    dc_ = dc;
}

HDC TCanvas::GetHandle() { return RequireHandle(); }

HDC TCanvas::RequireHandle() {
    if (!dc_) CreateHandle();
    if (!dc_) throw EInvalidGraphic(L"画布不能绘图");
    SelectObjects(dc_);
    return dc_;
}

void TCanvas::SelectObjects(HDC dc) {
    if (fontDirty_) {
        HGDIOBJ previous = SelectObject(dc, font_->GetHandle());
        if (!oldFont_) oldFont_ = previous;
        SetTextColor(dc, ColorToColorRef(font_->GetColor()));
        fontDirty_ = false;
    }
    if (penDirty_) {
        HGDIOBJ previous = SelectObject(dc, pen_->GetHandle());
        if (!oldPen_) oldPen_ = previous;
        static const int kModes[] = {R2_BLACK,      R2_WHITE,       R2_NOP,       R2_NOT,        R2_COPYPEN, R2_NOTCOPYPEN,
                                     R2_MERGEPENNOT, R2_MASKPENNOT, R2_MERGENOTPEN, R2_MASKNOTPEN, R2_MERGEPEN, R2_NOTMERGEPEN,
                                     R2_MASKPEN,    R2_NOTMASKPEN,  R2_XORPEN,    R2_NOTXORPEN};
        SetROP2(dc, kModes[pen_->GetMode()]);
        penDirty_ = false;
    }
    if (brushDirty_) {
        HGDIOBJ previous = SelectObject(dc, brush_->GetHandle());
        if (!oldBrush_) oldBrush_ = previous;
        // The brush also decides the background behind text and hatches.
        SetBkColor(dc, ColorToColorRef(brush_->GetColor()));
        SetBkMode(dc, brush_->GetStyle() == bsClear ? TRANSPARENT : OPAQUE);
        brushDirty_ = false;
    }
}

void TCanvas::SetFont(const TFont* font) {
    if (font) font_->Assign(*font);
}
void TCanvas::SetPen(const TPen* pen) {
    if (pen) pen_->Assign(*pen);
}
void TCanvas::SetBrush(const TBrush* brush) {
    if (brush) brush_->Assign(*brush);
}

void TCanvas::Changing() {
    if (OnChanging) OnChanging(this);
}
void TCanvas::Changed() {
    if (OnChange) OnChange(this);
}

POINT TCanvas::GetPenPos() {
    POINT p{};
    GetCurrentPositionEx(RequireHandle(), &p);
    return p;
}

void TCanvas::SetPenPos(POINT p) { MoveTo(p.x, p.y); }

void TCanvas::MoveTo(int x, int y) { MoveToEx(RequireHandle(), x, y, nullptr); }

void TCanvas::LineTo(int x, int y) {
    HDC dc = RequireHandle();
    Changing();
    ::LineTo(dc, x, y);
    Changed();
}

void TCanvas::Rectangle(int left, int top, int right, int bottom) {
    HDC dc = RequireHandle();
    Changing();
    ::Rectangle(dc, left, top, right, bottom);
    Changed();
}

void TCanvas::FillRect(const RECT& r) {
    HDC dc = RequireHandle();
    Changing();
    ::FillRect(dc, &r, brush_->GetHandle());
    Changed();
}

void TCanvas::FrameRect(const RECT& r) {
    HDC dc = RequireHandle();
    Changing();
    ::FrameRect(dc, &r, brush_->GetHandle());
    Changed();
}

void TCanvas::Ellipse(int left, int top, int right, int bottom) {
    HDC dc = RequireHandle();
    Changing();
    ::Ellipse(dc, left, top, right, bottom);
    Changed();
}

void TCanvas::RoundRect(int left, int top, int right, int bottom, int cornerWidth, int cornerHeight) {
    HDC dc = RequireHandle();
    Changing();
    ::RoundRect(dc, left, top, right, bottom, cornerWidth, cornerHeight);
    Changed();
}

void TCanvas::Polygon(const std::vector<POINT>& points) {
    if (points.empty()) return;
    HDC dc = RequireHandle();
    Changing();
    ::Polygon(dc, points.data(), static_cast<int>(points.size()));
    Changed();
}

void TCanvas::Polyline(const std::vector<POINT>& points) {
    if (points.empty()) return;
    HDC dc = RequireHandle();
    Changing();
    ::Polyline(dc, points.data(), static_cast<int>(points.size()));
    Changed();
}

void TCanvas::TextOut(int x, int y, const std::wstring& text) {
    HDC dc = RequireHandle();
    Changing();
    ExtTextOutW(dc, x, y, 0, nullptr, text.c_str(), static_cast<UINT>(text.size()), nullptr);
    Changed();
    MoveTo(x + TextWidth(text), y);
}

void TCanvas::TextRect(const RECT& rect, int x, int y, const std::wstring& text) {
    HDC dc = RequireHandle();
    Changing();
    UINT options = ETO_CLIPPED;
    if (brush_->GetStyle() != bsClear) options |= ETO_OPAQUE;
    ExtTextOutW(dc, x, y, options, &rect, text.c_str(), static_cast<UINT>(text.size()), nullptr);
    Changed();
}

void TCanvas::TextRect(RECT& rect, const std::wstring& text, TTextFormat format) {
    HDC dc = RequireHandle();
    Changing();
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, format);
    Changed();
}

SIZE TCanvas::TextExtent(const std::wstring& text) {
    SIZE size{};
    GetTextExtentPoint32W(RequireHandle(), text.c_str(), static_cast<int>(text.size()), &size);
    return size;
}

void TCanvas::Draw(int x, int y, TGraphic* graphic) {
    if (!graphic || graphic->GetEmpty()) return;
    const RECT r{x, y, x + graphic->GetWidth(), y + graphic->GetHeight()};
    StretchDraw(r, graphic);
}

void TCanvas::StretchDraw(const RECT& rect, TGraphic* graphic) {
    if (!graphic || graphic->GetEmpty()) return;
    RequireHandle();
    Changing();
    graphic->Draw(*this, rect);
    Changed();
}

void TCanvas::CopyRect(const RECT& destRect, TCanvas* source, const RECT& sourceRect) {
    if (!source) return;
    HDC dc = RequireHandle();
    HDC sourceDC = source->RequireHandle();
    Changing();
    const int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, destRect.left, destRect.top, destRect.right - destRect.left, destRect.bottom - destRect.top, sourceDC,
               sourceRect.left, sourceRect.top, sourceRect.right - sourceRect.left, sourceRect.bottom - sourceRect.top,
               copyMode_);
    SetStretchBltMode(dc, oldMode);
    Changed();
}

TColor TCanvas::GetPixel(int x, int y) {
    const COLORREF c = ::GetPixel(RequireHandle(), x, y);
    return c == CLR_INVALID ? clNone : static_cast<TColor>(c);
}

void TCanvas::SetPixel(int x, int y, TColor color) {
    HDC dc = RequireHandle();
    Changing();
    ::SetPixel(dc, x, y, ColorToColorRef(color));
    Changed();
}

void TCanvas::BeginPath() { ::BeginPath(RequireHandle()); }
void TCanvas::EndPath() { ::EndPath(RequireHandle()); }

void TCanvas::StrokePath() {
    HDC dc = RequireHandle();
    Changing();
    ::StrokePath(dc);
    Changed();
}

void TCanvas::FillPath() {
    HDC dc = RequireHandle();
    Changing();
    ::FillPath(dc);
    Changed();
}

void TCanvas::StrokeAndFillPath() {
    HDC dc = RequireHandle();
    Changing();
    ::StrokeAndFillPath(dc);
    Changed();
}

void TCanvas::Lock() { lock_.lock(); }
void TCanvas::Unlock() { lock_.unlock(); }
bool TCanvas::TryLock() { return lock_.try_lock(); }

// --- Drawing helpers -------------------------------------------------------------------

void DrawTransparentBitmap(HDC dest, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
                           COLORREF transparent) {
    if (width <= 0 || height <= 0) return;
    // A monochrome mask: 1 where the source has the transparent colour.
    TMemoryDC maskDC(dest);
    TBitmapHandle mask(::CreateBitmap(width, height, 1, 1, nullptr));
    TSelectObject selection(maskDC.Get(), mask.Get());
    COLORREF oldSourceBk = ::SetBkColor(source, transparent);
    ::BitBlt(maskDC.Get(), 0, 0, width, height, source, sourceX, sourceY, SRCCOPY);
    ::SetBkColor(source, oldSourceBk);
    // dest = ((dest ^ src) & mask) ^ src: the destination where the mask is set, the
    // source elsewhere.
    COLORREF oldText = ::SetTextColor(dest, RGB(0, 0, 0));
    COLORREF oldBk = ::SetBkColor(dest, RGB(255, 255, 255));
    ::BitBlt(dest, x, y, width, height, source, sourceX, sourceY, SRCINVERT);
    ::BitBlt(dest, x, y, width, height, maskDC.Get(), 0, 0, SRCAND);
    ::BitBlt(dest, x, y, width, height, source, sourceX, sourceY, SRCINVERT);
    ::SetTextColor(dest, oldText);
    ::SetBkColor(dest, oldBk);
}

void DrawCaptionText(HDC dc, const std::wstring& text, const RECT& rect, unsigned flags, bool enabled, TColor color) {
    const int length = static_cast<int>(text.size());
    ::SetBkMode(dc, TRANSPARENT);
    RECT r = rect;
    if (!enabled) {
        RECT shifted = rect;
        ::OffsetRect(&shifted, 1, 1);
        ::SetTextColor(dc, ColorToColorRef(clBtnHighlight));
        ::DrawTextW(dc, text.c_str(), length, &shifted, flags);
        color = clBtnShadow;
    }
    ::SetTextColor(dc, ColorToColorRef(color));
    ::DrawTextW(dc, text.c_str(), length, &r, flags);
}

}  // namespace vx
