// The installer's last step: restart with calibration at the next logon, or
// the control panel applet at once.
#pragma once

#include <windows.h>

#include "restart.h"

// Registers the calibration program under RunOnce ("kvusbcal", its quoted
// path) and restarts Windows. Returns 0, or the error that stopped it before
// anything was changed (the program files folder unknown).
DWORD ScheduleCalibrationAndRestart();

// Starts the applet through the control panel; not waited for.
void StartControlPanelApplet();
