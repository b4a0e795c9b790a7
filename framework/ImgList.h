#pragma once
// Image lists: equally sized small pictures (16 x 16 unless set otherwise) with masks,
// drawn by index. List views, tree views and menus take their item pictures from one.

#include <windows.h>
#include <commctrl.h>

#include "framework/Component.h"
#include "framework/Graphics.h"

namespace vx {

class TCustomImageList : public TComponent {
    VX_DECLARE_CLASS(TCustomImageList, TComponent)
public:
    explicit TCustomImageList(TComponent* owner);
    ~TCustomImageList() override;

    int GetWidth() const { return width_; }
    void SetWidth(int width);
    int GetHeight() const { return height_; }
    void SetHeight(int height);
    bool GetMasked() const { return masked_; }
    void SetMasked(bool value) { masked_ = value; }
    int Count() const;

    // Adds an image (cut into several when it is a multiple of Width wide) with an
    // optional monochrome mask; returns the index of the first one, or -1.
    int Add(TBitmap* image, TBitmap* mask);
    // Adds an image whose pixels of `maskColor` become transparent.
    int AddMasked(TBitmap* image, TColor maskColor);
    int AddIcon(TIcon* icon);
    void Delete(int index);
    void Clear();
    // Draws image `index` with its top-left corner at (x, y); disabled images are grayed.
    void Draw(TCanvas* canvas, int x, int y, int index, bool enabled = true);
    // Copies image `index` (on the mask colour background) into `bitmap`.
    bool GetBitmap(int index, TBitmap* bitmap);

    HIMAGELIST GetHandle();
    bool HandleAllocated() const { return handle_ != nullptr; }
    TNotifyEvent OnChange;
    static void RegisterProperties(TPropertyRegistrar<TCustomImageList>& r);

private:
    void Changed();
    void Recreate();
    HIMAGELIST handle_ = nullptr;
    int width_ = 16, height_ = 16;
    bool masked_ = true;
};

class TImageList : public TCustomImageList {
    VX_DECLARE_CLASS(TImageList, TCustomImageList)
public:
    explicit TImageList(TComponent* owner) : TCustomImageList(owner) {}
};

}  // namespace vx
