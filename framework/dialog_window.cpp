// Message dispatch shared by modal dialogs and property pages.
#include "dialog_window.h"

CDialogWindow* CDialogWindow::FromHandle(HWND hwnd) {
    return reinterpret_cast<CDialogWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

BOOL CDialogWindow::OnInitDialog() {
    UpdateData(false);
    return TRUE;
}

INT_PTR CDialogWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog();
    case WM_COMMAND:
        return OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam)) ? TRUE : FALSE;
    case WM_HSCROLL:
        OnHScroll(LOWORD(wParam), static_cast<short>(HIWORD(wParam)), reinterpret_cast<HWND>(lParam));
        return FALSE;
    case WM_NOTIFY: {
        LRESULT result = 0;
        if (!OnNotify(reinterpret_cast<NMHDR*>(lParam), &result)) return FALSE;
        // A dialog procedure hands a notification's answer back this way.
        SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, result);
        return TRUE;
    }
    default:
        return FALSE;
    }
}

INT_PTR CDialogWindow::Route(CDialogWindow* self, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG && self) {
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = FromHandle(hwnd);
    }
    if (!self) return FALSE;
    INT_PTR answer = self->HandleMessage(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
    }
    return answer;
}
