#pragma once
// The decisions of the skin manager, kept free of the platform: which window gets a
// form object (every test in its order), the class filter, which skin data component
// serves a window, and what a requested action does to the manager's state. The Win32
// manager (SkinManage) feeds them the facts it reads from windows and components.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace vx {

// Window style bits the rules look at (the platform's values).
namespace style_bits {
constexpr std::uint32_t Child = 0x40000000;        // WS_CHILD
constexpr std::uint32_t Popup = 0x80000000;        // WS_POPUP
constexpr std::uint32_t Caption = 0x00C00000;      // WS_CAPTION
constexpr std::uint32_t SysMenu = 0x00080000;      // WS_SYSMENU
constexpr std::uint32_t ThickFrame = 0x00040000;   // WS_THICKFRAME
constexpr std::uint32_t MinimizeBox = 0x00020000;  // WS_MINIMIZEBOX
constexpr std::uint32_t MaximizeBox = 0x00010000;  // WS_MAXIMIZEBOX
constexpr std::uint32_t ModalFrame = 0x00000080;   // DS_MODALFRAME
constexpr std::uint32_t DialogBit200 = 0x00000200; // a "#32770" dialog with this bit stays unskinned
constexpr std::uint32_t ExMdiChild = 0x00000040;   // WS_EX_MDICHILD
constexpr std::uint32_t ExDlgModalFrame = 0x00000001;  // WS_EX_DLGMODALFRAME
constexpr std::uint32_t ExContextHelp = 0x00000400;    // WS_EX_CONTEXTHELP
constexpr std::uint32_t ExLeftScrollBar = 0x00004000;  // WS_EX_LEFTSCROLLBAR
constexpr std::uint32_t ExAppWindow = 0x00040000;      // WS_EX_APPWINDOW
}  // namespace style_bits

// ASCII lower case (class names are compared this way).
std::wstring LowerAscii(std::wstring text);

// Scope of a skin data component, in the component's stored order.
enum class TSkinScope { MainForm = 0, OnlyThisForm = 1, Dialog = 2, Dll = 3 };

// Why AttachForm refused a window, or None when it attaches one. In the order of the
// tests.
enum class TAttachRefusal {
    None,
    NotActive,        // 1. the manager is not active
    AlreadySkinned,   // 3. answers the skin query, or already has a form object
    OrdinaryChild,    // 5. a child window that is not an MDI child (not while scanning)
    NotOurs,          // 6. no framework form, another instance and not "#32770"
    NoArea,           // 7. zero width or height and not an MDI child
    Tag99,            // 8. a framework form whose Tag is 99
    RefusedClass,     // 9. popup windows of other libraries and "TApplication"
    ClassFilter,      // 10. the class filter said no
    NoSkinData,       // 11. no component chosen
    NoSkin,           // 11. the chosen component has no loaded skin
};

// What the attach decision asks about a window, in the order it asks; a refusal ends
// the questions (later ones are not asked). The Win32 manager answers from the window;
// tests answer from data and record the order.
class IAttachFacts {
public:
    virtual ~IAttachFacts() = default;
    virtual bool ManagerActive() = 0;
    virtual void Purge() = 0;
    virtual bool AnswersSkinQuery() = 0;  // WM_SKINQUERY answered 1
    virtual bool HasFormObject() = 0;     // the form list holds the window already
    virtual bool FindFrameworkForm() = 0; // looks the form up (kept for the rest)
    virtual bool Scanning() = 0;
    virtual std::uint32_t Style() = 0;
    virtual std::uint32_t ExStyle() = 0;
    virtual std::wstring ParentClassName() = 0;
    virtual std::wstring ClassName() = 0;  // at most 100 characters
    virtual bool InstanceIsModule() = 0;
    virtual bool HasArea() = 0;           // the window rectangle has a non-zero area
    virtual std::intptr_t FormTag() = 0;  // asked only with a framework form
    virtual bool ClassFilterAccepts(const std::wstring& className) = 0;
    virtual bool ChooseSkinData(const std::wstring& className) = 0;  // true: one was chosen
    virtual bool ChosenHasSkin() = 0;
};

// Runs the tests of AttachForm in their order.
TAttachRefusal DecideAttach(IAttachFacts& facts);

// The class filter, applied with the main skin data (none: every class passes).
// `formSkinQuery` is that component's own filter, which sees the class name and may
// change the answer it is given.
struct TClassFilterInput {
    bool HasMainSkinData = false;
    bool Preview = false;  // xoPreview in the main skin data's Options
    std::wstring ClassName;
    std::uint32_t Style = 0;
};
bool ClassFilterAccepts(const TClassFilterInput& input, const std::function<void(const std::wstring&, bool&)>& formSkinQuery);

// One registered skin data component as the choice sees it.
struct TSkinDataEntry {
    TSkinScope Scope = TSkinScope::MainForm;
    bool OwnerIsThisWindow = false;  // its owner control's window is the window asked about
};
// The index of the component that serves a window of `className`, or -1 when none is
// registered.
int ChooseSkinData(const std::vector<TSkinDataEntry>& registered, const std::wstring& className);

// The manager's fields that RequestAction changes.
struct TActionState {
    std::int32_t State = 0;  // 0 nothing attached yet, 1 running, 4 destroying
    bool Active = false;
    std::uint32_t PendingAction = 0;
    std::uint32_t TimerInterval = 100;
    bool TimerEnabled = false;
};
// RequestAction: the action waits for the timer once something runs; before that (state
// 0) the timer stays off and activation or deactivation only switches the active flag.
void RequestAction(TActionState& state, std::uint32_t action, std::uint32_t delayMs);

// What the timer tick does with the pending action for a component of `scope`.
enum class TTickWork {
    None,
    ActivateOneForm,   // scan the requesting component's owner form
    ActivateAll,       // purge, scan every screen form
    DeactivateOneForm, // purge, detach the last form object using the component
    DeactivateAll,     // purge, detach every form object
    RefreshFirst,      // purge, rebuild the first form object using the component
    RefreshAll,        // purge, rebuild every form object using it, then recolour each
    Purge,             // free the dead form objects
};
TTickWork TickWork(TSkinScope scope, std::uint32_t action);

}  // namespace vx
