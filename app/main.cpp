// Program entry of VXEncoder: one instance per desktop, one main window.
#include <windows.h>

namespace {

const wchar_t kWindowClass[] = L"_VXEncoder_";
const wchar_t kTitle[] = L"Vexlo视频转换器 v1.3";
constexpr int kClientWidth = 484;
constexpr int kClientHeight = 393;

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    // A second start only brings the first instance forward.
    if (HWND running = FindWindowW(kWindowClass, nullptr)) {
        SetForegroundWindow(running);
        return 0;
    }

    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = MainWindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kWindowClass;
    wc.hIcon = LoadIconW(instance, L"MAINICON");
    if (!RegisterClassExW(&wc)) return 1;

    const DWORD style = WS_OVERLAPPEDWINDOW;
    RECT bounds{0, 0, kClientWidth, kClientHeight};
    AdjustWindowRectEx(&bounds, style, FALSE, 0);
    HWND window = CreateWindowExW(0, kWindowClass, kTitle, style, 132, 140, bounds.right - bounds.left,
                                  bounds.bottom - bounds.top, nullptr, nullptr, instance, nullptr);
    if (!window) return 1;
    ShowWindow(window, show);
    UpdateWindow(window);

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}
