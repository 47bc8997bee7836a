// The service keys of the driver (KVUSB) and of the companion filter (kvfilt).
#pragma once

// Deletes both service keys with their Enum, Parameters and Security
// subkeys. Keys that are already gone are no error.
void DeleteServiceKeys();
