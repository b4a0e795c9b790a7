// A stand-in for the MediaInfo library with the same C interface: its report is the
// text the test sets, and it keeps a log of the calls it received, so the binding
// and the analysis can be tested without depending on what the real library writes.
// Each build variant exports a different subset of the names (see CMakeLists.txt).
#include <windows.h>

#include <cstddef>
#include <string>

namespace {

std::wstring report = L"General\r\nFormat : Fake\r\n";
std::string reportA = "General\r\nFormat : Fake\r\n";
std::wstring callLog;
int analysisObject = 0;  // its address is the one handle this library hands out
int objectsAlive = 0;

void Log(const std::wstring& entry) { callLog += entry + L";"; }
bool Known(void* handle) {
    if (handle == &analysisObject) return true;
    Log(L"bad handle");
    return false;
}

}  // namespace

extern "C" {

// Test controls.
void __stdcall FakeMediaInfo_SetReport(const wchar_t* text) { report = text ? text : L""; }
const wchar_t* __stdcall FakeMediaInfo_CallLog() { return callLog.c_str(); }
void __stdcall FakeMediaInfo_ClearCallLog() { callLog.clear(); }
int __stdcall FakeMediaInfo_ObjectsAlive() { return objectsAlive; }

// Wide-character family.
void* __stdcall MediaInfo_New() {
    Log(L"New");
    ++objectsAlive;
    return &analysisObject;
}
void __stdcall MediaInfo_Delete(void* h) {
    Log(L"Delete");
    if (Known(h)) --objectsAlive;
}
std::size_t __stdcall MediaInfo_Open(void* h, const wchar_t* file) {
    Log(L"Open(" + std::wstring(file ? file : L"<null>") + L")");
    return Known(h) ? 1 : 0;
}
void __stdcall MediaInfo_Close(void* h) {
    Log(L"Close");
    Known(h);
}
const wchar_t* __stdcall MediaInfo_Inform(void* h, std::size_t reserved) {
    Log(L"Inform(" + std::to_wstring(reserved) + L")");
    return Known(h) ? report.c_str() : L"";
}
const wchar_t* __stdcall MediaInfo_GetI(void*, int, std::size_t, std::size_t, int) { return L""; }
const wchar_t* __stdcall MediaInfo_Get(void*, int, std::size_t, const wchar_t*, int, int) { return L""; }
const wchar_t* __stdcall MediaInfo_Option(void* h, const wchar_t* option, const wchar_t* value) {
    Log(L"Option(" + std::wstring(option ? option : L"<null>") + L"=" +
        std::wstring(value ? value : L"<null>") + L")");
    Known(h);
    return L"";
}
std::size_t __stdcall MediaInfo_State_Get(void*) { return 10000; }
std::size_t __stdcall MediaInfo_Count_Get(void*, int, std::size_t) { return 0; }

// 8-bit family.
void* __stdcall MediaInfoA_New() { return &analysisObject; }
void __stdcall MediaInfoA_Delete(void*) {}
std::size_t __stdcall MediaInfoA_Open(void*, const char*) { return 1; }
void __stdcall MediaInfoA_Close(void*) {}
const char* __stdcall MediaInfoA_Inform(void*, std::size_t) { return reportA.c_str(); }
const char* __stdcall MediaInfoA_GetI(void*, int, std::size_t, std::size_t, int) { return ""; }
const char* __stdcall MediaInfoA_Get(void*, int, std::size_t, const char*, int, int) { return ""; }
const char* __stdcall MediaInfoA_Option(void*, const char*, const char*) { return ""; }
std::size_t __stdcall MediaInfoA_State_Get(void*) { return 10000; }
std::size_t __stdcall MediaInfoA_Count_Get(void*, int, std::size_t) { return 0; }

}  // extern "C"
