// Driving the sound-file browser, on its own or from a page's "..." button: its list,
// its path label, its soft keys and the shell's Done key, and a folder tree of the
// test's own on the device.
#ifndef BROWSER_TESTKIT_H
#define BROWSER_TESTKIT_H

#include <windows.h>
#include <commctrl.h>
#include <functional>
#include <string>
#include <vector>
#include "aygshell.h"
#include "resource.h"
#include "testkit.h"

class FileBrowserTest : public DeviceTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // \Temp\RudoreBrowseTest-<pid>, created empty for each test: the root of the
    // device shows only the device's own folders.
    std::wstring root;
    std::wstring RootName() const { return root.substr(root.rfind(L'\\') + 1); }
    std::wstring Path(const std::wstring &relative) const { return root + L"\\" + relative; }
    void MakeFolder(const std::wstring &relative);
    void MakeFile(const std::wstring &relative);
    // Folders outside root that the test made and wants removed.
    std::vector<std::wstring> extraTrees;
};

// Runs the browser as a caller does and drives it with script from inside its loop;
// a browser the script left open is ended with -77.
INT_PTR Browse(const std::function<void(HWND)> &script);
// Makes the next opening show folder (each opening starts one level up).
void StartBrowserIn(const std::wstring &folder);
// Taps `button` of `page` with the browser set to show `folder` (no trailing
// backslash) and runs `script` with the browser from inside its loop. TRUE when the
// script's taps closed the browser; one left open is ended here.
bool BrowseFrom(HWND page, UINT button, const std::wstring &folder, const std::function<void(HWND browser)> &script);

inline HWND BrowserList(HWND dialog) { return GetDlgItem(dialog, IDC_BROWSE_LIST); }
std::vector<std::wstring> BrowserItems(HWND dialog);
std::wstring BrowserItemText(HWND dialog, int index);
int BrowserItemImage(HWND dialog, int index);
int BrowserItemIndex(HWND dialog, const std::wstring &text);
inline std::wstring BrowserPathLabel(HWND dialog) { return WindowText(GetDlgItem(dialog, IDC_BROWSE_PATH)); }
// A tap in the list: the item is selected (none for -1) and the list notifies its tap;
// by text, a test without that item fails.
void TapBrowserItem(HWND dialog, int index);
void TapBrowserItem(HWND dialog, const std::wstring &text);
// A stylus tap on the screen on the item of that text, scrolled into view first.
void TapBrowserItemOnScreen(HWND dialog, const std::wstring &text);
// The soft key with this command on the dialog's bar, and the shell's Done key.
HWND BrowserSoftKey(HWND dialog, UINT command);
inline HWND ShellDoneKey() { return GetDlgItem(FindWindowW(SIM_NAVBAR_CLASS, NULL), IDOK); }
inline void Click(HWND key)
{
    ASSERT_TRUE(key != NULL);
    SendMessageW(key, BM_CLICK, 0, 0);
}
// A dialog ended by EndDialog is hidden until its loop returns.
inline bool BrowserStillOpen(HWND dialog) { return IsWindow(dialog) && IsWindowVisible(dialog); }

#endif
