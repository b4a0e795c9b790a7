// The range controls' shared range and position: the properties each kind publishes,
// the position set by name reaching the kind's own rules, and the position read back
// from the window.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/Forms.h"
#include "framework/RangeControls.h"
#include "framework/StdCtrls.h"

namespace {

using namespace vx;

std::vector<std::wstring> PropertyNames(const TClassInfo& info) {
    std::vector<std::wstring> names;
    for (const TPropInfo* p : info.AllProperties()) names.push_back(p->Name);
    return names;
}

// The names after those of TWinControl, in published order.
std::vector<std::wstring> OwnPropertyNames(const TClassInfo& info) {
    const auto all = PropertyNames(info);
    const auto base = PropertyNames(TWinControl::StaticClass());
    return {all.begin() + static_cast<std::ptrdiff_t>(base.size()), all.end()};
}

TEST(RangeControlsTest, EachKindPublishesRangeAndPositionBeforeItsOwnProperties) {
    using V = std::vector<std::wstring>;
    EXPECT_EQ(OwnPropertyNames(TProgressBar::StaticClass()),
              (V{L"Min", L"Max", L"Position", L"Step", L"Smooth", L"Orientation"}));
    EXPECT_EQ(OwnPropertyNames(TTrackBar::StaticClass()),
              (V{L"Min", L"Max", L"Position", L"Frequency", L"Orientation"}));
    EXPECT_EQ(OwnPropertyNames(TUpDown::StaticClass()),
              (V{L"Min", L"Max", L"Position", L"Increment", L"Wrap", L"Orientation", L"Associate"}));
}

TEST(RangeControlsTest, PositionSetByNameFollowsTheKindsOwnRules) {
    TForm form(nullptr);
    auto* track = new TTrackBar(&form);
    int changes = 0;
    track->OnChange = [&](TObject*) { ++changes; };
    EXPECT_TRUE(SetOrdProp(track, L"Position", 25));  // above the default maximum of 10
    EXPECT_EQ(track->GetPosition(), 10);
    EXPECT_EQ(changes, 1);

    auto* edit = new TEdit(&form);
    auto* upDown = new TUpDown(&form);
    upDown->SetAssociate(edit);
    EXPECT_TRUE(SetOrdProp(upDown, L"Max", 5));
    EXPECT_TRUE(SetOrdProp(upDown, L"Position", 7));
    EXPECT_EQ(upDown->GetPosition(), 5);
    EXPECT_EQ(edit->GetText(), L"5");

    auto* bar = new TProgressBar(&form);
    EXPECT_TRUE(SetOrdProp(bar, L"Position", 150));  // the default maximum is 100
    EXPECT_EQ(bar->GetPosition(), 100);
}

TEST(RangeControlsTest, RangeChangesReachTheWindowAndThePositionIsReadFromIt) {
    TForm form(nullptr);
    auto* bar = new TProgressBar(&form);
    bar->SetParent(&form);
    bar->SetPosition(60);
    bar->HandleNeeded();
    bar->SetMax(50);  // the window clamps its position to the new range
    EXPECT_EQ(::SendMessageW(bar->GetHandle(), PBM_GETRANGE, FALSE, 0), 50);
    EXPECT_EQ(bar->GetPosition(), 50);
    ::SendMessageW(bar->GetHandle(), PBM_SETPOS, 20, 0);
    EXPECT_EQ(bar->GetPosition(), 20);
}

}  // namespace
