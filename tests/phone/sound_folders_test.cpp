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

std::wstring Folder(const wchar_t *key) { return RegTextOr(HKEY_CURRENT_USER, key, L"Directory", L"<missing>"); }

class SoundFoldersTest : public PhonePageTest {};

}  // namespace

// The page writes through paths with a leading backslash and reads through the same
// paths without it: what it stores must be what it reads.
TEST_F(SoundFoldersTest, EachBoxStoresItsFieldTickedAndPutsWindowsBackCleared)
{
    WriteRegString(HKEY_CURRENT_USER, kInCall, L"Directory", L"\\Storage Card\\Phone\\");
    DeleteRegKey(HKEY_CURRENT_USER, kFeedback);
    const wchar_t *shown[] = {L"\\Storage Card\\Phone\\", L"\\Windows\\Rings\\", L""};
    const wchar_t *typed[] = {L"\\Storage Card\\Calls\\", L"\\Rings Two\\", L""};
    RunPhonePage(TAB_SOUND_FOLDERS, [&](HWND page) {
        for (int i = 0; i < 3; i++) {
            const Category &c = kCategories[i];
            SCOPED_TRACE(c.key);
            EXPECT_EQ(shown[i], FieldText(page, c.field));
            SetField(page, c.field, typed[i]);
            EXPECT_EQ(i == 2 ? L"<missing>" : shown[i], Folder(c.key)) << "typing alone stores nothing";
            // Written as typed: an empty field stores an empty folder.
            Tap(page, c.box);
            EXPECT_EQ(typed[i], Folder(c.key));
            Tap(page, c.box);
            EXPECT_EQ(L"\\Windows\\", Folder(c.key));
            EXPECT_EQ(typed[i], FieldText(page, c.field));
        }
    });
}

TEST_F(SoundFoldersTest, BrowsingPutsTheChoiceInItsOwnFieldOnlyAndStoresNothing)
{
    RunPhonePage(TAB_SOUND_FOLDERS, [&](HWND page) {
        const Category &ring = kCategories[1];
        SetField(page, ring.field, L"\\Before\\");
        EXPECT_TRUE(BrowseFrom(page, ring.browse, L"\\Windows", [](HWND browser) {
            Click(BrowserSoftKey(browser, IDM_BROWSE_CANCEL));
        }));
        EXPECT_EQ(L"\\Before\\", FieldText(page, ring.field)) << "a cancel leaves the field";
        // A tapped file comes back whole, into its own button's field only.
        const Category &feedback = kCategories[2];
        EXPECT_TRUE(BrowseFrom(page, feedback.browse, L"\\Windows\\Rings", [](HWND browser) {
            TapBrowserItem(browser, L"Alarm1.wav");
        }));
        EXPECT_EQ(L"\\Windows\\Rings\\Alarm1.wav", FieldText(page, feedback.field));
        EXPECT_EQ(L"\\Before\\", FieldText(page, ring.field));
        EXPECT_EQ(L"\\Windows\\", FieldText(page, kCategories[0].field));
        EXPECT_EQ(L"\\Windows\\", Folder(kFeedback)) << "browsing stores nothing";
    });
}

TEST_F(SoundFoldersTest, FoldersLongerThan200CharactersCountAsMissingAndAreStoredCut)
{
    std::wstring longest = L"\\" + std::wstring(198, L'f') + L"\\";   // 200 characters
    std::wstring tooLong = L"\\" + std::wstring(199, L'f') + L"\\";   // 201
    WriteRegString(HKEY_CURRENT_USER, kInCall, L"Directory", tooLong.c_str());
    WriteRegString(HKEY_CURRENT_USER, kRing, L"Directory", longest.c_str());
    RunPhonePage(TAB_SOUND_FOLDERS, [&](HWND page) {
        EXPECT_EQ(L"", FieldText(page, IDC_SF_INCALL_FOLDER));
        EXPECT_EQ(longest, FieldText(page, IDC_SF_RING_FOLDER));
        // A field set beyond what it holds is stored cut, never overrun.
        SetField(page, IDC_SF_INCALL_FOLDER, std::wstring(300, L'g').c_str());
        Tap(page, IDC_SF_INCALL_STORE);
        EXPECT_EQ(std::wstring(200, L'g'), Folder(kInCall));
    });
}
