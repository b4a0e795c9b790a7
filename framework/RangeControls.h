#pragma once
// Controls that show or choose a value in a range: the progress bar, the track bar
// and the up-down.

#include <windows.h>
#include <commctrl.h>

#include <functional>

#include "framework/Controls.h"

namespace vx {

// The range and the position the range controls share. A change of the range is sent
// to the window at once; while there is a window, the position is the window's.
class TRangeControl : public TWinControl {
    VX_DECLARE_CLASS(TRangeControl, TWinControl)
public:
    int GetMin() const { return min_; }
    void SetMin(int v);
    int GetMax() const { return max_; }
    void SetMax(int v);
    int GetPosition() const;
    // Each kind keeps the position in its own range and tells its own listeners.
    virtual void SetPosition(int v) = 0;
    static void RegisterProperties(TPropertyRegistrar<TRangeControl>& r);

protected:
    // `max` is the kind's default upper end; `positionQuery` the message that asks the
    // window for its position.
    TRangeControl(TComponent* owner, int max, UINT positionQuery);
    int min_ = 0, max_, position_ = 0;

private:
    UINT positionQuery_;
};

enum TProgressBarOrientation { pbHorizontal, pbVertical };

class TProgressBar : public TRangeControl {
    VX_DECLARE_CLASS(TProgressBar, TRangeControl)
public:
    explicit TProgressBar(TComponent* owner);
    void SetPosition(int v) override;
    int GetStep() const { return step_; }
    void SetStep(int v) { step_ = v; }
    void StepIt() { SetPosition(GetPosition() + step_); }
    void StepBy(int delta) { SetPosition(GetPosition() + delta); }
    bool GetSmooth() const { return smooth_; }
    void SetSmooth(bool v);
    TProgressBarOrientation GetOrientation() const { return orientation_; }
    void SetOrientation(TProgressBarOrientation v);
    static void RegisterProperties(TPropertyRegistrar<TProgressBar>& r);

protected:
    void CreateParams(TCreateParams& params) override;
    void InitializeWindow() override;

private:
    int step_ = 10;
    bool smooth_ = false;
    TProgressBarOrientation orientation_ = pbHorizontal;
};

enum TTrackBarOrientation { trHorizontal, trVertical };

class TTrackBar : public TRangeControl {
    VX_DECLARE_CLASS(TTrackBar, TRangeControl)
public:
    explicit TTrackBar(TComponent* owner);
    void SetPosition(int v) override;
    int GetFrequency() const { return frequency_; }
    void SetFrequency(int v);
    TTrackBarOrientation GetOrientation() const { return orientation_; }
    void SetOrientation(TTrackBarOrientation v);
    TNotifyEvent OnChange;
    static void RegisterProperties(TPropertyRegistrar<TTrackBar>& r);

protected:
    void CreateParams(TCreateParams& params) override;
    void InitializeWindow() override;
    void WndProc(TMessage& message) override;

private:
    int frequency_ = 1;
    TTrackBarOrientation orientation_ = trHorizontal;
};

enum TUDOrientation { udHorizontal, udVertical };
enum TUDBtnType { btNext, btPrev };

class TCustomUpDown : public TRangeControl {
    VX_DECLARE_CLASS(TCustomUpDown, TRangeControl)
public:
    explicit TCustomUpDown(TComponent* owner);
    void SetPosition(int v) override;
    int GetIncrement() const { return increment_; }
    void SetIncrement(int v);
    bool GetWrap() const { return wrap_; }
    void SetWrap(bool v);
    TUDOrientation GetOrientation() const { return orientation_; }
    void SetOrientation(TUDOrientation v);
    // The edit whose text shows the position.
    TWinControl* GetAssociate() const { return associate_; }
    void SetAssociate(TWinControl* control);
    std::function<void(TObject* Sender, TUDBtnType Button)> OnClick;
    static void RegisterProperties(TPropertyRegistrar<TCustomUpDown>& r);

protected:
    void CreateParams(TCreateParams& params) override;
    void InitializeWindow() override;
    void WndProc(TMessage& message) override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    int increment_ = 1;
    bool wrap_ = false;
    TUDOrientation orientation_ = udVertical;
    TWinControl* associate_ = nullptr;
};

class TUpDown : public TCustomUpDown {
    VX_DECLARE_CLASS(TUpDown, TCustomUpDown)
public:
    explicit TUpDown(TComponent* owner) : TCustomUpDown(owner) {}
};

}  // namespace vx
