// What modal dialogs and property pages share: the window handle, the
// dispatch of dialog messages to virtual handlers, and data exchange.
#ifndef KV_FRAMEWORK_DIALOG_WINDOW_H
#define KV_FRAMEWORK_DIALOG_WINDOW_H

#include <windows.h>

class CDialogWindow {
public:
    CDialogWindow() = default;
    virtual ~CDialogWindow() = default;
    CDialogWindow(const CDialogWindow&) = delete;
    CDialogWindow& operator=(const CDialogWindow&) = delete;

    HWND Handle() const { return hwnd_; }
    HWND Item(int id) const { return GetDlgItem(hwnd_, id); }

    // Moves values between members and controls: save = true reads the
    // controls into the members, false shows the members in the controls.
    void UpdateData(bool save) { DoDataExchange(save); }

    // The object behind a window created by the framework, or null.
    static CDialogWindow* FromHandle(HWND hwnd);

protected:
    // Override to exchange this dialog's values (see ddx.h).
    virtual void DoDataExchange(bool /*save*/) {}

    // First message of the window: shows the members in the controls.
    // Return TRUE to let the system set the focus.
    virtual BOOL OnInitDialog();

    // WM_COMMAND from a control or menu; true when handled.
    virtual bool OnCommand(int /*id*/, int /*code*/, HWND /*control*/) { return false; }

    // WM_NOTIFY; true when handled, with *result the notification's answer.
    virtual bool OnNotify(NMHDR* /*header*/, LRESULT* /*result*/) { return false; }

    // WM_HSCROLL from a horizontal scroll bar or track bar.
    virtual void OnHScroll(int /*code*/, int /*position*/, HWND /*control*/) {}

    // Any message; the default sends the ones above to their handlers.
    // Returns what a dialog procedure returns.
    virtual INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    // Binds the object to its window at WM_INITDIALOG and routes every
    // message of that window to it afterwards.
    static INT_PTR Route(CDialogWindow* self, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

private:
    HWND hwnd_ = nullptr;
};

#endif
