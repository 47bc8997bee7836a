// Registry and file snapshots of what the package touches.
#include "system_snapshot.h"

#include <windows.h>

#include <vector>

#include "package_fixture.h"
#include "package_names.h"

namespace {

std::string Hex(const BYTE* data, DWORD size) {
    static const char kDigits[] = "0123456789abcdef";
    std::string text;
    for (DWORD i = 0; i < size; ++i) {
        text.push_back(kDigits[data[i] >> 4]);
        text.push_back(kDigits[data[i] & 15]);
    }
    return text;
}

void AddValues(HKEY key, const std::string& name, SystemSnapshot& snapshot) {
    for (DWORD index = 0;; ++index) {
        char valueName[16384];
        DWORD nameSize = sizeof valueName, type = 0, size = 0;
        if (RegEnumValueA(key, index, valueName, &nameSize, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return;
        std::vector<BYTE> data(size + 1);
        nameSize = sizeof valueName;
        RegEnumValueA(key, index, valueName, &nameSize, nullptr, &type, data.data(), &size);
        snapshot[name + "\\[" + valueName + "]"] = std::to_string(type) + ":" + Hex(data.data(), size);
    }
}

void AddKey(HKEY root, const std::string& path, SystemSnapshot& snapshot) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return;
    const std::string name = "HKLM\\" + path;
    snapshot[name] = "key";
    AddValues(key, name, snapshot);
    for (DWORD index = 0;; ++index) {
        char sub[256];
        DWORD size = sizeof sub;
        if (RegEnumKeyExA(key, index, sub, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        AddKey(root, path + "\\" + sub, snapshot);
    }
    RegCloseKey(key);
}

// Files matching `pattern` in `folder` (with trailing backslash), and below
// it when `recurse`.
void AddFiles(const std::string& folder, const char* pattern, bool recurse, SystemSnapshot& snapshot) {
    WIN32_FIND_DATAA found;
    const HANDLE search = FindFirstFileA((folder + (recurse ? "*" : pattern)).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        const std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        const std::string path = folder + name;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            snapshot["FILE " + path + "\\"] = "folder";
            if (recurse) AddFiles(path + "\\", pattern, true, snapshot);
        } else {
            snapshot["FILE " + path] = std::to_string(found.nFileSizeLow);
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

}  // namespace

SystemSnapshot TakeSystemSnapshot() {
    SystemSnapshot snapshot;
    for (const char* key : {KV_DRIVER_SERVICE_KEY, KV_FILTER_SERVICE_KEY, KV_MOUSE_CLASS_KEY, KV_HID_CLASS_KEY,
                            "System\\CurrentControlSet\\Enum", KV_RUN_ONCE_KEY}) {
        AddKey(HKEY_LOCAL_MACHINE, key, snapshot);
    }
    const std::string programFolder = ProgramFilesFolder() + KV_PROGRAM_FOLDER;
    if (FileExists(programFolder)) snapshot["FILE " + programFolder + "\\"] = "folder";
    AddFiles(programFolder + "\\", "*", true, snapshot);
    const std::string startMenu = CommonProgramsFolder() + KV_START_MENU_FOLDER;
    if (FileExists(startMenu)) snapshot["FILE " + startMenu] = "folder";
    AddFiles(startMenu, "*", true, snapshot);
    const std::string infFolder = WindowsFolder() + "\\inf\\";
    for (const char* pattern : {"kv*", "oem*"}) AddFiles(infFolder, pattern, false, snapshot);
    AddFiles(SystemFolder() + "\\", "kv*", false, snapshot);
    AddFiles(SystemFolder() + "\\drivers\\", "kv*", false, snapshot);
    return snapshot;
}

std::set<std::string> ChangedEntries(const SystemSnapshot& before, const SystemSnapshot& after) {
    std::set<std::string> changed;
    for (const auto& entry : before) {
        const auto now = after.find(entry.first);
        if (now == after.end() || now->second != entry.second) changed.insert(entry.first);
    }
    for (const auto& entry : after) {
        if (!before.count(entry.first)) changed.insert(entry.first);
    }
    return changed;
}
