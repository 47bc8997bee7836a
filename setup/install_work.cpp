// The installer's work after the wizard.
#include "install_work.h"

#include <string>

#include "completion.h"
#include "edition_texts.h"
#include "install_by_copy.h"
#include "install_by_inf.h"
#include "install_result.h"
#include "package_names.h"
#include "path_text.h"
#include "restart.h"
#include "user_message.h"
#include "wizard_ids.h"

namespace {

DWORD InstallFor(OsClass os, const std::string& infPath) {
    // Too long a path for the system's file functions.
    if (infPath.empty()) return ERROR_PATH_NOT_FOUND;
    switch (os) {
    case OS_XP_FAMILY: return InstallByInf(nullptr, infPath, KV_INSTALL_SECTION, KV_CONTROLLER_HARDWARE_ID);
    case OS_WIN2000: return InstallByCopy(infPath, KV_CONTROLLER_HARDWARE_ID);
    default: return ERROR_OLD_WIN_VERSION;
    }
}

// What the user can do about a failure, by its cause.
UINT HintFor(DWORD error) {
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND: return IDS_HINT_UNPACK;  // setup started without its files, as from inside the zip
    case ERROR_ACCESS_DENIED:
    case ERROR_PRIVILEGE_NOT_HELD: return IDS_HINT_ADMINISTRATOR;
    default: return IDS_HINT_RETRY;
    }
}

// The last step: a restart the user asked for or accepts, else the applet.
// A missing controller is told first, in the same message as the question.
void Complete(DWORD result, bool restartRequested, HINSTANCE texts) {
    const bool absent = result == NO_MATCHING_DEVICE;
    bool restart = restartRequested;
    if (!restart && RestartNeeded()) {
        restart = AskToRestart(texts, absent ? std::vector<UINT>{IDS_PLUG_IN_CONTROLLER} : std::vector<UINT>());
    } else if (absent) {
        ShowUserMessage(texts, {IDS_PLUG_IN_CONTROLLER}, std::wstring(), ERROR_SUCCESS, MB_ICONINFORMATION);
    }
    if (restart) {
        ScheduleCalibrationAndRestart();
    } else {
        StartControlPanelApplet();
    }
}

}  // namespace

DWORD RunInstallation(OsClass os, const std::string& packageFolder, bool restartRequested, HINSTANCE texts) {
    ForgetRestartNeeded();
    if (os != OS_XP_FAMILY && os != OS_WIN2000) {
        // A Windows the package does not know: nothing installed, and said so.
        ShowUnsupportedSystemMessage(texts);
        return ERROR_OLD_WIN_VERSION;
    }
    const DWORD result = InstallFor(os, JoinUnder(packageFolder, KV_DRIVER_INF));
    if (!CountsAsInstalled(result)) {
        ShowUserMessage(texts, {IDS_INSTALL_UNDONE, HintFor(result)}, std::wstring(), result, MB_ICONERROR);
        return result;
    }
    CreateStartMenuShortcuts(texts);
    Complete(result, restartRequested, texts);
    return result;
}

void ShowUnsupportedSystemMessage(HINSTANCE texts) {
    MessageBoxW(nullptr, EditionText(texts, IDS_UNSUPPORTED_SYSTEM).c_str(), nullptr, MB_ICONINFORMATION);
}
