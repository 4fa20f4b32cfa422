// The sound-file browser, driven through its own dialog on a fresh device.
#include "browser_testkit.h"
#include "tests/hosts/host_kit.h"

// Runs the browser as a caller does and drives it with `script`; one left open is ended with -77.
static INT_PTR Browse(const std::function<void(HWND)> &script)
{
    INT_PTR result = -78;
    DriveBrowser([&] { result = ShowFileBrowser(NULL); }, script, -77);
    return result;
}

static std::wstring PathLabel(HWND dialog) { return WindowText(GetDlgItem(dialog, IDC_BROWSE_PATH)); }

// The items from `first` to `last` - 1, in name order: the file system gives its own order.
static std::vector<std::wstring> Sorted(HWND dialog, size_t first = 0, size_t last = 9999)
{
    std::vector<std::wstring> items = BrowserItems(dialog);
    items.resize(std::min(last, items.size())), items.erase(items.begin(), items.begin() + std::min(first, items.size()));
    return std::sort(items.begin(), items.end()), items;
}

TEST_F(FileBrowserTest, BrowsesIntoFoldersAndBackAndHandsBackFilesAndFolders)
{
    MakeFolder(L"Sounds");
    MakeFolder(L"Sounds\\Inner");
    MakeFile(L"Sounds\\tune.mid");
    std::wstring rootName = root.substr(root.rfind(L'\\') + 1);
    StartBrowserIn(L"");
    EXPECT_EQ(IDC_BROWSE_LIST, Browse([&](HWND dialog) {
        TapBrowserItem(dialog, L"Temp");
        TapBrowserItem(dialog, rootName);
        EXPECT_EQ(root + L"\\", PathLabel(dialog));
        EXPECT_EQ(std::vector<std::wstring>({L"..", L"Sounds"}), BrowserItems(dialog));
        TapBrowserItem(dialog, L"Sounds");  // the listing's last folder
        EXPECT_EQ(root + L"\\Sounds\\", PathLabel(dialog));
        EXPECT_EQ(std::vector<std::wstring>({L"..", L"Inner", L"tune.mid"}), BrowserItems(dialog));
        for (int up = 0; up < 3; up++) TapBrowserItem(dialog, 0);
        // The root: the device's folders and cards, no way up, and no folder that Done
        // or OK could hand back.
        EXPECT_EQ(L"\\", PathLabel(dialog));
        EXPECT_EQ(std::vector<std::wstring>({L"My Documents", L"Program Files", L"Storage Card", L"Temp", L"Windows"}),
                  Sorted(dialog));
        for (HWND key : {ShellDoneKey(), BrowserSoftKey(dialog, IDM_BROWSE_OK)}) {
            int before = SimMessageBoxCount();
            Click(key);
            ExpectOneBox(before, dialog, L"Zelvo Rudore", MB_OK, L"Please select the file path!");
        }
        for (const wchar_t *item : {L"Temp", rootName.c_str(), L"Sounds", L"tune.mid"}) TapBrowserItem(dialog, item);
    }));
    EXPECT_EQ(root + L"\\Sounds\\tune.mid", g_browseResult);
    EXPECT_EQ(root + L"\\Sounds", g_browseFolder);

    // The next opening starts one level up; OK hands back that folder, and so does the
    // shell's Done key.
    EXPECT_EQ(IDM_BROWSE_OK, Browse([&](HWND dialog) {
        EXPECT_EQ(root + L"\\", PathLabel(dialog));
        Click(BrowserSoftKey(dialog, IDM_BROWSE_OK));
    }));
    EXPECT_EQ(root + L"\\", g_browseResult);
    StartBrowserIn(Path(L"Sounds"));
    EXPECT_EQ(IDOK, Browse([&](HWND) { Click(ShellDoneKey()); }));
    EXPECT_EQ(root + L"\\Sounds\\", g_browseResult);
}

TEST_F(FileBrowserTest, ListsFoldersThenSoundFilesAndTheLastListingAgain)
{
    MakeFolder(L"Mix");
    for (const wchar_t *name : {L"Inner", L"Folder.wav"}) MakeFolder(std::wstring(L"Mix\\") + name);
    for (const wchar_t *name : {L"ALARM.WAV", L"alarmwav", L"tune.Mid", L"voice.wma", L"alarm.wave", L"readme.txt", L"av", L"wav"})
        MakeFile(std::wstring(L"Mix\\") + name);
    // The device's own search, like the device, names no "." or ".."; the list adds its own "..".
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(L"\\Windows\\Rings\\*", &found);
    for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileW(search, &found)) EXPECT_NE(L'.', found.cFileName[0]);
    EXPECT_TRUE(search != INVALID_HANDLE_VALUE && FindClose(search));
    StartBrowserIn(Path(L"Mix"));
    EXPECT_EQ(IDC_BROWSE_LIST, Browse([&](HWND dialog) {
        EXPECT_EQ(std::vector<std::wstring>{L".."}, Sorted(dialog, 0, 1));
        EXPECT_EQ(std::vector<std::wstring>({L"Folder.wav", L"Inner"}), Sorted(dialog, 1, 3));
        EXPECT_EQ(std::vector<std::wstring>({L"ALARM.WAV", L"alarmwav", L"tune.Mid", L"voice.wma", L"wav"}), Sorted(dialog, 3));
        // A tap on no item lists the same folder again from the last listing, no new scan.
        MakeFile(L"Mix\\late.wav");
        TapBrowserItem(dialog, -1);
        EXPECT_EQ(8u, BrowserItems(dialog).size());
        // A folder whose name looks like a sound is still a folder; an empty one shows
        // only the way up. Another folder in between: the next listing scans afresh.
        TapBrowserItem(dialog, L"Folder.wav");
        EXPECT_EQ(root + L"\\Mix\\Folder.wav\\", PathLabel(dialog));
        EXPECT_EQ(std::vector<std::wstring>{L".."}, BrowserItems(dialog));
        TapBrowserItem(dialog, 0);
        EXPECT_EQ(9u, BrowserItems(dialog).size());
        TapBrowserItem(dialog, L"alarmwav");
    }));
    EXPECT_EQ(root + L"\\Mix\\alarmwav", g_browseResult);

    // A folder that is gone shows only the way up too; Cancel hands back nothing.
    StartBrowserIn(Path(L"Gone"));
    EXPECT_EQ(IDM_BROWSE_CANCEL, Browse([&](HWND dialog) {
        EXPECT_EQ(std::vector<std::wstring>{L".."}, BrowserItems(dialog));
        Click(BrowserSoftKey(dialog, IDM_BROWSE_CANCEL));
    }));
    EXPECT_STREQ(L"", g_browseResult);
}

TEST_F(FileBrowserTest, RefusesPathsLongerThanAHundredCharacters)
{
    // In a folder of 80 characters: a folder whose OK form has 100 characters, a sound
    // whose path has 100, and one character more of each.
    std::wstring base = Path(std::wstring(80 - root.size() - 1, L'o')), folder(18, L'f'), file = std::wstring(15, L'a') + L".wav";
    for (const std::wstring &made : {base, base + L"\\" + folder, base + L"\\g" + folder}) CreateDirectoryW(made.c_str(), NULL);
    for (const std::wstring &made : {file, L"b" + file}) MakeFile(base.substr(root.size() + 1) + L"\\" + made);
    StartBrowserIn(base);
    EXPECT_EQ(IDM_BROWSE_OK, Browse([&](HWND dialog) {
        for (const std::wstring &refused : {L"g" + folder, L"b" + file}) {
            int before = SimMessageBoxCount();
            TapBrowserItem(dialog, refused);
            ExpectOneBox(before, dialog, L"Zelvo Rudore", MB_OK,
                         L"This path is too long. A path can have at most 100 characters.");
            EXPECT_EQ(L"|" + base, g_browseResult + (L"|" + std::wstring(g_browseFolder)));
        }
        TapBrowserItem(dialog, folder);
        Click(BrowserSoftKey(dialog, IDM_BROWSE_OK));
    }));
    EXPECT_EQ(base + L"\\" + folder + L"\\", g_browseResult);
    EXPECT_EQ(IDC_BROWSE_LIST, Browse([&](HWND dialog) { TapBrowserItem(dialog, file); }));
    EXPECT_EQ(base + L"\\" + file, g_browseResult);
}

// A page's "..." opens the browser; stylus taps go to \Windows\Rings, and what the page
// then stores is what the device's own folders are called.
TEST_F(FileBrowserTest, ASoundChosenOnScreenIsStoredByThePage)
{
    RunPhonePage(TAB_CALL_SOUNDS, [&](HWND page) {
        EXPECT_TRUE(BrowseFrom(page, IDC_CS_RING_BROWSE, L"", [&](HWND browser) {
            for (const wchar_t *name : {L"Windows", L"Rings", L"Ring2.wav"}) {
                HWND list = GetDlgItem(browser, IDC_BROWSE_LIST);
                int index = BrowserItemIndex(browser, name);
                RECT item = {LVIR_LABEL, 0, 0, 0};
                SendMessageW(list, LVM_ENSUREVISIBLE, index, FALSE);
                ASSERT_TRUE(SendMessageW(list, LVM_GETITEMRECT, index, (LPARAM)&item));
                MapWindowPoints(list, NULL, (POINT *)&item, 2);
                TapScreen((item.left + item.right) / 2, (item.top + item.bottom) / 2);
                PumpMessages(600);  // the browser looks at the selection a moment after the tap
            }
        }));
        EXPECT_EQ(L"\\Windows\\Rings\\Ring2.wav", FieldText(page, IDC_CS_RING_SOUND));
        Tap(page, IDC_CS_RING);
        EXPECT_EQ(L"Ring2.wav", RegTextOr(CU, L"ControlPanel\\Sounds\\RingTone0", L"Sound", L"?"));
    });
    EXPECT_EQ(0, SimMessageBoxCount());
}
