// The mail page ("Inbox1") and the port fields it shares with the networking page.
#include "tests/hosts/host_kit.h"

namespace {

const wchar_t kInboxSettings[] = L"Software\\Microsoft\\Inbox\\Settings";

struct PortField {
    int tab;
    UINT field, button;
    int room;   // characters the field is read with, the terminator included
    HKEY root;
    const wchar_t *key, *name;
    DWORD standard;
};

const PortField kPorts[] = {
    {TAB_INBOX1, IDC_MAIL_POP3_PORT, IDC_MAIL_POP3_BUTTON, 16, HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Inbox\\Svc\\POP3", L"Port", 110},
    {TAB_INBOX1, IDC_MAIL_IMAP4_PORT, IDC_MAIL_IMAP4_BUTTON, 16, HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Inbox\\Svc\\IMAP4", L"Port", 143},
    {TAB_NETWORKING, IDC_NET_TS_PORT, IDC_NET_TS_PORT_BUTTON, 20, HKEY_CURRENT_USER,
     L"Software\\Microsoft\\Terminal Server Client\\Default", L"Server Port", 3389},
};

const DwordBox kMailBoxes[] = {
    {IDC_MAIL_FORCE_SSL_OFF, HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Inbox", L"ForceOffSSL", 1, 0},
    {IDC_MAIL_HIDE_DATE, HKEY_CURRENT_USER, kInboxSettings, L"ShowDateTime", 0, 1},
};

const wchar_t *const kFontValues[] = {L"MsgListReadFont", L"MsgListBoldFont", L"MsgListHeaderFont"};

std::wstring Fonts()
{
    std::wstring fonts;
    for (const wchar_t *name : kFontValues) fonts += RegTextOr(HKEY_CURRENT_USER, kInboxSettings, name, L"?") + L"|";
    return fonts;
}

class MailPageTest : public DeviceTest {};

}  // namespace

TEST_F(MailPageTest, PortFieldsStoreTheNumberAtTheirStartAndRefuseWhatIsNoPort)
{
    // Typed text and what it stores.
    const DWORD standard = ~0u, refused = 0;
    const std::vector<std::pair<std::wstring, DWORD>> typings = {
        {L"995", 995}, {L"12ab", 12}, {L"  +587 ", 587}, {L"abc", standard}, {L"", standard}, {L"65535", 65535},
        {L"1", 1}, {L"0", refused}, {L"-110", refused}, {L"65536", refused}, {L"99999999999", refused},
    };
    for (const PortField &port : kPorts) {
        SCOPED_TRACE(port.key);
        DeleteRegValue(port.root, port.key, port.name);
        RunInternetPage(port.tab, [&](HWND page) {
            EXPECT_EQ(std::to_wstring(port.standard), FieldText(page, port.field)) << "no port stored: the standard one";
            // Digits that end just inside the room the field is read with, and digits beyond it.
            auto all = typings;
            all.push_back({std::wstring(port.room - 3, L' ') + L"99", 99});
            all.push_back({std::wstring(port.room - 1, L' ') + L"99", standard});
            for (auto &typing : all) {
                SCOPED_TRACE(testing::Message() << "typed \"" << typing.first << "\"");
                WriteRegDword(port.root, port.key, port.name, 7);
                int before = SimMessageBoxCount();
                SetField(page, port.field, typing.first.c_str());
                Tap(page, port.button);
                EXPECT_EQ(typing.first, FieldText(page, port.field)) << "the field keeps what was typed";
                if (typing.second != refused) {
                    EXPECT_EQ(typing.second == standard ? port.standard : typing.second,
                              RegDwordOr(port.root, port.key, port.name, 0));
                    EXPECT_EQ(0, MessageBoxesSince(before));
                } else {
                    EXPECT_EQ(7u, RegDwordOr(port.root, port.key, port.name, 0)) << "a refused port is not written";
                    ExpectOneBox(before, page, L"Zelvo Rudore", MB_OK,
                                 L"A port must be a number from 1 to 65535. The port was not changed.");
                }
            }
        });
        // A stored port is shown as it is.
        WriteRegDword(port.root, port.key, port.name, 2525);
        RunInternetPage(port.tab, [&](HWND page) { EXPECT_EQ(L"2525", FieldText(page, port.field)); });
    }
}

TEST_F(MailPageTest, BoxesStartFromTheStoredValuesAndWriteBothStatesUnflushed)
{
    FlushRecorder flushes;
    ASSERT_TRUE(flushes.recording());
    CheckDwordBoxes(RunInternetPage, TAB_INBOX1, kMailBoxes, (int)std::size(kMailBoxes));
    RunInternetPage(TAB_INBOX1, [](HWND page) {
        SetField(page, IDC_MAIL_POP3_PORT, L"995");
        Tap(page, IDC_MAIL_POP3_BUTTON);
    });
    EXPECT_EQ(0u, flushes.flushes().size()) << "this page never flushes";
}

TEST_F(MailPageTest, IncreaseInboxFontWritesAllThreeFontsAndIsTickedOnlyForTheLargeOnes)
{
    RunInternetPage(TAB_INBOX1, [](HWND page) {
        EXPECT_FALSE(IsTicked(page, IDC_MAIL_BIG_FONT));
        Tap(page, IDC_MAIL_BIG_FONT);
        EXPECT_EQ(L"Tahoma,120|Tahoma,120,b|Tahoma,120|", Fonts());
    });
    RunInternetPage(TAB_INBOX1, [](HWND page) {
        EXPECT_TRUE(IsTicked(page, IDC_MAIL_BIG_FONT));
        Tap(page, IDC_MAIL_BIG_FONT);
        EXPECT_EQ(L"Tahoma,80|Tahoma,80,b|Tahoma,80|", Fonts());
    });
    // One differing font is enough to leave the box clear.
    WriteRegString(HKEY_CURRENT_USER, kInboxSettings, L"MsgListReadFont", L"Tahoma,120");
    WriteRegString(HKEY_CURRENT_USER, kInboxSettings, L"MsgListBoldFont", L"Tahoma,120,b");
    WriteRegString(HKEY_CURRENT_USER, kInboxSettings, L"MsgListHeaderFont", L"Tahoma,100");
    RunInternetPage(TAB_INBOX1, [](HWND page) { EXPECT_FALSE(IsTicked(page, IDC_MAIL_BIG_FONT)); });
}
