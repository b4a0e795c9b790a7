#include "app/vxeUtils.h"

#include "framework/SysUtils.h"

namespace vx {

std::wstring AddTrailingBackslash(std::wstring_view folder) {
    std::wstring result(folder);
    if (!result.empty() && result.back() != L'\\') result += L'\\';
    return result;
}

std::wstring SourceExtUpper(std::wstring_view sourcePath) {
    const std::wstring name = ExtractFileName(sourcePath);
    const size_t dot = name.rfind(L'.');
    return dot == std::wstring::npos ? std::wstring() : UpperCase(std::wstring_view(name).substr(dot));
}

std::wstring OutputPathFor(std::wstring_view outputFolder, std::wstring_view sourcePath,
                           std::wstring_view outputExt) {
    std::wstring stem = ExtractFileName(sourcePath);
    const size_t dot = stem.rfind(L'.');
    if (dot != std::wstring::npos) stem.resize(dot);
    std::wstring result(outputFolder);
    result += stem;
    result += L"-[VXE]";
    result += outputExt;
    return result;
}

std::wstring Quoted(const std::wstring& text) { return L"“" + text + L"”"; }

}  // namespace vx
