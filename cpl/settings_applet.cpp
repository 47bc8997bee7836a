// One opening of the applet: the conversation with the driver, the settings
// load and save, the dialog.
#include "settings_applet.h"

#include "../resources/cpl_ids.h"
#include "app.h"
#include "kvshared.h"

CSettingsApplet::CSettingsApplet() : device(&driver_), notice(&messageBox_) {}

void CSettingsApplet::LoadSettings() { ::LoadSettings(&settings, places, notice); }

void CSettingsApplet::SaveSettings() { ::SaveSettings(settings, places, notice, *device); }

// The wide record: the control panel tells it from the ANSI one by its
// size, and shows its texts as they are, whatever the system's code page.
LONG CSettingsApplet::OnNewInquire(LPARAM, NEWCPLINFOW* info) {
    if (!info) return 0;
    ZeroMemory(info, sizeof *info);
    info->dwSize = sizeof *info;
    info->hIcon = LoadIconW(CApp::ResourceModule(), MAKEINTRESOURCEW(IDI_APPLET));
    lstrcpynW(info->szName, LoadText(IDS_APPLET_NAME).c_str(), ARRAYSIZE(info->szName));
    lstrcpynW(info->szInfo, LoadText(IDS_APPLET_INFO).c_str(), ARRAYSIZE(info->szInfo));
    return 0;
}

void CSettingsApplet::HandToPages(CControlPanelDlg* dialog) {
    dialog->beepPage.beepIndex = static_cast<int>(settings.BeepMode);
    dialog->beepPage.tone = static_cast<int>(settings.BeepFreq);
    dialog->beepPage.duration = static_cast<int>(settings.BeepTime);
    dialog->mousePage.modeIndex = ModeIndexFromButtonMode(settings.ButtonMode);
    dialog->mousePage.field = settings.DoubleClickHeight;
    dialog->mousePage.speed = settings.DoubleClickSpeed;
    dialog->mousePage.delayCode = settings.RBNDelay;
    dialog->calibrationPage.programFiles = programFiles;
}

// A stored mode that is not one of the list's (16, 32, 48) maps to an index
// that gives it back changed; it stays as stored until the user picks one.
void CSettingsApplet::TakeFromPages(const CControlPanelDlg& dialog, uint32_t storedButtonMode) {
    settings.BeepFreq = static_cast<uint32_t>(dialog.beepPage.tone);
    settings.BeepTime = static_cast<uint32_t>(dialog.beepPage.duration);
    settings.BeepMode = static_cast<uint32_t>(dialog.beepPage.beepIndex);
    settings.ButtonMode = dialog.mousePage.UserChanged(IDC_MOUSE_MODE)
                              ? ButtonModeFromIndex(dialog.mousePage.modeIndex)
                              : storedButtonMode;
    settings.DoubleClickHeight = dialog.mousePage.field;
    settings.DoubleClickSpeed = dialog.mousePage.speed;
    settings.RBNDelay = dialog.mousePage.delayCode;
    settings.DBScreenPos = dialog.placementPage.placementCode;
}

void CSettingsApplet::SendBeepRecord() {
    BeepSettings beep = {settings.BeepMode, settings.BeepFreq, settings.BeepTime, 0, 0};
    device->Send(IOCTL_POINTER_SET_BEEP, &beep, sizeof beep);
}

LONG CSettingsApplet::OnDblclk(HWND panel, LPARAM, LPARAM) {
    if (!device->Open()) {
        MessageBoxW(panel, LoadText(IDS_DEVICE_MISSING).c_str(), LoadText(IDS_TIP_CAPTION).c_str(),
                    MB_OK | MB_ICONINFORMATION);
        return 0;
    }
    {
        CControlPanelDlg dialog(panel);
        LoadSettings();
        HandToPages(&dialog);
        const uint32_t storedButtonMode = settings.ButtonMode;
        settings.ButtonMode = LiveDeviceMode(settings.ButtonMode);
        device->SendWord(IOCTL_POINTER_SET_DEVICE_MODE, settings.ButtonMode);
        dialog.device = device;
        dialog.beepPage.device = device;
        dialog.mousePage.device = device;
        dialog.placementPage.placementCode = settings.DBScreenPos;
        if (RunDialog(&dialog) == IDOK) {
            TakeFromPages(dialog, storedButtonMode);
            SaveSettings();
            SetDoubleClickTime(static_cast<UINT>(settings.DoubleClickSpeed));
            device->Send(IOCTL_POINTER_RELOAD_SETTINGS_QUIET);
            settings.ButtonMode = LiveDeviceMode(settings.ButtonMode);
            device->SendWord(IOCTL_POINTER_SET_DEVICE_MODE, settings.ButtonMode);
        }
        device->Send(IOCTL_POINTER_RELOAD_SETTINGS);
        SendBeepRecord();
        device->Close();
    }
    return 0;
}
