#include "skin/controls/SkinCheckBox.h"

#include <algorithm>

#include "framework/Controls.h"
#include "framework/Graphics.h"
#include "framework/Handles.h"
#include "skin/data/ElementDraw.h"
#include "skin/data/SkinModel.h"

namespace vx {

VX_IMPLEMENT_CLASS(TSkinCheckBox, TSkinControl)
VX_IMPLEMENT_CLASS(TSkinRadioButton, TSkinCheckBox)

namespace {

RECT ToRect(const TLayoutRect& r) { return RECT{r.Left, r.Top, r.Right, r.Bottom}; }

bool HasEnumProperty(const TObject* object, const wchar_t* name) {
    const TPropInfo* p = GetPropInfo(object, name);
    return p && p->Kind == TPropKind::Enumeration;
}

}  // namespace

void TSkinCheckBox::InitControl(IControlSkinHost* form, const TControlSkinData* data, bool adoptColour,
                                TCanvas* canvas) {
    const bool first = !initialised_;
    TSkinControl::InitControl(form, data, adoptColour, canvas);
    if (!first || !control_) return;
    checkState_ = 0;
    int frames = 0;
    customPaint_ = Strip(frames) != nullptr;
    parentBackground_ = control_->GetTag() == 5555 || HasOption(skinrules::xoTransparent);
}

TBitmap* TSkinCheckBox::Strip(int& frames) {
    TSkinModel* skin = skinData_ ? skinData_->Model : nullptr;
    if (!skin || skin->Buttons.CheckBitmap.GetEmpty()) return nullptr;
    frames = skin->Buttons.CheckButtonFrame;
    return &skin->Buttons.CheckBitmap;
}

TBitmap* TSkinRadioButton::Strip(int& frames) {
    TSkinModel* skin = skinData_ ? skinData_->Model : nullptr;
    if (!skin || skin->Buttons.RadioBitmap.GetEmpty()) return nullptr;
    frames = skin->Buttons.RadioButtonFrame;
    return &skin->Buttons.RadioBitmap;
}

bool TSkinCheckBox::BeforeMessage(TMessage& message) {
    if (!TSkinControl::BeforeMessage(message)) return false;
    switch (message.Msg) {
    case WM_PAINT:
    case WM_PRINTCLIENT:
        if (!customPaint_) return true;
        PaintClient(message);
        return false;
    case WM_ERASEBKGND:
        if (!parentBackground_) return true;
        PaintParentInto(control_, reinterpret_cast<HDC>(message.WParam));
        message.Result = 1;
        return false;
    default:
        return true;
    }
}

void TSkinCheckBox::AfterMessage(TMessage& message) {
    switch (message.Msg) {
    case BM_SETCHECK:
        checkState_ = static_cast<int>(message.WParam) + 1;
        Repaint();
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case CM_EXIT:
    case CM_CHECKSTATECHANGED:
        Repaint();
        break;
    default:
        TSkinControl::AfterMessage(message);
        break;
    }
}

int TSkinCheckBox::CurrentFrame(int stripFrames) {
    TCheckInputs in;
    in.ButtonState = static_cast<unsigned>(::SendMessageW(window_, BM_GETSTATE, 0, 0));
    in.Framework = control_ != nullptr;
    if (control_) {
        in.HasStateProperty = HasEnumProperty(control_, L"State");
        if (in.HasStateProperty) in.StateName = LowerAscii(ReadEnumProperty(control_, L"State"));
        in.HasCheckedProperty = HasEnumProperty(control_, L"Checked");
        if (in.HasCheckedProperty) in.CheckedName = LowerAscii(ReadEnumProperty(control_, L"Checked"));
        in.HasDataField = GetPropInfo(control_, L"DataField") != nullptr;
        in.HasDataBinding = GetPropInfo(control_, L"DataBinding") != nullptr;
    }
    in.CheckState = checkState_;
    in.Disabled = (WindowLong(window_, GWL_STYLE) & WS_DISABLED) != 0;
    in.StripFrames = stripFrames;
    return CheckBoxFrame(in);
}

int TSkinRadioButton::CurrentFrame(int stripFrames) {
    bool checked = (::SendMessageW(window_, BM_GETCHECK, 0, 0) & BST_CHECKED) != 0;
    if (control_ && HasEnumProperty(control_, L"Checked"))
        checked = LowerAscii(ReadEnumProperty(control_, L"Checked")) == L"true";
    const bool disabled = (WindowLong(window_, GWL_STYLE) & WS_DISABLED) != 0;
    return RadioButtonFrame(checked, disabled, stripFrames);
}

void TSkinCheckBox::DrawControl(HDC dc, const RECT& rect) {
    int n = 0;
    TBitmap* strip = Strip(n);
    if (!strip) {
        customPaint_ = false;
        return;
    }
    n = std::max(n, 1);
    const int w = strip->GetWidth() / n;
    const int h = strip->GetHeight();
    const int k = CurrentFrame(n);

    const LONG_PTR style = WindowLong(window_, GWL_STYLE);
    enabled_ = !(style & WS_DISABLED);
    focused_ = ::GetFocus() == window_;
    const bool leftText = (style & BS_LEFTTEXT) != 0;
    const bool rtl = control_ && control_->UseRightToLeftReading();
    const TCheckLayout layout =
        CheckBoxLayout(TLayoutRect{rect.left, rect.top, rect.right, rect.bottom}, w, h, leftText);
    const UINT flags = CheckTextFlags(rtl, leftText);

    if (customPaint_ && !parentBackground_) FillFace(dc, rect);
    DrawFrame(dc, ToRect(layout.Glyph), *strip, true, n, k);
    if (!customPaint_) return;

    caption_ = control_ ? ReadTextProperty(control_, L"Caption") : ReadWindowText(window_);
    TSavedDC saved(dc);  // font, colours and mode come back
    HFONT font = nullptr;
    TColour colour = Skin() ? Skin()->ButtonTextColour : SystemColourRef(COLOR_BTNTEXT);
    if (auto* f = static_cast<TFont*>(ReadObjectProperty(control_, L"Font", TFont::StaticClass()))) {
        font = f->GetHandle();
        colour = f->GetColor();
    } else {
        font = reinterpret_cast<HFONT>(::SendMessageW(window_, WM_GETFONT, 0, 0));
    }
    TSelectObject selectFont(dc, font);
    ::SetTextColor(dc, ResolveColour(enabled_ ? colour : SystemColourRef(COLOR_BTNSHADOW)));
    ::SetBkMode(dc, TRANSPARENT);
    RECT text = ToRect(layout.Text);
    RECT measured = text;
    DrawTextWide(dc, caption_, measured, flags | DT_CALCRECT | DT_NOCLIP | DT_EXPANDTABS | DT_WORDBREAK);
    ::OffsetRect(&text, 0, CentreTextOffset(text.bottom - text.top, measured.bottom - measured.top));
    if (focused_ && !caption_.empty()) DrawTextFocus(dc, flags | DT_EXPANDTABS | DT_WORDBREAK, text);
    DrawTextWide(dc, caption_, text, flags | DT_EXPANDTABS | DT_WORDBREAK);
}

}  // namespace vx
