// The installer's last step: restart with calibration at the next logon, or
// the control panel applet at once.
#pragma once

#include <windows.h>

// The system's restart, as ExitWindowsEx. The second seam of the
// installation: tests keep the machine (and Wine's RunOnce) as it is.
using RestartFunction = BOOL(WINAPI*)(UINT flags, DWORD reason);

// Installs `function` (nullptr: the system's) and returns the one before.
RestartFunction SetRestartFunction(RestartFunction function);

// Registers the calibration program under RunOnce ("kvusbcal", its quoted
// path) and restarts Windows. Returns 0, or the error that stopped it before
// anything was changed (the program files folder unknown).
DWORD ScheduleCalibrationAndRestart();

// Starts the applet through the control panel; not waited for.
void StartControlPanelApplet();
