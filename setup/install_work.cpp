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

DWORD InstallFor(OsClass os, const std::string& infPath, bool* rolledBack) {
    if (infPath.empty()) return ERROR_PATH_NOT_FOUND;
    switch (os) {
    case OS_XP_FAMILY:
        return InstallByInf(nullptr, infPath, KV_INSTALL_SECTION, KV_CONTROLLER_HARDWARE_ID, rolledBack);
    case OS_WIN2000: return InstallByCopy(infPath, KV_CONTROLLER_HARDWARE_ID);
    default: return ERROR_OLD_WIN_VERSION;
    }
}

}  // namespace

DWORD RunInstallation(OsClass os, bool restartRequested, Edition edition) {
    if (os != OS_XP_FAMILY && os != OS_WIN2000) return ERROR_OLD_WIN_VERSION;
    bool rolledBack = false;
    const DWORD result = InstallFor(os, JoinUnder(ProgramModuleFolder(), KV_DRIVER_INF), &rolledBack);
    if (!CountsAsInstalled(result)) {
        if (rolledBack) ShowRolledBackMessage(result, edition);
        return result;
    }
    CreateStartMenuShortcuts(edition);
    if (restartRequested) {
        ScheduleCalibrationAndRestart();
    } else {
        StartControlPanelApplet();
    }
    return result;
}

void ShowUnsupportedSystemMessage() { MessageBoxA(nullptr, KV_TEXT_UNSUPPORTED_SYSTEM, nullptr, MB_ICONINFORMATION); }

void ShowRolledBackMessage(DWORD error, Edition edition) {
    const bool chinese = edition == Edition::Chinese;
    const char* words = chinese ? KV_TEXT_INSTALL_UNDONE
                                : "The installation could not be completed and has been undone.\nError number: ";
    const std::string text = words + std::to_string(error);
    MessageBoxA(nullptr, text.c_str(), chinese ? KV_TEXT_ERROR_CAPTION : "Error", MB_ICONERROR);
}
