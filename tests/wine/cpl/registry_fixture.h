// Throwaway registry keys below HKCU\Software\KvTest for the applet's
// settings, so tests never touch the real Parameters or mouse keys.
#ifndef KV_TESTS_CPL_REGISTRY_FIXTURE_H
#define KV_TESTS_CPL_REGISTRY_FIXTURE_H

#include <windows.h>

#include <string>

#include "settings_store.h"

class TestKeys {
public:
    // NAME keeps parallel test programs apart.
    explicit TestKeys(const char* name) : root_(std::string("Software\\KvTest\\") + name) {
        Remove();
        driver_ = root_ + "\\Parameters";
        user_ = root_ + "\\Mouse";
        places_ = {HKEY_CURRENT_USER, driver_.c_str(), HKEY_CURRENT_USER, user_.c_str()};
    }
    ~TestKeys() { Remove(); }

    const SettingsPlaces& Places() const { return places_; }
    void CreateDriverKey() { Create(driver_); }
    void CreateUserKey() { Create(user_); }

    void SetDword(const char* name, DWORD value) { SetValue(driver_, name, REG_DWORD, &value, sizeof value); }
    void SetDriverText(const char* name, const char* text) {
        SetValue(driver_, name, REG_SZ, text, static_cast<DWORD>(strlen(text) + 1));
    }
    void SetUserText(const char* name, const char* text, DWORD size) { SetValue(user_, name, REG_SZ, text, size); }
    void SetUserText(const char* name, const char* text) {
        SetUserText(name, text, static_cast<DWORD>(strlen(text) + 1));
    }

    // A value as stored: false when missing.
    bool GetDword(const char* name, DWORD* value) const {
        DWORD type = 0, size = sizeof *value;
        return Query(driver_, name, &type, value, &size) && type == REG_DWORD && size == 4;
    }
    // Text with its terminator, as stored; "<missing>" when absent.
    std::string GetUserText(const char* name) const {
        char text[64] = "";
        DWORD type = 0, size = sizeof text;
        if (!Query(user_, name, &type, text, &size) || type != REG_SZ) return "<missing>";
        return std::string(text, size);
    }
    bool DriverKeyExists() const {
        HKEY key;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, driver_.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
        RegCloseKey(key);
        return true;
    }

private:
    void Create(const std::string& path) {
        HKEY key;
        if (RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) ==
            ERROR_SUCCESS)
            RegCloseKey(key);
    }
    void SetValue(const std::string& path, const char* name, DWORD type, const void* data, DWORD size) {
        HKEY key;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
        RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
        RegCloseKey(key);
    }
    bool Query(const std::string& path, const char* name, DWORD* type, void* data, DWORD* size) const {
        HKEY key;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
        LONG status = RegQueryValueExA(key, name, nullptr, type, static_cast<BYTE*>(data), size);
        RegCloseKey(key);
        return status == ERROR_SUCCESS;
    }
    void Remove() {
        RegDeleteKeyA(HKEY_CURRENT_USER, (root_ + "\\Parameters").c_str());
        RegDeleteKeyA(HKEY_CURRENT_USER, (root_ + "\\Mouse").c_str());
        RegDeleteKeyA(HKEY_CURRENT_USER, (root_ + "\\CurrentVersion").c_str());
        RegDeleteKeyA(HKEY_CURRENT_USER, root_.c_str());
    }

    std::string root_, driver_, user_;
    SettingsPlaces places_;
};

// Collects the notices instead of showing message boxes.
class RecordingNotice : public SettingsNotice {
public:
    std::string shown;
    void Show(const char* text) override {
        if (!shown.empty()) shown += " | ";
        shown += text;
    }
};

#endif
