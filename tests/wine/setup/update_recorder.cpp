// The recording driver update of the installer tests.
#include "update_recorder.h"

#include <newdev.h>

#include "device_update.h"
#include "path_text.h"

UpdateRecorder* UpdateRecorder::active_ = nullptr;

UpdateRecorder::UpdateRecorder() {
    active_ = this;
    SetDriverUpdateFunction(Update);
}

UpdateRecorder::~UpdateRecorder() {
    SetDriverUpdateFunction(nullptr);
    active_ = nullptr;
}

BOOL WINAPI UpdateRecorder::Update(HWND, LPCSTR hardwareId, LPCSTR infPath, DWORD flags, PBOOL restartNeeded) {
    UpdateRecorder& self = *active_;
    std::string file = std::string(infPath).substr(FolderOf(infPath).size());
    for (char& c : file) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    self.calls_.push_back({hardwareId, file});
    if (flags != INSTALLFLAG_FORCE || !restartNeeded) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const auto action = self.actions_.find(file);
    if (action != self.actions_.end()) action->second();
    const auto failure = self.failures_.find(hardwareId);
    if (failure == self.failures_.end()) {
        *restartNeeded = self.restarts_.count(hardwareId) ? TRUE : FALSE;
        return TRUE;
    }
    SetLastError(failure->second);
    return FALSE;
}
