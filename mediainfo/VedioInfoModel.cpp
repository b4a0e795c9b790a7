#include "mediainfo/VedioInfoModel.h"
#include "framework/SysUtils.h"

namespace vx {

const std::array<TFieldName, 35> FieldNameTable = {{
    {L"GENERAL", L"概要"},
    {L"COMPLETE NAME", L"完整名称"},
    {L"FORMAT", L"文件格式"},
    {L"FILE SIZE", L"文件大小"},
    {L"DURATION", L"长度"},
    {L"OVERALL BIT RATE", L"平均混合码率"},
    {L"PERFORMER", L"艺术家"},
    {L"COPYRIGHT", L"版权"},
    {L"VIDEO", L"视频"},
    {L"CODEC ID", L"编码设置ID"},
    {L"CODEC ID/INFO", L"编码设置ID/信息"},
    {L"BIT RATE", L"码率"},
    {L"WIDTH", L"画面宽度"},
    {L"HEIGHT", L"画面高度"},
    {L"DISPLAY ASPECT RATIO", L"画面比例"},
    {L"FRAME RATE", L"帧率"},
    {L"RESOLUTION", L"分辨率"},
    {L"BITS/(PIXEL*FRAME)", nullptr},
    {L"AUDIO", L"音频"},
    {L"CHANNEL(S)", L"声道"},
    {L"SAMPLING RATE", L"采样率"},
    {L"MOVIE NAME", L"电影"},
    {L"ENCODED DATE", L"编码日期"},
    {L"TAGGED DATE", L"标记日期"},
    {L"WRITING APPLICATION", L"编码程序"},
    {L"BIT RATE MODE", L"码率模式"},
    {L"FRAME RATE MODE", L"帧率模式"},
    {L"STREAM SIZE", L"大小"},
    {L"FORMAT/INFO", L"格式信息"},
    {L"FORMAT PROFILE", L"格式简介"},
    {L"WRITING LIBRARY", L"编码函数库"},
    {L"MUXING MODE", L"混合模式"},
    {L"CODEC ID/HINT", L"编码设置ID/提示信息"},
    {L"FORMAT VERSION", L"格式版本"},
    {L"ALIGNMENT", L"对齐方式"},
}};

std::wstring TranslateFieldName(std::wstring_view name) {
    const std::wstring key = UpperCase(name);
    for (const TFieldName& entry : FieldNameTable) {
        if (key != entry.Key) continue;
        return entry.Label ? std::wstring(entry.Label) : std::wstring(name);
    }
    return std::wstring(name);
}

void TVedioInfoModel::Load(std::wstring_view report) {
    sections_.clear();
    size_t start = 0;
    while (start < report.size()) {
        size_t end = report.find_first_of(L"\r\n", start);
        if (end == std::wstring_view::npos) end = report.size();
        AddLine(report.substr(start, end - start));
        // CR LF counts as one break; a lone CR or LF as one as well.
        if (end < report.size() && report[end] == L'\r' && end + 1 < report.size() &&
            report[end + 1] == L'\n')
            ++end;
        start = end + 1;
    }
    empty_ = sections_.empty();
    if (empty_) sections_.push_back({InfoNothingReadText, {}});
}

void TVedioInfoModel::AddLine(std::wstring_view raw) {
    const std::wstring line = Trim(raw);
    if (line.empty()) return;
    const size_t colon = line.find(L':');
    if (colon == std::wstring_view::npos) {
        sections_.push_back({TranslateFieldName(line), {}});
        return;
    }
    if (sections_.empty()) sections_.push_back({InfoUntitledSectionText, {}});
    const std::wstring name = Trim(std::wstring_view(line).substr(0, colon));
    const std::wstring value = Trim(std::wstring_view(line).substr(colon + 1));
    std::wstring text = TranslateFieldName(name);
    text += InfoLabelSeparator;
    text += value;
    sections_.back().Lines.push_back(std::move(text));
}

}  // namespace vx
