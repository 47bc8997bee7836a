// Makes Wine report `version` ("" for Wine's own) to the program whose
// per-program settings key is `appDefaultsKey` (below HKEY_CURRENT_USER).
#pragma once
#include <windows.h>

#include <cstring>

inline void SetReportedWindowsVersion(const char* appDefaultsKey, const char* version) {
    RegDeleteKeyA(HKEY_CURRENT_USER, appDefaultsKey);
    if (!*version) return;
    HKEY key = nullptr;
    RegCreateKeyA(HKEY_CURRENT_USER, appDefaultsKey, &key);
    RegSetValueExA(key, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(version),
                   static_cast<DWORD>(strlen(version) + 1));
    RegCloseKey(key);
}
