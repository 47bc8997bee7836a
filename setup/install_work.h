// The installer's work after the wizard ended with Finish: what the wizard
// program calls, once, on its only thread.
#pragma once

#include <windows.h>

#include "os_version.h"
#include "shortcuts.h"

// Installs for `os` from the INF next to the running program, then (when
// installed) creates the shortcuts and either restarts with calibration
// (`restartRequested`) or starts the applet; an installation that was
// rolled back is told. `texts` is the module whose string table holds the
// edition's texts (the program's own). Returns the installation's result;
// OS_UNKNOWN and OS_UNSUPPORTED install nothing and return
// ERROR_OLD_WIN_VERSION.
DWORD RunInstallation(OsClass os, bool restartRequested, HINSTANCE texts);

// The message of a system the package refuses (no owner, default caption).
void ShowUnsupportedSystemMessage(HINSTANCE texts);
