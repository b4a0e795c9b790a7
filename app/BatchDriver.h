#pragma once
// The batch: walks the queue from the top, converts every row not yet converted, and
// marks each row converted, stopped or failed. Everything it needs from the window and
// the system (file checks, questions, the failure log, the encoder job and its progress
// timer) comes through TBatchHost, so the main window only supplies those services and
// mirrors the queue's rows into its list view. Platform-free.

#include <string>
#include <unordered_set>

#include "app/FileQueue.h"
#include "app/Settings.h"

namespace vx {

// Texts of the window's questions that belong to the batch.
inline constexpr wchar_t kStopQuestion[] = L"您确定终止转换吗？";       // caption "终止"
inline constexpr wchar_t kCloseQuestion[] = L"视频正在转换中，您确定退出吗？";  // caption "退出"

class TBatchHost {
public:
    virtual ~TBatchHost() = default;

    virtual bool FileExists(const std::wstring& path) = 0;
    virtual bool DirectoryExists(const std::wstring& path) = 0;
    // Creates one folder level; false when it could not be made.
    virtual bool CreateDir(const std::wstring& path) = 0;

    // A warning box (caption "转换", OK button).
    virtual void Warn(const std::wstring& text) = 0;
    // A question box (caption "转换", OK and Cancel); true for OK.
    virtual bool Confirm(const std::wstring& text) = 0;
    virtual void FocusOutputFolder() = 0;
    // Whether "视频转换完成后自动关闭电脑。" is ticked now. The box stays usable during a
    // batch, so it is asked at every use: ticked mid-batch, the next problem goes to the
    // log; cleared mid-batch, there is no shutdown offer.
    virtual bool Unattended() = 0;
    // Appends one line to a text file (AppendLog).
    virtual void AppendLog(const std::wstring& path, const std::wstring& text) = 0;

    // The queue row `row` changed; the list view shows it anew.
    virtual void RowChanged(int row) = 0;
    virtual void SetBarPosition(int position) = 0;
    virtual void SetBarHint(const std::wstring& hint) = 0;
    // Re-evaluates which controls are enabled (ComputeControlStates).
    virtual void UpdateButtons() = 0;

    // How a run of the encoder went as far as the batch cares: an encoder that could not
    // be started is reported by the runner's message box, except in an unattended batch
    // (Unattended() at the moment of the failure), where the box is held back and the
    // batch logs the failure itself.
    enum class TEncoderStart { Started, FailedAndShown, FailedAndHeldBack };

    // Runs the encoder job with `commandLine` to its end, with a 100 ms timer calling
    // TBatchDriver::UpdateProgress meanwhile; the timer is stopped when this returns.
    // The controls are re-evaluated as soon as the job runs, before any message is
    // handled. Any exception counts as a failure of the row and ends the batch.
    virtual TEncoderStart RunEncoder(const std::wstring& commandLine) = 0;
    virtual std::wstring JobLastLine() = 0;
    virtual bool JobRunning() = 0;
    virtual void StopJob() = 0;
    // Gives the process's unused pages back to the system (on each progress tick, so a
    // long conversion does not keep the window's memory resident). Nothing where the
    // system cannot do it.
    virtual void TrimWorkingSet() = 0;
    // Lets the window handle its pending messages.
    virtual void ProcessMessages() = 0;

    // The shutdown countdown; when it ends with OK the host ends the application and
    // powers the computer off.
    virtual void OfferShutdown() = 0;
};

struct TBatchSettings {
    std::wstring EncoderPath;   // full path of codecs\mencoder.exe
    std::wstring OutputFolder;  // the output-folder field's text, as it stands
    std::wstring OutputExt;     // the extension of converted files
    std::wstring TypeName;      // the conversion type: the catalogue section
};

class TBatchDriver {
public:
    TBatchDriver(TFileQueue& queue, TProfileCatalogue& catalogue, TBatchHost& host)
        : queue_(queue), catalogue_(catalogue), host_(host) {}

    // The start button: converts the queue from the top (rows present at the start),
    // then FinishBatch. A missing encoder does nothing; an output folder that cannot be
    // made ends everything at once, without FinishBatch.
    void Start(const TBatchSettings& settings);

    // The end of a batch: offers the shutdown when the batch was not stopped (by the
    // stop button or a close), the shutdown box is ticked and the queue's last row (not
    // the last one converted) reads "已完成".
    void FinishBatch();

    // One progress tick of the row being converted (also the final judgement after the
    // job ended): reads the job's last line and applies the judgement to row and bar.
    void UpdateProgress();

    // The stop button or closing the window, after the user confirmed: stops the job,
    // empties the bar and ends the batch before its next row.
    void RequestStop();

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

    TFileQueue& queue_;
    TProfileCatalogue& catalogue_;
    TBatchHost& host_;
    int currentRow_ = -1;
    bool stopRequested_ = false;
    bool converting_ = false;
    // Outputs the encoder was run for in this batch (keys of OutputKey): a later row of
    // the same batch never overwrites one of them without a question.
    std::unordered_set<std::wstring> outputsOfThisBatch_;
};

}  // namespace vx
