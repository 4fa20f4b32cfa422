// The mail page ("Inbox1") through the Internet host.
#include "tests/hosts/host_kit.h"

namespace {

const wchar_t kPop3[] = L"Software\\Microsoft\\Inbox\\Svc\\POP3";
const wchar_t kImap4[] = L"Software\\Microsoft\\Inbox\\Svc\\IMAP4";
const wchar_t kInbox[] = L"Software\\Microsoft\\Inbox";
const wchar_t kSettings[] = L"Software\\Microsoft\\Inbox\\Settings";

DWORD Pop3Port() { return RegDwordOr(HKEY_LOCAL_MACHINE, kPop3, L"Port", 0); }
DWORD Imap4Port() { return RegDwordOr(HKEY_LOCAL_MACHINE, kImap4, L"Port", 0); }

class MailPageTest : public DeviceTest {};

}  // namespace

TEST_F(MailPageTest, PortButtonsStoreTheNumberAtTheStartOfTheirField)
{
    WriteRegDword(HKEY_LOCAL_MACHINE, kPop3, L"Port", 2525);
    DeleteRegValue(HKEY_LOCAL_MACHINE, kImap4, L"Port");
    RunInternetPage(TAB_INBOX1, [](HWND page) {
        EXPECT_EQ(L"2525", FieldText(page, IDC_MAIL_POP3_PORT));
        EXPECT_EQ(L"143", FieldText(page, IDC_MAIL_IMAP4_PORT)) << "no port stored: the standard one";
        struct {
            UINT field, button;
            const wchar_t *typed;
            DWORD (*stored)();
            DWORD expected;
        } cases[] = {
            {IDC_MAIL_POP3_PORT, IDC_MAIL_POP3_BUTTON, L"995", Pop3Port, 995},
            {IDC_MAIL_POP3_PORT, IDC_MAIL_POP3_BUTTON, L"abc", Pop3Port, 110},
            {IDC_MAIL_POP3_PORT, IDC_MAIL_POP3_BUTTON, L"12ab", Pop3Port, 12},
            {IDC_MAIL_POP3_PORT, IDC_MAIL_POP3_BUTTON, L"  +587 ", Pop3Port, 587},
            {IDC_MAIL_IMAP4_PORT, IDC_MAIL_IMAP4_BUTTON, L"", Imap4Port, 143},
            {IDC_MAIL_IMAP4_PORT, IDC_MAIL_IMAP4_BUTTON, L"993", Imap4Port, 993},
            // Only the first 15 characters are read.
            {IDC_MAIL_IMAP4_PORT, IDC_MAIL_IMAP4_BUTTON, L"               99", Imap4Port, 143},
        };
        int before = SimMessageBoxCount();
        for (auto &c : cases) {
            SCOPED_TRACE(testing::Message() << "typed \"" << c.typed << "\"");
            SetField(page, c.field, c.typed);
            Tap(page, c.button);
            EXPECT_EQ(c.expected, c.stored());
            EXPECT_EQ(c.typed, FieldText(page, c.field)) << "the field keeps what was typed";
        }
        EXPECT_EQ(0, MessageBoxesSince(before));
    });
}

TEST_F(MailPageTest, APortOutsideOneTo65535IsRefusedAndNotWritten)
{
    WriteRegDword(HKEY_LOCAL_MACHINE, kPop3, L"Port", 110);
    WriteRegDword(HKEY_LOCAL_MACHINE, kImap4, L"Port", 143);
    RunInternetPage(TAB_INBOX1, [](HWND page) {
        for (const wchar_t *typed : {L"0", L"-110", L"65536", L"99999999999"}) {
            SCOPED_TRACE(testing::Message() << "typed " << typed);
            SetField(page, IDC_MAIL_POP3_PORT, typed);
            SetField(page, IDC_MAIL_IMAP4_PORT, typed);
            for (UINT button : {IDC_MAIL_POP3_BUTTON, IDC_MAIL_IMAP4_BUTTON}) {
                int before = SimMessageBoxCount();
                Tap(page, button);
                ASSERT_EQ(1, MessageBoxesSince(before));
                SimMessageBox box = LastMessageBox();
                EXPECT_STREQ(L"Zelvo Rudore", box.caption);
                EXPECT_TRUE(wcsstr(box.text, L"1 to 65535") != NULL) << box.text;
            }
        }
        EXPECT_EQ(110u, Pop3Port());
        EXPECT_EQ(143u, Imap4Port());
        // The ends of the range are ports.
        SetField(page, IDC_MAIL_POP3_PORT, L"65535");
        Tap(page, IDC_MAIL_POP3_BUTTON);
        SetField(page, IDC_MAIL_IMAP4_PORT, L"1");
        Tap(page, IDC_MAIL_IMAP4_BUTTON);
    });
    EXPECT_EQ(65535u, Pop3Port());
    EXPECT_EQ(1u, Imap4Port());
}

TEST_F(MailPageTest, BoxesStartFromTheStoredValuesAndWriteBothStates)
{
    DeleteRegValue(HKEY_CURRENT_USER, kSettings, L"ShowDateTime");
    DeleteRegValue(HKEY_LOCAL_MACHINE, kInbox, L"ForceOffSSL");
    RunInternetPage(TAB_INBOX1, [](HWND page) {
        EXPECT_FALSE(IsTicked(page, IDC_MAIL_HIDE_DATE));
        EXPECT_FALSE(IsTicked(page, IDC_MAIL_FORCE_SSL_OFF));
        EXPECT_FALSE(IsTicked(page, IDC_MAIL_BIG_FONT));
        Tap(page, IDC_MAIL_HIDE_DATE);
        EXPECT_EQ(0u, RegDwordOr(HKEY_CURRENT_USER, kSettings, L"ShowDateTime", 99));
        Tap(page, IDC_MAIL_HIDE_DATE);
        EXPECT_EQ(1u, RegDwordOr(HKEY_CURRENT_USER, kSettings, L"ShowDateTime", 99));
        Tap(page, IDC_MAIL_FORCE_SSL_OFF);
        EXPECT_EQ(1u, RegDwordOr(HKEY_LOCAL_MACHINE, kInbox, L"ForceOffSSL", 99));
        Tap(page, IDC_MAIL_FORCE_SSL_OFF);
        EXPECT_EQ(0u, RegDwordOr(HKEY_LOCAL_MACHINE, kInbox, L"ForceOffSSL", 99));
        Tap(page, IDC_MAIL_FORCE_SSL_OFF);
        Tap(page, IDC_MAIL_HIDE_DATE);
    });
    RunInternetPage(TAB_INBOX1, [](HWND page) {
        EXPECT_TRUE(IsTicked(page, IDC_MAIL_HIDE_DATE));
        EXPECT_TRUE(IsTicked(page, IDC_MAIL_FORCE_SSL_OFF));
    });
}

TEST_F(MailPageTest, IncreaseInboxFontWritesAllThreeFontsAndShowsWhetherTheyAreTheLargeOnes)
{
    RunInternetPage(TAB_INBOX1, [](HWND page) {
        Tap(page, IDC_MAIL_BIG_FONT);
        EXPECT_EQ(L"Tahoma,120", RegTextOr(HKEY_CURRENT_USER, kSettings, L"MsgListReadFont", L"?"));
        EXPECT_EQ(L"Tahoma,120,b", RegTextOr(HKEY_CURRENT_USER, kSettings, L"MsgListBoldFont", L"?"));
        EXPECT_EQ(L"Tahoma,120", RegTextOr(HKEY_CURRENT_USER, kSettings, L"MsgListHeaderFont", L"?"));
    });
    RunInternetPage(TAB_INBOX1, [](HWND page) {
        EXPECT_TRUE(IsTicked(page, IDC_MAIL_BIG_FONT));
        Tap(page, IDC_MAIL_BIG_FONT);
        EXPECT_EQ(L"Tahoma,80", RegTextOr(HKEY_CURRENT_USER, kSettings, L"MsgListReadFont", L"?"));
        EXPECT_EQ(L"Tahoma,80,b", RegTextOr(HKEY_CURRENT_USER, kSettings, L"MsgListBoldFont", L"?"));
        EXPECT_EQ(L"Tahoma,80", RegTextOr(HKEY_CURRENT_USER, kSettings, L"MsgListHeaderFont", L"?"));
    });
    // Any other set leaves the box clear, one differing font is enough.
    WriteRegString(HKEY_CURRENT_USER, kSettings, L"MsgListReadFont", L"Tahoma,120");
    WriteRegString(HKEY_CURRENT_USER, kSettings, L"MsgListBoldFont", L"Tahoma,120,b");
    WriteRegString(HKEY_CURRENT_USER, kSettings, L"MsgListHeaderFont", L"Tahoma,100");
    RunInternetPage(TAB_INBOX1, [](HWND page) { EXPECT_FALSE(IsTicked(page, IDC_MAIL_BIG_FONT)); });
}

TEST_F(MailPageTest, HelpButtonsExplainThePortsAndTheSslProbe)
{
    RunInternetPage(TAB_INBOX1, [](HWND page) {
        int before = SimMessageBoxCount();
        Tap(page, IDC_MAIL_HELP_PORTS);
        Tap(page, IDC_MAIL_HELP_SSL);
        ASSERT_EQ(2, MessageBoxesSince(before));
        SimMessageBox ports, ssl;
        SimGetMessageBox(before, &ports);
        SimGetMessageBox(before + 1, &ssl);
        EXPECT_STREQ(L"Help", ports.caption);
        EXPECT_STREQ(L"Help", ssl.caption);
        EXPECT_TRUE(wcsstr(ports.text, L"nonstandard TCP/IP ports for POP3 and IMAP4") != NULL) << ports.text;
        EXPECT_TRUE(wcsstr(ssl.text, L"about a 1 minute delay.") != NULL) << ssl.text;
    });
}
