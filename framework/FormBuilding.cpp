#include "framework/FormBuilding.h"

#include <exception>

namespace vx {

TLabel* PlaceLabel(TComponent* owner, TWinControl* parent, const wchar_t* name, int left, int top,
                   const std::wstring& caption) {
    auto* label = new TLabel(owner);
    label->SetName(name);
    label->SetParent(parent);
    label->SetLeft(left);
    label->SetTop(top);
    label->SetCaption(caption);
    return label;
}

void UseDialogFont(TControl& control) {
    control.GetFont()->SetName(L"宋体");
    control.GetFont()->SetHeight(-12);
    control.GetFont()->SetCharset(GB2312_CHARSET);
}

bool LoadBitmapResource(TBitmap& bitmap, const wchar_t* name) {
    try {
        bitmap.LoadFromResourceName(::GetModuleHandleW(nullptr), name);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

bool LoadBitmapResource(TImage& image, const wchar_t* name) {
    TBitmap bitmap;
    if (!LoadBitmapResource(bitmap, name)) return false;
    image.GetPicture()->SetGraphic(&bitmap);
    return true;
}

}  // namespace vx
