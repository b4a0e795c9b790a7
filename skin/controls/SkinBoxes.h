#pragma once
// Containers: panels and other boxes (TSkinBox, only recoloured), nested dialogs and
// tool-bar windows of foreign windows (TSkinBoxH, their background in the skin's face),
// and group boxes (TSkinGroupBox, frame and caption in the skin's colours).

#include "skin/controls/SkinControl.h"

namespace vx {

// A panel keeps its own painting and message handling: the object only gives it the
// skin's face colour (when asked to adopt it, as for panels) and takes it back.
class TSkinBox : public TSkinControl {
    VX_DECLARE_CLASS(TSkinBox, TSkinControl)
public:
    using TSkinControl::TSkinControl;
    void InitControl(IControlSkinHost* form, const TControlSkinData* data, bool adoptColour,
                     TCanvas* canvas) override;
    void AfterMessage(TMessage&) override {}
    void RestoreControl() override;
};

// A nested dialog or a tool bar in a window of other code: its background, and the
// background of the texts and buttons it colours, is the skin's face.
class TSkinBoxH : public TSkinControl {
    VX_DECLARE_CLASS(TSkinBoxH, TSkinControl)
public:
    using TSkinControl::TSkinControl;
    bool BeforeMessage(TMessage& message) override;
};

// A group box: the skin's face behind everything, a frame of the skin's shadow colour
// with a white line inside it, and the caption on a gap of the face colour at the top.
// The object paints the whole client area and then the control's windowless children.
class TSkinGroupBox : public TSkinControl {
    VX_DECLARE_CLASS(TSkinGroupBox, TSkinControl)
public:
    using TSkinControl::TSkinControl;
    bool BeforeMessage(TMessage& message) override;
    void AfterMessage(TMessage& message) override;
    void DrawControl(HDC dc, const RECT& rect) override;

    // Where the frame runs: from half the caption's height down (the client rectangle
    // otherwise).
    RECT FrameArea(HDC dc, const RECT& rect) const;

private:
    void PaintInto(HDC dc);
    HFONT Font() const;
};

}  // namespace vx
