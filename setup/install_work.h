// The installer's work after the wizard ended with Finish: what the wizard
// program calls, once, on its only thread.
#pragma once

#include <windows.h>

#include "os_version.h"
#include "shortcuts.h"

// Installs for `os` from the INF next to the running program, then (when
// installed) creates the shortcuts and either restarts with calibration
// (`restartRequested`) or starts the applet; an installation that was
// rolled back is told. Returns the installation's result; OS_UNKNOWN and
// OS_UNSUPPORTED install nothing and return ERROR_OLD_WIN_VERSION.
DWORD RunInstallation(OsClass os, bool restartRequested, Edition edition);

// The message of a system the package refuses (no owner, default caption).
void ShowUnsupportedSystemMessage();

// The message after a rollback, in the edition's words, with `error`.
void ShowRolledBackMessage(DWORD error, Edition edition);
