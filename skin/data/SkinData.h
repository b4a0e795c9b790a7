#pragma once
// TSkinData: the non-visual component a form carries to be skinned. It owns the
// compressed skin (the store), loads it into the skin model, publishes the settings
// that steer window and control skinning, and tells the process's skin manager
// (SkinManagerLink.h) when to switch skinning on, off or refresh.
//
// The form stream carries the compressed skin as the binary property "SkinStream": a
// 32-bit little-endian length, then that many bytes (ReadSkinStream/WriteSkinStream).

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "framework/Classes.h"
#include "framework/Component.h"
#include "framework/Graphics.h"
#include "framework/ImgList.h"
#include "skin/data/SkinModel.h"

namespace vx {

class TControl;
class TSkinData;

// Control kinds to skin; a set of them is a bit set, bit n for the member of ordinal n.
enum TSkinControlTypes : int {
    xcMainMenu, xcPopupMenu, xcMenuItem, xcToolbar, xcControlbar, xcCombo, xcCheckBox, xcRadioButton,
    xcProgress, xcScrollbar, xcEdit, xcButton, xcBitBtn, xcSpeedButton, xcSpin, xcPanel, xcGroupBox,
    xcStatusBar, xcTab, xcTrackBar, xcSystemMenu, xcFastReport,
};
inline constexpr int SkinControlTypeCount = 22;
using TSkinControlSet = std::uint32_t;
extern const wchar_t* const SkinControlTypeNames[SkinControlTypeCount];

enum TSkinOptions : int {
    xoMDIScrollbar, xoMenuMerge, xoTransparent, xoPreview, xoParentBackGround, xoNoFocusRect, xoToolbarBK,
    xoToolbarButton, xoMDIChildBorder, xoMenuBG, xoFormScrollbar,
};
inline constexpr int SkinOptionCount = 11;
using TSkinOptionSet = std::uint32_t;
extern const wchar_t* const SkinOptionNames[SkinOptionCount];

enum TSkinFormType : int { sfMainform, sfOnlyThisForm, sfDialog, sfDLL };

// The bit of one member in its set.
constexpr std::uint32_t SkinBit(int member) { return std::uint32_t{1} << member; }

// Every control kind but xcMenuItem and xcFastReport.
inline constexpr TSkinControlSet DefaultSkinControls =
    ((SkinBit(SkinControlTypeCount) - 1) & ~SkinBit(xcMenuItem)) & ~SkinBit(xcFastReport);
inline constexpr TSkinOptionSet DefaultSkinOptions = SkinBit(xoPreview) | SkinBit(xoToolbarBK);
inline constexpr std::int32_t DefaultDisableTag = 99;
// Delay of every action the component requests of the manager.
inline constexpr std::uint32_t SkinActionDelayMs = 250;

// The rows Skin3rd starts with: foreign control class "=" skin kind.
extern const wchar_t* const DefaultSkin3rdRows[];
extern const int DefaultSkin3rdRowCount;

// What a control skin object paints with: the skin model and the settings of the skin
// data that carries it. A skin data component owns one and keeps it in step with its
// settings; the control skin objects only read it (tests may fill one of their own).
struct TControlSkinData {
    TSkinModel* Model = nullptr;
    TSkinControlSet SkinControls = DefaultSkinControls;
    TSkinOptionSet Options = DefaultSkinOptions;
    std::int32_t DisableTag = DefaultDisableTag;
};

using TFormSkinEvent = std::function<void(TObject* Sender, const std::wstring& aName, bool& DoSkin)>;
using TSkinControlEvent =
    std::function<void(TComponent* Sender, TSkinData* SkinData, TControl* Form, TControl* Control,
                       const std::wstring& ControlClass, TComponent*& SkinnedControl)>;
using TSkinFormNotifyEvent = std::function<void(TObject* Sender, HWND ahwnd, const std::wstring& aName)>;

class TSkinData : public TComponent {
    VX_DECLARE_CLASS(TSkinData, TComponent)
public:
    explicit TSkinData(TComponent* owner);
    ~TSkinData() override;

    // --- published --------------------------------------------------------------------
    bool GetActive() const { return active_; }
    void SetActive(bool value);
    std::int32_t GetDisableTag() const { return disableTag_; }
    void SetDisableTag(std::int32_t value) {
        disableTag_ = value;
        controlData_.DisableTag = value;
    }
    TSkinControlSet GetSkinControls() const { return skinControls_; }
    void SetSkinControls(TSkinControlSet value) {
        skinControls_ = value & (SkinBit(SkinControlTypeCount) - 1);
        controlData_.SkinControls = skinControls_;
    }
    TSkinOptionSet GetOptions() const { return options_; }
    void SetOptions(TSkinOptionSet value) {
        options_ = value & (SkinBit(SkinOptionCount) - 1);
        controlData_.Options = options_;
    }
    TStrings* GetSkin3rd() const { return skin3rd_.get(); }
    // Copies the rows (null empties the list).
    void SetSkin3rd(TStrings* rows);
    std::wstring GetSkinFile() const { return skinFile_; }
    void SetSkinFile(const std::wstring& path);
    // "(Good)" in design mode with a filled store, "(none)" otherwise; read-only.
    std::wstring GetSkinStore() const;
    void SetSkinStore(const std::wstring&) {}
    TSkinFormType GetSkinFormtype() const { return skinFormtype_; }
    void SetSkinFormtype(TSkinFormType value) { skinFormtype_ = value; }
    std::wstring GetVersion() const { return L"1.0.0.0"; }
    void SetVersion(const std::wstring&) {}
    bool GetMenuUpdate() const { return menuUpdate_; }
    void SetMenuUpdate(bool value) { menuUpdate_ = value; }
    bool GetMenuMerge() const { return menuMerge_; }
    void SetMenuMerge(bool value) { menuMerge_ = value; }

    bool HasControl(TSkinControlTypes kind) const { return (skinControls_ & SkinBit(kind)) != 0; }
    bool HasOption(TSkinOptions option) const { return (options_ & SkinBit(option)) != 0; }

    // Asked for every window class the manager's filter sees; alone decides when set.
    TFormSkinEvent OnFormSkin;
    // After the manager completed an action requested by this component.
    TNotifyEvent OnSkinChanged;
    // Raised by control attachment.
    TSkinControlEvent OnSkinControl;
    // Raised around attaching a window.
    TSkinFormNotifyEvent OnBeforeSkinForm;
    TSkinFormNotifyEvent OnAfterSkinForm;

    // --- the skin -----------------------------------------------------------------------
    // Reads the "SkinStream" property: a 32-bit length and, when it is positive, that
    // many bytes into the store, then (not in design mode) LoadSkin. A length of 0 or
    // less leaves the store empty and loads nothing. A stream shorter than its length
    // raises EReadError and leaves the store empty.
    void ReadSkinStream(TStream& stream);
    // Writes the length of the store and its bytes.
    void WriteSkinStream(TStream& stream) const;
    // Decompresses the store and loads the skin model; true when the definition was
    // loaded (HasSkin). False in design mode and for an unreadable archive.
    bool LoadSkin();
    bool GetHasSkin() const { return hasSkin_; }
    TMemoryStream& Store() { return *store_; }
    TSkinModel& Model() { return *model_; }
    const TSkinModel& Model() const { return *model_; }
    // The model and settings the control skin objects of this skin paint with; it lives
    // as long as this component and follows every change of the settings.
    const TControlSkinData* ControlSkinData() const { return &controlData_; }

    // --- what the window and control skinning read ----------------------------------
    // The application's small icon on magenta, magenta transparent (empty until Loaded
    // finds an icon).
    TBitmap& IconBitmap() { return *iconBitmap_; }
    // Four 16 x 16 glyphs: restore, maximize, minimize, close.
    TImageList& MenuGlyphs() { return *menuGlyphs_; }
    // The system's caption font, taken when loading finishes.
    TFont& CaptionFont() { return *captionFont_; }
    std::int32_t MaximizedWidth() const { return maximizedWidth_; }
    std::int32_t MaximizedHeight() const { return maximizedHeight_; }
    HWND LastQueriedWindow() const { return lastQueriedWindow_; }
    // On from creation; the form frame skinning switches it off while it passes a
    // menu-change notification on, and paints the frame only while it is on.
    bool GetPaintFrame() const { return paintFrame_; }
    void SetPaintFrame(bool value) { paintFrame_ = value; }

    // The class filter: remembers the window; OnFormSkin decides alone when assigned;
    // otherwise "SysMonthCal32" is refused, and with xcFastReport class names that
    // begin with "Tfr"; else DoSkin keeps its value.
    void FormSkinQuery(HWND window, const std::wstring& className, bool& DoSkin);
    // Raises OnSkinChanged; the manager calls it after finishing an action.
    void NotifySkinChanged();

    void Loaded() override;

    static void RegisterProperties(TPropertyRegistrar<TSkinData>& r);

private:
    bool IsDesigning() const { return (ComponentState() & csDesigning) != 0; }
    void CaptureCaptionFont();
    void CaptureIconBitmap();
    void LoadMenuGlyphs();

    bool active_ = false;
    std::int32_t disableTag_ = DefaultDisableTag;
    TSkinControlSet skinControls_ = DefaultSkinControls;
    TSkinOptionSet options_ = DefaultSkinOptions;
    std::unique_ptr<TStringList> skin3rd_;
    std::wstring skinFile_;
    TSkinFormType skinFormtype_ = sfMainform;
    bool menuUpdate_ = true;
    bool menuMerge_ = false;

    std::unique_ptr<TMemoryStream> store_;
    std::unique_ptr<TSkinModel> model_;
    bool hasSkin_ = false;
    std::unique_ptr<TBitmap> iconBitmap_;
    std::unique_ptr<TImageList> menuGlyphs_;
    std::unique_ptr<TFont> captionFont_;
    std::int32_t maximizedWidth_ = 0;
    std::int32_t maximizedHeight_ = 0;
    HWND lastQueriedWindow_ = nullptr;
    bool paintFrame_ = true;
    TControlSkinData controlData_;
};

// --- platform helpers for the painters ---------------------------------------------------
// Services looked up by name in user32 once (some systems lack them).
struct TSkinPlatform {
    BOOL(WINAPI* GetScrollBarInfo)(HWND, LONG, PSCROLLBARINFO) = nullptr;
    BOOL(WINAPI* TrackMouseEvent)(LPTRACKMOUSEEVENT) = nullptr;
    BOOL(WINAPI* GetComboBoxInfo)(HWND, PCOMBOBOXINFO) = nullptr;
    void(WINAPI* DisableProcessWindowsGhosting)() = nullptr;
};
const TSkinPlatform& SkinPlatform();
// Replaces what the lookup found (tests pretend an older system); returns the previous.
TSkinPlatform SetSkinPlatform(const TSkinPlatform& platform);

// GetScrollBarInfo, or false when the system lacks it.
bool QueryScrollBarInfo(HWND window, LONG objectId, SCROLLBARINFO& info);
// Asks for a WM_MOUSELEAVE for the window when the system can; nothing otherwise.
void TrackMouseLeave(HWND window);

}  // namespace vx
