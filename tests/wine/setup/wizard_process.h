// A wizard program (setup.exe, uninst.exe) run under Wine as a user starts
// it, with the Windows version Wine reports to it, and driven from outside
// through its sheet's messages. Ended when the test is over.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstring>
#include <string>

#include "windows_version_setting.h"

class WizardProcess {
public:
    // `version` is a Wine version name ("winxp", "win2k", ...; "" for Wine's
    // own), set under HKCU\Software\Wine\AppDefaults\<file name of program>.
    WizardProcess(const std::string& program, const char* version)
        : appDefaults_("Software\\Wine\\AppDefaults\\" + program.substr(program.find_last_of("\\/") + 1)) {
        SetReportedWindowsVersion(appDefaults_.c_str(), version);
        std::string command = "\"" + program + "\"";
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        started_ = CreateProcessA(program.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                  &startup, &process_) != FALSE;
    }
    ~WizardProcess() {
        if (started_) {
            if (WaitForSingleObject(process_.hProcess, 0) != WAIT_OBJECT_0) TerminateProcess(process_.hProcess, 1);
            CloseHandle(process_.hThread);
            CloseHandle(process_.hProcess);
        }
        RegDeleteKeyA(HKEY_CURRENT_USER, appDefaults_.c_str());
    }
    WizardProcess(const WizardProcess&) = delete;
    WizardProcess& operator=(const WizardProcess&) = delete;

    bool Started() const { return started_; }

    // The process's visible top-level window titled `caption` (any title
    // when null), waited for up to 30 s.
    HWND WaitForWindow(const char* caption) const {
        for (int i = 0; i < 300; ++i) {
            Search search = {process_.dwProcessId, caption, nullptr, false};
            EnumWindows(FindWindowOf, reinterpret_cast<LPARAM>(&search));
            if (search.found) return search.found;
            Sleep(100);
        }
        return nullptr;
    }

    // The process's message box (a visible window with the box's text
    // control), waited for up to 30 s; its text and caption are read.
    HWND WaitForMessageBox(std::string& text, std::string& caption) const {
        for (int i = 0; i < 300; ++i) {
            Search search = {process_.dwProcessId, nullptr, nullptr, true};
            EnumWindows(FindWindowOf, reinterpret_cast<LPARAM>(&search));
            char buffer[512] = {};
            if (search.found && GetDlgItemTextA(search.found, 0xFFFF, buffer, sizeof buffer)) {
                text = buffer;
                GetWindowTextA(search.found, buffer, sizeof buffer);
                caption = buffer;
                return search.found;
            }
            Sleep(100);
        }
        return nullptr;
    }

    // The exit code once the process has ended, or 0xDEAD if it did not
    // within a minute.
    DWORD WaitForExit() const {
        DWORD code = 0xDEAD;
        if (WaitForSingleObject(process_.hProcess, 60000) == WAIT_OBJECT_0) GetExitCodeProcess(process_.hProcess, &code);
        return code;
    }

private:
    struct Search {
        DWORD processId;
        const char* caption;
        HWND found;
        bool messageBox;
    };
    static BOOL CALLBACK FindWindowOf(HWND hwnd, LPARAM lParam) {
        Search* search = reinterpret_cast<Search*>(lParam);
        DWORD owner = 0;
        GetWindowThreadProcessId(hwnd, &owner);
        char text[256] = {};
        GetWindowTextA(hwnd, text, sizeof text);
        if (owner != search->processId || !IsWindowVisible(hwnd) || (search->caption && strcmp(text, search->caption)))
            return TRUE;
        if (search->messageBox && !GetDlgItem(hwnd, 0xFFFF)) return TRUE;
        search->found = hwnd;
        return FALSE;
    }
    std::string appDefaults_;
    bool started_ = false;
    PROCESS_INFORMATION process_ = {};
};

// The index of the page the sheet shows.
inline int CurrentPageIndex(HWND sheet) {
    HWND page = reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
    return static_cast<int>(SendMessageA(sheet, PSM_HWNDTOINDEX, reinterpret_cast<WPARAM>(page), 0));
}

// Presses `button` once the page's own button flags have landed (pages post
// them when they become active).
inline void PressWhenSettled(HWND sheet, int button) {
    Sleep(300);
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
    for (int i = 0; i < 100; ++i) {
        Sleep(50);
        if (CurrentPageIndex(sheet) == expected) return true;
    }
    return false;
}
