// The browser page ("PIE") through the Internet host.
#include "tests/hosts/host_kit.h"

namespace {

const wchar_t kIeMain[] = L"Software\\Microsoft\\Internet Explorer\\Main";
const wchar_t kSettings[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
const wchar_t kCacheContent[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\5.0\\Cache\\Content";
const wchar_t kNavigation[] = L"Software\\Microsoft\\Internet Explorer\\Navigation";
const wchar_t kUserAgent[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\5.0\\User Agent";
const wchar_t kShellFolders[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

const DwordBox kDwordTweaks[] = {
    {IDC_PIE_SMALL_LETTERS, HKEY_CURRENT_USER, kIeMain, L"ZoomSetting", 1, 2},
    {IDC_PIE_CLEARTYPE, HKEY_LOCAL_MACHINE, kSettings, L"ClearTypeText", 1, 0},
    {IDC_PIE_DISABLE_CACHE, HKEY_CURRENT_USER, kCacheContent, L"CacheLimit", 0, 10922},
    {IDC_PIE_DOWNLOAD_8, HKEY_CURRENT_USER, kSettings, L"MaxConnectionsPerServer", 8, 4},
    {IDC_PIE_SMOOTH_SCROLL, HKEY_LOCAL_MACHINE, kNavigation, L"4-Way Nav", 0, 1},
};

void InsertCards(std::initializer_list<const wchar_t *> names, int unreadable = -1)
{
    std::vector<SimCard> cards;
    for (const wchar_t *name : names) {
        SimCard card = {};
        lstrcpynW(card.name, name, 64);
        card.totalBytes = 64ull << 20;
        card.freeBytes = 32ull << 20;
        card.unreadable = (int)cards.size() == unreadable;
        cards.push_back(card);
    }
    ASSERT_TRUE(SimSetCards(cards.empty() ? NULL : cards.data(), (int)cards.size()));
}

// What the up-down control tells its page when it is stepped.
void StepStorage(HWND page, int delta)
{
    Spin(page, IDC_PIE_STORAGE_SPIN, delta);
}

std::wstring Storage(HWND page) { return FieldText(page, IDC_PIE_STORAGE_NAME); }

void WriteFolders(const wchar_t *storage)
{
    std::wstring root = std::wstring(L"\\") + storage + L"\\";
    WriteRegString(HKEY_CURRENT_USER, kShellFolders, L"Cache", (root + L"Temporary Internet Files").c_str());
    WriteRegString(HKEY_CURRENT_USER, kShellFolders, L"Cookies", (root + L"Cookies").c_str());
    WriteRegString(HKEY_CURRENT_USER, kShellFolders, L"History", (root + L"History").c_str());
}

class BrowserPageTest : public DeviceTest {};

}  // namespace

TEST_F(BrowserPageTest, WithoutACardTheTempFolderControlsAreOffAndTheOtherTweaksStillWork)
{
    InsertCards({});
    DeleteRegValue(HKEY_LOCAL_MACHINE, kSettings, L"ClearTypeText");
    RunInternetPage(TAB_PIE, [](HWND page) {
        EXPECT_FALSE(IsEnabled(page, IDC_PIE_TEMP_FILES));
        EXPECT_FALSE(IsEnabled(page, IDC_PIE_STORAGE_NAME));
        EXPECT_FALSE(IsEnabled(page, IDC_PIE_STORAGE_SPIN));
        EXPECT_EQ(L"", Storage(page));
        EXPECT_FALSE(IsTicked(page, IDC_PIE_TEMP_FILES));
        Tap(page, IDC_PIE_CLEARTYPE);
    });
    EXPECT_EQ(1u, RegDwordOr(HKEY_LOCAL_MACHINE, kSettings, L"ClearTypeText", 99));
    // A card whose free space cannot be asked is no usable card.
    InsertCards({L"Storage Card"}, 0);
    RunInternetPage(TAB_PIE, [](HWND page) { EXPECT_FALSE(IsEnabled(page, IDC_PIE_TEMP_FILES)); });
}

TEST_F(BrowserPageTest, DwordTweaksStartFromTheirStoredValuesAndWriteBothStates)
{
    CheckDwordBoxes(RunInternetPage, TAB_PIE, kDwordTweaks, (int)(sizeof kDwordTweaks / sizeof kDwordTweaks[0]));
}

TEST_F(BrowserPageTest, PassAsIe6IsTickedOnlyWhenAllThreeUserAgentValuesMatchAndAlwaysRewritesAll)
{
    // The factory identity.
    RunInternetPage(TAB_PIE, [](HWND page) { EXPECT_FALSE(IsTicked(page, IDC_PIE_PASS_AS_IE6)); });
    WriteRegString(HKEY_LOCAL_MACHINE, kUserAgent, L"Default", L"Mozilla/4.0;Blazer/4.0");
    WriteRegString(HKEY_LOCAL_MACHINE, kUserAgent, L"Platform", L"Windows NT 5.0");
    WriteRegString(HKEY_LOCAL_MACHINE, kUserAgent, L"Version", L"MSIE 6.0");
    RunInternetPage(TAB_PIE, [](HWND page) {
        EXPECT_TRUE(IsTicked(page, IDC_PIE_PASS_AS_IE6));
        Tap(page, IDC_PIE_PASS_AS_IE6);
    });
    EXPECT_EQ(L"Mozilla/4.0", RegTextOr(HKEY_LOCAL_MACHINE, kUserAgent, L"Default", L"?"));
    EXPECT_EQ(L"Windows CE", RegTextOr(HKEY_LOCAL_MACHINE, kUserAgent, L"Platform", L"?"));
    EXPECT_EQ(L"MSIE 4.01", RegTextOr(HKEY_LOCAL_MACHINE, kUserAgent, L"Version", L"?"));

    // Two of three matching, or one missing, is not enough; ticking writes all three.
    WriteRegString(HKEY_LOCAL_MACHINE, kUserAgent, L"Default", L"Mozilla/4.0;Blazer/4.0");
    WriteRegString(HKEY_LOCAL_MACHINE, kUserAgent, L"Platform", L"Windows NT 5.0");
    DeleteRegValue(HKEY_LOCAL_MACHINE, kUserAgent, L"Version");
    RunInternetPage(TAB_PIE, [](HWND page) {
        EXPECT_FALSE(IsTicked(page, IDC_PIE_PASS_AS_IE6));
        Tap(page, IDC_PIE_PASS_AS_IE6);
    });
    EXPECT_EQ(L"Mozilla/4.0;Blazer/4.0", RegTextOr(HKEY_LOCAL_MACHINE, kUserAgent, L"Default", L"?"));
    EXPECT_EQ(L"Windows NT 5.0", RegTextOr(HKEY_LOCAL_MACHINE, kUserAgent, L"Platform", L"?"));
    EXPECT_EQ(L"MSIE 6.0", RegTextOr(HKEY_LOCAL_MACHINE, kUserAgent, L"Version", L"?"));
    WriteRegString(HKEY_LOCAL_MACHINE, kUserAgent, L"Version", L"MSIE 6.01");
    RunInternetPage(TAB_PIE, [](HWND page) { EXPECT_FALSE(IsTicked(page, IDC_PIE_PASS_AS_IE6)); });
}

TEST_F(BrowserPageTest, TheCacheFolderDecidesTheBoxAndTheStorageShown)
{
    InsertCards({L"Storage Card", L"SD Card"});
    struct {
        const wchar_t *storage;
        bool ticked;
    } cases[] = {{L"Storage Card", true}, {L"Windows\\Profiles\\guest", false}, {L"SD Card", false}};
    const wchar_t *shown[] = {L"Storage Card", L"Windows", L"SD Card"};
    for (int i = 0; i < 3; i++) {
        SCOPED_TRACE(i);
        WriteFolders(cases[i].storage);
        RunInternetPage(TAB_PIE, [&](HWND page) {
            EXPECT_TRUE(IsEnabled(page, IDC_PIE_TEMP_FILES));
            EXPECT_EQ(cases[i].ticked, IsTicked(page, IDC_PIE_TEMP_FILES));
            EXPECT_EQ(shown[i], Storage(page));
        });
    }
    // No "Cache" at all: the box stays clear and the field empty.
    DeleteRegValue(HKEY_CURRENT_USER, kShellFolders, L"Cache");
    RunInternetPage(TAB_PIE, [](HWND page) {
        EXPECT_FALSE(IsTicked(page, IDC_PIE_TEMP_FILES));
        EXPECT_EQ(L"", Storage(page));
    });
}

TEST_F(BrowserPageTest, TickingMovesTheTempFoldersToTheStorageAndClearingBringsThemBack)
{
    InsertCards({L"Storage Card"});
    WriteFolders(L"Windows\\Profiles\\guest");
    RunInternetPage(TAB_PIE, [](HWND page) {
        SetField(page, IDC_PIE_STORAGE_NAME, L"Storage Card");
        Tap(page, IDC_PIE_TEMP_FILES);
        EXPECT_EQ(L"\\Storage Card\\Temporary Internet Files", RegTextOr(HKEY_CURRENT_USER, kShellFolders, L"Cache", L"?"));
        EXPECT_EQ(L"\\Storage Card\\Cookies", RegTextOr(HKEY_CURRENT_USER, kShellFolders, L"Cookies", L"?"));
        EXPECT_EQ(L"\\Storage Card\\History", RegTextOr(HKEY_CURRENT_USER, kShellFolders, L"History", L"?"));
        // Choosing another storage writes nothing until the box is ticked again.
        StepStorage(page, 1);
        EXPECT_EQ(L"Windows", Storage(page));
        EXPECT_EQ(L"\\Storage Card\\Cookies", RegTextOr(HKEY_CURRENT_USER, kShellFolders, L"Cookies", L"?"));
        Tap(page, IDC_PIE_TEMP_FILES);
        EXPECT_EQ(L"\\Windows\\Profiles\\guest\\Temporary Internet Files",
                  RegTextOr(HKEY_CURRENT_USER, kShellFolders, L"Cache", L"?"));
        EXPECT_EQ(L"\\Windows\\Profiles\\guest\\Cookies", RegTextOr(HKEY_CURRENT_USER, kShellFolders, L"Cookies", L"?"));
        EXPECT_EQ(L"\\Windows\\Profiles\\guest\\History", RegTextOr(HKEY_CURRENT_USER, kShellFolders, L"History", L"?"));
        // A folder value that is absent stays absent; the others are still replaced.
        DeleteRegValue(HKEY_CURRENT_USER, kShellFolders, L"Cookies");
        SetField(page, IDC_PIE_STORAGE_NAME, L"Storage Card");
        Tap(page, IDC_PIE_TEMP_FILES);
        std::wstring cookies;
        EXPECT_FALSE(ReadRegString(HKEY_CURRENT_USER, kShellFolders, L"Cookies", &cookies));
        EXPECT_EQ(L"\\Storage Card\\History", RegTextOr(HKEY_CURRENT_USER, kShellFolders, L"History", L"?"));
        // An empty field stands for main memory.
        Tap(page, IDC_PIE_TEMP_FILES);
        SetField(page, IDC_PIE_STORAGE_NAME, L"");
        Tap(page, IDC_PIE_TEMP_FILES);
        EXPECT_EQ(L"\\Windows\\History", RegTextOr(HKEY_CURRENT_USER, kShellFolders, L"History", L"?"));
        EXPECT_EQ(L"Windows", Storage(page));
        // The longest name the field takes still makes whole folder paths.
        std::wstring longName(255, L'x');
        SetField(page, IDC_PIE_STORAGE_NAME, longName.c_str());
        Tap(page, IDC_PIE_TEMP_FILES);
        Tap(page, IDC_PIE_TEMP_FILES);
        EXPECT_EQ(L"\\" + longName + L"\\History", RegTextOr(HKEY_CURRENT_USER, kShellFolders, L"History", L"?"));
    });
}

TEST_F(BrowserPageTest, StorageSteppingStaysInsideTheListOfUsableCards)
{
    InsertCards({L"Storage Card"});
    WriteFolders(L"Windows\\Profiles\\guest");
    RunInternetPage(TAB_PIE, [](HWND page) {
        ASSERT_EQ(L"Windows", Storage(page));
        StepStorage(page, -1);
        EXPECT_EQ(L"Storage Card", Storage(page));
        StepStorage(page, -1);
        EXPECT_EQ(L"Windows", Storage(page));
        StepStorage(page, 1);
        EXPECT_EQ(L"Storage Card", Storage(page));
        StepStorage(page, 0);
        EXPECT_EQ(L"Windows", Storage(page));
        // A text that is not in the list.
        SetField(page, IDC_PIE_STORAGE_NAME, L"Elsewhere");
        StepStorage(page, 1);
        EXPECT_EQ(L"Windows", Storage(page));
        SetField(page, IDC_PIE_STORAGE_NAME, L"Elsewhere");
        StepStorage(page, -1);
        EXPECT_EQ(L"Storage Card", Storage(page));
        // The spinner itself steps the field.
        PressSpinnerArrow(page, IDC_PIE_STORAGE_SPIN, false);
        EXPECT_EQ(L"Windows", Storage(page));
    });
    // Four usable cards: the list holds three, an unreadable one is left out.
    InsertCards({L"Card A", L"Broken", L"Card B", L"Card C", L"Card D"}, 1);
    RunInternetPage(TAB_PIE, [](HWND page) {
        std::vector<std::wstring> seen;
        for (int step = 0; step < 5; step++) {
            StepStorage(page, -1);
            seen.push_back(Storage(page));
        }
        std::vector<std::wstring> expected = {L"Card A", L"Card B", L"Card C", L"Windows", L"Card A"};
        EXPECT_EQ(expected, seen);
        SetField(page, IDC_PIE_STORAGE_NAME, L"Windows");
        StepStorage(page, 1);
        EXPECT_EQ(L"Card C", Storage(page));
    });
}

TEST_F(BrowserPageTest, HelpButtonsExplainTheirTweaks)
{
    struct {
        UINT button;
        const wchar_t *begins;
    } helps[] = {
        {IDC_PIE_HELP_TEMP_FILES, L"After browsing Internet without a CF, you will have to apply this option again.Also"},
        {IDC_PIE_HELP_PASS_AS_IE6, L"Makes Pocket Internet Explorer appear to be IE 6.0."},
        {IDC_PIE_HELP_CLEARTYPE, L"Enables ClearType display in all HTML applications including AvantGo."},
        {IDC_PIE_HELP_DOWNLOAD_8, L"This option allows you to download up to 8 files simultaneously"},
        {IDC_PIE_HELP_SMOOTH_SCROLL, L"By default scrolling goes to the next hyperlink if there is one.With"},
        {IDC_PIE_HELP_DISABLE_CACHE, L"When you disabled the PIE Cache you are saving the space in your RAM/ROM"},
    };
    RunInternetPage(TAB_PIE, [&](HWND page) {
        for (auto &help : helps) {
            int before = SimMessageBoxCount();
            Tap(page, help.button);
            ASSERT_EQ(1, MessageBoxesSince(before));
            SimMessageBox box = LastMessageBox();
            EXPECT_EQ(page, box.owner);
            EXPECT_STREQ(L"Help", box.caption);
            EXPECT_EQ((UINT)MB_OK, box.flags);
            EXPECT_EQ(0, wcsncmp(box.text, help.begins, wcslen(help.begins))) << box.text;
        }
    });
}
