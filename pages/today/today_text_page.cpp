// The Today text and settings icons page ("Settings1"): a line of text on the Today
// screen and five icons of the Settings window. The icons' control-panel keys are
// created even to be read, and each icon change is announced to the shell.
#include "ui/pages.h"
#include "ui/tweaks.h"
#include "ui/reflow.h"
#include "app/rudore.h"
#include "pages/today/settings_change.h"
#include "resource.h"

static const WCHAR kDeviceBeta[] = L"Software\\Microsoft\\Shell\\DeviceBeta";
static const WCHAR kButtons[] = L"ControlPanel\\Buttons";
static const WCHAR kNetwork[] = L"ControlPanel\\Network";
static const WCHAR kAdminPassword[] = L"ControlPanel\\AdminPassword";
static const WCHAR kPassword[] = L"ControlPanel\\Password";
static const WCHAR kOwner[] = L"ControlPanel\\Owner";

// What the field shows when no text is stored.
static const WCHAR kNoTodayText[] = L"Rudore";
// Room for the Today text, terminator included, in the registry and in the field.
static const int kTodayTextChars = 256;

#define LM HKEY_LOCAL_MACHINE
#define READ TWEAK_CREATE_TO_READ

// In the order the page reads them; the buttons key comes before the Today text, the
// other four after it. A "Redirect" row is only written.
static const Tweak kIconTweaks[] = {
    // control, root, key, value, ticked when, missing counts as, written ticked, written cleared, flags
    {IDC_TODAYTEXT_HIDE_BUTTONS, LM, kButtons, L"Hide", Dword(1), Nothing(), Dword(1), Dword(0), READ},
    {IDC_TODAYTEXT_HIDE_BUTTONS, LM, kButtons, L"Redirect", NotRead(), Nothing(), Text(L""), DeleteValue(), READ},
    {IDC_TODAYTEXT_HIDE_NETWORK, LM, kNetwork, L"Hide", Dword(1), Nothing(), Dword(1), Dword(0), READ},
    {IDC_TODAYTEXT_HIDE_ADMIN, LM, kAdminPassword, L"Hide", Dword(1), Nothing(), Dword(1), Dword(0), READ},
    {IDC_TODAYTEXT_HIDE_ADMIN, LM, kAdminPassword, L"Redirect", NotRead(), Nothing(), Text(L""), DeleteValue(), READ},
    {IDC_TODAYTEXT_HIDE_PASSWORD, LM, kPassword, L"Hide", Dword(1), Nothing(), Dword(1), Dword(0), READ},
    {IDC_TODAYTEXT_HIDE_PASSWORD, LM, kPassword, L"Redirect", NotRead(), Nothing(), Text(L""), DeleteValue(), READ},
    {IDC_TODAYTEXT_HIDE_OWNER, LM, kOwner, L"Hide", Dword(1), Nothing(), Dword(1), Dword(0), READ},
    {IDC_TODAYTEXT_HIDE_OWNER, LM, kOwner, L"Redirect", NotRead(), Nothing(), Text(L""), DeleteValue(), READ},
};
static const int kButtonsRows = 2;

#undef LM
#undef READ

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
    ReadTextAt(HKEY_LOCAL_MACHINE, kDeviceBeta, L"Today", text, kTodayTextChars);
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
    if (!CreateTweakKey(HKEY_LOCAL_MACHINE, kDeviceBeta, &key, NULL)) return;
    if (IsDlgButtonChecked(page, IDC_TODAYTEXT_SHOW) != BST_UNCHECKED) {
        WCHAR text[kTodayTextChars];
        text[0] = 0;
        GetDlgItemTextW(page, IDC_TODAYTEXT_TEXT, text, kTodayTextChars);
        WriteTextValue(key, L"Today", text);
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
    if (!LoadTweaks(page, kIconTweaks, kButtonsRows)) return FALSE;
    ShowStoredTodayText(page);
    return LoadTweaks(page, kIconTweaks + kButtonsRows, TWEAK_COUNT(kIconTweaks) - kButtonsRows);
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
    if (WriteTweak(page, kIconTweaks, TWEAK_COUNT(kIconTweaks), control)) AnnounceSettingsChange(NoticeForIcon(control));
    return FALSE;
}

INT_PTR CALLBACK TodayTextPageProc(HWND page, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        return OpenTodayTextPage(page);
    case WM_SIZE:
        ReflowDialogFromTemplate(g_hInstance, page,
                                 ChooseLayoutVariant(IDD_TODAY_TEXT_PAGE_PORTRAIT, IDD_TODAY_TEXT_PAGE_LANDSCAPE,
                                                     IDD_TODAY_TEXT_PAGE));
        return FALSE;
    case WM_COMMAND:
        return OnTodayTextCommand(page, LOWORD(wParam));
    }
    return FALSE;
}
