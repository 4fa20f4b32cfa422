// Registry key paths as the device takes them: a leading backslash names the same key
// as the path without it. Wine refuses such paths under most roots.
#include <windows.h>

static LPCWSTR WithoutLeadingBackslash(LPCWSTR path)
{
    return path && path[0] == L'\\' ? path + 1 : path;
}

extern "C" {
LONG WINAPI Ce_RegOpenKeyExW(HKEY root, LPCWSTR path, DWORD options, REGSAM access, PHKEY key)
{
    return RegOpenKeyExW(root, WithoutLeadingBackslash(path), options, access, key);
}

LONG WINAPI Ce_RegCreateKeyExW(HKEY root, LPCWSTR path, DWORD reserved, LPWSTR className, DWORD options,
                               REGSAM access, LPSECURITY_ATTRIBUTES security, PHKEY key, LPDWORD disposition)
{
    return RegCreateKeyExW(root, WithoutLeadingBackslash(path), reserved, className, options, access, security, key,
                           disposition);
}

LONG WINAPI Ce_RegDeleteKeyW(HKEY root, LPCWSTR path)
{
    return RegDeleteKeyW(root, WithoutLeadingBackslash(path));
}
}
