// One INF section applied through SetupAPI: its files through a committed
// file queue, its INI and registry directives after. Owns the INF, the
// queue and the callback context and releases them on every way out.
#pragma once

#include <windows.h>
#include <setupapi.h>

#include <string>
#include <vector>

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
    // A file in use, replaced only at the next restart, is noted (restart.h).
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

// The full paths of the files `section` of the INF at `infPath` copies (or
// deletes); empty when the INF or section cannot be read.
std::vector<std::string> SectionTargetFiles(const std::string& infPath, const char* section);
