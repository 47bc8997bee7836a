// A page whose track bars show their numbers in texts beside them, and that
// talks to the driver: the beep and mouse mode pages.
#ifndef KV_CPL_TRACKING_PAGE_H
#define KV_CPL_TRACKING_PAGE_H

#include "control_device.h"
#include "property_page.h"

class CTrackingPage : public CPropertyPage {
public:
    using CPropertyPage::CPropertyPage;

    ControlDevice* device = nullptr;  // the applet's open control device

protected:
    // Sets the number texts from the track bar values.
    virtual void ShowNumbers() = 0;

    // Every movement, also while the thumb is dragged: the values come from
    // the controls, the texts follow the thumb.
    void OnHScroll(int code, int position, HWND control) override;
};

#endif
