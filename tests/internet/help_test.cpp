// The "H" buttons of the Internet pages: each explains its own tweak in a box
// captioned "Help", owned by the page.
#include "tests/hosts/host_kit.h"

namespace {

class InternetHelpTest : public DeviceTest {};

}  // namespace

TEST_F(InternetHelpTest, AHelpButtonOfEachPageShowsItsOwnExplanation)
{
    struct {
        int tab;
        UINT button;
        const wchar_t *begins;
    } helps[] = {
        {TAB_PIE, IDC_PIE_HELP_DISABLE_CACHE, L"When you disabled the PIE Cache"},
        {TAB_INBOX1, IDC_MAIL_HELP_SSL, L"This option increases the speed"},
        {TAB_SECURITY, IDC_SEC_HELP_SCRIPTS, L"Enalbe/Display the execution"},
        {TAB_NETWORKING, IDC_NET_HELP_TS_PORT, L"This trick allows you to change"},
    };
    for (auto &help : helps) {
        SCOPED_TRACE(help.button);
        RunInternetPage(help.tab, [&](HWND page) {
            int before = SimMessageBoxCount();
            Tap(page, help.button);
            ASSERT_EQ(1, MessageBoxesSince(before));
            SimMessageBox box = LastMessageBox();
            EXPECT_EQ(page, box.owner);
            EXPECT_STREQ(L"Help", box.caption);
            EXPECT_EQ((UINT)MB_OK, box.flags);
            EXPECT_EQ(0u, std::wstring(box.text).find(help.begins)) << box.text;
        });
    }
}
