// The restart Windows asks for after a driver update or a file that was in
// use, and the restart itself.
#pragma once

#include <windows.h>

// Windows has asked for a restart to finish what this program's run did.
// A run starts by forgetting what an earlier one in the same process noted.
void NoteRestartNeeded();
bool RestartNeeded();
void ForgetRestartNeeded();

// The system's restart, as ExitWindowsEx. A seam of both programs: tests
// keep the machine (and Wine's RunOnce) as it is.
using RestartFunction = BOOL(WINAPI*)(UINT flags, DWORD reason);

// Installs `function` (nullptr: the system's) and returns the one before.
RestartFunction SetRestartFunction(RestartFunction function);

// Restarts Windows, with the shutdown privilege enabled for it.
void RestartWindows();
