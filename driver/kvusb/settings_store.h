// Keeps values a program hands the driver in the Parameters key, for a
// user who may change them through the control device but may not write
// the key himself (IOCTL_POINTER_STORE_SETTINGS).
#pragma once
#include "filter_extension.h"

// Opens the Parameters key below the driver's service key (never creating
// it) and writes each present value as a 4-byte REG_DWORD under its fixed
// name, in record order. The status of the open when the key is missing or
// refused, else of the first write that fails. Passive level.
NTSTATUS StoreDriverSettings(const StoredSettings& record);
