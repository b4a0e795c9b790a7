#include "app/main.h"

#include <algorithm>
#include <cwchar>
#include <exception>
#include <vector>

#include "app/AuthorLinks.h"
#include "app/BatchRules.h"
#include "app/PowerOff.h"
#include "app/vxeUtils.h"
#include "dialogs/ShellOpen.h"
#include "dialogs/Shutdown.h"
#include "dialogs/about.h"
#include "framework/FormBuilding.h"
#include "framework/Handles.h"
#include "framework/SysUtils.h"
#include "mediainfo/VedioInfo.h"

namespace vx {

VX_IMPLEMENT_CLASS(TfrmMain, TForm)

namespace {

constexpr int kClientWidth = 484, kClientHeight = 393;

TPanel* MakePanel(TComponent* owner, TWinControl* parent, const wchar_t* name, int top, int height, TAlign align,
                  int border) {
    auto* panel = Place<TPanel>(owner, parent, name, 0, top, kClientWidth, height);
    panel->SetBevelOuter(bvNone);
    panel->SetCaption(L"");
    panel->SetBorderWidth(border);
    panel->SetAlign(align);
    return panel;
}

}  // namespace

TfrmMain::TfrmMain(TComponent* owner, std::wstring programFolder, TMainServices& services)
    : TForm(owner),
      services_(services),
      programFolder_(programFolder.empty() ? ProgramFolder() : AddTrailingBackslash(programFolder)),
      catalogueStore_(programFolder_ + kCatalogueRelativePath),
      settingsStore_(programFolder_ + kSettingsRelativePath),
      catalogue_(catalogueStore_),
      settings_(settingsStore_),
      job_(Encoder, services_),
      driver_(queue_, catalogue_, job_, std::make_unique<TWindowTimer>(), system_, *this) {
    SetName(L"frmMain");
    SetCaption(kMainTitle);
    SetBorderStyle(bsSingle);
    SetBorderIcons(biSystemMenu | biMinimize);
    SetPosition(poDesigned);
    SetColor(clBtnFace);
    UseDialogFont(*this);
    SetShowHint(true);
    SetBounds(132, 140, GetWidth(), GetHeight());
    SetClientSize(kClientWidth, kClientHeight);

    BuildSkinData();

    BuildMenuAndDialogs();
    BuildTop();
    BuildButtons();
    BuildBottom();
    BuildQueue();

    OnCreate = [this](TObject* sender) { FormCreate(sender); };
    OnClose = [this](TObject* sender, TCloseAction& action) { FormClose(sender, action); };
    OnCloseQuery = [this](TObject* sender, bool& canClose) { FormCloseQuery(sender, canClose); };
}

// The job goes before the adapter its wait loop runs through.
TfrmMain::~TfrmMain() { Encoder.reset(); }

void TfrmMain::BuildSkinData() {
    // Made while the window is being built: Active is only stored now, the skin is
    // decompressed as its stream is read, and the component asks for skinning when the
    // window has been built (Loaded), before OnCreate.
    SkinData2 = new TSkinData(this);
    SkinData2->SetName(L"SkinData2");
    SkinData2->SetActive(true);
    SkinData2->SetDisableTag(99);
    SkinData2->SetSkinControls(SkinBit(xcSystemMenu + 1) - 1);  // xcMainMenu to xcSystemMenu
    SkinData2->SetOptions(SkinBit(xoPreview) | SkinBit(xoToolbarBK));
    SkinData2->SetSkinFormtype(sfMainform);
    SkinData2->SetMenuUpdate(true);
    SkinData2->SetMenuMerge(false);
    try {
        TResourceStream stream(::GetModuleHandleW(nullptr), kSkinStreamResource, RT_RCDATA);
        SkinData2->ReadSkinStream(stream);
    } catch (const std::exception&) {
        // Without its skin the window keeps the system's look (Loaded turns Active off).
    }
}

void TfrmMain::BuildMenuAndDialogs() {
    ImageList1 = new TImageList(this);
    ImageList1->SetName(L"ImageList1");
    TBitmap states;
    if (LoadBitmapResource(states, L"QUEUESTATES")) ImageList1->AddMasked(&states, clFuchsia);

    odlgVedio = new TOpenDialog(this);
    odlgVedio->SetName(L"odlgVedio");
    odlgVedio->SetOptions(ofAllowMultiSelect | ofHideReadOnly | ofEnableSizing);

    pmList = new TPopupMenu(this);
    pmList->SetName(L"pmList");
    auto item = [this](const wchar_t* name, const wchar_t* caption, std::function<void(TObject*)> click) {
        auto* mi = new TMenuItem(this);
        if (name) mi->SetName(name);
        mi->SetCaption(caption);
        mi->OnClick = std::move(click);
        pmList->GetItems()->Add(mi);
        return mi;
    };
    miInfo = item(L"miInfo", L"信息(&I)", [this](TObject* s) { miInfoClick(s); });
    miInfo->SetDefault(true);
    item(nullptr, L"-", nullptr);
    miAdd = item(L"miAdd", L"添加文件(&A)", [this](TObject* s) { miAddClick(s); });
    item(nullptr, L"-", nullptr);
    miDel = item(L"miDel", L"删除当前(&D)", [this](TObject* s) { miDelClick(s); });
    miDelAll = item(L"miDelAll", L"删除所有(&L)", [this](TObject* s) { miDelAllClick(s); });
}

void TfrmMain::BuildTop() {
    pnlTop = MakePanel(this, this, L"pnlTop", 0, 65, alTop, 0);
    Image1 = Place<TImage>(this, pnlTop, L"Image1", 0, 0, 484, 64);
    Image1->SetCursor(crHandPoint);
    try {
        TResourceStream banner(::GetModuleHandleW(nullptr), L"BANNER", RT_RCDATA);
        TJPEGImage jpeg;
        jpeg.LoadFromStream(banner);
        Image1->GetPicture()->SetGraphic(&jpeg);
    } catch (const std::exception&) {
        // Without the banner the window still works.
    }
    // The soft line under the banner.
    bvlTop = Place<TBevel>(this, pnlTop, L"bvlTop", 0, 63, 484, 2);
    bvlTop->SetShape(bsBottomLine);
}

void TfrmMain::BuildButtons() {
    Panel2 = MakePanel(this, this, L"Panel2", 65, 35, alTop, 5);
    btnAddFile = Place<TButton>(this, Panel2, L"btnAddFile", 5, 6, 96, 25);
    btnAddFile->SetCaption(L"添加文件(&A)...");
    btnAddFile->SetHint(L"添加视频文件");
    btnAddFile->OnClick = [this](TObject* s) { btnAddFileClick(s); };

    btnStart = Place<TButton>(this, Panel2, L"btnStart", 107, 6, 76, 25);
    btnStart->SetCaption(L"开始转换(&S)");
    btnStart->SetHint(L"开始转换视频文件");
    btnStart->GetFont()->SetColor(clBlack);
    btnStart->OnClick = [this](TObject* s) { btnStartClick(s); };

    btnStop = Place<TButton>(this, Panel2, L"btnStop", 189, 6, 76, 25);
    btnStop->SetCaption(L"终止转换(&P)");
    btnStop->SetHint(L"终止转换");
    btnStop->OnClick = [this](TObject* s) { btnStopClick(s); };

    cboxType = Place<TComboBox>(this, Panel2, L"cboxType", 271, 9, 178, 20);
    cboxType->SetStyle(csDropDownList);
    cboxType->SetDropDownCount(20);
    cboxType->SetHint(L"选择转换类型");
    cboxType->GetItems()->Add(L"Pixoro 高速度");
    cboxType->GetItems()->Add(L"Pixoro 高质量");
    cboxType->OnChange = [this](TObject* s) { cboxTypeChange(s); };

    sbtnAbout = Place<TSpeedButton>(this, Panel2, L"sbtnAbout", 456, 8, 23, 22);
    sbtnAbout->SetFlat(true);
    sbtnAbout->SetHint(L"关于...");
    TBitmap glyph;
    if (LoadBitmapResource(glyph, L"ABOUTGLYPH")) sbtnAbout->SetGlyph(&glyph);
    sbtnAbout->OnClick = [this](TObject* s) { sbtnAboutClick(s); };
}

void TfrmMain::BuildBottom() {
    Panel3 = MakePanel(this, this, L"Panel3", kClientHeight - 81, 81, alBottom, 5);
    ProgressBar = new TGradientProgressBar(this);
    ProgressBar->SetName(L"ProgressBar");
    ProgressBar->SetParent(Panel3);
    ProgressBar->SetBounds(5, 4, 474, 17);
    ProgressBar->SetColorScheme(csSky);

    SpeedButton1 = Place<TSpeedButton>(this, Panel3, L"SpeedButton1", 5, 28, 48, 22);
    SpeedButton1->SetFlat(true);
    SpeedButton1->SetCaption(L"输出到:");
    SpeedButton1->SetHint(L"打开输出的文件夹");
    SpeedButton1->OnClick = [this](TObject* s) { SpeedButton1Click(s); };

    edtOutputFolder = Place<TEdit>(this, Panel3, L"edtOutputFolder", 57, 29, 396, 20);
    edtOutputFolder->SetReadOnly(true);
    edtOutputFolder->OnDblClick = [this](TObject* s) { btnBrowseClick(s); };

    btnBrowse = Place<TButton>(this, Panel3, L"btnBrowse", 455, 27, 24, 24);
    btnBrowse->SetCaption(L"...");
    btnBrowse->SetHint(L"选择输出的文件夹");
    btnBrowse->OnClick = [this](TObject* s) { btnBrowseClick(s); };

    chkShutdown = Place<TCheckBox>(this, Panel3, L"chkShutdown", 5, 59, 185, 17);
    chkShutdown->SetCaption(L"视频转换完成后自动关闭电脑。");

    Image2 = Place<TImage>(this, Panel3, L"Image2", 387, 60, 16, 16);
    Image2->SetTransparent(true);
    Image2->SetCursor(crHandPoint);
    LoadBitmapResource(*Image2, L"DONATEGLYPH");

    lblTavelBlog = PlaceLabel(this, Panel3, L"lblTavelBlog", 409, 62, L"我要捐助！");
    lblTavelBlog->SetAutoSize(false);
    lblTavelBlog->SetBounds(409, 62, 70, 14);
    lblTavelBlog->SetParentFont(false);
    UseDialogFont(*lblTavelBlog);
    lblTavelBlog->GetFont()->SetHeight(-14);
    lblTavelBlog->GetFont()->SetColor(clBlue);
    lblTavelBlog->SetCursor(crHandPoint);
    for (TControl* link : {static_cast<TControl*>(lblTavelBlog), static_cast<TControl*>(Image2)}) {
        link->OnClick = [this](TObject* s) { lblTavelBlogClick(s); };
        link->OnMouseEnter = [this](TObject* s) { lblTavelBlogMouseEnter(s); };
        link->OnMouseLeave = [this](TObject* s) { lblTavelBlogMouseLeave(s); };
    }
}

void TfrmMain::BuildQueue() {
    Panel1 = MakePanel(this, this, L"Panel1", 100, kClientHeight - 100 - 81, alClient, 5);
    ListView1 = Place<TListView>(this, Panel1, L"ListView1", 5, 5, 474, 202);
    ListView1->SetAlign(alClient);
    ListView1->SetViewStyle(vsReport);
    ListView1->SetRowSelect(true);
    ListView1->SetMultiSelect(true);
    // The queue can hold thousands of files: the window keeps only their number.
    ListView1->SetOwnerData(true);
    ListView1->SetReadOnly(true);
    ListView1->SetSmallImages(ImageList1);
    ListView1->SetPopupMenu(pmList);
    const struct { const wchar_t* caption; int width; } columns[] = {{L"文件", 260}, {L"状态", 80}, {L"进度", 100}};
    for (const auto& c : columns) {
        TListColumn* column = ListView1->GetColumns()->Add();
        column->SetCaption(c.caption);
        column->SetWidth(c.width);
    }
    ListView1->OnDblClick = [this](TObject* s) { miInfoClick(s); };
}

void TfrmMain::CreateParams(TCreateParams& params) {
    TForm::CreateParams(params);
    // A second start finds the running program by this class name.
    std::wcsncpy(params.WinClassName, kMainWindowClass, std::size(params.WinClassName) - 1);
    params.WinClassName[std::size(params.WinClassName) - 1] = L'\0';
}

// --- creation and closing ---------------------------------------------------------------

void TfrmMain::FormCreate(TObject*) {
    EncoderPath = programFolder_ + kEncoderRelativePath;
    if (!::vx::FileExists(EncoderPath)) {
        Ask(Quoted(EncoderPath) + L"文件没有找到，程序不能正常运行!", L"程序", MB_OK | MB_ICONERROR);
        services_.ShellOpen(GetHandle(), L"OPEN", kAuthorWebSite);
        Application->Terminate();
    }
    // The program's icon on the title bar and the taskbar.
    const HINSTANCE module = ::GetModuleHandleW(nullptr);
    if (auto big = static_cast<HICON>(::LoadImageW(module, L"MAINICON", IMAGE_ICON, 32, 32, 0)))
        ::SendMessageW(GetHandle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
    if (auto small = static_cast<HICON>(::LoadImageW(module, L"MAINICON", IMAGE_ICON, 16, 16, 0)))
        ::SendMessageW(GetHandle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
    DragAcceptFiles(true);
    SetDoubleBuffered(true);
    ListView1->SetDoubleBuffered(true);
    Encoder = job_.NewEncoder();
    if (cboxType->GetItems()->GetCount() > 0) cboxType->SetItemIndex(0);
    OutputExt = L".avi";
    ProgressBar->SetPosition(0);
    LoadSettings();
    UpdateButtons();
}

void TfrmMain::FormCloseQuery(TObject*, bool& CanClose) {
    // Between two files of a batch the job is idle, yet the batch would go on with the
    // next row: that counts as converting too.
    if (!JobRunning() && !driver_.Converting()) {
        CanClose = true;
        return;
    }
    CanClose = Ask(kCloseQuestion, L"退出", MB_OKCANCEL | MB_ICONQUESTION) == IDOK;
    if (CanClose) driver_.RequestStop();
}

void TfrmMain::FormClose(TObject*, TCloseAction&) {
    SaveSettings();
    DragAcceptFiles(false);
    // A batch still waiting inside the job's Run releases the job when it returns.
    if (batchRunning_)
        releaseJobAfterBatch_ = true;
    else
        Encoder.reset();
}

// --- settings ------------------------------------------------------------------------------

void TfrmMain::LoadSettings() {
    TStrings* types = cboxType->GetItems();
    types->Clear();
    for (const std::wstring& type : catalogue_.EncoderTypes()) types->Add(type);
    odlgVedio->SetFilter(catalogue_.OpenDialogFilter());
    edtOutputFolder->SetText(settings_.OutputFolder());
    cboxType->SetItemIndex(settings_.EncoderTypeIndex(types->GetCount()));
    // The stored type brings its own extension; otherwise a batch started without a
    // new pick would name, say, MP4 output "-[VXE].avi".
    if (cboxType->GetItemIndex() >= 0) OutputExt = catalogue_.OutputExtFor(cboxType->GetText());
}

void TfrmMain::SaveSettings() { settings_.Save(edtOutputFolder->GetText(), cboxType->GetItemIndex()); }

void TfrmMain::cboxTypeChange(TObject*) { OutputExt = catalogue_.OutputExtFor(cboxType->GetText()); }

// --- the batch ----------------------------------------------------------------------------

void TfrmMain::btnStartClick(TObject*) {
    if (batchRunning_) return;
    TBatchSettings settings;
    settings.EncoderPath = EncoderPath;
    settings.OutputFolder = edtOutputFolder->GetText();
    settings.OutputExt = OutputExt;
    settings.TypeName = cboxType->GetText();
    batchRunning_ = true;
    try {
        driver_.Start(settings);
    } catch (...) {
        batchRunning_ = false;
        throw;
    }
    batchRunning_ = false;
    if (releaseJobAfterBatch_) {
        releaseJobAfterBatch_ = false;
        Encoder.reset();
    }
    if (Encoder) UpdateButtons();
}

void TfrmMain::btnStopClick(TObject*) {
    if (Ask(kStopQuestion, L"终止", MB_OKCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2) == IDOK) driver_.RequestStop();
}

// --- the queue ------------------------------------------------------------------------------

void TfrmMain::AppendRow(const TQueueRow& row) {
    TListItem* item = ListView1->GetItems()->Add();
    item->SetCaption(row.Path);
    item->GetSubItems()->Add(row.Status());
    item->GetSubItems()->Add(row.Progress);
    item->SetImageIndex(row.ImageIndex());
}

void TfrmMain::AddFile(const std::wstring& path) { AddFiles({path}); }

void TfrmMain::AddFiles(const std::vector<std::wstring>& paths) {
    // Thousands of files come in one drop: the list view draws once at the end, and the
    // controls are re-evaluated once, which gives what re-evaluating after each row gave.
    bool added = false;
    {
        TUpdateGuard<TListItems> batch(*ListView1->GetItems());
        for (const std::wstring& path : paths) {
            if (!queue_.AddFile(path)) continue;
            added = true;
            AppendRow(queue_.Row(queue_.Count() - 1));
        }
    }
    if (added) UpdateButtons();
}

void TfrmMain::btnAddFileClick(TObject*) {
    if (!services_.ExecuteOpenDialog(*odlgVedio)) return;
    TStrings* files = odlgVedio->GetFiles();
    std::vector<std::wstring> paths;
    paths.reserve(static_cast<size_t>(files->GetCount()));
    for (int i = 0; i < files->GetCount(); ++i) paths.push_back(files->Get(i));
    AddFiles(paths);
}

void TfrmMain::WMDropFiles(TMessage& message) {
    // Each dropped path is taken whole, however long it is.
    AddFiles(DroppedFileNames(reinterpret_cast<HDROP>(message.WParam)));
    TForm::WMDropFiles(message);  // releases the drop
}

void TfrmMain::miDelClick(TObject*) {
    std::vector<int> selected;
    TListItems* items = ListView1->GetItems();
    for (int i = 0; i < items->Count(); ++i)
        if (items->Items(i)->GetSelected()) selected.push_back(i);
    queue_.Delete(selected);
    {
        TUpdateGuard update(*items);
        for (auto it = selected.rbegin(); it != selected.rend(); ++it) items->Delete(*it);
    }
    ProgressBar->SetPosition(0);
    UpdateButtons();
}

void TfrmMain::miDelAllClick(TObject*) {
    queue_.Clear();
    ListView1->GetItems()->Clear();
    ProgressBar->SetPosition(0);
    UpdateButtons();
}

void TfrmMain::miInfoClick(TObject*) { ShowFileInfo(*ListView1, MediaInfoLibraryPath, services_); }

// --- folder, about, donation ----------------------------------------------------------------

void TfrmMain::btnBrowseClick(TObject*) {
    const std::wstring prompt = L"请选择视频输出的文件夹：";
    std::wstring folder;
    if (!services_.ChooseFolder(prompt, folder)) return;
    folder = AddTrailingBackslash(folder);
    if (!folder.empty() && ::vx::DirectoryExists(folder)) edtOutputFolder->SetText(folder);
}

void TfrmMain::SpeedButton1Click(TObject*) {
    const std::wstring folder = edtOutputFolder->GetText();
    if (!::vx::DirectoryExists(folder) && !::vx::CreateDir(folder)) {
        Ask(Quoted(folder) + L"输出目录创建失败，请重新选择输出目录!", L"转换", MB_OK | MB_ICONWARNING);
        FocusOutputFolder();
        return;
    }
    services_.ShellOpen(GetHandle(), L"Open", folder);
}

void TfrmMain::sbtnAboutClick(TObject*) {
    // The box has one owner, this scope: no owning component as well.
    std::unique_ptr<TfrmAbout> about(new TfrmAbout(nullptr, services_));
    services_.ShowAbout(*about);
}

void TfrmMain::lblTavelBlogClick(TObject*) { services_.ShellOpen(GetHandle(), L"OPEN", kDonationPage); }
void TfrmMain::lblTavelBlogMouseEnter(TObject*) { lblTavelBlog->GetFont()->SetStyle(fsUnderline); }
void TfrmMain::lblTavelBlogMouseLeave(TObject*) { lblTavelBlog->GetFont()->SetStyle(0); }

// --- what the batch shows ------------------------------------------------------------------

int TfrmMain::Ask(const std::wstring& text, const std::wstring& caption, UINT flags) {
    return services_.ShowMessageBox(text, caption, flags);
}

void TfrmMain::Warn(const std::wstring& text) { Ask(text, L"转换", MB_OK | MB_ICONWARNING); }

bool TfrmMain::Confirm(const std::wstring& text) {
    return Ask(text, L"转换", MB_OKCANCEL | MB_ICONQUESTION) == IDOK;
}

void TfrmMain::FocusOutputFolder() {
    if (edtOutputFolder->CanFocus()) edtOutputFolder->SetFocus();
}

bool TfrmMain::Unattended() { return chkShutdown->GetChecked(); }

void TfrmMain::RowChanged(int row) {
    if (row < 0 || row >= queue_.Count() || row >= ListView1->GetItems()->Count()) return;
    const TQueueRow& data = queue_.Row(row);
    TListItem* item = ListView1->GetItems()->Items(row);
    item->SetCaption(data.Path);
    TStrings* sub = item->GetSubItems();
    while (sub->GetCount() < 2) sub->Add(L"");
    sub->Put(0, data.Status());
    sub->Put(1, data.Progress);
    item->SetImageIndex(data.ImageIndex());
}

void TfrmMain::SetBarPosition(int position) { ProgressBar->SetPosition(position); }
void TfrmMain::SetBarHint(const std::wstring& hint) { ProgressBar->SetHint(hint); }

void TfrmMain::ShowControlStates(const TControlStates& s) {
    btnStart->SetEnabled(s.Start);
    btnStop->SetEnabled(s.Stop);
    edtOutputFolder->SetEnabled(s.OutputFolder);
    btnBrowse->SetEnabled(s.Browse);
    btnAddFile->SetEnabled(s.AddFile);
    cboxType->SetEnabled(s.Type);
    miDel->SetEnabled(s.Delete);
    miDelAll->SetEnabled(s.DeleteAll);
    miAdd->SetEnabled(s.Add);
}

void TfrmMain::OfferShutdown() {
    std::unique_ptr<TfrmShutdown> dialog(new TfrmShutdown(nullptr));  // owned by this scope alone
    const TModalResult result = services_.ShowShutdown(*dialog);
    dialog.reset();
    if (result != mrOk) return;
    // The program ends without closing its window, so its settings are saved here.
    SaveSettings();
    Application->Terminate();
    ShutDownComputer(services_);
}

}  // namespace vx
