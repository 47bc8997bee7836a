// uninst.exe: asks for confirmation in its wizard and removes the package
// only when the user leaves it with Finish.
#include <windows.h>
#include <commctrl.h>

#include "app.h"
#include "os_version.h"
#include "package_paths.h"
#include "uninstall_work.h"
#include "wizard_sheet.h"

#ifndef KV_EDITION_CHINESE
#define KV_EDITION_CHINESE 0
#endif

namespace {

class CUninstallApp : public CApp {
public:
    int InitInstance() override {
        InitCommonControls();
        CProSheet sheet(WizardProgram::Uninstaller);
        if (sheet.DoModal(nullptr) != ID_WIZFINISH) return FALSE;
        RunUninstall(CheckOsVersion(), ProgramModulePath(), KV_EDITION_CHINESE ? Edition::Chinese : Edition::English);
        return FALSE;
    }
};

CUninstallApp theApp;

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    return RunProgram();
}
