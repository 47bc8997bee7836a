// Pages and dialogs that record what the framework calls, and act on a
// script, so the framework tests drive real windows without blocking.
#ifndef KV_TESTS_FRAMEWORK_TEST_PAGES_H
#define KV_TESTS_FRAMEWORK_TEST_PAGES_H

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "ddx.h"
#include "dialog.h"
#include "framework_test_ids.h"
#include "property_page.h"
#include "property_sheet.h"

// A wizard page that logs its hooks ("active1", "next1", ...) and presses a
// sheet button when it becomes current. Buttons are posted, so they act
// after the sheet has finished showing the page.
class ScriptedPage : public CPropertyPage {
public:
    ScriptedPage(UINT templateId, const char* name, std::string* log) : CPropertyPage(templateId), name_(name), log_(log) {}

    int pressOnActive = 0;       // PSBTN_* to press at each activation; 0 none
    int refuseFinishCount = 0;   // Finish attempts to refuse before accepting
    int refuseNextCount = 0;     // Next attempts to refuse before going on

protected:
    LRESULT OnSetActive() override {
        Note("active");
        SetWizardButtons(PSWIZB_BACK | PSWIZB_NEXT | PSWIZB_FINISH);
        if (pressOnActive) PostMessageA(GetParent(Handle()), PSM_PRESSBUTTON, pressOnActive, 0);
        return 0;
    }
    LRESULT OnWizardNext() override {
        Note("next");
        if (refuseNextCount > 0) {
            --refuseNextCount;
            PostMessageA(GetParent(Handle()), PSM_PRESSBUTTON, PSBTN_NEXT, 0);
            return -1;
        }
        return 0;
    }
    bool OnWizardFinish() override {
        Note("finish");
        if (refuseFinishCount > 0) {
            --refuseFinishCount;
            PostMessageA(GetParent(Handle()), PSM_PRESSBUTTON, PSBTN_FINISH, 0);
            return false;
        }
        return true;
    }

private:
    void Note(const char* what) {
        if (!log_->empty()) *log_ += ' ';
        *log_ += what;
        *log_ += name_;
    }
    const char* name_;
    std::string* log_;
};

// A page with one control of each exchange kind.
class ExchangePage : public CPropertyPage {
public:
    ExchangePage() : CPropertyPage(IDD_STEP_ONE) {}
    int index = 0;
    int position = 0;
    std::wstring text;

protected:
    BOOL OnInitDialog() override {
        const char* items[] = {"zero", "one", "two"};
        for (const char* item : items) SendDlgItemMessageA(Handle(), IDC_COMBO, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
        SendDlgItemMessageA(Handle(), IDC_TRACKBAR, TBM_SETRANGE, TRUE, MAKELPARAM(20, 200));
        return CPropertyPage::OnInitDialog();
    }
    void DoDataExchange(bool save) override {
        DdxComboIndex(Handle(), IDC_COMBO, index, save);
        DdxTrackbarPos(Handle(), IDC_TRACKBAR, position, save);
        DdxText(Handle(), IDC_TEXT, text, save);
    }
};

// A dialog that embeds a sheet at its frame control and then runs ACTION.
class HostDialog : public CDialog {
public:
    explicit HostDialog(void (*action)(HostDialog*)) : CDialog(IDD_HOST), action_(action) {}
    CPropertySheet sheet;
    bool created = false;

protected:
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        created = sheet.Create(Handle(), WS_CHILD | WS_VISIBLE, 0);
        action_(this);
        return TRUE;
    }

private:
    void (*action_)(HostDialog*);
};

#endif
