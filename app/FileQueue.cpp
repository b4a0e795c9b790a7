#include "app/FileQueue.h"
#include "framework/SysUtils.h"

#include "app/vxeUtils.h"

namespace vx {

std::wstring TFileQueue::KeyOf(const std::wstring& path) { return UpperCase(path); }

bool TFileQueue::Contains(const std::wstring& path) const { return keys_.count(KeyOf(path)) != 0; }

bool TFileQueue::AddFile(const std::wstring& path) {
    if (!keys_.insert(KeyOf(path)).second) return false;
    TQueueRow row;
    row.Path = path;
    rows_.push_back(std::move(row));
    return true;
}

void TFileQueue::SetState(int index, const std::wstring& status, int imageIndex) {
    TQueueRow& row = rows_.at(static_cast<size_t>(index));
    row.Status = status;
    row.ImageIndex = imageIndex;
}

void TFileQueue::SetProgress(int index, const std::wstring& progress) {
    rows_.at(static_cast<size_t>(index)).Progress = progress;
}

void TFileQueue::Apply(int index, const TProgressUpdate& update) {
    TQueueRow& row = rows_.at(static_cast<size_t>(index));
    if (update.StatusText) row.Status = *update.StatusText;
    if (update.ProgressText) row.Progress = *update.ProgressText;
    if (update.ImageIndex) row.ImageIndex = *update.ImageIndex;
}

void TFileQueue::Delete(const std::vector<int>& indices) {
    std::vector<bool> doomed(rows_.size(), false);
    for (int i : indices)
        if (i >= 0 && static_cast<size_t>(i) < rows_.size()) doomed[static_cast<size_t>(i)] = true;
    std::vector<TQueueRow> kept;
    kept.reserve(rows_.size());
    for (size_t i = 0; i < rows_.size(); ++i) {
        if (doomed[i])
            keys_.erase(KeyOf(rows_[i].Path));
        else
            kept.push_back(std::move(rows_[i]));
    }
    rows_ = std::move(kept);
}

void TFileQueue::Clear() {
    rows_.clear();
    keys_.clear();
}

}  // namespace vx
