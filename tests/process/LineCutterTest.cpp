// Cutting a console program's output chunks into delivered lines.
#include "process/LineCutter.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace vx {
namespace {

using Delivery = std::pair<std::string, TOutputType>;
using Deliveries = std::vector<Delivery>;

class LineCutterTest : public ::testing::Test {
protected:
    void Cut(const std::string& chunk) {
        cutter_.CutChunk(chunk.data(), chunk.size(), [this](const std::string& line, TOutputType type) {
            got_.emplace_back(line, type);
        });
    }
    TLineCutter cutter_;
    Deliveries got_;
};

const TOutputType E = otEntireLine;
const TOutputType B = otBeginningOfLine;

TEST_F(LineCutterTest, MixedLineEndsInOneChunk) {
    Cut("a\r\nb\n");
    EXPECT_EQ(got_, (Deliveries{{"a", E}, {"b", E}}));
    EXPECT_EQ(cutter_.OutputReturnCode(), rcLF);
    EXPECT_EQ(cutter_.Pending(), "");
    Cut("c\r\n");
    EXPECT_EQ(cutter_.OutputReturnCode(), rcCRLF);
}

TEST_F(LineCutterTest, CrLfSplitBetweenChunksCountsOnce) {
    Cut("x\r");
    Cut("\ny");
    EXPECT_EQ(got_, (Deliveries{{"x", E}, {"y", B}}));
    EXPECT_EQ(cutter_.Pending(), "y");
    EXPECT_EQ(cutter_.OutputReturnCode(), rcLF);  // the CR was alone when it was cut
}

TEST_F(LineCutterTest, OnlyTheFirstLfAfterACrChunkIsDropped) {
    Cut("x\r");
    Cut("\n\nz\n");
    EXPECT_EQ(got_, (Deliveries{{"x", E}, {"", E}, {"z", E}}));
    // A chunk ending with a CR LF pair leaves no CR behind: the next LF is a line end.
    got_.clear();
    Cut("a\r\n");
    Cut("\nb\n");
    EXPECT_EQ(got_, (Deliveries{{"a", E}, {"", E}, {"b", E}}));
}

TEST_F(LineCutterTest, BareCarriageReturnsRewriteAStatusLine) {
    Cut("p1\rp2\rp3");
    EXPECT_EQ(got_, (Deliveries{{"p1", E}, {"p2", E}, {"p3", B}}));
    EXPECT_EQ(cutter_.OutputReturnCode(), rcLF);
}

TEST_F(LineCutterTest, TailIsDeliveredPartialThenCompleted) {
    Cut("ab");
    Cut("cd\n");
    EXPECT_EQ(got_, (Deliveries{{"ab", B}, {"abcd", E}}));
    EXPECT_EQ(cutter_.Pending(), "");
}

TEST_F(LineCutterTest, EmptyLinesAreDelivered) {
    Cut("x\r\n\r\n");
    EXPECT_EQ(got_, (Deliveries{{"x", E}, {"", E}}));
    got_.clear();
    Cut("\n\r\r");
    EXPECT_EQ(got_, (Deliveries{{"", E}, {"", E}, {"", E}}));
    EXPECT_TRUE(cutter_.EndedWithCr());
}

TEST_F(LineCutterTest, NulBytesAreDropped) {
    Cut(std::string("a\0b\0\n\0", 6));
    EXPECT_EQ(got_, (Deliveries{{"ab", E}}));
    // A NUL taken after a CR: the chunk did not end with a CR, so a leading LF counts.
    got_.clear();
    Cut(std::string("c\r\0", 3));
    Cut("\nd\n");
    EXPECT_EQ(got_, (Deliveries{{"c", E}, {"", E}, {"d", E}}));
}

TEST_F(LineCutterTest, PendingTextCarriesOverManyChunks) {
    Cut("Po");
    Cut("s: 1");
    Cut(std::string("\0", 1));  // nothing new: the unfinished text is handed on again
    Cut("2%\r");
    EXPECT_EQ(got_, (Deliveries{{"Po", B}, {"Pos: 1", B}, {"Pos: 1", B}, {"Pos: 12%", E}}));
}

TEST_F(LineCutterTest, StopQueryEndsTheChunkEarly) {
    int asked = 0;
    const std::string chunk = "a\nb\nc\n";
    cutter_.CutChunk(
        chunk.data(), chunk.size(), [this](const std::string& l, TOutputType t) { got_.emplace_back(l, t); },
        [&asked] { return ++asked > 3; });
    EXPECT_EQ(got_, (Deliveries{{"a", E}, {"b", B}}));
}

TEST_F(LineCutterTest, ResetForgetsTheEarlierRun) {
    Cut("abc\r");
    cutter_.Reset();
    Cut("\nx\n");
    EXPECT_EQ(got_, (Deliveries{{"abc", E}, {"", E}, {"x", E}}));
    EXPECT_EQ(cutter_.OutputReturnCode(), rcLF);
}

TEST_F(LineCutterTest, EchoedInputCompletesOrContinuesTheLine) {
    auto sink = [this](const std::string& l, TOutputType t) { got_.emplace_back(l, t); };
    cutter_.EchoInput("quit\r\n", false, sink);
    cutter_.EchoInput("ab", false, sink);
    cutter_.EchoInput("cd\n", true, sink);
    cutter_.EchoInput("x\ny", false, sink);  // first LF not at the end: not complete
    EXPECT_EQ(got_, (Deliveries{{"quit\r\n", E}, {"ab", B}, {"abcd\n", E}, {"x\ny", B}}));
    EXPECT_EQ(cutter_.Pending(), "x\ny");
    // Output that follows continues the echoed text.
    got_.clear();
    Cut("z\n");
    EXPECT_EQ(got_, (Deliveries{{"x\nyz", E}}));
}

TEST_F(LineCutterTest, EchoWithoutPartialReplacesThePendingText) {
    auto sink = [this](const std::string& l, TOutputType t) { got_.emplace_back(l, t); };
    Cut("tail");
    cutter_.EchoInput("in\n", false, sink);
    EXPECT_EQ(got_, (Deliveries{{"tail", B}, {"in\n", E}}));
    EXPECT_EQ(cutter_.Pending(), "");
}

// Splitting the same stream at every possible place yields the same complete lines.
TEST_F(LineCutterTest, CompleteLinesDoNotDependOnChunkBorders) {
    const std::string stream = "one\r\ntwo\rthree\n\r\nPos: 1s 2f (3%)\rVideo stream: x\r\n";
    const std::vector<std::string> expected = {"one", "two", "three", "", "Pos: 1s 2f (3%)", "Video stream: x"};
    for (size_t a = 0; a <= stream.size(); ++a) {
        for (size_t b = a; b <= stream.size(); ++b) {
            TLineCutter cutter;
            std::vector<std::string> entire;
            auto sink = [&entire](const std::string& l, TOutputType t) {
                if (t == otEntireLine) entire.push_back(l);
            };
            cutter.CutChunk(stream.data(), a, sink);
            cutter.CutChunk(stream.data() + a, b - a, sink);
            cutter.CutChunk(stream.data() + b, stream.size() - b, sink);
            ASSERT_EQ(entire, expected) << "borders at " << a << " and " << b;
        }
    }
}

}  // namespace
}  // namespace vx
