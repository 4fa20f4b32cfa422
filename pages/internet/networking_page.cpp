// The networking page ("NetWorking"): the wireless icon, the TCP receive window and
// the Terminal Services client's cache and port.
#include "ui/pages.h"
#include "ui/tweaks.h"
#include "ui/page.h"
#include "pages/internet/ports.h"
#include "resource.h"

static constexpr Tweak kNetworkingRows[] = {
    // control              root                key                                            name                ticked when     missing      ticked          cleared
    {IDC_NET_WIFI_ICON, HKLM, L"ControlPanel\\Network", L"Hide", Dword(0), Dword(1), Dword(0), Dword(1), 0},
    {IDC_NET_TCP_WINDOW, HKLM, L"Comm\\Tcpip\\Parms", L"TcpWindowSize", Dword(65535), Dword(8000), Dword(65535), Dword(32768), 0},
    {IDC_NET_TS_CACHE, HKCU, L"Software\\Microsoft\\Terminal Server Client", L"BitmapCacheSize", Dword(1500), Dword(8000), Dword(1500), Dword(1), 0},
};
static const TweakTable kNetworkingTweaks = TWEAK_TABLE(kNetworkingRows);

// The client's standard port, also what a field without a number stores.
static const PortSetting kServerPort = {
    IDC_NET_TS_PORT, 20, HKEY_CURRENT_USER, L"Software\\Microsoft\\Terminal Server Client\\Default", L"Server Port", 3389};

static constexpr TweakHelp kNetworkingHelpRows[] = {
    {IDC_NET_HELP_TCP,
     L"The TCP receive window size is the amount of receive data(in bytes) that can be buffered at one time on a "
    L"connection. The sending host can send only that amount of data before waiting\t\t\t\t\tfor an acknowledgment "
    L"and window update from the receive host. Using a large TCPWindowSize will allow more data to be receive "
    L"without sending Ack, this will provide better network performances on reliable networks."},
    {IDC_NET_HELP_TS_PORT,
     L"This trick allows you to change the default Terminal Service Client Port from it's default value, 3389, to "
     L"any one desired."},
    {IDC_NET_HELP_80211G, L"This trick allows connecting a PPC to an Access Point that only accepts G devices."},
};
static const HelpTable kNetworkingHelp = HELP_TABLE(kNetworkingHelpRows);

static void OpenNetworkingPage(HWND page)
{
    InitPageWithShell(page);
    LoadTweaks(page, kNetworkingTweaks);
    ShowStoredPort(page, kServerPort);
}

static BOOL OnNetworkingCommand(HWND page, UINT control)
{
    switch (control) {
    case IDOK:
        ForwardDoneToHost(page);
        return TRUE;
    case IDC_NET_TS_PORT_BUTTON: WritePortFromField(page, kServerPort); return FALSE;
    case IDC_NET_80211G: return FALSE;   // the box is bound to no setting
    }
    if (ShowHelpOfButton(page, kNetworkingHelp, control)) return FALSE;
    WriteTweak(page, kNetworkingTweaks, control);
    return FALSE;
}

static INT_PTR CALLBACK NetworkingPageProc(HWND page, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        OpenNetworkingPage(page);
        return TRUE;
    case WM_COMMAND:
        return OnNetworkingCommand(page, LOWORD(wParam));
    }
    return FALSE;
}

const PageDescriptor g_networkingPage = {
    L"NetWorking", IDD_NETWORKING_PAGE, IDD_NETWORKING_PAGE, IDD_NETWORKING_PAGE,
    IDD_NETWORKING_PAGE, NetworkingPageProc, &kNetworkingTweaks, &kNetworkingHelp, NULL};
