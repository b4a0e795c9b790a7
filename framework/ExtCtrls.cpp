#include "framework/ExtCtrls.h"

#include <algorithm>
#include <set>

#include "framework/Forms.h"

namespace vx {

namespace {

void Frame3D(HDC dc, RECT& r, TColor topColor, TColor bottomColor, int width) {
    TPenHandle top(::CreatePen(PS_SOLID, 1, ColorToColorRef(topColor)));
    TPenHandle bottom(::CreatePen(PS_SOLID, 1, ColorToColorRef(bottomColor)));
    // The scope's selection puts the DC's own pen back; the loop only switches between
    // the two pens inside it.
    TSelectObject selection(dc, top.Get());
    for (int i = 0; i < width; ++i) {
        --r.right;
        --r.bottom;
        ::SelectObject(dc, top.Get());
        ::MoveToEx(dc, r.left, r.bottom, nullptr);
        ::LineTo(dc, r.left, r.top);
        ::LineTo(dc, r.right, r.top);
        ::SelectObject(dc, bottom.Get());
        ::LineTo(dc, r.right, r.bottom);
        ::LineTo(dc, r.left - 1, r.bottom);
        ++r.left;
        ++r.top;
    }
}

}  // namespace

// --- Panel ---------------------------------------------------------------------------------

VX_IMPLEMENT_CLASS_WITH_PROPERTIES(TCustomPanel, TCustomControl)
VX_IMPLEMENT_CLASS(TPanel, TCustomPanel)

void TCustomPanel::RegisterProperties(TPropertyRegistrar<TCustomPanel>& r) {
    static const std::initializer_list<const wchar_t*> cuts = {L"bvNone", L"bvLowered", L"bvRaised", L"bvSpace"};
    r.Enumeration(L"BevelOuter", &TCustomPanel::GetBevelOuter, &TCustomPanel::SetBevelOuter, cuts)
        .Enumeration(L"BevelInner", &TCustomPanel::GetBevelInner, &TCustomPanel::SetBevelInner, cuts)
        .Integer(L"BevelWidth", &TCustomPanel::GetBevelWidth, &TCustomPanel::SetBevelWidth)
        .Enumeration(L"BorderStyle", &TCustomPanel::GetBorderStyle, &TCustomPanel::SetBorderStyle,
                     {L"bsNone", L"bsSingle"})
        .Enumeration(L"Alignment", &TCustomPanel::GetAlignment, &TCustomPanel::SetAlignment,
                     {L"taLeftJustify", L"taRightJustify", L"taCenter"});
}

TCustomPanel::TCustomPanel(TComponent* owner) : TCustomControl(owner) {
    SetColor(clBtnFace);
    SetBounds(0, 0, 185, 41);
    opaque_ = true;
}

void TCustomPanel::CreateParams(TCreateParams& p) {
    TCustomControl::CreateParams(p);
    if (borderStyle_ == bsSingle) p.Style |= WS_BORDER;
}

void TCustomPanel::SetBevelOuter(TBevelCut v) {
    bevelOuter_ = v;
    Realign();
    Invalidate();
}
void TCustomPanel::SetBevelInner(TBevelCut v) {
    bevelInner_ = v;
    Realign();
    Invalidate();
}
void TCustomPanel::SetBevelWidth(int v) {
    bevelWidth_ = std::max(1, v);
    Realign();
    Invalidate();
}
void TCustomPanel::SetBorderStyle(TBorderStyle v) {
    if (v == borderStyle_) return;
    borderStyle_ = v;
    RecreateWnd();
}
void TCustomPanel::SetAlignment(TAlignment v) {
    alignment_ = v;
    Invalidate();
}

void TCustomPanel::AdjustClientRect(RECT& r) const {
    TCustomControl::AdjustClientRect(r);
    int bevel = (bevelOuter_ != bvNone ? bevelWidth_ : 0) + (bevelInner_ != bvNone ? bevelWidth_ : 0);
    ::InflateRect(&r, -bevel, -bevel);
}

void TCustomPanel::Paint() {
    TCanvas* c = GetCanvas();
    HDC dc = c->GetHandle();
    RECT r = GetClientRect();
    auto bevel = [&](TBevelCut cut) {
        if (cut == bvNone) return;
        TColor top = cut == bvLowered ? clBtnShadow : clBtnHighlight;
        TColor bottom = cut == bvLowered ? clBtnHighlight : clBtnShadow;
        if (cut == bvSpace) top = bottom = GetColor();
        Frame3D(dc, r, top, bottom, bevelWidth_);
    };
    bevel(bevelOuter_);
    ::InflateRect(&r, -GetBorderWidth(), -GetBorderWidth());
    bevel(bevelInner_);
    c->GetBrush()->SetColor(GetColor());
    c->FillRect(r);
    std::wstring caption = GetCaption();
    if (caption.empty()) return;
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ColorToColorRef(GetEnabled() ? GetFont()->GetColor() : clGrayText));
    dc = c->GetHandle();
    ::DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &r,
                TextAlignFlags(alignment_) | DT_VCENTER | DT_SINGLELINE | DT_EXPANDTABS);
}

// --- Bevel ----------------------------------------------------------------------------------

VX_IMPLEMENT_CLASS_WITH_PROPERTIES(TBevel, TGraphicControl)

void TBevel::RegisterProperties(TPropertyRegistrar<TBevel>& r) {
    r.Enumeration(L"Shape", &TBevel::GetShape, &TBevel::SetShape,
                  {L"bsBox", L"bsFrame", L"bsTopLine", L"bsBottomLine", L"bsLeftLine", L"bsRightLine", L"bsSpacer"})
        .Enumeration(L"Style", &TBevel::GetStyle, &TBevel::SetStyle, {L"bsLowered", L"bsRaised"});
}

TBevel::TBevel(TComponent* owner) : TGraphicControl(owner) { SetBounds(0, 0, 50, 50); }

void TBevel::SetShape(TBevelShape v) {
    shape_ = v;
    Invalidate();
}
void TBevel::SetStyle(TBevelStyle v) {
    style_ = v;
    Invalidate();
}

void TBevel::Paint() {
    HDC dc = GetCanvas()->GetHandle();
    TColor c1 = style_ == bsLowered ? clBtnShadow : clBtnHighlight;
    TColor c2 = style_ == bsLowered ? clBtnHighlight : clBtnShadow;
    const int w = GetWidth(), h = GetHeight();
    auto line = [dc](TColor color, int x1, int y1, int x2, int y2) {
        TPenHandle pen(::CreatePen(PS_SOLID, 1, ColorToColorRef(color)));
        TSelectObject selection(dc, pen.Get());
        ::MoveToEx(dc, x1, y1, nullptr);
        ::LineTo(dc, x2, y2);
    };
    switch (shape_) {
    case bsBox: {
        RECT r{0, 0, w, h};
        Frame3D(dc, r, c1, c2, 1);
        break;
    }
    case bsFrame: {
        RECT r{0, 0, w - 1, h - 1};
        RECT r2{1, 1, w, h};
        Frame3D(dc, r2, c2, c2, 1);
        Frame3D(dc, r, c1, c1, 1);
        break;
    }
    case bsTopLine:
        line(c1, 0, 0, w, 0);
        line(c2, 0, 1, w, 1);
        break;
    case bsBottomLine:
        line(c1, 0, h - 2, w, h - 2);
        line(c2, 0, h - 1, w, h - 1);
        break;
    case bsLeftLine:
        line(c1, 0, 0, 0, h);
        line(c2, 1, 0, 1, h);
        break;
    case bsRightLine:
        line(c1, w - 2, 0, w - 2, h);
        line(c2, w - 1, 0, w - 1, h);
        break;
    case bsSpacer: break;
    }
}

// --- Image -----------------------------------------------------------------------------------

VX_IMPLEMENT_CLASS_WITH_PROPERTIES(TImage, TGraphicControl)

void TImage::RegisterProperties(TPropertyRegistrar<TImage>& r) {
    r.Object(L"Picture", &TImage::GetPicture, &TImage::SetPicture)
        .Boolean(L"Stretch", &TImage::GetStretch, &TImage::SetStretch)
        .Boolean(L"Center", &TImage::GetCenter, &TImage::SetCenter)
        .Boolean(L"Proportional", &TImage::GetProportional, &TImage::SetProportional)
        .Boolean(L"Transparent", &TImage::GetTransparent, &TImage::SetTransparent)
        .Boolean(L"AutoSize", &TImage::GetAutoSize, &TImage::SetAutoSize);
}

TImage::TImage(TComponent* owner) : TGraphicControl(owner), picture_(std::make_unique<TPicture>()) {
    SetBounds(0, 0, 105, 105);
    picture_->OnChange = [this](TObject*) { PictureChanged(); };
}

TImage::~TImage() { picture_->OnChange = nullptr; }

void TImage::SetPicture(TPicture* picture) {
    if (picture && picture != picture_.get()) picture_->Assign(*picture);
}

void TImage::PictureChanged() {
    if (TGraphic* g = picture_->GetGraphic()) {
        if (transparent_ != g->GetTransparent() && !g->InheritsFrom(TIcon::StaticClass())) g->SetTransparent(transparent_);
        if (autoSize_ && g->GetWidth() > 0 && g->GetHeight() > 0) SetBounds(GetLeft(), GetTop(), g->GetWidth(), g->GetHeight());
    }
    Invalidate();
}

void TImage::SetStretch(bool v) {
    stretch_ = v;
    Invalidate();
}
void TImage::SetCenter(bool v) {
    center_ = v;
    Invalidate();
}
void TImage::SetProportional(bool v) {
    proportional_ = v;
    Invalidate();
}
void TImage::SetTransparent(bool v) {
    transparent_ = v;
    PictureChanged();
}
void TImage::SetAutoSize(bool v) {
    autoSize_ = v;
    PictureChanged();
}

RECT TImage::DestRect() const {
    int pw = picture_->GetWidth(), ph = picture_->GetHeight();
    const int cw = GetWidth(), ch = GetHeight();
    if (stretch_ || (proportional_ && (pw > cw || ph > ch))) {
        if (proportional_ && pw > 0 && ph > 0) {
            double scale = std::min(static_cast<double>(cw) / pw, static_cast<double>(ch) / ph);
            pw = static_cast<int>(pw * scale);
            ph = static_cast<int>(ph * scale);
        } else {
            pw = cw;
            ph = ch;
        }
    }
    RECT r{0, 0, pw, ph};
    if (center_) ::OffsetRect(&r, (cw - pw) / 2, (ch - ph) / 2);
    return r;
}

void TImage::Paint() {
    TGraphic* g = picture_->GetGraphic();
    if (!g || g->GetEmpty()) return;
    RECT r = DestRect();
    TCanvas* c = GetCanvas();
    if (transparent_ && g->InheritsFrom(TBitmap::StaticClass()) && r.right - r.left == g->GetWidth() &&
        r.bottom - r.top == g->GetHeight()) {
        auto* bitmap = static_cast<TBitmap*>(g);
        DrawTransparentBitmap(c->GetHandle(), r.left, r.top, g->GetWidth(), g->GetHeight(),
                              bitmap->GetCanvas()->GetHandle(), 0, 0, ColorToColorRef(bitmap->GetTransparentColor()));
        return;
    }
    c->StretchDraw(r, g);
}

// --- Radio group -------------------------------------------------------------------------------

VX_IMPLEMENT_CLASS_WITH_PROPERTIES(TCustomRadioGroup, TCustomGroupBox)
VX_IMPLEMENT_CLASS(TRadioGroup, TCustomRadioGroup)

void TCustomRadioGroup::RegisterProperties(TPropertyRegistrar<TCustomRadioGroup>& r) {
    r.Integer(L"ItemIndex", &TCustomRadioGroup::GetItemIndex, &TCustomRadioGroup::SetItemIndex)
        .Integer(L"Columns", &TCustomRadioGroup::GetColumns, &TCustomRadioGroup::SetColumns)
        .Object(L"Items", &TCustomRadioGroup::GetItems);
}

TCustomRadioGroup::TCustomRadioGroup(TComponent* owner)
    : TCustomGroupBox(owner), items_(std::make_unique<TStringList>()) {
    items_->OnChange = [this](TObject*) { UpdateButtons(); };
}

TCustomRadioGroup::~TCustomRadioGroup() { items_->OnChange = nullptr; }

TRadioButton* TCustomRadioGroup::Buttons(int index) const {
    if (index < 0 || index >= ButtonCount()) return nullptr;
    return buttons_[static_cast<size_t>(index)];
}

void TCustomRadioGroup::UpdateButtons() {
    updating_ = true;
    while (static_cast<int>(buttons_.size()) > items_->GetCount()) {
        delete buttons_.back();
        buttons_.pop_back();
    }
    while (static_cast<int>(buttons_.size()) < items_->GetCount()) {
        auto* b = new TRadioButton(this);
        b->SetParent(this);
        b->OnClick = [this, b](TObject*) {
            if (updating_ || !b->GetChecked()) return;
            auto it = std::find(buttons_.begin(), buttons_.end(), b);
            itemIndex_ = static_cast<int>(it - buttons_.begin());
            Click();
        };
        buttons_.push_back(b);
    }
    for (int i = 0; i < ButtonCount(); ++i) {
        buttons_[static_cast<size_t>(i)]->SetCaption(items_->Get(i));
        buttons_[static_cast<size_t>(i)]->SetChecked(i == itemIndex_);
        buttons_[static_cast<size_t>(i)]->SetEnabled(GetEnabled());
    }
    if (itemIndex_ >= ButtonCount()) itemIndex_ = -1;
    updating_ = false;
    Realign();
}

void TCustomRadioGroup::SetItemIndex(int index) {
    if (index < -1 || index >= ButtonCount()) index = -1;
    itemIndex_ = index;
    updating_ = true;
    for (int i = 0; i < ButtonCount(); ++i) buttons_[static_cast<size_t>(i)]->SetChecked(i == index);
    updating_ = false;
}

void TCustomRadioGroup::SetColumns(int columns) {
    columns_ = std::clamp(columns, 1, 16);
    Realign();
}

void TCustomRadioGroup::FontChanged() {
    TCustomGroupBox::FontChanged();
    Realign();
}

void TCustomRadioGroup::AlignControls(RECT& r) {
    TCustomGroupBox::AlignControls(r);
    if (buttons_.empty()) return;
    const int count = ButtonCount();
    const int rows = (count + columns_ - 1) / columns_;
    const int colWidth = (r.right - r.left - 8) / columns_;
    const int rowHeight = std::max(1, static_cast<int>((r.bottom - r.top) / std::max(1, rows)));
    const int buttonHeight = std::min(rowHeight, std::abs(GetFont()->GetHeight()) + 6);
    for (int i = 0; i < count; ++i) {
        int col = i / rows, row = i % rows;
        buttons_[static_cast<size_t>(i)]->SetBounds(r.left + 8 + col * colWidth,
                                                     r.top + row * rowHeight + (rowHeight - buttonHeight) / 2,
                                                     colWidth - 4, buttonHeight);
    }
    // Enabled follows the group.
    for (TRadioButton* b : buttons_) b->SetEnabled(GetEnabled());
}

// --- Timer ---------------------------------------------------------------------------------------

namespace {

std::set<TTimer*>& LiveTimers() {
    static std::set<TTimer*> timers;
    return timers;
}

LRESULT CALLBACK TimerWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_TIMER) {
        TTimer::Fire(wParam);
        return 0;
    }
    return ::DefWindowProcW(window, msg, wParam, lParam);
}

HWND TimerWindow() {
    static HWND window = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = &TimerWindowProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"TPUtilWindow";
        ::RegisterClassW(&wc);
        return ::CreateWindowExW(WS_EX_TOOLWINDOW, L"TPUtilWindow", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                 wc.hInstance, nullptr);
    }();
    return window;
}

}  // namespace

VX_IMPLEMENT_CLASS_WITH_PROPERTIES(TTimer, TComponent)

void TTimer::RegisterProperties(TPropertyRegistrar<TTimer>& r) {
    r.Boolean(L"Enabled", &TTimer::GetEnabled, &TTimer::SetEnabled)
        .Integer(L"Interval", &TTimer::GetInterval, &TTimer::SetInterval);
}

TTimer::TTimer(TComponent* owner) : TComponent(owner) {
    LiveTimers().insert(this);
    UpdateTimer();
}

TTimer::~TTimer() {
    enabled_ = false;
    UpdateTimer();
    LiveTimers().erase(this);
}

void TTimer::SetEnabled(bool value) {
    if (value == enabled_) return;
    enabled_ = value;
    UpdateTimer();
}

void TTimer::SetInterval(unsigned value) {
    if (value == interval_) return;
    interval_ = value;
    UpdateTimer();
}

void TTimer::UpdateTimer() {
    const UINT_PTR id = reinterpret_cast<UINT_PTR>(this);
    if (running_) {
        ::KillTimer(TimerWindow(), id);
        running_ = false;
    }
    if (enabled_ && interval_ > 0 && !IsDestroying()) running_ = ::SetTimer(TimerWindow(), id, interval_, nullptr) != 0;
}

void TTimer::Fire(UINT_PTR id) {
    auto* timer = reinterpret_cast<TTimer*>(id);
    if (!LiveTimers().count(timer) || !timer->enabled_ || !timer->OnTimer) return;
    try {
        timer->OnTimer(timer);
    } catch (const std::exception& e) {
        Application->HandleException(timer, e);
    }
}

}  // namespace vx
