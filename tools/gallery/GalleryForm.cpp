#include "tools/gallery/GalleryForm.h"

#include <windows.h>
#include <commctrl.h>

#include <stdexcept>

#include "framework/Buttons.h"
#include "framework/Classes.h"
#include "framework/ComCtrls.h"
#include "framework/ExtCtrls.h"
#include "framework/ImgList.h"
#include "framework/Menus.h"
#include "framework/StdCtrls.h"
#include "skin/controls/ControlDispatch.h"
#include "skin/data/SkinData.h"

namespace vx {

const std::vector<std::wstring>& GallerySkin3rdRows() {
    static const std::vector<std::wstring> rows = {
        L"TTrackBar=trackbar",   L"TProgressBar=progress", L"TPageControl=tab",
        L"TTabControl=tab",      L"TDateTimePicker=datetimepicker",
        L"TRadioButton=radiobutton", L"TGroupBox=groupbox", L"TRadioGroup=radiogroup",
    };
    return rows;
}

void SetUpGallerySkinData(TSkinData& data, HMODULE module) {
    data.SetName(L"SkinData2");
    data.SetActive(true);
    // The main window's settings: every kind up to the system menu.
    data.SetSkinControls(SkinBit(xcSystemMenu + 1) - 1);
    data.SetOptions(SkinBit(xoPreview) | SkinBit(xoToolbarBK));
    data.SetSkinFormtype(sfMainform);
    for (const std::wstring& row : GallerySkin3rdRows()) data.GetSkin3rd()->Add(row);
    data.OnSkinControl = SkinFrameworkExtras;
    try {
        TResourceStream stream(module, L"SKINDATA2", RT_RCDATA);
        data.ReadSkinStream(stream);
    } catch (const std::exception&) {
        // Without the resource the gallery keeps the system's look.
    }
}

namespace {

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

}  // namespace

TGalleryForm::TGalleryForm(TComponent* owner, bool skinned) : TForm(owner) {
    SetCaption(L"控件一览 - Vexlo 框架");
    SetPosition(poScreenCenter);
    SetClientSize(1000, 560);
    SetShowHint(true);
    if (skinned) {
        auto* data = new TSkinData(this);
        SetUpGallerySkinData(*data, ::GetModuleHandleW(nullptr));
    }
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

void TGalleryForm::BuildMenu() {
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

void TGalleryForm::BuildSet(TWinControl* p, const std::wstring& title) {
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


// --- the states of one kind ----------------------------------------------------------------------

const std::vector<std::wstring>& GalleryStateKinds() {
    static const std::vector<std::wstring> kinds = {
        L"button", L"bitbtn", L"speedbutton", L"checkbox", L"radiobutton", L"edit", L"combobox",
        L"datetime", L"groupbox", L"progress", L"trackbar", L"updown", L"scrollbar", L"tabs",
        L"pages", L"statusbar", L"listview",
    };
    return kinds;
}

namespace {

constexpr int kCellWidth = 150;

// The caption over one state's cell; the cell's left edge.
int Cell(TForm* form, int index, const wchar_t* state) {
    const int x = 10 + index * kCellWidth;
    auto* label = Place<TLabel>(form, form, x, 6, kCellWidth - 10, 14);
    label->SetCaption(state);
    return x;
}

// A framework control made with extra window styles the framework has no property for
// (tab sides and buttons, the track bar's selection range). It keeps its class's name,
// so the class map treats it as that class; the styles are there from the window's
// creation, before any skin object looks at them.
template <class Base>
class TStyled : public Base {
public:
    TStyled(TComponent* owner, DWORD extra) : Base(owner), extra_(extra) {}

protected:
    void CreateParams(TCreateParams& params) override {
        Base::CreateParams(params);
        params.Style |= extra_;
    }

private:
    DWORD extra_;
};

template <class T>
T* PlaceStyled(TComponent* owner, TWinControl* parent, DWORD extra, int l, int t, int w, int h) {
    auto* c = new TStyled<T>(owner, extra);
    c->SetParent(parent);
    c->SetBounds(l, t, w, h);
    return c;
}

}  // namespace

TStatesForm::TStatesForm(TComponent* owner, const std::wstring& kind, bool skinned) : TForm(owner) {
    SetCaption(L"状态 - " + kind);
    SetPosition(poDesigned);
    if (skinned) {
        auto* data = new TSkinData(this);
        SetUpGallerySkinData(*data, ::GetModuleHandleW(nullptr));
    }
    int cells = 5, height = 60;
    const int top = 26;
    TBitmap* glyph = MakeGlyph(clGreen, true);
    if (kind == L"button") {
        const wchar_t* names[] = {L"正常", L"禁用", L"默认", L"焦点", L"按下"};
        for (int i = 0; i < 5; ++i) {
            auto* b = Place<TButton>(this, this, Cell(this, i, names[i]), top, 100, 25);
            b->SetCaption(L"开始转换(&S)");
            if (i == 1) b->SetEnabled(false);
            if (i == 2) b->SetDefault(true);
            if (i == 3) focus_ = b;
            if (i == 4) pressed_ = b;
        }
    } else if (kind == L"bitbtn") {
        const wchar_t* names[] = {L"正常", L"禁用", L"焦点", L"按下"};
        cells = 4;
        for (int i = 0; i < 4; ++i) {
            auto* b = Place<TBitBtn>(this, this, Cell(this, i, names[i]), top, 100, 27);
            b->SetCaption(L"确定");
            b->SetGlyph(glyph);
            if (i == 1) b->SetEnabled(false);
            if (i == 2) focus_ = b;
            if (i == 3) pressed_ = b;
        }
    } else if (kind == L"speedbutton") {
        const wchar_t* names[] = {L"正常", L"禁用", L"按下(Down)", L"平面", L"按住"};
        for (int i = 0; i < 5; ++i) {
            auto* b = Place<TSpeedButton>(this, this, Cell(this, i, names[i]), top, 90, 27);
            b->SetCaption(L"关于");
            b->SetGlyph(glyph);
            if (i == 1) b->SetEnabled(false);
            if (i == 2) {
                b->SetGroupIndex(1);
                b->SetDown(true);
            }
            if (i == 3) b->SetFlat(true);
            if (i == 4) pressed_ = b;
        }
    } else if (kind == L"checkbox" || kind == L"radiobutton") {
        const wchar_t* names[] = {L"未选", L"选中", L"禁用", L"禁用且选中", L"焦点", L"按下"};
        cells = 6;
        for (int i = 0; i < 6; ++i) {
            const int x = Cell(this, i, names[i]);
            TButtonControl* c = nullptr;
            if (kind == L"checkbox") {
                auto* box = Place<TCheckBox>(this, this, x, top, 130, 17);
                box->SetChecked(i == 1 || i == 3);
                c = box;
            } else {
                // Each radio button in a box of its own, or checking one clears the others.
                auto* box = Place<TPanel>(this, this, x, top, 140, 21);
                box->SetBevelOuter(bvNone);
                auto* radio = Place<TRadioButton>(this, box, 0, 2, 130, 17);
                radio->SetChecked(i == 1 || i == 3);
                c = radio;
            }
            c->SetCaption(L"完成后关机");
            if (i == 2 || i == 3) c->SetEnabled(false);
            if (i == 4) focus_ = c;
            if (i == 5) pressed_ = c;
        }
    } else if (kind == L"edit") {
        const wchar_t* names[] = {L"正常", L"禁用", L"只读", L"焦点"};
        cells = 4;
        for (int i = 0; i < 4; ++i) {
            auto* e = Place<TEdit>(this, this, Cell(this, i, names[i]), top, 130, 21);
            e->SetText(L"C:\\视频\\输出\\");
            if (i == 1) e->SetEnabled(false);
            if (i == 2) e->SetReadOnly(true);
            if (i == 3) focus_ = e;
        }
    } else if (kind == L"combobox") {
        const wchar_t* names[] = {L"正常", L"禁用", L"可编辑", L"焦点", L"简单"};
        height = 110;
        for (int i = 0; i < 5; ++i) {
            auto* c = Place<TComboBox>(this, this, Cell(this, i, names[i]), top, 130, i == 4 ? 80 : 20);
            c->SetStyle(i == 2 ? csDropDown : i == 4 ? csSimple : csDropDownList);
            c->GetItems()->Add(L"MP4 - 手机 320x240");
            c->GetItems()->Add(L"AVI - 标清");
            c->GetItems()->Add(L"FLV - 网络");
            c->SetItemIndex(0);
            if (i == 1) c->SetEnabled(false);
            if (i == 3) focus_ = c;
        }
    } else if (kind == L"datetime") {
        const wchar_t* names[] = {L"正常", L"禁用", L"焦点", L"时间"};
        cells = 4;
        for (int i = 0; i < 4; ++i) {
            auto* d = Place<TDateTimePicker>(this, this, Cell(this, i, names[i]), top, 130, 21);
            if (i == 1) d->SetEnabled(false);
            if (i == 2) focus_ = d;
            if (i == 3) d->SetKind(dtkTime);
        }
    } else if (kind == L"groupbox") {
        const wchar_t* names[] = {L"分组框", L"禁用", L"单选组", L"禁用的单选组"};
        cells = 4;
        height = 120;
        for (int i = 0; i < 4; ++i) {
            const int x = Cell(this, i, names[i]);
            TWinControl* box = nullptr;
            if (i < 2) {
                auto* g = Place<TGroupBox>(this, this, x, top, 140, 90);
                g->SetCaption(L"输出设置");
                Place<TLabel>(this, g, 10, 24, 100, 14)->SetCaption(L"框中的文字");
                box = g;
            } else {
                auto* r = Place<TRadioGroup>(this, this, x, top, 140, 90);
                r->SetCaption(L"画质");
                r->GetItems()->Add(L"低");
                r->GetItems()->Add(L"中");
                r->GetItems()->Add(L"高");
                r->SetItemIndex(1);
                box = r;
            }
            if (i % 2 == 1) DisableAll(box), box->SetEnabled(false);
        }
    } else if (kind == L"progress") {
        const wchar_t* names[] = {L"0%", L"50%", L"100%", L"平滑 40%", L"禁用", L"竖直 70%"};
        cells = 6;
        height = 80;
        const int positions[] = {0, 50, 100, 40, 60, 70};
        for (int i = 0; i < 6; ++i) {
            auto* p = Place<TProgressBar>(this, this, Cell(this, i, names[i]), top, i == 5 ? 20 : 130, i == 5 ? 50 : 17);
            if (i == 3) p->SetSmooth(true);
            if (i == 5) p->SetOrientation(pbVertical);
            p->SetPosition(positions[i]);
            if (i == 4) p->SetEnabled(false);
        }
    } else if (kind == L"trackbar") {
        const wchar_t* names[] = {L"正常", L"禁用", L"焦点", L"按下", L"选择范围", L"竖直"};
        cells = 6;
        height = 90;
        for (int i = 0; i < 6; ++i) {
            const int x = Cell(this, i, names[i]);
            const DWORD extra = i == 4 ? TBS_ENABLESELRANGE : 0;
            auto* t = i == 5 ? Place<TTrackBar>(this, this, x, top, 30, 60)
                             : PlaceStyled<TTrackBar>(this, this, extra, x, top, 140, 30);
            if (i == 5) t->SetOrientation(trVertical);
            t->SetPosition(i == 4 ? 5 : 4);
            if (i == 1) t->SetEnabled(false);
            if (i == 2) focus_ = t;
            if (i == 3) pressed_ = t;
            if (i == 4) ::SendMessageW(t->GetHandle(), TBM_SETSEL, TRUE, MAKELPARAM(3, 7));
        }
    } else if (kind == L"updown") {
        const wchar_t* names[] = {L"正常", L"禁用", L"按下", L"水平"};
        cells = 4;
        for (int i = 0; i < 4; ++i) {
            const int x = Cell(this, i, names[i]);
            auto* e = Place<TEdit>(this, this, x, top, 60, 21);
            auto* u = Place<TUpDown>(this, this, x + 60, top, i == 3 ? 34 : 17, 21);
            if (i == 3) u->SetOrientation(udHorizontal);
            u->SetAssociate(e);
            u->SetPosition(25);
            if (i == 1) e->SetEnabled(false), u->SetEnabled(false);
            if (i == 2) pressed_ = u;
        }
    } else if (kind == L"scrollbar") {
        const wchar_t* names[] = {L"水平", L"禁用", L"竖直"};
        cells = 3;
        height = 100;
        for (int i = 0; i < 3; ++i) {
            const int x = Cell(this, i, names[i]);
            auto* s = i == 2 ? Place<TScrollBar>(this, this, x, top, 17, 70) : Place<TScrollBar>(this, this, x, top, 140, 17);
            if (i == 2) {
                s->SetKind(sbVertical);
                s->SetBounds(x, top, 17, 70);
            }
            s->SetPosition(30);
            if (i == 1) s->SetEnabled(false);
        }
    } else if (kind == L"tabs" || kind == L"pages") {
        const wchar_t* names[] = {L"正常", L"禁用", L"焦点", L"按钮样式", L"底部", L"左侧"};
        cells = 6;
        height = 110;
        for (int i = 0; i < 6; ++i) {
            const int x = Cell(this, i, names[i]);
            const DWORD extra = i == 3 ? TCS_BUTTONS : i == 4 ? TCS_BOTTOM : i == 5 ? TCS_VERTICAL | TCS_MULTILINE : 0;
            TCustomTabControl* tabs = nullptr;
            if (kind == L"pages") {
                auto* pages = PlaceStyled<TPageControl>(this, this, extra, x, top, 140, 80);
                for (const wchar_t* caption : {L"常规", L"高级"}) {
                    auto* sheet = new TTabSheet(this);
                    sheet->SetCaption(caption);
                    sheet->SetPageControl(pages);
                    Place<TLabel>(this, sheet, 6, 6, 100, 14)->SetCaption(L"选项卡页面");
                }
                tabs = pages;
            } else {
                auto* t = PlaceStyled<TTabControl>(this, this, extra, x, top, 140, 80);
                t->GetTabs()->Add(L"视频");
                t->GetTabs()->Add(L"音频");
                t->GetTabs()->Add(L"字幕");
                tabs = t;
            }
            if (i == 1) tabs->SetEnabled(false);
            if (i == 2) focus_ = tabs;
        }
    } else if (kind == L"statusbar") {
        const wchar_t* names[] = {L"面板", L"简单文字", L"禁用"};
        cells = 3;
        height = 60;
        for (int i = 0; i < 3; ++i) {
            const int x = 10 + i * 2 * kCellWidth;
            Place<TLabel>(this, this, x, 6, kCellWidth, 14)->SetCaption(names[i]);
            auto* s = new TStatusBar(this);
            s->SetParent(this);
            s->SetAlign(alNone);
            s->SetBounds(x, top, 2 * kCellWidth - 20, 22);
            s->GetPanels()->Add()->SetText(L"就绪");
            s->GetPanels()->Add()->SetText(L"\t居中");
            s->GetPanels()->Items(0)->SetWidth(90);
            if (i == 1) {
                s->SetSimplePanel(true);
                s->SetSimpleText(L"正在转换...");
            }
            if (i == 2) s->SetEnabled(false);
        }
        cells = 6;
    } else if (kind == L"listview") {
        const wchar_t* names[] = {L"列表", L"禁用", L"多行文本", L"树"};
        cells = 4;
        height = 130;
        for (int i = 0; i < 4; ++i) {
            const int x = Cell(this, i, names[i]);
            if (i < 2) {
                auto* list = Place<TListView>(this, this, x, top, 140, 100);
                list->SetViewStyle(vsReport);
                for (const wchar_t* caption : {L"文件名", L"状态"}) {
                    TListColumn* c = list->GetColumns()->Add();
                    c->SetCaption(caption);
                    c->SetWidth(80);
                }
                for (int row = 0; row < 12; ++row) {
                    TListItem* item = list->GetItems()->Add();
                    item->SetCaption(L"视频" + std::to_wstring(row + 1) + L".avi");
                    item->GetSubItems()->Add(L"等待转换");
                }
                if (i == 1) list->SetEnabled(false);
            } else if (i == 2) {
                auto* memo = Place<TMemo>(this, this, x, top, 140, 100);
                memo->SetScrollBars(ssBoth);
                memo->SetWordWrap(false);
                for (int row = 0; row < 12; ++row) memo->GetLines()->Add(L"第" + std::to_wstring(row + 1) + L"行 多行文本的一行很长的文字");
            } else {
                auto* tree = Place<TTreeView>(this, this, x, top, 140, 100);
                TTreeNode* root = tree->GetItems()->Add(nullptr, L"概要");
                for (int row = 0; row < 10; ++row) tree->GetItems()->AddChild(root, L"项目 " + std::to_wstring(row + 1));
                root->Expand(true);
            }
        }
    } else {
        delete glyph;
        throw std::invalid_argument("unknown kind");
    }
    delete glyph;
    SetBounds(20, 20, 0, 0);
    SetClientSize(10 + cells * kCellWidth, top + height);
}

void TStatesForm::Press() {
    if (pressed_) {
        // The held button: a press that never comes up.
        POINT at{pressed_->GetWidth() / 2, pressed_->GetHeight() / 2};
        HWND target = nullptr;
        if (auto* windowed = dynamic_cast<TWinControl*>(pressed_)) {
            target = windowed->GetHandle();
            RECT thumb{};
            if (dynamic_cast<TTrackBar*>(pressed_) &&
                ::SendMessageW(target, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb)))
                at = POINT{(thumb.left + thumb.right) / 2, (thumb.top + thumb.bottom) / 2};
            if (dynamic_cast<TUpDown*>(pressed_)) at.y = pressed_->GetHeight() / 4;
        } else {
            target = pressed_->GetParent()->GetHandle();
            at.x += pressed_->GetLeft();
            at.y += pressed_->GetTop();
        }
        ::SendMessageW(target, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    }
    if (focus_) focus_->SetFocus();
}

}  // namespace vx
