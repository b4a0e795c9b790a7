#include "skin/controls/SkinHeader.h"

#include <windowsx.h>
#include <commctrl.h>

#include <algorithm>

#include "framework/Graphics.h"
#include "framework/Handles.h"
#include "skin/data/ElementDraw.h"
#include "skin/data/SkinModel.h"

namespace vx {

VX_IMPLEMENT_CLASS(TSkinHeader, TSkinControl)

namespace {

TMargins MarginsOf(const TDataSkinObject& e) { return TMargins{e.LeftWidth, e.TopHeight, e.RightWidth, e.BottomHeight}; }

}  // namespace

void TSkinHeader::InitControl(IControlSkinHost* form, const TControlSkinData* data, bool adoptColour,
                              TCanvas* canvas) {
    TSkinControl::InitControl(form, data, adoptColour, canvas);
    hotItem_ = -1;
}

void TSkinHeader::InitWindow(HWND window, const TControlSkinData* data, IControlSkinHost* form, TCanvas* canvas) {
    TSkinControl::InitWindow(window, data, form, canvas);
    hotItem_ = -1;
}

bool TSkinHeader::HasHeaderbar() const {
    const TSkinModel* skin = Skin();
    return skin && skin->Headerbar && !skin->Headerbar->Bitmap.GetEmpty();
}

bool TSkinHeader::BeforeMessage(TMessage& message) {
    switch (message.Msg) {
    case WM_PAINT:
        // Without a Headerbar picture the header keeps its own look.
        if (!HasHeaderbar()) return true;
        PaintClient(message);
        return false;
    case WM_ERASEBKGND:
        if (!HasHeaderbar()) return true;
        message.Result = 1;
        return false;
    default:
        return TSkinControl::BeforeMessage(message);
    }
}

void TSkinHeader::AfterMessage(TMessage& message) {
    switch (message.Msg) {
    case WM_MOUSEMOVE: {
        const int hot = HeaderHotItem(itemRects_, GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam), hotItem_);
        if (hot != hotItem_) {
            hotItem_ = hot;
            Repaint();
        }
        TrackMouseLeave();
        break;
    }
    case WM_MOUSELEAVE:
        hotItem_ = -1;
        Repaint();
        break;
    default:
        TSkinControl::AfterMessage(message);
        break;
    }
}

void TSkinHeader::DrawControl(HDC dc, const RECT& rect) {
    if (!HasHeaderbar()) return;
    TDataSkinObject& bar = *Skin()->Headerbar;
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    if (w <= 0 || h <= 0) return;
    TWindowDC screen(nullptr);
    TMemoryDC mem(screen.Get());
    TBitmapHandle bitmap(::CreateCompatibleBitmap(screen.Get(), w, h));
    if (!mem || !bitmap) return;
    TSelectObject selectBitmap(mem.Get(), bitmap.Get());
    HFONT font = reinterpret_cast<HFONT>(::SendMessageW(window_, WM_GETFONT, 0, 0));
    if (!font) font = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    TSelectObject selectFont(mem.Get(), font);
    ::SetBkMode(mem.Get(), TRANSPARENT);
    const HIMAGELIST images = reinterpret_cast<HIMAGELIST>(::SendMessageW(window_, HDM_GETIMAGELIST, 0, 0));
    const int count = std::max(0, static_cast<int>(::SendMessageW(window_, HDM_GETITEMCOUNT, 0, 0)));
    itemRects_.assign(static_cast<size_t>(count), TLayoutRect{});
    int right = 0;
    for (int i = 0; i < count; ++i) {
        RECT item{};
        if (!::SendMessageW(window_, HDM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item)))
            continue;
        DrawItem(mem.Get(), i, item, images);
        itemRects_[static_cast<size_t>(i)] = HeaderHotRect(TLayoutRect{item.left, item.top, item.right, item.bottom});
        right = std::max(right, static_cast<int>(item.right));
    }
    if (right < w) {
        // The width beyond the last item in the normal frame.
        const RECT rest{right, 0, w, h};
        if (auto fill = StretchElement(rest, bar.Bitmap, MarginsOf(bar), false, bar.Tile != 0, bar.FrameCount, 1)) {
            TMemoryDC from(screen.Get());
            TSelectObject selectFill(from.Get(), fill->GetHandle());
            ::BitBlt(mem.Get(), right, 0, w - right, h, from.Get(), 0, 0, SRCCOPY);
        }
    }
    ::BitBlt(dc, rect.left, rect.top, w, h, mem.Get(), 0, 0, SRCCOPY);
}

void TSkinHeader::DrawItem(HDC dc, int index, const RECT& item, HIMAGELIST images) {
    TDataSkinObject& bar = *Skin()->Headerbar;
    const int w = item.right - item.left, h = item.bottom - item.top;
    if (w <= 0 || h <= 0) return;
    wchar_t text[201] = {};
    HDITEMW info{};
    info.mask = HDI_TEXT | HDI_FORMAT | HDI_IMAGE;
    info.pszText = text;
    info.cchTextMax = 200;
    ::SendMessageW(window_, HDM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&info));
    auto face = StretchElement(RECT{0, 0, w, h}, bar.Bitmap, MarginsOf(bar), false, bar.Tile != 0, bar.FrameCount,
                               index == hotItem_ ? 2 : 1);
    if (!face) return;
    TWindowDC screen(nullptr);
    TMemoryDC image(screen.Get());
    TSelectObject selectFace(image.Get(), face->GetHandle());
    const std::wstring caption(text);
    if (!caption.empty()) {
        TSelectObject selectFont(image.Get(), ::GetCurrentObject(dc, OBJ_FONT));
        ::SetBkMode(image.Get(), TRANSPARENT);
        ::SetTextColor(image.Get(), ResolveColour(Skin()->ButtonTextColour));
        const int imageIndex = HeaderImageIndex(static_cast<unsigned>(info.fmt), info.iImage);
        int iw = 0, ih = 0;
        if (images && imageIndex >= 0) ImageList_GetIconSize(images, &iw, &ih);
        RECT measured{0, 0, w, h};
        DrawTextWide(image.Get(), caption, measured, DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT);
        const THeaderItemLayout layout = HeaderItemLayout(TLayoutRect{0, 0, w, h}, iw, ih,
                                                          measured.right - measured.left,
                                                          HeaderItemAlign(static_cast<unsigned>(info.fmt)));
        if (layout.HasImage)
            ImageList_Draw(images, imageIndex, image.Get(), layout.Image.Left, layout.Image.Top, ILD_TRANSPARENT);
        RECT textRect{layout.Text.Left, layout.Text.Top, layout.Text.Right, layout.Text.Bottom};
        DrawTextWide(image.Get(), caption, textRect, DT_SINGLELINE | DT_NOPREFIX | DT_VCENTER | DT_END_ELLIPSIS);
    }
    ::BitBlt(dc, item.left, item.top, w, h, image.Get(), 0, 0, SRCCOPY);
}

}  // namespace vx
