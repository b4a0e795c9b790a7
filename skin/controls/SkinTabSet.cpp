#include "skin/controls/SkinTabSet.h"

#include <windowsx.h>

#include <string>

#include "framework/Classes.h"
#include "framework/Controls.h"
#include "framework/Graphics.h"
#include "framework/Handles.h"
#include "skin/controls/Offscreen.h"
#include "skin/data/SkinModel.h"
#include "skin/data/ElementDraw.h"

namespace vx {

VX_IMPLEMENT_CLASS(TSkinTab31, TSkinControl)

namespace {

RECT ToRect(const TLayoutRect& r) { return RECT{r.Left, r.Top, r.Right, r.Bottom}; }

TColour TabTextColour(const TDataSkinObject& e, int frame) {
    switch (frame) {
    case 3: return SystemColourRef(COLOR_BTNSHADOW);
    case 4: return e.MouseOverColour2;
    case 2:
    case 5: return e.PressedColour2;
    default: return e.NormalColour2;
    }
}

HFONT ControlFont(TControl* control, HWND window) {
    if (auto* f = static_cast<TFont*>(TSkinControl::ReadObjectProperty(control, L"Font", TFont::StaticClass())))
        return f->GetHandle();
    return reinterpret_cast<HFONT>(::SendMessageW(window, WM_GETFONT, 0, 0));
}

}  // namespace

bool TSkinTab31::Paints() const {
    const TSkinModel* skin = Skin();
    return skin && skin->Tabs && !skin->Tabs->Bitmap.GetEmpty() && window_ &&
           ReadObjectProperty(control_, L"Tabs", TStrings::StaticClass());
}

std::vector<std::wstring> TSkinTab31::TabTexts() const {
    std::vector<std::wstring> texts;
    if (auto* tabs = static_cast<TStrings*>(ReadObjectProperty(control_, L"Tabs", TStrings::StaticClass())))
        for (int i = 0; i < tabs->GetCount(); ++i) texts.push_back(tabs->Get(i));
    return texts;
}

void TSkinTab31::Layout(HDC dc) {
    RECT client{};
    ::GetClientRect(window_, &client);
    TSelectObject font(dc, ControlFont(control_, window_));
    std::vector<int> widths;
    for (const std::wstring& text : TabTexts()) {
        SIZE size{};
        ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
        widths.push_back(size.cx);
    }
    rects_ = TabSetRects(widths, client.bottom, ReadIntProperty(control_, L"TabIndex"));
}

int TSkinTab31::TabAt(int x, int y) {
    TWindowDC screen(window_);
    Layout(screen.Get());
    return TabSetHitTest(rects_, ReadIntProperty(control_, L"TabIndex"), x, y);
}

bool TSkinTab31::BeforeMessage(TMessage& message) {
    if (AnswerOwnPaint(message, Paints())) return false;
    if ((message.Msg == WM_LBUTTONDOWN || message.Msg == WM_LBUTTONDBLCLK) && Paints()) {
        // The tabs are where the skin draws them: the press chooses among those.
        if (::GetFocus() != window_) ::SetFocus(window_);
        const int tab = TabAt(GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam));
        if (tab >= 0 && tab != ReadIntProperty(control_, L"TabIndex")) {
            WriteProperty(control_, L"TabIndex", std::to_wstring(tab));
            Repaint();
        }
        message.Result = 0;
        return false;
    }
    return TSkinControl::BeforeMessage(message);
}

void TSkinTab31::AfterMessage(TMessage& message) {
    switch (message.Msg) {
    case WM_MOUSEMOVE: {
        const int tab = Paints() ? TabAt(GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)) : -1;
        if (tab != hotItem_) {
            hotItem_ = tab;
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
    default:
        TSkinControl::AfterMessage(message);
        break;
    }
}

void TSkinTab31::DrawControl(HDC dc, const RECT& rect) {
    if (!Paints()) return;
    TDataSkinBorder* tabs = skinData_->Model->Tabs.get();
    const std::vector<std::wstring> texts = TabTexts();
    const int selected = ReadIntProperty(control_, L"TabIndex");
    enabled_ = !(WindowLong(window_, GWL_STYLE) & WS_DISABLED);
    focused_ = ::GetFocus() == window_;
    Layout(dc);
    PaintOffscreen(dc, rect, [&](HDC mem, const RECT& all) {
        FillParentColour(mem, all);
        TSelectObject font(mem, ControlFont(control_, window_));
        const int oldMode = ::SetBkMode(mem, TRANSPARENT);
        const TMargins margins{tabs->LeftWidth, tabs->TopHeight, tabs->RightWidth, tabs->BottomHeight};
        // The selected tab last: it lies over its neighbours.
        std::vector<int> order;
        for (int i = 0; i < static_cast<int>(rects_.size()); ++i)
            if (i != selected) order.push_back(i);
        if (selected >= 0 && selected < static_cast<int>(rects_.size())) order.push_back(selected);
        for (int i : order) {
            const RECT r = ToRect(rects_[static_cast<size_t>(i)]);
            const int frame = TabItemFrame(i == selected, i == hotItem_, enabled_, focused_);
            // A tab hanging from the edge: the picture of a standing tab upside down.
            std::unique_ptr<TBitmap> picture = StretchElement(RECT{0, 0, r.right - r.left, r.bottom - r.top},
                                                              tabs->Bitmap, margins, false, tabs->Tile != 0,
                                                              tabs->FrameCount, frame);
            if (picture) {
                FlipVertical(*picture);
                TransparentBlit(mem, r, *picture, clSkinMagenta);
            }
            ::SetTextColor(mem, ResolveColour(TabTextColour(*tabs, frame)));
            RECT text = r;
            ::InflateRect(&text, -4, -2);
            DrawTextWide(mem, texts[static_cast<size_t>(i)], text,
                         RightToLeftFlags(DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS));
        }
        ::SetBkMode(mem, oldMode == 0 ? OPAQUE : oldMode);
    });
}

}  // namespace vx
