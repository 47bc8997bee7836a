// The installer's work after the wizard.
#include "install_work.h"

#include <string>

#include "completion.h"
#include "edition_texts.h"
#include "install_by_copy.h"
#include "install_by_inf.h"
#include "install_result.h"
#include "package_names.h"
#include "package_paths.h"
#include "path_text.h"
#include "wizard_ids.h"

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

// The message after a rollback, in the edition's words, with `error`.
void ShowRolledBackMessage(DWORD error, HINSTANCE texts) {
    const std::wstring text = EditionText(texts, IDS_INSTALL_UNDONE) + std::to_wstring(error);
    MessageBoxW(nullptr, text.c_str(), EditionText(texts, IDS_ERROR_CAPTION).c_str(), MB_ICONERROR);
}

}  // namespace

DWORD RunInstallation(OsClass os, bool restartRequested, HINSTANCE texts) {
    if (os != OS_XP_FAMILY && os != OS_WIN2000) return ERROR_OLD_WIN_VERSION;
    bool rolledBack = false;
    const DWORD result = InstallFor(os, JoinUnder(ProgramModuleFolder(), KV_DRIVER_INF), &rolledBack);
    if (!CountsAsInstalled(result)) {
        if (rolledBack) ShowRolledBackMessage(result, texts);
        return result;
    }
    CreateStartMenuShortcuts(texts);
    if (restartRequested) {
        ScheduleCalibrationAndRestart();
    } else {
        StartControlPanelApplet();
    }
    return result;
}

void ShowUnsupportedSystemMessage(HINSTANCE texts) {
    MessageBoxW(nullptr, EditionText(texts, IDS_UNSUPPORTED_SYSTEM).c_str(), nullptr, MB_ICONINFORMATION);
}
