// The container as the edition's resources and the system's fonts make it,
// judged from the real windows: the sheet and both buttons within the
// client area, nothing over Ok or Cancel. Built once per edition.
#include <gtest/gtest.h>

#include "applet_run.h"

namespace {

// A child's rectangle in its parent's client coordinates.
RECT ChildRect(HWND child) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

bool Within(const RECT& inner, const RECT& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

// The visible children of DIALOG other than BUTTON that overlap it.
int CoveringChildren(HWND dialog, HWND button) {
    const RECT target = ChildRect(button);
    int covering = 0;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT other = ChildRect(child), overlap;
        if (child != button && IsWindowVisible(child) && IntersectRect(&overlap, &other, &target)) ++covering;
    }
    return covering;
}

TEST(ContainerDialog, HoldsItsSheetWithOkAndCancelInSight) {
    AppletRun run("Layout");
    run.StoreUsual();
    run.Open([](CControlPanelDlg* d) {
        RECT client;
        GetClientRect(d->Handle(), &client);
        EXPECT_TRUE(Within(ChildRect(d->sheet.Handle()), client)) << "the sheet runs past the dialog";
        for (int id : {IDOK, IDCANCEL}) {
            EXPECT_TRUE(Within(ChildRect(d->Item(id)), client)) << "button " << id << " lies outside";
            EXPECT_EQ(CoveringChildren(d->Handle(), d->Item(id)), 0) << "button " << id << " is covered";
        }
        EXPECT_LT(ChildRect(d->Item(IDOK)).right, ChildRect(d->Item(IDCANCEL)).left) << "Ok comes before Cancel";
        Press(d, IDCANCEL);
    });
}

}  // namespace
