// The messaging page ("Inbox2") and its notification options help, through the host.
#include "tests/hosts/host_kit.h"
#include "ui/pages.h"

namespace {

const wchar_t kSmsText[] = L"Software\\Microsoft\\Inbox\\SMSText";
const wchar_t kNotification[] = L"ControlPanel\\Notifications\\Default";
const wchar_t kSmsService[] = L"Software\\Microsoft\\Inbox\\Svc\\SMS";

const DwordBox kDeliveryBox[] = {
    {IDC_SMS_DELIVERY_NOTIFY, HKEY_CURRENT_USER, L"Software\\Microsoft\\Inbox\\Settings", L"SMSDeliveryNotify", 1, 0},
};

std::wstring SentText() { return RegTextOr(HKEY_LOCAL_MACHINE, kSmsService, L"MessageSent", L"(none)"); }

class MessagingPageTest : public DeviceTest {};

}  // namespace

TEST_F(MessagingPageTest, TheNumberFieldsShowAndStoreTheirNumbersAndOnlyMessagesKeptIsFlushed)
{
    // No limit stored, or 0: the setting is not offered. No option stored shows 1.
    DeleteRegValue(HKEY_CURRENT_USER, kNotification, L"Options");
    for (bool stored : {false, true}) {
        if (stored) WriteRegDword(HKEY_CURRENT_USER, kSmsText, L"MaxDeleteMsgs", 0);
        else DeleteRegValue(HKEY_CURRENT_USER, kSmsText, L"MaxDeleteMsgs");
        RunInternetPage(TAB_INBOX2, [](HWND page) {
            EXPECT_FALSE(IsEnabled(page, IDC_SMS_HISTORY_KEPT));
            EXPECT_FALSE(IsEnabled(page, IDC_SMS_HISTORY_COUNT));
            EXPECT_EQ(L"", FieldText(page, IDC_SMS_HISTORY_COUNT));
            EXPECT_EQ(L"1", FieldText(page, IDC_SMS_NOTIFY_OPTIONS));
        });
    }
    WriteRegDword(HKEY_CURRENT_USER, kSmsText, L"MaxDeleteMsgs", 50);
    WriteRegDword(HKEY_CURRENT_USER, kNotification, L"Options", 11);
    FlushRecorder flushes;
    ASSERT_TRUE(flushes.recording());
    RunInternetPage(TAB_INBOX2, [&](HWND page) {
        EXPECT_TRUE(IsEnabled(page, IDC_SMS_HISTORY_KEPT));
        EXPECT_EQ(L"50", FieldText(page, IDC_SMS_HISTORY_COUNT));
        EXPECT_FALSE(IsTicked(page, IDC_SMS_HISTORY_KEPT));
        EXPECT_EQ(L"11", FieldText(page, IDC_SMS_NOTIFY_OPTIONS));
        // Whether a click ticks or clears the box, it stores the number and flushes it.
        for (auto click : {std::make_pair(L"75", 75u), std::make_pair(L"80", 80u), std::make_pair(L"lots", 110u)}) {
            SetField(page, IDC_SMS_HISTORY_COUNT, click.first);
            size_t before = flushes.flushes().size();
            Tap(page, IDC_SMS_HISTORY_KEPT);
            EXPECT_EQ(click.second, RegDwordOr(HKEY_CURRENT_USER, kSmsText, L"MaxDeleteMsgs", 0));
            ASSERT_EQ(before + 1, flushes.flushes().size()) << click.first;
            EXPECT_TRUE(flushes.flushes().back().Held(L"MaxDeleteMsgs", click.second)) << "flushed after the write";
        }
        // The options, the sent text and the delivery box are stored unflushed.
        size_t before = flushes.flushes().size();
        for (auto typed : {std::make_pair(L"9", 9u), std::make_pair(L"", 110u)}) {
            SetField(page, IDC_SMS_NOTIFY_OPTIONS, typed.first);
            Tap(page, IDC_SMS_NOTIFY_BUTTON);
            EXPECT_EQ(typed.second, RegDwordOr(HKEY_CURRENT_USER, kNotification, L"Options", 0)) << typed.first;
        }
        Tap(page, IDC_SMS_SENT_TEXT_BUTTON);
        Tap(page, IDC_SMS_DELIVERY_NOTIFY);
        EXPECT_EQ(before, flushes.flushes().size());
    });
}

TEST_F(MessagingPageTest, TheSentTextIsMessageSentWhenTheServiceKeyIsNewOrHasNoText)
{
    DeleteRegKey(HKEY_LOCAL_MACHINE, kSmsService);
    RunInternetPage(TAB_INBOX2, [](HWND page) {
        EXPECT_TRUE(RegKeyExists(HKEY_LOCAL_MACHINE, kSmsService)) << "opening the page creates the key";
        EXPECT_EQ(L"Message Sent", FieldText(page, IDC_SMS_SENT_TEXT));
        Tap(page, IDC_SMS_SENT_TEXT_BUTTON);
        EXPECT_EQ(L"Message Sent", SentText());
    });
    // A key that exists already shows its own text; empty and the longest texts are stored whole.
    WriteRegString(HKEY_LOCAL_MACHINE, kSmsService, L"MessageSent", L"Sent off");
    RunInternetPage(TAB_INBOX2, [](HWND page) {
        EXPECT_EQ(L"Sent off", FieldText(page, IDC_SMS_SENT_TEXT));
        for (const std::wstring &typed : {std::wstring(), std::wstring(255, L'm')}) {
            SetField(page, IDC_SMS_SENT_TEXT, typed.c_str());
            Tap(page, IDC_SMS_SENT_TEXT_BUTTON);
            EXPECT_EQ(typed, SentText());
        }
    });
    DeleteRegValue(HKEY_LOCAL_MACHINE, kSmsService, L"MessageSent");
    RunInternetPage(TAB_INBOX2, [](HWND page) { EXPECT_EQ(L"Message Sent", FieldText(page, IDC_SMS_SENT_TEXT)); });
}

TEST_F(MessagingPageTest, DeliveryNotificationBoxFollowsItsValue)
{
    CheckDwordBoxes(RunInternetPage, TAB_INBOX2, kDeliveryBox, 1);
}

TEST_F(MessagingPageTest, HelpListsTheOptionValuesAndDoneOrCloseReturnsToThePage)
{
    RunInternetPage(TAB_INBOX2, [](HWND page) {
        for (UINT ending : {(UINT)WM_COMMAND, (UINT)WM_CLOSE}) {
            bool shown = DriveModal([&] { Tap(page, IDC_SMS_HELP); },
                                    [&](HWND help) {
                                        EXPECT_EQ(L"Help", WindowText(help));
                                        EXPECT_EQ(kNotificationOptionsHelp, FieldText(help, IDC_NOTIFY_HELP_TEXT));
                                        SendMessageW(help, ending, ending == WM_COMMAND ? IDOK : 0, 0);
                                    });
            EXPECT_TRUE(shown);
            EXPECT_TRUE(IsWindowVisible(page)) << "the page is still open";
        }
    });
    // Done ends the help with 1, closing it with 16.
    EXPECT_EQ(1, RunDialog(IDD_NOTIFY_HELP, NotificationOptionsHelpProc,
                           [](HWND help) { SendMessageW(help, WM_COMMAND, IDOK, 0); }));
    EXPECT_EQ(16, RunDialog(IDD_NOTIFY_HELP, NotificationOptionsHelpProc, [](HWND help) { SendMessageW(help, WM_CLOSE, 0, 0); }));
}
