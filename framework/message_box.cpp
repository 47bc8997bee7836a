// The framework's message box helper.
#include "message_box.h"

#include "app.h"

int AppMessageBox(HWND owner, const wchar_t* text, UINT flags, const wchar_t* caption) {
    return MessageBoxW(owner, text, caption ? caption : CApp::Name(), flags);
}
