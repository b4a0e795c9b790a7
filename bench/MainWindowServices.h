#pragma once
// The main window's services for benchmarks: a message box is written to the error
// stream and answered OK, the open dialog is answered by the benchmark when it says
// so; everything else is the program's own.

#include <cstdio>
#include <functional>
#include <string>

#include "app/MainServices.h"
#include "framework/SysUtils.h"

namespace vx::bench {

struct TBenchServices : TMainServices {
    std::function<bool(TOpenDialog&)> openDialog;

    int ShowMessageBox(const std::wstring& text, const std::wstring&, UINT) override {
        std::fprintf(stderr, "message box: %s\n", WideToUtf8(text).c_str());
        return IDOK;
    }
    bool ExecuteOpenDialog(TOpenDialog& dialog) override {
        return openDialog ? openDialog(dialog) : TMainServices::ExecuteOpenDialog(dialog);
    }
};

}  // namespace vx::bench
