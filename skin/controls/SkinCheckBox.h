#pragma once
// Check boxes and radio buttons drawn from the check and radio strips of the skin's
// Buttons element: the face filled with the skin's face colour, the strip frame of the
// control's state beside the caption, the caption in the control's font. A framework
// control is painted by the skin alone (its own painting is skipped) once the skin has
// a strip; a bare window keeps its own look.

#include "skin/controls/PaintRules.h"
#include "skin/controls/SkinControl.h"

namespace vx {

class TBitmap;

class TSkinCheckBox : public TSkinControl {
    VX_DECLARE_CLASS(TSkinCheckBox, TSkinControl)
public:
    using TSkinControl::TSkinControl;

    void InitControl(IControlSkinHost* form, const TControlSkinData* data, bool adoptColour,
                     TCanvas* canvas) override;
    bool BeforeMessage(TMessage& message) override;
    void AfterMessage(TMessage& message) override;
    void DrawControl(HDC dc, const RECT& rect) override;

    // The frame of the strip the next paint shows.
    virtual int CurrentFrame(int stripFrames);
    bool CustomPaint() const { return customPaint_; }

protected:
    // The strip this kind of control is drawn from and its frame count; null when the
    // skin has none.
    virtual TBitmap* Strip(int& frames);

    int checkState_ = 0;
    bool customPaint_ = false;
    bool parentBackground_ = false;
};

// Radio buttons: the radio strip, checked from the "Checked" property (a framework
// control) or the window's check state, in the check box's layout and protocol.
class TSkinRadioButton : public TSkinCheckBox {
    VX_DECLARE_CLASS(TSkinRadioButton, TSkinCheckBox)
public:
    using TSkinCheckBox::TSkinCheckBox;
    int CurrentFrame(int stripFrames) override;

protected:
    TBitmap* Strip(int& frames) override;
};

}  // namespace vx
