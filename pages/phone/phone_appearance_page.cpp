// The phone appearance page ("Appearence"): unlimited 3GP video, the time-zone page of
// the phone settings, the GPRS disconnect button, the operator's skin, the EDGE icon
// and the GSM and Bluetooth lights. Every change is announced to all windows.
#include "ui/pages.h"
#include "ui/tweaks.h"
#include "ui/page.h"
#include "app/rudore.h"
#include "resource.h"
#include "pages/today/settings_change.h"

// A missing value leaves its box clear.
static constexpr Tweak kAppearanceRows[] = {
    // control                   root                key                             name                          ticked when missing  ticked     cleared
    {IDC_PA_UNLIMITED_VIDEO, HKLM, L"SOFTWARE\\HTC\\camera\\P3", L"EnableLimit", Dword(0), Nothing(), Dword(0), Dword(1), 0},
    {IDC_PA_TIME_SYNC, HKLM, L"SOFTWARE\\OEM\\PhoneSetting", L"ShowTimeZonesPage", Dword(1), Nothing(), Dword(1), Dword(0), 0},
    // Written whole: ticking drops any other bits the value held.
    {IDC_PA_GPRS_DISCONNECT, HKLM, L"ControlPanel\\Phone", L"Flags2", Dword(16), Nothing(), Dword(16), Dword(0), 0},
    {IDC_PA_NO_OPERATOR_SKIN, HKLM, L"Security\\Phone\\Skin", L"Enabled", Dword(0), Nothing(), Dword(0), Dword(1), 0},
    {IDC_PA_EDGE_ICON, HKLM, L"Drivers\\BuiltIn\\RIL", L"EnableDifferGprsEdgeIcon", Dword(1), Nothing(), Dword(1), Dword(0), TWEAK_FLUSH},
    {IDC_PA_GSM_LED_OFF, HKLM, L"Drivers\\BuiltIn\\NLEDMgr", L"Index", Dword(0), Nothing(), Dword(0), Dword(1), TWEAK_FLUSH},
    {IDC_PA_BT_LED_OFF, HKLM, L"Drivers\\BuiltIn\\BWLEDMgr", L"Index", Dword(0), Nothing(), Dword(0), Dword(1), TWEAK_FLUSH},
};
static const TweakTable kAppearanceTweaks = TWEAK_TABLE(kAppearanceRows);

static constexpr TweakHelp kAppearanceHelpRows[] = {
    {IDC_PA_HELP_TIME_SYNC, L"Add time sync page to Phone Settings."},
    {IDC_PA_HELP_GPRS, L"Enables a disconnect button for GPRS connections to appear in the connectively list."},
    {IDC_PA_HELP_EDGE, L"Show Edge network indicator instead of GPRS."},
    {IDC_PA_HELP_GSM_LED, L"To disable green flashing GSM signal light."},
    {IDC_PA_HELP_BT_LED, L"To disable blinking blue bluetooth light."},
};
static const HelpTable kAppearanceHelp = HELP_TABLE(kAppearanceHelpRows);

static BOOL OnAppearanceCommand(HWND page, UINT control)
{
    if (control == IDOK) {
        ForwardDoneToHost(page);
        return TRUE;
    }
    if (ShowHelpOfButton(page, kAppearanceHelp, control)) return FALSE;
    // Sent, not posted: the tap ends once every window has taken the change in. The
    // phone's own windows listen for the same code as the Settings window.
    if (WriteTweak(page, kAppearanceTweaks, control)) AnnounceSettingsChange(NOTICE_BROADCAST);
    return FALSE;
}

static INT_PTR CALLBACK PhoneAppearancePageProc(HWND page, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        InitPageWithShell(page);
        LoadTweaks(page, kAppearanceTweaks);
        return TRUE;
    case WM_SIZE:
        RelayoutPage(page, g_phoneAppearancePage);
        return FALSE;
    case WM_COMMAND:
        return OnAppearanceCommand(page, LOWORD(wParam));
    }
    return FALSE;
}

const PageDescriptor g_phoneAppearancePage = {
    L"Appearence", IDD_PHONE_APPEARANCE_PAGE_PORTRAIT, IDD_PHONE_APPEARANCE_PAGE_LANDSCAPE,
    IDD_PHONE_APPEARANCE_PAGE_SQUARE,
    IDD_PHONE_APPEARANCE_PAGE_PORTRAIT, PhoneAppearancePageProc, &kAppearanceTweaks, &kAppearanceHelp, NULL};
