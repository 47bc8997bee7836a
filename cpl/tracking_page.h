// A page whose track bars show their numbers in texts beside them, and that
// talks to the driver: the beep and mouse mode pages. Only the controls the
// user changed give their values back.
#ifndef KV_CPL_TRACKING_PAGE_H
#define KV_CPL_TRACKING_PAGE_H

#include <algorithm>
#include <vector>

#include "control_device.h"
#include "property_page.h"

class CTrackingPage : public CPropertyPage {
public:
    using CPropertyPage::CPropertyPage;

    kv::ControlDevice* device = nullptr;  // the applet's open control device

    // Whether the user has moved track bar ID or picked an entry of list ID
    // since the page was made.
    bool UserChanged(int id) const { return std::find(changed_.begin(), changed_.end(), id) != changed_.end(); }

protected:
    // Sets the number texts from the track bar values.
    virtual void ShowNumbers() = 0;

    // For DoDataExchange: whether control ID takes part in this exchange.
    // Every control shows its value, but only those the user changed are
    // read back: a value a control cannot show (outside a track bar's
    // range, in no entry of a list) survives a visit to the page.
    bool Exchanges(int id, bool save) const { return !save || UserChanged(id); }

    // Every movement, also while the thumb is dragged: the values come from
    // the controls, the texts follow the thumb.
    void OnHScroll(int code, int position, HWND control) override;

    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void NoteChange(int id) {
        if (!UserChanged(id)) changed_.push_back(id);
    }

    // A handful, searched in turn: the C++ library's tree code is not in
    // the programs (runtime/).
    std::vector<int> changed_;
};

#endif
