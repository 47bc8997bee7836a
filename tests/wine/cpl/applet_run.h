// One opening of the applet with a stand-in driver, throwaway registry keys
// and a script that works the dialog through real window messages.
#ifndef KV_TESTS_CPL_APPLET_RUN_H
#define KV_TESTS_CPL_APPLET_RUN_H

#include <windows.h>
#include <commctrl.h>

#include <functional>

#include "cpl_ids.h"
#include "scripted_control_device.h"
#include "registry_fixture.h"
#include "settings_applet.h"
#include "user_actions.h"
#include "window_script.h"

class ScriptedApplet : public CSettingsApplet {
public:
    std::function<void(CControlPanelDlg*)> prepare;  // before the dialog runs
    std::function<void(CControlPanelDlg*)> script;   // once it is shown; ends it

protected:
    INT_PTR RunDialog(CControlPanelDlg* dialog) override {
        if (prepare) prepare(dialog);
        WindowScript run([&] {
            if (!dialog->Handle()) return false;
            script(dialog);
            return true;
        });
        return dialog->DoModal();
    }
};

class AppletRun {
public:
    explicit AppletRun(const char* name) : keys(name), savedDoubleClickTime_(GetDoubleClickTime()) {
        keys.driver.Create();
        keys.user.Create();
        applet.device = &device;
        applet.places = keys.Places();
        applet.notice = &notice;
    }
    ~AppletRun() { SetDoubleClickTime(savedDoubleClickTime_); }

    // Stored values of a usual installation.
    void StoreUsual() {
        const struct { const char* name; DWORD value; } values[] = {
            {"BeepMode", 1}, {"BeepFreq", 3000}, {"BeepTime", 100}, {"MouseMode", 3},
            {"ButtonMode", 16}, {"DBScreenPos", 0}, {"RBNDelay", 61}};
        for (const auto& v : values) keys.driver.SetDword(v.name, v.value);
        keys.user.SetText("DoubleClickSpeed", "500");
        keys.user.SetText("DoubleClickHeight", "4");
    }

    LONG Open(std::function<void(CControlPanelDlg*)> script) {
        applet.script = std::move(script);
        return applet.OnDblclk(nullptr, 0, 0);
    }

    DWORD Stored(const char* name) { return keys.driver.Dword(name, 0xDEADBEEF); }

    TestKeys keys;
    kvtest::ScriptedControlDevice device;
    RecordingNotice notice;
    ScriptedApplet applet;

private:
    UINT savedDoubleClickTime_;
};

// The applet's own dialog object.
inline void ShowPage(CControlPanelDlg* dialog, int index) { PropSheet_SetCurSel(dialog->sheet.Handle(), nullptr, index); }
inline void Press(CControlPanelDlg* dialog, int button) { Press(dialog->Handle(), button); }

#endif
