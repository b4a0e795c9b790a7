#pragma once
// The framework's message record and its own notification numbers. Window messages
// and framework notifications travel through a control's message method (WindowProc)
// in the same record, so a method installed in front of a control sees both kinds.

#include <cstdint>
#include <functional>

namespace vx {

// One message on its way through a control's message method. Result is what the
// message answers (the window procedure's return value).
struct TMessage {
    unsigned Msg = 0;
    std::uintptr_t WParam = 0;
    std::intptr_t LParam = 0;
    std::intptr_t Result = 0;
};

// A replaceable message method. Whoever replaces one keeps the previous method and
// decides, per message, whether to hand the message on to it.
using TWndMethod = std::function<void(TMessage&)>;

// Framework notifications, sent to controls through their message method. The numbers
// are fixed: other code (the skin engine) recognises them by value.
constexpr unsigned CM_BASE = 0xB000;
constexpr unsigned CM_ACTIVATE = CM_BASE + 0;
constexpr unsigned CM_DEACTIVATE = CM_BASE + 1;
constexpr unsigned CM_GOTFOCUS = CM_BASE + 2;
constexpr unsigned CM_LOSTFOCUS = CM_BASE + 3;
constexpr unsigned CM_CANCELMODE = CM_BASE + 4;
constexpr unsigned CM_DIALOGKEY = CM_BASE + 5;           // WParam: virtual key; Result 1 = handled
constexpr unsigned CM_DIALOGCHAR = CM_BASE + 6;          // WParam: character; Result 1 = handled
constexpr unsigned CM_FOCUSCHANGED = CM_BASE + 7;        // LParam: the newly focused TWinControl*
constexpr unsigned CM_PARENTFONTCHANGED = CM_BASE + 8;
constexpr unsigned CM_PARENTCOLORCHANGED = CM_BASE + 9;
constexpr unsigned CM_HITTEST = CM_BASE + 10;
constexpr unsigned CM_VISIBLECHANGED = CM_BASE + 11;     // 0xB00B, WParam: new visibility
constexpr unsigned CM_ENABLEDCHANGED = CM_BASE + 12;     // 0xB00C
constexpr unsigned CM_COLORCHANGED = CM_BASE + 13;
constexpr unsigned CM_FONTCHANGED = CM_BASE + 14;
constexpr unsigned CM_CURSORCHANGED = CM_BASE + 15;
constexpr unsigned CM_TEXTCHANGED = CM_BASE + 18;
constexpr unsigned CM_MOUSEENTER = CM_BASE + 19;         // 0xB013
constexpr unsigned CM_MOUSELEAVE = CM_BASE + 20;         // 0xB014
constexpr unsigned CM_MENUCHANGED = CM_BASE + 21;        // 0xB015, sent to a form when its menu changed
constexpr unsigned CM_BUTTONPRESSED = CM_BASE + 24;      // speed-button groups: WParam group, LParam button
constexpr unsigned CM_SHOWINGCHANGED = CM_BASE + 25;
constexpr unsigned CM_ENTER = CM_BASE + 26;              // the control got the focus
constexpr unsigned CM_EXIT = CM_BASE + 27;               // 0xB01B, the control lost the focus
constexpr unsigned CM_RELEASE = CM_BASE + 33;            // posted by TCustomForm::Release
constexpr unsigned CM_SHOWHINTCHANGED = CM_BASE + 34;
constexpr unsigned CM_TABSTOPCHANGED = CM_BASE + 40;
constexpr unsigned CM_HINTSHOW = CM_BASE + 48;
constexpr unsigned CM_RECREATEWND = CM_BASE + 51;        // 0xB033, the control's window was made anew
constexpr unsigned CM_INVALIDATE = CM_BASE + 52;
constexpr unsigned CM_BORDERCHANGED = CM_BASE + 59;
constexpr unsigned CM_BIDIMODECHANGED = CM_BASE + 60;
// A check box or radio button's checked state was changed (by the user or the program).
constexpr unsigned CM_CHECKSTATECHANGED = CM_BASE + 0xD0;  // 0xB0D0

// Notifications a parent window reflects back to the child control they concern
// (WM_COMMAND, WM_NOTIFY, WM_DRAWITEM ... arrive as CN_BASE + the message).
constexpr unsigned CN_BASE = 0xBC00;
constexpr unsigned CN_COMMAND = CN_BASE + 0x0111;
constexpr unsigned CN_NOTIFY = CN_BASE + 0x004E;
constexpr unsigned CN_DRAWITEM = CN_BASE + 0x002B;
constexpr unsigned CN_MEASUREITEM = CN_BASE + 0x002C;
constexpr unsigned CN_HSCROLL = CN_BASE + 0x0114;
constexpr unsigned CN_VSCROLL = CN_BASE + 0x0115;
constexpr unsigned CN_CTLCOLOREDIT = CN_BASE + 0x0133;
constexpr unsigned CN_CTLCOLORLISTBOX = CN_BASE + 0x0134;
constexpr unsigned CN_CTLCOLORBTN = CN_BASE + 0x0135;
constexpr unsigned CN_CTLCOLORSTATIC = CN_BASE + 0x0138;

// True for the framework's own notification range (CM_ and CN_ messages).
bool IsFrameworkMessage(unsigned msg);

}  // namespace vx
