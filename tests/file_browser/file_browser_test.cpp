// The sound-file browser, driven through its own dialog on a fresh device.
#include "browser_testkit.h"
#include <shellapi.h>
#include <wchar.h>
#include <algorithm>
#include "app/rudore.h"
#include "ceplatform.h"
#include "dialogs/file_browser.h"
#include "resource.h"
#include "tests/hosts/host_kit.h"

static HIMAGELIST SystemSmallIcons()
{
    SHFILEINFOW info;
    ZeroMemory(&info, sizeof info);
    return (HIMAGELIST)SHGetFileInfo(L"", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
}

static bool Contains(const std::vector<std::wstring> &items, const std::wstring &text)
{
    return std::find(items.begin(), items.end(), text) != items.end();
}

// Items first to last-1, in name order: the file system gives its own order.
static std::vector<std::wstring> Sorted(const std::vector<std::wstring> &items, size_t first, size_t last)
{
    std::vector<std::wstring> part(items.begin() + std::min(first, items.size()),
                                   items.begin() + std::min(last, items.size()));
    std::sort(part.begin(), part.end());
    return part;
}

TEST_F(FileBrowserTest, TheRootShowsTheDevicesFoldersAndCardsAndIsNoPathToHandBack)
{
    lstrcpyW(g_browseResult, L"\\left\\over.wav");
    HIMAGELIST systemIcons = SystemSmallIcons();
    ASSERT_TRUE(systemIcons != NULL);
    // The device's system icons of a folder and of a sound are where the list takes them.
    SHFILEINFOW info = {};
    EXPECT_TRUE(SHGetFileInfo(L"\\My Documents", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON) && info.iIcon == 0);
    EXPECT_TRUE(SHGetFileInfo(L"\\Windows\\Rings\\Ring1.wav", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON) &&
                info.iIcon == 9);
    // The device's own search, like the device, names no "." or "..".
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(L"\\Windows\\Rings\\*", &found);
    ASSERT_NE(INVALID_HANDLE_VALUE, search);
    do {
        EXPECT_NE(L'.', found.cFileName[0]) << std::wstring(found.cFileName);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    SimCard card = {L"SD Card", 1024 * 1024, 1024, FALSE};
    extraTrees.push_back(L"\\SD Card");
    StartBrowserIn(L"");
    INT_PTR result = Browse([&](HWND dialog) {
        EXPECT_EQ(L"\\", BrowserPathLabel(dialog));
        std::vector<std::wstring> items = BrowserItems(dialog);
        EXPECT_EQ(std::vector<std::wstring>({L"My Documents", L"Program Files", L"Storage Card", L"Temp", L"Windows"}),
                  Sorted(items, 0, items.size()));
        EXPECT_EQ(0, GetSelectedBrowserItem(BrowserList(dialog)));
        EXPECT_EQ((LRESULT)systemIcons, SendMessageW(BrowserList(dialog), LVM_GETIMAGELIST, LVSIL_SMALL, 0));
        EXPECT_EQ(0, BrowserItemImage(dialog, BrowserItemIndex(dialog, L"Windows")));

        // The root is no folder to hand back: Done and OK both say so and stay.
        Click(ShellDoneKey());
        ExpectOneBox(0, dialog, L"Zelvo Rudore", MB_OK, L"Please select the file path!");
        Click(BrowserSoftKey(dialog, IDM_BROWSE_OK));
        ExpectOneBox(1, dialog, L"Zelvo Rudore", MB_OK, L"Please select the file path!");
        EXPECT_TRUE(BrowserStillOpen(dialog));

        // The card taken out and another put in: the root, listed anew, follows.
        ASSERT_TRUE(SimSetCards(&card, 1));
        TapBrowserItem(dialog, L"Temp");
        TapBrowserItem(dialog, 0);
        items = BrowserItems(dialog);
        EXPECT_EQ(std::vector<std::wstring>({L"My Documents", L"Program Files", L"SD Card", L"Temp", L"Windows"}),
                  Sorted(items, 0, items.size()));
        Click(BrowserSoftKey(dialog, IDM_BROWSE_CANCEL));
    });
    EXPECT_EQ(IDM_BROWSE_CANCEL, result);
    EXPECT_STREQ(L"", g_browseResult);
    // The list shared the system's icons; they outlive it.
    EXPECT_GT(ImageList_GetImageCount(systemIcons), 0);
}

// Each page's "..." opens the browser at the root; stylus taps go to \Windows\Rings, and
// what the page then stores is what the device's own folders are called.
TEST_F(FileBrowserTest, ASoundChosenFromTheRootIsAcceptedAndStoredByEveryPage)
{
    const wchar_t kRingFolder[] = L"ControlPanel\\SoundCategories\\Ring";
    const wchar_t kRingTone[] = L"ControlPanel\\Sounds\\RingTone0";
    const wchar_t kNewMessage[] = L"ControlPanel\\Notifications\\{A877D65F-239C-47a7-9304-0D347F580408}";
    WriteRegString(HKEY_CURRENT_USER, kRingFolder, L"Directory", L"\\Temp\\");
    auto intoRings = [](HWND page, UINT browse, const std::function<void(HWND browser)> &choose) {
        EXPECT_TRUE(BrowseFrom(page, browse, L"", [&](HWND browser) {
            TapBrowserItemOnScreen(browser, L"Windows");
            TapBrowserItemOnScreen(browser, L"Rings");
            EXPECT_EQ(L"\\Windows\\Rings\\", BrowserPathLabel(browser));
            choose(browser);
        }));
    };
    auto tapTheFile = [](HWND browser) { TapBrowserItemOnScreen(browser, L"Ring2.wav"); };

    RunPhonePage(TAB_SOUND_FOLDERS, [&](HWND page) {
        intoRings(page, IDC_SF_RING_BROWSE, [](HWND browser) { Click(BrowserSoftKey(browser, IDM_BROWSE_OK)); });
        EXPECT_EQ(L"\\Windows\\Rings\\", FieldText(page, IDC_SF_RING_FOLDER));
        Tap(page, IDC_SF_RING_STORE);
        EXPECT_EQ(L"\\Windows\\Rings\\", RegTextOr(HKEY_CURRENT_USER, kRingFolder, L"Directory", L"?"));
    });
    RunPhonePage(TAB_CALL_SOUNDS, [&](HWND page) {
        intoRings(page, IDC_CS_RING_BROWSE, tapTheFile);
        EXPECT_EQ(L"\\Windows\\Rings\\Ring2.wav", FieldText(page, IDC_CS_RING_SOUND));
        Tap(page, IDC_CS_RING);
        EXPECT_TRUE(IsTicked(page, IDC_CS_RING)) << "refused";
        EXPECT_EQ(L"Ring2.wav", RegTextOr(HKEY_CURRENT_USER, kRingTone, L"Sound", L"?"));
    });
    RunSystemPage(TAB_MESSENGER, [&](HWND page) {
        intoRings(page, IDC_MSN_MSG_SOUND_PICK, tapTheFile);
        EXPECT_EQ(L"\\Windows\\Rings\\Ring2.wav", FieldText(page, IDC_MSN_MSG_SOUND));
        Tap(page, IDC_MSN_MSG_SOUND_BUTTON);
        EXPECT_EQ(L"Ring2", RegTextOr(HKEY_CURRENT_USER, kNewMessage, L"Wave", L"?"));
    });
    EXPECT_EQ(1, SimMessageBoxCount()) << "only the messenger page's report";
}

TEST_F(FileBrowserTest, BrowsesIntoFoldersAndBackAndHandsBackFilesAndFolders)
{
    MakeFolder(L"Sounds");
    MakeFolder(L"Sounds\\Inner");
    MakeFile(L"Sounds\\tune.mid");
    StartBrowserIn(L"");
    INT_PTR result = Browse([&](HWND dialog) {
        TapBrowserItem(dialog, L"Temp");
        TapBrowserItem(dialog, RootName());
        EXPECT_EQ(root + L"\\", BrowserPathLabel(dialog));
        EXPECT_EQ(std::vector<std::wstring>({L"..", L"Sounds"}), BrowserItems(dialog));
        TapBrowserItem(dialog, L"Sounds");
        EXPECT_EQ(root + L"\\Sounds\\", BrowserPathLabel(dialog));
        EXPECT_EQ(std::vector<std::wstring>({L"..", L"Inner", L"tune.mid"}), BrowserItems(dialog));
        for (int up = 0; up < 3; up++) TapBrowserItem(dialog, 0);
        EXPECT_EQ(L"\\", BrowserPathLabel(dialog));
        EXPECT_FALSE(Contains(BrowserItems(dialog), L".."));

        TapBrowserItem(dialog, L"Temp");
        TapBrowserItem(dialog, RootName());
        TapBrowserItem(dialog, L"Sounds");
        TapBrowserItem(dialog, L"tune.mid");
        EXPECT_FALSE(BrowserStillOpen(dialog));
    });
    EXPECT_EQ(IDC_BROWSE_LIST, result);
    EXPECT_EQ(root + L"\\Sounds\\tune.mid", g_browseResult);
    EXPECT_EQ(root + L"\\Sounds", g_browseFolder);

    // The next opening starts one level up; OK hands back that folder, and so does the
    // shell's Done key.
    result = Browse([&](HWND dialog) {
        EXPECT_EQ(root + L"\\", BrowserPathLabel(dialog));
        Click(BrowserSoftKey(dialog, IDM_BROWSE_OK));
    });
    EXPECT_EQ(IDM_BROWSE_OK, result);
    EXPECT_EQ(root + L"\\", g_browseResult);
    StartBrowserIn(Path(L"Sounds"));
    EXPECT_EQ(IDOK, Browse([&](HWND) { Click(ShellDoneKey()); }));
    EXPECT_EQ(root + L"\\Sounds\\", g_browseResult);
    EXPECT_EQ(0, SimMessageBoxCount());
}

TEST_F(FileBrowserTest, ListsFoldersThenSoundFilesWithTheirIcons)
{
    MakeFolder(L"Mix");
    for (const wchar_t *name : {L"Inner", L"Folder.wav"}) MakeFolder(std::wstring(L"Mix\\") + name);
    for (const wchar_t *name : {L"ALARM.WAV", L"alarmwav", L"tune.Mid", L"voice.wma", L"alarm.wave", L"readme.txt", L"av"})
        MakeFile(std::wstring(L"Mix\\") + name);

    StartBrowserIn(Path(L"Mix"));
    INT_PTR result = Browse([&](HWND dialog) {
        std::vector<std::wstring> items = BrowserItems(dialog);
        ASSERT_EQ(7u, items.size());
        EXPECT_EQ(L"..", items[0]);
        EXPECT_EQ(std::vector<std::wstring>({L"Folder.wav", L"Inner"}), Sorted(items, 1, 3));
        EXPECT_EQ(std::vector<std::wstring>({L"ALARM.WAV", L"alarmwav", L"tune.Mid", L"voice.wma"}), Sorted(items, 3, 7));
        // Counted as folders, "." and ".." would make the first sound file a folder.
        EXPECT_EQ(2, BrowserListingFolderCount());

        // Folders carry the folder icon; sound files the first one's system icon, or 9
        // on the newest devices.
        SHFILEINFOW info;
        ZeroMemory(&info, sizeof info);
        ASSERT_TRUE(SHGetFileInfo(Path(L"Mix\\" + items[3]).c_str(), 0, &info, sizeof info,
                                   SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
        for (int generation : {3, 5}) {
            g_platformGeneration = generation;
            TapBrowserItem(dialog, 0);
            TapBrowserItem(dialog, L"Mix");
            for (int i = 0; i < 7; i++)
                EXPECT_EQ(i < 3 ? 0 : generation == 5 ? 9 : info.iIcon, BrowserItemImage(dialog, i)) << i;
        }

        // Type-ahead finds names by their beginning, in any case.
        LVFINDINFOW find;
        ZeroMemory(&find, sizeof find);
        find.flags = LVFI_STRING | LVFI_PARTIAL | LVFI_WRAP;
        find.psz = L"TUNE";
        EXPECT_EQ(BrowserItemIndex(dialog, L"tune.Mid"),
                  SendMessageW(BrowserList(dialog), LVM_FINDITEMW, (WPARAM)-1, (LPARAM)&find));

        // A folder whose name looks like a sound is still a folder; an empty one shows
        // only the way up.
        TapBrowserItem(dialog, L"Folder.wav");
        EXPECT_EQ(root + L"\\Mix\\Folder.wav\\", BrowserPathLabel(dialog));
        EXPECT_EQ(std::vector<std::wstring>{L".."}, BrowserItems(dialog));
        TapBrowserItem(dialog, 0);
        TapBrowserItem(dialog, L"alarmwav");
    });
    EXPECT_EQ(IDC_BROWSE_LIST, result);
    EXPECT_EQ(root + L"\\Mix\\alarmwav", g_browseResult);
    EXPECT_FALSE(IsSoundFileName(NULL));

    // A folder that is gone shows only the way up too.
    StartBrowserIn(Path(L"Gone"));
    Browse([&](HWND dialog) {
        EXPECT_EQ(std::vector<std::wstring>{L".."}, BrowserItems(dialog));
        TapBrowserItem(dialog, 0);
        EXPECT_EQ(root + L"\\", BrowserPathLabel(dialog));
        Click(BrowserSoftKey(dialog, IDM_BROWSE_CANCEL));
    });
}

TEST_F(FileBrowserTest, SameFolderListedAgainComesFromTheLastListing)
{
    MakeFolder(L"Sounds");
    MakeFile(L"Sounds\\tune.mid");
    StartBrowserIn(Path(L"Sounds"));
    Browse([&](HWND dialog) {
        MakeFile(L"Sounds\\late.wav");
        // A tap on no item lists the same folder again: no new scan.
        TapBrowserItem(dialog, -1);
        EXPECT_EQ(std::vector<std::wstring>({L"..", L"tune.mid"}), BrowserItems(dialog));
        // Another folder in between: the next listing scans afresh.
        TapBrowserItem(dialog, 0);
        TapBrowserItem(dialog, L"Sounds");
        EXPECT_EQ(3u, BrowserItems(dialog).size());
        EXPECT_TRUE(Contains(BrowserItems(dialog), L"late.wav"));
        Click(BrowserSoftKey(dialog, IDM_BROWSE_CANCEL));
    });
}

TEST_F(FileBrowserTest, RefusesPathsLongerThanAHundredCharacters)
{
    // A folder whose path has 80 characters, and names around the limit inside it.
    std::wstring outer(80 - root.size() - 1, L'o');
    std::wstring base = Path(outer);
    std::wstring folderFits(18, L'f');                             // its OK form has 100 characters
    std::wstring fileFits = std::wstring(15, L'a') + L".wav";     // its path has 100
    std::wstring refused[] = {std::wstring(19, L'g'),             // its path has 100, its OK form 101
                              std::wstring(16, L'b') + L".wav",   // its path has 101
                              std::wstring(150, L'c') + L".wav"}; // longer than the list hands out: never cut short
    MakeFolder(outer);
    MakeFolder(outer + L"\\" + folderFits);
    MakeFile(outer + L"\\" + fileFits);
    MakeFolder(outer + L"\\" + refused[0]);
    for (int i = 1; i < 3; i++) MakeFile(outer + L"\\" + refused[i]);

    StartBrowserIn(base);
    INT_PTR result = Browse([&](HWND dialog) {
        for (int i = 0; i < 3; i++) {
            int index = -1;
            for (int item = 0; item < 6; item++)
                if (BrowserItemText(dialog, item).substr(0, 10) == refused[i].substr(0, 10)) index = item;
            ASSERT_GE(index, 0) << i;
            TapBrowserItem(dialog, index);
            ASSERT_EQ(i + 1, SimMessageBoxCount()) << i;
            EXPECT_STREQ(L"Zelvo Rudore", LastMessageBox().caption);
            EXPECT_TRUE(wcsstr(LastMessageBox().text, L"100") != NULL) << "the message should say what the limit is";
            EXPECT_TRUE(BrowserStillOpen(dialog));
            EXPECT_STREQ(L"", g_browseResult);
            EXPECT_EQ(base, g_browseFolder);
        }
        TapBrowserItem(dialog, folderFits);
        Click(BrowserSoftKey(dialog, IDM_BROWSE_OK));
    });
    EXPECT_EQ(IDM_BROWSE_OK, result);
    EXPECT_EQ(base + L"\\" + folderFits + L"\\", g_browseResult);
    EXPECT_EQ(100u, wcslen(g_browseResult));

    EXPECT_EQ(IDC_BROWSE_LIST, Browse([&](HWND dialog) { TapBrowserItem(dialog, fileFits); }));
    EXPECT_EQ(base + L"\\" + fileFits, g_browseResult);
    EXPECT_EQ(3, SimMessageBoxCount());
}

TEST_F(FileBrowserTest, BigFoldersListTheirFirst500Entries)
{
    MakeFolder(L"Big");
    for (int i = 0; i < 10; i++) MakeFolder(L"Big\\Dir" + std::to_wstring(100 + i));
    for (int i = 0; i < 500; i++) MakeFile(L"Big\\s" + std::to_wstring(1000 + i) + L".wav");
    MakeFolder(L"Folders");
    for (int i = 0; i < 501; i++) MakeFolder(L"Folders\\D" + std::to_wstring(1000 + i));
    MakeFile(L"Folders\\late.wav");

    StartBrowserIn(root);
    std::wstring last;
    INT_PTR result = Browse([&](HWND dialog) {
        TapBrowserItem(dialog, L"Big");
        ASSERT_EQ(501u, BrowserItems(dialog).size());
        EXPECT_EQ(10, BrowserListingFolderCount());

        // Folders alone can fill the listing; the last one still opens.
        TapBrowserItem(dialog, 0);
        TapBrowserItem(dialog, L"Folders");
        std::vector<std::wstring> items = BrowserItems(dialog);
        ASSERT_EQ(501u, items.size());
        EXPECT_EQ(500, BrowserListingFolderCount());
        EXPECT_FALSE(Contains(items, L"late.wav"));
        TapBrowserItem(dialog, 500);
        EXPECT_EQ(root + L"\\Folders\\" + items[500] + L"\\", BrowserPathLabel(dialog));

        TapBrowserItem(dialog, 0);
        TapBrowserItem(dialog, 0);
        TapBrowserItem(dialog, L"Big");
        last = BrowserItemText(dialog, 500);
        TapBrowserItem(dialog, 500);
    });
    EXPECT_EQ(IDC_BROWSE_LIST, result);
    EXPECT_EQ(root + L"\\Big\\" + last, g_browseResult);
    EXPECT_EQ(0, SimMessageBoxCount());
}

TEST(FileBrowserHelpers, TheFileNameIsWhatFollowsTheLastBackslash)
{
    const struct { const wchar_t *path, *name; } names[] = {
        {L"\\Windows\\Rings\\Alarm1.wav", L"Alarm1.wav"}, {L"Alarm1.wav", L"Alarm1.wav"}, {L"\\Windows\\Rings\\", L""}};
    for (const auto &c : names) {
        wchar_t name[64] = L"stale";
        FileNameFromPath(c.path, name, 64);
        EXPECT_STREQ(c.name, name) << c.path;
    }
    wchar_t cut[4] = L"";
    FileNameFromPath(L"\\Windows\\Alarm1.wav", cut, 4);
    EXPECT_STREQ(L"Ala", cut) << "the name is cut to its destination";
}

// Besides a turn (the layout test's), any other command lays the dialog out again.
TEST_F(FileBrowserTest, AnyOtherCommandLaysTheDialogOutAgain)
{
    StartBrowserIn(root);
    Browse([&](HWND dialog) {
        MoveWindow(BrowserList(dialog), 0, 0, 20, 20, TRUE);
        ASSERT_FALSE(LaidOutLike(dialog, IDD_FILE_BROWSER));
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(9999, 0), 0);
        EXPECT_TRUE(LaidOutLike(dialog, IDD_FILE_BROWSER));
        Click(BrowserSoftKey(dialog, IDM_BROWSE_CANCEL));
    });
}
