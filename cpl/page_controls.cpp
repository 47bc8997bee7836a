// Helpers for filling the pages' controls.
#include "page_controls.h"

#include <commctrl.h>

#include "app.h"

std::wstring DecimalText(int value) {
    wchar_t text[16];
    wsprintfW(text, L"%d", value);
    return text;
}

void SetTrackbarRange(HWND dialog, int id, int low, int high) {
    SendDlgItemMessageW(dialog, id, TBM_SETRANGE, TRUE, MAKELPARAM(low, high));
}

void AddComboTexts(HWND dialog, int id, unsigned firstText, int count) {
    for (int i = 0; i < count; ++i) {
        const std::wstring text = LoadText(firstText + static_cast<unsigned>(i));
        SendDlgItemMessageW(dialog, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
}
