// Closing the package's running programs.
#include "running_programs.h"

#include <windows.h>
#include <tlhelp32.h>

#include <string.h>

#include <vector>

namespace {

const char* const kPrograms[] = {"kvrbtn.exe", "kvcal.exe"};
const DWORD kCloseMilliseconds = 5000;

bool IsPackageProgram(const char* exeName) {
    for (const char* program : kPrograms) {
        if (lstrcmpiA(exeName, program) == 0) return true;
    }
    return false;
}

std::vector<DWORD> RunningProgramIds() {
    std::vector<DWORD> ids;
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return ids;
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
        // Older systems give the full path, newer ones the name alone.
        const char* slash = strrchr(entry.szExeFile, '\\');
        if (IsPackageProgram(slash ? slash + 1 : entry.szExeFile)) ids.push_back(entry.th32ProcessID);
    }
    CloseHandle(snapshot);
    return ids;
}

BOOL CALLBACK AskToClose(HWND window, LPARAM processId) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == static_cast<DWORD>(processId)) PostMessageA(window, WM_CLOSE, 0, 0);
    return TRUE;
}

}  // namespace

void CloseRunningPrograms() {
    std::vector<HANDLE> running;
    for (DWORD id : RunningProgramIds()) {
        const HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, id);
        if (!process) continue;
        EnumWindows(AskToClose, static_cast<LPARAM>(id));
        running.push_back(process);
    }
    const DWORD start = GetTickCount();
    for (HANDLE process : running) {
        const DWORD spent = GetTickCount() - start;
        const DWORD left = spent < kCloseMilliseconds ? kCloseMilliseconds - spent : 0;
        if (WaitForSingleObject(process, left) != WAIT_OBJECT_0) {
            TerminateProcess(process, ERROR_PROCESS_ABORTED);
            WaitForSingleObject(process, kCloseMilliseconds);
        }
        CloseHandle(process);
    }
}
