// The modal dialog.
#include "dialog.h"

#include "app.h"

INT_PTR CDialog::DoModal() {
    EnsureCommonControls();
    return DialogBoxParamW(CApp::ResourceModule(), MAKEINTRESOURCEW(templateId_), parent_, DialogProc,
                           reinterpret_cast<LPARAM>(this));
}

void CDialog::EndDialog(int result) { ::EndDialog(Handle(), result); }

void CDialog::OnOK() {
    UpdateData(true);
    EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

bool CDialog::OnCommand(int id, int /*code*/, HWND /*control*/) {
    if (id == IDOK) {
        OnOK();
        return true;
    }
    if (id == IDCANCEL) {
        OnCancel();
        return true;
    }
    return false;
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CDialog* self = message == WM_INITDIALOG ? reinterpret_cast<CDialog*>(lParam) : nullptr;
    return Route(self, hwnd, message, wParam, lParam);
}
