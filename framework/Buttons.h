#pragma once
// Picture buttons: the speed button (windowless, painted by the framework, with flat
// and grouped "down" modes) and the bitmap button (a push button drawn with a glyph).

#include <functional>
#include <memory>

#include "framework/Controls.h"
#include "framework/StdCtrls.h"

namespace vx {

enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
enum TButtonState { bsUp, bsDisabled, bsDown, bsExclusive };
enum TBitBtnKind { bkCustom, bkOK, bkCancel, bkHelp, bkYes, bkNo, bkClose, bkAbort, bkRetry, bkIgnore, bkAll };

// Lays out and draws a glyph (frame `frame` of `numGlyphs` side by side; the
// bottom-left pixel's colour is transparent) and a caption inside `client`.
void DrawButtonGlyphAndText(HDC dc, const RECT& client, TBitmap* glyph, int numGlyphs, int frame,
                            const std::wstring& caption, TButtonLayout layout, int margin, int spacing, bool enabled,
                            TColor textColor, bool rightToLeft);

// A glyph button's picture and its place beside the caption: a strip of up to four
// frames (up, disabled, down, held down) with its layout, margin and spacing. Every
// change, the strip's own included, calls OnChange so that the owning button repaints.
class TButtonGlyph {
public:
    TButtonGlyph();
    ~TButtonGlyph();
    TButtonGlyph(const TButtonGlyph&) = delete;
    TButtonGlyph& operator=(const TButtonGlyph&) = delete;

    TBitmap* GetGlyph() const { return glyph_.get(); }
    // Copies the picture; a strip of square frames also sets the frame count.
    void SetGlyph(TBitmap* glyph);
    int GetNumGlyphs() const { return numGlyphs_; }
    void SetNumGlyphs(int value);
    TButtonLayout GetLayout() const { return layout_; }
    void SetLayout(TButtonLayout value);
    int GetMargin() const { return margin_; }
    void SetMargin(int value);
    int GetSpacing() const { return spacing_; }
    void SetSpacing(int value);
    // Draws frame `frame` (the up frame where the strip has fewer) and the caption.
    void Draw(HDC dc, const RECT& client, int frame, const std::wstring& caption, bool enabled, TColor textColor,
              bool rightToLeft) const;

    std::function<void()> OnChange;

private:
    void Changed();
    std::unique_ptr<TBitmap> glyph_;
    int numGlyphs_ = 1, margin_ = -1, spacing_ = 4;
    TButtonLayout layout_ = blGlyphLeft;
};

class TSpeedButton : public TGraphicControl {
    VX_DECLARE_CLASS(TSpeedButton, TGraphicControl)
public:
    explicit TSpeedButton(TComponent* owner);

    bool GetFlat() const { return flat_; }
    void SetFlat(bool value);
    bool GetDown() const { return down_; }
    // Down in a group releases the group's other buttons.
    void SetDown(bool value);
    int GetGroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int value) { groupIndex_ = value; }
    bool GetAllowAllUp() const { return allowAllUp_; }
    void SetAllowAllUp(bool value) { allowAllUp_ = value; }
    TBitmap* GetGlyph() const { return glyph_.GetGlyph(); }
    void SetGlyph(TBitmap* glyph) { glyph_.SetGlyph(glyph); }
    int GetNumGlyphs() const { return glyph_.GetNumGlyphs(); }
    void SetNumGlyphs(int value) { glyph_.SetNumGlyphs(value); }
    TButtonLayout GetLayout() const { return glyph_.GetLayout(); }
    void SetLayout(TButtonLayout value) { glyph_.SetLayout(value); }
    int GetMargin() const { return glyph_.GetMargin(); }
    void SetMargin(int value) { glyph_.SetMargin(value); }
    int GetSpacing() const { return glyph_.GetSpacing(); }
    void SetSpacing(int value) { glyph_.SetSpacing(value); }
    bool GetTransparent() const { return transparent_; }
    void SetTransparent(bool value);
    // The state being drawn: up, disabled, pressed (down) or held down (exclusive).
    TButtonState State() const;
    void Click() override;
    static void RegisterProperties(TPropertyRegistrar<TSpeedButton>& r);

protected:
    void Paint() override;
    void WndProc(TMessage& message) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;

private:
    TButtonGlyph glyph_;
    bool flat_ = false, down_ = false, allowAllUp_ = false, transparent_ = true;
    bool pressed_ = false, dragging_ = false, mouseIn_ = false;
    int groupIndex_ = 0;
};

class TBitBtn : public TButton {
    VX_DECLARE_CLASS(TBitBtn, TButton)
public:
    explicit TBitBtn(TComponent* owner);
    TBitmap* GetGlyph() const { return glyph_.GetGlyph(); }
    void SetGlyph(TBitmap* glyph) { glyph_.SetGlyph(glyph); }
    int GetNumGlyphs() const { return glyph_.GetNumGlyphs(); }
    void SetNumGlyphs(int value) { glyph_.SetNumGlyphs(value); }
    TButtonLayout GetLayout() const { return glyph_.GetLayout(); }
    void SetLayout(TButtonLayout value) { glyph_.SetLayout(value); }
    int GetMargin() const { return glyph_.GetMargin(); }
    void SetMargin(int value) { glyph_.SetMargin(value); }
    int GetSpacing() const { return glyph_.GetSpacing(); }
    void SetSpacing(int value) { glyph_.SetSpacing(value); }
    TBitBtnKind GetKind() const { return kind_; }
    // A standard kind also sets the caption, the modal result and Default/Cancel.
    void SetKind(TBitBtnKind kind);
    static void RegisterProperties(TPropertyRegistrar<TBitBtn>& r);

protected:
    void CreateParams(TCreateParams& params) override;
    void WndProc(TMessage& message) override;

private:
    void DrawItem(const DRAWITEMSTRUCT& dis);
    TButtonGlyph glyph_;
    TBitBtnKind kind_ = bkCustom;
    bool hot_ = false;
};

}  // namespace vx
