// The copies of the package's INF files in the system's INF store: the ones
// the installer staged for a controller to come, and the ones the system
// made when it installed a device from them.
#pragma once

#include <string>

// Removes every copy of kvusb.inf and kvfilt.inf from the system's INF
// folder, with its precompiled file, and no other INF. A copy is an oem*.inf
// (or an INF under one of those two names) whose original name, as the
// system recorded it, is one of them, or whose bytes equal those of the
// package's own file in `packageFolder` (Windows 2000 tells no original
// names). SetupUninstallOEMInf takes each where the system has it (Vista
// and 7 then drop the driver package from their store too); whatever it
// leaves is deleted directly.
void RemovePackageInfCopies(const std::string& packageFolder);
