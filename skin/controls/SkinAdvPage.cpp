#include "skin/controls/SkinAdvPage.h"

#include "framework/Controls.h"
#include "framework/Graphics.h"
#include "framework/Handles.h"

namespace vx {

VX_IMPLEMENT_CLASS(TSkinAdvPage, TSkinTab)

TBitmap* TSkinAdvPage::TabPicture(int frame) const {
    // Frames 2 and 5 are the selected tab (without and with the focus); 3 is disabled.
    if (frame == 3) return nullptr;
    const wchar_t* name = frame == 2 || frame == 5 ? L"TabBackGroundActive" : L"TabBackGround";
    auto* picture = static_cast<TBitmap*>(ReadObjectProperty(control_, name, TBitmap::StaticClass()));
    return picture && !picture->GetEmpty() ? picture : nullptr;
}

void TSkinAdvPage::DrawTab(HDC dc, const RECT& r, int frame, TTabSide side) {
    TBitmap* picture = TabPicture(frame);
    if (!picture) {
        TSkinTab::DrawTab(dc, r, frame, side);
        return;
    }
    // The picture is the control's: it is handed back to its canvas unselected.
    TWindowDC screen(nullptr);
    TMemoryDC from(screen.Get());
    TSelectObject select(from.Get(), picture->GetHandle());
    const int oldMode = ::SetStretchBltMode(dc, COLORONCOLOR);
    ::StretchBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, from.Get(), 0, 0, picture->GetWidth(),
                 picture->GetHeight(), SRCCOPY);
    ::SetStretchBltMode(dc, oldMode);
}

}  // namespace vx
