// The uninstaller's work after its wizard: what each system's branch
// removes, and the whole sequence.
#pragma once

#include <windows.h>

#include <string>

#include "os_version.h"

// Removes the system's copies of the package's INF files, processes the
// INF's uninstall section, drops the package's filters from every node of
// the controller and its child (plugged in or not), gives the present ones
// the system's drivers back and deletes the package's precompiled INFs.
// The INF open's error, ERROR_NOT_ENOUGH_MEMORY, or the HID child's result
// (0 when it is absent: nothing is left to restore).
DWORD UninstallByInf(HWND owner, const std::string& infPath, const char* section, const std::string& usbId);

// Windows 2000: deletes the system's copies of the package's INF files and
// the package's files one by one, drops the package's filters from every
// node and removes the present ones (the HID child first). 0 or the error;
// an absent device is no error.
DWORD RemovePackageWin2000(HWND owner, const std::string& usbId);

// Deletes the edition's four links (named in the string table of `texts`,
// the edition's resources) and the Start-menu folder (when empty). Only a
// failure to open the Shell Folders key is reported (a message box).
void DeleteStartMenuShortcuts(HINSTANCE texts);

// Writes the self-removal batch of the program folder into the temp folder
// and starts it hidden. False when nothing was started (unknown program
// folder, batch not written whole, a folder name the command interpreter
// cannot read), which is told in the words of `texts`.
bool WriteSelfDeleteBatch(HINSTANCE texts);

struct UninstallOutcome {
    bool branchRan = false;  // the system is one the package removes itself from
    DWORD result = 0;        // the branch's result, 0 for success
    bool cleanedUp = false;  // shortcuts, program folder and service keys went
};

// The sequence after Finish for a system of class `os`; `programPath` is the
// running uninstaller's full path (its folder holds kvusb.inf), `texts` the
// module whose string table holds the edition's texts (the program's own).
// A system the package refuses is left as it is. Every outcome but plain
// success is told in one message; a restart Windows asks for is offered.
UninstallOutcome RunUninstall(OsClass os, const std::string& programPath, HINSTANCE texts);
