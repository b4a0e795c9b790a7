// The skin data component under Wine: its published settings read and written by name,
// the rows for foreign control classes, loading the packed skin from its stream and
// from a file, the class filter, the pictures it makes for the painters, and every call
// it makes of the skin manager, recorded in order by a fake manager.

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "framework/Classes.h"
#include "framework/Forms.h"
#include "framework/Handles.h"
#include "framework/SysUtils.h"
#include "skin/data/SkinData.h"
#include "skin/data/SkinManagerLink.h"
#include "skin/data/SkinRead.h"
#include "tests/skin/data/FakeSkinManager.h"
#include "tools/skinpack/LzhEncoder.h"
#include "tools/skinpack/SkinPacker.h"

namespace vx {
namespace {

using skintest::TFakeSkinManager;
using skintest::TFakeSkinManagerScope;
using Log = std::vector<std::string>;

std::vector<std::uint8_t> ReadFileBytes(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

const std::vector<std::uint8_t>& ProgramBlob() {
    static const std::vector<std::uint8_t> blob = ReadFileBytes(VX_TEST_SKIN_BLOB);
    return blob;
}

// The "SkinStream" property: 32-bit length, then the bytes.
void PutStream(TMemoryStream& stream, std::int32_t length, const std::vector<std::uint8_t>& bytes) {
    stream.WriteBuffer(&length, sizeof(length));
    if (!bytes.empty()) stream.WriteBuffer(bytes.data(), static_cast<std::int32_t>(bytes.size()));
    stream.SetPosition(0);
}

void ReadBlobInto(TSkinData& data, const std::vector<std::uint8_t>& blob) {
    TMemoryStream stream;
    PutStream(stream, static_cast<std::int32_t>(blob.size()), blob);
    data.ReadSkinStream(stream);
}

class SkinData : public ::testing::Test {
protected:
    void SetUp() override {
        previousNotifier = SetDefaultSkinMessageNotifier([this](const std::wstring& m) { messages.push_back(m); });
        ASSERT_FALSE(ProgramBlob().empty()) << "no blob at " << VX_TEST_SKIN_BLOB;
    }
    void TearDown() override { SetDefaultSkinMessageNotifier(previousNotifier); }

    // A component as a form makes it: built, its settings stored, then Loaded.
    std::unique_ptr<TSkinData> Make(const wchar_t* name, bool active, TSkinFormType type, bool withSkin,
                                    TComponent* owner = nullptr) {
        auto data = std::make_unique<TSkinData>(owner);
        data->BeginLoading();
        data->SetName(name);
        data->SetSkinFormtype(type);
        data->SetActive(active);
        if (withSkin) ReadBlobInto(*data, ProgramBlob());
        return data;
    }

    TSkinMessageNotifier previousNotifier;
    std::vector<std::wstring> messages;
};

// --- settings by name ----------------------------------------------------------------------

TEST_F(SkinData, PublishedSettingsStartWithTheirDefaultsInDeclarationOrder) {
    TSkinData data(nullptr);
    std::vector<std::wstring> names;
    for (const TPropInfo* p : data.ClassType().AllProperties()) names.push_back(p->Name);
    const std::vector<std::wstring> expected = {L"Name",     L"Tag",        L"Active",  L"DisableTag",
                                                L"SkinControls", L"Options", L"Skin3rd", L"SkinFile",
                                                L"SkinStore", L"SkinFormtype", L"Version", L"MenuUpdate",
                                                L"MenuMerge"};
    EXPECT_EQ(names, expected);

    std::int64_t ord = -1;
    std::wstring text;
    ASSERT_TRUE(GetEnumProp(&data, L"active", text));
    EXPECT_EQ(text, L"False");
    ASSERT_TRUE(GetOrdProp(&data, L"DisableTag", ord));
    EXPECT_EQ(ord, 99);
    // Every one of the 22 kinds but the menu item (bit 2) and FastReport (bit 21).
    ASSERT_TRUE(GetOrdProp(&data, L"SkinControls", ord));
    EXPECT_EQ(ord, 0x3FFFFF & ~0x4 & ~0x200000);
    ASSERT_TRUE(GetOrdProp(&data, L"Options", ord));
    EXPECT_EQ(ord, (1 << 3) | (1 << 6));  // xoPreview, xoToolbarBK
    ASSERT_TRUE(GetEnumProp(&data, L"SkinFormtype", text));
    EXPECT_EQ(text, L"sfMainform");
    ASSERT_TRUE(GetStrProp(&data, L"SkinFile", text));
    EXPECT_EQ(text, L"");
    ASSERT_TRUE(GetStrProp(&data, L"SkinStore", text));
    EXPECT_EQ(text, L"(none)");
    ASSERT_TRUE(GetStrProp(&data, L"Version", text));
    EXPECT_EQ(text, L"1.0.0.0");
    ASSERT_TRUE(GetEnumProp(&data, L"MenuUpdate", text));
    EXPECT_EQ(text, L"True");
    ASSERT_TRUE(GetEnumProp(&data, L"MenuMerge", text));
    EXPECT_EQ(text, L"False");
    TObject* rows = nullptr;
    ASSERT_TRUE(GetObjectProp(&data, L"Skin3rd", rows));
    ASSERT_NE(rows, nullptr);
    EXPECT_TRUE(rows->InheritsFrom(L"TStrings"));

    EXPECT_FALSE(data.GetHasSkin());
    EXPECT_TRUE(data.GetPaintFrame());
    EXPECT_EQ(data.LastQueriedWindow(), nullptr);
    EXPECT_EQ(data.MaximizedWidth(), ::GetSystemMetrics(SM_CXMAXIMIZED));
    EXPECT_EQ(data.MaximizedHeight(), ::GetSystemMetrics(SM_CYMAXIMIZED));
}

TEST_F(SkinData, EnumerationsAndSetsByName) {
    TSkinData data(nullptr);
    const wchar_t* const controls[] = {
        L"xcMainMenu", L"xcPopupMenu", L"xcMenuItem", L"xcToolbar", L"xcControlbar", L"xcCombo",
        L"xcCheckBox", L"xcRadioButton", L"xcProgress", L"xcScrollbar", L"xcEdit", L"xcButton",
        L"xcBitBtn", L"xcSpeedButton", L"xcSpin", L"xcPanel", L"xcGroupBox", L"xcStatusBar",
        L"xcTab", L"xcTrackBar", L"xcSystemMenu", L"xcFastReport"};
    ASSERT_EQ(std::size(controls), static_cast<std::size_t>(SkinControlTypeCount));
    for (int i = 0; i < SkinControlTypeCount; ++i) EXPECT_EQ(std::wstring(SkinControlTypeNames[i]), controls[i]);
    const wchar_t* const options[] = {L"xoMDIScrollbar", L"xoMenuMerge", L"xoTransparent", L"xoPreview",
                                      L"xoParentBackGround", L"xoNoFocusRect", L"xoToolbarBK",
                                      L"xoToolbarButton", L"xoMDIChildBorder", L"xoMenuBG", L"xoFormScrollbar"};
    ASSERT_EQ(std::size(options), static_cast<std::size_t>(SkinOptionCount));
    for (int i = 0; i < SkinOptionCount; ++i) EXPECT_EQ(std::wstring(SkinOptionNames[i]), options[i]);

    std::int64_t ord = -1;
    const wchar_t* const types[] = {L"sfMainform", L"sfOnlyThisForm", L"sfDialog", L"sfDLL"};
    for (int i = 0; i < 4; ++i) {
        ASSERT_TRUE(SetEnumProp(&data, L"SkinFormtype", types[i]));
        EXPECT_EQ(data.GetSkinFormtype(), i);
    }
    ASSERT_TRUE(SetEnumProp(&data, L"SkinFormtype", L"sfonlythisform"));
    EXPECT_EQ(data.GetSkinFormtype(), sfOnlyThisForm);

    // Sets are bit sets in member order; bits past the last member are not kept.
    ASSERT_TRUE(SetOrdProp(&data, L"SkinControls", (1 << xcFastReport) | (1 << xcMainMenu) | (1 << 30)));
    ASSERT_TRUE(GetOrdProp(&data, L"SkinControls", ord));
    EXPECT_EQ(ord, (1 << 21) | 1);
    EXPECT_TRUE(data.HasControl(xcFastReport));
    EXPECT_FALSE(data.HasControl(xcPopupMenu));
    ASSERT_TRUE(SetOrdProp(&data, L"Options", 0xFFFF));
    EXPECT_EQ(data.GetOptions(), 0x7FFu);
    EXPECT_TRUE(data.HasOption(xoFormScrollbar));
}

TEST_F(SkinData, VersionAndSkinStoreIgnoreAssignments) {
    TSkinData data(nullptr);
    ReadBlobInto(data, ProgramBlob());
    ASSERT_TRUE(data.GetHasSkin());
    std::wstring text;
    SetStrProp(&data, L"Version", L"2.0");
    SetStrProp(&data, L"SkinStore", L"(Good)");
    ASSERT_TRUE(GetStrProp(&data, L"Version", text));
    EXPECT_EQ(text, L"1.0.0.0");
    // At run time the store reads "(none)" even when it holds the skin.
    ASSERT_TRUE(GetStrProp(&data, L"SkinStore", text));
    EXPECT_EQ(text, L"(none)");
    EXPECT_EQ(data.Store().GetSize(), static_cast<std::int64_t>(ProgramBlob().size()));
}

// --- rows for foreign classes --------------------------------------------------------------------

TEST_F(SkinData, ForeignClassRowsInTheirKindsWithThreeRepeats) {
    TSkinData data(nullptr);
    const TStrings& rows = *data.GetSkin3rd();
    ASSERT_EQ(rows.GetCount(), 118);
    EXPECT_EQ(rows.Get(0), L"TCategoryButtons=scrollbar");
    EXPECT_EQ(rows.Get(117), L"TLMDDBCHECKBOX=Checkbox");

    // Kinds are written as they are (the case differs between kinds), and each kind's
    // rows come in one run.
    std::map<std::wstring, int> perKind;
    std::vector<std::wstring> kindOrder;
    std::map<std::wstring, int> perRow;
    for (int i = 0; i < rows.GetCount(); ++i) {
        const std::wstring row = rows.Get(i);
        const auto eq = row.find(L'=');
        ASSERT_NE(eq, std::wstring::npos) << WideToUtf8(row);
        const std::wstring kind = row.substr(eq + 1);
        if (kindOrder.empty() || kindOrder.back() != kind) kindOrder.push_back(kind);
        ++perKind[kind];
        ++perRow[row];
    }
    const std::map<std::wstring, int> expectedKinds = {
        {L"scrollbar", 10}, {L"pngspeedbutton", 1}, {L"pngbitbtn", 1}, {L"button", 1},   {L"menubtn", 1},
        {L"Groupbox", 1},   {L"groupbox", 1},       {L"edit", 1},      {L"Panel", 12},   {L"panel", 3},
        {L"combobox", 33},  {L"Combobox", 6},       {L"speedbutton", 3}, {L"bitbtn", 3}, {L"CheckGroup", 3},
        {L"Radiogroup", 2}, {L"radiogroup", 5},     {L"Edit", 25},     {L"Radiobutton", 2}, {L"Checkbox", 4}};
    EXPECT_EQ(perKind, expectedKinds);
    EXPECT_EQ(kindOrder.size(), expectedKinds.size()) << "a kind's rows are split";

    std::vector<std::wstring> repeated;
    for (const auto& [row, count] : perRow)
        if (count > 1) {
            EXPECT_EQ(count, 2) << WideToUtf8(row);
            repeated.push_back(row);
        }
    const std::vector<std::wstring> expectedRepeats = {L"TDBCheckboxEh=Checkbox", L"TLMDFontSizeCombobox=combobox",
                                                       L"TWWDBCombobox=Combobox"};
    EXPECT_EQ(repeated, expectedRepeats);
    // Lookups by name find the first row.
    EXPECT_EQ(rows.GetValue(L"TcxGroupbox"), L"groupbox");
    EXPECT_EQ(rows.GetValue(L"TLMDGroupBox"), L"Groupbox");
    EXPECT_EQ(rows.GetValue(L"TLMDGROUPBOX"), L"Groupbox");  // names match without case: the first row wins
}

TEST_F(SkinData, AssigningTheRowsCopiesThem) {
    TSkinData data(nullptr);
    TStringList mine;
    mine.Add(L"TMyGrid=scrollbar");
    ASSERT_TRUE(SetObjectProp(&data, L"Skin3rd", &mine));
    mine.Add(L"TLater=edit");
    ASSERT_EQ(data.GetSkin3rd()->GetCount(), 1);
    EXPECT_EQ(data.GetSkin3rd()->Get(0), L"TMyGrid=scrollbar");
    EXPECT_NE(data.GetSkin3rd(), &mine);
}

// --- the skin --------------------------------------------------------------------------------------

TEST_F(SkinData, TheProgramSkinLoadsFromItsStream) {
    TSkinData data(nullptr);
    ReadBlobInto(data, ProgramBlob());
    EXPECT_TRUE(data.GetHasSkin());
    EXPECT_TRUE(messages.empty());
    // The model is filled: the title-bar buttons of the skin and the MDI buttons.
    EXPECT_EQ(data.Model().SysButtons.size(), 10u);
    EXPECT_FALSE(data.Model().TopBorder.Bitmap.GetEmpty());

    // Written back, the property is the length and the same bytes.
    TMemoryStream out;
    data.WriteSkinStream(out);
    ASSERT_EQ(out.GetSize(), static_cast<std::int64_t>(ProgramBlob().size() + 4));
    std::int32_t length = 0;
    std::memcpy(&length, out.GetMemory(), 4);
    EXPECT_EQ(length, static_cast<std::int32_t>(ProgramBlob().size()));
    EXPECT_TRUE(std::equal(ProgramBlob().begin(), ProgramBlob().end(), out.GetMemory() + 4));

    // LoadSkin again from the same store gives the same result.
    EXPECT_TRUE(data.LoadSkin());
    EXPECT_TRUE(data.GetHasSkin());
}

TEST_F(SkinData, StreamOfLengthZeroOrLessLoadsNothing) {
    for (std::int32_t length : {0, -5}) {
        TSkinData data(nullptr);
        TMemoryStream stream;
        PutStream(stream, length, {});
        data.ReadSkinStream(stream);
        EXPECT_EQ(data.Store().GetSize(), 0);
        EXPECT_FALSE(data.GetHasSkin());
        EXPECT_TRUE(messages.empty()) << "an empty store is no damaged skin";
    }
}

TEST_F(SkinData, ShortStreamFailsAndLeavesTheStoreEmpty) {
    TSkinData data(nullptr);
    ReadBlobInto(data, ProgramBlob());
    ASSERT_TRUE(data.GetHasSkin());
    TMemoryStream stream;
    const std::vector<std::uint8_t> half(ProgramBlob().begin(), ProgramBlob().begin() + 100);
    PutStream(stream, static_cast<std::int32_t>(ProgramBlob().size()), half);
    EXPECT_THROW(data.ReadSkinStream(stream), EReadError);
    EXPECT_EQ(data.Store().GetSize(), 0);
}

TEST_F(SkinData, UnreadableArchiveGivesNoSkinAndTheMessage) {
    // A valid archive header of a version no reader knows.
    std::vector<std::uint8_t> archive(16, 0);
    archive[0] = 0x39;  // 12345
    archive[1] = 0x30;
    TSkinData data(nullptr);
    ReadBlobInto(data, LzhEncodeStored(archive));
    EXPECT_FALSE(data.GetHasSkin());
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], TSkinReader::OlderSkinMessage);
    EXPECT_FALSE(data.LoadSkin());
}

TEST_F(SkinData, ArchiveWithoutDefinitionStillLoadsWithDefaults) {
    TSkinData data(nullptr);
    ReadBlobInto(data, LzhEncodeStored(BuildSkinArchive({})));
    EXPECT_TRUE(data.GetHasSkin());
    EXPECT_TRUE(data.Model().TopBorder.Bitmap.GetEmpty());
}

// --- the class filter ----------------------------------------------------------------------------

TEST_F(SkinData, ClassFilterRules) {
    TSkinData data(nullptr);
    const HWND someWindow = reinterpret_cast<HWND>(0x1234);
    auto ask = [&](const std::wstring& cls, bool start = true) {
        bool doSkin = start;
        data.FormSkinQuery(someWindow, cls, doSkin);
        return doSkin;
    };
    EXPECT_FALSE(ask(L"SysMonthCal32"));
    EXPECT_EQ(data.LastQueriedWindow(), someWindow);
    EXPECT_TRUE(ask(L"sysmonthcal32"));  // exactly that name only
    EXPECT_TRUE(ask(L"TfrPreviewForm"));  // FastReport classes only with xcFastReport
    EXPECT_FALSE(ask(L"TForm1", false));  // the answer it came with is kept
    data.SetSkinControls(data.GetSkinControls() | SkinBit(xcFastReport));
    EXPECT_FALSE(ask(L"TfrPreviewForm"));
    EXPECT_TRUE(ask(L"TFRPreviewForm"));  // the prefix is compared with case
    EXPECT_TRUE(ask(L"TForm1"));

    // An assigned event decides alone, also for the month calendar.
    std::vector<std::wstring> seen;
    data.OnFormSkin = [&](TObject* sender, const std::wstring& name, bool& doSkin) {
        EXPECT_EQ(sender, &data);
        seen.push_back(name);
        if (name == L"TNotMe") doSkin = false;
    };
    EXPECT_TRUE(ask(L"SysMonthCal32"));
    EXPECT_TRUE(ask(L"TfrPreviewForm"));
    EXPECT_FALSE(ask(L"TNotMe"));
    EXPECT_EQ(seen, (std::vector<std::wstring>{L"SysMonthCal32", L"TfrPreviewForm", L"TNotMe"}));
}

TEST_F(SkinData, SkinChangedEventOnlyWhenAssigned) {
    TSkinData data(nullptr);
    data.NotifySkinChanged();  // nothing assigned: nothing happens
    int calls = 0;
    data.OnSkinChanged = [&](TObject* sender) {
        EXPECT_EQ(sender, &data);
        ++calls;
    };
    data.NotifySkinChanged();
    EXPECT_EQ(calls, 1);
}

// --- pictures and metrics for the painters -------------------------------------------------------

TEST_F(SkinData, MenuGlyphsAreTheFourCellsOfTheResourceWithWhiteAsMask) {
    TSkinData data(nullptr);
    TImageList& glyphs = data.MenuGlyphs();
    ASSERT_EQ(glyphs.Count(), 4);
    EXPECT_EQ(glyphs.GetWidth(), 16);
    EXPECT_EQ(glyphs.GetHeight(), 16);

    TBitmap source;
    source.LoadFromResourceName(::GetModuleHandleW(nullptr), L"SKINMENUGLYPHS");
    ASSERT_EQ(source.GetWidth(), 64);
    ASSERT_EQ(source.GetHeight(), 16);
    source.SetPixelFormat(pf24bit);
    for (int index = 0; index < 4; ++index) {
        // Drawn on red: the glyph's white stays red (masked), its black is drawn.
        TBitmap target(16, 16);
        target.GetCanvas()->GetBrush()->SetColor(clRed);
        target.GetCanvas()->FillRect(RECT{0, 0, 16, 16});
        glyphs.Draw(target.GetCanvas(), 0, 0, index);
        int black = 0, masked = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                const auto* s = static_cast<const std::uint8_t*>(source.ScanLine(y)) + (index * 16 + x) * 3;
                const auto* t = static_cast<const std::uint8_t*>(target.ScanLine(y)) + x * 3;
                const bool white = s[0] == 255 && s[1] == 255 && s[2] == 255;
                if (white) {
                    ++masked;
                    EXPECT_TRUE(t[0] == 0 && t[1] == 0 && t[2] == 255) << index << " " << x << "," << y;
                } else {
                    ++black;
                    EXPECT_TRUE(t[0] == 0 && t[1] == 0 && t[2] == 0) << index << " " << x << "," << y;
                }
            }
        EXPECT_GT(black, 8) << "glyph " << index << " is empty";
        EXPECT_GT(masked, 100) << "glyph " << index;
    }
}

TEST_F(SkinData, LoadedTakesTheIconOnMagentaAndTheCaptionFont) {
    std::unique_ptr<TSkinData> data = Make(L"SkinData1", false, sfMainform, true);
    EXPECT_TRUE(data->IconBitmap().GetEmpty());
    data->Loaded();

    TBitmap& icon = data->IconBitmap();
    ASSERT_EQ(icon.GetWidth(), ::GetSystemMetrics(SM_CXSMICON));
    ASSERT_EQ(icon.GetHeight(), ::GetSystemMetrics(SM_CYSMICON));
    EXPECT_TRUE(icon.GetTransparent());
    EXPECT_EQ(icon.GetTransparentColor(), clFuchsia);
    icon.SetPixelFormat(pf24bit);
    auto pixel = [&](int x, int y) {
        const auto* p = static_cast<const std::uint8_t*>(icon.ScanLine(y)) + x * 3;
        return RGB(p[2], p[1], p[0]);
    };
    // The program's mark is round: its corner is the background, its middle is not.
    EXPECT_EQ(pixel(0, 0), RGB(255, 0, 255));
    const int cx = icon.GetWidth() / 2, cy = icon.GetHeight() / 2;
    EXPECT_NE(pixel(cx, cy), RGB(255, 0, 255));

    // The caption font is the system's.
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    ASSERT_TRUE(::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0));
    EXPECT_EQ(data->CaptionFont().GetName(), std::wstring(metrics.lfCaptionFont.lfFaceName));
    EXPECT_EQ(data->CaptionFont().GetHeight(), metrics.lfCaptionFont.lfHeight);
}

TEST_F(SkinData, ApplicationWindowCarriesTheProgramIcon) {
    const HWND app = Application->GetHandle();
    const HICON smallIcon = reinterpret_cast<HICON>(::SendMessageW(app, WM_GETICON, ICON_SMALL, 0));
    ASSERT_NE(smallIcon, nullptr);
    EXPECT_EQ(smallIcon, Application->GetIconHandle(true));
    EXPECT_NE(Application->GetIconHandle(true), ::LoadIconW(nullptr, IDI_APPLICATION));
}

TEST_F(SkinData, PlatformHelpers) {
    // Real services: a window with a vertical scroll bar answers.
    HWND list = ::CreateWindowExW(0, L"LISTBOX", L"", WS_POPUP | WS_VSCROLL, 0, 0, 100, 100, nullptr, nullptr,
                                  ::GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(list, nullptr);
    TScopeExit destroyList([list] { ::DestroyWindow(list); });
    SCROLLBARINFO info{};
    info.cbSize = sizeof(info);
    EXPECT_TRUE(QueryScrollBarInfo(list, OBJID_VSCROLL, info));
    EXPECT_NE(SkinPlatform().GetComboBoxInfo, nullptr);
    TrackMouseLeave(list);

    // A system without them: false, and nothing is asked.
    const TSkinPlatform previous = SetSkinPlatform(TSkinPlatform{});
    info = SCROLLBARINFO{};
    info.cbSize = sizeof(info);
    EXPECT_FALSE(QueryScrollBarInfo(list, OBJID_VSCROLL, info));
    EXPECT_EQ(info.rcScrollBar.right, 0);
    TrackMouseLeave(list);
    SetSkinPlatform(previous);
}

// --- Loaded and the setters, with a recording manager ------------------------------------------

TEST_F(SkinData, LoadedAdjustsTheStoredControlKinds) {
    TFakeSkinManagerScope scope;
    // The main window's stored kinds: every one from xcMainMenu to xcSystemMenu.
    std::unique_ptr<TSkinData> data = Make(L"SkinData2", true, sfMainform, true);
    data->SetSkinControls(SkinBit(xcSystemMenu + 1) - 1);
    ASSERT_TRUE(data->HasControl(xcMenuItem));
    data->Loaded();
    EXPECT_FALSE(data->HasControl(xcMenuItem));
    EXPECT_TRUE(data->HasControl(xcSystemMenu));
    EXPECT_TRUE(data->HasControl(xcScrollbar));

    // Without the main menu the system menu goes instead; a system without the
    // scroll-bar service loses the scroll bars.
    const TSkinPlatform previous = SetSkinPlatform(TSkinPlatform{});
    std::unique_ptr<TSkinData> other = Make(L"SkinData3", false, sfMainform, true);
    other->SetSkinControls((SkinBit(xcSystemMenu + 1) - 1) & ~SkinBit(xcMainMenu));
    other->Loaded();
    SetSkinPlatform(previous);
    EXPECT_TRUE(other->HasControl(xcMenuItem));
    EXPECT_FALSE(other->HasControl(xcSystemMenu));
    EXPECT_FALSE(other->HasControl(xcScrollbar));
}

TEST_F(SkinData, MainFormComponentWithItsSkinAsksForActivation) {
    TFakeSkinManagerScope scope;
    std::unique_ptr<TSkinData> data = Make(L"SkinData2", true, sfMainform, true);
    EXPECT_EQ(TFakeSkinManager::Made, 0) << "nothing is asked while the form is read";
    data->Loaded();
    EXPECT_TRUE(data->GetActive());
    EXPECT_EQ(TFakeSkinManager::Log, (Log{"Register SkinData2", "InstallHook", "RequestAction 1 250"}));

    // A second component is registered with the same manager.
    std::unique_ptr<TSkinData> second = Make(L"SkinData9", false, sfMainform, true);
    second->Loaded();
    EXPECT_EQ(TFakeSkinManager::Made, 1);

    TFakeSkinManager::Log.clear();
    data.reset();
    EXPECT_EQ(TFakeSkinManager::Log, (Log{"Unregister SkinData2"}));
}

TEST_F(SkinData, EmptySkinStreamTurnsActiveOffAtLoaded) {
    TFakeSkinManagerScope scope;
    std::unique_ptr<TSkinData> data = Make(L"SkinData2", true, sfMainform, false);
    TMemoryStream stream;
    PutStream(stream, 0, {});
    data->ReadSkinStream(stream);
    data->Loaded();
    EXPECT_FALSE(data->GetHasSkin());
    EXPECT_FALSE(data->GetActive());
    EXPECT_EQ(TFakeSkinManager::Log, (Log{"Register SkinData2", "InstallHook"}));
}

TEST_F(SkinData, ActiveSetterAtRunTime) {
    TFakeSkinManagerScope scope;
    std::unique_ptr<TSkinData> data = Make(L"Main", false, sfMainform, true);
    data->Loaded();
    TFakeSkinManager::Log.clear();

    data->SetActive(true);
    EXPECT_EQ(TFakeSkinManager::Log, (Log{"Requesting Main", "RequestAction 1 250", "State 1"}));
    TFakeSkinManager::Log.clear();
    data->SetActive(true);  // no change, no effect
    EXPECT_TRUE(TFakeSkinManager::Log.empty());
    data->SetActive(false);
    EXPECT_EQ(TFakeSkinManager::Log, (Log{"Requesting Main", "RequestAction 2 250"}));

    // One form only: switching on without a skin only names the component.
    std::unique_ptr<TSkinData> only = Make(L"Only", false, sfOnlyThisForm, false);
    only->Loaded();
    TFakeSkinManager::Log.clear();
    only->SetActive(true);
    EXPECT_EQ(TFakeSkinManager::Log, (Log{"Requesting Only"}));
    TFakeSkinManager::Log.clear();
    only->SetActive(false);
    EXPECT_EQ(TFakeSkinManager::Log, (Log{"Requesting Only", "RequestAction 2 250"}));
    ReadBlobInto(*only, ProgramBlob());
    TFakeSkinManager::Log.clear();
    only->SetActive(true);
    EXPECT_EQ(TFakeSkinManager::Log, (Log{"Requesting Only", "RequestAction 1 250"}));

    // Dialog and library scopes leave the manager alone.
    for (TSkinFormType type : {sfDialog, sfDLL}) {
        std::unique_ptr<TSkinData> quiet = Make(L"Quiet", false, type, true);
        quiet->Loaded();
        TFakeSkinManager::Log.clear();
        quiet->SetActive(true);
        quiet->SetActive(false);
        EXPECT_TRUE(TFakeSkinManager::Log.empty());
        TFakeSkinManager::Log.clear();
    }
}

TEST_F(SkinData, OtherScopesSwitchTheManagerOnAndAttachTheirFormAtOnce) {
    TFakeSkinManagerScope scope;
    TForm owner(nullptr);
    std::unique_ptr<TSkinData> data = Make(L"FormSkin", true, sfOnlyThisForm, true, &owner);
    data->Loaded();
    TFakeSkinManager* manager = scope.Manager();
    ASSERT_NE(manager, nullptr);
    EXPECT_EQ(TFakeSkinManager::Log,
              (Log{"Register FormSkin", "Active on", "State 1", "AttachForm"}));
    ASSERT_EQ(manager->attached.size(), 1u);
    EXPECT_EQ(manager->attached[0], owner.GetHandle());
    // No icon and no kind adjustments for these scopes.
    EXPECT_TRUE(data->IconBitmap().GetEmpty());
    data.reset();

    // Not owned by a form, or not active: no attachment; the state counts up.
    TFakeSkinManager::Log.clear();
    std::unique_ptr<TSkinData> dialog = Make(L"Dialogs", true, sfDialog, true);
    dialog->Loaded();
    std::unique_ptr<TSkinData> idle = Make(L"Idle", false, sfOnlyThisForm, true, &owner);
    idle->Loaded();
    EXPECT_EQ(TFakeSkinManager::Log,
              (Log{"Register Dialogs", "Active on", "State 2", "Register Idle", "Active on", "State 3"}));
    idle.reset();
}

TEST_F(SkinData, SkinFileThatDoesNotExistNeverActivates) {
    TFakeSkinManagerScope scope;
    std::unique_ptr<TSkinData> data = Make(L"Main", false, sfMainform, true);
    data->Loaded();
    TFakeSkinManager::Log.clear();

    data->SetSkinFile(L"Z:\\no such folder\\missing.vxs");
    EXPECT_EQ(data->GetSkinFile(), L"Z:\\no such folder\\missing.vxs");
    EXPECT_FALSE(data->GetHasSkin());
    EXPECT_EQ(data->Store().GetSize(), static_cast<std::int64_t>(ProgramBlob().size())) << "store kept";
    data->SetActive(true);
    EXPECT_TRUE(TFakeSkinManager::Log.empty()) << TFakeSkinManager::Log.front();
}

TEST_F(SkinData, SkinFileLoadsAndAsksForARefreshOnceRunning) {
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring path = std::wstring(temp) + L"skindata-test.vxs";
    {
        std::ofstream f(std::filesystem::path(path), std::ios::binary | std::ios::trunc);
        f.write(reinterpret_cast<const char*>(ProgramBlob().data()), static_cast<std::streamsize>(ProgramBlob().size()));
    }
    TFakeSkinManagerScope scope;
    std::unique_ptr<TSkinData> data = Make(L"Main", false, sfMainform, false);

    // While the form is read the file is loaded, and the manager hears of it at Loaded.
    data->SetSkinFile(path);
    EXPECT_TRUE(data->GetHasSkin());
    EXPECT_TRUE(TFakeSkinManager::Log.empty());
    data->Loaded();
    EXPECT_EQ(TFakeSkinManager::Log, (Log{"Register Main", "InstallHook"}));

    // Nothing attached yet: no refresh.
    TFakeSkinManager::Log.clear();
    data->SetSkinFile(path);
    EXPECT_EQ(TFakeSkinManager::Log, (Log{"Requesting Main", "ResetSkinButtons"}));
    // Running: a refresh after 250 ms.
    scope.Manager()->state = SkinStateRunning;
    TFakeSkinManager::Log.clear();
    data->SetSkinFile(path);
    EXPECT_TRUE(data->GetHasSkin());
    EXPECT_EQ(TFakeSkinManager::Log, (Log{"Requesting Main", "ResetSkinButtons", "RequestAction 3 250"}));

    // Without a manager yet the component first does what loading does.
    DestroySkinManager();
    TFakeSkinManager::Log.clear();
    data->SetSkinFile(path);
    EXPECT_EQ(TFakeSkinManager::Log,
              (Log{"Register Main", "InstallHook", "Requesting Main", "ResetSkinButtons"}));
    data.reset();
    std::filesystem::remove(std::filesystem::path(path));
}

TEST_F(SkinData, WithoutAFactoryNothingIsSkinnedAndNothingFails) {
    DestroySkinManager();
    const TSkinManagerFactory previous = InstallSkinManagerFactory(nullptr);
    std::unique_ptr<TSkinData> withSkin = Make(L"A", true, sfMainform, true);
    withSkin->Loaded();
    EXPECT_EQ(SkinManager(), nullptr);
    EXPECT_TRUE(withSkin->GetActive());
    withSkin->SetActive(false);
    withSkin->SetActive(true);
    std::unique_ptr<TSkinData> without = Make(L"B", true, sfOnlyThisForm, false);
    without->Loaded();
    std::unique_ptr<TSkinData> empty = Make(L"C", true, sfMainform, false);
    empty->Loaded();
    EXPECT_FALSE(empty->GetActive());
    InstallSkinManagerFactory(previous);
}

TEST_F(SkinData, ManagerLinkMakesOneManagerAndForgetsItBeforeDestroyingIt) {
    TFakeSkinManagerScope scope;
    EXPECT_EQ(SkinManager(), nullptr);
    ISkinManager* made = EnsureSkinManager();
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(EnsureSkinManager(), made);
    EXPECT_EQ(SkinManager(), made);
    EXPECT_EQ(TFakeSkinManager::Made, 1);

    TFakeSkinManager::LinkClearedDuringDestruction = false;
    DestroySkinManager();
    EXPECT_EQ(TFakeSkinManager::Destroyed, 1);
    EXPECT_TRUE(TFakeSkinManager::LinkClearedDuringDestruction);
    EXPECT_EQ(SkinManager(), nullptr);
    DestroySkinManager();  // none: nothing happens
    EXPECT_EQ(TFakeSkinManager::Destroyed, 1);

    // A component outliving the manager does not reach it when destroyed.
    std::unique_ptr<TSkinData> data = Make(L"Late", false, sfMainform, true);
    data->Loaded();
    DestroySkinManager();
    TFakeSkinManager::Log.clear();
    data.reset();
    EXPECT_TRUE(TFakeSkinManager::Log.empty());
}

}  // namespace
}  // namespace vx
