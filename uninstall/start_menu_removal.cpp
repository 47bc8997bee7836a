// The Start-menu folder and its links go.
#include "edition_texts.h"
#include "package_names.h"
#include "package_paths.h"
#include "path_text.h"
#include "uninstall_work.h"
#include "wizard_ids.h"

void DeleteStartMenuShortcuts(HINSTANCE texts) {
    static const UINT kLinks[] = {IDS_LINK_CALIBRATE, IDS_LINK_README, IDS_LINK_UNINSTALL, IDS_LINK_CONTROL_PANEL};
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, KV_SHELL_FOLDERS_KEY, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
        // The caption is the same in both editions.
        MessageBoxW(nullptr, EditionText(texts, IDS_OPEN_REGISTRY_FAILED).c_str(), L"ERROR", MB_ICONERROR);
        return;
    }
    RegCloseKey(key);
    // An unknown folder must not become a path at the drive's root. The
    // links' names are the edition's UTF-16 texts.
    const std::wstring folder = WidePath(StartMenuFolder());
    if (folder.empty()) return;
    for (UINT name : kLinks) {
        const std::wstring text = EditionText(texts, name);
        const std::wstring link = JoinUnder(folder, text);
        if (!text.empty() && !link.empty()) DeleteFileW(link.c_str());
    }
    RemoveDirectoryW(folder.c_str());
}
