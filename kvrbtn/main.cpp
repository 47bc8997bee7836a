// kvrbtn.exe: a small always-on-top tool window with one button that arms
// a one-shot right click for the next touch.
#include <windows.h>

#include <string>

#include "button_flag.h"
#include "click_swap.h"
#include "edition_texts.h"
#include "kvrbtn_ids.h"

namespace {

const wchar_t kWindowClass[] = L"KvRbtnWindow";
const wchar_t kInstanceMutex[] = L"KvRbtnSingleInstance";
const UINT kSwapUsed = WM_APP + 1;
const int kButtonId = 100;

struct Helper {
    ButtonFlag flag;
    ClickSwap* swap = nullptr;
    HWND button = nullptr;
};
Helper g_helper;

void ShowArmed(bool armed) { SendMessageW(g_helper.button, BM_SETCHECK, armed ? BST_CHECKED : BST_UNCHECKED, 0); }

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            // The button shows the state only once the driver has it.
            if (LOWORD(wParam) == kButtonId && HIWORD(wParam) == BN_CLICKED && g_helper.swap) {
                g_helper.swap->SetArmed(!g_helper.swap->armed());
                ShowArmed(g_helper.swap->armed());
            }
            return 0;
        case kSwapUsed:
            if (g_helper.swap) ShowArmed(g_helper.swap->armed());
            return 0;
        case WM_DESTROY:
            // Leave no armed flag behind for the next left click.
            if (g_helper.swap && g_helper.swap->armed()) g_helper.swap->SetArmed(false);
            PostQuitMessage(0);
            return 0;
        default: return DefWindowProcW(window, message, wParam, lParam);
    }
}

HWND CreateHelperWindow(HINSTANCE instance) {
    const std::wstring title = EditionText(instance, IDS_TITLE), text = EditionText(instance, IDS_BUTTON);
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_KVRBTN));
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kWindowClass;
    if (!RegisterClassW(&windowClass)) return nullptr;
    RECT frame = {0, 0, 120, 40};
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    const DWORD exStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;  // no taskbar button, stays on top
    AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    const int x = GetSystemMetrics(SM_CXSCREEN) - width - 16;
    HWND window = CreateWindowExW(exStyle, kWindowClass, title.c_str(), style, x, 16, width, height, nullptr, nullptr,
                                  instance, nullptr);
    if (!window) return nullptr;
    g_helper.button = CreateWindowExW(0, L"BUTTON", text.c_str(), WS_CHILD | WS_VISIBLE | BS_CHECKBOX | BS_PUSHLIKE,
                                      4, 4, 112, 32, window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kButtonId)),
                                      instance, nullptr);
    SendMessageW(g_helper.button, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    return window;
}

int Run(HINSTANCE instance) {
    if (!g_helper.flag.Open()) {
        MessageBoxW(nullptr, EditionText(instance, IDS_NO_DRIVER).c_str(),
                    EditionText(instance, IDS_NO_DRIVER_CAPTION).c_str(), MB_OK | MB_ICONINFORMATION);
        return 1;
    }
    HWND window = CreateHelperWindow(instance);
    if (!window) return 2;
    ClickSwap swap(g_helper.flag, window, kSwapUsed);
    if (!swap.Install()) {
        DestroyWindow(window);
        return 2;
    }
    g_helper.swap = &swap;
    ShowWindow(window, SW_SHOWNOACTIVATE);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    g_helper.swap = nullptr;
    return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    // One helper at a time: a second start brings the first one forward.
    HANDLE mutex = CreateMutexW(nullptr, FALSE, kInstanceMutex);
    if (mutex && GetLastError() == ERROR_ALREADY_EXISTS) {
        HWND running = FindWindowW(kWindowClass, nullptr);
        if (running) ShowWindow(running, SW_SHOWNOACTIVATE);
        CloseHandle(mutex);
        return 3;
    }
    const int result = Run(instance);
    if (mutex) CloseHandle(mutex);
    return result;
}
