#include "app/BatchDriver.h"
#include "framework/SysUtils.h"

#include "app/vxeUtils.h"

namespace vx {

// Two outputs are one file when their paths differ only in the case of ASCII letters
// (the queue's own identity rule).
std::wstring TBatchDriver::OutputKey(const std::wstring& path) { return UpperCase(path); }

void TBatchDriver::Start(const TBatchSettings& settings) {
    stopRequested_ = false;
    outputsOfThisBatch_.clear();
    bool abortAll = false;
    converting_ = true;
    try {
        ConvertRows(settings, abortAll);
    } catch (...) {
        converting_ = false;
        throw;
    }
    converting_ = false;
    if (!abortAll) FinishBatch();
}

void TBatchDriver::ConvertRows(const TBatchSettings& settings, bool& abortAll) {
    if (!host_.FileExists(settings.EncoderPath)) return;
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
    if (queue_.Row(row).Status == kStatusConverted) return TRowResult::Next;
    const std::wstring source = queue_.Row(row).Path;
    const std::wstring output = OutputPathFor(settings.OutputFolder, source, settings.OutputExt);
    const std::wstring logPath = output + L".txt";

    if (output == source) {
        MarkFailed(row);
        if (host_.Unattended()) {
            host_.AppendLog(logPath, Quoted(source) + L"文件转换失败，原因：源文件名和输出的文件名相同!");
        } else {
            host_.Warn(Quoted(source) + L"源文件名和输出的文件名不能相同，请重新选择输出目录!");
            host_.FocusOutputFolder();
        }
        return TRowResult::Next;
    }
    if (host_.FileExists(output)) {
        if (!host_.Unattended()) {
            if (!host_.Confirm(Quoted(output) + L"文件已存在，是否要覆盖？")) return TRowResult::Next;
        } else if (outputsOfThisBatch_.count(OutputKey(output))) {
            // Another source of this batch mapped to the same output (same name in two
            // folders, or two extensions): unattended, its result is kept.
            MarkFailed(row);
            host_.AppendLog(logPath, Quoted(source) + L"文件转换失败，原因：输出的文件已由本次转换中前面的文件写入!");
            return TRowResult::Next;
        }
        // Unattended, an output from before this batch is overwritten without asking.
    }

    if (!host_.DirectoryExists(settings.OutputFolder) && !host_.CreateDir(settings.OutputFolder)) {
        // Shown even in an unattended batch: without a folder no row can be converted.
        host_.Warn(Quoted(settings.OutputFolder) + L"输出目录创建失败，请重新选择输出目录!");
        host_.FocusOutputFolder();
        return TRowResult::AbortAll;
    }
    if (!host_.FileExists(source)) {
        MarkFailed(row);
        host_.SetBarPosition(0);
        if (host_.Unattended())
            host_.AppendLog(logPath, Quoted(source) + L"文件转换失败，原因：源文件不存在！");
        else
            host_.Warn(Quoted(source) + L"源文件不存在！");
        return TRowResult::Next;
    }

    const std::wstring command = BuildCommandLine(
        settings.EncoderPath, catalogue_.TemplateFor(settings.TypeName, SourceExtUpper(source)), source, output);
    try {
        host_.SetBarHint(L"正在转换: " + Quoted(ExtractFileName(output)));
        queue_.SetState(row, kStatusConverting, kImageConverting);
        queue_.SetProgress(row, L"0%");
        host_.RowChanged(row);
        // From here on the encoder may write the output.
        outputsOfThisBatch_.insert(OutputKey(output));
        const TBatchHost::TEncoderStart start = host_.RunEncoder(command);
        UpdateProgress();
        if (start == TBatchHost::TEncoderStart::FailedAndHeldBack) {
            MarkFailed(row);
            host_.AppendLog(logPath, Quoted(source) + L"文件转换失败，原因：转换程序无法启动！");
        }
        host_.ProcessMessages();
    } catch (...) {
        MarkFailed(row);
        return TRowResult::EndBatch;
    }
    return TRowResult::Next;
}

void TBatchDriver::MarkFailed(int row) {
    queue_.SetState(row, kStatusFailed, kImageFailed);
    host_.RowChanged(row);
}

void TBatchDriver::UpdateProgress() {
    const TProgressUpdate update = JudgeProgress(host_.JobLastLine(), host_.JobRunning());
    if (update.BarPosition) host_.SetBarPosition(*update.BarPosition);
    if (currentRow_ >= 0 && currentRow_ < queue_.Count() &&
        (update.ProgressText || update.StatusText || update.ImageIndex)) {
        queue_.Apply(currentRow_, update);
        host_.RowChanged(currentRow_);
    }
    host_.UpdateButtons();
    host_.TrimWorkingSet();
    host_.ProcessMessages();
}

void TBatchDriver::RequestStop() {
    if (host_.JobRunning()) host_.StopJob();
    stopRequested_ = true;
    host_.SetBarPosition(0);
}

void TBatchDriver::FinishBatch() {
    if (stopRequested_ || !host_.Unattended()) return;
    if (queue_.Count() > 0 && queue_.Row(queue_.Count() - 1).Status == kStatusConverted) host_.OfferShutdown();
}

}  // namespace vx
