// The browser security page ("Security"): SSL caching, ActiveX, scripts and script
// errors. Every write here is flushed.
#include "ui/pages.h"
#include "ui/tweaks.h"
#include "resource.h"

static const WCHAR kInternetSettings[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
static const WCHAR kIeMain[] = L"Software\\Microsoft\\Internet Explorer\\Main";

static const Tweak kSecurityTweaks[] = {
    // control             root                key                 name                            ticked when missing  ticked    cleared
    {IDC_SEC_CACHE_SSL, HKEY_CURRENT_USER, kInternetSettings, L"DisableCachingOfSSLPages", Dword(0), Dword(1), Dword(0), Dword(1), TWEAK_FLUSH},
    {IDC_SEC_NO_ACTIVEX, HKEY_LOCAL_MACHINE, kInternetSettings, L"Security_RunActiveXControls", Dword(0), Dword(1), Dword(0), Dword(1), TWEAK_FLUSH},
    {IDC_SEC_NO_SCRIPTS, HKEY_LOCAL_MACHINE, kInternetSettings, L"Security_RunScripts", Dword(0), Dword(1), Dword(0), Dword(1), TWEAK_FLUSH},
    {IDC_SEC_SCRIPT_ERRORS, HKEY_CURRENT_USER, kIeMain, L"ShowScriptErrors", Dword(1), Dword(0), Dword(1), Dword(0), TWEAK_FLUSH},
};

static const WCHAR kActiveXHelp[] = L"Enable/Display ActiveX controls and plug-ins. This tricks is not compatible with WM5.";
static const WCHAR kScriptsHelp[] = L"Enalbe/Display the execution of ActiveX scripts.";
static const WCHAR kErrorsHelp[] =
    L"This setting allows you to control whether script errors generate a warning message on Pocket Internet Explorer.";

static BOOL OnSecurityCommand(HWND page, UINT control)
{
    switch (control) {
    case IDOK:
        ForwardDoneToHost(page);
        return TRUE;
    case IDC_SEC_HELP_ACTIVEX: ShowTweakHelp(page, kActiveXHelp); return FALSE;
    case IDC_SEC_HELP_SCRIPTS: ShowTweakHelp(page, kScriptsHelp); return FALSE;
    case IDC_SEC_HELP_ERRORS: ShowTweakHelp(page, kErrorsHelp); return FALSE;
    }
    WriteTweak(page, kSecurityTweaks, TWEAK_COUNT(kSecurityTweaks), control);
    return FALSE;
}

INT_PTR CALLBACK BrowserSecurityPageProc(HWND page, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        InitPageWithShell(page);
        LoadTweaks(page, kSecurityTweaks, TWEAK_COUNT(kSecurityTweaks));
        return TRUE;
    case WM_COMMAND:
        return OnSecurityCommand(page, LOWORD(wParam));
    }
    return FALSE;
}
