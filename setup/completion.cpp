// Restart with calibration at the next logon, or the applet at once.
#include "completion.h"

#include <string>

#include "package_names.h"
#include "package_paths.h"
#include "path_text.h"
#include "restart.h"

DWORD ScheduleCalibrationAndRestart() {
    const std::string program = JoinUnder(ProgramFolder(), "\\kvcal.exe");
    if (program.empty()) return ERROR_PATH_NOT_FOUND;
    // Quoted, so that "C:\Program Files\..." cannot run "C:\Program.exe".
    const std::string command = QuotedCommand(program);
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, KV_RUN_ONCE_KEY, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                        nullptr, &key, nullptr) == ERROR_SUCCESS) {
        RegSetValueExA(key, KV_RUN_ONCE_VALUE, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                       static_cast<DWORD>(command.size()) + 1);
        RegCloseKey(key);
    }
    RestartWindows();
    return ERROR_SUCCESS;
}

void StartControlPanelApplet() { WinExec("control.exe kvcplusb.cpl", SW_SHOWDEFAULT); }
