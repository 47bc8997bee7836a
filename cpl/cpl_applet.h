// A control panel applet object and the dispatch of the control panel's
// messages to it. One applet object registers itself per process.
#ifndef KV_CPL_CPL_APPLET_H
#define KV_CPL_CPL_APPLET_H

#include <windows.h>
#include <cpl.h>

class CCplApplet {
public:
    CCplApplet();
    virtual ~CCplApplet();
    CCplApplet(const CCplApplet&) = delete;
    CCplApplet& operator=(const CCplApplet&) = delete;

    // Each answer goes back to the control panel unchanged.
    virtual LONG OnDblclk(HWND /*panel*/, LPARAM /*applet*/, LPARAM /*data*/) { return 0; }
    virtual LONG OnExit() { return 0; }
    virtual LONG OnGetCount() { return 1; }
    virtual LONG OnInit() { return 1; }
    virtual LONG OnNewInquire(LPARAM /*applet*/, NEWCPLINFOW* /*info*/) { return 0; }
    virtual LONG OnSelect(LPARAM /*applet*/, LPARAM /*data*/) { return 1; }
    virtual LONG OnStop(LPARAM /*applet*/, LPARAM /*data*/) { return 1; }

    // The applet the control panel talks to, or null.
    static CCplApplet* Registered();
};

// What CPlApplet answers for MESSAGE, sent to APPLET.
LONG DispatchAppletMessage(CCplApplet* applet, HWND panel, UINT message, LPARAM param1, LPARAM param2);

#endif
