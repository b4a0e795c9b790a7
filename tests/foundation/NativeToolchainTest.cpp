#include <gtest/gtest.h>

#include <string>
#include <vector>

// The native configuration builds with the sanitizers on; an out-of-bounds read in a
// platform-free library must be caught, not pass silently. This test only proves that
// the configuration compiles C++20 and runs GoogleTest.
TEST(NativeToolchain, CompilesCpp20AndRunsTests) {
    std::vector<int> values{3, 1, 2};
    std::erase(values, 1);  // C++20 library
    EXPECT_EQ(values, (std::vector<int>{3, 2}));
    EXPECT_TRUE(std::string("Vexlo").starts_with("Vex"));
}
