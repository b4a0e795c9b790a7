#include "skin/data/ElementDraw.h"

#include <algorithm>
#include <climits>
#include <vector>

#include "framework/Controls.h"
#include "framework/Graphics.h"
#include "framework/Handles.h"
#include "skin/data/ElementLayout.h"

namespace vx {

namespace {

TLayoutRect FromRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }
bool Inverted(const RECT& r) { return r.right < r.left || r.bottom < r.top; }

HDC SourceDC(TBitmap& bitmap) { return bitmap.GetCanvas()->GetHandle(); }

TLayoutRect Cell(TBitmap& bitmap, bool stacked, int frameCount, int frame) {
    return FrameCell(bitmap.GetWidth(), bitmap.GetHeight(), stacked, frameCount, frame);
}

void Perform(HDC dst, int dx, int dy, HDC src, const std::vector<TPiece>& pieces) {
    for (const TPiece& p : pieces) {
        const TLayoutRect& s = p.Source;
        const TLayoutRect& d = p.Dest;
        if (s.Width() <= 0 || s.Height() <= 0 || d.Width() <= 0 || d.Height() <= 0)
            continue;
        StretchBlt(dst, dx + d.Left, dy + d.Top, d.Width(), d.Height(), src, s.Left, s.Top, s.Width(), s.Height(),
                   SRCCOPY);
    }
}

// The finished off-screen picture onto the device context.
void Present(HDC dc, const RECT& dest, TBitmap& picture, bool transparent) {
    if (transparent)
        TransparentBlit(dc, dest, picture, clSkinMagenta);
    else
        BitBlt(dc, dest.left, dest.top, dest.right - dest.left, dest.bottom - dest.top, SourceDC(picture), 0, 0,
               SRCCOPY);
}

}  // namespace

std::unique_ptr<TBitmap> StretchElement(const RECT& dest, TBitmap& bitmap, const TMargins& margins,
                                        bool stacked, bool tileMiddle, int frameCount, int frame) {
    if (Inverted(dest))
        return nullptr;
    const int w = dest.right - dest.left, h = dest.bottom - dest.top;
    auto result = std::make_unique<TBitmap>(w, h, pf24bit);
    if (w == 0 || h == 0 || bitmap.GetEmpty())
        return result;
    HDC dst = result->GetCanvas()->GetHandle();
    SetStretchBltMode(dst, COLORONCOLOR);
    Perform(dst, 0, 0, SourceDC(bitmap),
            StretchElementPieces(w, h, Cell(bitmap, stacked, frameCount, frame), FromRect(margins), tileMiddle));
    return result;
}

void DrawElement(HDC dc, const RECT& dest, TBitmap& bitmap, bool stacked, bool tileMiddle, bool transparent,
                 int frameCount, int frame, const TMargins& margins) {
    const auto picture = StretchElement(dest, bitmap, margins, stacked, tileMiddle, frameCount, frame);
    if (picture && !picture->GetEmpty())
        Present(dc, dest, *picture, transparent);
}

void DrawElementH3(TCanvas& canvas, const RECT& dest, TBitmap& bitmap, bool stacked, bool transparent,
                   int frameCount, int frame, const TMargins& margins) {
    if (Inverted(dest) || bitmap.GetEmpty())
        return;
    const int w = dest.right - dest.left, h = dest.bottom - dest.top;
    if (w == 0 || h == 0)
        return;
    TBitmap picture(w, h, pf24bit);
    HDC dst = picture.GetCanvas()->GetHandle();
    SetStretchBltMode(dst, COLORONCOLOR);
    Perform(dst, 0, 0, SourceDC(bitmap),
            ElementH3Pieces(w, h, Cell(bitmap, stacked, frameCount, frame), margins.left, margins.right));
    Present(canvas.GetHandle(), dest, picture, transparent);
}

void DrawElementH3Stretch(HDC dc, const RECT& dest, TBitmap& bitmap, bool stacked, int frameCount, int frame,
                          const TMargins& margins) {
    if (Inverted(dest) || bitmap.GetEmpty())
        return;
    const int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
    Perform(dc, 0, 0, SourceDC(bitmap),
            ElementH3StretchPieces(FromRect(dest), Cell(bitmap, stacked, frameCount, frame), margins.left,
                                   margins.right));
    SetStretchBltMode(dc, oldMode);
}

void DrawFrame(HDC dc, const RECT& dest, TBitmap& bitmap, bool transparent, int frameCount, int frame) {
    if (Inverted(dest) || bitmap.GetEmpty())
        return;
    const int w = dest.right - dest.left, h = dest.bottom - dest.top;
    if (w == 0 || h == 0)
        return;
    const TLayoutRect cell = Cell(bitmap, false, frameCount, frame);
    TBitmap picture(w, h, pf24bit);
    HDC dst = picture.GetCanvas()->GetHandle();
    SetStretchBltMode(dst, COLORONCOLOR);
    Perform(dst, 0, 0, SourceDC(bitmap), {{cell, {0, 0, w, h}}});
    Present(dc, dest, picture, transparent);
}

void DrawFrameCentered(HDC dc, const RECT& dest, TBitmap& bitmap, bool transparent, int frameCount, int frame) {
    if (Inverted(dest) || bitmap.GetEmpty())
        return;
    const TLayoutRect cell = Cell(bitmap, false, frameCount, frame);
    if (cell.Width() <= 0 || cell.Height() <= 0)
        return;
    int x, y;
    CentredOrigin(FromRect(dest), cell.Width(), bitmap.GetHeight(), x, y);
    TBitmap picture(cell.Width(), cell.Height(), pf24bit);
    BitBlt(picture.GetCanvas()->GetHandle(), 0, 0, cell.Width(), cell.Height(), SourceDC(bitmap), cell.Left,
           cell.Top, SRCCOPY);
    Present(dc, RECT{x, y, x + cell.Width(), y + cell.Height()}, picture, transparent);
}

void TileBitmap(TCanvas& canvas, const RECT& dest, TBitmap& bitmap, const RECT& source) {
    const int sw = source.right - source.left, sh = source.bottom - source.top;
    if (Inverted(dest) || sw <= 0 || sh <= 0 || bitmap.GetEmpty())
        return;
    TBitmap scratch(sw, sh, pf24bit);
    HDC scratchDC = scratch.GetCanvas()->GetHandle();
    BitBlt(scratchDC, 0, 0, sw, sh, SourceDC(bitmap), source.left, source.top, SRCCOPY);
    HDC dc = canvas.GetHandle();
    const TSavedDC saved(dc);
    IntersectClipRect(dc, dest.left, dest.top, dest.right, dest.bottom);
    for (const TLayoutRect& at : TilePositions(FromRect(dest), sw, sh))
        BitBlt(dc, at.Left, at.Top, sw, sh, scratchDC, 0, 0, SRCCOPY);
}

void TransparentBlit(HDC dc, const RECT& dest, TBitmap& bitmap, TColour key) {
    if (Inverted(dest) || bitmap.GetEmpty())
        return;
    const int w = std::min<int>(dest.right - dest.left, bitmap.GetWidth());
    const int h = std::min<int>(dest.bottom - dest.top, bitmap.GetHeight());
    if (w <= 0 || h <= 0)
        return;
    HDC src = SourceDC(bitmap);
    // Monochrome mask: key-coloured pixels (the source's background colour) become 1.
    const TMemoryDC maskDC(dc);
    const TBitmapHandle mask(CreateBitmap(w, h, 1, 1, nullptr));
    const TSelectObject selection(maskDC.Get(), mask.Get());
    const COLORREF oldBk = SetBkColor(src, key & 0x00FFFFFF);
    BitBlt(maskDC.Get(), 0, 0, w, h, src, 0, 0, SRCCOPY);
    SetBkColor(src, oldBk);
    // Mask 1 keeps the destination, mask 0 copies the source.
    MaskBlt(dc, dest.left, dest.top, w, h, src, 0, 0, mask.Get(), 0, 0, 0xCCAA0029);
}

HRGN RegionFromBitmap(TBitmap& bitmap, int x, int y, int tolRed, int tolGreen, int tolBlue, TColour key) {
    if (bitmap.GetEmpty())
        return nullptr;
    TBitmap copy;
    copy.Assign(bitmap);
    copy.SetPixelFormat(pf32bit);
    const int w = copy.GetWidth(), h = copy.GetHeight();

    constexpr std::size_t kBatch = 2000;
    TRegionHandle result;  // handed to the caller at the end
    std::vector<RECT> batch;
    batch.reserve(500);
    auto flush = [&] {
        if (batch.empty())
            return;
        std::vector<std::uint8_t> data(sizeof(RGNDATAHEADER) + batch.size() * sizeof(RECT));
        auto* header = reinterpret_cast<RGNDATAHEADER*>(data.data());
        header->dwSize = sizeof(RGNDATAHEADER);
        header->iType = RDH_RECTANGLES;
        header->nCount = static_cast<DWORD>(batch.size());
        header->rcBound = RECT{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
        for (const RECT& r : batch) {
            header->rcBound.left = std::min(header->rcBound.left, r.left);
            header->rcBound.top = std::min(header->rcBound.top, r.top);
            header->rcBound.right = std::max(header->rcBound.right, r.right);
            header->rcBound.bottom = std::max(header->rcBound.bottom, r.bottom);
        }
        std::copy(batch.begin(), batch.end(), reinterpret_cast<RECT*>(data.data() + sizeof(RGNDATAHEADER)));
        TRegionHandle part(
            ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()), reinterpret_cast<RGNDATA*>(data.data())));
        if (part) {
            if (!result)
                result = std::move(part);
            else
                CombineRgn(result.Get(), result.Get(), part.Get(), RGN_OR);
        }
        batch.clear();
    };
    for (int row = 0; row < h; ++row) {
        const auto* pixels = static_cast<const std::uint32_t*>(copy.ScanLine(row));
        for (const TLayoutRect& r : OpaqueRuns(pixels, w, 1, w, x, y + row, tolRed, tolGreen, tolBlue, key)) {
            batch.push_back(RECT{r.Left, r.Top, r.Right, r.Bottom});
            if (batch.size() == kBatch)
                flush();
        }
    }
    flush();
    return result.Detach();
}

void PaintParentInto(TControl& control, HDC dc) {
    TWinControl* parent = control.GetParent();
    if (!parent || !dc) return;
    TSavedDC saved(dc);
    POINT origin{};
    ::GetViewportOrgEx(dc, &origin);
    ::SetViewportOrgEx(dc, origin.x - control.GetLeft(), origin.y - control.GetTop(), nullptr);
    ::IntersectClipRect(dc, control.GetLeft(), control.GetTop(), control.GetLeft() + control.GetWidth(),
                        control.GetTop() + control.GetHeight());
    const auto wp = reinterpret_cast<std::uintptr_t>(dc);
    parent->Perform(WM_ERASEBKGND, wp, 0);
    parent->Perform(WM_PAINT, wp, 0);
}

}  // namespace vx
