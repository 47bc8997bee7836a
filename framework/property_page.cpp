// Property page: turns the sheet's notifications into virtual calls.
#include "property_page.h"

#include "app.h"
#include "property_sheet.h"

void CPropertyPage::FillPageRecord(PROPSHEETPAGEW* record) {
    ZeroMemory(record, sizeof *record);
    record->dwSize = sizeof *record;
    record->dwFlags = PSP_DEFAULT;
    record->hInstance = CApp::ResourceModule();
    record->pszTemplate = MAKEINTRESOURCEW(templateId_);
    record->pfnDlgProc = PageProc;
    record->lParam = reinterpret_cast<LPARAM>(this);
}

bool CPropertyPage::OnKillActive() {
    UpdateData(true);
    return true;
}

bool CPropertyPage::OnNotify(NMHDR* header, LRESULT* result) {
    // Only the sheet's own notifications (the page's parent); the page's
    // controls notify too.
    if (!sheet_ || header->hwndFrom != GetParent(Handle())) return false;
    switch (header->code) {
    case PSN_SETACTIVE:
        *result = OnSetActive();
        return true;
    case PSN_KILLACTIVE:
        *result = OnKillActive() ? FALSE : TRUE;
        return true;
    case PSN_WIZNEXT:
        *result = OnWizardNext();
        return true;
    case PSN_WIZBACK:
        *result = OnWizardBack();
        return true;
    case PSN_WIZFINISH: {
        bool finish = OnWizardFinish();
        if (finish) sheet_->NoteEnd(ID_WIZFINISH);
        *result = finish ? FALSE : TRUE;
        return true;
    }
    case PSN_APPLY: {
        bool applied = OnApply();
        if (applied) sheet_->NoteEnd(IDOK);
        *result = applied ? PSNRET_NOERROR : PSNRET_INVALID_NOCHANGEPAGE;
        return true;
    }
    case PSN_QUERYCANCEL:
        *result = OnQueryCancel() ? FALSE : TRUE;
        return true;
    default:
        return false;
    }
}

INT_PTR CALLBACK CPropertyPage::PageProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CPropertyPage* self = nullptr;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<CPropertyPage*>(reinterpret_cast<PROPSHEETPAGEW*>(lParam)->lParam);
    }
    return Route(self, hwnd, message, wParam, lParam);
}
