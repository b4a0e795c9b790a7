// The information window and the request that opens it, with the stand-in library.
#include "mediainfo/VedioInfo.h"
#include "mediainfo/MediaInfoDllTesting.h"

#include "mediainfo/MediaInfoAnalysis.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>

#include "tests/mediainfo/MediaInfoTestSupport.h"

inline bool operator==(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
inline void PrintTo(const RECT& r, std::ostream* os) {
    *os << "{" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << "}";
}

using namespace vx;
using ::testing::ElementsAre;

namespace {

using vx::test::FakeLibrary;

// What the window showed while it was open, as "title" / "  child" lines.
struct TSeen {
    int shown = 0;
    std::vector<std::wstring> tree;
    std::wstring selected;
    bool allExpanded = true;
    std::wstring callLogWhileShown;
};
TSeen seen;
std::function<void(TfrmVedioInfo&)> closeAction;

template <class F>
F FakeControl(const char* name) {
    return reinterpret_cast<F>(
        reinterpret_cast<void (*)()>(GetProcAddress(MediaInfoLibraryHandle(), name)));
}
void SetReport(const wchar_t* text) {
    FakeControl<void(__stdcall*)(const wchar_t*)>("FakeMediaInfo_SetReport")(text);
}
std::wstring CallLog() { return FakeControl<const wchar_t*(__stdcall*)()>("FakeMediaInfo_CallLog")(); }
void ClearCallLog() { FakeControl<void(__stdcall*)()>("FakeMediaInfo_ClearCallLog")(); }

std::vector<std::wstring> TreeLines(TTreeView& tv, bool* allExpanded = nullptr) {
    std::vector<std::wstring> lines;
    TTreeNodes* nodes = tv.GetItems();
    for (int i = 0; i < nodes->Count(); ++i) {
        TTreeNode* n = nodes->Item(i);
        lines.push_back((n->Level() ? L"  " : L"") + n->GetText());
        if (allExpanded && n->HasChildren() && !n->GetExpanded()) *allExpanded = false;
    }
    return lines;
}

// Records the window once it is on screen, then closes it the way the test asks.
void Record(TfrmVedioInfo& form) {
    ++seen.shown;
    auto* timer = new TTimer(&form);
    timer->SetInterval(20);
    auto ticks = std::make_shared<int>(0);
    timer->OnTimer = [&form, ticks](TObject*) {
        if (++*ticks == 1) {
            seen.tree = TreeLines(*form.tvInfo, &seen.allExpanded);
            TTreeNode* sel = form.tvInfo->GetSelected();
            seen.selected = sel ? sel->GetText() : L"<none>";
            seen.callLogWhileShown = CallLog();
            if (closeAction) closeAction(form);
        }
        if (*ticks > 100) form.SetModalResult(mrAbort);  // never hang the run
    };
}

// Shows the window as the program does, recording it first.
struct TRecordingInfo : TVedioInfoServices {
    void ShowModal(TfrmVedioInfo& form) override {
        Record(form);
        TVedioInfoServices::ShowModal(form);
    }
} recording;

class VedioInfoWindow : public ::testing::Test {
protected:
    void SetUp() override {
        ForgetMediaInfoLibrary();
        seen = TSeen{};
        closeAction = [](TfrmVedioInfo& form) {
            ::PostMessageW(form.btnClose->GetHandle(), BM_CLICK, 0, 0);
        };
    }
    void TearDown() override {
        HMODULE h = MediaInfoLibraryHandle();
        ForgetMediaInfoLibrary();
        if (h) FreeLibrary(h);
    }
};

}  // namespace

TEST(VedioInfoForm, LayoutOfTheWindow) {
    TfrmVedioInfo form(nullptr);
    EXPECT_EQ(form.ClassName(), L"TfrmVedioInfo");
    EXPECT_EQ(form.GetCaption(), L"视频信息");
    EXPECT_EQ(form.GetBorderStyle(), bsSizeToolWin);
    EXPECT_EQ(form.GetClientWidth(), 440);
    EXPECT_EQ(form.GetClientHeight(), 449);
    EXPECT_EQ(form.GetFont()->GetName(), L"宋体");
    EXPECT_EQ(form.GetFont()->GetHeight(), -12);
    EXPECT_EQ(form.GetFont()->GetCharset(), GB2312_CHARSET);
    EXPECT_EQ(form.tvInfo->GetName(), L"tvInfo");
    EXPECT_TRUE(form.tvInfo->GetReadOnly());
    EXPECT_FALSE(form.tvInfo->GetShowRoot());
    EXPECT_EQ(form.tvInfo->GetIndent(), 19);
    EXPECT_EQ(form.tvInfo->GetTabOrder(), 0);
    EXPECT_TRUE(form.btnClose->GetCancel());
    EXPECT_EQ(form.btnClose->GetModalResult(), mrCancel);
    EXPECT_EQ(form.btnClose->GetCaption(), L"关闭");

    form.FinishBuilding();
    form.tvInfo->GetHandle();
    // The tree fills the client area above the 37-pixel panel.
    EXPECT_EQ(form.tvInfo->BoundsRect(), (RECT{0, 0, 440, 412}));
    EXPECT_EQ(form.pnlBottom->BoundsRect(), (RECT{0, 412, 440, 449}));
    EXPECT_EQ(form.btnClose->BoundsRect(), (RECT{352, 6, 427, 31}));

    // Resized, the button keeps 13 pixels to the right edge and the tree grows.
    form.SetClientSize(600, 500);
    EXPECT_EQ(form.tvInfo->BoundsRect(), (RECT{0, 0, 600, 463}));
    EXPECT_EQ(form.pnlBottom->BoundsRect(), (RECT{0, 463, 600, 500}));
    EXPECT_EQ(form.btnClose->BoundsRect(), (RECT{512, 6, 587, 31}));
}

TEST(VedioInfoForm, ShowsTheModelExpandedWithTheFirstNodeSelected) {
    TfrmVedioInfo form(nullptr);
    form.FinishBuilding();
    form.tvInfo->GetHandle();
    form.ShowModel(TVedioInfoModel(L"General\nFormat : AVI\n\nVideo\nWidth : 352 pixels\n"
                                   L"Height : 198 pixels\n\nText #1\n"));
    bool expanded = true;
    EXPECT_THAT(TreeLines(*form.tvInfo, &expanded),
                ElementsAre(L"概要", L"  文件格式：AVI", L"视频", L"  画面宽度：352 pixels",
                            L"  画面高度：198 pixels", L"Text #1"));
    EXPECT_TRUE(expanded);
    ASSERT_NE(form.tvInfo->GetSelected(), nullptr);
    EXPECT_EQ(form.tvInfo->GetSelected()->GetText(), L"概要");

    // A second report replaces the first.
    form.ShowModel(TVedioInfoModel(L""));
    EXPECT_THAT(TreeLines(*form.tvInfo), ElementsAre(L"无法读取该文件的媒体信息"));
    EXPECT_EQ(form.tvInfo->GetSelected()->GetText(), L"无法读取该文件的媒体信息");
}

TEST_F(VedioInfoWindow, ShowsTheReportAndClosesTheAnalysisAfterTheWindow) {
    ASSERT_TRUE(MediaInfoReady(FakeLibrary(L"full")));
    SetReport(L"General\r\nComplete name : D:\\Movies\\clip.avi\r\n\r\nAudio #2\r\nChannel(s) : 2 channels\r\n");
    ClearCallLog();
    const int formsBefore = Screen->FormCount();
    EXPECT_TRUE(ShowFileInfo(L"D:\\Movies\\clip.avi", FakeLibrary(L"full"), recording));
    EXPECT_EQ(seen.shown, 1);
    EXPECT_THAT(seen.tree, ElementsAre(L"概要", L"  完整名称：D:\\Movies\\clip.avi", L"Audio #2",
                                       L"  声道：2 channels"));
    EXPECT_TRUE(seen.allExpanded);
    EXPECT_EQ(seen.selected, L"概要");
    EXPECT_EQ(seen.callLogWhileShown, L"New;Open(D:\\Movies\\clip.avi);Option(Complete=);Inform(0);");
    EXPECT_EQ(CallLog(), seen.callLogWhileShown + L"Close;Delete;");
    EXPECT_EQ(Screen->FormCount(), formsBefore) << "the window was not freed";
}

TEST_F(VedioInfoWindow, EscAndTheCloseBoxCloseTheWindow) {
    ASSERT_TRUE(MediaInfoReady(FakeLibrary(L"full")));
    closeAction = [](TfrmVedioInfo& form) {
        ::PostMessageW(form.tvInfo->GetHandle(), WM_KEYDOWN, VK_ESCAPE, 0);
    };
    EXPECT_TRUE(ShowFileInfo(L"a.avi", FakeLibrary(L"full"), recording));
    closeAction = [](TfrmVedioInfo& form) { ::PostMessageW(form.GetHandle(), WM_CLOSE, 0, 0); };
    EXPECT_TRUE(ShowFileInfo(L"b.avi", FakeLibrary(L"full"), recording));
    EXPECT_EQ(seen.shown, 2);
}

TEST_F(VedioInfoWindow, NoUsableLibraryShowsNothing) {
    const std::wstring missing = vx::test::ProgramFolder() + L"no-such-folder\\MediaInfo.dll";
    EXPECT_FALSE(ShowFileInfo(L"a.avi", missing, recording));
    EXPECT_EQ(seen.shown, 0);

    // A library without Inform is loaded but never called.
    ForgetMediaInfoLibrary();
    ASSERT_TRUE(LoadMediaInfoLibrary(FakeLibrary(L"no-inform")));
    ClearCallLog();
    EXPECT_FALSE(ShowFileInfo(L"a.avi", FakeLibrary(L"no-inform"), recording));
    EXPECT_EQ(seen.shown, 0);
    EXPECT_EQ(CallLog(), L"");
}

TEST_F(VedioInfoWindow, TheQueueShowsItsFirstSelectedRowInListOrder) {
    ASSERT_TRUE(MediaInfoReady(FakeLibrary(L"full")));
    TForm host(nullptr);
    auto* queue = new TListView(&host);
    queue->SetParent(&host);
    queue->SetViewStyle(vsReport);
    queue->SetMultiSelect(true);
    queue->GetColumns()->Add()->SetCaption(L"文件");
    for (const wchar_t* path : {L"C:\\a.avi", L"C:\\b.avi", L"C:\\c.avi"})
        queue->GetItems()->Add()->SetCaption(path);
    host.FinishBuilding();
    queue->GetHandle();

    ClearCallLog();
    EXPECT_FALSE(ShowFileInfo(*queue, FakeLibrary(L"full"), recording));
    EXPECT_EQ(seen.shown, 0);
    EXPECT_EQ(CallLog(), L"");

    // Selected last row first, then the middle one: the middle one comes first in the list.
    queue->GetItems()->Items(2)->SetSelected(true);
    queue->GetItems()->Items(1)->SetSelected(true);
    ASSERT_EQ(queue->SelCount(), 2);
    EXPECT_TRUE(ShowFileInfo(*queue, FakeLibrary(L"full"), recording));
    EXPECT_EQ(seen.shown, 1);
    EXPECT_THAT(CallLog(), ::testing::StartsWith(L"New;Open(C:\\b.avi);"));
}
