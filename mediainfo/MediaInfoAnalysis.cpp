#include "mediainfo/MediaInfoAnalysis.h"

#include "mediainfo/MediaInfoDll.h"

namespace vx {

bool MediaInfoReady(const std::wstring& libraryPath) {
    return LoadMediaInfoLibrary(libraryPath) && MediaInfoAnalysisAvailable();
}

TMediaInfoAnalysis::TMediaInfoAnalysis(const std::wstring& fileName) {
    handle_ = MediaInfo_New();
    // A library that cannot make an analysis object gives no report; the later
    // calls would only be handed a null handle.
    if (!handle_) return;
    // The result of Open is not needed: a file the library cannot read still gets
    // whatever report the library writes for it.
    MediaInfo_Open(handle_, fileName.c_str());
    MediaInfo_Option(handle_, L"Complete", L"");
    // The returned text belongs to the library and is only valid until the next
    // call, so it is copied at once.
    if (const wchar_t* text = MediaInfo_Inform(handle_, 0)) report_ = text;
}

TMediaInfoAnalysis::~TMediaInfoAnalysis() {
    if (!handle_) return;
    MediaInfo_Close(handle_);
    // Close only ends the file's analysis; Delete frees the object itself, so a
    // long session of requests does not keep one object per request alive.
    if (MediaInfo_Delete) MediaInfo_Delete(handle_);
}

}  // namespace vx
