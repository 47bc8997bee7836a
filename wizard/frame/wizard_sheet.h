// The wizard of the installer (welcome, restart choice, completion) and of
// the uninstaller (welcome offering Finish, completion).
#pragma once

#include <string>

#include "property_sheet.h"
#include "wizard_pages.h"

enum class WizardProgram { Installer, Uninstaller };

class CProSheet : public CPropertySheet {
public:
    explicit CProSheet(WizardProgram program);

private:
    std::wstring caption_;
    CProWelcomePage welcome_;
    CProReboot reboot_;
    CProCompletePage complete_;
};
