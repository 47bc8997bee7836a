// The library's entry: the application object that owns the applet, and
// the CPlApplet export the control panel calls.
#include "app.h"
#include "cpl_applet.h"
#include "settings_applet.h"

namespace {

class CCplApp : public CApp {
public:
    CSettingsApplet applet;
};

CCplApp theApp;

}  // namespace

extern "C" __declspec(dllexport) LONG APIENTRY CPlApplet(HWND panel, UINT message, LPARAM param1, LPARAM param2) {
    return DispatchAppletMessage(CCplApplet::Registered(), panel, message, param1, param2);
}
