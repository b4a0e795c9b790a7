#pragma once
// Common dialogs: file open and save, and the shell's folder chooser.

#include <windows.h>

#include <memory>
#include <string>

#include "framework/Classes.h"
#include "framework/Component.h"

namespace vx {

class TCommonDialog : public TComponent {
    VX_DECLARE_CLASS(TCommonDialog, TComponent)
public:
    explicit TCommonDialog(TComponent* owner) : TComponent(owner) {}
    // Shows the dialog modally; true when the user confirmed.
    virtual bool Execute() = 0;
    TNotifyEvent OnShow;
    TNotifyEvent OnClose;
};

enum TOpenOption : unsigned {
    ofReadOnly = 1u << 0, ofOverwritePrompt = 1u << 1, ofHideReadOnly = 1u << 2, ofNoChangeDir = 1u << 3,
    ofShowHelp = 1u << 4, ofNoValidate = 1u << 5, ofAllowMultiSelect = 1u << 6, ofExtensionDifferent = 1u << 7,
    ofPathMustExist = 1u << 8, ofFileMustExist = 1u << 9, ofCreatePrompt = 1u << 10, ofShareAware = 1u << 11,
    ofNoReadOnlyReturn = 1u << 12, ofNoTestFileCreate = 1u << 13, ofNoNetworkButton = 1u << 14,
    ofNoLongNames = 1u << 15, ofOldStyleDialog = 1u << 16, ofNoDereferenceLinks = 1u << 17,
    ofEnableIncludeNotify = 1u << 18, ofEnableSizing = 1u << 19, ofDontAddToRecent = 1u << 20,
    ofForceShowHidden = 1u << 21
};
using TOpenOptions = unsigned;

class TOpenDialog : public TCommonDialog {
    VX_DECLARE_CLASS(TOpenDialog, TCommonDialog)
public:
    explicit TOpenDialog(TComponent* owner);
    ~TOpenDialog() override;
    bool Execute() override;

    // "description|patterns|description|patterns"
    std::wstring GetFilter() const { return filter_; }
    void SetFilter(const std::wstring& filter) { filter_ = filter; }
    int GetFilterIndex() const { return filterIndex_; }
    void SetFilterIndex(int index) { filterIndex_ = index; }
    std::wstring GetFileName() const { return fileName_; }
    void SetFileName(const std::wstring& name) { fileName_ = name; }
    // Every chosen file with its full path (one entry without multi-selection).
    TStrings* GetFiles() const { return files_.get(); }
    std::wstring GetInitialDir() const { return initialDir_; }
    void SetInitialDir(const std::wstring& dir) { initialDir_ = dir; }
    std::wstring GetDefaultExt() const { return defaultExt_; }
    void SetDefaultExt(const std::wstring& ext) { defaultExt_ = ext; }
    std::wstring GetTitle() const { return title_; }
    void SetTitle(const std::wstring& title) { title_ = title; }
    TOpenOptions GetOptions() const { return options_; }
    void SetOptions(TOpenOptions options) { options_ = options; }

    // The OPENFILENAME flags for the options.
    static DWORD OptionFlags(TOpenOptions options);
    // "a|b|c|d" -> "a\0b\0c\0d\0\0".
    static std::wstring NativeFilter(const std::wstring& filter);
    // The chosen names from the dialog's buffer (a folder and names, or one path).
    static std::vector<std::wstring> ParseResult(const wchar_t* buffer, bool multiSelect);
    static void RegisterProperties(TPropertyRegistrar<TOpenDialog>& r);

protected:
    bool DoExecute(bool save);

private:
    std::wstring filter_, fileName_, initialDir_, defaultExt_, title_;
    int filterIndex_ = 1;
    TOpenOptions options_ = ofHideReadOnly | ofEnableSizing;
    std::unique_ptr<TStringList> files_;
};

class TSaveDialog : public TOpenDialog {
    VX_DECLARE_CLASS(TSaveDialog, TOpenDialog)
public:
    explicit TSaveDialog(TComponent* owner) : TOpenDialog(owner) {}
    bool Execute() override { return DoExecute(true); }
};

// The shell's folder chooser: `prompt` above the tree, owned by `owner`, in the new
// dialog style, file-system folders only and without a button for new folders. True
// and the folder in `folder` when the user confirmed.
bool SelectDirectory(const std::wstring& prompt, HWND owner, std::wstring& folder);

}  // namespace vx
