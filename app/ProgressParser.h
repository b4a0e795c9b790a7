#pragma once
// Reading the encoder's console output: its status line ("Pos: 12.3s 308f (12%) ...")
// gives the frame and percentage texts of the queue row, and its closing line
// ("Video stream: ..." or "Audio stream: ...") tells that a file was converted.
// Platform-free.

#include <optional>
#include <string>

#include "app/FileQueue.h"

namespace vx {

// Fills `percentText` (e.g. "12%") and `frameText` (e.g. "308帧") from one output line.
// Both are emptied first and stay empty unless the line starts with "pos" in any case.
// A percentage that is not a plain decimal number gives "0%".
void ParseProgressLine(const std::wstring& line, std::wstring& percentText, std::wstring& frameText);

// True when the line's first twelve characters, upper-cased, are "AUDIO STREAM" or
// "VIDEO STREAM": the encoder's last line after a successful conversion.
bool IsCompletionLine(const std::wstring& line);

// What one progress update does to the row being converted and to the progress bar.
// An empty optional leaves that item as it is.
struct TProgressUpdate {
    std::optional<int> BarPosition;
    std::optional<std::wstring> ProgressText;
    std::optional<TRowState> State;

    bool ChangesRow() const { return ProgressText || State; }
    bool ChangesNothing() const { return !BarPosition && !ChangesRow(); }
};

// The judgement of one progress tick, given the job's latest line and whether the job
// still runs. While it runs, a status line sets the bar and the progress column; once
// it has stopped, the same line also decides Converted (with "100%" and bar 100) or
// Stopped (progress column left as it was).
TProgressUpdate JudgeProgress(const std::wstring& lastLine, bool jobRunning);

// Applies the row part of a judgement (state and progress text) to a queue row
// (the index is checked).
void ApplyProgress(TFileQueue& queue, int row, const TProgressUpdate& update);

}  // namespace vx
