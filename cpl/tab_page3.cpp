// The Mouse Mode page.
#include "tab_page3.h"

#include <commctrl.h>

#include "../resources/cpl_ids.h"
#include "app.h"
#include "ddx.h"
#include "kvshared.h"
#include "page_controls.h"
#include "settings_rules.h"

TabPage3::TabPage3() : CTrackingPage(IDD_MOUSE_PAGE) {}

// The delay list takes no part: only a selection from it changes the code.
void TabPage3::DoDataExchange(bool save) {
    if (Exchanges(IDC_MOUSE_MODE, save)) DdxComboIndex(Handle(), IDC_MOUSE_MODE, modeIndex, save);
    if (Exchanges(IDC_DOUBLE_CLICK_FIELD, save)) DdxTrackbarPos(Handle(), IDC_DOUBLE_CLICK_FIELD, field, save);
    if (Exchanges(IDC_DOUBLE_CLICK_SPEED, save)) DdxTrackbarPos(Handle(), IDC_DOUBLE_CLICK_SPEED, speed, save);
    DdxText(Handle(), IDC_DOUBLE_CLICK_FIELD_TEXT, fieldText, save);
    DdxText(Handle(), IDC_DOUBLE_CLICK_SPEED_TEXT, speedText, save);
}

void TabPage3::ShowNumbers() {
    fieldText = DecimalText(field);
    speedText = DecimalText(speed);
}

// The delay entries carry their codes; the stored code selects its entry,
// or none when no entry has it.
void TabPage3::FillDelayList() {
    HWND list = Item(IDC_RIGHT_BUTTON_DELAY);
    for (int i = 0; i < 5; ++i) {
        const std::wstring text = LoadText(IDS_DELAY_FIRST + static_cast<unsigned>(i));
        LRESULT index = SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
        if (index >= 0) {
            SendMessageW(list, CB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(kDelayCodes[i]));
        }
    }
    LRESULT count = SendMessageW(list, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        if (static_cast<uint32_t>(SendMessageW(list, CB_GETITEMDATA, static_cast<WPARAM>(i), 0)) == delayCode) {
            SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(i), 0);
        }
    }
}

BOOL TabPage3::OnInitDialog() {
    CTrackingPage::OnInitDialog();
    AddComboTexts(Handle(), IDC_MOUSE_MODE, IDS_MODE_FIRST, 3);
    SendDlgItemMessageW(Handle(), IDC_MOUSE_MODE, CB_SETCURSEL, static_cast<WPARAM>(modeIndex), 0);
    SetTrackbarRange(Handle(), IDC_DOUBLE_CLICK_FIELD, 20, 200);
    SetTrackbarRange(Handle(), IDC_DOUBLE_CLICK_SPEED, 200, 900);
    ShowNumbers();
    FillDelayList();
    UpdateData(false);
    return TRUE;
}

bool TabPage3::OnCommand(int id, int code, HWND control) {
    if (id == IDC_MOUSE_MODE && code == CBN_SELCHANGE) {
        OnSelchangeMouseMode();
        return true;
    }
    if (id == IDC_RIGHT_BUTTON_DELAY && code == CBN_SELCHANGE) {
        OnSelchangeRbnDelay();
        return true;
    }
    return CTrackingPage::OnCommand(id, code, control);
}

// The controller works in the chosen mode at once.
void TabPage3::OnSelchangeMouseMode() {
    UpdateData(true);
    if (device && modeIndex >= 0) {
        device->SendWord(IOCTL_POINTER_SET_DEVICE_MODE, LiveDeviceMode(ButtonModeFromIndex(modeIndex)));
    }
}

void TabPage3::OnSelchangeRbnDelay() {
    HWND list = Item(IDC_RIGHT_BUTTON_DELAY);
    LRESULT selected = SendMessageW(list, CB_GETCURSEL, 0, 0);
    if (selected == CB_ERR) return;  // typing in the edit field selects nothing
    LRESULT code = SendMessageW(list, CB_GETITEMDATA, static_cast<WPARAM>(selected), 0);
    delayCode = ClampDelayCode(static_cast<uint32_t>(code));
}

