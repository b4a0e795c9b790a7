#pragma once
// Tab controls drawn from the skin. TSkinTab: the pane from TabPane with the outline of
// the Tabs element's second picture, and each tab from the five-frame Tabs strip
// (normal, selected, disabled, hot, selected with the focus); the selected tab stands
// out and joins the pane; tabs along the bottom are drawn upside down and tabs along the
// left or right side turned a quarter, their texts written up or down the tab.
// TSkinTabBtn: the tabs of a button-style tab control from the Buttons strip.
// TSkinTabSheet: a page of a page control shows the pane behind it.
//
// When the tabs overflow, the control shows a scroller (an up-down child); it gets an
// up-down skin of its own once the skin's SkinControls include xcSpin.

#include <string>
#include <vector>

#include "skin/controls/RangeRules.h"
#include "skin/controls/SkinControl.h"

namespace vx {

class TSkinTab : public TSkinControl {
    VX_DECLARE_CLASS(TSkinTab, TSkinControl)
public:
    using TSkinControl::TSkinControl;

    bool BeforeMessage(TMessage& message) override;
    void AfterMessage(TMessage& message) override;
    void DrawControl(HDC dc, const RECT& rect) override;

    virtual bool Paints() const;
    int HotItem() const { return hotItem_; }
    // The tabs as the last paint drew them: rectangle and frame.
    struct TTabLook {
        RECT Rect{};
        int Frame = 1;
        std::wstring Text;
    };
    const std::vector<TTabLook>& Tabs() const { return tabs_; }
    RECT PaneRect() const { return paneRect_; }

protected:
    // The picture of one tab in `r` of `dc` (the Tabs strip; turned for the tabs' side).
    virtual void DrawTab(HDC dc, const RECT& r, int frame, TTabSide side);
    virtual int TabFrame(bool selected, bool hot, bool enabled, bool focused) const;
    // The pane (TabPane and the outline); nothing for button tabs.
    virtual void DrawPane(HDC dc, const RECT& pane);
    virtual bool HasPane() const { return true; }
    // A tab's text written along a side tab, centred, in the DC's font turned a quarter.
    void DrawSideText(HDC dc, const std::wstring& text, const RECT& r, TTabSide side, bool focusRect);
    // Gives the tab scroller (an up-down child) an up-down skin once it exists.
    void AttachScroller();

    int hotItem_ = -1;
    std::vector<TTabLook> tabs_;
    RECT paneRect_{};
};

class TSkinTabBtn : public TSkinTab {
    VX_DECLARE_CLASS(TSkinTabBtn, TSkinTab)
public:
    using TSkinTab::TSkinTab;
    bool Paints() const override;

protected:
    void DrawTab(HDC dc, const RECT& r, int frame, TTabSide side) override;
    int TabFrame(bool selected, bool hot, bool enabled, bool focused) const override;
    void DrawPane(HDC dc, const RECT& pane) override {}
    bool HasPane() const override { return false; }
};

class TSkinTabSheet : public TSkinControl {
    VX_DECLARE_CLASS(TSkinTabSheet, TSkinControl)
public:
    using TSkinControl::TSkinControl;
    bool BeforeMessage(TMessage& message) override;
};

}  // namespace vx
