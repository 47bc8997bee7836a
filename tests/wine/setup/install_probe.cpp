// Stand-in for setup.exe's work after Finish, for the tests: "version" exits
// with CheckOsVersion's result; "install" runs the installation from this
// program's own folder with the restart requested, the restart itself only
// recorded (HKCU\Software\KvSetupTest, RestartFlags), and exits with the
// installation's result.
#include <windows.h>

#include <cstring>

#include "completion.h"
#include "install_work.h"
#include "os_version.h"

namespace {

BOOL WINAPI RecordRestart(UINT flags, DWORD) {
    HKEY key = nullptr;
    if (RegCreateKeyA(HKEY_CURRENT_USER, "Software\\KvSetupTest", &key) != ERROR_SUCCESS) return FALSE;
    const DWORD value = flags;
    RegSetValueExA(key, "RestartFlags", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    RegCloseKey(key);
    return TRUE;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "version") == 0) return static_cast<int>(CheckOsVersion());
    if (argc == 2 && std::strcmp(argv[1], "install") == 0) {
        SetRestartFunction(RecordRestart);
        return static_cast<int>(RunInstallation(CheckOsVersion(), true, Edition::English));
    }
    return 2;
}
