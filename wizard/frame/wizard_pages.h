// The wizard's pages: welcome, restart choice (installer only), completion.
#pragma once

#include <windows.h>

#include "property_page.h"

// 1 when the user left the restart box checked; read after the wizard.
extern int RebootRequested;

// First page: the title in a large SimSun font; offers NEXTBUTTONS.
class CProWelcomePage : public CPropertyPage {
public:
    explicit CProWelcomePage(DWORD buttons);
    ~CProWelcomePage() override;

protected:
    BOOL OnInitDialog() override;
    LRESULT OnSetActive() override;

private:
    DWORD buttons_;
    HFONT titleFont_ = nullptr;
};

// The restart choice, kept in RebootRequested.
class CProReboot : public CPropertyPage {
public:
    CProReboot();

protected:
    void DoDataExchange(bool save) override;
    LRESULT OnSetActive() override;
    bool OnCommand(int id, int code, HWND control) override;

private:
    HWND checkBox_ = nullptr;
};

// Last page: Finish is disabled once pressed so it cannot run twice.
class CProCompletePage : public CPropertyPage {
public:
    CProCompletePage();

protected:
    LRESULT OnSetActive() override;
    bool OnWizardFinish() override;
};
