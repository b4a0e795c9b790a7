#pragma once
// Small helpers for building the program's forms in code: placing a control, a plain
// label, the "宋体" 12-pixel GB2312 font and pictures from the program's resources.

#include <string>

#include "framework/Controls.h"
#include "framework/ExtCtrls.h"
#include "framework/StdCtrls.h"

namespace vx {

template <class T>
T* Place(TComponent* owner, TWinControl* parent, const wchar_t* name, int left, int top, int width, int height) {
    auto* control = new T(owner);
    control->SetName(name);
    control->SetParent(parent);
    control->SetBounds(left, top, width, height);
    return control;
}

// An auto-sized label at (left, top).
TLabel* PlaceLabel(TComponent* owner, TWinControl* parent, const wchar_t* name, int left, int top,
                   const std::wstring& caption);

// "宋体", 12 pixels, GB2312: the font of every window of the program.
void UseDialogFont(TControl& control);

// Loads a bitmap resource of the program into the picture; a missing resource leaves
// the picture empty (returns false) rather than stopping the window.
bool LoadBitmapResource(TImage& image, const wchar_t* name);
// The same for a bitmap object (a button glyph).
bool LoadBitmapResource(TBitmap& bitmap, const wchar_t* name);

}  // namespace vx
