// Window messages as a user's actions produce them, sent to a page's
// controls by id.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

inline void ChooseComboEntry(HWND page, int id, int index) {
    HWND combo = GetDlgItem(page, id);
    SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageA(page, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
}

inline void DragTrackbar(HWND page, int id, int position) {
    HWND trackbar = GetDlgItem(page, id);
    SendMessageA(trackbar, TBM_SETPOS, TRUE, position);
    SendMessageA(page, WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, position), reinterpret_cast<LPARAM>(trackbar));
}

inline void Click(HWND page, int id) { SendMessageA(GetDlgItem(page, id), BM_CLICK, 0, 0); }

inline void Press(HWND dialog, int button) { PostMessageA(dialog, WM_COMMAND, button, 0); }

inline std::string TextOf(HWND page, int id) {
    char text[256] = "";
    GetDlgItemTextA(page, id, text, sizeof text);
    return text;
}

inline int ComboSelection(HWND page, int id) {
    return static_cast<int>(SendDlgItemMessageA(page, id, CB_GETCURSEL, 0, 0));
}

inline int TrackbarPosition(HWND page, int id) {
    return static_cast<int>(SendDlgItemMessageA(page, id, TBM_GETPOS, 0, 0));
}
