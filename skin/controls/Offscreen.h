#pragma once
// Composing a control's picture off-screen: a bitmap of the rectangle's size in a
// memory DC, handed to a drawing routine with its origin at the rectangle's top-left
// corner, then copied to the target DC in one piece (no flicker).

#include <windows.h>

#include "framework/Handles.h"

namespace vx {

template <class Draw>
void PaintOffscreen(HDC dc, const RECT& rect, Draw&& draw) {
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    if (w <= 0 || h <= 0 || !dc) return;
    TWindowDC screen(nullptr);
    TBitmapHandle bitmap(::CreateCompatibleBitmap(screen.Get(), w, h));
    TMemoryDC mem(screen.Get());
    if (!bitmap || !mem) return;
    TSelectObject select(mem.Get(), bitmap.Get());
    draw(mem.Get(), RECT{0, 0, w, h});
    ::BitBlt(dc, rect.left, rect.top, w, h, mem.Get(), 0, 0, SRCCOPY);
}

}  // namespace vx
