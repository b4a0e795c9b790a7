#include "skin/window/FrameRules.h"

#include <algorithm>

#include "skin/window/ManagerRules.h"

namespace vx {

namespace {

int AtLeastOne(int frames) { return frames < 1 ? 1 : frames; }

}  // namespace

TWindowClass ClassifyWindow(const TWindowFacts& f) {
    using namespace style_bits;
    TWindowClass c;
    if (f.Style & SysMenu) c.BorderIcons |= biSysMenuBox;
    if (f.Style & MinimizeBox) c.BorderIcons |= biMinBox;
    if (f.Style & MaximizeBox) c.BorderIcons |= biMaxBox;
    if (f.ExStyle & ExContextHelp) c.BorderIcons |= biHelpBox;
    c.Sizeable = (f.Style & ThickFrame) != 0;
    c.RightToLeft = (f.ExStyle & ExLeftScrollBar) != 0;
    c.Child = (f.Style & Child) != 0;
    if (f.HasMdiClientChild) c.Mdi = TMdiKind::Frame;
    if (f.ExStyle & ExMdiChild) c.Mdi = TMdiKind::Child;
    if ((f.Style & Caption) != Caption) {
        // No caption: no frame at all. The dialog overrides below only apply to a window
        // that has a title bar to draw.
        c.BorderKind = TBorderKind::None;
        c.Dialog = f.DialogClass;
    } else {
        c.BorderKind = (f.Style & ThickFrame)  ? TBorderKind::Sizeable
                       : (f.Style & ModalFrame) ? TBorderKind::Dialog
                                                : TBorderKind::Single;
        if (f.ExStyle & ExDlgModalFrame) c.BorderKind = TBorderKind::Dialog;
        if (f.DialogClass) {
            c.BorderKind = TBorderKind::Dialog;
            c.Dialog = true;
        }
    }
    if (f.Windows2000 && ((f.ExStyle & ExAppWindow) || (!f.HasOwner && c.Mdi != TMdiKind::Child)))
        c.BorderIcons |= biStyleLeftAlone;
    return c;
}

TShowState ShowStateFromShowCmd(unsigned cmd) {
    switch (cmd) {
    case 2:  // SW_SHOWMINIMIZED
    case 6:  // SW_MINIMIZE
    case 7:  // SW_SHOWMINNOACTIVE
        return TShowState::Minimized;
    case 3: return TShowState::Maximized;  // SW_SHOWMAXIMIZED
    default: return TShowState::Normal;
    }
}

bool ShowStateFromSizeType(unsigned sizeType, TShowState& state) {
    switch (sizeType) {
    case 0: state = TShowState::Normal; return true;     // SIZE_RESTORED
    case 1: state = TShowState::Minimized; return true;  // SIZE_MINIMIZED
    case 2: state = TShowState::Maximized; return true;  // SIZE_MAXIMIZED
    default: return false;
    }
}

TBorderSizes BorderSizes(const TBorderPicture& left, const TBorderPicture& right, const TBorderPicture& top,
                         const TBorderPicture& bottom, TBorderKind kind) {
    if (kind == TBorderKind::None) return {};
    return {left.Width / AtLeastOne(left.FrameCount), top.Height / AtLeastOne(top.FrameCount),
            right.Width / AtLeastOne(right.FrameCount), bottom.Height / AtLeastOne(bottom.FrameCount)};
}

int BorderFrame(bool active, int frameCount) { return active || frameCount <= 1 ? 1 : 2; }

void FrameWindowSize(int clientWidth, int clientHeight, const TBorderSizes& b, int menuBarHeight, int& width,
                     int& height) {
    width = clientWidth + b.Left + b.Right;
    height = clientHeight + b.Top + b.Bottom + menuBarHeight;
}

TLayoutRect KeepInside(const TLayoutRect& window, const TLayoutRect& area) {
    int dx = 0, dy = 0;
    if (window.Right > area.Right) dx = area.Right - window.Right;
    if (window.Bottom > area.Bottom) dy = area.Bottom - window.Bottom;
    if (window.Left + dx < area.Left) dx = std::min(0, area.Left - window.Left);
    if (window.Top + dy < area.Top) dy = std::min(0, area.Top - window.Top);
    return {window.Left + dx, window.Top + dy, window.Right + dx, window.Bottom + dy};
}

TLayoutRect FrameClientRect(int x, int y, int cx, int cy, const TBorderSizes& b, int menuBarHeight) {
    TLayoutRect r{x + b.Left, y + b.Top + menuBarHeight, x + cx - b.Right, y + cy - b.Bottom};
    // A window smaller than its frame keeps an empty client area rather than an
    // inverted one.
    if (r.Right < r.Left) r.Right = r.Left;
    if (r.Bottom < r.Top) r.Bottom = r.Top;
    return r;
}

int DialogWidening(int titleLeftWidth, int textWidth, int titleRightWidth, int windowWidth) {
    const int need = titleLeftWidth + textWidth + titleRightWidth;
    return need > windowWidth ? need - windowWidth : 0;
}

void DetachedSize(int width, int height, const TBorderSizes& b, int oldFrameWidth, int oldFrameHeight,
                  int& outWidth, int& outHeight) {
    outWidth = width - b.Left - b.Right + oldFrameWidth;
    outHeight = height - b.Top - b.Bottom + oldFrameHeight;
}

int MapHitTest(int answer, int y, int topHeight, int menuBarHeight) {
    if (answer != htNowhere && answer != htCaption) return answer;
    if (y <= 3) return answer;
    if (menuBarHeight > 0 && y > topHeight && y < topHeight + menuBarHeight) return htMenu;
    return htCaption;
}

void ClientToWindowPoint(int& x, int& y, const TBorderSizes& b, int menuBarHeight, bool maximizedMdiChild) {
    if (maximizedMdiChild) return;
    x += b.Left;
    y += b.Top + menuBarHeight;
}

int TTitleButtonDef::FrameWidth() const { return ImageWidth / AtLeastOne(FrameCount); }

namespace {

// One column of the visibility table; `second` picks the Visibility1 column.
bool VisibilityCondition(int code, bool second, int action, const TTitleWindowState& w, int firstCode) {
    const bool maxBox = w.BorderIcons & biMaxBox, minBox = w.BorderIcons & biMinBox;
    const bool help = w.BorderIcons & biHelpBox, sys = w.BorderIcons & biSysMenuBox;
    switch (code) {
    case 0: return true;
    case 1: return w.Maximized;
    case 2: return !w.Maximized;
    case 3: return w.Active;
    case 4: return !w.Active;
    case 6:
    case 8: return second ? (minBox || maxBox) : ((minBox || maxBox) && sys);
    case 7: return !maxBox;
    case 9: return !minBox;
    case 10: return second ? help : (help && !minBox && !maxBox);
    case 100:
        // The second column repeats the result of the first one.
        return second ? VisibilityCondition(firstCode, false, action, w, firstCode) : w.MdiFrameChildMaximizedWithMenuBar;
    case 200: return w.BorderKind == TBorderKind::Dialog && !w.Dialog;
    default: break;
    }
    if (code >= 201 && code <= 999) return true;
    if (code >= 1000 && code <= 2000) return second || (w.AskVisible && w.AskVisible(code, action) > 0);
    return false;
}

}  // namespace

TTitleButtonState EvaluateTitleButton(const TTitleButtonDef& d, const TTitleWindowState& w) {
    TTitleButtonState s;
    s.Visible = VisibilityCondition(d.Visibility, false, d.Action, w, d.Visibility) &&
                VisibilityCondition(d.Visibility1, true, d.Action, w, d.Visibility);
    const bool sys = w.BorderIcons & biSysMenuBox;
    switch (d.Action) {
    case 0:
        if (!sys) s.Visible = false;
        break;
    case 1: s.Enabled = (w.BorderIcons & biMaxBox) && sys; break;
    case 2: s.Enabled = (w.BorderIcons & biMinBox) && sys; break;
    case 3:
    case 11:
    case 12:
        if (w.BorderKind == TBorderKind::Dialog) s.Visible = false;
        break;
    default: break;
    }
    return s;
}

int RightReserve(const std::vector<TTitleButtonDef>& defs, const std::vector<TTitleButtonState>& states) {
    int reserve = 0;
    for (size_t i = 0; i < defs.size() && i < states.size(); ++i)
        if (states[i].Visible && defs[i].Align == 1 && defs[i].HasImage()) reserve = std::max(reserve, defs[i].XCoord);
    return reserve;
}

TLayoutRect PlaceTitleButton(const TTitleButtonDef& d, const TPlacementFrame& f) {
    const int w = d.FrameWidth(), h = d.ImageHeight;
    int x = d.XCoord, y = d.YCoord;
    switch (d.Align) {
    case 1: x = f.WindowWidth - d.XCoord; break;
    case 2:
    case 8: x = f.CaptionLeft - w - d.XCoord; break;
    case 3:
    case 9: x = f.CaptionRight + d.XCoord; break;
    case 100:
        x = f.WindowWidth - d.XCoord - f.Borders.Right - (f.HasMenuBarElement ? f.MenuBarLeftWidth : 0);
        y = f.Borders.Top + (f.MenuBarHeight - h) / 2;
        break;
    default: break;  // 0 and unknown alignments: at (XCoord, YCoord)
    }
    return {x, y, x + w, y + h};
}

int TitlePaintFrame(const TTitleButtonDef& d, const TTitleButtonState& s, bool windowActive) {
    if (!s.Visible || !d.HasImage() || d.Visibility == 100) return 0;
    return d.FrameCount >= 4 && (!windowActive || !s.Enabled) ? 4 : 1;
}

int StatePaintFrame(const TTitleButtonDef& d, int state, bool enabled) {
    int frame = state;
    if (!enabled) frame = d.FrameCount > 3 ? 4 : 1;
    if (d.Visibility == 100 && state == nsHover) frame = 4;
    if (frame < 1 || frame > AtLeastOne(d.FrameCount)) frame = 1;
    return frame;
}

int HitTitleButton(const std::vector<TTitleButtonDef>& defs, const std::vector<TTitleButtonState>& states,
                   const std::vector<TLayoutRect>& rects, int x, int y) {
    const size_t n = std::min({defs.size(), states.size(), rects.size()});
    for (size_t i = 0; i < n; ++i) {
        const TLayoutRect& r = rects[i];
        if (states[i].Visible && defs[i].Action >= 0 && x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom)
            return static_cast<int>(i);
    }
    return -1;
}

TButtonEffect ButtonEffect(int action, bool enabled) {
    if (!enabled) return TButtonEffect::Nothing;
    switch (action) {
    case 0: return TButtonEffect::Close;
    case 1:
    case 22: return TButtonEffect::ToggleMaximize;
    case 2:
    case 23: return TButtonEffect::ToggleMinimize;
    case 3:
    case 11:
    case 12: return TButtonEffect::SystemMenu;
    case 4: return TButtonEffect::ContextHelp;
    case 7:
    case 60: return TButtonEffect::MdiChildMinimize;
    case 8:
    case 61: return TButtonEffect::MdiChildRestore;
    case 9:
    case 62: return TButtonEffect::MdiChildClose;
    default: return action < 0 ? TButtonEffect::Nothing : TButtonEffect::Custom;
    }
}

TCaptionLayout LayoutCaption(const TCaptionInput& in) {
    const int width = in.TextWidth + in.BackLeft + in.BackRight;
    const TLayoutRect& t = in.TitleRect;
    int left;
    if (!in.RightToLeft) {
        switch (in.TextAlignment) {
        case 1: left = t.Left + (t.Width() - width) / 2; break;
        case 2: left = t.Right - in.RightWidth - width; break;
        default: left = in.LeftWidth; break;
        }
    } else {
        switch (in.TextAlignment) {
        case 1: left = t.Left + (t.Width() - in.RightReserve - width) / 2; break;
        case 2: left = in.LeftWidth; break;
        default: left = t.Right - in.RightReserve - width; break;
        }
    }
    const int top = t.Top + (t.Height() - in.TextHeight) / 2 + in.TopHeight / 2;
    TLayoutRect c{left, top, left + width, top + in.TextHeight};
    if (!in.RightToLeft) {
        // The caption stops before the right-aligned buttons (a popup window with room
        // kept for them) or before the title's right clip.
        const int limit = in.Popup && in.RightReserve > 5 ? t.Right - in.RightReserve - 5 : t.Right - in.RightWidth;
        c.Right = std::min(c.Right, limit);
    } else {
        c.Left += 10;
        c.Right += 10;
        if (c.Left < 1) c.Left = in.LeftWidth;
    }
    if (in.DialogFrame && in.TextAlignment == 0) {
        c.Left -= 16;
        c.Right -= 16;
    }
    if (c.Right < c.Left) c.Right = c.Left;
    TCaptionLayout out;
    out.Caption = c;
    out.Text = {c.Left + in.BackLeft, c.Top, std::max(c.Left + in.BackLeft, c.Right - in.BackRight), c.Bottom};
    return out;
}

}  // namespace vx
