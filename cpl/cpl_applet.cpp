// The applet object and the control panel's messages.
#include "cpl_applet.h"

namespace {
CCplApplet* g_registered = nullptr;
}

CCplApplet::CCplApplet() { g_registered = this; }

CCplApplet::~CCplApplet() {
    if (g_registered == this) g_registered = nullptr;
}

CCplApplet* CCplApplet::Registered() { return g_registered; }

LONG DispatchAppletMessage(CCplApplet* applet, HWND panel, UINT message, LPARAM param1, LPARAM param2) {
    if (!applet) return message == CPL_INIT ? 0 : 1;  // not ready: refuse to start
    switch (message) {
    case CPL_INIT: return applet->OnInit();
    case CPL_GETCOUNT: return applet->OnGetCount();
    case CPL_INQUIRE: return 0;  // the record is left alone: NEWINQUIRE answers
    case CPL_SELECT: return applet->OnSelect(param1, param2);
    case CPL_DBLCLK: return applet->OnDblclk(panel, param1, param2);
    case CPL_STOP: return applet->OnStop(param1, param2);
    case CPL_EXIT: return applet->OnExit();
    case CPL_NEWINQUIRE: return applet->OnNewInquire(param1, reinterpret_cast<NEWCPLINFOW*>(param2));
    // The applet takes no start parameters: 0 says "not handled", so the
    // control panel opens it with CPL_DBLCLK instead (Wine always asks).
    case CPL_STARTWPARMSA:
    case CPL_STARTWPARMSW: return 0;
    default: return 1;
    }
}
