// The four category hosts: one fresh page per tab in place, turning, and Done.
#include "tests/hosts/host_kit.h"
#include "aygshell.h"

namespace {

struct HostCase {
    UINT templateId;
    DLGPROC procedure;
    UINT tabs;
    std::vector<const wchar_t *> labels;   // spelt as the device shows them
};

const HostCase kHosts[] = {
    {IDD_INTERNET_HOST, InternetHostProc, IDC_INTERNET_TABS, {L"PIE", L"Inbox1", L"Inbox2", L"Security", L"NetWorking"}},
    {IDD_TODAY_HOST, TodayHostProc, IDC_TODAY_TABS, {L"Settings1", L"Settings2", L"Settings3"}},
    {IDD_SYSTEM_HOST, SystemHostProc, IDC_SYSTEM_TABS,
     {L"Collection1", L"Collection2", L"Collection3", L"Collection4", L"Collection5", L"MSN Tricks"}},
    {IDD_PHONE_HOST, PhoneHostProc, IDC_PHONE_TABS, {L"Sounds1", L"sounds2", L"sounds3", L"Appearence"}},
};

class HostTest : public DeviceTest {};

}  // namespace

TEST_F(HostTest, EveryTabShowsAFreshPageInPlaceTheHostFollowsTheScreenAndDoneClosesIt)
{
    for (const HostCase &host : kHosts) {
        SCOPED_TRACE(host.templateId);
        EXPECT_EQ(1, RunHost(host.templateId, host.procedure, [&](HWND dialog) {
            HWND tabs = GetDlgItem(dialog, host.tabs);
            const int pages = (int)host.labels.size();
            ASSERT_EQ(pages, (int)SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0));
            for (int tab = 0; tab < pages; tab++) EXPECT_EQ(host.labels[tab], TabLabel(tabs, tab));
            ExpectTabsFillHost(dialog, tabs);
            HWND page = PageInTabs(tabs);
            ASSERT_TRUE(page != NULL);
            // Every tab from the last, and tab 0 again: a new page each time, alone and in place.
            for (int tab = pages - 1; tab >= 0; tab--) {
                SCOPED_TRACE(tab);
                HWND before = page;
                TapTab(tabs, tab);
                page = PageInTabs(tabs);
                ASSERT_TRUE(page != NULL);
                EXPECT_NE(before, page);
                EXPECT_EQ(1, CountPagesInTabs(tabs));
                ExpectPageInPlace(tabs, page);
            }
            // Turned, the host takes its own variant and keeps the page over its tab control.
            for (int shape : {SIM_LANDSCAPE, SIM_SQUARE}) {
                ScreenTurn turn(shape);
                ASSERT_TRUE(turn.turned());
                ExpectTabsFillHost(dialog, tabs);
                ASSERT_EQ(page, PageInTabs(tabs)) << "the page is kept, not made anew";
                ExpectPageInPlace(tabs, page);
            }
            // The Done key of the navigation bar above the host.
            SendMessageW(GetDlgItem(FindWindowW(SIM_NAVBAR_CLASS, NULL), IDOK), BM_CLICK, 0, 0);
            EXPECT_FALSE(IsWindowVisible(dialog));
        }));
    }
    // Done inside any page closes the whole host.
    for (const HostCase &host : kHosts)
        for (int tab = 0; tab < (int)host.labels.size(); tab++) {
            HWND closed = NULL;
            EXPECT_EQ(1, RunCategoryPage(host.templateId, host.procedure, host.tabs, tab, [&](HWND page) {
                closed = GetAncestor(page, GA_ROOT);
                SendMessageW(page, WM_COMMAND, IDOK, 0);
                EXPECT_FALSE(IsWindowVisible(closed)) << "the host is still open";
            })) << "tab " << tab;
            EXPECT_FALSE(IsWindow(closed)) << "tab " << tab;
        }
}

// A to B to A: each visit makes a fresh page that reads what the other page (or
// another program) wrote meanwhile.
TEST_F(HostTest, ComingBackToATabMakesAFreshPageThatReadsWhatTheOtherPageWrote)
{
    const wchar_t *settings = L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
    DeleteRegValue(HKEY_LOCAL_MACHINE, settings, L"ClearTypeText");
    DeleteRegValue(HKEY_LOCAL_MACHINE, settings, L"Security_RunScripts");
    RunHost(IDD_INTERNET_HOST, InternetHostProc, [&](HWND host) {
        HWND tabs = GetDlgItem(host, IDC_INTERNET_TABS);
        HWND browser = PageInTabs(tabs);
        ASSERT_FALSE(IsTicked(browser, IDC_PIE_CLEARTYPE));
        Tap(browser, IDC_PIE_CLEARTYPE);

        TapTab(tabs, TAB_SECURITY);
        HWND security = PageInTabs(tabs);
        ASSERT_FALSE(IsTicked(security, IDC_SEC_NO_SCRIPTS));
        Tap(security, IDC_SEC_NO_SCRIPTS);
        WriteRegDword(HKEY_LOCAL_MACHINE, settings, L"ClearTypeText", 0);

        TapTab(tabs, TAB_PIE);
        EXPECT_FALSE(IsTicked(PageInTabs(tabs), IDC_PIE_CLEARTYPE)) << "the browser page kept its old state";
        TapTab(tabs, TAB_SECURITY);
        EXPECT_TRUE(IsTicked(PageInTabs(tabs), IDC_SEC_NO_SCRIPTS));
        EXPECT_EQ(0u, RegDwordOr(HKEY_LOCAL_MACHINE, settings, L"Security_RunScripts", 99));
    });
}
