// An INF section applied through SetupAPI.
#include "inf_section.h"

#include "path_text.h"
#include "queue_callback.h"
#include "win_error.h"

namespace {
// Copies only when the package's file is newer than one already in place.
const DWORD kCopyStyle = SP_COPY_NEWER;
}

InfSectionRun::InfSectionRun(HWND owner, const std::string& infPath)
    : owner_(owner), infPath_(infPath), sourceRoot_(FolderOf(infPath)) {}

InfSectionRun::~InfSectionRun() {
    if (context_) SetupTermDefaultQueueCallback(context_);
    if (queue_ != INVALID_HANDLE_VALUE) SetupCloseFileQueue(queue_);
    if (inf_ != INVALID_HANDLE_VALUE) SetupCloseInfFile(inf_);
}

DWORD InfSectionRun::Open() {
    inf_ = SetupOpenInfFileA(infPath_.c_str(), nullptr, INF_STYLE_WIN4, nullptr);
    if (inf_ == INVALID_HANDLE_VALUE) return FailureCode();
    HSPFILEQ queue = SetupOpenFileQueue();
    if (queue == nullptr || queue == INVALID_HANDLE_VALUE) return ERROR_NOT_ENOUGH_MEMORY;
    queue_ = queue;
    context_ = SetupInitDefaultQueueCallback(nullptr);
    return context_ ? ERROR_SUCCESS : ERROR_NOT_ENOUGH_MEMORY;
}

DWORD InfSectionRun::ProcessFiles(const char* section) {
    if (!SetupInstallFilesFromInfSectionA(inf_, nullptr, queue_, section, sourceRoot_.c_str(), kCopyStyle)) {
        return FailureCode();
    }
    if (!SetupCommitFileQueueA(owner_, queue_, QueueCallback, context_)) return FailureCode();
    return ERROR_SUCCESS;
}

DWORD InfSectionRun::ProcessDirectives(const char* section) {
    if (!SetupInstallFromInfSectionA(owner_, inf_, section, SPINST_INIFILES | SPINST_REGISTRY, nullptr,
                                     sourceRoot_.c_str(), kCopyStyle, QueueCallback, context_, nullptr,
                                     nullptr)) {
        return FailureCode();
    }
    return ERROR_SUCCESS;
}
