// The installer's work after the wizard ended with Finish: what the wizard
// program calls, once, on its only thread.
#pragma once

#include <windows.h>

#include <string>

#include "os_version.h"
#include "shortcuts.h"

// Installs for `os` from the package in `packageFolder` (with its trailing
// backslash; setup.exe passes its own folder), then (when installed)
// creates the shortcuts and either restarts with calibration
// (`restartRequested`, or the user's answer when Windows asks for a
// restart) or starts the applet. Every outcome but plain success is told
// in one message: a failure (rolled back) with what to do and its error
// number, a missing controller with the advice to plug it in and run setup
// again. `texts` is the module whose string table holds the edition's
// texts (the program's own). Returns the installation's result; OS_UNKNOWN
// and OS_UNSUPPORTED install nothing, are told the refusal and return
// ERROR_OLD_WIN_VERSION.
DWORD RunInstallation(OsClass os, const std::string& packageFolder, bool restartRequested, HINSTANCE texts);

// The message of a system the package refuses (no owner, default caption).
void ShowUnsupportedSystemMessage(HINSTANCE texts);
