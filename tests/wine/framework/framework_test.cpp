// The dialog framework with real windows under Wine: wizards driven to
// Finish and Cancel, a sheet embedded in a dialog, data exchange both ways.
#include <gtest/gtest.h>

#include "test_pages.h"

#include <vector>

#include "dialog_template_font.h"
#include "edition_texts.h"

namespace {

struct WizardCase {
    const char* name;
    int firstPress;       // button page one presses
    int secondPress;      // button page two presses
    int refuseNext;       // refusals of Next on page one
    int refuseFinish;     // refusals of Finish on page two
    INT_PTR expectedResult;
    const char* expectedLog;
};

const WizardCase kWizardCases[] = {
    {"next then finish", PSBTN_NEXT, PSBTN_FINISH, 0, 0, ID_WIZFINISH, "active1 next1 active2 finish2"},
    {"cancel on first page", PSBTN_CANCEL, 0, 0, 0, IDCANCEL, "active1"},
    {"cancel on last page", PSBTN_NEXT, PSBTN_CANCEL, 0, 0, IDCANCEL, "active1 next1 active2"},
    {"refused next stays", PSBTN_NEXT, PSBTN_FINISH, 1, 0, ID_WIZFINISH,
     "active1 next1 next1 active2 finish2"},
    {"refused finish keeps the wizard open", PSBTN_NEXT, PSBTN_FINISH, 0, 1, ID_WIZFINISH,
     "active1 next1 active2 finish2 finish2"},
};

TEST(Wizard, ModalRunReportsTheButtonThatEndedIt) {
    for (const WizardCase& c : kWizardCases) {
        SCOPED_TRACE(c.name);
        std::string log;
        ScriptedPage one(IDD_STEP_ONE, "1", &log);
        ScriptedPage two(IDD_STEP_TWO, "2", &log);
        one.pressOnActive = c.firstPress;
        one.refuseNextCount = c.refuseNext;
        two.pressOnActive = c.secondPress;
        two.refuseFinishCount = c.refuseFinish;
        CPropertySheet sheet(L"Test wizard");
        sheet.AddPage(&one);
        sheet.AddPage(&two);
        sheet.SetWizardMode();
        EXPECT_EQ(sheet.DoModal(nullptr), c.expectedResult);
        EXPECT_EQ(log, c.expectedLog);
    }
}

TEST(Wizard, SecondRunStartsAgainFromCancel) {
    std::string log;
    ScriptedPage one(IDD_STEP_ONE, "1", &log);
    CPropertySheet sheet;
    sheet.AddPage(&one);
    sheet.SetWizardMode();
    one.pressOnActive = PSBTN_FINISH;
    ASSERT_EQ(sheet.DoModal(nullptr), ID_WIZFINISH);
    one.pressOnActive = PSBTN_CANCEL;
    EXPECT_EQ(sheet.DoModal(nullptr), IDCANCEL);
}

TEST(DialogTemplateFont, FoundBehindMenuClassAndTitleInBothTemplateForms) {
    const WORD setFont = DS_SETFONT, noFont = 0;
    struct Case {
        const char* name;
        std::vector<WORD> words;
        int expectedSize;  // -1: no field
    } cases[] = {
        // DLGTEMPLATE: style, extended style, count, x, y, cx, cy; menu
        // ordinal, class "AB", title "T", size 9.
        {"plain, ordinal menu", {setFont, 0, 0, 0, 0, 0, 0, 0, 0, 0xFFFF, 5, 'A', 'B', 0, 'T', 0, 9}, 9},
        {"plain, no font", {noFont, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 9}, -1},
        // DLGTEMPLATEEX: version 1, 0xFFFF, help id, extended style, style,
        // count, x, y, cx, cy; no menu, class ordinal, empty title, size 10.
        {"extended", {1, 0xFFFF, 0, 0, 0, 0, setFont, 0, 0, 0, 0, 0, 0, 0, 0xFFFF, 0x81, 0, 10}, 10},
        {"extended, cut in the title", {1, 0xFFFF, 0, 0, 0, 0, setFont, 0, 0, 0, 0, 0, 0, 0, 0, 'T'}, -1},
    };
    for (Case& c : cases) {
        const WORD* field = DialogFontSizeField(c.words.data(), c.words.size() * sizeof(WORD));
        EXPECT_EQ(field ? *field : -1, c.expectedSize) << c.name;
    }
}

// Records whether its corner control lies within the page as the sheet
// shows it, then cancels.
class CornerProbePage : public CPropertyPage {
public:
    CornerProbePage() : CPropertyPage(IDD_LARGE_FONT) {}
    bool cornerShown = false;

protected:
    LRESULT OnSetActive() override {
        RECT page, corner;
        GetClientRect(Handle(), &page);
        GetWindowRect(GetDlgItem(Handle(), IDC_CORNER_TEXT), &corner);
        MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&corner), 2);
        // The sheet's face and the page's round their dialog units apart by
        // a pixel; a page sized in the sheet's smaller font lacks a sixth.
        const LONG kRounding = 2;
        cornerShown = corner.right <= page.right + kRounding && corner.bottom <= page.bottom + kRounding;
        PostMessageA(GetParent(Handle()), PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
        return 0;
    }
};

TEST(Wizard, PageInALargerFontIsShownWhole) {
    CornerProbePage page;
    CPropertySheet sheet;
    sheet.AddPage(&page);
    sheet.SetWizardMode();
    EXPECT_EQ(sheet.DoModal(nullptr), IDCANCEL);
    EXPECT_TRUE(page.cornerShown);
}

TEST(TabbedSheet, OkAndCancel) {
    std::string log;
    ScriptedPage one(IDD_STEP_ONE, "1", &log);
    CPropertySheet sheet(L"Tabs");
    sheet.AddPage(&one);
    one.pressOnActive = PSBTN_OK;
    EXPECT_EQ(sheet.DoModal(nullptr), IDOK);
    one.pressOnActive = PSBTN_CANCEL;
    EXPECT_EQ(sheet.DoModal(nullptr), IDCANCEL);
}

// What the embedded sheet looked like while its dialog was open.
struct EmbeddedView {
    HWND dialog = nullptr, sheet = nullptr, parent = nullptr;
    LONG_PTR style = 0;
    bool okVisible = true, firstPageMade = false, secondPageMade = false;
    RECT sheetRect{}, dialogOk{};
};
EmbeddedView g_view;

void InspectEmbeddedSheet(HostDialog* host) {
    HWND sheet = host->sheet.Handle();
    g_view.dialog = host->Handle();
    g_view.sheet = sheet;
    g_view.parent = GetParent(sheet);
    g_view.style = GetWindowLongPtrA(sheet, GWL_STYLE);
    g_view.okVisible = IsWindowVisible(GetDlgItem(sheet, IDOK)) != FALSE;
    g_view.firstPageMade = host->sheet.Page(0)->Handle() != nullptr;
    PropSheet_SetCurSel(sheet, nullptr, 1);
    g_view.secondPageMade = host->sheet.Page(1)->Handle() != nullptr;
    GetWindowRect(sheet, &g_view.sheetRect);
    GetWindowRect(GetDlgItem(host->Handle(), IDOK), &g_view.dialogOk);
    PostMessageA(host->Handle(), WM_COMMAND, IDCANCEL, 0);
}

TEST(EmbeddedSheet, IsAChildWithoutButtonsAndMakesPagesOnDemand) {
    std::string log;
    ScriptedPage one(IDD_STEP_ONE, "1", &log);
    ScriptedPage two(IDD_STEP_TWO, "2", &log);
    HostDialog host(InspectEmbeddedSheet);
    host.sheet.AddPage(&one);
    host.sheet.AddPage(&two);
    EXPECT_EQ(host.DoModal(), IDCANCEL);
    ASSERT_TRUE(host.created);
    EXPECT_EQ(g_view.parent, g_view.dialog);
    EXPECT_TRUE(g_view.style & WS_CHILD);
    EXPECT_FALSE(g_view.style & WS_POPUP);
    EXPECT_NE(g_view.style & WS_CAPTION, static_cast<LONG_PTR>(WS_CAPTION));
    EXPECT_FALSE(g_view.okVisible);
    EXPECT_TRUE(g_view.firstPageMade);
    EXPECT_TRUE(g_view.secondPageMade);
    EXPECT_EQ(log, "active1 active2");
    // Cut to its tabs, the sheet leaves the dialog's own buttons uncovered.
    EXPECT_LE(g_view.sheetRect.bottom, g_view.dialogOk.top);
    EXPECT_EQ(host.sheet.Handle(), nullptr) << "the sheet window goes with its dialog";
}

// Runs ACTION on an exchange page inside an embedded sheet.
void WithExchangePage(ExchangePage* page, void (*action)(HostDialog*)) {
    HostDialog host(action);
    host.sheet.AddPage(page);
    ASSERT_EQ(host.DoModal(), IDCANCEL);
    ASSERT_TRUE(host.created);
}

struct ExchangeResult {
    int shownIndex, shownPosition;
    std::wstring shownText;
    int memberPositionBeforeSave;
};
ExchangeResult g_exchange;

void ShowThenRead(HostDialog* host) {
    ExchangePage* page = static_cast<ExchangePage*>(host->sheet.Page(0));
    HWND window = page->Handle();
    g_exchange.shownIndex = static_cast<int>(SendDlgItemMessageA(window, IDC_COMBO, CB_GETCURSEL, 0, 0));
    g_exchange.shownPosition = static_cast<int>(SendDlgItemMessageA(window, IDC_TRACKBAR, TBM_GETPOS, 0, 0));
    wchar_t text[32] = L"";
    GetDlgItemTextW(window, IDC_TEXT, text, 32);
    g_exchange.shownText = text;
    g_exchange.memberPositionBeforeSave = page->position;
    page->UpdateData(true);
    PostMessageA(host->Handle(), WM_COMMAND, IDCANCEL, 0);
}

struct ExchangeCase {
    const char* name;
    int index, position;
    const wchar_t* text;
    int shownIndex, shownPosition;
    int readIndex, readPosition;
};

const ExchangeCase kExchangeCases[] = {
    {"values in range go both ways", 2, 150, L"150", 2, 150, 2, 150},
    {"no selection stays none", -1, 20, L"", -1, 20, -1, 20},
    {"index past the list selects nothing", 3, 200, L"x", -1, 200, -1, 200},
    {"position below the range shows at its start", 1, 10, L"10", 1, 20, 1, 20},
    {"position above the range shows at its end", 0, 900, L"900", 0, 200, 0, 200},
    // Whatever the system's code page (the test prefix's is not 936).
    {"a Chinese text goes both ways whole", 1, 50, L"\u8bbe\u5907\u672a\u8fde\u63a5", 1, 50, 1, 50},
};

TEST(DataExchange, ToControlsAndBack) {
    for (const ExchangeCase& c : kExchangeCases) {
        SCOPED_TRACE(c.name);
        ExchangePage page;
        page.index = c.index;
        page.position = c.position;
        page.text = c.text;
        WithExchangePage(&page, ShowThenRead);
        EXPECT_EQ(g_exchange.shownIndex, c.shownIndex);
        EXPECT_EQ(g_exchange.shownPosition, c.shownPosition);
        EXPECT_EQ(g_exchange.shownText, c.text);
        EXPECT_EQ(g_exchange.memberPositionBeforeSave, c.position) << "showing must not change the value";
        EXPECT_EQ(page.index, c.readIndex);
        EXPECT_EQ(page.position, c.readPosition);
        EXPECT_EQ(page.text, c.text);
    }
}

void PressOk(HostDialog* host) { PostMessageA(host->Handle(), WM_COMMAND, IDOK, 0); }

TEST(ModalDialog, OkEndsWithIdOk) {
    HostDialog host(PressOk);
    EXPECT_EQ(host.DoModal(), IDOK);
}

TEST(ModalDialog, MissingTemplateFails) {
    CDialog missing(4242);
    EXPECT_EQ(missing.DoModal(), -1);
}

// The text comes as the table holds it, whatever the system's code page.
TEST(EditionTexts, AChineseTextComesWholeAsStored) {
    std::wstring text;
    ASSERT_TRUE(LoadEditionText(GetModuleHandleA(nullptr), IDS_CHINESE_TEXT, &text));
    EXPECT_EQ(text, L"\u8bbe\u5907\u672a\u8fde\u63a5\u6216\u9a71\u52a8\u7a0b\u5e8f\u672a\u5b89\u88c5\u3002");
    EXPECT_FALSE(LoadEditionText(GetModuleHandleA(nullptr), IDS_CHINESE_TEXT + 1, &text));
}

}  // namespace
