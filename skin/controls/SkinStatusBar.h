#pragma once
// Status bars drawn from the skin: the StatusBarEdges strip gives the bar (frame 1),
// each panel's sunken field (frame 2) and the size grip's corner (frame 3; a skin whose
// strip lacks it shows the first ExtraImages picture there). Panel texts are drawn in
// the bar's font with the alignment their leading tabs ask for. The whole bar is
// composed off-screen in place of the control's own painting.

#include <string>
#include <vector>

#include "skin/controls/SkinControl.h"

namespace vx {

class TSkinStatusBar : public TSkinControl {
    VX_DECLARE_CLASS(TSkinStatusBar, TSkinControl)
public:
    using TSkinControl::TSkinControl;

    bool BeforeMessage(TMessage& message) override;
    void AfterMessage(TMessage& message) override;
    void DrawControl(HDC dc, const RECT& rect) override;

    bool Paints() const;
    // One panel as the last paint drew it.
    struct TPanel {
        RECT Rect{};
        std::wstring Text;
        bool Framed = true;
    };
    const std::vector<TPanel>& Panels() const { return panels_; }
    // The size grip's corner at the last paint (empty without a grip).
    RECT GripRect() const { return gripRect_; }

private:
    // The panels of the control now: one across the bar for the simple panel.
    std::vector<TPanel> ReadPanels(const RECT& client, int gripLeft) const;
    std::vector<TPanel> panels_;
    RECT gripRect_{};
};

}  // namespace vx
