#include "wizard_pages.h"

#include <commctrl.h>

#include "wizard_ids.h"

int RebootRequested = 0;

namespace {

// Posts the wizard buttons FLAGS to the sheet that holds PAGE.
void PostWizardButtons(HWND page, DWORD flags) {
    PostMessageW(GetParent(page), PSM_SETWIZBUTTONS, 0, static_cast<LPARAM>(flags));
}

}  // namespace

CProWelcomePage::CProWelcomePage(DWORD buttons) : CPropertyPage(IDD_WELCOME), buttons_(buttons) {}

CProWelcomePage::~CProWelcomePage() {
    if (titleFont_) DeleteObject(titleFont_);
}

BOOL CProWelcomePage::OnInitDialog() {
    CPropertyPage::OnInitDialog();
    // SimSun by its Chinese name, which every system's font table knows.
    static const wchar_t kSimSun[] = L"\u5B8B\u4F53";
    LOGFONTW font = {};
    font.lfHeight = -24;
    lstrcpynW(font.lfFaceName, kSimSun, LF_FACESIZE);
    if (!titleFont_) titleFont_ = CreateFontIndirectW(&font);
    SendDlgItemMessageW(Handle(), IDC_WELCOME_TITLE, WM_SETFONT, reinterpret_cast<WPARAM>(titleFont_), TRUE);
    return TRUE;
}

LRESULT CProWelcomePage::OnSetActive() {
    PostWizardButtons(Handle(), buttons_);
    return CPropertyPage::OnSetActive();
}

CProReboot::CProReboot() : CPropertyPage(IDD_REBOOT) {}

void CProReboot::DoDataExchange(bool /*save*/) {
    checkBox_ = Item(IDC_REBOOT_CHECK);
}

LRESULT CProReboot::OnSetActive() {
    PostWizardButtons(Handle(), PSWIZB_BACK | PSWIZB_NEXT);
    return CPropertyPage::OnSetActive();
}

bool CProReboot::OnCommand(int id, int code, HWND /*control*/) {
    if (id != IDC_REBOOT_CHECK || code != BN_CLICKED) return false;
    RebootRequested = SendMessageW(checkBox_ ? checkBox_ : Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
    return true;
}

CProCompletePage::CProCompletePage() : CPropertyPage(IDD_COMPLETE) {}

LRESULT CProCompletePage::OnSetActive() {
    PostWizardButtons(Handle(), PSWIZB_BACK | PSWIZB_FINISH);
    return CPropertyPage::OnSetActive();
}

bool CProCompletePage::OnWizardFinish() {
    PostWizardButtons(Handle(), PSWIZB_DISABLEDFINISH);
    return CPropertyPage::OnWizardFinish();
}
