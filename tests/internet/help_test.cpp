// The "H" buttons of the Internet pages: a help button of each page explains its own
// tweak in a box captioned "Help", owned by the page.
#include "tests/hosts/host_kit.h"

namespace {

class InternetHelpTest : public DeviceTest {};

}  // namespace

TEST_F(InternetHelpTest, AHelpButtonOfEachPageShowsItsOwnExplanation)
{
    CheckHelpButton(RunInternetPage, TAB_PIE, IDC_PIE_HELP_CLEARTYPE,
                    L"Enables ClearType display in all HTML applications including AvantGo.");
    CheckHelpButton(RunInternetPage, TAB_INBOX1, IDC_MAIL_HELP_SSL,
                    L"This option increases the speed at which POP3 connects to get mail. Turns out that Inbox queries "
                    L"SSL on the server side and waits to see, before it tries NON SSL and this causes about a 1 minute "
                    L"delay.");
    CheckHelpButton(RunInternetPage, TAB_SECURITY, IDC_SEC_HELP_SCRIPTS, L"Enalbe/Display the execution of ActiveX scripts.");
    CheckHelpButton(RunInternetPage, TAB_NETWORKING, IDC_NET_HELP_80211G,
                    L"This trick allows connecting a PPC to an Access Point that only accepts G devices.");
}
