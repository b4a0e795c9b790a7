// The main window driven the way a user drives it: the mouse is put over a control
// (SetCursorPos) and the window under it gets the mouse messages, a right click opens
// the queue's menu and a key picks its entry, a double click lands on a row. What is
// checked is what the user would see: the media information window with the file's
// name, the underline and colour of the links, the frame of the flat buttons, the
// cursor. The media information library is the real one (copied into codecs\ beside
// this program at build time); without it the information tests are skipped.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/main.h"
#include "tests/app/MessageLoopWatcher.h"
#include "tests/app/ScriptedServices.h"
#include "dialogs/about.h"
#include "framework/SysUtils.h"
#include "framework/Handles.h"

using namespace vx;

namespace {

// --- files ---------------------------------------------------------------------------------

void WriteBytes(const std::wstring& path, const std::string& bytes) {
    const THandle h(
        ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(h.Valid()) << WideToUtf8(path);
    DWORD written = 0;
    ::WriteFile(h.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

std::wstring ExeFolder() {
    wchar_t buffer[MAX_PATH];
    const DWORD n = ::GetModuleFileNameW(nullptr, buffer, MAX_PATH);
    std::wstring path(buffer, n);
    return path.substr(0, path.find_last_of(L"\\/") + 1);
}

// --- the message loop --------------------------------------------------------------------

// Processes messages for `ms`, or until `done` is true.
void Pump(unsigned ms, const std::function<bool()>& done = nullptr) {
    const ULONGLONG end = ::GetTickCount64() + ms;
    while (::GetTickCount64() < end) {
        Application->ProcessMessages();
        if (done && done()) return;
        ::Sleep(5);
    }
}

using test::TWatcher;

struct TFindWindow {
    std::wstring caption;
    HWND found = nullptr;
};

BOOL CALLBACK FindByCaption(HWND window, LPARAM param) {
    auto* find = reinterpret_cast<TFindWindow*>(param);
    wchar_t text[128] = {};
    ::GetWindowTextW(window, text, 128);
    if (::IsWindowVisible(window) && find->caption == text) {
        find->found = window;
        return FALSE;
    }
    return TRUE;
}

// A visible top-level window of this thread with the caption, or null.
HWND VisibleWindow(const std::wstring& caption) {
    TFindWindow find{caption};
    ::EnumThreadWindows(::GetCurrentThreadId(), FindByCaption, reinterpret_cast<LPARAM>(&find));
    return find.found;
}

BOOL CALLBACK FindTree(HWND window, LPARAM param) {
    wchar_t cls[64] = {};
    ::GetClassNameW(window, cls, 64);
    // The framework's tree view subclasses the system's, under a class name of its own.
    if (std::wstring(cls).find(L"TreeView") != std::wstring::npos) {
        *reinterpret_cast<HWND*>(param) = window;
        return FALSE;
    }
    return TRUE;
}

std::wstring ItemText(HWND tree, HTREEITEM item) {
    wchar_t text[1024] = {};
    TVITEMW tv{};
    tv.mask = TVIF_TEXT;
    tv.hItem = item;
    tv.pszText = text;
    tv.cchTextMax = 1024;
    ::SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv));
    return text;
}

// Every node of the window's tree view as the tree control itself holds it, top-level
// nodes followed by their children.
std::vector<std::wstring> TreeLines(HWND window) {
    HWND tree = nullptr;
    ::EnumChildWindows(window, FindTree, reinterpret_cast<LPARAM>(&tree));
    std::vector<std::wstring> lines;
    if (!tree) return lines;
    auto next = [tree](HTREEITEM item, UINT how) {
        return reinterpret_cast<HTREEITEM>(::SendMessageW(tree, TVM_GETNEXTITEM, how, reinterpret_cast<LPARAM>(item)));
    };
    for (HTREEITEM section = next(nullptr, TVGN_ROOT); section; section = next(section, TVGN_NEXT)) {
        lines.push_back(ItemText(tree, section));
        for (HTREEITEM field = next(section, TVGN_CHILD); field; field = next(field, TVGN_NEXT))
            lines.push_back(ItemText(tree, field));
    }
    return lines;
}

// --- the mouse -------------------------------------------------------------------------------

// Puts the cursor at `local` inside `control` and gives the window under it the move,
// as the system does; the framework finds the control under the mouse from there.
// Moves of the pointer's own travel may still arrive from the system, so the move is
// given again until the framework has settled on `control`.
void MoveMouse(TControl* control, POINT local) {
    const POINT screen = control->ClientToScreen(local);
    ::SetCursorPos(screen.x, screen.y);
    Pump(40);
    HWND under = ::WindowFromPoint(screen);
    ASSERT_NE(under, nullptr);
    POINT client = screen;
    ::ScreenToClient(under, &client);
    for (int i = 0; i < 20; ++i) {
        ::PostMessageW(under, WM_MOUSEMOVE, 0, MAKELPARAM(client.x, client.y));
        Pump(30);
        if (GetMouseControl() == control) break;
    }
    EXPECT_EQ(GetMouseControl(), control) << "the mouse did not arrive over " << WideToUtf8(control->GetName());
    Pump(30);
}

POINT Centre(const TControl* control) { return POINT{control->GetWidth() / 2, control->GetHeight() / 2}; }

// The cursor the window under the mouse chooses when the system asks it.
HCURSOR CursorChosenAt(TControl* control, POINT local) {
    const POINT screen = control->ClientToScreen(local);
    ::SetCursorPos(screen.x, screen.y);
    HWND under = ::WindowFromPoint(screen);
    ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
    ::SendMessageW(under, WM_SETCURSOR, reinterpret_cast<WPARAM>(under), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    return ::GetCursor();
}

// --- pixels ----------------------------------------------------------------------------------

struct TPixels {
    int width = 0, height = 0;
    std::vector<std::uint32_t> bits;  // 0x00RRGGBB, top row first
    std::uint32_t At(int x, int y) const { return bits[static_cast<size_t>(y) * width + x] & 0xFFFFFF; }
    bool operator==(const TPixels& other) const { return bits == other.bits; }
};

// What is on the screen in `area` (in `control`'s coordinates), after every pending
// paint has run.
TPixels Grab(TControl* control, RECT area) {
    Pump(30);
    const POINT origin = control->ClientToScreen(POINT{area.left, area.top});
    HWND top = ::GetAncestor(::WindowFromPoint(origin), GA_ROOT);
    ::RedrawWindow(top, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    TPixels p;
    p.width = area.right - area.left;
    p.height = area.bottom - area.top;
    const TWindowDC screen(nullptr);
    const TMemoryDC memory(screen.Get());
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = p.width;
    info.bmiHeader.biHeight = -p.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    const TBitmapHandle bitmap(::CreateDIBSection(screen.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    const TSelectObject selection(memory.Get(), bitmap.Get());
    ::BitBlt(memory.Get(), 0, 0, p.width, p.height, screen.Get(), origin.x, origin.y, SRCCOPY);
    ::GdiFlush();
    const auto* words = static_cast<const std::uint32_t*>(bits);
    p.bits.assign(words, words + static_cast<size_t>(p.width) * p.height);
    return p;
}

TPixels Grab(TControl* control) { return Grab(control, RECT{0, 0, control->GetWidth(), control->GetHeight()}); }

// The longest horizontal run of pixels of one colour in any row: an underline is a
// run as long as the text, while a glyph's strokes stay within one character cell.
int LongestRun(const TPixels& p, std::uint32_t colour) {
    int best = 0;
    for (int y = 0; y < p.height; ++y) {
        int run = 0;
        for (int x = 0; x < p.width; ++x) {
            run = p.At(x, y) == colour ? run + 1 : 0;
            best = std::max(best, run);
        }
    }
    return best;
}

// The row holding the longest run of `colour`.
int RowOfLongestRun(const TPixels& p, std::uint32_t colour) {
    int best = 0, bestRow = -1;
    for (int y = 0; y < p.height; ++y) {
        int run = 0;
        for (int x = 0; x < p.width; ++x) {
            run = p.At(x, y) == colour ? run + 1 : 0;
            if (run > best) best = run, bestRow = y;
        }
    }
    return bestRow;
}

int CountColour(const TPixels& p, std::uint32_t colour) {
    return static_cast<int>(std::count_if(p.bits.begin(), p.bits.end(),
                                          [colour](std::uint32_t v) { return (v & 0xFFFFFF) == colour; }));
}

// The first row (from the top of the text) that the font's underline covers.
int UnderlineRow(TFont& font) {
    const TWindowDC dc(nullptr);
    const TSelectObject selection(dc.Get(), font.GetHandle());
    TEXTMETRICW tm{};
    ::GetTextMetricsW(dc.Get(), &tm);
    OUTLINETEXTMETRICW otm{};
    otm.otmSize = sizeof otm;
    const bool outline = ::GetOutlineTextMetricsW(dc.Get(), sizeof otm, &otm) != 0;
    // Without outline metrics the system draws the underline just below the baseline.
    return static_cast<int>(tm.tmAscent) - (outline ? otm.otmsUnderscorePosition : -1);
}

constexpr std::uint32_t kPureBlue = 0x0000FF;  // as read back: 0x00RRGGBB

// --- the fixture -------------------------------------------------------------------------------

class MainFormMouse : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t cwd[MAX_PATH];
        ::GetCurrentDirectoryW(MAX_PATH, cwd);
        root = std::wstring(cwd) + L"\\mm-" +
               Utf8ToWide(::testing::UnitTest::GetInstance()->current_test_info()->name()) + L"\\";
        ::CreateDirectoryW(root.c_str(), nullptr);
        ::CreateDirectoryW((root + L"codecs").c_str(), nullptr);
        // Only its presence counts here: nothing is converted.
        WriteBytes(root + L"codecs\\mencoder.exe", "MZ");
        services.messageBox = [this](const std::wstring& text, const std::wstring&, UINT) {
            boxes.push_back(text);
            return IDOK;
        };
        services.shell = [this](HWND, const std::wstring& verb, const std::wstring& target) {
            shell.push_back(verb + L" " + target);
        };
        form.reset(new TfrmMain(Application, root, services));
        form->FinishBuilding();
        form->Show();
        ::SetForegroundWindow(form->GetHandle());
        Pump(100);
    }

    void TearDown() override {
        form.reset();
        Pump(50);
    }

    std::wstring root;
    test::TScriptedServices services;  // outlives the form
    std::unique_ptr<TfrmMain> form;
    std::vector<std::wstring> boxes, shell;
};

// --- the media information of a queued file ----------------------------------------------

class MainFormInfo : public MainFormMouse {
protected:
    void SetUp() override {
        if (!FileExists(ExeFolder() + L"codecs\\MediaInfo.dll"))
            GTEST_SKIP() << "codecs\\MediaInfo.dll was not built by the set-up";
        MainFormMouse::SetUp();
        for (const wchar_t* name : {L"first.avi", L"second.avi"}) {
            files.push_back(root + name);
            WriteBytes(files.back(), std::string(4096, 'v'));
            form->AddFile(files.back());
        }
        // Count the requests that reach the window's handlers; the handlers still run.
        auto menuClick = form->miInfo->OnClick;
        form->miInfo->OnClick = [this, menuClick](TObject* s) {
            ++menuRequests;
            menuClick(s);
        };
        auto dblClick = form->ListView1->OnDblClick;
        form->ListView1->OnDblClick = [this, dblClick](TObject* s) {
            ++doubleClicks;
            dblClick(s);
        };
    }

    HWND List() { return form->ListView1->GetHandle(); }

    POINT RowCentre(int row) {
        RECT r{};
        r.left = LVIR_LABEL;
        ::SendMessageW(List(), LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&r));
        return POINT{r.left + 20, (r.top + r.bottom) / 2};
    }

    void Click(POINT p) {
        ::PostMessageW(List(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
        ::PostMessageW(List(), WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
        Pump(50);
    }

    void DoubleClick(POINT p) {
        ::PostMessageW(List(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
        ::PostMessageW(List(), WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
        ::PostMessageW(List(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(p.x, p.y));
        ::PostMessageW(List(), WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
    }

    // A right click on the list opens the queue's menu; the key of "信息(&I)" picks it.
    void ChooseInfoFromMenu(POINT p) {
        POINT screen = p;
        ::ClientToScreen(List(), &screen);
        ::PostMessageW(List(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(List()), MAKELPARAM(screen.x, screen.y));
        ::PostMessageW(Application->GetHandle(), WM_CHAR, L'i', 0);
    }

    struct TSeen {
        int windows = 0;
        std::vector<std::wstring> lines;
        bool mainWindowDisabled = false;
        HWND last = nullptr;  // read and asked to close already
        bool closeWithEscape = false;
        bool stayedOpen = false;
        ULONGLONG askedAt = 0;
    };

    // Watches for the information window; reads it and closes it with its close box,
    // or with the Esc key pressed in the control that has the focus.
    std::unique_ptr<TWatcher> WatchInfoWindow(TSeen& seen) {
        return std::make_unique<TWatcher>([this, &seen] {
            HWND info = VisibleWindow(L"视频信息");
            if (info && info == seen.last && ::GetTickCount64() - seen.askedAt > 2000) {
                // Still open long after the request: note it and close it for good.
                seen.stayedOpen = true;
                ::PostMessageW(info, WM_CLOSE, 0, 0);
            }
            if (!info || info == seen.last) return false;
            seen.askedAt = ::GetTickCount64();
            seen.last = info;
            ++seen.windows;
            seen.lines = TreeLines(info);
            seen.mainWindowDisabled = !::IsWindowEnabled(form->GetHandle());
            if (seen.closeWithEscape) {
                HWND focus = ::GetFocus();
                ::PostMessageW(focus ? focus : info, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
                ::PostMessageW(focus ? focus : info, WM_KEYUP, VK_ESCAPE, 0xC0010001);
            } else {
                ::PostMessageW(info, WM_CLOSE, 0, 0);
            }
            return false;  // keep counting: a second window would be a fault
        });
    }

    bool Shows(const TSeen& seen, const std::wstring& line) {
        return std::find(seen.lines.begin(), seen.lines.end(), line) != seen.lines.end();
    }

    std::vector<std::wstring> files;
    int menuRequests = 0, doubleClicks = 0;
};

TEST_F(MainFormInfo, MenuEntryShowsTheSelectedRowsFile) {
    Click(RowCentre(1));
    ASSERT_TRUE(form->ListView1->GetItems()->Items(1)->GetSelected());
    ASSERT_FALSE(form->ListView1->GetItems()->Items(0)->GetSelected());
    TSeen seen;
    auto watch = WatchInfoWindow(seen);
    ChooseInfoFromMenu(RowCentre(1));
    Pump(5000, [&] { return seen.windows > 0 && !VisibleWindow(L"视频信息"); });
    Pump(200);
    EXPECT_EQ(menuRequests, 1);
    ASSERT_EQ(seen.windows, 1) << "the information window did not open";
    ASSERT_FALSE(seen.lines.empty());
    EXPECT_EQ(seen.lines[0], L"概要");
    EXPECT_TRUE(Shows(seen, L"完整名称：" + files[1])) << WideToUtf8(seen.lines.size() > 1 ? seen.lines[1] : L"");
    EXPECT_FALSE(Shows(seen, L"完整名称：" + files[0]));
    EXPECT_TRUE(seen.mainWindowDisabled) << "the information window is modal";
    EXPECT_FALSE(seen.stayedOpen);
    EXPECT_TRUE(::IsWindowEnabled(form->GetHandle())) << "the main window takes input again after closing";
    EXPECT_TRUE(boxes.empty());
}

TEST_F(MainFormInfo, DoubleClickOnARowShowsThatRowsFile) {
    TSeen seen;
    auto watch = WatchInfoWindow(seen);
    DoubleClick(RowCentre(0));
    Pump(5000, [&] { return seen.windows > 0 && !VisibleWindow(L"视频信息"); });
    Pump(200);
    EXPECT_GE(doubleClicks, 1);
    ASSERT_EQ(seen.windows, 1);
    EXPECT_TRUE(Shows(seen, L"完整名称：" + files[0]));
    EXPECT_TRUE(form->ListView1->GetItems()->Items(0)->GetSelected()) << "the double click selected the row";

    // With both rows selected the first one in list order is shown; Esc closes it.
    seen = TSeen{};
    seen.closeWithEscape = true;
    form->ListView1->GetItems()->Items(1)->SetSelected(true);
    form->ListView1->GetItems()->Items(0)->SetSelected(true);
    ChooseInfoFromMenu(RowCentre(1));
    Pump(5000, [&] { return seen.windows > 0 && !VisibleWindow(L"视频信息"); });
    Pump(200);
    ASSERT_EQ(seen.windows, 1);
    EXPECT_TRUE(Shows(seen, L"完整名称：" + files[0]));
    EXPECT_FALSE(seen.stayedOpen) << "Esc did not close the information window";
}

TEST_F(MainFormInfo, WithoutASelectedRowNothingOpens) {
    TSeen seen;
    auto watch = WatchInfoWindow(seen);
    // The menu entry with rows queued but none selected.
    ChooseInfoFromMenu(RowCentre(0));
    Pump(3000, [&] { return menuRequests == 1; });
    Pump(300);
    EXPECT_EQ(menuRequests, 1) << "the menu entry was not reached";

    // A double click below the last row clears the selection and asks with none.
    Click(RowCentre(1));
    DoubleClick(POINT{40, RowCentre(1).y + 60});
    Pump(3000, [&] { return doubleClicks > 0; });
    Pump(300);
    EXPECT_GE(doubleClicks, 1) << "the double click was not reached";
    EXPECT_EQ(form->ListView1->GetSelected(), nullptr);

    // And with an empty queue.
    form->miDelAllClick(form->miDelAll);
    ChooseInfoFromMenu(POINT{40, 40});
    Pump(3000, [&] { return menuRequests == 2; });
    Pump(300);
    EXPECT_EQ(menuRequests, 2);

    EXPECT_EQ(seen.windows, 0);
    EXPECT_TRUE(boxes.empty()) << "no message either";
    EXPECT_TRUE(::IsWindowEnabled(form->GetHandle()));
    EXPECT_TRUE(::IsWindowVisible(form->GetHandle()));
}

// --- links and flat buttons under the mouse ------------------------------------------------

TEST_F(MainFormMouse, DonationLinkAndPictureUnderlineUnderTheMouse) {
    TLabel* label = form->lblTavelBlog;
    const POINT empty{300, 66};  // a bare spot of the bottom panel
    MoveMouse(form->Panel3, empty);
    const TPixels plain = Grab(label);
    ASSERT_GT(CountColour(plain, kPureBlue), 0) << "the link is drawn in blue";
    EXPECT_LT(LongestRun(plain, kPureBlue), 20);

    MoveMouse(label, Centre(label));
    EXPECT_EQ(label->GetFont()->GetStyle(), static_cast<TFontStyles>(fsUnderline));
    const TPixels hot = Grab(label);
    // The underline can only be seen when the font puts it inside the label's 14 rows.
    const int underlineRow = UnderlineRow(*label->GetFont());
    const bool underlineFits = underlineRow < label->GetHeight();
    if (underlineFits) {
        EXPECT_GE(LongestRun(hot, kPureBlue), 40) << "no underline drawn under the text";
    } else {
        RecordProperty("underline_hidden_below_row", underlineRow);
        std::printf("note: with this face the underline falls on row %d, below the label's %d rows\n", underlineRow,
                    label->GetHeight());
    }
    EXPECT_EQ(CursorChosenAt(label, Centre(label)), ::LoadCursorW(nullptr, IDC_HAND));

    // From the label straight onto the picture beside it: still underlined.
    MoveMouse(form->Image2, Centre(form->Image2));
    EXPECT_EQ(label->GetFont()->GetStyle(), static_cast<TFontStyles>(fsUnderline));
    if (underlineFits) {
        EXPECT_GE(LongestRun(Grab(label), kPureBlue), 40);
    }
    EXPECT_EQ(CursorChosenAt(form->Image2, Centre(form->Image2)), ::LoadCursorW(nullptr, IDC_HAND));

    MoveMouse(form->Panel3, empty);
    EXPECT_EQ(label->GetFont()->GetStyle(), 0u);
    EXPECT_TRUE(Grab(label) == plain) << "the underline stayed after the mouse left";
    EXPECT_NE(CursorChosenAt(form->Panel3, empty), ::LoadCursorW(nullptr, IDC_HAND));

    // A click on the picture opens the donation page.
    const POINT at = form->Image2->ClientToScreen(Centre(form->Image2));
    POINT client = at;
    ::ScreenToClient(form->Panel3->GetHandle(), &client);
    ::PostMessageW(form->Panel3->GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(client.x, client.y));
    ::PostMessageW(form->Panel3->GetHandle(), WM_LBUTTONUP, 0, MAKELPARAM(client.x, client.y));
    Pump(60);
    ASSERT_EQ(shell.size(), 1u);
    EXPECT_EQ(shell[0], L"OPEN http://www.example.com/vexlo/donate");
}

TEST_F(MainFormMouse, FlatButtonsRaiseUnderTheMouse) {
    for (TSpeedButton* button : {form->sbtnAbout, form->SpeedButton1}) {
        TWinControl* panel = button->GetParent();
        MoveMouse(panel, POINT{panel->GetWidth() / 2, 2});
        const TPixels flat = Grab(button);
        MoveMouse(button, Centre(button));
        const TPixels raised = Grab(button);
        EXPECT_FALSE(raised == flat) << WideToUtf8(button->GetName()) << ": nothing changed under the mouse";
        // The change is the frame: the middle of the face stays as it was.
        int frameChanges = 0, innerChanges = 0;
        for (int y = 0; y < flat.height; ++y)
            for (int x = 0; x < flat.width; ++x) {
                if (flat.At(x, y) == raised.At(x, y)) continue;
                const bool edge = x < 2 || y < 2 || x >= flat.width - 2 || y >= flat.height - 2;
                ++(edge ? frameChanges : innerChanges);
            }
        EXPECT_GT(frameChanges, 0) << WideToUtf8(button->GetName());
        EXPECT_EQ(innerChanges, 0) << WideToUtf8(button->GetName());
        MoveMouse(panel, POINT{panel->GetWidth() / 2, 2});
        EXPECT_TRUE(Grab(button) == flat) << WideToUtf8(button->GetName()) << ": still raised after leaving";
    }
}

TEST_F(MainFormMouse, AboutBoxLinkTurnsBlueAndUnderlinedUnderTheMouse) {
    bool checked = false;
    int runRow = -1, expectedRow = -2;
    int blueBefore = -1, blueHot = -1, blueAfter = -1, runHot = -1, runAfter = -1;
    TFontStyles hotStyle = 0, afterStyle = 0;
    TColor hotColour = 0, afterColour = 0;
    std::wstring shellAfterClick;
    TWatcher watch([&] {
        HWND box = VisibleWindow(L"关于 ...");
        if (!box || checked) return checked;
        checked = true;
        TfrmAbout* about = nullptr;
        for (int i = 0; i < Screen->FormCount(); ++i)
            if (Screen->Forms(i)->HandleAllocated() && Screen->Forms(i)->GetHandle() == box)
                about = static_cast<TfrmAbout*>(Screen->Forms(i));
        if (!about) return true;
        TLabel* link = about->Label3;
        blueBefore = CountColour(Grab(link), kPureBlue);
        MoveMouse(link, POINT{4, link->GetHeight() / 2});
        hotStyle = link->GetFont()->GetStyle();
        hotColour = link->GetFont()->GetColor();
        const TPixels hot = Grab(link);
        blueHot = CountColour(hot, kPureBlue);
        runHot = LongestRun(hot, kPureBlue);
        runRow = RowOfLongestRun(hot, kPureBlue);
        expectedRow = UnderlineRow(*link->GetFont());
        MoveMouse(about, POINT{20, 240});
        afterStyle = link->GetFont()->GetStyle();
        afterColour = link->GetFont()->GetColor();
        const TPixels after = Grab(link);
        blueAfter = CountColour(after, kPureBlue);
        runAfter = LongestRun(after, 0x000000);
        ::PostMessageW(box, WM_CLOSE, 0, 0);
        return true;
    });
    // The about button, clicked where it sits on its panel.
    const POINT at = form->sbtnAbout->ClientToScreen(Centre(form->sbtnAbout));
    POINT client = at;
    ::ScreenToClient(form->Panel2->GetHandle(), &client);
    ::PostMessageW(form->Panel2->GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(client.x, client.y));
    ::PostMessageW(form->Panel2->GetHandle(), WM_LBUTTONUP, 0, MAKELPARAM(client.x, client.y));
    Pump(5000, [&] { return checked && !VisibleWindow(L"关于 ..."); });
    ASSERT_TRUE(checked) << "the about box did not open";
    EXPECT_EQ(blueBefore, 0) << "the link is not blue before the mouse has been over it";
    EXPECT_EQ(hotColour, static_cast<TColor>(RGB(0, 0, 255)));
    EXPECT_EQ(hotStyle, static_cast<TFontStyles>(fsUnderline));
    EXPECT_GT(blueHot, 0);
    EXPECT_GE(runHot, 40) << "no underline drawn";
    // The underline is where the font's metrics put it (the donation link relies on this).
    EXPECT_NEAR(runRow, expectedRow, 1);
    EXPECT_EQ(afterColour, clBlack);
    EXPECT_EQ(afterStyle, 0u);
    EXPECT_EQ(blueAfter, 0);
    EXPECT_LT(runAfter, 40) << "the underline stayed";
    EXPECT_FALSE(VisibleWindow(L"关于 ..."));
}

}  // namespace
