// Undoing a failed installation on the XP family. Each step removes only
// what the package added and tolerates what is already gone.
#pragma once

#include <string>

// What the mouse class filter list held before the installation, so that the
// rollback removes kvfilt only when this installation put it there.
struct FilterListSnapshot {
    bool kvfiltWasInMouseUpperFilters = false;
};
FilterListSnapshot TakeFilterListSnapshot();

// Runs the INF's uninstall section (from `driverInfPath`), ignoring failures.
void UninstallInfSection(const std::string& driverInfPath);

// Removes the program folder when it is empty.
void RemoveProgramFolder();

// The controller (`controllerId`) was updated but its HID child was absent
// or failed: both devices get the system's drivers back.
void RollBackAfterFilterFailure(const std::string& driverInfPath, const std::string& controllerId,
                                const FilterListSnapshot& before);

// The controller's own update failed.
void RollBackAfterControllerFailure(const std::string& driverInfPath, const std::string& controllerId,
                                    const FilterListSnapshot& before);
