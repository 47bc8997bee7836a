// uninst.exe: asks for confirmation in its wizard and removes the package
// only when the user leaves it with Finish.
#include <windows.h>
#include <commctrl.h>

#include "app.h"
#include "os_version.h"
#include "package_paths.h"
#include "uninstall_work.h"
#include "wizard_sheet.h"

namespace {

class CUninstallApp : public CApp {
public:
    int InitInstance() override {
        InitCommonControls();
        CProSheet sheet(WizardProgram::Uninstaller);
        if (sheet.DoModal(nullptr) != ID_WIZFINISH) return FALSE;
        // The edition is its resources: every text that differs comes from them.
        RunUninstall(CheckOsVersion(), ProgramModulePath(), ResourceModule());
        return FALSE;
    }
};

CUninstallApp theApp;

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    return RunProgram();
}
