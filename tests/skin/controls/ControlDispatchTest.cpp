// The dispatch of a skinned window's children under Wine, with the program's own skin:
// which object each control of a test form gets (by the query message and the form
// object's list), a control tagged to be left alone, a control made after the attach,
// detaching giving everything back, a control re-created by a property setter skinned
// again, the buttons of a message box; group box, edit and panel pixels in the skin's
// colours; and no growth of objects or handles over many re-creations and message boxes.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "tests/skin/controls/AdvPageControl.h"
#include "framework/Buttons.h"
#include "framework/ComCtrls.h"
#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "framework/Handles.h"
#include "framework/StdCtrls.h"
#include "framework/TabControls.h"
#include "skin/controls/ControlDispatch.h"
#include "skin/controls/SkinBoxes.h"
#include "skin/controls/SkinEdit.h"
#include "skin/controls/SkinPlayer.h"
#include "skin/controls/SkinControl.h"
#include "skin/data/SkinData.h"
#include "skin/window/FormSkinner.h"
#include "skin/window/SkinManage.h"
#include "skin/window/SkinMessages.h"
#include "tests/framework/GuiObjectCounts.h"
#include "tests/skin/window/SkinnedWindows.h"

namespace vx {
namespace {

using testing::Pump;
using testing::PumpUntil;


std::string Narrow(const std::wstring& s) { return std::string(s.begin(), s.end()); }

bool Queried(HWND w) { return ::SendMessageW(w, WM_SKINQUERY, 0, 0) == 1; }


template <class T>
T* Place(TForm& form, TWinControl* parent, int l, int t, int w, int h) {
    auto* c = new T(&form);
    c->SetParent(parent);
    c->SetBounds(l, t, w, h);
    return c;
}

class Dispatch : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        InstallWindowSkinning();
        InstallControlSkinning();
        host_ = new TForm(nullptr);
        host_->SetName(L"frmHost");
        data_ = new TSkinData(host_);
        data_->SetActive(true);
        testing::ReadProgramSkin(*data_);
        // Framework group boxes have no row of their own: the map names them.
        data_->GetSkin3rd()->Add(L"TGroupBox=groupbox");
        host_->FinishBuilding();
    }
    static void TearDownTestSuite() {
        delete host_;
        host_ = nullptr;
        data_ = nullptr;
        DestroySkinManager();
        SetControlSkinFactory(nullptr);
    }
    void SetUp() override {
        ASSERT_TRUE(data_->GetHasSkin());
        ASSERT_EQ(data_->GetDisableTag(), 99);
        ::SetCursorPos(2, 2);
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(60, 60, 420, 300);
        panel = Place<TPanel>(*form, form.get(), 8, 8, 200, 90);
        panel->SetColor(clYellow);
        inPanel = Place<TButton>(*form, panel, 8, 8, 80, 25);
        inPanel->SetCaption(L"面板内");
        check = Place<TCheckBox>(*form, panel, 8, 40, 120, 20);
        check->SetCaption(L"关机");
        button = Place<TButton>(*form, form.get(), 220, 8, 80, 25);
        button->SetCaption(L"开始");
        left = Place<TButton>(*form, form.get(), 310, 8, 80, 25);
        left->SetCaption(L"不换肤");
        left->SetTag(99);
        edit = Place<TEdit>(*form, form.get(), 220, 44, 150, 22);
        edit->SetText(L"输出");
        group = Place<TGroupBox>(*form, form.get(), 8, 110, 200, 90);
        group->SetCaption(L"分组");
        bit = Place<TBitBtn>(*form, form.get(), 220, 80, 80, 25);
        bit->SetCaption(L"位图");
        speed = Place<TSpeedButton>(*form, form.get(), 310, 80, 25, 25);
        combo = Place<TComboBox>(*form, form.get(), 220, 120, 150, 22);
        label = Place<TLabel>(*form, form.get(), 220, 160, 100, 16);
        label->SetCaption(L"标签");
    }
    void TearDown() override {
        form.reset();
        Pump(2);
        manager().Purge();
    }

    static TSkinManage& manager() { return *TSkinManage::Instance(); }
    TFormSkinner* Skinner() { return manager().FindForm(form->GetHandle()); }
    TFormSkinner* ShowSkinned() {
        form->Show();
        ::SetForegroundWindow(form->GetHandle());
        PumpUntil([&] { return Skinner() && Skinner()->Lifecycle() == 1; });
        Pump();
        return Skinner();
    }
    // The class name of the listed object of a control, or "" when it has none.
    std::wstring SkinOf(TControl* control) {
        TFormSkinner* s = Skinner();
        if (!s) return L"(no form object)";
        TSkinControl* skin = TControlDispatcher::ListedSkinOf(*s, control);
        return skin ? skin->ClassName() : L"";
    }

    static TForm* host_;
    static TSkinData* data_;
    std::unique_ptr<TForm> form;
    TPanel* panel = nullptr;
    TButton* inPanel = nullptr;
    TCheckBox* check = nullptr;
    TButton* button = nullptr;
    TButton* left = nullptr;
    TEdit* edit = nullptr;
    TGroupBox* group = nullptr;
    TBitBtn* bit = nullptr;
    TSpeedButton* speed = nullptr;
    TComboBox* combo = nullptr;
    TLabel* label = nullptr;
};
TForm* Dispatch::host_ = nullptr;
TSkinData* Dispatch::data_ = nullptr;

TEST_F(Dispatch, EachControlGetsTheObjectOfItsKind) {
    TFormSkinner* s = ShowSkinned();
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(SkinOf(panel), L"TSkinBox");
    EXPECT_EQ(SkinOf(inPanel), L"TSkinButton") << "children of a panel are dispatched";
    EXPECT_EQ(SkinOf(check), L"TSkinCheckBox");
    EXPECT_EQ(SkinOf(button), L"TSkinButton");
    EXPECT_EQ(SkinOf(edit), L"TSkinEdit");
    EXPECT_EQ(SkinOf(group), L"TSkinGroupBox") << "by the Skin3rd row";
    EXPECT_EQ(SkinOf(bit), L"TSkinBitButton");
    EXPECT_EQ(SkinOf(speed), L"TSkinSpeedButton");
    EXPECT_EQ(SkinOf(combo), L"TSkinComBox");
    EXPECT_EQ(SkinOf(label), L"") << "labels have no row";
    // Every windowed object answers the query; the panel is only recoloured.
    for (TWinControl* c : std::vector<TWinControl*>{inPanel, check, button, edit, group, bit})
        EXPECT_TRUE(Queried(c->GetHandle())) << Narrow(c->ClassName());
    EXPECT_FALSE(Queried(panel->GetHandle()));
    EXPECT_EQ(panel->GetColor(), static_cast<TColor>(data_->Model().ButtonFaceColour));
    // One object per control, each listed once.
    std::map<TControl*, int> per;
    for (TSkinControl* skin : s->ControlSkins()) ++per[skin->Control()];
    for (const auto& [control, n] : per) EXPECT_EQ(n, 1) << Narrow(control->ClassName());
    EXPECT_EQ(s->ControlSkins().size(), 9u);
    // Attaching again adds nothing.
    ASSERT_NE(ControlSkinFactory(), nullptr);
    ControlSkinFactory()->AttachFormControls(*s, *form);
    EXPECT_EQ(s->ControlSkins().size(), 9u);
}

TEST_F(Dispatch, ADisableTagControlIsLeftAloneAndSoAreTheItemsOfAGroupSoTagged) {
    auto* radios = Place<TRadioGroup>(*form, form.get(), 220, 200, 150, 60);
    radios->SetTag(99);
    auto* item = Place<TCheckBox>(*form, radios, 8, 16, 100, 20);
    TFormSkinner* s = ShowSkinned();
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(SkinOf(left), L"");
    EXPECT_FALSE(Queried(left->GetHandle()));
    EXPECT_EQ(item->GetTag(), 99) << "the group passes its tag on";
    EXPECT_EQ(SkinOf(item), L"");
    EXPECT_FALSE(Queried(item->GetHandle()));
}

TEST_F(Dispatch, AControlMadeAfterTheAttachIsSkinned) {
    TFormSkinner* s = ShowSkinned();
    ASSERT_NE(s, nullptr);
    const size_t before = s->ControlSkins().size();
    auto* later = Place<TButton>(*form, form.get(), 310, 44, 80, 25);
    later->SetCaption(L"后来");
    later->HandleNeeded();
    PumpUntil([&] { return Queried(later->GetHandle()); }, 100);
    EXPECT_EQ(SkinOf(later), L"TSkinButton");
    EXPECT_EQ(s->ControlSkins().size(), before + 1);
    // Inner windows of a framework control stay the control's own.
    HWND inner = ::CreateWindowExW(0, L"BUTTON", L"内", WS_CHILD | WS_VISIBLE, 0, 0, 20, 20, panel->GetHandle(),
                                   nullptr, nullptr, nullptr);
    Pump();
    EXPECT_FALSE(Queried(inner));
    ::DestroyWindow(inner);
}

TEST_F(Dispatch, DetachGivesEveryControlBack) {
    const TColor buttonColour = button->GetColor();
    TFormSkinner* s = ShowSkinned();
    ASSERT_NE(s, nullptr);
    ASSERT_TRUE(Queried(button->GetHandle()));
    manager().SetRequestingSkinData(data_);
    manager().RequestAction(SkinActionDeactivate, 10);
    manager().RunPendingAction();
    EXPECT_EQ(Skinner(), nullptr);
    for (TWinControl* c : std::vector<TWinControl*>{inPanel, check, button, edit, group, bit})
        EXPECT_FALSE(Queried(c->GetHandle()));
    EXPECT_EQ(panel->GetColor(), clYellow) << "the panel has its own colour back";
    EXPECT_EQ(button->GetColor(), buttonColour);
    // The controls still work: a click reaches the button.
    int clicks = 0;
    button->OnClick = [&](TObject*) { ++clicks; };
    ::SendMessageW(button->GetHandle(), BM_CLICK, 0, 0);
    EXPECT_EQ(clicks, 1);
    // Skinned again on activation.
    manager().SetRequestingSkinData(data_);
    manager().RequestAction(SkinActionActivate, 10);
    manager().RunPendingAction();
    PumpUntil([&] { return Skinner() && Skinner()->Lifecycle() == 1; });
    EXPECT_TRUE(Queried(button->GetHandle()));
    EXPECT_EQ(SkinOf(button), L"TSkinButton");
}

TEST_F(Dispatch, AControlRecreatedByAPropertySetterIsSkinnedAgain) {
    TFormSkinner* s = ShowSkinned();
    ASSERT_NE(s, nullptr);
    HWND old = check->GetHandle();
    check->SetAlignment(taLeftJustify);  // the window is made anew
    ASSERT_NE(check->GetHandle(), old);
    PumpUntil([&] { return Queried(check->GetHandle()); }, 100);
    EXPECT_TRUE(Queried(check->GetHandle()));
    TSkinControl* skin = TControlDispatcher::ListedSkinOf(*s, check);
    ASSERT_NE(skin, nullptr);
    EXPECT_EQ(skin->Window(), check->GetHandle());
    EXPECT_EQ(skin->State(), scsInitialised);
    // A container made anew takes its children's windows with it: they are skinned
    // again too.
    HWND oldButton = inPanel->GetHandle();
    panel->SetBorderStyle(bsSingle);
    ASSERT_NE(inPanel->GetHandle(), oldButton);
    PumpUntil([&] { return Queried(inPanel->GetHandle()); }, 100);
    EXPECT_TRUE(Queried(inPanel->GetHandle()));
    EXPECT_EQ(SkinOf(inPanel), L"TSkinButton");
    EXPECT_TRUE(Queried(check->GetHandle()));
    EXPECT_EQ(SkinOf(panel), L"TSkinBox");
    // No dead object stays behind, and no control has two.
    Pump();
    std::map<TControl*, int> per;
    for (TSkinControl* o : s->ControlSkins()) {
        EXPECT_NE(o->State(), scsDestroyed);
        ++per[o->Control()];
    }
    for (const auto& [control, n] : per) EXPECT_EQ(n, 1) << Narrow(control->ClassName());
}

// A skin object that makes a companion panel for itself, as the scroll-bar skins do.
class TCompanionSkin : public TSkinControl {
public:
    using TSkinControl::TSkinControl;
    void InitControl(IControlSkinHost* form, const TControlSkinData* data, bool adoptColour,
                     TCanvas* canvas) override {
        TSkinControl::InitControl(form, data, adoptColour, canvas);
        companion_ = madeCompanion;
    }
    TControl* madeCompanion = nullptr;
};

// A panel of the class scroll-bar companions have.
class TNamedCompanion : public TPanel {
public:
    using TPanel::TPanel;
    static const TClassInfo& StaticClass() {
        static const TClassInfo info(L"TWScrollbar", &TPanel::StaticClass(), nullptr);
        return info;
    }
    const TClassInfo& ClassType() const override { return StaticClass(); }
};

TEST_F(Dispatch, TheApplicationsHookDecidesFirstAndCompanionsAreNeverOffered) {
    std::vector<std::wstring> asked;
    TComponent* sender = nullptr;
    TControl* handedForm = nullptr;
    TCompanionSkin* made = nullptr;
    TPanel* companion = nullptr;
    data_->OnSkinControl = [&](TComponent* Sender, TSkinData* SkinData, TControl* Form, TControl* Control,
                               const std::wstring& ControlClass, TComponent*& SkinnedControl) {
        EXPECT_EQ(SkinData, data_);
        EXPECT_EQ(SkinnedControl, nullptr);
        asked.push_back(ControlClass);
        if (Control != button) return;
        sender = Sender;
        handedForm = Form;
        companion = new TPanel(form.get());
        companion->SetParent(form.get());
        companion->SetBounds(300, 8, 10, 25);
        companion->SetColor(clAqua);
        made = new TCompanionSkin(button);
        made->madeCompanion = companion;
        SkinnedControl = made;
    };
    TScopeExit unhook([] { data_->OnSkinControl = nullptr; });
    auto* named = Place<TNamedCompanion>(*form, form.get(), 380, 200, 20, 40);
    named->SetColor(clAqua);
    TFormSkinner* s = ShowSkinned();
    ASSERT_NE(s, nullptr);
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(sender, static_cast<TComponent*>(s));
    EXPECT_EQ(handedForm, form.get());
    EXPECT_EQ(TControlDispatcher::ListedSkinOf(*s, button), made) << "the hook's object, initialised and listed";
    EXPECT_EQ(made->State(), scsInitialised);
    EXPECT_TRUE(Queried(button->GetHandle()));
    EXPECT_NE(std::find(asked.begin(), asked.end(), L"TEDIT"), asked.end()) << "class names in upper case";
    // Companions are never dispatched, whatever they descend from; other panels are.
    EXPECT_EQ(SkinOf(companion), L"");
    EXPECT_EQ(companion->GetColor(), clAqua);
    EXPECT_EQ(SkinOf(named), L"");
    EXPECT_EQ(named->GetColor(), clAqua);
    EXPECT_EQ(SkinOf(panel), L"TSkinBox");
}

TEST_F(Dispatch, TabsSheetsStatusBarsAndScrollBarsByTheMapAndTheExtrasHook) {
    data_->OnSkinControl = SkinFrameworkExtras;
    data_->GetSkin3rd()->Add(L"TPageControl=tab");
    data_->GetSkin3rd()->Add(L"TTabControl=tab");
    TScopeExit unhook([] {
        data_->OnSkinControl = nullptr;
        TStrings* rows = data_->GetSkin3rd();
        for (const wchar_t* row : {L"TPageControl=tab", L"TTabControl=tab"}) rows->Delete(rows->IndexOf(row));
    });
    auto* pages = Place<TPageControl>(*form, form.get(), 220, 160, 180, 70);
    auto* first = new TTabSheet(form.get());
    first->SetCaption(L"常规");
    first->SetPageControl(pages);
    auto* buttons = Place<TTabControl>(*form, form.get(), 8, 205, 200, 40);
    buttons->GetTabs()->Add(L"一");
    buttons->HandleNeeded();
    ::SetWindowLongPtrW(buttons->GetHandle(), GWL_STYLE,
                        ::GetWindowLongPtrW(buttons->GetHandle(), GWL_STYLE) | TCS_BUTTONS);
    auto* status = Place<TStatusBar>(*form, form.get(), 0, 0, 100, 20);
    auto* bar = Place<TScrollBar>(*form, form.get(), 310, 80, 100, 17);
    TFormSkinner* s = ShowSkinned();
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(SkinOf(pages), L"TSkinTab");
    EXPECT_EQ(SkinOf(first), L"TSkinTabSheet");
    EXPECT_EQ(SkinOf(buttons), L"TSkinTabBtn");
    EXPECT_EQ(SkinOf(status), L"TSkinStatusBar");
    EXPECT_EQ(SkinOf(bar), L"TSkinScControl");
    // The hook leaves every other control to the rest of the dispatch.
    EXPECT_EQ(SkinOf(button), L"TSkinButton");
    EXPECT_EQ(SkinOf(edit), L"TSkinEdit");
    // A page added later shows the pane as well, once.
    auto* second = new TTabSheet(form.get());
    second->SetCaption(L"高级");
    second->SetPageControl(pages);
    PumpUntil([&] { return SkinOf(second) == L"TSkinTabSheet"; });
    EXPECT_EQ(SkinOf(second), L"TSkinTabSheet");
    int sheets = 0;
    for (TSkinControl* skin : s->ControlSkins()) sheets += skin->Control() == second;
    EXPECT_EQ(sheets, 1);
}

// Controls of other component families the map or the chain names: a page control
// with pictures of its own and a media player.
using testing::TAdvPageControl;

class TMediaPlayer : public TCustomControl {
    VX_DECLARE_CLASS(TMediaPlayer, TCustomControl)
public:
    using TCustomControl::TCustomControl;
};
VX_IMPLEMENT_CLASS(TMediaPlayer, TCustomControl)

TEST_F(Dispatch, AdvancedPagesByTheMapAndMediaPlayersByTheChainTheirCompanionLeftAlone) {
    data_->GetSkin3rd()->Add(L"TAdvPageControl=advpagecontrol");
    TScopeExit unmap([] {
        TStrings* rows = data_->GetSkin3rd();
        rows->Delete(rows->IndexOf(L"TAdvPageControl=advpagecontrol"));
    });
    auto* pages = Place<TAdvPageControl>(*form, form.get(), 220, 160, 180, 70);
    auto* sheet = new TTabSheet(form.get());
    sheet->SetCaption(L"常规");
    sheet->SetPageControl(pages);
    auto* player = Place<TMediaPlayer>(*form, form.get(), 8, 210, 200, 30);
    TFormSkinner* s = ShowSkinned();
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(SkinOf(pages), L"TSkinAdvPage");
    EXPECT_EQ(SkinOf(player), L"TSkinMP");
    // The player's companion panel, made as its object attached, gets no object of its
    // own (a panel would get a box) even after the form object heard of its creation.
    auto* mp = dynamic_cast<TSkinMP*>(TControlDispatcher::ListedSkinOf(*s, player));
    ASSERT_NE(mp, nullptr);
    ASSERT_NE(mp->Panel(), nullptr);
    Pump(5);
    EXPECT_EQ(SkinOf(mp->Panel()), L"");
    EXPECT_EQ(SkinOf(panel), L"TSkinBox");
    // The player made anew gets a fresh object with one panel; the old object and its
    // panel are gone.
    HWND old = player->GetHandle();
    player->RecreateWnd();
    ASSERT_NE(player->GetHandle(), old);
    PumpUntil([&] { return Queried(player->GetHandle()); }, 100);
    Pump();
    auto* again = dynamic_cast<TSkinMP*>(TControlDispatcher::ListedSkinOf(*s, player));
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->Window(), player->GetHandle());
    ASSERT_NE(again->Panel(), nullptr);
    EXPECT_EQ(player->ControlCount(), 1);
    EXPECT_EQ(::GetParent(again->Panel()->GetHandle()), player->GetHandle());
    int objects = 0;
    for (TSkinControl* o : s->ControlSkins()) objects += o->Control() == player;
    EXPECT_EQ(objects, 1);
}

// The message box under test, looked at from a timer while it runs.
struct TBoxSeen {
    HWND box = nullptr;
    int buttons = 0, skinnedButtons = 0, objects = 0;
    std::vector<std::wstring> classes;
} g_seen;

void CALLBACK InspectBox(HWND, UINT, UINT_PTR id, DWORD) {
    HWND box = ::FindWindowW(L"#32770", L"盒子");
    TFormSkinner* s = box ? TSkinManage::Instance()->FindForm(box) : nullptr;
    if (!s || s->Lifecycle() != 1) return;
    ::KillTimer(nullptr, id);
    g_seen.box = box;
    for (HWND c = ::GetWindow(box, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
        wchar_t cls[32] = {};
        ::GetClassNameW(c, cls, 32);
        if (std::wstring(cls) != L"Button") continue;
        ++g_seen.buttons;
        g_seen.skinnedButtons += Queried(c);
    }
    g_seen.objects = static_cast<int>(s->ControlSkins().size());
    for (TSkinControl* o : s->ControlSkins()) g_seen.classes.push_back(o->ClassName());
    ::PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
}

TEST_F(Dispatch, TheButtonsOfAMessageBoxAreSkinned) {
    g_seen = {};
    ::SetTimer(nullptr, 0, 30, &InspectBox);
    ::MessageBoxW(host_->GetHandle(), L"文字", L"盒子", MB_YESNOCANCEL);
    ASSERT_NE(g_seen.box, nullptr);
    EXPECT_EQ(g_seen.buttons, 3);
    EXPECT_EQ(g_seen.skinnedButtons, 3);
    EXPECT_EQ(std::count(g_seen.classes.begin(), g_seen.classes.end(), L"TSkinButton"), 3);
}

// --- pixels ----------------------------------------------------------------------------------

COLORREF Colour(TColour c) { return ResolveColour(c) & 0xFFFFFF; }

TEST_F(Dispatch, GroupBoxEditAndPanelWearTheSkinsColours) {
    TFormSkinner* s = ShowSkinned();
    ASSERT_NE(s, nullptr);
    const COLORREF face = Colour(data_->Model().ButtonFaceColour);
    const COLORREF shadow = Colour(data_->Model().ButtonShadowColour);
    ASSERT_NE(face, shadow);

    // The group box painted into a memory DC through its own paint message.
    {
        RECT r{};
        ::GetClientRect(group->GetHandle(), &r);
        TWindowDC screen(nullptr);
        TMemoryDC dc(screen.Get());
        TBitmapHandle bitmap(::CreateCompatibleBitmap(screen.Get(), r.right, r.bottom));
        TSelectObject select(dc.Get(), bitmap.Get());
        ::SendMessageW(group->GetHandle(), WM_PAINT, reinterpret_cast<WPARAM>(dc.Get()), 0);
        auto* skin = static_cast<TSkinGroupBox*>(TControlDispatcher::ListedSkinOf(*s, group));
        const RECT frame = skin->FrameArea(dc.Get(), r);
        const int midY = (frame.top + r.bottom) / 2;
        EXPECT_EQ(::GetPixel(dc.Get(), 0, midY), shadow) << "the frame";
        EXPECT_EQ(::GetPixel(dc.Get(), 1, midY), RGB(255, 255, 255)) << "its white line";
        EXPECT_EQ(::GetPixel(dc.Get(), r.right - 1, midY), RGB(255, 255, 255));
        EXPECT_EQ(::GetPixel(dc.Get(), r.right / 2, midY), face) << "the inside";
        EXPECT_EQ(::GetPixel(dc.Get(), r.right / 2, frame.top), shadow) << "the top line right of the caption";
        // The caption sits on a gap of the face colour, over the top line.
        int ink = 0;
        for (int x = 8; x < 20; ++x)
            for (int y = 0; y < frame.top * 2; ++y) {
                const COLORREF p = ::GetPixel(dc.Get(), x, y);
                ink += p != face;
                EXPECT_NE(p, shadow) << x << "," << y;
            }
        EXPECT_GT(ink, 10) << "the caption's text";
    }
    // The edit's border on the screen after its own painting (frame and client): the
    // shadow colour outside, two white lines inside it.
    {
        auto* skin = static_cast<TSkinEdit*>(TControlDispatcher::ListedSkinOf(*s, edit));
        ASSERT_NE(skin, nullptr);
        const HWND h = edit->GetHandle();
        RECT r{};
        ::GetWindowRect(h, &r);
        ::OffsetRect(&r, -r.left, -r.top);
        ::RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_UPDATENOW);
        Pump(2);
        auto at = [&](int x, int y) {
            TWindowDC whole = TWindowDC::Whole(h);
            return ::GetPixel(whole.Get(), x, y) & 0xFFFFFF;
        };
        const int y = r.bottom / 2;
        EXPECT_EQ(at(0, y), shadow);
        EXPECT_EQ(at(1, y), RGB(255, 255, 255));
        EXPECT_EQ(at(2, y), RGB(255, 255, 255));
        EXPECT_EQ(at(r.right - 1, y), shadow);
        EXPECT_EQ(at(r.right / 2, r.bottom - 1), shadow);
        EXPECT_EQ(at(r.right / 2, 0), shadow);
        // Printed: the shadow frame around a frame of the DC's current brush.
        TWindowDC screen(nullptr);
        TMemoryDC dc(screen.Get());
        TBitmapHandle bitmap(::CreateCompatibleBitmap(screen.Get(), r.right, r.bottom));
        TSelectObject select(dc.Get(), bitmap.Get());
        TBrushHandle black(::CreateSolidBrush(RGB(0, 0, 0)));
        ::FillRect(dc.Get(), &r, black.Get());
        TBrushHandle blue(::CreateSolidBrush(RGB(0, 0, 200)));
        TSelectObject brush(dc.Get(), blue.Get());
        skin->PrintBorder(dc.Get(), r);
        EXPECT_EQ(::GetPixel(dc.Get(), 0, y), shadow);
        EXPECT_EQ(::GetPixel(dc.Get(), 1, y), RGB(0, 0, 200));
        EXPECT_EQ(::GetPixel(dc.Get(), 2, y), RGB(0, 0, 0));
        // An edit without a border gets nothing drawn.
        edit->SetBorderStyle(bsNone);
        PumpUntil([&] { return Queried(edit->GetHandle()); }, 100);
        ::GetWindowRect(edit->GetHandle(), &r);
        ::OffsetRect(&r, -r.left, -r.top);
        ::FillRect(dc.Get(), &r, black.Get());
        skin = static_cast<TSkinEdit*>(TControlDispatcher::ListedSkinOf(*s, edit));
        ASSERT_NE(skin, nullptr);
        skin->DrawControl(dc.Get(), r);
        skin->PrintBorder(dc.Get(), r);
        EXPECT_EQ(::GetPixel(dc.Get(), 0, 0), RGB(0, 0, 0));
        EXPECT_EQ(::GetPixel(dc.Get(), 1, y), RGB(0, 0, 0));
    }
    // The panel shows the face colour.
    {
        RECT r{};
        ::GetClientRect(panel->GetHandle(), &r);
        TWindowDC screen(nullptr);
        TMemoryDC dc(screen.Get());
        TBitmapHandle bitmap(::CreateCompatibleBitmap(screen.Get(), r.right, r.bottom));
        TSelectObject select(dc.Get(), bitmap.Get());
        ::SendMessageW(panel->GetHandle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc.Get()), 0);
        ::SendMessageW(panel->GetHandle(), WM_PAINT, reinterpret_cast<WPARAM>(dc.Get()), 0);
        EXPECT_EQ(::GetPixel(dc.Get(), r.right - 10, r.bottom - 10), face);
    }
}

// --- nothing leaks ----------------------------------------------------------------------------

TEST_F(Dispatch, ManyRecreationsAndMessageBoxesLeaveNothingBehind) {
    TFormSkinner* s = ShowSkinned();
    ASSERT_NE(s, nullptr);
    // Warm up once (caches of fonts and brushes), then count.
    check->SetAlignment(taLeftJustify);
    check->SetAlignment(taRightJustify);
    PumpUntil([&] { return Queried(check->GetHandle()); }, 100);
    Pump();
    const size_t objects = s->ControlSkins().size();
    const testing::TGuiObjectCounts before = testing::CountGuiObjects();
    for (int i = 0; i < 200; ++i) {
        check->SetAlignment(i % 2 ? taRightJustify : taLeftJustify);
        PumpUntil([&] { return Queried(check->GetHandle()); }, 50);
        ASSERT_TRUE(Queried(check->GetHandle())) << i;
    }
    Pump();
    EXPECT_EQ(s->ControlSkins().size(), objects);
    {
        const testing::TGuiObjectCounts after = testing::CountGuiObjects();
        EXPECT_LE(after.Gdi, before.Gdi + 2);
        EXPECT_EQ(after.Windows, before.Windows);
        EXPECT_EQ(after.Menus, before.Menus);
    }

    auto box = [] {
        g_seen = {};
        ::SetTimer(nullptr, 0, 1, &InspectBox);
        ::MessageBoxW(host_->GetHandle(), L"文字", L"盒子", MB_YESNOCANCEL);
        return g_seen.skinnedButtons;
    };
    // The first boxes make what the system keeps for every later one (its icon, fonts,
    // cached device contexts): about twenty GDI objects, once, whether 200 or 600 boxes
    // follow.
    for (int i = 0; i < 10; ++i) ASSERT_EQ(box(), 3);
    Pump();
    manager().Purge();
    const size_t forms = manager().Forms().size();
    const testing::TGuiObjectCounts before2 = testing::CountGuiObjects();
    for (int i = 0; i < 200; ++i) ASSERT_EQ(box(), 3) << i;
    Pump();
    manager().Purge();
    EXPECT_EQ(::FindWindowW(L"#32770", L"盒子"), nullptr);
    size_t boxObjects = 0;
    for (const auto& f : manager().Forms()) {
        wchar_t cls[64] = {};
        ::GetClassNameW(f->Window(), cls, 64);
        boxObjects += std::wstring(cls) == L"#32770";
        if (std::wstring(cls) != L"TForm") std::printf("left: %s %d\n", Narrow(cls).c_str(), f->Lifecycle());
    }
    EXPECT_EQ(boxObjects, 0u) << "every box's form object and its control skins are gone";
    EXPECT_LE(manager().Forms().size(), forms + 1);
    const testing::TGuiObjectCounts after2 = testing::CountGuiObjects();
    EXPECT_LE(after2.Gdi, before2.Gdi + 2);
    EXPECT_EQ(after2.Windows, before2.Windows);
    EXPECT_EQ(after2.Menus, before2.Menus);
}

}  // namespace
}  // namespace vx
