// Turning the screen with a host open: the host and its page each take their own
// layout variant, and the controls keep their state.
#include "tests/hosts/host_kit.h"

namespace {

// The host fills the screen between the two bars, its tab control fills the host and
// the page covers the tab control above its strip.
void ExpectHostFillsTheScreen(HWND host, HWND tabs, HWND page)
{
    RECT window;
    GetWindowRect(host, &window);
    EXPECT_EQ(0, window.left);
    EXPECT_EQ(SIM_BAR_HEIGHT, window.top);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), window.right);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN) - SIM_BAR_HEIGHT, window.bottom);
    ExpectTabsFillHost(host, tabs);
    ExpectPageInPlace(tabs, page);
}

class RotationTest : public DeviceTest {};

}  // namespace

TEST_F(RotationTest, TheBrowserPageTakesEachShapesLayoutAndKeepsItsState)
{
    SimCard card = {};
    lstrcpyW(card.name, L"Storage Card");
    card.totalBytes = 64ull << 20;
    card.freeBytes = 32ull << 20;
    ASSERT_TRUE(SimSetCards(&card, 1));
    RunHost(IDD_INTERNET_HOST, InternetHostProc, [](HWND host) {
        HWND tabs = GetDlgItem(host, IDC_INTERNET_TABS);
        HWND page = PageInTabs(tabs);
        ASSERT_TRUE(page != NULL);
        ExpectHostFillsTheScreen(host, tabs, page);
        ExpectAt(page, IDC_PIE_CLEARTYPE, 8, 58, 200, 12);
        Tap(page, IDC_PIE_CLEARTYPE);
        SetField(page, IDC_PIE_STORAGE_NAME, L"Storage Card");
        {
            ScreenTurn turn(SIM_LANDSCAPE);
            ASSERT_TRUE(turn.turned());
            ASSERT_EQ(page, PageInTabs(tabs)) << "the page is kept, not made anew";
            ExpectHostFillsTheScreen(host, tabs, page);
            ExpectAt(page, IDC_PIE_CLEARTYPE, 8, 74, 160, 12);
            ExpectAt(page, IDC_PIE_STORAGE_NAME, 20, 28, 150, 14);
            EXPECT_TRUE(IsTicked(page, IDC_PIE_CLEARTYPE));
            EXPECT_EQ(L"Storage Card", FieldText(page, IDC_PIE_STORAGE_NAME));
        }
        {
            ScreenTurn turn(SIM_SQUARE);
            ASSERT_TRUE(turn.turned());
            ExpectHostFillsTheScreen(host, tabs, page);
            ExpectAt(page, IDC_PIE_CLEARTYPE, 10, 64, 240, 12);
            EXPECT_TRUE(IsTicked(page, IDC_PIE_CLEARTYPE));
        }
        ExpectHostFillsTheScreen(host, tabs, page);
        ExpectAt(page, IDC_PIE_CLEARTYPE, 8, 58, 200, 12);
        // A page made while the screen is turned starts in the layout of that shape.
        ScreenTurn turn(SIM_LANDSCAPE);
        TapTab(tabs, TAB_INBOX1);
        TapTab(tabs, TAB_PIE);
        page = PageInTabs(tabs);
        ExpectAt(page, IDC_PIE_CLEARTYPE, 8, 74, 160, 12);
        EXPECT_TRUE(IsTicked(page, IDC_PIE_CLEARTYPE));
    });
}

TEST_F(RotationTest, TheMessagingPageAndItsHelpFollowTheScreen)
{
    RunInternetPage(TAB_INBOX2, [](HWND page) {
        ExpectAt(page, IDC_SMS_SENT_TEXT, 8, 76, 300, 14);
        ScreenTurn landscape(SIM_LANDSCAPE);
        ASSERT_TRUE(landscape.turned());
        ExpectAt(page, IDC_SMS_SENT_TEXT, 164, 54, 250, 14);
        DriveModal([&] { Tap(page, IDC_SMS_HELP); },
                   [&](HWND help) {
                       ExpectAt(help, IDC_NOTIFY_HELP_TEXT, 4, 4, 419, 277);
                       {
                           ScreenTurn square(SIM_SQUARE);
                           ExpectAt(help, IDC_NOTIFY_HELP_TEXT, 4, 4, 312, 384);
                       }
                       SendMessageW(help, WM_COMMAND, IDOK, 0);
                   });
        ScreenTurn square(SIM_SQUARE);
        ExpectAt(page, IDC_SMS_SENT_TEXT, 10, 86, 400, 14);
    });
}

TEST_F(RotationTest, PagesWithOneLayoutKeepIt)
{
    struct {
        int tab;
        UINT control;
        RECT dialogUnits;
    } cases[] = {
        {TAB_INBOX1, IDC_MAIL_HIDE_DATE, {8, 94, 150, 12}},
        {TAB_SECURITY, IDC_SEC_NO_SCRIPTS, {8, 50, 160, 12}},
        {TAB_NETWORKING, IDC_NET_TS_PORT, {112, 50, 56, 14}},
    };
    for (auto &c : cases) {
        SCOPED_TRACE(c.tab);
        RunInternetPage(c.tab, [&](HWND page) {
            RECT expected = Pixels(page, c.dialogUnits.left, c.dialogUnits.top, c.dialogUnits.right, c.dialogUnits.bottom);
            for (int shape : {SIM_LANDSCAPE, SIM_SQUARE}) {
                ScreenTurn turn(shape);
                ASSERT_TRUE(turn.turned());
                ExpectAtPixels(page, c.control, expected);
            }
        });
    }
}
