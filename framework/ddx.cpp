// Dialog data exchange helpers.
#include "ddx.h"

#include <commctrl.h>

void DdxComboIndex(HWND dialog, int id, int& index, bool save) {
    HWND combo = GetDlgItem(dialog, id);
    if (!combo) return;
    if (save) {
        index = static_cast<int>(SendMessageW(combo, CB_GETCURSEL, 0, 0));
    } else {
        SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    }
}

void DdxTrackbarPos(HWND dialog, int id, int& position, bool save) {
    HWND trackbar = GetDlgItem(dialog, id);
    if (!trackbar) return;
    if (save) {
        position = static_cast<int>(SendMessageW(trackbar, TBM_GETPOS, 0, 0));
    } else {
        SendMessageW(trackbar, TBM_SETPOS, TRUE, position);
    }
}

void DdxText(HWND dialog, int id, std::wstring& text, bool save) {
    HWND control = GetDlgItem(dialog, id);
    if (!control) return;
    if (save) {
        int length = GetWindowTextLengthW(control);
        std::wstring read(static_cast<size_t>(length) + 1, L'\0');
        int copied = GetWindowTextW(control, &read[0], length + 1);
        read.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
        text.swap(read);
    } else {
        SetWindowTextW(control, text.c_str());
    }
}
