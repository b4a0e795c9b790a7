// Lines per second that the console runner hands to the main thread while the stand-in
// encoder prints status lines as fast as it can. Arguments: the number of lines
// (default 20000) and the stand-in's path (default:
// ..\..\tests\process\stand_in_encoder.exe from this program's folder).
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "framework/Forms.h"
#include "framework/Threads.h"
#include "process/ConsoleCommand.h"

int wmain(int argc, wchar_t** argv) {
    const int lines = argc > 1 ? _wtoi(argv[1]) : 20000;
    std::wstring standIn = argc > 2 ? argv[2] : L"";
    if (standIn.empty()) {
        wchar_t self[MAX_PATH];
        const DWORD n = GetModuleFileNameW(nullptr, self, MAX_PATH);
        std::wstring folder(self, n);
        folder = folder.substr(0, folder.find_last_of(L'\\') + 1);
        standIn = folder + L"..\\..\\tests\\process\\stand_in_encoder.exe";
    }
    vx::TConsoleCommand runner;
    long long delivered = 0, entire = 0;
    runner.OnNewLine = [&](vx::TObject*, const std::wstring&, vx::TOutputType type) {
        ++delivered;
        if (type == vx::otEntireLine) ++entire;
    };
    runner.SetCommandLine(L"\"" + standIn + L"\" \"repeat:" + std::to_wstring(lines) +
                          L":Pos: 12.3s 308f (12%) 48fps Trem: 1min 12mb\\r\"");
    const ULONGLONG start = GetTickCount64();
    runner.Execute();
    while (runner.IsRunning()) {
        vx::Application->ProcessMessages();
        vx::CheckSynchronize(1);
    }
    runner.WaitForRunEnd();
    const double seconds = (GetTickCount64() - start) / 1000.0;
    std::printf("run state %u, lines printed %d, complete lines delivered %lld, deliveries %lld\n",
                static_cast<unsigned>(runner.GetRunState()), lines, entire, delivered);
    std::printf("%.2f s, %.0f deliveries per second\n", seconds, delivered / (seconds > 0 ? seconds : 1e-9));
    return entire == lines ? 0 : 1;
}
