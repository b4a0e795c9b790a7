#pragma once
// The Windows side of the batch: the window's encoder job, a framework timer and the
// operating system, each behind the batch's own interface. Windows only.

#include <functional>
#include <memory>
#include <string>

#include "app/BatchDriver.h"
#include "framework/ExtCtrls.h"
#include "process/UMEncoder.h"

namespace vx {

// Gives the process's unused pages back to the system; on the NT family only.
void TrimWorkingSet();

// The main window's encoder job (its field `Encoder`, which it owns and may release
// when it closes) as the batch uses it. The job's wait loop handles messages through
// this object, which passes each round on to `rounds`.
class TEncoderBatchJob : public TBatchJob, private TJobServices {
public:
    TEncoderBatchJob(std::unique_ptr<TMEncoder>& encoder, TJobServices& rounds)
        : encoder_(encoder), rounds_(rounds) {}

    // A new job whose wait loop runs its rounds through this object.
    std::unique_ptr<TMEncoder> NewEncoder();

    // Runs the job; a start failure the runner reports (through the application's
    // exception handling) is held back when the listener says so. Throws when the
    // window has released its job.
    TStart Run(const std::wstring& commandLine, TListener& listener) override;
    std::wstring LastLine() override;
    bool Running() override;
    void Stop() override;
    // The one round of message handling, for the job's wait loop and for the batch
    // between two files: tells a run's listener that the run has begun before the
    // run's first round, then hands the round to `rounds`.
    void ProcessMessages() override;

private:
    std::unique_ptr<TMEncoder>& encoder_;
    TJobServices& rounds_;
    // The listener of the run under way until its first round has told it.
    TListener* beginPending_ = nullptr;
};

// The batch's progress timer: a framework timer without an owner.
class TWindowTimer : public TBatchTimer {
public:
    TWindowTimer();
    void Start(unsigned intervalMs, std::function<void()> tick) override;
    void Stop() override;

private:
    std::unique_ptr<TTimer> timer_;
};

// File checks, the failure log and the working set, as the system does them.
class TSystemForBatch : public TBatchSystem {
public:
    bool FileExists(const std::wstring& path) override;
    bool DirectoryExists(const std::wstring& path) override;
    bool CreateDir(const std::wstring& path) override;
    void AppendLog(const std::wstring& path, const std::wstring& text) override;
    void TrimWorkingSet() override;
};

}  // namespace vx
