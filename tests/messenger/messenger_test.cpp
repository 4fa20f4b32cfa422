// The instant-messenger notification page ("MSN Tricks"), through the System host:
// what it shows, what each button stores and reports, and the sound pickers through
// the real file browser.
#include "tests/hosts/host_kit.h"
#include "browser_testkit.h"
#include "dialogs/file_browser.h"

namespace {

const wchar_t kMsgKey[] = L"ControlPanel\\Notifications\\{A877D65F-239C-47a7-9304-0D347F580408}";
const wchar_t kOnlineKey[] = L"ControlPanel\\Notifications\\{A877D65E-239C-47a7-9304-0D347F580408}";
const wchar_t kPrefix[] = L"MSN Messenger: ";

// One notification class: its key, and its options, text and sound fields, the
// buttons that store them and their reports.
struct Notification { const wchar_t *key; UINT fields[3], buttons[3]; const wchar_t *reports[3]; };

const Notification kMsg = {kMsgKey,
                           {IDC_MSN_MSG_OPTIONS, IDC_MSN_MSG_TEXT, IDC_MSN_MSG_SOUND},
                           {IDC_MSN_MSG_OPTIONS_BUTTON, IDC_MSN_MSG_TEXT_BUTTON, IDC_MSN_MSG_SOUND_BUTTON},
                           {L"You have changed the New Message notification style!",
                            L"You have changed the New Message notification text!",
                            L"You have changed the New Message notification sound!"}};
// Signing in reports its sound as its style.
const Notification kOnline = {kOnlineKey,
                              {IDC_MSN_ONLINE_OPTIONS, IDC_MSN_ONLINE_TEXT, IDC_MSN_ONLINE_SOUND},
                              {IDC_MSN_ONLINE_OPTIONS_BUTTON, IDC_MSN_ONLINE_TEXT_BUTTON, IDC_MSN_ONLINE_SOUND_BUTTON},
                              {L"You have changed the Signing In notification style!",
                               L"You have changed the Signing In notification text!",
                               L"You have changed the Signing In notification style!"}};

// The browser needs a folder tree of the test's own; the registry is the sandbox.
class MessengerPageTest : public FileBrowserTest {};

std::wstring Text(const wchar_t *key, const wchar_t *name) { return RegTextOr(CU, key, name, L"?"); }

// The options, text and sound fields of the new message notification.
std::wstring Shown(HWND page) { return FieldText(page, IDC_MSN_MSG_OPTIONS) + L"|" + FieldText(page, IDC_MSN_MSG_TEXT) + L"|" + FieldText(page, IDC_MSN_MSG_SOUND); }

}  // namespace

// Opening reads without writing; the text shown is what follows the 15-character
// prefix, whatever it says, up to the 511 characters the stored text has.
TEST_F(MessengerPageTest, StoredValuesAreShownAndMissingOnesShowTheDefaults)
{
    DeleteRegKey(CU, kMsgKey);
    RunSystemPage(TAB_MESSENGER, [](HWND page) { EXPECT_EQ(L"1||", Shown(page)); });
    EXPECT_FALSE(RegValueExists(CU, kMsgKey, L"Default")) << "nothing written on opening";
    WriteRegDword(CU, kMsgKey, L"Options", 9);
    WriteRegString(CU, kMsgKey, L"Wave", L"Alarm1");
    const std::wstring text(496, L'x');
    for (const std::wstring &stored : {kPrefix + text, std::wstring(L"Somebody else: x")}) {
        WriteRegString(CU, kMsgKey, L"Default", stored.c_str());
        RunSystemPage(TAB_MESSENGER, [&](HWND page) { EXPECT_EQ(L"9|" + stored.substr(15) + L"|Alarm1", Shown(page)); });
    }
}

// Each button writes only its own value, as its field holds it, and congratulates; a
// write the registry refuses says sorry and keeps the old value.
TEST_F(MessengerPageTest, EachButtonStoresWhatItsFieldHoldsAndSaysWhetherItCould)
{
    DeleteRegKey(CU, kMsgKey);
    DeleteRegKey(CU, kOnlineKey);
    // which: 0 options, 1 text, 2 sound.
    const struct { const Notification *n; int which; std::wstring typed, stored; } presses[] = {
        // The options are read as "%d" reads the field's first 15 characters.
        {&kMsg, 0, L"many", L"110"},
        {&kOnline, 0, L"          12345678", L"12345"},
        // The text goes after the prefix; 496 characters fill the 512 the stored text has.
        {&kOnline, 1, L"%s is here", L"MSN Messenger: %s is here"},
        {&kMsg, 1, std::wstring(496, L'b') + L"ccc", kPrefix + std::wstring(496, L'b')},
        // The sound is the file's name without folder or extension, whole, up to 198.
        {&kMsg, 2, L"\\Windows\\My.Alert.wav", L"My"},
        {&kOnline, 2, L"\\Sounds.old\\Chime", L"Chime"},
        {&kMsg, 2, L"\\" + std::wstring(60, L'f') + L"\\" + std::wstring(130, L'n') + L".wav", std::wstring(130, L'n')},
        {&kOnline, 2, L"\\" + std::wstring(300, L'z') + L".wav", std::wstring(198, L'z')},
    };
    RunSystemPage(TAB_MESSENGER, [&](HWND page) {
        for (const auto &p : presses) {
            SCOPED_TRACE(p.typed.substr(0, 20));
            SetField(page, p.n->fields[p.which], p.typed.c_str());
            int before = SimMessageBoxCount();
            Tap(page, p.n->buttons[p.which]);
            ExpectOneBox(before, page, L"Congratulations", MB_OK, p.n->reports[p.which]);
            const wchar_t *const names[] = {L"Options", L"Default", L"Wave"};
            EXPECT_EQ(p.stored, p.which ? Text(p.n->key, names[p.which]) : std::to_wstring(RegDwordOr(CU, p.n->key, L"Options", 0)));
        }
        SetField(page, IDC_MSN_MSG_OPTIONS, L"9");
        SetField(page, IDC_MSN_MSG_TEXT, L"Changed");
        SetField(page, IDC_MSN_MSG_SOUND, L"\\Windows\\New.wav");
        for (UINT button : kMsg.buttons) {
            SCOPED_TRACE(button);
            WriteRegDword(CU, kMsgKey, L"Options", 4);
            WriteRegString(CU, kMsgKey, L"Default", L"MSN Messenger: Old");
            WriteRegString(CU, kMsgKey, L"Wave", L"Old");
            // The key opens, as a key in ROM does, but takes no write.
            SimSetReadOnlyKey(CU, kMsgKey);
            int before = SimMessageBoxCount();
            Tap(page, button);
            SimSetReadOnlyKey(CU, NULL);
            ExpectOneBox(before, page, L"Sorry", MB_OK, L"You action failed, it's not suitable for you device!");
            EXPECT_EQ(4u, RegDwordOr(CU, kMsgKey, L"Options", 0));
            EXPECT_EQ(L"MSN Messenger: Old", Text(kMsgKey, L"Default"));
            EXPECT_EQ(L"Old", Text(kMsgKey, L"Wave"));
        }
    });
}

// A pick changes only its own field and stores nothing; cancelled, whatever the last
// result was, it leaves the field.
TEST_F(MessengerPageTest, PickButtonsPutTheBrowsersChoiceInTheirFieldOnly)
{
    MakeFolder(L"Rings");
    DeleteRegKey(CU, kMsgKey);
    RunSystemPage(TAB_MESSENGER, [&](HWND page) {
        SetField(page, IDC_MSN_ONLINE_SOUND, L"Before");
        lstrcpyW(g_browseResult, L"\\stale.wav");
        EXPECT_TRUE(BrowseFrom(page, IDC_MSN_ONLINE_SOUND_PICK, root,
                               [](HWND browser) { Click(BrowserSoftKey(browser, IDM_BROWSE_CANCEL)); }));
        EXPECT_EQ(L"Before", FieldText(page, IDC_MSN_ONLINE_SOUND));
        EXPECT_TRUE(BrowseFrom(page, IDC_MSN_MSG_SOUND_PICK, root, [](HWND browser) {
            TapBrowserItem(browser, L"Rings");
            Click(BrowserSoftKey(browser, IDM_BROWSE_OK));
        }));
        EXPECT_EQ(root + L"\\Rings\\", FieldText(page, IDC_MSN_MSG_SOUND));
        EXPECT_EQ(L"Before", FieldText(page, IDC_MSN_ONLINE_SOUND));
        EXPECT_FALSE(RegValueExists(CU, kMsgKey, L"Wave")) << "picking stores nothing";
    });
}
