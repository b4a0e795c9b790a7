#pragma once
// Reading the encoder's console output: its status line ("Pos: 12.3s 308f (12%) ...")
// gives the frame and percentage texts of the queue row, and its closing line
// ("Video stream: ..." or "Audio stream: ...") tells that a file was converted.
// Platform-free.

#include <optional>
#include <string>

namespace vx {

// Fills `percentText` (e.g. "12%") and `frameText` (e.g. "308帧") from one output line.
// Both are emptied first and stay empty unless the line starts with "pos" in any case.
// A percentage that is not a plain decimal number gives "0%".
void ParseProgressLine(const std::wstring& line, std::wstring& percentText, std::wstring& frameText);

// True when the line's first twelve characters, upper-cased, are "AUDIO STREAM" or
// "VIDEO STREAM": the encoder's last line after a successful conversion.
bool IsCompletionLine(const std::wstring& line);

// Queue row states shown in the status column, with the row's image index.
inline constexpr wchar_t kStatusWaiting[] = L"准备转换";      // image 0
inline constexpr wchar_t kStatusConverting[] = L"正在转换...";  // image 1
inline constexpr wchar_t kStatusConverted[] = L"已完成";        // image 2
inline constexpr wchar_t kStatusStopped[] = L"已终止";          // image 3
inline constexpr wchar_t kStatusFailed[] = L"转换失败";         // image 3
inline constexpr int kImageWaiting = 0;
inline constexpr int kImageConverting = 1;
inline constexpr int kImageConverted = 2;
inline constexpr int kImageFailed = 3;

// What one progress update does to the row being converted and to the progress bar.
// An empty optional leaves that item as it is.
struct TProgressUpdate {
    std::optional<int> BarPosition;
    std::optional<std::wstring> ProgressText;
    std::optional<std::wstring> StatusText;
    std::optional<int> ImageIndex;

    bool ChangesNothing() const { return !BarPosition && !ProgressText && !StatusText && !ImageIndex; }
};

// The judgement of one progress tick, given the job's latest line and whether the job
// still runs. While it runs, a status line sets the bar and the progress column; once
// it has stopped, the same line also decides "已完成" (with "100%", bar 100, image 2)
// or "已终止" (image 3, progress column left as it was).
TProgressUpdate JudgeProgress(const std::wstring& lastLine, bool jobRunning);

}  // namespace vx
