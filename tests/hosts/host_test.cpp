// The four category hosts: their tabs, Done, and a fresh page on each visit. (Where
// the pages lie, and a turn, are the layout test's.)
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

// The tabs' labels; the shell's Done key closes the host, and so does Done inside
// any of its pages.
TEST_F(HostTest, TabsAreLabelledAndDoneClosesTheHostFromTheBarOrAnyPage)
{
    for (const HostCase &host : kHosts) {
        SCOPED_TRACE(host.templateId);
        EXPECT_EQ(1, RunHost(host.templateId, host.procedure, [&](HWND dialog) {
            HWND tabs = GetDlgItem(dialog, host.tabs);
            ASSERT_EQ((int)host.labels.size(), (int)SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0));
            for (int tab = 0; tab < (int)host.labels.size(); tab++) EXPECT_EQ(host.labels[tab], TabLabel(tabs, tab));
            SendMessageW(GetDlgItem(FindWindowW(SIM_NAVBAR_CLASS, NULL), IDOK), BM_CLICK, 0, 0);
            EXPECT_FALSE(IsWindowVisible(dialog));
        }));
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
