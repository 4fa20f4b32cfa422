// Registry key paths as the device takes them: a leading backslash names the same key
// as the path without it. Wine refuses such paths under most roots.
#include <windows.h>

#include "device.h"

static LPCWSTR WithoutLeadingBackslash(LPCWSTR path)
{
    return path && path[0] == L'\\' ? path + 1 : path;
}

// A key a test has made read-only, as keys in the device's ROM are: it opens, its
// values can be read, and every write to it fails. Per process.
static HKEY g_readOnlyRoot;
static WCHAR g_readOnlyKey[MAX_PATH];

static bool IsReadOnlyKey(HKEY root, LPCWSTR path)
{
    if (!g_readOnlyKey[0] || root != g_readOnlyRoot || !path) return false;
    path = WithoutLeadingBackslash(path);
    return CompareStringOrdinal(path, -1, g_readOnlyKey, -1, TRUE) == CSTR_EQUAL;
}

void ForgetReadOnlyKey(void)
{
    g_readOnlyRoot = NULL;
    g_readOnlyKey[0] = 0;
}

extern "C" {
LONG WINAPI Ce_RegOpenKeyExW(HKEY root, LPCWSTR path, DWORD options, REGSAM access, PHKEY key)
{
    // The device ignores the access asked for (programs pass 0); Wine would grant none.
    if (access == 0) access = KEY_ALL_ACCESS;
    if (IsReadOnlyKey(root, path)) access = KEY_READ;
    return RegOpenKeyExW(root, WithoutLeadingBackslash(path), options, access, key);
}

LONG WINAPI Ce_RegCreateKeyExW(HKEY root, LPCWSTR path, DWORD reserved, LPWSTR className, DWORD options,
                               REGSAM access, LPSECURITY_ATTRIBUTES security, PHKEY key, LPDWORD disposition)
{
    if (IsReadOnlyKey(root, path)) access = KEY_READ;
    return RegCreateKeyExW(root, WithoutLeadingBackslash(path), reserved, className, options, access, security, key,
                           disposition);
}

LONG WINAPI Ce_RegDeleteKeyW(HKEY root, LPCWSTR path)
{
    return RegDeleteKeyW(root, WithoutLeadingBackslash(path));
}

void SimSetReadOnlyKey(HKEY root, const WCHAR *key)
{
    ForgetReadOnlyKey();
    if (!key || !key[0]) return;
    key = WithoutLeadingBackslash(key);
    if (lstrlenW(key) >= MAX_PATH) return;
    lstrcpynW(g_readOnlyKey, key, MAX_PATH);
    g_readOnlyRoot = root;
}
}
