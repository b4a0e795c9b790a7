// The page control: sheets as tabs, the active sheet shown.

#include <gtest/gtest.h>

#include <memory>

#include "framework/Forms.h"
#include "framework/TabControls.h"

namespace {

using namespace vx;

TEST(PageControlTest, SheetsBecomeTabsAndOnlyTheActiveOneShows) {
    TForm form(nullptr);
    auto* pages = new TPageControl(&form);
    pages->SetParent(&form);
    auto* first = new TTabSheet(&form);
    first->SetCaption(L"常规");
    first->SetPageControl(pages);
    auto* second = new TTabSheet(&form);
    second->SetCaption(L"高级");
    second->SetPageControl(pages);
    EXPECT_EQ(pages->PageCount(), 2);
    EXPECT_EQ(pages->GetActivePage(), first);
    EXPECT_EQ(::SendMessageW(pages->GetHandle(), TCM_GETITEMCOUNT, 0, 0), 2);
    pages->SetActivePageIndex(1);
    EXPECT_TRUE(second->GetVisible());
    EXPECT_FALSE(first->GetVisible());
    EXPECT_EQ(pages->GetTabIndex(), 1);
    delete second;
    EXPECT_EQ(pages->PageCount(), 1);
    EXPECT_EQ(pages->GetActivePage(), first);
}

}  // namespace
