// OEM INF deletion through pnputil or directly.
#include "oem_inf.h"

#include <windows.h>

#include "package_inf_copies.h"
#include "package_paths.h"
#include "path_text.h"

namespace {

std::string SystemToolPath(const char* tool) {
    char folder[kMaxPathChars] = {};
    const UINT length = GetSystemDirectoryA(folder, sizeof folder);
    if (length == 0 || length >= sizeof folder) return std::string();
    return JoinUnder(folder, std::string("\\") + tool);
}

// Starts pnputil hidden when the system has it; false when it does not.
bool StartPnputilDelete(const std::string& infName) {
    const std::string pnputil = SystemToolPath("pnputil.exe");
    if (pnputil.empty() || GetFileAttributesA(pnputil.c_str()) == INVALID_FILE_ATTRIBUTES) return false;
    const std::string command = QuotedCommand(pnputil) + " -f -d " + infName;
    return WinExec(command.c_str(), SW_HIDE) > 31;
}

}  // namespace

void DeleteOemInf(const std::string& infName, const std::string& packageFolder) {
    // A device may run on another maker's INF by now.
    if (!IsOemInfName(infName) || !IsPackageInfCopy(infName, packageFolder)) return;
    if (StartPnputilDelete(infName)) return;
    const std::string infFolder = UnderSystemRoot("\\inf\\");
    if (infFolder.empty()) return;
    const std::string inf = JoinUnder(infFolder, infName);
    const std::string pnf = JoinUnder(infFolder, PrecompiledInfName(infName));
    if (!inf.empty()) DeleteFileA(inf.c_str());
    if (!pnf.empty()) DeleteFileA(pnf.c_str());
}
