#pragma once
// The control gallery's windows, apart from the program's entry so that a test can
// build them: the gallery form (every framework control, the left half enabled and the
// right half disabled) and the states form (one kind of control in its states, for a
// picture of that kind).
//
// The gallery wears the program's skin. The engine's own rules skin most framework
// controls; the ones they leave alone are given to the skin by the gallery's skin
// data: rows of its class map for the track bar, progress bar, tab and page controls,
// date-time picker, radio buttons, group boxes and radio groups, and the extras hook
// for the status bar and the stand-alone scroll bar.

#include <string>
#include <vector>

#include "framework/Forms.h"

namespace vx {

class TImageList;
class TPopupMenu;
class TSkinData;

// The class-map rows the gallery adds to the program's default rows.
const std::vector<std::wstring>& GallerySkin3rdRows();

// Gives a skin data component the program's skin (read from the resource "SKINDATA2"
// of `module`, when it is there), the main window's settings, the gallery's extra rows
// and the extras hook.
void SetUpGallerySkinData(TSkinData& data, HMODULE module);

class TGalleryForm : public TForm {
public:
    // With `skinned`, the form carries a skin data component set up for the gallery.
    TGalleryForm(TComponent* owner, bool skinned);

private:
    void BuildMenu();
    void BuildSet(TWinControl* p, const std::wstring& title);

    TImageList* images_ = nullptr;
    TPopupMenu* popup_ = nullptr;
};

// The kinds the states form shows, by the name given on the command line.
const std::vector<std::wstring>& GalleryStateKinds();

// One kind of control in a row of its states (normal, disabled, checked, focused,
// pressed, as the kind has them). `Press` puts the states that need input in place:
// the focus and the held mouse button.
class TStatesForm : public TForm {
public:
    TStatesForm(TComponent* owner, const std::wstring& kind, bool skinned);
    void Press();
    TWinControl* FocusControl() const { return focus_; }
    TControl* PressedControl() const { return pressed_; }

private:
    TWinControl* focus_ = nullptr;
    TControl* pressed_ = nullptr;
};

}  // namespace vx
