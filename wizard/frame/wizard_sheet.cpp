#include "wizard_sheet.h"

#include "app.h"
#include "wizard_ids.h"

// The uninstaller's welcome page is its only reachable page: it offers Finish.
static DWORD WelcomeButtons(WizardProgram program) {
    return program == WizardProgram::Installer ? PSWIZB_NEXT : PSWIZB_FINISH;
}

// The base class keeps the caption's address: the member holds the text for
// the sheet's life, filled before the sheet is shown.
CProSheet::CProSheet(WizardProgram program)
    : CPropertySheet(nullptr), caption_(LoadText(IDS_SHEET_CAPTION)), welcome_(WelcomeButtons(program)) {
    SetCaption(caption_.c_str());
    AddPage(&welcome_);
    if (program == WizardProgram::Installer) AddPage(&reboot_);
    AddPage(&complete_);
    SetWizardMode();
}
