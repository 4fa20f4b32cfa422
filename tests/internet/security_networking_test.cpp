// The browser security page ("Security"), which flushes every write, and the
// networking page ("NetWorking").
#include "tests/hosts/host_kit.h"

namespace {

const wchar_t kSettings[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";

class SecurityPageTest : public DeviceTest {};
class NetworkingPageTest : public DeviceTest {};

}  // namespace

TEST_F(SecurityPageTest, TheBoxesWriteTheirValuesAndFlushEachWrite)
{
    const DwordBox scripts[] = {{IDC_SEC_NO_SCRIPTS, HKEY_LOCAL_MACHINE, kSettings, L"Security_RunScripts", 0, 1}};
    FlushRecorder flushes;
    ASSERT_TRUE(flushes.recording());
    CheckDwordBoxes(RunInternetPage, TAB_SECURITY, scripts, 1);
    // Ticked, then cleared: one flush per write, made after it.
    ASSERT_EQ(2u, flushes.flushes().size());
    EXPECT_TRUE(flushes.flushes()[0].Held(L"Security_RunScripts", 0));
    EXPECT_TRUE(flushes.flushes()[1].Held(L"Security_RunScripts", 1));
}

TEST_F(NetworkingPageTest, TheTcpWindowBoxWritesItsValuesAndThe80211gBoxIsBoundToNothing)
{
    const DwordBox window[] = {{IDC_NET_TCP_WINDOW, HKEY_LOCAL_MACHINE, L"Comm\\Tcpip\\Parms", L"TcpWindowSize", 65535, 32768}};
    CheckDwordBoxes(RunInternetPage, TAB_NETWORKING, window, 1);
    // Ticked on one opening, the 802.11g box starts clear on the next, and says nothing.
    for (int opening = 0; opening < 2; opening++) {
        RunInternetPage(TAB_NETWORKING, [](HWND page) {
            EXPECT_FALSE(IsTicked(page, IDC_NET_80211G));
            int before = SimMessageBoxCount();
            Tap(page, IDC_NET_80211G);
            EXPECT_TRUE(IsTicked(page, IDC_NET_80211G));
            EXPECT_EQ(0, MessageBoxesSince(before));
        });
    }
}
