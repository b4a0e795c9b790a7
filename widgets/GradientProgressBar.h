#pragma once
// The gradient progress bar under the file queue: a windowless control that paints a
// diagonal two-colour background, a two-colour gradient over the filled part, the
// percentage as smoothed white text with a black outline, and a one-pixel frame.
// Every paint builds the picture in an off-screen bitmap and copies it in one go.

#include <string>

#include "framework/ComCtrls.h"
#include "framework/Controls.h"
#include "framework/Graphics.h"

namespace vx {

// The bar fills in the directions of the native progress bar: TProgressBarOrientation
// (pbHorizontal, pbVertical) of ComCtrls.h.

enum TColorScheme : unsigned char {
    csCustom, csFluorescent, csDesert, csGrass, csSilver, csSky, csRose, csSun,
    csHackers, csNight, csVelvet, csMetal, csViolet, csToxic
};

// How FillGradient sweeps: one line per column, per row, or per diagonal.
enum TGradientKind { gkColumns, gkRows, gkDiagonal };

class TGradientProgressBar : public TGraphicControl {
    VX_DECLARE_CLASS(TGradientProgressBar, TGraphicControl)
public:
    // Indexes of the five colours for SetIndexedColor.
    static constexpr int ciBorder = 0, ciBackFace = 10, ciBackGrad = 11, ciForeFace = 20, ciForeGrad = 21;

    explicit TGradientProgressBar(TComponent* owner);

    TColor GetColorBorder() const { return colorBorder_; }
    TColor GetBackColorFace() const { return backColorFace_; }
    TColor GetBackColorGrad() const { return backColorGrad_; }
    TColor GetForeColorFace() const { return foreColorFace_; }
    TColor GetForeColorGrad() const { return foreColorGrad_; }
    void SetColorBorder(TColor c) { SetIndexedColor(ciBorder, c); }
    void SetBackColorFace(TColor c) { SetIndexedColor(ciBackFace, c); }
    void SetBackColorGrad(TColor c) { SetIndexedColor(ciBackGrad, c); }
    void SetForeColorFace(TColor c) { SetIndexedColor(ciForeFace, c); }
    void SetForeColorGrad(TColor c) { SetIndexedColor(ciForeGrad, c); }
    // Stores the colour that `index` names (any other index stores nothing), makes the
    // scheme custom and asks for a repaint.
    void SetIndexedColor(int index, TColor color);

    TColorScheme GetColorScheme() const { return colorScheme_; }
    // A named scheme sets all five colours; csCustom keeps them. Repaints either way.
    void SetColorScheme(TColorScheme scheme);

    int GetPosition() const { return position_; }
    // 0 to 100; other values and the current one are ignored. A new position is
    // painted at once, so progress shows even while the main thread is busy.
    void SetPosition(int position);
    int GetStep() const { return step_; }
    void SetStep(int step);
    TProgressBarOrientation GetOrientation() const { return orientation_; }
    void SetOrientation(TProgressBarOrientation orientation);

    // Draws the bar's complete picture into `target`, sized to the client area.
    void Render(TBitmap& target);

    static void RegisterProperties(TPropertyRegistrar<TGradientProgressBar>& r);

protected:
    void Paint() override;

private:
    // Paints right now on the parent's window, outside a paint message.
    void PaintNow();

    TColor colorBorder_ = 0, backColorFace_ = 0, backColorGrad_ = 0, foreColorFace_ = 0, foreColorGrad_ = 0;
    TProgressBarOrientation orientation_ = pbHorizontal;
    TColorScheme colorScheme_ = csCustom;
    int position_ = 0;
    int step_ = 1;
};

// Fills Left/Top/Right/Bottom of `canvas` with n + 1 one-pixel lines whose colours run
// from `startColor` to `endColor` (n = width for columns, height for rows, width +
// height for diagonals); see the implementation for the exact line geometry.
void FillGradient(TCanvas& canvas, int left, int top, int right, int bottom, TColor startColor,
                  TColor endColor, TGradientKind kind);

// Draws `text` eight times larger on a scratch bitmap over a copy of the target's
// background and reduces it, which smooths its edges. With `center`, (x, y) are the
// target's width and height and the text is centred in them; otherwise (x, y) is the
// top-left corner of the text box.
void DrawSmoothText(TCanvas& target, int x, int y, const std::wstring& text, bool center, bool outline,
                    int size, bool bold, TColor textColor, TColor outlineColor);

// Reduces `source` into the dw x dh rectangle of `dest` at (dx, dy) by averaging boxes
// of source pixels. Both bitmaps must be 24 bits per pixel.
void ShrinkBoxFilter(TBitmap& source, TBitmap& dest, int dx, int dy, int dw, int dh);

}  // namespace vx
