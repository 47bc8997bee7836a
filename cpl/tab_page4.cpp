// The Screen Placement page.
#include "tab_page4.h"

#include "../resources/cpl_ids.h"
#include "kvshared.h"
#include "settings_rules.h"

int32_t g_lastMonitorCode = 0;

BOOL CALLBACK MonitorEnumProc(HMONITOR monitor, HDC, LPRECT, LPARAM) {
    MONITORINFOEXA info;
    ZeroMemory(&info, sizeof info);
    info.cbSize = sizeof info;
    GetMonitorInfoA(monitor, &info);
    info.szDevice[sizeof info.szDevice - 1] = '\0';
    g_lastMonitorCode = MonitorCodeForName(info.szDevice);
    return TRUE;
}

TabPage4::TabPage4() : CPropertyPage(IDD_PLACEMENT_PAGE) {}

int32_t ProbeDisplayMonitors() {
    EnumDisplayMonitors(nullptr, nullptr, MonitorEnumProc, 0);
    return GetSystemMetrics(SM_CMONITORS);
}

// One monitor (or none known) is a single-monitor desktop, whatever its name.
BOOL TabPage4::OnInitDialog() {
    CPropertyPage::OnInitDialog();
    if (probeMonitors() <= 1) {
        for (int id = IDC_PLACE_PRIMARY; id <= IDC_PLACE_BOTTOM; ++id) EnableWindow(Item(id), FALSE);
    } else {
        EnableWindow(Item(IDC_PLACE_SINGLE), FALSE);
        if (placementCode == DBSCREENPOS_SINGLE) placementCode = DBSCREENPOS_PRIMARY;
    }
    const int checked = ButtonForPlacement(placementCode);
    for (int id = IDC_PLACE_SINGLE; id <= IDC_PLACE_BOTTOM; ++id) {
        CheckDlgButton(Handle(), id, id == checked ? BST_CHECKED : BST_UNCHECKED);
    }
    UpdateData(false);
    return TRUE;
}

bool TabPage4::OnCommand(int id, int code, HWND control) {
    if (id < IDC_PLACE_SINGLE || id > IDC_PLACE_BOTTOM || code != BN_CLICKED) {
        return CPropertyPage::OnCommand(id, code, control);
    }
    placementCode = 0;
    for (int button = IDC_PLACE_SINGLE; button <= IDC_PLACE_BOTTOM; ++button) {
        if (IsDlgButtonChecked(Handle(), button) == BST_CHECKED) {
            placementCode = PlacementForButton(button);
            break;
        }
    }
    return true;
}
