// The Chinese edition's own behaviour, with its resources linked in: a
// driver that opens but does not answer the placement request gets the
// wrong-version message, and the registry failure comes in dialog 149,
// whose two buttons both end it with 2. Texts compared as CP936 bytes.
#include <windows.h>

#include <vector>

#include <gtest/gtest.h>

#include "kvcal_ids.h"
#include "kvcal_test_support.h"

namespace {

using namespace kvtest;

const char kConfirmCaption[] = " \xc8\xb7\xc8\xcf";                       // " 确认"
const char kConfirmCalibrationCaption[] = " \xc8\xb7\xc8\xcf\xd0\xa3\xd7\xbc";  // " 确认校准"
const char kErrorCaption[] = "\xb4\xed\xce\xf3";                           // "错误"
const char kWrongDriver[] =
    "\xd2\xd1\xb0\xb2\xd7\xb0\xb5\xc4\xc7\xfd\xb6\xaf\xb3\xcc\xd0\xf2\xb0\xe6\xb1\xbe\xb2\xbb\xd5\xfd\xc8\xb7\xa1\xa3";
const char kNoPrivilege[] =
    "\xd6\xb4\xd0\xd0\xb4\xcb\xb2\xd9\xd7\xf7\xd0\xe8\xd2\xaa\xb9\xdc\xc0\xed\xd4\xb1\xc8\xa8\xcf\xde\xa1\xa3";

TEST(ChineseEdition, UnansweredPlacementRequestMeansAWrongDriver) {
    ScriptedControlDevice device(DBSCREENPOS_SINGLE);
    device.answerScreenPos = false;
    Program program(&device);
    HWND message = WaitForWindow("#32770", kConfirmCaption);
    ASSERT_NE(message, nullptr);
    EXPECT_EQ(DialogItemText(message, IDC_MESSAGE_TEXT), kWrongDriver);
    PressButton(message, IDOK);
    ASSERT_TRUE(program.Ended(5000));
    EXPECT_EQ(program.exitCode, 0);
}

BOOL CALLBACK CollectButtonId(HWND child, LPARAM list) {
    char className[16] = {};
    GetClassNameA(child, className, sizeof className);
    if (lstrcmpiA(className, "Button") == 0) reinterpret_cast<std::vector<int>*>(list)->push_back(GetDlgCtrlID(child));
    return TRUE;
}

// The control ids of the dialog's buttons.
std::vector<int> ButtonIds(HWND dialog) {
    std::vector<int> ids;
    EnumChildWindows(dialog, CollectButtonId, reinterpret_cast<LPARAM>(&ids));
    return ids;
}

TEST(ChineseEdition, RegistryFailureInItsOwnDialog) {
    kParameters.Remove();
    ScriptedControlDevice device(DBSCREENPOS_SINGLE);
    Program program(&device);
    HWND confirm = TouchUntilConfirmation(&device, kConfirmCalibrationCaption);
    ASSERT_NE(confirm, nullptr);
    PressButton(confirm, IDOK);
    HWND error = WaitForWindow("#32770", kErrorCaption);
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(DialogItemText(error, IDC_MESSAGE_TEXT), kNoPrivilege);
    EXPECT_EQ(ButtonIds(error), (std::vector<int>{IDCANCEL, IDCANCEL})) << "both buttons end it with 2";
    PressButton(error, IDCANCEL);
    ExpectEndedWithNothingStored(&program);
}

}  // namespace
