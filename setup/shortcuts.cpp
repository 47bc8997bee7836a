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
    UINT linkName;               // the edition's text
    const wchar_t* target;       // in the program folder
    const wchar_t* description;  // the same in both editions
    bool appletIcon;             // the applet has no icon of its own
};

const ShortcutEntry kShortcuts[] = {
    {IDS_LINK_CALIBRATE, L"kvcal.exe", L"Calibrate the touch field", false},
    {IDS_LINK_UNINSTALL, L"uninst.exe", L"Uninstall the application", false},
    {IDS_LINK_README, L"readme.htm", L"Readme", false},
    {IDS_LINK_CONTROL_PANEL, L"kvcplusb.cpl", L"kvcplusb", true},
};

const int kAppletIconIndex = 2;

// The link's name is the edition's UTF-16 text, so the whole path is wide.
void SaveShortcut(IShellLinkW* link, const ShortcutEntry& entry, HINSTANCE texts, const std::wstring& startMenu,
                  const std::wstring& programFolder) {
    const std::wstring name = EditionText(texts, entry.linkName);
    const std::wstring linkPath = JoinUnder(startMenu, name);
    const std::wstring target = JoinUnder(programFolder, entry.target);
    if (name.empty() || linkPath.empty() || target.empty()) return;
    link->SetPath(target.c_str());
    link->SetDescription(entry.description);
    const std::wstring icon = JoinUnder(programFolder, L"KvUsb.dll");
    if (entry.appletIcon && !icon.empty()) link->SetIconLocation(icon.c_str(), kAppletIconIndex);
    IPersistFile* file = nullptr;
    if (FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) return;
    file->Save(linkPath.c_str(), TRUE);
    file->Release();
}

void ShowOpenRegistryFailure(HINSTANCE texts) {
    MessageBoxW(nullptr, EditionText(texts, IDS_OPEN_REGISTRY_FAILED).c_str(),
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
    IShellLinkW* link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(&link)))) {
        return;
    }
    for (const ShortcutEntry& entry : kShortcuts) {
        SaveShortcut(link, entry, texts, WidePath(startMenu), WidePath(programFolder));
    }
    link->Release();
}
