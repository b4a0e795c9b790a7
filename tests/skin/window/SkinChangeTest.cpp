// A skin loaded at run time (the skin data's SkinFile) while windows are skinned: the
// title-bar buttons of the windows using that skin data are dropped at once, and a
// quarter of a second later every such window is recoloured and laid out again with the
// new skin, keeping its client area. A file that does not exist changes nothing on the
// screen.

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "framework/Classes.h"
#include "framework/Forms.h"
#include "framework/SysUtils.h"
#include "skin/data/SkinData.h"
#include "skin/window/FormSkinner.h"
#include "skin/window/SkinManage.h"
#include "tests/skin/window/SkinnedWindows.h"

namespace vx {
namespace {

using testing::PumpUntil;

class SkinChange : public ::testing::Test {
protected:
    static void SetUpTestSuite() { host_ = testing::MakeSkinnedHost(); }
    static void TearDownTestSuite() {
        delete host_;
        host_ = nullptr;
        DestroySkinManager();
    }
    static TSkinManage& manager() { return *TSkinManage::Instance(); }
    static TForm* host_;
};
TForm* SkinChange::host_ = nullptr;

// The packed skin the build makes, written as a skin file beside the test.
std::wstring WriteSkinFile() {
    std::ifstream in(VX_TEST_SKIN_BLOB, std::ios::binary);
    const std::vector<char> blob{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (blob.empty()) return L"";
    const std::wstring path = ProgramFolder() + L"换肤.vxs";  // a Chinese file name, as users name skins
    TMemoryStream out;
    out.WriteBuffer(blob.data(), blob.size());
    out.SaveToFile(path);
    return path;
}

TEST_F(SkinChange, ALoadedSkinFileRedoesTheSkinnedWindows) {
    TSkinData& data = *manager().MainSkinData();
    TForm form(nullptr);
    form.SetBounds(80, 80, 320, 220);
    form.SetClientSize(300, 180);
    form.Show();
    ::SetForegroundWindow(form.GetHandle());
    const HWND h = form.GetHandle();
    ASSERT_TRUE(PumpUntil([&] { return manager().FindForm(h) && manager().FindForm(h)->Lifecycle() == 1; }));
    TFormSkinner& s = *manager().FindForm(h);
    PumpUntil([&] { return !s.TitleButtons().empty(); });
    ASSERT_FALSE(s.TitleButtons().empty());
    form.SetColor(clRed);  // changed behind the skin's back

    const std::wstring file = WriteSkinFile();
    ASSERT_FALSE(file.empty());
    data.SetSkinFile(file);
    EXPECT_TRUE(data.GetHasSkin());
    EXPECT_TRUE(s.TitleButtons().empty()) << "the old skin's buttons are dropped at once";
    EXPECT_EQ(form.GetColor(), clRed) << "the refresh waits for the manager's timer";

    ASSERT_TRUE(PumpUntil([&] { return form.GetColor() == data.Model().ButtonFaceColour; }));
    PumpUntil([&] { return s.Lifecycle() == 1 && !s.TitleButtons().empty(); });
    EXPECT_EQ(s.Lifecycle(), 1);
    EXPECT_FALSE(s.TitleButtons().empty()) << "the new skin's buttons are made";
    EXPECT_EQ(form.GetClientWidth(), 300);
    EXPECT_EQ(form.GetClientHeight(), 180);

    // A file that is not there: the skin data says it has no skin, the windows stay.
    data.SetSkinFile(file + L".missing");
    EXPECT_FALSE(data.GetHasSkin());
    PumpUntil([] { return false; }, 200);
    EXPECT_EQ(manager().FindForm(h), &s);
    EXPECT_FALSE(s.TitleButtons().empty());
    ::DeleteFileW(file.c_str());
}

}  // namespace
}  // namespace vx
