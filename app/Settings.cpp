#include "app/Settings.h"
#include "framework/SysUtils.h"

#include "app/vxeUtils.h"

namespace vx {

namespace {
const std::wstring kTypeSection = L"EncoderType";
const std::wstring kExtensionSection = L"Extension";
const std::wstring kConfigureSection = L"Configure";
const std::wstring kOutputFolderKey = L"OutputFolder";
const std::wstring kEncoderTypeKey = L"EncoderType";
const std::wstring kDefaultOutputExt = L".avi";

void ReplaceFirst(std::wstring& text, const std::wstring& placeholder, const std::wstring& value) {
    const size_t at = text.find(placeholder);
    if (at != std::wstring::npos) text.replace(at, placeholder.size(), value);
}
}  // namespace

std::vector<std::wstring> TProfileCatalogue::EncoderTypes() { return ini_.ReadSection(kTypeSection); }

std::wstring TProfileCatalogue::OpenDialogFilter() {
    std::wstring filter;
    for (const std::wstring& description : ini_.ReadSection(kExtensionSection)) {
        const std::wstring patterns = Trim(ini_.ReadString(kExtensionSection, description, L""));
        if (patterns.empty()) continue;
        filter += description + L"|" + patterns + L"|";
    }
    return filter;
}

std::wstring TProfileCatalogue::OutputExtFor(const std::wstring& typeName) {
    return ini_.ReadString(kTypeSection, typeName, kDefaultOutputExt);
}

std::wstring TProfileCatalogue::TemplateFor(const std::wstring& typeName, const std::wstring& sourceExt) {
    return ini_.ReadString(typeName, TemplateKeyFor(sourceExt), L"");
}

std::wstring TUserSettings::OutputFolder() {
    return AddTrailingBackslash(ini_.ReadString(kConfigureSection, kOutputFolderKey, kDefaultOutputFolder));
}

int TUserSettings::EncoderTypeIndex(int typeCount) {
    if (typeCount <= 0) return -1;
    const int stored = ini_.ReadInteger(kConfigureSection, kEncoderTypeKey, 0);
    return stored < 0 || stored >= typeCount ? 0 : stored;
}

void TUserSettings::Save(const std::wstring& outputFolder, int encoderTypeIndex) {
    ini_.WriteString(kConfigureSection, kOutputFolderKey, outputFolder);
    ini_.WriteInteger(kConfigureSection, kEncoderTypeKey, encoderTypeIndex);
}

std::wstring TemplateKeyFor(const std::wstring& sourceExt) {
    std::wstring key = sourceExt;
    const size_t dot = key.find(L'.');
    if (dot != std::wstring::npos) key.erase(dot, 1);
    return key;
}

std::wstring ExpandCommandTemplate(const std::wstring& commandTemplate, const std::wstring& sourcePath,
                                   const std::wstring& outputPath) {
    std::wstring result = commandTemplate;
    ReplaceFirst(result, L"<SourceFile>", sourcePath);
    ReplaceFirst(result, L"<OutputFile>", outputPath);
    return result;
}

std::wstring BuildCommandLine(const std::wstring& encoderPath, const std::wstring& commandTemplate,
                              const std::wstring& sourcePath, const std::wstring& outputPath) {
    return L"\"" + encoderPath + L"\" " + ExpandCommandTemplate(commandTemplate, sourcePath, outputPath);
}

}  // namespace vx
