// The real MediaInfo.dll of the distribution (codecs\MediaInfo.dll beside this test
// program) on a clip made by the build: its report must become the tree the window
// shows, with the clip's real picture size. Skipped when the DLL has not been built.
#include "mediainfo/MediaInfoAnalysis.h"
#include "mediainfo/MediaInfoDllTesting.h"
#include "mediainfo/MediaInfoDll.h"
#include "mediainfo/VedioInfoModel.h"
#include "tests/mediainfo/MediaInfoTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace vx;

namespace {

bool FileExists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

const TInfoSection* FindSection(const TVedioInfoModel& m, const std::wstring& title) {
    for (const auto& s : m.Sections())
        if (s.Title == title) return &s;
    return nullptr;
}

// The digits of the value of the line that starts with `label`, or -1.
long NumberAfter(const TInfoSection& s, const std::wstring& label) {
    for (const auto& line : s.Lines) {
        if (line.rfind(label, 0) != 0) continue;
        std::wstring digits;
        for (wchar_t c : line.substr(label.size())) {
            if (c >= L'0' && c <= L'9') digits += c;
            else if (c != L' ') break;  // "1 920 pixels" groups thousands with spaces
        }
        return digits.empty() ? -1 : std::stol(digits);
    }
    return -1;
}

}  // namespace

TEST(RealMediaInfo, ReportsAGeneratedClip) {
    const std::wstring folder = vx::test::ProgramFolder();
    if (!FileExists(folder + MediaInfoLibraryPath))
        GTEST_SKIP() << "codecs\\MediaInfo.dll was not built (scripts/deps/mediainfo.sh), "
                        "so the real library cannot be tried";
    const std::wstring clip = folder + VX_TEST_CLIP;
    if (!FileExists(clip)) GTEST_SKIP() << "no test clip (ffmpeg was not found at build time)";

    // The program's own relative path, resolved by the library search.
    SetCurrentDirectoryW(folder.c_str());
    ASSERT_TRUE(LoadMediaInfoLibrary(MediaInfoLibraryPath));
    ASSERT_TRUE(MediaInfoAnalysisAvailable());
    for (void* slot : MediaInfoSlotValues()) EXPECT_NE(slot, nullptr);

    TMediaInfoAnalysis analysis(clip);
    const TVedioInfoModel model(analysis.Report());
    ASSERT_FALSE(model.Empty()) << "empty report";

    const TInfoSection* general = FindSection(model, L"概要");
    const TInfoSection* video = FindSection(model, L"视频");
    const TInfoSection* audio = FindSection(model, L"音频");
    ASSERT_TRUE(general && video && audio);
    EXPECT_EQ(model.Sections().front().Title, L"概要");

    const std::wstring completeName = std::wstring(L"完整名称") + InfoLabelSeparator + clip;
    EXPECT_NE(std::find(general->Lines.begin(), general->Lines.end(), completeName),
              general->Lines.end());
    EXPECT_EQ(NumberAfter(*video, std::wstring(L"画面宽度") + InfoLabelSeparator), VX_TEST_CLIP_WIDTH);
    EXPECT_EQ(NumberAfter(*video, std::wstring(L"画面高度") + InfoLabelSeparator), VX_TEST_CLIP_HEIGHT);
    EXPECT_EQ(NumberAfter(*audio, std::wstring(L"声道") + InfoLabelSeparator), 2);
}

TEST(RealMediaInfo, AFileThatIsNoMediaGivesNoSections) {
    const std::wstring folder = vx::test::ProgramFolder();
    if (!FileExists(folder + MediaInfoLibraryPath))
        GTEST_SKIP() << "codecs\\MediaInfo.dll was not built (scripts/deps/mediainfo.sh)";
    ASSERT_TRUE(MediaInfoReady(folder + MediaInfoLibraryPath));
    // A file that does not exist: the library writes no report for it.
    TMediaInfoAnalysis analysis(folder + L"no such clip.avi");
    const TVedioInfoModel model(analysis.Report());
    EXPECT_TRUE(model.Empty()) << "report: " << testing::PrintToString(analysis.Report());
}
