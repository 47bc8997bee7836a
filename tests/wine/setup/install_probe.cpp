// Stand-in for setup.exe's work after Finish, for the tests: "version" exits
// with CheckOsVersion's result; "install" runs the installation from this
// program's own folder with the restart requested, the restart itself only
// recorded (HKCU\Software\KvSetupTest, RestartFlags), and exits with the
// installation's result; "install-applet" the same without the restart.
// Copied as control.exe beside the installer (where WinExec looks first) it
// records its command line (AppletCommand) instead of opening the applet.
#include <windows.h>

#include <cstring>

#include "completion.h"
#include "install_work.h"
#include "os_version.h"

namespace {

bool Record(const char* name, DWORD type, const void* data, DWORD size) {
    HKEY key = nullptr;
    if (RegCreateKeyA(HKEY_CURRENT_USER, "Software\\KvSetupTest", &key) != ERROR_SUCCESS) return false;
    RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
    return true;
}

BOOL WINAPI RecordRestart(UINT flags, DWORD) {
    const DWORD value = flags;
    return Record("RestartFlags", REG_DWORD, &value, sizeof value);
}

bool StartedAsControlPanel(const char* program) {
    const char* name = std::strrchr(program, '\\');
    return lstrcmpiA(name ? name + 1 : program, "control.exe") == 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (StartedAsControlPanel(argv[0])) {
        const char* command = GetCommandLineA();
        return Record("AppletCommand", REG_SZ, command, static_cast<DWORD>(std::strlen(command) + 1)) ? 0 : 1;
    }
    if (argc == 2 && std::strcmp(argv[1], "version") == 0) return static_cast<int>(CheckOsVersion());
    if (argc == 2 && std::strcmp(argv[1], "install") == 0) {
        SetRestartFunction(RecordRestart);
        return static_cast<int>(RunInstallation(CheckOsVersion(), true, GetModuleHandleA(nullptr)));
    }
    if (argc == 2 && std::strcmp(argv[1], "install-applet") == 0) {
        return static_cast<int>(RunInstallation(CheckOsVersion(), false, GetModuleHandleA(nullptr)));
    }
    return 2;
}
