// The real main window with a long queue, painted and scrolled, under Wine:
//   repaint - the whole window invalidated (frame, client, every child) and painted at
//             once (RedrawWindow with RDW_UPDATENOW and every child);
//   scroll  - the queue's list scrolled from the top to the bottom a page at a time
//             (WM_VSCROLL SB_PAGEDOWN, the list painted after each page), then back to
//             the top in one step.
// The rows are queued as a user drops files on the window. With "plain" the program's
// skinning is not installed, so the window and its controls keep the system's look: run
// both, alternating, to compare (the skin engine cannot be taken away again inside one
// process). Prints median, best and worst wall times and the main thread's CPU time.
// Usage (under Wine, with an X display): bench_main_window_paint.exe [ROUNDS] [ROWS] [plain]
// It needs stand_in_encoder.exe beside it (the window wants codecs\mencoder.exe).
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "app/main.h"
#include "bench/BenchSupport.h"
#include "bench/app/MainWindowBench.h"
#include "framework/SysUtils.h"
#include "skin/controls/ControlDispatch.h"
#include "skin/window/FormSkinner.h"
#include "skin/window/SkinManage.h"

using namespace vx;
using namespace vx::bench;

namespace {

struct TSeries {
    const char* Name;
    std::vector<double> Ms, CpuMs;
    void Print() const {
        if (Ms.empty()) return;
        const auto [best, worst] = std::minmax_element(Ms.begin(), Ms.end());
        std::printf("| %-14s | %3zu | %9.2f ms | %9.2f ms | %9.2f ms | %9.2f ms |\n", Name, Ms.size(), Median(Ms),
                    *best, *worst, Median(CpuMs));
    }
};

template <class F>
void Time(TSeries& series, F work) {
    const double cpu = ThreadCpuMs();
    const long long t = Now();
    work();
    ::GdiFlush();
    series.Ms.push_back(MsSince(t));
    series.CpuMs.push_back(ThreadCpuMs() - cpu);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const int rounds = argc > 1 ? std::max(1, _wtoi(argv[1])) : 15;
    const int rows = argc > 2 ? std::max(1, _wtoi(argv[2])) : 1000;
    const bool plain = argc > 3 && std::wstring(argv[3]) == L"plain";
    const std::string loadBefore = LoadAverage();

    const std::wstring root = ExeFolder() + L"main-window-paint\\";
    if (!PrepareProgramFolder(root)) return 2;
    WriteText(root + L"codecs\\VXEncoderParameters.ini",
              "[EncoderType]\r\nBench=.avi\r\n[Extension]\r\nVideo=*.mpg\r\n[Bench]\r\nMPG=x\r\n");
    WriteText(root + L"codecs\\VXEncoder.ini", "[Configure]\r\nOutputFolder=" + WideToUtf8(root) + "out\r\n");

    // As the program starts: the window and control skinning first, then the window.
    if (!plain) {
        InstallWindowSkinning();
        InstallControlSkinning();
    }
    std::unique_ptr<TfrmMain> form(new TfrmMain(Application, root));
    form->FinishBuilding();
    form->Show();
    ::SetForegroundWindow(form->GetHandle());
    const HWND window = form->GetHandle();
    if (!plain) {
        auto skinned = [window] {
            TFormSkinner* s = TSkinManage::Instance() ? TSkinManage::Instance()->FindForm(window) : nullptr;
            return s && s->Lifecycle() == 1 && !s->ControlSkins().empty();
        };
        if (!PumpUntil(skinned, 2000)) {
            std::fprintf(stderr, "the main window and its controls were not skinned\n");
            return 1;
        }
    }

    std::vector<std::wstring> paths;
    paths.reserve(static_cast<size_t>(rows));
    for (int i = 0; i < rows; ++i)
        paths.push_back(L"D:\\视频\\2026 假期\\相机 " + std::to_wstring(i % 7) + L"\\片段-" + std::to_wstring(i) +
                        L".mpg");
    form->Perform(WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop(paths)));
    PumpUntil([] { return false; }, 50);
    if (form->ListView1->GetItems()->Count() != rows) {
        std::fprintf(stderr, "the queue holds %d rows, not %d\n", form->ListView1->GetItems()->Count(), rows);
        return 1;
    }

    const HWND list = form->ListView1->GetHandle();
    auto repaint = [window] {
        ::RedrawWindow(window, nullptr, nullptr,
                       RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    };
    int pages = 0;
    auto scroll = [list, &pages] {
        SCROLLINFO si{};
        si.cbSize = sizeof(si);
        si.fMask = SIF_ALL;
        pages = 0;
        for (int guard = 0; guard < 100000; ++guard) {
            ::GetScrollInfo(list, SB_VERT, &si);
            if (si.nPos + static_cast<int>(si.nPage) > si.nMax) break;
            ::SendMessageW(list, WM_VSCROLL, SB_PAGEDOWN, 0);
            ::UpdateWindow(list);
            Application->ProcessMessages();
            ++pages;
        }
        // Back to the first row (the list view takes SB_TOP as a no-op under Wine).
        ::SendMessageW(list, LVM_ENSUREVISIBLE, 0, FALSE);
        ::UpdateWindow(list);
        Application->ProcessMessages();
    };

    repaint();  // the first paint fills the caches
    Application->ProcessMessages();
    TSeries repaints{"repaint"}, scrolls{"scroll through"};
    for (int round = 0; round < rounds; ++round) {
        Time(repaints, repaint);
        Application->ProcessMessages();
        Time(scrolls, scroll);
    }

    std::printf("main window%s, %d rows (%d pages), %d rounds, load average %s / %s\n",
                plain ? " with the system's look" : ", skinned", rows, pages, rounds, loadBefore.c_str(),
                LoadAverage().c_str());
    std::printf("| %-14s | %3s | %12s | %12s | %12s | %12s |\n", "What", "Runs", "Median", "Best", "Worst",
                "CPU median");
    std::printf("|---|---|---|---|---|---|\n");
    repaints.Print();
    scrolls.Print();
    form.reset();
    return 0;
}
