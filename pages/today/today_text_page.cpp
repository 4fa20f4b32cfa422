// The Today text and settings icons page ("Settings1"): a line of text on the Today
// screen and five icons of the Settings window. The icons' control-panel keys are
// created even to be read, and each icon change is announced to the shell.
#include "ui/pages.h"
#include "ui/tweaks.h"
#include "ui/registry.h"
#include "ui/page.h"
#include "app/rudore.h"
#include "pages/today/settings_change.h"
#include "resource.h"

static constexpr WCHAR kDeviceBeta[] = L"Software\\Microsoft\\Shell\\DeviceBeta";
static constexpr WCHAR kButtons[] = L"ControlPanel\\Buttons";
static constexpr WCHAR kNetwork[] = L"ControlPanel\\Network";
static constexpr WCHAR kAdminPassword[] = L"ControlPanel\\AdminPassword";
static constexpr WCHAR kPassword[] = L"ControlPanel\\Password";
static constexpr WCHAR kOwner[] = L"ControlPanel\\Owner";

// What the field shows when no text is stored.
static constexpr WCHAR kNoTodayText[] = L"Rudore";
// Room for the Today text, terminator included, in the registry and in the field.
static const int kTodayTextChars = 256;

// Every key is created even to be read. A "Redirect" row is only written.
static constexpr Tweak kIconRows[] = {
    // control, root, key, value, ticked when, missing counts as, written ticked, written cleared, flags
    {IDC_TODAYTEXT_HIDE_BUTTONS, HKLM, kButtons, L"Hide", Dword(1), Nothing(), Dword(1), Dword(0), TWEAK_CREATE_TO_READ},
    {IDC_TODAYTEXT_HIDE_BUTTONS, HKLM, kButtons, L"Redirect", Nothing(), Nothing(), Text(L""), DeleteValue(), TWEAK_CREATE_TO_READ},
    {IDC_TODAYTEXT_HIDE_NETWORK, HKLM, kNetwork, L"Hide", Dword(1), Nothing(), Dword(1), Dword(0), TWEAK_CREATE_TO_READ},
    {IDC_TODAYTEXT_HIDE_ADMIN, HKLM, kAdminPassword, L"Hide", Dword(1), Nothing(), Dword(1), Dword(0), TWEAK_CREATE_TO_READ},
    {IDC_TODAYTEXT_HIDE_ADMIN, HKLM, kAdminPassword, L"Redirect", Nothing(), Nothing(), Text(L""), DeleteValue(), TWEAK_CREATE_TO_READ},
    {IDC_TODAYTEXT_HIDE_PASSWORD, HKLM, kPassword, L"Hide", Dword(1), Nothing(), Dword(1), Dword(0), TWEAK_CREATE_TO_READ},
    {IDC_TODAYTEXT_HIDE_PASSWORD, HKLM, kPassword, L"Redirect", Nothing(), Nothing(), Text(L""), DeleteValue(), TWEAK_CREATE_TO_READ},
    {IDC_TODAYTEXT_HIDE_OWNER, HKLM, kOwner, L"Hide", Dword(1), Nothing(), Dword(1), Dword(0), TWEAK_CREATE_TO_READ},
    {IDC_TODAYTEXT_HIDE_OWNER, HKLM, kOwner, L"Redirect", Nothing(), Nothing(), Text(L""), DeleteValue(), TWEAK_CREATE_TO_READ},
};
static const TweakTable kTodayTextTweaks = TWEAK_TABLE(kIconRows);

// The buttons icon is announced to every window; the others only to the desktop.
static int NoticeForIcon(UINT control)
{
    return control == IDC_TODAYTEXT_HIDE_BUTTONS ? NOTICE_BROADCAST : NOTICE_POST_TO_DESKTOP;
}

// A text too long for the field, of another type or without its null counts as none.
static void ShowStoredTodayText(HWND page)
{
    WCHAR text[kTodayTextChars];
    text[0] = 0;
    HKEY key;
    if (OpenKey(HKEY_LOCAL_MACHINE, kDeviceBeta, &key)) {
        GetText(key, L"Today", text, kTodayTextChars);
        RegCloseKey(key);
    }
    if (!text[0]) {
        SetDlgItemTextW(page, IDC_TODAYTEXT_TEXT, kNoTodayText);
        return;
    }
    CheckDlgButton(page, IDC_TODAYTEXT_SHOW, BST_CHECKED);
    SetDlgItemTextW(page, IDC_TODAYTEXT_TEXT, text);
}

// Ticked stores the field's text as it is now (an empty field stores an empty text).
static void WriteTodayText(HWND page)
{
    HKEY key;
    if (!CreateKey(HKEY_LOCAL_MACHINE, kDeviceBeta, &key, NULL)) return;
    if (IsBoxTicked(page, IDC_TODAYTEXT_SHOW)) {
        WCHAR text[kTodayTextChars];
        text[0] = 0;
        GetDlgItemTextW(page, IDC_TODAYTEXT_TEXT, text, kTodayTextChars);
        PutText(key, L"Today", text);
    } else {
        RegDeleteValueW(key, L"Today");
    }
    RegCloseKey(key);
}

// FALSE when a control-panel key could not be created: the later boxes stay clear.
static BOOL OpenTodayTextPage(HWND page)
{
    InitPageWithShell(page);
    SendDlgItemMessageW(page, IDC_TODAYTEXT_TEXT, EM_LIMITTEXT, kTodayTextChars - 1, 0);
    // The buttons key is read before the Today text, the other four after it.
    if (!LoadTweakBox(page, kTodayTextTweaks, IDC_TODAYTEXT_HIDE_BUTTONS)) return FALSE;
    ShowStoredTodayText(page);
    static const UINT later[] = {IDC_TODAYTEXT_HIDE_NETWORK, IDC_TODAYTEXT_HIDE_ADMIN, IDC_TODAYTEXT_HIDE_PASSWORD,
                                 IDC_TODAYTEXT_HIDE_OWNER};
    for (UINT box : later)
        if (!LoadTweakBox(page, kTodayTextTweaks, box)) return FALSE;
    return TRUE;
}

static BOOL OnTodayTextCommand(HWND page, UINT control)
{
    switch (control) {
    case IDOK:
        ForwardDoneToHost(page);
        return TRUE;
    case IDC_TODAYTEXT_SHOW:
        WriteTodayText(page);
        return FALSE;
    }
    // A key that cannot be opened writes nothing, so there is nothing to announce.
    if (WriteTweak(page, kTodayTextTweaks, control)) AnnounceSettingsChange(NoticeForIcon(control));
    return FALSE;
}

static INT_PTR CALLBACK TodayTextPageProc(HWND page, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        return OpenTodayTextPage(page);
    case WM_SIZE:
        RelayoutPage(page, g_todayTextPage);
        return FALSE;
    case WM_COMMAND:
        return OnTodayTextCommand(page, LOWORD(wParam));
    }
    return FALSE;
}

const PageDescriptor g_todayTextPage = {
    L"Settings1", IDD_TODAY_TEXT_PAGE_PORTRAIT, IDD_TODAY_TEXT_PAGE_LANDSCAPE, IDD_TODAY_TEXT_PAGE_SQUARE,
    IDD_TODAY_TEXT_PAGE_SQUARE, TodayTextPageProc, &kTodayTextTweaks, NULL, NULL};
