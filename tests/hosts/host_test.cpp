// The four category hosts: tabs, the page in place, switching, turning and closing.
#include "tests/hosts/host_kit.h"
#include "main_window_fixture.h"
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

// One control that only that Internet tab's page has.
const UINT kInternetMarks[] = {IDC_PIE_STORAGE_NAME, IDC_MAIL_POP3_PORT, IDC_SMS_SENT_TEXT, IDC_SEC_CACHE_SSL,
                               IDC_NET_TS_PORT};

class HostTest : public DeviceTest {};
class HostOpeningTest : public MainWindowTest {};

}  // namespace

TEST_F(HostTest, EveryTabShowsAFreshPageOfItsOwnInPlaceAndTheHostFollowsTheScreen)
{
    for (const HostCase &host : kHosts) {
        SCOPED_TRACE(host.name);
        EXPECT_EQ(1, RunHost(host.templateId, host.procedure, [&](HWND dialog) {
            HWND tabs = GetDlgItem(dialog, host.tabs);
            ASSERT_TRUE(tabs != NULL);
            // Child, visible, tabs at the bottom (the control adds WS_CLIPSIBLINGS itself).
            EXPECT_EQ(0x50000002u, (DWORD)GetWindowLongW(tabs, GWL_STYLE) & ~(DWORD)WS_CLIPSIBLINGS);
            ASSERT_EQ((int)host.labels.size(), (int)SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0));
            for (size_t i = 0; i < host.labels.size(); i++) EXPECT_EQ(host.labels[i], TabLabel(tabs, (int)i));
            EXPECT_EQ(0, (int)SendMessageW(tabs, TCM_GETCURSEL, 0, 0));
            ExpectTabsFillHost(dialog, tabs);
            HWND page = PageInTabs(tabs);
            ASSERT_TRUE(page != NULL);
            ExpectPageInPlace(tabs, page);
            // Every tab, and tab 0 again: a new page each time, alone and in place.
            std::vector<int> order;
            for (int tab = (int)host.labels.size() - 1; tab >= 0; tab--) order.push_back(tab);
            for (int tab : order) {
                SCOPED_TRACE(tab);
                HWND before = PageInTabs(tabs);
                TapTab(tabs, tab);
                EXPECT_EQ(tab, (int)SendMessageW(tabs, TCM_GETCURSEL, 0, 0));
                page = PageInTabs(tabs);
                ASSERT_TRUE(page != NULL);
                EXPECT_NE(before, page);
                EXPECT_EQ(1, CountPagesInTabs(tabs));
                ExpectPageInPlace(tabs, page);
                if (host.procedure == InternetHostProc) {
                    for (int other = 0; other < 5; other++)
                        EXPECT_EQ(other == tab, GetDlgItem(page, kInternetMarks[other]) != NULL) << "control of tab " << other;
                }
            }
            // Turned, the host takes its own variant (its tab control fills it) and keeps
            // the page over the tab control, clear of the tab strip.
            for (int shape : {SIM_LANDSCAPE, SIM_SQUARE}) {
                ScreenTurn turn(shape);
                ASSERT_TRUE(turn.turned());
                ExpectTabsFillHost(dialog, tabs);
                ASSERT_EQ(page, PageInTabs(tabs)) << "the page is kept, not made anew";
                ExpectPageInPlace(tabs, page);
            }
        }));
    }
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
        ASSERT_FALSE(IsTicked(security, IDC_SEC_NO_SCRIPTS));
        Tap(security, IDC_SEC_NO_SCRIPTS);
        // Written behind the browser page's back, as another program would.
        WriteRegDword(HKEY_LOCAL_MACHINE, settings, L"ClearTypeText", 0);

        TapTab(tabs, TAB_PIE);
        HWND again = PageInTabs(tabs);
        ASSERT_TRUE(again != NULL);
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

TEST_F(HostOpeningTest, TheMenuCommandAndTheHotRowOfEachHostOpenIt)
{
    ASSERT_TRUE(OpenMainWindow());
    struct {
        WPARAM command;
        int row;
        const wchar_t *title;
        UINT tabs;
    } hosts[] = {{IDM_INTERNET, 4, L"Dialog", IDC_INTERNET_TABS}, {IDM_TODAY, 0, L"Today Tricks", IDC_TODAY_TABS},
                 {IDM_SYSTEM, 3, L"System Tricks", IDC_SYSTEM_TABS}, {IDM_PHONE, 2, L"Phone Tricks", IDC_PHONE_TABS}};
    for (auto &host : hosts) {
        // The rows of the portrait splash picture have their middles 60 pixels apart from y 150.
        for (bool tapped : {false, true}) {
            SCOPED_TRACE(testing::Message() << host.title << (tapped ? " tapped" : " chosen"));
            bool opened = DriveModal(
                [&] {
                    if (tapped) SendMessageW(g_hMainWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(200, 150 + 60 * host.row));
                    else SendMessageW(g_hMainWnd, WM_COMMAND, host.command, 0);
                },
                [&](HWND dialog) {
                    EXPECT_EQ(host.title, WindowText(dialog));
                    EXPECT_TRUE(PageInTabs(GetDlgItem(dialog, host.tabs)) != NULL);
                    SendMessageW(dialog, WM_COMMAND, IDOK, 0);
                });
            EXPECT_TRUE(opened);
        }
    }
}
