#include "app/BatchPlatform.h"

#include <windows.h>

#include <exception>

#include "app/FailureLog.h"
#include "framework/Forms.h"
#include "framework/Handles.h"
#include "framework/SysUtils.h"

namespace vx {

void TrimWorkingSet() {
    // The NT family only (the high bit of the version is clear there).
    if (::GetVersion() < 0x80000000u)
        ::SetProcessWorkingSetSize(::GetCurrentProcess(), static_cast<SIZE_T>(-1), static_cast<SIZE_T>(-1));
}

// --- TEncoderBatchJob ---------------------------------------------------------------------

std::unique_ptr<TMEncoder> TEncoderBatchJob::NewEncoder() {
    return std::make_unique<TMEncoder>(static_cast<TJobServices&>(*this));
}

TBatchJob::TStart TEncoderBatchJob::Run(const std::wstring& commandLine, TListener& listener) {
    if (!encoder_) throw Exception(L"编码任务已释放");
    TStart start = TStart::Started;

    // An encoder that cannot be started reaches the application's exception handling
    // from the runner; the listener may hold it back.
    TConsoleCommand* const runner = encoder_->Runner.get();
    const TExceptionEvent previousHandler = Application->OnException;
    Application->OnException = [&, runner](TObject* sender, const std::exception& e) {
        const bool startFailure = sender == runner && (dynamic_cast<const TCreateProcessError*>(&e) ||
                                                       dynamic_cast<const TCreatePipeError*>(&e));
        if (startFailure && listener.HoldBackStartFailure()) {
            start = TStart::FailedAndHeldBack;
            return;
        }
        if (startFailure) start = TStart::FailedAndShown;
        if (previousHandler)
            previousHandler(sender, e);
        else
            Application->ShowException(e);
    };
    beginPending_ = &listener;
    TScopeExit restore([&] {
        Application->OnException = previousHandler;
        beginPending_ = nullptr;
    });
    encoder_->SetCommandLine(commandLine);
    encoder_->Run();
    return start;
}

std::wstring TEncoderBatchJob::LastLine() { return encoder_ ? encoder_->GetLastLine() : std::wstring(); }

bool TEncoderBatchJob::Running() { return encoder_ && encoder_->IsRunning(); }

void TEncoderBatchJob::Stop() {
    if (encoder_) encoder_->Stop();
}

void TEncoderBatchJob::ProcessMessages() {
    if (TListener* listener = beginPending_) {
        beginPending_ = nullptr;
        listener->RunBegun();
    }
    rounds_.ProcessMessages();
}

// --- TWindowTimer -------------------------------------------------------------------------

TWindowTimer::TWindowTimer() : timer_(new TTimer(nullptr)) { timer_->SetEnabled(false); }

void TWindowTimer::Start(unsigned intervalMs, std::function<void()> tick) {
    timer_->SetEnabled(false);
    timer_->SetInterval(intervalMs);
    timer_->OnTimer = [tick = std::move(tick)](TObject*) { tick(); };
    timer_->SetEnabled(true);
}

void TWindowTimer::Stop() { timer_->SetEnabled(false); }

// --- TSystemForBatch ----------------------------------------------------------------------

bool TSystemForBatch::FileExists(const std::wstring& path) { return ::vx::FileExists(path); }
bool TSystemForBatch::DirectoryExists(const std::wstring& path) { return ::vx::DirectoryExists(path); }
bool TSystemForBatch::CreateDir(const std::wstring& path) { return ::vx::CreateDir(path); }
void TSystemForBatch::AppendLog(const std::wstring& path, const std::wstring& text) { ::vx::AppendLog(path, text); }
void TSystemForBatch::TrimWorkingSet() { ::vx::TrimWorkingSet(); }

}  // namespace vx
