// Waiting for windows of the program under test, with a time-out, so no
// test ever blocks on a window that does not come.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace kvtest {

// Polls `found` every 20 ms until it returns true or `timeoutMs` passes.
template <typename Found>
bool WaitFor(Found found, DWORD timeoutMs = 10000) {
    const DWORD start = GetTickCount();
    while (!found()) {
        if (GetTickCount() - start > timeoutMs) return false;
        Sleep(20);
    }
    return true;
}

inline HWND WaitForWindow(const char* className, const char* title, DWORD timeoutMs = 10000) {
    HWND window = nullptr;
    WaitFor([&] { return (window = FindWindowA(className, title)) != nullptr; }, timeoutMs);
    return window;
}

inline std::string DialogItemText(HWND dialog, int id) {
    char text[512] = {};
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

// The window's rectangle as {left, top, right, bottom}, for comparing.
inline std::vector<LONG> WindowEdges(HWND window) {
    RECT rect = {};
    GetWindowRect(window, &rect);
    return {rect.left, rect.top, rect.right, rect.bottom};
}

inline std::string WindowTitle(HWND window) {
    char text[512] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

}  // namespace kvtest
