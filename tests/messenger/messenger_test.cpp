// The instant-messenger notification page ("MSN Tricks"), through the System host:
// what it shows, what each button stores and reports, the sound pickers through the
// real file browser and the help.
#include "tests/hosts/host_kit.h"
#include "browser_testkit.h"
#include "dialogs/file_browser.h"

namespace {

const wchar_t kMsgKey[] = L"ControlPanel\\Notifications\\{A877D65F-239C-47a7-9304-0D347F580408}";
const wchar_t kOnlineKey[] = L"ControlPanel\\Notifications\\{A877D65E-239C-47a7-9304-0D347F580408}";
const wchar_t kPrefix[] = L"MSN Messenger: ";

// One notification class: its key, its fields and buttons, and its reports.
struct Notification {
    const wchar_t *key;
    UINT options, optionsButton, text, textButton, sound, soundButton;
    const wchar_t *styleDone, *textDone, *soundDone;
};

const Notification kMsg = {kMsgKey, IDC_MSN_MSG_OPTIONS, IDC_MSN_MSG_OPTIONS_BUTTON, IDC_MSN_MSG_TEXT,
                           IDC_MSN_MSG_TEXT_BUTTON, IDC_MSN_MSG_SOUND, IDC_MSN_MSG_SOUND_BUTTON,
                           L"You have changed the New Message notification style!",
                           L"You have changed the New Message notification text!",
                           L"You have changed the New Message notification sound!"};
// Signing in reports its sound as its style.
const Notification kOnline = {kOnlineKey, IDC_MSN_ONLINE_OPTIONS, IDC_MSN_ONLINE_OPTIONS_BUTTON, IDC_MSN_ONLINE_TEXT,
                              IDC_MSN_ONLINE_TEXT_BUTTON, IDC_MSN_ONLINE_SOUND, IDC_MSN_ONLINE_SOUND_BUTTON,
                              L"You have changed the Signing In notification style!",
                              L"You have changed the Signing In notification text!",
                              L"You have changed the Signing In notification style!"};
const Notification *const kBoth[] = {&kMsg, &kOnline};

// The browser needs a folder tree of the test's own; the registry is the sandbox.
class MessengerPageTest : public FileBrowserTest {};

INT_PTR RunMessengerPage(const std::function<void(HWND page)> &script)
{
    return RunSystemPage(TAB_MESSENGER, script);
}

std::wstring Text(const wchar_t *key, const wchar_t *name) { return RegTextOr(CU, key, name, L"?"); }

// Options 1, the texts and sounds empty: what a page with nothing usable stored shows.
void ExpectNothingShown(HWND page)
{
    for (const Notification *n : kBoth) {
        EXPECT_EQ(L"1", FieldText(page, n->options));
        EXPECT_EQ(L"", FieldText(page, n->text));
        EXPECT_EQ(L"", FieldText(page, n->sound));
    }
}

// The button pressed with this text in its field, and its one report.
void Press(HWND page, UINT field, const std::wstring &typed, UINT button, const wchar_t *report)
{
    SetField(page, field, typed.c_str());
    int before = SimMessageBoxCount();
    Tap(page, button);
    ExpectOneBox(before, page, L"Congratulations", MB_OK, report);
}

void StoreAll(const wchar_t *key, DWORD options, const wchar_t *text, const wchar_t *wave)
{
    WriteRegDword(CU, key, L"Options", options);
    WriteRegString(CU, key, L"Default", text);
    WriteRegString(CU, key, L"Wave", wave);
}

void ExpectAllKept(const wchar_t *key, DWORD options, const wchar_t *text, const wchar_t *wave)
{
    EXPECT_EQ(options, RegDwordOr(CU, key, L"Options", 0));
    EXPECT_EQ(text, Text(key, L"Default"));
    EXPECT_EQ(wave, Text(key, L"Wave"));
}

}  // namespace

TEST_F(MessengerPageTest, StoredValuesAreShownAndMissingOrUnusableOnesShowTheDefaults)
{
    DeleteRegKey(CU, kMsgKey);
    DeleteRegKey(CU, kOnlineKey);
    RunMessengerPage(ExpectNothingShown);
    EXPECT_EQ(0, SimMessageBoxCount()) << "opening reports nothing";
    for (const wchar_t *key : {kMsgKey, kOnlineKey}) {
        EXPECT_TRUE(RegKeyExists(CU, key)) << "reading the text creates the key";
        EXPECT_FALSE(RegValueExists(CU, key, L"Default")) << "nothing written on opening";
    }
    // The whole stored text (511 characters, what the button stores) and 199 of sound fit.
    StoreAll(kMsgKey, 9, L"MSN Messenger: Hello", L"Alarm1");
    WriteRegString(CU, kOnlineKey, L"Default", (kPrefix + std::wstring(496, L'x')).c_str());
    WriteRegString(CU, kOnlineKey, L"Wave", std::wstring(199, L'w').c_str());
    RunMessengerPage([](HWND page) {
        EXPECT_EQ(L"9", FieldText(page, IDC_MSN_MSG_OPTIONS));
        EXPECT_EQ(L"Hello", FieldText(page, IDC_MSN_MSG_TEXT));
        EXPECT_EQ(L"Alarm1", FieldText(page, IDC_MSN_MSG_SOUND));
        EXPECT_EQ(std::wstring(496, L'x'), FieldText(page, IDC_MSN_ONLINE_TEXT));
        EXPECT_EQ(std::wstring(199, L'w'), FieldText(page, IDC_MSN_ONLINE_SOUND));
    });
    // The field shows what follows the 15-character prefix, whatever the prefix says.
    WriteRegString(CU, kMsgKey, L"Default", L"Somebody else: x");
    RunMessengerPage([&](HWND page) { EXPECT_EQ(L"x", FieldText(page, IDC_MSN_MSG_TEXT)); });
    // One character more does not fit; an option of another type counts as missing.
    DeleteRegKey(CU, kMsgKey);
    WriteTextOfType(CU, kMsgKey, L"Options", REG_SZ, L"7");
    WriteRegString(CU, kMsgKey, L"Default", kPrefix);
    WriteRegString(CU, kOnlineKey, L"Default", (kPrefix + std::wstring(497, L'x')).c_str());
    WriteRegString(CU, kOnlineKey, L"Wave", std::wstring(200, L'w').c_str());
    RunMessengerPage(ExpectNothingShown);
}

TEST_F(MessengerPageTest, EachButtonStoresWhatItsFieldHoldsAndCongratulates)
{
    DeleteRegKey(CU, kMsgKey);
    DeleteRegKey(CU, kOnlineKey);
    RunMessengerPage([](HWND page) {
        // Sound and text buttons write only their own value.
        Press(page, kMsg.sound, L"Alarm1", kMsg.soundButton, kMsg.soundDone);
        Press(page, kMsg.text, L"Hi", kMsg.textButton, kMsg.textDone);
        EXPECT_FALSE(RegValueExists(CU, kMsgKey, L"Options"));
        // A text without a number stores 110, for both classes alike.
        struct {
            const Notification *n;
            const wchar_t *typed;
            DWORD stored;
        } options[] = {
            {&kMsg, L"many", 110},
            {&kOnline, L"11", 11},
            {&kOnline, L"", 110},
            // Only the first 15 characters count: ten blanks and 12345.
            {&kMsg, L"          12345678", 12345},
        };
        for (auto &c : options) {
            SCOPED_TRACE(testing::PrintToString(std::wstring(c.typed)));
            Press(page, c.n->options, c.typed, c.n->optionsButton, c.n->styleDone);
            EXPECT_EQ(c.stored, RegDwordOr(CU, c.n->key, L"Options", 0xDEAD));
        }
        // The text goes after the prefix; 496 characters fill the 512 the stored text
        // has, and anything beyond is not read.
        struct {
            const Notification *n;
            std::wstring typed, stored;
        } texts[] = {
            {&kOnline, L"%s is here", L"%s is here"},
            {&kMsg, L"", L""},
            {&kOnline, std::wstring(496, L'b') + std::wstring(300, L'c'), std::wstring(496, L'b')},
        };
        for (auto &c : texts) {
            SCOPED_TRACE(c.typed.size());
            Press(page, c.n->text, c.typed, c.n->textButton, c.n->textDone);
            EXPECT_EQ(kPrefix + c.stored, Text(c.n->key, L"Default"));
        }
        // The sound is the file's name without folder or extension.
        struct {
            const Notification *n;
            std::wstring path, stored;
        } sounds[] = {
            {&kMsg, L"\\Windows\\My Alert.wav", L"My Alert"},
            {&kOnline, L"\\Windows\\My.Alert.wav", L"My"},
            {&kMsg, L"\\Sounds.old\\Chime", L"Chime"},
            // A long name is stored whole, not cut into another sound's name.
            {&kMsg, L"\\" + std::wstring(60, L'f') + L"\\" + std::wstring(130, L'n') + L".wav", std::wstring(130, L'n')},
            // 199 characters are read; the rest of a longer text is not.
            {&kOnline, L"\\" + std::wstring(300, L'z') + L".wav", std::wstring(198, L'z')},
        };
        for (auto &c : sounds) {
            SCOPED_TRACE(c.path.size());
            Press(page, c.n->sound, c.path, c.n->soundButton, c.n->soundDone);
            EXPECT_EQ(c.stored, Text(c.n->key, L"Wave"));
        }
    });
}

// A pick changes only its own field and stores nothing (the sound tapped and stored is
// the file browser's own test).
TEST_F(MessengerPageTest, PickButtonsPutTheBrowsersChoiceInTheirFieldOnly)
{
    MakeFolder(L"Rings");
    // More sounds than the list shows at once: it needs its scroll bar.
    for (int i = 0; i < 61; i++) MakeFile(L"Rings\\Ring" + std::to_wstring(i) + L".wav");
    DeleteRegKey(CU, kOnlineKey);
    RunMessengerPage([&](HWND page) {
        SetField(page, IDC_MSN_ONLINE_SOUND, L"Before");
        SetField(page, IDC_MSN_MSG_SOUND, L"Other");
        // Cancelled, whatever the last result was, the field keeps its text.
        lstrcpyW(g_browseResult, L"\\stale.wav");
        EXPECT_TRUE(BrowseFrom(page, IDC_MSN_ONLINE_SOUND_PICK, root,
                               [](HWND browser) { Click(BrowserSoftKey(browser, IDM_BROWSE_CANCEL)); }));
        EXPECT_EQ(L"Before", FieldText(page, IDC_MSN_ONLINE_SOUND));
        // A folder handed back by OK is put in as it comes. Opened over the host, the
        // browser's list shows the folder entered: visible, repainted as a whole, its
        // scroll bar set for 62 items.
        StartBrowserIn(root);
        bool shown = DriveModal([&] { Tap(page, IDC_MSN_ONLINE_SOUND_PICK); },
                                [&](HWND browser) {
                                    EXPECT_EQ(GetAncestor(page, GA_ROOT), GetWindow(browser, GW_OWNER));
                                    TapBrowserItem(browser, L"Rings");
                                    HWND list = BrowserList(browser);
                                    EXPECT_EQ(62, (int)SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
                                    EXPECT_TRUE(IsWindowVisible(list));
                                    RECT pending, client;
                                    EXPECT_TRUE(GetUpdateRect(list, &pending, FALSE)) << "no repaint asked for";
                                    GetClientRect(list, &client);
                                    EXPECT_TRUE(EqualRect(&pending, &client));
                                    PumpMessages(50);
                                    EXPECT_FALSE(GetUpdateRect(list, &pending, FALSE));
                                    SCROLLINFO bar = {sizeof bar, SIF_RANGE | SIF_PAGE};
                                    ASSERT_TRUE(GetScrollInfo(list, SB_VERT, &bar));
                                    EXPECT_EQ(61, bar.nMax);
                                    EXPECT_LT(bar.nPage, 62u);
                                    Click(BrowserSoftKey(browser, IDM_BROWSE_OK));
                                });
        ASSERT_TRUE(shown);
        EXPECT_EQ(root + L"\\Rings\\", FieldText(page, IDC_MSN_ONLINE_SOUND));
        EXPECT_EQ(L"Other", FieldText(page, IDC_MSN_MSG_SOUND));
        EXPECT_FALSE(RegValueExists(CU, kOnlineKey, L"Wave")) << "picking stores nothing";
    });
}

TEST_F(MessengerPageTest, AWriteTheRegistryRefusesSaysSorryAndKeepsTheOldValue)
{
    RunMessengerPage([&](HWND page) {
        SetField(page, kMsg.options, L"9");
        SetField(page, kMsg.text, L"Changed");
        SetField(page, kMsg.sound, L"\\Windows\\New.wav");
        for (UINT button : {kMsg.optionsButton, kMsg.textButton, kMsg.soundButton}) {
            SCOPED_TRACE(button);
            StoreAll(kMsgKey, 4, L"MSN Messenger: Old", L"Old");
            // The key opens, as a key in ROM does, but takes no write.
            SimSetReadOnlyKey(CU, kMsgKey);
            int before = SimMessageBoxCount();
            Tap(page, button);
            SimSetReadOnlyKey(CU, NULL);
            ExpectOneBox(before, page, L"Sorry", MB_OK, L"You action failed, it's not suitable for you device!");
            ExpectAllKept(kMsgKey, 4, L"MSN Messenger: Old", L"Old");
        }
    });
}

TEST_F(MessengerPageTest, KeysThatCannotBeOpenedAreLeftAloneWithoutAWord)
{
    for (const wchar_t *key : {kMsgKey, kOnlineKey}) {
        DeleteRegKey(CU, key);
        StoreAll(key, 4, L"MSN Messenger: Kept", L"Kept");
    }
    // The keys stay readable to the test but can be neither changed nor opened for
    // writing: the page's reads find nothing it may use.
    KeyLock msgLock(CU, kMsgKey), onlineLock(CU, kOnlineKey);
    ASSERT_TRUE(msgLock.locked() && onlineLock.locked());
    RunMessengerPage([](HWND page) {
        ExpectNothingShown(page);
        for (const Notification *n : kBoth) {
            SetField(page, n->options, L"9");
            SetField(page, n->text, L"Changed");
            SetField(page, n->sound, L"\\Windows\\Changed.wav");
            for (UINT button : {n->optionsButton, n->textButton, n->soundButton}) Tap(page, button);
        }
        EXPECT_EQ(0, SimMessageBoxCount()) << "no key, no write, no message";
    });
    for (const wchar_t *key : {kMsgKey, kOnlineKey}) ExpectAllKept(key, 4, L"MSN Messenger: Kept", L"Kept");
}
