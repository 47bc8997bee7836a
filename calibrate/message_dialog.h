// The program's message box: a text and a caption shown in one of the
// edition's message dialogs.
#ifndef KV_CALIBRATE_MESSAGE_DIALOG_H
#define KV_CALIBRATE_MESSAGE_DIALOG_H

#include <windows.h>

#include <string>

namespace kvcal {

// Shows dialog `dialogId` owned by `owner` (may be null) with `text` in its
// static text and `caption` as its title; returns 1 for OK, 2 for Cancel
// (or whatever the dialog's buttons end it with), 0 when it cannot be shown.
INT_PTR ShowMessageDialog(HINSTANCE module, HWND owner, int dialogId, const std::wstring& text,
                          const std::wstring& caption);

}  // namespace kvcal

#endif
