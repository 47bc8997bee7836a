// Who may open the control device.
#pragma once
#include "kernel_headers.h"

// Gives the control device its own DACL: SYSTEM and administrators full
// access, interactive users read and write (the calibration program and
// the applet run as them), nobody else. Passive level.
NTSTATUS RestrictControlDevice(PDEVICE_OBJECT control);
