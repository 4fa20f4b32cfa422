// The instant-messenger notification page ("MSN Tricks"), through the System host:
// what it shows, what each button stores and reports, the sound pickers through the
// real file browser, the help, and the layout on every screen shape.
#include "tests/hosts/host_kit.h"
#include "browser_testkit.h"
#include "dialogs/file_browser.h"

namespace {

const HKEY CU = HKEY_CURRENT_USER;
const wchar_t kMsgKey[] = L"ControlPanel\\Notifications\\{A877D65F-239C-47a7-9304-0D347F580408}";
const wchar_t kOnlineKey[] = L"ControlPanel\\Notifications\\{A877D65E-239C-47a7-9304-0D347F580408}";

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

void ExpectCongratulated(int before, HWND page, const wchar_t *text)
{
    ExpectOneBox(before, page, L"Congratulations", MB_OK, text);
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

// The button pressed with this text in its field: what it stored, and its one report.
void Press(HWND page, UINT field, const std::wstring &typed, UINT button, const wchar_t *report)
{
    SetField(page, field, typed.c_str());
    int before = SimMessageBoxCount();
    Tap(page, button);
    ExpectCongratulated(before, page, report);
}

}  // namespace

TEST_F(MessengerPageTest, AFreshDeviceShowsTheDefaultsAndGetsBothKeysWithoutValues)
{
    DeleteRegKey(CU, kMsgKey);
    DeleteRegKey(CU, kOnlineKey);
    RunMessengerPage(ExpectNothingShown);
    EXPECT_EQ(0, SimMessageBoxCount()) << "opening reports nothing";
    for (const wchar_t *key : {kMsgKey, kOnlineKey}) {
        EXPECT_TRUE(RegKeyExists(CU, key)) << "reading the text creates the key";
        for (const wchar_t *name : {L"Options", L"Default", L"Wave"})
            EXPECT_FALSE(RegValueExists(CU, key, name)) << "nothing written on opening";
    }
}

TEST_F(MessengerPageTest, StoredValuesAreShownAndUnusableOnesCountAsMissing)
{
    WriteRegDword(CU, kMsgKey, L"Options", 9);
    WriteRegString(CU, kMsgKey, L"Default", L"MSN Messenger: Hello");
    WriteRegString(CU, kMsgKey, L"Wave", L"Alarm1");
    WriteRegDword(CU, kOnlineKey, L"Options", 3);
    WriteRegString(CU, kOnlineKey, L"Default", L"MSN Messenger: %s is online");
    WriteRegString(CU, kOnlineKey, L"Wave", L"Ring 2");
    RunMessengerPage([](HWND page) {
        EXPECT_EQ(L"9", FieldText(page, IDC_MSN_MSG_OPTIONS));
        EXPECT_EQ(L"Hello", FieldText(page, IDC_MSN_MSG_TEXT));
        EXPECT_EQ(L"Alarm1", FieldText(page, IDC_MSN_MSG_SOUND));
        EXPECT_EQ(L"3", FieldText(page, IDC_MSN_ONLINE_OPTIONS));
        EXPECT_EQ(L"%s is online", FieldText(page, IDC_MSN_ONLINE_TEXT));
        EXPECT_EQ(L"Ring 2", FieldText(page, IDC_MSN_ONLINE_SOUND));
    });

    // The field shows what follows the 15-character prefix, whatever the prefix says.
    for (auto t : {std::make_pair(L"MSN Messenger: ", L""), std::make_pair(L"Hello", L""),
                   std::make_pair(L"Somebody else: x", L"x")}) {
        SCOPED_TRACE(t.first);
        WriteRegString(CU, kMsgKey, L"Default", t.first);
        RunMessengerPage([&](HWND page) { EXPECT_EQ(t.second, FieldText(page, IDC_MSN_MSG_TEXT)); });
    }

    // Wrong types, a text without its terminating null, texts too long for the page:
    // 256 characters of text and 200 of sound do not fit, 255 and 199 do.
    DWORD seven = 7;
    WriteRegRaw(CU, kMsgKey, L"Options", REG_BINARY, &seven, sizeof seven);
    WriteTextOfType(CU, kOnlineKey, L"Options", REG_SZ, L"7");
    WriteUnterminated(CU, kMsgKey, L"Default", L"MSN Messenger: Unended");
    WriteRegString(CU, kOnlineKey, L"Default", (L"MSN Messenger: " + std::wstring(241, L'x')).c_str());
    WriteTextOfType(CU, kMsgKey, L"Wave", REG_EXPAND_SZ, L"Alarm1");
    WriteRegString(CU, kOnlineKey, L"Wave", std::wstring(200, L'w').c_str());
    RunMessengerPage(ExpectNothingShown);
    WriteRegString(CU, kOnlineKey, L"Default", (L"MSN Messenger: " + std::wstring(240, L'x')).c_str());
    WriteRegString(CU, kOnlineKey, L"Wave", std::wstring(199, L'w').c_str());
    RunMessengerPage([](HWND page) {
        EXPECT_EQ(std::wstring(240, L'x'), FieldText(page, IDC_MSN_ONLINE_TEXT));
        EXPECT_EQ(std::wstring(199, L'w'), FieldText(page, IDC_MSN_ONLINE_SOUND));
    });
}

TEST_F(MessengerPageTest, OptionButtonsStoreTheNumberAndCongratulate)
{
    struct {
        const Notification *n;
        const wchar_t *typed;
        DWORD stored;
    } cases[] = {
        {&kMsg, L"12", 12},   // past the list's end
        {&kMsg, L"-1", 0xFFFFFFFF},
        {&kMsg, L"many", 110},
        {&kOnline, L"11", 11},
        // Signing in falls back as new messages do.
        {&kOnline, L"", 110},
    };
    RunMessengerPage([&](HWND page) {
        for (auto &c : cases) {
            SCOPED_TRACE(testing::Message() << "typed " << testing::PrintToString(std::wstring(c.typed)));
            const wchar_t *otherKey = c.n == &kMsg ? kOnlineKey : kMsgKey;
            WriteRegDword(CU, otherKey, L"Options", 5);
            Press(page, c.n->options, c.typed, c.n->optionsButton, c.n->styleDone);
            EXPECT_EQ(c.stored, RegDwordOr(CU, c.n->key, L"Options", 0xDEAD));
            EXPECT_EQ(5u, RegDwordOr(CU, otherKey, L"Options", 0xDEAD)) << "the other class is left alone";
            EXPECT_EQ(c.typed, FieldText(page, c.n->options));
        }
    });
    // An option field takes at most 15 characters.
    RunMessengerPage([&](HWND page) {
        EXPECT_EQ(L"110", FieldText(page, IDC_MSN_ONLINE_OPTIONS));
        HWND field = GetDlgItem(page, IDC_MSN_MSG_OPTIONS);
        SetField(page, IDC_MSN_MSG_OPTIONS, L"");
        SetFocus(field);
        for (int i = 0; i < 20; i++) SendMessageW(field, WM_CHAR, L'1', 0);
        EXPECT_EQ(std::wstring(15, L'1'), FieldText(page, IDC_MSN_MSG_OPTIONS));
        // Beyond an int the number stops at its limit.
        Tap(page, IDC_MSN_MSG_OPTIONS_BUTTON);
        EXPECT_EQ(0x7FFFFFFFu, RegDwordOr(CU, kMsgKey, L"Options", 0));
    });
}

TEST_F(MessengerPageTest, TextButtonsStoreTheTextAfterThePrefix)
{
    WriteRegString(CU, kMsgKey, L"Default", L"MSN Messenger: Hello");
    RunMessengerPage([](HWND page) {
        // What is shown is stored again unchanged.
        Press(page, kMsg.text, L"Hello", kMsg.textButton, kMsg.textDone);
        EXPECT_EQ(L"MSN Messenger: Hello", Text(kMsgKey, L"Default"));
        struct {
            const Notification *n;
            std::wstring typed, stored;
        } cases[] = {
            {&kOnline, L"%s is here", L"%s is here"},
            {&kMsg, L"", L""},
            // 496 characters fill the 512 the stored text has; anything beyond is not read.
            {&kMsg, std::wstring(496, L'a'), std::wstring(496, L'a')},
            {&kOnline, std::wstring(496, L'b') + std::wstring(300, L'c'), std::wstring(496, L'b')},
        };
        for (auto &c : cases) {
            SCOPED_TRACE(c.typed.size());
            Press(page, c.n->text, c.typed, c.n->textButton, c.n->textDone);
            EXPECT_EQ(L"MSN Messenger: " + c.stored, Text(c.n->key, L"Default"));
        }
        // Typing stops where the stored text would overflow.
        HWND field = GetDlgItem(page, IDC_MSN_MSG_TEXT);
        SetField(page, IDC_MSN_MSG_TEXT, std::wstring(495, L'd').c_str());
        SendMessageW(field, EM_SETSEL, 495, 495);
        for (wchar_t typed : {L'e', L'f', L'g'}) SendMessageW(field, WM_CHAR, typed, 0);
        EXPECT_EQ(std::wstring(495, L'd') + L"e", FieldText(page, IDC_MSN_MSG_TEXT));
    });
    // A stored text too long for the page to show is still replaced by the button.
    RunMessengerPage([](HWND page) {
        EXPECT_EQ(L"", FieldText(page, IDC_MSN_ONLINE_TEXT));
        Press(page, kOnline.text, L"back", kOnline.textButton, kOnline.textDone);
    });
    EXPECT_EQ(L"MSN Messenger: back", Text(kOnlineKey, L"Default"));
}

TEST_F(MessengerPageTest, SoundButtonsStoreTheFileNameWithoutFolderOrExtension)
{
    std::wstring longFolder = L"\\" + std::wstring(60, L'f') + L"\\" + std::wstring(40, L'g');
    struct {
        const Notification *n;
        std::wstring path, stored;
    } cases[] = {
        {&kMsg, L"\\Windows\\My Alert.wav", L"My Alert"},
        {&kOnline, L"\\Windows\\Alarm1.wav", L"Alarm1"},
        {&kMsg, L"Alarm2.wma", L"Alarm2"},
        {&kMsg, L"\\Windows\\Rings\\tune", L"tune"},
        {&kMsg, L"\\Windows\\My.Alert.wav", L"My"},
        {&kMsg, L"\\Sounds.old\\Chime", L"Chime"},
        {&kMsg, L"\\Windows\\Rings\\", L""},
        {&kOnline, L"", L""},
        // A long name is stored whole, not cut into another sound's name.
        {&kMsg, longFolder + L"\\" + std::wstring(90, L'n') + L".wav", std::wstring(90, L'n')},
        // 199 characters are read; the rest of a longer text is not.
        {&kOnline, L"\\" + std::wstring(300, L'z') + L".wav", std::wstring(198, L'z')},
    };
    DeleteRegKey(CU, kMsgKey);
    DeleteRegKey(CU, kOnlineKey);
    RunMessengerPage([&](HWND page) {
        for (auto &c : cases) {
            SCOPED_TRACE(testing::Message() << "path of " << c.path.size() << " characters");
            Press(page, c.n->sound, c.path, c.n->soundButton, c.n->soundDone);
            std::wstring stored = L"?";
            EXPECT_TRUE(ReadRegString(CU, c.n->key, L"Wave", &stored));
            EXPECT_EQ(c.stored, stored);
        }
        EXPECT_FALSE(RegValueExists(CU, kMsgKey, L"Options")) << "a sound button writes only the sound";
    });
    // What was stored is shown the next time.
    RunMessengerPage([](HWND page) {
        EXPECT_EQ(std::wstring(90, L'n'), FieldText(page, IDC_MSN_MSG_SOUND));
        EXPECT_EQ(std::wstring(198, L'z'), FieldText(page, IDC_MSN_ONLINE_SOUND));
    });
}

TEST_F(MessengerPageTest, PickButtonsPutTheBrowsersChoiceInTheirFieldOnly)
{
    MakeFile(L"My Alert.wav");
    MakeFolder(L"Rings");
    MakeFile(L"Rings\\Chime.wma");
    // More sounds than the list shows at once: it needs its scroll bar.
    for (int i = 0; i < 60; i++) MakeFile(L"Rings\\Ring" + std::to_wstring(i) + L".wav");
    DeleteRegKey(CU, kMsgKey);
    DeleteRegKey(CU, kOnlineKey);
    RunMessengerPage([&](HWND page) {
        HWND host = GetAncestor(page, GA_ROOT);
        SetField(page, IDC_MSN_ONLINE_SOUND, L"Before");

        // A tapped file: its whole path goes into the field of the button pressed.
        lstrcpyW(g_browseResult, L"\\stale.wav");
        EXPECT_TRUE(BrowseFrom(page, IDC_MSN_MSG_SOUND_PICK, root, [&](HWND browser) {
            EXPECT_EQ(L"Sound Browse", WindowText(browser));
            EXPECT_EQ(host, GetWindow(browser, GW_OWNER));
            TapBrowserItem(browser, L"My Alert.wav");
        }));
        EXPECT_EQ(root + L"\\My Alert.wav", FieldText(page, IDC_MSN_MSG_SOUND));
        EXPECT_EQ(L"Before", FieldText(page, IDC_MSN_ONLINE_SOUND));
        EXPECT_FALSE(RegValueExists(CU, kMsgKey, L"Wave")) << "picking stores nothing";

        // Cancelled, whatever the last result was, the field keeps its text.
        lstrcpyW(g_browseResult, L"\\stale.wav");
        EXPECT_TRUE(BrowseFrom(page, IDC_MSN_ONLINE_SOUND_PICK, root,
                               [](HWND browser) { Click(BrowserSoftKey(browser, IDM_BROWSE_CANCEL)); }));
        EXPECT_EQ(L"Before", FieldText(page, IDC_MSN_ONLINE_SOUND));

        // A folder handed back by OK is put in as it comes. Opened over the page, the
        // browser's list shows the folder entered: visible, repainted as a whole, its
        // scroll bar set for 62 items.
        StartBrowserIn(root);
        bool shown = DriveModal([&] { Tap(page, IDC_MSN_ONLINE_SOUND_PICK); },
                                [&](HWND browser) {
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
                                    EXPECT_TRUE(GetWindowLongW(list, GWL_STYLE) & WS_VSCROLL);
                                    SCROLLINFO bar = {sizeof bar, SIF_RANGE | SIF_PAGE};
                                    ASSERT_TRUE(GetScrollInfo(list, SB_VERT, &bar));
                                    EXPECT_EQ(61, bar.nMax);
                                    EXPECT_GT(bar.nPage, 0u);
                                    EXPECT_LT(bar.nPage, 62u);
                                    Click(BrowserSoftKey(browser, IDM_BROWSE_OK));
                                });
        ASSERT_TRUE(shown);
        EXPECT_EQ(root + L"\\Rings\\", FieldText(page, IDC_MSN_ONLINE_SOUND));

        // A file picked is used by the sound button as any typed path.
        EXPECT_TRUE(BrowseFrom(page, IDC_MSN_ONLINE_SOUND_PICK, root + L"\\Rings",
                               [](HWND browser) { TapBrowserItem(browser, L"Chime.wma"); }));
        EXPECT_EQ(root + L"\\Rings\\Chime.wma", FieldText(page, IDC_MSN_ONLINE_SOUND));
        Press(page, kOnline.sound, FieldText(page, kOnline.sound), kOnline.soundButton, kOnline.soundDone);
        EXPECT_EQ(L"Chime", Text(kOnlineKey, L"Wave"));
    });
}

TEST_F(MessengerPageTest, TheLongestPathTheBrowserHandsBackIsTakenWhole)
{
    // A folder and a file name that make a path of exactly 100 characters.
    std::wstring folder = std::wstring(40, L'p');
    size_t nameLength = BROWSE_PATH_CHARS - (root.size() + 1 + folder.size() + 1);
    std::wstring name = std::wstring(nameLength - 4, L'q') + L".wav";
    MakeFolder(folder);
    MakeFile(folder + L"\\" + name);
    std::wstring path = Path(folder + L"\\" + name);
    ASSERT_EQ((size_t)BROWSE_PATH_CHARS, path.size());
    RunMessengerPage([&](HWND page) {
        EXPECT_TRUE(BrowseFrom(page, IDC_MSN_MSG_SOUND_PICK, root + L"\\" + folder,
                               [&](HWND browser) { TapBrowserItem(browser, name); }));
        EXPECT_EQ(path, FieldText(page, IDC_MSN_MSG_SOUND));
        Tap(page, IDC_MSN_MSG_SOUND_BUTTON);
        EXPECT_EQ(std::wstring(nameLength - 4, L'q'), RegTextOr(CU, kMsgKey, L"Wave", L"?"));
    });
}

TEST_F(MessengerPageTest, AWriteTheRegistryRefusesSaysSorryAndKeepsTheOldValue)
{
    auto storeOld = [](const wchar_t *key) {
        WriteRegDword(CU, key, L"Options", 4);
        WriteRegString(CU, key, L"Default", L"MSN Messenger: Old");
        WriteRegString(CU, key, L"Wave", L"Old");
    };
    auto expectOld = [](const wchar_t *key) {
        EXPECT_EQ(4u, RegDwordOr(CU, key, L"Options", 0));
        EXPECT_EQ(L"MSN Messenger: Old", Text(key, L"Default"));
        EXPECT_EQ(L"Old", Text(key, L"Wave"));
    };
    RunMessengerPage([&](HWND page) {
        for (const Notification *n : kBoth) {
            SetField(page, n->options, L"9");
            SetField(page, n->text, L"Changed");
            SetField(page, n->sound, L"\\Windows\\New.wav");
            for (UINT button : {n->optionsButton, n->textButton, n->soundButton}) {
                SCOPED_TRACE(button);
                storeOld(n->key);
                // The key opens, as a key in ROM does, but takes no write.
                SimSetReadOnlyKey(CU, n->key);
                int before = SimMessageBoxCount();
                Tap(page, button);
                SimSetReadOnlyKey(CU, NULL);
                ExpectOneBox(before, page, L"Sorry", MB_OK, L"You action failed, it's not suitable for you device!");
                expectOld(n->key);
                // The same press on a writable key goes through.
                before = SimMessageBoxCount();
                Tap(page, button);
                ASSERT_EQ(1, MessageBoxesSince(before));
                EXPECT_STREQ(L"Congratulations", LastMessageBox().caption);
            }
            EXPECT_EQ(L"New", Text(n->key, L"Wave"));
        }
    });
}

TEST_F(MessengerPageTest, KeysThatCannotBeOpenedAreLeftAloneWithoutAWord)
{
    for (const wchar_t *key : {kMsgKey, kOnlineKey}) {
        DeleteRegKey(CU, key);
        WriteRegDword(CU, key, L"Options", 4);
        WriteRegString(CU, key, L"Default", L"MSN Messenger: Kept");
        WriteRegString(CU, key, L"Wave", L"Kept");
    }
    // The keys stay readable to the test but can be neither changed nor opened for
    // writing: the page's reads find nothing it may use.
    KeyLock msgLock(CU, kMsgKey), onlineLock(CU, kOnlineKey);
    ASSERT_TRUE(msgLock.locked());
    ASSERT_TRUE(onlineLock.locked());
    RunMessengerPage([](HWND page) {
        EXPECT_EQ(L"1", FieldText(page, IDC_MSN_MSG_OPTIONS));
        EXPECT_EQ(L"", FieldText(page, IDC_MSN_MSG_TEXT));
        for (const Notification *n : kBoth) {
            SetField(page, n->options, L"9");
            SetField(page, n->text, L"Changed");
            SetField(page, n->sound, L"\\Windows\\Changed.wav");
            for (UINT button : {n->optionsButton, n->textButton, n->soundButton}) Tap(page, button);
        }
        EXPECT_EQ(0, SimMessageBoxCount()) << "no key, no write, no message";
        EXPECT_TRUE(IsWindowVisible(page));
    });
    for (const wchar_t *key : {kMsgKey, kOnlineKey}) {
        EXPECT_EQ(4u, RegDwordOr(CU, key, L"Options", 0));
        EXPECT_EQ(L"MSN Messenger: Kept", Text(key, L"Default"));
        EXPECT_EQ(L"Kept", Text(key, L"Wave"));
    }
}

TEST_F(MessengerPageTest, HelpButtonsExplainOptionsTextAndSound)
{
    RunMessengerPage([](HWND page) {
        HWND host = GetAncestor(page, GA_ROOT);
        bool shown = DriveModal([&] { Tap(page, IDC_MSN_HELP_OPTIONS); },
                                [&](HWND help) {
                                    EXPECT_EQ(L"Help", WindowText(help));
                                    EXPECT_EQ(host, GetWindow(help, GW_OWNER));
                                    EXPECT_EQ(kNotificationOptionsHelp, FieldText(help, IDC_NOTIFY_HELP_TEXT));
                                    SendMessageW(help, WM_COMMAND, IDOK, 0);
                                });
        EXPECT_TRUE(shown);
        EXPECT_TRUE(IsWindowVisible(page));
        EXPECT_EQ(0, SimMessageBoxCount());

        int before = SimMessageBoxCount();
        Tap(page, IDC_MSN_HELP_TEXT);
        ExpectOneBox(before, page, L"Help", MB_OK | MB_ICONINFORMATION,
                     L"Make the New MSN Message notification in your words.");
        before = SimMessageBoxCount();
        Tap(page, IDC_MSN_HELP_SOUND);
        ExpectOneBox(before, page, L"Help", MB_OK | MB_ICONINFORMATION,
                     L"You can change the MSN nessage notification sound as you like. You can use the sound recorded "
                     L"by youself as the notification sound. Such as \"New Message\". Make Sure the sound file is in "
                     L"\\Windows\\.");
    });
}

TEST_F(MessengerPageTest, ThePageTakesEachShapesLayoutKeepsItsFieldsAndClosesTheHostOnDone)
{
    CheckVariantPerShape(
        RunSystemPage, TAB_MESSENGER, {IDD_MESSENGER_PAGE, IDD_MESSENGER_PAGE_LANDSCAPE, IDD_MESSENGER_PAGE_SQUARE},
        [](HWND page) {
            SetField(page, IDC_MSN_MSG_TEXT, L"Kept through turns");
            SetField(page, IDC_MSN_ONLINE_SOUND, L"\\Windows\\Ring.wav");
        },
        [](HWND page) {
            EXPECT_EQ(L"Kept through turns", FieldText(page, IDC_MSN_MSG_TEXT));
            EXPECT_EQ(L"\\Windows\\Ring.wav", FieldText(page, IDC_MSN_ONLINE_SOUND));
            ExpectControlsInside(page);
        });
    ExpectDoneInsideClosesHost(RunSystemPage, TAB_MESSENGER);
}
