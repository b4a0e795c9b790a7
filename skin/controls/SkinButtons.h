#pragma once
// Push buttons drawn from the skin's Buttons element: five state frames side by side
// (normal, pressed, disabled, hot, focused or default) with the caption over them. The
// button is composed off-screen and copied in one piece. The mouse going down is kept
// from the system button, so the skin alone shows the pressed look; the click is
// delivered when the button comes up over it.

#include <functional>

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
    TSkinButtonState CurrentState() const;

protected:
    // The caption in `rect` of `dc`: the first "||" as a line break, one pixel above
    // the centre (DT_CENTER) or stretched across, and the focus rectangle around it.
    void DrawButtonCaption(HDC dc, const RECT& rect, UINT alignment);
    // Delivers the click of a mouse press that ended over the button.
    void ClickButton();

    // Steps shared with the bitmap buttons: the state, the composed face (background and
    // Buttons frame) in `mem`; false when the skin has no Buttons picture.
    bool DrawFace(HDC mem, int width, int height, TSkinButtonState& state, bool honourDefault);
    // The caption colour of the state, resolved, and the font to select (may be null).
    COLORREF CaptionColour(TSkinButtonState state, HFONT& font);
    // Composes the button off-screen and copies it to `rect` of `dc` in one piece: the
    // face of the current state, then `drawOver` on the scratch DC with the state, the
    // caption colour and its font. Nothing is drawn without a face.
    using TDrawOverFace =
        std::function<void(HDC mem, int width, int height, TSkinButtonState state, COLORREF colour, HFONT font)>;
    void ComposeButton(HDC dc, const RECT& rect, bool honourDefault, const TDrawOverFace& drawOver);

    bool multiLine_ = false;
    bool parentBackground_ = false;
};

// Bitmap buttons: the Buttons frame, then a glyph (a frame of the "Glyph" strip, or an
// image of "Images") and the caption laid out by "Layout", "Margin" and "Spacing".
class TSkinBitButton : public TSkinButton {
    VX_DECLARE_CLASS(TSkinBitButton, TSkinButton)
public:
    using TSkinButton::TSkinButton;
    void DrawControl(HDC dc, const RECT& rect) override;

    // The property holding the glyph of other button families ("PngImage"); empty for
    // the framework's "Glyph" strip.
    std::wstring GlyphProperty;

protected:
    // Glyph (frame `glyphFrame` of the strip) and caption over the face already drawn in
    // `rect` of `dc`, in the colour and font of the caption.
    void DrawGlyphAndCaption(HDC dc, const RECT& rect, int glyphFrame, COLORREF colour, HFONT font);
};

// Drop-down buttons: the caption centred left of a 17-pixel arrow area, and a filled
// down-pointing triangle in it.
class TSkinMenuButton : public TSkinButton {
    VX_DECLARE_CLASS(TSkinMenuButton, TSkinButton)
public:
    using TSkinButton::TSkinButton;
    void DrawControl(HDC dc, const RECT& rect) override;
};

// Speed buttons have no window: the object replaces the speed button's message method,
// takes it as its companion (repaints invalidate it on its parent) and paints into the
// device context each paint message brings. State from "Down" and "Enabled", hot from
// the framework's mouse enter and leave notifications, pressed from the left button.
class TSkinSpeedButton : public TSkinBitButton {
    VX_DECLARE_CLASS(TSkinSpeedButton, TSkinBitButton)
public:
    using TSkinBitButton::TSkinBitButton;
    void InitControl(IControlSkinHost* form, const TControlSkinData* data, bool adoptColour,
                     TCanvas* canvas) override;
    bool BeforeMessage(TMessage& message) override;
    void AfterMessage(TMessage& message) override;
    void DrawControl(HDC dc, const RECT& rect) override;

private:
    bool painting_ = false;
};

}  // namespace vx
