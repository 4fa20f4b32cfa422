// What the Today page tests share beyond the host kit: keys that refuse to be
// created, empty texts and the settings-change notice.
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

// The empty "Redirect": a REG_SZ of just its null.
inline bool IsEmptyText(HKEY root, const wchar_t *key, const wchar_t *name)
{
    DWORD type = 0, bytes = 0;
    return RegValueShape(root, key, name, &type, &bytes) && type == REG_SZ && bytes == sizeof(wchar_t);
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

#endif
