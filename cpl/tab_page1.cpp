// The Touch Points Calibration page and the About page.
#include "tab_page1.h"

#include "../resources/cpl_ids.h"

TabPage1::TabPage1() : CPropertyPage(IDD_CALIBRATION_PAGE), programFiles(kSystemProgramFiles) {}

bool TabPage1::OnCommand(int id, int code, HWND control) {
    if (id == IDC_CALIBRATE && code == BN_CLICKED) {
        StartCalibration(Handle(), programFiles);
        return true;
    }
    return CPropertyPage::OnCommand(id, code, control);
}

TabPage5::TabPage5() : CPropertyPage(IDD_ABOUT_PAGE) {}
