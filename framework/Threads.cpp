// The platform-free part of Threads: the multi-reader, single-writer lock.
#include "framework/Threads.h"

namespace vx {

bool TMultiReadExclusiveWriteSynchronizer::OthersReading(std::thread::id me) const {
    for (const auto& [id, count] : readers_)
        if (id != me && count > 0) return true;
    return false;
}

void TMultiReadExclusiveWriteSynchronizer::BeginRead() {
    std::unique_lock<std::mutex> lock(mutex_);
    const std::thread::id me = std::this_thread::get_id();
    // The writer itself, or a thread already reading, never waits (no self-deadlock;
    // waiting writers cannot starve a reader that is already inside).
    if (writer_ == me || readers_.count(me) != 0) {
        ++readers_[me];
        return;
    }
    // New readers let waiting writers go first.
    changed_.wait(lock, [&] { return writer_ == std::thread::id() && waitingWriters_ == 0; });
    readers_[me] = 1;
}

void TMultiReadExclusiveWriteSynchronizer::EndRead() {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = readers_.find(std::this_thread::get_id());
    if (it == readers_.end()) return;  // unbalanced call: ignore rather than corrupt
    if (--it->second == 0) readers_.erase(it);
    changed_.notify_all();
}

bool TMultiReadExclusiveWriteSynchronizer::BeginWrite() {
    std::unique_lock<std::mutex> lock(mutex_);
    const std::thread::id me = std::this_thread::get_id();
    if (writer_ == me) {
        ++writeDepth_;
        return true;
    }
    bool undisturbed = true;
    int myReads = 0;
    auto mine = readers_.find(me);
    if (mine != readers_.end() && upgrading_) {
        // Another reader is already upgrading and waits for us to leave: let our read
        // lock go while we wait, and take it back with the write lock.
        myReads = mine->second;
        readers_.erase(mine);
        undisturbed = false;
        changed_.notify_all();
    }
    const bool upgrade = readers_.count(me) != 0;
    if (upgrade) upgrading_ = true;
    ++waitingWriters_;
    changed_.wait(lock, [&] { return writer_ == std::thread::id() && !OthersReading(me); });
    --waitingWriters_;
    if (upgrade) upgrading_ = false;
    if (myReads > 0) readers_[me] = myReads;
    writer_ = me;
    writeDepth_ = 1;
    return undisturbed;
}

void TMultiReadExclusiveWriteSynchronizer::EndWrite() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (writer_ != std::this_thread::get_id()) return;  // unbalanced call
    if (--writeDepth_ == 0) {
        writer_ = std::thread::id();
        changed_.notify_all();
    }
}

}  // namespace vx
