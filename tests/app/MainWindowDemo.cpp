// The main window filled for a picture: rows in every state and the bar at half way.
// An argument opens one more window over it: "about", "shutdown", "message", "info"
// (the media information window), "infoscroll" (the same with a file of many streams,
// its tree scrolled down), "open" (the open dialog) or "folder" (the folder chooser); or
// shows the skinned title bar with the close button "hover"ed or "press"ed, or the
// skinned system menu open ("sysmenu"), or the queue's menu open over the list with its
// first item highlighted ("pmlist").
//   main_window_demo.exe [about|shutdown|message|info|infoscroll|open|folder|hover|press|sysmenu|pmlist]
// The stand-in encoder beside the program becomes codecs\mencoder.exe, and a small
// catalogue is written, so the window starts as it does with the real encoder.
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "app/main.h"
#include "dialogs/Shutdown.h"
#include "dialogs/about.h"
#include "framework/SysUtils.h"
#include "framework/Handles.h"
#include "mediainfo/VedioInfo.h"
#include "skin/controls/ControlDispatch.h"
#include "skin/window/FormSkinner.h"
#include "skin/window/SkinManage.h"

using namespace vx;

namespace {

void WriteUtf16(const std::wstring& path, const std::wstring& text) {
    const THandle h(
        ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!h) return;
    const std::wstring data = L"\xFEFF" + text;
    DWORD written = 0;
    ::WriteFile(h.Get(), data.data(), static_cast<DWORD>(data.size() * sizeof(wchar_t)), &written, nullptr);
}

void PrepareProgramFolder() {
    const std::wstring folder = ProgramFolder();
    ::CreateDirectoryW((folder + L"codecs").c_str(), nullptr);
    ::CopyFileW((folder + L"stand_in_encoder.exe").c_str(), (folder + L"codecs\\mencoder.exe").c_str(), TRUE);
    WriteUtf16(folder + L"codecs\\VXEncoderParameters.ini",
               L"[EncoderType]\r\nPixoro 高速度=.avi\r\nPixoro 高质量=.avi\r\n"
               L"[Extension]\r\n视频文件=*.avi;*.mpg;*.wmv\r\n");
    WriteUtf16(folder + L"codecs\\VXEncoder.ini", L"[Configure]\r\nOutputFolder=C:\\VX Vedio\\\r\nEncoderType=0\r\n");
}

void AddRow(TfrmMain& form, const std::wstring& path, const std::wstring& status, const std::wstring& progress,
            int image) {
    TListItem* item = form.ListView1->GetItems()->Add();
    item->SetCaption(path);
    item->GetSubItems()->Add(status);
    item->GetSubItems()->Add(progress);
    item->SetImageIndex(image);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    int argc = 0;
    wchar_t** argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    const std::wstring mode = argc > 1 ? argv[1] : L"";
    PrepareProgramFolder();

    InstallWindowSkinning();
    InstallControlSkinning();
    Application->SetMainFormOnTaskBar(true);
    Application->SetTitle(kMainTitle);
    TfrmMain* form = nullptr;
    Application->CreateForm(form);
    // The picture shows the rows as a batch leaves them; the window's own rules are
    // the subject of the tests.
    AddRow(*form, L"D:\\视频\\旅行-第一天.avi", L"已完成", L"100%", 2);
    AddRow(*form, L"D:\\视频\\生日聚会.mpg", L"正在转换...", L"1523帧  50%", 1);
    AddRow(*form, L"D:\\视频\\毕业典礼.wmv", L"已终止", L"0帧  31%", 3);
    AddRow(*form, L"D:\\视频\\missing.rmvb", L"转换失败", L"0%", 3);
    AddRow(*form, L"D:\\视频\\婚礼录像.avi", L"准备转换", L"0%", 0);
    form->ListView1->GetItems()->Items(1)->SetSelected(true);
    form->ProgressBar->SetPosition(50);
    form->btnStart->SetEnabled(false);
    form->btnStop->SetEnabled(true);

    TTimer opener(nullptr);
    opener.SetInterval(700);
    opener.OnTimer = [&](TObject*) {
        opener.SetEnabled(false);
        if (mode == L"about") {
            TfrmAbout about(Application);
            about.ShowModal();
        } else if (mode == L"shutdown") {
            TfrmShutdown dialog(Application);
            dialog.ShowModal();
        } else if (mode == L"message") {
            Application->MessageBox(kStopQuestion, L"终止", MB_OKCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2);
        } else if (mode == L"info" || mode == L"infoscroll") {
            TfrmVedioInfo info(Application);
            info.FinishBuilding();
            std::wstring text =
                L"General\nComplete name : D:\\视频\\生日聚会.mpg\nFormat : MPEG-PS\nFile size : 152 MiB\n"
                L"Duration : 10mn 12s\nOverall bit rate : 2 085 Kbps\n\nVideo\nFormat : MPEG Video\n"
                L"Format version : Version 2\nBit rate : 1 800 Kbps\nWidth : 720 pixels\nHeight : 576 pixels\n"
                L"Display aspect ratio : 4:3\nFrame rate : 25.000 fps\n\nAudio\nFormat : MPEG Audio\n"
                L"Format profile : Layer 2\nBit rate : 224 Kbps\nChannel(s) : 2 channels\n"
                L"Sampling rate : 48.0 KHz\n";
            if (mode == L"infoscroll")  // a second sound track and subtitles: more than the tree shows
                text += L"\nAudio\nFormat : AC-3\nBit rate : 448 Kbps\nChannel(s) : 6 channels\n"
                        L"Sampling rate : 48.0 KHz\nLanguage : 中文\n\nText\nFormat : VobSub\nLanguage : 中文\n";
            info.ShowModel(TVedioInfoModel(text));
            TTimer scroller(nullptr);
            scroller.SetInterval(300);
            scroller.OnTimer = [&](TObject*) {
                scroller.SetEnabled(false);
                // As nine clicks on the down arrow arrive: each step, then the end of the scroll.
                for (int i = 0; i < 9; ++i) ::SendMessageW(info.tvInfo->GetHandle(), WM_VSCROLL, SB_LINEDOWN, 0);
                ::SendMessageW(info.tvInfo->GetHandle(), WM_VSCROLL, SB_ENDSCROLL, 0);
            };
            scroller.SetEnabled(mode == L"infoscroll");
            info.ShowModal();
        } else if (mode == L"open") {
            form->btnAddFileClick(form->btnAddFile);
        } else if (mode == L"folder") {
            form->btnBrowseClick(form->btnBrowse);
        } else if (TSkinManage* manager = TSkinManage::Instance()) {
            TFormSkinner* skinner = manager->FindForm(form->GetHandle());
            if (!skinner) return;
            if (mode == L"pmlist") {
                // The first item is highlighted once the menu is up.
                TTimer* highlight = new TTimer(form);
                highlight->SetInterval(300);
                highlight->OnTimer = [highlight](TObject*) {
                    HWND menu = TSkinManage::Instance() ? TSkinManage::Instance()->NewestPopupWindow() : nullptr;
                    if (!menu) return;
                    highlight->SetEnabled(false);
                    ::PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
                };
                const POINT at = form->ListView1->ClientToScreen(POINT{160, 70});
                form->pmList->Popup(at.x, at.y);
                return;
            }
            if (mode == L"sysmenu") {
                RECT r{};
                ::GetWindowRect(form->GetHandle(), &r);
                skinner->OpenSystemMenu(POINT{r.left + 9, r.top + 24});
                return;
            }
            for (const auto& b : skinner->TitleButtons()) {
                if (b->Def.Action != 0 || !b->Visible) continue;
                RECT r{};
                ::GetWindowRect(form->GetHandle(), &r);
                const int x = r.left + (b->Rect.Left + b->Rect.Right) / 2, y = r.top + (b->Rect.Top + b->Rect.Bottom) / 2;
                ::SetCursorPos(x, y);  // the hover timer keeps what is under the pointer
                ::PostMessageW(form->GetHandle(), mode == L"press" ? WM_NCLBUTTONDOWN : WM_NCMOUSEMOVE, HTCAPTION,
                               MAKELPARAM(x, y));
            }
        }
    };
    opener.SetEnabled(!mode.empty());
    Application->Run();
    ::LocalFree(argv);
    return 0;
}
