// The bundled profile catalogue: every conversion type has a template for every source
// type the open dialog offers, every template is one the encoder accepts, and its
// output format matches the type's output extension.

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>

#include "encoder/EncoderOptions.h"

namespace vx {
namespace {

struct TSection {
    std::string Name;
    std::vector<std::pair<std::string, std::string>> Keys;  // in file order
};

std::vector<TSection> ReadIni(const std::string& path) {
    std::ifstream in(path);
    EXPECT_TRUE(in.good()) << path;
    std::vector<TSection> sections;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == ';') continue;
        if (line[0] == '[') {
            sections.push_back({line.substr(1, line.find(']') - 1), {}});
        } else if (!sections.empty()) {
            size_t eq = line.find('=');
            EXPECT_NE(eq, std::string::npos) << line;
            sections.back().Keys.emplace_back(line.substr(0, eq), line.substr(eq + 1));
        }
    }
    return sections;
}

const TSection* Find(const std::vector<TSection>& sections, const std::string& name) {
    for (const auto& s : sections)
        if (s.Name == name) return &s;
    return nullptr;
}

std::wstring Wide(const std::string& utf8) {
    std::wstring out;
    for (size_t i = 0; i < utf8.size();) {
        unsigned char c = utf8[i];
        int n = c < 0x80 ? 0 : c < 0xE0 ? 1 : c < 0xF0 ? 2 : 3;
        unsigned long code = n == 0 ? c : c & (0x3F >> n);
        for (int k = 1; k <= n; ++k) code = (code << 6) | (utf8[i + k] & 0x3F);
        out += static_cast<wchar_t>(code);
        i += n + 1;
    }
    return out;
}

// Splits a command line at blanks outside quotation marks (the catalogue puts quotation
// marks around whole paths only).
std::vector<std::wstring> SplitCommandLine(const std::wstring& line) {
    std::vector<std::wstring> args;
    std::wstring current;
    bool quoted = false, any = false;
    for (wchar_t c : line) {
        if (c == L'"') {
            quoted = !quoted;
            any = true;
        } else if (c == L' ' && !quoted) {
            if (any) args.push_back(current);
            current.clear();
            any = false;
        } else {
            current += c;
            any = true;
        }
    }
    if (any) args.push_back(current);
    return args;
}

std::wstring Replace(std::wstring text, const std::wstring& from, const std::wstring& to) {
    size_t at = text.find(from);
    if (at != std::wstring::npos) text.replace(at, from.size(), to);
    return text;
}

class Catalogue : public ::testing::Test {
protected:
    std::vector<TSection> Sections = ReadIni(std::string(VX_TEST_SOURCE_DIR) + "/assets/codecs/VXEncoderParameters.utf8.ini");
    const std::vector<std::string> SourceTypes = {"AVI", "MPG", "MPEG", "MP4", "M4V", "MKV", "WMV", "ASF",
                                                  "MOV", "FLV", "RM",  "RMVB", "3GP", "VOB", "TS",  "DAT"};
};

TEST_F(Catalogue, EveryTypeHasATemplateForEverySourceType) {
    const TSection* types = Find(Sections, "EncoderType");
    ASSERT_NE(types, nullptr);
    ASSERT_GE(types->Keys.size(), 6u);
    for (const auto& [name, extension] : types->Keys) {
        EXPECT_EQ(extension[0], '.') << name;
        const TSection* section = Find(Sections, name);
        ASSERT_NE(section, nullptr) << "no section for " << name;
        std::map<std::string, int> seen;
        for (const auto& key : section->Keys) ++seen[key.first];
        for (const auto& type : SourceTypes) EXPECT_EQ(seen[type], 1) << name << " / " << type;
        EXPECT_EQ(seen.size(), SourceTypes.size()) << name;
    }
}

TEST_F(Catalogue, OpenDialogPatternsMatchTheTemplates) {
    const TSection* extensions = Find(Sections, "Extension");
    ASSERT_NE(extensions, nullptr);
    ASSERT_FALSE(extensions->Keys.empty());
    // The first entry lists every source type that has a template.
    std::string all = extensions->Keys.front().second + ";";
    for (const auto& type : SourceTypes) {
        std::string pattern = "*." + type + ";";
        for (auto& c : pattern) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        EXPECT_NE(all.find(pattern), std::string::npos) << type;
    }
    for (const auto& [name, patterns] : extensions->Keys) {
        EXPECT_FALSE(patterns.empty()) << name;
        EXPECT_EQ(patterns.find('|'), std::string::npos) << name;
        EXPECT_EQ(name.find('|'), std::string::npos) << name;
    }
}

TEST_F(Catalogue, EveryTemplateIsAcceptedAndWritesItsTypesFormat) {
    const TSection* types = Find(Sections, "EncoderType");
    ASSERT_NE(types, nullptr);
    for (const auto& [name, extension] : types->Keys) {
        const TSection* section = Find(Sections, name);
        ASSERT_NE(section, nullptr);
        for (const auto& [type, value] : section->Keys) {
            SCOPED_TRACE(name + " / " + type);
            // The private-profile functions drop quotation marks that enclose a whole value.
            EXPECT_FALSE(value.front() == '"' && value.back() == '"');
            EXPECT_LT(Wide(value).size(), 2047u);
            const std::wstring wideValue = Wide(value);
            EXPECT_NE(wideValue.find(L"\"<SourceFile>\""), std::wstring::npos);
            EXPECT_NE(wideValue.find(L"\"<OutputFile>\""), std::wstring::npos);

            std::wstring line = Replace(wideValue, L"<SourceFile>", L"C:\\My Videos\\clip." + Wide(type));
            line = Replace(line, L"<OutputFile>", L"D:\\VX Vedio\\clip-[VXE]" + Wide(extension));
            TParseResult r = ParseEncoderOptions(SplitCommandLine(line));
            ASSERT_TRUE(r.Ok) << std::string(r.Error.begin(), r.Error.end());
            EXPECT_EQ(r.Options.Source, L"C:\\My Videos\\clip." + Wide(type));
            EXPECT_EQ(r.Options.Output, L"D:\\VX Vedio\\clip-[VXE]" + Wide(extension));

            const TEncoderOptions& o = r.Options;
            if (extension == ".mp3") {
                EXPECT_EQ(o.Container, TContainer::ctRawAudio);
                EXPECT_EQ(o.AudioEncoder, TAudioEncoder::aeMp3Lame);
            } else if (extension == ".avi") {
                EXPECT_EQ(o.Container, TContainer::ctAvi);
            } else {
                EXPECT_EQ(o.Container, TContainer::ctLavf);
                EXPECT_EQ(L"." + o.LavfFormat, Wide(extension));
            }
            // Video types end on a fixed frame size that portable players expect.
            if (!o.NoVideo) {
                ASSERT_FALSE(o.Filters.empty());
                bool fixed = false;
                for (const auto& f : o.Filters) fixed = fixed || f.Kind == TVideoFilter::vfExpand;
                EXPECT_TRUE(fixed);
            }
        }
    }
}

}  // namespace
}  // namespace vx
