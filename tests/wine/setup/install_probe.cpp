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
#include "package_paths.h"
#include "registry.h"

namespace {

const kvtest::RegKey kRecords = kvtest::UserKey("Software\\KvSetupTest");

BOOL WINAPI RecordRestart(UINT flags, DWORD) { return kRecords.SetDword("RestartFlags", flags); }

bool StartedAsControlPanel(const char* program) {
    const char* name = std::strrchr(program, '\\');
    return lstrcmpiA(name ? name + 1 : program, "control.exe") == 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (StartedAsControlPanel(argv[0])) {
        return kRecords.SetText("AppletCommand", GetCommandLineA()) ? 0 : 1;
    }
    if (argc == 2 && std::strcmp(argv[1], "version") == 0) return static_cast<int>(CheckOsVersion());
    if (argc == 2 && std::strcmp(argv[1], "install") == 0) {
        SetRestartFunction(RecordRestart);
        return static_cast<int>(RunInstallation(CheckOsVersion(), ProgramModuleFolder(), true, GetModuleHandleA(nullptr)));
    }
    if (argc == 2 && std::strcmp(argv[1], "install-applet") == 0) {
        return static_cast<int>(RunInstallation(CheckOsVersion(), ProgramModuleFolder(), false, GetModuleHandleA(nullptr)));
    }
    return 2;
}
