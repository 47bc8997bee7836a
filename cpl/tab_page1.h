// The Touch Points Calibration page: when to calibrate, and a button that
// starts the calibration program. The About page has no behaviour.
#ifndef KV_CPL_TAB_PAGE1_H
#define KV_CPL_TAB_PAGE1_H

#include "calibration_launcher.h"
#include "property_page.h"

class TabPage1 : public CPropertyPage {
public:
    TabPage1();
    ProgramFilesPlace programFiles;

protected:
    bool OnCommand(int id, int code, HWND control) override;
};

class TabPage5 : public CPropertyPage {
public:
    TabPage5();
};

#endif
