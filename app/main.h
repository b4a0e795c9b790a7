#pragma once
// The main window: the queue of files, the conversion type, the output folder, the
// progress bar and the buttons that start and stop a batch. The batch itself is
// TBatchDriver, which holds the window's encoder job and its progress timer; the
// window only shows what the batch tells it (TBatchView): message boxes, the list view
// that mirrors the queue's rows, the bar, the controls and the shutdown offer.

#include <memory>
#include <string>
#include <vector>

#include "app/BatchDriver.h"
#include "app/BatchPlatform.h"
#include "app/FileQueue.h"
#include "app/IniFileStore.h"
#include "app/MainServices.h"
#include "app/Settings.h"
#include "framework/Buttons.h"
#include "framework/ComCtrls.h"
#include "framework/Dialogs.h"
#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "framework/ImgList.h"
#include "framework/Menus.h"
#include "framework/StdCtrls.h"
#include "process/UMEncoder.h"
#include "skin/data/SkinData.h"
#include "widgets/GradientProgressBar.h"

namespace vx {

class TfrmShutdown;

inline constexpr wchar_t kMainTitle[] = L"Vexlo视频转换器 v1.3";
inline constexpr wchar_t kMainWindowClass[] = L"_VXEncoder_";
// RCDATA resource holding SkinData2's "SkinStream" (32-bit length, then the packed skin).
inline constexpr wchar_t kSkinStreamResource[] = L"SKINDATA2";

class TfrmMain : public TForm, private TBatchView {
    VX_DECLARE_CLASS(TfrmMain, TForm)
public:
    // `programFolder` (with its trailing backslash) holds codecs\: the encoder, the
    // catalogue and the settings. By default the running program's folder. Message
    // boxes, dialogs, the shell and the power-off go through `services`.
    explicit TfrmMain(TComponent* owner, std::wstring programFolder = {},
                      TMainServices& services = TMainServices::System());
    ~TfrmMain() override;

    // --- controls -------------------------------------------------------------------
    TPanel* pnlTop;
    TImage* Image1;
    TBevel* bvlTop;
    TPanel* Panel2;
    TButton* btnAddFile;
    TButton* btnStart;
    TButton* btnStop;
    TComboBox* cboxType;
    TSpeedButton* sbtnAbout;
    TPanel* Panel1;
    TListView* ListView1;
    TPanel* Panel3;
    TGradientProgressBar* ProgressBar;
    TSpeedButton* SpeedButton1;
    TEdit* edtOutputFolder;
    TButton* btnBrowse;
    TCheckBox* chkShutdown;
    TImage* Image2;
    TLabel* lblTavelBlog;
    TOpenDialog* odlgVedio;
    TImageList* ImageList1;
    TPopupMenu* pmList;
    TMenuItem* miInfo;
    TMenuItem* miAdd;
    TMenuItem* miDel;
    TMenuItem* miDelAll;
    // The skin of every window of the program; its packed skin is the resource
    // "SKINDATA2" (kSkinStreamResource).
    TSkinData* SkinData2;

    // --- fields ---------------------------------------------------------------------
    std::unique_ptr<TMEncoder> Encoder;
    std::wstring EncoderPath;
    std::wstring OutputExt;
    int CurrentRow() const { return driver_.CurrentRow(); }
    bool StopRequested() const { return driver_.StopRequested(); }
    const TFileQueue& Queue() const { return queue_; }
    // True while btnStartClick has not returned.
    bool BatchRunning() const { return batchRunning_; }
    bool JobRunning() const { return Encoder && Encoder->IsRunning(); }

    // --- handlers -------------------------------------------------------------------
    void FormCreate(TObject* Sender);
    void FormClose(TObject* Sender, TCloseAction& Action);
    void FormCloseQuery(TObject* Sender, bool& CanClose);
    void btnStartClick(TObject* Sender);
    void btnStopClick(TObject* Sender);
    void btnAddFileClick(TObject* Sender);
    void miAddClick(TObject* Sender) { btnAddFileClick(Sender); }
    void miInfoClick(TObject* Sender);
    void miDelClick(TObject* Sender);
    void miDelAllClick(TObject* Sender);
    void cboxTypeChange(TObject* Sender);
    void btnBrowseClick(TObject* Sender);
    void SpeedButton1Click(TObject* Sender);
    void sbtnAboutClick(TObject* Sender);
    void lblTavelBlogClick(TObject* Sender);
    void lblTavelBlogMouseEnter(TObject* Sender);
    void lblTavelBlogMouseLeave(TObject* Sender);

    // Appends a row unless the path is queued (ASCII letters compared without case).
    void AddFile(const std::wstring& path);
    // AddFile for each path in order, the list view drawn and the controls re-evaluated
    // once at the end.
    void AddFiles(const std::vector<std::wstring>& paths);
    void LoadSettings();
    void SaveSettings();

    // Re-evaluates which controls are enabled (ComputeControlStates).
    void UpdateButtons() { driver_.UpdateControls(); }
    void FocusOutputFolder() override;

protected:
    void CreateParams(TCreateParams& params) override;
    void WMDropFiles(TMessage& message) override;

private:
    // --- TBatchView -----------------------------------------------------------------
    void Warn(const std::wstring& text) override;
    bool Confirm(const std::wstring& text) override;
    bool Unattended() override;
    void RowChanged(int row) override;
    void SetBarPosition(int position) override;
    void SetBarHint(const std::wstring& hint) override;
    void ShowControlStates(const TControlStates& states) override;
    void OfferShutdown() override;

    void BuildSkinData();
    void BuildTop();
    void BuildButtons();
    void BuildQueue();
    void BuildBottom();
    void BuildMenuAndDialogs();
    int Ask(const std::wstring& text, const std::wstring& caption, UINT flags);
    void AppendRow(const TQueueRow& row);

    TMainServices& services_;
    std::wstring programFolder_;
    TIniFileStore catalogueStore_;
    TIniFileStore settingsStore_;
    TProfileCatalogue catalogue_;
    TUserSettings settings_;
    TFileQueue queue_;
    TEncoderBatchJob job_;
    TSystemForBatch system_;
    TBatchDriver driver_;
    bool batchRunning_ = false;
    bool releaseJobAfterBatch_ = false;
};

}  // namespace vx
