// The encoder's option language: what it accepts, what it refuses and why.

#include <gtest/gtest.h>

#include <sstream>

#include "encoder/EncoderOptions.h"

namespace vx {
namespace {

// Splits a template-like text on blanks (no quoting needed in these cases).
std::vector<std::wstring> Args(const std::wstring& text) {
    std::wistringstream in(text);
    std::vector<std::wstring> args;
    for (std::wstring word; in >> word;) args.push_back(word);
    return args;
}

TParseResult Parse(const std::wstring& text) { return ParseEncoderOptions(Args(text)); }

TEncoderOptions ParseOk(const std::wstring& text) {
    TParseResult r = Parse(text);
    EXPECT_TRUE(r.Ok) << std::string(r.Error.begin(), r.Error.end());
    return r.Options;
}

// The error must name what is wrong.
void ExpectError(const std::wstring& text, const std::wstring& part) {
    TParseResult r = Parse(text);
    EXPECT_FALSE(r.Ok) << "accepted: " << std::string(text.begin(), text.end());
    EXPECT_NE(r.Error.find(part), std::wstring::npos)
        << "error \"" << std::string(r.Error.begin(), r.Error.end()) << "\" lacks \""
        << std::string(part.begin(), part.end()) << "\"";
}

TEST(EncoderOptions, ReadsAHandheldMp4Template) {
    TEncoderOptions o = ParseOk(
        L"in.avi -o out.mp4 -of lavf -lavfopts format=mp4 -ovc x264 "
        L"-x264encopts bitrate=384:preset=fast:profile=baseline:level_idc=30:keyint=250 "
        L"-oac faac -faacopts br=96:mpeg=4:object=2 -srate 44100 -channels 2 "
        L"-vf scale=320:-2,expand=320:240,harddup");
    EXPECT_EQ(o.Source, L"in.avi");
    EXPECT_EQ(o.Output, L"out.mp4");
    EXPECT_EQ(o.Container, TContainer::ctLavf);
    EXPECT_EQ(o.LavfFormat, L"mp4");
    EXPECT_EQ(o.VideoEncoder, TVideoEncoder::veX264);
    EXPECT_EQ(o.VideoBitrate, 384000);
    EXPECT_EQ(o.X264Preset, L"fast");
    EXPECT_EQ(o.X264Profile, L"baseline");
    EXPECT_EQ(o.X264Level, L"3.0");
    EXPECT_EQ(o.KeyInterval, 250);
    EXPECT_EQ(o.AudioEncoder, TAudioEncoder::aeFaac);
    EXPECT_EQ(o.AudioBitrate, 96000);
    EXPECT_EQ(o.SampleRate, 44100);
    EXPECT_EQ(o.Channels, 2);
    ASSERT_EQ(o.Filters.size(), 3u);
    EXPECT_EQ(o.Filters[0].Kind, TVideoFilter::vfScale);
    EXPECT_EQ(o.Filters[0].Width, 320);
    EXPECT_EQ(o.Filters[0].Height, -2);
    EXPECT_EQ(o.Filters[1].Kind, TVideoFilter::vfExpand);
    EXPECT_EQ(o.Filters[1].Height, 240);
    EXPECT_EQ(o.Filters[2].Kind, TVideoFilter::vfHarddup);
}

TEST(EncoderOptions, VideoBitRatesAboveSixteenThousandAreBitsPerSecond) {
    EXPECT_EQ(ParseOk(L"a -o b -ovc lavc -lavcopts vbitrate=800 -nosound").VideoBitrate, 800000);
    EXPECT_EQ(ParseOk(L"a -o b -ovc lavc -lavcopts vbitrate=16000 -nosound").VideoBitrate, 16000000);
    EXPECT_EQ(ParseOk(L"a -o b -ovc lavc -lavcopts vbitrate=16001 -nosound").VideoBitrate, 16001);
    EXPECT_EQ(ParseOk(L"a -o b -ovc xvid -xvidencopts bitrate=900000 -nosound").VideoBitrate, 900000);
}

TEST(EncoderOptions, OneLavcGroupCarriesVideoAndAudioChoices) {
    TEncoderOptions o = ParseOk(
        L"a.mpg -o b.3gp -of lavf -lavfopts format=3gp -ovc lavc "
        L"-lavcopts vcodec=h263:vbitrate=128:acodec=libopencore_amrnb:abitrate=12:mbd=2:trell:v4mv:autoaspect "
        L"-oac lavc -srate 8000 -channels 1 -ofps 15");
    EXPECT_EQ(o.LavcVideoCodec, L"h263");
    EXPECT_EQ(o.LavcAudioCodec, L"libopencore_amrnb");
    EXPECT_EQ(o.AudioBitrate, 12000);
    EXPECT_EQ(o.MacroblockDecision, 2);
    EXPECT_TRUE(o.Trellis);
    EXPECT_TRUE(o.FourMotionVectors);
    EXPECT_EQ(o.OutputFps, L"15");
    // The old AAC encoder's name stands for the engine's own.
    EXPECT_EQ(ParseOk(L"a -o b -ovc copy -oac lavc -lavcopts acodec=libfaac").LavcAudioCodec, L"aac");
}

TEST(EncoderOptions, LameModes) {
    TEncoderOptions cbr = ParseOk(L"a -o b.avi -ovc copy -oac mp3lame -lameopts cbr:br=192:mode=3");
    EXPECT_EQ(cbr.LameMode, TLameMode::lmCbr);
    EXPECT_EQ(cbr.AudioBitrate, 192000);
    EXPECT_TRUE(cbr.Mono);
    TEncoderOptions vbr = ParseOk(L"a -o b.avi -ovc copy -oac mp3lame -lameopts vbr=2:q=3");
    EXPECT_EQ(vbr.LameMode, TLameMode::lmVbr);
    EXPECT_EQ(vbr.AudioQuality, 3);
    EXPECT_FALSE(vbr.Mono);
    EXPECT_EQ(ParseOk(L"a -o b -ovc copy -oac mp3lame -lameopts abr:br=96").LameMode, TLameMode::lmAbr);
}

TEST(EncoderOptions, TimesAndFrameRates) {
    TEncoderOptions o = ParseOk(L"a -o b -ovc copy -nosound -ss 1:02.5 -endpos 00:00:10 -ofps 30000/1001");
    EXPECT_DOUBLE_EQ(o.StartTime, 62.5);
    EXPECT_DOUBLE_EQ(o.EndPosition, 10);
    EXPECT_EQ(o.OutputFps, L"30000/1001");
    ExpectError(L"a -o b -ovc copy -nosound -ofps 0", L"-ofps");
    ExpectError(L"a -o b -ovc copy -nosound -ofps 25/0", L"-ofps");
    ExpectError(L"a -o b -ovc copy -nosound -endpos 0", L"-endpos");
    ExpectError(L"a -o b -ovc copy -nosound -ss 1:75", L"-ss");
    ExpectError(L"a -o b -ovc copy -nosound -endpos 10mb", L"-endpos");
}

TEST(EncoderOptions, AudioOnlyOutputNeedsNoVideoEncoder) {
    TEncoderOptions o = ParseOk(L"a.flv -o b.mp3 -of rawaudio -oac mp3lame -lameopts cbr:br=128");
    EXPECT_TRUE(o.NoVideo);
    ExpectError(L"a.flv -o b.mp3 -of rawaudio -oac mp3lame -nosound", L"-nosound");
    ExpectError(L"a.flv -o b.mp3 -of rawaudio -ovc copy -oac lavc -lavcopts acodec=wmav2", L"rawaudio");
}

TEST(EncoderOptions, FiltersAndVolume) {
    TEncoderOptions o = ParseOk(L"a -o b -ovc lavc -oac pcm -vf scale=-3:240 -af volume=-6.5 -sws 9");
    ASSERT_EQ(o.Filters.size(), 1u);
    EXPECT_EQ(o.Filters[0].Width, -3);
    EXPECT_TRUE(o.HasVolume);
    EXPECT_DOUBLE_EQ(o.VolumeDb, -6.5);
    EXPECT_EQ(o.Scaler, 9);
    // A later -vf replaces the earlier chain.
    EXPECT_EQ(ParseOk(L"a -o b -ovc lavc -nosound -vf scale=1:2,harddup -vf harddup").Filters.size(), 1u);
    ExpectError(L"a -o b -ovc lavc -nosound -vf scale=-2:-2", L"scale");
    ExpectError(L"a -o b -ovc lavc -nosound -vf scale=320:abc", L"abc");
    ExpectError(L"a -o b -ovc lavc -nosound -vf expand=320", L"expand");
    ExpectError(L"a -o b -ovc lavc -nosound -vf crop=10:10", L"crop");
    ExpectError(L"a -o b -ovc lavc -nosound -vf harddup=1", L"harddup");
    ExpectError(L"a -o b -ovc copy -nosound -vf scale=320:240", L"copy");
    ExpectError(L"a -o b -ovc lavc -oac pcm -af volume=loud", L"volume");
    ExpectError(L"a -o b -ovc lavc -oac pcm -af resample=44100", L"resample");
}

TEST(EncoderOptions, RefusesUnknownOrMalformedOptions) {
    ExpectError(L"a -o b -ovc lavc -nosound -foo", L"unknown option -foo");
    ExpectError(L"a -o b -ovc lavc -nosound -o", L"-o needs a value");
    ExpectError(L"a -o b -ovc divx -nosound", L"divx");
    ExpectError(L"a -o b -ovc lavc -oac wma", L"wma");
    ExpectError(L"a -o b -of ogg -ovc lavc -nosound", L"ogg");
    ExpectError(L"a -o b -ovc lavc -nosound -lavcopts vcodec=h264", L"h264");
    ExpectError(L"a -o b -ovc lavc -nosound -lavcopts vbitrate=fast", L"vbitrate=fast");
    ExpectError(L"a -o b -ovc lavc -nosound -lavcopts vbitrate=-5", L"vbitrate");
    ExpectError(L"a -o b -ovc lavc -nosound -lavcopts vbitrate", L"needs a value");
    ExpectError(L"a -o b -ovc lavc -nosound -lavcopts vpass=1", L"vpass");
    ExpectError(L"a -o b -ovc lavc -nosound -lavcopts v4mv=1", L"takes no value");
    ExpectError(L"a -o b -ovc xvid -nosound -xvidencopts bitrate=800:magic", L"magic");
    ExpectError(L"a -o b -ovc x264 -nosound -x264encopts preset=warp", L"warp");
    ExpectError(L"a -o b -ovc x264 -nosound -x264encopts level_idc=99", L"level_idc");
    ExpectError(L"a -o b -ovc copy -oac mp3lame -lameopts br=1000", L"br=1000");
    ExpectError(L"a -o b -ovc copy -oac faac -faacopts object=1", L"object");
    ExpectError(L"a -o b -ovc copy -oac faac -faacopts mpeg=3", L"mpeg");
    ExpectError(L"a -o b -of lavf -lavfopts format=webm -ovc copy -nosound", L"webm");
    ExpectError(L"a -o b -lavfopts format=mp4 -ovc copy -nosound", L"-of lavf");
    ExpectError(L"a -o b -ovc copy -nosound -srate 44.1", L"-srate");
    ExpectError(L"a -o b -ovc copy -nosound -ffourcc XVIDX", L"-ffourcc");
}

TEST(EncoderOptions, RefusesIncompleteConversions) {
    ExpectError(L"-o b -ovc lavc -nosound", L"no source");
    ExpectError(L"a -ovc lavc -nosound", L"no output");
    ExpectError(L"a b -o c -ovc lavc -nosound", L"more than one source");
    ExpectError(L"a -o b -oac mp3lame", L"-ovc");
    ExpectError(L"a -o b -ovc lavc", L"-oac");
    ExpectError(L"a -o b -novideo -nosound", L"nothing to encode");
    ExpectError(L"- -o b -ovc lavc -nosound", L"not a file name");
    // The same file as source and output would be destroyed while it is read.
    ExpectError(L"C:\\In\\Clip.AVI -o c:/in/clip.avi -ovc lavc -nosound", L"source file");
}

TEST(EncoderOptions, NumberReaders) {
    int i = 0;
    EXPECT_TRUE(ParseInteger(L"-12", i));
    EXPECT_EQ(i, -12);
    EXPECT_FALSE(ParseInteger(L"", i));
    EXPECT_FALSE(ParseInteger(L"+", i));
    EXPECT_FALSE(ParseInteger(L" 1", i));
    EXPECT_FALSE(ParseInteger(L"1e3", i));
    EXPECT_FALSE(ParseInteger(L"99999999999", i));
    double d = 0;
    EXPECT_TRUE(ParseNumber(L"29.97", d));
    EXPECT_DOUBLE_EQ(d, 29.97);
    EXPECT_TRUE(ParseNumber(L".5", d));
    EXPECT_FALSE(ParseNumber(L".", d));
    EXPECT_FALSE(ParseNumber(L"1.2.3", d));
    EXPECT_FALSE(ParseNumber(L"nan", d));
    EXPECT_FALSE(ParseNumber(L"1e400", d));
    double t = 0;
    EXPECT_TRUE(ParseTime(L"1:00:00", t));
    EXPECT_DOUBLE_EQ(t, 3600);
    EXPECT_FALSE(ParseTime(L"1:2:3:4", t));
    EXPECT_FALSE(ParseTime(L"1.5:00", t));
    EXPECT_FALSE(ParseTime(L"1::00", t));
    EXPECT_FALSE(ParseTime(L"-5", t));
}

}  // namespace
}  // namespace vx
