// The "H" buttons of the Internet pages: each explains its own tweak in a box
// captioned "Help", owned by the page.
#include "tests/hosts/host_kit.h"

namespace {

class InternetHelpTest : public DeviceTest {};

}  // namespace

TEST_F(InternetHelpTest, EveryHelpButtonShowsItsOwnExplanation)
{
    struct {
        int tab;
        UINT button;
        const wchar_t *begins, *ends;
    } helps[] = {
        {TAB_PIE, IDC_PIE_HELP_TEMP_FILES, L"After browsing Internet without a CF,", L"and then check it again."},
        {TAB_PIE, IDC_PIE_HELP_PASS_AS_IE6, L"Makes Pocket Internet Explorer appear", L"This hack changes that."},
        {TAB_PIE, IDC_PIE_HELP_CLEARTYPE, L"Enables ClearType display", L"including AvantGo."},
        {TAB_PIE, IDC_PIE_HELP_DOWNLOAD_8, L"This option allows you to download up to 8", L"download speed slower."},
        {TAB_PIE, IDC_PIE_HELP_SMOOTH_SCROLL, L"By default scrolling goes", L"will ignore any hyperlink."},
        {TAB_PIE, IDC_PIE_HELP_DISABLE_CACHE, L"When you disabled the PIE Cache", L"such as ROM or Memory Cards."},
        {TAB_INBOX1, IDC_MAIL_HELP_PORTS, L"In some environments,", L"This Option will do that."},
        {TAB_INBOX1, IDC_MAIL_HELP_SSL, L"This option increases the speed", L"about a 1 minute delay."},
        {TAB_SECURITY, IDC_SEC_HELP_ACTIVEX, L"Enable/Display ActiveX controls", L"not compatible with WM5."},
        {TAB_SECURITY, IDC_SEC_HELP_SCRIPTS, L"Enalbe/Display the execution", L"of ActiveX scripts."},
        {TAB_SECURITY, IDC_SEC_HELP_ERRORS, L"This setting allows you to control", L"on Pocket Internet Explorer."},
        {TAB_NETWORKING, IDC_NET_HELP_TCP, L"The TCP receive window size", L"waiting\t\t\t\t\tfor an acknowledgment"},
        {TAB_NETWORKING, IDC_NET_HELP_TS_PORT, L"This trick allows you to change", L"3389, to any one desired."},
        {TAB_NETWORKING, IDC_NET_HELP_80211G, L"This trick allows connecting", L"only accepts G devices."},
    };
    for (int tab : {TAB_PIE, TAB_INBOX1, TAB_SECURITY, TAB_NETWORKING}) {
        RunInternetPage(tab, [&](HWND page) {
            for (auto &help : helps) {
                if (help.tab != tab) continue;
                SCOPED_TRACE(help.button);
                int before = SimMessageBoxCount();
                Tap(page, help.button);
                ASSERT_EQ(1, MessageBoxesSince(before));
                SimMessageBox box = LastMessageBox();
                EXPECT_EQ(page, box.owner);
                EXPECT_STREQ(L"Help", box.caption);
                EXPECT_EQ((UINT)MB_OK, box.flags);
                std::wstring text = box.text;
                EXPECT_EQ(0u, text.find(help.begins)) << text;
                EXPECT_NE(std::wstring::npos, text.find(help.ends)) << text;
            }
        });
    }
}
