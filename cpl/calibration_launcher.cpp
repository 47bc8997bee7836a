// Starting the calibration program.
#include "calibration_launcher.h"

#include <string.h>

#include "message_box.h"

const ProgramFilesPlace kSystemProgramFiles = {HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion"};

namespace {
const char kProgram[] = "\\KVUSB\\kvcal.exe";
}

bool BuildCalibrationCommand(const char* programFiles, size_t length, char* command, size_t size) {
    size_t folder = 0;
    while (folder < length && programFiles[folder] != '\0') ++folder;
    const size_t path = folder + sizeof kProgram - 1;
    if (folder == 0 || path + 1 > MAX_PATH || path + 3 > size) return false;
    command[0] = '"';
    memcpy(command + 1, programFiles, folder);
    memcpy(command + 1 + folder, kProgram, sizeof kProgram - 1);
    command[1 + path] = '"';
    command[2 + path] = '\0';
    return true;
}

void StartCalibration(HWND owner, const ProgramFilesPlace& place) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(place.root, place.key, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
        AppMessageBox(owner, L"Open Registry failed.", MB_OK);
        return;
    }
    char folder[MAX_PATH];
    DWORD size = sizeof folder;
    LONG status = RegQueryValueExA(key, "ProgramFilesDir", nullptr, nullptr, reinterpret_cast<BYTE*>(folder), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS) return;  // missing, or longer than a path may be
    char command[MAX_PATH + 2];
    if (!BuildCalibrationCommand(folder, size, command, sizeof command)) return;
    WinExec(command, SW_SHOWDEFAULT);
}
