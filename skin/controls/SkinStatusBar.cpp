#include "skin/controls/SkinStatusBar.h"

#include <commctrl.h>

#include <algorithm>
#include <cwchar>

#include "framework/Controls.h"
#include "framework/Graphics.h"
#include "framework/Handles.h"
#include "skin/controls/Offscreen.h"
#include "skin/controls/RangeRules.h"
#include "skin/data/ElementDraw.h"
#include "skin/data/SkinModel.h"

namespace vx {

VX_IMPLEMENT_CLASS(TSkinStatusBar, TSkinControl)

namespace {

RECT ToRect(const TLayoutRect& r) { return RECT{r.Left, r.Top, r.Right, r.Bottom}; }

// The text of part `index` (SB_SIMPLEID for the simple panel) and its drawing type.
std::wstring PartText(HWND window, int index, unsigned& type) {
    const LRESULT lengthAndType = ::SendMessageW(window, SB_GETTEXTLENGTHW, index, 0);
    const int length = LOWORD(lengthAndType);
    type = HIWORD(lengthAndType);
    if (length <= 0) return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    ::SendMessageW(window, SB_GETTEXTW, index, reinterpret_cast<LPARAM>(text.data()));
    text.resize(std::wcslen(text.c_str()));
    return text;
}

}  // namespace

bool TSkinStatusBar::Paints() const {
    const TSkinModel* skin = Skin();
    return skin && window_ && skin->StatusBarEdges && !skin->StatusBarEdges->Bitmap.GetEmpty();
}

bool TSkinStatusBar::BeforeMessage(TMessage& message) {
    if (AnswerOwnPaint(message, Paints())) return false;
    return TSkinControl::BeforeMessage(message);
}

void TSkinStatusBar::AfterMessage(TMessage& message) {
    switch (message.Msg) {
    case WM_SIZE:
        // The grip and the last panel follow the right edge: the whole bar is drawn anew.
        ::InvalidateRect(window_, nullptr, FALSE);
        break;
    default:
        TSkinControl::AfterMessage(message);
        break;
    }
}

std::vector<TSkinStatusBar::TPanel> TSkinStatusBar::ReadPanels(const RECT& client, int gripLeft) const {
    std::vector<TPanel> panels;
    unsigned type = 0;
    if (::SendMessageW(window_, SB_ISSIMPLE, 0, 0)) {
        TPanel p;
        p.Rect = RECT{client.left, client.top, gripLeft, client.bottom};
        // A framework status bar keeps its simple text as a property; a bare window's is
        // read from the window.
        p.Text = PartText(window_, SB_SIMPLEID, type);
        if (control_ && GetPropInfo(control_, L"simpletext")) p.Text = ReadTextProperty(control_, L"simpletext");
        p.Framed = !(type & SBT_NOBORDERS);
        panels.push_back(p);
        return panels;
    }
    const int count = static_cast<int>(::SendMessageW(window_, SB_GETPARTS, 0, 0));
    for (int i = 0; i < count; ++i) {
        TPanel p;
        if (!::SendMessageW(window_, SB_GETRECT, i, reinterpret_cast<LPARAM>(&p.Rect))) continue;
        p.Rect.right = std::min<LONG>(p.Rect.right, gripLeft);
        p.Text = PartText(window_, i, type);
        p.Framed = !(type & SBT_NOBORDERS);
        if (type & SBT_OWNERDRAW) p.Text.clear();  // its owner draws it
        panels.push_back(p);
    }
    return panels;
}

void TSkinStatusBar::DrawControl(HDC dc, const RECT& rect) {
    if (!Paints()) return;
    TSkinModel* skin = skinData_->Model;
    TDataSkinObject* edges = skin->StatusBarEdges.get();
    const LONG_PTR style = WindowLong(window_, GWL_STYLE);
    enabled_ = !(style & WS_DISABLED);
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;

    // The grip shows while the window it would size is not maximised.
    const bool grip = (style & SBARS_SIZEGRIP) && !::IsZoomed(::GetAncestor(window_, GA_ROOT));
    const bool gripFromEdges = edges->FrameCount >= sfGrip;
    TDataSkinObject* extra = skin->ExtraImages.get();
    int gripWidth = 0;
    if (grip) {
        if (gripFromEdges) gripWidth = edges->Bitmap.GetWidth() / edges->FrameCount;
        else if (extra && !extra->Bitmap.GetEmpty()) gripWidth = extra->Bitmap.GetWidth() / std::max(1, extra->FrameCount);
    }
    gripRect_ = gripWidth > 0 ? ToRect(StatusGripRect(w, h, gripWidth)) : RECT{};
    panels_ = ReadPanels(RECT{0, 0, w, h}, gripWidth > 0 ? gripRect_.left : w);

    PaintOffscreen(dc, rect, [&](HDC mem, const RECT& all) {
        FillFace(mem, all);
        DrawSkinElement(mem, all, sfBar, edges);
        if (gripWidth > 0) {
            if (gripFromEdges) DrawSkinElement(mem, gripRect_, sfGrip, edges);
            else DrawFrameCentered(mem, gripRect_, extra->Bitmap, true, std::max(1, extra->FrameCount), 1);
        }
        HFONT font = reinterpret_cast<HFONT>(::SendMessageW(window_, WM_GETFONT, 0, 0));
        TColour colour = skin->ButtonTextColour;
        if (auto* f = static_cast<TFont*>(ReadObjectProperty(control_, L"Font", TFont::StaticClass()))) {
            font = f->GetHandle();
            colour = f->GetColor();
        }
        if (!enabled_) colour = SystemColourRef(COLOR_BTNSHADOW);
        TSelectObject selectFont(mem, font);
        ::SetTextColor(mem, ResolveColour(colour));
        ::SetBkMode(mem, TRANSPARENT);
        for (const TPanel& p : panels_) {
            if (p.Rect.right <= p.Rect.left) continue;
            if (p.Framed) DrawSkinElement(mem, p.Rect, sfPanel, edges);
            if (p.Text.empty()) continue;
            const TPanelText text = StatusPanelText(p.Text);
            UINT align = DT_LEFT;
            if (text.Align == TTextAlign::Centre) align = DT_CENTER;
            else if (text.Align == TTextAlign::Right) align = DT_RIGHT;
            RECT area = ToRect(StatusPanelTextRect(TLayoutRect{p.Rect.left, p.Rect.top, p.Rect.right, p.Rect.bottom}));
            DrawTextWide(mem, text.Text, area,
                         RightToLeftFlags(align | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS));
        }
    });
}

}  // namespace vx
