// A modal dialog on a dialog template of the application's module.
#ifndef KV_FRAMEWORK_DIALOG_H
#define KV_FRAMEWORK_DIALOG_H

#include "dialog_window.h"

class CDialog : public CDialogWindow {
public:
    CDialog(UINT templateId, HWND parent = nullptr) : templateId_(templateId), parent_(parent) {}

    // Runs the dialog; returns the code EndDialog gave (IDOK, IDCANCEL, ...)
    // or -1 when the window could not be created.
    INT_PTR DoModal();

    void EndDialog(int result);

protected:
    // Ok: takes the controls' values into the members and ends with IDOK.
    virtual void OnOK();
    // Cancel, Esc and the close box: ends with IDCANCEL.
    virtual void OnCancel();

    bool OnCommand(int id, int code, HWND control) override;

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    UINT templateId_;
    HWND parent_;
};

#endif
