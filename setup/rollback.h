// Undoing a failed installation: only what this run added goes. What of
// the package was there before (an installation being repaired or
// upgraded, with its settings) stays as it was, so a failed run never
// leaves the machine worse than it found it.
#pragma once

#include <string>

#include "multi_string.h"  // StringList

// What of the package the system held before the run.
struct InstallationBefore {
    StringList files;         // the files the run puts in place (full paths)
    StringList filesPresent;  // those of them already there
    bool programFolder = false;
    bool driverServiceKey = false;
    bool filterServiceKey = false;
    bool kvfiltInMouseUpperFilters = false;
    bool kvusbInHidLowerFilters = false;
    StringList nodesWithKvusb;  // controller nodes, present or not, with kvusb in their own list
    bool controllerOnPackage = false;      // a present controller ran with kvusb, whose service was there
    StringList infCopies;       // copies of the package's INF files in the system's INF store
};

// Taken before a run that puts `files` in place from the package in
// `packageFolder`, for the controller `controllerId`.
InstallationBefore RecordInstallation(const StringList& files, const std::string& packageFolder,
                                      const std::string& controllerId);

// Removes the program folder when it is empty.
void RemoveProgramFolder();

// Takes away what the run added since `before`: filter entries first (a
// filter must never outlive its service), then service keys, files, the
// program folder and INF copies. With `restoreDrivers`, the devices the
// package did not drive before get the system's own drivers back.
void RollBack(const InstallationBefore& before, const std::string& packageFolder, const std::string& controllerId,
              bool restoreDrivers);
