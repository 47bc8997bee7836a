// Starting a Windows program of the build from a Wine test: its path as
// Wine sees it, its end, its exit code and its visible window.
#pragma once
#include <windows.h>

#include <algorithm>
#include <string>

namespace kvtest {

// Wine sees the host's files on drive Z:; a path that is not the host's
// (C:\...) stays as it is.
inline std::string WindowsPath(const std::string& unixPath) {
    if (unixPath.empty() || unixPath[0] != '/') return unixPath;
    std::string path = "Z:" + unixPath;
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

class Process {
public:
    // Started in `folder` when one is given (as a shortcut's working folder),
    // else in this program's current folder.
    explicit Process(const std::string& path, const std::string& folder = std::string()) {
        STARTUPINFOA si = {};
        si.cb = sizeof si;
        std::string command = "\"" + WindowsPath(path) + "\"";
        started_ = CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr,
                                  folder.empty() ? nullptr : folder.c_str(), &si, &pi_) != 0;
    }
    ~Process() {
        if (!started_) return;
        if (!Ended(100)) TerminateProcess(pi_.hProcess, 99);
        CloseHandle(pi_.hProcess);
        CloseHandle(pi_.hThread);
    }
    bool Started() const { return started_; }
    bool Ended(DWORD ms) { return WaitForSingleObject(pi_.hProcess, ms) == WAIT_OBJECT_0; }
    DWORD ExitCode() {
        DWORD code = 0;
        GetExitCodeProcess(pi_.hProcess, &code);
        return code;
    }
    // A visible top-level window of this process, or null; only one titled
    // `title` when that is given, only one with a child `childId` when that
    // is not 0 (0xFFFF: a message box, by its text control).
    HWND Window(const char* title = nullptr, int childId = 0) {
        Search search = {pi_.dwProcessId, title, childId, nullptr};
        EnumWindows(FindOwn, reinterpret_cast<LPARAM>(&search));
        return search.found;
    }

private:
    struct Search {
        DWORD process;
        const char* title;
        int childId;
        HWND found;
    };
    static BOOL CALLBACK FindOwn(HWND window, LPARAM lParam) {
        Search* search = reinterpret_cast<Search*>(lParam);
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        if (process != search->process || !IsWindowVisible(window)) return TRUE;
        char text[256] = {};
        GetWindowTextA(window, text, sizeof text);
        if (search->title && std::string(text) != search->title) return TRUE;
        if (search->childId && !GetDlgItem(window, search->childId)) return TRUE;
        search->found = window;
        return FALSE;
    }
    bool started_ = false;
    PROCESS_INFORMATION pi_ = {};
};

}  // namespace kvtest
