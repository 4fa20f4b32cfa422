// The Internet host's pages, each with what is its own: the browser's temporary folders
// and their storage, the port fields of mail and networking, and the messaging page's
// number fields, sent text and options help.
#include "tests/hosts/host_kit.h"
#include "ui/pages.h"

namespace {

const wchar_t kShellFolders[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const wchar_t *const kFolders[] = {L"Cache", L"Cookies", L"History"};
const wchar_t *const kLeaves[] = {L"Temporary Internet Files", L"Cookies", L"History"};
const wchar_t kGuest[] = L"\\Windows\\Profiles\\guest\\";
const wchar_t kSmsText[] = L"Software\\Microsoft\\Inbox\\SMSText";
const wchar_t kNotification[] = L"ControlPanel\\Notifications\\Default";
const wchar_t kSmsService[] = L"Software\\Microsoft\\Inbox\\Svc\\SMS";
const wchar_t kNotificationOptionsHelp[] =
    L"If you want the message notification to appear in a different way, you can do by setting values:\n"
    L"0/4 - show icon\n1/5 - show icon and play sound\n2 - show icon and vibration\n"
    L"3/6/7 - show icon,vibration and play sound\n8 - show icon and notification bubble\n"
    L"9 - show icon,play sound and show notification bubble\n10 - show icon,notification bubble and vibration\n"
    L"11 - show icon, play sound,show notification bubble and vibration";

std::wstring Storage(HWND page) { return FieldText(page, IDC_PIE_STORAGE_NAME); }
std::wstring Folder(const wchar_t *name) { return RegTextOr(CU, kShellFolders, name, L"(none)"); }

// The three temporary folders under `root` ("\Storage Card\"): written, or checked.
void WriteFolders(const std::wstring &root) { for (int i = 0; i < 3; i++) WriteRegString(CU, kShellFolders, kFolders[i], (root + kLeaves[i]).c_str()); }
void ExpectFolders(const std::wstring &root) { for (int i = 0; i < 3; i++) EXPECT_EQ(root + kLeaves[i], Folder(kFolders[i])); }

class InternetPageTest : public DeviceTest {};

}  // namespace

// The cache folder decides the box and the storage shown; ticking moves the temporary
// folders to the storage and clearing brings them back to the guest profile.
TEST_F(InternetPageTest, TickingMovesTheTempFoldersToTheStorageAndClearingBringsThemBack)
{
    WriteFolders(kGuest);   // the device's own card is "Storage Card"
    RunInternetPage(TAB_PIE, [](HWND page) {
        EXPECT_FALSE(IsTicked(page, IDC_PIE_TEMP_FILES));
        EXPECT_EQ(L"Windows", Storage(page));
        SetField(page, IDC_PIE_STORAGE_NAME, L"Storage Card");
        Tap(page, IDC_PIE_TEMP_FILES);
        ExpectFolders(L"\\Storage Card\\");
    });
    RunInternetPage(TAB_PIE, [](HWND page) {
        EXPECT_TRUE(IsTicked(page, IDC_PIE_TEMP_FILES));
        EXPECT_EQ(L"Storage Card", Storage(page));
        Tap(page, IDC_PIE_TEMP_FILES);
        ExpectFolders(kGuest);
        // A folder value that is absent stays absent; the others are still replaced.
        DeleteRegValue(CU, kShellFolders, L"Cookies");
        // An empty field stands for main memory, rather than making "\\History".
        SetField(page, IDC_PIE_STORAGE_NAME, L"");
        Tap(page, IDC_PIE_TEMP_FILES);
        EXPECT_FALSE(RegValueExists(CU, kShellFolders, L"Cookies"));
        EXPECT_EQ(L"\\Windows\\History", Folder(L"History"));
    });
}

TEST_F(InternetPageTest, StorageSteppingStaysInsideTheListOfUsableCards)
{
    // Without a card the temporary folders cannot be moved.
    ASSERT_TRUE(SimSetCards(NULL, 0));
    RunInternetPage(TAB_PIE, [](HWND page) {
        for (UINT control : {IDC_PIE_TEMP_FILES, IDC_PIE_STORAGE_NAME, IDC_PIE_STORAGE_SPIN})
            EXPECT_FALSE(IsEnabled(page, control)) << control;
    });
    // Four usable cards: the list holds three; an unreadable one is left out.
    const SimCard cards[] = {{L"Card A"}, {L"Broken", 0, 0, TRUE}, {L"Card B"}, {L"Card C"}, {L"Card D"}};
    ASSERT_TRUE(SimSetCards(cards, 5));
    WriteFolders(kGuest);
    RunInternetPage(TAB_PIE, [](HWND page) {
        ASSERT_EQ(L"Windows", Storage(page));
        // Down from main memory to the last card; a text not in the list steps to
        // "Windows" downwards and to the first card upwards.
        const struct { const wchar_t *typed; int delta; const wchar_t *shown; } steps[] = {
            {NULL, -1, L"Card A"}, {NULL, -1, L"Card B"}, {NULL, -1, L"Card C"}, {NULL, -1, L"Windows"},
            {L"Windows", 1, L"Card C"}, {L"Elsewhere", 1, L"Windows"}, {L"Elsewhere", -1, L"Card A"},
        };
        for (auto &step : steps) {
            if (step.typed) SetField(page, IDC_PIE_STORAGE_NAME, step.typed);
            Spin(page, IDC_PIE_STORAGE_SPIN, step.delta);
            EXPECT_EQ(step.shown, Storage(page)) << "step " << &step - steps;
        }
        // The spinner itself steps the field.
        PressSpinnerArrow(page, IDC_PIE_STORAGE_SPIN, false);
        EXPECT_EQ(L"Windows", Storage(page));
    });
}

// The mail page's two ports and the networking page's one store their number on their
// button, and refuse what is no port, leaving the stored one. A field is read with room
// for 16 characters (20 on the networking page), the terminator included.
TEST_F(InternetPageTest, PortFieldsStoreTheirNumberAndRefuseWhatIsNoPort)
{
    const struct { int tab; UINT field, button; HKEY root; const wchar_t *key, *name; DWORD standard; size_t room; } ports[] = {
        {TAB_INBOX1, IDC_MAIL_POP3_PORT, IDC_MAIL_POP3_BUTTON, LM, L"Software\\Microsoft\\Inbox\\Svc\\POP3", L"Port", 110, 16},
        {TAB_INBOX1, IDC_MAIL_IMAP4_PORT, IDC_MAIL_IMAP4_BUTTON, LM, L"Software\\Microsoft\\Inbox\\Svc\\IMAP4", L"Port", 143, 16},
        {TAB_NETWORKING, IDC_NET_TS_PORT, IDC_NET_TS_PORT_BUTTON, CU,
         L"Software\\Microsoft\\Terminal Server Client\\Default", L"Server Port", 3389, 20},
    };
    const DWORD standard = ~0u, refused = 0;
    for (const auto &port : ports) {
        SCOPED_TRACE(port.key);
        DeleteRegValue(port.root, port.key, port.name);
        RunInternetPage(port.tab, [&](HWND page) {
            EXPECT_EQ(std::to_wstring(port.standard), FieldText(page, port.field)) << "no port stored: the standard one";
            const std::pair<std::wstring, DWORD> typings[] = {
                {L"abc", standard}, {L"65535", 65535}, {L"0", refused}, {L"65536", refused}, {L" 99", 99}, {L"1", 1},
                {std::wstring(port.room - 4, L'0') + L"443", 443}, {std::wstring(port.room - 3, L'0') + L"443", 44}};
            for (auto &typing : typings) {
                SCOPED_TRACE(testing::Message() << "typed \"" << typing.first << "\"");
                WriteRegDword(port.root, port.key, port.name, 7);
                int before = SimMessageBoxCount();
                SetField(page, port.field, typing.first.c_str());
                Tap(page, port.button);
                const DWORD stored = typing.second == refused ? 7 : typing.second == standard ? port.standard : typing.second;
                EXPECT_EQ(stored, RegDwordOr(port.root, port.key, port.name, 0));
                if (typing.second == refused)
                    ExpectOneBox(before, page, L"Zelvo Rudore", MB_OK,
                                 L"A port must be a number from 1 to 65535. The port was not changed.");
                else
                    EXPECT_EQ(0, MessageBoxesSince(before));
            }
        });
    }
}

// Without a stored limit the messages kept are not offered, without options 1 is
// shown, and the sent text is "Message Sent" when its key is new or its text longer
// than the 255 characters the field takes and stores.
TEST_F(InternetPageTest, MessagingFieldsStoreTheirValuesAndMessagesKeptIsFlushed)
{
    DeleteRegValue(CU, kNotification, L"Options");
    DeleteRegValue(CU, kSmsText, L"MaxDeleteMsgs");
    DeleteRegKey(LM, kSmsService);
    RunInternetPage(TAB_INBOX2, [](HWND page) {
        EXPECT_FALSE(IsEnabled(page, IDC_SMS_HISTORY_KEPT) || IsEnabled(page, IDC_SMS_HISTORY_COUNT));
        EXPECT_EQ(L"1", FieldText(page, IDC_SMS_NOTIFY_OPTIONS));
        EXPECT_EQ(L"Message Sent", FieldText(page, IDC_SMS_SENT_TEXT));
    });
    // Only a limit of 0 is none; any other is shown, signed.
    for (auto kept : {std::make_pair(0u, L""), std::make_pair(1u, L"1"), std::make_pair(~0u, L"-1")}) {
        WriteRegDword(CU, kSmsText, L"MaxDeleteMsgs", kept.first);
        RunInternetPage(TAB_INBOX2, [&](HWND page) {
            EXPECT_EQ(kept.first != 0, IsEnabled(page, IDC_SMS_HISTORY_KEPT) && IsEnabled(page, IDC_SMS_HISTORY_COUNT));
            EXPECT_EQ(kept.second, FieldText(page, IDC_SMS_HISTORY_COUNT));
        });
    }
    WriteRegDword(CU, kSmsText, L"MaxDeleteMsgs", 50);
    WriteRegString(LM, kSmsService, L"MessageSent", std::wstring(256, L'z').c_str());
    FlushRecorder flushes;
    RunInternetPage(TAB_INBOX2, [&](HWND page) {
        EXPECT_EQ(L"50", FieldText(page, IDC_SMS_HISTORY_COUNT));
        EXPECT_EQ(L"Message Sent", FieldText(page, IDC_SMS_SENT_TEXT));
        SetField(page, IDC_SMS_SENT_TEXT, std::wstring(255, L'm').c_str());
        Tap(page, IDC_SMS_SENT_TEXT_BUTTON);
        EXPECT_EQ(std::wstring(255, L'm'), RegTextOr(LM, kSmsService, L"MessageSent", L"(none)"));
        // Whether a click ticks or clears the box, it stores the number and flushes it.
        for (auto click : {std::make_pair(L"75", 75u), std::make_pair(L"lots", 110u)}) {
            SetField(page, IDC_SMS_HISTORY_COUNT, click.first);
            size_t before = flushes.flushes().size();
            Tap(page, IDC_SMS_HISTORY_KEPT);
            EXPECT_EQ(click.second, RegDwordOr(CU, kSmsText, L"MaxDeleteMsgs", 0));
            EXPECT_TRUE(flushes.flushes().size() == before + 1 && flushes.flushes().back().Held(L"MaxDeleteMsgs", click.second))
                << click.first << ": not flushed once after the write";
        }
        SetField(page, IDC_SMS_NOTIFY_OPTIONS, L"9");
        Tap(page, IDC_SMS_NOTIFY_BUTTON);
        EXPECT_EQ(9u, RegDwordOr(CU, kNotification, L"Options", 0));
        // The options' help lists them, over the host.
        EXPECT_TRUE(DriveModal([&] { Tap(page, IDC_SMS_HELP); }, [&](HWND help) {
            EXPECT_EQ(GetAncestor(page, GA_ROOT), GetWindow(help, GW_OWNER));
            EXPECT_EQ(kNotificationOptionsHelp, FieldText(help, IDC_NOTIFY_HELP_TEXT));
            SendMessageW(help, WM_COMMAND, IDOK, 0);
        }));
    });
}
