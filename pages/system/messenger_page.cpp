// The instant-messenger notification page ("MSN Tricks"): display option, text and
// sound of the two notifications MSN Messenger registers, the one for a new message
// and the one for a contact signing in. Each button writes one value and says how
// that went.
#include <wchar.h>
#include "ui/pages.h"
#include "ui/tweaks.h"
#include "ui/number_field.h"
#include "ui/registry.h"
#include "ui/page.h"
#include "app/rudore.h"
#include "dialogs/file_browser.h"
#include "pages/phone/browse_field.h"
#include "resource.h"

// One notification class: its key under HKEY_CURRENT_USER, its controls and the
// reports of its buttons.
struct MessengerNotification {
    LPCWSTR key;
    UINT optionsField, optionsButton;
    UINT textField, textButton;
    UINT soundField, soundPick, soundButton;
    LPCWSTR styleChanged, textChanged, soundChanged;
};

static const MessengerNotification kNotifications[] = {
    {L"ControlPanel\\Notifications\\{A877D65F-239C-47a7-9304-0D347F580408}",
     IDC_MSN_MSG_OPTIONS, IDC_MSN_MSG_OPTIONS_BUTTON, IDC_MSN_MSG_TEXT, IDC_MSN_MSG_TEXT_BUTTON,
     IDC_MSN_MSG_SOUND, IDC_MSN_MSG_SOUND_PICK, IDC_MSN_MSG_SOUND_BUTTON,
     L"You have changed the New Message notification style!",
     L"You have changed the New Message notification text!",
     L"You have changed the New Message notification sound!"},
    {L"ControlPanel\\Notifications\\{A877D65E-239C-47a7-9304-0D347F580408}",
     IDC_MSN_ONLINE_OPTIONS, IDC_MSN_ONLINE_OPTIONS_BUTTON, IDC_MSN_ONLINE_TEXT, IDC_MSN_ONLINE_TEXT_BUTTON,
     IDC_MSN_ONLINE_SOUND, IDC_MSN_ONLINE_SOUND_PICK, IDC_MSN_ONLINE_SOUND_BUTTON,
     L"You have changed the Signing In notification style!",
     L"You have changed the Signing In notification text!",
     // The sound report of signing in reads as its style report.
     L"You have changed the Signing In notification style!"},
};
#define NOTIFICATION_COUNT ((int)(sizeof(kNotifications) / sizeof(kNotifications[0])))

static const WCHAR kTextPrefix[] = L"MSN Messenger: ";
#define TEXT_PREFIX_CHARS 15
static const WCHAR kDoneCaption[] = L"Congratulations";
static const WCHAR kFailedCaption[] = L"Sorry";
static const WCHAR kFailedText[] = L"You action failed, it's not suitable for you device!";
static constexpr TweakHelp kMessengerHelpRows[] = {
    {IDC_MSN_HELP_TEXT, L"Make the New MSN Message notification in your words.", MB_ICONINFORMATION},
    {IDC_MSN_HELP_SOUND,
     L"You can change the MSN nessage notification sound as you like. You can use the sound recorded by youself as "
     L"the notification sound. Such as \"New Message\". Make Sure the sound file is in \\Windows\\.",
     MB_ICONINFORMATION},
};
static const HelpTable kMessengerHelp = HELP_TABLE(kMessengerHelpRows);

// An option number is read with room for 15 characters; no number stores 110.
#define OPTIONS_FIELD_CHARS 16
#define OPTIONS_FALLBACK 110
#define OPTIONS_MISSING 1
// The stored text, prefix included, is held in 512 characters.
#define STORED_TEXT_CHARS 512
#define TYPED_TEXT_CHARS (STORED_TEXT_CHARS - TEXT_PREFIX_CHARS)
// Sound paths: 199 characters; the stored sound read when the page opens: 400 bytes.
#define SOUND_PATH_CHARS 200

// ---- Opening ----

static void ShowStoredText(HWND page, const MessengerNotification &notification)
{
    // Reading the text creates the key: after the page has opened once it exists.
    HKEY key;
    DWORD disposition = 0;
    if (!CreateKey(HKEY_CURRENT_USER, notification.key, &key, &disposition)) return;
    // Read back with the room it is stored from, so that a long text the page stored
    // is shown whole and not overwritten by the next press.
    WCHAR text[STORED_TEXT_CHARS];
    text[0] = 0;
    BOOL read = disposition == REG_OPENED_EXISTING_KEY && GetText(key, L"Default", text, STORED_TEXT_CHARS);
    RegCloseKey(key);
    // The field holds the user's part, after the prefix every stored text starts with.
    if (read && wcslen(text) > TEXT_PREFIX_CHARS) SetDlgItemTextW(page, notification.textField, text + TEXT_PREFIX_CHARS);
}

static void ShowStoredSound(HWND page, const MessengerNotification &notification)
{
    WCHAR sound[SOUND_PATH_CHARS];
    sound[0] = 0;
    HKEY key;
    if (OpenKey(HKEY_CURRENT_USER, notification.key, &key)) {
        GetText(key, L"Wave", sound, SOUND_PATH_CHARS);
        RegCloseKey(key);
    }
    if (sound[0]) SetDlgItemTextW(page, notification.soundField, sound);
}

static void OpenMessengerPage(HWND page)
{
    InitPageWithShell(page);
    for (int i = 0; i < NOTIFICATION_COUNT; i++) {
        const MessengerNotification &notification = kNotifications[i];
        SendDlgItemMessageW(page, notification.optionsField, EM_LIMITTEXT, OPTIONS_FIELD_CHARS - 1, 0);
        SendDlgItemMessageW(page, notification.textField, EM_LIMITTEXT, TYPED_TEXT_CHARS - 1, 0);
        SendDlgItemMessageW(page, notification.soundField, EM_LIMITTEXT, SOUND_PATH_CHARS - 1, 0);
        DWORD options = OPTIONS_MISSING;
        HKEY key;
        if (OpenKey(HKEY_CURRENT_USER, notification.key, &key)) {
            GetDword(key, L"Options", &options);
            RegCloseKey(key);
        }
        ShowNumber(page, notification.optionsField, (int)options);
        ShowStoredText(page, notification);
    }
    for (int i = 0; i < NOTIFICATION_COUNT; i++) ShowStoredSound(page, kNotifications[i]);
}

// ---- Buttons ----

// A write that went through is congratulated; one the registry refused is apologised
// for, and the old value stands.
static void ReportWrite(HWND page, BOOL written, LPCWSTR done)
{
    if (written)
        MessageBoxW(page, done, kDoneCaption, MB_OK);
    else
        MessageBoxW(page, kFailedText, kFailedCaption, MB_OK);
}

static void StoreOptions(HWND page, const MessengerNotification &notification)
{
    // Both fields fall back alike: a text without a number stores 110.
    DWORD options = (DWORD)ReadNumberField(page, notification.optionsField, OPTIONS_FIELD_CHARS, OPTIONS_FALLBACK);
    HKEY key;
    // A key the registry will not give is no write at all: nothing to report.
    if (!CreateKey(HKEY_CURRENT_USER, notification.key, &key, NULL)) return;
    BOOL written = PutDword(key, L"Options", options);
    RegCloseKey(key);
    ReportWrite(page, written, notification.styleChanged);
}

static void StoreText(HWND page, const MessengerNotification &notification)
{
    WCHAR typed[TYPED_TEXT_CHARS];
    typed[0] = 0;
    GetDlgItemTextW(page, notification.textField, typed, TYPED_TEXT_CHARS);
    WCHAR text[STORED_TEXT_CHARS];
    lstrcpyW(text, kTextPrefix);
    lstrcatW(text, typed);
    HKEY key;
    if (!CreateKey(HKEY_CURRENT_USER, notification.key, &key, NULL)) return;
    BOOL written = PutText(key, L"Default", text);
    RegCloseKey(key);
    ReportWrite(page, written, notification.textChanged);
}

// The notification names its sound by the file's name alone, without folder or
// extension: \Windows\Alarm1.wav is Alarm1.
static void SoundNameFromPath(LPCWSTR path, WCHAR *name, int cch)
{
    FileNameFromPath(path, name, cch);
    WCHAR *stop = wcschr(name, L'.');
    if (stop) *stop = 0;
}

static void StoreSound(HWND page, const MessengerNotification &notification)
{
    HKEY key;
    if (!CreateKey(HKEY_CURRENT_USER, notification.key, &key, NULL)) return;
    WCHAR path[SOUND_PATH_CHARS];
    path[0] = 0;
    GetDlgItemTextW(page, notification.soundField, path, SOUND_PATH_CHARS);
    // The name has room for the whole path: a long name is stored whole, never cut
    // into the name of some other sound.
    WCHAR name[SOUND_PATH_CHARS];
    SoundNameFromPath(path, name, SOUND_PATH_CHARS);
    BOOL written = PutText(key, L"Wave", name);
    RegCloseKey(key);
    ReportWrite(page, written, notification.soundChanged);
}

static BOOL OnMessengerCommand(HWND page, UINT control)
{
    switch (control) {
    case IDOK:
        ForwardDoneToHost(page);
        return TRUE;
    case IDC_MSN_HELP_OPTIONS:
        OpenDialogFromTemplate(page, IDD_NOTIFY_HELP_PORTRAIT, NotificationOptionsHelpProc);
        return FALSE;
    }
    if (ShowHelpOfButton(page, kMessengerHelp, control)) return FALSE;
    for (int i = 0; i < NOTIFICATION_COUNT; i++) {
        const MessengerNotification &notification = kNotifications[i];
        if (control == notification.optionsButton) StoreOptions(page, notification);
        else if (control == notification.textButton) StoreText(page, notification);
        else if (control == notification.soundButton) StoreSound(page, notification);
        // Nothing is stored until the sound button is pressed.
        else if (control == notification.soundPick) BrowseIntoField(page, notification.soundField);
    }
    return FALSE;
}

static INT_PTR CALLBACK MessengerPageProc(HWND page, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        OpenMessengerPage(page);
        return TRUE;
    case WM_SIZE:
        RelayoutPage(page, g_messengerPage);
        return FALSE;
    case WM_COMMAND:
        return OnMessengerCommand(page, LOWORD(wParam));
    }
    return FALSE;
}

const PageDescriptor g_messengerPage = {
    L"MSN Tricks", IDD_MESSENGER_PAGE_PORTRAIT, IDD_MESSENGER_PAGE_LANDSCAPE, IDD_MESSENGER_PAGE_SQUARE,
    IDD_MESSENGER_PAGE_PORTRAIT, MessengerPageProc, NULL, &kMessengerHelp, NULL};
