// Settings load and save against the registry.
#include "settings_store.h"

#include <string>

#include "kvshared.h"
#include "parameters_store.h"

const SettingsPlaces kSystemSettingsPlaces = {HKEY_LOCAL_MACHINE, KV_PARAMETERS_KEY, HKEY_CURRENT_USER,
                                              "Control Panel\\Mouse"};

// The notices are fixed ASCII, the same in both editions: the same bytes in
// every code page.
void MessageBoxNotice::Show(const char* text) { MessageBoxA(nullptr, text, nullptr, MB_OK); }

namespace {

const char kReadFail[] = "registry read fail";
const char kWriteFail[] = "registry write fail";
const char kUserKeyFail[] = "registry HKEY_CURRENT_USER open fail";

// The driver values in the order they are read and written.
struct DriverValue {
    KvStoredValueId id;
    uint32_t AppletSettings::*field;
};
const DriverValue kDriverValues[] = {
    {KV_STORED_BeepMode, &AppletSettings::BeepMode},     {KV_STORED_BeepFreq, &AppletSettings::BeepFreq},
    {KV_STORED_BeepTime, &AppletSettings::BeepTime},     {KV_STORED_MouseMode, &AppletSettings::MouseMode},
    {KV_STORED_ButtonMode, &AppletSettings::ButtonMode}, {KV_STORED_DBScreenPos, &AppletSettings::DBScreenPos},
    {KV_STORED_RBNDelay, &AppletSettings::RBNDelay},
};

// The double-click values, read in this order; the field's text is also
// written as DoubleClickWidth.
struct UserValue {
    const char* name;
    int32_t AppletSettings::*field;
};
const UserValue kUserValues[] = {
    {"DoubleClickSpeed", &AppletSettings::DoubleClickSpeed},
    {"DoubleClickHeight", &AppletSettings::DoubleClickHeight},
};

void ReadDriverValue(HKEY key, const DriverValue& value, AppletSettings* settings) {
    DWORD type = 0, data = 0, size = sizeof data;
    if (RegQueryValueExA(key, kv::StoredValueName(value.id), nullptr, &type, reinterpret_cast<BYTE*>(&data), &size) ==
            ERROR_SUCCESS &&
        type == REG_DWORD && size == sizeof data) {
        settings->*value.field = data;
    }
}

// A stored decimal text of any length; false when missing or not text.
bool ReadDecimalText(HKEY key, const char* name, int32_t* number) {
    const DWORD kLongest = 256;  // more than any number needs
    DWORD type = 0, size = 0;
    if (RegQueryValueExA(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return false;
    if ((type != REG_SZ && type != REG_EXPAND_SZ) || size == 0) return false;
    if (size > kLongest) size = kLongest;
    std::string text(size, '\0');
    LONG status = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&text[0]), &size);
    if (status != ERROR_SUCCESS && status != ERROR_MORE_DATA) return false;
    if (status == ERROR_MORE_DATA) size = static_cast<DWORD>(text.size());
    *number = ParseDecimalText(text.data(), size);
    return true;
}

// The value Windows uses now, for a double-click value that is not stored.
int32_t DoubleClickInForce(int32_t AppletSettings::*field) {
    if (field == &AppletSettings::DoubleClickSpeed) return static_cast<int32_t>(GetDoubleClickTime());
    return GetSystemMetrics(SM_CXDOUBLECLK);
}

void LoadDriverValues(AppletSettings* settings, const SettingsPlaces& places, SettingsNotice* notice) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(places.driverRoot, places.driverKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
        UseDriverDefaults(settings);
        notice->Show(kReadFail);
        return;
    }
    for (const DriverValue& value : kDriverValues) ReadDriverValue(key, value, settings);
    CorrectDriverValues(settings);
    RegCloseKey(key);
}

void WriteText(HKEY key, const char* name, int32_t number) {
    char text[16];
    int length = wsprintfA(text, "%d", number);
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), static_cast<DWORD>(length) + 1);
}

}  // namespace

void LoadSettings(AppletSettings* settings, const SettingsPlaces& places, SettingsNotice* notice) {
    LoadDriverValues(settings, places, notice);
    HKEY key = nullptr;
    if (RegOpenKeyExA(places.userRoot, places.userKey, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) {
        notice->Show(kUserKeyFail);
        UseDoubleClickDefaults(settings);
        return;
    }
    for (const UserValue& value : kUserValues) {
        if (!ReadDecimalText(key, value.name, &(settings->*value.field))) {
            settings->*value.field = DoubleClickInForce(value.field);
        }
    }
    RegCloseKey(key);
}

void SaveSettings(const AppletSettings& settings, const SettingsPlaces& places, SettingsNotice* notice,
                  kv::ControlDevice& device) {
    kv::ParametersStore store;
    for (const DriverValue& value : kDriverValues) store.Add(value.id, settings.*value.field);
    if (!store.Save(places.driverRoot, places.driverKey, device)) notice->Show(kWriteFail);
    HKEY key = nullptr;
    if (RegOpenKeyExA(places.userRoot, places.userKey, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) {
        notice->Show(kUserKeyFail);
        return;
    }
    WriteText(key, "DoubleClickHeight", settings.DoubleClickHeight);
    WriteText(key, "DoubleClickWidth", settings.DoubleClickHeight);
    WriteText(key, "DoubleClickSpeed", settings.DoubleClickSpeed);
    RegCloseKey(key);
}
