#pragma once
// Graphics over GDI: colours, fonts, pens and brushes, the canvas that draws with
// them on a device context, and the pictures drawn on a canvas (DIB-section bitmaps,
// icons, JPEG pictures) with a holder for one of them (TPicture).
//
// Drawing objects create their GDI handles lazily and recreate them after a change;
// a canvas selects them into its DC when it next draws.

#include <windows.h>

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "framework/Classes.h"
#include "framework/Handles.h"
#include "framework/Object.h"
#include "framework/SysUtils.h"

namespace vx {

// --- Colours ------------------------------------------------------------------------

// 0x00BBGGRR is a plain colour; 0xFF0000nn is system colour nn (COLOR_BTNFACE ...).
using TColor = std::uint32_t;

constexpr TColor clSystemColor = 0xFF000000u;
constexpr TColor clNone = 0x1FFFFFFFu;     // "no colour" (e.g. no transparent key)
constexpr TColor clDefault = 0x20000000u;  // "the control's default colour"

constexpr TColor clBlack = 0x000000, clMaroon = 0x000080, clGreen = 0x008000, clOlive = 0x008080,
                 clNavy = 0x800000, clPurple = 0x800080, clTeal = 0x808000, clGray = 0x808080,
                 clSilver = 0xC0C0C0, clRed = 0x0000FF, clLime = 0x00FF00, clYellow = 0x00FFFF,
                 clBlue = 0xFF0000, clFuchsia = 0xFF00FF, clAqua = 0xFFFF00, clWhite = 0xFFFFFF,
                 clLtGray = 0xC0C0C0, clDkGray = 0x808080, clMoneyGreen = 0xC0DCC0,
                 clSkyBlue = 0xF0CAA6, clCream = 0xF0FBFF, clMedGray = 0xA4A0A0;

constexpr TColor clScrollBar = clSystemColor | COLOR_SCROLLBAR;
constexpr TColor clBackground = clSystemColor | COLOR_BACKGROUND;
constexpr TColor clActiveCaption = clSystemColor | COLOR_ACTIVECAPTION;
constexpr TColor clInactiveCaption = clSystemColor | COLOR_INACTIVECAPTION;
constexpr TColor clMenu = clSystemColor | COLOR_MENU;
constexpr TColor clWindow = clSystemColor | COLOR_WINDOW;
constexpr TColor clWindowFrame = clSystemColor | COLOR_WINDOWFRAME;
constexpr TColor clMenuText = clSystemColor | COLOR_MENUTEXT;
constexpr TColor clWindowText = clSystemColor | COLOR_WINDOWTEXT;
constexpr TColor clCaptionText = clSystemColor | COLOR_CAPTIONTEXT;
constexpr TColor clActiveBorder = clSystemColor | COLOR_ACTIVEBORDER;
constexpr TColor clInactiveBorder = clSystemColor | COLOR_INACTIVEBORDER;
constexpr TColor clAppWorkSpace = clSystemColor | COLOR_APPWORKSPACE;
constexpr TColor clHighlight = clSystemColor | COLOR_HIGHLIGHT;
constexpr TColor clHighlightText = clSystemColor | COLOR_HIGHLIGHTTEXT;
constexpr TColor clBtnFace = clSystemColor | COLOR_BTNFACE;
constexpr TColor clBtnShadow = clSystemColor | COLOR_BTNSHADOW;
constexpr TColor clGrayText = clSystemColor | COLOR_GRAYTEXT;
constexpr TColor clBtnText = clSystemColor | COLOR_BTNTEXT;
constexpr TColor clInactiveCaptionText = clSystemColor | COLOR_INACTIVECAPTIONTEXT;
constexpr TColor clBtnHighlight = clSystemColor | COLOR_BTNHIGHLIGHT;
constexpr TColor cl3DDkShadow = clSystemColor | COLOR_3DDKSHADOW;
constexpr TColor cl3DLight = clSystemColor | COLOR_3DLIGHT;
constexpr TColor clInfoText = clSystemColor | COLOR_INFOTEXT;
constexpr TColor clInfoBk = clSystemColor | COLOR_INFOBK;
constexpr TColor clHotLight = clSystemColor | COLOR_HOTLIGHT;
constexpr TColor clGradientActiveCaption = clSystemColor | COLOR_GRADIENTACTIVECAPTION;
constexpr TColor clGradientInactiveCaption = clSystemColor | COLOR_GRADIENTINACTIVECAPTION;
constexpr TColor clMenuHighlight = clSystemColor | COLOR_MENUHILIGHT;
constexpr TColor clMenuBar = clSystemColor | COLOR_MENUBAR;

// The plain 0x00BBGGRR value: system colours through GetSysColor; any other value
// (clNone, clDefault, plain colours) is returned unchanged, as in the drawing code
// that tests for clNone after resolving.
TColor ColorToRGB(TColor color);
// The COLORREF that GDI gets for `color` (ColorToRGB without the high byte).
inline COLORREF ColorToColorRef(TColor color) { return ColorToRGB(color) & 0x00FFFFFFu; }

// Raised for unreadable or unsupported picture data and invalid picture operations.
class EInvalidGraphic : public Exception {
public:
    using Exception::Exception;
};

class TCanvas;
class TBitmap;

// --- Drawing objects -------------------------------------------------------------------

// Base of TFont, TPen and TBrush: fires OnChange after every change.
class TGraphicsObject : public TPersistent {
    VX_DECLARE_CLASS(TGraphicsObject, TPersistent)
public:
    TNotifyEvent OnChange;

protected:
    void Changed();
};

// Font styles as a bit set: fsBold | fsUnderline.
enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = unsigned;
enum TFontPitch { fpDefault, fpVariable, fpFixed };

// A font description and its HFONT. Height is in pixels (negative: the character
// height, without internal leading); Size is in points at GetPixelsPerInch() (96 unless
// set). Published: Name, Height, Size, Color, Charset, Style (bit set), Pitch.
class TFont : public TGraphicsObject {
    VX_DECLARE_CLASS(TFont, TGraphicsObject)
public:
    TFont();
    ~TFont() override;

    std::wstring GetName() const { return name_; }
    void SetName(const std::wstring& name);
    int GetHeight() const { return height_; }
    void SetHeight(int height);
    int GetSize() const;
    void SetSize(int points);
    TFontStyles GetStyle() const { return style_; }
    void SetStyle(TFontStyles style);
    TColor GetColor() const { return color_; }
    void SetColor(TColor color);
    // DEFAULT_CHARSET (1) unless set; GB2312_CHARSET is 134.
    int GetCharset() const { return charset_; }
    void SetCharset(int charset);
    TFontPitch GetPitch() const { return pitch_; }
    void SetPitch(TFontPitch pitch);
    int GetPixelsPerInch() const { return pixelsPerInch_; }
    void SetPixelsPerInch(int ppi);

    // The HFONT, created on first use and again after a change. Owned by the font.
    HFONT GetHandle();
    // Adopts an HFONT (the font then owns it) and reads its description back.
    void SetHandle(HFONT font);

    bool Assign(const TPersistent& source) override;
    static void RegisterProperties(TPropertyRegistrar<TFont>& r);

private:
    void Change();
    std::wstring name_;
    int height_;
    TFontStyles style_ = 0;
    TColor color_ = clWindowText;
    int charset_ = DEFAULT_CHARSET;
    TFontPitch pitch_ = fpDefault;
    int pixelsPerInch_ = 96;
    TFontHandle handle_;
};

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
// Raster operations of the pen (SetROP2): pmCopy draws the pen colour.
enum TPenMode {
    pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot,
    pmMergeNotPen, pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor
};

// Line colour, width, dash style and raster mode. Published: Color, Width, Style, Mode.
class TPen : public TGraphicsObject {
    VX_DECLARE_CLASS(TPen, TGraphicsObject)
public:
    TPen() = default;
    ~TPen() override;
    TColor GetColor() const { return color_; }
    void SetColor(TColor color);
    int GetWidth() const { return width_; }
    void SetWidth(int width);
    TPenStyle GetStyle() const { return style_; }
    void SetStyle(TPenStyle style);
    TPenMode GetMode() const { return mode_; }
    void SetMode(TPenMode mode);
    HPEN GetHandle();
    bool Assign(const TPersistent& source) override;
    static void RegisterProperties(TPropertyRegistrar<TPen>& r);

private:
    void Change();
    TColor color_ = clBlack;
    int width_ = 1;
    TPenStyle style_ = psSolid;
    TPenMode mode_ = pmCopy;
    TPenHandle handle_;
};

enum TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };

// Fill colour and style, or a pattern bitmap (not owned; it must outlive its use).
// Published: Color, Style.
class TBrush : public TGraphicsObject {
    VX_DECLARE_CLASS(TBrush, TGraphicsObject)
public:
    TBrush() = default;
    ~TBrush() override;
    TColor GetColor() const { return color_; }
    // Setting a colour on a clear brush makes it solid again.
    void SetColor(TColor color);
    TBrushStyle GetStyle() const { return style_; }
    void SetStyle(TBrushStyle style);
    TBitmap* GetBitmap() const { return bitmap_; }
    void SetBitmap(TBitmap* bitmap);
    // The HBRUSH (a null brush for bsClear).
    HBRUSH GetHandle();
    bool Assign(const TPersistent& source) override;
    static void RegisterProperties(TPropertyRegistrar<TBrush>& r);

private:
    void Change();
    TColor color_ = clWhite;
    TBrushStyle style_ = bsSolid;
    TBitmap* bitmap_ = nullptr;
    TBrushHandle handle_;  // empty for bsClear (the stock null brush)
};

// --- Canvas -----------------------------------------------------------------------------

class TGraphic;

// Flags for TCanvas::TextRect's format form (DrawText flags).
using TTextFormat = unsigned;

// Drawing on a device context with the canvas's pen, brush and font. A canvas either
// has a DC attached (SetHandle) or makes one on demand (CreateHandle in descendants:
// the bitmap canvas, the control canvas). Pen, brush and font are selected into the
// DC lazily, before the next drawing call after they changed; detaching puts the DC's
// original objects back.
class TCanvas : public TPersistent {
    VX_DECLARE_CLASS(TCanvas, TPersistent)
public:
    TCanvas();
    ~TCanvas() override;

    // The DC, made on demand by CreateHandle; drawing objects are selected into it.
    HDC GetHandle();
    // Attaches a DC (not owned) or detaches with nullptr.
    void SetHandle(HDC dc);
    bool HandleAllocated() const { return dc_ != nullptr; }

    TFont* GetFont() const { return font_.get(); }
    TPen* GetPen() const { return pen_.get(); }
    TBrush* GetBrush() const { return brush_.get(); }
    // These copy the given object's state (the canvas keeps its own objects).
    void SetFont(const TFont* font);
    void SetPen(const TPen* pen);
    void SetBrush(const TBrush* brush);

    POINT GetPenPos();
    void SetPenPos(POINT p);
    // StretchBlt raster operation used by CopyRect and by bitmaps drawn on this canvas.
    DWORD GetCopyMode() const { return copyMode_; }
    void SetCopyMode(DWORD rop) { copyMode_ = rop; }

    void MoveTo(int x, int y);
    // A line from the pen position to (x, y), end point excluded; moves the pen there.
    void LineTo(int x, int y);
    // Outline with the pen, inside with the brush; right and bottom are exclusive.
    void Rectangle(int left, int top, int right, int bottom);
    void Rectangle(const RECT& r) { Rectangle(r.left, r.top, r.right, r.bottom); }
    // Fills with the brush (no outline).
    void FillRect(const RECT& r);
    // A one-pixel frame in the brush colour.
    void FrameRect(const RECT& r);
    void Ellipse(int left, int top, int right, int bottom);
    void Ellipse(const RECT& r) { Ellipse(r.left, r.top, r.right, r.bottom); }
    void RoundRect(int left, int top, int right, int bottom, int cornerWidth, int cornerHeight);
    void Polygon(const std::vector<POINT>& points);
    void Polyline(const std::vector<POINT>& points);
    // Text at (x, y) (top-left), in the font's colour; the background is the brush
    // colour unless the brush is clear. Moves the pen to the end of the text.
    void TextOut(int x, int y, const std::wstring& text);
    // Text at (x, y) clipped to `rect`, which is filled first unless the brush is clear.
    void TextRect(const RECT& rect, int x, int y, const std::wstring& text);
    // Text laid out inside `rect` with DrawText flags (DT_CENTER | DT_VCENTER ...).
    void TextRect(RECT& rect, const std::wstring& text, TTextFormat format);
    SIZE TextExtent(const std::wstring& text);
    int TextWidth(const std::wstring& text) { return TextExtent(text).cx; }
    int TextHeight(const std::wstring& text) { return TextExtent(text).cy; }

    // Draws a picture at its own size with its top-left corner at (x, y).
    void Draw(int x, int y, TGraphic* graphic);
    // Draws a picture stretched over `rect`.
    void StretchDraw(const RECT& rect, TGraphic* graphic);
    // Copies `sourceRect` of another canvas into `destRect` (StretchBlt with CopyMode).
    void CopyRect(const RECT& destRect, TCanvas* source, const RECT& sourceRect);

    TColor GetPixel(int x, int y);
    void SetPixel(int x, int y, TColor color);

    void BeginPath();
    void EndPath();
    void StrokePath();
    void FillPath();
    void StrokeAndFillPath();

    // Serialises drawing from several threads on one canvas (re-entrant per thread).
    void Lock();
    void Unlock();
    bool TryLock();

    // Fired before and after every drawing call (controls use them to invalidate).
    TNotifyEvent OnChanging;
    TNotifyEvent OnChange;

protected:
    // Descendants make a DC here and attach it with SetHandle; the base makes none.
    virtual void CreateHandle() {}
    // Ensures a DC with the current pen, brush and font selected; throws when the
    // canvas has no DC and cannot make one.
    HDC RequireHandle();
    void Changing();
    void Changed();

private:
    void DeselectHandles();
    void SelectObjects(HDC dc);

    HDC dc_ = nullptr;
    std::unique_ptr<TFont> font_;
    std::unique_ptr<TPen> pen_;
    std::unique_ptr<TBrush> brush_;
    bool fontDirty_ = true, penDirty_ = true, brushDirty_ = true;
    HGDIOBJ oldFont_ = nullptr, oldPen_ = nullptr, oldBrush_ = nullptr;
    DWORD copyMode_ = SRCCOPY;
    std::recursive_mutex lock_;
};

// --- Pictures -----------------------------------------------------------------------------

// Base of the pictures: a size, drawing on a canvas, and stream/file storage.
class TGraphic : public TPersistent {
    VX_DECLARE_CLASS(TGraphic, TPersistent)
public:
    virtual int GetWidth() const = 0;
    virtual int GetHeight() const = 0;
    virtual void SetWidth(int width) = 0;
    virtual void SetHeight(int height) = 0;
    virtual bool GetEmpty() const = 0;
    bool GetTransparent() const { return transparent_; }
    virtual void SetTransparent(bool value);

    // Draws the picture stretched over `rect` of the canvas.
    virtual void Draw(TCanvas& canvas, const RECT& rect) = 0;

    // Throws EInvalidGraphic for data that is not a picture of this kind.
    virtual void LoadFromStream(TStream& stream) = 0;
    virtual void SaveToStream(TStream& stream) = 0;
    void LoadFromFile(const std::wstring& fileName);
    void SaveToFile(const std::wstring& fileName);

    TNotifyEvent OnChange;
    // Published: Width, Height, Transparent.
    static void RegisterProperties(TPropertyRegistrar<TGraphic>& r);

protected:
    void Changed();
    bool transparent_ = false;
};

enum TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };
// tmAuto: the transparent colour is the bottom-left pixel; tmFixed: TransparentColor.
enum TTransparentMode { tmAuto, tmFixed };

// A bitmap held as a DIB section of one of the pixel formats (pfDevice is a 32-bit
// DIB). Rows are reached top-down through ScanLine whatever the DIB's orientation.
// pf15bit is 5-5-5, pf16bit is 5-6-5; pf1bit/pf4bit/pf8bit keep a colour table.
class TBitmap : public TGraphic {
    VX_DECLARE_CLASS(TBitmap, TGraphic)
public:
    TBitmap();
    TBitmap(int width, int height, TPixelFormat format = pf24bit);
    ~TBitmap() override;

    int GetWidth() const override { return width_; }
    int GetHeight() const override { return height_; }
    void SetWidth(int width) override { SetSize(width, height_); }
    void SetHeight(int height) override { SetSize(width_, height); }
    // Resizes, keeping the pixels that still fit (new pixels are black / index 0).
    void SetSize(int width, int height);
    bool GetEmpty() const override { return width_ == 0 || height_ == 0; }

    TPixelFormat GetPixelFormat() const { return pixelFormat_; }
    // Converts the pixels to the new format (to paletted formats by nearest colour).
    void SetPixelFormat(TPixelFormat format);
    int GetBitsPerPixel() const;

    // Start of row `row` (0 = top row); throws EInvalidGraphic when out of range.
    void* ScanLine(int row);
    const void* ScanLine(int row) const;
    // Bytes from one row to the next (the DWORD-aligned row size).
    int GetRowStride() const;

    // Colour table of a paletted bitmap (empty for the others).
    std::vector<RGBQUAD> GetColorTable() const;
    void SetColorTable(const std::vector<RGBQUAD>& colors);

    // The canvas drawing on this bitmap (made on first use).
    TCanvas* GetCanvas();

    // The DIB section (an empty bitmap has none). Owned by the bitmap. It is taken out
    // of the canvas's DC first (that DC is deleted: a DC got earlier from
    // GetCanvas()->GetHandle() is no longer valid), so the caller may select it into a
    // DC of its own, and must take it out again before the canvas draws.
    HBITMAP GetHandle();
    // Adopts any HBITMAP: its pixels are copied into a DIB section and it is deleted.
    void SetHandle(HBITMAP bitmap);
    // Gives the DIB section to the caller; the bitmap becomes empty.
    HBITMAP ReleaseHandle();
    bool HandleAllocated() const { return static_cast<bool>(dib_); }

    TColor GetTransparentColor();
    void SetTransparentColor(TColor color);
    TTransparentMode GetTransparentMode() const { return transparentMode_; }
    void SetTransparentMode(TTransparentMode mode);

    // Reads a BMP file (1/4/8/16/24/32 bits, bottom-up or top-down, colour tables,
    // BI_BITFIELDS). Throws EInvalidGraphic for malformed or unsupported data.
    void LoadFromStream(TStream& stream) override;
    // Writes a bottom-up BMP file in the current pixel format.
    void SaveToStream(TStream& stream) override;
    // Loads an RT_BITMAP resource of a module.
    void LoadFromResourceName(HINSTANCE instance, const std::wstring& name);
    void LoadFromResourceID(HINSTANCE instance, int id);

    void Draw(TCanvas& canvas, const RECT& rect) override;
    // Copies size, format, pixels, colour table and transparency.
    bool Assign(const TPersistent& source) override;

private:
    class TBitmapCanvas;
    friend class TBitmapCanvas;
    void Allocate(int width, int height, TPixelFormat format, const std::vector<RGBQUAD>& colors);
    void FreeImage();
    void FreeContext();
    HDC CanvasDC();
    TColor PixelColor(int x, int y) const;

    int width_ = 0, height_ = 0;
    TPixelFormat pixelFormat_ = pf24bit;
    std::vector<RGBQUAD> palette_;  // the DIB's colour table (paletted formats)
    TBitmapHandle dib_;
    std::uint8_t* bits_ = nullptr;  // the DIB's bits (bottom-up rows)
    std::unique_ptr<TCanvas> canvas_;
    std::optional<TMemoryDC> canvasDC_;            // the canvas's DC, made on demand
    std::optional<TSelectObject> canvasSelection_;  // the DIB selected into canvasDC_
    TColor transparentColor_ = clDefault;
    TTransparentMode transparentMode_ = tmAuto;
};

// An icon (HICON), from a module's resources or an .ico file.
class TIcon : public TGraphic {
    VX_DECLARE_CLASS(TIcon, TGraphic)
public:
    TIcon() { transparent_ = true; }
    ~TIcon() override;
    int GetWidth() const override { return width_; }
    int GetHeight() const override { return height_; }
    // An icon's size comes from its image: setting it raises EInvalidGraphic.
    void SetWidth(int width) override;
    void SetHeight(int height) override;
    bool GetEmpty() const override { return icon_ == nullptr; }

    HICON GetHandle() const { return icon_; }
    // Adopts an HICON (the icon then owns it).
    void SetHandle(HICON icon);
    HICON ReleaseHandle();

    // An RT_GROUP_ICON resource at its natural size (or `size` pixels when not 0).
    void LoadFromResourceName(HINSTANCE instance, const std::wstring& name, int size = 0);
    void LoadFromResourceID(HINSTANCE instance, int id, int size = 0);
    // An .ico file: takes the entry whose size is closest to 32 x 32.
    void LoadFromStream(TStream& stream) override;
    // Writes the .ico data the icon was loaded from; throws for an icon from elsewhere.
    void SaveToStream(TStream& stream) override;
    void Draw(TCanvas& canvas, const RECT& rect) override;
    bool Assign(const TPersistent& source) override;

private:
    void Adopt(HICON icon);
    HICON icon_ = nullptr;
    int width_ = 0, height_ = 0;
    std::vector<std::uint8_t> data_;  // the .ico file, when loaded from one
};

// A JPEG picture, decoded into a 24-bit bitmap that does the drawing.
class TJPEGImage : public TGraphic {
    VX_DECLARE_CLASS(TJPEGImage, TGraphic)
public:
    TJPEGImage();
    ~TJPEGImage() override;
    int GetWidth() const override;
    int GetHeight() const override;
    void SetWidth(int width) override;    // raises EInvalidGraphic
    void SetHeight(int height) override;  // raises EInvalidGraphic
    bool GetEmpty() const override;
    void LoadFromStream(TStream& stream) override;
    // Writes the JPEG data that was loaded.
    void SaveToStream(TStream& stream) override;
    void Draw(TCanvas& canvas, const RECT& rect) override;
    // The decoded pixels.
    TBitmap* GetBitmap() const { return bitmap_.get(); }
    bool Assign(const TPersistent& source) override;

private:
    std::unique_ptr<TBitmap> bitmap_;
    std::vector<std::uint8_t> data_;
};

// Holds one picture of any kind. Published: Graphic (object).
class TPicture : public TPersistent {
    VX_DECLARE_CLASS(TPicture, TPersistent)
public:
    TPicture();
    ~TPicture() override;

    // The held picture, or nullptr.
    TGraphic* GetGraphic() const { return graphic_.get(); }
    // Holds a copy of `graphic` (nullptr empties the picture).
    void SetGraphic(TGraphic* graphic);
    // The held bitmap; when the picture holds something else (or nothing) it is
    // replaced by an empty bitmap first.
    TBitmap* GetBitmap();
    TIcon* GetIcon();
    int GetWidth() const;
    int GetHeight() const;

    // By extension: .bmp, .ico, .jpg/.jpeg; anything else raises EInvalidGraphic.
    void LoadFromFile(const std::wstring& fileName);
    void SaveToFile(const std::wstring& fileName);
    bool Assign(const TPersistent& source) override;

    TNotifyEvent OnChange;
    static void RegisterProperties(TPropertyRegistrar<TPicture>& r);

private:
    void Hold(std::unique_ptr<TGraphic> graphic);
    void Changed();
    std::unique_ptr<TGraphic> graphic_;
};

// --- Drawing helpers ----------------------------------------------------------------

// Copies a rectangle of `source` to `dest`, leaving out the pixels of `transparent`
// (a plain colour); the rest of `dest` stays as it was.
void DrawTransparentBitmap(HDC dest, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
                           COLORREF transparent);
// Draws a caption with DrawText's `flags` in `color`, or, when disabled, embossed: the
// highlight colour one pixel down and right under the shadow colour. The background
// stays as it is.
void DrawCaptionText(HDC dc, const std::wstring& text, const RECT& rect, unsigned flags, bool enabled, TColor color);

}  // namespace vx
