// The applet's settings and the rules that need no window or registry:
// corrections of stored values, text conversion, dialog placement, and the
// mapping between settings and page controls. Built for the host tests too.
#ifndef KV_CPL_SETTINGS_RULES_H
#define KV_CPL_SETTINGS_RULES_H

#include <stddef.h>
#include <stdint.h>

// What the dialog edits. Starts at 0 and keeps its values from one opening
// of the applet to the next; loading overwrites only what it reads.
struct AppletSettings {
    uint32_t BeepMode = 0;
    uint32_t BeepFreq = 0;
    uint32_t BeepTime = 0;
    uint32_t ButtonMode = 0;
    uint32_t MouseMode = 0;
    int32_t DoubleClickHeight = 0;
    int32_t DoubleClickSpeed = 0;
    uint32_t DBScreenPos = 0;
    uint32_t RBNDelay = 0;
};

// Driver values out of range as the applet shows them: beep mode at most 2,
// tone and duration within the driver's bounds else their fallbacks, mouse
// mode at most the applet's own limit (kvshared.h).
void CorrectDriverValues(AppletSettings* settings);

// The beep and mouse-mode values used when the Parameters key is missing.
void UseDriverDefaults(AppletSettings* settings);

// The double-click values used when the per-user mouse key is missing.
void UseDoubleClickDefaults(AppletSettings* settings);

// A stored decimal text of at most LENGTH bytes (it need not end in a NUL):
// leading blanks skipped, digits up to the first other character, 0 without
// digits; numbers too large for 32 bits give INT32_MAX.
int32_t ParseDecimalText(const char* text, size_t length);

// Where the container dialog goes for placement CODE on a desktop window of
// W x H: true with the top-left corner, false when it stays where it is.
bool DialogPositionFor(uint32_t code, int32_t w, int32_t h, int32_t* x, int32_t* y);

// Mouse mode combo index from ButtonMode (16, 32, 48 give 0, 1, 2; 0 gives
// -1, no selection) and back; the value the controller is sent for a mode.
int32_t ModeIndexFromButtonMode(uint32_t buttonMode);
uint32_t ButtonModeFromIndex(int32_t index);
uint32_t LiveDeviceMode(uint32_t buttonMode);

// Right-button delay entries: their codes in list order, and a selected
// item's code kept within the driver's range.
extern const uint32_t kDelayCodes[5];
uint32_t ClampDelayCode(uint32_t code);

// Placement buttons: the button of a code (codes above 6 check "single"),
// and the code of the first checked button in ascending id order.
int ButtonForPlacement(uint32_t code);
uint32_t PlacementForButton(int buttonId);

// Monitor device names: 1 for \\.\DISPLAY1, 2 and 3 likewise, 4 otherwise.
int32_t MonitorCodeForName(const char* deviceName);

#endif
