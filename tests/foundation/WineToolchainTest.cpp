#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <mutex>
#include <thread>

#include "framework/JpegDecoder.h"

namespace {

std::vector<std::uint8_t> ReadFile(const char* path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Checks one decoded pixel against an expected colour with the tolerance of a
// high-quality JPEG.
void ExpectPixel(const vx::DecodedJpeg& jpeg, int x, int y, int r, int g, int b) {
    const std::uint8_t* p = jpeg.Pixels.data() + (static_cast<std::size_t>(y) * jpeg.Width + x) * 3;
    EXPECT_NEAR(p[2], r, 12) << "red at " << x << "," << y;
    EXPECT_NEAR(p[1], g, 12) << "green at " << x << "," << y;
    EXPECT_NEAR(p[0], b, 12) << "blue at " << x << "," << y;
}

}  // namespace

TEST(WineToolchain, DecodesJpegMadeAtBuildTime) {
    std::vector<std::uint8_t> data = ReadFile(VX_TEST_JPEG);
    ASSERT_FALSE(data.empty()) << "the build did not make " << VX_TEST_JPEG;
    vx::DecodedJpeg jpeg;
    std::string error;
    ASSERT_TRUE(vx::DecodeJpeg(data.data(), data.size(), jpeg, error)) << error;
    EXPECT_EQ(jpeg.Width, 64);
    EXPECT_EQ(jpeg.Height, 48);
    ExpectPixel(jpeg, 8, 8, 255, 0, 0);
    ExpectPixel(jpeg, 56, 8, 0, 255, 0);
    ExpectPixel(jpeg, 8, 40, 0, 0, 255);
    ExpectPixel(jpeg, 56, 40, 255, 255, 255);
}

TEST(WineToolchain, RejectsDataThatIsNotJpeg) {
    const std::uint8_t junk[] = {'B', 'M', 0, 1, 2, 3, 4, 5, 6, 7};
    vx::DecodedJpeg jpeg;
    std::string error;
    EXPECT_FALSE(vx::DecodeJpeg(junk, sizeof junk, jpeg, error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(jpeg.Width, 0);
    EXPECT_TRUE(jpeg.Pixels.empty());
}

TEST(WineToolchain, PosixThreadsAndWindowsRun) {
    std::mutex mutex;
    int counter = 0;
    std::thread worker([&] {
        std::lock_guard<std::mutex> lock(mutex);
        ++counter;
    });
    worker.join();
    EXPECT_EQ(counter, 1);

    // A window with a message loop works on the test display.
    HWND window = CreateWindowExW(0, L"STATIC", L"测试", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                                  nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    wchar_t text[16] = {};
    GetWindowTextW(window, text, 16);
    EXPECT_STREQ(text, L"测试");
    DestroyWindow(window);
}
