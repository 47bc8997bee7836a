// The uninstaller's sequence after Finish.
#include "uninstall_work.h"

#include "package_names.h"
#include "path_text.h"
#include "restart.h"
#include "running_programs.h"
#include "service_keys.h"
#include "upper_filter.h"
#include "user_message.h"
#include "wizard_ids.h"

namespace {

DWORD RunBranch(OsClass os, const std::string& programPath) {
    if (os == OS_XP_FAMILY) {
        // Never an INF of the same name from the current folder.
        const std::string programFolder = FolderOf(programPath);
        if (programFolder.empty()) return ERROR_FILE_NOT_FOUND;
        return UninstallByInf(nullptr, programFolder + KV_DRIVER_INF, KV_UNINSTALL_SECTION, KV_CONTROLLER_HARDWARE_ID);
    }
    return RemovePackageWin2000(nullptr, KV_CONTROLLER_HARDWARE_ID);
}

// The calibration that setup registered for the first logon after its
// restart: its program is gone.
void DeleteRunOnceEntry() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, KV_RUN_ONCE_KEY, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
    RegDeleteValueA(key, KV_RUN_ONCE_VALUE);
    RegCloseKey(key);
}

}  // namespace

UninstallOutcome RunUninstall(OsClass os, const std::string& programPath, HINSTANCE texts) {
    UninstallOutcome outcome;
    ForgetRestartNeeded();
    // Nothing of the package can be on a system it refuses (a 64-bit
    // Windows among them): its filter lists are not ours to touch.
    if (os != OS_UNSUPPORTED) RemoveMouseUpperFilter();
    if (os != OS_XP_FAMILY && os != OS_WIN2000) {
        ShowUserMessage(texts, {IDS_NOT_REMOVED}, std::wstring(), ERROR_SUCCESS, MB_ICONINFORMATION);
        return outcome;
    }
    outcome.branchRan = true;
    // A program of the package still running keeps its file and the folder.
    CloseRunningPrograms();
    outcome.result = RunBranch(os, programPath);
    // Without success a device may still run on the package: its service
    // keys and files stay for it, and the user is told.
    if (outcome.result != ERROR_SUCCESS) {
        ShowUserMessage(texts, {IDS_REMOVAL_INCOMPLETE}, std::wstring(), outcome.result, MB_ICONERROR);
        return outcome;
    }
    DeleteStartMenuShortcuts(texts);
    DeleteRunOnceEntry();
    WriteSelfDeleteBatch(texts);
    DeleteServiceKeys();
    outcome.cleanedUp = true;
    if (RestartNeeded() && AskToRestart(texts)) RestartWindows();
    return outcome;
}
