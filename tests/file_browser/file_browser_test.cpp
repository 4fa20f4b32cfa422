// The sound-file browser, driven through its own dialog on a fresh device.
#include "browser_testkit.h"
#include <shellapi.h>
#include <wchar.h>
#include <algorithm>
#include "app/rudore.h"
#include "dialogs/file_browser.h"
#include "resource.h"
#include "tests/ui/layout_check.h"

static HIMAGELIST SystemSmallIcons()
{
    SHFILEINFOW info;
    ZeroMemory(&info, sizeof info);
    return (HIMAGELIST)SHGetFileInfoW(L"", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
}

static bool Contains(const std::vector<std::wstring> &items, const std::wstring &text)
{
    return std::find(items.begin(), items.end(), text) != items.end();
}

static bool ContainsIgnoringCase(const std::vector<std::wstring> &items, const wchar_t *text)
{
    for (const std::wstring &item : items)
        if (!lstrcmpiW(item.c_str(), text)) return true;
    return false;
}

TEST_F(FileBrowserTest, FirstOpeningShowsTheRootAndRefusesToHandItBack)
{
    lstrcpyW(g_browseResult, L"\\left\\over.wav");
    HIMAGELIST systemIcons = SystemSmallIcons();
    ASSERT_TRUE(systemIcons != NULL);
    std::wstring rootName = root.substr(1);

    INT_PTR result = Browse([&](HWND dialog) {
        EXPECT_EQ(L"Sound Browse", WindowText(dialog));
        EXPECT_EQ(L"\\", BrowserPathLabel(dialog));
        std::vector<std::wstring> items = BrowserItems(dialog);
        EXPECT_FALSE(Contains(items, L".."));
        EXPECT_FALSE(Contains(items, L"."));
        EXPECT_TRUE(ContainsIgnoringCase(items, L"Windows"));
        EXPECT_TRUE(Contains(items, rootName));
        HWND list = BrowserList(dialog);
        EXPECT_EQ(0, GetSelectedBrowserItem(list));

        // The list shows the system's own icons.
        EXPECT_EQ((LRESULT)systemIcons, SendMessageW(list, LVM_GETIMAGELIST, LVSIL_SMALL, 0));

        // The root is no folder to hand back: Done and OK both say so and stay.
        Click(ShellDoneKey());
        ASSERT_EQ(1, SimMessageBoxCount());
        SimMessageBox box = LastMessageBox();
        EXPECT_STREQ(L"Please select the file path!", box.text);
        EXPECT_STREQ(L"Zelvo Rudore", box.caption);
        EXPECT_EQ((UINT)MB_OK, box.flags);
        EXPECT_EQ(dialog, box.owner);
        EXPECT_TRUE(BrowserStillOpen(dialog));
        EXPECT_STREQ(L"", g_browseResult);

        Click(BrowserSoftKey(dialog, IDM_BROWSE_OK));
        EXPECT_EQ(2, SimMessageBoxCount());
        EXPECT_STREQ(L"Please select the file path!", LastMessageBox().text);
        EXPECT_TRUE(BrowserStillOpen(dialog));
        Click(BrowserSoftKey(dialog, IDM_BROWSE_CANCEL));
    });
    EXPECT_EQ(IDM_BROWSE_CANCEL, result);
    EXPECT_STREQ(L"", g_browseResult);
    // The list shared the system's icons; they outlive it.
    EXPECT_GT(ImageList_GetImageCount(systemIcons), 0);
    EXPECT_EQ(systemIcons, SystemSmallIcons());
}

TEST_F(FileBrowserTest, BrowsesIntoFoldersAndBackAndHandsBackFilesAndFolders)
{
    MakeFolder(L"Sounds");
    MakeFolder(L"Sounds\\Inner");
    MakeFolder(L"Other");
    MakeFile(L"Sounds\\tune.mid");
    MakeFile(L"Sounds\\ALARM.WAV");
    std::wstring rootName = root.substr(1);

    INT_PTR result = Browse([&](HWND dialog) {
        TapBrowserItem(dialog, rootName);
        EXPECT_EQ(root + L"\\", BrowserPathLabel(dialog));
        std::vector<std::wstring> items = BrowserItems(dialog);
        ASSERT_EQ(3u, items.size());
        EXPECT_EQ(L"..", items[0]);
        EXPECT_TRUE(Contains(items, L"Sounds"));
        EXPECT_TRUE(Contains(items, L"Other"));
        EXPECT_EQ(0, GetSelectedBrowserItem(BrowserList(dialog)));

        TapBrowserItem(dialog, L"Sounds");
        EXPECT_EQ(root + L"\\Sounds\\", BrowserPathLabel(dialog));
        EXPECT_EQ(4u, BrowserItems(dialog).size());
        TapBrowserItem(dialog, 0);
        EXPECT_EQ(root + L"\\", BrowserPathLabel(dialog));
        TapBrowserItem(dialog, 0);
        EXPECT_EQ(L"\\", BrowserPathLabel(dialog));
        EXPECT_FALSE(Contains(BrowserItems(dialog), L".."));

        TapBrowserItem(dialog, rootName);
        TapBrowserItem(dialog, L"Sounds");
        TapBrowserItem(dialog, L"tune.mid");
        EXPECT_FALSE(BrowserStillOpen(dialog));
    });
    EXPECT_EQ(IDC_BROWSE_LIST, result);
    EXPECT_EQ(root + L"\\Sounds\\tune.mid", g_browseResult);
    EXPECT_EQ(root + L"\\Sounds", g_browseFolder);

    // The next opening starts one level up; OK hands back that folder.
    result = Browse([&](HWND dialog) {
        EXPECT_EQ(root + L"\\", BrowserPathLabel(dialog));
        Click(BrowserSoftKey(dialog, IDM_BROWSE_OK));
    });
    EXPECT_EQ(IDM_BROWSE_OK, result);
    EXPECT_EQ(root + L"\\", g_browseResult);
    EXPECT_EQ(0, SimMessageBoxCount());

    result = Browse([&](HWND dialog) {
        EXPECT_EQ(L"\\", BrowserPathLabel(dialog));
        Click(BrowserSoftKey(dialog, IDM_BROWSE_CANCEL));
    });
    EXPECT_EQ(IDM_BROWSE_CANCEL, result);

    // The shell's Done key hands back the folder as OK does.
    StartBrowserIn(Path(L"Sounds"));
    result = Browse([&](HWND dialog) {
        EXPECT_EQ(root + L"\\Sounds\\", BrowserPathLabel(dialog));
        Click(ShellDoneKey());
    });
    EXPECT_EQ(IDOK, result);
    EXPECT_EQ(root + L"\\Sounds\\", g_browseResult);
}

TEST_F(FileBrowserTest, ListsFoldersThenSoundFilesAsTheFileSystemGivesThem)
{
    MakeFolder(L"Mix");
    const wchar_t *folders[] = {L"Inner", L"Folder.wav", L"zeta", L"Alpha"};
    const wchar_t *sounds[] = {L"ALARM.WAV", L"alarmwav", L"tune.Mid", L"voice.wma", L"wav", L"b.wav"};
    const wchar_t *others[] = {L"alarm.wave", L"readme.txt", L"av", L"Ring.wav.txt", L"wm"};
    for (const wchar_t *name : folders) MakeFolder(std::wstring(L"Mix\\") + name);
    for (const wchar_t *name : sounds) MakeFile(std::wstring(L"Mix\\") + name);
    for (const wchar_t *name : others) MakeFile(std::wstring(L"Mix\\") + name);

    // What the file system returns, in its order: folders first, then the sound files.
    std::vector<std::wstring> expected = {L".."}, files;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(Path(L"Mix\\*.*").c_str(), &found);
    ASSERT_NE(INVALID_HANDLE_VALUE, search);
    do {
        std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            expected.push_back(name);
        else if (std::find_if(std::begin(sounds), std::end(sounds), [&](const wchar_t *s) { return name == s; }) !=
                 std::end(sounds))
            files.push_back(name);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    ASSERT_EQ(5u, expected.size());
    ASSERT_EQ(6u, files.size());
    SHFILEINFOW info;
    ZeroMemory(&info, sizeof info);
    ASSERT_TRUE(SHGetFileInfoW(Path(L"Mix\\" + files[0]).c_str(), 0, &info, sizeof info,
                               SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
    int firstSoundIcon = info.iIcon;
    expected.insert(expected.end(), files.begin(), files.end());

    StartBrowserIn(Path(L"Mix"));
    INT_PTR result = Browse([&](HWND dialog) {
        EXPECT_EQ(expected, BrowserItems(dialog));
        EXPECT_EQ(4, BrowserListingFolderCount());
        // Folders carry the folder icon; every sound file the first one's system icon.
        for (int i = 0; i <= 4; i++) EXPECT_EQ(0, BrowserItemImage(dialog, i)) << i;
        for (int i = 5; i < (int)expected.size(); i++) EXPECT_EQ(firstSoundIcon, BrowserItemImage(dialog, i)) << i;

        // On the newest devices sound files carry icon 9.
        g_platformGeneration = 5;
        TapBrowserItem(dialog, 0);
        TapBrowserItem(dialog, L"Mix");
        EXPECT_EQ(expected, BrowserItems(dialog));
        for (int i = 0; i <= 4; i++) EXPECT_EQ(0, BrowserItemImage(dialog, i)) << i;
        for (int i = 5; i < (int)expected.size(); i++) EXPECT_EQ(9, BrowserItemImage(dialog, i)) << i;

        // Type-ahead finds names by their beginning, in any case, from the start point on.
        LVFINDINFOW find;
        ZeroMemory(&find, sizeof find);
        find.flags = LVFI_STRING | LVFI_PARTIAL | LVFI_WRAP;
        find.psz = L"TUNE";
        EXPECT_EQ(BrowserItemIndex(dialog, L"tune.Mid"),
                  SendMessageW(BrowserList(dialog), LVM_FINDITEMW, (WPARAM)-1, (LPARAM)&find));
        find.psz = L"nothing";
        EXPECT_EQ(-1, SendMessageW(BrowserList(dialog), LVM_FINDITEMW, (WPARAM)-1, (LPARAM)&find));

        // A folder whose name looks like a sound is still a folder.
        TapBrowserItem(dialog, L"Folder.wav");
        EXPECT_TRUE(BrowserStillOpen(dialog));
        EXPECT_EQ(root + L"\\Mix\\Folder.wav\\", BrowserPathLabel(dialog));
        TapBrowserItem(dialog, 0);
        TapBrowserItem(dialog, L"alarmwav");
    });
    EXPECT_EQ(IDC_BROWSE_LIST, result);
    EXPECT_EQ(root + L"\\Mix\\alarmwav", g_browseResult);
    EXPECT_FALSE(IsSoundFileName(NULL));
}

TEST_F(FileBrowserTest, EmptyOrMissingFolderShowsOnlyTheWayUp)
{
    MakeFolder(L"Empty");
    StartBrowserIn(root);
    INT_PTR result = Browse([&](HWND dialog) {
        TapBrowserItem(dialog, L"Empty");
        EXPECT_EQ(root + L"\\Empty\\", BrowserPathLabel(dialog));
        EXPECT_EQ(std::vector<std::wstring>{L".."}, BrowserItems(dialog));
        EXPECT_EQ(0, BrowserItemImage(dialog, 0));
        TapBrowserItem(dialog, 0);
        EXPECT_EQ(root + L"\\", BrowserPathLabel(dialog));
        EXPECT_EQ(std::vector<std::wstring>({L"..", L"Empty"}), BrowserItems(dialog));
        Click(BrowserSoftKey(dialog, IDM_BROWSE_CANCEL));
    });
    EXPECT_EQ(IDM_BROWSE_CANCEL, result);

    StartBrowserIn(Path(L"Gone"));
    result = Browse([&](HWND dialog) {
        EXPECT_EQ(root + L"\\Gone\\", BrowserPathLabel(dialog));
        EXPECT_EQ(std::vector<std::wstring>{L".."}, BrowserItems(dialog));
        TapBrowserItem(dialog, 0);
        EXPECT_EQ(root + L"\\", BrowserPathLabel(dialog));
        Click(BrowserSoftKey(dialog, IDM_BROWSE_OK));
    });
    EXPECT_EQ(IDM_BROWSE_OK, result);
    EXPECT_EQ(root + L"\\", g_browseResult);
}

TEST_F(FileBrowserTest, SameFolderListedAgainComesFromTheLastListing)
{
    MakeFolder(L"Sounds");
    MakeFile(L"Sounds\\tune.mid");
    std::wstring rootName = root.substr(1);
    std::wstring lateRoot = root + L"-late";
    extraTrees.push_back(lateRoot);

    // The listing is kept from test to test: this one starts with a folder of its own.
    StartBrowserIn(Path(L"Sounds"));
    INT_PTR result = Browse([&](HWND dialog) {
        MakeFile(L"Sounds\\late.wav");
        // A tap on no item lists the same folder again: no new scan.
        TapBrowserItem(dialog, -1);
        EXPECT_EQ(root + L"\\Sounds\\", BrowserPathLabel(dialog));
        EXPECT_EQ(std::vector<std::wstring>({L"..", L"tune.mid"}), BrowserItems(dialog));
        // Another folder in between: the next listing scans afresh.
        TapBrowserItem(dialog, 0);
        TapBrowserItem(dialog, L"Sounds");
        EXPECT_TRUE(Contains(BrowserItems(dialog), L"late.wav"));
        EXPECT_EQ(3u, BrowserItems(dialog).size());
        TapBrowserItem(dialog, 0);
        TapBrowserItem(dialog, 0);
        EXPECT_EQ(L"\\", BrowserPathLabel(dialog));
        Click(BrowserSoftKey(dialog, IDM_BROWSE_CANCEL));
    });
    EXPECT_EQ(IDM_BROWSE_CANCEL, result);

    // Reopened at the root, the root's listing is the one kept.
    ASSERT_TRUE(CreateDirectoryW(lateRoot.c_str(), NULL));
    result = Browse([&](HWND dialog) {
        EXPECT_EQ(L"\\", BrowserPathLabel(dialog));
        EXPECT_FALSE(Contains(BrowserItems(dialog), lateRoot.substr(1)));
        TapBrowserItem(dialog, rootName);
        TapBrowserItem(dialog, 0);
        EXPECT_TRUE(Contains(BrowserItems(dialog), lateRoot.substr(1)));
        Click(BrowserSoftKey(dialog, IDM_BROWSE_CANCEL));
    });
    EXPECT_EQ(IDM_BROWSE_CANCEL, result);
}

TEST_F(FileBrowserTest, RefusesPathsLongerThanAHundredCharacters)
{
    // A folder whose path has 80 characters, and names around the limit inside it.
    std::wstring outer(80 - root.size() - 1, L'o');
    std::wstring base = Path(outer);
    ASSERT_EQ(80u, base.size());
    std::wstring folderFits(100 - 80 - 2, L'f');       // its OK form has 100 characters
    std::wstring folderTooLong(100 - 80 - 1, L'g');    // its path has 100, its OK form 101
    std::wstring fileFits = std::wstring(100 - 80 - 1 - 4, L'a') + L".wav";
    std::wstring fileTooLong = std::wstring(100 - 80 - 4, L'b') + L".wav";
    std::wstring fileFarTooLong = std::wstring(150, L'c') + L".wav";
    MakeFolder(outer);
    MakeFolder(outer + L"\\" + folderFits);
    MakeFolder(outer + L"\\" + folderTooLong);
    MakeFile(outer + L"\\" + fileFits);
    MakeFile(outer + L"\\" + fileTooLong);
    MakeFile(outer + L"\\" + fileFarTooLong);

    StartBrowserIn(base);
    INT_PTR result = Browse([&](HWND dialog) {
        EXPECT_EQ(base + L"\\", BrowserPathLabel(dialog));
        ASSERT_EQ(6u, BrowserItems(dialog).size());

        TapBrowserItem(dialog, folderTooLong);
        ASSERT_EQ(1, SimMessageBoxCount());
        SimMessageBox box = LastMessageBox();
        EXPECT_STREQ(L"Zelvo Rudore", box.caption);
        EXPECT_TRUE(wcsstr(box.text, L"100") != NULL) << "the message should say what the limit is";
        EXPECT_EQ((UINT)MB_OK, box.flags);
        EXPECT_TRUE(BrowserStillOpen(dialog));
        EXPECT_EQ(base, g_browseFolder);
        EXPECT_EQ(base + L"\\", BrowserPathLabel(dialog));

        TapBrowserItem(dialog, fileTooLong);
        EXPECT_EQ(2, SimMessageBoxCount());
        EXPECT_TRUE(BrowserStillOpen(dialog));
        EXPECT_STREQ(L"", g_browseResult);

        // A name longer than the list hands out is refused too, never cut short.
        int farIndex = -1;
        for (int i = 0; i < 6; i++)
            if (BrowserItemText(dialog, i).size() > 100) farIndex = i;
        ASSERT_GE(farIndex, 0);
        TapBrowserItem(dialog, farIndex);
        EXPECT_EQ(3, SimMessageBoxCount());
        EXPECT_TRUE(BrowserStillOpen(dialog));
        EXPECT_STREQ(L"", g_browseResult);
        EXPECT_EQ(base, g_browseFolder);

        TapBrowserItem(dialog, folderFits);
        EXPECT_EQ(3, SimMessageBoxCount());
        EXPECT_EQ(base + L"\\" + folderFits + L"\\", BrowserPathLabel(dialog));
        Click(BrowserSoftKey(dialog, IDM_BROWSE_OK));
    });
    EXPECT_EQ(IDM_BROWSE_OK, result);
    EXPECT_EQ(base + L"\\" + folderFits + L"\\", g_browseResult);
    EXPECT_EQ(100u, wcslen(g_browseResult));

    result = Browse([&](HWND dialog) {
        EXPECT_EQ(base + L"\\", BrowserPathLabel(dialog));
        TapBrowserItem(dialog, fileFits);
    });
    EXPECT_EQ(IDC_BROWSE_LIST, result);
    EXPECT_EQ(base + L"\\" + fileFits, g_browseResult);
    EXPECT_EQ(100u, wcslen(g_browseResult));
    EXPECT_EQ(3, SimMessageBoxCount());
}

TEST_F(FileBrowserTest, BigFoldersListTheirFirst500Entries)
{
    MakeFolder(L"Big");
    for (int i = 0; i < 20; i++) MakeFolder(L"Big\\Dir" + std::to_wstring(100 + i));
    for (int i = 0; i < 600; i++) MakeFile(L"Big\\s" + std::to_wstring(1000 + i) + L".wav");
    MakeFolder(L"Folders");
    for (int i = 0; i < 505; i++) MakeFolder(L"Folders\\D" + std::to_wstring(1000 + i));
    MakeFile(L"Folders\\late.wav");

    StartBrowserIn(root);
    std::wstring last;
    INT_PTR result = Browse([&](HWND dialog) {
        TapBrowserItem(dialog, L"Big");
        std::vector<std::wstring> items = BrowserItems(dialog);
        ASSERT_EQ(501u, items.size());
        EXPECT_EQ(20, BrowserListingFolderCount());
        for (int i = 1; i <= 20; i++) EXPECT_EQ(L"Dir", items[i].substr(0, 3)) << i;
        for (int i = 21; i <= 500; i++) EXPECT_EQ(L".wav", items[i].substr(items[i].size() - 4)) << i;
        EXPECT_EQ(0, SimMessageBoxCount());

        // Folders alone can fill the listing; the last one still opens.
        TapBrowserItem(dialog, 0);
        TapBrowserItem(dialog, L"Folders");
        items = BrowserItems(dialog);
        ASSERT_EQ(501u, items.size());
        EXPECT_EQ(500, BrowserListingFolderCount());
        EXPECT_FALSE(Contains(items, L"late.wav"));
        std::wstring lastFolder = items[500];
        TapBrowserItem(dialog, 500);
        EXPECT_TRUE(BrowserStillOpen(dialog));
        EXPECT_EQ(root + L"\\Folders\\" + lastFolder + L"\\", BrowserPathLabel(dialog));

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

TEST_F(FileBrowserTest, TheHostsDotEntriesAreNoFolders)
{
    MakeFolder(L"Dots");
    MakeFolder(L"Dots\\Sub");
    MakeFile(L"Dots\\one.wav");

    StartBrowserIn(Path(L"Dots"));
    INT_PTR result = Browse([&](HWND dialog) {
        EXPECT_EQ(std::vector<std::wstring>({L"..", L"Sub", L"one.wav"}), BrowserItems(dialog));
        EXPECT_EQ(1, BrowserListingFolderCount());
        // Counted as folders, "." and ".." would make the third item a folder too.
        TapBrowserItem(dialog, 2);
    });
    EXPECT_EQ(IDC_BROWSE_LIST, result);
    EXPECT_EQ(root + L"\\Dots\\one.wav", g_browseResult);
}

TEST(FileBrowserHelpers, PathPartsAndTheWayUp)
{
    const struct { const wchar_t *path, *name; } names[] = {
        {L"\\Windows\\Rings\\Alarm1.wav", L"Alarm1.wav"}, {L"Alarm1.wav", L"Alarm1.wav"}, {L"", L""},
        {L"\\Windows\\Rings\\", L""}, {L"\\", L""}};
    for (const auto &c : names) {
        wchar_t name[64] = L"stale";
        FileNameFromPath(c.path, name);
        EXPECT_STREQ(c.name, name) << c.path;
    }
    const struct { const wchar_t *from, *to; } ups[] = {
        {L"\\Windows\\Rings", L"\\Windows"}, {L"\\Windows", L""}, {L"", L""}, {L"Windows", L"Windows"}};
    for (const auto &c : ups) {
        lstrcpyW(g_browseFolder, c.from);
        BrowseGoUp();
        EXPECT_STREQ(c.to, g_browseFolder) << c.from;
    }
}

TEST_F(FileBrowserTest, FollowsTheScreenWhenItTurns)
{
    MakeFolder(L"Sounds");
    MakeFile(L"Sounds\\a.wav");
    MakeFile(L"Sounds\\b.wav");
    MakeFile(L"Sounds\\c.wav");
    StartBrowserIn(Path(L"Sounds"));
    lstrcpyW(g_browseResult, L"\\stale\\choice.wav");
    INT_PTR result = Browse([&](HWND dialog) {
        HWND list = BrowserList(dialog);
        EXPECT_TRUE(LaidOutLike(dialog, g_hInstance, IDD_FILE_BROWSER));
        LVITEMW item;
        ZeroMemory(&item, sizeof item);
        item.stateMask = item.state = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageW(list, LVM_SETITEMSTATE, 2, (LPARAM)&item);
        std::vector<std::wstring> before = BrowserItems(dialog);

        ASSERT_TRUE(SimRotate(SIM_LANDSCAPE));
        PumpMessages(100);
        EXPECT_TRUE(LaidOutLike(dialog, g_hInstance, IDD_FILE_BROWSER_LANDSCAPE));
        EXPECT_EQ(2, GetSelectedBrowserItem(list));
        EXPECT_EQ(before, BrowserItems(dialog));
        EXPECT_EQ(root + L"\\Sounds\\", BrowserPathLabel(dialog));

        // Any other command and any notification lay the dialog out again.
        MoveWindow(list, 0, 0, 20, 20, TRUE);
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(9999, 0), 0);
        EXPECT_TRUE(LaidOutLike(dialog, g_hInstance, IDD_FILE_BROWSER_LANDSCAPE));
        MoveWindow(list, 0, 0, 20, 20, TRUE);
        TapBrowserItem(dialog, -1);
        EXPECT_TRUE(LaidOutLike(dialog, g_hInstance, IDD_FILE_BROWSER_LANDSCAPE));

        ASSERT_TRUE(SimRotate(SIM_SQUARE));
        PumpMessages(100);
        EXPECT_TRUE(LaidOutLike(dialog, g_hInstance, IDD_FILE_BROWSER));
        ASSERT_TRUE(SimRotate(SIM_PORTRAIT));
        PumpMessages(100);
        EXPECT_TRUE(LaidOutLike(dialog, g_hInstance, IDD_FILE_BROWSER));
        EXPECT_EQ(before, BrowserItems(dialog));
        // A selection alone picks nothing: Cancel leaves the result empty, the folder as it was.
        Click(BrowserSoftKey(dialog, IDM_BROWSE_CANCEL));
    });
    SimRotate(SIM_PORTRAIT);
    EXPECT_EQ(IDM_BROWSE_CANCEL, result);
    EXPECT_STREQ(L"", g_browseResult);
    EXPECT_EQ(Path(L"Sounds"), g_browseFolder);
    EXPECT_EQ(0, SimMessageBoxCount());
}
