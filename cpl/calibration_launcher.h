// Starts the calibration program from its installed place.
#ifndef KV_CPL_CALIBRATION_LAUNCHER_H
#define KV_CPL_CALIBRATION_LAUNCHER_H

#include <windows.h>

#include <stddef.h>

// Where the Program Files folder is named; tests point it elsewhere.
struct ProgramFilesPlace {
    HKEY root;
    const char* key;  // holds the value ProgramFilesDir
};
extern const ProgramFilesPlace kSystemProgramFiles;

// The command line for the calibration program below PROGRAM_FILES (LENGTH
// bytes, not necessarily NUL-terminated): the path in quotes, so a folder
// name with a blank cannot start another program. False when the path does
// not fit MAX_PATH or the folder is empty.
bool BuildCalibrationCommand(const char* programFiles, size_t length, char* command, size_t size);

// Reads the folder, starts the program without waiting. Tells OWNER when
// the key cannot be opened; a program that does not start is passed over.
void StartCalibration(HWND owner, const ProgramFilesPlace& place);

#endif
