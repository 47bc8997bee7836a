// Self-removal batch text.
#include "removal_text.h"

namespace {

const int kRemovalAttempts = 10;

}  // namespace

std::string SelfDeleteBatchText(const std::string& programFolder) {
    if (programFolder.empty()) return std::string();
    const std::string quoted = "\"" + programFolder + "\"";
    // The batch first leaves for its own folder: a folder that is some
    // process's current folder cannot be removed. ping is the one wait every
    // NT command interpreter has; it gives the uninstaller time to exit so
    // its own file can go with the folder.
    return "@echo off\r\n"
           "cd /d \"%~dp0\"\r\n"
           "set kvtries=0\r\n"
           ":retry\r\n"
           "ping -n 2 127.0.0.1 >nul\r\n"
           "RD /s /q " + quoted + "\r\n"
           "if not exist " + quoted + " goto done\r\n"
           "set /a kvtries=kvtries+1\r\n"
           "if %kvtries% lss " + std::to_string(kRemovalAttempts) + " goto retry\r\n"
           ":done\r\n"
           "del \"%~f0\"\r\n";
}
