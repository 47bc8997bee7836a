// A page of a property sheet or wizard, on a dialog template of the
// application's module. The tab text is the template's title.
#ifndef KV_FRAMEWORK_PROPERTY_PAGE_H
#define KV_FRAMEWORK_PROPERTY_PAGE_H

#include <windows.h>
#include <commctrl.h>

#include "dialog_window.h"

class CPropertySheet;

class CPropertyPage : public CDialogWindow {
public:
    explicit CPropertyPage(UINT templateId) : templateId_(templateId) {}

    UINT TemplateId() const { return templateId_; }
    CPropertySheet* Sheet() const { return sheet_; }

    // A wizard page's choice of Back, Next, Finish (PSWIZB_* flags).
    void SetWizardButtons(DWORD flags) { PropSheet_SetWizButtons(GetParent(Handle()), flags); }

    // The page as PropertySheetW takes it; used by CPropertySheet.
    void FillPageRecord(PROPSHEETPAGEW* record);
    void SetSheet(CPropertySheet* sheet) { sheet_ = sheet; }

protected:
    // The page becomes the current one. 0 shows it; -1 skips it (a wizard
    // moves on in the same direction); a template id jumps to that page.
    virtual LRESULT OnSetActive() { return 0; }
    // The page stops being current: the default takes the controls' values
    // into the members. False keeps the page current.
    virtual bool OnKillActive();
    // Wizard Next and Back: 0 goes on, -1 stays, a template id jumps.
    virtual LRESULT OnWizardNext() { return 0; }
    virtual LRESULT OnWizardBack() { return 0; }
    // Wizard Finish: false keeps the wizard open.
    virtual bool OnWizardFinish() { return true; }
    // OK of a modal sheet, once per created page: false keeps the sheet open.
    virtual bool OnApply() { return true; }
    // The sheet is cancelled: false keeps it open.
    virtual bool OnQueryCancel() { return true; }

    bool OnNotify(NMHDR* header, LRESULT* result) override;

private:
    static INT_PTR CALLBACK PageProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    UINT templateId_;
    CPropertySheet* sheet_ = nullptr;
};

#endif
