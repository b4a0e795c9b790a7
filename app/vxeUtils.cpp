#include "app/vxeUtils.h"

namespace vx {

std::wstring AddTrailingBackslash(std::wstring_view folder) {
    std::wstring result(folder);
    if (!result.empty() && result.back() != L'\\') result += L'\\';
    return result;
}

std::wstring AsciiUpperCase(std::wstring_view text) {
    std::wstring result(text);
    for (wchar_t& c : result)
        if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
    return result;
}

std::wstring TrimControls(std::wstring_view text) {
    size_t first = 0, last = text.size();
    while (first < last && text[first] <= 32) ++first;
    while (last > first && text[last - 1] <= 32) --last;
    return std::wstring(text.substr(first, last - first));
}

std::wstring FileNameOf(std::wstring_view path) {
    const size_t separator = path.find_last_of(L"\\:");
    return std::wstring(separator == std::wstring_view::npos ? path : path.substr(separator + 1));
}

std::wstring SourceExtUpper(std::wstring_view sourcePath) {
    const std::wstring name = FileNameOf(sourcePath);
    const size_t dot = name.rfind(L'.');
    return dot == std::wstring::npos ? std::wstring() : AsciiUpperCase(std::wstring_view(name).substr(dot));
}

std::wstring OutputPathFor(std::wstring_view outputFolder, std::wstring_view sourcePath,
                           std::wstring_view outputExt) {
    std::wstring stem = FileNameOf(sourcePath);
    const size_t dot = stem.rfind(L'.');
    if (dot != std::wstring::npos) stem.resize(dot);
    std::wstring result(outputFolder);
    result += stem;
    result += L"-[VXE]";
    result += outputExt;
    return result;
}

}  // namespace vx
