#include "skin/controls/SkinTabs.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <cwchar>

#include "framework/Controls.h"
#include "framework/Graphics.h"
#include "framework/Handles.h"
#include "skin/controls/Offscreen.h"
#include "skin/controls/RangeRules.h"
#include "skin/controls/SkinRanges.h"
#include "skin/data/ElementDraw.h"
#include "skin/data/SkinModel.h"

namespace vx {

VX_IMPLEMENT_CLASS(TSkinTab, TSkinControl)
VX_IMPLEMENT_CLASS(TSkinTabBtn, TSkinTab)
VX_IMPLEMENT_CLASS(TSkinTabSheet, TSkinControl)

namespace {

RECT ToRect(const TLayoutRect& r) { return RECT{r.Left, r.Top, r.Right, r.Bottom}; }
TLayoutRect ToLayout(const RECT& r) { return TLayoutRect{r.left, r.top, r.right, r.bottom}; }

template <class T>
bool Ready(const T& element) {
    return element && !element->Bitmap.GetEmpty();
}

// The selected tab reaches this far into the pane, over the pane's top line.
constexpr int kPaneOverlap = 1;

std::wstring ItemText(HWND window, int index, int& image) {
    wchar_t buffer[260] = {};
    TCITEMW item{};
    item.mask = TCIF_TEXT | TCIF_IMAGE;
    item.pszText = buffer;
    item.cchTextMax = 259;
    image = -1;
    if (!::SendMessageW(window, TCM_GETITEMW, index, reinterpret_cast<LPARAM>(&item))) return {};
    image = item.iImage;
    return item.pszText ? std::wstring(item.pszText) : std::wstring();
}

// A tab's text colour: the Tabs element's own colours for the normal, hot and
// selected looks, the button shadow when disabled.
TColour TabTextColour(const TDataSkinObject& e, int frame) {
    switch (frame) {
    case 3: return SystemColourRef(COLOR_BTNSHADOW);
    case 4: return e.MouseOverColour2;
    case 2:
    case 5: return e.PressedColour2;
    default: return e.NormalColour2;
    }
}

}  // namespace

bool TSkinTab::Paints() const {
    const TSkinModel* skin = Skin();
    if (!skin || !window_ || !Ready(skin->Tabs)) return false;
    return !(WindowLong(window_, GWL_STYLE) & (TCS_BUTTONS | TCS_FLATBUTTONS));
}

bool TSkinTabBtn::Paints() const {
    const TSkinModel* skin = Skin();
    return skin && window_ && !skin->Buttons.Bitmap.GetEmpty();
}

int TSkinTab::TabFrame(bool selected, bool hot, bool enabled, bool focused) const {
    return TabItemFrame(selected, hot, enabled, focused);
}

int TSkinTabBtn::TabFrame(bool selected, bool hot, bool enabled, bool) const {
    return TabButtonFrame(selected, hot, enabled);
}

bool TSkinTab::BeforeMessage(TMessage& message) {
    switch (message.Msg) {
    case WM_PAINT: {
        if (!Paints()) break;
        RECT r{};
        ::GetClientRect(window_, &r);
        // Graphic controls placed on the tab control are drawn over its picture.
        auto paint = [&](HDC dc) {
            DrawControl(dc, r);
            if (auto* windowed = dynamic_cast<TWinControl*>(control_)) windowed->PaintControls(dc);
        };
        if (message.WParam) {
            paint(reinterpret_cast<HDC>(message.WParam));
        } else {
            TPaintDC dc(window_);
            paint(dc.Get());
        }
        message.Result = 0;
        return false;
    }
    case WM_ERASEBKGND:
        if (!Paints()) break;
        message.Result = 1;
        return false;
    default:
        break;
    }
    return TSkinControl::BeforeMessage(message);
}

void TSkinTab::AfterMessage(TMessage& message) {
    switch (message.Msg) {
    case WM_MOUSEMOVE: {
        TCHITTESTINFO hit{};
        hit.pt = POINT{GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)};
        const int item = static_cast<int>(::SendMessageW(window_, TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
        if (item != hotItem_) {
            hotItem_ = item;
            Repaint();
        }
        TrackMouseLeave();
        break;
    }
    case WM_MOUSELEAVE:
        if (hotItem_ != -1) {
            hotItem_ = -1;
            Repaint();
        }
        break;
    case WM_PARENTNOTIFY:
        // A page made on a page control after the attach: the form object offers it to
        // the dispatch, which gives it the pane (Wine tells a window only of its own
        // children being made, so the form would not hear of it).
        if (LOWORD(message.WParam) == WM_CREATE && HasPane())
            if (const HWND root = ::GetAncestor(window_, GA_ROOT); root && root != window_)
                ::PostMessageW(root, WM_SKINATTACHCHILD, static_cast<WPARAM>(message.LParam), 0);
        TSkinControl::AfterMessage(message);
        break;
    default:
        TSkinControl::AfterMessage(message);
        break;
    }
}

void TSkinTab::AttachScroller() {
    if (!skinData_ || !skinrules::Has(skinData_->SkinControls, skinrules::xcSpin)) return;
    const HWND scroller = ::FindWindowExW(window_, nullptr, UPDOWN_CLASSW, nullptr);
    if (!scroller || ::SendMessageW(scroller, skinmsg::WM_SKINQUERY, 0, 0) == 1) return;
    // The form object frees the objects it lists; without one, this object keeps it.
    auto* skin = new TSkinUpDown(form_ ? nullptr : this);
    skin->InitWindow(scroller, skinData_, form_, canvas_);
}

void TSkinTab::DrawPane(HDC dc, const RECT& pane) {
    TSkinModel* skin = skinData_->Model;
    TDataSkinObject* paneElement = skin->TabPane.get();
    if (Ready(skin->TabPane)) DrawSkinElement(dc, pane, 1, paneElement);
    else FillFace(dc, pane);
    TDataSkinBorder* tabs = skin->Tabs.get();
    if (!tabs->SecondBitmap.GetEmpty()) {
        // The outline keeps the pane's margins (or the tabs' without a pane picture).
        const TDataSkinObject& m = paneElement ? *paneElement : *tabs;
        const TMargins margins{m.LeftWidth, m.TopHeight, m.RightWidth, m.BottomHeight};
        DrawElement(dc, pane, tabs->SecondBitmap, false, false, true, 1, 1, margins);
    }
}

void TSkinTab::DrawTab(HDC dc, const RECT& r, int frame, TTabSide side) {
    TDataSkinBorder* tabs = skinData_->Model->Tabs.get();
    if (side == TTabSide::Top) {
        DrawSkinElement(dc, r, frame, tabs);
        return;
    }
    // The picture is of a tab standing on the pane below it: along the bottom it is
    // drawn upside down, along the sides turned so that its open edge faces the pane.
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0) return;
    const bool across = side == TTabSide::Left || side == TTabSide::Right;
    const TMargins margins{tabs->LeftWidth, tabs->TopHeight, tabs->RightWidth, tabs->BottomHeight};
    std::unique_ptr<TBitmap> picture = StretchElement(RECT{0, 0, across ? h : w, across ? w : h}, tabs->Bitmap,
                                                      margins, false, tabs->Tile != 0, tabs->FrameCount, frame);
    if (!picture) return;
    if (side == TTabSide::Bottom) FlipVertical(*picture);
    else if (side == TTabSide::Left) RotateLeft(*picture);
    else RotateRight(*picture);
    if (tabs->Trans == 1) {
        TransparentBlit(dc, r, *picture, clSkinMagenta);
    } else {
        TWindowDC screen(nullptr);
        TMemoryDC from(screen.Get());
        TSelectObject selectFrom(from.Get(), picture->GetHandle());
        ::BitBlt(dc, r.left, r.top, w, h, from.Get(), 0, 0, SRCCOPY);
    }
}

void TSkinTabBtn::DrawTab(HDC dc, const RECT& r, int frame, TTabSide) {
    DrawSkinElement(dc, r, frame, &skinData_->Model->Buttons);
}

void TSkinTab::DrawControl(HDC dc, const RECT& rect) {
    if (!Paints()) return;
    AttachScroller();
    TSkinModel* skin = skinData_->Model;
    const LONG_PTR style = WindowLong(window_, GWL_STYLE);
    const TTabSide side = TabSideOfStyle(static_cast<std::uint32_t>(style));
    enabled_ = !(style & WS_DISABLED);
    focused_ = ::GetFocus() == window_;
    const int count = static_cast<int>(::SendMessageW(window_, TCM_GETITEMCOUNT, 0, 0));
    const int selected = static_cast<int>(::SendMessageW(window_, TCM_GETCURSEL, 0, 0));

    std::vector<RECT> items;
    std::vector<int> images;
    tabs_.clear();
    // The edge of the tab rows nearest the pane.
    int rowEdge = side == TTabSide::Top ? rect.top : side == TTabSide::Bottom ? rect.bottom
                : side == TTabSide::Left ? rect.left : rect.right;
    for (int i = 0; i < count; ++i) {
        RECT item{};
        ::SendMessageW(window_, TCM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&item));
        switch (side) {
        case TTabSide::Top: rowEdge = std::max<int>(rowEdge, item.bottom); break;
        case TTabSide::Bottom: rowEdge = std::min<int>(rowEdge, item.top); break;
        case TTabSide::Left: rowEdge = std::max<int>(rowEdge, item.right); break;
        case TTabSide::Right: rowEdge = std::min<int>(rowEdge, item.left); break;
        }
        TTabLook look;
        const bool isSelected = i == selected;
        // Button tabs keep their place; a tab over a pane stands out when selected.
        look.Rect = HasPane() ? ToRect(TabItemRect(ToLayout(item), isSelected, side, kPaneOverlap)) : item;
        look.Frame = TabFrame(isSelected, i == hotItem_, enabled_, focused_);
        int image = -1;
        look.Text = ItemText(window_, i, image);
        images.push_back(image);
        tabs_.push_back(look);
    }
    paneRect_ = ToRect(TabPaneRect(ToLayout(rect), side, count > 0, rowEdge));
    const auto imageList = reinterpret_cast<HIMAGELIST>(::SendMessageW(window_, TCM_GETIMAGELIST, 0, 0));

    PaintOffscreen(dc, rect, [&](HDC mem, const RECT& all) {
        FillParentColour(mem, all);
        if (HasPane()) DrawPane(mem, paneRect_);
        HFONT font = reinterpret_cast<HFONT>(::SendMessageW(window_, WM_GETFONT, 0, 0));
        if (auto* f = static_cast<TFont*>(ReadObjectProperty(control_, L"Font", TFont::StaticClass())))
            font = f->GetHandle();
        TSelectObject selectFont(mem, font);
        const int oldMode = ::SetBkMode(mem, TRANSPARENT);
        // The selected tab last: it lies over its neighbours.
        std::vector<int> order;
        for (int i = 0; i < count; ++i)
            if (i != selected) order.push_back(i);
        if (selected >= 0 && selected < count) order.push_back(selected);
        for (int i : order) {
            const TTabLook& look = tabs_[static_cast<size_t>(i)];
            DrawTab(mem, look.Rect, look.Frame, side);
            RECT text = look.Rect;
            const TDataSkinObject& colours = HasPane() ? static_cast<const TDataSkinObject&>(*skin->Tabs)
                                                       : static_cast<const TDataSkinObject&>(skin->Buttons);
            ::SetTextColor(mem, ResolveColour(TabTextColour(colours, look.Frame)));
            if (side == TTabSide::Left || side == TTabSide::Right) {
                ::InflateRect(&text, -2, -4);
                DrawSideText(mem, look.Text, text, side, i == selected && focused_);
                continue;
            }
            ::InflateRect(&text, -4, -2);
            int imageWidth = 0, imageHeight = 0;
            if (imageList && images[static_cast<size_t>(i)] >= 0 &&
                ::ImageList_GetIconSize(imageList, &imageWidth, &imageHeight)) {
                const int y = text.top + (text.bottom - text.top - imageHeight) / 2;
                ::ImageList_Draw(imageList, images[static_cast<size_t>(i)], mem, text.left + 2, y, ILD_TRANSPARENT);
                text.left += imageWidth + 4;
            }
            const UINT flags = RightToLeftFlags(DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
            DrawTextWide(mem, look.Text, text, flags);
            if (i == selected && focused_ && !look.Text.empty() && !HasOption(skinrules::xoNoFocusRect)) {
                // Around the text, centred both ways as it is drawn.
                RECT measured = text;
                DrawTextWide(mem, look.Text, measured, DT_SINGLELINE | DT_CALCRECT | DT_NOCLIP);
                const int tw = std::min<int>(measured.right - measured.left, text.right - text.left);
                const int th = measured.bottom - measured.top;
                RECT focus{text.left + (text.right - text.left - tw) / 2, text.top + (text.bottom - text.top - th) / 2, 0, 0};
                focus.right = focus.left + tw;
                focus.bottom = focus.top + th;
                ::InflateRect(&focus, 2, 1);
                ::DrawFocusRect(mem, &focus);
            }
        }
        ::SetBkMode(mem, oldMode == 0 ? OPAQUE : oldMode);
    });
}

void TSkinTab::DrawSideText(HDC dc, const std::wstring& text, const RECT& r, TTabSide side, bool focusRect) {
    if (text.empty()) return;
    // The DC's font turned a quarter: up the tab on the left, down it on the right.
    LOGFONTW lf{};
    if (!::GetObjectW(::GetCurrentObject(dc, OBJ_FONT), sizeof lf, &lf)) return;
    lf.lfEscapement = lf.lfOrientation = side == TTabSide::Left ? 900 : 2700;
    TFontHandle turned(::CreateFontIndirectW(&lf));
    SIZE size{};
    ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    // Along the tab at most its length; the text is cut there.
    const int along = std::min<int>(size.cx, r.bottom - r.top);
    const int cx = (r.left + r.right) / 2, cy = (r.top + r.bottom) / 2;
    RECT box{cx - size.cy / 2, cy - along / 2, cx - size.cy / 2 + size.cy, cy - along / 2 + along};
    TSelectObject select(dc, turned.Get());
    const UINT oldAlign = ::SetTextAlign(dc, TA_LEFT | TA_TOP | TA_NOUPDATECP);
    // The reference point is the text's own top-left corner, turned with it.
    const POINT at = side == TTabSide::Left ? POINT{box.left, box.bottom} : POINT{box.right, box.top};
    ::ExtTextOutW(dc, at.x, at.y, ETO_CLIPPED, &box, text.c_str(), static_cast<UINT>(text.size()), nullptr);
    ::SetTextAlign(dc, oldAlign);
    if (focusRect && !HasOption(skinrules::xoNoFocusRect)) {
        ::InflateRect(&box, 1, 2);
        ::DrawFocusRect(dc, &box);
    }
}

bool TSkinTabSheet::BeforeMessage(TMessage& message) {
    if (message.Msg == WM_ERASEBKGND && control_ && control_->GetParent() && message.WParam) {
        // The page shows the pane of the tab control it lies on.
        PaintParentInto(control_, reinterpret_cast<HDC>(message.WParam));
        message.Result = 1;
        return false;
    }
    return TSkinControl::BeforeMessage(message);
}

}  // namespace vx
