// The shipped kvcal.exe against the real kvusb.sys in the virtual touch
// controller: the window per placement, four touches of the worked example
// captured by the driver, the trial calibration in force, OK storing the
// values, Cancel reloading and starting over, Escape at the third target,
// a key that cannot be written, and a second instance.
#include <windows.h>

#include <gtest/gtest.h>

#include "calibration_app.h"
#include "calibration_math.h"
#include "driver_session.h"
#include "gui_wait.h"
#include "kvshared.h"
#include "process_runner.h"
#include "registry.h"

namespace kvtest {
namespace {

std::string g_kvcal;

const kvcal::Point kWorkedExample[] = {{500, 400}, {1500, 1200}, {502, 1198}, {1498, 402}};

// Stored before each test: raw 0..4000 on both axes, and markers in the
// values the program overwrites with 0.
std::vector<StoredValue> StoredCalibration(DWORD screenPos = 0) {
    return {Dword("XLow", 0),     Dword("XHigh", 4000),  Dword("YLow", 0),
            Dword("YHigh", 4000), Dword("XOffset", 9),   Dword("YOffset", 9),
            Dword("PortaitScreen", 9), Dword("DBScreenPos", screenPos)};
}

class KvcalEndToEnd : public ::testing::Test {
protected:
    void SetUp() override { Start(0); }

    void Start(DWORD screenPos) {
        std::string error;
        ASSERT_TRUE(session_.Start(&error)) << error;
        ASSERT_TRUE(session_.StoreSettings(StoredCalibration(screenPos), &error)) << error;
        // A capture an earlier program left armed would take this test's
        // first touch before the program under test arms its own.
        session_.Touch(0, 0, 1);
    }

    // The driver's capture record as {state, x, y}; zeros when unreadable.
    std::vector<DWORD> Capture() {
        const IoctlResult r = session_.Ioctl(IOCTL_POINTER_GET_CAPTURE, {}, sizeof(CaptureRecord));
        if (!r.ok || r.output.size() != sizeof(CaptureRecord)) return {0, 0, 0};
        return {WordAt(r.output, 0), WordAt(r.output, 1), WordAt(r.output, 2)};
    }
    DWORD CaptureState() { return Capture()[0]; }

    // Waits for the program to arm the capture, then touches (x, y); whether
    // the driver captured that point. The program may already have armed the
    // next target when the test looks, so the point, which stays until the
    // next capture, tells, not the state.
    bool TouchWhenArmed(const kvcal::Point& p) {
        if (!WaitFor([&] { return CaptureState() == CAPTURE_ARMED; })) return false;
        session_.Touch(p.x, p.y, 2);
        const std::vector<DWORD> capture = Capture();
        return capture[0] != CAPTURE_TOUCHING && capture[1] == DWORD(p.x) && capture[2] == DWORD(p.y);
    }

    // Screen X the driver makes of raw (1000, 800) now: 4096 under the
    // trial calibration of the worked example (raw 0..2000), 2048 under
    // the stored one (raw 0..4000).
    int ScreenXOfProbe() {
        const Bytes arrived = session_.Report(RawReport(1, 1000, 800));
        session_.Report(RawReport(0, 1000, 800));
        return arrived.size() >= 3 ? arrived[1] | (arrived[2] << 8) : -1;
    }

    HWND TouchAllAndWaitForConfirmation() {
        for (const kvcal::Point& p : kWorkedExample) {
            if (!TouchWhenArmed(p)) return nullptr;
        }
        return WaitForWindow(L"#32770", L" Confirm Calibration");
    }

    DWORD Stored(const char* name) { return MachineKey(KV_PARAMETERS_KEY).Dword(name, 0xFFFFFFFF); }

    void ExpectStoredUnchanged() {
        EXPECT_EQ(Stored("XHigh"), 4000u);
        EXPECT_EQ(Stored("YHigh"), 4000u);
        EXPECT_EQ(Stored("PortaitScreen"), 9u);
    }

    DriverSession session_;
};

void Press(HWND dialog, int id) { PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }
void PressEscape(HWND window) { PostMessageA(window, WM_KEYUP, VK_ESCAPE, 0xC0010001); }
HWND CalibrationWindow() { return WaitForWindow(kvcal::kWindowClass, kvcal::kWindowTitle, 20000); }

TEST_F(KvcalEndToEnd, WindowCoversThePlacementTheDriverReports) {
    const int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
    for (DWORD pos : {0u, 1u}) {
        Start(pos);
        Process kvcal(g_kvcal);
        HWND window = CalibrationWindow();
        ASSERT_NE(window, nullptr) << "DBScreenPos " << pos;
        const kvcal::Area a = kvcal::AreaForScreenPos(pos, cx, cy);
        EXPECT_EQ(WindowEdges(window), (std::vector<LONG>{a.left, a.top, a.right, a.bottom})) << "DBScreenPos " << pos;
        EXPECT_EQ(WindowTitle(window), "KESTIVA CALIBRAY");
        PressEscape(window);
        ASSERT_TRUE(kvcal.Ended(10000));
        EXPECT_EQ(kvcal.ExitCode(), 0u);
    }
}

TEST_F(KvcalEndToEnd, ConfirmedCalibrationIsStored) {
    Process kvcal(g_kvcal);
    ASSERT_NE(CalibrationWindow(), nullptr);
    HWND confirm = TouchAllAndWaitForConfirmation();
    ASSERT_NE(confirm, nullptr);
    EXPECT_EQ(DialogItemText(confirm, 1001), "Is cursor lined up with the finger touch on?");
    EXPECT_NEAR(ScreenXOfProbe(), 4096, 8) << "the driver runs on the first diagonal's trial values";
    Press(confirm, IDOK);
    ASSERT_TRUE(kvcal.Ended(10000));
    EXPECT_EQ(kvcal.ExitCode(), 0u);
    const struct {
        const char* name;
        DWORD value;
    } stored[] = {{"XLow", 2}, {"XHigh", 1998}, {"YLow", 2}, {"YHigh", 1598},
                  {"XOffset", 0}, {"YOffset", 0}, {"PortaitScreen", 0}};
    for (const auto& s : stored) EXPECT_EQ(Stored(s.name), s.value) << s.name;
    std::string error;
    ASSERT_TRUE(session_.StoreSettings({Dword("XLow", 2), Dword("XHigh", 1998)}, &error)) << error;
    EXPECT_NEAR(ScreenXOfProbe(), 4096, 8) << "the stored values at the next settings read";
}

TEST_F(KvcalEndToEnd, CancelReloadsTheDriverAndStartsOverAtTheFirstTarget) {
    Process kvcal(g_kvcal);
    HWND window = CalibrationWindow();
    ASSERT_NE(window, nullptr);
    HWND confirm = TouchAllAndWaitForConfirmation();
    ASSERT_NE(confirm, nullptr);
    Press(confirm, IDCANCEL);
    EXPECT_TRUE(WaitFor([&] { return CaptureState() == CAPTURE_ARMED; })) << "a new pass arms target 1";
    EXPECT_NEAR(ScreenXOfProbe(), 2048, 8) << "the stored calibration is back";
    // The new pass takes touches again, from the first target.
    ASSERT_TRUE(TouchWhenArmed(kWorkedExample[0]));
    EXPECT_TRUE(WaitFor([&] { return CaptureState() == CAPTURE_ARMED; })) << "on to target 2";
    PressEscape(window);
    ASSERT_TRUE(kvcal.Ended(10000));
    ExpectStoredUnchanged();
}

TEST_F(KvcalEndToEnd, EscapeDuringTheThirdTargetOnlyReloads) {
    Process kvcal(g_kvcal);
    HWND window = CalibrationWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(TouchWhenArmed(kWorkedExample[0]));
    ASSERT_TRUE(TouchWhenArmed(kWorkedExample[1]));
    ASSERT_TRUE(WaitFor([&] { return CaptureState() == CAPTURE_ARMED; }));
    // A calibration that only a reload undoes: raw 0..1000.
    ASSERT_TRUE(session_.Ioctl(IOCTL_POINTER_SET_CALIBRATION, Words({0, 0, 1000, 1000, 0, 0}), 0).ok);
    ASSERT_EQ(ScreenXOfProbe(), 8191);
    PressEscape(window);
    ASSERT_TRUE(kvcal.Ended(10000));
    EXPECT_EQ(kvcal.ExitCode(), 0u);
    EXPECT_NEAR(ScreenXOfProbe(), 2048, 8) << "Escape made the driver reload";
    ExpectStoredUnchanged();
}

TEST_F(KvcalEndToEnd, KeyThatCannotBeOpenedShowsThePrivilegeMessage) {
    Process kvcal(g_kvcal);
    ASSERT_NE(CalibrationWindow(), nullptr);
    HWND confirm = TouchAllAndWaitForConfirmation();
    ASSERT_NE(confirm, nullptr);
    ASSERT_TRUE(MachineKey(KV_PARAMETERS_KEY).Remove());
    Press(confirm, IDOK);
    HWND error = WaitForWindow(L"#32770", L"Error");
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(DialogItemText(error, 1001), "To do this opration should have administrators privilege.");
    Press(error, IDOK);
    ASSERT_TRUE(kvcal.Ended(10000));
    EXPECT_EQ(kvcal.ExitCode(), 0u);
    EXPECT_EQ(Stored("XLow"), 0xFFFFFFFFu) << "nothing stored";
}

TEST_F(KvcalEndToEnd, SecondInstanceEndsAndTheFirstRunsOn) {
    Process first(g_kvcal);
    HWND window = CalibrationWindow();
    ASSERT_NE(window, nullptr);
    {
        Process second(g_kvcal);
        ASSERT_TRUE(second.Ended(15000));
        EXPECT_EQ(second.ExitCode(), 0u);
    }
    EXPECT_TRUE(IsWindow(window));
    ASSERT_TRUE(TouchWhenArmed(kWorkedExample[0])) << "the first instance still captures";
    PressEscape(window);
    ASSERT_TRUE(first.Ended(10000));
}

}  // namespace
}  // namespace kvtest

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (argc != 2) {
        fprintf(stderr, "usage: kvcal_end_to_end_test KVCAL\n");
        return 2;
    }
    kvtest::g_kvcal = argv[1];
    return RUN_ALL_TESTS();
}
