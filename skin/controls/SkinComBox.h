#pragma once
// Combo boxes drawn from the skin: the sunken edge around the control and the
// drop-down button in the state of the control (normal, hot, pressed, disabled, focused
// showing as hot), with the arrow picture centred on it. The text area is left to the
// control. With the skin's composite combo strip (ComboButton of style 2) one frame of
// it covers edge and button together; style 1 is a flat look. The scroll bars of the
// drop-down list are skinned too (TComboxScrollBar). A simple combo box (no button, the
// list always shown) gets the sunken edge around its text field.

#include <memory>

#include "skin/controls/PaintRules.h"
#include "skin/controls/SkinControl.h"
#include "skin/controls/SkinScrollbar.h"

namespace vx {

class TSkinComBox : public TSkinControl {
    VX_DECLARE_CLASS(TSkinComBox, TSkinControl)
public:
    using TSkinControl::TSkinControl;
    ~TSkinComBox() override;

    void InitControl(IControlSkinHost* form, const TControlSkinData* data, bool adoptColour,
                     TCanvas* canvas) override;
    void InitWindow(HWND window, const TControlSkinData* data, IControlSkinHost* form, TCanvas* canvas) override;
    void AfterMessage(TMessage& message) override;
    void DrawControl(HDC dc, const RECT& rect) override;
    void RefreshSkin() override;

    // Set before attaching: the extended combo box of the dispatcher.
    bool ExtendedMode = false;

    // The drop-down button as last painted or reported (window coordinates).
    RECT ButtonRect() const { return buttonRect_; }
    // The skin object of the drop-down list's scroll bars, or null.
    TComboxScrollBar* ListScrollBar() const { return listBar_.get(); }

private:
    void AttachList();
    bool Enabled() const;
    void DrawFlat(HDC dc, const RECT& rect, const TComboLayout& layout, int frame);
    // A simple combo box (its list always shown): the text field's edge only.
    void DrawSimple(HDC dc, const RECT& rect);

    LONG_PTR style_ = 0;
    LONG_PTR exStyle_ = 0;
    RECT buttonRect_{};
    // Owned here: the list goes with the combo box.
    std::unique_ptr<TComboxScrollBar> listBar_;
};

}  // namespace vx
