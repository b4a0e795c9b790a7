#include "skin/controls/SkinScrollbar.h"

#include <windowsx.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdint>
#include <string>

#include "framework/Controls.h"
#include "framework/Graphics.h"
#include "framework/Handles.h"
#include "skin/controls/SkinHeader.h"
#include "skin/data/ElementDraw.h"
#include "skin/data/SkinData.h"
#include "skin/data/SkinModel.h"
#include "skin/window/SkinMessages.h"

namespace vx {

VX_IMPLEMENT_CLASS(TWScrollbar, TCustomPanel)
VX_IMPLEMENT_CLASS(TSkinScrollbar, TSkinControl)
VX_IMPLEMENT_CLASS(TSkinListView, TSkinScrollbar)
VX_IMPLEMENT_CLASS(TSkinOneBar, TSkinControl)
VX_IMPLEMENT_CLASS(TSkinScrollbarH, TSkinOneBar)
VX_IMPLEMENT_CLASS(TSkinScControl, TSkinOneBar)
VX_IMPLEMENT_CLASS(TSkinSizer, TSkinControl)
VX_IMPLEMENT_CLASS(TComboxScrollBar, TSkinControl)

namespace {

RECT ToRect(const TLayoutRect& r) { return RECT{r.Left, r.Top, r.Right, r.Bottom}; }

TMargins MarginsOf(const TDataSkinObject& e) { return TMargins{e.LeftWidth, e.TopHeight, e.RightWidth, e.BottomHeight}; }

bool HasPicture(const TDataSkinObject* e) { return e && !e->Bitmap.GetEmpty(); }

// Frees a companion the object owns; the pointer is cleared first, so the notification
// of its removal finds nothing left to forget.
void FreeBar(TWScrollbar*& bar) {
    TWScrollbar* b = bar;
    bar = nullptr;
    delete b;
}

// The thumb of a scroll bar control from its scroll information.
TThumb ControlThumb(int length, int arrowSize, const SCROLLINFO& si) {
    return ScrollThumb(length, arrowSize, si.nMin, si.nMax, static_cast<int>(si.nPage), si.nPos);
}

}  // namespace

bool PaintSkinScrollBar(HDC dc, int x, int y, const TSkinModel& skin, const TScrollBarInputs& in,
                        TDataSkinObject* track, TDataSkinObject* thumb) {
    TDataSkinObject* strip = skin.Scrollbar.get();
    if (!HasPicture(strip) || in.Width <= 0 || in.Height <= 0) return false;
    const TScrollBarDrawing d = ScrollBarDrawing(in);
    TWindowDC screen(nullptr);
    TMemoryDC mem(screen.Get());
    TBitmapHandle bitmap(::CreateCompatibleBitmap(screen.Get(), in.Width, in.Height));
    if (!mem || !bitmap) return false;
    TSelectObject select(mem.Get(), bitmap.Get());
    ::SetStretchBltMode(mem.Get(), COLORONCOLOR);
    {
        TBrushHandle face(::CreateSolidBrush(ResolveColour(skin.ButtonFaceColour)));
        const RECT all{0, 0, in.Width, in.Height};
        ::FillRect(mem.Get(), &all, face.Get());
    }
    if (HasPicture(track))
        DrawElement(mem.Get(), ToRect(d.Track), track->Bitmap, false, track->Tile != 0, track->Trans != 0,
                    track->FrameCount, d.TrackFrame, MarginsOf(*track));
    const int frames = std::max(1, strip->FrameCount);
    DrawFrame(mem.Get(), ToRect(d.FirstArrow), strip->Bitmap, true, frames, d.FirstArrowFrame);
    DrawFrame(mem.Get(), ToRect(d.SecondArrow), strip->Bitmap, true, frames, d.SecondArrowFrame);
    if (d.DrawThumb) {
        if (HasPicture(thumb))
            DrawElement(mem.Get(), ToRect(d.Thumb), thumb->Bitmap, false, false, thumb->Trans != 0,
                        thumb->FrameCount, d.ThumbFrame, MarginsOf(*thumb));
        if (d.DrawGrip) DrawFrame(mem.Get(), ToRect(d.Grip), strip->Bitmap, true, frames, d.GripFrame);
    }
    ::BitBlt(dc, x, y, in.Width, in.Height, mem.Get(), 0, 0, SRCCOPY);
    return true;
}

// ---- TWScrollbar ---------------------------------------------------------------------

TWScrollbar::TWScrollbar(TComponent* owner, TWinControl* control, TScrollbarKind kind, const TControlSkinData* data)
    : TCustomPanel(owner), control_(control), data_(data), kind_(kind) {
    opaque_ = true;
    SetBevelOuter(bvNone);
    SetTabStop(false);
    arrowSize_ = ::GetSystemMetrics(SM_CXHSCROLL);
    if (kind == wsControl)
        horizontal_ = LowerAscii(TSkinControl::ReadEnumProperty(control, L"Kind")) == L"sbhorizontal";
    else
        horizontal_ = kind == wsHorizontal;
    if (data && data->Model) SetColor(data->Model->ButtonFaceColour);
    SetVisible(false);
    SetBounds(0, 0, 0, 0);
    if (control && control->GetParent()) SetParent(control->GetParent());
}

TWScrollbar::~TWScrollbar() { *alive_ = false; }

bool IsScrollbarCompanion(const TControl* control) {
    return control && control->InheritsFrom(TWScrollbar::StaticClass());
}

void TWScrollbar::CreateParams(TCreateParams& p) {
    TCustomPanel::CreateParams(p);
    p.Style &= ~static_cast<DWORD>(WS_TABSTOP);
    p.ExStyle = WS_EX_TOOLWINDOW;
}

HWND TWScrollbar::ControlWindow() const {
    if (!control_ || control_->IsDestroying() || !control_->HandleAllocated()) return nullptr;
    return control_->GetHandle();
}

bool TWScrollbar::BarInfo(TScrollBarFacts& f) const {
    const HWND w = ControlWindow();
    if (!w) return false;
    if (kind_ != wsControl) {
        SCROLLBARINFO sbi{};
        sbi.cbSize = sizeof(sbi);
        if (!QueryScrollBarInfo(w, horizontal_ ? OBJID_HSCROLL : OBJID_VSCROLL, sbi)) return false;
        f.Bar = sbi.rcScrollBar;
        f.ThumbStart = sbi.xyThumbTop;
        f.ThumbEnd = sbi.xyThumbBottom;
        f.State = sbi.rgstate[0];
        // The bar of a disabled window is shown disabled, whether or not the platform
        // says so in the bar's state.
        if (!::IsWindowEnabled(w)) f.State |= kBarUnavailable;
        return true;
    }
    if (!::GetWindowRect(w, &f.Bar)) return false;
    SCROLLINFO si{};
    si.cbSize = sizeof(si);
    si.fMask = SIF_ALL;
    if (!::GetScrollInfo(w, SB_CTL, &si)) si = SCROLLINFO{};
    const int length = horizontal_ ? f.Bar.right - f.Bar.left : f.Bar.bottom - f.Bar.top;
    const TThumb t = ControlThumb(length, arrowSize_, si);
    f.ThumbStart = t.Start;
    f.ThumbEnd = t.End;
    f.State = (::IsWindowEnabled(w) ? 0 : kBarUnavailable) | (::IsWindowVisible(w) ? 0 : kBarInvisible);
    return true;
}

TScrollPart TWScrollbar::PartAt(int x, int y) const {
    TScrollBarFacts f;
    if (!BarInfo(f)) return spNone;
    const int length = horizontal_ ? f.Bar.right - f.Bar.left : f.Bar.bottom - f.Bar.top;
    return ScrollPartAt(AlongBar(x, y), arrowSize_, length, f.ThumbStart, f.ThumbEnd);
}

void TWScrollbar::HideBar() {
    barVisible_ = false;
    SetVisible(false);
}

void TWScrollbar::Reposition() {
    TScrollBarFacts f;
    if (!BarInfo(f)) {
        HideBar();
        return;
    }
    const HWND w = ControlWindow();
    TWinControl* parent = GetParent();
    if (!::IsWindowVisible(w) || (f.State & kBarInvisible) || !parent || !parent->HandleAllocated()) {
        HideBar();
        return;
    }
    RECT inControl = f.Bar;
    ::MapWindowPoints(nullptr, w, reinterpret_cast<POINT*>(&inControl), 2);
    barClient_ = inControl;
    RECT inParent = f.Bar;
    ::MapWindowPoints(nullptr, parent->GetHandle(), reinterpret_cast<POINT*>(&inParent), 2);
    const int width = inParent.right - inParent.left, height = inParent.bottom - inParent.top;
    length_ = horizontal_ ? width : height;
    barVisible_ = true;
    SetBounds(inParent.left, inParent.top, width, height);
    SetVisible(true);
    const HWND self = GetHandle();
    // Just above the control: after the window that precedes it.
    const HWND before = ::GetWindow(w, GW_HWNDPREV);
    if (before != self)
        ::SetWindowPos(self, before ? before : HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    RepaintBar();
}

void TWScrollbar::RepaintBar() {
    if (!HandleAllocated() || !GetVisible()) return;
    Invalidate();
    Update();
}

void TWScrollbar::SetActivePart(int part) {
    activePart_ = static_cast<TScrollPart>(part);
    RepaintBar();
}

void TWScrollbar::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_ERASEBKGND:
        m.Result = 1;
        return;
    case WM_MOUSEMOVE: {
        TCustomPanel::WndProc(m);
        const TScrollPart part = PartAt(GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam));
        if (part != activePart_) {
            activePart_ = part;
            RepaintBar();
        }
        if (HandleAllocated()) TrackMouseLeave(GetHandle());
        return;
    }
    case WM_MOUSELEAVE:
        TCustomPanel::WndProc(m);
        if (!tracking_) {
            activePart_ = spNone;
            RepaintBar();
        }
        return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        PressBar(m);
        return;
    case WM_LBUTTONUP:
        ReleaseBar(m);
        return;
    default:
        TCustomPanel::WndProc(m);
        return;
    }
}

void TWScrollbar::PressBar(TMessage& m) {
    const std::shared_ptr<bool> alive = alive_;
    TCustomPanel::WndProc(m);
    if (!*alive) return;
    const int x = GET_X_LPARAM(m.LParam), y = GET_Y_LPARAM(m.LParam);
    ::GetCursorPos(&pressCursor_);
    const HWND target = ControlWindow();
    if (kind_ == wsControl) {
        // The thumb at the press from the control's own range, page and position.
        SCROLLINFO si{};
        si.cbSize = sizeof(si);
        si.fMask = SIF_ALL;
        if (!target || !::GetScrollInfo(target, SB_CTL, &si)) si = SCROLLINFO{};
        if (GetPropInfo(control_, L"Position")) {
            si.nMin = TSkinControl::ReadIntProperty(control_, L"Min");
            si.nMax = TSkinControl::ReadIntProperty(control_, L"Max");
            si.nPos = TSkinControl::ReadIntProperty(control_, L"Position");
            if (GetPropInfo(control_, L"PageSize"))
                si.nPage = static_cast<UINT>(std::max(0, TSkinControl::ReadIntProperty(control_, L"PageSize")));
        }
        RECT r{};
        if (target) ::GetWindowRect(target, &r);
        pressThumbStart_ = ControlThumb(horizontal_ ? r.right - r.left : r.bottom - r.top, arrowSize_, si).Start;
    } else {
        TScrollBarFacts f;
        if (BarInfo(f)) pressThumbStart_ = f.ThumbStart;
    }
    activePart_ = PartAt(x, y);
    POINT at{x, y};
    if (kind_ != wsControl) {
        at.x += barClient_.left;
        at.y += barClient_.top;
    }
    tracking_ = true;
    RepaintBar();
    ::ReleaseCapture();
    if (target) {
        if (kind_ != wsControl) {
            // The platform's own scroll loop; it expects the point on the screen.
            POINT screen = at;
            ::ClientToScreen(target, &screen);
            ::SendMessageW(target, WM_NCLBUTTONDOWN, horizontal_ ? HTHSCROLL : HTVSCROLL,
                           MAKELPARAM(screen.x, screen.y));
        } else {
            ::SendMessageW(target, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
        }
    }
    if (!*alive) return;
    tracking_ = false;
    ::ReleaseCapture();
    if (kind_ == wsControl) RepaintBar();
}

void TWScrollbar::ReleaseBar(TMessage& m) {
    const std::shared_ptr<bool> alive = alive_;
    TCustomPanel::WndProc(m);
    if (!*alive) return;
    POINT at{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
    if (kind_ != wsControl) {
        at.x += barClient_.left;
        at.y += barClient_.top;
    }
    tracking_ = false;
    ::ReleaseCapture();
    const HWND target = ControlWindow();
    if (!target) return;
    if (kind_ != wsControl) {
        POINT screen = at;
        ::ClientToScreen(target, &screen);
        ::PostMessageW(target, WM_NCLBUTTONUP, horizontal_ ? HTHSCROLL : HTVSCROLL, MAKELPARAM(screen.x, screen.y));
    } else {
        ::PostMessageW(target, WM_LBUTTONUP, MK_LBUTTON, MAKELPARAM(at.x, at.y));
        RepaintBar();
    }
}

void TWScrollbar::Paint() {
    TSkinModel* skin = data_ ? data_->Model : nullptr;
    if (!skin) return;
    TScrollBarFacts f;
    if (!BarInfo(f) || (f.State & kBarInvisible)) return;
    const int width = f.Bar.right - f.Bar.left, height = f.Bar.bottom - f.Bar.top;
    if (width > GetClientWidth() || height > GetClientHeight()) return;
    TScrollBarInputs in;
    in.Horizontal = horizontal_;
    in.Width = width;
    in.Height = height;
    in.ArrowSize = arrowSize_;
    in.StripHeight = skin->Scrollbar ? skin->Scrollbar->Bitmap.GetHeight() : 0;
    in.Enabled = !(f.State & kBarUnavailable);
    in.ActivePart = activePart_;
    in.Tracking = tracking_;
    in.ThumbStart = f.ThumbStart;
    in.ThumbEnd = f.ThumbEnd;
    if (tracking_ && kind_ != wsControl && activePart_ == spThumb) {
        // The thumb follows the pointer while the platform's loop runs.
        POINT now{};
        ::GetCursorPos(&now);
        const int moved = horizontal_ ? now.x - pressCursor_.x : now.y - pressCursor_.y;
        const int length = in.ThumbEnd - in.ThumbStart;
        in.ThumbStart = TrackedThumbStart(pressThumbStart_, moved, arrowSize_, horizontal_ ? width : height, length);
        in.ThumbEnd = in.ThumbStart + length;
    }
    TDataSkinObject* track = horizontal_ ? skin->HorzScroll.get() : skin->VertScroll.get();
    TDataSkinObject* thumb = horizontal_ ? skin->HorzScrollThumb.get() : skin->VertScrollThumb.get();
    PaintSkinScrollBar(GetCanvas()->GetHandle(), 0, 0, *skin, in, track, thumb);
}

// ---- TSkinScrollbar ------------------------------------------------------------------

TSkinScrollbar::~TSkinScrollbar() { FreeBars(); }

void TSkinScrollbar::InitControl(IControlSkinHost* form, const TControlSkinData* data, bool, TCanvas* canvas) {
    InitScrollbar(dynamic_cast<TControl*>(Owner()), data, form, canvas);
}

void TSkinScrollbar::InitScrollbar(TControl* control, const TControlSkinData* data, IControlSkinHost* form,
                                   TCanvas* canvas) {
    if (initialised_) return;
    auto* windowed = dynamic_cast<TWinControl*>(control);
    if (!windowed || control != Owner()) return;
    borderPainting_ = LowerAscii(ReadEnumProperty(control, L"BorderStyle")) != L"bsnone";
    if (LowerAscii(control->ClassName()) == L"timagescrollbox" || SingleMode) borderPainting_ = false;
    const TPropInfo* fixed = GetPropInfo(control, L"FixedColor");
    if (fixed && fixed->Kind == TPropKind::Integer && data && data->Model) {
        hasFixedColor_ = true;
        savedFixedColor_ = ReadIntProperty(control, L"FixedColor");
        WriteProperty(control, L"FixedColor",
                      std::to_wstring(static_cast<std::int32_t>(data->Model->ButtonFaceColour)));
    }
    hbar_ = new TWScrollbar(this, windowed, wsHorizontal, data);
    vbar_ = new TWScrollbar(this, windowed, wsVertical, data);
    hbar_->SetEnabled(control->GetEnabled());
    vbar_->SetEnabled(control->GetEnabled());
    TSkinControl::InitControl(form, data, false, canvas);
    // Over the bars at once rather than at the control's next paint.
    RepositionBars();
}

void TSkinScrollbar::Notification(TComponent* component, TOperation operation) {
    TSkinControl::Notification(component, operation);
    if (operation != opRemove) return;
    if (component == hbar_) hbar_ = nullptr;
    if (component == vbar_) vbar_ = nullptr;
}

void TSkinScrollbar::FreeBars() {
    FreeBar(hbar_);
    FreeBar(vbar_);
}

void TSkinScrollbar::RepositionBars() {
    if (hbar_) hbar_->Reposition();
    if (vbar_) vbar_->Reposition();
}

void TSkinScrollbar::RestoreControl() {
    if (hasFixedColor_ && control_ && !control_->IsDestroying())
        WriteProperty(control_, L"FixedColor", std::to_wstring(savedFixedColor_));
    TSkinControl::RestoreControl();
    if (state_ != scsDestroyed) FreeBars();
}

void TSkinScrollbar::PaintBorder(HDC dc) {
    const TSkinModel* skin = Skin();
    if (!dc || !skin || !window_) return;
    RECT r{};
    if (!::GetWindowRect(window_, &r)) return;
    ::OffsetRect(&r, -r.left, -r.top);
    TBrushHandle shadow(::CreateSolidBrush(ResolveColour(skin->ButtonShadowColour)));
    ::FrameRect(dc, &r, shadow.Get());
    ::InflateRect(&r, -1, -1);
    TBrushHandle face(::CreateSolidBrush(ResolveColour(skin->ButtonFaceColour)));
    ::FrameRect(dc, &r, face.Get());
}

bool TSkinScrollbar::BeforeMessage(TMessage& message) {
    if (message.Msg == WM_NCPAINT && borderPainting_) {
        PassOn(message);
        TWindowDC whole = TWindowDC::Whole(window_);
        if (whole) PaintBorder(whole.Get());
        return false;
    }
    return TSkinControl::BeforeMessage(message);
}

void TSkinScrollbar::AfterMessage(TMessage& message) {
    switch (message.Msg) {
    case WM_SIZE:
    case WM_WINDOWPOSCHANGED:
        RepositionBars();
        break;
    case WM_HSCROLL:
        if (hbar_) hbar_->SetActivePart(LOWORD(message.WParam));
        break;
    case WM_VSCROLL:
        if (vbar_) vbar_->SetActivePart(LOWORD(message.WParam));
        break;
    case WM_MOUSEWHEEL:
        if (hbar_) hbar_->RepaintBar();
        if (vbar_) vbar_->RepaintBar();
        break;
    case CM_VISIBLECHANGED:
        if (message.WParam) {
            RepositionBars();
        } else {
            if (hbar_) hbar_->HideBar();
            if (vbar_) vbar_->HideBar();
        }
        break;
    case CM_ENABLEDCHANGED:
        if (control_) {
            if (hbar_) hbar_->SetEnabled(control_->GetEnabled());
            if (vbar_) vbar_->SetEnabled(control_->GetEnabled());
        }
        break;
    case CM_RECREATEWND:
        // The form object gives the control a fresh scroll-bar skin for its new window.
        if (auto* windowed = dynamic_cast<TWinControl*>(control_); windowed && windowed->HandleAllocated()) {
            const HWND root = ::GetAncestor(windowed->GetHandle(), GA_ROOT);
            if (root) ::PostMessageW(root, WM_SKINRESCROLL, reinterpret_cast<WPARAM>(windowed->GetHandle()), 0);
        }
        break;
    case WM_SKINPAINTFRAMETO:
        if (message.LParam == kSkinMagic) {
            if (message.WParam) PaintBorder(reinterpret_cast<HDC>(message.WParam));
            message.Result = kSkinMagic;
        }
        break;
    default:
        TSkinControl::AfterMessage(message);
        break;
    }
}

void TSkinScrollbar::DrawControl(HDC dc, const RECT&) {
    const LONG_PTR style = window_ ? WindowLong(window_, GWL_STYLE) : 0;
    for (TWScrollbar* bar : {hbar_, vbar_}) {
        if (!bar) continue;
        if (bar->BarVisible()) bar->Invalidate();
        else if (style & (bar->Horizontal() ? WS_HSCROLL : WS_VSCROLL)) bar->Reposition();
    }
    if (!(hbar_ && vbar_ && hbar_->BarVisible() && vbar_->BarVisible())) return;
    // The corner between the bars, in the window's coordinates (the client area's
    // offset inside the window added to the bars' client coordinates).
    RECT window{};
    POINT origin{0, 0};
    if (!::GetWindowRect(window_, &window) || !::ClientToScreen(window_, &origin)) return;
    const int dx = origin.x - window.left, dy = origin.y - window.top;
    const RECT v = vbar_->BarInControl(), h = hbar_->BarInControl();
    const RECT corner{v.left + dx, h.top + dy, v.right + dx, h.bottom + dy};
    FillFace(dc, corner);
}

// ---- TSkinListView -------------------------------------------------------------------

TSkinListView::~TSkinListView() = default;

void TSkinListView::InitScrollbar(TControl* control, const TControlSkinData* data, IControlSkinHost* form,
                                  TCanvas* canvas) {
    if (initialised_) return;
    TSkinScrollbar::InitScrollbar(control, data, form, canvas);
    if (!initialised_ || !window_) return;
    const HWND header = reinterpret_cast<HWND>(::SendMessageW(window_, LVM_GETHEADER, 0, 0));
    if (!header) return;
    header_ = std::make_unique<TSkinHeader>(nullptr);
    header_->InitWindow(header, data, nullptr, canvas);
}

void TSkinListView::RefreshSkin() {
    TSkinScrollbar::RefreshSkin();
    if (header_) header_->RefreshSkin();
}

// ---- TSkinOneBar, TSkinScrollbarH -----------------------------------------------------

TSkinOneBar::~TSkinOneBar() { FreeBar(bar_); }

void TSkinOneBar::InitControl(IControlSkinHost* form, const TControlSkinData* data, bool adoptColour,
                              TCanvas* canvas) {
    if (initialised_) return;
    auto* windowed = dynamic_cast<TWinControl*>(Owner());
    if (!windowed) return;
    bar_ = new TWScrollbar(this, windowed, BarKind(), data);
    bar_->SetEnabled(windowed->GetEnabled());
    companion_ = bar_;
    TSkinControl::InitControl(form, data, adoptColour, canvas);
    bar_->Reposition();
}

void TSkinOneBar::Notification(TComponent* component, TOperation operation) {
    TSkinControl::Notification(component, operation);
    if (operation == opRemove && component == bar_) {
        bar_ = nullptr;
        companion_ = nullptr;
    }
}

void TSkinOneBar::RestoreControl() {
    TSkinControl::RestoreControl();
    if (state_ != scsDestroyed) {
        companion_ = nullptr;
        FreeBar(bar_);
    }
}

void TSkinScrollbarH::AfterMessage(TMessage& message) {
    switch (message.Msg) {
    case WM_SIZE:
    case WM_WINDOWPOSCHANGED:
        if (bar_) bar_->Reposition();
        break;
    case WM_HSCROLL:
        if (bar_) bar_->SetActivePart(LOWORD(message.WParam));
        break;
    case CM_VISIBLECHANGED:
        if (bar_) {
            if (message.WParam) bar_->Reposition();
            else bar_->HideBar();
        }
        break;
    case CM_ENABLEDCHANGED:
        if (bar_ && control_) bar_->SetEnabled(control_->GetEnabled());
        break;
    case WM_PAINT:
        if (bar_) {
            if (bar_->BarVisible()) bar_->Invalidate();
            else if (WindowLong(window_, GWL_STYLE) & WS_HSCROLL) bar_->Reposition();
        }
        break;
    default:
        TSkinControl::AfterMessage(message);
        break;
    }
}

// ---- TSkinScControl ------------------------------------------------------------------

void TSkinScControl::AfterMessage(TMessage& message) {
    switch (message.Msg) {
    case WM_SIZE:
    case WM_WINDOWPOSCHANGED:
        if (bar_) bar_->Reposition();
        break;
    case CM_VISIBLECHANGED:
        if (bar_) {
            if (message.WParam) bar_->Reposition();
            else bar_->HideBar();
        }
        break;
    case CM_ENABLEDCHANGED:
        if (bar_ && control_) {
            bar_->SetEnabled(control_->GetEnabled());
            bar_->RepaintBar();
        }
        break;
    case SBM_SETPOS:
    case SBM_SETRANGE:
    case SBM_SETRANGEREDRAW:
    case SBM_SETSCROLLINFO:
    case SBM_ENABLE_ARROWS:
    case WM_ENABLE:
    case CN_HSCROLL:
    case CN_VSCROLL:
        if (bar_) bar_->RepaintBar();
        else PaintWindow(nullptr);
        break;
    default:
        TSkinControl::AfterMessage(message);
        break;
    }
}

void TSkinScControl::DrawControl(HDC dc, const RECT& rect) {
    // A framework control is covered by its companion; a bare window is painted over.
    if (bar_ || control_) return;
    TSkinModel* skin = skinData_ ? skinData_->Model : nullptr;
    if (!skin) return;
    const LONG_PTR style = WindowLong(window_, GWL_STYLE);
    TScrollBarInputs in;
    in.Horizontal = (style & SBS_VERT) == 0;
    in.Width = rect.right - rect.left;
    in.Height = rect.bottom - rect.top;
    in.ArrowSize = ::GetSystemMetrics(SM_CXHSCROLL);
    in.StripHeight = skin->Scrollbar ? skin->Scrollbar->Bitmap.GetHeight() : 0;
    in.Enabled = !(style & WS_DISABLED);
    SCROLLINFO si{};
    si.cbSize = sizeof(si);
    si.fMask = SIF_ALL;
    if (!::GetScrollInfo(window_, SB_CTL, &si)) si = SCROLLINFO{};
    const TThumb t = ControlThumb(in.Horizontal ? in.Width : in.Height, in.ArrowSize, si);
    in.ThumbStart = t.Start;
    in.ThumbEnd = t.End;
    PaintSkinScrollBar(dc, rect.left, rect.top, *skin, in,
                       in.Horizontal ? skin->HorzScroll.get() : skin->VertScroll.get(),
                       in.Horizontal ? skin->HorzScrollThumb.get() : skin->VertScrollThumb.get());
}

// ---- TSkinSizer ----------------------------------------------------------------------

bool TSkinSizer::BeforeMessage(TMessage& message) {
    switch (message.Msg) {
    case WM_PAINT:
        PaintClient(message);
        return false;
    case WM_ERASEBKGND:
        message.Result = 1;
        return false;
    default:
        return TSkinControl::BeforeMessage(message);
    }
}

void TSkinSizer::DrawControl(HDC dc, const RECT& rect) {
    const TSkinModel* skin = Skin();
    if (!skin || !HasPicture(skin->Scrollbar.get())) return;
    FillFace(dc, rect);
    const int frames = std::max(1, skin->Scrollbar->FrameCount);
    DrawFrame(dc, rect, skin->Scrollbar->Bitmap, true, frames, std::min(23, frames));
}

// ---- TComboxScrollBar ----------------------------------------------------------------

TScrollPart TComboxScrollBar::PartAt(LONG objectId, POINT screen) const {
    SCROLLBARINFO sbi{};
    sbi.cbSize = sizeof(sbi);
    if (!QueryScrollBarInfo(window_, objectId, sbi)) return spNone;
    const bool horizontal = objectId == OBJID_HSCROLL;
    const int p = horizontal ? screen.x - sbi.rcScrollBar.left : screen.y - sbi.rcScrollBar.top;
    const int length = horizontal ? sbi.rcScrollBar.right - sbi.rcScrollBar.left
                                  : sbi.rcScrollBar.bottom - sbi.rcScrollBar.top;
    return ScrollPartAt(p, ::GetSystemMetrics(SM_CXHSCROLL), length, sbi.xyThumbTop, sbi.xyThumbBottom);
}

bool TComboxScrollBar::BeforeMessage(TMessage& message) {
    if (message.Msg == WM_NCLBUTTONDOWN && (message.WParam == HTVSCROLL || message.WParam == HTHSCROLL)) {
        // The platform's scroll loop runs inside; the bar shows the pressed part.
        activeBar_ = message.WParam == HTVSCROLL ? OBJID_VSCROLL : OBJID_HSCROLL;
        pressCursor_ = POINT{GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)};
        activePart_ = PartAt(activeBar_, pressCursor_);
        SCROLLBARINFO sbi{};
        sbi.cbSize = sizeof(sbi);
        pressThumbStart_ = QueryScrollBarInfo(window_, activeBar_, sbi) ? sbi.xyThumbTop : 0;
        tracking_ = true;
        PaintBars();
        PassOn(message);
        tracking_ = false;
        activePart_ = spNone;
        if (state_ != scsDestroyed) PaintBars();
        return false;
    }
    return TSkinControl::BeforeMessage(message);
}

void TComboxScrollBar::AfterMessage(TMessage& message) {
    switch (message.Msg) {
    case WM_NCMOUSEMOVE: {
        const LONG bar = message.WParam == HTVSCROLL ? OBJID_VSCROLL : message.WParam == HTHSCROLL ? OBJID_HSCROLL : 0;
        const TScrollPart part =
            bar ? PartAt(bar, POINT{GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)}) : spNone;
        if (part != activePart_ || bar != activeBar_) {
            activePart_ = part;
            activeBar_ = bar;
            PaintBars();
        }
        break;
    }
    case WM_NCMOUSELEAVE:
    case WM_MOUSEMOVE:
        if (activePart_ != spNone && !tracking_) {
            activePart_ = spNone;
            PaintBars();
        }
        break;
    case WM_NCPAINT:
    case WM_PAINT:
    case WM_VSCROLL:
    case WM_HSCROLL:
    case WM_MOUSEWHEEL:
    case WM_KEYDOWN:
    case WM_SHOWWINDOW:
    case WM_WINDOWPOSCHANGED:
    case LB_SETTOPINDEX:
    case LB_SETCURSEL:
    case LB_ADDSTRING:
    case LB_INSERTSTRING:
    case LB_DELETESTRING:
    case LB_RESETCONTENT:
        PaintBars();
        break;
    default:
        TSkinControl::AfterMessage(message);
        break;
    }
}

void TComboxScrollBar::PaintBars() {
    if (!window_ || state_ == scsDestroyed || !::IsWindowVisible(window_)) return;
    RECT window{};
    if (!::GetWindowRect(window_, &window)) return;
    TWindowDC whole = TWindowDC::Whole(window_);
    if (!whole) return;
    PaintBar(whole.Get(), OBJID_VSCROLL, window);
    PaintBar(whole.Get(), OBJID_HSCROLL, window);
}

void TComboxScrollBar::PaintBar(HDC dc, LONG objectId, const RECT& window) {
    TSkinModel* skin = skinData_ ? skinData_->Model : nullptr;
    if (!skin) return;
    SCROLLBARINFO sbi{};
    sbi.cbSize = sizeof(sbi);
    if (!QueryScrollBarInfo(window_, objectId, sbi) || (sbi.rgstate[0] & (kBarInvisible | STATE_SYSTEM_OFFSCREEN)))
        return;
    const bool horizontal = objectId == OBJID_HSCROLL;
    TScrollBarInputs in;
    in.Horizontal = horizontal;
    in.Width = sbi.rcScrollBar.right - sbi.rcScrollBar.left;
    in.Height = sbi.rcScrollBar.bottom - sbi.rcScrollBar.top;
    in.ArrowSize = ::GetSystemMetrics(SM_CXHSCROLL);
    in.StripHeight = skin->Scrollbar ? skin->Scrollbar->Bitmap.GetHeight() : 0;
    in.Enabled = !(sbi.rgstate[0] & kBarUnavailable);
    in.ActivePart = objectId == activeBar_ ? activePart_ : spNone;
    in.Tracking = tracking_;
    in.ThumbStart = sbi.xyThumbTop;
    in.ThumbEnd = sbi.xyThumbBottom;
    if (tracking_ && activePart_ == spThumb && objectId == activeBar_) {
        // The thumb being dragged is drawn where the cursor has taken it, not where the
        // list's position puts it (the list moves by whole rows).
        POINT cursor{};
        ::GetCursorPos(&cursor);
        const int movement = horizontal ? cursor.x - pressCursor_.x : cursor.y - pressCursor_.y;
        const int thumbLength = sbi.xyThumbBottom - sbi.xyThumbTop;
        in.ThumbStart = TrackedThumbStart(pressThumbStart_, movement, in.ArrowSize,
                                          horizontal ? in.Width : in.Height, thumbLength);
        in.ThumbEnd = in.ThumbStart + thumbLength;
    }
    // The vertical track is the face colour: the list carries no vertical track picture.
    PaintSkinScrollBar(dc, sbi.rcScrollBar.left - window.left, sbi.rcScrollBar.top - window.top, *skin, in,
                       horizontal ? skin->HorzScroll.get() : nullptr,
                       horizontal ? skin->HorzScrollThumb.get() : skin->VertScrollThumb.get());
}

}  // namespace vx
