// Reading the engine's reports, and the lines the encoder prints from them: the status
// line, the closing stream lines and the failure lines.

#include <gtest/gtest.h>

#include <sstream>

#include "encoder/EncodeSession.h"
#include "encoder/FfmpegReport.h"
#include "encoder/StatusLines.h"

namespace vx {
namespace {

// The engine's log (standard error, verbose) of a 5-second clip converted to MP4.
const char* const kEngineLog = R"(Input #0, avi, from 'clip.avi':
  Metadata:
    encoder         : Lavf59.27.100
  Duration: 00:00:05.04, start: 0.000000, bitrate: 407 kb/s
    Stream #0:0: Video: mpeg4 (Simple Profile), 1 reference frame (FMP4 / 0x34504D46), yuv420p(left), 320x240 [SAR 1:1 DAR 4:3], 317 kb/s, 25 fps, 25 tbr, 25 tbn, 25 tbc
    Stream #0:1: Audio: mp3 (U[0][0][0] / 0x0055), 44100 Hz, mono, fltp, 64 kb/s
Stream mapping:
  Stream #0:0 -> #0:0 (mpeg4 (native) -> h264 (libx264))
  Stream #0:1 -> #0:1 (mp3 (mp3float) -> aac (native))
[libx264 @ 05022380] profile High, level 2.0, 4:2:0, 8-bit
Output #0, mp4, to 'out.mp4':
  Metadata:
    encoder         : Lavf58.24.101
    Stream #0:0: Video: h264 (libx264), 1 reference frame (avc1 / 0x31637661), yuv420p(left), 320x240 [SAR 1:1 DAR 4:3], q=-1--1, 500 kb/s, 12.5 fps, 12800 tbn, 12.5 tbc
    Metadata:
      encoder         : Lavc58.42.102 libx264
    Stream #0:1: Audio: aac (LC) (mp4a / 0x6134706D), 22050 Hz, mono, fltp, delay 1024, 96 kb/s
*** 1 dup!
No more output streams to write to, finishing.
frame=  126 fps=0.0 q=-1.0 Lsize=     253kB time=00:00:05.06 bitrate= 409.7kbits/s dup=1 drop=0 speed=7.37x
[AVIOContext @ 05006980] Statistics: 0 seeks, 2 writeouts
video:206kB audio:42kB subtitle:0kB other streams:0kB global headers:0kB muxing overhead: 2.186740%
Input file #0 (clip.avi):
  Input stream #0:0 (video): 125 packets read (198726 bytes); 125 frames decoded;
  Input stream #0:1 (audio): 193 packets read (40333 bytes); 193 frames decoded (222336 samples);
  Total: 318 packets (239059 bytes) demuxed
Output file #0 (out.mp4):
  Output stream #0:0 (video): 63 frames encoded; 63 packets muxed (210467 bytes);
  Output stream #0:1 (audio): 218 frames encoded (111168 samples); 219 packets muxed (43244 bytes);
  Total: 345 packets (253711 bytes) muxed
[AVIOContext @ 0500f780] Statistics: 322726 bytes read, 4 seeks
)";

void FeedLog(TEncodeSession& session, const std::string& text) {
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) session.AddLogLine(line);
}

std::optional<std::string> FeedBlock(TEncodeSession& s, long long frame, long long us, long long size, bool end,
                                     double elapsed) {
    s.AddProgressLine("frame=" + std::to_string(frame), elapsed);
    s.AddProgressLine("fps=0.00", elapsed);
    s.AddProgressLine("bitrate= 409.7kbits/s", elapsed);
    s.AddProgressLine("total_size=" + std::to_string(size), elapsed);
    s.AddProgressLine("out_time_us=" + std::to_string(us), elapsed);
    s.AddProgressLine("out_time_ms=" + std::to_string(us), elapsed);
    s.AddProgressLine("out_time=00:00:00.000000", elapsed);
    return s.AddProgressLine(end ? "progress=end" : "progress=continue", elapsed);
}

TEncoderOptions Mp4Options() {
    TParseResult r = ParseEncoderOptions({L"clip.avi", L"-o", L"out.mp4", L"-of", L"lavf", L"-ovc", L"x264",
                                          L"-x264encopts", L"bitrate=500", L"-oac", L"faac", L"-faacopts", L"br=96"});
    EXPECT_TRUE(r.Ok);
    return r.Options;
}

TEST(FfmpegReport, ReadsDurationRatesAndTotals) {
    TEncodeSession session(Mp4Options());
    FeedLog(session, kEngineLog);
    const TFfmpegReport& r = session.EngineReport();
    EXPECT_DOUBLE_EQ(r.InputDuration(), 5.04);
    // The output's rates, not the source's (25 fps, 44100 Hz).
    EXPECT_DOUBLE_EQ(r.OutputFps(), 12.5);
    EXPECT_EQ(r.OutputSampleRate(), 22050);
    EXPECT_TRUE(r.VideoTotals().Seen);
    EXPECT_EQ(r.VideoTotals().Bytes, 210467);
    EXPECT_EQ(r.VideoTotals().Frames, 63);
    EXPECT_EQ(r.AudioTotals().Bytes, 43244);
    EXPECT_EQ(r.AudioTotals().Samples, 111168);
    // The failure explanation keeps the last lines, without the I/O statistics.
    ASSERT_FALSE(r.RecentLines().empty());
    EXPECT_EQ(r.RecentLines().back().rfind("Total: 345 packets", 0), 0u);
}

TEST(FfmpegReport, ShortSummaryStandsInForMissingTotalsAndCopiedStreamsCountPackets) {
    TFfmpegReport r;
    r.AddLogLine("video:206kB audio:42kB subtitle:0kB other streams:0kB global headers:0kB muxing overhead: 2%");
    EXPECT_EQ(r.VideoTotals().Bytes, 206 * 1024);
    EXPECT_EQ(r.AudioTotals().Bytes, 42 * 1024);
    EXPECT_DOUBLE_EQ(r.InputDuration(), -1);

    TFfmpegReport copy;
    copy.AddLogLine("video:206kB audio:42kB");
    copy.AddLogLine("Output file #0 (b.avi):");
    copy.AddLogLine("  Output stream #0:0 (video): 0 frames encoded; 125 packets muxed (198726 bytes); ");
    EXPECT_EQ(copy.VideoTotals().Frames, 125);
    EXPECT_EQ(copy.VideoTotals().Bytes, 198726);
    // The detailed report replaces the short one entirely: no audio line, no audio.
    EXPECT_FALSE(copy.AudioTotals().Seen);
}

TEST(FfmpegReport, DurationOnlyFromTheSourceAndClockTimes) {
    TFfmpegReport r;
    r.AddLogLine("Output #0, avi, to 'x.avi':");
    r.AddLogLine("  Duration: 00:00:09.00, start: 0");
    EXPECT_LT(r.InputDuration(), 0);
    r.AddLogLine("Input #0, flv, from 'x.flv':");
    r.AddLogLine("  Duration: N/A, start: 0.000000, bitrate: N/A");
    EXPECT_LT(r.InputDuration(), 0);
    EXPECT_DOUBLE_EQ(ParseClockTime("01:02:03.50"), 3723.5);
    EXPECT_LT(ParseClockTime("N/A"), 0);
    EXPECT_LT(ParseClockTime("00:61:00"), 0);
}

TEST(EncodeSession, StatusLineFromAProgressBlock) {
    TEncodeSession session(Mp4Options());
    FeedLog(session, "Input #0, avi, from 'clip.avi':\n  Duration: 00:00:10.00, start: 0.000000\n");
    // Keys before "progress=" only collect; the block ends with it.
    EXPECT_FALSE(session.AddProgressLine("frame=10", 1.0).has_value());
    auto line = FeedBlock(session, 308, 2'500'000, 1'048'576, false, 2.0);
    ASSERT_TRUE(line.has_value());
    // 2.5 of 10 s after 2 s: 25 %, 6 more seconds (0 min), 4 MiB expected.
    EXPECT_EQ(*line, "Pos:   2.5s    308f (25%) 154.00fps Trem:   0min   4mb  A-V:0.000 [500:96]");
}

TEST(EncodeSession, PercentFollowsStartAndEndPosition) {
    TParseResult r = ParseEncoderOptions(
        {L"a", L"-o", L"b", L"-ovc", L"copy", L"-nosound", L"-ss", L"4", L"-endpos", L"3"});
    ASSERT_TRUE(r.Ok);
    TEncodeSession session(r.Options);
    FeedLog(session, "Input #0, avi, from 'a':\n  Duration: 00:00:10.00, start: 0.000000\n");
    EXPECT_DOUBLE_EQ(session.ExpectedDuration(), 3);
    FeedBlock(session, 30, 1'500'000, 0, false, 1);
    EXPECT_EQ(session.Snapshot(1).Percent, 50);
    // Past the end (the engine's last frame runs a little over) it stays at 100.
    FeedBlock(session, 80, 3'080'000, 0, true, 2);
    EXPECT_EQ(session.Snapshot(2).Percent, 100);

    // An unknown source length shows 0 % rather than a guess.
    TEncodeSession unknown(r.Options);
    FeedBlock(unknown, 30, 1'500'000, 0, false, 1);
    r.Options.EndPosition = -1;
    TEncodeSession noEnd(r.Options);
    FeedBlock(noEnd, 30, 1'500'000, 0, false, 1);
    EXPECT_EQ(noEnd.Snapshot(1).Percent, 0);
    EXPECT_EQ(unknown.Snapshot(1).Percent, 50);  // -endpos alone gives the length
}

TEST(EncodeSession, SuccessEndsWithTheStreamLines) {
    TEncodeSession session(Mp4Options());
    FeedLog(session, kEngineLog);
    FeedBlock(session, 63, 5'061'950, 259'259, true, 0.7);
    TSessionOutcome outcome = session.Finish(0, true, 0.7);
    ASSERT_TRUE(outcome.Ok);
    ASSERT_EQ(outcome.Lines.size(), 4u);
    EXPECT_EQ(outcome.Lines[0].substr(0, 27), L"Pos:   5.1s     63f (100%) ");
    EXPECT_EQ(outcome.Lines[1], L"");
    // 63 frames at 12.5 fps are 5.04 s; 111168 samples at 22050 Hz are 5.042 s.
    EXPECT_EQ(outcome.Lines[2],
              L"Video stream:  334.075 kbit/s  (41759 B/s)  size: 210467 bytes  5.040 secs  63 frames");
    EXPECT_EQ(outcome.Lines[3], L"Audio stream:   68.619 kbit/s  (8577 B/s)  size: 43244 bytes  5.042 secs");
}

TEST(EncodeSession, WithoutSoundTheVideoLineIsLast) {
    TParseResult r = ParseEncoderOptions({L"a", L"-o", L"b", L"-ovc", L"lavc", L"-nosound"});
    ASSERT_TRUE(r.Ok);
    TEncodeSession session(r.Options);
    FeedLog(session, kEngineLog);
    TSessionOutcome outcome = session.Finish(0, true, 1);
    ASSERT_TRUE(outcome.Ok);
    EXPECT_EQ(outcome.Lines.back().substr(0, 13), L"Video stream:");
}

TEST(EncodeSession, FailuresEndWithTheReasonAndNoStreamLine) {
    TEncodeSession failed(Mp4Options());
    FeedLog(failed, "Input #0, avi, from 'clip.avi':\n"
                    "[mp4 @ 0a] Could not find tag for codec wmav2 in stream #1\n"
                    "Could not write header for output file #0 (incorrect codec parameters ?): Invalid argument\n"
                    "[AVIOContext @ 0b] Statistics: 0 seeks, 0 writeouts\n"
                    "Conversion failed!\n");
    TSessionOutcome outcome = failed.Finish(1, true, 1);
    EXPECT_FALSE(outcome.Ok);
    ASSERT_GE(outcome.Lines.size(), 2u);
    EXPECT_EQ(outcome.Lines.back(), L"Exiting... (the engine failed with exit code 1)");
    EXPECT_EQ(outcome.Lines[outcome.Lines.size() - 2], L"ffmpeg: Conversion failed!");
    for (const auto& line : outcome.Lines) EXPECT_EQ(line.find(L"Statistics"), std::wstring::npos);

    // A zero exit code is not enough: there must be an output and a stream in it.
    TEncodeSession noFile(Mp4Options());
    FeedLog(noFile, kEngineLog);
    EXPECT_FALSE(noFile.Finish(0, false, 1).Ok);
    TEncodeSession noStream(Mp4Options());
    FeedLog(noStream, "Input #0, avi, from 'clip.avi':\n");
    TSessionOutcome empty = noStream.Finish(0, true, 1);
    EXPECT_FALSE(empty.Ok);
    EXPECT_EQ(empty.Lines.back(), L"Exiting... (the engine wrote no stream)");
}

TEST(EncodeSession, BannerNamesSourceOutputAndCodecs) {
    TParseResult r = ParseEncoderOptions({L"C:\\视频\\a.avi", L"-o", L"D:\\b.mp4", L"-ovc", L"x264", L"-x264encopts",
                                          L"bitrate=384", L"-oac", L"faac", L"-v"});
    ASSERT_TRUE(r.Ok);
    auto lines = TEncodeSession(r.Options).BannerLines(L"\"ffmpeg.exe\" -i x");
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[1], L"Source: C:\\视频\\a.avi");
    EXPECT_EQ(lines[2], L"Output: D:\\b.mp4 (x264 384 kbit/s, faac 128 kbit/s)");
    EXPECT_EQ(lines[3], L"Engine: \"ffmpeg.exe\" -i x");
}

TEST(StatusLines, FieldsStayInShapeForExtremeValues) {
    TStatusSnapshot s;
    s.PositionSeconds = 12.34;
    s.Frames = 308;
    s.Percent = 5;
    s.FramesPerSecond = 48.2;
    s.RemainingMinutes = 1;
    s.EstimatedMegabytes = 12;
    s.VideoKbit = 800;
    s.AudioKbit = 128;
    EXPECT_EQ(FormatStatusLine(s), "Pos:  12.3s    308f ( 5%)  48.20fps Trem:   1min  12mb  A-V:0.000 [800:128]");
    s.Percent = 250;
    s.PositionSeconds = -3;
    s.Frames = -1;
    s.RemainingMinutes = 1 << 30;
    EXPECT_EQ(FormatStatusLine(s), "Pos:   0.0s      0f (100%)  48.20fps Trem:9999min  12mb  A-V:0.000 [800:128]");
    // A stream of no duration has no rate rather than a division by zero.
    EXPECT_EQ(FormatAudioStreamLine({1000, 0, 0}),
              "Audio stream:    0.000 kbit/s  (0 B/s)  size: 1000 bytes  0.000 secs");
}

TEST(EncodeSession, Utf8LogText) {
    EXPECT_EQ(WidenUtf8("\xE8\xA7\x86\xE9\xA2\x91 ok"), L"视频 ok");
    EXPECT_EQ(WidenUtf8("a\xFF" "b"), L"a\xFFFD" L"b");
    EXPECT_EQ(WidenUtf8("\xE8\xA7"), L"\xFFFD\xFFFD");       // cut short
    EXPECT_EQ(WidenUtf8("\xC0\xAF"), L"\xFFFD\xFFFD");       // over-long form
    EXPECT_EQ(WidenUtf8("\xF0\x9F\x8E\xAC").size(), sizeof(wchar_t) == 2 ? 2u : 1u);
}

}  // namespace
}  // namespace vx
