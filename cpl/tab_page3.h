// The Mouse Mode page: the controller's click mode (sent to the driver at
// once), the double-click field and speed, and the right-button delay.
#ifndef KV_CPL_TAB_PAGE3_H
#define KV_CPL_TAB_PAGE3_H

#include <stdint.h>

#include <string>

#include "tracking_page.h"

class TabPage3 : public CTrackingPage {
public:
    TabPage3();

    // Handed in before the dialog runs and read back after Ok.
    int modeIndex = -1;   // 0 click on touch up, 1 on touch down, 2 dragging
    int field = 0;        // DoubleClickHeight in pixels
    int speed = 0;        // DoubleClickSpeed in ms
    std::wstring fieldText;
    std::wstring speedText;
    uint32_t delayCode = 0;  // RBNDelay

protected:
    void DoDataExchange(bool save) override;
    BOOL OnInitDialog() override;
    bool OnCommand(int id, int code, HWND control) override;
    void ShowNumbers() override;

private:
    void FillDelayList();
    void OnSelchangeMouseMode();
    void OnSelchangeRbnDelay();
};

#endif
