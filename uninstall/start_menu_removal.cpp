// The Start-menu folder and its links go.
#include "package_names.h"
#include "path_text.h"
#include "registry_text.h"
#include "texts_cp936.h"
#include "texts_uninstall_cp936.h"
#include "uninstall_work.h"

namespace {

void ShowOpenRegistryFailure(Edition edition) {
    MessageBoxA(nullptr, edition == Edition::Chinese ? KV_TEXT_UNINSTALL_OPEN_REGISTRY_FAILED : "Open registry failure",
                "ERROR", MB_ICONERROR);
}

}  // namespace

void DeleteStartMenuShortcuts(Edition edition) {
    static const char* const kEnglishLinks[] = {"Calibrate.lnk", "Readme.lnk", "Uninstall.lnk", "ControlPanel.lnk"};
    static const char* const kChineseLinks[] = {KV_LINK_CALIBRATE_ZH, KV_LINK_README_ZH, KV_LINK_UNINSTALL_ZH,
                                                KV_LINK_CONTROL_PANEL_ZH};
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, KV_SHELL_FOLDERS_KEY, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
        ShowOpenRegistryFailure(edition);
        return;
    }
    RegCloseKey(key);
    std::string commonPrograms;
    ReadRegistryString(HKEY_LOCAL_MACHINE, KV_SHELL_FOLDERS_KEY, KV_COMMON_PROGRAMS_VALUE, commonPrograms);
    // An unknown folder must not become a path at the drive's root.
    const std::string folder = JoinUnder(commonPrograms, KV_START_MENU_FOLDER);
    if (folder.empty()) return;
    const char* const* links = edition == Edition::Chinese ? kChineseLinks : kEnglishLinks;
    for (size_t i = 0; i < 4; ++i) {
        const std::string link = JoinUnder(folder, links[i]);
        if (!link.empty()) DeleteFileA(link.c_str());
    }
    RemoveDirectoryA(folder.c_str());
}
