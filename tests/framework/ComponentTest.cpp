#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/Component.h"
#include "framework/Messages.h"

namespace {

using namespace vx;

// A component that records its destruction, its notifications and Loaded calls.
class TProbe : public TComponent {
public:
    TProbe(TComponent* owner, std::wstring name, std::vector<std::wstring>* log)
        : TComponent(owner), log_(log) {
        SetName(name);
    }
    ~TProbe() override {
        if (log_) log_->push_back(L"free " + GetName());
    }
    void Loaded() override {
        TComponent::Loaded();
        ++loadedCount;
    }
    int loadedCount = 0;
    std::vector<std::pair<TComponent*, TOperation>> notes;
    TComponent* watched = nullptr;

protected:
    void Notification(TComponent* c, TOperation op) override {
        TComponent::Notification(c, op);
        notes.emplace_back(c, op);
        if (op == opRemove && c == watched) watched = nullptr;
    }

private:
    std::vector<std::wstring>* log_;
};

TEST(ComponentTest, OwnerFreesOwnedComponentsLastInsertedFirst) {
    std::vector<std::wstring> log;
    auto* owner = new TProbe(nullptr, L"owner", &log);
    new TProbe(owner, L"a", &log);
    auto* b = new TProbe(owner, L"b", &log);
    new TProbe(b, L"b1", &log);
    new TProbe(owner, L"c", &log);
    EXPECT_EQ(owner->ComponentCount(), 3);
    delete owner;
    EXPECT_EQ(log, (std::vector<std::wstring>{L"free owner", L"free c", L"free b", L"free b1", L"free a"}));
}

TEST(ComponentTest, FreeingAnOwnedComponentLeavesTheListAndTellsTheOthers) {
    TProbe owner(nullptr, L"owner", nullptr);
    auto* a = new TProbe(&owner, L"a", nullptr);
    auto* b = new TProbe(&owner, L"b", nullptr);
    a->notes.clear();
    owner.notes.clear();
    delete b;
    EXPECT_EQ(owner.ComponentCount(), 1);
    EXPECT_EQ(owner.Components(0), a);
    EXPECT_EQ(owner.Components(1), nullptr);
    ASSERT_EQ(a->notes.size(), 1u);
    EXPECT_EQ(a->notes[0].first, b);
    EXPECT_EQ(a->notes[0].second, opRemove);
    ASSERT_EQ(owner.notes.size(), 1u);
    EXPECT_EQ(owner.notes[0].second, opRemove);
}

TEST(ComponentTest, FreeNotificationReachesComponentsOfOtherOwners) {
    TProbe formA(nullptr, L"A", nullptr), formB(nullptr, L"B", nullptr);
    auto* holder = new TProbe(&formA, L"holder", nullptr);
    auto* target = new TProbe(&formB, L"target", nullptr);
    holder->watched = target;
    holder->FreeNotification(target);
    delete target;
    EXPECT_EQ(holder->watched, nullptr);
    // The link goes both ways: freeing the holder first must not leave a dangling
    // entry behind in the other component.
    auto* target2 = new TProbe(&formB, L"target2", nullptr);
    holder->FreeNotification(target2);
    delete holder;
    delete target2;  // would touch the freed holder if the link stayed
    SUCCEED();
}

// A component told of another one's end may free a third component that watches the
// same one (a form dropping the object that draws its menu bar when the menu goes):
// the third is then neither told nor touched.
class TFreeingProbe : public TProbe {
public:
    using TProbe::TProbe;
    TComponent* freeOnRemove = nullptr;

protected:
    void Notification(TComponent* c, TOperation op) override {
        TProbe::Notification(c, op);
        if (op == opRemove && freeOnRemove) {
            TComponent* victim = freeOnRemove;
            freeOnRemove = nullptr;
            delete victim;
        }
    }
};

TEST(ComponentTest, AWatcherFreedByAnotherWatchersNotificationIsNotTouched) {
    std::vector<std::wstring> log;
    for (int order = 0; order < 2; ++order) {
        auto* target = new TProbe(nullptr, L"menu", &log);
        auto* first = new TFreeingProbe(nullptr, L"form", &log);
        auto* second = new TProbe(nullptr, L"bar", &log);
        // Both orders of asking: the freed watcher may come before or after the freeing one.
        if (order == 0) {
            first->FreeNotification(target);
            second->FreeNotification(target);
        } else {
            second->FreeNotification(target);
            first->FreeNotification(target);
        }
        first->freeOnRemove = second;
        log.clear();
        delete target;
        EXPECT_EQ(log, (std::vector<std::wstring>{L"free menu", L"free bar"})) << "order " << order;
        ASSERT_EQ(first->notes.size(), 1u);
        EXPECT_EQ(first->notes[0].second, opRemove);
        delete first;
    }
}

TEST(ComponentTest, FindComponentIgnoresCaseAndRejectsEmptyNames) {
    TProbe owner(nullptr, L"owner", nullptr);
    auto* button = new TProbe(&owner, L"btnStart", nullptr);
    new TProbe(&owner, L"", nullptr);
    EXPECT_EQ(owner.FindComponent(L"BTNSTART"), button);
    EXPECT_EQ(owner.FindComponent(L"btnStop"), nullptr);
    EXPECT_EQ(owner.FindComponent(L""), nullptr);
}

TEST(ComponentTest, InsertComponentMovesBetweenOwners) {
    TProbe first(nullptr, L"first", nullptr), second(nullptr, L"second", nullptr);
    auto* c = new TProbe(&first, L"c", nullptr);
    second.InsertComponent(c);
    EXPECT_EQ(c->Owner(), &second);
    EXPECT_EQ(first.ComponentCount(), 0);
    EXPECT_EQ(second.ComponentCount(), 1);
    first.RemoveComponent(c);  // not its owner any more: nothing happens
    EXPECT_EQ(c->Owner(), &second);
}

TEST(ComponentTest, ComponentsMadeWhileTheOwnerLoadsAreLoadingUntilLoaded) {
    TProbe owner(nullptr, L"owner", nullptr);
    owner.BeginLoading();
    auto* c = new TProbe(&owner, L"c", nullptr);
    EXPECT_TRUE(c->IsLoading());
    EXPECT_TRUE(c->ComponentState() & csLoading);
    c->Loaded();
    EXPECT_FALSE(c->IsLoading());
    owner.Loaded();
    auto* late = new TProbe(&owner, L"late", nullptr);
    EXPECT_FALSE(late->IsLoading());
}

TEST(ComponentTest, DestroyingMarksEverythingOwned) {
    TProbe owner(nullptr, L"owner", nullptr);
    auto* a = new TProbe(&owner, L"a", nullptr);
    auto* a1 = new TProbe(a, L"a1", nullptr);
    owner.Destroying();
    EXPECT_TRUE(a->IsDestroying());
    EXPECT_TRUE(a1->IsDestroying());
}

TEST(ComponentTest, NameAndTagArePublished) {
    TProbe c(nullptr, L"x", nullptr);
    EXPECT_TRUE(SetStrProp(&c, L"name", L"lblTavelBlog"));
    EXPECT_TRUE(SetOrdProp(&c, L"TAG", 99));
    EXPECT_EQ(c.GetName(), L"lblTavelBlog");
    EXPECT_EQ(c.GetTag(), 99);
    EXPECT_TRUE(c.InheritsFrom(L"TPersistent"));
    EXPECT_EQ(c.ClassName(), L"TComponent");
}

TEST(ComponentTest, NotificationNumbersAreTheFixedOnes) {
    EXPECT_EQ(CM_VISIBLECHANGED, 0xB00Bu);
    EXPECT_EQ(CM_ENABLEDCHANGED, 0xB00Cu);
    EXPECT_EQ(CM_MOUSEENTER, 0xB013u);
    EXPECT_EQ(CM_MOUSELEAVE, 0xB014u);
    EXPECT_EQ(CM_EXIT, 0xB01Bu);
    EXPECT_EQ(CM_RECREATEWND, 0xB033u);
    EXPECT_EQ(CM_CHECKSTATECHANGED, 0xB0D0u);
    EXPECT_TRUE(IsFrameworkMessage(CM_DIALOGCHAR));
    EXPECT_FALSE(IsFrameworkMessage(0x3523));
}

}  // namespace
