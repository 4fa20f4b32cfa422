// Registry access for everything the program stores: keys opened or created, and
// DWORDs and texts read and written in them. Reads accept only the expected type and
// a value that fits: a wrong type, a text without its terminating null or one longer
// than the buffer counts as missing, and then the caller's preset is left untouched.
#ifndef REGISTRY_H
#define REGISTRY_H

#include <windows.h>

// Longest text any page reads from the registry, terminator included.
#define REGISTRY_TEXT_CHARS 1024

// Opens an existing key for reading; a missing key fails and is not made.
BOOL OpenKey(HKEY root, LPCWSTR path, HKEY *key);
// Opens a key for writing, creating it when missing (empty class, all access).
// `disposition` may be NULL.
BOOL CreateKey(HKEY root, LPCWSTR path, HKEY *key, DWORD *disposition);
// Opens an existing key for writing (all access); a missing key fails and is not made.
BOOL OpenKeyToWrite(HKEY root, LPCWSTR path, HKEY *key);

BOOL GetDword(HKEY key, LPCWSTR name, DWORD *value);
// `cch` counts the terminating null; the text must fit whole.
BOOL GetText(HKEY key, LPCWSTR name, WCHAR *buffer, DWORD cch);
BOOL PutDword(HKEY key, LPCWSTR name, DWORD value);
BOOL PutText(HKEY key, LPCWSTR name, LPCWSTR text);

#endif
