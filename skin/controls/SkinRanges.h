#pragma once
// Range controls drawn from the skin: progress bars (the Progress trough with its
// filled bar or ProgressChunk chunks), track bars (the Track channel, ticks in the
// skin's button shadow colour and the TrackbarThumb picture of the thumb's state) and
// up-down controls (the two buttons of the UpDown strip with their glyphs). Each one
// paints the whole control off-screen in place of the control's own painting; the
// control keeps its keyboard and mouse handling. A skin without the pictures a painter
// needs leaves the control its own look.

#include "skin/controls/SkinControl.h"

namespace vx {

class TSkinProgress : public TSkinControl {
    VX_DECLARE_CLASS(TSkinProgress, TSkinControl)
public:
    using TSkinControl::TSkinControl;

    bool BeforeMessage(TMessage& message) override;
    void DrawControl(HDC dc, const RECT& rect) override;

    // The skin has what this painter draws with.
    bool Paints() const;
};

class TSkinTrackBar : public TSkinControl {
    VX_DECLARE_CLASS(TSkinTrackBar, TSkinControl)
public:
    using TSkinControl::TSkinControl;

    bool BeforeMessage(TMessage& message) override;
    void AfterMessage(TMessage& message) override;
    void DrawControl(HDC dc, const RECT& rect) override;

    bool Paints() const;
    // Where the skin draws the thumb now (client coordinates) and its frame.
    RECT ThumbRect() const;
    int ThumbFrame() const;

private:
    bool Vertical() const;
    bool OverThumb(int x, int y) const;
};

class TSkinUpDown : public TSkinControl {
    VX_DECLARE_CLASS(TSkinUpDown, TSkinControl)
public:
    using TSkinControl::TSkinControl;

    bool BeforeMessage(TMessage& message) override;
    void AfterMessage(TMessage& message) override;
    void DrawControl(HDC dc, const RECT& rect) override;

    bool Paints() const;
    // The button under the mouse and the button held down: 1 first, 2 second, 0 none.
    int HotPart() const { return hotPart_; }
    int PressedPart() const { return pressedPart_; }

private:
    bool Horizontal() const;
    int PartAt(LPARAM point) const;
    int hotPart_ = 0;
    int pressedPart_ = 0;
};

}  // namespace vx
