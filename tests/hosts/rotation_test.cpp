// Turning the screen with an Internet page open: a page with variants takes the one
// of the new shape and keeps its controls' state; a page with one layout keeps it.
#include "tests/hosts/host_kit.h"

namespace {

class RotationTest : public DeviceTest {};


// Where each variant of the browser page puts two of its controls, in dialog units.
// (Its up-down control sizes itself when the dialog manager makes it, so the page
// cannot be compared whole with a page freshly made from the variant.)
void ExpectBrowserLayout(HWND page, int variant)
{
    const int places[3][2][4] = {{{8, 58, 200, 12}, {104, 9, 150, 14}},
                                 {{8, 74, 160, 12}, {20, 28, 150, 14}},
                                 {{10, 64, 240, 12}, {116, 11, 220, 14}}};
    const int(&at)[2][4] = places[variant];
    ExpectAt(page, IDC_PIE_CLEARTYPE, at[0][0], at[0][1], at[0][2], at[0][3]);
    ExpectAt(page, IDC_PIE_STORAGE_NAME, at[1][0], at[1][1], at[1][2], at[1][3]);
}

}  // namespace

TEST_F(RotationTest, TheBrowserPageTakesEachShapesLayoutAndKeepsItsState)
{
    enum { PORTRAIT, LANDSCAPE, SQUARE };
    RunHost(IDD_INTERNET_HOST, InternetHostProc, [](HWND host) {
        HWND tabs = GetDlgItem(host, IDC_INTERNET_TABS);
        HWND page = PageInTabs(tabs);
        ASSERT_TRUE(page != NULL);
        ExpectBrowserLayout(page, PORTRAIT);
        Tap(page, IDC_PIE_CLEARTYPE);
        SetField(page, IDC_PIE_STORAGE_NAME, L"Storage Card");
        for (auto turn : {std::make_pair(SIM_LANDSCAPE, LANDSCAPE), std::make_pair(SIM_SQUARE, SQUARE)}) {
            ScreenTurn turned(turn.first);
            ASSERT_TRUE(turned.turned());
            ExpectBrowserLayout(page, turn.second);
            EXPECT_TRUE(IsTicked(page, IDC_PIE_CLEARTYPE));
            EXPECT_EQ(L"Storage Card", FieldText(page, IDC_PIE_STORAGE_NAME));
        }
        ExpectBrowserLayout(page, PORTRAIT);
        // A page made while the screen is turned starts in the layout of that shape.
        ScreenTurn turn(SIM_LANDSCAPE);
        TapTab(tabs, TAB_INBOX1);
        TapTab(tabs, TAB_PIE);
        page = PageInTabs(tabs);
        ExpectBrowserLayout(page, LANDSCAPE);
        EXPECT_TRUE(IsTicked(page, IDC_PIE_CLEARTYPE));
    });
}

TEST_F(RotationTest, TheMessagingPageAndItsHelpFollowTheScreen)
{
    RunInternetPage(TAB_INBOX2, [](HWND page) {
        EXPECT_TRUE(LaidOutLike(page, IDD_MESSAGING_PAGE));
        ScreenTurn landscape(SIM_LANDSCAPE);
        ASSERT_TRUE(landscape.turned());
        EXPECT_TRUE(LaidOutLike(page, IDD_MESSAGING_PAGE_LANDSCAPE));
        // The help: template 222 when wider than tall, 221 otherwise.
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
        EXPECT_TRUE(LaidOutLike(page, IDD_MESSAGING_PAGE_SQUARE));
    });
}

TEST_F(RotationTest, PagesWithOneLayoutKeepIt)
{
    for (auto only : {std::make_pair(TAB_INBOX1, IDD_MAIL_PAGE), std::make_pair(TAB_SECURITY, IDD_SECURITY_PAGE),
                      std::make_pair(TAB_NETWORKING, IDD_NETWORKING_PAGE)}) {
        SCOPED_TRACE(only.second);
        RunInternetPage(only.first, [&](HWND page) {
            for (int shape : {SIM_LANDSCAPE, SIM_SQUARE}) {
                ScreenTurn turn(shape);
                ASSERT_TRUE(turn.turned());
                EXPECT_TRUE(LaidOutLike(page, only.second));
            }
        });
    }
}
