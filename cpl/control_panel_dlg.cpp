// The applet's container dialog.
#include "control_panel_dlg.h"

#include <algorithm>

#include "../resources/cpl_ids.h"
#include "kvshared.h"
#include "settings_rules.h"

CControlPanelDlg::CControlPanelDlg(HWND parent) : CDialog(IDD_CONTROL_PANEL, parent) {}

BOOL CControlPanelDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    MoveOverTouchScreen();
    EmbedSheet();
    FitToSheet();
    return TRUE;
}

// The driver says which placement it uses; the dialog opens over that part
// of the desktop, keeping its size. Without an answer it stays put.
void CControlPanelDlg::MoveOverTouchScreen() {
    RECT desktop;
    GetClientRect(GetDesktopWindow(), &desktop);
    if (!device || !device->IsOpen()) return;
    uint32_t code = 0;
    uint32_t returned = 0;
    device->Control(IOCTL_POINTER_GET_SCREEN_POS, nullptr, 0, &code, sizeof code, &returned);
    if (returned != sizeof code) code = 0;
    int32_t x = 0, y = 0;
    if (DialogPositionFor(code, desktop.right - desktop.left, desktop.bottom - desktop.top, &x, &y)) {
        SetWindowPos(Handle(), HWND_TOP, x, y, 0, 0, SWP_NOSIZE);
    }
}

// The sheet goes where the hidden frame control marks, as a child that the
// Tab key moves into and out of; never above or left of the client area.
void CControlPanelDlg::EmbedSheet() {
    CPropertyPage* pages[] = {&calibrationPage, &beepPage, &mousePage, &placementPage, &aboutPage};
    for (CPropertyPage* page : pages) sheet.AddPage(page);
    if (!sheet.Create(Handle(), WS_CHILD | WS_VISIBLE, 0)) return;
    HWND window = sheet.Handle();
    SetWindowLongPtrW(window, GWL_EXSTYLE, GetWindowLongPtrW(window, GWL_EXSTYLE) | WS_EX_CONTROLPARENT);
    SetWindowLongPtrW(window, GWL_STYLE, GetWindowLongPtrW(window, GWL_STYLE) | WS_TABSTOP);
    const RECT frame = ChildRect(Item(IDC_SHEET_FRAME));
    SetWindowPos(window, nullptr, std::max(frame.left + 10, 0L), std::max(frame.top - 7, 0L), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The sheet's size comes from its pages in the system's fonts, not from the
// frame: the dialog grows (or shrinks) by as much as the sheet overruns the
// frame, and Ok and Cancel move with its bottom-right corner, so the
// template's margins and button spacing hold around the sheet it holds.
void CControlPanelDlg::FitToSheet() {
    if (!sheet.Handle()) return;
    const RECT frame = ChildRect(Item(IDC_SHEET_FRAME)), held = ChildRect(sheet.Handle());
    const LONG dx = held.right - frame.right, dy = held.bottom - frame.bottom;
    for (int id : {IDOK, IDCANCEL}) {
        const RECT button = ChildRect(Item(id));
        SetWindowPos(Item(id), nullptr, button.left + dx, button.top + dy, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    RECT outer;
    GetWindowRect(Handle(), &outer);
    SetWindowPos(Handle(), nullptr, 0, 0, outer.right - outer.left + dx, outer.bottom - outer.top + dy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

RECT CControlPanelDlg::ChildRect(HWND child) const {
    RECT r = {};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&r), 2);
    return r;
}
