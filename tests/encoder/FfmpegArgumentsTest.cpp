// How the encoder's options become the engine's arguments and command line.

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "encoder/EncoderOptions.h"
#include "encoder/FfmpegArguments.h"

namespace vx {
namespace {

TEncoderOptions Options(const std::wstring& text) {
    std::wistringstream in(text);
    std::vector<std::wstring> args;
    for (std::wstring word; in >> word;) args.push_back(word);
    TParseResult r = ParseEncoderOptions(args);
    EXPECT_TRUE(r.Ok) << std::string(r.Error.begin(), r.Error.end());
    return r.Options;
}

std::wstring Joined(const std::vector<std::wstring>& args) {
    std::wstring text;
    for (const auto& a : args) text += (text.empty() ? L"" : L" ") + a;
    return text;
}

// The value that follows `name` in the argument list, or "(absent)".
std::wstring ValueOf(const std::vector<std::wstring>& args, const std::wstring& name) {
    auto it = std::find(args.begin(), args.end(), name);
    return it == args.end() || it + 1 == args.end() ? L"(absent)" : *(it + 1);
}

TEST(FfmpegArguments, XvidAviTemplate) {
    auto args = BuildFfmpegArguments(Options(
        L"C:\\In\\a.wmv -o D:\\Out\\a.avi -of avi -ovc xvid -xvidencopts bitrate=500:max_bframes=0:max_key_interval=250 "
        L"-ffourcc XVID -oac mp3lame -lameopts cbr:br=128 -srate 44100 -channels 2 -vf scale=320:240,harddup"));
    EXPECT_EQ(Joined(args),
              L"-hide_banner -nostdin -y -loglevel verbose -i file:C:\\In\\a.wmv "
              L"-c:v libxvid -b:v 500000 -g 250 -bf 0 -vf scale=320:240,setsar=1 -vtag XVID "
              L"-c:a libmp3lame -b:a 128000 -ar 44100 -ac 2 -f avi -progress pipe:1 -nostats file:D:\\Out\\a.avi");
}

TEST(FfmpegArguments, X264Mp4Template) {
    auto args = BuildFfmpegArguments(Options(
        L"a.mkv -o b.mp4 -of lavf -lavfopts format=mp4 -ovc x264 "
        L"-x264encopts bitrate=640:preset=fast:profile=main:level_idc=31:keyint=250:nocabac:frameref=2 "
        L"-oac faac -faacopts br=128:mpeg=4:object=2"));
    EXPECT_EQ(ValueOf(args, L"-c:v"), L"libx264");
    EXPECT_EQ(ValueOf(args, L"-preset"), L"fast");
    EXPECT_EQ(ValueOf(args, L"-profile:v"), L"main");
    EXPECT_EQ(ValueOf(args, L"-level"), L"3.1");
    EXPECT_EQ(ValueOf(args, L"-b:v"), L"640000");
    EXPECT_EQ(ValueOf(args, L"-refs"), L"2");
    EXPECT_EQ(ValueOf(args, L"-x264-params"), L"cabac=0");
    EXPECT_EQ(ValueOf(args, L"-pix_fmt"), L"yuv420p");
    EXPECT_EQ(ValueOf(args, L"-c:a"), L"aac");
    EXPECT_EQ(ValueOf(args, L"-b:a"), L"128000");
    EXPECT_EQ(ValueOf(args, L"-f"), L"mp4");
    // Progress goes to standard output, and the output is the very last argument.
    EXPECT_EQ(ValueOf(args, L"-progress"), L"pipe:1");
    EXPECT_EQ(args.back(), L"file:b.mp4");
}

TEST(FfmpegArguments, AudioOnlyAndCopies) {
    auto mp3 = BuildFfmpegArguments(Options(L"a.flv -o b.mp3 -of rawaudio -ovc copy -oac mp3lame -lameopts cbr:br=128"));
    EXPECT_NE(std::find(mp3.begin(), mp3.end(), L"-vn"), mp3.end());
    EXPECT_EQ(ValueOf(mp3, L"-c:v"), L"(absent)");
    EXPECT_EQ(ValueOf(mp3, L"-f"), L"mp3");

    auto aac = BuildFfmpegArguments(Options(L"a -o b.aac -of rawaudio -oac faac"));
    EXPECT_EQ(ValueOf(aac, L"-f"), L"adts");
    EXPECT_EQ(ValueOf(aac, L"-b:a"), L"128000");

    auto copy = BuildFfmpegArguments(Options(L"a -o b.avi -ovc copy -oac copy -srate 8000"));
    EXPECT_EQ(ValueOf(copy, L"-c:v"), L"copy");
    EXPECT_EQ(ValueOf(copy, L"-c:a"), L"copy");
    // A copied stream cannot be resampled: the rate is not asked for.
    EXPECT_EQ(ValueOf(copy, L"-ar"), L"(absent)");

    auto silent = BuildFfmpegArguments(Options(L"a -o b.avi -ovc lavc -nosound"));
    EXPECT_NE(std::find(silent.begin(), silent.end(), L"-an"), silent.end());
    EXPECT_EQ(ValueOf(silent, L"-c:v"), L"mpeg4");  // the lavc default
}

TEST(FfmpegArguments, LameVbrDefaultsAndVolume) {
    auto args = BuildFfmpegArguments(Options(L"a -o b -ovc copy -oac mp3lame -lameopts mode=3 -af volume=3.5"));
    EXPECT_EQ(ValueOf(args, L"-q:a"), L"4");
    EXPECT_EQ(ValueOf(args, L"-b:a"), L"(absent)");
    EXPECT_EQ(ValueOf(args, L"-ac"), L"1");
    EXPECT_EQ(ValueOf(args, L"-af"), L"volume=3.5dB");
    auto abr = BuildFfmpegArguments(Options(L"a -o b -ovc copy -oac mp3lame -lameopts abr:br=96 -channels 2"));
    EXPECT_EQ(ValueOf(abr, L"-b:a"), L"96000");
    EXPECT_EQ(ValueOf(abr, L"-abr"), L"1");
    EXPECT_EQ(ValueOf(abr, L"-ac"), L"2");
}

TEST(FfmpegArguments, TimingAndMpegContainer) {
    auto args = BuildFfmpegArguments(
        Options(L"a -o b.mpg -of mpeg -ovc lavc -lavcopts vcodec=mpeg2video:vqscale=3 -nosound -ss 90 -endpos 12.25"));
    // The start position seeks in the source (before -i); the length limits the output.
    auto ss = std::find(args.begin(), args.end(), L"-ss");
    auto input = std::find(args.begin(), args.end(), L"-i");
    ASSERT_NE(ss, args.end());
    EXPECT_LT(ss, input);
    EXPECT_EQ(*(ss + 1), L"90");
    EXPECT_EQ(ValueOf(args, L"-t"), L"12.25");
    EXPECT_EQ(ValueOf(args, L"-q:v"), L"3");
    EXPECT_EQ(ValueOf(args, L"-f"), L"vob");
}

TEST(FfmpegArguments, FilterChains) {
    EXPECT_EQ(BuildVideoFilterChain(Options(L"a -o b -ovc lavc -nosound -vf scale=320:-2")),
              L"scale=320:trunc(ow/dar/2)*2,setsar=1");
    EXPECT_EQ(BuildVideoFilterChain(Options(L"a -o b -ovc lavc -nosound -vf scale=-3:240")),
              L"scale=trunc(oh*dar/2)*2:240,setsar=1");
    EXPECT_EQ(BuildVideoFilterChain(Options(L"a -o b -ovc lavc -nosound -vf scale=0:240")), L"scale=iw:240,setsar=1");
    // Keeping both sides, and harddup alone, change nothing.
    EXPECT_EQ(BuildVideoFilterChain(Options(L"a -o b -ovc lavc -nosound -vf scale=-1:0,harddup")), L"");
    EXPECT_EQ(BuildVideoFilterChain(Options(L"a -o b -ovc lavc -nosound -vf expand=176:144")),
              L"scale=w=trunc(min(1\\,min(176/(iw*sar)\\,144/ih))*iw*sar/2)*2:"
              L"h=trunc(min(1\\,min(176/(iw*sar)\\,144/ih))*ih/2)*2,setsar=1,pad=176:144:(ow-iw)/2:(oh-ih)/2");
    auto args = BuildFfmpegArguments(Options(L"a -o b -ovc lavc -nosound -sws 2 -ofps 25"));
    EXPECT_EQ(ValueOf(args, L"-sws_flags"), L"bicubic");
    EXPECT_EQ(ValueOf(args, L"-r"), L"25");
    EXPECT_EQ(ValueOf(args, L"-vf"), L"(absent)");
}

TEST(FfmpegArguments, NominalRatesForTheStatusLine) {
    EXPECT_EQ(NominalVideoKbit(Options(L"a -o b -ovc lavc -lavcopts vbitrate=800 -oac faac")), 800);
    EXPECT_EQ(NominalAudioKbit(Options(L"a -o b -ovc lavc -lavcopts vbitrate=800 -oac faac")), 128);
    EXPECT_EQ(NominalAudioKbit(Options(L"a -o b -ovc lavc -oac mp3lame -lameopts vbr=2")), 0);
    EXPECT_EQ(NominalVideoKbit(Options(L"a -o b -ovc copy -oac copy")), 0);
}

TEST(FfmpegArguments, QuotesForTheWindowsCommandLine) {
    EXPECT_EQ(QuoteWindowsArgument(L"plain"), L"plain");
    EXPECT_EQ(QuoteWindowsArgument(L""), L"\"\"");
    EXPECT_EQ(QuoteWindowsArgument(L"a b"), L"\"a b\"");
    EXPECT_EQ(QuoteWindowsArgument(L"C:\\dir\\"), L"C:\\dir\\");  // no blank: left alone
    EXPECT_EQ(QuoteWindowsArgument(L"C:\\my dir\\"), L"\"C:\\my dir\\\\\"");
    EXPECT_EQ(QuoteWindowsArgument(L"say \"hi\""), L"\"say \\\"hi\\\"\"");
    EXPECT_EQ(QuoteWindowsArgument(L"a\\\"b"), L"\"a\\\\\\\"b\"");
    EXPECT_EQ(QuoteWindowsArgument(L"a\\\\b c"), L"\"a\\\\b c\"");  // inner backslashes stay single
    EXPECT_EQ(JoinWindowsCommandLine(L"C:\\Program Files\\x\\ffmpeg.exe", {L"-i", L"file:C:\\a b.avi"}),
              L"\"C:\\Program Files\\x\\ffmpeg.exe\" -i \"file:C:\\a b.avi\"");
}

}  // namespace
}  // namespace vx
