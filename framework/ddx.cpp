// Dialog data exchange helpers.
#include "ddx.h"

#include <commctrl.h>

void DdxComboIndex(HWND dialog, int id, int& index, bool save) {
    HWND combo = GetDlgItem(dialog, id);
    if (!combo) return;
    if (save) {
        index = static_cast<int>(SendMessageA(combo, CB_GETCURSEL, 0, 0));
    } else {
        SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    }
}

void DdxTrackbarPos(HWND dialog, int id, int& position, bool save) {
    HWND trackbar = GetDlgItem(dialog, id);
    if (!trackbar) return;
    if (save) {
        position = static_cast<int>(SendMessageA(trackbar, TBM_GETPOS, 0, 0));
    } else {
        SendMessageA(trackbar, TBM_SETPOS, TRUE, position);
    }
}

void DdxText(HWND dialog, int id, std::string& text, bool save) {
    HWND control = GetDlgItem(dialog, id);
    if (!control) return;
    if (save) {
        int length = GetWindowTextLengthA(control);
        std::string read(static_cast<size_t>(length) + 1, '\0');
        int copied = GetWindowTextA(control, &read[0], length + 1);
        read.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
        text.swap(read);
    } else {
        SetWindowTextA(control, text.c_str());
    }
}
