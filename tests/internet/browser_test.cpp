// The browser page ("PIE") through the Internet host.
#include "tests/hosts/host_kit.h"

namespace {

const wchar_t kShellFolders[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const wchar_t *const kFolders[] = {L"Cache", L"Cookies", L"History"};
const wchar_t *const kLeaves[] = {L"Temporary Internet Files", L"Cookies", L"History"};
const wchar_t kGuest[] = L"\\Windows\\Profiles\\guest\\";

std::wstring Storage(HWND page) { return FieldText(page, IDC_PIE_STORAGE_NAME); }
std::wstring Folder(const wchar_t *name) { return RegTextOr(HKEY_CURRENT_USER, kShellFolders, name, L"(none)"); }

// The three temporary folders under `root` ("\Storage Card\"): written, or checked.
void WriteFolders(const std::wstring &root)
{
    for (int i = 0; i < 3; i++) WriteRegString(HKEY_CURRENT_USER, kShellFolders, kFolders[i], (root + kLeaves[i]).c_str());
}
void ExpectFolders(const std::wstring &root)
{
    for (int i = 0; i < 3; i++) EXPECT_EQ(root + kLeaves[i], Folder(kFolders[i]));
}

class BrowserPageTest : public DeviceTest {};

}  // namespace

TEST_F(BrowserPageTest, TheCacheFolderDecidesTheBoxAndTheStorageShown)
{
    // "\Storage Card\" and 113 more: the 127 characters the page reads, and one more.
    std::wstring fits = L"\\Storage Card\\" + std::wstring(113, L'y'), tooLong = fits + L"y";
    struct {
        const wchar_t *cache;
        bool ticked;
        const wchar_t *shown;
    } cases[] = {
        {L"\\Storage Card\\Temporary Internet Files", true, L"Storage Card"},
        {L"\\Windows\\Profiles\\guest\\Temporary Internet Files", false, L"Windows"},
        {fits.c_str(), false, L"Storage Card"},
        {tooLong.c_str(), false, L""},
        {NULL, false, L""},
    };
    for (auto &c : cases) {
        SCOPED_TRACE(c.cache ? c.cache : L"(none)");
        if (c.cache) WriteRegString(HKEY_CURRENT_USER, kShellFolders, L"Cache", c.cache);
        else DeleteRegValue(HKEY_CURRENT_USER, kShellFolders, L"Cache");
        RunInternetPage(TAB_PIE, [&](HWND page) {
            EXPECT_EQ(c.ticked, IsTicked(page, IDC_PIE_TEMP_FILES));
            EXPECT_EQ(c.shown, Storage(page));
        });
    }
}

TEST_F(BrowserPageTest, TickingMovesTheTempFoldersToTheStorageAndClearingBringsThemBack)
{
    WriteFolders(kGuest);   // the device's own card is "Storage Card"
    RunInternetPage(TAB_PIE, [](HWND page) {
        SetField(page, IDC_PIE_STORAGE_NAME, L"Storage Card");
        Tap(page, IDC_PIE_TEMP_FILES);
        ExpectFolders(L"\\Storage Card\\");
        Tap(page, IDC_PIE_TEMP_FILES);
        ExpectFolders(kGuest);
        // A folder value that is absent stays absent; the others are still replaced.
        DeleteRegValue(HKEY_CURRENT_USER, kShellFolders, L"Cookies");
        Tap(page, IDC_PIE_TEMP_FILES);
        EXPECT_FALSE(RegValueExists(HKEY_CURRENT_USER, kShellFolders, L"Cookies"));
        EXPECT_EQ(L"\\Storage Card\\History", Folder(L"History"));
        // An empty field stands for main memory, rather than making "\\History".
        Tap(page, IDC_PIE_TEMP_FILES);
        SetField(page, IDC_PIE_STORAGE_NAME, L"");
        Tap(page, IDC_PIE_TEMP_FILES);
        EXPECT_EQ(L"\\Windows\\History", Folder(L"History"));
        EXPECT_EQ(L"Windows", Storage(page));
        // The longest name the field takes still makes whole folder paths.
        std::wstring longName(255, L'x');
        SetField(page, IDC_PIE_STORAGE_NAME, longName.c_str());
        Tap(page, IDC_PIE_TEMP_FILES);
        Tap(page, IDC_PIE_TEMP_FILES);
        EXPECT_EQ(L"\\" + longName + L"\\History", Folder(L"History"));
    });
}

TEST_F(BrowserPageTest, StorageSteppingStaysInsideTheListOfUsableCards)
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
        std::vector<std::wstring> seen;
        for (int step = 0; step < 5; step++) {
            Spin(page, IDC_PIE_STORAGE_SPIN, -1);
            seen.push_back(Storage(page));
        }
        EXPECT_EQ((std::vector<std::wstring>{L"Card A", L"Card B", L"Card C", L"Windows", L"Card A"}), seen);
        // Down from main memory to the last card; a text not in the list steps to
        // "Windows" downwards and to the first card upwards.
        struct {
            const wchar_t *typed;
            int delta;
            const wchar_t *shown;
        } steps[] = {{L"Windows", 1, L"Card C"}, {L"Elsewhere", 1, L"Windows"}, {L"Elsewhere", -1, L"Card A"}};
        for (auto &step : steps) {
            SetField(page, IDC_PIE_STORAGE_NAME, step.typed);
            Spin(page, IDC_PIE_STORAGE_SPIN, step.delta);
            EXPECT_EQ(step.shown, Storage(page)) << step.typed << " " << step.delta;
        }
        // The spinner itself steps the field.
        PressSpinnerArrow(page, IDC_PIE_STORAGE_SPIN, false);
        EXPECT_EQ(L"Windows", Storage(page));
    });
}
