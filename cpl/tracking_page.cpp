// Track bar pages: texts that follow the thumbs, and the controls the user
// changed.
#include "tracking_page.h"

void CTrackingPage::OnHScroll(int code, int position, HWND control) {
    UpdateData(true);
    ShowNumbers();
    UpdateData(false);
    CPropertyPage::OnHScroll(code, position, control);
}

// Noted before the handlers run, so their exchange already reads the
// control. Track bars and lists notify only for the user's actions, never
// for the positions and selections the page sets itself.
INT_PTR CTrackingPage::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND control = reinterpret_cast<HWND>(lParam);
    if (message == WM_INITDIALOG) {
        changed_.clear();
    } else if (message == WM_HSCROLL && control) {
        NoteChange(GetDlgCtrlID(control));
    } else if (message == WM_COMMAND && control && HIWORD(wParam) == CBN_SELCHANGE) {
        NoteChange(LOWORD(wParam));
    }
    return CPropertyPage::HandleMessage(message, wParam, lParam);
}
