#include "browser_testkit.h"
#include <commctrl.h>
#include <wchar.h>
#include <algorithm>
#include "app/rudore.h"
#include "dialogs/file_browser.h"

static void RemoveTree(const std::wstring &path)
{
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((path + L"\\*").c_str(), &found);
    for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileW(search, &found)) {
        std::wstring name = found.cFileName, child = path + L"\\" + name;
        if (name == L"." || name == L"..") continue;
        SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            RemoveTree(child);
        else
            DeleteFileW(child.c_str());
    }
    if (search != INVALID_HANDLE_VALUE) FindClose(search);
    RemoveDirectoryW(path.c_str());
}

void FileBrowserTest::SetUp()
{
    DeviceTest::SetUp();
    // Device paths resolve on the current drive; the device's file system is C:.
    wchar_t current[MAX_PATH] = L"";
    GetCurrentDirectoryW(MAX_PATH, current);
    if (towupper(current[0]) != L'C') SetCurrentDirectoryW(L"C:\\");
    root = L"\\Temp\\RudoreBrowseTest-" + std::to_wstring(GetCurrentProcessId());
    RemoveTree(root);
    ASSERT_TRUE(CreateDirectoryW(root.c_str(), NULL));
    g_platformGeneration = 3;
}

void FileBrowserTest::TearDown()
{
    RemoveTree(root);
    DeviceTest::TearDown();
}

void FileBrowserTest::MakeFolder(const std::wstring &relative)
{
    ASSERT_TRUE(CreateDirectoryW(Path(relative).c_str(), NULL)) << "cannot make " << Path(relative).size();
}

void FileBrowserTest::MakeFile(const std::wstring &relative)
{
    HANDLE file = CreateFileW(Path(relative).c_str(), GENERIC_WRITE, 0, NULL, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, file) << "cannot make a file of " << Path(relative).size() << " characters";
    DWORD written;
    WriteFile(file, "RIFF", 4, &written, NULL);
    CloseHandle(file);
}

bool DriveBrowser(const std::function<void()> &open, const std::function<void(HWND)> &script, INT_PTR leftOpen)
{
    bool closed = false;
    bool drove = DriveModal(open, [&](HWND browser) {
        // The dialog loop shows its dialog at the first idle moment, which may come
        // after the script's first turn.
        if (!IsWindowVisible(browser)) ShowWindow(browser, SW_SHOW);
        script(browser);
        // A dialog ended by EndDialog is hidden until its loop returns.
        closed = !IsWindow(browser) || !IsWindowVisible(browser);
        if (!closed) EndDialog(browser, leftOpen);
    });
    EXPECT_TRUE(drove) << "the browser did not open";
    return closed;
}

void StartBrowserIn(const std::wstring &folder)
{
    std::wstring below = folder + L"\\x";
    ASSERT_LE(below.size(), (size_t)BROWSE_PATH_CHARS);
    lstrcpyW(g_browseFolder, below.c_str());
}

bool BrowseFrom(HWND page, UINT button, const std::wstring &folder, const std::function<void(HWND)> &script)
{
    StartBrowserIn(folder);
    HWND opened = NULL;
    bool closed = DriveBrowser([&] { SendMessageW(GetDlgItem(page, button), BM_CLICK, 0, 0); },
                               [&](HWND browser) { script(opened = browser); }, IDCANCEL);
    EXPECT_TRUE(opened != NULL && opened != page);
    return closed;
}

std::vector<std::wstring> BrowserItems(HWND dialog)
{
    HWND list = GetDlgItem(dialog, IDC_BROWSE_LIST);
    std::vector<std::wstring> items;
    for (int i = 0; i < (int)SendMessageW(list, LVM_GETITEMCOUNT, 0, 0); i++) {
        wchar_t text[600] = L"";
        LVITEMW item = {};
        item.pszText = text, item.cchTextMax = 600;
        SendMessageW(list, LVM_GETITEMTEXTW, i, (LPARAM)&item);
        items.push_back(text);
    }
    return items;
}

int BrowserItemIndex(HWND dialog, const std::wstring &text)
{
    std::vector<std::wstring> items = BrowserItems(dialog);
    size_t at = std::find(items.begin(), items.end(), text) - items.begin();
    EXPECT_LT(at, items.size()) << "no item of " << text.size() << " characters in the list";
    return at < items.size() ? (int)at : -1;
}

void TapBrowserItem(HWND dialog, int index)
{
    HWND list = GetDlgItem(dialog, IDC_BROWSE_LIST);
    LVITEMW item = {};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(list, LVM_SETITEMSTATE, (WPARAM)-1, (LPARAM)&item);
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    if (index >= 0) SendMessageW(list, LVM_SETITEMSTATE, index, (LPARAM)&item);
    NMITEMACTIVATE tap = {};
    tap.hdr = {list, IDC_BROWSE_LIST, (UINT)NM_CLICK};
    tap.iItem = index;
    SendMessageW(dialog, WM_NOTIFY, IDC_BROWSE_LIST, (LPARAM)&tap);
}

HWND BrowserSoftKey(HWND dialog, UINT command)
{
    for (HWND bar = FindWindowExW(NULL, NULL, SIM_MENUBAR_CLASS, NULL); bar; bar = FindWindowExW(NULL, bar, SIM_MENUBAR_CLASS, NULL))
        if (GetWindow(bar, GW_OWNER) == dialog) return GetDlgItem(bar, command);
    return NULL;
}
