#pragma once
// The standard controls: buttons, check boxes, radio buttons, group boxes, labels,
// edits, memos, combo boxes and scroll bars. Each windowed one is the system control
// of that kind, made as a copy of its window class so that its messages pass through
// the control's message method.

#include <memory>

#include "framework/Controls.h"
#include "framework/ModalResult.h"

namespace vx {

class TButtonControl : public TWinControl {
    VX_DECLARE_CLASS(TButtonControl, TWinControl)
public:
    explicit TButtonControl(TComponent* owner);
};

class TButton : public TButtonControl {
    VX_DECLARE_CLASS(TButton, TButtonControl)
public:
    explicit TButton(TComponent* owner);
    // Sets the form's ModalResult (when this button has one), then OnClick.
    void Click() override;
    bool GetDefault() const { return default_; }
    void SetDefault(bool value);
    bool GetCancel() const { return cancel_; }
    void SetCancel(bool value) { cancel_ = value; }
    TModalResult GetModalResult() const { return modalResult_; }
    void SetModalResult(TModalResult value) { modalResult_ = value; }
    static void RegisterProperties(TPropertyRegistrar<TButton>& r);

protected:
    void CreateParams(TCreateParams& params) override;
    void WndProc(TMessage& message) override;

private:
    bool default_ = false;
    bool cancel_ = false;
    TModalResult modalResult_ = mrNone;
};

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };
// Side of the box on which the caption stands.
enum TLeftRight { taLeftJustifyText, taRightJustifyText };

class TCustomCheckBox : public TButtonControl {
    VX_DECLARE_CLASS(TCustomCheckBox, TButtonControl)
public:
    explicit TCustomCheckBox(TComponent* owner);
    bool GetChecked() const { return state_ == cbChecked; }
    void SetChecked(bool value) { SetState(value ? cbChecked : cbUnchecked); }
    TCheckBoxState GetState() const { return state_; }
    // A change fires OnClick, whoever makes it.
    void SetState(TCheckBoxState state);
    bool GetAllowGrayed() const { return allowGrayed_; }
    void SetAllowGrayed(bool value) { allowGrayed_ = value; }
    TAlignment GetAlignment() const { return alignment_; }
    void SetAlignment(TAlignment value);
    static void RegisterProperties(TPropertyRegistrar<TCustomCheckBox>& r);

protected:
    void CreateParams(TCreateParams& params) override;
    void InitializeWindow() override;
    void WndProc(TMessage& message) override;
    // The next state after a click: unchecked, checked (and grayed when allowed).
    virtual void Toggle();

private:
    TCheckBoxState state_ = cbUnchecked;
    bool allowGrayed_ = false;
    TAlignment alignment_ = taRightJustify;
};

class TCheckBox : public TCustomCheckBox {
    VX_DECLARE_CLASS(TCheckBox, TCustomCheckBox)
public:
    explicit TCheckBox(TComponent* owner) : TCustomCheckBox(owner) {}
};

class TRadioButton : public TButtonControl {
    VX_DECLARE_CLASS(TRadioButton, TButtonControl)
public:
    explicit TRadioButton(TComponent* owner);
    bool GetChecked() const { return checked_; }
    // Checking one clears the other radio buttons of the same parent.
    void SetChecked(bool value);
    static void RegisterProperties(TPropertyRegistrar<TRadioButton>& r);

protected:
    void CreateParams(TCreateParams& params) override;
    void InitializeWindow() override;
    void WndProc(TMessage& message) override;

private:
    bool checked_ = false;
};

class TCustomGroupBox : public TCustomControl {
    VX_DECLARE_CLASS(TCustomGroupBox, TCustomControl)
public:
    explicit TCustomGroupBox(TComponent* owner);

protected:
    void Paint() override;
    void AdjustClientRect(RECT& rect) const override;
    void TextChanged() override;
};

class TGroupBox : public TCustomGroupBox {
    VX_DECLARE_CLASS(TGroupBox, TCustomGroupBox)
public:
    explicit TGroupBox(TComponent* owner) : TCustomGroupBox(owner) {}
};

// A text drawn on the parent. With AutoSize it takes the size of its text; it can
// serve as a link (hand cursor, OnMouseEnter/OnMouseLeave changing its font, OnClick).
class TCustomLabel : public TGraphicControl {
    VX_DECLARE_CLASS(TCustomLabel, TGraphicControl)
public:
    explicit TCustomLabel(TComponent* owner);
    bool GetAutoSize() const { return autoSize_; }
    void SetAutoSize(bool value);
    bool GetTransparent() const { return transparent_; }
    void SetTransparent(bool value);
    TAlignment GetAlignment() const { return alignment_; }
    void SetAlignment(TAlignment value);
    TTextLayout GetLayout() const { return layout_; }
    void SetLayout(TTextLayout value);
    bool GetWordWrap() const { return wordWrap_; }
    void SetWordWrap(bool value);
    bool GetShowAccelChar() const { return showAccelChar_; }
    void SetShowAccelChar(bool value);
    TWinControl* GetFocusControl() const { return focusControl_; }
    void SetFocusControl(TWinControl* control) { focusControl_ = control; }
    void SetBounds(int left, int top, int width, int height) override;
    static void RegisterProperties(TPropertyRegistrar<TCustomLabel>& r);

protected:
    void Paint() override;
    void FontChanged() override;
    void TextChanged() override;
    void Loaded() override;
    void AdjustBounds();
    unsigned DrawFlags() const;

private:
    bool autoSize_ = true;
    bool transparent_ = false;
    TAlignment alignment_ = taLeftJustify;
    TTextLayout layout_ = tlTop;
    bool wordWrap_ = false;
    bool showAccelChar_ = true;
    bool adjusting_ = false;
    TWinControl* focusControl_ = nullptr;
};

class TLabel : public TCustomLabel {
    VX_DECLARE_CLASS(TLabel, TCustomLabel)
public:
    explicit TLabel(TComponent* owner) : TCustomLabel(owner) {}
};

class TCustomEdit : public TWinControl {
    VX_DECLARE_CLASS(TCustomEdit, TWinControl)
public:
    explicit TCustomEdit(TComponent* owner);
    bool GetReadOnly() const { return readOnly_; }
    void SetReadOnly(bool value);
    int GetMaxLength() const { return maxLength_; }
    void SetMaxLength(int value);
    TBorderStyle GetBorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle value);
    wchar_t GetPasswordChar() const { return passwordChar_; }
    void SetPasswordChar(wchar_t value);
    TAlignment GetAlignment() const { return alignment_; }
    void SetAlignment(TAlignment value);
    int GetSelStart();
    void SetSelStart(int value);
    int GetSelLength();
    void SetSelLength(int value);
    void SelectAll();
    void Clear() { SetText(L""); }
    bool GetModified();
    void SetModified(bool value);
    std::wstring GetText() const override;

    // The text was changed (by the user or the program).
    TNotifyEvent OnChange;
    static void RegisterProperties(TPropertyRegistrar<TCustomEdit>& r);

protected:
    void CreateParams(TCreateParams& params) override;
    void InitializeWindow() override;
    void WndProc(TMessage& message) override;
    virtual void Change();

private:
    bool readOnly_ = false;
    int maxLength_ = 0;
    TBorderStyle borderStyle_ = bsSingle;
    wchar_t passwordChar_ = 0;
    TAlignment alignment_ = taLeftJustify;
};

class TEdit : public TCustomEdit {
    VX_DECLARE_CLASS(TEdit, TCustomEdit)
public:
    explicit TEdit(TComponent* owner) : TCustomEdit(owner) {}
};

enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

class TCustomMemo : public TCustomEdit {
    VX_DECLARE_CLASS(TCustomMemo, TCustomEdit)
public:
    explicit TCustomMemo(TComponent* owner);
    ~TCustomMemo() override;
    // The lines of the text (a view of the control's text).
    TStrings* GetLines() const { return lines_.get(); }
    TScrollStyle GetScrollBars() const { return scrollBars_; }
    void SetScrollBars(TScrollStyle value);
    bool GetWordWrap() const { return wordWrap_; }
    void SetWordWrap(bool value);
    bool GetWantReturns() const { return wantReturns_; }
    void SetWantReturns(bool value) { wantReturns_ = value; }
    static void RegisterProperties(TPropertyRegistrar<TCustomMemo>& r);

protected:
    void CreateParams(TCreateParams& params) override;

private:
    std::unique_ptr<TStrings> lines_;
    TScrollStyle scrollBars_ = ssNone;
    bool wordWrap_ = true;
    bool wantReturns_ = true;
};

class TMemo : public TCustomMemo {
    VX_DECLARE_CLASS(TMemo, TCustomMemo)
public:
    explicit TMemo(TComponent* owner) : TCustomMemo(owner) {}
};

enum TComboBoxStyle { csDropDown, csSimple, csDropDownList };

class TCustomComboBox : public TWinControl {
    VX_DECLARE_CLASS(TCustomComboBox, TWinControl)
public:
    explicit TCustomComboBox(TComponent* owner);
    ~TCustomComboBox() override;
    TStrings* GetItems() const { return items_.get(); }
    void SetItems(TStrings* items);
    int GetItemIndex() const;
    // Selects an item without firing OnChange.
    void SetItemIndex(int index);
    TComboBoxStyle GetStyle() const { return style_; }
    void SetStyle(TComboBoxStyle style);
    int GetDropDownCount() const { return dropDownCount_; }
    void SetDropDownCount(int count);
    bool GetDroppedDown();
    void SetDroppedDown(bool value);
    std::wstring GetText() const override;
    void SetBounds(int left, int top, int width, int height) override;

    // The user changed the selection or typed into the field (never the program).
    TNotifyEvent OnChange;
    TNotifyEvent OnDropDown;
    TNotifyEvent OnCloseUp;
    static void RegisterProperties(TPropertyRegistrar<TCustomComboBox>& r);

protected:
    void CreateParams(TCreateParams& params) override;
    void InitializeWindow() override;
    void DestroyWnd() override;
    void WndProc(TMessage& message) override;
    virtual void Change();

private:
    void ItemsChanged();
    int DroppedHeight() const;

    std::unique_ptr<TStringList> items_;
    int itemIndex_ = -1;
    TComboBoxStyle style_ = csDropDown;
    int dropDownCount_ = 8;
    bool filling_ = false;
};

class TComboBox : public TCustomComboBox {
    VX_DECLARE_CLASS(TComboBox, TCustomComboBox)
public:
    explicit TComboBox(TComponent* owner) : TCustomComboBox(owner) {}
};

enum TScrollBarKind { sbHorizontal, sbVertical };

class TScrollBar : public TWinControl {
    VX_DECLARE_CLASS(TScrollBar, TWinControl)
public:
    explicit TScrollBar(TComponent* owner);
    TScrollBarKind GetKind() const { return kind_; }
    void SetKind(TScrollBarKind kind);
    int GetMin() const { return min_; }
    void SetMin(int v) { SetParams(position_, v, max_); }
    int GetMax() const { return max_; }
    void SetMax(int v) { SetParams(position_, min_, v); }
    int GetPosition() const { return position_; }
    void SetPosition(int v) { SetParams(v, min_, max_); }
    int GetSmallChange() const { return smallChange_; }
    void SetSmallChange(int v) { smallChange_ = v; }
    int GetLargeChange() const { return largeChange_; }
    void SetLargeChange(int v) { largeChange_ = v; }
    void SetParams(int position, int min, int max);

    TNotifyEvent OnChange;
    static void RegisterProperties(TPropertyRegistrar<TScrollBar>& r);

protected:
    void CreateParams(TCreateParams& params) override;
    void InitializeWindow() override;
    void WndProc(TMessage& message) override;

private:
    TScrollBarKind kind_ = sbHorizontal;
    int min_ = 0, max_ = 100, position_ = 0, smallChange_ = 1, largeChange_ = 1;
};

// Draws text with an "&" accelerator as the system does (used by several controls).
unsigned TextAlignFlags(TAlignment alignment);

}  // namespace vx
