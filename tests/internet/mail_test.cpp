// The mail page ("Inbox1") and the networking page ("NetWorking"): the port fields they share.
#include "tests/hosts/host_kit.h"

namespace {

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

class MailPageTest : public DeviceTest {};

}  // namespace

TEST_F(MailPageTest, PortFieldsStoreTheirNumberAndRefuseWhatIsNoPort)
{
    const DWORD standard = ~0u, refused = 0;
    for (const PortField &port : kPorts) {
        SCOPED_TRACE(port.key);
        DeleteRegValue(port.root, port.key, port.name);
        RunInternetPage(port.tab, [&](HWND page) {
            EXPECT_EQ(std::to_wstring(port.standard), FieldText(page, port.field)) << "no port stored: the standard one";
            // Digits that end just inside the room the field is read with, and digits beyond it.
            const std::pair<std::wstring, DWORD> typings[] = {
                {L"abc", standard}, {L"1", 1}, {L"65535", 65535}, {L"0", refused}, {L"65536", refused},
                {std::wstring(port.room - 3, L' ') + L"99", 99}, {std::wstring(port.room - 1, L' ') + L"99", standard},
            };
            for (auto &typing : typings) {
                SCOPED_TRACE(testing::Message() << "typed \"" << typing.first << "\"");
                WriteRegDword(port.root, port.key, port.name, 7);
                int before = SimMessageBoxCount();
                SetField(page, port.field, typing.first.c_str());
                Tap(page, port.button);
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
        WriteRegDword(port.root, port.key, port.name, 2525);
        RunInternetPage(port.tab, [&](HWND page) { EXPECT_EQ(L"2525", FieldText(page, port.field)); });
    }
}


// Ticked on one opening, the networking page's 802.11g box starts clear on the next,
// and says nothing: it is bound to nothing.
TEST_F(MailPageTest, The80211gBoxIsBoundToNothing)
{
    for (int opening = 0; opening < 2; opening++)
        RunInternetPage(TAB_NETWORKING, [](HWND page) {
            EXPECT_FALSE(IsTicked(page, IDC_NET_80211G));
            Tap(page, IDC_NET_80211G);
            EXPECT_TRUE(IsTicked(page, IDC_NET_80211G));
        });
    EXPECT_EQ(0, SimMessageBoxCount());
}
