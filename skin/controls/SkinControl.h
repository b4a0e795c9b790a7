#pragma once
// The control skin base: one TSkinControl descendant sits in front of each skinned
// child control. It replaces the framework control's message method (or subclasses a
// bare window), lets the control do its own work, and paints the control's look from
// the skin's elements over what the control drew. Descendants override BeforeMessage,
// AfterMessage and DrawControl.
//
// Lifetime: the form skin object (the host) keeps every control skin object in its list
// and frees it; for a framework control the control is also the object's owner, so a
// control that is freed first takes its skin object with it. Either way the object
// leaves the host's list and never touches a window or control that is going away.

#include <windows.h>

#include <memory>
#include <string>
#include <string_view>

#include "framework/Component.h"
#include "framework/Messages.h"
#include "skin/controls/DispatchRules.h"
#include "skin/data/SkinData.h"
#include "skin/data/imgutil.h"
#include "skin/window/ControlSkinHost.h"
#include "skin/window/SkinMessages.h"

namespace vx {

class TCanvas;
class TClassInfo;
class TControl;
class TDataSkinObject;
class TSkinModel;
class TSkinControl;

namespace skinmsg {
// Private messages of the skin engine, as the window layer defines them.
using vx::WM_SKINQUERY;                                     // every skinned window answers 1
inline constexpr unsigned WM_SKINSWITCH = WM_SKINCONTROLSWITCH;  // wParam > 0: the object paints; otherwise it stands aside
}  // namespace skinmsg

// TControlSkinData (what the objects paint with) belongs to the skin data component
// (skin/data/SkinData.h); IControlSkinHost (the form skin object's list) to the window
// layer (skin/window/ControlSkinHost.h).

// States of a control skin object.
enum : int { scsNew = 0, scsInitialised = 1, scsRestored = 2, scsDestroyed = 6 };

class TSkinControl : public TComponent {
    VX_DECLARE_CLASS(TSkinControl, TComponent)
public:
    // For a framework control, `owner` is the control.
    explicit TSkinControl(TComponent* owner);
    ~TSkinControl() override;

    // Attaches to the owner (a framework control): replaces its message method. Runs
    // once; a second call does nothing.
    virtual void InitControl(IControlSkinHost* form, const TControlSkinData* data, bool adoptColour,
                             TCanvas* canvas);
    // Attaches to a window without a framework control: subclasses it.
    virtual void InitWindow(HWND window, const TControlSkinData* data, IControlSkinHost* form, TCanvas* canvas);
    // Gives the control back what the object changed (its colour).
    virtual void RestoreControl();
    // Before the control sees a message; false consumes it (its Result stays as set).
    virtual bool BeforeMessage(TMessage& message);
    // After the control has handled a message.
    virtual void AfterMessage(TMessage& message);
    // Paints through the whole-window DC (or `dc`) with DrawControl.
    virtual void PaintWindow(HDC dc);
    // Answers a WM_PAINT: DrawControl over the client area, into the DC the message
    // brings or between BeginPaint and EndPaint; the result is 0.
    void PaintClient(TMessage& message);
    // For a skin that draws the whole client area itself while `paints` holds: answers
    // WM_PAINT through PaintClient and WM_ERASEBKGND with 1 (nothing to erase). True
    // when the message was answered; the control does not see it then.
    bool AnswerOwnPaint(TMessage& message, bool paints);
    // Draws the control's look into `dc` over `rect` (the window at the origin).
    virtual void DrawControl(HDC dc, const RECT& rect) {}
    // After a skin change: the face colour again, then a repaint.
    virtual void RefreshSkin();
    virtual bool CanShowHover() { return true; }
    // A control this object made or took for itself (a companion): the dispatcher never
    // offers it a skin of its own.
    virtual bool IsCompanion(const TControl* control) const { return control && control == companion_; }

    // Invalidates the window (erasing) and updates it at once; a companion instead when
    // there is one.
    void Repaint();

    HWND Window() const { return window_; }
    TControl* Control() const { return control_; }
    int State() const { return state_; }
    bool SkinActive() const { return skinActive_; }
    unsigned MouseState() const { return mouseState_; }
    const std::wstring& Caption() const { return caption_; }

    // Property access by name, tolerant of a null object and a missing property.
    static int ReadIntProperty(const TObject* object, std::wstring_view name);
    static std::wstring ReadEnumProperty(const TObject* object, std::wstring_view name);
    static std::wstring ReadTextProperty(const TObject* object, std::wstring_view name);
    static TObject* ReadObjectProperty(const TObject* object, std::wstring_view name, const TClassInfo& cls);
    // Sets an integer (the text as a number), enumeration (by value name) or text
    // property; false when there is no such writable property or the text does not fit.
    static bool WriteProperty(TObject* object, std::wstring_view name, const std::wstring& text);

    // The window's text (wide calls for a Unicode window, else the 8-bit text message
    // with a 1000-character buffer).
    static std::wstring ReadWindowText(HWND window);

protected:
    // Hands the message to the control's previous message method or window procedure.
    void PassOn(TMessage& message);
    // The route of every message of the control or window.
    void Route(TMessage& message);

    void FillColour(HDC dc, const RECT& rect, TColour colour);
    void FillFace(HDC dc, const RECT& rect);
    void FillParentColour(HDC dc, const RECT& rect);
    // A focus rectangle around the caption as `flags` place it in `rect`.
    void DrawTextFocus(HDC dc, UINT flags, const RECT& rect);
    LONG_PTR WindowLong(HWND window, int index) const;
    // `flags` plus the right-to-left reading flag when the control reads right to left.
    UINT RightToLeftFlags(UINT flags) const;
    // Calls the framework control's mouse-down handling for a left button message.
    void ForwardMouseDown(const TMessage& message);
    // One state frame of an element, drawn over `rect` with its margins, magenta keyed.
    void DrawSkinElement(HDC dc, const RECT& rect, int frame, TDataSkinObject* element);
    // Asks for a WM_MOUSELEAVE when the pointer leaves the window.
    void TrackMouseLeave();

    const TSkinModel* Skin() const;
    bool HasOption(int option) const;

    unsigned mouseState_ = 0;
    TCanvas* canvas_ = nullptr;
    bool focused_ = false;
    bool enabled_ = false;
    std::wstring caption_;
    bool skinActive_ = true;
    bool unicodeWindow_ = false;
    const TControlSkinData* skinData_ = nullptr;
    HWND window_ = nullptr;
    TControl* control_ = nullptr;
    RECT windowRect_{};
    TControl* companion_ = nullptr;
    bool adoptColour_ = false;
    TColour savedColour_ = 0;
    bool initialised_ = false;
    int state_ = scsNew;
    IControlSkinHost* form_ = nullptr;
    bool noMouseDownForwarding_ = false;

private:
    static LRESULT CALLBACK SubclassProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
    void Unhook();

    TWndMethod previousMethod_;
    bool hasPreviousMethod_ = false;
    // False once the object is freed: a message passed on may end in its control, and
    // so this object, being freed, after which nothing of it may run.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
    WNDPROC previousProc_ = nullptr;
};

// Paints the control's parent into `dc` behind the control (for a look of
// transparency): the DC's origin is moved to the control and clipped to it. A parent
// that paints its children's background through this again is not re-entered.
void PaintParentInto(TControl* control, HDC dc);

}  // namespace vx
