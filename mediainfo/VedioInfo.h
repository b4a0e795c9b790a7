#pragma once
// The media information window: a file's MediaInfo report as a tree, one top-level
// node per section (general, video, audio ...) and one child per field, the names in
// Chinese. The report is read by the platform-free TVedioInfoModel; this unit only
// shows it and runs the request.

#include <string>

#include "framework/ComCtrls.h"
#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "framework/StdCtrls.h"
#include "mediainfo/MediaInfoDll.h"
#include "mediainfo/VedioInfoModel.h"

namespace vx {

class TfrmVedioInfo : public TForm {
    VX_DECLARE_CLASS(TfrmVedioInfo, TForm)
public:
    explicit TfrmVedioInfo(TComponent* owner);

    // Replaces the tree with the model's sections and fields, every section
    // expanded and the first node selected.
    void ShowModel(const TVedioInfoModel& model);

    TTreeView* tvInfo;
    TPanel* pnlBottom;
    TButton* btnClose;
};

// How the request shows the window. It does the real thing; a test derives and
// overrides it to look at the window and close it.
class TVedioInfoServices {
public:
    virtual ~TVedioInfoServices() = default;
    // Shows the filled window modally; returns when it has been closed.
    virtual void ShowModal(TfrmVedioInfo& form);
    // The program's instance.
    static TVedioInfoServices& System();
};

// Has the library analyse `fileName` and shows its report in a new information
// window, modally; returns when the window has been closed. Without a usable library
// (missing, or lacking one of the analysis calls) nothing is shown and false comes
// back. The analysis ends (Close) after the window has gone.
bool ShowFileInfo(const std::wstring& fileName,
                  const std::wstring& libraryPath = MediaInfoLibraryPath,
                  TVedioInfoServices& services = TVedioInfoServices::System());

// The file queue's request: the file of the first selected row in list order (its
// caption is the full path). Does nothing when no row is selected.
bool ShowFileInfo(const TCustomListView& queue,
                  const std::wstring& libraryPath = MediaInfoLibraryPath,
                  TVedioInfoServices& services = TVedioInfoServices::System());

}  // namespace vx
