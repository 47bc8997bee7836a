// The installer's message boxes as the user sees them: text bytes, caption
// and icon, read from the live box and closed by the test.
#include <gtest/gtest.h>

#include <string>

#include "edition_modules.h"
#include "gui_wait.h"
#include "install_work.h"
#include "texts_cp936.h"

namespace {

struct SeenBox {
    std::wstring text, caption;
    bool found = false;
};

// Waits for this process's message box, reads it and presses OK.
DWORD WINAPI ReadAndCloseBox(LPVOID seen) {
    SeenBox& box = *static_cast<SeenBox*>(seen);
    kvtest::WaitFor(
        [&] {
            HWND window = FindWindowA("#32770", nullptr);
            DWORD process = 0;
            if (!window || !GetWindowThreadProcessId(window, &process)) return false;
            if (process != GetCurrentProcessId()) return false;
            wchar_t text[512] = {}, caption[128] = {};
            // The box may be found before its text is in place: wait for it.
            if (!GetDlgItemTextW(window, 0xFFFF, text, 512) || !IsWindowVisible(window)) return false;
            GetWindowTextW(window, caption, 128);
            box.text = text;
            box.caption = caption;
            box.found = true;
            PostMessageA(window, WM_COMMAND, IDOK, 0);
            return true;
        },
        30000);
    return 0;
}

// In Chinese on any system: the test runs on code page 1252 and on 936.
TEST(MessageTest, UnsupportedSystemIsToldInChineseWithTheDefaultCaption) {
    SeenBox box;
    HANDLE reader = CreateThread(nullptr, 0, ReadAndCloseBox, &box, 0, nullptr);
    ASSERT_NE(reader, nullptr);
    ShowUnsupportedSystemMessage(SetupTexts(Edition::English));
    WaitForSingleObject(reader, INFINITE);
    CloseHandle(reader);
    ASSERT_TRUE(box.found);
    EXPECT_EQ(box.text, Utf16From936(KV_TEXT_UNSUPPORTED_SYSTEM));
    // The system's default caption, in the system's language.
    EXPECT_EQ(box.caption, GetACP() == 936 ? Utf16From936(KV_TEXT_ERROR_CAPTION) : L"Error");
}

}  // namespace
