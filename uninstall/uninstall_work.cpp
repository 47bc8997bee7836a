// The uninstaller's sequence after Finish.
#include "uninstall_work.h"

#include "package_names.h"
#include "path_text.h"
#include "service_keys.h"
#include "upper_filter.h"

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

}  // namespace

UninstallOutcome RunUninstall(OsClass os, const std::string& programPath, HINSTANCE texts) {
    UninstallOutcome outcome;
    // Nothing of the package can be on a system it refuses (a 64-bit
    // Windows among them): its filter lists are not ours to touch.
    if (os == OS_UNSUPPORTED) return outcome;
    RemoveMouseUpperFilter();
    if (os != OS_XP_FAMILY && os != OS_WIN2000) return outcome;
    outcome.branchRan = true;
    outcome.result = RunBranch(os, programPath);
    // Without success the device node may still name our filter: its
    // service keys and files stay for when the device comes back.
    if (outcome.result != ERROR_SUCCESS) return outcome;
    DeleteStartMenuShortcuts(texts);
    WriteSelfDeleteBatch(texts);
    DeleteServiceKeys();
    outcome.cleanedUp = true;
    return outcome;
}
