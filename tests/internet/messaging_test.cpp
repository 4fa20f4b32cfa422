// The messaging page ("Inbox2") and its notification options help, through the host.
#include "tests/hosts/host_kit.h"
#include "ui/pages.h"

namespace {

const wchar_t kSmsText[] = L"Software\\Microsoft\\Inbox\\SMSText";
const wchar_t kNotification[] = L"ControlPanel\\Notifications\\Default";
const wchar_t kSmsService[] = L"Software\\Microsoft\\Inbox\\Svc\\SMS";

class MessagingPageTest : public DeviceTest {};

}  // namespace

TEST_F(MessagingPageTest, TheNumberFieldsShowAndStoreTheirNumbersAndMessagesKeptIsFlushed)
{
    // No limit stored: the setting is not offered. No option stored shows 1.
    DeleteRegValue(HKEY_CURRENT_USER, kNotification, L"Options");
    DeleteRegValue(HKEY_CURRENT_USER, kSmsText, L"MaxDeleteMsgs");
    RunInternetPage(TAB_INBOX2, [](HWND page) {
        EXPECT_FALSE(IsEnabled(page, IDC_SMS_HISTORY_KEPT));
        EXPECT_FALSE(IsEnabled(page, IDC_SMS_HISTORY_COUNT));
        EXPECT_EQ(L"1", FieldText(page, IDC_SMS_NOTIFY_OPTIONS));
    });
    WriteRegDword(HKEY_CURRENT_USER, kSmsText, L"MaxDeleteMsgs", 50);
    WriteRegDword(HKEY_CURRENT_USER, kNotification, L"Options", 11);
    FlushRecorder flushes;
    ASSERT_TRUE(flushes.recording());
    RunInternetPage(TAB_INBOX2, [&](HWND page) {
        EXPECT_TRUE(IsEnabled(page, IDC_SMS_HISTORY_KEPT));
        EXPECT_EQ(L"50", FieldText(page, IDC_SMS_HISTORY_COUNT));
        EXPECT_EQ(L"11", FieldText(page, IDC_SMS_NOTIFY_OPTIONS));
        // Whether a click ticks or clears the box, it stores the number and flushes it.
        for (auto click : {std::make_pair(L"75", 75u), std::make_pair(L"lots", 110u)}) {
            SetField(page, IDC_SMS_HISTORY_COUNT, click.first);
            size_t before = flushes.flushes().size();
            Tap(page, IDC_SMS_HISTORY_KEPT);
            EXPECT_EQ(click.second, RegDwordOr(HKEY_CURRENT_USER, kSmsText, L"MaxDeleteMsgs", 0));
            ASSERT_EQ(before + 1, flushes.flushes().size()) << click.first;
            EXPECT_TRUE(flushes.flushes().back().Held(L"MaxDeleteMsgs", click.second)) << "flushed after the write";
        }
        SetField(page, IDC_SMS_NOTIFY_OPTIONS, L"9");
        Tap(page, IDC_SMS_NOTIFY_BUTTON);
        EXPECT_EQ(9u, RegDwordOr(HKEY_CURRENT_USER, kNotification, L"Options", 0));
    });
}

TEST_F(MessagingPageTest, TheSentTextIsMessageSentWhenTheKeyIsNewOrItsTextUnusable)
{
    DeleteRegKey(HKEY_LOCAL_MACHINE, kSmsService);
    RunInternetPage(TAB_INBOX2, [](HWND page) {
        EXPECT_TRUE(RegKeyExists(HKEY_LOCAL_MACHINE, kSmsService)) << "opening the page creates the key";
        EXPECT_EQ(L"Message Sent", FieldText(page, IDC_SMS_SENT_TEXT));
    });
    // The page reads back whole the 255 characters the field takes and stores.
    const std::wstring fits(255, L'z'), tooLong(256, L'z'), longest(255, L'm');
    for (const std::wstring *stored : {&fits, &tooLong}) {
        WriteRegString(HKEY_LOCAL_MACHINE, kSmsService, L"MessageSent", stored->c_str());
        RunInternetPage(TAB_INBOX2, [&](HWND page) {
            EXPECT_EQ(stored == &fits ? fits : L"Message Sent", FieldText(page, IDC_SMS_SENT_TEXT));
            SetField(page, IDC_SMS_SENT_TEXT, longest.c_str());
            Tap(page, IDC_SMS_SENT_TEXT_BUTTON);
            EXPECT_EQ(longest, RegTextOr(HKEY_LOCAL_MACHINE, kSmsService, L"MessageSent", L"(none)"));
        });
    }
}

// Both pages' options help buttons open the options list over their host.
TEST_F(MessagingPageTest, TheHelpListsTheOptions)
{
    const std::pair<PageRunner, std::pair<int, UINT>> helps[] = {{RunInternetPage, {TAB_INBOX2, IDC_SMS_HELP}},
                                                                 {RunSystemPage, {TAB_MESSENGER, IDC_MSN_HELP_OPTIONS}}};
    for (auto &help : helps)
        help.first(help.second.first, [&](HWND page) {
            bool shown = DriveModal([&] { Tap(page, help.second.second); },
                                    [&](HWND dialog) {
                                        EXPECT_EQ(GetAncestor(page, GA_ROOT), GetWindow(dialog, GW_OWNER));
                                        EXPECT_EQ(kNotificationOptionsHelp, FieldText(dialog, IDC_NOTIFY_HELP_TEXT));
                                        SendMessageW(dialog, WM_COMMAND, IDOK, 0);
                                    });
            EXPECT_TRUE(shown);
            EXPECT_TRUE(IsWindowVisible(page)) << "the page is still open";
        });
    EXPECT_EQ(16, RunDialog(IDD_NOTIFY_HELP, NotificationOptionsHelpProc, [](HWND help) { SendMessageW(help, WM_CLOSE, 0, 0); }))
        << "closed, the help ends too";
}
