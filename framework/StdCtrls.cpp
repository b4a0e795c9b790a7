#include "framework/StdCtrls.h"

#include <commctrl.h>

#include <algorithm>

#include "framework/Forms.h"

namespace vx {

unsigned TextAlignFlags(TAlignment alignment) {
    switch (alignment) {
    case taRightJustify: return DT_RIGHT;
    case taCenter: return DT_CENTER;
    default: return DT_LEFT;
    }
}

// --- Buttons ---------------------------------------------------------------------------------

VX_IMPLEMENT_CLASS(TButtonControl, TWinControl)

TButtonControl::TButtonControl(TComponent* owner) : TWinControl(owner) {
    SetTabStop(true);
    SetColor(clBtnFace);
}

VX_IMPLEMENT_CLASS_WITH_PROPERTIES(TButton, TButtonControl)

void TButton::RegisterProperties(TPropertyRegistrar<TButton>& r) {
    r.Boolean(L"Default", &TButton::GetDefault, &TButton::SetDefault)
        .Boolean(L"Cancel", &TButton::GetCancel, &TButton::SetCancel)
        .Integer(L"ModalResult", &TButton::GetModalResult, &TButton::SetModalResult);
}

TButton::TButton(TComponent* owner) : TButtonControl(owner) { SetBounds(0, 0, 75, 25); }

void TButton::CreateParams(TCreateParams& p) {
    TButtonControl::CreateParams(p);
    CreateSubClass(p, L"BUTTON");
    p.Style |= default_ ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

void TButton::SetDefault(bool value) {
    default_ = value;
    if (HandleAllocated())
        ::SendMessageW(GetHandle(), BM_SETSTYLE, value ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

void TButton::Click() {
    if (modalResult_ != mrNone) {
        if (TCustomForm* form = GetParentForm()) form->SetModalResult(modalResult_);
    }
    TButtonControl::Click();
}

void TButton::WndProc(TMessage& m) {
    if (m.Msg == CN_COMMAND) {
        if (HIWORD(m.WParam) == BN_CLICKED) Click();
        return;
    }
    TButtonControl::WndProc(m);
}

VX_IMPLEMENT_CLASS_WITH_PROPERTIES(TCustomCheckBox, TButtonControl)
VX_IMPLEMENT_CLASS(TCheckBox, TCustomCheckBox)

void TCustomCheckBox::RegisterProperties(TPropertyRegistrar<TCustomCheckBox>& r) {
    r.Boolean(L"Checked", &TCustomCheckBox::GetChecked, &TCustomCheckBox::SetChecked)
        .Enumeration(L"State", &TCustomCheckBox::GetState, &TCustomCheckBox::SetState,
                     {L"cbUnchecked", L"cbChecked", L"cbGrayed"})
        .Boolean(L"AllowGrayed", &TCustomCheckBox::GetAllowGrayed, &TCustomCheckBox::SetAllowGrayed)
        .Enumeration(L"Alignment", &TCustomCheckBox::GetAlignment, &TCustomCheckBox::SetAlignment,
                     {L"taLeftJustify", L"taRightJustify", L"taCenter"});
}

TCustomCheckBox::TCustomCheckBox(TComponent* owner) : TButtonControl(owner) { SetBounds(0, 0, 97, 17); }

void TCustomCheckBox::CreateParams(TCreateParams& p) {
    TButtonControl::CreateParams(p);
    CreateSubClass(p, L"BUTTON");
    p.Style |= BS_3STATE;
    if (alignment_ == taLeftJustify) p.Style |= BS_LEFTTEXT;
}

void TCustomCheckBox::InitializeWindow() { ::SendMessageW(handle_, BM_SETCHECK, state_, 0); }

void TCustomCheckBox::SetAlignment(TAlignment value) {
    if (value == alignment_) return;
    alignment_ = value;
    RecreateWnd();
}

void TCustomCheckBox::SetState(TCheckBoxState state) {
    if (state == state_) return;
    state_ = state;
    if (HandleAllocated()) ::SendMessageW(GetHandle(), BM_SETCHECK, state, 0);
    Perform(CM_CHECKSTATECHANGED);
    Click();
}

void TCustomCheckBox::Toggle() {
    switch (state_) {
    case cbUnchecked: SetState(allowGrayed_ ? cbGrayed : cbChecked); break;
    case cbChecked: SetState(cbUnchecked); break;
    case cbGrayed: SetState(cbChecked); break;
    }
}

void TCustomCheckBox::WndProc(TMessage& m) {
    if (m.Msg == CN_COMMAND) {
        if (HIWORD(m.WParam) == BN_CLICKED) Toggle();
        return;
    }
    TButtonControl::WndProc(m);
}

VX_IMPLEMENT_CLASS_WITH_PROPERTIES(TRadioButton, TButtonControl)

void TRadioButton::RegisterProperties(TPropertyRegistrar<TRadioButton>& r) {
    r.Boolean(L"Checked", &TRadioButton::GetChecked, &TRadioButton::SetChecked);
}

TRadioButton::TRadioButton(TComponent* owner) : TButtonControl(owner) { SetBounds(0, 0, 113, 17); }

void TRadioButton::CreateParams(TCreateParams& p) {
    TButtonControl::CreateParams(p);
    CreateSubClass(p, L"BUTTON");
    p.Style |= BS_RADIOBUTTON;
}

void TRadioButton::InitializeWindow() { ::SendMessageW(handle_, BM_SETCHECK, checked_ ? 1 : 0, 0); }

void TRadioButton::SetChecked(bool value) {
    if (value == checked_) return;
    checked_ = value;
    if (HandleAllocated()) ::SendMessageW(GetHandle(), BM_SETCHECK, value ? 1 : 0, 0);
    Perform(CM_CHECKSTATECHANGED);
    if (value) {
        if (TWinControl* parent = GetParent())
            for (int i = 0; i < parent->ControlCount(); ++i) {
                TControl* c = parent->Controls(i);
                if (c != this && c->InheritsFrom(TRadioButton::StaticClass()))
                    static_cast<TRadioButton*>(c)->SetChecked(false);
            }
        Click();
    }
}

void TRadioButton::WndProc(TMessage& m) {
    if (m.Msg == CN_COMMAND) {
        if (HIWORD(m.WParam) == BN_CLICKED) SetChecked(true);
        return;
    }
    TButtonControl::WndProc(m);
}

// --- Group box ---------------------------------------------------------------------------------

VX_IMPLEMENT_CLASS(TCustomGroupBox, TCustomControl)
VX_IMPLEMENT_CLASS(TGroupBox, TCustomGroupBox)

TCustomGroupBox::TCustomGroupBox(TComponent* owner) : TCustomControl(owner) {
    SetColor(clBtnFace);
    SetBounds(0, 0, 185, 105);
}

void TCustomGroupBox::AdjustClientRect(RECT& r) const {
    TWinControl::AdjustClientRect(r);
    int h = std::abs(GetFont()->GetHeight());
    r.top += h + 2;
    ::InflateRect(&r, -1, -1);
}

void TCustomGroupBox::TextChanged() {
    TCustomControl::TextChanged();
    Invalidate();
    Realign();
}

void TCustomGroupBox::Paint() {
    TCanvas* c = GetCanvas();
    HDC dc = c->GetHandle();
    SIZE text = c->TextExtent(L"0");
    RECT r{0, text.cy / 2 - 1, GetWidth(), GetHeight()};
    ::DrawEdge(dc, &r, EDGE_ETCHED, BF_RECT);
    std::wstring caption = GetCaption();
    if (caption.empty()) return;
    RECT tr{8, 0, 0, text.cy};
    ::DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &tr, DT_CALCRECT | DT_SINGLELINE);
    c->GetBrush()->SetColor(GetColor());
    c->FillRect(RECT{tr.left - 1, tr.top, tr.right + 1, tr.bottom});
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ColorToColorRef(GetEnabled() ? GetFont()->GetColor() : clGrayText));
    ::DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &tr, DT_SINGLELINE);
}

// --- Label ---------------------------------------------------------------------------------------

VX_IMPLEMENT_CLASS_WITH_PROPERTIES(TCustomLabel, TGraphicControl)
VX_IMPLEMENT_CLASS(TLabel, TCustomLabel)

void TCustomLabel::RegisterProperties(TPropertyRegistrar<TCustomLabel>& r) {
    r.Boolean(L"AutoSize", &TCustomLabel::GetAutoSize, &TCustomLabel::SetAutoSize)
        .Boolean(L"Transparent", &TCustomLabel::GetTransparent, &TCustomLabel::SetTransparent)
        .Enumeration(L"Alignment", &TCustomLabel::GetAlignment, &TCustomLabel::SetAlignment,
                     {L"taLeftJustify", L"taRightJustify", L"taCenter"})
        .Enumeration(L"Layout", &TCustomLabel::GetLayout, &TCustomLabel::SetLayout,
                     {L"tlTop", L"tlCenter", L"tlBottom"})
        .Boolean(L"WordWrap", &TCustomLabel::GetWordWrap, &TCustomLabel::SetWordWrap)
        .Boolean(L"ShowAccelChar", &TCustomLabel::GetShowAccelChar, &TCustomLabel::SetShowAccelChar)
        .Object(L"FocusControl", &TCustomLabel::GetFocusControl, &TCustomLabel::SetFocusControl);
}

TCustomLabel::TCustomLabel(TComponent* owner) : TGraphicControl(owner) {
    SetParentColor(true);
    TControl::SetBounds(0, 0, 65, 17);
}

unsigned TCustomLabel::DrawFlags() const {
    unsigned flags = TextAlignFlags(alignment_) | DT_EXPANDTABS;
    if (wordWrap_) flags |= DT_WORDBREAK;
    if (!showAccelChar_) flags |= DT_NOPREFIX;
    if (UseRightToLeftReading()) flags |= DT_RTLREADING;
    return flags;
}

void TCustomLabel::AdjustBounds() {
    if (!autoSize_ || adjusting_ || IsLoading()) return;
    RECT r{0, 0, wordWrap_ ? GetWidth() : 0, 0};
    {
        TWindowDC screen(nullptr);
        TSelectObject font(screen.Get(), GetFont()->GetHandle());
        std::wstring text = GetCaption();
        if (text.empty() || (showAccelChar_ && text.back() == L'&')) text += L' ';
        ::DrawTextW(screen.Get(), text.c_str(), static_cast<int>(text.size()), &r, DrawFlags() | DT_CALCRECT);
    }
    int left = GetLeft();
    if (alignment_ == taRightJustify) left += GetWidth() - r.right;
    adjusting_ = true;
    TControl::SetBounds(left, GetTop(), r.right, r.bottom);
    adjusting_ = false;
}

void TCustomLabel::SetBounds(int left, int top, int width, int height) {
    TControl::SetBounds(left, top, width, height);
    if (!adjusting_ && wordWrap_) AdjustBounds();
}

void TCustomLabel::Loaded() {
    TGraphicControl::Loaded();
    AdjustBounds();
}

void TCustomLabel::SetAutoSize(bool value) {
    autoSize_ = value;
    AdjustBounds();
}
void TCustomLabel::SetTransparent(bool value) {
    transparent_ = value;
    opaque_ = !value;
    Invalidate();
}
void TCustomLabel::SetAlignment(TAlignment value) {
    alignment_ = value;
    Invalidate();
}
void TCustomLabel::SetLayout(TTextLayout value) {
    layout_ = value;
    Invalidate();
}
void TCustomLabel::SetWordWrap(bool value) {
    wordWrap_ = value;
    AdjustBounds();
    Invalidate();
}
void TCustomLabel::SetShowAccelChar(bool value) {
    showAccelChar_ = value;
    AdjustBounds();
    Invalidate();
}

void TCustomLabel::FontChanged() {
    TGraphicControl::FontChanged();
    AdjustBounds();
}

void TCustomLabel::TextChanged() {
    AdjustBounds();
    Invalidate();
}

void TCustomLabel::Paint() {
    TCanvas* c = GetCanvas();
    RECT r = GetClientRect();
    HDC dc = c->GetHandle();
    if (!transparent_) {
        c->GetBrush()->SetColor(GetColor());
        c->FillRect(r);
    }
    std::wstring text = GetCaption();
    unsigned flags = DrawFlags();
    if (layout_ != tlTop) {
        RECT calc = r;
        ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &calc, flags | DT_CALCRECT);
        int h = calc.bottom - calc.top;
        if (layout_ == tlBottom) r.top = r.bottom - h;
        else r.top = (r.bottom - h) / 2;
    }
    DrawCaptionText(dc, text, r, flags, GetEnabled(), GetFont()->GetColor());
}

// --- Edit ------------------------------------------------------------------------------------------

VX_IMPLEMENT_CLASS_WITH_PROPERTIES(TCustomEdit, TWinControl)
VX_IMPLEMENT_CLASS(TEdit, TCustomEdit)

void TCustomEdit::RegisterProperties(TPropertyRegistrar<TCustomEdit>& r) {
    r.Boolean(L"ReadOnly", &TCustomEdit::GetReadOnly, &TCustomEdit::SetReadOnly)
        .Integer(L"MaxLength", &TCustomEdit::GetMaxLength, &TCustomEdit::SetMaxLength)
        .Enumeration(L"BorderStyle", &TCustomEdit::GetBorderStyle, &TCustomEdit::SetBorderStyle,
                     {L"bsNone", L"bsSingle"})
        .Enumeration(L"Alignment", &TCustomEdit::GetAlignment, &TCustomEdit::SetAlignment,
                     {L"taLeftJustify", L"taRightJustify", L"taCenter"});
}

TCustomEdit::TCustomEdit(TComponent* owner) : TWinControl(owner) {
    SetTabStop(true);
    SetColor(clWindow);
    SetBounds(0, 0, 121, 21);
}

void TCustomEdit::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    CreateSubClass(p, L"EDIT");
    p.WindowClass.style |= CS_DBLCLKS;
    p.Style |= ES_AUTOHSCROLL | ES_AUTOVSCROLL;
    if (readOnly_) p.Style |= ES_READONLY;
    if (alignment_ == taRightJustify) p.Style |= ES_RIGHT;
    else if (alignment_ == taCenter) p.Style |= ES_CENTER;
    if (borderStyle_ == bsSingle) p.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomEdit::InitializeWindow() {
    if (maxLength_ > 0) ::SendMessageW(handle_, EM_LIMITTEXT, maxLength_, 0);
    if (passwordChar_) ::SendMessageW(handle_, EM_SETPASSWORDCHAR, passwordChar_, 0);
}

std::wstring TCustomEdit::GetText() const {
    if (!handle_) return TWinControl::GetText();
    int length = ::GetWindowTextLengthW(handle_);
    std::wstring s(static_cast<size_t>(length) + 1, L'\0');
    ::GetWindowTextW(handle_, s.data(), length + 1);
    s.resize(static_cast<size_t>(length));
    return s;
}

void TCustomEdit::SetReadOnly(bool value) {
    readOnly_ = value;
    if (HandleAllocated()) ::SendMessageW(GetHandle(), EM_SETREADONLY, value ? TRUE : FALSE, 0);
}

void TCustomEdit::SetMaxLength(int value) {
    maxLength_ = std::max(0, value);
    if (HandleAllocated()) ::SendMessageW(GetHandle(), EM_LIMITTEXT, maxLength_, 0);
}

void TCustomEdit::SetBorderStyle(TBorderStyle value) {
    if (value == borderStyle_) return;
    borderStyle_ = value;
    RecreateWnd();
}

void TCustomEdit::SetPasswordChar(wchar_t value) {
    passwordChar_ = value;
    if (HandleAllocated()) {
        ::SendMessageW(GetHandle(), EM_SETPASSWORDCHAR, value, 0);
        Invalidate();
    }
}

void TCustomEdit::SetAlignment(TAlignment value) {
    if (value == alignment_) return;
    alignment_ = value;
    RecreateWnd();
}

int TCustomEdit::GetSelStart() {
    DWORD start = 0;
    ::SendMessageW(GetHandle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
    return static_cast<int>(start);
}
void TCustomEdit::SetSelStart(int value) { ::SendMessageW(GetHandle(), EM_SETSEL, value, value); }
int TCustomEdit::GetSelLength() {
    DWORD start = 0, end = 0;
    ::SendMessageW(GetHandle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return static_cast<int>(end - start);
}
void TCustomEdit::SetSelLength(int value) {
    int start = GetSelStart();
    ::SendMessageW(GetHandle(), EM_SETSEL, start, start + value);
}
void TCustomEdit::SelectAll() { ::SendMessageW(GetHandle(), EM_SETSEL, 0, -1); }
bool TCustomEdit::GetModified() { return ::SendMessageW(GetHandle(), EM_GETMODIFY, 0, 0) != 0; }
void TCustomEdit::SetModified(bool value) { ::SendMessageW(GetHandle(), EM_SETMODIFY, value ? TRUE : FALSE, 0); }

void TCustomEdit::Change() {
    if (OnChange && !IsDestroying()) OnChange(this);
}

void TCustomEdit::WndProc(TMessage& m) {
    if (m.Msg == CN_COMMAND) {
        if (HIWORD(m.WParam) == EN_CHANGE) Change();
        return;
    }
    TWinControl::WndProc(m);
}

// --- Memo ---------------------------------------------------------------------------------------------

namespace {

// The lines of a memo, read from and written to the control's text.
class TMemoStrings : public TStrings {
public:
    explicit TMemoStrings(TCustomMemo& memo) : memo_(memo) {}
    int GetCount() const override { return static_cast<int>(Split().size()); }
    std::wstring Get(int index) const override {
        auto lines = Split();
        if (index < 0 || index >= static_cast<int>(lines.size())) throw EStringListError(L"List index out of bounds");
        return lines[static_cast<size_t>(index)];
    }
    void Put(int index, const std::wstring& s) override {
        auto lines = Split();
        if (index < 0 || index >= static_cast<int>(lines.size())) throw EStringListError(L"List index out of bounds");
        lines[static_cast<size_t>(index)] = s;
        Join(lines);
    }
    TObject* GetObject(int) const override { return nullptr; }
    void PutObject(int, TObject*) override {}
    void Insert(int index, const std::wstring& s) override {
        auto lines = Split();
        if (index < 0 || index > static_cast<int>(lines.size())) throw EStringListError(L"List index out of bounds");
        lines.insert(lines.begin() + index, s);
        Join(lines);
    }
    void Delete(int index) override {
        auto lines = Split();
        if (index < 0 || index >= static_cast<int>(lines.size())) throw EStringListError(L"List index out of bounds");
        lines.erase(lines.begin() + index);
        Join(lines);
    }
    void Clear() override { memo_.SetText(L""); }
    std::wstring GetText() const override { return memo_.GetText(); }
    void SetText(const std::wstring& text) override {
        // The control wants CR LF line ends.
        std::wstring out;
        for (size_t i = 0; i < text.size(); ++i) {
            if (text[i] == L'\n' && (i == 0 || text[i - 1] != L'\r')) out += L'\r';
            out += text[i];
        }
        memo_.SetText(out);
    }

private:
    std::vector<std::wstring> Split() const {
        std::vector<std::wstring> lines;
        std::wstring text = memo_.GetText();
        std::wstring current;
        for (size_t i = 0; i < text.size(); ++i) {
            wchar_t ch = text[i];
            if (ch == L'\r' || ch == L'\n') {
                lines.push_back(current);
                current.clear();
                if (ch == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') ++i;
            } else {
                current += ch;
            }
        }
        if (!current.empty()) lines.push_back(current);
        return lines;
    }
    void Join(const std::vector<std::wstring>& lines) {
        std::wstring text;
        for (const auto& l : lines) text += l + L"\r\n";
        memo_.SetText(text);
    }
    TCustomMemo& memo_;
};

}  // namespace

VX_IMPLEMENT_CLASS_WITH_PROPERTIES(TCustomMemo, TCustomEdit)
VX_IMPLEMENT_CLASS(TMemo, TCustomMemo)

void TCustomMemo::RegisterProperties(TPropertyRegistrar<TCustomMemo>& r) {
    r.Enumeration(L"ScrollBars", &TCustomMemo::GetScrollBars, &TCustomMemo::SetScrollBars,
                  {L"ssNone", L"ssHorizontal", L"ssVertical", L"ssBoth"})
        .Boolean(L"WordWrap", &TCustomMemo::GetWordWrap, &TCustomMemo::SetWordWrap)
        .Boolean(L"WantReturns", &TCustomMemo::GetWantReturns, &TCustomMemo::SetWantReturns)
        .Object(L"Lines", &TCustomMemo::GetLines);
}

TCustomMemo::TCustomMemo(TComponent* owner) : TCustomEdit(owner), lines_(std::make_unique<TMemoStrings>(*this)) {
    SetBounds(0, 0, 185, 89);
}

TCustomMemo::~TCustomMemo() = default;

void TCustomMemo::CreateParams(TCreateParams& p) {
    TCustomEdit::CreateParams(p);
    p.Style &= ~ES_AUTOHSCROLL;
    p.Style |= ES_MULTILINE | ES_AUTOVSCROLL;
    if (wantReturns_) p.Style |= ES_WANTRETURN;
    if (!wordWrap_ || scrollBars_ == ssHorizontal || scrollBars_ == ssBoth) p.Style |= ES_AUTOHSCROLL;
    if (scrollBars_ == ssVertical || scrollBars_ == ssBoth) p.Style |= WS_VSCROLL;
    if (scrollBars_ == ssHorizontal || scrollBars_ == ssBoth) p.Style |= WS_HSCROLL;
}

void TCustomMemo::SetScrollBars(TScrollStyle value) {
    if (value == scrollBars_) return;
    scrollBars_ = value;
    RecreateWnd();
}

void TCustomMemo::SetWordWrap(bool value) {
    if (value == wordWrap_) return;
    wordWrap_ = value;
    RecreateWnd();
}

// --- Combo box -----------------------------------------------------------------------------------------

VX_IMPLEMENT_CLASS_WITH_PROPERTIES(TCustomComboBox, TWinControl)
VX_IMPLEMENT_CLASS(TComboBox, TCustomComboBox)

void TCustomComboBox::RegisterProperties(TPropertyRegistrar<TCustomComboBox>& r) {
    r.Integer(L"ItemIndex", &TCustomComboBox::GetItemIndex, &TCustomComboBox::SetItemIndex)
        .Enumeration(L"Style", &TCustomComboBox::GetStyle, &TCustomComboBox::SetStyle,
                     {L"csDropDown", L"csSimple", L"csDropDownList"})
        .Integer(L"DropDownCount", &TCustomComboBox::GetDropDownCount, &TCustomComboBox::SetDropDownCount)
        .Object(L"Items", &TCustomComboBox::GetItems, &TCustomComboBox::SetItems);
}

TCustomComboBox::TCustomComboBox(TComponent* owner) : TWinControl(owner), items_(std::make_unique<TStringList>()) {
    SetTabStop(true);
    SetColor(clWindow);
    SetBounds(0, 0, 145, 20);
    items_->OnChange = [this](TObject*) { ItemsChanged(); };
}

TCustomComboBox::~TCustomComboBox() { items_->OnChange = nullptr; }

void TCustomComboBox::SetItems(TStrings* items) {
    if (items && items != items_.get()) items_->Assign(*items);
}

int TCustomComboBox::DroppedHeight() const {
    return (std::abs(GetFont()->GetHeight()) + 4) * std::max(1, dropDownCount_) + 2;
}

void TCustomComboBox::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    CreateSubClass(p, L"COMBOBOX");
    p.Style |= WS_VSCROLL | CBS_AUTOHSCROLL;
    p.Style |= style_ == csDropDownList ? CBS_DROPDOWNLIST : style_ == csSimple ? CBS_SIMPLE : CBS_DROPDOWN;
    if (style_ != csSimple) p.Height = GetHeight() + DroppedHeight();
}

void TCustomComboBox::InitializeWindow() {
    filling_ = true;
    for (int i = 0; i < items_->GetCount(); ++i)
        ::SendMessageW(handle_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(items_->Get(i).c_str()));
    ::SendMessageW(handle_, CB_SETMINVISIBLE, dropDownCount_, 0);
    if (itemIndex_ >= 0) ::SendMessageW(handle_, CB_SETCURSEL, itemIndex_, 0);
    else if (style_ != csDropDownList) ::SetWindowTextW(handle_, text_.c_str());
    filling_ = false;
}

void TCustomComboBox::DestroyWnd() {
    itemIndex_ = GetItemIndex();
    TWinControl::DestroyWnd();
}

void TCustomComboBox::ItemsChanged() {
    if (!HandleAllocated()) {
        if (itemIndex_ >= items_->GetCount()) itemIndex_ = -1;
        return;
    }
    int index = GetItemIndex();
    filling_ = true;
    ::SendMessageW(handle_, CB_RESETCONTENT, 0, 0);
    for (int i = 0; i < items_->GetCount(); ++i)
        ::SendMessageW(handle_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(items_->Get(i).c_str()));
    if (index >= 0 && index < items_->GetCount()) ::SendMessageW(handle_, CB_SETCURSEL, index, 0);
    filling_ = false;
}

int TCustomComboBox::GetItemIndex() const {
    if (handle_) return static_cast<int>(::SendMessageW(handle_, CB_GETCURSEL, 0, 0));
    return itemIndex_;
}

void TCustomComboBox::SetItemIndex(int index) {
    if (index < -1 || index >= items_->GetCount()) index = -1;
    itemIndex_ = index;
    if (HandleAllocated()) ::SendMessageW(GetHandle(), CB_SETCURSEL, index, 0);
    if (index >= 0) text_ = items_->Get(index);
}

std::wstring TCustomComboBox::GetText() const {
    if (!handle_) {
        if (itemIndex_ >= 0 && itemIndex_ < items_->GetCount()) return items_->Get(itemIndex_);
        return text_;
    }
    int length = ::GetWindowTextLengthW(handle_);
    std::wstring s(static_cast<size_t>(length) + 1, L'\0');
    ::GetWindowTextW(handle_, s.data(), length + 1);
    s.resize(static_cast<size_t>(length));
    return s;
}

void TCustomComboBox::SetStyle(TComboBoxStyle style) {
    if (style == style_) return;
    style_ = style;
    RecreateWnd();
}

void TCustomComboBox::SetDropDownCount(int count) {
    dropDownCount_ = std::max(1, count);
    if (HandleAllocated()) {
        ::SendMessageW(GetHandle(), CB_SETMINVISIBLE, dropDownCount_, 0);
        settingBounds_ = true;
        ::SetWindowPos(handle_, nullptr, 0, 0, GetWidth(), GetHeight() + DroppedHeight(),
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        settingBounds_ = false;
    }
}

void TCustomComboBox::SetBounds(int left, int top, int width, int height) {
    TWinControl::SetBounds(left, top, width, height);
    if (HandleAllocated() && style_ != csSimple) {
        // The window's height includes the dropped-down list.
        settingBounds_ = true;
        ::SetWindowPos(handle_, nullptr, left, top, width, height + DroppedHeight(),
                       SWP_NOZORDER | SWP_NOACTIVATE);
        settingBounds_ = false;
    }
}

bool TCustomComboBox::GetDroppedDown() { return ::SendMessageW(GetHandle(), CB_GETDROPPEDSTATE, 0, 0) != 0; }
void TCustomComboBox::SetDroppedDown(bool value) {
    ::SendMessageW(GetHandle(), CB_SHOWDROPDOWN, value ? TRUE : FALSE, 0);
}

void TCustomComboBox::Change() {
    if (OnChange && !IsDestroying()) OnChange(this);
}

void TCustomComboBox::WndProc(TMessage& m) {
    if (m.Msg == CN_COMMAND) {
        if (filling_) return;
        switch (HIWORD(m.WParam)) {
        case CBN_SELCHANGE:
            itemIndex_ = static_cast<int>(::SendMessageW(handle_, CB_GETCURSEL, 0, 0));
            Change();
            break;
        case CBN_EDITCHANGE: Change(); break;
        case CBN_DROPDOWN:
            if (OnDropDown) OnDropDown(this);
            break;
        case CBN_CLOSEUP:
            if (OnCloseUp) OnCloseUp(this);
            break;
        default: break;
        }
        return;
    }
    if (m.Msg == WM_SIZE && style_ != csSimple) {
        // The window reports its closed height; keep it.
        TWinControl::WndProc(m);
        return;
    }
    TWinControl::WndProc(m);
}

// --- Scroll bar ---------------------------------------------------------------------------------------------

VX_IMPLEMENT_CLASS_WITH_PROPERTIES(TScrollBar, TWinControl)

void TScrollBar::RegisterProperties(TPropertyRegistrar<TScrollBar>& r) {
    r.Enumeration(L"Kind", &TScrollBar::GetKind, &TScrollBar::SetKind, {L"sbHorizontal", L"sbVertical"})
        .Integer(L"Min", &TScrollBar::GetMin, &TScrollBar::SetMin)
        .Integer(L"Max", &TScrollBar::GetMax, &TScrollBar::SetMax)
        .Integer(L"Position", &TScrollBar::GetPosition, &TScrollBar::SetPosition)
        .Integer(L"SmallChange", &TScrollBar::GetSmallChange, &TScrollBar::SetSmallChange)
        .Integer(L"LargeChange", &TScrollBar::GetLargeChange, &TScrollBar::SetLargeChange);
}

TScrollBar::TScrollBar(TComponent* owner) : TWinControl(owner) {
    SetTabStop(true);
    SetBounds(0, 0, 121, ::GetSystemMetrics(SM_CYHSCROLL));
}

void TScrollBar::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    CreateSubClass(p, L"SCROLLBAR");
    p.Style |= kind_ == sbHorizontal ? SBS_HORZ : SBS_VERT;
}

void TScrollBar::InitializeWindow() {
    SCROLLINFO si{sizeof(si), SIF_RANGE | SIF_POS, min_, max_, 0, position_, 0};
    ::SetScrollInfo(handle_, SB_CTL, &si, TRUE);
}

void TScrollBar::SetKind(TScrollBarKind kind) {
    if (kind == kind_) return;
    kind_ = kind;
    SetBounds(GetLeft(), GetTop(), GetHeight(), GetWidth());
    RecreateWnd();
}

void TScrollBar::SetParams(int position, int min, int max) {
    if (max < min) max = min;
    position = std::clamp(position, min, max);
    bool changed = position != position_;
    min_ = min;
    max_ = max;
    position_ = position;
    if (HandleAllocated()) InitializeWindow();
    if (changed && OnChange && !IsDestroying()) OnChange(this);
}

void TScrollBar::WndProc(TMessage& m) {
    if (m.Msg == CN_HSCROLL || m.Msg == CN_VSCROLL) {
        int pos = position_;
        switch (LOWORD(m.WParam)) {
        case SB_LINEUP: pos -= smallChange_; break;
        case SB_LINEDOWN: pos += smallChange_; break;
        case SB_PAGEUP: pos -= largeChange_; break;
        case SB_PAGEDOWN: pos += largeChange_; break;
        case SB_THUMBPOSITION:
        case SB_THUMBTRACK: pos = static_cast<short>(HIWORD(m.WParam)); break;
        case SB_TOP: pos = min_; break;
        case SB_BOTTOM: pos = max_; break;
        default: return;
        }
        SetPosition(pos);
        return;
    }
    TWinControl::WndProc(m);
}

}  // namespace vx
