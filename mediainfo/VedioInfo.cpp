#include "mediainfo/VedioInfo.h"

#include <memory>

#include "mediainfo/MediaInfoAnalysis.h"

namespace vx {

VX_IMPLEMENT_CLASS(TfrmVedioInfo, TForm)

namespace {

constexpr int kClientWidth = 440, kClientHeight = 449;
constexpr int kPanelHeight = 37;
constexpr int kButtonWidth = 75, kButtonHeight = 25, kButtonTop = 6, kButtonRightGap = 13;

}  // namespace

TfrmVedioInfo::TfrmVedioInfo(TComponent* owner) : TForm(owner) {
    SetName(L"frmVedioInfo");
    SetBorderStyle(bsSizeToolWin);
    SetPosition(poMainFormCenter);
    SetCaption(L"视频信息");
    SetColor(clBtnFace);
    GetFont()->SetName(L"宋体");
    GetFont()->SetHeight(-12);
    GetFont()->SetCharset(GB2312_CHARSET);
    SetClientSize(kClientWidth, kClientHeight);

    // The panel is aligned first, so the tree fills what is left above it.
    pnlBottom = new TPanel(this);
    pnlBottom->SetName(L"pnlBottom");
    pnlBottom->SetParent(this);
    pnlBottom->SetBevelOuter(bvNone);
    pnlBottom->SetCaption(L"");
    pnlBottom->SetBounds(0, kClientHeight - kPanelHeight, kClientWidth, kPanelHeight);
    pnlBottom->SetAlign(alBottom);

    btnClose = new TButton(this);
    btnClose->SetName(L"btnClose");
    btnClose->SetParent(pnlBottom);
    btnClose->SetCaption(L"关闭");
    btnClose->SetBounds(kClientWidth - kButtonRightGap - kButtonWidth, kButtonTop, kButtonWidth,
                        kButtonHeight);
    btnClose->SetAnchors(akTop | akRight);
    btnClose->SetCancel(true);
    btnClose->SetModalResult(mrCancel);

    tvInfo = new TTreeView(this);
    tvInfo->SetName(L"tvInfo");
    tvInfo->SetParent(this);
    tvInfo->SetAlign(alClient);
    tvInfo->SetReadOnly(true);
    tvInfo->SetIndent(19);
    // Sections stand at the left edge without an expand button; their fields are
    // indented beneath them.
    tvInfo->SetShowRoot(false);
    tvInfo->SetShowLines(false);
    tvInfo->SetTabOrder(0);
}

void TfrmVedioInfo::ShowModel(const TVedioInfoModel& model) {
    TTreeNodes* nodes = tvInfo->GetItems();
    {
        TUpdateGuard update(*nodes);
        nodes->Clear();
        for (const TInfoSection& section : model.Sections()) {
            TTreeNode* node = nodes->Add(nullptr, section.Title);
            for (const std::wstring& line : section.Lines) nodes->AddChild(node, line);
            node->Expand(true);
        }
    }
    if (TTreeNode* first = nodes->GetFirstNode()) tvInfo->SetSelected(first);
}

void TVedioInfoServices::ShowModal(TfrmVedioInfo& form) { form.ShowModal(); }

TVedioInfoServices& TVedioInfoServices::System() {
    static TVedioInfoServices services;
    return services;
}

bool ShowFileInfo(const std::wstring& fileName, const std::wstring& libraryPath, TVedioInfoServices& services) {
    if (!MediaInfoReady(libraryPath)) return false;
    TMediaInfoAnalysis analysis(fileName);
    const TVedioInfoModel model(analysis.Report());
    // Owned by the application while it exists; freed here once it has been closed.
    std::unique_ptr<TfrmVedioInfo> form(new TfrmVedioInfo(Application));
    form->ShowModel(model);
    services.ShowModal(*form);
    return true;
}

bool ShowFileInfo(const TCustomListView& queue, const std::wstring& libraryPath, TVedioInfoServices& services) {
    const TListItem* row = queue.GetSelected();
    if (!row) return false;
    return ShowFileInfo(row->GetCaption(), libraryPath, services);
}

}  // namespace vx
