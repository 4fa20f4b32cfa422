// The browser security page ("Security") and the networking page ("NetWorking").
#include "tests/hosts/host_kit.h"

namespace {

const wchar_t kSettings[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
const wchar_t kIeMain[] = L"Software\\Microsoft\\Internet Explorer\\Main";
const wchar_t kNetwork[] = L"ControlPanel\\Network";
const wchar_t kTcpip[] = L"Comm\\Tcpip\\Parms";
const wchar_t kTsClient[] = L"Software\\Microsoft\\Terminal Server Client";
const wchar_t kTsDefault[] = L"Software\\Microsoft\\Terminal Server Client\\Default";

const DwordBox kSecurityBoxes[] = {
    {IDC_SEC_CACHE_SSL, HKEY_CURRENT_USER, kSettings, L"DisableCachingOfSSLPages", 0, 1},
    {IDC_SEC_NO_ACTIVEX, HKEY_LOCAL_MACHINE, kSettings, L"Security_RunActiveXControls", 0, 1},
    {IDC_SEC_NO_SCRIPTS, HKEY_LOCAL_MACHINE, kSettings, L"Security_RunScripts", 0, 1},
    {IDC_SEC_SCRIPT_ERRORS, HKEY_CURRENT_USER, kIeMain, L"ShowScriptErrors", 1, 0},
};

const DwordBox kNetworkingBoxes[] = {
    {IDC_NET_WIFI_ICON, HKEY_LOCAL_MACHINE, kNetwork, L"Hide", 0, 1},
    {IDC_NET_TCP_WINDOW, HKEY_LOCAL_MACHINE, kTcpip, L"TcpWindowSize", 65535, 32768},
    {IDC_NET_TS_CACHE, HKEY_CURRENT_USER, kTsClient, L"BitmapCacheSize", 1500, 1},
};

class SecurityPageTest : public DeviceTest {};
class NetworkingPageTest : public DeviceTest {};

}  // namespace

TEST_F(SecurityPageTest, BoxesStartClearWithoutValuesAndWriteBothStates)
{
    CheckDwordBoxes(RunInternetPage, TAB_SECURITY, kSecurityBoxes, 4);
    // "Show Scripts Errors" is on only for exactly 1.
    WriteRegDword(HKEY_CURRENT_USER, kIeMain, L"ShowScriptErrors", 2);
    RunInternetPage(TAB_SECURITY, [](HWND page) { EXPECT_FALSE(IsTicked(page, IDC_SEC_SCRIPT_ERRORS)); });
}

TEST_F(SecurityPageTest, HelpButtonsExplainTheirTweaks)
{
    CheckHelpButton(RunInternetPage, TAB_SECURITY, IDC_SEC_HELP_ACTIVEX,
              L"Enable/Display ActiveX controls and plug-ins. This tricks is not compatible with WM5.");
    CheckHelpButton(RunInternetPage, TAB_SECURITY, IDC_SEC_HELP_SCRIPTS, L"Enalbe/Display the execution of ActiveX scripts.");
    CheckHelpButton(RunInternetPage, TAB_SECURITY, IDC_SEC_HELP_ERRORS,
              L"This setting allows you to control whether script errors generate a warning message on Pocket "
              L"Internet Explorer.");
}

TEST_F(NetworkingPageTest, BoxesStartClearWithoutValuesAndWriteBothStates)
{
    CheckDwordBoxes(RunInternetPage, TAB_NETWORKING, kNetworkingBoxes, 3);
}

TEST_F(NetworkingPageTest, TheServerPortIsShownAndStoredWithinOneTo65535)
{
    DeleteRegValue(HKEY_CURRENT_USER, kTsDefault, L"Server Port");
    RunInternetPage(TAB_NETWORKING, [](HWND page) {
        EXPECT_EQ(L"3389", FieldText(page, IDC_NET_TS_PORT));
        SetField(page, IDC_NET_TS_PORT, L"443");
        Tap(page, IDC_NET_TS_PORT_BUTTON);
        EXPECT_EQ(443u, RegDwordOr(HKEY_CURRENT_USER, kTsDefault, L"Server Port", 0));
        // No number: the client's standard port.
        SetField(page, IDC_NET_TS_PORT, L"none");
        Tap(page, IDC_NET_TS_PORT_BUTTON);
        EXPECT_EQ(3389u, RegDwordOr(HKEY_CURRENT_USER, kTsDefault, L"Server Port", 0));
        // Refused, with the number left unwritten.
        for (const wchar_t *typed : {L"0", L"65536", L"-3389"}) {
            int before = SimMessageBoxCount();
            SetField(page, IDC_NET_TS_PORT, typed);
            Tap(page, IDC_NET_TS_PORT_BUTTON);
            ASSERT_EQ(1, MessageBoxesSince(before)) << typed;
            EXPECT_STREQ(L"Zelvo Rudore", LastMessageBox().caption);
            EXPECT_EQ(3389u, RegDwordOr(HKEY_CURRENT_USER, kTsDefault, L"Server Port", 0));
        }
    });
    WriteRegDword(HKEY_CURRENT_USER, kTsDefault, L"Server Port", 3390);
    RunInternetPage(TAB_NETWORKING, [](HWND page) { EXPECT_EQ(L"3390", FieldText(page, IDC_NET_TS_PORT)); });
}

TEST_F(NetworkingPageTest, The80211gBoxIsBoundToNothing)
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

TEST_F(NetworkingPageTest, HelpButtonsExplainTheirTweaks)
{
    CheckHelpButton(RunInternetPage, TAB_NETWORKING, IDC_NET_HELP_TCP,
              L"The TCP receive window size is the amount of receive data(in bytes) that can be buffered at one time "
              L"on a connection. The sending host can send only that amount of data before waiting\t\t\t\t\tfor an "
              L"acknowledgment and window update from the receive host. Using a large TCPWindowSize will allow more "
              L"data to be receive without sending Ack, this will provide better network performances on reliable "
              L"networks.");
    CheckHelpButton(RunInternetPage, TAB_NETWORKING, IDC_NET_HELP_TS_PORT,
              L"This trick allows you to change the default Terminal Service Client Port from it's default value, "
              L"3389, to any one desired.");
    CheckHelpButton(RunInternetPage, TAB_NETWORKING, IDC_NET_HELP_80211G,
              L"This trick allows connecting a PPC to an Access Point that only accepts G devices.");
}
