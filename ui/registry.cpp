// Registry access: every key the program opens and every value it reads or writes.
#include "ui/registry.h"

BOOL OpenKey(HKEY root, LPCWSTR path, HKEY *key)
{
    return RegOpenKeyExW(root, path, 0, 0, key) == ERROR_SUCCESS;
}

BOOL CreateKey(HKEY root, LPCWSTR path, HKEY *key, DWORD *disposition)
{
    DWORD ignored;
    WCHAR noClass[1] = {0};
    return RegCreateKeyExW(root, path, 0, noClass, 0, KEY_ALL_ACCESS, NULL, key,
                           disposition ? disposition : &ignored) == ERROR_SUCCESS;
}

BOOL OpenKeyToWrite(HKEY root, LPCWSTR path, HKEY *key)
{
    return RegOpenKeyExW(root, path, 0, KEY_ALL_ACCESS, key) == ERROR_SUCCESS;
}

BOOL GetDword(HKEY key, LPCWSTR name, DWORD *value)
{
    DWORD type = 0, data = 0, size = sizeof data;
    if (RegQueryValueExW(key, name, NULL, &type, (BYTE *)&data, &size) != ERROR_SUCCESS) return FALSE;
    if (type != REG_DWORD || size != sizeof data) return FALSE;
    *value = data;
    return TRUE;
}

BOOL GetText(HKEY key, LPCWSTR name, WCHAR *buffer, DWORD cch)
{
    if (!buffer || cch == 0) return FALSE;
    if (cch > REGISTRY_TEXT_CHARS) cch = REGISTRY_TEXT_CHARS;
    // Read into a scratch buffer, so that a value found unusable leaves the preset.
    WCHAR data[REGISTRY_TEXT_CHARS];
    DWORD type = 0, size = cch * sizeof(WCHAR);
    if (RegQueryValueExW(key, name, NULL, &type, (BYTE *)data, &size) != ERROR_SUCCESS) return FALSE;
    if (type != REG_SZ || size < sizeof(WCHAR) || size % sizeof(WCHAR)) return FALSE;
    DWORD length = size / sizeof(WCHAR);
    if (data[length - 1] != 0) return FALSE;   // stored without its terminating null
    lstrcpynW(buffer, data, (int)length);
    return TRUE;
}

BOOL PutDword(HKEY key, LPCWSTR name, DWORD value)
{
    return RegSetValueExW(key, name, 0, REG_DWORD, (const BYTE *)&value, sizeof value) == ERROR_SUCCESS;
}

BOOL PutText(HKEY key, LPCWSTR name, LPCWSTR text)
{
    DWORD bytes = (DWORD)((lstrlenW(text) + 1) * sizeof(WCHAR));
    return RegSetValueExW(key, name, 0, REG_SZ, (const BYTE *)text, bytes) == ERROR_SUCCESS;
}
