// Rules of the applet that need no window or registry.
#include "settings_rules.h"

#include <string.h>

#include "../resources/cpl_ids.h"
#include "kvshared.h"

void CorrectDriverValues(AppletSettings* s) {
    if (s->BeepMode > KV_MODE_MAX) s->BeepMode = KV_MODE_MAX;
    if (s->BeepFreq < KV_BEEP_FREQ_MIN || s->BeepFreq > KV_BEEP_FREQ_MAX) s->BeepFreq = KV_BEEP_FREQ_FALLBACK;
    if (s->BeepTime < KV_BEEP_TIME_MIN || s->BeepTime > KV_BEEP_TIME_MAX) s->BeepTime = KV_BEEP_TIME_FALLBACK;
    if (s->MouseMode > KV_MOUSEMODE_APPLET_MAX) s->MouseMode = KV_MOUSEMODE_APPLET_MAX;
}

void UseDriverDefaults(AppletSettings* s) {
    s->BeepMode = BEEPMODE_TOUCH_UP;
    s->BeepFreq = KV_BEEP_FREQ_FALLBACK;
    s->BeepTime = KV_BEEP_TIME_FALLBACK;
    s->MouseMode = KV_MOUSEMODE_APPLET_MAX;
}

void UseDoubleClickDefaults(AppletSettings* s) {
    s->DoubleClickHeight = 40;
    s->DoubleClickSpeed = 900;
}

int32_t ParseDecimalText(const char* text, size_t length) {
    size_t i = 0;
    while (i < length && (text[i] == ' ' || text[i] == '\t')) ++i;
    int64_t value = 0;
    for (; i < length && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > INT32_MAX) return INT32_MAX;
    }
    return static_cast<int32_t>(value);
}

bool DialogPositionFor(uint32_t code, int32_t w, int32_t h, int32_t* x, int32_t* y) {
    // Products before the division, in 64 bits so no width can overflow.
    struct Place { int64_t xTimes, xOver, yTimes, yOver; };
    static const Place kPlaces[] = {
        {1, 8, 1, 4},  // 1: touch screen on the left half
        {5, 8, 1, 4},  // 2: right half
        {1, 4, 1, 8},  // 3: top half
        {1, 4, 5, 8},  // 4: bottom half
        {5, 4, 1, 4},  // 5: the secondary monitor, right of the primary
    };
    if (code < 1 || code > 5) return false;
    const Place& p = kPlaces[code - 1];
    *x = static_cast<int32_t>(p.xTimes * w / p.xOver);
    *y = static_cast<int32_t>(p.yTimes * h / p.yOver);
    return true;
}

int32_t ModeIndexFromButtonMode(uint32_t buttonMode) {
    return static_cast<int32_t>(buttonMode / BUTTONMODE_CLICK_ON_TOUCH_UP - 1u);
}

uint32_t ButtonModeFromIndex(int32_t index) {
    return (static_cast<uint32_t>(index) + 1u) * BUTTONMODE_CLICK_ON_TOUCH_UP;
}

uint32_t LiveDeviceMode(uint32_t buttonMode) { return KV_DEVICE_MODE_BASE + buttonMode; }

const uint32_t kDelayCodes[5] = {12, 31, 61, 122, 301};

uint32_t ClampDelayCode(uint32_t code) {
    if (code < 12) return 12;
    if (code > 301) return 301;
    return code;
}

namespace {
// Placement code = index; its radio button.
const int kPlacementButtons[7] = {IDC_PLACE_SINGLE, IDC_PLACE_LEFT,  IDC_PLACE_RIGHT,  IDC_PLACE_TOP,
                                  IDC_PLACE_BOTTOM, IDC_PLACE_SLAVE, IDC_PLACE_PRIMARY};
}  // namespace

int ButtonForPlacement(uint32_t code) { return code <= 6 ? kPlacementButtons[code] : IDC_PLACE_SINGLE; }

uint32_t PlacementForButton(int buttonId) {
    for (uint32_t code = 0; code <= 6; ++code) {
        if (kPlacementButtons[code] == buttonId) return code;
    }
    return 0;
}

int32_t MonitorCodeForName(const char* deviceName) {
    static const char* const kNames[] = {"\\\\.\\DISPLAY1", "\\\\.\\DISPLAY2", "\\\\.\\DISPLAY3"};
    for (int32_t i = 0; i < 3; ++i) {
        if (strcmp(deviceName, kNames[i]) == 0) return i + 1;
    }
    return 4;
}
