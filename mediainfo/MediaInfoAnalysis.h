#pragma once
// One analysis of one file by the MediaInfo library, through the slots of the binding.
// Making the object runs the calls that produce the text report (New, Open, the
// "Complete" option with an empty value for the library's normal report, Inform);
// destroying it closes the analysis, so the handle lives exactly as long as the
// caller shows the report.

#include <string>

namespace vx {

class TMediaInfoAnalysis {
public:
    // The binding must hold a library with every analysis entry point
    // (MediaInfoAnalysisAvailable()).
    explicit TMediaInfoAnalysis(const std::wstring& fileName);
    ~TMediaInfoAnalysis();
    TMediaInfoAnalysis(const TMediaInfoAnalysis&) = delete;
    TMediaInfoAnalysis& operator=(const TMediaInfoAnalysis&) = delete;

    // The library's report, copied when the analysis ran; empty when the library
    // gave none.
    const std::wstring& Report() const { return report_; }

private:
    void* handle_ = nullptr;
    std::wstring report_;
};

// Loads the library from `libraryPath` when needed and tells whether an analysis can
// run: false when the library is missing or lacks one of the analysis calls.
bool MediaInfoReady(const std::wstring& libraryPath);

}  // namespace vx
