#pragma once
// Which control skin object a child control gets: the rules of the dispatcher, kept
// free of the platform. The Win32 dispatcher gathers the facts of a control (its class
// name and ancestry, its window style, a few properties), asks these rules, and then
// creates and initialises the object they name.
//
// Three sources decide, in this order: the skin data's Skin3rd map (class name "=" kind),
// the built-in chain over the framework's classes, and for windows of other code the
// class-name and style rules. Every decision is gated by a member of the skin data's
// SkinControls set.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vx {

namespace skinrules {

// Members of the skin data's SkinControls set, in their stored order; the set is a bit
// set with bit n for member n.
enum TSkinControlType : int {
    xcMainMenu, xcPopupMenu, xcMenuItem, xcToolbar, xcControlbar, xcCombo, xcCheckBox,
    xcRadioButton, xcProgress, xcScrollbar, xcEdit, xcButton, xcBitBtn, xcSpeedButton, xcSpin,
    xcPanel, xcGroupBox, xcStatusBar, xcTab, xcTrackBar, xcSystemMenu, xcFastReport,
};

// Members of the skin data's Options set, in their stored order (bit n for member n).
enum TSkinOption : int {
    xoMDIScrollbar, xoMenuMerge, xoTransparent, xoPreview, xoParentBackGround, xoNoFocusRect,
    xoToolbarBK, xoToolbarButton, xoMDIChildBorder, xoMenuBG, xoFormScrollbar,
};

using TSkinControlSet = std::uint32_t;
using TSkinOptionSet = std::uint32_t;

constexpr std::uint32_t Bit(int member) { return 1u << member; }
constexpr bool Has(std::uint32_t set, int member) { return (set & Bit(member)) != 0; }
// Every member but xcMenuItem and xcFastReport: the skin data's default.
constexpr TSkinControlSet DefaultSkinControls =
    ((1u << (xcFastReport + 1)) - 1) & ~Bit(xcMenuItem) & ~Bit(xcFastReport);

}  // namespace skinrules

// The control skin classes a dispatch can ask for.
enum class TSkinClass {
    None,
    SkinButton, SkinBitButton, SkinSpeedButton, SkinMenuButton,
    SkinCheckBox, SkinRadioButton, SkinObjImage,
    SkinGroupBox, SkinBox, SkinBoxH,
    SkinTab, SkinTabBtn, SkinTabSheet, SkinTab31, SkinAdvPage, SkinStatusBar,
    SkinTrackBar, SkinUpDown, SkinProgress,
    SkinEdit, SkinComBox, SkinDateTime,
    SkinScrollbar, SkinListView, SkinSizer, SkinScControl, SkinMP,
};

// The name a skin class has in the skin engine ("TSkinButton"), for messages and tests.
const char* SkinClassName(TSkinClass c);

// When the children of a control are offered to the dispatcher, relative to the
// object attached to the control itself.
enum class TChildren {
    None,
    Before,        // children first, then the object (panels)
    After,         // the object first, then the children
    OwnedControls, // an embedded form: its owned controls, after the object
};

// What to do with one control. A decision that `Matched` ends the dispatch of that
// control, whether or not it attaches anything.
struct TSkinChoice {
    bool Matched = false;
    TSkinClass Class = TSkinClass::None;
    // TSkinObjImage: 1 check kind, 2 radio kind, 3 the third family's check box.
    int ObjImageKind = 0;
    // Initialised as a container (the container flag of the initialisation).
    bool Container = false;
    // TSkinComBox in extended mode; TSkinScrollbar in single mode.
    bool ExtendedMode = false;
    bool SingleMode = false;
    // TSkinBitButton / TSkinSpeedButton: the property holding the glyph ("PngImage").
    std::wstring GlyphProperty;
    // Set the control's property "Transparent" to "True" before attaching.
    bool SetTransparent = false;
    // "edit" kind: attach only when window and client rectangles differ.
    bool OnlyWithBorder = false;
    TChildren Children = TChildren::None;
    // A class every child gets directly instead of being dispatched (radio and check
    // groups: each item; embedscrollbar: each child that scrolls). With a non-zero
    // ChildObjImageKind, a child whose class name contains "TRZ" gets TSkinObjImage of
    // that kind instead.
    TSkinClass ChildClass = TSkinClass::None;
    int ChildObjImageKind = 0;
    bool ChildOnlyIfScrolling = false;
    // Only the children that are pages of a page control (TTabSheet descendants).
    bool ChildOnlyIfSheet = false;
    // Foreign windows: the framework control behind the window takes ButtonFaceColour.
    bool FaceColour = false;
    // Foreign windows: the object goes on the window's first child.
    bool OnFirstChild = false;
};

// The facts of a framework control that the rules read.
struct TControlFacts {
    std::wstring ClassName;
    // The control's class and each of its ancestors, nearest first.
    std::vector<std::wstring> Ancestry;
    bool Windowed = false;
    // The window's style has WS_HSCROLL or WS_VSCROLL.
    bool ScrollStyle = false;
    // The window and client rectangles differ (the control has a border).
    bool HasBorder = false;
    // Integer property "NumButtons" (-1 when missing).
    int NumButtons = -1;
    // Enumeration property "Kind" by value name (empty when missing).
    std::wstring KindProperty;
    // The window's style draws the tabs as buttons (TCS_BUTTONS).
    bool ButtonTabs = false;
};

// Tab-control styles the rules read.
inline constexpr std::uint32_t kTabButtonsStyle = 0x0100;  // TCS_BUTTONS

// The settings of the skin data that steer a dispatch.
struct TDispatchSettings {
    skinrules::TSkinControlSet SkinControls = skinrules::DefaultSkinControls;
    // The skin has a tab image (its Tabs element exists).
    bool HasTabImage = false;
};

// ASCII-only case rules of class names and kinds.
std::wstring LowerAscii(std::wstring_view s);
std::wstring UpperAscii(std::wstring_view s);
// The class or one of its ancestors has this name (without regard to case).
bool DescendsFrom(const TControlFacts& facts, std::wstring_view className);

// The first steps for one control. A control tagged with DisableTag is left alone;
// a radio or check group so tagged passes the tag on to its items.
enum class TPreDispatch { Proceed, Disabled, DisabledGroup, Skip };
TPreDispatch PreDispatch(std::wstring_view className, int tag, int disableTag, bool hasParent,
                         bool alreadySkinned);

// The Skin3rd line for a class: each line lower-cased, the first that begins with the
// lower-cased class name and "=" gives the kind (at most 50 characters after "=").
struct TSkin3rdMatch {
    bool Found = false;
    std::wstring Line;  // lower-cased
    std::wstring Kind;  // lower-cased
};
TSkin3rdMatch FindSkin3rd(const std::vector<std::wstring>& lines, std::wstring_view className);

// The decision of a Skin3rd line (Matched is always true): "nil", an unknown kind or a
// closed gate attach nothing.
TSkinChoice Skin3rdChoice(const TSkin3rdMatch& match, const TControlFacts& facts,
                          const TDispatchSettings& settings);

// The classes that never go through the built-in chain.
bool SkipsBuiltInChain(std::wstring_view className);

// The built-in chain: the first row whose test and gate hold decides. A bitmap button
// ends the chain even when its gate is closed. Matched is false when no row holds.
TSkinChoice BuiltInChain(const TControlFacts& facts, const TDispatchSettings& settings);

// The program's own hook for framework controls that neither the Skin3rd map nor the
// built-in chain reach: status bars (TSkinStatusBar, gate xcStatusBar) and stand-alone
// scroll bars (TSkinScControl, gate xcScrollbar). Matched is false for anything else,
// and the dispatch goes on as without a hook.
TSkinChoice FrameworkExtraChoice(const TControlFacts& facts, const TDispatchSettings& settings);

// A child window of another program's (or the system's) dialog, by class name (read
// with at most 100 characters, compared lower-cased) and window style. Button styles
// are read as values: the check-box test has the value 0x2, the radio test 0x4.
TSkinChoice ForeignWindowChoice(std::wstring_view className, std::uint32_t style,
                                skinrules::TSkinControlSet gates);

}  // namespace vx
