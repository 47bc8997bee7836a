// kvcal.exe's program on a scripted double of the driver, for timing the
// start-up and taking screenshots where no driver runs. Never shipped.
//   KV_SCREEN_POS  DBScreenPos the double reports (default 0)
//   KV_TOUCHES     raw points "X,Y X,Y ..." the double hands out, one per
//                  armed capture
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "calibration_app.h"
#include "scripted_control_device.h"

namespace {

uint32_t ScreenPosFromEnvironment() {
    const char* text = std::getenv("KV_SCREEN_POS");
    return text ? static_cast<uint32_t>(std::strtoul(text, nullptr, 10)) : 0;
}

void FeedTouches(kvtest::ScriptedControlDevice* device) {
    const char* text = std::getenv("KV_TOUCHES");
    int x = 0, y = 0, used = 0;
    while (text && std::sscanf(text, " %d,%d%n", &x, &y, &used) == 2) {
        device->AddTouch(x, y);
        text += used;
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    kvtest::ScriptedControlDevice device(ScreenPosFromEnvironment());
    FeedTouches(&device);
    return kvcal::RunCalibrationProgram(instance, device);
}
