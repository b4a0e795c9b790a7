#include "app/ProgressParser.h"
#include "framework/SysUtils.h"

#include <climits>
#include <stdexcept>

#include "app/vxeUtils.h"

namespace vx {

namespace {

// The text between 1-based positions q (inclusive) and p (exclusive) of `text`, empty
// when p <= q or q lies beyond the text.
std::wstring Between(const std::wstring& text, size_t q, size_t p) {
    if (p <= q || q < 1 || q > text.size()) return std::wstring();
    return text.substr(q - 1, p - q);
}

// 1-based position of the first `c` in `text`, 0 when absent.
size_t PosOf(const std::wstring& text, wchar_t c) {
    const size_t at = text.find(c);
    return at == std::wstring::npos ? 0 : at + 1;
}

// Decimal integer with optional leading blanks and sign, nothing else after the digits;
// the value must fit 32 bits.
std::optional<int> ParseDecimal(const std::wstring& text) {
    size_t i = 0;
    while (i < text.size() && text[i] == L' ') ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) {
        negative = text[i] == L'-';
        ++i;
    }
    if (i == text.size()) return std::nullopt;
    long long value = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < L'0' || text[i] > L'9') return std::nullopt;
        value = value * 10 + (text[i] - L'0');
        if (value > static_cast<long long>(INT_MAX) + 1) return std::nullopt;
    }
    if (negative) value = -value;
    if (value > INT_MAX || value < INT_MIN) return std::nullopt;
    return static_cast<int>(value);
}

}  // namespace

void ParseProgressLine(const std::wstring& line, std::wstring& percentText, std::wstring& frameText) {
    percentText.clear();
    frameText.clear();
    if (UpperCase(line.substr(0, 3)) != L"POS") return;

    // From the fourth character, leaving out the line's last one.
    const std::wstring rest = line.size() >= 4 ? line.substr(3, line.size() - 4) : std::wstring();

    if (const size_t p = PosOf(rest, L'%'); p > 0) {
        const size_t q = PosOf(rest, L'(') + 1;
        const std::optional<int> percent = ParseDecimal(Between(rest, q, p));
        percentText = (percent ? std::to_wstring(*percent) : std::wstring(L"0")) + L"%";
    }
    if (const size_t p = PosOf(rest, L'f'); p > 0) {
        const size_t q = PosOf(rest, L's') + 1;
        frameText = Trim(Between(rest, q, p)) + L"帧";
    }
}

bool IsCompletionLine(const std::wstring& line) {
    const std::wstring head = UpperCase(line.substr(0, 12));
    return head == L"AUDIO STREAM" || head == L"VIDEO STREAM";
}

TProgressUpdate JudgeProgress(const std::wstring& lastLine, bool jobRunning) {
    TProgressUpdate update;
    std::wstring percentText, frameText;
    ParseProgressLine(lastLine, percentText, frameText);

    if (!percentText.empty()) {
        // A malformed number leaves the bar where it is.
        update.BarPosition = ParseDecimal(percentText.substr(0, percentText.size() - 1));
    }
    if (!Trim(percentText).empty())
        update.ProgressText = percentText == L"0%" ? frameText : frameText + L"  " + percentText;

    if (!jobRunning) {
        if (IsCompletionLine(lastLine)) {
            update.State = TRowState::Converted;
            update.ProgressText = L"100%";
            update.BarPosition = 100;
        } else {
            update.State = TRowState::Stopped;
        }
    }
    return update;
}

void ApplyProgress(TFileQueue& queue, int row, const TProgressUpdate& update) {
    if (row < 0 || row >= queue.Count()) throw std::out_of_range("ApplyProgress: no such row");
    if (update.State) queue.SetState(row, *update.State);
    if (update.ProgressText) queue.SetProgress(row, *update.ProgressText);
}

}  // namespace vx
