#pragma once
// The converter's two INI files: the profile catalogue (conversion types, open-dialog
// file types and one command template per type and source extension), which is only
// read, and the user's settings (output folder and chosen type). Each operation goes
// through a TIniStore, which reads the file afresh on every call, so a catalogue
// edited while the program runs counts at the next lookup. Platform-free.

#include <string>
#include <vector>

namespace vx {

// Access to one INI file with the private-profile rules: section and key names match
// without regard to case, a missing file, section or key yields the default.
class TIniStore {
public:
    virtual ~TIniStore() = default;
    // The key names of a section, in file order (empty when there is no such section).
    virtual std::vector<std::wstring> ReadSection(const std::wstring& section) = 0;
    virtual std::wstring ReadString(const std::wstring& section, const std::wstring& key,
                                    const std::wstring& defaultValue) = 0;
    // A value that is not a number yields the default.
    virtual int ReadInteger(const std::wstring& section, const std::wstring& key, int defaultValue) = 0;
    virtual void WriteString(const std::wstring& section, const std::wstring& key, const std::wstring& value) = 0;
    virtual void WriteInteger(const std::wstring& section, const std::wstring& key, int value) = 0;
};

// codecs\VXEncoderParameters.ini
class TProfileCatalogue {
public:
    explicit TProfileCatalogue(TIniStore& ini) : ini_(ini) {}

    // The conversion types: the key names of section "EncoderType", in file order.
    std::vector<std::wstring> EncoderTypes();
    // The open dialog's filter: "description|patterns|" for every key of section
    // "Extension" whose trimmed value is not empty; empty when none qualifies.
    std::wstring OpenDialogFilter();
    // The output extension of a type, as stored (".avi" when the type has no value).
    std::wstring OutputExtFor(const std::wstring& typeName);
    // The command template of a type for a source extension (dot included, e.g.
    // ".AVI"; the key is the extension without its first dot). Empty when missing.
    std::wstring TemplateFor(const std::wstring& typeName, const std::wstring& sourceExt);

private:
    TIniStore& ini_;
};

// codecs\VXEncoder.ini, section "Configure".
class TUserSettings {
public:
    static constexpr wchar_t kDefaultOutputFolder[] = L"C:\\VX Vedio\\";

    explicit TUserSettings(TIniStore& ini) : ini_(ini) {}

    // The stored output folder (default "C:\VX Vedio\") with a trailing backslash
    // unless it is empty.
    std::wstring OutputFolder();
    // The index of the chosen type in a list of `typeCount` types: a stored index that
    // is negative or too large selects the first type; -1 when the list is empty.
    int EncoderTypeIndex(int typeCount);
    void Save(const std::wstring& outputFolder, int encoderTypeIndex);

private:
    TIniStore& ini_;
};

// The key of a source extension in a type's section: the text without its first ".".
std::wstring TemplateKeyFor(const std::wstring& sourceExt);

// Fills the template: the first "<SourceFile>" becomes the source path, then the first
// "<OutputFile>" the output path. Exact, case-sensitive matches; later occurrences stay.
std::wstring ExpandCommandTemplate(const std::wstring& commandTemplate, const std::wstring& sourcePath,
                                   const std::wstring& outputPath);

// The encoder's command line: the encoder path in quotation marks (so that a program
// folder with blanks cannot make Windows start another program), one blank and the
// expanded template. Nothing else is quoted: the template carries its own quoting.
std::wstring BuildCommandLine(const std::wstring& encoderPath, const std::wstring& commandTemplate,
                              const std::wstring& sourcePath, const std::wstring& outputPath);

}  // namespace vx
