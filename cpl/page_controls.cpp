// Helpers for filling the pages' controls.
#include "page_controls.h"

#include <commctrl.h>

#include "app.h"

std::string DecimalText(int value) {
    char text[16];
    wsprintfA(text, "%d", value);
    return text;
}

void SetTrackbarRange(HWND dialog, int id, int low, int high) {
    SendDlgItemMessageA(dialog, id, TBM_SETRANGE, TRUE, MAKELPARAM(low, high));
}

void AddComboTexts(HWND dialog, int id, unsigned firstText, int count) {
    for (int i = 0; i < count; ++i) {
        char text[128];
        LoadText(firstText + static_cast<unsigned>(i), text, sizeof text);
        SendDlgItemMessageA(dialog, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    }
}
