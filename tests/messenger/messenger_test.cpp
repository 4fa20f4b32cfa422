// The instant-messenger notification page ("MSN Tricks"), through the System host:
// what it shows, what each button stores and reports, the sound pickers through the
// real file browser, the help, and the layout on every screen shape.
#include "tests/hosts/host_kit.h"
#include "browser_testkit.h"
#include "dialogs/file_browser.h"

namespace {

const wchar_t kMsgKey[] = L"ControlPanel\\Notifications\\{A877D65F-239C-47a7-9304-0D347F580408}";
const wchar_t kOnlineKey[] = L"ControlPanel\\Notifications\\{A877D65E-239C-47a7-9304-0D347F580408}";

const wchar_t kFailedText[] = L"You action failed, it's not suitable for you device!";
const wchar_t kMsgStyleDone[] = L"You have changed the New Message notification style!";
const wchar_t kMsgTextDone[] = L"You have changed the New Message notification text!";
const wchar_t kMsgSoundDone[] = L"You have changed the New Message notification sound!";
const wchar_t kOnlineStyleDone[] = L"You have changed the Signing In notification style!";
const wchar_t kOnlineTextDone[] = L"You have changed the Signing In notification text!";

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

}  // namespace

TEST_F(MessengerPageTest, AFreshDeviceShowsTheDefaultsAndGetsBothKeysWithoutValues)
{
    DeleteRegKey(HKEY_CURRENT_USER, kMsgKey);
    DeleteRegKey(HKEY_CURRENT_USER, kOnlineKey);
    RunMessengerPage([](HWND page) {
        EXPECT_EQ(L"1", FieldText(page, IDC_MSN_MSG_OPTIONS));
        EXPECT_EQ(L"1", FieldText(page, IDC_MSN_ONLINE_OPTIONS));
        for (UINT field : {IDC_MSN_MSG_TEXT, IDC_MSN_ONLINE_TEXT, IDC_MSN_MSG_SOUND, IDC_MSN_ONLINE_SOUND})
            EXPECT_EQ(L"", FieldText(page, field)) << field;
        EXPECT_EQ(L"Customise Msg notification", FieldText(page, IDC_MSN_MSG_OPTIONS_BUTTON));
        EXPECT_EQ(L"Customise Online Notification", FieldText(page, IDC_MSN_ONLINE_OPTIONS_BUTTON));
        EXPECT_EQ(L"Change Msg notification", FieldText(page, IDC_MSN_MSG_TEXT_BUTTON));
        EXPECT_EQ(L"Change Online notification", FieldText(page, IDC_MSN_ONLINE_TEXT_BUTTON));
        EXPECT_EQ(L"Msg Sound", FieldText(page, IDC_MSN_MSG_SOUND_BUTTON));
        EXPECT_EQ(L"Online Sound", FieldText(page, IDC_MSN_ONLINE_SOUND_BUTTON));
        EXPECT_EQ(L"...", FieldText(page, IDC_MSN_MSG_SOUND_PICK));
        EXPECT_EQ(L"...", FieldText(page, IDC_MSN_ONLINE_SOUND_PICK));
        for (UINT help : {IDC_MSN_HELP_OPTIONS, IDC_MSN_HELP_TEXT, IDC_MSN_HELP_SOUND})
            EXPECT_EQ(L"H", FieldText(page, help)) << help;
    });
    EXPECT_EQ(0, SimMessageBoxCount()) << "opening reports nothing";
    for (const wchar_t *key : {kMsgKey, kOnlineKey}) {
        EXPECT_TRUE(RegKeyExists(HKEY_CURRENT_USER, key)) << "reading the text creates the key";
        for (const wchar_t *name : {L"Options", L"Default", L"Wave"})
            EXPECT_FALSE(RegValueExists(HKEY_CURRENT_USER, key, name)) << "nothing written on opening";
    }
}

TEST_F(MessengerPageTest, StoredValuesAreShownAndUnusableOnesCountAsMissing)
{
    WriteRegDword(HKEY_CURRENT_USER, kMsgKey, L"Options", 9);
    WriteRegString(HKEY_CURRENT_USER, kMsgKey, L"Default", L"MSN Messenger: Hello");
    WriteRegString(HKEY_CURRENT_USER, kMsgKey, L"Wave", L"Alarm1");
    WriteRegDword(HKEY_CURRENT_USER, kOnlineKey, L"Options", 3);
    WriteRegString(HKEY_CURRENT_USER, kOnlineKey, L"Default", L"MSN Messenger: %s is online");
    WriteRegString(HKEY_CURRENT_USER, kOnlineKey, L"Wave", L"Ring 2");
    RunMessengerPage([](HWND page) {
        EXPECT_EQ(L"9", FieldText(page, IDC_MSN_MSG_OPTIONS));
        EXPECT_EQ(L"Hello", FieldText(page, IDC_MSN_MSG_TEXT));
        EXPECT_EQ(L"Alarm1", FieldText(page, IDC_MSN_MSG_SOUND));
        EXPECT_EQ(L"3", FieldText(page, IDC_MSN_ONLINE_OPTIONS));
        EXPECT_EQ(L"%s is online", FieldText(page, IDC_MSN_ONLINE_TEXT));
        EXPECT_EQ(L"Ring 2", FieldText(page, IDC_MSN_ONLINE_SOUND));
    });

    // The field shows what follows the 15-character prefix, whatever the prefix says.
    struct {
        const wchar_t *stored;
        const wchar_t *shown;
    } texts[] = {
        {L"MSN Messenger: ", L""},
        {L"Hello", L""},
        {L"", L""},
        {L"Somebody else: x", L"x"},
    };
    for (auto &t : texts) {
        SCOPED_TRACE(testing::Message() << "stored text of " << wcslen(t.stored) << " characters");
        WriteRegString(HKEY_CURRENT_USER, kMsgKey, L"Default", t.stored);
        RunMessengerPage([&](HWND page) { EXPECT_EQ(t.shown, FieldText(page, IDC_MSN_MSG_TEXT)); });
    }

    // Wrong types, a text without its terminating null, texts too long for the page.
    DWORD seven = 7;
    WriteRegRaw(HKEY_CURRENT_USER, kMsgKey, L"Options", REG_BINARY, &seven, sizeof seven);
    WriteRegRaw(HKEY_CURRENT_USER, kOnlineKey, L"Options", REG_SZ, L"7", 4);
    std::wstring unterminated = L"MSN Messenger: Unended#";
    WriteRegRaw(HKEY_CURRENT_USER, kMsgKey, L"Default", REG_SZ, unterminated.c_str(),
                (DWORD)((unterminated.size() - 1) * sizeof(wchar_t)));
    std::wstring tooLong = L"MSN Messenger: " + std::wstring(241, L'x');   // 256 characters and the null
    WriteRegString(HKEY_CURRENT_USER, kOnlineKey, L"Default", tooLong.c_str());
    WriteRegRaw(HKEY_CURRENT_USER, kMsgKey, L"Wave", REG_EXPAND_SZ, L"Alarm1", 14);
    WriteRegString(HKEY_CURRENT_USER, kOnlineKey, L"Wave", std::wstring(200, L'w').c_str());
    RunMessengerPage([](HWND page) {
        EXPECT_EQ(L"1", FieldText(page, IDC_MSN_MSG_OPTIONS));
        EXPECT_EQ(L"1", FieldText(page, IDC_MSN_ONLINE_OPTIONS));
        for (UINT field : {IDC_MSN_MSG_TEXT, IDC_MSN_ONLINE_TEXT, IDC_MSN_MSG_SOUND, IDC_MSN_ONLINE_SOUND})
            EXPECT_EQ(L"", FieldText(page, field)) << field;
    });

    // The longest texts that fit are shown whole.
    std::wstring longestText = L"MSN Messenger: " + std::wstring(240, L'x');
    WriteRegString(HKEY_CURRENT_USER, kOnlineKey, L"Default", longestText.c_str());
    WriteRegString(HKEY_CURRENT_USER, kOnlineKey, L"Wave", std::wstring(199, L'w').c_str());
    RunMessengerPage([](HWND page) {
        EXPECT_EQ(std::wstring(240, L'x'), FieldText(page, IDC_MSN_ONLINE_TEXT));
        EXPECT_EQ(std::wstring(199, L'w'), FieldText(page, IDC_MSN_ONLINE_SOUND));
    });
}

TEST_F(MessengerPageTest, OptionButtonsStoreTheNumberAndCongratulate)
{
    struct {
        UINT field, button;
        const wchar_t *key;
        const wchar_t *typed;
        DWORD stored;
        const wchar_t *report;
    } cases[] = {
        {IDC_MSN_MSG_OPTIONS, IDC_MSN_MSG_OPTIONS_BUTTON, kMsgKey, L"12", 12, kMsgStyleDone},   // past the list's end
        {IDC_MSN_MSG_OPTIONS, IDC_MSN_MSG_OPTIONS_BUTTON, kMsgKey, L"0", 0, kMsgStyleDone},
        {IDC_MSN_MSG_OPTIONS, IDC_MSN_MSG_OPTIONS_BUTTON, kMsgKey, L"  8 bubbles", 8, kMsgStyleDone},
        {IDC_MSN_MSG_OPTIONS, IDC_MSN_MSG_OPTIONS_BUTTON, kMsgKey, L"-1", 0xFFFFFFFF, kMsgStyleDone},
        {IDC_MSN_MSG_OPTIONS, IDC_MSN_MSG_OPTIONS_BUTTON, kMsgKey, L"", 110, kMsgStyleDone},
        {IDC_MSN_MSG_OPTIONS, IDC_MSN_MSG_OPTIONS_BUTTON, kMsgKey, L"many", 110, kMsgStyleDone},
        {IDC_MSN_ONLINE_OPTIONS, IDC_MSN_ONLINE_OPTIONS_BUTTON, kOnlineKey, L"11", 11, kOnlineStyleDone},
        // Signing in falls back as new messages do.
        {IDC_MSN_ONLINE_OPTIONS, IDC_MSN_ONLINE_OPTIONS_BUTTON, kOnlineKey, L"", 110, kOnlineStyleDone},
        {IDC_MSN_ONLINE_OPTIONS, IDC_MSN_ONLINE_OPTIONS_BUTTON, kOnlineKey, L"x9", 110, kOnlineStyleDone},
    };
    DeleteRegKey(HKEY_CURRENT_USER, kMsgKey);
    DeleteRegKey(HKEY_CURRENT_USER, kOnlineKey);
    RunMessengerPage([&](HWND page) {
        for (auto &c : cases) {
            SCOPED_TRACE(testing::Message() << "button " << c.button << ", typed " << testing::PrintToString(std::wstring(c.typed)));
            const wchar_t *otherKey = c.key == kMsgKey ? kOnlineKey : kMsgKey;
            WriteRegDword(HKEY_CURRENT_USER, otherKey, L"Options", 5);
            SetField(page, c.field, c.typed);
            int before = SimMessageBoxCount();
            Tap(page, c.button);
            EXPECT_EQ(c.stored, RegDwordOr(HKEY_CURRENT_USER, c.key, L"Options", 0xDEAD));
            EXPECT_EQ(5u, RegDwordOr(HKEY_CURRENT_USER, otherKey, L"Options", 0xDEAD)) << "the other class is left alone";
            ExpectCongratulated(before, page, c.report);
            EXPECT_EQ(c.typed, FieldText(page, c.field));
        }
    });
    // An option field takes at most 15 characters.
    RunMessengerPage([&](HWND page) {
        EXPECT_EQ(L"110", FieldText(page, IDC_MSN_ONLINE_OPTIONS));
        SendMessageW(GetDlgItem(page, IDC_MSN_MSG_OPTIONS), WM_SETTEXT, 0, (LPARAM)L"");
        SetFocus(GetDlgItem(page, IDC_MSN_MSG_OPTIONS));
        for (int i = 0; i < 20; i++) SendMessageW(GetDlgItem(page, IDC_MSN_MSG_OPTIONS), WM_CHAR, L'1', 0);
        EXPECT_EQ(std::wstring(15, L'1'), FieldText(page, IDC_MSN_MSG_OPTIONS));
        // Beyond an int the number stops at its limit.
        Tap(page, IDC_MSN_MSG_OPTIONS_BUTTON);
        EXPECT_EQ(0x7FFFFFFFu, RegDwordOr(HKEY_CURRENT_USER, kMsgKey, L"Options", 0));
    });
}

TEST_F(MessengerPageTest, TextButtonsStoreTheTextAfterThePrefix)
{
    WriteRegString(HKEY_CURRENT_USER, kMsgKey, L"Default", L"MSN Messenger: Hello");
    RunMessengerPage([](HWND page) {
        // What is shown is stored again unchanged.
        int before = SimMessageBoxCount();
        Tap(page, IDC_MSN_MSG_TEXT_BUTTON);
        EXPECT_EQ(L"MSN Messenger: Hello", RegTextOr(HKEY_CURRENT_USER, kMsgKey, L"Default", L"?"));
        ExpectCongratulated(before, page, kMsgTextDone);

        struct {
            UINT field, button;
            const wchar_t *key;
            std::wstring typed, stored;
            const wchar_t *report;
        } cases[] = {
            {IDC_MSN_ONLINE_TEXT, IDC_MSN_ONLINE_TEXT_BUTTON, kOnlineKey, L"%s is here", L"MSN Messenger: %s is here",
             kOnlineTextDone},
            {IDC_MSN_MSG_TEXT, IDC_MSN_MSG_TEXT_BUTTON, kMsgKey, L"", L"MSN Messenger: ", kMsgTextDone},
            {IDC_MSN_ONLINE_TEXT, IDC_MSN_ONLINE_TEXT_BUTTON, kOnlineKey, L"", L"MSN Messenger: ", kOnlineTextDone},
            // 496 characters fill the 512 the stored text has; anything beyond is not read.
            {IDC_MSN_MSG_TEXT, IDC_MSN_MSG_TEXT_BUTTON, kMsgKey, std::wstring(496, L'a'),
             L"MSN Messenger: " + std::wstring(496, L'a'), kMsgTextDone},
            {IDC_MSN_ONLINE_TEXT, IDC_MSN_ONLINE_TEXT_BUTTON, kOnlineKey, std::wstring(496, L'b') + std::wstring(300, L'c'),
             L"MSN Messenger: " + std::wstring(496, L'b'), kOnlineTextDone},
        };
        for (auto &c : cases) {
            SCOPED_TRACE(testing::Message() << "button " << c.button << ", " << c.typed.size() << " characters");
            SetField(page, c.field, c.typed.c_str());
            before = SimMessageBoxCount();
            Tap(page, c.button);
            std::wstring stored;
            ASSERT_TRUE(ReadRegString(HKEY_CURRENT_USER, c.key, L"Default", &stored));
            EXPECT_EQ(c.stored, stored);
            ExpectCongratulated(before, page, c.report);
        }
        // Typing stops where the stored text would overflow.
        HWND field = GetDlgItem(page, IDC_MSN_MSG_TEXT);
        SetField(page, IDC_MSN_MSG_TEXT, std::wstring(495, L'd').c_str());
        SendMessageW(field, EM_SETSEL, 495, 495);
        for (wchar_t typed : {L'e', L'f', L'g'}) SendMessageW(field, WM_CHAR, typed, 0);
        EXPECT_EQ(std::wstring(495, L'd') + L"e", FieldText(page, IDC_MSN_MSG_TEXT));
    });
    // A stored text too long for the page to show is still replaced by the button.
    EXPECT_EQ(L"MSN Messenger: " + std::wstring(496, L'b'), RegTextOr(HKEY_CURRENT_USER, kOnlineKey, L"Default", L"?"));
    RunMessengerPage([](HWND page) {
        EXPECT_EQ(L"", FieldText(page, IDC_MSN_ONLINE_TEXT));
        SetField(page, IDC_MSN_ONLINE_TEXT, L"back");
        Tap(page, IDC_MSN_ONLINE_TEXT_BUTTON);
    });
    EXPECT_EQ(L"MSN Messenger: back", RegTextOr(HKEY_CURRENT_USER, kOnlineKey, L"Default", L"?"));
}

TEST_F(MessengerPageTest, SoundButtonsStoreTheFileNameWithoutFolderOrExtension)
{
    std::wstring longFolder = L"\\" + std::wstring(60, L'f') + L"\\" + std::wstring(40, L'g');
    struct {
        UINT field, button;
        const wchar_t *key;
        std::wstring path, stored;
        const wchar_t *report;
    } cases[] = {
        {IDC_MSN_MSG_SOUND, IDC_MSN_MSG_SOUND_BUTTON, kMsgKey, L"\\Windows\\My Alert.wav", L"My Alert", kMsgSoundDone},
        // Signing in reports its sound as its style.
        {IDC_MSN_ONLINE_SOUND, IDC_MSN_ONLINE_SOUND_BUTTON, kOnlineKey, L"\\Windows\\Alarm1.wav", L"Alarm1",
         kOnlineStyleDone},
        {IDC_MSN_MSG_SOUND, IDC_MSN_MSG_SOUND_BUTTON, kMsgKey, L"Alarm2.wma", L"Alarm2", kMsgSoundDone},
        {IDC_MSN_MSG_SOUND, IDC_MSN_MSG_SOUND_BUTTON, kMsgKey, L"\\Windows\\Rings\\tune", L"tune", kMsgSoundDone},
        {IDC_MSN_MSG_SOUND, IDC_MSN_MSG_SOUND_BUTTON, kMsgKey, L"\\Windows\\My.Alert.wav", L"My", kMsgSoundDone},
        {IDC_MSN_MSG_SOUND, IDC_MSN_MSG_SOUND_BUTTON, kMsgKey, L"\\Sounds.old\\Chime", L"Chime", kMsgSoundDone},
        {IDC_MSN_MSG_SOUND, IDC_MSN_MSG_SOUND_BUTTON, kMsgKey, L"\\Windows\\Rings\\", L"", kMsgSoundDone},
        {IDC_MSN_ONLINE_SOUND, IDC_MSN_ONLINE_SOUND_BUTTON, kOnlineKey, L"", L"", kOnlineStyleDone},
        // A long name is stored whole, not cut into another sound's name.
        {IDC_MSN_MSG_SOUND, IDC_MSN_MSG_SOUND_BUTTON, kMsgKey, longFolder + L"\\" + std::wstring(90, L'n') + L".wav",
         std::wstring(90, L'n'), kMsgSoundDone},
        // 199 characters are read; the rest of a longer text is not.
        {IDC_MSN_ONLINE_SOUND, IDC_MSN_ONLINE_SOUND_BUTTON, kOnlineKey, L"\\" + std::wstring(300, L'z') + L".wav",
         std::wstring(198, L'z'), kOnlineStyleDone},
    };
    DeleteRegKey(HKEY_CURRENT_USER, kMsgKey);
    DeleteRegKey(HKEY_CURRENT_USER, kOnlineKey);
    RunMessengerPage([&](HWND page) {
        for (auto &c : cases) {
            SCOPED_TRACE(testing::Message() << "button " << c.button << ", path of " << c.path.size() << " characters");
            SetField(page, c.field, c.path.c_str());
            int before = SimMessageBoxCount();
            Tap(page, c.button);
            std::wstring stored = L"?";
            EXPECT_TRUE(ReadRegString(HKEY_CURRENT_USER, c.key, L"Wave", &stored));
            EXPECT_EQ(c.stored, stored);
            ExpectCongratulated(before, page, c.report);
        }
        EXPECT_FALSE(RegValueExists(HKEY_CURRENT_USER, kMsgKey, L"Options")) << "a sound button writes only the sound";
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
    DeleteRegKey(HKEY_CURRENT_USER, kMsgKey);
    DeleteRegKey(HKEY_CURRENT_USER, kOnlineKey);
    RunMessengerPage([&](HWND page) {
        HWND host = GetAncestor(page, GA_ROOT);
        SetField(page, IDC_MSN_ONLINE_SOUND, L"Before");

        // A tapped file: its whole path goes into the field of the button pressed.
        StartBrowserIn(root);
        lstrcpyW(g_browseResult, L"\\stale.wav");
        bool shown = DriveModal([&] { Tap(page, IDC_MSN_MSG_SOUND_PICK); },
                                [&](HWND browser) {
                                    EXPECT_EQ(L"Sound Browse", WindowText(browser));
                                    EXPECT_EQ(host, GetWindow(browser, GW_OWNER));
                                    EXPECT_EQ(root + L"\\", BrowserPathLabel(browser));
                                    TapBrowserItem(browser, L"My Alert.wav");
                                    EXPECT_FALSE(BrowserStillOpen(browser));
                                });
        ASSERT_TRUE(shown);
        EXPECT_EQ(root + L"\\My Alert.wav", FieldText(page, IDC_MSN_MSG_SOUND));
        EXPECT_EQ(L"Before", FieldText(page, IDC_MSN_ONLINE_SOUND));
        EXPECT_FALSE(RegValueExists(HKEY_CURRENT_USER, kMsgKey, L"Wave")) << "picking stores nothing";

        // Cancelled, whatever the last result was, the field keeps its text.
        lstrcpyW(g_browseResult, L"\\stale.wav");
        StartBrowserIn(root);
        shown = DriveModal([&] { Tap(page, IDC_MSN_ONLINE_SOUND_PICK); },
                           [&](HWND browser) { Click(BrowserSoftKey(browser, IDM_BROWSE_CANCEL)); });
        ASSERT_TRUE(shown);
        EXPECT_EQ(L"Before", FieldText(page, IDC_MSN_ONLINE_SOUND));
        EXPECT_EQ(root + L"\\My Alert.wav", FieldText(page, IDC_MSN_MSG_SOUND));

        // A folder handed back by OK is put in as it comes.
        StartBrowserIn(root);
        shown = DriveModal([&] { Tap(page, IDC_MSN_ONLINE_SOUND_PICK); },
                           [&](HWND browser) {
                               TapBrowserItem(browser, L"Rings");
                               // The list shows the folder entered: visible, repainted
                               // as a whole, its scroll bar set for 62 items.
                               HWND list = BrowserList(browser);
                               EXPECT_EQ(62, (int)SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
                               EXPECT_TRUE(IsWindowVisible(list));
                               RECT pending;
                               EXPECT_TRUE(GetUpdateRect(list, &pending, FALSE)) << "no repaint asked for";
                               RECT client;
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

        // The next opening starts one level above; a file picked there is used by the
        // sound button as any typed path.
        shown = DriveModal([&] { Tap(page, IDC_MSN_ONLINE_SOUND_PICK); },
                           [&](HWND browser) {
                               EXPECT_EQ(root + L"\\", BrowserPathLabel(browser));
                               TapBrowserItem(browser, L"Rings");
                               TapBrowserItem(browser, L"Chime.wma");
                           });
        ASSERT_TRUE(shown);
        EXPECT_EQ(root + L"\\Rings\\Chime.wma", FieldText(page, IDC_MSN_ONLINE_SOUND));
        int before = SimMessageBoxCount();
        Tap(page, IDC_MSN_ONLINE_SOUND_BUTTON);
        EXPECT_EQ(L"Chime", RegTextOr(HKEY_CURRENT_USER, kOnlineKey, L"Wave", L"?"));
        ExpectCongratulated(before, page, kOnlineStyleDone);
        EXPECT_TRUE(IsWindowVisible(page));
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
        StartBrowserIn(root);
        bool shown = DriveModal([&] { Tap(page, IDC_MSN_MSG_SOUND_PICK); },
                                [&](HWND browser) {
                                    TapBrowserItem(browser, folder);
                                    TapBrowserItem(browser, name);
                                });
        ASSERT_TRUE(shown);
        EXPECT_EQ(path, FieldText(page, IDC_MSN_MSG_SOUND));
        Tap(page, IDC_MSN_MSG_SOUND_BUTTON);
        EXPECT_EQ(std::wstring(nameLength - 4, L'q'), RegTextOr(HKEY_CURRENT_USER, kMsgKey, L"Wave", L"?"));
    });
}

TEST_F(MessengerPageTest, AWriteTheRegistryRefusesSaysSorryAndKeepsTheOldValue)
{
    struct {
        const wchar_t *key;
        UINT field, button;
        const wchar_t *typed;
        const wchar_t *value;
    } cases[] = {
        {kMsgKey, IDC_MSN_MSG_OPTIONS, IDC_MSN_MSG_OPTIONS_BUTTON, L"9", L"Options"},
        {kMsgKey, IDC_MSN_MSG_TEXT, IDC_MSN_MSG_TEXT_BUTTON, L"Changed", L"Default"},
        {kMsgKey, IDC_MSN_MSG_SOUND, IDC_MSN_MSG_SOUND_BUTTON, L"\\Windows\\New.wav", L"Wave"},
        {kOnlineKey, IDC_MSN_ONLINE_OPTIONS, IDC_MSN_ONLINE_OPTIONS_BUTTON, L"9", L"Options"},
        {kOnlineKey, IDC_MSN_ONLINE_TEXT, IDC_MSN_ONLINE_TEXT_BUTTON, L"Changed", L"Default"},
        {kOnlineKey, IDC_MSN_ONLINE_SOUND, IDC_MSN_ONLINE_SOUND_BUTTON, L"\\Windows\\New.wav", L"Wave"},
    };
    for (const wchar_t *key : {kMsgKey, kOnlineKey}) {
        WriteRegDword(HKEY_CURRENT_USER, key, L"Options", 4);
        WriteRegString(HKEY_CURRENT_USER, key, L"Default", L"MSN Messenger: Old");
        WriteRegString(HKEY_CURRENT_USER, key, L"Wave", L"Old");
    }
    RunMessengerPage([&](HWND page) {
        for (auto &c : cases) {
            SCOPED_TRACE(testing::Message() << c.button);
            SetField(page, c.field, c.typed);
            // The key opens, as a key in ROM does, but takes no write.
            SimSetReadOnlyKey(HKEY_CURRENT_USER, c.key);
            int before = SimMessageBoxCount();
            Tap(page, c.button);
            SimSetReadOnlyKey(HKEY_CURRENT_USER, NULL);
            ExpectOneBox(before, page, L"Sorry", MB_OK, L"You action failed, it's not suitable for you device!");
            EXPECT_EQ(4u, RegDwordOr(HKEY_CURRENT_USER, c.key, L"Options", 0));
            EXPECT_EQ(L"MSN Messenger: Old", RegTextOr(HKEY_CURRENT_USER, c.key, L"Default", L"?"));
            EXPECT_EQ(L"Old", RegTextOr(HKEY_CURRENT_USER, c.key, L"Wave", L"?"));
            // The same press on a writable key goes through.
            before = SimMessageBoxCount();
            Tap(page, c.button);
            EXPECT_EQ(1, MessageBoxesSince(before));
            EXPECT_STREQ(L"Congratulations", LastMessageBox().caption);
            EXPECT_TRUE(RegTextOr(HKEY_CURRENT_USER, c.key, c.value, L"Old") != L"Old" ||
                        RegDwordOr(HKEY_CURRENT_USER, c.key, c.value, 4) != 4)
                << "the write went through";
            WriteRegDword(HKEY_CURRENT_USER, c.key, L"Options", 4);
            WriteRegString(HKEY_CURRENT_USER, c.key, L"Default", L"MSN Messenger: Old");
            WriteRegString(HKEY_CURRENT_USER, c.key, L"Wave", L"Old");
        }
    });
}

TEST_F(MessengerPageTest, KeysThatCannotBeOpenedAreLeftAloneWithoutAWord)
{
    for (const wchar_t *key : {kMsgKey, kOnlineKey}) {
        DeleteRegKey(HKEY_CURRENT_USER, key);
        WriteRegDword(HKEY_CURRENT_USER, key, L"Options", 4);
        WriteRegString(HKEY_CURRENT_USER, key, L"Default", L"MSN Messenger: Kept");
        WriteRegString(HKEY_CURRENT_USER, key, L"Wave", L"Kept");
    }
    // The keys stay readable to the test but can be neither changed nor opened for
    // writing: the page's reads find nothing it may use.
    KeyLock msgLock(HKEY_CURRENT_USER, kMsgKey), onlineLock(HKEY_CURRENT_USER, kOnlineKey);
    ASSERT_TRUE(msgLock.locked());
    ASSERT_TRUE(onlineLock.locked());
    for (const wchar_t *key : {kMsgKey, kOnlineKey}) {
        HKEY writable;
        LONG status = RegOpenKeyExW(HKEY_CURRENT_USER, key, 0, KEY_ALL_ACCESS, &writable);
        if (status == ERROR_SUCCESS) RegCloseKey(writable);
        ASSERT_EQ(ERROR_ACCESS_DENIED, status) << "the registry does not refuse the key";
    }
    RunMessengerPage([](HWND page) {
        EXPECT_EQ(L"1", FieldText(page, IDC_MSN_MSG_OPTIONS));
        EXPECT_EQ(L"", FieldText(page, IDC_MSN_MSG_TEXT));
        SetField(page, IDC_MSN_MSG_OPTIONS, L"9");
        SetField(page, IDC_MSN_ONLINE_OPTIONS, L"9");
        SetField(page, IDC_MSN_MSG_TEXT, L"Changed");
        SetField(page, IDC_MSN_ONLINE_TEXT, L"Changed");
        SetField(page, IDC_MSN_MSG_SOUND, L"\\Windows\\Changed.wav");
        SetField(page, IDC_MSN_ONLINE_SOUND, L"\\Windows\\Changed.wav");
        int before = SimMessageBoxCount();
        for (UINT button : {IDC_MSN_MSG_OPTIONS_BUTTON, IDC_MSN_MSG_TEXT_BUTTON, IDC_MSN_MSG_SOUND_BUTTON,
                            IDC_MSN_ONLINE_OPTIONS_BUTTON, IDC_MSN_ONLINE_TEXT_BUTTON, IDC_MSN_ONLINE_SOUND_BUTTON})
            Tap(page, button);
        EXPECT_EQ(0, MessageBoxesSince(before)) << "no key, no write, no message";
        EXPECT_TRUE(IsWindowVisible(page));
    });
    for (const wchar_t *key : {kMsgKey, kOnlineKey}) {
        EXPECT_EQ(4u, RegDwordOr(HKEY_CURRENT_USER, key, L"Options", 0));
        EXPECT_EQ(L"MSN Messenger: Kept", RegTextOr(HKEY_CURRENT_USER, key, L"Default", L"?"));
        EXPECT_EQ(L"Kept", RegTextOr(HKEY_CURRENT_USER, key, L"Wave", L"?"));
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
    RunSystemPage(TAB_MESSENGER, [](HWND page) {
        HWND tabs = GetParent(page);
        EXPECT_EQ(L"MSN Tricks", TabLabel(tabs, TAB_MESSENGER));
        ExpectAt(page, IDC_MSN_MSG_TEXT, 8, 46, 300, 14);
        ExpectAt(page, IDC_MSN_ONLINE_SOUND_PICK, 276, 178, 32, 14);
        ExpectControlsInside(page);
        SetField(page, IDC_MSN_MSG_TEXT, L"Kept through turns");
        SetField(page, IDC_MSN_ONLINE_SOUND, L"\\Windows\\Ring.wav");
        {
            ScreenTurn landscape(SIM_LANDSCAPE);
            ASSERT_TRUE(landscape.turned());
            ASSERT_EQ(page, PageInTabs(tabs));
            ExpectAt(page, IDC_MSN_MSG_TEXT, 154, 24, 240, 14);
            ExpectAt(page, IDC_MSN_ONLINE_SOUND_PICK, 372, 106, 22, 14);
            ExpectControlsInside(page);
        }
        {
            ScreenTurn square(SIM_SQUARE);
            ASSERT_TRUE(square.turned());
            ExpectAt(page, IDC_MSN_MSG_TEXT, 10, 50, 400, 14);
            ExpectAt(page, IDC_MSN_ONLINE_SOUND_PICK, 376, 190, 34, 14);
            ExpectControlsInside(page);
        }
        ExpectAt(page, IDC_MSN_MSG_TEXT, 8, 46, 300, 14);
        EXPECT_EQ(L"Kept through turns", FieldText(page, IDC_MSN_MSG_TEXT));
        EXPECT_EQ(L"\\Windows\\Ring.wav", FieldText(page, IDC_MSN_ONLINE_SOUND));

        // A page made on a turned screen starts in that shape's layout.
        {
            ScreenTurn landscape(SIM_LANDSCAPE);
            TapTab(tabs, TAB_SYSTEM_FONT);
            TapTab(tabs, TAB_MESSENGER);
            HWND fresh = PageInTabs(tabs);
            ASSERT_TRUE(fresh != NULL && fresh != page) << "a new page on top";
            ExpectAt(fresh, IDC_MSN_MSG_TEXT, 154, 24, 240, 14);
            page = fresh;
        }
        // Done inside the page ends the whole category.
        HWND host = GetAncestor(page, GA_ROOT);
        SendMessageW(page, WM_COMMAND, IDOK, 0);
        EXPECT_FALSE(IsWindowVisible(host));
    });
}
