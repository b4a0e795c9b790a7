#pragma once
// The batch: walks the queue from the top, converts every row not yet converted, and
// marks each row converted, stopped or failed. It holds what it works with through
// small interfaces of its own: the encoder job (TBatchJob), its 100 ms progress timer
// (TBatchTimer, owned), the operating system's file checks and failure log
// (TBatchSystem), and the window, which only shows what the batch tells it
// (TBatchView). Platform-free.

#include <functional>
#include <memory>
#include <string>
#include <unordered_set>

#include "app/BatchRules.h"
#include "app/FileQueue.h"
#include "app/Settings.h"

namespace vx {

// Texts of the window's questions that belong to the batch.
inline constexpr wchar_t kStopQuestion[] = L"您确定终止转换吗？";       // caption "终止"
inline constexpr wchar_t kCloseQuestion[] = L"视频正在转换中，您确定退出吗？";  // caption "退出"

// The interval of the progress timer, in milliseconds.
inline constexpr unsigned kProgressInterval = 100;

// The encoder job as the batch uses it.
class TBatchJob {
public:
    virtual ~TBatchJob() = default;

    // How a run went as far as the batch cares: an encoder that could not be started is
    // reported by the runner's message box, unless the listener held that message back
    // (an unattended batch logs the failure itself).
    enum class TStart { Started, FailedAndShown, FailedAndHeldBack };

    // What a run asks of the batch while it goes on.
    class TListener {
    public:
        virtual ~TListener() = default;
        // The run has begun; called before its first round of messages, so that the
        // controls show the run before any click can reach the window.
        virtual void RunBegun() = 0;
        // The encoder could not be started: true holds the runner's message back.
        virtual bool HoldBackStartFailure() = 0;
    };

    // Runs `commandLine` to its end; window messages (timer ticks, clicks) are handled
    // meanwhile. Any exception counts as a failure of the row and ends the batch.
    virtual TStart Run(const std::wstring& commandLine, TListener& listener) = 0;
    // The encoder's latest meaningful line (or the job's placeholder).
    virtual std::wstring LastLine() = 0;
    virtual bool Running() = 0;
    // Asks the run to end; returns at once.
    virtual void Stop() = 0;
    // Handles the window's pending messages: the same round the job's wait loop runs,
    // used by the batch between two files.
    virtual void ProcessMessages() = 0;
};

// A repeating timer of the main thread.
class TBatchTimer {
public:
    virtual ~TBatchTimer() = default;
    // Calls `tick` every `intervalMs` until Stop.
    virtual void Start(unsigned intervalMs, std::function<void()> tick) = 0;
    virtual void Stop() = 0;
};

// What the batch asks of the operating system.
class TBatchSystem {
public:
    virtual ~TBatchSystem() = default;
    virtual bool FileExists(const std::wstring& path) = 0;
    virtual bool DirectoryExists(const std::wstring& path) = 0;
    // Creates one folder level; false when it could not be made.
    virtual bool CreateDir(const std::wstring& path) = 0;
    // Appends one line to a text file (the unattended failure log).
    virtual void AppendLog(const std::wstring& path, const std::wstring& text) = 0;
    // Gives the process's unused pages back to the system (on each progress look, so a
    // long conversion does not keep the window's memory resident).
    virtual void TrimWorkingSet() = 0;
};

// The main window as the batch sees it: it shows and asks, nothing more.
class TBatchView {
public:
    virtual ~TBatchView() = default;
    // A warning box (caption "转换", OK button).
    virtual void Warn(const std::wstring& text) = 0;
    // A question box (caption "转换", OK and Cancel); true for OK.
    virtual bool Confirm(const std::wstring& text) = 0;
    virtual void FocusOutputFolder() = 0;
    // Whether "视频转换完成后自动关闭电脑。" is ticked now. The box stays usable during a
    // batch, so it is asked at every use: ticked mid-batch, the next problem goes to the
    // log; cleared mid-batch, there is no shutdown offer.
    virtual bool Unattended() = 0;
    // The queue row `row` changed; the list view shows it anew.
    virtual void RowChanged(int row) = 0;
    virtual void SetBarPosition(int position) = 0;
    virtual void SetBarHint(const std::wstring& hint) = 0;
    virtual void ShowControlStates(const TControlStates& states) = 0;
    // The shutdown countdown; when it ends with OK the window ends the application and
    // powers the computer off.
    virtual void OfferShutdown() = 0;
};

struct TBatchSettings {
    std::wstring EncoderPath;   // full path of codecs\mencoder.exe
    std::wstring OutputFolder;  // the output-folder field's text, as it stands
    std::wstring OutputExt;     // the extension of converted files
    std::wstring TypeName;      // the conversion type: the catalogue section
};

class TBatchDriver : private TBatchJob::TListener {
public:
    TBatchDriver(TFileQueue& queue, TProfileCatalogue& catalogue, TBatchJob& job, std::unique_ptr<TBatchTimer> timer,
                 TBatchSystem& system, TBatchView& view);

    // The start button: converts the queue from the top (rows present at the start),
    // then FinishBatch. A missing encoder does nothing; an output folder that cannot be
    // made ends everything at once, without FinishBatch.
    void Start(const TBatchSettings& settings);

    // The end of a batch: offers the shutdown when the batch was not stopped (by the
    // stop button or a close), the shutdown box is ticked and the queue's last row (not
    // the last one converted) is converted.
    void FinishBatch();

    // One progress look at the row being converted (each timer tick, and the final
    // judgement after the job ended): reads the job's last line and applies the
    // judgement to row, bar and controls.
    void UpdateProgress();

    // The stop button or closing the window, after the user confirmed: stops the job,
    // empties the bar and ends the batch before its next row.
    void RequestStop();

    // Tells the window which controls may be used now.
    void UpdateControls();

    int CurrentRow() const { return currentRow_; }
    bool StopRequested() const { return stopRequested_; }
    // True while Start walks the rows, between two files included (not during
    // FinishBatch).
    bool Converting() const { return converting_; }

private:
    enum class TRowResult { Next, EndBatch, AbortAll };
    TRowResult ConvertRow(int row, const TBatchSettings& settings);
    void ConvertRows(const TBatchSettings& settings, bool& abortAll);
    void MarkFailed(int row);
    static std::wstring OutputKey(const std::wstring& path);

    // TBatchJob::TListener
    void RunBegun() override;
    bool HoldBackStartFailure() override;

    TFileQueue& queue_;
    TProfileCatalogue& catalogue_;
    TBatchJob& job_;
    const std::unique_ptr<TBatchTimer> timer_;
    TBatchSystem& system_;
    TBatchView& view_;
    int currentRow_ = -1;
    bool stopRequested_ = false;
    bool converting_ = false;
    // Outputs the encoder was run for in this batch (keys of OutputKey): a later row of
    // the same batch never overwrites one of them without a question.
    std::unordered_set<std::wstring> outputsOfThisBatch_;
};

}  // namespace vx
