// Driving a category host and its pages through their windows; shared by the host
// tests and the page tests.
#ifndef HOST_KIT_H
#define HOST_KIT_H

#include <windows.h>
#include <commctrl.h>
#include <functional>
#include <string>
#include <vector>
#include "testkit.h"
#include "app/rudore.h"
#include "resource.h"

// The page shown in a tab control: its one dialog child, or NULL.
inline HWND PageInTabs(HWND tabs)
{
    return FindWindowExW(tabs, NULL, L"#32770", NULL);
}

inline int CountPagesInTabs(HWND tabs)
{
    int count = 0;
    for (HWND child = FindWindowExW(tabs, NULL, L"#32770", NULL); child;
         child = FindWindowExW(tabs, child, L"#32770", NULL))
        count++;
    return count;
}

// A tap on a tab, as the stylus gives it.
inline void TapTab(HWND tabs, int index)
{
    RECT item;
    if (!SendMessageW(tabs, TCM_GETITEMRECT, index, (LPARAM)&item)) return;
    LPARAM at = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
    SendMessageW(tabs, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(tabs, WM_LBUTTONUP, 0, at);
}

inline std::wstring TabLabel(HWND tabs, int index)
{
    wchar_t text[64] = L"";
    TCITEMW item = {};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = 64;
    SendMessageW(tabs, TCM_GETITEMW, index, (LPARAM)&item);
    return text;
}

// A tap on a button or check box of a dialog (an auto check box toggles).
inline void Tap(HWND dialog, UINT control)
{
    SendMessageW(GetDlgItem(dialog, control), BM_CLICK, 0, 0);
}

inline bool IsTicked(HWND dialog, UINT control)
{
    return IsDlgButtonChecked(dialog, control) == BST_CHECKED;
}

inline bool IsEnabled(HWND dialog, UINT control)
{
    return IsWindowEnabled(GetDlgItem(dialog, control)) != FALSE;
}

inline std::wstring FieldText(HWND dialog, UINT control)
{
    return WindowText(GetDlgItem(dialog, control));
}

inline void SetField(HWND dialog, UINT control, const wchar_t *text)
{
    SetDlgItemTextW(dialog, control, text);
}

// The tab control covers the host's client area: dialog units are 1.5 pixels, so a
// 640-pixel screen is covered to within the half pixel a dialog unit rounds to.
inline void ExpectTabsFillHost(HWND host, HWND tabs)
{
    RECT client, area;
    GetClientRect(host, &client);
    GetWindowRect(tabs, &area);
    MapWindowPoints(NULL, host, (POINT *)&area, 2);
    EXPECT_EQ(0, area.left);
    EXPECT_EQ(0, area.top);
    EXPECT_TRUE(area.right >= client.right && area.right <= client.right + 1) << area.right << " for " << client.right;
    EXPECT_TRUE(area.bottom >= client.bottom && area.bottom <= client.bottom + 1) << area.bottom << " for " << client.bottom;
}

inline DWORD RegDwordOr(HKEY root, const wchar_t *key, const wchar_t *name, DWORD otherwise)
{
    DWORD value;
    return ReadRegDword(root, key, name, &value) ? value : otherwise;
}

inline std::wstring RegTextOr(HKEY root, const wchar_t *key, const wchar_t *name, const wchar_t *otherwise)
{
    std::wstring value;
    return ReadRegString(root, key, name, &value) ? value : std::wstring(otherwise);
}

// Opens a host from its template, as the main window does, and runs `script` with it
// from inside its modal loop. The script ends the host (or leaves that to `RunHost`,
// which then sends IDOK). Returns the host's result.
inline INT_PTR RunHost(UINT templateId, DLGPROC procedure, const std::function<void(HWND host)> &script)
{
    INT_PTR result = -2;
    bool ran = DriveModal([&] { result = OpenDialogFromTemplate(NULL, templateId, procedure); },
                          [&](HWND host) {
                              script(host);
                              if (IsWindow(host)) SendMessageW(host, WM_COMMAND, IDOK, 0);
                          });
    EXPECT_TRUE(ran) << "the host did not appear";
    return result;
}

// Opens a category host, shows tab `tab` and runs `script` with its page.
inline INT_PTR RunCategoryPage(UINT hostTemplate, DLGPROC hostProc, UINT tabControl, int tab,
                               const std::function<void(HWND page)> &script)
{
    return RunHost(hostTemplate, hostProc, [&](HWND host) {
        HWND tabs = GetDlgItem(host, tabControl);
        ASSERT_TRUE(tabs != NULL);
        if (tab != 0) TapTab(tabs, tab);
        ASSERT_EQ(tab, (int)SendMessageW(tabs, TCM_GETCURSEL, 0, 0));
        HWND page = PageInTabs(tabs);
        ASSERT_TRUE(page != NULL) << "no page on tab " << tab;
        script(page);
    });
}

inline INT_PTR RunInternetPage(int tab, const std::function<void(HWND page)> &script)
{
    return RunCategoryPage(IDD_INTERNET_HOST, InternetHostProc, IDC_INTERNET_TABS, tab, script);
}

inline INT_PTR RunTodayPage(int tab, const std::function<void(HWND page)> &script)
{
    return RunCategoryPage(IDD_TODAY_HOST, TodayHostProc, IDC_TODAY_TABS, tab, script);
}

inline INT_PTR RunSystemPage(int tab, const std::function<void(HWND page)> &script)
{
    return RunCategoryPage(IDD_SYSTEM_HOST, SystemHostProc, IDC_SYSTEM_TABS, tab, script);
}

inline INT_PTR RunPhonePage(int tab, const std::function<void(HWND page)> &script)
{
    return RunCategoryPage(IDD_PHONE_HOST, PhoneHostProc, IDC_PHONE_TABS, tab, script);
}

// Tabs of the Internet host.
enum { TAB_PIE = 0, TAB_INBOX1, TAB_INBOX2, TAB_SECURITY, TAB_NETWORKING };
// Tabs of the Today, System and Phone hosts.
enum { TAB_TODAY_TEXT = 0, TAB_SETTINGS_ICONS, TAB_SOFT_KEYS };
enum { TAB_SYSTEM_FONT = 0, TAB_MENU_FONT, TAB_GRAPHICS, TAB_CLOCK_POWER, TAB_DEVICE, TAB_MESSENGER };
enum { TAB_SOUND_FOLDERS = 0, TAB_PHONE_SOUNDS, TAB_CALL_SOUNDS, TAB_PHONE_APPEARANCE };

// Message boxes shown since `before`.
inline int MessageBoxesSince(int before)
{
    return SimMessageBoxCount() - before;
}

// A page opener: RunInternetPage, RunTodayPage, RunSystemPage or RunPhonePage.
typedef INT_PTR (*PageRunner)(int tab, const std::function<void(HWND page)> &script);

// A check box bound to one DWORD that only one stored value ticks.
struct DwordBox {
    UINT box;
    HKEY root;
    const wchar_t *key;
    const wchar_t *name;
    DWORD ticked, cleared;
};

// With every value missing the boxes start clear; each box writes both of its states;
// a page opened again shows what was stored: the "on" value ticks a box, any other
// value leaves it clear.
inline void CheckDwordBoxes(PageRunner run, int tab, const DwordBox *boxes, int count)
{
    for (int i = 0; i < count; i++) DeleteRegValue(boxes[i].root, boxes[i].key, boxes[i].name);
    run(tab, [&](HWND page) {
        for (int i = 0; i < count; i++) {
            const DwordBox &c = boxes[i];
            SCOPED_TRACE(c.name);
            EXPECT_FALSE(IsTicked(page, c.box)) << "a missing value counts as off";
            Tap(page, c.box);
            EXPECT_EQ(c.ticked, RegDwordOr(c.root, c.key, c.name, 99));
            Tap(page, c.box);
            EXPECT_EQ(c.cleared, RegDwordOr(c.root, c.key, c.name, 99));
        }
    });
    run(tab, [&](HWND page) {
        for (int i = 0; i < count; i++) EXPECT_FALSE(IsTicked(page, boxes[i].box)) << boxes[i].name;
    });
    for (int i = 0; i < count; i++) WriteRegDword(boxes[i].root, boxes[i].key, boxes[i].name, boxes[i].ticked);
    run(tab, [&](HWND page) {
        for (int i = 0; i < count; i++) EXPECT_TRUE(IsTicked(page, boxes[i].box)) << boxes[i].name;
    });
    for (int i = 0; i < count; i++) {
        DWORD neither = 3;
        while (neither == boxes[i].ticked || neither == boxes[i].cleared) neither++;
        WriteRegDword(boxes[i].root, boxes[i].key, boxes[i].name, neither);
    }
    run(tab, [&](HWND page) {
        for (int i = 0; i < count; i++) EXPECT_FALSE(IsTicked(page, boxes[i].box)) << boxes[i].name;
    });
}

// A help button shows its fixed text in a box captioned "Help", owned by the page.
inline void CheckHelpButton(PageRunner run, int tab, UINT button, const wchar_t *text)
{
    run(tab, [&](HWND page) {
        int before = SimMessageBoxCount();
        Tap(page, button);
        ASSERT_EQ(1, MessageBoxesSince(before));
        SimMessageBox box = LastMessageBox();
        EXPECT_STREQ(L"Help", box.caption);
        EXPECT_STREQ(text, box.text);
        EXPECT_EQ(page, box.owner);
    });
}

#endif
