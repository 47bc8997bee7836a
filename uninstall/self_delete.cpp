// The batch that removes the program folder after the uninstaller exits.
#include "edition_texts.h"
#include "package_names.h"
#include "package_paths.h"
#include "path_text.h"
#include "removal_text.h"
#include "uninstall_work.h"
#include "user_message.h"
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

// `text` (in the system's code page) as the command interpreter reads a
// batch file: in the console's, the OEM code page. "" when a character of
// it has no place there: a path read wrong must never be removed.
std::string ConsoleText(const std::string& text) {
    const int wideLength = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    if (wideLength <= 0) return std::string();
    std::wstring wide(static_cast<size_t>(wideLength), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, &wide[0], wideLength);
    BOOL lossy = FALSE;
    const int length = WideCharToMultiByte(CP_OEMCP, WC_NO_BEST_FIT_CHARS, wide.c_str(), -1, nullptr, 0, nullptr, &lossy);
    if (length <= 0 || lossy) return std::string();
    std::string console(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_OEMCP, WC_NO_BEST_FIT_CHARS, wide.c_str(), -1, &console[0], length, nullptr, nullptr);
    console.resize(static_cast<size_t>(length) - 1);
    return console;
}

// The program folder as the batch names it: its long name, else its short
// one (both in the console's code page); "" when neither can be written.
std::string BatchFolderName(const std::string& folder) {
    const std::string name = ConsoleText(folder);
    if (!name.empty()) return name;
    char shortName[kMaxPathChars] = {};
    const DWORD length = GetShortPathNameA(folder.c_str(), shortName, sizeof shortName);
    return length == 0 || length >= sizeof shortName ? std::string() : ConsoleText(shortName);
}

// The batch file holding `text` in the temp folder (`folder`); its path, or
// "" when not written whole.
std::string WriteBatchFile(const std::string& text, std::string& folder) {
    std::string batch;
    const HANDLE file = CreateBatchFile(folder, batch);
    if (file == INVALID_HANDLE_VALUE) return std::string();
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
    const std::string name = BatchFolderName(folder);
    std::string tempFolder;
    const std::string batch = name.empty() ? std::string() : WriteBatchFile(SelfDeleteBatchText(name), tempFolder);
    // Started in the temp folder: the command interpreter would otherwise
    // inherit this program's current folder, which may be the program folder
    // (a double-click in Explorer, or the Start-menu link).
    if (!batch.empty() && reinterpret_cast<INT_PTR>(ShellExecuteA(nullptr, "open", batch.c_str(), nullptr,
                                                                  tempFolder.c_str(), SW_HIDE)) > 32) {
        return true;
    }
    ShowUserMessage(texts, {IDS_FOLDER_LEFT}, WidePath(folder), ERROR_SUCCESS, MB_ICONWARNING);
    return false;
}
