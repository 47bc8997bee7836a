// The batch that removes the program folder after the uninstaller exits.
#include "edition_texts.h"
#include "message_box.h"
#include "package_names.h"
#include "package_paths.h"
#include "path_text.h"
#include "removal_text.h"
#include "uninstall_work.h"
#include "wizard_ids.h"

namespace {

// The program folder; "" when the program files folder is unknown.
bool ReadProgramFolder(HINSTANCE texts, std::string& folder) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, KV_CURRENT_VERSION_KEY, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
        MessageBoxW(nullptr, EditionText(texts, IDS_CANNOT_OPEN_REGISTRY).c_str(), L"Error", MB_OK);
        return false;
    }
    RegCloseKey(key);
    folder = ProgramFolder();
    return !folder.empty();
}

// A new file for the batch in the temp folder (`folder`), with a name of its
// own (no other file overwritten); INVALID_HANDLE_VALUE when none can be made.
HANDLE CreateBatchFile(std::string& folder, std::string& path) {
    char tempFolder[kMaxPathChars] = {};
    char reserved[kMaxPathChars] = {};
    const DWORD length = GetTempPathA(sizeof tempFolder, tempFolder);
    if (length == 0 || length >= sizeof tempFolder || !GetTempFileNameA(tempFolder, "kvu", 0, reserved)) {
        return INVALID_HANDLE_VALUE;
    }
    DeleteFileA(reserved);  // the reserved name takes the .bat extension
    folder = tempFolder;
    path = std::string(reserved) + ".bat";
    return CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// The batch file holding `text` in the temp folder (`folder`); its path, or
// "" when not written whole.
std::string WriteBatchFile(const std::string& text, std::string& folder) {
    std::string batch;
    const HANDLE file = CreateBatchFile(folder, batch);
    if (file == INVALID_HANDLE_VALUE) {
        AppMessageBox(nullptr, L"abc");  // the package's own words for it
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

bool WriteSelfDeleteBatch(HINSTANCE texts) {
    std::string folder;
    if (!ReadProgramFolder(texts, folder)) return false;
    std::string tempFolder;
    const std::string batch = WriteBatchFile(SelfDeleteBatchText(folder), tempFolder);
    if (batch.empty()) return false;
    // Started in the temp folder: the command interpreter would otherwise
    // inherit this program's current folder, which may be the program folder
    // (a double-click in Explorer, or the Start-menu link).
    return reinterpret_cast<INT_PTR>(
               ShellExecuteA(nullptr, "open", batch.c_str(), nullptr, tempFolder.c_str(), SW_HIDE)) > 32;
}
