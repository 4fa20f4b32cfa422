// Stored values of the wrong type, texts without their terminating null and texts too
// long for the page's buffer count as missing: the presets stand.
#include "tests/hosts/host_kit.h"

namespace {

const wchar_t kIeMain[] = L"Software\\Microsoft\\Internet Explorer\\Main";
const wchar_t kSettings[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
const wchar_t kNavigation[] = L"Software\\Microsoft\\Internet Explorer\\Navigation";
const wchar_t kUserAgent[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\5.0\\User Agent";
const wchar_t kShellFolders[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const wchar_t kInboxSettings[] = L"Software\\Microsoft\\Inbox\\Settings";
const wchar_t kSmsText[] = L"Software\\Microsoft\\Inbox\\SMSText";
const wchar_t kSmsService[] = L"Software\\Microsoft\\Inbox\\Svc\\SMS";
const wchar_t kNotification[] = L"ControlPanel\\Notifications\\Default";
const wchar_t kPop3[] = L"Software\\Microsoft\\Inbox\\Svc\\POP3";
const wchar_t kTsDefault[] = L"Software\\Microsoft\\Terminal Server Client\\Default";

class BadValueTest : public DeviceTest {};

}  // namespace

TEST_F(BadValueTest, DwordsOfTheWrongTypeOrSizeCountAsMissing)
{
    DWORD one = 1, zero = 0;
    unsigned long long eight = 8;
    WriteRegRaw(HKEY_CURRENT_USER, kIeMain, L"ZoomSetting", REG_SZ, &one, sizeof one);
    WriteRegRaw(HKEY_LOCAL_MACHINE, kSettings, L"ClearTypeText", REG_BINARY, &one, sizeof one);
    WriteRegRaw(HKEY_CURRENT_USER, kSettings, L"MaxConnectionsPerServer", REG_QWORD, &eight, sizeof eight);
    WriteRegRaw(HKEY_LOCAL_MACHINE, kNavigation, L"4-Way Nav", REG_DWORD, &zero, 2);
    WriteRegRaw(HKEY_CURRENT_USER, kSmsText, L"MaxDeleteMsgs", REG_BINARY, &one, sizeof one);
    WriteTextOfType(HKEY_CURRENT_USER, kNotification, L"Options", REG_SZ, L"7");
    DWORD port = 995;
    WriteRegRaw(HKEY_LOCAL_MACHINE, kPop3, L"Port", REG_BINARY, &port, sizeof port);
    WriteRegRaw(HKEY_CURRENT_USER, kTsDefault, L"Server Port", REG_BINARY, &one, sizeof one);
    RunInternetPage(TAB_PIE, [](HWND page) {
        EXPECT_FALSE(IsTicked(page, IDC_PIE_SMALL_LETTERS));
        EXPECT_FALSE(IsTicked(page, IDC_PIE_CLEARTYPE));
        EXPECT_FALSE(IsTicked(page, IDC_PIE_DOWNLOAD_8));
        EXPECT_FALSE(IsTicked(page, IDC_PIE_SMOOTH_SCROLL));
    });
    RunInternetPage(TAB_INBOX1, [](HWND page) { EXPECT_EQ(L"110", FieldText(page, IDC_MAIL_POP3_PORT)); });
    RunInternetPage(TAB_INBOX2, [](HWND page) {
        EXPECT_FALSE(IsEnabled(page, IDC_SMS_HISTORY_KEPT));
        EXPECT_EQ(L"1", FieldText(page, IDC_SMS_NOTIFY_OPTIONS));
    });
    RunInternetPage(TAB_NETWORKING, [](HWND page) { EXPECT_EQ(L"3389", FieldText(page, IDC_NET_TS_PORT)); });
}

TEST_F(BadValueTest, TextsWithoutTheirNullOrOfAnotherTypeNeverMatch)
{
    WriteUnterminated(HKEY_LOCAL_MACHINE, kUserAgent, L"Default", L"Mozilla/4.0;Blazer/4.0");
    WriteRegString(HKEY_LOCAL_MACHINE, kUserAgent, L"Platform", L"Windows NT 5.0");
    WriteRegString(HKEY_LOCAL_MACHINE, kUserAgent, L"Version", L"MSIE 6.0");
    WriteRegString(HKEY_CURRENT_USER, kInboxSettings, L"MsgListReadFont", L"Tahoma,120");
    WriteTextOfType(HKEY_CURRENT_USER, kInboxSettings, L"MsgListBoldFont", REG_EXPAND_SZ, L"Tahoma,120,b");
    WriteRegString(HKEY_CURRENT_USER, kInboxSettings, L"MsgListHeaderFont", L"Tahoma,120");
    RunInternetPage(TAB_PIE, [](HWND page) { EXPECT_FALSE(IsTicked(page, IDC_PIE_PASS_AS_IE6)); });
    RunInternetPage(TAB_INBOX1, [](HWND page) { EXPECT_FALSE(IsTicked(page, IDC_MAIL_BIG_FONT)); });
    // Stored properly, the same texts match.
    WriteRegString(HKEY_LOCAL_MACHINE, kUserAgent, L"Default", L"Mozilla/4.0;Blazer/4.0");
    WriteRegString(HKEY_CURRENT_USER, kInboxSettings, L"MsgListBoldFont", L"Tahoma,120,b");
    RunInternetPage(TAB_PIE, [](HWND page) { EXPECT_TRUE(IsTicked(page, IDC_PIE_PASS_AS_IE6)); });
    RunInternetPage(TAB_INBOX1, [](HWND page) { EXPECT_TRUE(IsTicked(page, IDC_MAIL_BIG_FONT)); });
}

TEST_F(BadValueTest, AnUnusableCacheFolderLeavesTheBoxClearAndTheFieldEmpty)
{
    const wchar_t card[] = L"\\Storage Card\\Temporary Internet Files";
    // Longer than the 128 characters the page reads, though it begins like the card folder.
    std::wstring overlong = std::wstring(card) + L"\\" + std::wstring(120, L'x');
    WriteRegString(HKEY_CURRENT_USER, kShellFolders, L"Cache", overlong.c_str());
    RunInternetPage(TAB_PIE, [](HWND page) {
        EXPECT_FALSE(IsTicked(page, IDC_PIE_TEMP_FILES));
        EXPECT_EQ(L"", FieldText(page, IDC_PIE_STORAGE_NAME));
    });
    WriteUnterminated(HKEY_CURRENT_USER, kShellFolders, L"Cache", card);
    RunInternetPage(TAB_PIE, [](HWND page) {
        EXPECT_FALSE(IsTicked(page, IDC_PIE_TEMP_FILES));
        EXPECT_EQ(L"", FieldText(page, IDC_PIE_STORAGE_NAME));
    });
    // 127 characters and the null fit.
    std::wstring longest = std::wstring(L"\\Storage Card\\") + std::wstring(127 - 14, L'y');
    WriteRegString(HKEY_CURRENT_USER, kShellFolders, L"Cache", longest.c_str());
    RunInternetPage(TAB_PIE, [](HWND page) { EXPECT_EQ(L"Storage Card", FieldText(page, IDC_PIE_STORAGE_NAME)); });
}

TEST_F(BadValueTest, AnUnreadableSentTextShowsMessageSent)
{
    WriteUnterminated(HKEY_LOCAL_MACHINE, kSmsService, L"MessageSent", L"Gone");
    RunInternetPage(TAB_INBOX2, [](HWND page) { EXPECT_EQ(L"Message Sent", FieldText(page, IDC_SMS_SENT_TEXT)); });
    WriteRegString(HKEY_LOCAL_MACHINE, kSmsService, L"MessageSent", std::wstring(128, L'z').c_str());
    RunInternetPage(TAB_INBOX2, [](HWND page) { EXPECT_EQ(L"Message Sent", FieldText(page, IDC_SMS_SENT_TEXT)); });
    WriteRegString(HKEY_LOCAL_MACHINE, kSmsService, L"MessageSent", std::wstring(127, L'z').c_str());
    RunInternetPage(TAB_INBOX2, [](HWND page) {
        EXPECT_EQ(std::wstring(127, L'z'), FieldText(page, IDC_SMS_SENT_TEXT));
    });
    DWORD number = 5;
    WriteRegRaw(HKEY_LOCAL_MACHINE, kSmsService, L"MessageSent", REG_DWORD, &number, sizeof number);
    RunInternetPage(TAB_INBOX2, [](HWND page) { EXPECT_EQ(L"Message Sent", FieldText(page, IDC_SMS_SENT_TEXT)); });
}
