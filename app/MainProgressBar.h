#pragma once
// The main window's gradient progress bar, reached through this small unit: the
// framework's ComCtrls.h and the bar's header both declare TProgressBarOrientation, so
// the window's unit (which needs the list view) cannot include the bar's header.

#include "framework/Controls.h"

namespace vx {

class TGradientProgressBar;

// Makes the bar (scheme csSky) on `parent` at the given bounds.
TGradientProgressBar* CreateMainProgressBar(TComponent* owner, TWinControl* parent, int left, int top, int width,
                                            int height);
TControl* AsControl(TGradientProgressBar* bar);
int BarPosition(const TGradientProgressBar* bar);
void SetBarPosition(TGradientProgressBar* bar, int position);

}  // namespace vx
