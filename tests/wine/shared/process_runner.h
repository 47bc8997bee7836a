// Starting a Windows program of the build from a Wine test, and finding
// the files that lie beside the test: paths as Wine sees them, the
// program's end, exit code and visible windows.
#pragma once
#include <windows.h>
#include <tlhelp32.h>

#include <algorithm>
#include <string>

#include "gui_wait.h"

namespace kvtest {

// Wine sees the host's files on drive Z:; a path that is not the host's
// (C:\...) stays as it is.
inline std::string WindowsPath(const std::string& unixPath) {
    if (unixPath.empty() || unixPath[0] != '/') return unixPath;
    std::string path = "Z:" + unixPath;
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

// The running program's own file, and the folder it lies in (without a
// trailing backslash): the build puts what a test needs beside it.
inline std::string ThisProgramPath() {
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    return length < MAX_PATH ? std::string(path, length) : std::string();
}
inline std::string ThisProgramFolder() {
    const std::string path = ThisProgramPath();
    return path.substr(0, path.find_last_of('\\'));
}
// `relative` (a name, or a path such as "..\\kvvirt") from this program's folder.
inline std::string BesideThisProgram(const std::string& relative) { return ThisProgramFolder() + "\\" + relative; }

// Whether a running process of the prefix matches `matches`, which is given
// each process's PROCESSENTRY32.
template <typename Matches>
bool AnyProcess(Matches matches) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return true;  // cannot tell: as if one ran
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    bool found = false;
    for (BOOL more = Process32First(snapshot, &entry); more && !found; more = Process32Next(snapshot, &entry)) {
        found = matches(entry);
    }
    CloseHandle(snapshot);
    return found;
}

// The file names of the prefix's running programs, each after a blank: what
// else ran when a test found the system busy.
inline std::string RunningPrograms() {
    std::string names;
    AnyProcess([&](const PROCESSENTRY32& p) {
        names += std::string(" ") + p.szExeFile;
        return false;
    });
    return names;
}

class Process {
public:
    // `path` with `arguments` after it, started in `folder` when one is
    // given (as a shortcut's working folder), else in this program's
    // current folder.
    explicit Process(const std::string& path, const std::string& folder = std::string(),
                     const std::string& arguments = std::string()) {
        STARTUPINFOA si = {};
        si.cb = sizeof si;
        std::string command = "\"" + WindowsPath(path) + "\"" + (arguments.empty() ? "" : " " + arguments);
        started_ = CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr,
                                  folder.empty() ? nullptr : folder.c_str(), &si, &pi_) != 0;
    }
    // A program still running is ended by force, and its end awaited: what
    // it held (a driver's control device, files) must not reach the next test.
    ~Process() {
        if (!started_) return;
        if (!Ended(100)) {
            TerminateProcess(pi_.hProcess, 99);
            Ended(30000);
        }
        CloseHandle(pi_.hProcess);
        CloseHandle(pi_.hThread);
    }
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    bool Started() const { return started_; }
    DWORD Id() const { return pi_.dwProcessId; }
    bool Ended(DWORD ms) { return started_ && WaitForSingleObject(pi_.hProcess, ms) == WAIT_OBJECT_0; }
    DWORD ExitCode() {
        DWORD code = 0;
        GetExitCodeProcess(pi_.hProcess, &code);
        return code;
    }
    // The exit code once it has ended within `ms`, else `otherwise` (it is
    // ended by force when this object goes).
    DWORD ExitCodeWithin(DWORD ms, DWORD otherwise) { return Ended(ms) ? ExitCode() : otherwise; }
    // A visible top-level window of this process, or null; only one titled
    // `title` when that is given, only one with a child `childId` when that
    // is not 0 (0xFFFF: a message box, by its text control).
    HWND Window(const char* title = nullptr, int childId = 0) {
        if (!started_) return nullptr;
        return FirstWindow([&](HWND window) {
            DWORD process = 0;
            GetWindowThreadProcessId(window, &process);
            return process == pi_.dwProcessId && IsWindowVisible(window) && (!title || WindowTitle(window) == title) &&
                   (!childId || GetDlgItem(window, childId));
        });
    }

private:
    bool started_ = false;
    PROCESS_INFORMATION pi_ = {};
};

}  // namespace kvtest
