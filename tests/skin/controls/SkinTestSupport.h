#pragma once
// Shared pieces of the control skin tests: the skin the program carries, loaded once
// from the packed blob the build makes; a host that lists control skin objects; and
// pictures of a window painted into a memory DC through its own WM_PAINT.

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "framework/Classes.h"
#include "framework/Forms.h"
#include "framework/Graphics.h"
#include "framework/Handles.h"
#include "skin/controls/SkinControl.h"
#include "skin/data/SkinIni.h"
#include "skin/data/SkinModel.h"
#include "skin/data/SkinRead.h"

namespace vx::testing {

// The model of the program's own skin (null when the blob cannot be read).
inline TSkinModel* ProgramSkin() {
    static TSkinModel* model = [] {
        std::ifstream file(VX_TEST_SKIN_BLOB, std::ios::binary);
        std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
        auto* m = new TSkinModel;
        if (!LoadPackedSkin(*m, bytes)) {
            delete m;
            return (TSkinModel*)nullptr;
        }
        return m;
    }();
    return model;
}

// Stands for the form skin object: keeps the list of control skin objects.
class TTestHost : public IControlSkinHost {
public:
    void RegisterControlSkin(TSkinControl* skin) override { list.push_back(skin); }
    void UnregisterControlSkin(TSkinControl* skin) override {
        list.erase(std::remove(list.begin(), list.end(), skin), list.end());
    }
    std::vector<TSkinControl*> list;
};

// A window painted into a 24-bit memory bitmap by sending it WM_PAINT with the DC, as
// the framework's double buffering does. The bitmap starts filled with `background`.
class TWindowPicture {
public:
    TWindowPicture(HWND window, COLORREF background = RGB(1, 2, 3)) {
        RECT r{};
        ::GetClientRect(window, &r);
        width_ = r.right;
        height_ = r.bottom;
        TWindowDC screen(nullptr);
        dc_ = std::make_unique<TMemoryDC>(screen.Get());
        bitmap_.Reset(::CreateCompatibleBitmap(screen.Get(), width_, height_));
        select_ = std::make_unique<TSelectObject>(dc_->Get(), bitmap_.Get());
        TBrushHandle brush(::CreateSolidBrush(background));
        ::FillRect(dc_->Get(), &r, brush.Get());
        ::SendMessageW(window, WM_PAINT, reinterpret_cast<WPARAM>(dc_->Get()), 0);
    }
    COLORREF At(int x, int y) const { return ::GetPixel(dc_->Get(), x, y); }
    int Width() const { return width_; }
    int Height() const { return height_; }
    // How many pixels of the rectangle have exactly this colour.
    int Count(COLORREF colour, RECT r) const {
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) n += At(x, y) == colour;
        return n;
    }

private:
    int width_ = 0, height_ = 0;
    TBitmapHandle bitmap_;
    std::unique_ptr<TMemoryDC> dc_;
    std::unique_ptr<TSelectObject> select_;
};

// A pixel of frame `frame` (from 1) of a side-by-side strip, at (x, y) of its cell.
inline COLORREF CellPixel(TBitmap& strip, int frames, int frame, int x, int y) {
    const int cell = strip.GetWidth() / frames;
    TWindowDC screen(nullptr);
    TMemoryDC dc(screen.Get());
    TSelectObject select(dc.Get(), strip.GetHandle());
    return ::GetPixel(dc.Get(), (frame - 1) * cell + x, y);
}

// The colour a keyed skin pixel shows over a background.
inline COLORREF Keyed(COLORREF pixel, COLORREF background) {
    return pixel == RGB(255, 0, 255) ? background : pixel;
}

inline void Pump() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

// Moves the real pointer to a corner of the screen, away from every test window, and
// lets the move arrive, so no window takes a late mouse move for a hover.
inline void ParkCursor() {
    ::SetCursorPos(5, 5);
    for (int i = 0; i < 100; ++i) {
        Pump();
        POINT p{};
        ::GetCursorPos(&p);
        if (p.x == 5 && p.y == 5) break;
        ::Sleep(10);
    }
    Pump();
}

}  // namespace vx::testing
