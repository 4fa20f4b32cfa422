// The settings icons and rotation ClearType page ("Settings2"): five more icons of the
// Settings window and ClearType kept on when the screen turns. Every key is created
// even to be read, and every change is broadcast to the shell.
#include "ui/pages.h"
#include "ui/tweaks.h"
#include "ui/page.h"
#include "app/rudore.h"
#include "pages/today/settings_change.h"
#include "resource.h"

static constexpr WCHAR kClearTypeSettings[] = L"System\\GDI\\ClearTypeSettings";
static constexpr WCHAR kRotation[] = L"System\\GDI\\Rotation";
static constexpr WCHAR kAbout[] = L"ControlPanel\\About";
static constexpr WCHAR kConnections[] = L"ControlPanel\\Connections";
static constexpr WCHAR kToday[] = L"ControlPanel\\Today";
static constexpr WCHAR kMenus[] = L"ControlPanel\\Menus";

// In the order the page reads them. A "Redirect" row is only written, after the DWORD.
static constexpr Tweak kIconRows[] = {
    // control, root, key, value, ticked when, missing counts as, written ticked, written cleared, flags
    {IDC_ICONS_CLEARTYPE, HKLM, kClearTypeSettings, L"OffOnRotation", Dword(0), Nothing(), Dword(0), Dword(1), TWEAK_CREATE_TO_READ},
    {IDC_ICONS_HIDE_ORIENTATION, HKLM, kRotation, L"HideOrientationUI", Dword(1), Nothing(), Dword(1), Dword(0), TWEAK_CREATE_TO_READ},
    {IDC_ICONS_HIDE_ORIENTATION, HKLM, kRotation, L"Redirect", Nothing(), Nothing(), Nothing(), DeleteValue(), TWEAK_CREATE_TO_READ},
    {IDC_ICONS_HIDE_ABOUT, HKLM, kAbout, L"Hide", Dword(1), Nothing(), Dword(1), Dword(0), TWEAK_CREATE_TO_READ},
    {IDC_ICONS_HIDE_ABOUT, HKLM, kAbout, L"Redirect", Nothing(), Nothing(), Text(L""), DeleteValue(), TWEAK_CREATE_TO_READ},
    {IDC_ICONS_HIDE_CONNECTIONS, HKLM, kConnections, L"Hide", Dword(1), Nothing(), Dword(1), Dword(0), TWEAK_CREATE_TO_READ},
    {IDC_ICONS_HIDE_TODAY, HKLM, kToday, L"Hide", Dword(1), Nothing(), Dword(1), Dword(0), TWEAK_CREATE_TO_READ},
    {IDC_ICONS_HIDE_TODAY, HKLM, kToday, L"Redirect", Nothing(), Nothing(), Text(L""), DeleteValue(), TWEAK_CREATE_TO_READ},
    {IDC_ICONS_HIDE_MENUS, HKLM, kMenus, L"Hide", Dword(1), Nothing(), Dword(1), Dword(0), TWEAK_CREATE_TO_READ},
    {IDC_ICONS_HIDE_MENUS, HKLM, kMenus, L"Redirect", Nothing(), Nothing(), Text(L""), DeleteValue(), TWEAK_CREATE_TO_READ},
};
static const TweakTable kSettingsIconsTweaks = TWEAK_TABLE(kIconRows);

static BOOL OnSettingsIconsCommand(HWND page, UINT control)
{
    if (control == IDOK) {
        ForwardDoneToHost(page);
        return TRUE;
    }
    // A key that cannot be opened writes nothing, so there is nothing to announce.
    if (WriteTweak(page, kSettingsIconsTweaks, control)) AnnounceSettingsChange(NOTICE_BROADCAST);
    return FALSE;
}

static INT_PTR CALLBACK SettingsIconsPageProc(HWND page, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        InitPageWithShell(page);
        // FALSE when a key could not be created: the later boxes stay clear.
        return LoadTweaks(page, kSettingsIconsTweaks);
    case WM_SIZE:
        RelayoutPage(page, g_settingsIconsPage);
        return FALSE;
    case WM_COMMAND:
        return OnSettingsIconsCommand(page, LOWORD(wParam));
    }
    return FALSE;
}

const PageDescriptor g_settingsIconsPage = {
    L"Settings2", IDD_SETTINGS_ICONS_PAGE_PORTRAIT, IDD_SETTINGS_ICONS_PAGE_LANDSCAPE, IDD_SETTINGS_ICONS_PAGE_SQUARE,
    IDD_SETTINGS_ICONS_PAGE_PORTRAIT, SettingsIconsPageProc, &kSettingsIconsTweaks, NULL, NULL};
