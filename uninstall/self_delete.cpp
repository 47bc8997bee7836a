// The batch that removes the program folder after the uninstaller exits.
#include "message_box.h"
#include "package_names.h"
#include "path_text.h"
#include "registry_text.h"
#include "removal_text.h"
#include "texts_uninstall_cp936.h"
#include "uninstall_work.h"

namespace {

// The program folder; "" when the program files folder is unknown.
bool ReadProgramFolder(std::string& folder) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, KV_CURRENT_VERSION_KEY, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
        MessageBoxA(nullptr, KV_TEXT_CANNOT_OPEN_REGISTRY, "Error", MB_OK);
        return false;
    }
    RegCloseKey(key);
    std::string programFiles;
    ReadRegistryString(HKEY_LOCAL_MACHINE, KV_CURRENT_VERSION_KEY, KV_PROGRAM_FILES_VALUE, programFiles);
    folder = JoinUnder(programFiles, KV_PROGRAM_FOLDER);
    return !folder.empty();
}

// A new batch file in the temp folder (a name of its own, no other file
// overwritten) holding `text`; its path, or "" when not written whole.
std::string WriteBatchFile(const std::string& text) {
    char tempFolder[kMaxPathChars] = {};
    char path[kMaxPathChars] = {};
    const DWORD length = GetTempPathA(sizeof tempFolder, tempFolder);
    if (length == 0 || length >= sizeof tempFolder || !GetTempFileNameA(tempFolder, "kvu", 0, path)) {
        return std::string();
    }
    DeleteFileA(path);  // the reserved name takes the .bat extension below
    const std::string batch = std::string(path) + ".bat";
    const HANDLE file = CreateFileA(batch.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        AppMessageBox(nullptr, "abc");  // the package's own words for it
        return std::string();
    }
    DWORD written = 0;
    const BOOL ok = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    const BOOL closed = CloseHandle(file);
    if (ok && closed && written == text.size()) return batch;
    DeleteFileA(batch.c_str());
    return std::string();
}

}  // namespace

bool WriteSelfDeleteBatch() {
    std::string folder;
    if (!ReadProgramFolder(folder)) return false;
    const std::string batch = WriteBatchFile(SelfDeleteBatchText(folder));
    if (batch.empty()) return false;
    return reinterpret_cast<INT_PTR>(ShellExecuteA(nullptr, "open", batch.c_str(), nullptr, nullptr, SW_HIDE)) > 32;
}
