// Restart with calibration at the next logon, or the applet at once.
#include "completion.h"

#include <string>

#include "package_names.h"
#include "package_paths.h"
#include "path_text.h"

namespace {

RestartFunction g_restart = ExitWindowsEx;

const char kRunOnceValue[] = "kvusbcal";
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

RestartFunction SetRestartFunction(RestartFunction function) {
    const RestartFunction previous = g_restart;
    g_restart = function ? function : ExitWindowsEx;
    return previous;
}

DWORD ScheduleCalibrationAndRestart() {
    const std::string program = JoinUnder(ProgramFolder(), "\\kvcal.exe");
    if (program.empty()) return ERROR_PATH_NOT_FOUND;
    // Quoted, so that "C:\Program Files\..." cannot run "C:\Program.exe".
    const std::string command = QuotedCommand(program);
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, KV_RUN_ONCE_KEY, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                        nullptr, &key, nullptr) == ERROR_SUCCESS) {
        RegSetValueExA(key, kRunOnceValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                       static_cast<DWORD>(command.size() + 1));
        RegCloseKey(key);
    }
    EnableShutdownPrivilege();
    g_restart(EWX_REBOOT, kUnplannedShutdownReason);
    return ERROR_SUCCESS;
}

void StartControlPanelApplet() { WinExec("control.exe kvcplusb.cpl", SW_SHOWDEFAULT); }
