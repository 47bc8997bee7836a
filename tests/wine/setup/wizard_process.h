// A wizard program (setup.exe, uninst.exe) run under Wine as a user starts
// it, with the Windows version Wine reports to it, and driven from outside
// through its sheet's messages. Ended when the test is over.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "gui_wait.h"
#include "process_runner.h"
#include "registry.h"

class WizardProcess {
public:
    // `version` is a Wine version name ("winxp", "win2k", ...; "" for Wine's
    // own), set under HKCU\Software\Wine\AppDefaults\<file name of program>;
    // `folder` is the current folder it starts in ("": this program's).
    WizardProcess(const std::string& program, const char* version, const std::string& folder = std::string())
        : version_(program, version), process_(program, folder) {}
    WizardProcess(const WizardProcess&) = delete;
    WizardProcess& operator=(const WizardProcess&) = delete;

    bool Started() const { return process_.Started(); }

    // The process's visible top-level window titled `caption` (any title
    // when null), waited for up to 30 s.
    HWND WaitForWindow(const char* caption) {
        HWND window = nullptr;
        kvtest::WaitFor([&] { return (window = process_.Window(caption)) != nullptr; }, kWaitMilliseconds);
        return window;
    }

    // The process's message box (a visible window with the box's text
    // control), waited for up to 30 s; its text and caption are read.
    HWND WaitForMessageBox(std::string& text, std::string& caption) {
        HWND box = nullptr;
        kvtest::WaitFor([&] { return (box = process_.Window(nullptr, kMessageTextId)) != nullptr; },
                        kWaitMilliseconds);
        if (!box) return nullptr;
        text = kvtest::DialogItemText(box, kMessageTextId);
        caption = kvtest::WindowTitle(box);
        return box;
    }

    // Whether every process the program started has ended, within 60 s: a
    // batch it leaves behind has had its chance.
    bool StartedProcessesEnded() {
        const DWORD parent = process_.Id();
        return kvtest::WaitFor(
            [&] { return !kvtest::AnyProcess([&](const PROCESSENTRY32& p) { return p.th32ParentProcessID == parent; }); },
            60000);
    }

    // The exit code once the process has ended, or 0xDEAD if it did not
    // within a minute; with `answer`, its message boxes meanwhile closed
    // with OK, as a reader closes them.
    DWORD WaitForExit(bool answer = false) {
        for (const DWORD start = GetTickCount(); answer && !process_.Ended(200) && GetTickCount() - start < 60000;) {
            if (HWND box = process_.Window(nullptr, kMessageTextId)) PostMessageA(box, WM_COMMAND, IDOK, 0);
        }
        return process_.ExitCodeWithin(60000, 0xDEAD);
    }

private:
    static const DWORD kWaitMilliseconds = 30000;
    static const int kMessageTextId = 0xFFFF;

    // Set before the program starts and removed after it has ended (members
    // go in reverse order).
    kvtest::ReportedWindowsVersion version_;
    kvtest::Process process_;
};

// The index of the page the sheet shows.
inline int CurrentPageIndex(HWND sheet) {
    HWND page = reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
    return static_cast<int>(SendMessageA(sheet, PSM_HWNDTOINDEX, reinterpret_cast<WPARAM>(page), 0));
}

// The sheet's own buttons.
const int kBackButton = 0x3023, kNextButton = 0x3024, kFinishButton = 0x3025;

// Whether the sheet's button `id` is shown and can be pressed.
inline bool Usable(HWND sheet, int id) {
    HWND control = GetDlgItem(sheet, id);
    return control && IsWindowVisible(control) && IsWindowEnabled(control);
}

// Presses `button` (PSBTN_*) once the page's own button flags have landed
// (pages post them when they become active) and offer it, up to 30 s.
inline void PressWhenSettled(HWND sheet, int button) {
    const int id = button == PSBTN_BACK     ? kBackButton
                   : button == PSBTN_NEXT   ? kNextButton
                   : button == PSBTN_FINISH ? kFinishButton
                                            : IDCANCEL;
    kvtest::WaitFor([&] { return Usable(sheet, id); }, 30000);
    PostMessageA(sheet, PSM_PRESSBUTTON, button, 0);
}

// Control `id` of the page the sheet shows.
inline HWND CurrentPageControl(HWND sheet, int id) {
    return GetDlgItem(reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0)), id);
}

// Presses `button` once the page has settled and waits up to 5 s for the
// sheet to show page `expected`.
inline bool PressAndWaitForPage(HWND sheet, int button, int expected) {
    PressWhenSettled(sheet, button);
    return kvtest::WaitFor([&] { return CurrentPageIndex(sheet) == expected; }, 5000);
}
