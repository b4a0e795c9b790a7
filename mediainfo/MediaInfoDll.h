#pragma once
// Run-time binding of the MediaInfo library (codecs\MediaInfo.dll). The program never
// links the library: it loads it the first time a file's information is asked for,
// keeps it loaded until the process ends, and looks its C interface up by name into
// twenty process-wide function pointers, the wide-character family first and the
// 8-bit family after it. A name the library does not export leaves its pointer null.

#include <windows.h>

#include <cstddef>
#include <string>

namespace vx {

// The library's stream and info kinds travel as plain enumeration values.
using TMediaInfoStreamKind = int;
using TMediaInfoInfoKind = int;

// Wide-character family.
using TMediaInfo_New = void*(__stdcall*)();
using TMediaInfo_Delete = void(__stdcall*)(void* handle);
using TMediaInfo_Open = std::size_t(__stdcall*)(void* handle, const wchar_t* fileName);
using TMediaInfo_Close = void(__stdcall*)(void* handle);
using TMediaInfo_Inform = const wchar_t*(__stdcall*)(void* handle, std::size_t reserved);
using TMediaInfo_GetI = const wchar_t*(__stdcall*)(void* handle, TMediaInfoStreamKind kind,
                                                   std::size_t streamNumber, std::size_t parameter,
                                                   TMediaInfoInfoKind infoKind);
using TMediaInfo_Get = const wchar_t*(__stdcall*)(void* handle, TMediaInfoStreamKind kind,
                                                  std::size_t streamNumber, const wchar_t* parameter,
                                                  TMediaInfoInfoKind infoKind,
                                                  TMediaInfoInfoKind searchKind);
using TMediaInfo_Option = const wchar_t*(__stdcall*)(void* handle, const wchar_t* option,
                                                     const wchar_t* value);
using TMediaInfo_State_Get = std::size_t(__stdcall*)(void* handle);
using TMediaInfo_Count_Get = std::size_t(__stdcall*)(void* handle, TMediaInfoStreamKind kind,
                                                     std::size_t streamNumber);

// 8-bit family.
using TMediaInfoA_New = void*(__stdcall*)();
using TMediaInfoA_Delete = void(__stdcall*)(void* handle);
using TMediaInfoA_Open = std::size_t(__stdcall*)(void* handle, const char* fileName);
using TMediaInfoA_Close = void(__stdcall*)(void* handle);
using TMediaInfoA_Inform = const char*(__stdcall*)(void* handle, std::size_t reserved);
using TMediaInfoA_GetI = const char*(__stdcall*)(void* handle, TMediaInfoStreamKind kind,
                                                 std::size_t streamNumber, std::size_t parameter,
                                                 TMediaInfoInfoKind infoKind);
using TMediaInfoA_Get = const char*(__stdcall*)(void* handle, TMediaInfoStreamKind kind,
                                                std::size_t streamNumber, const char* parameter,
                                                TMediaInfoInfoKind infoKind,
                                                TMediaInfoInfoKind searchKind);
using TMediaInfoA_Option = const char*(__stdcall*)(void* handle, const char* option,
                                                   const char* value);
using TMediaInfoA_State_Get = std::size_t(__stdcall*)(void* handle);
using TMediaInfoA_Count_Get = std::size_t(__stdcall*)(void* handle, TMediaInfoStreamKind kind,
                                                      std::size_t streamNumber);

// The process-wide slots, null until resolved.
extern TMediaInfo_New MediaInfo_New;
extern TMediaInfo_Delete MediaInfo_Delete;
extern TMediaInfo_Open MediaInfo_Open;
extern TMediaInfo_Close MediaInfo_Close;
extern TMediaInfo_Inform MediaInfo_Inform;
extern TMediaInfo_GetI MediaInfo_GetI;
extern TMediaInfo_Get MediaInfo_Get;
extern TMediaInfo_Option MediaInfo_Option;
extern TMediaInfo_State_Get MediaInfo_State_Get;
extern TMediaInfo_Count_Get MediaInfo_Count_Get;
extern TMediaInfoA_New MediaInfoA_New;
extern TMediaInfoA_Delete MediaInfoA_Delete;
extern TMediaInfoA_Open MediaInfoA_Open;
extern TMediaInfoA_Close MediaInfoA_Close;
extern TMediaInfoA_Inform MediaInfoA_Inform;
extern TMediaInfoA_GetI MediaInfoA_GetI;
extern TMediaInfoA_Get MediaInfoA_Get;
extern TMediaInfoA_Option MediaInfoA_Option;
extern TMediaInfoA_State_Get MediaInfoA_State_Get;
extern TMediaInfoA_Count_Get MediaInfoA_Count_Get;

// Where the program finds the library: the codecs folder beside it.
inline constexpr wchar_t MediaInfoLibraryPath[] = L"codecs\\MediaInfo.dll";

// Makes sure the library is loaded and every slot resolved. The library is loaded
// only while none is held (a failed load is retried by the next call); the twenty
// names are looked up again on every call that finds a library. Returns true when a
// library is held. A relative path is resolved by the platform's library search,
// which starts at the program's own folder.
bool LoadMediaInfoLibrary(const std::wstring& path);

// True when the slots that one analysis calls (New, Open, Option, Inform, Close) are
// all resolved. A library that lacks any of them is treated as no library at all.
bool MediaInfoAnalysisAvailable();

}  // namespace vx
