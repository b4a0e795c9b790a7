#pragma once
// Check boxes and radio buttons of other component families: drawn as the framework's
// check boxes (kinds 1 and 3) or radio buttons (kind 2) are, from the Buttons strips.

#include "skin/controls/SkinCheckBox.h"

namespace vx {

class TSkinObjImage : public TSkinRadioButton {
    VX_DECLARE_CLASS(TSkinObjImage, TSkinRadioButton)
public:
    // kind: 1 check box, 2 radio button, 3 the third family's check box.
    TSkinObjImage(TComponent* owner, int kind) : TSkinRadioButton(owner), kind_(kind) {}
    explicit TSkinObjImage(TComponent* owner) : TSkinObjImage(owner, 1) {}
    int Kind() const { return kind_; }
    int CurrentFrame(int stripFrames) override;

protected:
    TBitmap* Strip(int& frames) override;

private:
    int kind_;
};

}  // namespace vx
