// The main window in this process: its layout, the queue handlers, settings and whole
// batches run against the scripted stand-in encoder (copied as codecs\mencoder.exe
// into a program folder of the test's own). Message boxes, the folder chooser, the
// shell, the countdown and the power-off are answered or recorded by the test.
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "app/main.h"
#include "skin/controls/ControlDispatch.h"
#include "skin/controls/SkinControl.h"
#include "skin/window/FormSkinner.h"
#include "skin/window/MenuSkinner.h"
#include "skin/window/SkinManage.h"
#include "skin/window/SkinMessages.h"
#include "tests/app/MessageLoopWatcher.h"
#include "tests/app/ScriptedServices.h"
#include "tests/skin/data/FakeSkinManager.h"
#include "dialogs/Shutdown.h"
#include "framework/SysUtils.h"
#include "framework/Handles.h"
#include "tests/framework/GuiObjectCounts.h"

using namespace vx;

namespace {

// --- files ------------------------------------------------------------------------------------

void WriteFile(const std::wstring& path, const std::string& bytes) {
    const THandle h(
        ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(h.Valid()) << WideToUtf8(path);
    DWORD written = 0;
    ::WriteFile(h.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

std::string ReadFile(const std::wstring& path) {
    const THandle h(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!h) return "<missing>";
    std::string bytes(1 << 16, '\0');
    DWORD read = 0;
    ::ReadFile(h.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    bytes.resize(read);
    return bytes;
}

void RemoveTree(const std::wstring& folder) {
    WIN32_FIND_DATAW data;
    HANDLE find = ::FindFirstFileW((folder + L"*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = data.cFileName;
            if (name == L"." || name == L"..") continue;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(folder + name + L"\\");
            else
                ::DeleteFileW((folder + name).c_str());
        } while (::FindNextFileW(find, &data));
        ::FindClose(find);
    }
    ::RemoveDirectoryW(folder.c_str());
}

// Scripts for the stand-in encoder, written into the source files themselves: the
// catalogue's template runs "script:<SourceFile>" and then "file:<OutputFile>". (A
// value that starts and ends with a quotation mark loses both in an INI file, so the
// template starts and ends unquoted.)
const char kConverts[] =
    "line:MEncoder stand-in\nline:Opening video\nline:Starting\nprogress:3\nsleep:300\n"
    "line:Video stream:  800.000 kbit/s  (100000 B/s)  size: 1000 bytes  1.000 secs  25 frames\n";
const char kRunsLong[] = "line:MEncoder stand-in\nline:Opening video\nline:Starting\nprogress:2\nsleep:20000\n";
const char kBreaksOff[] = "line:MEncoder stand-in\nline:Opening video\nline:Starting\nprogress:4\nsleep:300\n";

struct TBox {
    std::wstring text, caption;
    UINT flags;
};

using test::TWatcher;

class MainForm : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t cwd[MAX_PATH];
        ::GetCurrentDirectoryW(MAX_PATH, cwd);
        root = AddTrailing(std::wstring(cwd) + L"\\mf-" +
                           Utf8ToWide(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        RemoveTree(root);
        ::CreateDirectoryW(root.c_str(), nullptr);
        ::CreateDirectoryW((root + L"codecs").c_str(), nullptr);
        ::CreateDirectoryW((root + L"in").c_str(), nullptr);
        ASSERT_TRUE(::CopyFileW(L"stand_in_encoder.exe", (root + L"codecs\\mencoder.exe").c_str(), FALSE));
        out = root + L"out\\";
        WriteFile(root + L"codecs\\VXEncoderParameters.ini",
                  "[EncoderType]\r\nFast=.avi\r\nSmall=.mp4\r\nBare=\r\n"
                  "[Extension]\r\nVideo=*.avi;*.mpg\r\nOther=  \r\n"
                  "[Fast]\r\nMPG=script:\"<SourceFile>\" \"file:<OutputFile>\" exit:0\r\n"
                  "[Small]\r\nMPG=script:\"<SourceFile>\" \"file:<OutputFile>\" exit:0\r\n");
        WriteFile(root + L"codecs\\VXEncoder.ini",
                  "[Configure]\r\nOutputFolder=" + WideToUtf8(root) + "out\r\nEncoderType=0\r\n");
        services.messageBox = [this](const std::wstring& text, const std::wstring& caption, UINT flags) {
            boxes.push_back({text, caption, flags});
            return answer ? answer(boxes.back()) : IDOK;
        };
        services.shell = [this](HWND, const std::wstring& verb, const std::wstring& target) {
            shell.push_back(verb + L" " + target);
        };
        services.powerOff = [this] { ++powerOffs; };
    }

    void TearDown() override {
        form.reset();
        Application->OnException = nullptr;
        Application->ResetTerminated();
    }

    static std::wstring AddTrailing(const std::wstring& s) { return s.back() == L'\\' ? s : s + L"\\"; }

    void Make() {
        form.reset(new TfrmMain(Application, root, services));
        services.shutdown = [this](TfrmShutdown& dialog) {
            ++shutdownOffers;
            EXPECT_EQ(dialog.lblCounter->GetCaption(), L"15");
            return shutdownAnswer;
        };
        form->FinishBuilding();
    }

    // A source file whose content is the stand-in's script.
    std::wstring Source(const std::wstring& name, const char* script) {
        const std::wstring path = root + L"in\\" + name;
        WriteFile(path, script);
        return path;
    }
    std::wstring OutputOf(const std::wstring& stem) const { return out + stem + L"-[VXE].avi"; }

    std::wstring Status(int row) const { return form->ListView1->GetItems()->Items(row)->GetSubItems()->Get(0); }
    std::wstring Progress(int row) const { return form->ListView1->GetItems()->Items(row)->GetSubItems()->Get(1); }
    int Image(int row) const { return form->ListView1->GetItems()->Items(row)->GetImageIndex(); }

    std::wstring root, out;
    test::TScriptedServices services;  // outlives the form
    std::unique_ptr<TfrmMain> form;
    std::vector<TBox> boxes;
    std::function<int(const TBox&)> answer;
    std::vector<std::wstring> shell;
    int powerOffs = 0;
    int shutdownOffers = 0;
    TModalResult shutdownAnswer = mrCancel;
};

void ExpectBounds(const TControl* c, int l, int t, int w, int h) {
    const RECT r = c->BoundsRect();
    EXPECT_EQ(r.left, l) << WideToUtf8(c->GetName());
    EXPECT_EQ(r.top, t) << WideToUtf8(c->GetName());
    EXPECT_EQ(r.right - r.left, w) << WideToUtf8(c->GetName());
    EXPECT_EQ(r.bottom - r.top, h) << WideToUtf8(c->GetName());
}

// --- layout ----------------------------------------------------------------------------------

TEST_F(MainForm, LayoutOfTheWindow) {
    Make();
    EXPECT_EQ(form->GetCaption(), L"Vexlo视频转换器 v1.3");
    EXPECT_EQ(form->GetClientWidth(), 484);
    EXPECT_EQ(form->GetClientHeight(), 393);
    EXPECT_EQ(form->GetLeft(), 132);
    EXPECT_EQ(form->GetTop(), 140);
    EXPECT_EQ(form->GetFont()->GetName(), L"宋体");
    EXPECT_EQ(form->GetFont()->GetHeight(), -12);
    EXPECT_EQ(form->GetFont()->GetCharset(), GB2312_CHARSET);
    wchar_t cls[64] = {};
    ::GetClassNameW(form->GetHandle(), cls, 64);
    EXPECT_STREQ(cls, L"_VXEncoder_");
    EXPECT_EQ(::FindWindowW(L"_VXEncoder_", nullptr), form->GetHandle());

    ExpectBounds(form->pnlTop, 0, 0, 484, 65);
    ExpectBounds(form->Image1, 0, 0, 484, 64);
    EXPECT_EQ(form->Image1->GetCursor(), crHandPoint);
    EXPECT_EQ(form->Image1->GetPicture()->GetWidth(), 484) << "banner not loaded";
    ExpectBounds(form->Panel2, 0, 65, 484, 35);
    ExpectBounds(form->btnAddFile, 5, 6, 96, 25);
    ExpectBounds(form->btnStart, 107, 6, 76, 25);
    ExpectBounds(form->btnStop, 189, 6, 76, 25);
    EXPECT_EQ(form->cboxType->GetLeft(), 271);
    EXPECT_EQ(form->cboxType->GetTop(), 9);
    EXPECT_EQ(form->cboxType->GetWidth(), 178);
    EXPECT_EQ(form->cboxType->GetDropDownCount(), 20);
    ExpectBounds(form->sbtnAbout, 456, 8, 23, 22);
    EXPECT_TRUE(form->sbtnAbout->GetFlat());
    EXPECT_FALSE(form->sbtnAbout->GetGlyph()->GetEmpty());
    ExpectBounds(form->Panel1, 0, 100, 484, 212);
    ExpectBounds(form->ListView1, 5, 5, 474, 202);
    ExpectBounds(form->Panel3, 0, 312, 484, 81);
    ExpectBounds(form->ProgressBar, 5, 4, 474, 17);
    ExpectBounds(form->SpeedButton1, 5, 28, 48, 22);
    ExpectBounds(form->edtOutputFolder, 57, 29, 396, 20);
    EXPECT_TRUE(form->edtOutputFolder->GetReadOnly());
    ExpectBounds(form->btnBrowse, 455, 27, 24, 24);
    ExpectBounds(form->chkShutdown, 5, 59, 185, 17);
    ExpectBounds(form->Image2, 387, 60, 16, 16);
    ExpectBounds(form->lblTavelBlog, 409, 62, 70, 14);
    EXPECT_EQ(form->lblTavelBlog->GetFont()->GetColor(), clBlue);
    EXPECT_EQ(form->lblTavelBlog->GetFont()->GetHeight(), -14);

    const struct { TControl* c; const wchar_t* caption; const wchar_t* hint; } texts[] = {
        {form->btnAddFile, L"添加文件(&A)...", L"添加视频文件"}, {form->btnStart, L"开始转换(&S)", L"开始转换视频文件"},
        {form->btnStop, L"终止转换(&P)", L"终止转换"},        {form->cboxType, nullptr, L"选择转换类型"},
        {form->sbtnAbout, nullptr, L"关于..."},                 {form->SpeedButton1, L"输出到:", L"打开输出的文件夹"},
        {form->btnBrowse, L"...", L"选择输出的文件夹"},        {form->chkShutdown, L"视频转换完成后自动关闭电脑。", nullptr},
        {form->lblTavelBlog, L"我要捐助！", nullptr}};
    for (const auto& t : texts) {
        if (t.caption) {
            EXPECT_EQ(t.c->GetCaption(), t.caption);
        }
        if (t.hint) {
            EXPECT_EQ(t.c->GetHint(), t.hint);
        }
    }

    TListColumns* columns = form->ListView1->GetColumns();
    ASSERT_EQ(columns->Count(), 3);
    EXPECT_EQ(columns->Items(0)->GetCaption(), L"文件");
    EXPECT_EQ(columns->Items(0)->GetWidth(), 260);
    EXPECT_EQ(columns->Items(1)->GetWidth(), 80);
    EXPECT_EQ(columns->Items(2)->GetCaption(), L"进度");
    EXPECT_TRUE(form->ListView1->GetRowSelect());
    EXPECT_TRUE(form->ListView1->GetMultiSelect());
    EXPECT_TRUE(form->ListView1->GetReadOnly());
    EXPECT_TRUE(form->ListView1->GetDoubleBuffered());
    EXPECT_EQ(form->ListView1->GetPopupMenu(), form->pmList);
    EXPECT_EQ(form->ImageList1->Count(), 4);

    TMenuItem* items = form->pmList->GetItems();
    ASSERT_EQ(items->Count(), 6);
    EXPECT_EQ(items->Items(0), form->miInfo);
    EXPECT_TRUE(form->miInfo->GetDefault());
    EXPECT_EQ(items->Items(1)->GetCaption(), L"-");
    EXPECT_EQ(form->miAdd->GetCaption(), L"添加文件(&A)");
    EXPECT_EQ(form->miDel->GetCaption(), L"删除当前(&D)");
    EXPECT_EQ(form->miDelAll->GetCaption(), L"删除所有(&L)");
    EXPECT_EQ(form->odlgVedio->GetOptions(), ofAllowMultiSelect | ofHideReadOnly | ofEnableSizing);
    EXPECT_EQ(form->FindComponent(L"SkinData2"), form->SkinData2);
}

// --- skin data ---------------------------------------------------------------------------------

TEST_F(MainForm, SkinData2CarriesTheStoredSettingsAndThePackedSkin) {
    Make();
    TSkinData* data = form->SkinData2;
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->GetName(), L"SkinData2");
    EXPECT_EQ(data->Owner(), form.get());
    // Loaded the skin as the window was built, and kept Active on.
    EXPECT_TRUE(data->GetHasSkin());
    EXPECT_TRUE(data->GetActive());
    EXPECT_EQ(data->GetDisableTag(), 99);
    EXPECT_EQ(data->GetSkinFormtype(), sfMainform);
    EXPECT_EQ(data->GetOptions(), SkinBit(xoPreview) | SkinBit(xoToolbarBK));
    EXPECT_TRUE(data->GetMenuUpdate());
    EXPECT_FALSE(data->GetMenuMerge());
    EXPECT_EQ(data->GetSkin3rd()->GetCount(), 118);
    // Stored with xcMenuItem; loading took it out because the main menu kind is there.
    EXPECT_EQ(data->GetSkinControls(), (SkinBit(xcSystemMenu + 1) - 1) & ~SkinBit(xcMenuItem));

    // The store holds the blob the build packed, byte for byte.
    std::ifstream file(VX_TEST_SKIN_BLOB, std::ios::binary);
    const std::string blob{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    ASSERT_FALSE(blob.empty()) << "no blob at " << VX_TEST_SKIN_BLOB;
    ASSERT_EQ(data->Store().GetSize(), static_cast<std::int64_t>(blob.size()));
    EXPECT_EQ(std::memcmp(data->Store().GetMemory(), blob.data(), blob.size()), 0);
}

TEST_F(MainForm, SkinningIsAskedForWhenTheWindowIsBuiltBeforeOnCreate) {
    skintest::TFakeSkinManagerScope scope;
    using Log = std::vector<std::string>;
    form.reset(new TfrmMain(Application, root, services));
    EXPECT_TRUE(form->SkinData2->GetHasSkin()) << "decompressed as its stream was read";
    EXPECT_EQ(skintest::TFakeSkinManager::Made, 0) << "no manager while the window is read";
    TNotifyEvent onCreate = form->OnCreate;
    form->OnCreate = [onCreate](TObject* sender) {
        skintest::TFakeSkinManager::Log.push_back("OnCreate");
        onCreate(sender);
    };
    form->FinishBuilding();
    EXPECT_EQ(skintest::TFakeSkinManager::Log,
              (Log{"Register SkinData2", "InstallHook", "RequestAction 1 250", "OnCreate"}));
    form.reset();
    EXPECT_EQ(skintest::TFakeSkinManager::Log.back(), "Unregister SkinData2");
}

// --- creation, settings ------------------------------------------------------------------------

TEST_F(MainForm, TheSkinnedWindowKeepsItsClientAreaAndConvertsWithItsControlsSkinned) {
    InstallWindowSkinning();
    InstallControlSkinning();
    Make();
    form->Show();
    HWND h = form->GetHandle();
    ::SetForegroundWindow(h);
    auto skinned = [h] {
        TSkinManage* m = TSkinManage::Instance();
        return m && m->FindForm(h) && m->FindForm(h)->Lifecycle() == 1;
    };
    for (int i = 0; i < 500 && !skinned(); ++i) {
        Application->ProcessMessages();
        ::Sleep(10);
    }
    ASSERT_TRUE(skinned());
    EXPECT_EQ(::SendMessageW(h, WM_SKINQUERY, 0, 0), 1);
    RECT client{}, window{};
    ::GetClientRect(h, &client);
    ::GetWindowRect(h, &window);
    EXPECT_EQ(client.right, 484);
    EXPECT_EQ(client.bottom, 393);
    EXPECT_EQ(form->GetClientWidth(), 484);
    EXPECT_EQ(form->GetClientHeight(), 393);
    EXPECT_EQ(window.right - window.left, 484 + 8);
    EXPECT_EQ(window.bottom - window.top, 393 + 34);
    // The application window stays as it is.
    EXPECT_EQ(TSkinManage::Instance()->FindForm(Application->GetHandle()), nullptr);

    // Every control of the window wears the skin.
    TFormSkinner* s = TSkinManage::Instance()->FindForm(h);
    auto skinOf = [&](TControl* c) {
        TSkinControl* k = TControlDispatcher::ListedSkinOf(*s, c);
        return k ? WideToUtf8(k->ClassName()) : std::string("none");
    };
    for (TControl* c : std::vector<TControl*>{form->btnAddFile, form->btnStart, form->btnStop, form->btnBrowse})
        EXPECT_EQ(skinOf(c), "TSkinButton") << WideToUtf8(c->GetName());
    EXPECT_EQ(skinOf(form->edtOutputFolder), "TSkinEdit");
    EXPECT_EQ(skinOf(form->chkShutdown), "TSkinCheckBox");
    EXPECT_EQ(skinOf(form->sbtnAbout), "TSkinSpeedButton");
    EXPECT_EQ(skinOf(form->SpeedButton1), "TSkinSpeedButton");
    for (TControl* c : std::vector<TControl*>{form->pnlTop, form->Panel1, form->Panel2, form->Panel3})
        EXPECT_EQ(skinOf(c), "TSkinBox") << WideToUtf8(c->GetName());
    for (TWinControl* c : std::vector<TWinControl*>{form->btnStart, form->edtOutputFolder, form->chkShutdown})
        EXPECT_EQ(::SendMessageW(c->GetHandle(), WM_SKINQUERY, 0, 0), 1) << WideToUtf8(c->GetName());
    EXPECT_EQ(form->Panel1->GetColor(), static_cast<TColor>(form->SkinData2->Model().ButtonFaceColour));

    // A whole conversion clicked through the skinned controls.
    auto click = [](TWinControl* c) {
        const LPARAM centre = MAKELPARAM(c->GetWidth() / 2, c->GetHeight() / 2);
        ::PostMessageW(c->GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON, centre);
        ::PostMessageW(c->GetHandle(), WM_LBUTTONUP, 0, centre);
    };
    click(form->chkShutdown);
    for (int i = 0; i < 50 && !form->chkShutdown->GetChecked(); ++i) Application->ProcessMessages();
    EXPECT_TRUE(form->chkShutdown->GetChecked());
    click(form->chkShutdown);
    for (int i = 0; i < 50 && form->chkShutdown->GetChecked(); ++i) Application->ProcessMessages();
    EXPECT_FALSE(form->chkShutdown->GetChecked());
    form->AddFile(Source(L"one.mpg", kConverts));
    form->AddFile(Source(L"two.mpg", kConverts));
    ASSERT_TRUE(form->btnStart->GetEnabled());
    click(form->btnStart);
    for (int i = 0; i < 1000 && Status(1) != L"已完成"; ++i) {
        Application->ProcessMessages();
        ::Sleep(10);
    }
    EXPECT_EQ(Status(0), L"已完成");
    EXPECT_EQ(Status(1), L"已完成");
    EXPECT_TRUE(FileExists(OutputOf(L"one")));
    EXPECT_TRUE(FileExists(OutputOf(L"two")));
    EXPECT_TRUE(boxes.empty());
    EXPECT_TRUE(form->btnStart->GetEnabled());
    EXPECT_EQ(::SendMessageW(form->btnStart->GetHandle(), WM_SKINQUERY, 0, 0), 1) << "still skinned";
    form.reset();
    DestroySkinManager();
    SetControlSkinFactory(nullptr);
}

// Closes the queue's menu once it is up and drawn (a thread timer runs inside the menu's
// loop).
int g_menusSeen = 0;
bool g_menuSkinned = false;
BOOL CALLBACK CountMenuWindow(HWND w, LPARAM count) {
    wchar_t name[16] = {};
    ::GetClassNameW(w, name, 16);
    if (std::wstring(name) == L"#32768") ++*reinterpret_cast<int*>(count);
    return TRUE;
}
int MenuWindows() {
    int count = 0;
    ::EnumThreadWindows(::GetCurrentThreadId(), &CountMenuWindow, reinterpret_cast<LPARAM>(&count));
    return count;
}

void CALLBACK CloseQueueMenu(HWND, UINT, UINT_PTR id, DWORD) {
    TSkinManage* m = TSkinManage::Instance();
    HWND menu = m ? m->NewestPopupWindow() : nullptr;
    if (!menu || !::IsWindowVisible(menu)) return;
    ::KillTimer(nullptr, id);
    ++g_menusSeen;
    g_menuSkinned = m->IsPopupSkinned(menu) && m->PopupCount() == 1;
    ::EndMenu();
}

TEST_F(MainForm, TheQueuesMenuIsSkinnedAndLeavesNothingBehind) {
    InstallWindowSkinning();
    Make();
    form->Show();
    HWND h = form->GetHandle();
    ::SetForegroundWindow(h);
    auto skinned = [h] {
        TSkinManage* m = TSkinManage::Instance();
        return m && m->FindForm(h) && m->FindForm(h)->Lifecycle() == 1;
    };
    for (int i = 0; i < 500 && !skinned(); ++i) {
        Application->ProcessMessages();
        ::Sleep(10);
    }
    ASSERT_TRUE(skinned());
    TSkinManage& m = *TSkinManage::Instance();
    // The queue's menu is drawn by the skin.
    EXPECT_TRUE(form->pmList->GetOwnerDraw());
    EXPECT_TRUE(HasSkinnedDrawer(*form->miInfo));
    const POINT at = form->ListView1->ClientToScreen(POINT{100, 60});
    auto open = [&] {
        ::SetTimer(nullptr, 0, 10, &CloseQueueMenu);
        form->pmList->Popup(at.x, at.y);
    };
    open();  // the first opening may fill caches of its own
    ASSERT_EQ(g_menusSeen, 1);
    EXPECT_TRUE(g_menuSkinned);
    const vx::testing::TGuiObjectCounts before = vx::testing::CountGuiObjects();
    const int chains = TWindowSubclass::ChainCount();
    const int menuWindows = MenuWindows();
    for (int i = 0; i < 200; ++i) open();
    EXPECT_EQ(g_menusSeen, 201);
    EXPECT_TRUE(g_menuSkinned);
    EXPECT_EQ(m.PopupCount(), 0u);
    EXPECT_EQ(m.MenuKind, mkPopup);
    EXPECT_EQ(TWindowSubclass::ChainCount(), chains) << "a menu window's subclass chain was left behind";
    EXPECT_EQ(MenuWindows(), menuWindows);
    const vx::testing::TGuiObjectCounts after = vx::testing::CountGuiObjects();
    EXPECT_EQ(after.Gdi, before.Gdi);
    EXPECT_EQ(after.Windows, before.Windows);
    EXPECT_EQ(after.Menus, before.Menus);
    // Without the manager the menu draws itself again.
    DestroySkinManager();
    EXPECT_FALSE(form->pmList->GetOwnerDraw());
    EXPECT_FALSE(HasSkinnedDrawer(*form->miInfo));
    form.reset();
}

TEST_F(MainForm, CreationLoadsTheCatalogueAndSettings) {
    WriteFile(root + L"codecs\\VXEncoder.ini", "[Configure]\r\nOutputFolder=D:\\Out\r\nEncoderType=1\r\n");
    Make();
    EXPECT_TRUE(boxes.empty());
    EXPECT_FALSE(Application->Terminated());
    EXPECT_EQ(form->EncoderPath, root + L"codecs\\mencoder.exe");
    ASSERT_EQ(form->cboxType->GetItems()->GetCount(), 3);
    EXPECT_EQ(form->cboxType->GetItems()->Get(0), L"Fast");
    EXPECT_EQ(form->cboxType->GetItemIndex(), 1);
    EXPECT_EQ(form->odlgVedio->GetFilter(), L"Video|*.avi;*.mpg|");
    EXPECT_EQ(form->edtOutputFolder->GetText(), L"D:\\Out\\");
    // The stored type is selected with its extension.
    EXPECT_EQ(form->OutputExt, L".mp4");
    EXPECT_EQ(form->CurrentRow(), -1);
    EXPECT_EQ(form->ProgressBar->GetPosition(), 0);
    form->cboxType->SetItemIndex(1);
    form->cboxTypeChange(form->cboxType);
    EXPECT_EQ(form->OutputExt, L".mp4");
    form->cboxType->SetItemIndex(2);
    form->cboxTypeChange(form->cboxType);
    EXPECT_EQ(form->OutputExt, L"");

    TCloseAction action = caHide;
    form->FormClose(form.get(), action);
    EXPECT_EQ(ReadFile(root + L"codecs\\VXEncoder.ini").find("EncoderType=2") != std::string::npos, true);
    EXPECT_EQ(form->Encoder, nullptr);
}

TEST_F(MainForm, MissingEncoderIsReportedAndEndsTheProgram) {
    ::DeleteFileW((root + L"codecs\\mencoder.exe").c_str());
    Make();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, L"“" + root + L"codecs\\mencoder.exe”文件没有找到，程序不能正常运行!");
    EXPECT_EQ(boxes[0].caption, L"程序");
    EXPECT_EQ(boxes[0].flags & MB_ICONMASK, static_cast<UINT>(MB_ICONERROR));
    ASSERT_EQ(shell.size(), 1u);
    EXPECT_EQ(shell[0], L"OPEN http://www.example.com/vexlo");
    EXPECT_TRUE(Application->Terminated());
    // The rest of the creation still ran.
    EXPECT_NE(form->Encoder, nullptr);
    EXPECT_EQ(form->cboxType->GetItems()->GetCount(), 3);
}

// --- queue -----------------------------------------------------------------------------------

HDROP MakeDrop(const std::vector<std::wstring>& paths) {
    size_t chars = 1;
    for (const auto& p : paths) chars += p.size() + 1;
    HGLOBAL memory = ::GlobalAlloc(GHND, sizeof(DROPFILES) + chars * sizeof(wchar_t));
    auto* df = static_cast<DROPFILES*>(::GlobalLock(memory));
    df->pFiles = sizeof(DROPFILES);
    df->fWide = TRUE;
    auto* p = reinterpret_cast<wchar_t*>(reinterpret_cast<char*>(df) + sizeof(DROPFILES));
    for (const auto& path : paths) {
        std::copy(path.begin(), path.end(), p);
        p += path.size() + 1;
    }
    ::GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

TEST_F(MainForm, QueueAddDropDeleteAndTheButtonRule) {
    Make();
    EXPECT_FALSE(form->btnStart->GetEnabled());
    EXPECT_FALSE(form->btnStop->GetEnabled());
    EXPECT_FALSE(form->miDel->GetEnabled());
    EXPECT_FALSE(form->miDelAll->GetEnabled());
    EXPECT_TRUE(form->miAdd->GetEnabled());
    EXPECT_TRUE(form->btnAddFile->GetEnabled());

    services.openDialog = [](TOpenDialog& dialog) {
        dialog.GetFiles()->Clear();
        dialog.GetFiles()->Add(L"C:\\A\\FILM.AVI");
        dialog.GetFiles()->Add(L"C:\\b.mpg");
        return true;
    };
    form->btnAddFileClick(form->btnAddFile);
    ASSERT_EQ(form->ListView1->GetItems()->Count(), 2);
    EXPECT_EQ(form->ListView1->GetItems()->Items(0)->GetCaption(), L"C:\\A\\FILM.AVI");
    EXPECT_EQ(Status(0), L"准备转换");
    EXPECT_EQ(Progress(0), L"0%");
    EXPECT_EQ(Image(0), 0);
    EXPECT_TRUE(form->btnStart->GetEnabled());
    EXPECT_TRUE(form->miDel->GetEnabled());

    // Dropped: one already queued (other case), one of 300 characters, taken whole.
    const std::wstring longPath = L"C:\\" + std::wstring(296, L'x') + L".avi";
    form->Perform(WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({L"C:\\new.avi", L"c:\\a\\film.avi", longPath})));
    ASSERT_EQ(form->ListView1->GetItems()->Count(), 4);
    EXPECT_EQ(form->ListView1->GetItems()->Items(2)->GetCaption(), L"C:\\new.avi");
    EXPECT_EQ(form->ListView1->GetItems()->Items(3)->GetCaption(), longPath);
    EXPECT_EQ(form->Queue().Count(), 4);

    form->ListView1->GetItems()->Items(1)->SetSelected(true);
    form->ListView1->GetItems()->Items(3)->SetSelected(true);
    form->miDelClick(form->miDel);
    ASSERT_EQ(form->ListView1->GetItems()->Count(), 2);
    EXPECT_EQ(form->ListView1->GetItems()->Items(1)->GetCaption(), L"C:\\new.avi");
    EXPECT_EQ(form->Queue().Row(1).Path, L"C:\\new.avi");
    // A deleted path may be added again.
    form->AddFile(L"C:\\B.MPG");
    EXPECT_EQ(form->ListView1->GetItems()->Count(), 3);

    form->miDelAllClick(form->miDelAll);
    EXPECT_EQ(form->ListView1->GetItems()->Count(), 0);
    EXPECT_EQ(form->Queue().Count(), 0);
    EXPECT_FALSE(form->btnStart->GetEnabled());
    EXPECT_FALSE(form->miDel->GetEnabled());
    EXPECT_FALSE(form->miDelAll->GetEnabled());
}

// A drop of thousands of files is queued in one pass: the rows keep the drop's order,
// a path that comes twice in the same drop (in any case) or is already queued is added
// once, the list view holds and shows every row, and the controls end as the rule says
// for the new count.
TEST_F(MainForm, ALargeDropIsQueuedInOrderOnceEach) {
    Make();
    form->Show();
    std::vector<std::wstring> dropped;
    for (int i = 0; i < 2000; ++i) {
        dropped.push_back(L"D:\\Clips\\clip-" + std::to_wstring(i) + L".mpg");
        if (i % 100 == 99) dropped.push_back(L"d:\\CLIPS\\CLIP-" + std::to_wstring(i - 50) + L".MPG");
    }
    dropped.push_back(dropped.front());
    EXPECT_FALSE(form->btnStart->GetEnabled());
    form->Perform(WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop(dropped)));
    TListItems* items = form->ListView1->GetItems();
    ASSERT_EQ(items->Count(), 2000);
    ASSERT_EQ(form->Queue().Count(), 2000);
    for (int i = 0; i < 2000; i += 199) {
        EXPECT_EQ(items->Items(i)->GetCaption(), L"D:\\Clips\\clip-" + std::to_wstring(i) + L".mpg");
        EXPECT_EQ(Status(i), L"准备转换");
        EXPECT_EQ(Progress(i), L"0%");
        EXPECT_EQ(Image(i), 0);
    }
    EXPECT_EQ(items->Items(1999)->GetCaption(), L"D:\\Clips\\clip-1999.mpg");
    const HWND list = form->ListView1->GetHandle();
    EXPECT_EQ(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 2000);
    EXPECT_TRUE(::IsWindowVisible(list)) << "the list view draws again after the drop";
    EXPECT_TRUE(form->btnStart->GetEnabled());
    EXPECT_FALSE(form->btnStop->GetEnabled());
    EXPECT_TRUE(form->miDel->GetEnabled());
    EXPECT_TRUE(form->miDelAll->GetEnabled());

    // The open dialog's result follows the same rules, appended after the dropped rows.
    services.openDialog = [](TOpenDialog& dialog) {
        dialog.GetFiles()->Clear();
        for (const wchar_t* p : {L"E:\\new.avi", L"D:\\CLIPS\\clip-7.mpg", L"e:\\NEW.avi", L"E:\\other.avi"})
            dialog.GetFiles()->Add(p);
        return true;
    };
    form->btnAddFileClick(form->btnAddFile);
    ASSERT_EQ(items->Count(), 2002);
    EXPECT_EQ(items->Items(2000)->GetCaption(), L"E:\\new.avi");
    EXPECT_EQ(items->Items(2001)->GetCaption(), L"E:\\other.avi");
    EXPECT_EQ(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 2002);

    // A drop of queued files only changes nothing.
    form->Perform(WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({L"E:\\NEW.AVI", L"d:\\clips\\clip-0.mpg"})));
    EXPECT_EQ(items->Count(), 2002);
    EXPECT_TRUE(form->btnStart->GetEnabled());
}

// Files dropped while a batch runs are appended as waiting rows; the controls stay as a
// running batch has them, and the batch does not convert the new rows.
TEST_F(MainForm, FilesDroppedDuringABatchWaitForTheNextOne) {
    Make();
    form->AddFile(Source(L"a.mpg", kConverts));
    bool dropped = false;
    TWatcher watch([&] {
        if (!form->JobRunning()) return false;
        std::vector<std::wstring> paths;
        for (int i = 0; i < 500; ++i) paths.push_back(root + L"in\\later-" + std::to_wstring(i) + L".mpg");
        form->Perform(WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop(paths)));
        dropped = true;
        EXPECT_EQ(form->ListView1->GetItems()->Count(), 501);
        EXPECT_FALSE(form->btnStart->GetEnabled());
        EXPECT_TRUE(form->btnStop->GetEnabled());
        EXPECT_FALSE(form->btnAddFile->GetEnabled());
        EXPECT_FALSE(form->miDelAll->GetEnabled());
        return true;
    });
    form->btnStartClick(form->btnStart);
    ASSERT_TRUE(dropped);
    EXPECT_EQ(Status(0), L"已完成");
    EXPECT_EQ(Status(1), L"准备转换");
    EXPECT_EQ(Status(500), L"准备转换");
    EXPECT_TRUE(boxes.empty());
    EXPECT_TRUE(form->btnStart->GetEnabled());
    EXPECT_TRUE(form->miDelAll->GetEnabled());
}

// --- folder, links ---------------------------------------------------------------------------

TEST_F(MainForm, OutputFolderChooserAndOpening) {
    Make();
    const std::wstring before = form->edtOutputFolder->GetText();
    std::wstring prompt;
    services.chooseFolder = [&](const std::wstring& p, std::wstring& folder) {
        prompt = p;
        folder = root + L"in";
        return true;
    };
    form->edtOutputFolder->OnDblClick(form->edtOutputFolder);
    EXPECT_EQ(prompt, L"请选择视频输出的文件夹：");
    EXPECT_EQ(form->edtOutputFolder->GetText(), root + L"in\\");
    EXPECT_TRUE(shell.empty()) << "the double click opens the chooser, not the folder";
    services.chooseFolder = [&](const std::wstring&, std::wstring& folder) {
        folder = root + L"nowhere";
        return true;
    };
    form->btnBrowseClick(form->btnBrowse);
    EXPECT_EQ(form->edtOutputFolder->GetText(), root + L"in\\") << "a folder that does not exist is not taken";
    services.chooseFolder = [&](const std::wstring&, std::wstring&) { return false; };
    form->btnBrowseClick(form->btnBrowse);
    EXPECT_EQ(form->edtOutputFolder->GetText(), root + L"in\\");
    (void)before;

    // "输出到:" makes a missing folder (one level) and opens it.
    form->edtOutputFolder->SetText(root + L"made\\");
    form->SpeedButton1Click(form->SpeedButton1);
    EXPECT_TRUE(DirectoryExists(root + L"made\\"));
    ASSERT_EQ(shell.size(), 1u);
    EXPECT_EQ(shell[0], L"Open " + root + L"made\\");
    // Two missing levels cannot be made.
    form->edtOutputFolder->SetText(root + L"no\\such\\");
    form->SpeedButton1Click(form->SpeedButton1);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, L"“" + root + L"no\\such\\”输出目录创建失败，请重新选择输出目录!");
    EXPECT_EQ(boxes[0].caption, L"转换");
    EXPECT_EQ(boxes[0].flags & MB_ICONMASK, static_cast<UINT>(MB_ICONWARNING));
    EXPECT_EQ(shell.size(), 1u);
}

TEST_F(MainForm, DonationLinkAndPicture) {
    Make();
    for (TControl* link : {static_cast<TControl*>(form->lblTavelBlog), static_cast<TControl*>(form->Image2)}) {
        link->OnMouseEnter(link);
        EXPECT_EQ(form->lblTavelBlog->GetFont()->GetStyle(), static_cast<TFontStyles>(fsUnderline));
        link->OnMouseLeave(link);
        EXPECT_EQ(form->lblTavelBlog->GetFont()->GetStyle(), 0u);
        link->OnClick(link);
    }
    ASSERT_EQ(shell.size(), 2u);
    EXPECT_EQ(shell[0], L"OPEN http://www.example.com/vexlo/donate");
    EXPECT_EQ(shell[1], shell[0]);
    EXPECT_EQ(form->Image2->GetCursor(), crHandPoint);
    EXPECT_EQ(form->lblTavelBlog->GetCursor(), crHandPoint);
}

// --- batches ---------------------------------------------------------------------------------

TEST_F(MainForm, WholeBatchThroughEveryStateAndSkipOfConvertedRows) {
    Make();
    form->AddFile(Source(L"one.mpg", kConverts));
    form->AddFile(Source(L"two.mpg", kBreaksOff));
    form->AddFile(root + L"in\\missing.mpg");
    std::vector<std::wstring> seenWhileRunning;
    bool sawButtonsWhileRunning = false;
    TWatcher watch([&] {
        // The progress timer re-evaluates the buttons on its first tick.
        if (form->JobRunning() && form->CurrentRow() == 0 && Progress(0) != L"0%" && seenWhileRunning.empty()) {
            seenWhileRunning.push_back(Status(0));
            seenWhileRunning.push_back(std::to_wstring(Image(0)));
            sawButtonsWhileRunning = !form->btnStart->GetEnabled() && form->btnStop->GetEnabled() &&
                                     !form->btnAddFile->GetEnabled() && !form->miAdd->GetEnabled();
        }
        return false;
    });
    form->btnStartClick(form->btnStart);

    ASSERT_EQ(seenWhileRunning.size(), 2u);
    EXPECT_EQ(seenWhileRunning[0], L"正在转换...");
    EXPECT_EQ(seenWhileRunning[1], L"1");
    EXPECT_TRUE(sawButtonsWhileRunning);
    EXPECT_EQ(Status(0), L"已完成");
    EXPECT_EQ(Progress(0), L"100%");
    EXPECT_EQ(Image(0), 2);
    EXPECT_EQ(Status(1), L"已终止");
    EXPECT_EQ(Image(1), 3);
    EXPECT_NE(Progress(1), L"0%") << "a stopped row keeps the last percentage shown";
    EXPECT_EQ(Status(2), L"转换失败");
    EXPECT_EQ(Image(2), 3);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, L"“" + root + L"in\\missing.mpg”源文件不存在！");
    EXPECT_EQ(boxes[0].caption, L"转换");
    EXPECT_TRUE(FileExists(OutputOf(L"one")));
    EXPECT_TRUE(DirectoryExists(out)) << "the output folder is made when missing";
    EXPECT_TRUE(form->btnStart->GetEnabled());
    EXPECT_FALSE(form->btnStop->GetEnabled());
    EXPECT_EQ(shutdownOffers, 0);

    // A second batch skips the converted row and converts the others again.
    ::DeleteFileW(OutputOf(L"one").c_str());
    ::DeleteFileW(OutputOf(L"two").c_str());
    Source(L"two.mpg", kConverts);
    boxes.clear();
    answer = [](const TBox&) { return IDOK; };
    form->btnStartClick(form->btnStart);
    EXPECT_FALSE(FileExists(OutputOf(L"one")));
    EXPECT_TRUE(FileExists(OutputOf(L"two")));
    EXPECT_EQ(Status(1), L"已完成");
    EXPECT_EQ(boxes.size(), 1u);  // the missing source again
}

TEST_F(MainForm, OverwriteQuestionAnsweredBothWays) {
    Make();
    ::CreateDirectoryW(out.c_str(), nullptr);
    form->AddFile(Source(L"keep.mpg", kConverts));
    form->AddFile(Source(L"replace.mpg", kConverts));
    WriteFile(OutputOf(L"keep"), "old");
    WriteFile(OutputOf(L"replace"), "old");
    answer = [](const TBox& box) { return box.text.find(L"keep") != std::wstring::npos ? IDCANCEL : IDOK; };
    form->btnStartClick(form->btnStart);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, L"“" + OutputOf(L"keep") + L"”文件已存在，是否要覆盖？");
    EXPECT_EQ(boxes[0].caption, L"转换");
    EXPECT_EQ(boxes[0].flags & 0xF, static_cast<UINT>(MB_OKCANCEL));
    EXPECT_EQ(boxes[0].flags & MB_ICONMASK, static_cast<UINT>(MB_ICONQUESTION));
    EXPECT_EQ(Status(0), L"准备转换");
    EXPECT_EQ(ReadFile(OutputOf(L"keep")), "old");
    EXPECT_EQ(Status(1), L"已完成");
    EXPECT_NE(ReadFile(OutputOf(L"replace")), "old");
}

TEST_F(MainForm, OutputFolderThatCannotBeMadeEndsEverything) {
    Make();
    form->edtOutputFolder->SetText(root + L"no\\such\\");
    form->chkShutdown->SetChecked(true);
    form->AddFile(Source(L"a.mpg", kConverts));
    form->AddFile(Source(L"b.mpg", kConverts));
    form->btnStartClick(form->btnStart);
    ASSERT_EQ(boxes.size(), 1u) << "shown once, even in an unattended batch";
    EXPECT_EQ(boxes[0].text, L"“" + root + L"no\\such\\”输出目录创建失败，请重新选择输出目录!");
    EXPECT_EQ(Status(0), L"准备转换");
    EXPECT_EQ(Status(1), L"准备转换");
    EXPECT_EQ(shutdownOffers, 0);
}

TEST_F(MainForm, StopDuringTheSecondOfThreeFiles) {
    Make();
    form->chkShutdown->SetChecked(true);
    form->AddFile(Source(L"a.mpg", kConverts));
    form->AddFile(Source(L"b.mpg", kRunsLong));
    form->AddFile(Source(L"c.mpg", kConverts));
    bool stopped = false;
    TWatcher watch([&] {
        if (form->CurrentRow() == 1 && form->JobRunning() && Progress(1) != L"0%") {
            answer = [](const TBox&) { return IDOK; };
            form->btnStopClick(form->btnStop);
            stopped = true;
            return true;
        }
        return false;
    });
    const DWORD start = ::GetTickCount();
    form->btnStartClick(form->btnStart);
    EXPECT_LT(::GetTickCount() - start, 15000u) << "the stop did not end the long run";
    ASSERT_TRUE(stopped);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, L"您确定终止转换吗？");
    EXPECT_EQ(boxes[0].caption, L"终止");
    EXPECT_EQ(boxes[0].flags & MB_DEFMASK, static_cast<UINT>(MB_DEFBUTTON2));
    EXPECT_EQ(Status(0), L"已完成");
    EXPECT_EQ(Status(1), L"已终止");
    EXPECT_EQ(Status(2), L"准备转换");
    EXPECT_TRUE(form->StopRequested());
    EXPECT_EQ(shutdownOffers, 0) << "the last row is not converted";
    EXPECT_GT(form->ProgressBar->GetPosition(), 0) << "the final update shows the stopped file's percentage again";
    EXPECT_FALSE(form->JobRunning());
}

TEST_F(MainForm, StopQuestionAnsweredCancelKeepsConverting) {
    Make();
    form->AddFile(Source(L"a.mpg", kConverts));
    answer = [](const TBox&) { return IDCANCEL; };
    TWatcher watch([&] {
        if (!form->JobRunning()) return false;
        form->btnStopClick(form->btnStop);
        return true;
    });
    form->btnStartClick(form->btnStart);
    EXPECT_EQ(boxes.size(), 1u);
    EXPECT_EQ(Status(0), L"已完成");
}

TEST_F(MainForm, ClosingDuringAConversion) {
    Make();
    form->AddFile(Source(L"a.mpg", kRunsLong));
    form->AddFile(Source(L"b.mpg", kConverts));
    bool refused = false, closed = false;
    TWatcher watch([&] {
        if (!form->JobRunning() || Progress(0) == L"0%") return false;
        if (!refused) {
            answer = [](const TBox&) { return IDCANCEL; };
            bool canClose = true;
            form->FormCloseQuery(form.get(), canClose);
            refused = !canClose;
            return false;
        }
        answer = [](const TBox&) { return IDOK; };
        form->Close();
        closed = true;
        // The job stays until the batch has returned from the run.
        EXPECT_NE(form->Encoder, nullptr);
        return true;
    });
    form->Show();
    form->btnStartClick(form->btnStart);
    EXPECT_TRUE(refused);
    ASSERT_TRUE(closed);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].text, L"视频正在转换中，您确定退出吗？");
    EXPECT_EQ(boxes[1].caption, L"退出");
    EXPECT_EQ(Status(0), L"已终止");
    EXPECT_EQ(Status(1), L"准备转换");
    EXPECT_EQ(form->Encoder, nullptr) << "released once the batch returned";
    EXPECT_FALSE(form->GetVisible());
}

TEST_F(MainForm, UnattendedBatchLogsAndOffersTheShutdown) {
    Make();
    ::CreateDirectoryW(out.c_str(), nullptr);
    form->chkShutdown->SetChecked(true);
    form->AddFile(root + L"in\\gone.mpg");
    form->AddFile(Source(L"exists.mpg", kConverts));
    form->AddFile(Source(L"last.mpg", kConverts));
    WriteFile(OutputOf(L"exists"), "old");
    // A log above 1 MiB is emptied first.
    WriteFile(OutputOf(L"gone") + L".txt", std::string(1048577, 'x'));
    form->btnStartClick(form->btnStart);
    EXPECT_TRUE(boxes.empty()) << WideToUtf8(boxes.empty() ? L"" : boxes[0].text);
    EXPECT_EQ(ReadFile(OutputOf(L"gone") + L".txt"),
              WideToUtf8(L"“" + root + L"in\\gone.mpg”文件转换失败，原因：源文件不存在！\r\n"));
    EXPECT_LT(ReadFile(OutputOf(L"gone") + L".txt").size(), 1000u);
    EXPECT_NE(ReadFile(OutputOf(L"exists")), "old") << "overwritten without asking";
    EXPECT_EQ(Status(2), L"已完成");
    EXPECT_EQ(shutdownOffers, 1);
    EXPECT_FALSE(Application->Terminated()) << "cancelled: the program goes on";
    EXPECT_EQ(powerOffs, 0);

    // Confirmed (or run out): the program ends and the power-off is asked for.
    shutdownAnswer = mrOk;
    form->AddFile(Source(L"more.mpg", kConverts));
    form->btnStartClick(form->btnStart);
    EXPECT_EQ(shutdownOffers, 2);
    EXPECT_TRUE(Application->Terminated());
    EXPECT_EQ(powerOffs, 1);
}

// --- the unattended batch ------------------------------------------------------------------

// The box is read where it is used: ticked during the first file, the missing second
// file goes to the log and the shutdown is offered; cleared during a run, it is not.
TEST_F(MainForm, ShutdownBoxTickedOrClearedDuringABatch) {
    Make();
    ::CreateDirectoryW(out.c_str(), nullptr);
    form->AddFile(Source(L"first.mpg", kConverts));
    form->AddFile(root + L"in\\gone.mpg");
    form->AddFile(Source(L"last.mpg", kConverts));
    {
        TWatcher tick([&] {
            if (form->CurrentRow() != 0 || !form->JobRunning()) return false;
            form->chkShutdown->SetChecked(true);
            return true;
        });
        form->btnStartClick(form->btnStart);
    }
    EXPECT_TRUE(boxes.empty()) << WideToUtf8(boxes.empty() ? L"" : boxes[0].text);
    const std::string goneLine = WideToUtf8(L"“" + root + L"in\\gone.mpg”文件转换失败，原因：源文件不存在！\r\n");
    EXPECT_EQ(ReadFile(OutputOf(L"gone") + L".txt"), goneLine);
    EXPECT_EQ(Status(2), L"已完成");
    EXPECT_EQ(shutdownOffers, 1);

    form->AddFile(Source(L"again.mpg", kConverts));
    {
        TWatcher clear([&] {
            if (form->CurrentRow() != 3 || !form->JobRunning()) return false;
            form->chkShutdown->SetChecked(false);
            return true;
        });
        form->btnStartClick(form->btnStart);
    }
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(ReadFile(OutputOf(L"gone") + L".txt"), goneLine + goneLine) << "still ticked at the second row";
    EXPECT_EQ(Status(3), L"已完成");
    EXPECT_EQ(shutdownOffers, 1) << "cleared before the end: no offer";
    EXPECT_EQ(powerOffs, 0);
}

// Two sources of one name in two folders map to one output. Unattended, the second
// does not overwrite what the first wrote in this batch; the batch goes on.
TEST_F(MainForm, UnattendedBatchKeepsAnOutputWrittenEarlierInTheSameBatch) {
    Make();
    ::CreateDirectoryW(out.c_str(), nullptr);
    ::CreateDirectoryW((root + L"in\\x").c_str(), nullptr);
    ::CreateDirectoryW((root + L"in\\y").c_str(), nullptr);
    form->chkShutdown->SetChecked(true);
    const std::wstring marker = root + L"second-ran";
    form->AddFile(Source(L"x\\clip.mpg", kConverts));
    const std::string secondScript = std::string(kConverts) + "file:" + WideToUtf8(marker) + "\n";
    const std::wstring second = Source(L"y\\CLIP.mpg", secondScript.c_str());
    form->AddFile(second);
    form->AddFile(Source(L"other.mpg", kConverts));
    form->btnStartClick(form->btnStart);
    EXPECT_TRUE(boxes.empty()) << WideToUtf8(boxes.empty() ? L"" : boxes[0].text);
    EXPECT_EQ(Status(0), L"已完成");
    EXPECT_EQ(Status(1), L"转换失败");
    EXPECT_EQ(Image(1), 3);
    EXPECT_FALSE(FileExists(marker)) << "the second source was converted over the first one's output";
    EXPECT_TRUE(FileExists(OutputOf(L"clip")));
    EXPECT_EQ(ReadFile(OutputOf(L"clip") + L".txt"),
              WideToUtf8(L"“" + second + L"”文件转换失败，原因：输出的文件已由本次转换中前面的文件写入!\r\n"));
    EXPECT_EQ(Status(2), L"已完成") << "the batch goes on";

    // Attended, the overwrite question stands.
    form->chkShutdown->SetChecked(false);
    form->AddFile(Source(L"x\\twin.mpg", kConverts));
    form->AddFile(Source(L"y\\twin.mpg", kConverts));
    answer = [](const TBox& box) { return box.text.find(L"是否要覆盖") != std::wstring::npos ? IDCANCEL : IDOK; };
    boxes.clear();
    form->btnStartClick(form->btnStart);
    std::vector<std::wstring> texts;
    for (const TBox& box : boxes) texts.push_back(box.text);
    EXPECT_EQ(texts, (std::vector<std::wstring>{L"“" + OutputOf(L"CLIP") + L"”文件已存在，是否要覆盖？",
                                                L"“" + OutputOf(L"twin") + L"”文件已存在，是否要覆盖？"}));
    EXPECT_EQ(Status(3), L"已完成");
    EXPECT_EQ(Status(4), L"准备转换");
}

// The last row was converted by an earlier batch; a stop, and then a close, end the
// batch without a countdown.
TEST_F(MainForm, NoShutdownOfferAfterAStopOrAClose) {
    Make();
    form->AddFile(Source(L"a.mpg", kBreaksOff));
    form->AddFile(Source(L"b.mpg", kConverts));
    form->btnStartClick(form->btnStart);
    ASSERT_EQ(Status(0), L"已终止");
    ASSERT_EQ(Status(1), L"已完成");

    Source(L"a.mpg", kRunsLong);
    form->chkShutdown->SetChecked(true);
    {
        TWatcher stop([&] {
            if (form->CurrentRow() != 0 || !form->JobRunning() || Progress(0) == L"0%") return false;
            form->btnStopClick(form->btnStop);
            return true;
        });
        form->btnStartClick(form->btnStart);
    }
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, L"您确定终止转换吗？");
    EXPECT_EQ(Status(0), L"已终止");
    EXPECT_EQ(shutdownOffers, 0);

    {
        TWatcher close([&] {
            if (form->CurrentRow() != 0 || !form->JobRunning() || Progress(0) == L"0%") return false;
            form->Close();
            return true;
        });
        form->Show();
        form->btnStartClick(form->btnStart);
    }
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].text, L"视频正在转换中，您确定退出吗？");
    EXPECT_FALSE(form->GetVisible());
    EXPECT_EQ(shutdownOffers, 0);
    EXPECT_EQ(powerOffs, 0);
}

// The countdown ends the program without closing the window; the folder and type
// chosen since the start are saved all the same.
TEST_F(MainForm, SettingsAreSavedWhenTheCountdownEndsTheProgram) {
    Make();
    form->cboxType->SetItemIndex(1);
    form->cboxTypeChange(form->cboxType);
    form->edtOutputFolder->SetText(root + L"chosen\\");
    form->chkShutdown->SetChecked(true);
    form->AddFile(Source(L"a.mpg", kConverts));
    shutdownAnswer = mrOk;
    form->btnStartClick(form->btnStart);
    ASSERT_EQ(shutdownOffers, 1);
    EXPECT_TRUE(Application->Terminated());
    EXPECT_EQ(powerOffs, 1);
    const std::string ini = ReadFile(root + L"codecs\\VXEncoder.ini");
    EXPECT_NE(ini.find("EncoderType=1"), std::string::npos) << ini;
    EXPECT_NE(ini.find("OutputFolder=" + WideToUtf8(root) + "chosen\\"), std::string::npos) << ini;
}

// A close that comes between two files (here while the batch reports a missing
// source) asks like one during a conversion; OK stops the batch before its next row.
TEST_F(MainForm, CloseBetweenTwoFilesAsksAndStopsTheBatch) {
    Make();
    form->AddFile(Source(L"a.mpg", kConverts));
    form->AddFile(root + L"in\\gone.mpg");
    form->AddFile(Source(L"c.mpg", kConverts));
    bool closed = false;
    answer = [&](const TBox& box) {
        if (!closed && box.text.find(L"源文件不存在") != std::wstring::npos) {
            closed = true;
            EXPECT_FALSE(form->JobRunning());
            form->Close();  // its question is answered below, OK
        }
        return IDOK;
    };
    form->Show();
    form->btnStartClick(form->btnStart);
    ASSERT_TRUE(closed);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].text, L"视频正在转换中，您确定退出吗？");
    EXPECT_EQ(boxes[1].caption, L"退出");
    EXPECT_EQ(Status(0), L"已完成");
    EXPECT_EQ(Status(2), L"准备转换") << "the batch went on after the close";
    EXPECT_FALSE(FileExists(OutputOf(L"c")));
    EXPECT_TRUE(form->StopRequested());
    EXPECT_EQ(form->Encoder, nullptr) << "released once the batch returned";
    EXPECT_FALSE(form->GetVisible());

    // Refused, the batch goes on.
    Make();
    form->AddFile(root + L"in\\gone.mpg");
    form->AddFile(Source(L"c.mpg", kConverts));
    boxes.clear();
    closed = false;
    answer = [&](const TBox& box) {
        if (!closed && box.text.find(L"源文件不存在") != std::wstring::npos) {
            closed = true;
            bool canClose = true;
            form->FormCloseQuery(form.get(), canClose);
            EXPECT_FALSE(canClose);
            return IDOK;
        }
        return box.caption == L"退出" ? IDCANCEL : IDOK;
    };
    form->btnStartClick(form->btnStart);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].text, L"视频正在转换中，您确定退出吗？");
    EXPECT_EQ(Status(1), L"已完成");
}

// Before the job's first round of message handling (the first moment a click could be
// handled) the controls already show the run: no start, no deleting of rows.
TEST_F(MainForm, ControlsShowTheRunBeforeItsFirstMessage) {
    Make();
    form->AddFile(Source(L"a.mpg", kConverts));
    form->AddFile(Source(L"b.mpg", kConverts));
    int rounds = 0;
    bool start = true, stop = false, del = true, delAll = true, add = true;
    services.round = [&] {
        if (rounds++ == 0) {
            start = form->btnStart->GetEnabled();
            stop = form->btnStop->GetEnabled();
            del = form->miDel->GetEnabled();
            delAll = form->miDelAll->GetEnabled();
            add = form->btnAddFile->GetEnabled();
        }
        Application->ProcessMessages();
    };
    form->btnStartClick(form->btnStart);
    ASSERT_GT(rounds, 0);
    EXPECT_FALSE(start);
    EXPECT_TRUE(stop);
    EXPECT_FALSE(del);
    EXPECT_FALSE(delAll);
    EXPECT_FALSE(add);
    EXPECT_EQ(Status(0), L"已完成");
    EXPECT_EQ(Status(1), L"已完成");
    EXPECT_TRUE(form->btnStart->GetEnabled());
}

// An encoder that cannot be started: unattended, the failure goes to the log and the
// batch goes on without a message; attended, the runner's message is shown.
TEST_F(MainForm, EncoderThatCannotBeStarted) {
    Make();
    WriteFile(root + L"codecs\\mencoder.exe", "not a program");
    ::CreateDirectoryW(out.c_str(), nullptr);
    form->AddFile(Source(L"a.mpg", kConverts));
    form->AddFile(Source(L"b.mpg", kConverts));
    std::vector<std::wstring> shown;
    Application->OnException = [&](TObject*, const std::exception& e) { shown.push_back(ExceptionMessage(e)); };
    form->chkShutdown->SetChecked(true);
    form->btnStartClick(form->btnStart);
    EXPECT_TRUE(shown.empty()) << WideToUtf8(shown.empty() ? L"" : shown[0]);
    EXPECT_TRUE(boxes.empty());
    for (const wchar_t* stem : {L"a", L"b"}) {
        const std::wstring source = root + L"in\\" + stem + L".mpg";
        EXPECT_EQ(ReadFile(OutputOf(stem) + L".txt"),
                  WideToUtf8(L"“" + source + L"”文件转换失败，原因：转换程序无法启动！\r\n"));
    }
    EXPECT_EQ(Status(0), L"转换失败");
    EXPECT_EQ(Status(1), L"转换失败");
    EXPECT_EQ(shutdownOffers, 0);

    form->chkShutdown->SetChecked(false);
    form->btnStartClick(form->btnStart);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_NE(shown[0].find(L"doesn't exist."), std::wstring::npos) << WideToUtf8(shown[0]);
    EXPECT_EQ(Status(0), L"已终止");
    EXPECT_EQ(Status(1), L"已终止");
}

}  // namespace

namespace {

BOOL CALLBACK CountProgramWindows(HWND window, LPARAM count) {
    wchar_t cls[64] = {};
    ::GetClassNameW(window, cls, 64);
    if (std::wstring(cls) == L"_VXEncoder_") ++*reinterpret_cast<int*>(count);
    return TRUE;
}

// The program itself: with a window of class "_VXEncoder_" present (this test's main
// window), a second start ends at once without a window of its own.
TEST_F(MainForm, SecondStartOnlyActivatesTheFirst) {
    Make();
    form->Show();
    std::wstring commandLine = L"\"" + Utf8ToWide(VX_PROGRAM_PATH) + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    ASSERT_TRUE(::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        << VX_PROGRAM_PATH;
    const THandle process(pi.hProcess), thread(pi.hThread);
    DWORD waited = WAIT_TIMEOUT;
    for (int i = 0; i < 300 && waited == WAIT_TIMEOUT; ++i) {
        Application->ProcessMessages();  // the first window answers the activation
        waited = ::WaitForSingleObject(process.Get(), 50);
    }
    DWORD exitCode = 1;
    ::GetExitCodeProcess(process.Get(), &exitCode);
    if (waited == WAIT_TIMEOUT) ::TerminateProcess(process.Get(), 9);
    EXPECT_EQ(waited, static_cast<DWORD>(WAIT_OBJECT_0)) << "the second start kept running";
    EXPECT_EQ(exitCode, 0u);
    int windows = 0;
    ::EnumWindows(CountProgramWindows, reinterpret_cast<LPARAM>(&windows));
    EXPECT_EQ(windows, 1);
}

}  // namespace
