#include "wizard_sheet.h"

#include "app.h"
#include "wizard_ids.h"

// The caption buffer is filled before the base class keeps its address.
static const char* LoadCaption(char* buffer, int size) {
    return LoadText(IDS_SHEET_CAPTION, buffer, size);
}

CProSheet::CProSheet()
    : CPropertySheet(LoadCaption(caption_, sizeof caption_)), welcome_(PSWIZB_NEXT) {
    AddPage(&welcome_);
    AddPage(&reboot_);
    AddPage(&complete_);
    SetWizardMode();
}
