// One opening of the applet: what the driver is told, what is stored on Ok
// and Cancel, where the dialog opens and how the sheet sits in it.
#include <gtest/gtest.h>

#include <algorithm>

#include "applet_run.h"

namespace {

TEST(AppletOpening, CancelStoresNothingButHandsTheDriverBack) {
    AppletRun run("Cancel");
    run.StoreUsual();
    run.keys.driver.SetDword("BeepFreq", 999);  // shown corrected, so a write would show
    EXPECT_EQ(run.Open([](CControlPanelDlg* d) { Press(d, IDCANCEL); }), 0);
    EXPECT_EQ(run.device.Log(), "F2648(272) F268C F2620 F2640(1,2000,100,0,0)");
    EXPECT_EQ(run.device.Closes(), 1);
    EXPECT_EQ(run.Stored("BeepFreq"), 999u);
    EXPECT_EQ(run.keys.user.StoredText("DoubleClickSpeed"), std::string("500", 4));
    EXPECT_EQ(run.keys.user.StoredText("DoubleClickWidth"), "<missing>");
    EXPECT_EQ(run.notice.shown, "");
}

TEST(AppletOpening, OkWithoutChangesStoresWhatWasShown) {
    AppletRun run("OkUntouched");
    run.StoreUsual();
    run.keys.driver.SetDword("BeepFreq", 6000);
    run.keys.driver.SetDword("ButtonMode", 0);
    run.keys.driver.SetDword("RBNDelay", 40);
    run.keys.driver.SetDword("DBScreenPos", 9);
    run.keys.user.SetText("DoubleClickSpeed", "200");
    run.keys.user.SetText("DoubleClickHeight", "20");
    run.Open([](CControlPanelDlg* d) { Press(d, IDOK); });
    EXPECT_EQ(run.device.Log(), "F2648(256) F268C F2690 F2648(256) F2620 F2640(1,2000,100,0,0)");
    const struct { const char* name; DWORD value; } expected[] = {
        {"BeepMode", 1}, {"BeepFreq", 2000}, {"BeepTime", 100}, {"MouseMode", 3},
        {"ButtonMode", 0}, {"DBScreenPos", 9}, {"RBNDelay", 40}};
    for (const auto& e : expected) EXPECT_EQ(run.Stored(e.name), e.value) << e.name;
    EXPECT_EQ(run.keys.user.StoredText("DoubleClickSpeed"), std::string("200", 4));
    EXPECT_EQ(run.keys.user.StoredText("DoubleClickHeight"), std::string("20", 3));
    EXPECT_EQ(run.keys.user.StoredText("DoubleClickWidth"), std::string("20", 3));
    EXPECT_EQ(GetDoubleClickTime(), 200u);
    EXPECT_EQ(run.applet.settings.ButtonMode, 256u) << "the field keeps the live mode value";
}

TEST(AppletOpening, WithoutParametersKeyTheDialogStillOpensWithBeepDefaults) {
    AppletRun run("NoParameters");
    run.keys.user.SetText("DoubleClickSpeed", "300");
    run.keys.driver.Remove();
    run.device.storeAccepted = false;  // the driver finds no key either
    run.Open([](CControlPanelDlg* d) { Press(d, IDOK); });
    EXPECT_EQ(run.notice.shown, "registry read fail | registry write fail");
    EXPECT_FALSE(run.keys.driver.Exists());
    EXPECT_EQ(run.keys.user.StoredText("DoubleClickSpeed"), std::string("300", 4));
    EXPECT_EQ(run.device.Log(run.device.Requests().size() - 1), "F2640(2,2000,32,0,0)");
}

TEST(AppletOpening, NoDriverMeansNoRegistryAndNoDialog) {
    AppletRun run("NoDriver");
    run.device.present = false;
    std::vector<SeenBox> seen;
    WindowScript closer([&] { return CloseMessageBoxes(&seen); });
    run.applet.script = [](CControlPanelDlg*) { ADD_FAILURE() << "the dialog must not open"; };
    EXPECT_EQ(run.applet.OnDblclk(nullptr, 0, 0), 0);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].title, L"Tip");
    EXPECT_TRUE(run.device.Requests().empty());
    EXPECT_EQ(run.notice.shown, "");
}

// Where the dialog's top-left corner is for each answer of the driver.
struct PlacementCase {
    const char* name;
    bool answered;
    uint32_t code;
    int xNum, xDen, yNum, yDen;  // 0/0: not moved
};

const PlacementCase kPlacements[] = {
    {"left half", true, 1, 1, 8, 1, 4},   {"right half", true, 2, 5, 8, 1, 4},
    {"top half", true, 3, 1, 4, 1, 8},    {"bottom half", true, 4, 1, 4, 5, 8},
    {"secondary monitor", true, 5, 5, 4, 1, 4}, {"single", true, 0, 0, 0, 0, 0},
    {"primary", true, 6, 0, 0, 0, 0},     {"unknown code", true, 77, 0, 0, 0, 0},
    {"no answer", false, 5, 0, 0, 0, 0},
};

TEST(ContainerDialog, OpensOverTheTouchScreensPartOfTheDesktop) {
    RECT desktop;
    GetClientRect(GetDesktopWindow(), &desktop);
    POINT unmoved = {-1, -1};
    for (const PlacementCase& c : kPlacements) {
        SCOPED_TRACE(c.name);
        AppletRun run("Placement");
        run.StoreUsual();
        run.device.answerScreenPos = c.answered;
        run.device.screenPos = c.code;
        RECT where = {};
        run.Open([&](CControlPanelDlg* d) {
            GetWindowRect(d->Handle(), &where);
            Press(d, IDCANCEL);
        });
        if (c.xDen) {
            EXPECT_EQ(where.left, c.xNum * desktop.right / c.xDen);
            EXPECT_EQ(where.top, c.yNum * desktop.bottom / c.yDen);
        } else if (unmoved.x < 0) {
            unmoved = {where.left, where.top};
        } else {
            EXPECT_EQ(where.left, unmoved.x);
            EXPECT_EQ(where.top, unmoved.y);
        }
    }
}

TEST(ContainerDialog, SecondaryMonitorOn1024x768) {
    RECT desktop;
    GetClientRect(GetDesktopWindow(), &desktop);
    if (desktop.right != 1024 || desktop.bottom != 768) GTEST_SKIP() << "display is not 1024 x 768";
    AppletRun run("Placement1024");
    run.device.screenPos = 5;
    RECT where = {};
    run.Open([&](CControlPanelDlg* d) {
        GetWindowRect(d->Handle(), &where);
        Press(d, IDCANCEL);
    });
    EXPECT_EQ(where.left, 1280);
    EXPECT_EQ(where.top, 192);
}

TEST(ContainerDialog, SheetIsEmbeddedAtTheFrameWithFiveTabs) {
    AppletRun run("Sheet");
    run.StoreUsual();
    HWND parent = nullptr;
    LONG_PTR style = 0, exStyle = 0;
    RECT sheetRect = {}, frame = {0, 1, 0, 0};
    int tabs = 0;
    std::vector<std::string> titles;
    run.Open([&](CControlPanelDlg* d) {
        HWND sheet = d->sheet.Handle();
        parent = GetParent(sheet);
        style = GetWindowLongPtrA(sheet, GWL_STYLE);
        exStyle = GetWindowLongPtrA(sheet, GWL_EXSTYLE);
        GetWindowRect(sheet, &sheetRect);
        MapWindowPoints(nullptr, d->Handle(), reinterpret_cast<POINT*>(&sheetRect), 2);
        MapDialogRect(d->Handle(), &frame);
        HWND tab = PropSheet_GetTabControl(sheet);
        tabs = TabCtrl_GetItemCount(tab);
        for (int i = 0; i < tabs; ++i) {
            char text[64] = "";
            TCITEMA item = {};
            item.mask = TCIF_TEXT;
            item.pszText = text;
            item.cchTextMax = sizeof text;
            SendMessageA(tab, TCM_GETITEMA, i, reinterpret_cast<LPARAM>(&item));
            titles.push_back(text);
        }
        Press(d, IDCANCEL);
    });
    EXPECT_NE(parent, nullptr);
    EXPECT_TRUE(style & WS_CHILD);
    EXPECT_TRUE(style & WS_VISIBLE);
    EXPECT_TRUE(style & WS_TABSTOP);
    EXPECT_TRUE(exStyle & WS_EX_CONTROLPARENT);
    EXPECT_EQ(sheetRect.left, frame.left + 10);
    EXPECT_EQ(sheetRect.top, std::max(frame.top - 7, 0L)) << "never above the client area";
    EXPECT_EQ(titles, (std::vector<std::string>{"Touch Points Calibration", "Beep Settings", "Mouse Mode",
                                                "Screen Placement", " About Kestiva"}));
}

}  // namespace
