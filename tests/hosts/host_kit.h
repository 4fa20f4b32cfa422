// Driving a category host and its pages through their windows; shared by the host
// tests and the page tests.
#ifndef HOST_KIT_H
#define HOST_KIT_H

#include "testkit.h"
#include <commctrl.h>
#include "app/rudore.h"
#include "resource.h"

// The page shown in a tab control: its one dialog child, or NULL.
inline HWND PageInTabs(HWND tabs) { return FindWindowExW(tabs, NULL, L"#32770", NULL); }

inline int CountPagesInTabs(HWND tabs)
{
    int count = 0;
    for (HWND page = PageInTabs(tabs); page; page = FindWindowExW(tabs, page, L"#32770", NULL)) count++;
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

// A tap on a button or check box of a dialog (an auto check box toggles).
inline void Tap(HWND dialog, UINT control) { SendMessageW(GetDlgItem(dialog, control), BM_CLICK, 0, 0); }
inline bool IsTicked(HWND dialog, UINT control) { return IsDlgButtonChecked(dialog, control) == BST_CHECKED; }
inline bool IsEnabled(HWND dialog, UINT control) { return IsWindowEnabled(GetDlgItem(dialog, control)) != FALSE; }
inline std::wstring FieldText(HWND dialog, UINT control) { return WindowText(GetDlgItem(dialog, control)); }
inline void SetField(HWND dialog, UINT control, const wchar_t *text) { SetDlgItemTextW(dialog, control, text); }

// What an up-down control tells its dialog when stepped: UDN_DELTAPOS with this
// delta (a negative delta is the upper arrow of a control whose range runs down).
inline void Spin(HWND dialog, UINT spinner, int delta)
{
    NMUPDOWN change = {{GetDlgItem(dialog, spinner), spinner, (UINT)UDN_DELTAPOS}, 0, delta};
    SendMessageW(dialog, WM_NOTIFY, spinner, (LPARAM)&change);
}

// A press and release on the upper or lower arrow of a real up-down control.
inline void PressSpinnerArrow(HWND dialog, UINT spinner, bool up)
{
    HWND control = GetDlgItem(dialog, spinner);
    RECT area;
    GetClientRect(control, &area);
    LPARAM at = MAKELPARAM(area.right / 2, up ? area.bottom / 4 : area.bottom * 3 / 4);
    SendMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(control, WM_LBUTTONUP, 0, at);
}

// A value as stored, or `otherwise` when it is missing or of another type.
inline DWORD RegDwordOr(HKEY root, const wchar_t *key, const wchar_t *name, DWORD otherwise)
{
    DWORD value;
    return ReadRegDword(root, key, name, &value) ? value : otherwise;
}
inline std::wstring RegTextOr(HKEY root, const wchar_t *key, const wchar_t *name, std::wstring otherwise)
{
    return ReadRegString(root, key, name, &otherwise), otherwise;   // left alone unless read whole
}

// Opens a dialog from its template, as the main window does, and runs `script` from
// inside its loop. The script ends the dialog; one stopped by a fatal failure is
// ended here with -3. Returns the dialog's result.
inline INT_PTR RunDialog(UINT templateId, DLGPROC procedure, const std::function<void(HWND dialog)> &script)
{
    INT_PTR result = -2;
    bool ran = DriveModal([&] { result = OpenDialogFromTemplate(NULL, templateId, procedure); }, [&](HWND dialog) {
        script(dialog);
        if (::testing::Test::HasFatalFailure()) EndDialog(dialog, -3);
    });
    EXPECT_TRUE(ran) << "the dialog did not appear";
    return result;
}

// The same for a host, which the script may leave open: it then gets IDOK.
inline INT_PTR RunHost(UINT templateId, DLGPROC procedure, const std::function<void(HWND host)> &script)
{
    return RunDialog(templateId, procedure, [&](HWND host) {
        script(host);
        if (IsWindow(host)) SendMessageW(host, WM_COMMAND, IDOK, 0);
    });
}

// Opens a category host, shows tab `tab` and runs `script` with its page.
inline INT_PTR RunCategoryPage(UINT hostTemplate, DLGPROC hostProc, int tab, const std::function<void(HWND page)> &script)
{
    return RunHost(hostTemplate, hostProc, [&](HWND host) {
        HWND tabs = FindWindowExW(host, NULL, WC_TABCONTROLW, NULL);
        TapTab(tabs, tab);
        ASSERT_EQ(tab, (int)SendMessageW(tabs, TCM_GETCURSEL, 0, 0));
        ASSERT_TRUE(PageInTabs(tabs) != NULL) << "no page on tab " << tab;
        script(PageInTabs(tabs));
    });
}

// The page openers of the Internet, Today, System and Phone hosts.
typedef INT_PTR (*PageRunner)(int tab, const std::function<void(HWND page)> &script);
inline INT_PTR RunInternetPage(int tab, const std::function<void(HWND)> &s) { return RunCategoryPage(IDD_INTERNET_HOST_PORTRAIT, InternetHostProc, tab, s); }
inline INT_PTR RunTodayPage(int tab, const std::function<void(HWND)> &s) { return RunCategoryPage(IDD_TODAY_HOST_SQUARE, TodayHostProc, tab, s); }
inline INT_PTR RunSystemPage(int tab, const std::function<void(HWND)> &s) { return RunCategoryPage(IDD_SYSTEM_HOST_PORTRAIT, SystemHostProc, tab, s); }
inline INT_PTR RunPhonePage(int tab, const std::function<void(HWND)> &s) { return RunCategoryPage(IDD_PHONE_HOST_PORTRAIT, PhoneHostProc, tab, s); }

// The hosts' tabs: Internet, Today, System and Phone.
enum { TAB_PIE = 0, TAB_INBOX1, TAB_INBOX2, TAB_SECURITY, TAB_NETWORKING };
enum { TAB_TODAY_TEXT = 0, TAB_SETTINGS_ICONS, TAB_SOFT_KEYS };
enum { TAB_SYSTEM_FONT = 0, TAB_MENU_FONT, TAB_GRAPHICS, TAB_CLOCK_POWER, TAB_DEVICE, TAB_MESSENGER };
enum { TAB_SOUND_FOLDERS = 0, TAB_PHONE_SOUNDS, TAB_CALL_SOUNDS, TAB_PHONE_APPEARANCE };

inline int MessageBoxesSince(int before) { return SimMessageBoxCount() - before; }

// The one message box shown since record `before`, checked whole.
inline void ExpectOneBox(int before, HWND owner, const wchar_t *caption, UINT flags, const wchar_t *text)
{
    ASSERT_EQ(1, MessageBoxesSince(before));
    SimMessageBox box = LastMessageBox();
    EXPECT_STREQ(caption, box.caption);
    EXPECT_STREQ(text, box.text);
    EXPECT_EQ(flags, box.flags);
    EXPECT_EQ(owner, box.owner);
}

// One RegFlushKey the program made: the DWORD values its key held at that moment.
struct FlushedKey {
    std::vector<std::pair<std::wstring, DWORD>> dwords;
    bool Held(const wchar_t *name, DWORD value) const
    {
        for (const auto &dword : dwords)
            if (lstrcmpiW(dword.first.c_str(), name) == 0 && dword.second == value) return true;
        return false;
    }
};

// Records the program's flushes for its scope, by taking the place of RegFlushKey in
// this executable's imports, through which the program's code calls it.
class FlushRecorder {
public:
    FlushRecorder() { flushed_.clear(), platform_ = (FlushFunction)SwapImport(L"coredll.dll", "RegFlushKey", (void *)Record); }
    ~FlushRecorder() { SwapImport(L"coredll.dll", "RegFlushKey", (void *)platform_); }
    FlushRecorder(const FlushRecorder &) = delete;
    const std::vector<FlushedKey> &flushes() const { return flushed_; }

private:
    typedef LONG(WINAPI *FlushFunction)(HKEY);
    static inline std::vector<FlushedKey> flushed_;
    static inline FlushFunction platform_;
    static LONG WINAPI Record(HKEY key)
    {
        FlushedKey flushed;
        wchar_t name[256];
        DWORD chars, type, data, bytes;
        for (DWORD i = 0;; i++) {
            chars = 256, bytes = sizeof data;
            LONG read = RegEnumValueW(key, i, name, &chars, NULL, &type, (BYTE *)&data, &bytes);
            if (read != ERROR_SUCCESS && read != ERROR_MORE_DATA) break;
            if (read == ERROR_SUCCESS && type == REG_DWORD && bytes == sizeof data) flushed.dwords.push_back({name, data});
        }
        flushed_.push_back(flushed);
        return platform_(key);
    }
};

#endif
