// Stored values of the wrong type, texts without their terminating null and texts too
// long for the page's buffer count as missing: the presets stand.
#include "tests/hosts/host_kit.h"

namespace {

const wchar_t kSettings[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
const wchar_t kUserAgent[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\5.0\\User Agent";
const wchar_t kShellFolders[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const wchar_t kInboxSettings[] = L"Software\\Microsoft\\Inbox\\Settings";
const wchar_t kSmsService[] = L"Software\\Microsoft\\Inbox\\Svc\\SMS";

class BadValueTest : public DeviceTest {};

}  // namespace

TEST_F(BadValueTest, ValuesOfTheWrongTypeUnterminatedOrTooLongCountAsMissing)
{
    // Each would tick its box, or show its number or text, were it taken.
    DWORD one = 1, zero = 0, port = 995;
    WriteRegRaw(HKEY_CURRENT_USER, L"Software\\Microsoft\\Internet Explorer\\Main", L"ZoomSetting", REG_SZ, &one, 4);
    WriteRegRaw(HKEY_LOCAL_MACHINE, kSettings, L"ClearTypeText", REG_BINARY, &one, 4);
    WriteRegRaw(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Internet Explorer\\Navigation", L"4-Way Nav", REG_DWORD, &zero, 2);
    WriteUnterminated(HKEY_LOCAL_MACHINE, kUserAgent, L"Default", L"Mozilla/4.0;Blazer/4.0");
    WriteRegString(HKEY_LOCAL_MACHINE, kUserAgent, L"Platform", L"Windows NT 5.0");
    WriteRegString(HKEY_LOCAL_MACHINE, kUserAgent, L"Version", L"MSIE 6.0");
    // Longer than the 128 characters the page reads, though it begins like the card folder.
    std::wstring cache = std::wstring(L"\\Storage Card\\Temporary Internet Files\\") + std::wstring(100, L'x');
    WriteRegString(HKEY_CURRENT_USER, kShellFolders, L"Cache", cache.c_str());
    WriteRegString(HKEY_CURRENT_USER, kInboxSettings, L"MsgListReadFont", L"Tahoma,120");
    WriteTextOfType(HKEY_CURRENT_USER, kInboxSettings, L"MsgListBoldFont", REG_EXPAND_SZ, L"Tahoma,120,b");
    WriteRegString(HKEY_CURRENT_USER, kInboxSettings, L"MsgListHeaderFont", L"Tahoma,120");
    WriteRegRaw(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Inbox\\Svc\\POP3", L"Port", REG_BINARY, &port, 4);
    WriteRegRaw(HKEY_CURRENT_USER, L"Software\\Microsoft\\Inbox\\SMSText", L"MaxDeleteMsgs", REG_BINARY, &one, 4);
    WriteTextOfType(HKEY_CURRENT_USER, L"ControlPanel\\Notifications\\Default", L"Options", REG_SZ, L"7");
    WriteRegString(HKEY_LOCAL_MACHINE, kSmsService, L"MessageSent", std::wstring(128, L'z').c_str());
    RunInternetPage(TAB_PIE, [](HWND page) {
        for (UINT box : {IDC_PIE_SMALL_LETTERS, IDC_PIE_CLEARTYPE, IDC_PIE_SMOOTH_SCROLL, IDC_PIE_PASS_AS_IE6,
                         IDC_PIE_TEMP_FILES})
            EXPECT_FALSE(IsTicked(page, box)) << box;
        EXPECT_EQ(L"", FieldText(page, IDC_PIE_STORAGE_NAME));
    });
    RunInternetPage(TAB_INBOX1, [](HWND page) {
        EXPECT_FALSE(IsTicked(page, IDC_MAIL_BIG_FONT));
        EXPECT_EQ(L"110", FieldText(page, IDC_MAIL_POP3_PORT));
    });
    RunInternetPage(TAB_INBOX2, [](HWND page) {
        EXPECT_FALSE(IsEnabled(page, IDC_SMS_HISTORY_KEPT));
        EXPECT_EQ(L"1", FieldText(page, IDC_SMS_NOTIFY_OPTIONS));
        EXPECT_EQ(L"Message Sent", FieldText(page, IDC_SMS_SENT_TEXT));
    });
}

TEST_F(BadValueTest, TextsThatJustFitTheirBufferAreTaken)
{
    // 127 characters and the null.
    std::wstring cache = std::wstring(L"\\Storage Card\\") + std::wstring(127 - 14, L'y'), sent(127, L'z');
    WriteRegString(HKEY_CURRENT_USER, kShellFolders, L"Cache", cache.c_str());
    WriteRegString(HKEY_LOCAL_MACHINE, kSmsService, L"MessageSent", sent.c_str());
    RunInternetPage(TAB_PIE, [](HWND page) { EXPECT_EQ(L"Storage Card", FieldText(page, IDC_PIE_STORAGE_NAME)); });
    RunInternetPage(TAB_INBOX2, [&](HWND page) { EXPECT_EQ(sent, FieldText(page, IDC_SMS_SENT_TEXT)); });
}
