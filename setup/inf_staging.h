// The package's INF files in the system's INF store before any controller
// is plugged in.
#pragma once

#include <windows.h>

#include <string>

// Copies kvusb.inf and kvfilt.inf of `programFolder` into the system's INF
// store, with that folder as the place of their files, so that a controller
// plugged in later gets the package's drivers without the package folder.
// 0, or the first error (the other INF is still tried).
DWORD StageInfFiles(const std::string& programFolder);
