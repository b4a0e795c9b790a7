#pragma once
// Push buttons drawn from the skin's Buttons element: five state frames side by side
// (normal, pressed, disabled, hot, focused or default) with the caption over them. The
// button is composed off-screen and copied in one piece. The mouse going down is kept
// from the system button, so the skin alone shows the pressed look; the click is
// delivered when the button comes up over it.

#include "skin/controls/PaintRules.h"
#include "skin/controls/SkinControl.h"

namespace vx {

class TSkinButton : public TSkinControl {
    VX_DECLARE_CLASS(TSkinButton, TSkinControl)
public:
    using TSkinControl::TSkinControl;

    void InitControl(IControlSkinHost* form, const TControlSkinData* data, bool adoptColour,
                     TCanvas* canvas) override;
    bool BeforeMessage(TMessage& message) override;
    void AfterMessage(TMessage& message) override;
    void DrawControl(HDC dc, const RECT& rect) override;

    // The state the next paint shows.
    TButtonState CurrentState() const;

protected:
    // The caption in `rect` of `dc`: the first "||" as a line break, one pixel above
    // the centre (DT_CENTER) or stretched across, and the focus rectangle around it.
    void DrawButtonCaption(HDC dc, const RECT& rect, UINT alignment);
    // Delivers the click of a mouse press that ended over the button.
    void ClickButton();

    bool multiLine_ = false;
    bool parentBackground_ = false;
};

}  // namespace vx
