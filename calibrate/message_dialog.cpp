// The program's message box; see message_dialog.h.
#include "message_dialog.h"

#include "kvcal_ids.h"

namespace kvcal {
namespace {

struct MessageTexts {
    const std::wstring* text;
    const std::wstring* caption;
};

INT_PTR CALLBACK MessageDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG: {
            const MessageTexts* texts = reinterpret_cast<const MessageTexts*>(lParam);
            SetDlgItemTextW(dialog, IDC_MESSAGE_TEXT, texts->text->c_str());
            SetWindowTextW(dialog, texts->caption->c_str());
            return TRUE;
        }
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
                EndDialog(dialog, LOWORD(wParam));
                return TRUE;
            }
            return FALSE;
        default:
            return FALSE;
    }
}

}  // namespace

INT_PTR ShowMessageDialog(HINSTANCE module, HWND owner, int dialogId, const std::wstring& text,
                          const std::wstring& caption) {
    MessageTexts texts = {&text, &caption};
    const INT_PTR result = DialogBoxParamW(module, MAKEINTRESOURCEW(dialogId), owner, MessageDialogProc,
                                           reinterpret_cast<LPARAM>(&texts));
    return result < 0 ? 0 : result;
}

}  // namespace kvcal
