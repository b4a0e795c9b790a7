#pragma once
// A check run from whatever message loop is running (the encoder job's wait, a modal
// window's loop, ...): tests of the main window use it to act at the moment a state
// shows up, such as answering a question box or pressing stop once a row moves.

#include <functional>

#include "framework/ExtCtrls.h"

namespace vx::test {

// Runs `check` every 20 ms until it returns true; then stops asking.
class TWatcher {
public:
    explicit TWatcher(std::function<bool()> check) : timer_(new TTimer(nullptr)) {
        timer_->SetInterval(20);
        timer_->OnTimer = [this, check](TObject*) {
            if (check()) timer_->SetEnabled(false);
        };
        timer_->SetEnabled(true);
    }
    ~TWatcher() { delete timer_; }
    TWatcher(const TWatcher&) = delete;
    TWatcher& operator=(const TWatcher&) = delete;

private:
    TTimer* timer_;
};

}  // namespace vx::test
