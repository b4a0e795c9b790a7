#include "app/FileQueue.h"
#include "framework/SysUtils.h"

#include "app/vxeUtils.h"

namespace vx {

const wchar_t* StatusText(TRowState state) {
    switch (state) {
        case TRowState::Waiting: return L"准备转换";
        case TRowState::Converting: return L"正在转换...";
        case TRowState::Converted: return L"已完成";
        case TRowState::Stopped: return L"已终止";
        case TRowState::Failed: return L"转换失败";
    }
    return L"";
}

int ImageIndexOf(TRowState state) {
    switch (state) {
        case TRowState::Waiting: return 0;
        case TRowState::Converting: return 1;
        case TRowState::Converted: return 2;
        case TRowState::Stopped:
        case TRowState::Failed: return 3;
    }
    return 0;
}

std::wstring TFileQueue::KeyOf(const std::wstring& path) { return UpperCase(path); }

bool TFileQueue::AddFile(const std::wstring& path) {
    if (!keys_.insert(KeyOf(path)).second) return false;
    TQueueRow row;
    row.Path = path;
    rows_.push_back(std::move(row));
    return true;
}

void TFileQueue::SetState(int index, TRowState state) { rows_.at(static_cast<size_t>(index)).State = state; }

void TFileQueue::SetProgress(int index, const std::wstring& progress) {
    rows_.at(static_cast<size_t>(index)).Progress = progress;
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
