// The installer's work after the wizard.
#include "install_work.h"

#include <string>

#include "completion.h"
#include "install_by_copy.h"
#include "install_by_inf.h"
#include "install_result.h"
#include "package_names.h"
#include "package_paths.h"
#include "path_text.h"
#include "texts_cp936.h"

namespace {

DWORD InstallFor(OsClass os, const std::string& infPath) {
    if (infPath.empty()) return ERROR_PATH_NOT_FOUND;
    switch (os) {
    case OS_XP_FAMILY: return InstallByInf(nullptr, infPath, KV_INSTALL_SECTION, KV_CONTROLLER_HARDWARE_ID);
    case OS_WIN2000: return InstallByCopy(infPath, KV_CONTROLLER_HARDWARE_ID);
    default: return ERROR_OLD_WIN_VERSION;
    }
}

}  // namespace

DWORD RunInstallation(OsClass os, bool restartRequested, Edition edition) {
    if (os != OS_XP_FAMILY && os != OS_WIN2000) return ERROR_OLD_WIN_VERSION;
    const DWORD result = InstallFor(os, JoinUnder(ProgramModuleFolder(), KV_DRIVER_INF));
    if (!CountsAsInstalled(result)) return result;
    CreateStartMenuShortcuts(edition);
    if (restartRequested) {
        ScheduleCalibrationAndRestart();
    } else {
        StartControlPanelApplet();
    }
    return result;
}

void ShowUnsupportedSystemMessage() { MessageBoxA(nullptr, KV_TEXT_UNSUPPORTED_SYSTEM, nullptr, MB_ICONINFORMATION); }
