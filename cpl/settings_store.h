// Loading and saving the applet's settings: the driver's Parameters key and
// the user's double-click values.
#ifndef KV_CPL_SETTINGS_STORE_H
#define KV_CPL_SETTINGS_STORE_H

#include <windows.h>

#include "control_device.h"
#include "settings_rules.h"

// Where the settings live. Tests point these at keys of their own.
struct SettingsPlaces {
    HKEY driverRoot;
    const char* driverKey;
    HKEY userRoot;
    const char* userKey;
};
extern const SettingsPlaces kSystemSettingsPlaces;

// How a failure is told to the user; the applet shows a message box.
class SettingsNotice {
public:
    virtual ~SettingsNotice() = default;
    virtual void Show(const char* text) = 0;
};

// A message box without owner or caption, OK only.
class MessageBoxNotice : public SettingsNotice {
public:
    void Show(const char* text) override;
};

// Reads the seven driver values (corrected for display) and the two
// double-click values. A missing key gives defaults and a notice; a value
// that cannot be read leaves its field as it was.
void LoadSettings(AppletSettings* settings, const SettingsPlaces& places, SettingsNotice* notice);

// Writes the seven driver values into an existing Parameters key (it is
// never created), or when that is refused has the driver on `device` store
// them; then the double-click texts into the user's mouse key.
void SaveSettings(const AppletSettings& settings, const SettingsPlaces& places, SettingsNotice* notice,
                  kv::ControlDevice& device);

#endif
