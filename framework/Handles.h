#pragma once
// Owners of operating-system resources. The rule of the code base: every kernel
// handle, device context, GDI object, selection and lock has exactly one owner, named
// at the field or local that holds it, and that owner's destructor releases it. No code
// pairs a release call with an acquire call by hand, on the normal path or an error path.
//
//   THandle         a kernel handle (process, thread, pipe, file, token, event ...),
//                   closed with CloseHandle; Detach hands it over to another owner.
//   TGdiObject<T>   an HBITMAP/HBRUSH/HPEN/HFONT/HRGN made by the caller, deleted with
//                   DeleteObject.
//   TWindowDC       a DC obtained with GetDC (or GetWindowDC), given back with ReleaseDC.
//   TMemoryDC       a DC made with CreateCompatibleDC, deleted with DeleteDC.
//   TPaintDC        BeginPaint/EndPaint.
//   TSelectObject   a selection into a DC, undone (the previous object put back) at the
//                   end of the scope; declare it after the object it selects, so the
//                   selection ends before the object is deleted.
//   TSavedDC        SaveDC/RestoreDC.
//   TScopeExit      the end of a begin/end pair that is not a handle (BeginUpdate and
//                   EndUpdate, BeginWrite and EndWrite ...): see the guards below.
//
// Locks: TCriticalSection with TCriticalSectionLock, and the read/write guards of
// TMultiReadExclusiveWriteSynchronizer (TReadLock, TWriteLock) in Threads.h.

#include <exception>
#include <utility>

#ifdef _WIN32
#include <windows.h>
#endif

namespace vx {

// Runs a callable when the scope ends, unless dismissed. The building block of the
// begin/end guards; use a named guard where one exists.
//
// An exception from the callable leaves the scope like one from any other statement
// when the scope ends normally. When the scope is left by an exception already, that
// exception goes on and one from the callable is dropped (two at once would end the
// program).
template <class F>
class TScopeExit {
public:
    explicit TScopeExit(F f) : f_(std::move(f)), exceptions_(std::uncaught_exceptions()) {}
    TScopeExit(const TScopeExit&) = delete;
    TScopeExit& operator=(const TScopeExit&) = delete;
    ~TScopeExit() noexcept(false) {
        if (!armed_) return;
        if (std::uncaught_exceptions() == exceptions_) {
            f_();
            return;
        }
        try {
            f_();
        } catch (...) {
        }
    }
    void Dismiss() { armed_ = false; }

private:
    F f_;
    int exceptions_;
    bool armed_ = true;
};

// A begin/end pair on any object with BeginUpdate()/EndUpdate() (string lists, list
// items, tree nodes, menus ...). EndUpdate runs however the scope is left; what it
// throws (a change handler's exception) is treated as by TScopeExit.
template <class T>
class TUpdateGuard {
public:
    // BeginUpdate runs first: when it throws there is nothing to end.
    explicit TUpdateGuard(T& target) : end_((target.BeginUpdate(), TEnd{&target})) {}
    TUpdateGuard(const TUpdateGuard&) = delete;
    TUpdateGuard& operator=(const TUpdateGuard&) = delete;

private:
    struct TEnd {
        T* target;
        void operator()() const { target->EndUpdate(); }
    };
    TScopeExit<TEnd> end_;
};

#ifdef _WIN32

// A kernel handle. Empty is null or INVALID_HANDLE_VALUE (CreateFile's failure value);
// both count as "no handle" and are never closed.
class THandle {
public:
    THandle() = default;
    explicit THandle(HANDLE h) : h_(h) {}
    THandle(const THandle&) = delete;
    THandle& operator=(const THandle&) = delete;
    THandle(THandle&& other) noexcept : h_(other.Detach()) {}
    THandle& operator=(THandle&& other) noexcept {
        if (this != &other) Reset(other.Detach());
        return *this;
    }
    ~THandle() { Reset(); }

    HANDLE Get() const { return h_; }
    bool Valid() const { return h_ != nullptr && h_ != INVALID_HANDLE_VALUE; }
    explicit operator bool() const { return Valid(); }

    // Closes the held handle (if any) and takes h. Resetting to the handle already held
    // keeps it open.
    void Reset(HANDLE h = nullptr) {
        if (h == h_) return;
        if (Valid()) ::CloseHandle(h_);
        h_ = h;
    }
    // Gives the handle up without closing it; the caller becomes its owner.
    [[nodiscard]] HANDLE Detach() {
        HANDLE h = h_;
        h_ = nullptr;
        return h;
    }
    // The address of the (emptied) slot, for APIs that return a handle through an
    // out-parameter: CreatePipe(r.Receive(), w.Receive(), ...).
    HANDLE* Receive() {
        Reset();
        return &h_;
    }

private:
    HANDLE h_ = nullptr;
};

// A GDI object the caller made. T is the handle type (HBITMAP, HBRUSH, HPEN, HFONT,
// HRGN); stock objects must not be given to it.
template <class T>
class TGdiObject {
public:
    TGdiObject() = default;
    explicit TGdiObject(T h) : h_(h) {}
    TGdiObject(const TGdiObject&) = delete;
    TGdiObject& operator=(const TGdiObject&) = delete;
    TGdiObject(TGdiObject&& other) noexcept : h_(other.Detach()) {}
    TGdiObject& operator=(TGdiObject&& other) noexcept {
        if (this != &other) Reset(other.Detach());
        return *this;
    }
    ~TGdiObject() { Reset(); }

    T Get() const { return h_; }
    explicit operator bool() const { return h_ != nullptr; }
    // Deletes the held object (if any) and takes h; resetting to the held one keeps it.
    void Reset(T h = nullptr) {
        if (h == h_) return;
        if (h_) ::DeleteObject(h_);
        h_ = h;
    }
    [[nodiscard]] T Detach() {
        T h = h_;
        h_ = nullptr;
        return h;
    }

private:
    T h_ = nullptr;
};

using TBitmapHandle = TGdiObject<HBITMAP>;
using TBrushHandle = TGdiObject<HBRUSH>;
using TPenHandle = TGdiObject<HPEN>;
using TFontHandle = TGdiObject<HFONT>;
using TRegionHandle = TGdiObject<HRGN>;

// A hook of this thread (SetWindowsHookEx), taken away when its owner goes or is given
// another one.
class THook {
public:
    THook() = default;
    explicit THook(HHOOK hook) : hook_(hook) {}
    THook(const THook&) = delete;
    THook& operator=(const THook&) = delete;
    ~THook() { Reset(); }
    void Reset(HHOOK hook = nullptr) {
        if (hook_) ::UnhookWindowsHookEx(hook_);
        hook_ = hook;
    }
    HHOOK Get() const { return hook_; }
    explicit operator bool() const { return hook_ != nullptr; }

private:
    HHOOK hook_ = nullptr;
};

// A window's (or the screen's, for a null window) client DC.
class TWindowDC {
public:
    explicit TWindowDC(HWND window) : window_(window), dc_(::GetDC(window)) {}
    // The whole window's DC, frame included (GetWindowDC).
    static TWindowDC Whole(HWND window) { return TWindowDC(window, ::GetWindowDC(window)); }
    // A DC from GetDCEx, clipped to `clip` with DCX_INTERSECTRGN or DCX_EXCLUDERGN in
    // `flags`. The system takes such a region over when it hands out the DC (and deletes
    // it when the DC is given back), so the owner lets go of it then; when GetDCEx fails
    // the region stays with its owner.
    static TWindowDC Clipped(HWND window, TRegionHandle& clip, DWORD flags) {
        HDC dc = ::GetDCEx(window, clip.Get(), flags);
        if (dc && clip && (flags & (DCX_INTERSECTRGN | DCX_EXCLUDERGN))) (void)clip.Detach();
        return TWindowDC(window, dc);
    }
    TWindowDC(const TWindowDC&) = delete;
    TWindowDC& operator=(const TWindowDC&) = delete;
    TWindowDC(TWindowDC&& other) noexcept : window_(other.window_), dc_(other.dc_) { other.dc_ = nullptr; }
    TWindowDC& operator=(TWindowDC&&) = delete;
    ~TWindowDC() {
        if (dc_) ::ReleaseDC(window_, dc_);
    }
    HDC Get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    TWindowDC(HWND window, HDC dc) : window_(window), dc_(dc) {}
    HWND window_;
    HDC dc_;
};

// A memory DC compatible with another DC (or with the screen, for null).
class TMemoryDC {
public:
    explicit TMemoryDC(HDC compatibleWith = nullptr) : dc_(::CreateCompatibleDC(compatibleWith)) {}
    TMemoryDC(const TMemoryDC&) = delete;
    TMemoryDC& operator=(const TMemoryDC&) = delete;
    TMemoryDC(TMemoryDC&& other) noexcept : dc_(other.dc_) { other.dc_ = nullptr; }
    TMemoryDC& operator=(TMemoryDC&&) = delete;
    ~TMemoryDC() {
        if (dc_) ::DeleteDC(dc_);
    }
    HDC Get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HDC dc_;
};

// BeginPaint/EndPaint for one WM_PAINT.
class TPaintDC {
public:
    explicit TPaintDC(HWND window) : window_(window) { dc_ = ::BeginPaint(window, &ps_); }
    TPaintDC(const TPaintDC&) = delete;
    TPaintDC& operator=(const TPaintDC&) = delete;
    ~TPaintDC() { ::EndPaint(window_, &ps_); }
    HDC Get() const { return dc_; }
    const PAINTSTRUCT& Info() const { return ps_; }

private:
    HWND window_;
    PAINTSTRUCT ps_{};
    HDC dc_;
};

// Selects a pen, brush, font or bitmap into a DC for the scope and puts the previous one
// back. A null object selects nothing. Not for regions: selecting a region sets a copy of
// it as the clip region and returns no previous object; change the clip inside a
// TSavedDC instead (a region given here is selected and nothing is put back).
class TSelectObject {
public:
    TSelectObject(HDC dc, HGDIOBJ object) : dc_(dc), old_(Select(dc, object)) {}
    TSelectObject(const TSelectObject&) = delete;
    TSelectObject& operator=(const TSelectObject&) = delete;
    ~TSelectObject() {
        if (old_) ::SelectObject(dc_, old_);
    }

private:
    static HGDIOBJ Select(HDC dc, HGDIOBJ object) {
        if (!object) return nullptr;
        const bool region = ::GetObjectType(object) == OBJ_REGION;
        HGDIOBJ old = ::SelectObject(dc, object);
        return region || old == HGDI_ERROR ? nullptr : old;
    }
    HDC dc_;
    HGDIOBJ old_;
};

// SaveDC for the scope, RestoreDC at its end: clip regions, origins and modes changed
// inside come back.
class TSavedDC {
public:
    explicit TSavedDC(HDC dc) : dc_(dc), state_(::SaveDC(dc)) {}
    TSavedDC(const TSavedDC&) = delete;
    TSavedDC& operator=(const TSavedDC&) = delete;
    ~TSavedDC() {
        if (state_) ::RestoreDC(dc_, state_);
    }

private:
    HDC dc_;
    int state_;
};

// A critical section, owned by the object that holds the field, and its scoped lock.
class TCriticalSection {
public:
    TCriticalSection() { ::InitializeCriticalSection(&cs_); }
    TCriticalSection(const TCriticalSection&) = delete;
    TCriticalSection& operator=(const TCriticalSection&) = delete;
    ~TCriticalSection() { ::DeleteCriticalSection(&cs_); }
    void Enter() { ::EnterCriticalSection(&cs_); }
    // Enters when no other thread holds it; true when entered (Leave must follow).
    bool TryEnter() { return ::TryEnterCriticalSection(&cs_) != FALSE; }
    void Leave() { ::LeaveCriticalSection(&cs_); }

private:
    CRITICAL_SECTION cs_;
};

class TCriticalSectionLock {
public:
    explicit TCriticalSectionLock(TCriticalSection& cs) : cs_(cs) { cs_.Enter(); }
    TCriticalSectionLock(const TCriticalSectionLock&) = delete;
    TCriticalSectionLock& operator=(const TCriticalSectionLock&) = delete;
    ~TCriticalSectionLock() { cs_.Leave(); }

private:
    TCriticalSection& cs_;
};

#endif  // _WIN32

}  // namespace vx
