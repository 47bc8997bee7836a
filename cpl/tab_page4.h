// The Screen Placement page: where the touch screen lies on a two-monitor
// desktop. Offers the single-monitor choice or the dual-monitor ones, by
// the number of display monitors.
#ifndef KV_CPL_TAB_PAGE4_H
#define KV_CPL_TAB_PAGE4_H

#include <stdint.h>

#include "property_page.h"

// Describes the last monitor enumerated: 1 to 3 for \\.\DISPLAY1 to 3,
// 4 for any other name, 0 before any enumeration. It names a monitor, it
// does not count them: a lone monitor may be \\.\DISPLAY2 or higher.
extern int32_t g_lastMonitorCode;
BOOL CALLBACK MonitorEnumProc(HMONITOR monitor, HDC dc, LPRECT rect, LPARAM data);
// Enumerates the desktop's monitors (noting the last one's name) and
// returns how many display monitors it has; mirroring drivers' invisible
// pseudo-monitors, which the enumeration also visits, do not count.
int32_t ProbeDisplayMonitors();

class TabPage4 : public CPropertyPage {
public:
    TabPage4();

    uint32_t placementCode = 0;  // DBScreenPos, handed in and read back

    // ProbeDisplayMonitors; tests stand in a desktop of their own.
    int32_t (*probeMonitors)() = ProbeDisplayMonitors;

protected:
    BOOL OnInitDialog() override;
    bool OnCommand(int id, int code, HWND control) override;
};

#endif
