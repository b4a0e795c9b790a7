#pragma once
// The platform-free half of the media information window: the table that translates
// the names of the MediaInfo text report into Chinese, and the model that turns the
// report into the window's two-level tree (one section per stream of the file, one
// line per field). The window only copies the model into its tree view.

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace vx {

// One translated report name. Keys are upper-case English names as the library
// writes them; a null label means the name is shown as the report wrote it.
struct TFieldName {
    const wchar_t* Key;
    const wchar_t* Label;
};

extern const std::array<TFieldName, 35> FieldNameTable;

// The label of a report name: the name is upper-cased (ASCII letters only) and
// compared exactly with the keys in table order; the first equal key wins. Without a
// key, or for the key without a label, the name comes back unchanged.
std::wstring TranslateFieldName(std::wstring_view name);

// Separator between a field's label and its value in the tree: the full-width colon.
inline constexpr wchar_t InfoLabelSeparator[] = L"\uFF1A";
// The single top-level node shown when the report holds nothing to show.
inline constexpr wchar_t InfoNothingReadText[] = L"无法读取该文件的媒体信息";
// Title of the section that receives field lines that come before any section title.
inline constexpr wchar_t InfoUntitledSectionText[] = L"概要";

struct TInfoSection {
    std::wstring Title;               // translated section title
    std::vector<std::wstring> Lines;  // "label：value", in report order
};

// The report of one file as the window shows it.
class TVedioInfoModel {
public:
    TVedioInfoModel() = default;
    explicit TVedioInfoModel(std::wstring_view report) { Load(report); }

    // Replaces the content with the given report: lines end at CR, LF or CR LF and
    // are trimmed (codes up to the space); blank lines are skipped; a line without
    // an ASCII colon is a section title; otherwise the first colon splits a field
    // name from its value. A report with nothing in it gives the single section
    // InfoNothingReadText without lines.
    void Load(std::wstring_view report);

    const std::vector<TInfoSection>& Sections() const { return sections_; }
    // True when the report held no section and no field (the sections then hold
    // only the InfoNothingReadText node).
    bool Empty() const { return empty_; }

private:
    void AddLine(std::wstring_view line);

    std::vector<TInfoSection> sections_;
    bool empty_ = true;
};

}  // namespace vx
