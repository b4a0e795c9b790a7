#include "tests/process/ProcessTestSupport.h"

#include <tlhelp32.h>

#include "framework/Forms.h"
#include "framework/SysUtils.h"
#include "framework/Threads.h"
#include "framework/Handles.h"

namespace vx::test {

namespace {
const wchar_t kStandInName[] = L"stand_in_encoder.exe";

std::wstring ProgramFolderOfTests() {
    wchar_t path[MAX_PATH * 4];
    const DWORD n = GetModuleFileNameW(nullptr, path, static_cast<DWORD>(std::size(path)));
    std::wstring folder(path, n);
    return folder.substr(0, folder.find_last_of(L"\\/") + 1);
}
}  // namespace

std::wstring StandInPath() { return ProgramFolderOfTests() + kStandInName; }

std::wstring StandInCommand(const std::vector<std::wstring>& steps) {
    std::wstring command = L"\"" + ProgramFolderOfTests() + kStandInName + L"\"";
    for (const std::wstring& step : steps) command += L" \"" + step + L"\"";
    return command;
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    while (!done()) {
        if (GetTickCount64() > deadline) return false;
        Application->ProcessMessages();
        CheckSynchronize(1);
    }
    return true;
}

std::vector<DWORD> LiveStandIns() {
    std::vector<DWORD> ids;
    const THandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return ids;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot.Get(), &entry); more; more = Process32NextW(snapshot.Get(), &entry)) {
        if (entry.th32ParentProcessID == GetCurrentProcessId() && SameText(entry.szExeFile, kStandInName))
            ids.push_back(entry.th32ProcessID);
    }
    return ids;
}

ExceptionRecorder::ExceptionRecorder() {
    Application->OnException = [this](TObject*, const std::exception& e) { Messages.push_back(ExceptionMessage(e)); };
}

ExceptionRecorder::~ExceptionRecorder() { Application->OnException = nullptr; }

}  // namespace vx::test
