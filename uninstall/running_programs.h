// The package's own programs that may still run from the program folder
// (the right-button helper, the calibration program), which would keep the
// folder and their files from being removed.
#pragma once

// Asks each running one to close (WM_CLOSE to its windows) and, when it has
// not ended a few seconds later, ends it.
void CloseRunningPrograms();
