// An INF section applied through SetupAPI.
#include "inf_section.h"

#include "path_text.h"
#include "queue_callback.h"
#include "restart.h"
#include "win_error.h"

namespace {

// Copies only when the package's file is newer than one already in place.
const DWORD kCopyStyle = SP_COPY_NEWER;

UINT CALLBACK CollectTarget(PVOID targets, UINT notification, UINT_PTR target, UINT_PTR) {
    if (notification == SPFILENOTIFY_QUEUESCAN) {
        static_cast<std::vector<std::string>*>(targets)->push_back(reinterpret_cast<const char*>(target));
    }
    return NO_ERROR;
}

}  // namespace

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
    const INT reboot = SetupPromptReboot(queue_, owner_, TRUE);
    if (reboot != -1 && (reboot & (SPFILEQ_FILE_IN_USE | SPFILEQ_REBOOT_RECOMMENDED))) NoteRestartNeeded();
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

std::vector<std::string> SectionTargetFiles(const std::string& infPath, const char* section) {
    std::vector<std::string> targets;
    const HINF inf = SetupOpenInfFileA(infPath.c_str(), nullptr, INF_STYLE_WIN4, nullptr);
    if (inf == INVALID_HANDLE_VALUE) return targets;
    const HSPFILEQ queue = SetupOpenFileQueue();
    if (queue != nullptr && queue != INVALID_HANDLE_VALUE) {
        DWORD result = 0;
        if (SetupInstallFilesFromInfSectionA(inf, nullptr, queue, section, FolderOf(infPath).c_str(), kCopyStyle)) {
            SetupScanFileQueueA(queue, SPQ_SCAN_USE_CALLBACK, nullptr, CollectTarget, &targets, &result);
        }
        SetupCloseFileQueue(queue);
    }
    SetupCloseInfFile(inf);
    return targets;
}
