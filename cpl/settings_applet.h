// The one applet of kvcplusb.cpl: the settings the dialog edits, and one
// opening of the dialog from device open to device close.
#ifndef KV_CPL_SETTINGS_APPLET_H
#define KV_CPL_SETTINGS_APPLET_H

#include "calibration_launcher.h"
#include "control_panel_dlg.h"
#include "cpl_applet.h"
#include "settings_rules.h"
#include "settings_store.h"
#include "win32_control_device.h"

class CSettingsApplet : public CCplApplet {
public:
    CSettingsApplet();

    LONG OnDblclk(HWND panel, LPARAM applet, LPARAM data) override;
    LONG OnNewInquire(LPARAM applet, NEWCPLINFOW* info) override;

    void LoadSettings();
    void SaveSettings();

    AppletSettings settings;

    // The boundaries, which tests replace: the driver, the registry keys,
    // how failures are told, where the calibration program is named.
    kv::ControlDevice* device;
    SettingsPlaces places = kSystemSettingsPlaces;
    SettingsNotice* notice;
    ProgramFilesPlace programFiles = kSystemProgramFiles;

protected:
    // Runs the dialog modally; its result.
    virtual INT_PTR RunDialog(CControlPanelDlg* dialog) { return dialog->DoModal(); }

private:
    void HandToPages(CControlPanelDlg* dialog);
    void TakeFromPages(const CControlPanelDlg& dialog, uint32_t storedButtonMode);
    void SendBeepRecord();

    kv::Win32ControlDevice driver_{kv::Win32ControlDevice::Sharing::None};
    MessageBoxNotice messageBox_;
};

#endif
