// Drives modal windows from their own message loop: a thread timer calls
// a step every 50 ms until it says it is done, so a test never blocks on a
// dialog or message box, and never races it from another thread.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

class WindowScript {
public:
    explicit WindowScript(std::function<bool()> step) : step_(std::move(step)), previous_(current_) {
        current_ = this;
        timer_ = SetTimer(nullptr, 0, 50, Tick);
    }
    ~WindowScript() {
        KillTimer(nullptr, timer_);
        current_ = previous_;  // scripts nest: a step may open a message box
    }
    WindowScript(const WindowScript&) = delete;
    WindowScript& operator=(const WindowScript&) = delete;

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        WindowScript* self = current_;
        if (!self || self->done_ || self->busy_) return;
        self->busy_ = true;  // a step may run a nested message loop
        self->done_ = self->step_();
        self->busy_ = false;
    }
    static inline WindowScript* current_ = nullptr;
    std::function<bool()> step_;
    WindowScript* previous_;
    UINT_PTR timer_ = 0;
    bool done_ = false;
    bool busy_ = false;
};

// Visible, enabled dialogs only: a dialog that owns a message box is
// disabled while the box is up.
struct DialogSearch {
    const char* title;  // null: any
    HWND found;
};

inline BOOL CALLBACK MatchDialog(HWND hwnd, LPARAM data) {
    DialogSearch* search = reinterpret_cast<DialogSearch*>(data);
    char text[256] = "", cls[64] = "";
    GetWindowTextA(hwnd, text, sizeof text);
    GetClassNameA(hwnd, cls, sizeof cls);
    if (IsWindowVisible(hwnd) && IsWindowEnabled(hwnd) && lstrcmpA(cls, "#32770") == 0 && (!search->title || lstrcmpA(text, search->title) == 0)) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

// A message box or dialog of this thread with TITLE, or null.
inline HWND FindThreadDialog(const char* title) {
    DialogSearch search = {title, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), MatchDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// What a message box said, as the closing script saw it.
struct SeenBox {
    std::string title, text;
    HWND owner;
};

// Closes every message box of this thread with OK and notes it.
inline bool CloseMessageBoxes(std::vector<SeenBox>* seen) {
    HWND box = FindThreadDialog(nullptr);
    if (!box) return false;
    char title[256] = "", text[512] = "";
    GetWindowTextA(box, title, sizeof title);
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
    seen->push_back({title, text, GetWindow(box, GW_OWNER)});
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    return false;  // keep watching: a second box is a finding too
}
