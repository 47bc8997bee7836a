// Restart requests and the restart.
#include "restart.h"

namespace {

RestartFunction g_restart = ExitWindowsEx;
bool g_restartNeeded = false;

const DWORD kUnplannedShutdownReason = 0xFFFFFFFF;

void EnableShutdownPrivilege() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) return;
    TOKEN_PRIVILEGES privileges = {};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    if (LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &privileges.Privileges[0].Luid)) {
        AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr);
    }
    CloseHandle(token);
}

}  // namespace

void NoteRestartNeeded() { g_restartNeeded = true; }

bool RestartNeeded() { return g_restartNeeded; }

void ForgetRestartNeeded() { g_restartNeeded = false; }

RestartFunction SetRestartFunction(RestartFunction function) {
    const RestartFunction previous = g_restart;
    g_restart = function ? function : ExitWindowsEx;
    return previous;
}

void RestartWindows() {
    EnableShutdownPrivilege();
    g_restart(EWX_REBOOT, kUnplannedShutdownReason);
}
