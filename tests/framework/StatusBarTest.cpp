// The status bar: panel texts and alignment.

#include <gtest/gtest.h>

#include <memory>

#include "framework/Forms.h"
#include "framework/StatusBar.h"

namespace {

using namespace vx;

TEST(StatusBarTest, PanelsAndSimpleText) {
    TForm form(nullptr);
    auto* bar = new TStatusBar(&form);
    bar->SetParent(&form);
    bar->GetPanels()->Add()->SetText(L"就绪");
    bar->GetPanels()->Add()->SetText(L"3 个文件");
    wchar_t buffer[64] = {};
    ::SendMessageW(bar->GetHandle(), SB_GETTEXTW, 1, reinterpret_cast<LPARAM>(buffer));
    EXPECT_STREQ(buffer, L"3 个文件");
    EXPECT_EQ(bar->GetAlign(), alBottom);
}

}  // namespace
