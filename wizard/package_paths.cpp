// Folders of the system and of the package.
#include "package_paths.h"

#include "package_names.h"
#include "path_text.h"
#include "registry_text.h"

std::string ProgramModulePath() {
    char path[kMaxPathChars] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    if (length == 0 || length >= sizeof path) return std::string();
    return path;
}

std::string ProgramModuleFolder() {
    const std::string path = ProgramModulePath();
    return path.empty() ? path : FolderOf(path);
}

std::string ProgramFolder() {
    std::string programFiles;
    ReadRegistryString(HKEY_LOCAL_MACHINE, KV_CURRENT_VERSION_KEY, KV_PROGRAM_FILES_VALUE, programFiles);
    return JoinUnder(programFiles, KV_PROGRAM_FOLDER);
}

std::string UnderSystemRoot(const char* tail) {
    std::string systemRoot;
    ReadRegistryString(HKEY_LOCAL_MACHINE, KV_NT_CURRENT_VERSION_KEY, KV_SYSTEM_ROOT_VALUE, systemRoot);
    return JoinUnder(systemRoot, tail);
}

std::wstring WidePath(const std::string& path) {
    if (path.empty()) return std::wstring();
    const int bytes = static_cast<int>(path.size());  // never more characters than bytes
    std::wstring wide(path.size(), L'\0');
    const int length = MultiByteToWideChar(CP_ACP, 0, path.data(), bytes, &wide[0], bytes);
    wide.resize(length > 0 ? static_cast<size_t>(length) : 0);
    return wide;
}

std::string StartMenuFolder() {
    std::string commonPrograms;
    ReadRegistryString(HKEY_LOCAL_MACHINE, KV_SHELL_FOLDERS_KEY, KV_COMMON_PROGRAMS_VALUE, commonPrograms);
    return JoinUnder(commonPrograms, KV_START_MENU_FOLDER);
}
