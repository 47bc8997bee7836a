// The Chinese edition's own behaviour, with its resources linked in: a
// driver that opens but does not answer the placement request gets the
// wrong-version message, and the registry failure comes in dialog 149,
// whose two buttons both end it with 2. Texts compared as UTF-16, as the
// user reads them on a system of any code page (this prefix's is not 936).
#include <windows.h>

#include <vector>

#include <gtest/gtest.h>

#include "kvcal_ids.h"
#include "kvcal_test_support.h"

namespace {

using namespace kvtest;

const wchar_t kConfirmCaption[] = L" \u786e\u8ba4";                         // " 确认"
const wchar_t kConfirmCalibrationCaption[] = L" \u786e\u8ba4\u6821\u51c6";  // " 确认校准"
const wchar_t kErrorCaption[] = L"\u9519\u8bef";                             // "错误"
// 已安装的驱动程序版本不正确。
const wchar_t kWrongDriver[] =
    L"\u5df2\u5b89\u88c5\u7684\u9a71\u52a8\u7a0b\u5e8f\u7248\u672c\u4e0d\u6b63\u786e\u3002";
// 执行此操作需要管理员权限。
const wchar_t kNoPrivilege[] =
    L"\u6267\u884c\u6b64\u64cd\u4f5c\u9700\u8981\u7ba1\u7406\u5458\u6743\u9650\u3002";

TEST(ChineseEdition, UnansweredPlacementRequestMeansAWrongDriver) {
    ScriptedControlDevice device(DBSCREENPOS_SINGLE);
    device.answerScreenPos = false;
    Program program(&device);
    HWND message = WaitForWindow(L"#32770", kConfirmCaption);
    ASSERT_NE(message, nullptr);
    EXPECT_EQ(WideDialogItemText(message, IDC_MESSAGE_TEXT), kWrongDriver);
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
    device.storeAccepted = false;
    Program program(&device);
    HWND confirm = TouchUntilConfirmation(&device, kConfirmCalibrationCaption);
    ASSERT_NE(confirm, nullptr);
    PressButton(confirm, IDOK);
    HWND error = WaitForWindow(L"#32770", kErrorCaption);
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(WideDialogItemText(error, IDC_MESSAGE_TEXT), kNoPrivilege);
    EXPECT_EQ(ButtonIds(error), (std::vector<int>{IDCANCEL, IDCANCEL})) << "both buttons end it with 2";
    PressButton(error, IDCANCEL);
    ExpectEndedWithNothingStored(&program);
}

}  // namespace
