// Start-menu shortcuts through the shell link object.
#include "shortcuts.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <string>

#include "edition_texts.h"
#include "package_names.h"
#include "package_paths.h"
#include "path_text.h"
#include "wizard_ids.h"

namespace {

struct ShortcutEntry {
    UINT linkName;            // the edition's text
    const char* target;       // in the program folder
    const char* description;  // the same in both editions
    bool appletIcon;          // the applet has no icon of its own
};

const ShortcutEntry kShortcuts[] = {
    {IDS_LINK_CALIBRATE, "kvcal.exe", "Calibrate the touch field", false},
    {IDS_LINK_UNINSTALL, "uninst.exe", "Uninstall the application", false},
    {IDS_LINK_README, "readme.htm", "Readme", false},
    {IDS_LINK_CONTROL_PANEL, "kvcplusb.cpl", "kvcplusb", true},
};

const int kAppletIconIndex = 2;

void SaveShortcut(IShellLinkA* link, const ShortcutEntry& entry, HINSTANCE texts, const std::string& startMenu,
                  const std::string& programFolder) {
    const std::string name = EditionText(texts, entry.linkName);
    const std::string linkPath = JoinUnder(startMenu, name);
    const std::string target = JoinUnder(programFolder, entry.target);
    WCHAR widePath[kMaxPathChars] = {};
    if (name.empty() || linkPath.empty() || target.empty() ||
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

void ShowOpenRegistryFailure(HINSTANCE texts) {
    MessageBoxA(nullptr, EditionText(texts, IDS_OPEN_REGISTRY_FAILED).c_str(),
                EditionText(texts, IDS_ERROR_CAPTION).c_str(), MB_ICONERROR);
}

}  // namespace

void CreateStartMenuShortcuts(HINSTANCE texts) {
    const std::string startMenu = StartMenuFolder();
    if (!startMenu.empty()) CreateDirectoryA(startMenu.c_str(), nullptr);

    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, KV_CURRENT_VERSION_KEY, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
        ShowOpenRegistryFailure(texts);
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
    for (const ShortcutEntry& entry : kShortcuts) SaveShortcut(link, entry, texts, startMenu, programFolder);
    link->Release();
}
