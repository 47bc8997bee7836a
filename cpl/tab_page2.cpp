// The Beep Settings page.
#include "tab_page2.h"

#include <commctrl.h>

#include "../resources/cpl_ids.h"
#include "app.h"
#include "ddx.h"
#include "kvshared.h"
#include "page_controls.h"

TabPage2::TabPage2() : CTrackingPage(IDD_BEEP_PAGE) {}

void TabPage2::DoDataExchange(bool save) {
    if (Exchanges(IDC_BEEP_MODE, save)) DdxComboIndex(Handle(), IDC_BEEP_MODE, beepIndex, save);
    if (Exchanges(IDC_BEEP_DURATION, save)) DdxTrackbarPos(Handle(), IDC_BEEP_DURATION, duration, save);
    if (Exchanges(IDC_BEEP_TONE, save)) DdxTrackbarPos(Handle(), IDC_BEEP_TONE, tone, save);
    DdxText(Handle(), IDC_BEEP_TONE_TEXT, toneText, save);
    DdxText(Handle(), IDC_BEEP_DURATION_TEXT, durationText, save);
}

void TabPage2::ShowNumbers() {
    toneText = DecimalText(tone);
    durationText = DecimalText(duration);
}

BOOL TabPage2::OnInitDialog() {
    CTrackingPage::OnInitDialog();
    SetTrackbarRange(Handle(), IDC_BEEP_TONE, KV_BEEP_FREQ_MIN, KV_BEEP_FREQ_MAX);
    SetTrackbarRange(Handle(), IDC_BEEP_DURATION, KV_BEEP_TIME_MIN, KV_BEEP_TIME_MAX);
    AddComboTexts(Handle(), IDC_BEEP_MODE, IDS_BEEP_FIRST, 3);
    ShowNumbers();
    UpdateData(false);
    return TRUE;
}

bool TabPage2::OnCommand(int id, int code, HWND control) {
    if (id == IDC_BEEP_MODE && code == CBN_SELCHANGE) {
        UpdateData(true);
        return true;
    }
    if (id == IDC_BEEP_TEST && code == BN_CLICKED) {
        OnTestBeep();
        return true;
    }
    return CTrackingPage::OnCommand(id, code, control);
}


// Sounds the page's beep: the driver's own beep record is kept, the page's
// put in force for one beep, then the kept one restored.
void TabPage2::OnTestBeep() {
    if (!device) return;
    BeepSettings previous = {};
    uint32_t returned = 0;
    device->Control(IOCTL_POINTER_GET_BEEP, nullptr, 0, &previous, sizeof previous, &returned);
    BeepSettings test = {static_cast<uint32_t>(beepIndex), static_cast<uint32_t>(tone),
                         static_cast<uint32_t>(duration), 0, 0};
    device->Send(IOCTL_POINTER_SET_BEEP, &test, sizeof test);
    device->Send(IOCTL_POINTER_BEEP);
    // Without a complete record to restore, the driver keeps the test
    // values until the dialog closes (which sends the beep record anyway)
    // rather than getting bytes it never gave.
    if (returned == sizeof previous) device->Send(IOCTL_POINTER_SET_BEEP, &previous, sizeof previous);
}
