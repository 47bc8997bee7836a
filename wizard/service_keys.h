// The service keys of the driver (KVUSB) and of the companion filter (kvfilt).
#pragma once

// Deletes the service key `name` (under the service root) with its Enum,
// Parameters and Security subkeys. A key that is already gone is no error.
void DeleteServiceKey(const char* name);

// Both of the package's service keys.
void DeleteServiceKeys();
