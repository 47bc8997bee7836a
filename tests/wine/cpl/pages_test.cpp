// The pages worked through real window messages inside a real opening:
// what they show, what the driver hears, what Ok stores.
#include <gtest/gtest.h>

#include "applet_run.h"

namespace {

const int kMousePage = 2, kBeepPage = 1, kPlacementPage = 3;

TEST(MouseModePage, ChoosingAModeTellsTheDriverAtOnceAndCancelStoresNothing) {
    AppletRun run("MouseChoice");
    run.StoreUsual();
    int shownIndex = 99;
    run.Open([&](CControlPanelDlg* d) {
        ShowPage(d, kMousePage);
        HWND page = d->mousePage.Handle();
        shownIndex = ComboSelection(page, IDC_MOUSE_MODE);
        ChooseComboEntry(page, IDC_MOUSE_MODE, 2);
        Press(d, IDCANCEL);
    });
    EXPECT_EQ(shownIndex, 0);
    EXPECT_EQ(run.device.Log(), "F2648(272) F268C F2648(304) F2620 F2640(1,3000,100,0,0)");
    EXPECT_EQ(run.Stored("ButtonMode"), 16u);
}

TEST(MouseModePage, LeavingItUntouchedKeepsWhatItCannotShow) {
    AppletRun run("MouseUntouched");
    run.StoreUsual();                     // DoubleClickHeight "4", below the field's range
    run.keys.driver.SetDword("ButtonMode", 20);  // no entry of the mode list
    run.Open([](CControlPanelDlg* d) {
        ShowPage(d, kMousePage);
        ShowPage(d, kBeepPage);  // leaving a page takes its controls' values
        Press(d, IDOK);
    });
    EXPECT_EQ(run.keys.user.StoredText("DoubleClickHeight"), std::string("4", 2));
    EXPECT_EQ(run.keys.user.StoredText("DoubleClickWidth"), std::string("4", 2));
    EXPECT_EQ(run.Stored("ButtonMode"), 20u);
}

enum MouseAction { kNothing, kShowOnly, kMoveFieldToLeftEnd, kChooseDragging, kChooseDelay2s, kTypeDelay };

struct MouseCase {
    const char* name;
    DWORD buttonMode;
    const char* speed;
    DWORD delay;
    MouseAction action;
    int shownMode;        // combo selection once shown
    const char* speedShown;
    int speedThumb;
    DWORD storedMode;
    const char* storedSpeed;
    DWORD storedDelay;
};

const MouseCase kMouseCases[] = {
    {"32 selects the second mode", 32, "500", 61, kShowOnly, 1, "500", 500, 32, "500", 61},
    {"20 shows the first mode and stays 20", 20, "500", 61, kShowOnly, 0, "500", 500, 20, "500", 61},
    {"0 shows no mode and stores 0", 0, "500", 61, kShowOnly, -1, "500", 500, 0, "500", 61},
    {"64 shows no mode, stored again untouched", 64, "500", 61, kShowOnly, -1, "500", 500, 64, "500", 61},
    {"64 stays after the field moves", 64, "500", 61, kMoveFieldToLeftEnd, -1, "500", 500, 64, "500", 61},
    {"speed 100 shows the thumb at 200 and keeps 100", 16, "100", 61, kShowOnly, 0, "100", 200, 16, "100", 61},
    {"speed 100 stays after the field moves", 16, "100", 61, kMoveFieldToLeftEnd, 0, "100", 200, 16, "100", 61},
    {"dragging stores 48", 16, "500", 61, kChooseDragging, 0, "500", 500, 48, "500", 61},
    {"delay 40 selects nothing and stays", 16, "500", 40, kShowOnly, 0, "500", 500, 16, "500", 40},
    {"choosing 2.0s stores 122", 16, "500", 40, kChooseDelay2s, 0, "500", 500, 16, "500", 122},
    {"typing in the delay field changes nothing", 16, "500", 40, kTypeDelay, 0, "500", 500, 16, "500", 40},
};

void ActOnMousePage(HWND page, MouseAction action) {
    switch (action) {
    case kMoveFieldToLeftEnd: DragTrackbar(page, IDC_DOUBLE_CLICK_FIELD, 20); break;
    case kChooseDragging: ChooseComboEntry(page, IDC_MOUSE_MODE, 2); break;
    case kChooseDelay2s: ChooseComboEntry(page, IDC_RIGHT_BUTTON_DELAY, 3); break;
    case kTypeDelay: {
        HWND combo = GetDlgItem(page, IDC_RIGHT_BUTTON_DELAY);
        SetWindowTextA(combo, " 5.0s");
        SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_RIGHT_BUTTON_DELAY, CBN_EDITCHANGE), reinterpret_cast<LPARAM>(combo));
        SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_RIGHT_BUTTON_DELAY, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
        break;
    }
    default: break;
    }
}

TEST(MouseModePage, ShowsAndStoresTheOddValues) {
    for (const MouseCase& c : kMouseCases) {
        SCOPED_TRACE(c.name);
        AppletRun run("MouseCases");
        run.StoreUsual();
        run.keys.driver.SetDword("ButtonMode", c.buttonMode);
        run.keys.driver.SetDword("RBNDelay", c.delay);
        run.keys.user.SetText("DoubleClickSpeed", c.speed);
        int shownMode = 99, speedThumb = 0, delaySelection = 99;
        std::string speedText;
        run.Open([&](CControlPanelDlg* d) {
            if (c.action != kNothing) ShowPage(d, kMousePage);
            HWND page = d->mousePage.Handle();
            shownMode = ComboSelection(page, IDC_MOUSE_MODE);
            speedThumb = TrackbarPosition(page, IDC_DOUBLE_CLICK_SPEED);
            speedText = TextOf(page, IDC_DOUBLE_CLICK_SPEED_TEXT);
            delaySelection = ComboSelection(page, IDC_RIGHT_BUTTON_DELAY);
            ActOnMousePage(page, c.action);
            Press(d, IDOK);
        });
        EXPECT_EQ(shownMode, c.shownMode);
        EXPECT_EQ(speedText, c.speedShown);
        EXPECT_EQ(speedThumb, c.speedThumb);
        if (c.delay == 40) {
            EXPECT_EQ(delaySelection, -1);
        }
        EXPECT_EQ(run.Stored("ButtonMode"), c.storedMode);
        EXPECT_EQ(run.keys.user.StoredText("DoubleClickSpeed"), std::string(c.storedSpeed) + '\0');
        EXPECT_EQ(run.Stored("RBNDelay"), c.storedDelay);
    }
}

TEST(MouseModePage, FieldThumbAtTheLeftEndWritesTwentyToHeightAndWidth) {
    AppletRun run("MouseField");
    run.StoreUsual();
    std::string fieldText;
    run.Open([&](CControlPanelDlg* d) {
        ShowPage(d, kMousePage);
        HWND page = d->mousePage.Handle();
        DragTrackbar(page, IDC_DOUBLE_CLICK_FIELD, 20);
        fieldText = TextOf(page, IDC_DOUBLE_CLICK_FIELD_TEXT);
        Press(d, IDOK);
    });
    EXPECT_EQ(fieldText, "20");
    EXPECT_EQ(run.keys.user.StoredText("DoubleClickHeight"), std::string("20", 3));
    EXPECT_EQ(run.keys.user.StoredText("DoubleClickWidth"), std::string("20", 3));
}

struct BeepCase {
    const char* name;
    int chooseIndex;  // -1: leave the combo alone
    bool driverAnswers;
    const char* expectedTail;
};

const BeepCase kBeepCases[] = {
    {"test beep at 5000 Hz, driver record restored", -1, true,
     "F2644 F2640(2,5000,32,0,0) F264C F2640(1,1500,40,7,9)"},
    {"beep index None still beeps", 0, true, "F2644 F2640(0,5000,32,0,0) F264C F2640(1,1500,40,7,9)"},
    {"no record to restore sends nothing made up", -1, false, "F2644 F2640(2,5000,32,0,0) F264C"},
};

TEST(BeepPage, DraggingShowsTheToneAndTheTestBeepRestoresTheDriver) {
    for (const BeepCase& c : kBeepCases) {
        SCOPED_TRACE(c.name);
        AppletRun run("Beep");
        run.StoreUsual();
        run.keys.driver.SetDword("BeepMode", 2);
        run.keys.driver.SetDword("BeepFreq", 2000);
        run.keys.driver.SetDword("BeepTime", 32);
        run.device.answerBeep = c.driverAnswers;
        run.device.beep = {1, 1500, 40, 7, 9};
        std::string toneBefore, durationBefore, toneDragged;
        int toneThumb = 0;
        size_t before = 0;
        run.Open([&](CControlPanelDlg* d) {
            ShowPage(d, kBeepPage);
            HWND page = d->beepPage.Handle();
            toneBefore = TextOf(page, IDC_BEEP_TONE_TEXT);
            durationBefore = TextOf(page, IDC_BEEP_DURATION_TEXT);
            toneThumb = TrackbarPosition(page, IDC_BEEP_TONE);
            DragTrackbar(page, IDC_BEEP_TONE, 5000);
            toneDragged = TextOf(page, IDC_BEEP_TONE_TEXT);
            if (c.chooseIndex >= 0) ChooseComboEntry(page, IDC_BEEP_MODE, c.chooseIndex);
            before = run.device.Requests().size();
            Click(page, IDC_BEEP_TEST);
            Press(d, IDOK);
        });
        EXPECT_EQ(toneBefore, "2000");
        EXPECT_EQ(durationBefore, "32");
        EXPECT_EQ(toneThumb, 2000);
        EXPECT_EQ(toneDragged, "5000");
        EXPECT_EQ(run.device.Log(before, c.driverAnswers ? 4 : 3), c.expectedTail);
        EXPECT_EQ(run.Stored("BeepFreq"), 5000u);
    }
}

}  // namespace
