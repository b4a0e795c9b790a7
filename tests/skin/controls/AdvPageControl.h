#pragma once
// A page control of another component family, as the skin meets it: a page control
// publishing its own pictures for the tabs ("TabBackGround", "TabBackGroundActive"),
// empty at first. The framework has none; the dispatch and paint tests share this one.

#include <memory>

#include "framework/ComCtrls.h"
#include "framework/Graphics.h"

namespace vx::testing {

class TAdvPageControl : public TPageControl {
    VX_DECLARE_CLASS(TAdvPageControl, TPageControl)
public:
    explicit TAdvPageControl(TComponent* owner)
        : TPageControl(owner), normal_(std::make_unique<TBitmap>()), active_(std::make_unique<TBitmap>()) {}
    TBitmap* GetTabBackGround() const { return normal_.get(); }
    TBitmap* GetTabBackGroundActive() const { return active_.get(); }
    static void RegisterProperties(TPropertyRegistrar<TAdvPageControl>& r) {
        r.Object(L"TabBackGround", &TAdvPageControl::GetTabBackGround)
            .Object(L"TabBackGroundActive", &TAdvPageControl::GetTabBackGroundActive);
    }

private:
    std::unique_ptr<TBitmap> normal_, active_;
};
// Inline, so that every test source of an executable may include this header.
inline VX_IMPLEMENT_CLASS_WITH_PROPERTIES(TAdvPageControl, TPageControl)

}  // namespace vx::testing
