// The mail page ("Inbox1"): the mail services' ports and the message list's look.
#include "ui/pages.h"
#include "ui/tweaks.h"
#include "ui/page.h"
#include "pages/internet/ports.h"
#include "resource.h"

static constexpr WCHAR kInbox[] = L"Software\\Microsoft\\Inbox";
static constexpr WCHAR kInboxSettings[] = L"Software\\Microsoft\\Inbox\\Settings";

// In the order the page reads them on opening: the fonts, then the date column, then SSL.
static constexpr Tweak kMailRows[] = {
    // control, root, key, value name; ticked when, missing, written when ticked, when cleared; flags
    // The box starts ticked when the list shows the fonts that ticking it writes.
    {IDC_MAIL_BIG_FONT, HKCU, kInboxSettings, L"MsgListReadFont",
     Text(L"Tahoma,120"), Nothing(), Text(L"Tahoma,120"), Text(L"Tahoma,80"), 0},
    {IDC_MAIL_BIG_FONT, HKCU, kInboxSettings, L"MsgListBoldFont",
     Text(L"Tahoma,120,b"), Nothing(), Text(L"Tahoma,120,b"), Text(L"Tahoma,80,b"), 0},
    {IDC_MAIL_BIG_FONT, HKCU, kInboxSettings, L"MsgListHeaderFont",
     Text(L"Tahoma,120"), Nothing(), Text(L"Tahoma,120"), Text(L"Tahoma,80"), 0},
    {IDC_MAIL_HIDE_DATE, HKCU, kInboxSettings, L"ShowDateTime", Dword(0), Dword(1), Dword(0), Dword(1), 0},
    {IDC_MAIL_FORCE_SSL_OFF, HKLM, kInbox, L"ForceOffSSL", Dword(1), Dword(0), Dword(1), Dword(0), 0},
};
static const TweakTable kMailTweaks = TWEAK_TABLE(kMailRows);

// A missing port shows the protocol's standard one, which the client then uses.
static const PortSetting kPop3 = {IDC_MAIL_POP3_PORT, 16, HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Inbox\\Svc\\POP3", L"Port", 110};
static const PortSetting kImap4 = {IDC_MAIL_IMAP4_PORT, 16, HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Inbox\\Svc\\IMAP4", L"Port", 143};

static constexpr TweakHelp kMailHelpRows[] = {
    {IDC_MAIL_HELP_PORTS,
     L"In some environments, the mail server may have been set up to use nonstandard TCP/IP ports for POP3 and "
    L"IMAP4. By default the Pocket PC does not allow the user to change these ports. This Option will do that."},
    {IDC_MAIL_HELP_SSL,
     L"This option increases the speed at which POP3 connects to get mail. Turns out that Inbox queries SSL on the "
    L"server side and waits to see, before it tries NON SSL and this causes about a 1 minute delay."},
};
static const HelpTable kMailHelp = HELP_TABLE(kMailHelpRows);

static void OpenMailPage(HWND page)
{
    InitPageWithShell(page);
    LoadTweaks(page, kMailTweaks);
    ShowStoredPort(page, kPop3);
    ShowStoredPort(page, kImap4);
}

static BOOL OnMailCommand(HWND page, UINT control)
{
    switch (control) {
    case IDOK:
        ForwardDoneToHost(page);
        return TRUE;
    case IDC_MAIL_POP3_BUTTON: WritePortFromField(page, kPop3); return FALSE;
    case IDC_MAIL_IMAP4_BUTTON: WritePortFromField(page, kImap4); return FALSE;
    }
    if (ShowHelpOfButton(page, kMailHelp, control)) return FALSE;
    WriteTweak(page, kMailTweaks, control);
    return FALSE;
}

static INT_PTR CALLBACK MailPageProc(HWND page, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        OpenMailPage(page);
        return TRUE;
    case WM_COMMAND:
        return OnMailCommand(page, LOWORD(wParam));
    }
    return FALSE;
}

const PageDescriptor g_mailPage = {
    L"Inbox1", IDD_MAIL_PAGE, IDD_MAIL_PAGE, IDD_MAIL_PAGE,
    IDD_MAIL_PAGE, MailPageProc, &kMailTweaks, &kMailHelp, NULL};
