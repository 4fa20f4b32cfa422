// Registry reads of the tricks dialogs: a key is opened for the one read and closed.
#include "dialogs/dialogs.h"

void ReadRegistryDword(HKEY root, LPCWSTR key, LPCWSTR name, DWORD *value)
{
    HKEY opened;
    if (RegOpenKeyExW(root, key, 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS) return;
    DWORD type = 0, read = 0, size = sizeof read;
    LONG result = RegQueryValueExW(opened, name, NULL, &type, (BYTE *)&read, &size);
    RegCloseKey(opened);
    if (result == ERROR_SUCCESS && type == REG_DWORD && size == sizeof read) *value = read;
}

void ReadRegistryText(HKEY root, LPCWSTR key, LPCWSTR name, WCHAR *buffer, DWORD length)
{
    enum { LONGEST = 256 };
    if (length == 0 || length > LONGEST) return;
    HKEY opened;
    if (RegOpenKeyExW(root, key, 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS) return;
    WCHAR read[LONGEST];
    DWORD type = 0, size = length * sizeof(WCHAR);
    LONG result = RegQueryValueExW(opened, name, NULL, &type, (BYTE *)read, &size);
    RegCloseKey(opened);
    if (result != ERROR_SUCCESS || type != REG_SZ) return;
    // The stored bytes must end in the null: a string cut short is not taken.
    DWORD characters = size / sizeof(WCHAR);
    if (size % sizeof(WCHAR) != 0 || characters == 0 || read[characters - 1] != 0) return;
    CopyMemory(buffer, read, size);
}
