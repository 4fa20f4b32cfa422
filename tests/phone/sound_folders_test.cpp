// The sound folders page ("Sounds1"): a folder per sound category, stored by its box.
#include "phone_kit.h"

namespace {

struct Category {
    UINT box, field, browse;
    const wchar_t *key;
};

const Category kCategories[] = {
    {IDC_SF_INCALL_STORE, IDC_SF_INCALL_FOLDER, IDC_SF_INCALL_BROWSE, kInCall},
    {IDC_SF_RING_STORE, IDC_SF_RING_FOLDER, IDC_SF_RING_BROWSE, kRing},
    {IDC_SF_FEEDBACK_STORE, IDC_SF_FEEDBACK_FOLDER, IDC_SF_FEEDBACK_BROWSE, kFeedback},
};

std::wstring Folder(const wchar_t *key)
{
    return RegTextOr(HKEY_CURRENT_USER, key, L"Directory", L"<missing>");
}

class SoundFoldersTest : public PhonePageTest {};

}  // namespace

TEST_F(SoundFoldersTest, FieldsShowTheStoredFoldersAndBoxesStoreOrPutWindowsBack)
{
    WriteRegString(HKEY_CURRENT_USER, kInCall, L"Directory", L"\\Storage Card\\Phone\\");
    WriteRegString(HKEY_CURRENT_USER, kRing, L"Directory", L"\\Windows\\Rings\\");
    WriteRegString(HKEY_CURRENT_USER, kFeedback, L"Directory", L"\\My Documents\\Feedback\\");
    const wchar_t *shown[] = {L"\\Storage Card\\Phone\\", L"\\Windows\\Rings\\", L"\\My Documents\\Feedback\\"};
    const wchar_t *typed[] = {L"\\Storage Card\\Calls\\", L"\\Rings Two\\", L"no folder at all"};
    RunPhonePage(TAB_SOUND_FOLDERS, [&](HWND page) {
        for (int i = 0; i < 3; i++) {
            const Category &c = kCategories[i];
            SCOPED_TRACE(c.key);
            EXPECT_EQ(shown[i], FieldText(page, c.field));
            EXPECT_FALSE(IsTicked(page, c.box));
            // Typing alone stores nothing.
            SetField(page, c.field, typed[i]);
            EXPECT_EQ(shown[i], Folder(c.key));
            // Ticking stores the field as typed, unchecked it is \Windows\ whatever the field holds.
            Tap(page, c.box);
            EXPECT_TRUE(IsTicked(page, c.box));
            EXPECT_EQ(typed[i], Folder(c.key));
            Tap(page, c.box);
            EXPECT_FALSE(IsTicked(page, c.box));
            EXPECT_EQ(L"\\Windows\\", Folder(c.key));
            EXPECT_EQ(typed[i], FieldText(page, c.field));
            Tap(page, c.box);
            EXPECT_EQ(typed[i], Folder(c.key));
        }
        // The other categories were never touched by a box of their neighbour.
        EXPECT_EQ(typed[0], Folder(kInCall));
        EXPECT_EQ(typed[1], Folder(kRing));
        // A fresh page shows what was stored, the boxes clear again.
        HWND tabs = GetParent(page);
        TapTab(tabs, TAB_PHONE_SOUNDS);
        TapTab(tabs, TAB_SOUND_FOLDERS);
        HWND fresh = PageInTabs(tabs);
        ASSERT_NE(page, fresh);
        for (int i = 0; i < 3; i++) {
            EXPECT_EQ(typed[i], FieldText(fresh, kCategories[i].field));
            EXPECT_FALSE(IsTicked(fresh, kCategories[i].box));
        }
    });
    // Written through paths with a leading backslash, read without it: one set of
    // keys, and none named with a backslash at the top of the user's registry.
    HKEY categories;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_CURRENT_USER, L"ControlPanel\\SoundCategories", 0, KEY_READ, &categories));
    DWORD subkeys = 0;
    RegQueryInfoKeyW(categories, NULL, NULL, NULL, &subkeys, NULL, NULL, NULL, NULL, NULL, NULL, NULL);
    RegCloseKey(categories);
    EXPECT_EQ(3u, subkeys);
    wchar_t name[256];
    for (DWORD i = 0;; i++) {
        DWORD cch = 256;
        if (RegEnumKeyExW(HKEY_CURRENT_USER, i, name, &cch, NULL, NULL, NULL, NULL) != ERROR_SUCCESS) break;
        EXPECT_NE(L'\\', name[0]);
        EXPECT_NE(0, name[0]);
    }
}

TEST_F(SoundFoldersTest, MissingFoldersLeaveTheFieldsEmptyAndAnEmptyFieldStoresAnEmptyFolder)
{
    DeleteRegValue(HKEY_CURRENT_USER, kInCall, L"Directory");
    DeleteRegKey(HKEY_CURRENT_USER, kRing);
    WriteRegString(HKEY_CURRENT_USER, kFeedback, L"Directory", L"");
    RunPhonePage(TAB_SOUND_FOLDERS, [&](HWND page) {
        for (const Category &c : kCategories) {
            SCOPED_TRACE(c.key);
            EXPECT_EQ(L"", FieldText(page, c.field));
            Tap(page, c.box);
            std::wstring stored;
            ASSERT_TRUE(ReadRegString(HKEY_CURRENT_USER, c.key, L"Directory", &stored));
            EXPECT_EQ(L"", stored);
        }
    });
}

TEST_F(SoundFoldersTest, BrowsingPutsTheChoiceInTheFieldAndOnlyTheBoxStoresIt)
{
    RunPhonePage(TAB_SOUND_FOLDERS, [&](HWND page) {
        const Category &ring = kCategories[1];
        SetField(page, ring.field, L"\\Before\\");
        // Cancelled: the field keeps its text.
        EXPECT_TRUE(BrowseFrom(page, ring.browse, L"\\Windows", [](HWND browser) {
            EXPECT_EQ(L"\\Windows\\", BrowserPathLabel(browser));
            Click(BrowserSoftKey(browser, IDM_BROWSE_CANCEL));
        }));
        EXPECT_EQ(L"\\Before\\", FieldText(page, ring.field));
        // OK in \Windows\Rings hands back the folder with its trailing backslash.
        EXPECT_TRUE(BrowseFrom(page, ring.browse, L"\\Windows", [](HWND browser) {
            TapBrowserItem(browser, L"Rings");
            EXPECT_EQ(L"\\Windows\\Rings\\", BrowserPathLabel(browser));
            Click(BrowserSoftKey(browser, IDM_BROWSE_OK));
        }));
        EXPECT_EQ(L"\\Windows\\Rings\\", FieldText(page, ring.field));
        EXPECT_FALSE(IsTicked(page, ring.box));
        EXPECT_EQ(L"\\Windows\\Rings\\", Folder(kRing)) << "the factory folder, untouched by browsing";
        WriteRegString(HKEY_CURRENT_USER, kRing, L"Directory", L"\\Elsewhere\\");
        Tap(page, ring.box);
        EXPECT_EQ(L"\\Windows\\Rings\\", Folder(kRing));
        // A tapped file comes back whole and is taken as it comes.
        const Category &feedback = kCategories[2];
        EXPECT_TRUE(BrowseFrom(page, feedback.browse, L"\\Windows\\Rings", [](HWND browser) {
            TapBrowserItem(browser, L"Alarm1.wav");
        }));
        EXPECT_EQ(L"\\Windows\\Rings\\Alarm1.wav", FieldText(page, feedback.field));
        Tap(page, feedback.box);
        EXPECT_EQ(L"\\Windows\\Rings\\Alarm1.wav", Folder(kFeedback));
        // Each button fills its own field only.
        EXPECT_EQ(L"\\Windows\\", FieldText(page, kCategories[0].field));
        EXPECT_TRUE(BrowseFrom(page, kCategories[0].browse, L"\\Windows", [](HWND browser) {
            Click(BrowserSoftKey(browser, IDM_BROWSE_OK));
        }));
        EXPECT_EQ(L"\\Windows\\", FieldText(page, kCategories[0].field));
        EXPECT_EQ(L"\\Windows\\Rings\\", FieldText(page, ring.field));
    });
}

TEST_F(SoundFoldersTest, HelpExplainsTheOrderOfBrowsingAndTicking)
{
    RunPhonePage(TAB_SOUND_FOLDERS, [](HWND page) {
        ExpectHelpBox(page, IDC_SF_HELP, MB_OK,
                      L"If you want to change the sound folder, you should browse the folder path first, then check "
                      L"the check box.");
    });
}

TEST_F(SoundFoldersTest, UnusableStoredFoldersCountAsMissing)
{
    std::wstring longest = L"\\" + std::wstring(198, L'f') + L"\\";   // 200 characters
    std::wstring tooLong = L"\\" + std::wstring(199, L'f') + L"\\";   // 201
    DWORD number = 7;
    struct Case {
        const wchar_t *what;
        std::function<void()> write;
        bool shows;
    };
    const Case cases[] = {
        {L"longer than 200 characters", [&] { WriteRegString(HKEY_CURRENT_USER, kInCall, L"Directory", tooLong.c_str()); }, false},
        {L"200 characters", [&] { WriteRegString(HKEY_CURRENT_USER, kInCall, L"Directory", longest.c_str()); }, true},
        {L"without its null", [&] { WriteUnterminated(HKEY_CURRENT_USER, kInCall, L"Directory", L"\\Windows\\"); }, false},
        {L"a number", [&] { WriteRegRaw(HKEY_CURRENT_USER, kInCall, L"Directory", REG_DWORD, &number, sizeof number); }, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        c.write();
        RunPhonePage(TAB_SOUND_FOLDERS, [&](HWND page) {
            EXPECT_EQ(c.shows ? longest : std::wstring(), FieldText(page, IDC_SF_INCALL_FOLDER));
            // The other categories read on regardless.
            EXPECT_EQ(L"\\Windows\\Rings\\", FieldText(page, IDC_SF_RING_FOLDER));
        });
    }
    // A field holds at most the 200 characters a folder may have.
    RunPhonePage(TAB_SOUND_FOLDERS, [&](HWND page) {
        SetField(page, IDC_SF_INCALL_FOLDER, L"");
        SendMessageW(GetDlgItem(page, IDC_SF_INCALL_FOLDER), EM_REPLACESEL, FALSE, (LPARAM)tooLong.c_str());
        EXPECT_EQ(200u, FieldText(page, IDC_SF_INCALL_FOLDER).size());
        Tap(page, IDC_SF_INCALL_STORE);
        EXPECT_EQ(tooLong.substr(0, 200), Folder(kInCall));
    });
}
