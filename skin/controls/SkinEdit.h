#pragma once
// Edits and memos with a border: the border drawn over in the skin's shadow colour with
// two white lines inside it, also when the edit is printed; an up-down inside the edit
// gets its own skin object.

#include "skin/controls/SkinControl.h"

namespace vx {

class TSkinEdit : public TSkinControl {
    VX_DECLARE_CLASS(TSkinEdit, TSkinControl)
public:
    using TSkinControl::TSkinControl;
    void AfterMessage(TMessage& message) override;
    void DrawControl(HDC dc, const RECT& rect) override;
    // The border of a printed edit: `rect` (the window at the origin) framed in the
    // shadow colour, and inside it a frame of the DC's current brush.
    void PrintBorder(HDC dc, const RECT& rect);

private:
    void FindUpDown();
    HWND upDown_ = nullptr;
};

}  // namespace vx
