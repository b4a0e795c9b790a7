#pragma once
// Media players drawn from the skin (TSkinMP). A companion panel (TWMediaPlayer) lies
// over the whole player and shows its visible buttons side by side, each a frame of the
// skin's Buttons strip (normal, pressed, disabled, hot) with the button's glyph in the
// middle. The glyph is the program's bitmap resource named after the look and the
// button ("MPCOLOR_PLAY", "MP_STOP", "MPDISABLED_EJECT"); without one it is drawn as a
// shape (a triangle for play, two bars for pause ...): in the button's own colour when
// the button is coloured, the Buttons text colour when plain, the shadow colour when
// disabled. The player's "VisibleButtons", "EnabledButtons" and "ColoredButtons" are
// read by name (a set "[btPlay,btStop]" as text, or a mask of bits as a number); a
// missing one means every button.
//
// The companion lets the mouse through to the player (it answers the hit test as
// transparent), so the player handles its presses itself; the skin only follows them
// for the pressed and hot looks.

#include <vector>

#include "framework/ExtCtrls.h"
#include "skin/controls/PlayerRules.h"
#include "skin/controls/SkinControl.h"

namespace vx {

class TSkinMP;

class TWMediaPlayer : public TCustomPanel {
    VX_DECLARE_CLASS(TWMediaPlayer, TCustomPanel)
public:
    TWMediaPlayer(TSkinMP* owner, TWinControl* player);

protected:
    void Paint() override;
    void WndProc(TMessage& message) override;

private:
    TSkinMP* skin_;
};

class TSkinMP : public TSkinControl {
    VX_DECLARE_CLASS(TSkinMP, TSkinControl)
public:
    using TSkinControl::TSkinControl;

    void InitControl(IControlSkinHost* form, const TControlSkinData* data, bool adoptColour,
                     TCanvas* canvas) override;
    void RestoreControl() override;
    void AfterMessage(TMessage& message) override;
    void DrawControl(HDC dc, const RECT& rect) override;

    // The skin has the Buttons strip.
    bool Paints() const;
    TWMediaPlayer* Panel() const { return panel_; }
    int HotButton() const { return hot_; }
    int PressedButton() const { return pressed_; }
    // A button set the player publishes under `name`; every button when it has none.
    TPlayerButtonSet ButtonSet(std::wstring_view name) const;
    // The buttons as the player's size and visible set place them now.
    std::vector<TPlayerButtonRect> ButtonRects() const;
    // The Buttons frame a button shows now.
    int ButtonFrame(int button) const;

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    void DrawGlyph(HDC dc, const RECT& r, int button, TPlayerGlyphLook look);
    void PlacePanel();

    TWMediaPlayer* panel_ = nullptr;
    int hot_ = -1;
    int pressed_ = -1;
};

}  // namespace vx
