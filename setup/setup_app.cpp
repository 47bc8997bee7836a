// setup.exe: checks the system, shows the wizard, and installs only when the
// user leaves it with Finish.
#include <windows.h>
#include <commctrl.h>

#include "app.h"
#include "install_work.h"
#include "os_version.h"
#include "package_paths.h"
#include "wizard_sheet.h"

namespace {

class CSetupApp : public CApp {
public:
    int InitInstance() override {
        InitCommonControls();
        OsClass os = CheckOsVersion();
        if (os == OS_UNSUPPORTED) {
            ShowUnsupportedSystemMessage(ResourceModule());
            return FALSE;
        }
        CProSheet sheet(WizardProgram::Installer);
        if (sheet.DoModal(nullptr) != ID_WIZFINISH) return FALSE;
        // The edition is its resources: every text that differs comes from them.
        RunInstallation(os, ProgramModuleFolder(), RebootRequested == 1, ResourceModule());
        return FALSE;
    }
};

CSetupApp theApp;

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    return RunProgram();
}
