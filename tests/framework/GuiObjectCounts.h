#pragma once
// How many GDI and USER objects this process holds, for tests that open and close
// windows many times and expect to end where they started.
//
// Windows answers through GetGuiResources. Wine answers 0 there, so the counts are
// taken from the handle tables instead: a GDI or USER handle whose high word is 0 (or
// 0xFFFF for USER handles) names the table slot whatever the slot's generation, so
// probing every slot index finds every live object of the process. Windows are counted
// by enumerating the process's windows, which also works on Windows.

#include <windows.h>

namespace vx::testing {

struct TGuiObjectCounts {
    int Gdi = 0;      // GDI objects: DCs, bitmaps, brushes, pens, fonts, regions, palettes
    int Windows = 0;  // windows of this process, top-level and child
    int Menus = 0;    // menus of this process
};

namespace detail {

inline BOOL CALLBACK CountChild(HWND, LPARAM count) {
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

inline BOOL CALLBACK CountTopLevel(HWND window, LPARAM count) {
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    if (process != ::GetCurrentProcessId()) return TRUE;
    ++*reinterpret_cast<int*>(count);
    ::EnumChildWindows(window, &CountChild, count);
    return TRUE;
}

}  // namespace detail

inline TGuiObjectCounts CountGuiObjects() {
    TGuiObjectCounts c;
    c.Gdi = static_cast<int>(::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS));
    if (c.Gdi == 0)
        for (UINT_PTR slot = 1; slot < 0x10000; ++slot)
            if (::GetObjectType(reinterpret_cast<HGDIOBJ>(slot)) != 0) ++c.Gdi;
    ::EnumWindows(&detail::CountTopLevel, reinterpret_cast<LPARAM>(&c.Windows));
    // USER handles are even slot numbers from 0x20 on; a menu of another process is
    // not this process's to count and IsMenu does not see it.
    for (UINT_PTR slot = 0x20; slot < 0x10000; slot += 2)
        if (::IsMenu(reinterpret_cast<HMENU>(slot))) ++c.Menus;
    return c;
}

}  // namespace vx::testing
