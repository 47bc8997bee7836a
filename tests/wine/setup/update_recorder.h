// A driver update in place of the system's: records each call and answers
// with the result set for the hardware id (success unless told otherwise).
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

struct UpdateCall {
    std::string hardwareId;
    std::string infFile;  // the INF's file name, lower case
};

class UpdateRecorder {
public:
    UpdateRecorder();   // installs itself as the driver update
    ~UpdateRecorder();  // puts the system's back
    void FailFor(const std::string& hardwareId, DWORD error) { failures_[hardwareId] = error; }
    // Runs before the answer to an update from `infFile`, as that INF would act.
    void OnUpdateFrom(const std::string& infFile, std::function<void()> action) { actions_[infFile] = action; }
    // The update of `hardwareId` succeeds but tells the caller to restart Windows.
    void RestartFor(const std::string& hardwareId) { restarts_.insert(hardwareId); }
    const std::vector<UpdateCall>& Calls() const { return calls_; }

private:
    static BOOL WINAPI Update(HWND, LPCSTR hardwareId, LPCSTR infPath, DWORD flags, PBOOL restartNeeded);
    static UpdateRecorder* active_;
    std::map<std::string, DWORD> failures_;
    std::map<std::string, std::function<void()>> actions_;
    std::set<std::string> restarts_;
    std::vector<UpdateCall> calls_;
};
