#include "process/UMEncoder.h"

#include "framework/Forms.h"

namespace vx {

std::wstring LastMeaningfulLine(const TStrings& lines) {
    const int count = lines.GetCount();
    if (count < 3) return kNoLogPlaceholder;
    std::wstring last = lines.Get(count - 1);
    return last.empty() ? lines.Get(count - 2) : last;
}

void TJobServices::ProcessMessages() { Application->ProcessMessages(); }

TJobServices& TJobServices::System() {
    static TJobServices services;
    return services;
}

TMEncoder::TMEncoder(TJobServices& services) : Runner(std::make_unique<TConsoleCommand>()), services_(services) {}

TMEncoder::~TMEncoder() = default;

std::uint32_t TMEncoder::Run() {
    Runner->SetCommandLine(CommandLine);
    Runner->SetPriority(HIGH_PRIORITY_CLASS);
    Runner->Execute();
    // The one place where messages are handled while an encoder runs: the progress
    // timer, the stop button and a close request all come through this round.
    while (Runner->IsRunning()) {
        services_.ProcessMessages();
        if (!Runner->IsRunning()) break;
        // Up to 30 ms until the next round of messages. The reader thread's hand-overs
        // are served meanwhile, and the wait ends when the run does: a line or the end
        // of the run never waits for the round.
        Runner->WaitForRunEnd(30);
    }
    Runner->Stop();
    return Runner->GetExitCode();
}

std::wstring TMEncoder::GetLastLine() {
    TReadLock lock(Runner->LinesLock());
    return LastMeaningfulLine(*Runner->Lines());
}

}  // namespace vx
