#include "framework/ImgList.h"

namespace vx {

VX_IMPLEMENT_CLASS_WITH_PROPERTIES(TCustomImageList, TComponent)
VX_IMPLEMENT_CLASS(TImageList, TCustomImageList)

void TCustomImageList::RegisterProperties(TPropertyRegistrar<TCustomImageList>& r) {
    r.Integer(L"Width", &TCustomImageList::GetWidth, &TCustomImageList::SetWidth)
        .Integer(L"Height", &TCustomImageList::GetHeight, &TCustomImageList::SetHeight)
        .Boolean(L"Masked", &TCustomImageList::GetMasked, &TCustomImageList::SetMasked)
        .Integer(L"Count", &TCustomImageList::Count);
}

TCustomImageList::TCustomImageList(TComponent* owner) : TComponent(owner) {}

TCustomImageList::~TCustomImageList() {
    if (handle_) ImageList_Destroy(handle_);
}

HIMAGELIST TCustomImageList::GetHandle() {
    if (!handle_) handle_ = ImageList_Create(width_, height_, ILC_COLOR24 | (masked_ ? ILC_MASK : 0), 4, 4);
    return handle_;
}

void TCustomImageList::Recreate() {
    if (handle_) ImageList_Destroy(handle_);
    handle_ = nullptr;
    Changed();
}

void TCustomImageList::SetWidth(int width) {
    if (width == width_ || width <= 0) return;
    width_ = width;
    Recreate();
}

void TCustomImageList::SetHeight(int height) {
    if (height == height_ || height <= 0) return;
    height_ = height;
    Recreate();
}

int TCustomImageList::Count() const { return handle_ ? ImageList_GetImageCount(handle_) : 0; }

void TCustomImageList::Changed() {
    if (OnChange && !IsDestroying()) OnChange(this);
}

int TCustomImageList::Add(TBitmap* image, TBitmap* mask) {
    if (!image || image->GetEmpty()) return -1;
    // The list changes the bitmaps it is given; it gets copies.
    TBitmap copy;
    copy.Assign(*image);
    copy.SetPixelFormat(pf24bit);
    HBITMAP maskHandle = nullptr;
    TBitmap maskCopy;
    if (mask && !mask->GetEmpty()) {
        maskCopy.Assign(*mask);
        maskCopy.SetPixelFormat(pf1bit);
        maskHandle = maskCopy.GetHandle();
    }
    int index = ImageList_Add(GetHandle(), copy.GetHandle(), maskHandle);
    Changed();
    return index;
}

int TCustomImageList::AddMasked(TBitmap* image, TColor maskColor) {
    if (!image || image->GetEmpty()) return -1;
    TBitmap copy;
    copy.Assign(*image);
    copy.SetPixelFormat(pf24bit);
    int index = ImageList_AddMasked(GetHandle(), copy.GetHandle(), ColorToColorRef(maskColor));
    Changed();
    return index;
}

int TCustomImageList::AddIcon(TIcon* icon) {
    if (!icon || icon->GetEmpty()) return -1;
    int index = ImageList_AddIcon(GetHandle(), icon->GetHandle());
    Changed();
    return index;
}

void TCustomImageList::Delete(int index) {
    if (handle_ && index >= 0 && index < Count()) {
        ImageList_Remove(handle_, index);
        Changed();
    }
}

void TCustomImageList::Clear() {
    if (handle_) {
        ImageList_Remove(handle_, -1);
        Changed();
    }
}

void TCustomImageList::Draw(TCanvas* canvas, int x, int y, int index, bool enabled) {
    if (!canvas || !handle_ || index < 0 || index >= Count()) return;
    HDC dc = canvas->GetHandle();
    if (enabled) {
        ImageList_Draw(handle_, index, dc, x, y, ILD_TRANSPARENT);
    } else {
        IMAGELISTDRAWPARAMS p{};
        p.cbSize = sizeof(p);
        p.himl = handle_;
        p.i = index;
        p.hdcDst = dc;
        p.x = x;
        p.y = y;
        p.rgbBk = CLR_NONE;
        p.rgbFg = CLR_DEFAULT;
        p.fStyle = ILD_TRANSPARENT | ILD_BLEND50;
        p.fState = ILS_SATURATE;
        ImageList_DrawIndirect(&p);
    }
}

bool TCustomImageList::GetBitmap(int index, TBitmap* bitmap) {
    if (!bitmap || !handle_ || index < 0 || index >= Count()) return false;
    bitmap->SetPixelFormat(pf24bit);
    bitmap->SetSize(width_, height_);
    TCanvas* c = bitmap->GetCanvas();
    c->GetBrush()->SetColor(clFuchsia);
    c->FillRect(RECT{0, 0, width_, height_});
    ImageList_Draw(handle_, index, c->GetHandle(), 0, 0, ILD_TRANSPARENT);
    return true;
}

}  // namespace vx
