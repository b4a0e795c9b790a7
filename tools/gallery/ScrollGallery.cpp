// The scroll-bar, list-view, header and combo-box skins on one form: the left half
// skinned with the program's skin (from the packed blob), the right half the same
// controls as the system draws them. For looking at them and for screenshots.
//   skin_scroll_gallery [BLOB]

#include <windows.h>
#include <shellapi.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "framework/ComCtrls.h"
#include "framework/Forms.h"
#include "framework/StdCtrls.h"
#include "skin/controls/SkinComBox.h"
#include "skin/controls/SkinScrollbar.h"
#include "skin/data/SkinIni.h"
#include "skin/data/SkinModel.h"
#include "skin/data/SkinRead.h"

using namespace vx;

namespace {

class TNoHost : public IControlSkinHost {
public:
    void RegisterControlSkin(TSkinControl*) override {}
    void UnregisterControlSkin(TSkinControl*) override {}
};

std::unique_ptr<TSkinModel> LoadSkin(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    const std::vector<std::uint8_t> blob((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    auto model = std::make_unique<TSkinModel>();
    if (!LoadPackedSkin(*model, blob)) return nullptr;
    return model;
}

template <class T>
T* Place(TWinControl* parent, int l, int t, int w, int h) {
    auto* c = new T(parent);
    c->SetParent(parent);
    c->SetBounds(l, t, w, h);
    return c;
}

class TScrollGalleryForm : public TForm {
public:
    explicit TScrollGalleryForm(TComponent* owner) : TForm(owner) {
        SetCaption(L"滚动条、列表与组合框的皮肤");
        SetBounds(20, 20, 920, 480);
        Build(0, true);
        Build(450, false);
    }
    // Skins the left half (once the window is shown).
    void AttachSkins(TControlSkinData* data) {
        (new TSkinScrollbar(memo_))->InitScrollbar(memo_, data, &host_, nullptr);
        (new TSkinListView(list_))->InitScrollbar(list_, data, &host_, nullptr);
        for (TComboBox* combo : combos_) (new TSkinComBox(combo))->InitControl(&host_, data, false, nullptr);
        for (TScrollBar* bar : bars_) (new TSkinScControl(bar))->InitControl(&host_, data, false, nullptr);
    }

private:
    void Build(int x, bool skinned) {
        auto* caption = Place<TLabel>(this, x + 10, 6, 200, 16);
        caption->SetCaption(skinned ? L"皮肤" : L"系统");
        auto* memo = Place<TMemo>(this, x + 10, 26, 200, 150);
        memo->SetScrollBars(ssBoth);
        memo->SetWordWrap(false);
        std::wstring text;
        for (int i = 1; i <= 60; ++i)
            text += L"第 " + std::to_wstring(i) + L" 行：视频转换 mencoder -ovc xvid -oac mp3lame\r\n";
        memo->SetText(text);
        auto* list = Place<TListView>(this, x + 220, 26, 215, 240);
        list->SetViewStyle(vsReport);
        list->SetRowSelect(true);
        for (const wchar_t* name : {L"文件", L"状态", L"进度"}) {
            TListColumn* c = list->GetColumns()->Add();
            c->SetCaption(name);
            c->SetWidth(name[0] == L'文' ? 130 : 70);
        }
        list->GetItems()->BeginUpdate();
        for (int i = 1; i <= 200; ++i) {
            TListItem* item = list->GetItems()->Add();
            item->SetCaption(L"D:\\视频\\第" + std::to_wstring(i) + L"集.avi");
            item->GetSubItems()->Add(i % 3 ? L"准备转换" : L"已完成");
            item->GetSubItems()->Add(i % 3 ? L"0%" : L"100%");
        }
        list->GetItems()->EndUpdate();
        auto* combo = Place<TComboBox>(this, x + 10, 190, 200, 24);
        combo->SetStyle(csDropDownList);
        for (const wchar_t* item : {L"MP4 视频 (320x240)", L"AVI 视频", L"3GP 手机视频"}) combo->GetItems()->Add(item);
        combo->SetItemIndex(0);
        auto* off = Place<TComboBox>(this, x + 10, 222, 200, 24);
        off->SetStyle(csDropDownList);
        off->GetItems()->Add(L"不可用");
        off->SetItemIndex(0);
        off->SetEnabled(false);
        auto* vbar = Place<TScrollBar>(this, x + 10, 260, 160, 16);
        vbar->SetKind(sbVertical);
        vbar->SetBounds(x + 10, 260, ::GetSystemMetrics(SM_CXVSCROLL), 160);
        vbar->SetParams(30, 0, 100);
        auto* hbar = Place<TScrollBar>(this, x + 40, 260, 170, ::GetSystemMetrics(SM_CYHSCROLL));
        hbar->SetParams(70, 0, 100);
        auto* offBar = Place<TScrollBar>(this, x + 40, 290, 170, ::GetSystemMetrics(SM_CYHSCROLL));
        offBar->SetEnabled(false);
        if (!skinned) return;
        memo_ = memo;
        list_ = list;
        combos_ = {combo, off};
        bars_ = {vbar, hbar, offBar};
    }
    TNoHost host_;
    TMemo* memo_ = nullptr;
    TListView* list_ = nullptr;
    std::vector<TComboBox*> combos_;
    std::vector<TScrollBar*> bars_;
};

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    int argc = 0;
    LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    std::string blob = VX_GALLERY_SKIN_BLOB;
    if (argc > 1) {
        const std::wstring w = argv[1];
        blob.assign(w.begin(), w.end());
    }
    ::LocalFree(argv);
    SetDefaultSkinMessageNotifier([](const std::wstring&) {});
    auto skin = LoadSkin(blob);
    TControlSkinData data;
    data.Model = skin.get();
    Application->SetMainFormOnTaskBar(true);
    Application->SetTitle(L"滚动条皮肤");
    TScrollGalleryForm* form = nullptr;
    Application->CreateForm(form);
    form->Show();
    if (skin) form->AttachSkins(&data);
    Application->Run();
    return 0;
}
