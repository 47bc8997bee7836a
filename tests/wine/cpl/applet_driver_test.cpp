// End to end: the shipped kvcplusb.cpl, loaded as the control panel loads
// it, opened on the real kvusb.sys in the virtual touch controller; its
// dialog worked with window messages. What the driver did shows in the
// harness's records (class requests for mode values, beeps) and in its
// answers; what the applet stored shows in the registry.
#include <gtest/gtest.h>

#include <cpl.h>

#include "cpl_ids.h"
#include "driver_session.h"
#include "kvshared.h"
#include "registry.h"
#include "user_actions.h"
#include "window_script.h"

namespace {

using kvtest::Dword;
using kvtest::WordAt;
using kvtest::Words;

typedef LONG(APIENTRY* AppletProc)(HWND, UINT, LPARAM, LPARAM);

const int kBeepPage = 1, kMousePage = 2;

const kvtest::RegKey kMouse = kvtest::UserKey("Control Panel\\Mouse");

std::string MouseText(const char* name) { return kMouse.Text(name); }

DWORD StoredDword(const char* name) { return kvtest::MachineKey(KV_PARAMETERS_KEY).Dword(name, 0xDEADBEEF); }

class AppletOnDriver : public testing::Test {
protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(session_.Start(&error)) << error;
        ASSERT_TRUE(session_.StoreSettings({Dword("BeepMode", 1), Dword("BeepFreq", 3000), Dword("BeepTime", 100),
                                            Dword("MouseMode", 3), Dword("ButtonMode", 16), Dword("DBScreenPos", 0),
                                            Dword("RBNDelay", 61)},
                                           &error))
            << error;
        kMouse.SetText("DoubleClickSpeed", "500");
        kMouse.SetText("DoubleClickHeight", "4");
        savedDoubleClickTime_ = GetDoubleClickTime();
        std::vector<KvVirtClassRequest> requests;
        session_.harness().TakeRequests(&requests, &error);
        module_ = LoadLibraryA(KV_CPL_EN_US);
        ASSERT_NE(module_, nullptr);
        proc_ = reinterpret_cast<AppletProc>(reinterpret_cast<void*>(GetProcAddress(module_, "CPlApplet")));
        ASSERT_NE(proc_, nullptr);
    }
    void TearDown() override {
        if (module_) FreeLibrary(module_);
        SetDoubleClickTime(savedDoubleClickTime_);
    }

    // Opens the applet as the control panel does and runs ACT on its dialog
    // (the sheet's window is the dialog's child) once it is shown.
    void Open(std::function<void(HWND dialog, HWND sheet)> act) {
        proc_(nullptr, CPL_INIT, 0, 0);
        WindowScript script([&] {
            HWND dialog = FindThreadDialog("KESTIVA CONTROLPANEL");
            if (!dialog) return false;
            act(dialog, FindWindowExA(dialog, nullptr, "#32770", nullptr));
            return true;
        });
        EXPECT_EQ(proc_(nullptr, CPL_DBLCLK, 0, 0), 0);
        proc_(nullptr, CPL_STOP, 0, 0);
        proc_(nullptr, CPL_EXIT, 0, 0);
    }

    static HWND ShowPage(HWND sheet, int index) {
        PropSheet_SetCurSel(sheet, nullptr, index);
        return PropSheet_GetCurrentPageHwnd(sheet);
    }

    // The mode values the driver passed down to the device, in order.
    std::vector<DWORD> ModeValues() {
        std::vector<KvVirtClassRequest> requests;
        std::string error;
        EXPECT_TRUE(session_.harness().TakeRequests(&requests, &error)) << error;
        std::vector<DWORD> values;
        for (const KvVirtClassRequest& r : requests) values.push_back(r.Value);
        return values;
    }

    kvtest::Bytes DriverBeep() { return session_.Ioctl(IOCTL_POINTER_GET_BEEP, {}, 20).output; }

    kvtest::DriverSession session_;
    HMODULE module_ = nullptr;
    AppletProc proc_ = nullptr;
    UINT savedDoubleClickTime_ = 0;
};

TEST_F(AppletOnDriver, OkAfterModeChangeAndTestBeep) {
    kvtest::Bytes beforeTest, afterTest;
    std::vector<KvVirtBeep> beeps;
    std::string error;
    Open([&](HWND dialog, HWND sheet) {
        ChooseComboEntry(ShowPage(sheet, kMousePage), IDC_MOUSE_MODE, 2);
        HWND beep = ShowPage(sheet, kBeepPage);
        DragTrackbar(beep, IDC_BEEP_TONE, 5000);
        beforeTest = DriverBeep();
        Click(beep, IDC_BEEP_TEST);
        afterTest = DriverBeep();
        EXPECT_TRUE(session_.WaitForHarness(kvtest::SpeakerQuiet)) << "the beep's own timer ends it";
        session_.harness().TakeBeeps(&beeps, &error);
        Press(dialog, IDOK);
    });
    EXPECT_EQ(ModeValues(), (std::vector<DWORD>{272, 304, 304}));
    ASSERT_EQ(beeps.size(), 1u) << error;
    EXPECT_EQ(beeps[0].Frequency, 5000u);
    EXPECT_EQ(beforeTest, afterTest) << "the driver's beep record is restored after the test";
    EXPECT_EQ(StoredDword("ButtonMode"), 48u);
    EXPECT_EQ(StoredDword("BeepFreq"), 5000u);
    EXPECT_EQ(StoredDword("BeepTime"), 100u);
    EXPECT_EQ(MouseText("DoubleClickSpeed"), "500");
    // The field's thumb sits at its range's start, but the user never moved it.
    EXPECT_EQ(MouseText("DoubleClickHeight"), "4");
    EXPECT_EQ(MouseText("DoubleClickWidth"), "4");
    EXPECT_EQ(GetDoubleClickTime(), 500u);
    const kvtest::Bytes beep = DriverBeep();
    EXPECT_EQ(WordAt(beep, 0), 1u);
    EXPECT_EQ(WordAt(beep, 1), 5000u);
    EXPECT_EQ(WordAt(beep, 2), 100u);
}

// The applet holds no handle while its dialog waits: the last controller
// unplugged meanwhile, the driver unloads; plugged in again, the applet's
// requests reach the new instance.
TEST_F(AppletOnDriver, TheLastControllerCanBeRepluggedWhileTheDialogIsOpen) {
    std::string error;
    bool replugged = false;
    Open([&](HWND dialog, HWND sheet) {
        replugged = session_.Replug(&error);
        ChooseComboEntry(ShowPage(sheet, kMousePage), IDC_MOUSE_MODE, 2);
        Press(dialog, IDOK);
    });
    ASSERT_TRUE(replugged) << error;
    EXPECT_EQ(ModeValues(), (std::vector<DWORD>{272, 304, 304}));
}

TEST_F(AppletOnDriver, CancelStoresNothingAndHandsTheDriverBack) {
    Open([&](HWND dialog, HWND sheet) {
        ChooseComboEntry(ShowPage(sheet, kMousePage), IDC_MOUSE_MODE, 2);
        DragTrackbar(ShowPage(sheet, kBeepPage), IDC_BEEP_TONE, 4000);
        Press(dialog, IDCANCEL);
    });
    EXPECT_EQ(ModeValues(), (std::vector<DWORD>{272, 304}));
    EXPECT_EQ(StoredDword("ButtonMode"), 16u);
    EXPECT_EQ(StoredDword("BeepFreq"), 3000u);
    EXPECT_EQ(MouseText("DoubleClickHeight"), "4");
    const kvtest::Bytes beep = DriverBeep();
    EXPECT_EQ(WordAt(beep, 0), 1u);
    EXPECT_EQ(WordAt(beep, 1), 3000u);
    EXPECT_EQ(WordAt(beep, 2), 100u);
}

}  // namespace
