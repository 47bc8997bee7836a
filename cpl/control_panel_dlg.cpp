// The applet's container dialog.
#include "control_panel_dlg.h"

#include "../resources/cpl_ids.h"
#include "kvshared.h"
#include "settings_rules.h"

CControlPanelDlg::CControlPanelDlg(HWND parent) : CDialog(IDD_CONTROL_PANEL, parent) {}

BOOL CControlPanelDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    MoveOverTouchScreen();
    EmbedSheet();
    return TRUE;
}

// The driver says which placement it uses; the dialog opens over that part
// of the desktop, keeping its size. Without an answer it stays put.
void CControlPanelDlg::MoveOverTouchScreen() {
    RECT desktop;
    GetClientRect(GetDesktopWindow(), &desktop);
    if (!device || !device->IsOpen()) return;
    uint32_t code = 0;
    DWORD returned = 0;
    device->Control(IOCTL_POINTER_GET_SCREEN_POS, nullptr, 0, &code, sizeof code, &returned);
    if (returned != sizeof code) code = 0;
    int32_t x = 0, y = 0;
    if (DialogPositionFor(code, desktop.right - desktop.left, desktop.bottom - desktop.top, &x, &y)) {
        SetWindowPos(Handle(), HWND_TOP, x, y, 0, 0, SWP_NOSIZE);
    }
}

// The sheet goes where the hidden frame control marks, as a child that the
// Tab key moves into and out of.
void CControlPanelDlg::EmbedSheet() {
    CPropertyPage* pages[] = {&calibrationPage, &beepPage, &mousePage, &placementPage, &aboutPage};
    for (CPropertyPage* page : pages) sheet.AddPage(page);
    if (!sheet.Create(Handle(), WS_CHILD | WS_VISIBLE, 0)) return;
    HWND window = sheet.Handle();
    SetWindowLongPtrA(window, GWL_EXSTYLE, GetWindowLongPtrA(window, GWL_EXSTYLE) | WS_EX_CONTROLPARENT);
    SetWindowLongPtrA(window, GWL_STYLE, GetWindowLongPtrA(window, GWL_STYLE) | WS_TABSTOP);
    RECT frame;
    GetWindowRect(Item(IDC_SHEET_FRAME), &frame);
    POINT topLeft = {frame.left, frame.top};
    ScreenToClient(Handle(), &topLeft);
    SetWindowPos(window, nullptr, topLeft.x + 10, topLeft.y - 7, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
