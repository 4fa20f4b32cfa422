// The browser security page ("Security"), which flushes every write, and the
// networking page ("NetWorking"), which flushes none.
#include "tests/hosts/host_kit.h"

namespace {

const wchar_t kSettings[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
const wchar_t kNetwork[] = L"ControlPanel\\Network";
const wchar_t kTcpip[] = L"Comm\\Tcpip\\Parms";
const wchar_t kTsClient[] = L"Software\\Microsoft\\Terminal Server Client";
const wchar_t kTsDefault[] = L"Software\\Microsoft\\Terminal Server Client\\Default";

const DwordBox kSecurityBoxes[] = {
    {IDC_SEC_CACHE_SSL, HKEY_CURRENT_USER, kSettings, L"DisableCachingOfSSLPages", 0, 1},
    {IDC_SEC_NO_ACTIVEX, HKEY_LOCAL_MACHINE, kSettings, L"Security_RunActiveXControls", 0, 1},
    {IDC_SEC_NO_SCRIPTS, HKEY_LOCAL_MACHINE, kSettings, L"Security_RunScripts", 0, 1},
    {IDC_SEC_SCRIPT_ERRORS, HKEY_CURRENT_USER, L"Software\\Microsoft\\Internet Explorer\\Main", L"ShowScriptErrors", 1, 0},
};

const DwordBox kNetworkingBoxes[] = {
    {IDC_NET_WIFI_ICON, HKEY_LOCAL_MACHINE, kNetwork, L"Hide", 0, 1},
    {IDC_NET_TCP_WINDOW, HKEY_LOCAL_MACHINE, kTcpip, L"TcpWindowSize", 65535, 32768},
    {IDC_NET_TS_CACHE, HKEY_CURRENT_USER, kTsClient, L"BitmapCacheSize", 1500, 1},
};

class SecurityPageTest : public DeviceTest {};
class NetworkingPageTest : public DeviceTest {};

}  // namespace

TEST_F(SecurityPageTest, BoxesStartClearWithoutValuesAndFlushEveryWrite)
{
    FlushRecorder flushes;
    ASSERT_TRUE(flushes.recording());
    CheckDwordBoxes(RunInternetPage, TAB_SECURITY, kSecurityBoxes, 4);
    // Each box was ticked, then cleared: one flush per write, made after it.
    ASSERT_EQ(8u, flushes.flushes().size());
    for (int i = 0; i < 4; i++) {
        const DwordBox &box = kSecurityBoxes[i];
        EXPECT_TRUE(flushes.flushes()[2 * i].Held(box.name, box.ticked)) << box.name;
        EXPECT_TRUE(flushes.flushes()[2 * i + 1].Held(box.name, box.cleared)) << box.name;
    }
}

TEST_F(NetworkingPageTest, BoxesStartClearWithoutValuesAndWriteBothStatesUnflushed)
{
    FlushRecorder flushes;
    ASSERT_TRUE(flushes.recording());
    CheckDwordBoxes(RunInternetPage, TAB_NETWORKING, kNetworkingBoxes, 3);
    RunInternetPage(TAB_NETWORKING, [](HWND page) { Tap(page, IDC_NET_TS_PORT_BUTTON); });
    EXPECT_EQ(0u, flushes.flushes().size()) << "this page never flushes";
}

TEST_F(NetworkingPageTest, The80211gBoxStartsClearEveryTimeAndIsBoundToNothing)
{
    WriteRegDword(HKEY_LOCAL_MACHINE, kNetwork, L"Hide", 1);
    WriteRegDword(HKEY_LOCAL_MACHINE, kTcpip, L"TcpWindowSize", 8000);
    WriteRegDword(HKEY_CURRENT_USER, kTsClient, L"BitmapCacheSize", 8000);
    WriteRegDword(HKEY_CURRENT_USER, kTsDefault, L"Server Port", 3389);
    for (int opening = 0; opening < 2; opening++) {
        RunInternetPage(TAB_NETWORKING, [](HWND page) {
            EXPECT_FALSE(IsTicked(page, IDC_NET_80211G));
            int before = SimMessageBoxCount();
            Tap(page, IDC_NET_80211G);
            EXPECT_TRUE(IsTicked(page, IDC_NET_80211G));
            EXPECT_EQ(0, MessageBoxesSince(before));
        });
    }
    EXPECT_EQ(1u, RegDwordOr(HKEY_LOCAL_MACHINE, kNetwork, L"Hide", 0));
    EXPECT_EQ(8000u, RegDwordOr(HKEY_LOCAL_MACHINE, kTcpip, L"TcpWindowSize", 0));
    EXPECT_EQ(8000u, RegDwordOr(HKEY_CURRENT_USER, kTsClient, L"BitmapCacheSize", 0));
    EXPECT_EQ(3389u, RegDwordOr(HKEY_CURRENT_USER, kTsDefault, L"Server Port", 0));
}
