#pragma once
// Panels, bevels, pictures, radio groups and timers.

#include <memory>
#include <vector>

#include "framework/Controls.h"
#include "framework/Graphics.h"
#include "framework/StdCtrls.h"

namespace vx {

enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };

class TCustomPanel : public TCustomControl {
    VX_DECLARE_CLASS(TCustomPanel, TCustomControl)
public:
    explicit TCustomPanel(TComponent* owner);
    TBevelCut GetBevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TBevelCut value);
    TBevelCut GetBevelInner() const { return bevelInner_; }
    void SetBevelInner(TBevelCut value);
    int GetBevelWidth() const { return bevelWidth_; }
    void SetBevelWidth(int value);
    TBorderStyle GetBorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle value);
    TAlignment GetAlignment() const { return alignment_; }
    void SetAlignment(TAlignment value);
    static void RegisterProperties(TPropertyRegistrar<TCustomPanel>& r);

protected:
    void CreateParams(TCreateParams& params) override;
    void Paint() override;
    void AdjustClientRect(RECT& rect) const override;

private:
    TBevelCut bevelOuter_ = bvRaised;
    TBevelCut bevelInner_ = bvNone;
    int bevelWidth_ = 1;
    TBorderStyle borderStyle_ = bsNone;
    TAlignment alignment_ = taCenter;
};

class TPanel : public TCustomPanel {
    VX_DECLARE_CLASS(TPanel, TCustomPanel)
public:
    explicit TPanel(TComponent* owner) : TCustomPanel(owner) {}
};

enum TBevelShape { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer };
enum TBevelStyle { bsLowered, bsRaised };

class TBevel : public TGraphicControl {
    VX_DECLARE_CLASS(TBevel, TGraphicControl)
public:
    explicit TBevel(TComponent* owner);
    TBevelShape GetShape() const { return shape_; }
    void SetShape(TBevelShape value);
    TBevelStyle GetStyle() const { return style_; }
    void SetStyle(TBevelStyle value);
    static void RegisterProperties(TPropertyRegistrar<TBevel>& r);

protected:
    void Paint() override;

private:
    TBevelShape shape_ = bsBox;
    TBevelStyle style_ = bsLowered;
};

class TImage : public TGraphicControl {
    VX_DECLARE_CLASS(TImage, TGraphicControl)
public:
    explicit TImage(TComponent* owner);
    ~TImage() override;
    TPicture* GetPicture() const { return picture_.get(); }
    void SetPicture(TPicture* picture);
    bool GetStretch() const { return stretch_; }
    void SetStretch(bool value);
    bool GetCenter() const { return center_; }
    void SetCenter(bool value);
    bool GetProportional() const { return proportional_; }
    void SetProportional(bool value);
    bool GetTransparent() const { return transparent_; }
    void SetTransparent(bool value);
    bool GetAutoSize() const { return autoSize_; }
    void SetAutoSize(bool value);
    // Where the picture is drawn inside the control.
    RECT DestRect() const;
    static void RegisterProperties(TPropertyRegistrar<TImage>& r);

protected:
    void Paint() override;

private:
    void PictureChanged();
    std::unique_ptr<TPicture> picture_;
    bool stretch_ = false, center_ = false, proportional_ = false, transparent_ = false, autoSize_ = false;
};

class TCustomRadioGroup : public TCustomGroupBox {
    VX_DECLARE_CLASS(TCustomRadioGroup, TCustomGroupBox)
public:
    explicit TCustomRadioGroup(TComponent* owner);
    ~TCustomRadioGroup() override;
    TStrings* GetItems() const { return items_.get(); }
    int GetItemIndex() const { return itemIndex_; }
    void SetItemIndex(int index);
    int GetColumns() const { return columns_; }
    void SetColumns(int columns);
    int ButtonCount() const { return static_cast<int>(buttons_.size()); }
    TRadioButton* Buttons(int index) const;
    static void RegisterProperties(TPropertyRegistrar<TCustomRadioGroup>& r);

protected:
    void AlignControls(RECT& rect) override;
    void FontChanged() override;

private:
    void UpdateButtons();
    std::unique_ptr<TStringList> items_;
    std::vector<TRadioButton*> buttons_;
    int itemIndex_ = -1;
    int columns_ = 1;
    bool updating_ = false;
};

class TRadioGroup : public TCustomRadioGroup {
    VX_DECLARE_CLASS(TRadioGroup, TCustomRadioGroup)
public:
    explicit TRadioGroup(TComponent* owner) : TCustomRadioGroup(owner) {}
};

// Fires OnTimer every Interval milliseconds while Enabled (a Windows timer on a hidden
// window of the main thread).
class TTimer : public TComponent {
    VX_DECLARE_CLASS(TTimer, TComponent)
public:
    explicit TTimer(TComponent* owner);
    ~TTimer() override;
    bool GetEnabled() const { return enabled_; }
    void SetEnabled(bool value);
    unsigned GetInterval() const { return interval_; }
    void SetInterval(unsigned value);
    TNotifyEvent OnTimer;
    static void RegisterProperties(TPropertyRegistrar<TTimer>& r);

    // Runs the handler of the timer with this id (from the hidden window).
    static void Fire(UINT_PTR id);

private:
    void UpdateTimer();
    bool enabled_ = true;
    unsigned interval_ = 1000;
    bool running_ = false;
};

}  // namespace vx
