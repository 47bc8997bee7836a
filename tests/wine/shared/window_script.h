// Drives modal windows from their own message loop: a thread timer calls
// a step every 50 ms until it says it is done, so a test never blocks on a
// dialog or message box, and never races it from another thread.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "gui_wait.h"

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

// A dialog or message box of this thread with TITLE (any when null), or
// null. Visible, enabled ones only: a dialog that owns a message box is
// disabled while the box is up.
inline HWND FindThreadDialog(const char* title) {
    return kvtest::FirstWindow([&](HWND window) {
        char cls[64] = "";
        GetClassNameA(window, cls, sizeof cls);
        return GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId() && IsWindowVisible(window) &&
               IsWindowEnabled(window) && lstrcmpA(cls, "#32770") == 0 &&
               (!title || kvtest::WindowTitle(window) == title);
    });
}

// What a message box said, as the closing script saw it.
struct SeenBox {
    std::wstring title, text;
    HWND owner;
};

// Closes every message box of this thread with OK and notes it.
inline bool CloseMessageBoxes(std::vector<SeenBox>* seen) {
    HWND box = FindThreadDialog(nullptr);
    if (!box) return false;
    seen->push_back({kvtest::WideWindowTitle(box), kvtest::WideDialogItemText(box, 0xFFFF), GetWindow(box, GW_OWNER)});
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    return false;  // keep watching: a second box is a finding too
}
