#include "skin/data/SkinData.h"

#include <cstddef>
#include <iterator>

#include "framework/Forms.h"
#include "framework/SysUtils.h"
#include "skin/data/SkinIni.h"
#include "skin/data/SkinManagerLink.h"
#include "skin/data/SkinRead.h"

namespace vx {

const wchar_t* const SkinControlTypeNames[SkinControlTypeCount] = {
    L"xcMainMenu", L"xcPopupMenu",  L"xcMenuItem",  L"xcToolbar",       L"xcControlbar", L"xcCombo",
    L"xcCheckBox", L"xcRadioButton", L"xcProgress", L"xcScrollbar",     L"xcEdit",       L"xcButton",
    L"xcBitBtn",   L"xcSpeedButton", L"xcSpin",     L"xcPanel",         L"xcGroupBox",   L"xcStatusBar",
    L"xcTab",      L"xcTrackBar",    L"xcSystemMenu", L"xcFastReport",
};

const wchar_t* const SkinOptionNames[SkinOptionCount] = {
    L"xoMDIScrollbar", L"xoMenuMerge",     L"xoTransparent",   L"xoPreview", L"xoParentBackGround",
    L"xoNoFocusRect",  L"xoToolbarBK",     L"xoToolbarButton", L"xoMDIChildBorder", L"xoMenuBG",
    L"xoFormScrollbar",
};

// Foreign control classes and the skin kind each is painted as, grouped by kind. Three
// rows appear twice; lookups take the first match, so the repeats change nothing.
const wchar_t* const DefaultSkin3rdRows[] = {
    // scrollbar
    L"TCategoryButtons=scrollbar", L"TVirtualStringTree=scrollbar", L"TVirtualDrawTree=scrollbar",
    L"TAdvPanelGroup=scrollbar", L"THTMLViewer=scrollbar", L"TDBCtrlGrid=scrollbar", L"TImageEnMView=scrollbar",
    L"TImageEnView=scrollbar", L"TAdvMemo=scrollbar", L"TDBAdvMemo=scrollbar",
    // single rows
    L"TPngSpeedbutton=pngspeedbutton", L"TPngBitBtn=pngbitbtn", L"TRzButton=button", L"TRzMenuButton=menubtn",
    L"TLMDGroupBox=Groupbox", L"TcxGroupbox=groupbox", L"TLMDCalculatorEdit=edit",
    // panels
    L"TTBXDockablePanel=Panel", L"TControlBar=Panel", L"TTBDock=Panel", L"TTBToolbar=Panel",
    L"TLMDGROUPBOX=Panel", L"TLMDSIMPLEPANEL=Panel", L"TLMDDBCalendar=Panel", L"TLMDButtonPanel=Panel",
    L"TLMDLMDCalculator=Panel", L"TLMDHeaderPanel=Panel", L"TLMDTechnicalLine=Panel", L"TLMDLMDClock=Panel",
    L"TRzGroup=panel", L"TLMDCalculator=panel", L"TLMDTrackbar=panel",
    // combo boxes
    L"TComboboxex=combobox", L"TcxDBLookupComboBox=combobox", L"TcxDBComboBox=combobox",
    L"TcxDBDateEdit=combobox", L"TcxDBImageComboBox=combobox", L"TcxDBCalcEdit=combobox",
    L"TcxDBBlobEdit=combobox", L"TcxDBPopupEdit=combobox", L"TcxDBFontNameComboBox=combobox",
    L"TcxDBShellComboBox=combobox", L"TRxLookupEdit=combobox", L"TRxDBLookupCombo=combobox",
    L"TRzDateTimeEdit=combobox", L"TRzColorEdit=combobox", L"TRzDateTimePicker=combobox",
    L"TRzDBDateTimeEdit=combobox", L"TRzDbColorEdit=combobox", L"TRzDBDateTimePicker=combobox",
    L"TLMDListCombobox=combobox", L"TLMDCheckListCombobox=combobox", L"TLMDHeaderListCombobox=combobox",
    L"TLMDImageCombobox=combobox", L"TLMDColorCombobox=combobox", L"TLMDFontCombobox=combobox",
    L"TLMDFontSizeCombobox=combobox", L"TLMDFontSizeCombobox=combobox", L"TLMDPrinterCombobox=combobox",
    L"TLMDDriveCombobox=combobox", L"TLMDCalculatorComboBox=combobox", L"TLMDTrackBarComboBox=combobox",
    L"TLMDCalendarComboBox=combobox", L"TLMDTreeComboBox=combobox", L"TWWTempKeyCombo=combobox",
    L"TDBLookupCombobox=Combobox", L"TWWDBCombobox=Combobox", L"TWWDBCombobox=Combobox",
    L"TWWDBLookupCombo=Combobox", L"TWWKeyCombo=Combobox", L"TWWDBDateTimePicker=Combobox",
    // buttons
    L"TRxSpeedButton=speedbutton", L"TfrSpeedButton=speedbutton", L"TfrTBButton=speedbutton",
    L"TRzBitbtn=bitbtn", L"TLMDButton=bitbtn", L"TcxButton=bitbtn",
    // groups
    L"TRzCheckGroup=CheckGroup", L"TLMDCheckGroup=CheckGroup", L"TLMDDBCheckGroup=CheckGroup",
    L"TRzRadioGroup=Radiogroup", L"TRzDBRadioGroup=Radiogroup",
    L"TLMDRADIOGROUP=radiogroup", L"TLMDDBRADIOGROUP=radiogroup", L"TWWRADIOGROUP=radiogroup",
    L"TcxDBRadioGroup=radiogroup", L"TcxRadioGroup=radiogroup",
    // edits
    L"TRzButtonEdit=Edit", L"TLMDEDIT=Edit", L"TLMDMASKEDIT=Edit", L"TLMDBROWSEEDIT=Edit",
    L"TLMDEXTSPINEDIT=Edit", L"TLMDCALENDAREDIT=Edit", L"TLMDFILEOPENEDIT=Edit", L"TLMDFILESAVEEDIT=Edit",
    L"TLMDCOLOREDIT=Edit", L"TLMDDBEDIT=Edit", L"TLMDDBMASKEDIT=Edit", L"TLMDDBEXTSPINEDIT=Edit",
    L"TLMDDBSPINEDIT=Edit", L"TLMDDBEDITDBLookup=Edit", L"TLMDEDITDBLookup=Edit", L"TWWDBEDIT=Edit",
    L"TOVCPICTUREFIELD=Edit", L"TOVCDBPICTUREFIELD=Edit", L"TOVCSLIDEREDIT=Edit", L"TOVCDBSLIDEREDIT=Edit",
    L"TOVCSIMPLEFIELD=Edit", L"TOVCDBSIMPLEFIELD=Edit", L"TO32DBFLEXEDIT=Edit", L"TOVCNUMERICFIELD=Edit",
    L"TOVCDBNUMERICFIELD=Edit",
    // radio buttons and check boxes
    L"TRzDBRadioButton=Radiobutton", L"TLMDRadiobutton=Radiobutton",
    L"TDBCheckboxEh=Checkbox", L"TDBCheckboxEh=Checkbox", L"TLMDCHECKBOX=Checkbox", L"TLMDDBCHECKBOX=Checkbox",
};
const int DefaultSkin3rdRowCount = static_cast<int>(std::size(DefaultSkin3rdRows));

// --- platform helpers --------------------------------------------------------------------

namespace {

TSkinPlatform LookUpPlatform() {
    TSkinPlatform p;
    if (HMODULE user32 = ::GetModuleHandleW(L"user32.dll")) {
        p.GetScrollBarInfo = reinterpret_cast<decltype(p.GetScrollBarInfo)>(
            reinterpret_cast<void*>(::GetProcAddress(user32, "GetScrollBarInfo")));
        p.TrackMouseEvent = reinterpret_cast<decltype(p.TrackMouseEvent)>(
            reinterpret_cast<void*>(::GetProcAddress(user32, "TrackMouseEvent")));
        p.GetComboBoxInfo = reinterpret_cast<decltype(p.GetComboBoxInfo)>(
            reinterpret_cast<void*>(::GetProcAddress(user32, "GetComboBoxInfo")));
        p.DisableProcessWindowsGhosting = reinterpret_cast<decltype(p.DisableProcessWindowsGhosting)>(
            reinterpret_cast<void*>(::GetProcAddress(user32, "DisableProcessWindowsGhosting")));
    }
    return p;
}

TSkinPlatform& Platform() {
    static TSkinPlatform platform = LookUpPlatform();
    return platform;
}

// Looked up at start-up rather than on the first paint.
[[maybe_unused]] const bool platformLookedUp = (Platform(), true);

}  // namespace

const TSkinPlatform& SkinPlatform() { return Platform(); }

TSkinPlatform SetSkinPlatform(const TSkinPlatform& platform) {
    TSkinPlatform previous = Platform();
    Platform() = platform;
    return previous;
}

bool QueryScrollBarInfo(HWND window, LONG objectId, SCROLLBARINFO& info) {
    if (!SkinPlatform().GetScrollBarInfo) return false;
    return SkinPlatform().GetScrollBarInfo(window, objectId, &info) != FALSE;
}

void TrackMouseLeave(HWND window) {
    if (!SkinPlatform().TrackMouseEvent) return;
    TRACKMOUSEEVENT track{};
    track.cbSize = sizeof(track);  // 16 bytes on the 32-bit system
    track.dwFlags = TME_LEAVE;
    track.hwndTrack = window;
    SkinPlatform().TrackMouseEvent(&track);
}

// --- TSkinData ---------------------------------------------------------------------------

VX_IMPLEMENT_CLASS_WITH_PROPERTIES(TSkinData, TComponent)

void TSkinData::RegisterProperties(TPropertyRegistrar<TSkinData>& r) {
    r.Boolean(L"Active", &TSkinData::GetActive, &TSkinData::SetActive)
        .Integer(L"DisableTag", &TSkinData::GetDisableTag, &TSkinData::SetDisableTag)
        .Integer(L"SkinControls", &TSkinData::GetSkinControls, &TSkinData::SetSkinControls)
        .Integer(L"Options", &TSkinData::GetOptions, &TSkinData::SetOptions)
        .Object(L"Skin3rd", &TSkinData::GetSkin3rd, &TSkinData::SetSkin3rd)
        .Text(L"SkinFile", &TSkinData::GetSkinFile, &TSkinData::SetSkinFile)
        .Text(L"SkinStore", &TSkinData::GetSkinStore, &TSkinData::SetSkinStore)
        .Enumeration(L"SkinFormtype", &TSkinData::GetSkinFormtype, &TSkinData::SetSkinFormtype,
                     {L"sfMainform", L"sfOnlyThisForm", L"sfDialog", L"sfDLL"})
        .Text(L"Version", &TSkinData::GetVersion, &TSkinData::SetVersion)
        .Boolean(L"MenuUpdate", &TSkinData::GetMenuUpdate, &TSkinData::SetMenuUpdate)
        .Boolean(L"MenuMerge", &TSkinData::GetMenuMerge, &TSkinData::SetMenuMerge);
}

TSkinData::TSkinData(TComponent* owner)
    : TComponent(owner),
      skin3rd_(std::make_unique<TStringList>()),
      store_(std::make_unique<TMemoryStream>()),
      model_(std::make_unique<TSkinModel>()),
      iconBitmap_(std::make_unique<TBitmap>()),
      menuGlyphs_(std::make_unique<TImageList>(nullptr)),
      captionFont_(std::make_unique<TFont>()) {
    for (const wchar_t* row : DefaultSkin3rdRows) skin3rd_->Add(row);
    maximizedWidth_ = ::GetSystemMetrics(SM_CXMAXIMIZED);
    maximizedHeight_ = ::GetSystemMetrics(SM_CYMAXIMIZED);
    LoadMenuGlyphs();
    controlData_.Model = model_.get();
}

TSkinData::~TSkinData() {
    if (ISkinManager* manager = SkinManager()) manager->UnregisterSkinData(this);
}

void TSkinData::SetSkin3rd(TStrings* rows) {
    if (rows == skin3rd_.get()) return;
    if (rows)
        skin3rd_->Assign(*rows);
    else
        skin3rd_->Clear();
}

std::wstring TSkinData::GetSkinStore() const {
    return IsDesigning() && store_->GetSize() > 0 ? L"(Good)" : L"(none)";
}

void TSkinData::LoadMenuGlyphs() {
    TBitmap glyphs;
    try {
        glyphs.LoadFromResourceName(::GetModuleHandleW(nullptr), L"SKINMENUGLYPHS");
    } catch (const std::exception&) {
        return;  // a program without the glyphs gets an empty list
    }
    menuGlyphs_->AddMasked(&glyphs, clWhite);
}

// --- the skin ----------------------------------------------------------------------------

void TSkinData::ReadSkinStream(TStream& stream) {
    std::int32_t length = 0;
    stream.ReadBuffer(&length, sizeof(length));
    store_->Clear();
    if (length <= 0) return;
    // A damaged length must not make the store that large before the read fails.
    if (length > stream.GetSize() - stream.GetPosition()) throw EReadError(L"Stream read error");
    store_->SetSize(length);
    try {
        stream.ReadBuffer(store_->GetMemory(), length);
    } catch (...) {
        store_->Clear();
        throw;
    }
    store_->SetPosition(0);
    if (!IsDesigning()) LoadSkin();
}

void TSkinData::WriteSkinStream(TStream& stream) const {
    const std::int32_t length = static_cast<std::int32_t>(store_->GetSize());
    stream.WriteBuffer(&length, sizeof(length));
    if (length > 0) stream.WriteBuffer(store_->GetMemory(), length);
}

bool TSkinData::LoadSkin() {
    hasSkin_ = false;
    if (IsDesigning()) return false;
    // The readers live only for this call, on every path.
    TSkinReader archive;
    if (!archive.LoadArchive(TByteSpan(store_->GetMemory(), static_cast<std::size_t>(store_->GetSize()))))
        return false;
    TMemoryStream scratch;
    std::string iniName;
    archive.ExtractFirstMatching(".ini", scratch, iniName);
    scratch.SetPosition(0);
    TQuickIni ini;
    ini.LoadFromStream(&scratch);
    model_->LoadDefinition(ini, archive);
    hasSkin_ = true;
    return true;
}

void TSkinData::SetSkinFile(const std::wstring& path) {
    hasSkin_ = false;
    skinFile_ = path;
    if (IsDesigning() || path.empty() || !FileExists(path)) return;
    store_->LoadFromFile(path);
    LoadSkin();
    // While the form is being built Loaded follows and tells the manager everything;
    // running it here too would register the component twice.
    if (IsLoading()) return;
    if (!SkinManager()) Loaded();
    if (ISkinManager* manager = SkinManager()) {
        manager->SetRequestingSkinData(this);
        manager->ResetSkinButtons();
        if (manager->GetState() == SkinStateRunning) manager->RequestAction(SkinActionRefresh, SkinActionDelayMs);
    }
}

void TSkinData::SetActive(bool value) {
    if (value == active_) return;
    active_ = value;
    if (IsLoading() || IsDesigning()) return;
    ISkinManager* manager = SkinManager();
    if (!manager) return;
    switch (skinFormtype_) {
    case sfMainform:
        if (value) {
            if (!hasSkin_) return;
            manager->SetRequestingSkinData(this);
            manager->RequestAction(SkinActionActivate, SkinActionDelayMs);
            manager->SetState(SkinStateRunning);
        } else {
            manager->SetRequestingSkinData(this);
            manager->RequestAction(SkinActionDeactivate, SkinActionDelayMs);
        }
        break;
    case sfOnlyThisForm:
        manager->SetRequestingSkinData(this);
        if (value && !hasSkin_) return;
        manager->RequestAction(value ? SkinActionActivate : SkinActionDeactivate, SkinActionDelayMs);
        break;
    case sfDialog:
    case sfDLL:
        break;
    }
}

void TSkinData::Loaded() {
    TComponent::Loaded();
    if (IsDesigning()) return;

    if (!SkinPlatform().GetScrollBarInfo) SetSkinControls(skinControls_ & ~SkinBit(xcScrollbar));

    ISkinManager* manager = EnsureSkinManager();
    if (manager) manager->RegisterSkinData(this);

    CaptureCaptionFont();

    if (skinFormtype_ != sfMainform) {
        if (manager) {
            manager->SetActive(true);
            manager->SetState(manager->GetState() + 1);
            if (active_ && Owner() && Owner()->InheritsFrom(TCustomForm::StaticClass()))
                manager->AttachForm(static_cast<TCustomForm*>(Owner())->GetHandle());
        }
        return;
    }

    if (manager) manager->InstallHook();
    if (active_) {
        if (!hasSkin_)
            active_ = false;
        else if (manager)
            manager->RequestAction(SkinActionActivate, SkinActionDelayMs);
    }

    if (HasControl(xcMainMenu))
        SetSkinControls(skinControls_ & ~SkinBit(xcMenuItem));
    else
        SetSkinControls(skinControls_ & ~SkinBit(xcSystemMenu));

    CaptureIconBitmap();
}

void TSkinData::CaptureCaptionFont() {
    // The structure grew a last field in later systems, which older ones refuse; ask
    // with the full size first, then without that field.
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    BOOL ok = ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0);
    if (!ok) {
        metrics = NONCLIENTMETRICSW{};
        metrics.cbSize = offsetof(NONCLIENTMETRICSW, lfMessageFont) + sizeof(LOGFONTW);
        ok = ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0);
    }
    if (!ok) return;
    if (HFONT font = ::CreateFontIndirectW(&metrics.lfCaptionFont)) captionFont_->SetHandle(font);
}

void TSkinData::CaptureIconBitmap() {
    HWND app = Application->GetHandle();
    HICON icon = reinterpret_cast<HICON>(::SendMessageW(app, WM_GETICON, ICON_SMALL, 0));
    if (!icon) icon = reinterpret_cast<HICON>(::SendMessageW(app, WM_GETICON, ICON_BIG, 0));
    if (!icon) return;
    const int cx = ::GetSystemMetrics(SM_CXSMICON), cy = ::GetSystemMetrics(SM_CYSMICON);
    iconBitmap_->SetPixelFormat(pf24bit);
    iconBitmap_->SetSize(cx, cy);
    TCanvas* canvas = iconBitmap_->GetCanvas();
    canvas->GetBrush()->SetColor(clFuchsia);
    canvas->FillRect(RECT{0, 0, cx, cy});
    ::DrawIconEx(canvas->GetHandle(), 0, 0, icon, cx, cy, 0, nullptr, DI_NORMAL);
    iconBitmap_->SetTransparentColor(clFuchsia);
    iconBitmap_->SetTransparentMode(tmFixed);
    iconBitmap_->SetTransparent(true);
}

void TSkinData::FormSkinQuery(HWND window, const std::wstring& className, bool& DoSkin) {
    lastQueriedWindow_ = window;
    if (OnFormSkin) {
        OnFormSkin(this, className, DoSkin);
        return;
    }
    if (className == L"SysMonthCal32")
        DoSkin = false;
    else if (HasControl(xcFastReport) && className.starts_with(L"Tfr"))
        DoSkin = false;
}

void TSkinData::NotifySkinChanged() {
    if (OnSkinChanged) OnSkinChanged(this);
}

}  // namespace vx
