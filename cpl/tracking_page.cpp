// Track bar pages: texts that follow the thumbs.
#include "tracking_page.h"

void CTrackingPage::OnHScroll(int code, int position, HWND control) {
    UpdateData(true);
    ShowNumbers();
    UpdateData(false);
    CPropertyPage::OnHScroll(code, position, control);
}
