#pragma once
// An object-bound window procedure for any window of this thread, the framework's own
// or a foreign one (a system dialog, a menu window): TWindowSubclass::Attach puts the
// object in front of the window's procedure, WindowProc sees every message, and
// CallPrevious hands one on to whatever was in front of the window before.
//
// Objects on one window form a chain that the framework keeps per window (a window
// property holds it; one shared procedure is installed, in the ANSI or wide form the
// window already has). The chain makes removal safe in any order:
//  - Detach takes only this object out: objects attached after it, and procedures that
//    other code installed on top of the chain, keep getting their messages.
//  - When the last object leaves and the chain's procedure is still the window's
//    procedure, the window gets back exactly the procedure it had before the first
//    Attach. When other code has installed a procedure on top meanwhile, the chain stays
//    as a pass-through to the old procedure (it must: that code will call it) until the
//    window is destroyed or the top procedure is removed.
//  - An object that detaches itself, or is even freed, inside its own WindowProc is
//    never reached again; a detached object may still CallPrevious from the handler it
//    is in (so a handler can restore and then pass the message on).
//  - WM_NCDESTROY detaches every object once it has passed down the chain; the chain
//    goes with the window.
// Everything runs on the thread that owns the window.

#include <windows.h>

#include <functional>
#include <memory>

#include "framework/Messages.h"

namespace vx {

class TSubclassChain;
class TControl;

class TWindowSubclass {
public:
    // A handler instead of an override: (the subclass, message, wParam, lParam).
    using THandler = std::function<LRESULT(TWindowSubclass&, UINT, WPARAM, LPARAM)>;

    TWindowSubclass() = default;
    explicit TWindowSubclass(THandler handler) : handler_(std::move(handler)) {}
    TWindowSubclass(const TWindowSubclass&) = delete;
    TWindowSubclass& operator=(const TWindowSubclass&) = delete;
    virtual ~TWindowSubclass();

    // Puts this object in front of the window. False when the window does not exist,
    // belongs to another thread, or this object is attached already.
    bool Attach(HWND window);
    // Takes this object out of the window's chain (nothing when not attached).
    void Detach();
    bool Attached() const { return attached_; }
    // The window attached to (kept after Detach and destruction of the window).
    HWND Window() const { return window_; }

    // Hands a message on to the procedure that was in front of this object.
    LRESULT CallPrevious(UINT msg, WPARAM wParam, LPARAM lParam);

    // The number of chains that exist (one per subclassed window); for tests.
    static int ChainCount();

protected:
    // Every message of the window; the default runs the handler, else passes it on.
    virtual LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam);

private:
    friend class TSubclassChain;
    THandler handler_;
    TSubclassChain* chain_ = nullptr;  // set while linked to a chain (also while leaving)
    size_t index_ = 0;                 // position in the chain, bottom first
    bool attached_ = false;
    HWND window_ = nullptr;
};

// A handler put in front of a framework control's message method (WindowProc), removable
// in any order: Remove gives the control back the method it had when nothing was
// installed after this hook; otherwise the hook stays in the chain as a pass-through
// that no longer reaches the handler (or anything it captured), so a method installed
// later keeps working and never calls into a freed object. The control must outlive
// the hook's installation (an owner frees owned components while the control is whole).
class TMessageHook {
public:
    // The handler gets the message and the method that was in front before it.
    using THandler = std::function<void(TMessage&, const TWndMethod& previous)>;

    TMessageHook() = default;
    TMessageHook(const TMessageHook&) = delete;
    TMessageHook& operator=(const TMessageHook&) = delete;
    ~TMessageHook() { Remove(); }

    // Installs the handler in front of the control (removing an earlier installation).
    void Install(TControl* control, THandler handler);
    void Remove();
    bool Installed() const { return link_ != nullptr; }
    // Hands a message to the method that was in front before this hook.
    void CallPrevious(TMessage& message);

private:
    struct TLink {
        THandler Handler;
        TWndMethod Previous;
        bool Live = true;
    };
    struct TFunctor {
        std::shared_ptr<TLink> Link;
        void operator()(TMessage& m) const;
    };
    std::shared_ptr<TLink> link_;
    TControl* control_ = nullptr;
};

}  // namespace vx
