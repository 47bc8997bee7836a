// Property sheet: modal, wizard and embedded child.
#include "property_sheet.h"

#include "app.h"
#include "dialog_template_font.h"
#include "property_page.h"

namespace {

// The styles a child sheet's template is given before the window is made.
// PropertySheet's callback has no context argument; sheets are created one
// at a time on the user-interface thread, so one slot serves.
DWORD g_childStyle = 0;
DWORD g_childExStyle = 0;

// Rewrites the sheet's own dialog template (a writable copy) into a child
// window's: without a caption or frame, with the requested styles.
int CALLBACK ChildSheetCallback(HWND /*hwnd*/, UINT message, LPARAM lParam) {
    if (message != PSCB_PRECREATE || lParam == 0) return 0;
    const DWORD removed = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | DS_MODALFRAME |
                          DS_CONTEXTHELP | WS_VISIBLE | WS_DISABLED;
    WORD* words = reinterpret_cast<WORD*>(lParam);
    if (words[1] == 0xFFFF) {
        // DLGTEMPLATEEX: version, signature, help id, extended style, style.
        DWORD* fields = reinterpret_cast<DWORD*>(words + 2);
        fields[1] = g_childExStyle;
        fields[2] = (fields[2] & ~removed) | g_childStyle;
    } else {
        DLGTEMPLATE* dialog = reinterpret_cast<DLGTEMPLATE*>(lParam);
        dialog->style = (dialog->style & ~removed) | g_childStyle;
        dialog->dwExtendedStyle = g_childExStyle;
    }
    return 0;
}

// The point size of the modal sheet's pages. The sheet sizes its page area in
// dialog units of its own font: pages in a larger font than the system's
// sheet font would be cut off at the right and the bottom, so the sheet
// takes their size (its face stays the system's shell font).
WORD g_pageFontSize = 0;

int CALLBACK ModalSheetCallback(HWND /*hwnd*/, UINT message, LPARAM lParam) {
    if (message != PSCB_PRECREATE || lParam == 0 || g_pageFontSize == 0) return 0;
    // The callback is not told the copy's length; the walk stops at the
    // font of comctl32's own template, well within this bound.
    const size_t kSheetHeaderBound = 512;
    WORD* size = DialogFontSizeField(reinterpret_cast<void*>(lParam), kSheetHeaderBound);
    if (size) *size = g_pageFontSize;
    return 0;
}

}  // namespace

CPropertySheet::~CPropertySheet() {
    if (hwnd_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);
}

void CPropertySheet::AddPage(CPropertyPage* page) {
    page->SetSheet(this);
    pages_.push_back(page);
}

void CPropertySheet::FillHeader(PROPSHEETHEADERW* header, HWND parent, std::vector<PROPSHEETPAGEW>* records) {
    EnsureCommonControls();
    records->resize(pages_.size());
    for (size_t i = 0; i < pages_.size(); ++i) pages_[i]->FillPageRecord(&(*records)[i]);
    ZeroMemory(header, sizeof *header);
    header->dwSize = sizeof *header;
    header->dwFlags = PSH_PROPSHEETPAGE | PSH_NOAPPLYNOW;
    header->hwndParent = parent;
    header->hInstance = CApp::ResourceModule();
    header->pszCaption = caption_ ? caption_ : L"";
    header->nPages = static_cast<UINT>(records->size());
    header->ppsp = records->data();
}

INT_PTR CPropertySheet::DoModal(HWND parent) {
    std::vector<PROPSHEETPAGEW> records;
    PROPSHEETHEADERW header;
    FillHeader(&header, parent, &records);
    if (wizard_) header.dwFlags |= PSH_WIZARD;
    header.dwFlags |= PSH_USECALLBACK;
    header.pfnCallback = ModalSheetCallback;
    g_pageFontSize = pages_.empty() ? 0 : ResourceDialogFontSize(CApp::ResourceModule(), pages_[0]->TemplateId());
    endedBy_ = IDCANCEL;
    INT_PTR shown = PropertySheetW(&header);
    g_pageFontSize = 0;
    hwnd_ = nullptr;
    return shown < 0 ? -1 : endedBy_;
}

bool CPropertySheet::Create(HWND parent, DWORD style, DWORD exStyle) {
    std::vector<PROPSHEETPAGEW> records;
    PROPSHEETHEADERW header;
    FillHeader(&header, parent, &records);
    header.dwFlags |= PSH_MODELESS | PSH_USECALLBACK;
    header.pfnCallback = ChildSheetCallback;
    g_childStyle = style;
    g_childExStyle = exStyle;
    INT_PTR created = PropertySheetW(&header);
    g_childStyle = g_childExStyle = 0;
    if (created == 0 || created == -1) return false;
    hwnd_ = reinterpret_cast<HWND>(created);
    RemoveButtons();
    return true;
}

// An embedded sheet answers to its dialog's buttons only: its own are hidden
// and the strip that held them is cut off, so it covers nothing below.
void CPropertySheet::RemoveButtons() {
    static const int kButtons[] = {IDOK, IDCANCEL, IDHELP, 0x3021 /* Apply */};
    for (int id : kButtons) {
        HWND button = GetDlgItem(hwnd_, id);
        if (button) {
            ShowWindow(button, SW_HIDE);
            EnableWindow(button, FALSE);
        }
    }
    HWND tabs = PropSheet_GetTabControl(hwnd_);
    RECT tabRect, sheetRect;
    if (!tabs || !GetWindowRect(tabs, &tabRect) || !GetWindowRect(hwnd_, &sheetRect)) return;
    int margin = tabRect.left - sheetRect.left;
    SetWindowPos(hwnd_, nullptr, 0, 0, sheetRect.right - sheetRect.left, tabRect.bottom - sheetRect.top + margin,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}
