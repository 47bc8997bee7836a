// The applet's dialog: an embedded sheet of the five pages with Ok and
// Cancel below it, sized to the sheet and opened over the part of the
// desktop the touch screen shows.
#ifndef KV_CPL_CONTROL_PANEL_DLG_H
#define KV_CPL_CONTROL_PANEL_DLG_H

#include "control_device.h"
#include "dialog.h"
#include "property_sheet.h"
#include "tab_page1.h"
#include "tab_page2.h"
#include "tab_page3.h"
#include "tab_page4.h"

class CControlPanelDlg : public CDialog {
public:
    explicit CControlPanelDlg(HWND parent);

    kv::ControlDevice* device = nullptr;
    TabPage1 calibrationPage;
    TabPage2 beepPage;
    TabPage3 mousePage;
    TabPage4 placementPage;
    TabPage5 aboutPage;
    CPropertySheet sheet;  // after the pages: its window goes first

protected:
    BOOL OnInitDialog() override;

private:
    void MoveOverTouchScreen();
    void EmbedSheet();
    void FitToSheet();
    // A child's rectangle in this dialog's client coordinates.
    RECT ChildRect(HWND child) const;
};

#endif
