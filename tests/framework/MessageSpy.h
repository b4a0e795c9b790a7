#pragma once
// Test helper: puts a recording message method in front of a control. The recorder
// is shared with the control, so it outlives the test body safely.

#include <algorithm>
#include <memory>
#include <vector>

#include "framework/Controls.h"

struct TMessageLog {
    std::vector<unsigned> seen;
    bool Has(unsigned msg) const { return std::find(seen.begin(), seen.end(), msg) != seen.end(); }
};

inline std::shared_ptr<TMessageLog> SpyOn(vx::TControl* control) {
    auto log = std::make_shared<TMessageLog>();
    vx::TWndMethod previous = control->WindowProc;
    control->WindowProc = [log, previous](vx::TMessage& m) {
        log->seen.push_back(m.Msg);
        previous(m);
    };
    return log;
}
