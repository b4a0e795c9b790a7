#pragma once
// The queue of files to convert, as data: one row per file with its status, progress
// text and image index. The list view of the main window mirrors it.
// A row's identity is its path with ASCII letters upper-cased; a set of those keys
// beside the rows keeps adding a file a constant-time check however long the queue is.
// Platform-free.

#include <string>
#include <unordered_set>
#include <vector>

#include "app/ProgressParser.h"

namespace vx {

struct TQueueRow {
    std::wstring Path;
    std::wstring Status = kStatusWaiting;
    std::wstring Progress = L"0%";
    int ImageIndex = kImageWaiting;
};

class TFileQueue {
public:
    // Appends a waiting row for `path` unless a row with the same path (ASCII letters
    // compared without case) is queued; returns whether a row was added. The path is
    // taken whole, whatever its length.
    bool AddFile(const std::wstring& path);
    bool Contains(const std::wstring& path) const;

    int Count() const { return static_cast<int>(rows_.size()); }
    const TQueueRow& Row(int index) const { return rows_.at(static_cast<size_t>(index)); }
    const std::vector<TQueueRow>& Rows() const { return rows_; }

    // A row's path never changes; its state does (indices are checked).
    void SetState(int index, const std::wstring& status, int imageIndex);
    void SetProgress(int index, const std::wstring& progress);
    // Applies the row part of a progress judgement (status, progress text, image).
    void Apply(int index, const TProgressUpdate& update);

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
