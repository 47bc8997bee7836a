// Waiting for what the program under test does (a window, a state, a
// file), with a time-out, so no test ever blocks on something that does
// not come.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace kvtest {

// Runs the window messages of this thread for `ms` milliseconds.
inline void PumpMessages(DWORD ms) {
    const DWORD end = GetTickCount() + ms;
    MSG message;
    do {
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
        Sleep(10);
    } while (static_cast<LONG>(end - GetTickCount()) > 0);
}

// What the waiting thread does between two looks: sleep, or keep its own
// windows answering (a test that owns windows the program talks to).
enum class Between { Sleep, PumpMessages };

// Polls `found` every 20 ms until it returns true or `timeoutMs` passes;
// whether it was found.
template <typename Found>
bool WaitFor(Found found, DWORD timeoutMs = 10000, Between between = Between::Sleep) {
    const DWORD start = GetTickCount();
    while (!found()) {
        if (GetTickCount() - start > timeoutMs) return false;
        if (between == Between::PumpMessages) {
            PumpMessages(20);
        } else {
            Sleep(20);
        }
    }
    return true;
}

// The first window that `matches`: a top-level one, or with a `parent`
// one of its children.
template <typename Matches>
HWND FirstWindow(Matches matches, HWND parent = nullptr) {
    struct Search {
        Matches* matches;
        HWND found;
        static BOOL CALLBACK Visit(HWND window, LPARAM data) {
            Search* search = reinterpret_cast<Search*>(data);
            if (!(*search->matches)(window)) return TRUE;
            search->found = window;
            return FALSE;
        }
    } search = {&matches, nullptr};
    if (parent) {
        EnumChildWindows(parent, Search::Visit, reinterpret_cast<LPARAM>(&search));
    } else {
        EnumWindows(Search::Visit, reinterpret_cast<LPARAM>(&search));
    }
    return search.found;
}

inline HWND WaitForWindow(const wchar_t* className, const wchar_t* title, DWORD timeoutMs = 10000) {
    HWND window = nullptr;
    WaitFor([&] { return (window = FindWindowW(className, title)) != nullptr; }, timeoutMs);
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

// The same as the programs set them, in UTF-16: what the user sees,
// whatever the system's code page.
inline std::wstring WideDialogItemText(HWND dialog, int id) {
    wchar_t text[512] = {};
    GetDlgItemTextW(dialog, id, text, 512);
    return text;
}

inline std::wstring WideWindowTitle(HWND window) {
    wchar_t text[512] = {};
    GetWindowTextW(window, text, 512);
    return text;
}

}  // namespace kvtest
