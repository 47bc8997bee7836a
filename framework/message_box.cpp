// The framework's message box helper.
#include "message_box.h"

#include "app.h"

int AppMessageBox(HWND owner, const char* text, UINT flags, const char* caption) {
    return MessageBoxA(owner, text, caption ? caption : CApp::Name(), flags);
}
