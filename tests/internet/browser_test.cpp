// The browser page ("PIE") through the Internet host.
#include "tests/hosts/host_kit.h"

namespace {

const wchar_t kSettings[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
const wchar_t kUserAgent[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\5.0\\User Agent";
const wchar_t kShellFolders[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

const DwordBox kDwordTweaks[] = {
    {IDC_PIE_SMALL_LETTERS, HKEY_CURRENT_USER, L"Software\\Microsoft\\Internet Explorer\\Main", L"ZoomSetting", 1, 2},
    {IDC_PIE_CLEARTYPE, HKEY_LOCAL_MACHINE, kSettings, L"ClearTypeText", 1, 0},
    {IDC_PIE_DISABLE_CACHE, HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\5.0\\Cache\\Content",
     L"CacheLimit", 0, 10922},
    {IDC_PIE_DOWNLOAD_8, HKEY_CURRENT_USER, kSettings, L"MaxConnectionsPerServer", 8, 4},
    {IDC_PIE_SMOOTH_SCROLL, HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Internet Explorer\\Navigation", L"4-Way Nav", 0, 1},
};

// Cards by name; the one at `unreadable` answers no free-space query.
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

std::wstring Storage(HWND page) { return FieldText(page, IDC_PIE_STORAGE_NAME); }

const wchar_t *const kFolders[] = {L"Cache", L"Cookies", L"History"};
const wchar_t *const kLeaves[] = {L"Temporary Internet Files", L"Cookies", L"History"};

std::wstring Folder(const wchar_t *name) { return RegTextOr(HKEY_CURRENT_USER, kShellFolders, name, L"(none)"); }

// The three folders, each under `root` ("\Storage Card\").
void WriteFolders(const std::wstring &root)
{
    for (int i = 0; i < 3; i++) WriteRegString(HKEY_CURRENT_USER, kShellFolders, kFolders[i], (root + kLeaves[i]).c_str());
}

void ExpectFolders(const std::wstring &root)
{
    for (int i = 0; i < 3; i++) EXPECT_EQ(root + kLeaves[i], Folder(kFolders[i]));
}

const wchar_t *const kAgentValues[] = {L"Default", L"Platform", L"Version"};

// The three user agent texts joined by "|"; a NULL text is deleted.
void WriteAgent(std::initializer_list<const wchar_t *> texts)
{
    int i = 0;
    for (const wchar_t *text : texts) {
        if (text) WriteRegString(HKEY_LOCAL_MACHINE, kUserAgent, kAgentValues[i++], text);
        else DeleteRegValue(HKEY_LOCAL_MACHINE, kUserAgent, kAgentValues[i++]);
    }
}

std::wstring Agent()
{
    std::wstring agent;
    for (const wchar_t *name : kAgentValues) agent += RegTextOr(HKEY_LOCAL_MACHINE, kUserAgent, name, L"?") + L"|";
    return agent;
}

const wchar_t kGuest[] = L"\\Windows\\Profiles\\guest\\";

class BrowserPageTest : public DeviceTest {};

}  // namespace

TEST_F(BrowserPageTest, WithoutAUsableCardTheTempFoldersAreOffAndTheOtherTweaksWorkUnflushed)
{
    for (int unreadable : {-1, 0}) {
        SCOPED_TRACE(unreadable);
        // No card, then a card whose free space cannot be asked.
        if (unreadable < 0) InsertCards({});
        else InsertCards({L"Storage Card"}, unreadable);
        RunInternetPage(TAB_PIE, [](HWND page) {
            for (UINT control : {IDC_PIE_TEMP_FILES, IDC_PIE_STORAGE_NAME, IDC_PIE_STORAGE_SPIN})
                EXPECT_FALSE(IsEnabled(page, control)) << control;
            EXPECT_EQ(L"", Storage(page));
            EXPECT_FALSE(IsTicked(page, IDC_PIE_TEMP_FILES));
        });
    }
    FlushRecorder flushes;
    ASSERT_TRUE(flushes.recording());
    CheckDwordBoxes(RunInternetPage, TAB_PIE, kDwordTweaks, (int)std::size(kDwordTweaks));
    EXPECT_EQ(0u, flushes.flushes().size()) << "this page never flushes";
}

TEST_F(BrowserPageTest, PassAsIe6IsTickedOnlyWhenAllThreeUserAgentValuesMatchAndAlwaysRewritesAll)
{
    const wchar_t *disguise = L"Mozilla/4.0;Blazer/4.0|Windows NT 5.0|MSIE 6.0|";
    struct {
        std::initializer_list<const wchar_t *> stored;
        bool ticked;
        const wchar_t *afterTap;
    } cases[] = {
        {{L"Mozilla/4.0;Blazer/4.0", L"Windows NT 5.0", L"MSIE 6.0"}, true, L"Mozilla/4.0|Windows CE|MSIE 4.01|"},
        {{L"Mozilla/4.0;Blazer/4.0", L"Windows NT 5.0", NULL}, false, disguise},
        {{L"Mozilla/4.0;Blazer/4.0", L"Windows NT 5.0", L"MSIE 6.01"}, false, disguise},
        {{L"Mozilla/4.0", L"Windows CE", L"MSIE 4.01"}, false, disguise},
    };
    for (auto &c : cases) {
        WriteAgent(c.stored);
        SCOPED_TRACE(Agent());
        RunInternetPage(TAB_PIE, [&](HWND page) {
            EXPECT_EQ(c.ticked, IsTicked(page, IDC_PIE_PASS_AS_IE6));
            Tap(page, IDC_PIE_PASS_AS_IE6);
        });
        EXPECT_EQ(c.afterTap, Agent());
    }
}

TEST_F(BrowserPageTest, TheCacheFolderDecidesTheBoxAndTheStorageShown)
{
    InsertCards({L"Storage Card", L"SD Card"});
    struct {
        const wchar_t *root;
        bool ticked;
        const wchar_t *shown;
    } cases[] = {
        {L"\\Storage Card\\", true, L"Storage Card"},
        {kGuest, false, L"Windows"},
        {L"\\SD Card\\", false, L"SD Card"},
        {NULL, false, L""},   // no "Cache" at all
    };
    for (auto &c : cases) {
        SCOPED_TRACE(c.shown);
        if (c.root) WriteFolders(c.root);
        else DeleteRegValue(HKEY_CURRENT_USER, kShellFolders, L"Cache");
        RunInternetPage(TAB_PIE, [&](HWND page) {
            EXPECT_TRUE(IsEnabled(page, IDC_PIE_TEMP_FILES));
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
        // Choosing another storage writes nothing until the box is ticked again.
        Spin(page, IDC_PIE_STORAGE_SPIN, 1);
        EXPECT_EQ(L"Windows", Storage(page));
        ExpectFolders(L"\\Storage Card\\");
        Tap(page, IDC_PIE_TEMP_FILES);
        ExpectFolders(kGuest);
        // A folder value that is absent stays absent; the others are still replaced.
        DeleteRegValue(HKEY_CURRENT_USER, kShellFolders, L"Cookies");
        SetField(page, IDC_PIE_STORAGE_NAME, L"Storage Card");
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
    WriteFolders(kGuest);   // the device's own card is "Storage Card"
    RunInternetPage(TAB_PIE, [](HWND page) {
        ASSERT_EQ(L"Windows", Storage(page));
        // One card: both directions alternate; a text not in the list steps to "Windows"
        // upwards and to the first card downwards.
        struct {
            const wchar_t *typed;
            int delta;
            const wchar_t *shown;
        } steps[] = {
            {NULL, -1, L"Storage Card"}, {NULL, -1, L"Windows"},     {NULL, 1, L"Storage Card"},
            {NULL, 0, L"Windows"},       {L"Elsewhere", 1, L"Windows"}, {L"Elsewhere", -1, L"Storage Card"},
        };
        for (auto &step : steps) {
            if (step.typed) SetField(page, IDC_PIE_STORAGE_NAME, step.typed);
            Spin(page, IDC_PIE_STORAGE_SPIN, step.delta);
            EXPECT_EQ(step.shown, Storage(page)) << "delta " << step.delta;
        }
        // The spinner itself steps the field.
        PressSpinnerArrow(page, IDC_PIE_STORAGE_SPIN, false);
        EXPECT_EQ(L"Windows", Storage(page));
    });
    // Four usable cards: the list holds three; an unreadable one is left out.
    InsertCards({L"Card A", L"Broken", L"Card B", L"Card C", L"Card D"}, 1);
    RunInternetPage(TAB_PIE, [](HWND page) {
        std::vector<std::wstring> seen;
        for (int step = 0; step < 5; step++) {
            Spin(page, IDC_PIE_STORAGE_SPIN, -1);
            seen.push_back(Storage(page));
        }
        EXPECT_EQ((std::vector<std::wstring>{L"Card A", L"Card B", L"Card C", L"Windows", L"Card A"}), seen);
        SetField(page, IDC_PIE_STORAGE_NAME, L"Windows");
        Spin(page, IDC_PIE_STORAGE_SPIN, 1);
        EXPECT_EQ(L"Card C", Storage(page));
    });
}
