// The four category hosts: tabs, the page in place, switching, and closing.
#include "tests/hosts/host_kit.h"
#include "aygshell.h"

namespace {

struct HostCase {
    const char *name;
    UINT templateId;
    DLGPROC procedure;
    UINT tabs;
    std::vector<const wchar_t *> labels;
};

const HostCase kHosts[] = {
    {"Internet", IDD_INTERNET_HOST, InternetHostProc, IDC_INTERNET_TABS,
     {L"PIE", L"Inbox1", L"Inbox2", L"Security", L"NetWorking"}},
    {"Today", IDD_TODAY_HOST, TodayHostProc, IDC_TODAY_TABS, {L"Settings1", L"Settings2", L"Settings3"}},
    {"System", IDD_SYSTEM_HOST, SystemHostProc, IDC_SYSTEM_TABS,
     {L"Collection1", L"Collection2", L"Collection3", L"Collection4", L"Collection5", L"MSN Tricks"}},
    {"Phone", IDD_PHONE_HOST, PhoneHostProc, IDC_PHONE_TABS, {L"Sounds1", L"sounds2", L"sounds3", L"Appearence"}},
};

class HostTest : public DeviceTest {};

}  // namespace

TEST_F(HostTest, OpeningAHostShowsItsTabsWithTabZeroSelectedAndItsPageInPlace)
{
    for (const HostCase &host : kHosts) {
        SCOPED_TRACE(host.name);
        INT_PTR result = RunHost(host.templateId, host.procedure, [&](HWND dialog) {
            HWND tabs = GetDlgItem(dialog, host.tabs);
            ASSERT_TRUE(tabs != NULL);
            // Child, visible, tabs at the bottom (the control adds WS_CLIPSIBLINGS itself).
            EXPECT_EQ(0x50000002u, (DWORD)GetWindowLongW(tabs, GWL_STYLE) & ~(DWORD)WS_CLIPSIBLINGS);
            ASSERT_EQ((int)host.labels.size(), (int)SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0));
            for (size_t i = 0; i < host.labels.size(); i++) EXPECT_EQ(host.labels[i], TabLabel(tabs, (int)i));
            EXPECT_EQ(0, (int)SendMessageW(tabs, TCM_GETCURSEL, 0, 0));
            // The tab control fills the host.
            ExpectTabsFillHost(dialog, tabs);
            // Pages still to come leave their tabs empty; a page that exists is in place.
            HWND page = PageInTabs(tabs);
            if (host.procedure == InternetHostProc) {
                ASSERT_TRUE(page != NULL);
            }
            if (page) ExpectPageInPlace(tabs, page);
        });
        EXPECT_EQ(1, result);
    }
}

TEST_F(HostTest, EveryInternetTabShowsItsOwnPageAloneAndInPlace)
{
    // One control that only that tab's page has.
    const UINT marks[] = {IDC_PIE_STORAGE_NAME, IDC_MAIL_POP3_PORT, IDC_SMS_SENT_TEXT, IDC_SEC_CACHE_SSL,
                          IDC_NET_TS_PORT};
    RunHost(IDD_INTERNET_HOST, InternetHostProc, [&](HWND host) {
        HWND tabs = GetDlgItem(host, IDC_INTERNET_TABS);
        for (int tab : {1, 2, 3, 4, 0, 4}) {
            SCOPED_TRACE(tab);
            TapTab(tabs, tab);
            EXPECT_EQ(tab, (int)SendMessageW(tabs, TCM_GETCURSEL, 0, 0));
            HWND page = PageInTabs(tabs);
            ASSERT_TRUE(page != NULL);
            EXPECT_EQ(1, CountPagesInTabs(tabs));
            for (int other = 0; other < 5; other++)
                EXPECT_EQ(other == tab, GetDlgItem(page, marks[other]) != NULL) << "control of tab " << other;
            ExpectPageInPlace(tabs, page);
        }
    });
}

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
        EXPECT_FALSE(IsWindow(browser));
        ASSERT_FALSE(IsTicked(security, IDC_SEC_NO_SCRIPTS));
        Tap(security, IDC_SEC_NO_SCRIPTS);
        // Written behind the browser page's back, as another program would.
        WriteRegDword(HKEY_LOCAL_MACHINE, settings, L"ClearTypeText", 0);

        TapTab(tabs, TAB_PIE);
        HWND again = PageInTabs(tabs);
        ASSERT_TRUE(again != NULL);
        EXPECT_FALSE(IsWindow(security));
        EXPECT_FALSE(IsTicked(again, IDC_PIE_CLEARTYPE));
        Tap(again, IDC_PIE_CLEARTYPE);
        EXPECT_EQ(1u, RegDwordOr(HKEY_LOCAL_MACHINE, settings, L"ClearTypeText", 99));

        TapTab(tabs, TAB_SECURITY);
        EXPECT_TRUE(IsTicked(PageInTabs(tabs), IDC_SEC_NO_SCRIPTS));
        EXPECT_EQ(0u, RegDwordOr(HKEY_LOCAL_MACHINE, settings, L"Security_RunScripts", 99));
    });
}

TEST_F(HostTest, DoneOfTheHostAndDoneInsideAnyPageCloseTheHostWithOne)
{
    for (const HostCase &host : kHosts) {
        SCOPED_TRACE(host.name);
        EXPECT_EQ(1, RunHost(host.templateId, host.procedure, [&](HWND dialog) {
            // The Done key "ok" of the navigation bar above the host.
            HWND done = GetDlgItem(FindWindowW(SIM_NAVBAR_CLASS, NULL), IDOK);
            ASSERT_TRUE(done != NULL);
            EXPECT_TRUE(IsWindowVisible(done));
            SendMessageW(done, BM_CLICK, 0, 0);
            EXPECT_FALSE(IsWindowVisible(dialog));
        }));
    }
    for (int tab = 0; tab < 5; tab++) {
        SCOPED_TRACE(tab);
        ExpectDoneInsideClosesHost(RunInternetPage, tab);
    }
}

TEST_F(HostTest, TabsWhosePagesAreMissingShowNothingAndTheHostGoesOn)
{
    for (const HostCase &host : kHosts) {
        if (host.procedure == InternetHostProc) continue;
        SCOPED_TRACE(host.name);
        EXPECT_EQ(1, RunHost(host.templateId, host.procedure, [&](HWND dialog) {
            HWND tabs = GetDlgItem(dialog, host.tabs);
            for (int tab = (int)host.labels.size() - 1; tab >= 0; tab--) {
                TapTab(tabs, tab);
                EXPECT_EQ(tab, (int)SendMessageW(tabs, TCM_GETCURSEL, 0, 0));
                EXPECT_LE(CountPagesInTabs(tabs), 1);
                if (HWND page = PageInTabs(tabs)) ExpectPageInPlace(tabs, page);
            }
            EXPECT_TRUE(IsWindowVisible(dialog));
        }));
    }
}
