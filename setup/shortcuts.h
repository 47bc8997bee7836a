// The Start-menu folder of all users with the package's four shortcuts.
#pragma once

#include <windows.h>

// Creates "Kestiva USB" under the common programs folder with the links to
// the calibration program, the uninstaller, the readme and the applet,
// named as the string table of `texts` (the edition's resources) says.
// Existing links are overwritten. Only a failure to open the key of the
// program files folder is reported (a message box); without a known program
// or Start-menu folder no link is made.
void CreateStartMenuShortcuts(HINSTANCE texts);
