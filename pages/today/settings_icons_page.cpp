// The settings icons and rotation ClearType page ("Settings2"): five more icons of the
// Settings window and ClearType kept on when the screen turns. Every key is created
// even to be read, and every change is broadcast to the shell.
#include "ui/pages.h"
#include "ui/tweaks.h"
#include "ui/reflow.h"
#include "app/rudore.h"
#include "pages/today/settings_change.h"
#include "resource.h"

static const WCHAR kClearTypeSettings[] = L"System\\GDI\\ClearTypeSettings";
static const WCHAR kRotation[] = L"System\\GDI\\Rotation";
static const WCHAR kAbout[] = L"ControlPanel\\About";
static const WCHAR kConnections[] = L"ControlPanel\\Connections";
static const WCHAR kToday[] = L"ControlPanel\\Today";
static const WCHAR kMenus[] = L"ControlPanel\\Menus";

#define LM HKEY_LOCAL_MACHINE
#define READ TWEAK_CREATE_TO_READ

// In the order the page reads them. A "Redirect" row is only written, after the DWORD.
static const Tweak kIconTweaks[] = {
    // control, root, key, value, ticked when, missing counts as, written ticked, written cleared, flags
    {IDC_ICONS_CLEARTYPE, LM, kClearTypeSettings, L"OffOnRotation", Dword(0), Nothing(), Dword(0), Dword(1), READ},
    {IDC_ICONS_HIDE_ORIENTATION, LM, kRotation, L"HideOrientationUI", Dword(1), Nothing(), Dword(1), Dword(0), READ},
    {IDC_ICONS_HIDE_ORIENTATION, LM, kRotation, L"Redirect", NotRead(), Nothing(), Nothing(), DeleteValue(), READ},
    {IDC_ICONS_HIDE_ABOUT, LM, kAbout, L"Hide", Dword(1), Nothing(), Dword(1), Dword(0), READ},
    {IDC_ICONS_HIDE_ABOUT, LM, kAbout, L"Redirect", NotRead(), Nothing(), Text(L""), DeleteValue(), READ},
    {IDC_ICONS_HIDE_CONNECTIONS, LM, kConnections, L"Hide", Dword(1), Nothing(), Dword(1), Dword(0), READ},
    {IDC_ICONS_HIDE_TODAY, LM, kToday, L"Hide", Dword(1), Nothing(), Dword(1), Dword(0), READ},
    {IDC_ICONS_HIDE_TODAY, LM, kToday, L"Redirect", NotRead(), Nothing(), Text(L""), DeleteValue(), READ},
    {IDC_ICONS_HIDE_MENUS, LM, kMenus, L"Hide", Dword(1), Nothing(), Dword(1), Dword(0), READ},
    {IDC_ICONS_HIDE_MENUS, LM, kMenus, L"Redirect", NotRead(), Nothing(), Text(L""), DeleteValue(), READ},
};

#undef LM
#undef READ

static BOOL OnSettingsIconsCommand(HWND page, UINT control)
{
    if (control == IDOK) {
        ForwardDoneToHost(page);
        return TRUE;
    }
    // A key that cannot be opened writes nothing, so there is nothing to announce.
    if (WriteTweak(page, kIconTweaks, TWEAK_COUNT(kIconTweaks), control)) AnnounceSettingsChange(NOTICE_BROADCAST);
    return FALSE;
}

INT_PTR CALLBACK SettingsIconsPageProc(HWND page, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        InitPageWithShell(page);
        // FALSE when a key could not be created: the later boxes stay clear.
        return LoadTweaks(page, kIconTweaks, TWEAK_COUNT(kIconTweaks));
    case WM_SIZE:
        ReflowDialogFromTemplate(g_hInstance, page,
                                 ChooseLayoutVariant(IDD_SETTINGS_ICONS_PAGE, IDD_SETTINGS_ICONS_PAGE_LANDSCAPE,
                                                     IDD_SETTINGS_ICONS_PAGE_SQUARE));
        return FALSE;
    case WM_COMMAND:
        return OnSettingsIconsCommand(page, LOWORD(wParam));
    }
    return FALSE;
}
