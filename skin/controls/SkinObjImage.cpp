#include "skin/controls/SkinObjImage.h"

namespace vx {

VX_IMPLEMENT_CLASS(TSkinObjImage, TSkinRadioButton)

int TSkinObjImage::CurrentFrame(int stripFrames) {
    return kind_ == 2 ? TSkinRadioButton::CurrentFrame(stripFrames) : TSkinCheckBox::CurrentFrame(stripFrames);
}

TBitmap* TSkinObjImage::Strip(int& frames) {
    return kind_ == 2 ? TSkinRadioButton::Strip(frames) : TSkinCheckBox::Strip(frames);
}

}  // namespace vx
