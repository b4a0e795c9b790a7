// The control gallery wears the program's skin in full: with the gallery's class-map
// rows and the extras hook, every control of the gallery form, and of the states form
// of every kind, gets the skin object of its kind. Labels, images and bevels draw no
// frame of their own and get none; a class the gallery gains later fails here until it
// is given a place in the table below.

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <map>
#include <memory>
#include <string>

#include "framework/ComCtrls.h"
#include "framework/Forms.h"
#include "skin/controls/ControlDispatch.h"
#include "skin/controls/SkinControl.h"
#include "skin/data/SkinData.h"
#include "skin/window/FormSkinner.h"
#include "skin/window/SkinManage.h"
#include "tools/gallery/GalleryForm.h"

namespace vx {
namespace {

std::string Narrow(const std::wstring& s) { return std::string(s.begin(), s.end()); }

template <class F>
bool PumpUntil(F done, int rounds = 400) {
    for (int i = 0; i < rounds; ++i) {
        Application->ProcessMessages();
        if (done()) return true;
        ::Sleep(10);
    }
    return done();
}

// The skin object each framework class of the gallery gets; "" for none.
std::wstring ExpectedSkin(TControl* control) {
    static const std::map<std::wstring, std::wstring> table = {
        {L"TButton", L"TSkinButton"},          {L"TBitBtn", L"TSkinBitButton"},
        {L"TSpeedButton", L"TSkinSpeedButton"}, {L"TEdit", L"TSkinEdit"},
        {L"TComboBox", L"TSkinComBox"},        {L"TDateTimePicker", L"TSkinDateTime"},
        {L"TCheckBox", L"TSkinCheckBox"},      {L"TRadioButton", L"TSkinRadioButton"},
        {L"TUpDown", L"TSkinUpDown"},          {L"TGroupBox", L"TSkinGroupBox"},
        {L"TRadioGroup", L"TSkinGroupBox"},    {L"TPanel", L"TSkinBox"},
        {L"TMemo", L"TSkinScrollbar"},         {L"TTreeView", L"TSkinScrollbar"},
        {L"TListView", L"TSkinListView"},      {L"TTrackBar", L"TSkinTrackBar"},
        {L"TScrollBar", L"TSkinScControl"},    {L"TProgressBar", L"TSkinProgress"},
        {L"TPageControl", L"TSkinTab"},        {L"TTabControl", L"TSkinTab"},
        {L"TTabSheet", L"TSkinTabSheet"},      {L"TStatusBar", L"TSkinStatusBar"},
        {L"TLabel", L""},                      {L"TImage", L""},
        {L"TBevel", L""},
        // The companions skin objects make for themselves get none of their own.
        {L"TWScrollbar", L""},                 {L"TArrowButton", L""},
    };
    const auto it = table.find(control->ClassName());
    if (it == table.end()) return L"?";
    auto buttonTabs = [](TControl* c) {
        auto* w = dynamic_cast<TCustomTabControl*>(c);
        return w && w->HandleAllocated() && (::GetWindowLongW(w->GetHandle(), GWL_STYLE) & TCS_BUTTONS);
    };
    // Tabs drawn as buttons have no pane, and their pages nothing to show.
    if (buttonTabs(control)) return L"TSkinTabBtn";
    if (control->ClassName() == L"TTabSheet" && buttonTabs(control->GetParent())) return L"";
    // A memo without scroll bars is an edit.
    if (control->ClassName() == L"TMemo" && !(::GetWindowLongW(static_cast<TWinControl*>(control)->GetHandle(),
                                                                GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL)))
        return L"TSkinEdit";
    return it->second;
}

class Gallery : public ::testing::Test {
protected:
    void SetUp() override {
        InstallWindowSkinning();
        InstallControlSkinning();
    }
    void TearDown() override {
        form.reset();
        for (int i = 0; i < 5; ++i) Application->ProcessMessages();
        DestroySkinManager();
        SetControlSkinFactory(nullptr);
    }

    TFormSkinner* ShowSkinned() {
        form->Show();
        ::SetForegroundWindow(form->GetHandle());
        auto skinner = [&] {
            TSkinManage* m = TSkinManage::Instance();
            return m ? m->FindForm(form->GetHandle()) : nullptr;
        };
        PumpUntil([&] { return skinner() && skinner()->Lifecycle() == 1; });
        for (int i = 0; i < 10; ++i) Application->ProcessMessages();
        return skinner();
    }

    // Every control of the form (children of children too) against the table.
    void ExpectEveryControlSkinned(TFormSkinner& host, TWinControl* parent, int& checked) {
        for (int i = 0; i < parent->ControlCount(); ++i) {
            TControl* c = parent->Controls(i);
            const std::wstring expected = ExpectedSkin(c);
            SCOPED_TRACE(Narrow(c->ClassName()));
            EXPECT_NE(expected, L"?") << "a class the gallery table does not know";
            TSkinControl* skin = TControlDispatcher::ListedSkinOf(host, c);
            EXPECT_EQ(skin ? skin->ClassName() : std::wstring(), expected);
            if (skin) {
                EXPECT_TRUE(skin->SkinActive());
                EXPECT_EQ(skin->State(), scsInitialised);
            }
            ++checked;
            if (auto* w = dynamic_cast<TWinControl*>(c)) ExpectEveryControlSkinned(host, w, checked);
        }
    }

    std::unique_ptr<TForm> form;
};

TEST_F(Gallery, EveryControlOfTheGalleryGetsTheSkinOfItsKind) {
    form = std::make_unique<TGalleryForm>(nullptr, true);
    TFormSkinner* host = ShowSkinned();
    ASSERT_NE(host, nullptr);
    int checked = 0;
    ExpectEveryControlSkinned(*host, form.get(), checked);
    EXPECT_GT(checked, 60);
    // The plain gallery carries no skin data and nothing attaches to it.
    form = std::make_unique<TGalleryForm>(nullptr, false);
    form->Show();
    for (int i = 0; i < 30; ++i) Application->ProcessMessages(), ::Sleep(10);
    TSkinManage* m = TSkinManage::Instance();
    EXPECT_TRUE(!m || !m->FindForm(form->GetHandle()));
}

TEST_F(Gallery, EveryStatesFormIsSkinnedAndTakesItsPress) {
    for (const std::wstring& kind : GalleryStateKinds()) {
        SCOPED_TRACE(Narrow(kind));
        auto* states = new TStatesForm(nullptr, kind, true);
        form.reset(states);
        TFormSkinner* host = ShowSkinned();
        ASSERT_NE(host, nullptr);
        int checked = 0;
        ExpectEveryControlSkinned(*host, form.get(), checked);
        EXPECT_GE(checked, 3);
        states->Press();
        for (int i = 0; i < 5; ++i) Application->ProcessMessages();
        if (TWinControl* focus = states->FocusControl()) EXPECT_EQ(::GetFocus(), focus->GetHandle());
        // A held button shows pressed.
        TControl* pressed = states->PressedControl();
        if (pressed && (kind == L"button" || kind == L"bitbtn" || kind == L"speedbutton")) {
            TSkinControl* skin = TControlDispatcher::ListedSkinOf(*host, pressed);
            ASSERT_NE(skin, nullptr);
            EXPECT_TRUE(skin->MouseState() & 2);
        }
        ::ReleaseCapture();
        form.reset();
        for (int i = 0; i < 5; ++i) Application->ProcessMessages();
    }
    EXPECT_THROW(TStatesForm(nullptr, L"nosuchkind", false), std::invalid_argument);
}

}  // namespace
}  // namespace vx
