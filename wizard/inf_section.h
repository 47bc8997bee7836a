// One INF section applied through SetupAPI: its files through a committed
// file queue, its INI and registry directives after. Owns the INF, the
// queue and the callback context and releases them on every way out.
#pragma once

#include <windows.h>
#include <setupapi.h>

#include <string>

class InfSectionRun {
public:
    InfSectionRun(HWND owner, const std::string& infPath);
    ~InfSectionRun();
    InfSectionRun(const InfSectionRun&) = delete;
    InfSectionRun& operator=(const InfSectionRun&) = delete;

    // Opens the INF, a file queue and the default callback context. 0, the
    // INF open's error, or ERROR_NOT_ENOUGH_MEMORY for the queue or context.
    DWORD Open();

    // Queues the section's file operations and commits them; 0 or the error.
    DWORD ProcessFiles(const char* section);

    // Runs the section's INI and registry directives; 0 or the error.
    DWORD ProcessDirectives(const char* section);

private:
    HWND owner_;
    std::string infPath_;
    std::string sourceRoot_;
    HINF inf_ = INVALID_HANDLE_VALUE;
    HSPFILEQ queue_ = INVALID_HANDLE_VALUE;
    PVOID context_ = nullptr;
};
