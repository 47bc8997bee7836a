// Results of the installation steps: Windows error codes, 0 for success,
// plus the package's own codes.
#pragma once

#include <windows.h>

#include "device_search.h"  // NO_MATCHING_DEVICE

// The installation was rolled back: not installed, although the step that
// made it fail (the HID child's absence) is itself no system error.
const DWORD INSTALL_ROLLED_BACK = ERROR_INSTALL_FAILURE;

// Whether the start-up routine goes on with the shortcuts and the last step.
inline bool CountsAsInstalled(DWORD result) { return result == 0 || result == NO_MATCHING_DEVICE; }
