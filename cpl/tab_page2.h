// The Beep Settings page: when the driver beeps, its tone and duration,
// and a button that sounds the chosen beep at once.
#ifndef KV_CPL_TAB_PAGE2_H
#define KV_CPL_TAB_PAGE2_H

#include <string>

#include "tracking_page.h"

class TabPage2 : public CTrackingPage {
public:
    TabPage2();

    // Handed in before the dialog runs and read back after Ok.
    int beepIndex = 0;  // BeepMode: 0 never, 1 touch down, 2 touch up
    int duration = 0;   // BeepTime in ms
    int tone = 0;       // BeepFreq in Hz
    std::wstring toneText;
    std::wstring durationText;

protected:
    void DoDataExchange(bool save) override;
    BOOL OnInitDialog() override;
    bool OnCommand(int id, int code, HWND control) override;
    void ShowNumbers() override;

private:
    void OnTestBeep();
};

#endif
