// Opening and closing skinned windows many times leaves nothing behind: after 200
// message boxes, 200 media information windows and 200 open dialogs (their controls
// skinned as well), each skinned while it was open, the manager's list holds only the
// windows it held before, and the process has the same GDI objects, windows and menus
// as after the first round.

#include <gtest/gtest.h>

#include "framework/Dialogs.h"
#include "framework/Forms.h"
#include "mediainfo/VedioInfo.h"
#include "skin/controls/ControlDispatch.h"
#include "skin/window/FormSkinner.h"
#include "skin/window/SkinManage.h"
#include "skin/window/SkinMessages.h"
#include "tests/framework/GuiObjectCounts.h"
#include "tests/skin/window/SkinnedWindows.h"

namespace vx {
namespace {

using testing::CountGuiObjects;
using testing::PumpUntil;
using testing::TGuiObjectCounts;

class SkinLeaks : public ::testing::Test {
protected:
    static void SetUpTestSuite() { host_ = testing::MakeSkinnedHost(); }
    static void TearDownTestSuite() {
        delete host_;
        host_ = nullptr;
        DestroySkinManager();
    }
    static TSkinManage& manager() { return *TSkinManage::Instance(); }

    // Runs `cycle` once to let every lazily made object come into being, then 200 times
    // more, and compares what is held afterwards with what was held after the first.
    template <class F>
    void ExpectNothingLeft(F cycle) {
        ASSERT_TRUE(cycle());
        manager().Purge();
        const size_t forms = manager().Forms().size();
        const TGuiObjectCounts before = CountGuiObjects();
        for (int i = 0; i < 200; ++i) {
            ASSERT_TRUE(cycle()) << "round " << i;
            manager().Purge();
        }
        Application->ProcessMessages();
        const TGuiObjectCounts after = CountGuiObjects();
        EXPECT_EQ(manager().Forms().size(), forms);
        EXPECT_EQ(after.Gdi, before.Gdi) << "GDI objects";
        EXPECT_EQ(after.Windows, before.Windows) << "windows";
        EXPECT_EQ(after.Menus, before.Menus) << "menus";
    }

    static TForm* host_;
};
TForm* SkinLeaks::host_ = nullptr;

// The message box of one round: closed from a timer once it is skinned.
bool g_boxSkinned = false;
void CALLBACK CloseSkinnedBox(HWND, UINT, UINT_PTR id, DWORD) {
    HWND box = ::FindWindowW(L"#32770", L"泄漏");
    if (!box) return;
    TFormSkinner* s = TSkinManage::Instance()->FindForm(box);
    if (!s || s->Lifecycle() != 1) return;
    ::KillTimer(nullptr, id);
    g_boxSkinned = ::SendMessageW(box, WM_SKINQUERY, 0, 0) == 1;
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
}

TEST_F(SkinLeaks, TwoHundredMessageBoxes) {
    ExpectNothingLeft([] {
        g_boxSkinned = false;
        ::SetTimer(nullptr, 0, 5, &CloseSkinnedBox);
        ::MessageBoxW(host_->GetHandle(), L"文字", L"泄漏", MB_OK | MB_ICONINFORMATION);
        return g_boxSkinned;
    });
}

TEST_F(SkinLeaks, TwoHundredInformationWindows) {
    const TVedioInfoModel model(L"General\nFormat : AVI\nDuration : 1mn 0s\n\nVideo\nWidth : 640 pixels\n"
                                L"Height : 480 pixels\n\nAudio\nFormat : MPEG Audio\n");
    ExpectNothingLeft([&] {
        auto* form = new TfrmVedioInfo(nullptr);
        form->FinishBuilding();
        form->ShowModel(model);
        form->Show();
        ::SetForegroundWindow(form->GetHandle());
        const HWND h = form->GetHandle();
        const bool skinned = PumpUntil([&] {
            TFormSkinner* s = manager().FindForm(h);
            return s && s->Lifecycle() == 1 && s->TitleBackground();
        });
        const bool answered = ::SendMessageW(h, WM_SKINQUERY, 0, 0) == 1;
        form->Close();
        delete form;
        Application->ProcessMessages();
        return skinned && answered;
    });
}

// The open dialog of one round: cancelled from a timer once its frame and its
// controls are skinned.
bool g_dialogSkinned = false;
void CALLBACK CancelSkinnedDialog(HWND, UINT, UINT_PTR id, DWORD) {
    HWND dialog = ::FindWindowW(L"#32770", L"泄漏打开");
    if (!dialog) return;
    TFormSkinner* s = TSkinManage::Instance()->FindForm(dialog);
    if (!s || s->Lifecycle() != 1 || s->ControlSkins().empty()) return;
    ::KillTimer(nullptr, id);
    g_dialogSkinned = ::SendMessageW(dialog, WM_SKINQUERY, 0, 0) == 1;
    ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
}

TEST_F(SkinLeaks, TwoHundredOpenDialogs) {
    // As the program has it: the controls of every skinned window are skinned too.
    InstallControlSkinning();
    ExpectNothingLeft([] {
        g_dialogSkinned = false;
        TOpenDialog dialog(nullptr);
        dialog.SetTitle(L"泄漏打开");
        dialog.SetFilter(L"视频文件|*.avi;*.mpg|");
        ::SetTimer(nullptr, 0, 10, &CancelSkinnedDialog);
        const bool chosen = dialog.Execute();
        return !chosen && g_dialogSkinned;
    });
}

}  // namespace
}  // namespace vx
