#pragma once
// Helpers of the runner tests: the stand-in encoder's command line, message pumping
// with a deadline, the stand-in processes that are alive, and a recorder for the
// application's exception display.

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace vx::test {

// The quoted path of stand_in_encoder.exe beside the test program, then the steps,
// each in quotation marks.
std::wstring StandInCommand(const std::vector<std::wstring>& steps);

// Full path of stand_in_encoder.exe beside the test program.
std::wstring StandInPath();

// Handles messages and hand-overs until `done` is true or `timeoutMs` passed; returns
// `done()`.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 10000);

// Process ids of the stand-in encoders started by this test program.
std::vector<DWORD> LiveStandIns();

// While alive, the application's exception display records messages instead of
// showing a message box.
class ExceptionRecorder {
public:
    ExceptionRecorder();
    ~ExceptionRecorder();
    std::vector<std::wstring> Messages;
};

}  // namespace vx::test
