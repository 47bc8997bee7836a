// Test helper: appends a line to "<its own path>.ran", so a test can tell
// which program a command line started, and how often.
#include <windows.h>

#include "process_runner.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    const std::string path = kvtest::ThisProgramPath();
    if (path.empty()) return 1;
    HANDLE file = CreateFileA((path + ".ran").c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    DWORD written = 0;
    WriteFile(file, "ran\n", 4, &written, nullptr);
    CloseHandle(file);
    return 0;
}
