#include "app/BatchDriver.h"

#include "app/ProgressParser.h"
#include "app/vxeUtils.h"
#include "framework/Handles.h"
#include "framework/SysUtils.h"

namespace vx {

TBatchDriver::TBatchDriver(TFileQueue& queue, TProfileCatalogue& catalogue, TBatchJob& job,
                           std::unique_ptr<TBatchTimer> timer, TBatchSystem& system, TBatchView& view)
    : queue_(queue), catalogue_(catalogue), job_(job), timer_(std::move(timer)), system_(system), view_(view) {}

// Two outputs are one file when their paths differ only in the case of ASCII letters
// (the queue's own identity rule).
std::wstring TBatchDriver::OutputKey(const std::wstring& path) { return UpperCase(path); }

void TBatchDriver::Start(const TBatchSettings& settings) {
    stopRequested_ = false;
    outputsOfThisBatch_.clear();
    bool abortAll = false;
    {
        converting_ = true;
        TScopeExit done([this] { converting_ = false; });
        ConvertRows(settings, abortAll);
    }
    if (!abortAll) FinishBatch();
}

void TBatchDriver::ConvertRows(const TBatchSettings& settings, bool& abortAll) {
    if (!system_.FileExists(settings.EncoderPath)) return;
    const int rows = queue_.Count();
    for (int i = 0; i < rows; ++i) {
        currentRow_ = i;
        if (stopRequested_ || i >= queue_.Count()) break;
        const TRowResult result = ConvertRow(i, settings);
        if (result == TRowResult::AbortAll) {
            abortAll = true;
            return;
        }
        if (result == TRowResult::EndBatch) break;
    }
}

TBatchDriver::TRowResult TBatchDriver::ConvertRow(int row, const TBatchSettings& settings) {
    if (queue_.Row(row).State == TRowState::Converted) return TRowResult::Next;
    const std::wstring source = queue_.Row(row).Path;
    const std::wstring output = OutputPathFor(settings.OutputFolder, source, settings.OutputExt);
    const std::wstring logPath = output + L".txt";

    if (output == source) {
        MarkFailed(row);
        if (view_.Unattended()) {
            system_.AppendLog(logPath, Quoted(source) + L"文件转换失败，原因：源文件名和输出的文件名相同!");
        } else {
            view_.Warn(Quoted(source) + L"源文件名和输出的文件名不能相同，请重新选择输出目录!");
            view_.FocusOutputFolder();
        }
        return TRowResult::Next;
    }
    if (system_.FileExists(output)) {
        if (!view_.Unattended()) {
            if (!view_.Confirm(Quoted(output) + L"文件已存在，是否要覆盖？")) return TRowResult::Next;
        } else if (outputsOfThisBatch_.count(OutputKey(output))) {
            // Another source of this batch mapped to the same output (same name in two
            // folders, or two extensions): unattended, its result is kept.
            MarkFailed(row);
            system_.AppendLog(logPath, Quoted(source) + L"文件转换失败，原因：输出的文件已由本次转换中前面的文件写入!");
            return TRowResult::Next;
        }
        // Unattended, an output from before this batch is overwritten without asking.
    }

    if (!system_.DirectoryExists(settings.OutputFolder) && !system_.CreateDir(settings.OutputFolder)) {
        // Shown even in an unattended batch: without a folder no row can be converted.
        view_.Warn(Quoted(settings.OutputFolder) + L"输出目录创建失败，请重新选择输出目录!");
        view_.FocusOutputFolder();
        return TRowResult::AbortAll;
    }
    if (!system_.FileExists(source)) {
        MarkFailed(row);
        view_.SetBarPosition(0);
        if (view_.Unattended())
            system_.AppendLog(logPath, Quoted(source) + L"文件转换失败，原因：源文件不存在！");
        else
            view_.Warn(Quoted(source) + L"源文件不存在！");
        return TRowResult::Next;
    }

    const std::wstring command = BuildCommandLine(
        settings.EncoderPath, catalogue_.TemplateFor(settings.TypeName, SourceExtUpper(source)), source, output);
    try {
        view_.SetBarHint(L"正在转换: " + Quoted(ExtractFileName(output)));
        queue_.SetState(row, TRowState::Converting);
        queue_.SetProgress(row, L"0%");
        view_.RowChanged(row);
        // From here on the encoder may write the output.
        outputsOfThisBatch_.insert(OutputKey(output));
        TBatchJob::TStart start;
        {
            timer_->Start(kProgressInterval, [this] { UpdateProgress(); });
            TScopeExit stopTimer([this] { timer_->Stop(); });
            start = job_.Run(command, *this);
        }
        UpdateProgress();
        if (start == TBatchJob::TStart::FailedAndHeldBack) {
            MarkFailed(row);
            system_.AppendLog(logPath, Quoted(source) + L"文件转换失败，原因：转换程序无法启动！");
        }
        // Messages that came while the row was judged (a stop click among them) are
        // handled before the next row is looked at.
        job_.ProcessMessages();
    } catch (...) {
        MarkFailed(row);
        return TRowResult::EndBatch;
    }
    return TRowResult::Next;
}

void TBatchDriver::RunBegun() { UpdateControls(); }

bool TBatchDriver::HoldBackStartFailure() { return view_.Unattended(); }

void TBatchDriver::MarkFailed(int row) {
    queue_.SetState(row, TRowState::Failed);
    view_.RowChanged(row);
}

// Runs inside the job's round of messages (a timer tick), or right after the run
// ended; it handles no messages itself.
void TBatchDriver::UpdateProgress() {
    const TProgressUpdate update = JudgeProgress(job_.LastLine(), job_.Running());
    if (update.BarPosition) view_.SetBarPosition(*update.BarPosition);
    if (currentRow_ >= 0 && currentRow_ < queue_.Count() && update.ChangesRow()) {
        ApplyProgress(queue_, currentRow_, update);
        view_.RowChanged(currentRow_);
    }
    UpdateControls();
    system_.TrimWorkingSet();
}

void TBatchDriver::UpdateControls() { view_.ShowControlStates(ComputeControlStates(job_.Running(), queue_.Count())); }

void TBatchDriver::RequestStop() {
    if (job_.Running()) job_.Stop();
    stopRequested_ = true;
    view_.SetBarPosition(0);
}

void TBatchDriver::FinishBatch() {
    if (stopRequested_ || !view_.Unattended()) return;
    if (queue_.Count() > 0 && queue_.Row(queue_.Count() - 1).State == TRowState::Converted) view_.OfferShutdown();
}

}  // namespace vx
