// One conversion in the real main window, against the stand-in encoder printing status
// lines at a steady pace (25 a second by default, for a minute), measuring what the
// user pays while it runs:
//   - the CPU time (user + kernel) of this process, per minute of run, with the share
//     of the main thread; the probe threads below are left out of the total;
//   - how late messages reach the main window: one thread posts a message every few
//     milliseconds carrying its time of posting, and the window's message method
//     notes the delay when it arrives; another thread sends (SendMessage) a message
//     at the same pace and notes how long each took to be answered.
// The same is then measured for a stretch of the window idle in its message loop,
// for comparison.
//
// Arguments (all optional): seconds of the run (60), status lines per second (25),
// probe interval in ms (5; 0 runs without probes, for the CPU time alone), seconds of
// the idle stretch (10).
// The stand-in encoder is taken from stand_in_encoder.exe beside this program.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "app/main.h"
#include "bench/MainWindowServices.h"
#include "framework/SysUtils.h"
#include "framework/Handles.h"
#include "bench/BenchSupport.h"

using namespace vx;
using namespace vx::bench;

namespace {

constexpr unsigned kPostedProbe = WM_APP + 0x51;
constexpr unsigned kSentProbe = WM_APP + 0x52;


// The delays seen by the window, in ms.
struct TDelays {
    std::mutex lock;
    std::vector<double> values;
    void Add(double ms) {
        std::lock_guard<std::mutex> hold(lock);
        values.push_back(ms);
    }
    std::vector<double> Take() {
        std::lock_guard<std::mutex> hold(lock);
        std::vector<double> out;
        out.swap(values);
        return out;
    }
};

void PrintDelays(const char* what, std::vector<double> v) {
    if (v.empty()) {
        std::printf("  %-7s no messages\n", what);
        return;
    }
    std::sort(v.begin(), v.end());
    auto at = [&v](double q) { return v[std::min(v.size() - 1, static_cast<size_t>(q * (v.size() - 1) + 0.5))]; };
    std::printf("  %-7s %7zu messages  median %6.2f ms  p99 %6.2f ms  max %6.2f ms\n", what, v.size(), at(0.5),
                at(0.99), v.back());
}

// Two threads that probe the window every `intervalMs`: one posts, one sends.
class TProbes {
public:
    TProbes(HWND window, unsigned intervalMs, TDelays& sent) : window_(window), interval_(intervalMs), sent_(sent) {
        poster_ = std::thread([this] { Post(); });
        sender_ = std::thread([this] { Send(); });
    }
    ~TProbes() { Stop(); }

    // The sender may be waiting for the window to answer: keep answering until both
    // threads have finished.
    void Stop() {
        stop_ = true;
        while (running_ > 0) {
            Application->ProcessMessages();
            ::Sleep(1);
        }
        if (poster_.joinable()) poster_.join();
        if (sender_.joinable()) sender_.join();
    }
    // CPU time spent by the two probe threads so far.
    double CpuMs() const { return cpu_.load(); }

private:
    static THandle OwnThread() {
        THandle h;
        ::DuplicateHandle(::GetCurrentProcess(), ::GetCurrentThread(), ::GetCurrentProcess(), h.Receive(), 0, FALSE,
                          DUPLICATE_SAME_ACCESS);
        return h;
    }
    void AddCpu(const THandle& self) {
        double expected = cpu_.load();
        const double mine = ThreadCpuMs(self.Get());
        while (!cpu_.compare_exchange_weak(expected, expected + mine)) {
        }
    }
    void Post() {
        const THandle self = OwnThread();
        while (!stop_) {
            const long long t = Now();
            ::PostMessageW(window_, kPostedProbe, static_cast<WPARAM>(t & 0xFFFFFFFF), static_cast<LPARAM>(t >> 32));
            ::Sleep(interval_);
        }
        AddCpu(self);
        --running_;
    }
    void Send() {
        const THandle self = OwnThread();
        while (!stop_) {
            const long long t = Now();
            DWORD_PTR result = 0;
            if (::SendMessageTimeoutW(window_, kSentProbe, 0, 0, SMTO_NORMAL, 5000, &result))
                sent_.Add(Ms(Now() - t));
            ::Sleep(interval_);
        }
        AddCpu(self);
        --running_;
    }

    HWND window_;
    unsigned interval_;
    TDelays& sent_;
    std::atomic<bool> stop_{false};
    std::atomic<int> running_{2};
    std::atomic<double> cpu_{0};
    std::thread poster_, sender_;
};

// A status line of the encoder's kind; the stand-in reads escapes, so "\r" is written
// as the two characters.
std::string StatusStep(int i, int total, int rate) {
    char line[128];
    std::snprintf(line, sizeof line, "out:Pos: %d.%ds %df (%2d%%) %dfps Trem: 0min 1mb\\r", i / rate,
                  (i % rate) * 10 / rate, i, i * 100 / total, rate);
    return line;
}

struct TPhase {
    double wallMs = 0, processCpuMs = 0, mainCpuMs = 0, probeCpuMs = 0;
    std::vector<double> posted, sent;
};

void PrintPhase(const char* title, const TPhase& p) {
    const double minutes = p.wallMs / 60000.0;
    const double own = p.processCpuMs - p.probeCpuMs;
    std::printf("%s: %.1f s\n", title, p.wallMs / 1000.0);
    std::printf("  CPU of the process, probe threads left out: %.0f ms (%.0f ms per minute, %.2f %% of one core)\n", own,
                own / minutes, own / p.wallMs * 100.0);
    std::printf("  of which the main thread: %.0f ms (%.0f ms per minute); probe threads: %.0f ms\n", p.mainCpuMs,
                p.mainCpuMs / minutes, p.probeCpuMs);
    PrintDelays("posted", p.posted);
    PrintDelays("sent", p.sent);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const int seconds = argc > 1 ? std::max(1, _wtoi(argv[1])) : 60;
    const int rate = argc > 2 ? std::max(1, _wtoi(argv[2])) : 25;
    const unsigned interval = argc > 3 ? static_cast<unsigned>(std::max(0, _wtoi(argv[3]))) : 5;
    const int idleSeconds = argc > 4 ? std::max(0, _wtoi(argv[4])) : 10;

    // A program folder of the bench's own: the stand-in as the encoder, a catalogue
    // whose template runs the source file as the stand-in's script.
    const std::wstring root = ExeFolder() + L"main-form-run\\";
    if (!PrepareProgramFolder(root)) return 2;
    WriteText(root + L"codecs\\VXEncoderParameters.ini",
              "[EncoderType]\r\nBench=.avi\r\n[Extension]\r\nVideo=*.mpg\r\n"
              "[Bench]\r\nMPG=script:\"<SourceFile>\" \"file:<OutputFile>\" exit:0\r\n");
    WriteText(root + L"codecs\\VXEncoder.ini",
              "[Configure]\r\nOutputFolder=" + WideToUtf8(root) + "out\r\nEncoderType=0\r\n");
    const int total = seconds * rate;
    std::string script = "line:MEncoder stand-in\nline:Opening video\nline:Starting\n";
    const int pause = 1000 / rate;
    for (int i = 1; i <= total; ++i) script += StatusStep(i, total, rate) + "\nsleep:" + std::to_string(pause) + "\n";
    script += "line:Video stream:  800.000 kbit/s  (100000 B/s)  size: 1000 bytes  1.000 secs  25 frames\n";
    const std::wstring source = root + L"clip.mpg";
    WriteText(source, script);
    ::DeleteFileW((root + L"out\\clip-[VXE].avi").c_str());

    bench::TBenchServices services;
    std::unique_ptr<TfrmMain> form(new TfrmMain(Application, root, services));
    form->FinishBuilding();
    form->Show();

    // The window's own message method notes each probe's delay, then hands every
    // message on as before.
    TDelays posted, sent;
    TWndMethod previous = form->WindowProc;
    form->WindowProc = [&posted, previous](TMessage& m) {
        if (m.Msg == kPostedProbe) {
            const long long stamp = (static_cast<long long>(m.LParam) << 32) | static_cast<unsigned>(m.WParam);
            posted.Add(Ms(Now() - stamp));
            return;
        }
        if (m.Msg == kSentProbe) {
            m.Result = 1;
            return;
        }
        previous(m);
    };
    form->AddFile(source);
    Application->ProcessMessages();

    THandle mainThreadOwner;
    ::DuplicateHandle(::GetCurrentProcess(), ::GetCurrentThread(), ::GetCurrentProcess(), mainThreadOwner.Receive(), 0,
                      FALSE, DUPLICATE_SAME_ACCESS);
    HANDLE mainThread = mainThreadOwner.Get();

    if (interval > 0)
        std::printf("main window run: %d s of %d status lines per second, probes every %u ms\n", seconds, rate, interval);
    else
        std::printf("main window run: %d s of %d status lines per second, no probes\n", seconds, rate);

    // The run: the batch's own handler, which returns when the encoder has ended.
    TPhase run;
    {
        const double cpu0 = ProcessCpuMs(), main0 = ThreadCpuMs(mainThread);
        const long long t0 = Now();
        std::unique_ptr<TProbes> probes;
        if (interval > 0) probes = std::make_unique<TProbes>(form->GetHandle(), interval, sent);
        form->btnStartClick(form->btnStart);
        run.wallMs = Ms(Now() - t0);
        run.mainCpuMs = ThreadCpuMs(mainThread) - main0;
        if (probes) probes->Stop();
        run.processCpuMs = ProcessCpuMs() - cpu0;
        run.probeCpuMs = probes ? probes->CpuMs() : 0;
        // Probes still queued when the run ended belong to it.
        Application->ProcessMessages();
        run.posted = posted.Take();
        run.sent = sent.Take();
    }
    const std::wstring status = form->ListView1->GetItems()->Items(0)->GetSubItems()->Get(0);
    std::printf("row: %s, %s\n", WideToUtf8(status).c_str(),
                WideToUtf8(form->ListView1->GetItems()->Items(0)->GetSubItems()->Get(1)).c_str());
    std::printf("status lines printed: %d, at %.1f per second of run\n", total, total / (run.wallMs / 1000.0));
    PrintPhase("run", run);

    // The same window idle in its message loop.
    if (idleSeconds > 0) {
        TPhase idle;
        const double cpu0 = ProcessCpuMs(), main0 = ThreadCpuMs(mainThread);
        const long long t0 = Now();
        {
            std::unique_ptr<TProbes> probes;
            if (interval > 0) probes = std::make_unique<TProbes>(form->GetHandle(), interval, sent);
            while (Ms(Now() - t0) < idleSeconds * 1000.0) {
                ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
                Application->ProcessMessages();
            }
            idle.wallMs = Ms(Now() - t0);
            idle.mainCpuMs = ThreadCpuMs(mainThread) - main0;
            if (probes) probes->Stop();
            idle.processCpuMs = ProcessCpuMs() - cpu0;
            idle.probeCpuMs = probes ? probes->CpuMs() : 0;
        }
        Application->ProcessMessages();
        idle.posted = posted.Take();
        idle.sent = sent.Take();
        PrintPhase("idle", idle);
    }
    form->WindowProc = previous;
    form.reset();
    return status == L"已完成" ? 0 : 1;
}
