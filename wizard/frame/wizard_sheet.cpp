#include "wizard_sheet.h"

#include "app.h"
#include "wizard_ids.h"

// The caption buffer is filled before the base class keeps its address.
static const char* LoadCaption(char* buffer, int size) {
    return LoadText(IDS_SHEET_CAPTION, buffer, size);
}

// The uninstaller's welcome page is its only reachable page: it offers Finish.
static DWORD WelcomeButtons(WizardProgram program) {
    return program == WizardProgram::Installer ? PSWIZB_NEXT : PSWIZB_FINISH;
}

CProSheet::CProSheet(WizardProgram program)
    : CPropertySheet(LoadCaption(caption_, sizeof caption_)), welcome_(WelcomeButtons(program)) {
    AddPage(&welcome_);
    if (program == WizardProgram::Installer) AddPage(&reboot_);
    AddPage(&complete_);
    SetWizardMode();
}
