// The run-time binding of the MediaInfo library, against the stand-in library.
#include "mediainfo/MediaInfoAnalysis.h"
#include "mediainfo/MediaInfoDllTesting.h"
#include "mediainfo/MediaInfoDll.h"
#include "mediainfo/VedioInfoModel.h"
#include "tests/mediainfo/MediaInfoTestSupport.h"
#include "framework/Handles.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <set>

using namespace vx;
using vx::test::FakeLibrary;
using vx::test::ProgramFolder;

namespace {

// The names in the order the binding resolves them.
const char* const kEntryPoints[20] = {
    "MediaInfo_New",        "MediaInfo_Delete",     "MediaInfo_Open",     "MediaInfo_Close",
    "MediaInfo_Inform",     "MediaInfo_GetI",       "MediaInfo_Get",      "MediaInfo_Option",
    "MediaInfo_State_Get",  "MediaInfo_Count_Get",  "MediaInfoA_New",     "MediaInfoA_Delete",
    "MediaInfoA_Open",      "MediaInfoA_Close",     "MediaInfoA_Inform",  "MediaInfoA_GetI",
    "MediaInfoA_Get",       "MediaInfoA_Option",    "MediaInfoA_State_Get", "MediaInfoA_Count_Get",
};

bool AllSlotsEmpty() {
    for (void* p : MediaInfoSlotValues())
        if (p) return false;
    return true;
}

template <class F>
F FakeControl(const char* name) {
    HMODULE h = MediaInfoLibraryHandle();
    return reinterpret_cast<F>(reinterpret_cast<void (*)()>(GetProcAddress(h, name)));
}

// Every test starts as a fresh process would: no library held, every slot empty.
// What a test loaded is unloaded again, so the next one can load another variant.
class MediaInfoBinding : public ::testing::Test {
protected:
    void SetUp() override { ForgetMediaInfoLibrary(); }
    void TearDown() override {
        HMODULE h = MediaInfoLibraryHandle();
        ForgetMediaInfoLibrary();
        if (h && !alreadyFreed_) FreeLibrary(h);
    }
    bool alreadyFreed_ = false;
};

}  // namespace

TEST_F(MediaInfoBinding, ResolvesTheTwentyNamesInOrder) {
    const std::wstring path = FakeLibrary(L"full");
    ASSERT_TRUE(LoadMediaInfoLibrary(path));
    HMODULE h = MediaInfoLibraryHandle();
    ASSERT_NE(h, nullptr);
    const auto slots = MediaInfoSlotValues();
    std::set<void*> distinct;
    for (int i = 0; i < 20; ++i) {
        void* expected = reinterpret_cast<void*>(GetProcAddress(h, kEntryPoints[i]));
        ASSERT_NE(expected, nullptr) << kEntryPoints[i];
        EXPECT_EQ(slots[i], expected) << "slot " << i << " should hold " << kEntryPoints[i];
        distinct.insert(slots[i]);
    }
    EXPECT_EQ(distinct.size(), 20u);
    EXPECT_TRUE(MediaInfoAnalysisAvailable());
}

TEST_F(MediaInfoBinding, LoadsOnceButResolvesOnEveryCall) {
    const std::wstring path = FakeLibrary(L"full");
    ASSERT_TRUE(LoadMediaInfoLibrary(path));
    HMODULE first = MediaInfoLibraryHandle();
    const auto before = MediaInfoSlotValues();

    // Slots spoilt between two requests come back with the same pointers.
    MediaInfo_Inform = nullptr;
    MediaInfoA_Count_Get = nullptr;
    MediaInfo_New = reinterpret_cast<TMediaInfo_New>(reinterpret_cast<void (*)()>(&AllSlotsEmpty));
    ASSERT_TRUE(LoadMediaInfoLibrary(path));
    EXPECT_EQ(MediaInfoLibraryHandle(), first);
    EXPECT_EQ(MediaInfoSlotValues(), before);

    // One release unloads the library: the second request did not load it again.
    ASSERT_NE(GetModuleHandleW(path.c_str()), nullptr);
    FreeLibrary(first);
    alreadyFreed_ = true;
    EXPECT_EQ(GetModuleHandleW(path.c_str()), nullptr) << "the library was loaded more than once";
}

TEST_F(MediaInfoBinding, KeepsTheFirstLibraryForLaterPaths) {
    ASSERT_TRUE(LoadMediaInfoLibrary(FakeLibrary(L"full")));
    HMODULE first = MediaInfoLibraryHandle();
    ASSERT_TRUE(LoadMediaInfoLibrary(FakeLibrary(L"no-inform")));
    EXPECT_EQ(MediaInfoLibraryHandle(), first);
    EXPECT_NE(MediaInfo_Inform, nullptr);
    EXPECT_EQ(GetModuleHandleW(FakeLibrary(L"no-inform").c_str()), nullptr);
}

TEST_F(MediaInfoBinding, AbsentLibraryThenPresentWithoutRestart) {
    const std::wstring folder = ProgramFolder() + L"late-" + std::to_wstring(GetCurrentProcessId());
    const std::wstring path = folder + L"\\MediaInfo.dll";
    CreateDirectoryW(folder.c_str(), nullptr);
    DeleteFileW(path.c_str());

    EXPECT_FALSE(LoadMediaInfoLibrary(path));
    EXPECT_FALSE(LoadMediaInfoLibrary(path));
    EXPECT_EQ(MediaInfoLibraryHandle(), nullptr);
    EXPECT_TRUE(AllSlotsEmpty());
    EXPECT_FALSE(MediaInfoReady(path));

    ASSERT_TRUE(CopyFileW(FakeLibrary(L"full").c_str(), path.c_str(), FALSE));
    EXPECT_TRUE(LoadMediaInfoLibrary(path));
    EXPECT_NE(MediaInfoLibraryHandle(), nullptr);
    EXPECT_NE(MediaInfo_New, nullptr);
    EXPECT_NE(MediaInfoA_Count_Get, nullptr);
    EXPECT_TRUE(MediaInfoReady(path));

    HMODULE h = MediaInfoLibraryHandle();
    ForgetMediaInfoLibrary();
    FreeLibrary(h);
    DeleteFileW(path.c_str());
    RemoveDirectoryW(folder.c_str());
}

TEST_F(MediaInfoBinding, AFileThatIsNoLibraryCountsAsAbsent) {
    const std::wstring path = ProgramFolder() + L"not-a-library-" +
                              std::to_wstring(GetCurrentProcessId()) + L".dll";
    {
        const THandle f(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        ASSERT_TRUE(f.Valid());
        DWORD written = 0;
        WriteFile(f.Get(), "General\r\n", 9, &written, nullptr);
    }
    EXPECT_FALSE(LoadMediaInfoLibrary(path));
    EXPECT_TRUE(AllSlotsEmpty());
    DeleteFileW(path.c_str());
}

TEST_F(MediaInfoBinding, AMissingAnalysisCallMeansNoLibrary) {
    for (const wchar_t* variant : {L"no-inform", L"no-close"}) {
        SCOPED_TRACE(variant[3] == L'i' ? "variant without MediaInfo_Inform"
                                        : "variant without MediaInfo_Close");
        ForgetMediaInfoLibrary();
        // The loader itself still reports the library as held ...
        ASSERT_TRUE(LoadMediaInfoLibrary(FakeLibrary(variant)));
        EXPECT_NE(MediaInfo_New, nullptr);
        EXPECT_NE(MediaInfo_Open, nullptr);
        EXPECT_NE(MediaInfo_Option, nullptr);
        // ... but an analysis is not attempted.
        EXPECT_FALSE(MediaInfoAnalysisAvailable());
        EXPECT_FALSE(MediaInfoReady(FakeLibrary(variant)));
        HMODULE h = MediaInfoLibraryHandle();
        ForgetMediaInfoLibrary();
        FreeLibrary(h);
    }
    EXPECT_TRUE(MediaInfoReady(FakeLibrary(L"full")));
    EXPECT_NE(MediaInfo_Inform, nullptr);
}

TEST_F(MediaInfoBinding, UnusedNamesMayBeMissing) {
    // A library with only the wide family still serves an analysis.
    ASSERT_TRUE(MediaInfoReady(FakeLibrary(L"wide-only")));
    const auto slots = MediaInfoSlotValues();
    for (int i = 0; i < 10; ++i) EXPECT_NE(slots[i], nullptr) << kEntryPoints[i];
    for (int i = 10; i < 20; ++i) EXPECT_EQ(slots[i], nullptr) << kEntryPoints[i];
}

TEST_F(MediaInfoBinding, AnalysisMakesTheCallsInOrderAndClosesWhenDone) {
    ASSERT_TRUE(MediaInfoReady(FakeLibrary(L"full")));
    auto setReport = FakeControl<void(__stdcall*)(const wchar_t*)>("FakeMediaInfo_SetReport");
    auto callLog = FakeControl<const wchar_t*(__stdcall*)()>("FakeMediaInfo_CallLog");
    auto clearLog = FakeControl<void(__stdcall*)()>("FakeMediaInfo_ClearCallLog");
    auto alive = FakeControl<int(__stdcall*)()>("FakeMediaInfo_ObjectsAlive");
    ASSERT_TRUE(setReport && callLog && clearLog && alive);

    setReport(L"General\r\nComplete name : D:\\视频\\片段 1.avi\r\n\r\nAudio #2\r\n");
    clearLog();
    {
        TMediaInfoAnalysis analysis(L"D:\\视频\\片段 1.avi");
        EXPECT_EQ(std::wstring(callLog()),
                  L"New;Open(D:\\视频\\片段 1.avi);Option(Complete=);Inform(0);");
        // The report is a copy: changing the library's text later does not touch it.
        setReport(L"changed");
        EXPECT_EQ(analysis.Report(),
                  L"General\r\nComplete name : D:\\视频\\片段 1.avi\r\n\r\nAudio #2\r\n");
        TVedioInfoModel model(analysis.Report());
        ASSERT_EQ(model.Sections().size(), 2u);
        EXPECT_EQ(model.Sections()[0].Title, L"概要");
        EXPECT_THAT(model.Sections()[0].Lines, testing::ElementsAre(L"完整名称：D:\\视频\\片段 1.avi"));
        EXPECT_EQ(model.Sections()[1].Title, L"Audio #2");
        EXPECT_EQ(alive(), 1);
    }
    EXPECT_EQ(std::wstring(callLog()),
              L"New;Open(D:\\视频\\片段 1.avi);Option(Complete=);Inform(0);Close;Delete;");
    EXPECT_EQ(alive(), 0);
}
