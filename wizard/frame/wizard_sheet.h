// The installer's wizard: welcome, restart choice, completion.
#pragma once

#include "property_sheet.h"
#include "wizard_pages.h"

class CProSheet : public CPropertySheet {
public:
    CProSheet();

private:
    char caption_[128];
    CProWelcomePage welcome_;
    CProReboot reboot_;
    CProCompletePage complete_;
};
