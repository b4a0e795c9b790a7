#include "mediainfo/MediaInfoDll.h"
#include "mediainfo/MediaInfoDllTesting.h"

#include <type_traits>

namespace vx {

TMediaInfo_New MediaInfo_New = nullptr;
TMediaInfo_Delete MediaInfo_Delete = nullptr;
TMediaInfo_Open MediaInfo_Open = nullptr;
TMediaInfo_Close MediaInfo_Close = nullptr;
TMediaInfo_Inform MediaInfo_Inform = nullptr;
TMediaInfo_GetI MediaInfo_GetI = nullptr;
TMediaInfo_Get MediaInfo_Get = nullptr;
TMediaInfo_Option MediaInfo_Option = nullptr;
TMediaInfo_State_Get MediaInfo_State_Get = nullptr;
TMediaInfo_Count_Get MediaInfo_Count_Get = nullptr;
TMediaInfoA_New MediaInfoA_New = nullptr;
TMediaInfoA_Delete MediaInfoA_Delete = nullptr;
TMediaInfoA_Open MediaInfoA_Open = nullptr;
TMediaInfoA_Close MediaInfoA_Close = nullptr;
TMediaInfoA_Inform MediaInfoA_Inform = nullptr;
TMediaInfoA_GetI MediaInfoA_GetI = nullptr;
TMediaInfoA_Get MediaInfoA_Get = nullptr;
TMediaInfoA_Option MediaInfoA_Option = nullptr;
TMediaInfoA_State_Get MediaInfoA_State_Get = nullptr;
TMediaInfoA_Count_Get MediaInfoA_Count_Get = nullptr;

namespace {

// Held from the first successful load until the process ends; never freed.
HMODULE libraryHandle = nullptr;

// Applies `visit(name, slot)` to every slot in resolution order.
template <class Visit>
void ForEachSlot(Visit&& visit) {
    visit("MediaInfo_New", MediaInfo_New);
    visit("MediaInfo_Delete", MediaInfo_Delete);
    visit("MediaInfo_Open", MediaInfo_Open);
    visit("MediaInfo_Close", MediaInfo_Close);
    visit("MediaInfo_Inform", MediaInfo_Inform);
    visit("MediaInfo_GetI", MediaInfo_GetI);
    visit("MediaInfo_Get", MediaInfo_Get);
    visit("MediaInfo_Option", MediaInfo_Option);
    visit("MediaInfo_State_Get", MediaInfo_State_Get);
    visit("MediaInfo_Count_Get", MediaInfo_Count_Get);
    visit("MediaInfoA_New", MediaInfoA_New);
    visit("MediaInfoA_Delete", MediaInfoA_Delete);
    visit("MediaInfoA_Open", MediaInfoA_Open);
    visit("MediaInfoA_Close", MediaInfoA_Close);
    visit("MediaInfoA_Inform", MediaInfoA_Inform);
    visit("MediaInfoA_GetI", MediaInfoA_GetI);
    visit("MediaInfoA_Get", MediaInfoA_Get);
    visit("MediaInfoA_Option", MediaInfoA_Option);
    visit("MediaInfoA_State_Get", MediaInfoA_State_Get);
    visit("MediaInfoA_Count_Get", MediaInfoA_Count_Get);
}

template <class F>
F AddressOf(HMODULE module, const char* name) {
    // The cast goes through an untyped function pointer, which every function
    // pointer type converts to and from.
    return reinterpret_cast<F>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

}  // namespace

bool LoadMediaInfoLibrary(const std::wstring& path) {
    if (!libraryHandle) libraryHandle = LoadLibraryW(path.c_str());
    if (!libraryHandle) return false;
    // Every call looks the names up again; a name the library lacks leaves null.
    ForEachSlot([](const char* name, auto& slot) {
        slot = AddressOf<std::remove_reference_t<decltype(slot)>>(libraryHandle, name);
    });
    return true;
}

bool MediaInfoAnalysisAvailable() {
    return libraryHandle && MediaInfo_New && MediaInfo_Open && MediaInfo_Option &&
           MediaInfo_Inform && MediaInfo_Close;
}

HMODULE MediaInfoLibraryHandle() { return libraryHandle; }

std::array<void*, 20> MediaInfoSlotValues() {
    std::array<void*, 20> values{};
    size_t i = 0;
    ForEachSlot([&](const char*, auto& slot) {
        values[i++] = reinterpret_cast<void*>(slot);
    });
    return values;
}

void ForgetMediaInfoLibrary() {
    libraryHandle = nullptr;
    ForEachSlot([](const char*, auto& slot) { slot = nullptr; });
}

}  // namespace vx
