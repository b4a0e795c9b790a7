#pragma once
// Date-time pickers drawn from the skin: a one-pixel border in the skin's button shadow
// colour (the rest of the control's border in its own background colour), and over the
// picker's drop-down button a companion arrow button drawn from the ComboxArrow strip
// on the skin's face colour. The arrow hands its press to the picker, which drops its
// calendar down as if its own button had been pressed. A picker that shows an up-down
// instead of the drop-down button (the time kind) has that up-down skinned when the
// skin's SkinControls include xcSpin.

#include "framework/Controls.h"
#include "skin/controls/SkinControl.h"

namespace vx {

class TSkinDateTime;

// The drop-down arrow over a date-time picker's own button. It is a child of the
// picker and owned by the picker's skin object.
class TArrowButton : public TCustomControl {
    VX_DECLARE_CLASS(TArrowButton, TCustomControl)
public:
    TArrowButton(TSkinDateTime* owner, TWinControl* picker);

    // The frame of the ComboxArrow strip the next paint shows.
    int CurrentFrame() const;
    bool Hot() const { return hot_; }
    bool Pressed() const { return pressed_; }

protected:
    void Paint() override;
    void WndProc(TMessage& message) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

private:
    friend class TSkinDateTime;
    TSkinDateTime* skin_;
    TWinControl* picker_;
    bool hot_ = false;
    bool pressed_ = false;
};

class TSkinDateTime : public TSkinControl {
    VX_DECLARE_CLASS(TSkinDateTime, TSkinControl)
public:
    using TSkinControl::TSkinControl;

    void InitControl(IControlSkinHost* form, const TControlSkinData* data, bool adoptColour,
                     TCanvas* canvas) override;
    bool BeforeMessage(TMessage& message) override;
    void AfterMessage(TMessage& message) override;
    void DrawControl(HDC dc, const RECT& rect) override;
    // Hover is shown while the picker is enabled and its calendar is not down.
    bool CanShowHover() override;

    TArrowButton* Arrow() const { return arrow_; }
    bool DroppedDown() const { return droppedDown_; }
    const TControlSkinData* Data() const { return skinData_; }

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    friend class TArrowButton;
    void PlaceArrow();
    void AttachUpDown();
    TArrowButton* arrow_ = nullptr;
    bool droppedDown_ = false;
};

}  // namespace vx
