// The INF files put into the system's INF store from the program folder.
#include "inf_staging.h"

#include <setupapi.h>

#include "package_names.h"
#include "path_text.h"
#include "win_error.h"

namespace {

DWORD StageInf(const std::string& programFolder, const char* name) {
    const std::string inf = JoinUnder(programFolder, std::string("\\") + name);
    if (inf.empty()) return ERROR_PATH_NOT_FOUND;
    // The system names the copy (oemN.inf); the folder goes into its
    // precompiled file as the source of the files the INF copies.
    if (!SetupCopyOEMInfA(inf.c_str(), programFolder.c_str(), SPOST_PATH, 0, nullptr, 0, nullptr, nullptr)) {
        return FailureCode();
    }
    return ERROR_SUCCESS;
}

}  // namespace

DWORD StageInfFiles(const std::string& programFolder) {
    const DWORD driver = StageInf(programFolder, KV_DRIVER_INF);
    const DWORD filter = StageInf(programFolder, KV_FILTER_INF);
    return driver != ERROR_SUCCESS ? driver : filter;
}
