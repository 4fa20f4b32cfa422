// The browser security page ("Security"): SSL caching, ActiveX, scripts and script
// errors. Every write here is flushed.
#include "ui/pages.h"
#include "ui/tweaks.h"
#include "ui/page.h"
#include "pages/internet/internet_keys.h"
#include "resource.h"


static constexpr Tweak kSecurityRows[] = {
    // control             root                key                 name                            ticked when missing  ticked    cleared
    {IDC_SEC_CACHE_SSL, HKCU, kInternetSettings, L"DisableCachingOfSSLPages", Dword(0), Dword(1), Dword(0), Dword(1), TWEAK_FLUSH},
    {IDC_SEC_NO_ACTIVEX, HKLM, kInternetSettings, L"Security_RunActiveXControls", Dword(0), Dword(1), Dword(0), Dword(1), TWEAK_FLUSH},
    {IDC_SEC_NO_SCRIPTS, HKLM, kInternetSettings, L"Security_RunScripts", Dword(0), Dword(1), Dword(0), Dword(1), TWEAK_FLUSH},
    {IDC_SEC_SCRIPT_ERRORS, HKCU, kIeMain, L"ShowScriptErrors", Dword(1), Dword(0), Dword(1), Dword(0), TWEAK_FLUSH},
};
static const TweakTable kSecurityTweaks = TWEAK_TABLE(kSecurityRows);

static constexpr TweakHelp kSecurityHelpRows[] = {
    {IDC_SEC_HELP_ACTIVEX, L"Enable/Display ActiveX controls and plug-ins. This tricks is not compatible with WM5."},
    {IDC_SEC_HELP_SCRIPTS, L"Enalbe/Display the execution of ActiveX scripts."},
    {IDC_SEC_HELP_ERRORS,
     L"This setting allows you to control whether script errors generate a warning message on Pocket Internet Explorer."},
};
static const HelpTable kSecurityHelp = HELP_TABLE(kSecurityHelpRows);

static BOOL OnSecurityCommand(HWND page, UINT control)
{
    switch (control) {
    case IDOK:
        ForwardDoneToHost(page);
        return TRUE;
    }
    if (ShowHelpOfButton(page, kSecurityHelp, control)) return FALSE;
    WriteTweak(page, kSecurityTweaks, control);
    return FALSE;
}

static INT_PTR CALLBACK BrowserSecurityPageProc(HWND page, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        InitPageWithShell(page);
        LoadTweaks(page, kSecurityTweaks);
        return TRUE;
    case WM_COMMAND:
        return OnSecurityCommand(page, LOWORD(wParam));
    }
    return FALSE;
}

const PageDescriptor g_securityPage = {
    L"Security", IDD_SECURITY_PAGE, IDD_SECURITY_PAGE, IDD_SECURITY_PAGE,
    IDD_SECURITY_PAGE, BrowserSecurityPageProc, &kSecurityTweaks, &kSecurityHelp, NULL};
