// The messaging page ("Inbox2"): text messages kept, the "message sent" notification
// and delivery reports; with the help dialog that lists the notification options.
#include "ui/pages.h"
#include "ui/tweaks.h"
#include "ui/number_field.h"
#include "ui/registry.h"
#include "ui/page.h"
#include "ui/reflow.h"
#include "app/rudore.h"
#include "aygshell.h"
#include "resource.h"

static constexpr WCHAR kSmsText[] = L"Software\\Microsoft\\Inbox\\SMSText";
static constexpr WCHAR kNotificationDefault[] = L"ControlPanel\\Notifications\\Default";
static constexpr WCHAR kSmsService[] = L"Software\\Microsoft\\Inbox\\Svc\\SMS";
static constexpr WCHAR kDefaultSentText[] = L"Message Sent";

static constexpr Tweak kMessagingRows[] = {
    // control                  root               key                                   name                 ticked when missing  ticked    cleared
    {IDC_SMS_DELIVERY_NOTIFY, HKCU, L"Software\\Microsoft\\Inbox\\Settings", L"SMSDeliveryNotify", Dword(1), Dword(0), Dword(1), Dword(0), 0},
};
static const TweakTable kMessagingTweaks = TWEAK_TABLE(kMessagingRows);

// The number fields are read with room for 15 digits and the terminator; no number
// stores 110.
#define NUMBER_FIELD_CHARS 16
#define NUMBER_FALLBACK 110
// The sent text is typed, stored and read back with the same room, so that a text the
// page stored shows whole when it opens again instead of being taken for none.
#define SENT_TEXT_CHARS 256
#define HELP_TEXT_CHARS 512

static void LoadMessagesKept(HWND page)
{
    DWORD kept = 0;
    HKEY key;
    if (OpenKey(HKEY_CURRENT_USER, kSmsText, &key)) {
        GetDword(key, L"MaxDeleteMsgs", &kept);
        RegCloseKey(key);
    }
    if (kept == 0) {
        // No limit stored: the setting is not offered.
        EnableWindow(GetDlgItem(page, IDC_SMS_HISTORY_COUNT), FALSE);
        EnableWindow(GetDlgItem(page, IDC_SMS_HISTORY_KEPT), FALSE);
        return;
    }
    ShowNumber(page, IDC_SMS_HISTORY_COUNT, (int)kept);
}

// Opening the page creates the service key; a key that did not exist before has no
// text of its own yet.
static void LoadSentText(HWND page)
{
    WCHAR text[SENT_TEXT_CHARS];
    HKEY key;
    DWORD disposition = 0;
    BOOL read = FALSE;
    if (CreateKey(HKEY_LOCAL_MACHINE, kSmsService, &key, &disposition)) {
        if (disposition != REG_CREATED_NEW_KEY) read = GetText(key, L"MessageSent", text, SENT_TEXT_CHARS);
        RegCloseKey(key);
    }
    SetDlgItemTextW(page, IDC_SMS_SENT_TEXT, read ? text : kDefaultSentText);
}

static void OpenMessagingPage(HWND page)
{
    InitPageWithShell(page);
    SendDlgItemMessageW(page, IDC_SMS_HISTORY_COUNT, EM_LIMITTEXT, NUMBER_FIELD_CHARS - 1, 0);
    SendDlgItemMessageW(page, IDC_SMS_NOTIFY_OPTIONS, EM_LIMITTEXT, NUMBER_FIELD_CHARS - 1, 0);
    SendDlgItemMessageW(page, IDC_SMS_SENT_TEXT, EM_LIMITTEXT, SENT_TEXT_CHARS - 1, 0);
    LoadMessagesKept(page);
    DWORD options = 1;
    HKEY key;
    if (OpenKey(HKEY_CURRENT_USER, kNotificationDefault, &key)) {
        GetDword(key, L"Options", &options);
        RegCloseKey(key);
    }
    ShowNumber(page, IDC_SMS_NOTIFY_OPTIONS, (int)options);
    LoadTweaks(page, kMessagingTweaks);
    LoadSentText(page);
}

static void WriteSentText(HWND page)
{
    WCHAR text[SENT_TEXT_CHARS];
    text[0] = 0;
    GetDlgItemTextW(page, IDC_SMS_SENT_TEXT, text, SENT_TEXT_CHARS);
    HKEY key;
    if (CreateKey(HKEY_LOCAL_MACHINE, kSmsService, &key, NULL)) {
        PutText(key, L"MessageSent", text);
        RegCloseKey(key);
    }
}

// The field is read before the key is made, so a number is stored whatever the key held.
static void StoreNumberField(HWND page, UINT field, LPCWSTR path, LPCWSTR name, BOOL flush)
{
    DWORD number = (DWORD)ReadNumberField(page, field, NUMBER_FIELD_CHARS, NUMBER_FALLBACK);
    HKEY key;
    if (!CreateKey(HKEY_CURRENT_USER, path, &key, NULL)) return;
    PutDword(key, name, number);
    if (flush) RegFlushKey(key);
    RegCloseKey(key);
}

static BOOL OnMessagingCommand(HWND page, UINT control)
{
    switch (control) {
    case IDOK:
        ForwardDoneToHost(page);
        return TRUE;
    case IDC_SMS_HELP:
        OpenDialogFromTemplate(page, IDD_NOTIFY_HELP_PORTRAIT, NotificationOptionsHelpProc);
        return FALSE;
    case IDC_SMS_HISTORY_KEPT:
        // Whatever the box shows, each click stores the number.
        StoreNumberField(page, IDC_SMS_HISTORY_COUNT, kSmsText, L"MaxDeleteMsgs", TRUE);
        return FALSE;
    case IDC_SMS_NOTIFY_BUTTON:
        StoreNumberField(page, IDC_SMS_NOTIFY_OPTIONS, kNotificationDefault, L"Options", FALSE);
        return FALSE;
    case IDC_SMS_SENT_TEXT_BUTTON:
        WriteSentText(page);
        return FALSE;
    }
    WriteTweak(page, kMessagingTweaks, control);
    return FALSE;
}

static INT_PTR CALLBACK MessagingPageProc(HWND page, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        OpenMessagingPage(page);
        return TRUE;
    case WM_SIZE:
        RelayoutPage(page, g_messagingPage);
        return FALSE;
    case WM_COMMAND:
        return OnMessagingCommand(page, LOWORD(wParam));
    }
    return FALSE;
}

// ---- The notification options help dialog ----

static void ShowNotificationOptions(HWND dialog)
{
    WCHAR text[HELP_TEXT_CHARS];
    int length = LoadStringW(g_hInstance, IDS_NOTIFY_HELP_FIRST, text, HELP_TEXT_CHARS);
    if (length < 0) length = 0;
    text[length] = 0;
    if (length < HELP_TEXT_CHARS - 1)
        LoadStringW(g_hInstance, IDS_NOTIFY_HELP_SECOND, text + length, HELP_TEXT_CHARS - length);
    SetDlgItemTextW(dialog, IDC_NOTIFY_HELP_TEXT, text);
}

INT_PTR CALLBACK NotificationOptionsHelpProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG: {
        SHINITDLGINFO info = {SHIDIM_FLAGS, dialog,
                              SHIDIF_DONEBUTTON | SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_SIPDOWN | SHIDIF_EMPTYMENU};
        SHInitDialog(&info);
        ShowNotificationOptions(dialog);
        return TRUE;
    }
    case WM_SIZE:
        ReflowDialogFromTemplate(g_hInstance, dialog,
                                 ChooseLayoutVariant(IDD_NOTIFY_HELP_PORTRAIT, IDD_NOTIFY_HELP_LANDSCAPE, IDD_NOTIFY_HELP_PORTRAIT));
        return FALSE;
    case WM_COMMAND:
        if (LOWORD(wParam) != IDOK) return FALSE;
        EndDialog(dialog, IDOK);
        return TRUE;
    case WM_CLOSE:
        EndDialog(dialog, DIALOG_CLOSED);
        return TRUE;
    }
    return FALSE;
}

const PageDescriptor g_messagingPage = {
    L"Inbox2", IDD_MESSAGING_PAGE_PORTRAIT, IDD_MESSAGING_PAGE_LANDSCAPE, IDD_MESSAGING_PAGE_SQUARE,
    IDD_MESSAGING_PAGE_PORTRAIT, MessagingPageProc, &kMessagingTweaks, NULL, NULL};
