// Queueing many files in the real main window, the way a user does it: by a drop
// (WM_DROPFILES with a drop handle holding every path) and by the open dialog's result
// (btnAddFileClick with the dialog answered by the test seam). Each run times:
//   drop       - the drop handler, from the message to its return,
//   drop+paint - the same plus painting the window afterwards (what the user waits for),
//   again      - the same drop a second time: every path already queued,
//   dialog     - btnAddFileClick with the files the dialog returned,
//   dialog+paint.
// Beside the wall times, the main thread's CPU time (median): the machine is shared, and
// the wall time carries the others' work.
// The queue is emptied (miDelAllClick) between the measurements. Two series: a fresh
// window, and the window after its queue menu has been opened once. Prints median, best
// and worst of the runs, with the machine's load average before and after.
// Usage (under Wine, with an X display): bench_queue_view.exe [RUNS] [FILES] [hidden]
// "hidden" leaves the window unshown (as the main window's tests have it): the list view
// then has its window but never paints.
// It needs stand_in_encoder.exe beside it (the window wants codecs\mencoder.exe).
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "app/main.h"
#include "bench/MainWindowServices.h"
#include "framework/SysUtils.h"
#include "bench/BenchSupport.h"
#include "bench/app/MainWindowBench.h"

using namespace vx;
using namespace vx::bench;

namespace {

// Paints what the handler left to paint.
void Paint(TfrmMain& form) {
    ::RedrawWindow(form.GetHandle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    Application->ProcessMessages();
}


// Wall times of one measurement over the runs, and the main thread's CPU time in each.
struct TSeries {
    const char* Name;
    std::vector<double> Ms, CpuMs;
    long long start = 0;
    double cpuStart = 0;
    void Begin() {
        cpuStart = ThreadCpuMs();
        start = Now();
    }
    void End() {
        Ms.push_back(MsSince(start));
        CpuMs.push_back(ThreadCpuMs() - cpuStart);
    }
    void Print() const {
        const auto [best, worst] = std::minmax_element(Ms.begin(), Ms.end());
        std::printf("| %-12s | %zu | %8.1f ms | %8.1f ms | %8.1f ms | %8.1f ms |\n", Name, Ms.size(), Median(Ms), *best,
                    *worst, Median(CpuMs));
    }
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const int runs = argc > 1 ? std::max(1, _wtoi(argv[1])) : 7;
    const int files = argc > 2 ? std::max(1, _wtoi(argv[2])) : 10000;
    const bool hidden = argc > 3 && std::wstring(argv[3]) == L"hidden";

    const std::wstring root = ExeFolder() + L"queue-view\\";
    if (!PrepareProgramFolder(root)) return 2;
    WriteText(root + L"codecs\\VXEncoderParameters.ini",
              "[EncoderType]\r\nBench=.avi\r\n[Extension]\r\nVideo=*.mpg\r\n[Bench]\r\nMPG=x\r\n");
    WriteText(root + L"codecs\\VXEncoder.ini", "[Configure]\r\nOutputFolder=" + WideToUtf8(root) + "out\r\n");

    std::vector<std::wstring> paths;
    paths.reserve(static_cast<size_t>(files));
    for (int i = 0; i < files; ++i)
        paths.push_back(L"D:\\Videos\\Holiday 2026\\Camera " + std::to_wstring(i % 7) + L"\\clip-" +
                        std::to_wstring(i) + L".mpg");

    bench::TBenchServices services;
    std::unique_ptr<TfrmMain> form(new TfrmMain(Application, root, services));
    form->FinishBuilding();
    if (!hidden) form->Show();
    Paint(*form);
    TStringList chosen;
    for (const auto& p : paths) chosen.Add(p);
    services.openDialog = [&chosen](TOpenDialog& dialog) {
        dialog.GetFiles()->Assign(chosen);
        return true;
    };

    // Two series: a window fresh from its creation, and the same window after its
    // queue menu has been opened once (from then on the menu has its handle, and
    // enabling its items rebuilds it).
    bool ok = true;
    for (int series = 0; series < 2; ++series) {
        if (series == 1) form->pmList->GetHandle();
        const std::string loadBefore = LoadAverage();
        TSeries drop{"drop"}, dropPaint{"drop+paint"}, again{"again"}, dialog{"dialog"}, dialogPaint{"dialog+paint"};
        for (int run = 0; run < runs; ++run) {
            form->miDelAllClick(form->miDelAll);
            Paint(*form);
            HDROP handle = MakeDrop(paths);
            drop.Begin();
            dropPaint.Begin();
            form->Perform(WM_DROPFILES, reinterpret_cast<WPARAM>(handle));
            drop.End();
            Paint(*form);
            dropPaint.End();
            ok = ok && form->ListView1->GetItems()->Count() == files && form->btnStart->GetEnabled();

            handle = MakeDrop(paths);
            again.Begin();
            form->Perform(WM_DROPFILES, reinterpret_cast<WPARAM>(handle));
            Paint(*form);
            again.End();
            ok = ok && form->ListView1->GetItems()->Count() == files;

            form->miDelAllClick(form->miDelAll);
            Paint(*form);
            dialog.Begin();
            dialogPaint.Begin();
            form->btnAddFileClick(form->btnAddFile);
            dialog.End();
            Paint(*form);
            dialogPaint.End();
            ok = ok && form->ListView1->GetItems()->Count() == files;
            std::fprintf(stderr, "run %d: drop %.1f ms (+paint %.1f), again %.1f ms, dialog %.1f ms (+paint %.1f)\n",
                         run + 1, drop.Ms.back(), dropPaint.Ms.back(), again.Ms.back(), dialog.Ms.back(),
                         dialogPaint.Ms.back());
            std::fflush(stderr);
        }
        std::printf("%s%s: %d files, %d runs, load average %s / %s\n",
                    series == 0 ? "fresh window" : "queue menu opened once", hidden ? ", not shown" : "", files, runs,
                    loadBefore.c_str(), LoadAverage().c_str());
        std::printf("| What | Runs | Median | Best | Worst | Main thread CPU, median |\n|---|---|---|---|---|---|\n");
        for (const TSeries* s : {&drop, &dropPaint, &again, &dialog, &dialogPaint}) s->Print();
    }
    form.reset();
    if (!ok) std::fprintf(stderr, "the queue did not end with %d rows and the start button enabled\n", files);
    return ok ? 0 : 1;
}
