// Reads the Parameters key into the driver-wide settings.
#pragma once
#include "filter_extension.h"

// Queries the key below the driver's registry path and, unless pool ran
// out, stores the result in g_Driver.State. The caller must not hold the
// state lock; runs at passive level.
NTSTATUS ReadDriverSettings();
