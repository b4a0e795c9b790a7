// The skinned frame of the real main window, under Wine:
//   start-up   - from the process's creation to the main window's first skinned frame
//                (its title composed), with the skin read from the program's resources;
//   paint      - one full frame paint (borders, title, caption, buttons) through the
//                window DC, active and inactive;
//   region     - one rebuild of the window's shaped region at the same size;
//   resize     - 100 size steps of one pixel each way, each painted before the next
//                (SetWindowPos and UpdateWindow), with the region builds they caused.
// Medians, best and worst of the rounds, with the machine's load average.
// Usage (under Wine, with an X display): bench_skinned_frame.exe [ROUNDS] [plain]
// "plain" leaves the window unskinned and measures only the resize steps, for comparison.
// It needs stand_in_encoder.exe beside it (the window wants codecs\mencoder.exe).
#include <windows.h>

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
#include "skin/window/FormSkinner.h"
#include "skin/window/SkinManage.h"

using namespace vx;
using namespace vx::bench;

namespace {

// Milliseconds from the process's creation to now.
double MsSinceProcessStart() {
    FILETIME created{}, exited{}, kernel{}, user{}, now{};
    ::GetProcessTimes(::GetCurrentProcess(), &created, &exited, &kernel, &user);
    ::GetSystemTimeAsFileTime(&now);
    auto value = [](const FILETIME& t) {
        return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    };
    return static_cast<double>(value(now) - value(created)) / 10000.0;
}

struct TSeries {
    const char* Name;
    std::vector<double> Ms;
    void Print() const {
        if (Ms.empty()) return;
        std::printf("| %-22s | %3zu | %9.3f ms | %9.3f ms | %9.3f ms |\n", Name, Ms.size(), Median(Ms),
                    *std::min_element(Ms.begin(), Ms.end()), *std::max_element(Ms.begin(), Ms.end()));
    }
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const int rounds = argc > 1 ? std::max(1, _wtoi(argv[1])) : 50;
    const bool plain = argc > 2 && std::wstring(argv[2]) == L"plain";
    const std::string loadBefore = LoadAverage();

    const std::wstring root = ExeFolder() + L"skinned-frame\\";
    if (!PrepareProgramFolder(root)) return 2;
    WriteText(root + L"codecs\\VXEncoderParameters.ini",
              "[EncoderType]\r\nBench=.avi\r\n[Extension]\r\nVideo=*.mpg\r\n[Bench]\r\nMPG=x\r\n");
    WriteText(root + L"codecs\\VXEncoder.ini", "[Configure]\r\nOutputFolder=" + WideToUtf8(root) + "out\r\n");

    // As the program starts: the manager first, then the main window with its skin.
    if (!plain) InstallWindowSkinning();
    std::unique_ptr<TfrmMain> form(new TfrmMain(Application, root));
    form->FinishBuilding();
    form->Show();
    ::SetForegroundWindow(form->GetHandle());
    const HWND window = form->GetHandle();
    RECT start{};
    ::GetWindowRect(window, &start);
    const int w = start.right - start.left, h = start.bottom - start.top;
    // The same window with the system's frame.
    auto resizeSteps = [&] {
        const long long t = Now();
        for (int step = 1; step <= 100; ++step) {
            const int d = step <= 50 ? step : 100 - step;
            ::SetWindowPos(window, nullptr, 0, 0, w + d, h + d, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            ::UpdateWindow(window);
        }
        return MsSince(t);
    };
    if (plain) {
        PumpUntil([] { return false; }, 100);
        TSeries resize{"100 resize steps, plain"};
        for (int round = 0; round < rounds; round += 5) resize.Ms.push_back(resizeSteps());
        std::printf("main window with the system's frame, load average %s / %s\n", loadBefore.c_str(),
                    LoadAverage().c_str());
        resize.Print();
        return 0;
    }
    auto skinner = [window]() { return TSkinManage::Instance() ? TSkinManage::Instance()->FindForm(window) : nullptr; };
    if (!PumpUntil([&] { return skinner() && skinner()->Lifecycle() == 1 && skinner()->TitleBackground(); })) {
        std::fprintf(stderr, "the main window was not skinned\n");
        return 1;
    }
    const double startup = MsSinceProcessStart();
    TFormSkinner& s = *skinner();

    TSeries paintActive{"paint, active"}, paintInactive{"paint, inactive"}, region{"region rebuild"},
        resize{"100 resize steps"};
    std::vector<double> builds;
    for (int round = 0; round < rounds; ++round) {
        ::SendMessageW(window, WM_NCACTIVATE, TRUE, 0);
        long long t = Now();
        s.PaintFrame();
        paintActive.Ms.push_back(MsSince(t));

        ::SendMessageW(window, WM_NCACTIVATE, FALSE, 0);
        t = Now();
        s.PaintFrame();
        paintInactive.Ms.push_back(MsSince(t));
        ::SendMessageW(window, WM_NCACTIVATE, TRUE, 0);

        t = Now();
        s.RebuildRegion();
        region.Ms.push_back(MsSince(t));

        if (round % 5 == 0) {  // the resize series is long: every fifth round
            const int before = s.RegionBuilds();
            resize.Ms.push_back(resizeSteps());
            builds.push_back(s.RegionBuilds() - before);
        }
        Application->ProcessMessages();
    }

    std::printf("skinned main window, %d rounds, load average %s / %s\n", rounds, loadBefore.c_str(),
                LoadAverage().c_str());
    std::printf("start-up to the first skinned frame: %.1f ms\n", startup);
    std::printf("| %-22s | %3s | %12s | %12s | %12s |\n", "What", "Runs", "Median", "Best", "Worst");
    std::printf("|---|---|---|---|---|\n");
    paintActive.Print();
    paintInactive.Print();
    region.Print();
    resize.Print();
    std::printf("region builds per 100 resize steps: %.0f (median)\n", Median(builds));
    form.reset();
    return 0;
}
