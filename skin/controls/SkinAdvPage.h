#pragma once
// Page controls of another component family (TSkinAdvPage): drawn as the tab control's
// skin draws them (the pane, the Tabs strip's frames, the texts, the tab scroller
// skinned once it shows), except that such a control may carry pictures of its own for
// the tabs: "TabBackGround" for the tabs not selected and "TabBackGroundActive" for the
// selected one. A picture the control holds is stretched over the tab in place of the
// skin's frame (the author of the page control chose it); a tab without one, and every
// tab of a disabled control, shows the skin's frame.

#include "skin/controls/SkinTabs.h"

namespace vx {

class TBitmap;

class TSkinAdvPage : public TSkinTab {
    VX_DECLARE_CLASS(TSkinAdvPage, TSkinTab)
public:
    using TSkinTab::TSkinTab;

    // The control's own picture for a tab drawn with `frame` (null: the skin's frame).
    TBitmap* TabPicture(int frame) const;

protected:
    void DrawTab(HDC dc, const RECT& r, int frame, TTabSide side) override;
};

}  // namespace vx
