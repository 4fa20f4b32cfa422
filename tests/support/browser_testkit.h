// Driving the sound-file browser, on its own or from a page's "..." button: its list,
// its soft keys and the shell's Done key, and a folder tree of the test's own on the
// device.
#ifndef BROWSER_TESTKIT_H
#define BROWSER_TESTKIT_H

#include "testkit.h"
#include <commctrl.h>
#include <wchar.h>
#include <algorithm>
#include <filesystem>
#include "aygshell.h"
#include "app/rudore.h"
#include "dialogs/file_browser.h"
#include "resource.h"

class FileBrowserTest : public DeviceTest {
protected:
    void SetUp() override
    {
        DeviceTest::SetUp();
        // Device paths resolve on the current drive; the device's file system is C:.
        wchar_t current[MAX_PATH] = L"";
        GetCurrentDirectoryW(MAX_PATH, current);
        if (towupper(current[0]) != L'C') SetCurrentDirectoryW(L"C:\\");
        std::filesystem::remove_all(root, ignored);
        ASSERT_TRUE(CreateDirectoryW(root.c_str(), NULL));
        g_platformGeneration = 3;
    }
    void TearDown() override { std::filesystem::remove_all(root, ignored), DeviceTest::TearDown(); }

    // Created empty for each test: the root of the device shows only its own folders.
    const std::wstring root = L"\\Temp\\RudoreBrowseTest-" + std::to_wstring(GetCurrentProcessId());
    std::error_code ignored;
    std::wstring Path(const std::wstring &relative) const { return root + L"\\" + relative; }
    void MakeFolder(const std::wstring &relative) { ASSERT_TRUE(CreateDirectoryW(Path(relative).c_str(), NULL)); }
    void MakeFile(const std::wstring &relative)
    {
        HANDLE file = CreateFileW(Path(relative).c_str(), GENERIC_WRITE, 0, NULL, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, NULL);
        ASSERT_NE(INVALID_HANDLE_VALUE, file) << "cannot make a file of " << Path(relative).size() << " characters";
        DWORD written;
        WriteFile(file, "RIFF", 4, &written, NULL);
        CloseHandle(file);
    }
};

// Drives the browser `open` shows with `script`, from inside its loop. TRUE when the
// script's taps closed it; one left open is ended with `leftOpen`.
inline bool DriveBrowser(const std::function<void()> &open, const std::function<void(HWND)> &script, INT_PTR leftOpen)
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

// Makes the next opening show `folder`, given without a trailing backslash (each
// opening starts one level up).
inline void StartBrowserIn(const std::wstring &folder)
{
    ASSERT_LE(folder.size() + 2, (size_t)BROWSE_PATH_CHARS);
    lstrcpyW(g_browseFolder, (folder + L"\\x").c_str());
}

// Taps `button` of `page` with the browser set to show `folder` and drives it.
inline bool BrowseFrom(HWND page, UINT button, const std::wstring &folder, const std::function<void(HWND browser)> &script)
{
    StartBrowserIn(folder);
    HWND opened = NULL;
    bool closed = DriveBrowser([&] { SendMessageW(GetDlgItem(page, button), BM_CLICK, 0, 0); },
                               [&](HWND browser) { script(opened = browser); }, IDCANCEL);
    EXPECT_TRUE(opened != NULL && opened != page);
    return closed;
}

inline std::vector<std::wstring> BrowserItems(HWND dialog)
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

// The index of the item of that text; a test without it fails.
inline int BrowserItemIndex(HWND dialog, const std::wstring &text)
{
    std::vector<std::wstring> items = BrowserItems(dialog);
    size_t at = std::find(items.begin(), items.end(), text) - items.begin();
    EXPECT_LT(at, items.size()) << "no item of " << text.size() << " characters in the list";
    return at < items.size() ? (int)at : -1;
}

// A tap in the list: the item is selected (none for -1) and the list notifies its tap.
inline void TapBrowserItem(HWND dialog, int index)
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
inline void TapBrowserItem(HWND dialog, const std::wstring &text) { TapBrowserItem(dialog, BrowserItemIndex(dialog, text)); }

// The soft key with this command on the dialog's bar, and the shell's Done key.
inline HWND BrowserSoftKey(HWND dialog, UINT command)
{
    for (HWND bar = FindWindowExW(NULL, NULL, SIM_MENUBAR_CLASS, NULL); bar; bar = FindWindowExW(NULL, bar, SIM_MENUBAR_CLASS, NULL))
        if (GetWindow(bar, GW_OWNER) == dialog) return GetDlgItem(bar, command);
    return NULL;
}
inline HWND ShellDoneKey() { return GetDlgItem(FindWindowW(SIM_NAVBAR_CLASS, NULL), IDOK); }
inline void Click(HWND key)
{
    ASSERT_TRUE(key != NULL);
    SendMessageW(key, BM_CLICK, 0, 0);
}

#endif
