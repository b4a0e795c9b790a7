// The control gallery: every control of the framework on one form, the left half
// enabled and the right half disabled, with Chinese captions.
//   gallery.exe [plain | menu | mdi]
// The window wears the program's skin (frame, skinned menu bar, menus and every
// control); "plain" shows the framework's own look; "menu" opens the first drop-down
// of the skinned bar with an item highlighted (for pictures of the menus); "mdi" also
// opens an MDI frame of plain windows whose maximised child puts its buttons into the
// frame's skinned bar.

#include <windows.h>

#include <functional>

#include "framework/Buttons.h"
#include "framework/Classes.h"
#include "framework/ComCtrls.h"
#include "framework/Dialogs.h"
#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "framework/ImgList.h"
#include "framework/Menus.h"
#include "framework/StdCtrls.h"
#include "skin/controls/ControlDispatch.h"
#include "skin/data/SkinData.h"
#include "skin/window/FormSkinner.h"
#include "skin/window/MenuSkinner.h"
#include "skin/window/SkinManage.h"

using namespace vx;

namespace {

bool g_skinned = false;

// A 16 x 16 picture on a magenta (transparent) background.
TBitmap* MakeGlyph(TColor color, bool check) {
    auto* b = new TBitmap(16, 16);
    TCanvas* c = b->GetCanvas();
    c->GetBrush()->SetColor(clFuchsia);
    c->FillRect(RECT{0, 0, 16, 16});
    c->GetPen()->SetColor(color);
    c->GetPen()->SetWidth(2);
    c->GetBrush()->SetColor(color);
    if (check) {
        c->Polyline({POINT{3, 8}, POINT{6, 12}, POINT{13, 3}});
    } else {
        c->Ellipse(2, 2, 14, 14);
    }
    return b;
}

template <class T>
T* Place(TComponent* owner, TWinControl* parent, int l, int t, int w, int h) {
    auto* c = new T(owner);
    c->SetParent(parent);
    c->SetBounds(l, t, w, h);
    return c;
}

void DisableAll(TWinControl* parent) {
    for (int i = 0; i < parent->ControlCount(); ++i) {
        TControl* c = parent->Controls(i);
        c->SetEnabled(false);
        if (c->HasWindow()) DisableAll(static_cast<TWinControl*>(c));
    }
}

class TGalleryForm : public TForm {
public:
    explicit TGalleryForm(TComponent* owner) : TForm(owner) {
        SetCaption(L"控件一览 - Vexlo 框架");
        SetPosition(poScreenCenter);
        SetClientSize(1000, 560);
        SetShowHint(true);
        if (g_skinned) BuildSkinData();
        images_ = new TImageList(this);
        const TColor colors[] = {clGreen, clRed, clBlue, clOlive};
        for (TColor color : colors) {
            TBitmap* g = MakeGlyph(color, false);
            images_->AddMasked(g, clFuchsia);
            delete g;
        }
        BuildMenu();
        auto* status = new TStatusBar(this);
        status->SetParent(this);
        status->GetPanels()->Add()->SetText(L"就绪");
        status->GetPanels()->Add()->SetText(L"左：可用  右：禁用");
        status->GetPanels()->Items(0)->SetWidth(120);
        auto* left = Place<TPanel>(this, this, 0, 0, 500, 580);
        left->SetAlign(alLeft);
        left->SetBevelOuter(bvNone);
        auto* right = Place<TPanel>(this, this, 500, 0, 500, 580);
        right->SetAlign(alClient);
        right->SetBevelOuter(bvNone);
        BuildSet(left, L"可用");
        BuildSet(right, L"禁用");
        DisableAll(right);
    }

private:
    // The program's skin, read from the resource the program carries it in.
    void BuildSkinData() {
        auto* data = new TSkinData(this);
        data->SetName(L"SkinData2");
        data->SetActive(true);
        data->SetSkinControls(SkinBit(xcSystemMenu + 1) - 1);
        data->SetOptions(SkinBit(xoPreview) | SkinBit(xoToolbarBK));
        data->SetSkinFormtype(sfMainform);
        try {
            TResourceStream stream(::GetModuleHandleW(nullptr), L"SKINDATA2", RT_RCDATA);
            data->ReadSkinStream(stream);
        } catch (const std::exception&) {
            // Without the resource the gallery keeps the system's look.
        }
    }

    void BuildMenu() {
        auto* menu = new TMainMenu(this);
        menu->SetImages(images_);
        auto* file = NewItem(this, L"文件(&F)", 0, nullptr);
        auto* add = NewItem(this, L"添加文件(&A)...", ShortCut('O', ssCtrl), nullptr);
        add->SetImageIndex(0);
        file->Add(add);
        auto* shutdown = NewItem(this, L"完成后关机(&S)", 0, nullptr);
        shutdown->SetChecked(true);
        file->Add(shutdown);
        auto* remove = NewItem(this, L"删除当前(&D)", ShortCut(VK_DELETE, 0), nullptr);
        remove->SetEnabled(false);
        file->Add(remove);
        file->Add(NewItem(this, L"-", 0, nullptr));
        file->Add(NewItem(this, L"退出(&X)", 0, [this](TObject*) { Close(); }));
        auto* view = NewItem(this, L"查看(&V)", 0, nullptr);
        view->Add(NewItem(this, L"刷新", ShortCut(VK_F5, 0), nullptr));
        auto* edit = NewItem(this, L"编辑(&E)", 0, nullptr);
        edit->Add(NewItem(this, L"复制", 0, nullptr));
        edit->SetEnabled(false);
        auto* help = NewItem(this, L"帮助(&H)", 0, nullptr);
        help->Add(NewItem(this, L"关于...", 0, nullptr));
        menu->GetItems()->Add(file);
        menu->GetItems()->Add(view);
        menu->GetItems()->Add(edit);
        menu->GetItems()->Add(help);
        SetMenu(menu);
        popup_ = new TPopupMenu(this);
        popup_->GetItems()->Add(NewItem(this, L"删除", ShortCut(VK_DELETE, 0), nullptr));
        popup_->GetItems()->Add(NewItem(this, L"清空列表", 0, nullptr));
    }

    void BuildSet(TWinControl* p, const std::wstring& title) {
        auto* heading = Place<TLabel>(this, p, 8, 4, 100, 14);
        heading->SetCaption(title);
        heading->GetFont()->SetStyle(fsBold);

        int y = 22;
        auto* button = Place<TButton>(this, p, 8, y, 80, 25);
        button->SetCaption(L"开始转换(&S)");
        button->SetHint(L"开始转换视频文件");
        auto* bitBtn = Place<TBitBtn>(this, p, 94, y, 90, 25);
        bitBtn->SetCaption(L"确定");
        TBitmap* check = MakeGlyph(clGreen, true);
        bitBtn->SetGlyph(check);
        auto* speed = Place<TSpeedButton>(this, p, 190, y, 70, 25);
        speed->SetCaption(L"关于");
        speed->SetGlyph(check);
        auto* flat = Place<TSpeedButton>(this, p, 266, y, 70, 25);
        flat->SetFlat(true);
        flat->SetCaption(L"输出到:");
        auto* down = Place<TSpeedButton>(this, p, 342, y, 60, 25);
        down->SetGroupIndex(1);
        down->SetDown(true);
        down->SetCaption(L"按下");
        delete check;
        auto* link = Place<TLabel>(this, p, 410, y + 6, 80, 14);
        link->SetCaption(L"我要捐助！");
        link->GetFont()->SetColor(clBlue);
        link->GetFont()->SetStyle(fsUnderline);
        link->SetCursor(crHandPoint);

        y += 33;
        auto* edit = Place<TEdit>(this, p, 8, y, 150, 21);
        edit->SetText(L"C:\\视频\\输出\\");
        auto* combo = Place<TComboBox>(this, p, 166, y, 150, 20);
        combo->SetStyle(csDropDownList);
        combo->GetItems()->Add(L"MP4 - 手机 320x240");
        combo->GetItems()->Add(L"AVI - 标清");
        combo->SetItemIndex(0);
        Place<TDateTimePicker>(this, p, 324, y, 166, 21);

        y += 30;
        auto* chk = Place<TCheckBox>(this, p, 8, y, 150, 17);
        chk->SetCaption(L"完成后自动关机");
        chk->SetChecked(true);
        auto* r1 = Place<TRadioButton>(this, p, 166, y, 70, 17);
        r1->SetCaption(L"标清");
        r1->SetChecked(true);
        auto* r2 = Place<TRadioButton>(this, p, 240, y, 70, 17);
        r2->SetCaption(L"高清");
        auto* spinEdit = Place<TEdit>(this, p, 324, y - 2, 60, 21);
        auto* upDown = Place<TUpDown>(this, p, 384, y - 2, 17, 21);
        upDown->SetAssociate(spinEdit);
        upDown->SetPosition(25);
        (void)spinEdit;

        y += 26;
        auto* group = Place<TGroupBox>(this, p, 8, y, 150, 80);
        group->SetCaption(L"分组框");
        auto* inGroup = Place<TLabel>(this, group, 10, 24, 120, 14);
        inGroup->SetCaption(L"框中的文字");
        auto* radioGroup = Place<TRadioGroup>(this, p, 166, y, 150, 80);
        radioGroup->SetCaption(L"画质");
        radioGroup->GetItems()->Add(L"低");
        radioGroup->GetItems()->Add(L"中");
        radioGroup->GetItems()->Add(L"高");
        radioGroup->SetItemIndex(1);
        auto* panel = Place<TPanel>(this, p, 324, y, 166, 80);
        panel->SetBevelOuter(bvLowered);
        panel->SetBevelInner(bvRaised);
        panel->SetCaption(L"面板");
        auto* bevel = Place<TBevel>(this, panel, 10, 60, 146, 2);
        bevel->SetShape(bsTopLine);

        y += 88;
        auto* memo = Place<TMemo>(this, p, 8, y, 150, 64);
        memo->GetLines()->Add(L"多行文本");
        memo->GetLines()->Add(L"第二行");
        auto* image = Place<TImage>(this, p, 166, y, 64, 64);
        TBitmap picture(64, 64);
        for (int i = 0; i < 64; ++i) {
            picture.GetCanvas()->GetPen()->SetColor(static_cast<TColor>(RGB(255 - i * 3, 120 + i, 60 + i * 3)));
            picture.GetCanvas()->MoveTo(0, i);
            picture.GetCanvas()->LineTo(64, i);
        }
        picture.GetCanvas()->GetBrush()->SetStyle(bsClear);
        picture.GetCanvas()->GetFont()->SetColor(clWhite);
        picture.GetCanvas()->TextOut(14, 24, L"图片");
        image->GetPicture()->SetGraphic(&picture);
        auto* track = Place<TTrackBar>(this, p, 238, y, 252, 30);
        track->SetPosition(4);
        auto* scroll = Place<TScrollBar>(this, p, 238, y + 40, 252, 17);
        scroll->SetPosition(30);

        y += 72;
        auto* list = Place<TListView>(this, p, 8, y, 310, 120);
        list->SetViewStyle(vsReport);
        list->SetRowSelect(true);
        list->SetReadOnly(true);
        list->SetSmallImages(images_);
        list->SetPopupMenu(popup_);
        const wchar_t* columns[] = {L"文件名", L"状态", L"大小"};
        const int widths[] = {130, 80, 70};
        for (int i = 0; i < 3; ++i) {
            TListColumn* c = list->GetColumns()->Add();
            c->SetCaption(columns[i]);
            c->SetWidth(widths[i]);
        }
        const wchar_t* names[] = {L"旅行.avi", L"会议记录.rmvb", L"片头.mp4"};
        const wchar_t* states[] = {L"转换完成", L"转换失败", L"等待转换"};
        for (int i = 0; i < 3; ++i) {
            TListItem* item = list->GetItems()->Add();
            item->SetCaption(names[i]);
            item->GetSubItems()->Add(states[i]);
            item->GetSubItems()->Add(std::to_wstring(12 + i * 7) + L" MB");
            item->SetImageIndex(i);
        }
        list->GetItems()->Items(1)->SetSelected(true);
        auto* tree = Place<TTreeView>(this, p, 326, y, 164, 120);
        tree->SetReadOnly(true);
        TTreeNode* general = tree->GetItems()->Add(nullptr, L"概要");
        tree->GetItems()->AddChild(general, L"格式: AVI");
        TTreeNode* video = tree->GetItems()->Add(general, L"视频");
        tree->GetItems()->AddChild(video, L"编码: MPEG-4");
        tree->GetItems()->AddChild(video, L"帧率: 25");
        tree->GetItems()->Add(general, L"音频");
        general->Expand(true);
        video->Expand(true);

        y += 128;
        auto* progress = Place<TProgressBar>(this, p, 8, y, 482, 17);
        progress->SetPosition(60);

        y += 24;
        auto* pages = Place<TPageControl>(this, p, 8, y, 240, 84);
        auto* sheet1 = new TTabSheet(this);
        sheet1->SetCaption(L"常规");
        sheet1->SetPageControl(pages);
        auto* inSheet = Place<TLabel>(this, sheet1, 8, 8, 150, 14);
        inSheet->SetCaption(L"选项卡页面");
        auto* sheet2 = new TTabSheet(this);
        sheet2->SetCaption(L"高级");
        sheet2->SetPageControl(pages);
        auto* tabs = Place<TTabControl>(this, p, 256, y, 234, 84);
        tabs->GetTabs()->Add(L"视频");
        tabs->GetTabs()->Add(L"音频");
        tabs->GetTabs()->Add(L"字幕");
    }

    TImageList* images_;
    TPopupMenu* popup_;
};

LRESULT CALLBACK MdiFrameProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    HWND client = ::FindWindowExW(window, nullptr, L"MDIClient", nullptr);
    return ::DefFrameProcW(window, client, msg, wParam, lParam);
}

// An MDI frame made of plain windows, with a native menu and one maximised child.
void OpenMdiFrame() {
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    WNDCLASSW frame{};
    frame.lpfnWndProc = &MdiFrameProc;
    frame.hInstance = instance;
    frame.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
    frame.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    frame.lpszClassName = L"VxGalleryMdiFrame";
    ::RegisterClassW(&frame);
    WNDCLASSW child{};
    child.lpfnWndProc = &::DefMDIChildProcW;
    child.hInstance = instance;
    child.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    child.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    child.lpszClassName = L"VxGalleryMdiChild";
    ::RegisterClassW(&child);
    HMENU bar = ::CreateMenu();
    HMENU file = ::CreatePopupMenu();
    ::AppendMenuW(file, MF_STRING, 101, L"新建(&N)");
    ::AppendMenuW(file, MF_STRING, 102, L"关闭(&C)");
    HMENU window = ::CreatePopupMenu();
    ::AppendMenuW(window, MF_STRING, 201, L"层叠(&C)");
    ::AppendMenuW(window, MF_STRING, 202, L"平铺(&T)");
    ::AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"文件(&F)");
    ::AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(window), L"窗口(&W)");
    HWND frameWindow = ::CreateWindowExW(0, frame.lpszClassName, L"多文档窗口", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                                         300, 120, 460, 320, nullptr, bar, instance, nullptr);
    CLIENTCREATESTRUCT ccs{};
    ccs.hWindowMenu = window;
    ccs.idFirstChild = 1000;
    RECT area{};
    ::GetClientRect(frameWindow, &area);
    HWND client = ::CreateWindowExW(WS_EX_CLIENTEDGE, L"MDIClient", nullptr, WS_CHILD | WS_CLIPCHILDREN | WS_VISIBLE,
                                    0, 0, area.right, area.bottom, frameWindow, nullptr, instance, &ccs);
    ::ShowWindow(frameWindow, SW_SHOW);
    ::SetForegroundWindow(frameWindow);
    MDICREATESTRUCTW mcs{};
    mcs.szClass = child.lpszClassName;
    mcs.szTitle = L"文档一";
    mcs.hOwner = instance;
    mcs.x = mcs.y = mcs.cx = mcs.cy = CW_USEDEFAULT;
    mcs.style = WS_VISIBLE | WS_MAXIMIZE;
    ::SendMessageW(client, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs));
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR command, int) {
    const std::wstring mode = command ? command : L"";
    g_skinned = mode != L"plain";
    if (g_skinned) {
        InstallWindowSkinning();
        InstallControlSkinning();
    }
    Application->SetMainFormOnTaskBar(true);
    Application->SetTitle(L"控件一览");
    TGalleryForm* form = nullptr;
    Application->CreateForm(form);
    TTimer opener(nullptr);
    opener.SetInterval(1500);
    opener.OnTimer = [&](TObject*) {
        opener.SetEnabled(false);
        TSkinManage* manager = TSkinManage::Instance();
        TFormSkinner* skinner = manager ? manager->FindForm(form->GetHandle()) : nullptr;
        if (skinner && skinner->MenuBar()) skinner->MenuBar()->OpenDropDown(0);
    };
    opener.SetEnabled(mode == L"menu");
    TTimer mdi(nullptr);
    mdi.SetInterval(1000);
    mdi.OnTimer = [&](TObject*) {
        mdi.SetEnabled(false);
        OpenMdiFrame();
    };
    mdi.SetEnabled(mode == L"mdi");
    Application->Run();
    return 0;
}
