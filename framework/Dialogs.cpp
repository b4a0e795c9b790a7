#include "framework/Dialogs.h"

#include <commdlg.h>
#include <objbase.h>
#include <shlobj.h>

#include "framework/Forms.h"

namespace vx {

VX_IMPLEMENT_CLASS(TCommonDialog, TComponent)
VX_IMPLEMENT_CLASS_WITH_PROPERTIES(TOpenDialog, TCommonDialog)
VX_IMPLEMENT_CLASS(TSaveDialog, TOpenDialog)

void TOpenDialog::RegisterProperties(TPropertyRegistrar<TOpenDialog>& r) {
    r.Text(L"Filter", &TOpenDialog::GetFilter, &TOpenDialog::SetFilter)
        .Integer(L"FilterIndex", &TOpenDialog::GetFilterIndex, &TOpenDialog::SetFilterIndex)
        .Text(L"FileName", &TOpenDialog::GetFileName, &TOpenDialog::SetFileName)
        .Text(L"InitialDir", &TOpenDialog::GetInitialDir, &TOpenDialog::SetInitialDir)
        .Text(L"DefaultExt", &TOpenDialog::GetDefaultExt, &TOpenDialog::SetDefaultExt)
        .Text(L"Title", &TOpenDialog::GetTitle, &TOpenDialog::SetTitle)
        .Integer(L"Options", &TOpenDialog::GetOptions, &TOpenDialog::SetOptions);
}

TOpenDialog::TOpenDialog(TComponent* owner) : TCommonDialog(owner), files_(std::make_unique<TStringList>()) {}
TOpenDialog::~TOpenDialog() = default;

DWORD TOpenDialog::OptionFlags(TOpenOptions o) {
    DWORD f = OFN_EXPLORER;
    if (o & ofReadOnly) f |= OFN_READONLY;
    if (o & ofOverwritePrompt) f |= OFN_OVERWRITEPROMPT;
    if (o & ofHideReadOnly) f |= OFN_HIDEREADONLY;
    if (o & ofNoChangeDir) f |= OFN_NOCHANGEDIR;
    if (o & ofAllowMultiSelect) f |= OFN_ALLOWMULTISELECT;
    if (o & ofPathMustExist) f |= OFN_PATHMUSTEXIST;
    if (o & ofFileMustExist) f |= OFN_FILEMUSTEXIST;
    if (o & ofCreatePrompt) f |= OFN_CREATEPROMPT;
    if (o & ofNoValidate) f |= OFN_NOVALIDATE;
    if (o & ofNoDereferenceLinks) f |= OFN_NODEREFERENCELINKS;
    if (o & ofEnableSizing) f |= OFN_ENABLESIZING;
    if (o & ofDontAddToRecent) f |= OFN_DONTADDTORECENT;
    if (o & ofForceShowHidden) f |= OFN_FORCESHOWHIDDEN;
    return f;
}

std::wstring TOpenDialog::NativeFilter(const std::wstring& filter) {
    std::wstring out = filter;
    for (wchar_t& c : out)
        if (c == L'|') c = L'\0';
    out.push_back(L'\0');
    out.push_back(L'\0');
    return out;
}

std::vector<std::wstring> TOpenDialog::ParseResult(const wchar_t* buffer, bool multiSelect) {
    std::vector<std::wstring> names;
    std::wstring first = buffer;
    if (first.empty()) return names;
    const wchar_t* p = buffer + first.size() + 1;
    if (!multiSelect || *p == 0) {
        names.push_back(first);
        return names;
    }
    std::wstring folder = first;
    if (!folder.empty() && folder.back() != L'\\') folder += L'\\';
    while (*p) {
        std::wstring name = p;
        names.push_back(folder + name);
        p += name.size() + 1;
    }
    return names;
}

bool TOpenDialog::Execute() { return DoExecute(false); }

bool TOpenDialog::DoExecute(bool save) {
    const bool multi = (options_ & ofAllowMultiSelect) != 0;
    std::vector<wchar_t> buffer(multi ? 65536 : MAX_PATH * 2, L'\0');
    if (fileName_.size() < buffer.size() - 1) std::copy(fileName_.begin(), fileName_.end(), buffer.begin());
    std::wstring filter = NativeFilter(filter_);
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = Application->ActiveOwnerWindow();
    ofn.lpstrFilter = filter_.empty() ? nullptr : filter.c_str();
    ofn.nFilterIndex = static_cast<DWORD>(filterIndex_);
    ofn.lpstrFile = buffer.data();
    ofn.nMaxFile = static_cast<DWORD>(buffer.size());
    ofn.lpstrInitialDir = initialDir_.empty() ? nullptr : initialDir_.c_str();
    ofn.lpstrTitle = title_.empty() ? nullptr : title_.c_str();
    ofn.lpstrDefExt = defaultExt_.empty() ? nullptr : defaultExt_.c_str();
    ofn.Flags = OptionFlags(options_);
    if (OnShow) OnShow(this);
    BOOL ok = save ? ::GetSaveFileNameW(&ofn) : ::GetOpenFileNameW(&ofn);
    if (OnClose) OnClose(this);
    if (!ok) return false;
    filterIndex_ = static_cast<int>(ofn.nFilterIndex);
    files_->Clear();
    for (const auto& name : ParseResult(buffer.data(), multi)) files_->Add(name);
    fileName_ = files_->GetCount() > 0 ? files_->Get(0) : L"";
    return true;
}

bool SelectDirectory(const std::wstring& prompt, HWND owner, std::wstring& folder) {
    HRESULT init = ::OleInitialize(nullptr);
    wchar_t name[MAX_PATH] = {};
    BROWSEINFOW bi{};
    bi.hwndOwner = owner;
    bi.pszDisplayName = name;
    bi.lpszTitle = prompt.c_str();
    bi.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE | BIF_NONEWFOLDERBUTTON;
    PIDLIST_ABSOLUTE list = ::SHBrowseForFolderW(&bi);
    bool ok = false;
    if (list) {
        wchar_t path[MAX_PATH] = {};
        if (::SHGetPathFromIDListW(list, path)) {
            folder = path;
            ok = true;
        }
        ::CoTaskMemFree(list);
    }
    if (SUCCEEDED(init)) ::OleUninitialize();
    return ok;
}

}  // namespace vx
