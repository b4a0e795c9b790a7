// The control skin base on framework controls of a test form: the message router (the
// per-control switch, the query message the control never sees, a second
// initialisation that changes nothing), the destroy path that gives the control back
// its colour and message method, property access by name, and a bare window subclassed
// and given back.

#include "SkinTestSupport.h"

#include "framework/StdCtrls.h"

namespace vx {
namespace {

using namespace vx::testing;
using skinmsg::WM_SKINQUERY;
using skinmsg::WM_SKINSWITCH;

// Counts the paints it is asked for.
class TCountingSkin : public TSkinControl {
public:
    using TSkinControl::TSkinControl;
    void DrawControl(HDC, const RECT&) override { ++draws; }
    int draws = 0;
};

class SkinControlTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(ProgramSkin(), nullptr);
        data.Model = ProgramSkin();
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(40, 40, 320, 200);
        button = new TButton(form.get());
        button->SetParent(form.get());
        button->SetBounds(20, 20, 90, 25);
        button->SetCaption(L"确定");
        button->SetColor(clYellow);
        form->Show();
        // A spy in front of the control's own handling: what reaches the control.
        button->HandleNeeded();
        TWndMethod own = button->WindowProc;
        button->WindowProc = [this, own](TMessage& m) {
            seen.push_back(m.Msg);
            own(m);
        };
        Pump();
    }
    void TearDown() override {
        form.reset();
        Pump();
    }
    int Seen(unsigned msg) const { return static_cast<int>(std::count(seen.begin(), seen.end(), msg)); }

    TControlSkinData data;
    TTestHost host;
    std::unique_ptr<TForm> form;
    TButton* button = nullptr;
    std::vector<unsigned> seen;
};

TEST_F(SkinControlTest, QueryAnsweredWithoutTheControlSeeingIt) {
    EXPECT_EQ(button->Perform(WM_SKINQUERY), 0);  // not skinned: the control answers 0
    EXPECT_EQ(Seen(WM_SKINQUERY), 1);
    auto* skin = new TCountingSkin(button);
    skin->InitControl(&host, &data, false, nullptr);
    EXPECT_EQ(skin->State(), scsInitialised);
    ASSERT_EQ(host.list.size(), 1u);
    EXPECT_EQ(host.list[0], skin);
    EXPECT_EQ(skin->Window(), button->GetHandle());
    EXPECT_EQ(::SendMessageW(button->GetHandle(), WM_SKINQUERY, 0, 0), 1);
    EXPECT_EQ(Seen(WM_SKINQUERY), 1);
    // Other messages still reach the control.
    ::SendMessageW(button->GetHandle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"取消"));
    EXPECT_EQ(Seen(WM_SETTEXT), 1);
    EXPECT_EQ(button->GetCaption(), L"取消");
}

TEST_F(SkinControlTest, SecondInitialisationChangesNothing) {
    auto* skin = new TCountingSkin(button);
    skin->InitControl(&host, &data, true, nullptr);
    const TColor adopted = button->GetColor();
    skin->InitControl(&host, &data, false, nullptr);
    EXPECT_EQ(host.list.size(), 1u);
    EXPECT_EQ(button->GetColor(), adopted);
    // One router in front of the control, not two: the control sees a message once.
    button->Perform(WM_USER + 7);
    EXPECT_EQ(Seen(WM_USER + 7), 1);
    delete skin;
    EXPECT_EQ(button->GetColor(), adopted);  // only the destroyed window gives it back
}

TEST_F(SkinControlTest, SwitchStandsAsideAndComesBackWithARepaint) {
    auto* skin = new TCountingSkin(button);
    skin->InitControl(&host, &data, false, nullptr);
    HWND h = button->GetHandle();
    ::SendMessageW(h, WM_SKINSWITCH, 0, 0);
    EXPECT_FALSE(skin->SkinActive());
    EXPECT_EQ(Seen(WM_SKINSWITCH), 0);  // the switch goes no further
    // Standing aside: the control answers the query itself and paints alone.
    EXPECT_EQ(::SendMessageW(h, WM_SKINQUERY, 0, 0), 0);
    EXPECT_EQ(Seen(WM_SKINQUERY), 1);
    const int before = skin->draws;
    ::RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(skin->draws, before);
    // A positive switch paints at once.
    ::SendMessageW(h, WM_SKINSWITCH, 1, 0);
    EXPECT_TRUE(skin->SkinActive());
    EXPECT_GT(skin->draws, before);
    EXPECT_EQ(::SendMessageW(h, WM_SKINQUERY, 0, 0), 1);
    EXPECT_EQ(Seen(WM_SKINSWITCH), 0);
    // Negative values count as off.
    ::SendMessageW(h, WM_SKINSWITCH, static_cast<WPARAM>(-1), 0);
    EXPECT_FALSE(skin->SkinActive());
}

TEST_F(SkinControlTest, DestroyedWindowGivesTheColourBackAndFreeingTheMessageMethod) {
    auto* skin = new TCountingSkin(button);
    skin->InitControl(&host, &data, true, nullptr);
    EXPECT_EQ(button->GetColor(), ProgramSkin()->ButtonFaceColour);
    // A property setter that makes the window anew destroys the old one.
    button->RecreateWnd();
    EXPECT_EQ(skin->State(), scsDestroyed);
    EXPECT_FALSE(skin->SkinActive());
    EXPECT_EQ(button->GetColor(), clYellow);
    // Until it is freed the object stands aside: the new window is the control's own.
    EXPECT_EQ(::SendMessageW(button->GetHandle(), WM_SKINQUERY, 0, 0), 0);
    delete skin;
    EXPECT_TRUE(host.list.empty());
    // The message method is the spy again: every message reaches it directly.
    seen.clear();
    EXPECT_EQ(button->Perform(WM_SKINQUERY), 0);
    EXPECT_EQ(Seen(WM_SKINQUERY), 1);
}

TEST_F(SkinControlTest, FreedWhileTheControlLivesGivesTheMethodBack) {
    auto* skin = new TCountingSkin(button);
    skin->InitControl(&host, &data, false, nullptr);
    delete skin;
    EXPECT_TRUE(host.list.empty());
    EXPECT_EQ(::SendMessageW(button->GetHandle(), WM_SKINQUERY, 0, 0), 0);
    EXPECT_EQ(Seen(WM_SKINQUERY), 1);
}

TEST_F(SkinControlTest, FreedWithTheControl) {
    auto* skin = new TCountingSkin(button);
    skin->InitControl(&host, &data, true, nullptr);
    delete button;  // owns the skin object: both go, the host's list is emptied
    button = nullptr;
    EXPECT_TRUE(host.list.empty());
}

TEST_F(SkinControlTest, PropertiesByName) {
    button->SetDefault(true);
    EXPECT_EQ(TSkinControl::ReadIntProperty(button, L"width"), 90);
    EXPECT_EQ(TSkinControl::ReadIntProperty(button, L"Nothing"), -1);
    EXPECT_EQ(TSkinControl::ReadIntProperty(button, L"Caption"), -1);  // text, not an integer
    EXPECT_EQ(TSkinControl::ReadIntProperty(nullptr, L"Width"), -1);
    EXPECT_EQ(TSkinControl::ReadEnumProperty(button, L"DEFAULT"), L"True");
    EXPECT_EQ(TSkinControl::ReadEnumProperty(button, L"Width"), L"");
    EXPECT_EQ(TSkinControl::ReadEnumProperty(button, L"Nothing"), L"");
    EXPECT_EQ(TSkinControl::ReadTextProperty(button, L"caption"), L"确定");
    EXPECT_EQ(TSkinControl::ReadTextProperty(button, L"Width"), L"");
    EXPECT_EQ(TSkinControl::ReadObjectProperty(button, L"Font", TFont::StaticClass()), button->GetFont());
    EXPECT_EQ(TSkinControl::ReadObjectProperty(button, L"Font", TButton::StaticClass()), nullptr);
    EXPECT_EQ(TSkinControl::ReadObjectProperty(button, L"Nothing", TFont::StaticClass()), nullptr);

    EXPECT_TRUE(TSkinControl::WriteProperty(button, L"Width", L"120"));
    EXPECT_EQ(button->GetWidth(), 120);
    EXPECT_FALSE(TSkinControl::WriteProperty(button, L"Width", L"12x"));
    EXPECT_FALSE(TSkinControl::WriteProperty(button, L"Width", L""));
    EXPECT_EQ(button->GetWidth(), 120);
    EXPECT_TRUE(TSkinControl::WriteProperty(button, L"default", L"false"));
    EXPECT_FALSE(button->GetDefault());
    EXPECT_FALSE(TSkinControl::WriteProperty(button, L"Default", L"maybe"));
    EXPECT_TRUE(TSkinControl::WriteProperty(button, L"Caption", L"开始"));
    EXPECT_EQ(button->GetCaption(), L"开始");
    EXPECT_FALSE(TSkinControl::WriteProperty(button, L"Transparent", L"True"));
    EXPECT_FALSE(TSkinControl::WriteProperty(nullptr, L"Width", L"1"));
}

TEST_F(SkinControlTest, BareWindowSubclassedAndGivenBack) {
    HWND bare = ::CreateWindowExW(0, L"BUTTON", L"外部", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 150, 20, 80, 24,
                                  form->GetHandle(), reinterpret_cast<HMENU>(77), nullptr, nullptr);
    ASSERT_NE(bare, nullptr);
    const LONG_PTR own = ::GetWindowLongPtrW(bare, GWLP_WNDPROC);
    auto* skin = new TCountingSkin(nullptr);
    skin->InitWindow(bare, &data, &host, nullptr);
    EXPECT_EQ(skin->Caption(), L"外部");
    EXPECT_NE(::GetWindowLongPtrW(bare, GWLP_WNDPROC), own);
    EXPECT_EQ(::SendMessageW(bare, WM_SKINQUERY, 0, 0), 1);
    // The window's own procedure still does its work.
    ::SendMessageW(bare, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"改"));
    EXPECT_EQ(TSkinControl::ReadWindowText(bare), L"改");
    delete skin;
    EXPECT_EQ(::GetWindowLongPtrW(bare, GWLP_WNDPROC), own);
    EXPECT_EQ(::SendMessageW(bare, WM_SKINQUERY, 0, 0), 0);

    // A bare window destroyed under its skin object: the object stands aside and is
    // freed later without touching the window.
    auto* second = new TCountingSkin(nullptr);
    second->InitWindow(bare, &data, &host, nullptr);
    ::DestroyWindow(bare);
    EXPECT_EQ(second->State(), scsDestroyed);
    delete second;
    EXPECT_TRUE(host.list.empty());
}

}  // namespace
}  // namespace vx
