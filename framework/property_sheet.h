// A property sheet: modal (with tabs or as a wizard) or embedded as a child
// window of a dialog. Pages are owned by the caller and must outlive it.
#ifndef KV_FRAMEWORK_PROPERTY_SHEET_H
#define KV_FRAMEWORK_PROPERTY_SHEET_H

#include <windows.h>
#include <commctrl.h>

#include <vector>

// The wizard's Finish button, and what DoModal returns when it ended a wizard.
#ifndef ID_WIZFINISH
#define ID_WIZFINISH 0x3025
#endif

class CPropertyPage;

class CPropertySheet {
public:
    explicit CPropertySheet(const wchar_t* caption = nullptr) : caption_(caption) {}
    virtual ~CPropertySheet();
    CPropertySheet(const CPropertySheet&) = delete;
    CPropertySheet& operator=(const CPropertySheet&) = delete;

    void AddPage(CPropertyPage* page);
    // CAPTION must live as long as the sheet.
    void SetCaption(const wchar_t* caption) { caption_ = caption; }
    CPropertyPage* Page(int index) const { return pages_[index]; }

    // Back/Next/Finish buttons instead of tabs, for DoModal.
    void SetWizardMode() { wizard_ = true; }

    // Runs the sheet modally. Returns ID_WIZFINISH when a wizard ended with
    // Finish, IDOK when a tabbed sheet ended with OK, IDCANCEL otherwise,
    // and -1 when it could not be shown. (PropertySheet itself answers only
    // whether something changed.)
    INT_PTR DoModal(HWND parent);

    // Creates the sheet as a modeless child of PARENT with STYLE (WS_CHILD
    // included) and EXSTYLE, without buttons of its own and cut to its tab
    // control, on the first page. False when it could not be created.
    bool Create(HWND parent, DWORD style, DWORD exStyle);

    // The sheet's window while it exists (an embedded sheet goes with its
    // dialog), else null.
    HWND Handle() const { return hwnd_ && IsWindow(hwnd_) ? hwnd_ : nullptr; }

    // Called by a page when Finish or OK is accepted.
    void NoteEnd(INT_PTR code) { endedBy_ = code; }

private:
    void FillHeader(PROPSHEETHEADERW* header, HWND parent, std::vector<PROPSHEETPAGEW>* records);
    void RemoveButtons();

    const wchar_t* caption_;
    std::vector<CPropertyPage*> pages_;
    bool wizard_ = false;
    HWND hwnd_ = nullptr;
    INT_PTR endedBy_ = IDCANCEL;
};

#endif
