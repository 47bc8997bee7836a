// The framework's message box: owned by a window, captioned with the
// application's name unless a caption is given.
#ifndef KV_FRAMEWORK_MESSAGE_BOX_H
#define KV_FRAMEWORK_MESSAGE_BOX_H

#include <windows.h>

int AppMessageBox(HWND owner, const wchar_t* text, UINT flags = MB_OK, const wchar_t* caption = nullptr);

#endif
