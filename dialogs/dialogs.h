// The keyboard and file-system tricks dialogs.
#ifndef DIALOGS_H
#define DIALOGS_H

#include <windows.h>

// keyboard.cpp: default input method, listed handwriting methods, suggested words, drag.
INT_PTR CALLBACK KeyboardTricksDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// filesystem.cpp: caches, installer security warning, kept .CAB files, overwrite prompt.
INT_PTR CALLBACK FileSystemTricksDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// registry_read.cpp: reads that open a key without creating it. A value of another
// type or size, a string without its null or one longer than the buffer counts as
// missing: the preset is left as it was.
void ReadRegistryDword(HKEY root, LPCWSTR key, LPCWSTR name, DWORD *value);
void ReadRegistryText(HKEY root, LPCWSTR key, LPCWSTR name, WCHAR *buffer, DWORD length);

#endif
