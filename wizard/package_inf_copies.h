// The copies of the package's INF files in the system's INF store: the ones
// the installer staged for a controller to come, and the ones the system
// made when it installed a device from them.
#pragma once

#include <string>

#include "multi_string.h"  // StringList

// A copy of kvusb.inf or kvfilt.inf is an oem*.inf (or an INF under one of
// those two names) in the system's INF folder whose original name, as the
// system recorded it, is one of them, or whose bytes equal those of the
// package's own file in `packageFolder` (Windows 2000 tells no original
// names). No other INF is ever taken for one.

// Whether `infName` (a name in the INF folder) is such a copy.
bool IsPackageInfCopy(const std::string& infName, const std::string& packageFolder);

// The names of all such copies.
StringList PackageInfCopies(const std::string& packageFolder);

// Removes the copy `infName` with its precompiled file: SetupUninstallOEMInf
// takes it where the system has it (Vista and 7 then drop the driver
// package from their store too); whatever it leaves is deleted directly.
void RemoveInfCopy(const std::string& infName);

// Removes every copy.
void RemovePackageInfCopies(const std::string& packageFolder);
