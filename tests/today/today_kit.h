// What the Today page tests share: keys that refuse to be created, the settings-change
// records, screen turns and layout checks.
#ifndef TODAY_KIT_H
#define TODAY_KIT_H

#include "tests/hosts/host_kit.h"
#include <string>
#include <vector>

// Makes `parent` a key under which no lasting key can be made, as a registry that
// refuses writes would: it is made anew as a volatile key (which takes only volatile
// subkeys), without its former subkeys and values. Volatile subkeys given in
// `keep` are made under it again, each with "Hide" = `hide`.
inline void RefuseNewKeysUnder(HKEY root, const wchar_t *parent, const std::vector<std::wstring> &keep = {},
                               DWORD hide = 1)
{
    DeleteRegKey(root, parent);
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(root, parent, 0, NULL, REG_OPTION_VOLATILE, KEY_ALL_ACCESS, NULL, &key, NULL));
    RegCloseKey(key);
    for (const std::wstring &name : keep) {
        std::wstring path = std::wstring(parent) + L"\\" + name;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(root, path.c_str(), 0, NULL, REG_OPTION_VOLATILE, KEY_ALL_ACCESS,
                                                 NULL, &key, NULL));
        RegSetValueExW(key, L"Hide", 0, REG_DWORD, (const BYTE *)&hide, sizeof hide);
        RegCloseKey(key);
    }
    // What the pages do: a lasting key cannot be made under it.
    ASSERT_NE(ERROR_SUCCESS, RegCreateKeyExW(root, (std::wstring(parent) + L"\\Probe").c_str(), 0, NULL, 0,
                                             KEY_ALL_ACCESS, NULL, &key, NULL));
}

// A text stored with no terminating null (cut from a longer one, since the registry
// completes a text whose next character is a null).
inline void WriteUnterminated(HKEY root, const wchar_t *key, const wchar_t *name, const wchar_t *text)
{
    std::wstring longer = std::wstring(text) + L"#";
    WriteRegRaw(root, key, name, REG_SZ, longer.c_str(), (DWORD)(wcslen(text) * sizeof(wchar_t)));
}

inline void WriteTextOfType(HKEY root, const wchar_t *key, const wchar_t *name, DWORD type, const wchar_t *text)
{
    WriteRegRaw(root, key, name, type, text, (DWORD)((wcslen(text) + 1) * sizeof(wchar_t)));
}

// The value's type and size in bytes; false when it is missing.
inline bool RegValueShape(HKEY root, const wchar_t *key, const wchar_t *name, DWORD *type, DWORD *bytes)
{
    HKEY opened;
    if (RegOpenKeyExW(root, key, 0, KEY_READ, &opened) != ERROR_SUCCESS) return false;
    LONG found = RegQueryValueExW(opened, name, NULL, type, NULL, bytes);
    RegCloseKey(opened);
    return found == ERROR_SUCCESS;
}

inline bool RegValueExists(HKEY root, const wchar_t *key, const wchar_t *name)
{
    DWORD type, bytes;
    return RegValueShape(root, key, name, &type, &bytes);
}

// The empty "Redirect": a REG_SZ of just its null.
inline bool IsEmptyText(HKEY root, const wchar_t *key, const wchar_t *name)
{
    DWORD type = 0, bytes = 0;
    return RegValueShape(root, key, name, &type, &bytes) && type == REG_SZ && bytes == sizeof(wchar_t);
}

// The settings-change messages recorded since record `from`.
inline std::vector<SimBroadcast> SettingsChangesSince(int from)
{
    std::vector<SimBroadcast> changes;
    for (int i = from; i < SimBroadcastCount(); i++) {
        SimBroadcast record = {};
        if (SimGetBroadcast(i, &record) && record.message == WM_SETTINGCHANGE) changes.push_back(record);
    }
    return changes;
}

// Exactly one notice since `from`, of the kind the Settings window listens for.
inline void ExpectOneNotice(int from, bool posted, const char *what)
{
    std::vector<SimBroadcast> changes = SettingsChangesSince(from);
    ASSERT_EQ(1u, changes.size()) << what;
    EXPECT_EQ(posted, changes[0].posted != FALSE) << what;
    EXPECT_EQ(posted ? GetDesktopWindow() : HWND_BROADCAST, changes[0].target) << what;
    EXPECT_EQ(0xF2u, (unsigned)changes[0].wParam) << what;
    EXPECT_EQ(0, (long long)changes[0].lParam) << what;
}

// Turns the screen for a scope and, whatever the test does, back upright after it.
class TodayScreenTurn {
public:
    explicit TodayScreenTurn(int shape) : turned_(SimRotate(shape) != FALSE) { PumpMessages(50); }
    ~TodayScreenTurn()
    {
        SimRotate(SIM_PORTRAIT);
        PumpMessages(50);
    }
    bool turned() const { return turned_; }

private:
    bool turned_;
};

inline INT_PTR CALLBACK TodayReferenceProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

inline RECT TodayControlRect(HWND dialog, HWND control)
{
    RECT placed = {-1, -1, -1, -1};
    if (!control) return placed;
    GetWindowRect(control, &placed);
    MapWindowPoints(NULL, dialog, (POINT *)&placed, 2);
    return placed;
}

// Every control of `page` sits where template `templateId` puts it, as the dialog
// manager lays that template out beside the page (hidden, in the same parent).
inline ::testing::AssertionResult LaidOutLike(HWND page, UINT templateId)
{
    HWND reference = CreateDialogParamW(g_hInstance, MAKEINTRESOURCEW(templateId), GetParent(page), TodayReferenceProc, 0);
    if (!reference) return ::testing::AssertionFailure() << "template " << templateId << " makes no dialog";
    ::testing::AssertionResult result = ::testing::AssertionSuccess();
    int compared = 0;
    for (HWND child = GetWindow(reference, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        int id = GetDlgCtrlID(child);
        RECT expected = TodayControlRect(reference, child);
        RECT actual = TodayControlRect(page, GetDlgItem(page, id));
        compared++;
        if (!EqualRect(&expected, &actual)) {
            result = ::testing::AssertionFailure()
                     << "control " << id << " is at " << actual.left << "," << actual.top << "-" << actual.right << ","
                     << actual.bottom << ", template " << templateId << " puts it at " << expected.left << ","
                     << expected.top << "-" << expected.right << "," << expected.bottom;
            break;
        }
    }
    DestroyWindow(reference);
    if (result && compared == 0) return ::testing::AssertionFailure() << "template " << templateId << " has no controls";
    return result;
}

// The page shown by the host after a tab switch (the host keeps one page at a time).
inline HWND TodayPageOf(HWND host)
{
    return PageInTabs(GetDlgItem(host, IDC_TODAY_TABS));
}

#endif
