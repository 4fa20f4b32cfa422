// Driving the sound-file browser, on its own or from a page's "..." button: its list,
// its soft keys and the shell's Done key, and a folder tree of the test's own on the
// device.
#ifndef BROWSER_TESTKIT_H
#define BROWSER_TESTKIT_H

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
    std::wstring Path(const std::wstring &relative) const { return root + L"\\" + relative; }
    void MakeFolder(const std::wstring &relative);
    void MakeFile(const std::wstring &relative);
};

// Makes the next opening show `folder`, given without a trailing backslash (each
// opening starts one level up).
void StartBrowserIn(const std::wstring &folder);
// Drives the browser `open` shows with `script`, from inside its loop. TRUE when the
// script's taps closed it; one left open is ended with `leftOpen`.
bool DriveBrowser(const std::function<void()> &open, const std::function<void(HWND)> &script, INT_PTR leftOpen);
// Taps `button` of `page` with the browser set to show `folder` and drives it.
bool BrowseFrom(HWND page, UINT button, const std::wstring &folder, const std::function<void(HWND browser)> &script);

std::vector<std::wstring> BrowserItems(HWND dialog);
// The index of the item of that text; a test without it fails.
int BrowserItemIndex(HWND dialog, const std::wstring &text);
// A tap in the list: the item is selected (none for -1) and the list notifies its tap.
void TapBrowserItem(HWND dialog, int index);
inline void TapBrowserItem(HWND dialog, const std::wstring &text) { TapBrowserItem(dialog, BrowserItemIndex(dialog, text)); }
// The soft key with this command on the dialog's bar, and the shell's Done key.
HWND BrowserSoftKey(HWND dialog, UINT command);
inline HWND ShellDoneKey() { return GetDlgItem(FindWindowW(SIM_NAVBAR_CLASS, NULL), IDOK); }
inline void Click(HWND key)
{
    ASSERT_TRUE(key != NULL);
    SendMessageW(key, BM_CLICK, 0, 0);
}

#endif
