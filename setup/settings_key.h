// The driver's settings key (Parameters), which the calibration program and
// the applet write as the user who runs them.
#pragma once

#include <windows.h>

// Creates the key where it is missing and gives it its access rules:
// administrators and SYSTEM keep full control, users read; rules an earlier
// version left are replaced. Values in place stay. 0 or the error.
DWORD PrepareSettingsKey();
