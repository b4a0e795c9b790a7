#pragma once
// What the benchmarks of the real main window share: a drop of many files as the shell
// makes it, and pumping the window's messages until something has happened.

#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <string>
#include <vector>

#include "framework/Forms.h"

namespace vx::bench {

// A drop handle as the shell makes it: DROPFILES followed by the wide paths, each ended
// by a NUL, and one more NUL. The window's drop handler releases it.
inline HDROP MakeDrop(const std::vector<std::wstring>& paths) {
    size_t chars = 1;
    for (const auto& p : paths) chars += p.size() + 1;
    HGLOBAL memory = ::GlobalAlloc(GHND, sizeof(DROPFILES) + chars * sizeof(wchar_t));
    auto* df = static_cast<DROPFILES*>(::GlobalLock(memory));
    df->pFiles = sizeof(DROPFILES);
    df->fWide = TRUE;
    auto* p = reinterpret_cast<wchar_t*>(reinterpret_cast<char*>(df) + sizeof(DROPFILES));
    for (const auto& path : paths) {
        std::copy(path.begin(), path.end(), p);
        p += path.size() + 1;
    }
    ::GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

// Handles the application's messages, a millisecond apart, until `done` answers true
// or `rounds` have passed; returns its last answer.
template <class F>
bool PumpUntil(F done, int rounds = 1000) {
    for (int i = 0; i < rounds; ++i) {
        Application->ProcessMessages();
        if (done()) return true;
        ::Sleep(1);
    }
    return done();
}

}  // namespace vx::bench
