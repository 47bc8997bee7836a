// Removal of the system's copies of the package's INF files.
#include "package_inf_copies.h"

#include <windows.h>
#include <setupapi.h>

#include <vector>

#include "package_names.h"
#include "package_paths.h"
#include "path_text.h"

namespace {

// Both are missing on Windows 2000: looked up when the program runs.
typedef BOOL(WINAPI* QueryOriginalNameFunction)(PSP_INF_INFORMATION, UINT, PSP_ALTPLATFORM_INFO,
                                                 PSP_ORIGINAL_FILE_INFO_A);
typedef BOOL(WINAPI* UninstallOemInfFunction)(PCSTR, DWORD, PVOID);

template <typename Function>
Function SetupApiFunction(const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("setupapi.dll"), name)));
}

const char* const kPackageInfs[] = {KV_DRIVER_INF, KV_FILTER_INF};
const DWORD kMaxInfBytes = 1 << 20;

// The whole file, or "" when it cannot be read or is larger than an INF.
std::string FileBytes(const std::string& path) {
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::string();
    const DWORD size = GetFileSize(file, nullptr);
    std::string bytes(size != INVALID_FILE_SIZE && size <= kMaxInfBytes ? size : 0, '\0');
    DWORD read = 0;
    if (!bytes.empty() && (!ReadFile(file, &bytes[0], size, &read, nullptr) || read != size)) bytes.clear();
    CloseHandle(file);
    return bytes;
}

// The name the INF had before the system copied it; "" when not told.
std::string OriginalInfName(const std::string& path) {
    const QueryOriginalNameFunction query =
        SetupApiFunction<QueryOriginalNameFunction>("SetupQueryInfOriginalFileInformationA");
    DWORD size = 0;
    if (!query) return std::string();
    SetupGetInfInformationA(path.c_str(), INFINFO_INF_NAME_IS_ABSOLUTE, nullptr, 0, &size);
    std::vector<BYTE> information(size);
    SP_ORIGINAL_FILE_INFO_A original = {};
    original.cbSize = sizeof original;
    if (size == 0 ||
        !SetupGetInfInformationA(path.c_str(), INFINFO_INF_NAME_IS_ABSOLUTE,
                                 reinterpret_cast<PSP_INF_INFORMATION>(information.data()), size, nullptr) ||
        !query(reinterpret_cast<PSP_INF_INFORMATION>(information.data()), 0, nullptr, &original)) {
        return std::string();
    }
    return original.OriginalInfName;
}

bool IsPackageInfName(const std::string& name) {
    for (const char* inf : kPackageInfs) {
        if (lstrcmpiA(name.c_str(), inf) == 0) return true;
    }
    return false;
}

bool IsCopyOf(const std::string& path, const std::vector<std::string>& packageBytes) {
    if (IsPackageInfName(OriginalInfName(path))) return true;
    const std::string bytes = FileBytes(path);
    for (const std::string& package : packageBytes) {
        if (!bytes.empty() && bytes == package) return true;
    }
    return false;
}

std::vector<std::string> PackageBytes(const std::string& packageFolder) {
    std::vector<std::string> packageBytes;
    for (const char* inf : kPackageInfs) {
        const std::string path = JoinUnder(packageFolder, inf);
        if (!path.empty()) packageBytes.push_back(FileBytes(path));
    }
    return packageBytes;
}

// The INF folder's files that may be copies: oem*.inf and the package's own names.
std::vector<std::string> CandidateNames(const std::string& infFolder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    const HANDLE search = FindFirstFileA((infFolder + "*.inf").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        const std::string name = found.cFileName;
        if (lstrcmpiA(name.substr(0, 3).c_str(), "oem") == 0 || IsPackageInfName(name)) {
            names.push_back(name);
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

}  // namespace

bool IsPackageInfCopy(const std::string& infName, const std::string& packageFolder) {
    const std::string infFolder = UnderSystemRoot("\\inf\\");
    return !infFolder.empty() && infName.find_first_of("\\/:") == std::string::npos &&
           IsCopyOf(infFolder + infName, PackageBytes(packageFolder));
}

StringList PackageInfCopies(const std::string& packageFolder) {
    StringList copies;
    const std::string infFolder = UnderSystemRoot("\\inf\\");
    if (infFolder.empty()) return copies;
    const std::vector<std::string> packageBytes = PackageBytes(packageFolder);
    for (const std::string& name : CandidateNames(infFolder)) {
        if (IsCopyOf(infFolder + name, packageBytes)) copies.push_back(name);
    }
    return copies;
}

void RemoveInfCopy(const std::string& infName) {
    const std::string infFolder = UnderSystemRoot("\\inf\\");
    if (infFolder.empty()) return;
    const UninstallOemInfFunction uninstall = SetupApiFunction<UninstallOemInfFunction>("SetupUninstallOEMInfA");
    if (uninstall) uninstall(infName.c_str(), SUOI_FORCEDELETE, nullptr);
    DeleteFileA((infFolder + infName).c_str());
    DeleteFileA((infFolder + PrecompiledInfName(infName)).c_str());
}

void RemovePackageInfCopies(const std::string& packageFolder) {
    for (const std::string& name : PackageInfCopies(packageFolder)) RemoveInfCopy(name);
}
