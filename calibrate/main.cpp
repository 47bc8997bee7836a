// kvcal.exe: the calibration program, on the driver's control device.
#include <windows.h>

#include "calibration_app.h"
#include "win32_control_device.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    kv::Win32ControlDevice device;
    return kvcal::RunCalibrationProgram(instance, device);
}
