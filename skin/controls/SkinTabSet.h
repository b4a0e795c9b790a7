#pragma once
// Tab sets drawn from the skin (TSkinTab31): the tabs hang from the control's top edge
// side by side, each a frame of the Tabs strip turned upside down (normal, selected,
// disabled, hot, selected with the focus), the selected tab taller and on top, the text
// centred in the Tabs element's colours. The tabs come from the control's "Tabs"
// string list and "TabIndex" property. The skin lays the tabs out itself, so it also
// answers the press on a tab: it sets "TabIndex" to the tab under the pointer, and the
// control's own mouse handling never sees the press.

#include <vector>

#include "skin/controls/RangeRules.h"
#include "skin/controls/SkinControl.h"

namespace vx {

class TSkinTab31 : public TSkinControl {
    VX_DECLARE_CLASS(TSkinTab31, TSkinControl)
public:
    using TSkinControl::TSkinControl;

    bool BeforeMessage(TMessage& message) override;
    void AfterMessage(TMessage& message) override;
    void DrawControl(HDC dc, const RECT& rect) override;

    // The skin has the Tabs strip and the control publishes its tabs.
    bool Paints() const;
    int HotItem() const { return hotItem_; }
    // The tabs as the last paint laid them out (client coordinates).
    const std::vector<TLayoutRect>& TabRects() const { return rects_; }

private:
    std::vector<std::wstring> TabTexts() const;
    // Lays the tabs out for the control's font and size now.
    void Layout(HDC dc);
    int TabAt(int x, int y);

    int hotItem_ = -1;
    std::vector<TLayoutRect> rects_;
};

}  // namespace vx
