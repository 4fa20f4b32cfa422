// The browser security page ("Security"): SSL caching, ActiveX, scripts and script
// errors. Every write here is flushed.
#include "ui/pages.h"
#include "ui/tweaks.h"
#include "ui/page.h"
#include "ui/tweak_catalog.h"
#include "pages/internet/internet_keys.h"
#include "resource.h"


static constexpr Tweak kSecurityRows[] = {
    // control             root                key                 name                            ticked when missing  ticked    cleared
    {IDC_SEC_CACHE_SSL, HKCU, kInternetSettings, L"DisableCachingOfSSLPages", Dword(0), Dword(1), Dword(0), Dword(1), TWEAK_FLUSH},
    {IDC_SEC_NO_ACTIVEX, HKLM, kInternetSettings, L"Security_RunActiveXControls", Dword(0), Dword(1), Dword(0), Dword(1), TWEAK_FLUSH},
    {IDC_SEC_NO_SCRIPTS, HKLM, kInternetSettings, L"Security_RunScripts", Dword(0), Dword(1), Dword(0), Dword(1), TWEAK_FLUSH},
    {IDC_SEC_SCRIPT_ERRORS, HKCU, kIeMain, L"ShowScriptErrors", Dword(1), Dword(0), Dword(1), Dword(0), TWEAK_FLUSH},
};
const TweakTable g_securityTweaks = TWEAK_TABLE(kSecurityRows);

static constexpr TweakHelp kSecurityHelpRows[] = {
    {IDC_SEC_HELP_ACTIVEX, L"Enable/Display ActiveX controls and plug-ins. This tricks is not compatible with WM5."},
    {IDC_SEC_HELP_SCRIPTS, L"Enalbe/Display the execution of ActiveX scripts."},
    {IDC_SEC_HELP_ERRORS,
     L"This setting allows you to control whether script errors generate a warning message on Pocket Internet Explorer."},
};
const HelpTable g_securityHelp = HELP_TABLE(kSecurityHelpRows);

static BOOL OnSecurityCommand(HWND page, UINT control)
{
    switch (control) {
    case IDOK:
        ForwardDoneToHost(page);
        return TRUE;
    }
    if (ShowHelpOfButton(page, g_securityHelp, control)) return FALSE;
    WriteTweak(page, g_securityTweaks, control);
    return FALSE;
}

INT_PTR CALLBACK BrowserSecurityPageProc(HWND page, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        InitPageWithShell(page);
        LoadTweaks(page, g_securityTweaks);
        return TRUE;
    case WM_COMMAND:
        return OnSecurityCommand(page, LOWORD(wParam));
    }
    return FALSE;
}
