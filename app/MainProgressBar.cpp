#include "app/MainProgressBar.h"

#include "widgets/GradientProgressBar.h"

namespace vx {

TGradientProgressBar* CreateMainProgressBar(TComponent* owner, TWinControl* parent, int left, int top, int width,
                                            int height) {
    auto* bar = new TGradientProgressBar(owner);
    bar->SetName(L"ProgressBar");
    bar->SetParent(parent);
    bar->SetBounds(left, top, width, height);
    bar->SetColorScheme(csSky);
    return bar;
}

TControl* AsControl(TGradientProgressBar* bar) { return bar; }
int BarPosition(const TGradientProgressBar* bar) { return bar->GetPosition(); }
void SetBarPosition(TGradientProgressBar* bar, int position) { bar->SetPosition(position); }

}  // namespace vx
