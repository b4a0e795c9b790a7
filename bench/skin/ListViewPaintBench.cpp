// A list view of 1,000 report rows with its column header, painted and scrolled with
// and without the skin's scroll-bar and header skins (TSkinListView, the program's
// skin from the packed blob):
//   repaint - the whole window invalidated (frame, client, header, companions) and
//             painted at once (RedrawWindow with RDW_UPDATENOW and every child),
//   scroll  - from the top to the bottom a page at a time (WM_VSCROLL SB_PAGEDOWN, then
//             the window painted after each page), back to the top in one step.
// Each series alternates skinned and bare windows run by run, so a busy machine weighs
// on both alike; prints median, best and worst wall times and the thread's CPU time.
//   bench_list_view_paint [RUNS] [ROWS] [BLOB]
// Run it from its build folder under Wine with an X display.

#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "bench/BenchSupport.h"
#include "framework/ComCtrls.h"
#include "framework/Forms.h"
#include "skin/controls/SkinScrollbar.h"
#include "skin/data/SkinIni.h"
#include "skin/data/SkinModel.h"
#include "skin/data/SkinRead.h"

using namespace vx;
using namespace vx::bench;

namespace {

class TNoHost : public IControlSkinHost {
public:
    void RegisterControlSkin(TSkinControl*) override {}
    void UnregisterControlSkin(TSkinControl*) override {}
};

std::unique_ptr<TSkinModel> LoadSkin(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    const std::vector<std::uint8_t> blob((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    auto model = std::make_unique<TSkinModel>();
    if (!LoadPackedSkin(*model, blob)) return nullptr;
    return model;
}

void Pump() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

struct TTimes {
    std::vector<double> Wall, Cpu;
};

void Report(const char* what, const TTimes& t) {
    std::vector<double> w = t.Wall;
    std::sort(w.begin(), w.end());
    std::printf("  %-22s median %8.2f ms  best %8.2f  worst %8.2f  cpu median %8.2f ms\n", what, Median(t.Wall),
                w.front(), w.back(), Median(t.Cpu));
}

// One window with the list; skinned or not.
struct TBench {
    TBench(int rows, TControlSkinData* data) {
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(40, 40, 720, 520);
        list = new TListView(form.get());
        list->SetParent(form.get());
        list->SetBounds(8, 8, 690, 460);
        list->SetViewStyle(vsReport);
        for (const wchar_t* name : {L"文件", L"状态", L"进度"}) {
            TListColumn* c = list->GetColumns()->Add();
            c->SetCaption(name);
            c->SetWidth(name[0] == L'文' ? 420 : 110);
        }
        list->GetItems()->BeginUpdate();
        for (int i = 0; i < rows; ++i) {
            TListItem* item = list->GetItems()->Add();
            item->SetCaption(L"D:\\视频\\第" + std::to_wstring(i) + L"集 clip.avi");
            item->GetSubItems()->Add(L"准备转换");
            item->GetSubItems()->Add(L"0%");
        }
        list->GetItems()->EndUpdate();
        form->Show();
        Pump();
        if (data) {
            auto* s = new TSkinListView(list);
            s->InitScrollbar(list, data, &host, nullptr);
        }
        Pump();
    }
    double Repaint() {
        const long long t0 = Now();
        ::RedrawWindow(form->GetHandle(), nullptr, nullptr,
                       RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        ::GdiFlush();
        return MsSince(t0);
    }
    double Scroll() {
        const HWND w = list->GetHandle();
        const long long t0 = Now();
        SCROLLINFO si{};
        si.cbSize = sizeof(si);
        si.fMask = SIF_ALL;
        for (int guard = 0; guard < 100000; ++guard) {
            ::GetScrollInfo(w, SB_VERT, &si);
            if (si.nPos + static_cast<int>(si.nPage) > si.nMax) break;
            ::SendMessageW(w, WM_VSCROLL, SB_PAGEDOWN, 0);
            ::UpdateWindow(w);
            Pump();
        }
        ::SendMessageW(w, WM_VSCROLL, SB_TOP, 0);
        ::UpdateWindow(w);
        Pump();
        ::GdiFlush();
        return MsSince(t0);
    }
    TNoHost host;
    std::unique_ptr<TForm> form;
    TListView* list = nullptr;
};

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    const int rows = argc > 2 ? std::max(1, std::atoi(argv[2])) : 1000;
    const std::string blob = argc > 3 ? argv[3] : VX_BENCH_SKIN_BLOB;
    SetDefaultSkinMessageNotifier([](const std::wstring&) {});
    auto skin = LoadSkin(blob);
    if (!skin) {
        std::fprintf(stderr, "cannot load the skin from %s\n", blob.c_str());
        return 1;
    }
    TControlSkinData data;
    data.Model = skin.get();

    std::printf("list view of %d report rows with header, %d runs each; load %s\n", rows, runs,
                LoadAverage().c_str());
    TTimes repaint[2], scroll[2];
    for (int run = 0; run < runs + 1; ++run) {
        for (int skinned = 0; skinned < 2; ++skinned) {
            TBench bench(rows, skinned ? &data : nullptr);
            bench.Repaint();  // the first paint of a window fills caches
            double cpu = ThreadCpuMs();
            const double r = bench.Repaint();
            const double rc = ThreadCpuMs() - cpu;
            cpu = ThreadCpuMs();
            const double s = bench.Scroll();
            const double sc = ThreadCpuMs() - cpu;
            if (run == 0) continue;  // a warm-up round
            repaint[skinned].Wall.push_back(r);
            repaint[skinned].Cpu.push_back(rc);
            scroll[skinned].Wall.push_back(s);
            scroll[skinned].Cpu.push_back(sc);
        }
    }
    std::printf("not skinned\n");
    Report("repaint", repaint[0]);
    Report("scroll through", scroll[0]);
    std::printf("skinned\n");
    Report("repaint", repaint[1]);
    Report("scroll through", scroll[1]);
    std::printf("load after: %s\n", LoadAverage().c_str());
    return 0;
}
