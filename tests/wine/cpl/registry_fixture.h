// Throwaway registry keys below HKCU\Software\KvTest for the applet's
// settings, so tests never touch the real Parameters or mouse keys.
#ifndef KV_TESTS_CPL_REGISTRY_FIXTURE_H
#define KV_TESTS_CPL_REGISTRY_FIXTURE_H

#include <windows.h>

#include <string>

#include "registry.h"
#include "settings_store.h"

// The places the applet reads and writes: `driver` for the Parameters key,
// `user` for the mouse key, both below `root`; none exists at first.
class TestKeys {
public:
    // NAME keeps parallel test programs apart.
    explicit TestKeys(const char* name)
        : root(HKEY_CURRENT_USER, std::string("Software\\KvTest\\") + name),
          driver(root.Sub("Parameters")),
          user(root.Sub("Mouse")),
          places_{HKEY_CURRENT_USER, driver.Path().c_str(), HKEY_CURRENT_USER, user.Path().c_str()} {}

    const SettingsPlaces& Places() const { return places_; }

    const kvtest::ScratchKey root;
    const kvtest::RegKey driver, user;

private:
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
