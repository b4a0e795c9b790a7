#pragma once
// Header controls (the column header of a list view) drawn from the skin's Headerbar
// element: each item on its own frame (2 while the pointer is over it, else 1) with
// its image and caption, and the width right of the last item in frame 1. The header's
// own painting is skipped.

#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "skin/controls/PaintRules.h"
#include "skin/controls/SkinControl.h"

namespace vx {

class TSkinHeader : public TSkinControl {
    VX_DECLARE_CLASS(TSkinHeader, TSkinControl)
public:
    using TSkinControl::TSkinControl;

    void InitControl(IControlSkinHost* form, const TControlSkinData* data, bool adoptColour,
                     TCanvas* canvas) override;
    void InitWindow(HWND window, const TControlSkinData* data, IControlSkinHost* form, TCanvas* canvas) override;
    bool BeforeMessage(TMessage& message) override;
    void AfterMessage(TMessage& message) override;
    void DrawControl(HDC dc, const RECT& rect) override;

    // The item under the pointer, or -1.
    int HotItem() const { return hotItem_; }

private:
    bool HasHeaderbar() const;
    void DrawItem(HDC dc, int index, const RECT& item, HIMAGELIST images);

    int hotItem_ = -1;
    std::vector<TLayoutRect> itemRects_;
};

}  // namespace vx
