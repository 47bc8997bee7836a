// Creation of the driver's and the filter's service keys.
#pragma once

#include <windows.h>

// Creates each service key that does not exist yet with ErrorControl
// `errorControl`, Start 3 (on demand) and Type 1 (kernel driver); keys that
// exist keep their values.
void CreateServiceKeysWith(DWORD errorControl);

// The XP family's keys (ErrorControl 1).
void CreateServiceKeys();
