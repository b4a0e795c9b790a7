#pragma once
// The queue of files to convert, as data: one row per file with its state and progress
// text. The list view of the main window mirrors it.
// A row's identity is its path with ASCII letters upper-cased; a set of those keys
// beside the rows keeps adding a file a constant-time check however long the queue is.
// Platform-free.

#include <string>
#include <unordered_set>
#include <vector>

namespace vx {

// Where a row stands. Added rows wait; a batch sets the others.
enum class TRowState {
    Waiting,     // "准备转换": added, not converted yet
    Converting,  // "正在转换...": the encoder runs for it
    Converted,   // "已完成": the encoder ended with its completion line
    Stopped,     // "已终止": the encoder ended without it (stopped, or it broke off)
    Failed,      // "转换失败": a check before the run failed, or the run raised an error
};

// The one mapping of a state to what the list view shows: the status column's text and
// the row's image index (0 waiting, 1 converting, 2 converted, 3 stopped or failed).
const wchar_t* StatusText(TRowState state);
int ImageIndexOf(TRowState state);

struct TQueueRow {
    std::wstring Path;
    TRowState State = TRowState::Waiting;
    std::wstring Progress = L"0%";

    std::wstring Status() const { return StatusText(State); }
    int ImageIndex() const { return ImageIndexOf(State); }
};

class TFileQueue {
public:
    // Appends a waiting row for `path` unless a row with the same path (ASCII letters
    // compared without case) is queued; returns whether a row was added. The path is
    // taken whole, whatever its length.
    bool AddFile(const std::wstring& path);

    int Count() const { return static_cast<int>(rows_.size()); }
    const TQueueRow& Row(int index) const { return rows_.at(static_cast<size_t>(index)); }
    const std::vector<TQueueRow>& Rows() const { return rows_; }

    // A row's path never changes; its state and progress do (indices are checked).
    void SetState(int index, TRowState state);
    void SetProgress(int index, const std::wstring& progress);

    // Removes the rows at the given indices (any order, duplicates and indices out of
    // range ignored); the other rows keep their order.
    void Delete(const std::vector<int>& indices);
    void Clear();

private:
    static std::wstring KeyOf(const std::wstring& path);

    std::vector<TQueueRow> rows_;
    std::unordered_set<std::wstring> keys_;
};

}  // namespace vx
