// Bounded registry reads and filter-list editing.
#include "registry_text.h"

#include <vector>

#include "path_text.h"

bool ReadRegistryString(HKEY root, const char* keyPath, const char* valueName, std::string& out) {
    out.clear();
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, keyPath, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
    char buffer[kMaxPathChars + 1] = {};  // one spare zero: the data need not end in one
    DWORD size = kMaxPathChars;
    DWORD type = REG_NONE;
    const LONG status = RegQueryValueExA(key, valueName, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return false;
    out.assign(buffer);
    if (out.size() < kMaxPathChars) return true;
    out.clear();
    return false;
}

LONG ReadMultiStringValue(HKEY key, const char* valueName, StringList& entries, bool& present) {
    entries.clear();
    present = false;
    std::vector<char> data;
    DWORD size = 0;
    DWORD type = REG_NONE;
    LONG status = RegQueryValueExA(key, valueName, nullptr, &type, nullptr, &size);
    // The value may grow between the two reads: ask again with the new size.
    while (status == ERROR_SUCCESS || status == ERROR_MORE_DATA) {
        data.assign(size + 2, '\0');
        status = RegQueryValueExA(key, valueName, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size);
        if (status == ERROR_SUCCESS) break;
    }
    if (status == ERROR_FILE_NOT_FOUND) return ERROR_SUCCESS;
    if (status != ERROR_SUCCESS) return status;
    present = true;
    if (type != REG_MULTI_SZ) return ERROR_INVALID_DATA;
    entries = SplitMultiString(data.data(), size);
    return ERROR_SUCCESS;
}

LONG WriteMultiStringValue(HKEY key, const char* valueName, const StringList& entries) {
    const std::vector<char> image = JoinMultiString(entries);
    return RegSetValueExA(key, valueName, 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(image.data()),
                          static_cast<DWORD>(image.size()));
}

LONG RemoveFilterEntry(HKEY root, const char* keyPath, const char* valueName, const char* entry,
                       WhenListEmpty whenEmpty) {
    HKEY key = nullptr;
    LONG status = RegOpenKeyExA(root, keyPath, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, &key);
    if (status == ERROR_FILE_NOT_FOUND) return ERROR_SUCCESS;
    if (status != ERROR_SUCCESS) return status;
    StringList entries;
    bool present = false;
    status = ReadMultiStringValue(key, valueName, entries, present);
    if (status == ERROR_SUCCESS && RemoveEntry(entries, entry) > 0) {
        if (entries.empty() && whenEmpty == WhenListEmpty::DeleteValue) {
            status = RegDeleteValueA(key, valueName);
        } else {
            status = WriteMultiStringValue(key, valueName, entries);
        }
    }
    RegCloseKey(key);
    return status;
}

bool FilterListContains(HKEY root, const char* keyPath, const char* valueName, const char* entry) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, keyPath, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
    StringList entries;
    bool present = false;
    const LONG status = ReadMultiStringValue(key, valueName, entries, present);
    RegCloseKey(key);
    return status == ERROR_SUCCESS && ContainsEntry(entries, entry);
}
