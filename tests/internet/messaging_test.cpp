// The messaging page ("Inbox2") and its notification options help, through the host.
#include "tests/hosts/host_kit.h"

namespace {

const wchar_t kSmsText[] = L"Software\\Microsoft\\Inbox\\SMSText";
const wchar_t kNotification[] = L"ControlPanel\\Notifications\\Default";
const wchar_t kSmsService[] = L"Software\\Microsoft\\Inbox\\Svc\\SMS";
const wchar_t kSettings[] = L"Software\\Microsoft\\Inbox\\Settings";

class MessagingPageTest : public DeviceTest {};

}  // namespace

TEST_F(MessagingPageTest, MessagesKeptIsOfferedOnlyWhenALimitIsStored)
{
    for (bool stored : {false, true}) {
        if (stored)
            WriteRegDword(HKEY_CURRENT_USER, kSmsText, L"MaxDeleteMsgs", 0);
        else
            DeleteRegValue(HKEY_CURRENT_USER, kSmsText, L"MaxDeleteMsgs");
        RunInternetPage(TAB_INBOX2, [](HWND page) {
            EXPECT_FALSE(IsEnabled(page, IDC_SMS_HISTORY_KEPT));
            EXPECT_FALSE(IsEnabled(page, IDC_SMS_HISTORY_COUNT));
            EXPECT_EQ(L"", FieldText(page, IDC_SMS_HISTORY_COUNT));
        });
    }
    WriteRegDword(HKEY_CURRENT_USER, kSmsText, L"MaxDeleteMsgs", 50);
    RunInternetPage(TAB_INBOX2, [](HWND page) {
        EXPECT_TRUE(IsEnabled(page, IDC_SMS_HISTORY_KEPT));
        EXPECT_EQ(L"50", FieldText(page, IDC_SMS_HISTORY_COUNT));
        EXPECT_FALSE(IsTicked(page, IDC_SMS_HISTORY_KEPT));
        // Every click stores the field's number, whether it ticks or clears the box.
        SetField(page, IDC_SMS_HISTORY_COUNT, L"75");
        Tap(page, IDC_SMS_HISTORY_KEPT);
        EXPECT_EQ(75u, RegDwordOr(HKEY_CURRENT_USER, kSmsText, L"MaxDeleteMsgs", 0));
        SetField(page, IDC_SMS_HISTORY_COUNT, L"80");
        Tap(page, IDC_SMS_HISTORY_KEPT);
        EXPECT_FALSE(IsTicked(page, IDC_SMS_HISTORY_KEPT));
        EXPECT_EQ(80u, RegDwordOr(HKEY_CURRENT_USER, kSmsText, L"MaxDeleteMsgs", 0));
        SetField(page, IDC_SMS_HISTORY_COUNT, L"lots");
        Tap(page, IDC_SMS_HISTORY_KEPT);
        EXPECT_EQ(110u, RegDwordOr(HKEY_CURRENT_USER, kSmsText, L"MaxDeleteMsgs", 0));
    });
}

TEST_F(MessagingPageTest, NotificationOptionsShowAndStoreTheNumber)
{
    DeleteRegValue(HKEY_CURRENT_USER, kNotification, L"Options");
    RunInternetPage(TAB_INBOX2, [](HWND page) {
        EXPECT_EQ(L"1", FieldText(page, IDC_SMS_NOTIFY_OPTIONS));
        SetField(page, IDC_SMS_NOTIFY_OPTIONS, L"9");
        Tap(page, IDC_SMS_NOTIFY_BUTTON);
        EXPECT_EQ(9u, RegDwordOr(HKEY_CURRENT_USER, kNotification, L"Options", 0));
        SetField(page, IDC_SMS_NOTIFY_OPTIONS, L"");
        Tap(page, IDC_SMS_NOTIFY_BUTTON);
        EXPECT_EQ(110u, RegDwordOr(HKEY_CURRENT_USER, kNotification, L"Options", 0));
    });
    WriteRegDword(HKEY_CURRENT_USER, kNotification, L"Options", 11);
    RunInternetPage(TAB_INBOX2, [](HWND page) { EXPECT_EQ(L"11", FieldText(page, IDC_SMS_NOTIFY_OPTIONS)); });
}

TEST_F(MessagingPageTest, TheSentTextIsMessageSentOnADeviceWithoutTheServiceKey)
{
    DeleteRegKey(HKEY_LOCAL_MACHINE, kSmsService);
    ASSERT_FALSE(RegKeyExists(HKEY_LOCAL_MACHINE, kSmsService));
    RunInternetPage(TAB_INBOX2, [](HWND page) {
        EXPECT_TRUE(RegKeyExists(HKEY_LOCAL_MACHINE, kSmsService)) << "opening the page creates the key";
        EXPECT_EQ(L"Message Sent", FieldText(page, IDC_SMS_SENT_TEXT));
        Tap(page, IDC_SMS_SENT_TEXT_BUTTON);
        EXPECT_EQ(L"Message Sent", RegTextOr(HKEY_LOCAL_MACHINE, kSmsService, L"MessageSent", L"?"));
    });
    // A key that exists already shows its own text.
    WriteRegString(HKEY_LOCAL_MACHINE, kSmsService, L"MessageSent", L"Sent off");
    RunInternetPage(TAB_INBOX2, [](HWND page) {
        EXPECT_EQ(L"Sent off", FieldText(page, IDC_SMS_SENT_TEXT));
        SetField(page, IDC_SMS_SENT_TEXT, L"");
        Tap(page, IDC_SMS_SENT_TEXT_BUTTON);
        std::wstring stored = L"?";
        EXPECT_TRUE(ReadRegString(HKEY_LOCAL_MACHINE, kSmsService, L"MessageSent", &stored));
        EXPECT_EQ(L"", stored);
        // The longest text the field holds is stored whole.
        std::wstring longest(255, L'm');
        SetField(page, IDC_SMS_SENT_TEXT, longest.c_str());
        Tap(page, IDC_SMS_SENT_TEXT_BUTTON);
        EXPECT_EQ(longest, RegTextOr(HKEY_LOCAL_MACHINE, kSmsService, L"MessageSent", L"?"));
    });
    // The key without the value.
    DeleteRegValue(HKEY_LOCAL_MACHINE, kSmsService, L"MessageSent");
    RunInternetPage(TAB_INBOX2, [](HWND page) { EXPECT_EQ(L"Message Sent", FieldText(page, IDC_SMS_SENT_TEXT)); });
}

TEST_F(MessagingPageTest, DeliveryNotificationBoxFollowsItsValue)
{
    DeleteRegValue(HKEY_CURRENT_USER, kSettings, L"SMSDeliveryNotify");
    RunInternetPage(TAB_INBOX2, [](HWND page) {
        EXPECT_FALSE(IsTicked(page, IDC_SMS_DELIVERY_NOTIFY));
        Tap(page, IDC_SMS_DELIVERY_NOTIFY);
        EXPECT_EQ(1u, RegDwordOr(HKEY_CURRENT_USER, kSettings, L"SMSDeliveryNotify", 99));
        Tap(page, IDC_SMS_DELIVERY_NOTIFY);
        EXPECT_EQ(0u, RegDwordOr(HKEY_CURRENT_USER, kSettings, L"SMSDeliveryNotify", 99));
    });
    WriteRegDword(HKEY_CURRENT_USER, kSettings, L"SMSDeliveryNotify", 1);
    RunInternetPage(TAB_INBOX2, [](HWND page) { EXPECT_TRUE(IsTicked(page, IDC_SMS_DELIVERY_NOTIFY)); });
}

TEST_F(MessagingPageTest, HelpOpensTheListOfOptionValuesAndDoneReturnsToThePage)
{
    RunInternetPage(TAB_INBOX2, [](HWND page) {
        bool shown = DriveModal([&] { Tap(page, IDC_SMS_HELP); },
                                [&](HWND help) {
                                    EXPECT_EQ(L"Help", WindowText(help));
                                    EXPECT_EQ(GetAncestor(page, GA_ROOT), GetWindow(help, GW_OWNER)) << "owned by the host";
                                    EXPECT_EQ(kNotificationOptionsHelp, FieldText(help, IDC_NOTIFY_HELP_TEXT));
                                    SendMessageW(help, WM_COMMAND, IDOK, 0);
                                });
        EXPECT_TRUE(shown);
        EXPECT_TRUE(IsWindowVisible(page));
        // Closed rather than done, it goes away just the same.
        shown = DriveModal([&] { Tap(page, IDC_SMS_HELP); },
                           [&](HWND help) { SendMessageW(help, WM_CLOSE, 0, 0); });
        EXPECT_TRUE(shown);
        EXPECT_TRUE(IsWindowVisible(page));
    });
}
