// Start-menu shortcuts through the shell link object.
#include "shortcuts.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <string>

#include "package_names.h"
#include "package_paths.h"
#include "path_text.h"
#include "texts_cp936.h"

namespace {

struct ShortcutEntry {
    const char* englishLink;
    const char* chineseLink;
    const char* target;       // in the program folder
    const char* description;  // the same in both editions
    bool appletIcon;          // the applet has no icon of its own
};

const ShortcutEntry kShortcuts[] = {
    {"Calibrate.lnk", KV_LINK_CALIBRATE_ZH, "kvcal.exe", "Calibrate the touch field", false},
    {"Uninstall.lnk", KV_LINK_UNINSTALL_ZH, "uninst.exe", "Uninstall the application", false},
    {"Readme.lnk", KV_LINK_README_ZH, "readme.htm", "Readme", false},
    {"ControlPanel.lnk", KV_LINK_CONTROL_PANEL_ZH, "kvcplusb.cpl", "kvcplusb", true},
};

const int kAppletIconIndex = 2;

void SaveShortcut(IShellLinkA* link, const ShortcutEntry& entry, Edition edition, const std::string& startMenu,
                  const std::string& programFolder) {
    const std::string linkPath =
        JoinUnder(startMenu, edition == Edition::Chinese ? entry.chineseLink : entry.englishLink);
    const std::string target = JoinUnder(programFolder, entry.target);
    WCHAR widePath[kMaxPathChars] = {};
    if (linkPath.empty() || target.empty() ||
        MultiByteToWideChar(CP_ACP, 0, linkPath.c_str(), -1, widePath, kMaxPathChars) == 0) {
        return;
    }
    link->SetPath(target.c_str());
    link->SetDescription(entry.description);
    const std::string icon = JoinUnder(programFolder, "KvUsb.dll");
    if (entry.appletIcon && !icon.empty()) link->SetIconLocation(icon.c_str(), kAppletIconIndex);
    IPersistFile* file = nullptr;
    if (FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) return;
    file->Save(widePath, TRUE);
    file->Release();
}

void ShowOpenRegistryFailure(Edition edition) {
    if (edition == Edition::Chinese) {
        MessageBoxA(nullptr, KV_TEXT_OPEN_REGISTRY_FAILED, KV_TEXT_ERROR_CAPTION, MB_ICONERROR);
    } else {
        MessageBoxA(nullptr, "Open registry failure", "Error", MB_ICONERROR);
    }
}

}  // namespace

void CreateStartMenuShortcuts(Edition edition) {
    const std::string startMenu = StartMenuFolder();
    if (!startMenu.empty()) CreateDirectoryA(startMenu.c_str(), nullptr);

    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, KV_CURRENT_VERSION_KEY, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
        ShowOpenRegistryFailure(edition);
        return;
    }
    RegCloseKey(key);
    const std::string programFolder = JoinUnder(ProgramFolder(), "\\");
    if (startMenu.empty() || programFolder.empty()) return;

    // COM stays initialised until the program ends, as the shell expects.
    CoInitialize(nullptr);
    IShellLinkA* link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&link)))) {
        return;
    }
    for (const ShortcutEntry& entry : kShortcuts) SaveShortcut(link, entry, edition, startMenu, programFolder);
    link->Release();
}
