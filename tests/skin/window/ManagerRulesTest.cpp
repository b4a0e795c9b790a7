// The skin manager's decisions: the tests of AttachForm in their order (a refusal asks
// nothing further), the class filter, the choice of skin data, RequestAction before and
// after the first attach, and what the timer tick does per scope.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cwchar>

#include "skin/window/ManagerRules.h"

namespace vx {
namespace {

using ::testing::ElementsAre;

// A window described by data; every question asked is recorded.
struct TFakeFacts : IAttachFacts {
    bool active = true, query = false, listed = false, framework = true, scanning = false;
    std::uint32_t style = 0, exStyle = 0;
    std::wstring parentClass, className = L"TfrmMain";
    bool ourInstance = true, area = true;
    std::intptr_t tag = 0;
    bool filter = true, chosen = true, hasSkin = true;
    std::vector<std::string> asked;

    bool ManagerActive() override { return asked.push_back("active"), active; }
    void Purge() override { asked.push_back("purge"); }
    bool AnswersSkinQuery() override { return asked.push_back("query"), query; }
    bool HasFormObject() override { return asked.push_back("listed"), listed; }
    bool FindFrameworkForm() override { return asked.push_back("form"), framework; }
    bool Scanning() override { return asked.push_back("scanning"), scanning; }
    std::uint32_t Style() override { return asked.push_back("style"), style; }
    std::uint32_t ExStyle() override { return asked.push_back("exstyle"), exStyle; }
    std::wstring ParentClassName() override { return asked.push_back("parent"), parentClass; }
    std::wstring ClassName() override { return asked.push_back("class"), className; }
    bool InstanceIsModule() override { return asked.push_back("instance"), ourInstance; }
    bool HasArea() override { return asked.push_back("area"), area; }
    std::intptr_t FormTag() override { return asked.push_back("tag"), tag; }
    bool ClassFilterAccepts(const std::wstring&) override { return asked.push_back("filter"), filter; }
    bool ChooseSkinData(const std::wstring&) override { return asked.push_back("choose"), chosen; }
    bool ChosenHasSkin() override { return asked.push_back("hasskin"), hasSkin; }
};

TEST(AttachDecision, AFrameworkFormPassesEveryTestInOrder) {
    TFakeFacts f;
    EXPECT_EQ(DecideAttach(f), TAttachRefusal::None);
    EXPECT_THAT(f.asked, ElementsAre("active", "purge", "query", "listed", "form", "scanning", "style", "class",
                                     "area", "tag", "filter", "choose", "hasskin"));
}

TEST(AttachDecision, EachRefusalEndsTheQuestions) {
    {
        TFakeFacts f;
        f.active = false;
        EXPECT_EQ(DecideAttach(f), TAttachRefusal::NotActive);
        EXPECT_THAT(f.asked, ElementsAre("active"));  // not even a purge
    }
    {
        TFakeFacts f;
        f.query = true;  // answers WM_SKINQUERY with 1: the list is not asked
        EXPECT_EQ(DecideAttach(f), TAttachRefusal::AlreadySkinned);
        EXPECT_THAT(f.asked, ElementsAre("active", "purge", "query"));
    }
    {
        TFakeFacts f;
        f.listed = true;  // a second activation of the same window
        EXPECT_EQ(DecideAttach(f), TAttachRefusal::AlreadySkinned);
    }
    {
        TFakeFacts f;
        f.style = style_bits::Child;
        f.parentClass = L"TPanel";
        EXPECT_EQ(DecideAttach(f), TAttachRefusal::OrdinaryChild);
        EXPECT_EQ(f.asked.back(), "parent");
    }
    {
        TFakeFacts f;
        f.framework = false;
        f.ourInstance = false;
        f.className = L"SomeoneElse";
        EXPECT_EQ(DecideAttach(f), TAttachRefusal::NotOurs);
        EXPECT_EQ(f.asked.back(), "instance");
    }
    {
        TFakeFacts f;
        f.area = false;
        EXPECT_EQ(DecideAttach(f), TAttachRefusal::NoArea);
        EXPECT_EQ(f.asked.back(), "exstyle");  // an MDI child would still pass
    }
    {
        TFakeFacts f;
        f.tag = 99;
        EXPECT_EQ(DecideAttach(f), TAttachRefusal::Tag99);
        EXPECT_EQ(f.asked.back(), "tag");
    }
    {
        TFakeFacts f;
        f.filter = false;
        EXPECT_EQ(DecideAttach(f), TAttachRefusal::ClassFilter);
        EXPECT_EQ(f.asked.back(), "filter");
    }
    {
        TFakeFacts f;
        f.chosen = false;
        EXPECT_EQ(DecideAttach(f), TAttachRefusal::NoSkinData);
        EXPECT_EQ(f.asked.back(), "choose");
    }
    {
        TFakeFacts f;
        f.hasSkin = false;
        EXPECT_EQ(DecideAttach(f), TAttachRefusal::NoSkin);
    }
}

TEST(AttachDecision, ChildWindowsPassOnlyAsMdiChildrenOrWhileScanning) {
    TFakeFacts mdiChild;
    mdiChild.style = style_bits::Child;
    mdiChild.exStyle = style_bits::ExMdiChild;
    EXPECT_EQ(DecideAttach(mdiChild), TAttachRefusal::None);

    TFakeFacts inClient;  // a child of an MDI client, whatever the case of its class
    inClient.style = style_bits::Child;
    inClient.parentClass = L"MDIClient";
    EXPECT_EQ(DecideAttach(inClient), TAttachRefusal::None);

    TFakeFacts scanned;  // scanning skips the child test (and its questions)
    scanned.scanning = true;
    scanned.style = style_bits::Child;
    EXPECT_EQ(DecideAttach(scanned), TAttachRefusal::None);
    EXPECT_EQ(std::count(scanned.asked.begin(), scanned.asked.end(), "style"), 0);
}

TEST(AttachDecision, WhoseWindowsAreTaken) {
    TFakeFacts dialog;  // a standard dialog of another module
    dialog.framework = false;
    dialog.ourInstance = false;
    dialog.className = L"#32770";
    EXPECT_EQ(DecideAttach(dialog), TAttachRefusal::None);
    EXPECT_EQ(std::count(dialog.asked.begin(), dialog.asked.end(), "tag"), 0);  // Tag only of a form

    TFakeFacts foreign;  // a window class of this program without a framework form
    foreign.framework = false;
    foreign.className = L"PlainWindow";
    EXPECT_EQ(DecideAttach(foreign), TAttachRefusal::None);

    TFakeFacts foreignTag;  // a foreign window has no Tag: 99 is never read for it
    foreignTag.framework = false;
    foreignTag.tag = 99;
    EXPECT_EQ(DecideAttach(foreignTag), TAttachRefusal::None);
}

TEST(AttachDecision, ZeroAreaPassesForAnMdiChild) {
    TFakeFacts f;
    f.area = false;
    f.exStyle = style_bits::ExMdiChild;
    EXPECT_EQ(DecideAttach(f), TAttachRefusal::None);
}

TEST(AttachDecision, RefusedClasses) {
    for (const wchar_t* name : {L"TApplication", L"XTcxPopupEditPopupWindowY", L"TTERenderWindow2"}) {
        TFakeFacts f;
        f.className = name;
        EXPECT_EQ(DecideAttach(f), TAttachRefusal::RefusedClass) << std::string(name, name + wcslen(name));
    }
    TFakeFacts contains;  // merely containing "TApplication" is not refused by this test
    contains.className = L"TApplicationX";
    EXPECT_EQ(DecideAttach(contains), TAttachRefusal::None);
    TFakeFacts lower;
    lower.className = L"tapplication";
    EXPECT_EQ(DecideAttach(lower), TAttachRefusal::None);
}

TEST(ClassFilter, Rules) {
    auto accepts = [](TClassFilterInput in) { return ClassFilterAccepts(in, nullptr); };
    EXPECT_TRUE(accepts({false, false, L"TfrmPreview", 0}));  // no main skin data: everything
    EXPECT_FALSE(accepts({true, false, L"TfrmPREVIEWer", 0}));
    EXPECT_TRUE(accepts({true, true, L"TfrmPreview", 0}));
    EXPECT_FALSE(accepts({true, true, L"#32770", style_bits::DialogBit200}));
    EXPECT_TRUE(accepts({true, true, L"#32770", 0}));
    EXPECT_TRUE(accepts({true, true, L"Other", style_bits::DialogBit200}));
    EXPECT_FALSE(accepts({true, true, L"TPopupDBTreeView", 0}));
    EXPECT_TRUE(accepts({true, true, L"TPopupDBTreeView2", 0}));
}

TEST(ClassFilter, TheComponentsOwnFilterSeesTheAnswerAndMayChangeIt) {
    std::vector<std::pair<std::wstring, bool>> seen;
    auto overrule = [&](const std::wstring& name, bool& doSkin) {
        seen.emplace_back(name, doSkin);
        doSkin = !doSkin;
    };
    EXPECT_TRUE(ClassFilterAccepts({true, false, L"TPreview", 0}, overrule));
    EXPECT_FALSE(ClassFilterAccepts({true, false, L"TForm1", 0}, overrule));
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0], std::make_pair(std::wstring(L"TPreview"), false));
    EXPECT_EQ(seen[1], std::make_pair(std::wstring(L"TForm1"), true));
    // Without main skin data nobody's filter is asked.
    EXPECT_TRUE(ClassFilterAccepts({false, false, L"X", 0}, overrule));
    EXPECT_EQ(seen.size(), 2u);
}

TEST(ChooseSkinData, OrderOfPreference) {
    using S = TSkinScope;
    EXPECT_EQ(ChooseSkinData({}, L"TForm1"), -1);
    // Only-this-form components whose owner is this window: the last one.
    std::vector<TSkinDataEntry> list{{S::MainForm, false}, {S::OnlyThisForm, true}, {S::OnlyThisForm, true},
                                     {S::OnlyThisForm, false}, {S::Dialog, false}};
    EXPECT_EQ(ChooseSkinData(list, L"#32770"), 2);
    // A dialog class takes the last dialog component.
    std::vector<TSkinDataEntry> dialogs{{S::MainForm, false}, {S::Dialog, false}, {S::Dialog, false}, {S::MainForm, false}};
    EXPECT_EQ(ChooseSkinData(dialogs, L"#32770"), 2);
    EXPECT_EQ(ChooseSkinData(dialogs, L"TMessageForm"), 2);
    EXPECT_EQ(ChooseSkinData(dialogs, L"tmessageFORM"), 2);
    // Other classes take the last main-form component.
    EXPECT_EQ(ChooseSkinData(dialogs, L"TForm1"), 3);
    // No dialog component: the dialog falls to the main form one.
    std::vector<TSkinDataEntry> mains{{S::OnlyThisForm, false}, {S::MainForm, false}};
    EXPECT_EQ(ChooseSkinData(mains, L"#32770"), 1);
    // Nothing fits: the first registered.
    std::vector<TSkinDataEntry> odd{{S::Dll, false}, {S::OnlyThisForm, false}, {S::Dialog, false}};
    EXPECT_EQ(ChooseSkinData(odd, L"TForm1"), 0);
}

TEST(RequestAction, BeforeTheFirstAttachOnlyTheActiveFlagChanges) {
    TActionState s;
    RequestAction(s, 1, 250);
    EXPECT_TRUE(s.Active);
    EXPECT_FALSE(s.TimerEnabled);
    EXPECT_EQ(s.PendingAction, 1u);
    EXPECT_EQ(s.TimerInterval, 250u);
    RequestAction(s, 3, 250);  // a refresh does not touch the flag
    EXPECT_TRUE(s.Active);
    EXPECT_FALSE(s.TimerEnabled);
    RequestAction(s, 2, 100);
    EXPECT_FALSE(s.Active);
    EXPECT_FALSE(s.TimerEnabled);
}

TEST(RequestAction, OnceRunningTheTimerCarriesTheAction) {
    TActionState s;
    s.State = 1;
    RequestAction(s, 1, 250);
    EXPECT_FALSE(s.Active);  // set by the tick, not here
    EXPECT_TRUE(s.TimerEnabled);
    EXPECT_EQ(s.PendingAction, 1u);
    EXPECT_EQ(s.TimerInterval, 250u);
    s.TimerEnabled = false;
    s.State = 4;
    RequestAction(s, 6, 10);
    EXPECT_TRUE(s.TimerEnabled);
    EXPECT_EQ(s.PendingAction, 6u);
}

TEST(TickWork, PerScope) {
    EXPECT_EQ(TickWork(TSkinScope::OnlyThisForm, 1), TTickWork::ActivateOneForm);
    EXPECT_EQ(TickWork(TSkinScope::OnlyThisForm, 2), TTickWork::DeactivateOneForm);
    EXPECT_EQ(TickWork(TSkinScope::OnlyThisForm, 3), TTickWork::RefreshFirst);
    EXPECT_EQ(TickWork(TSkinScope::OnlyThisForm, 6), TTickWork::Purge);
    for (TSkinScope s : {TSkinScope::MainForm, TSkinScope::Dialog, TSkinScope::Dll}) {
        EXPECT_EQ(TickWork(s, 1), TTickWork::ActivateAll);
        EXPECT_EQ(TickWork(s, 2), TTickWork::DeactivateAll);
        EXPECT_EQ(TickWork(s, 3), TTickWork::RefreshAll);
        EXPECT_EQ(TickWork(s, 6), TTickWork::Purge);
        EXPECT_EQ(TickWork(s, 4), TTickWork::None);
    }
}

}  // namespace
}  // namespace vx
