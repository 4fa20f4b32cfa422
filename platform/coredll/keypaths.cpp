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
static std::wstring g_readOnlyKey;

static bool IsReadOnlyKey(HKEY root, LPCWSTR path)
{
    return path && root == g_readOnlyRoot && !g_readOnlyKey.empty() &&
           CompareStringOrdinal(WithoutLeadingBackslash(path), -1, g_readOnlyKey.c_str(), -1, TRUE) == CSTR_EQUAL;
}

void ForgetReadOnlyKey(void) { g_readOnlyKey.clear(); }

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
    g_readOnlyRoot = root;
    g_readOnlyKey = key ? WithoutLeadingBackslash(key) : L"";
}
}
