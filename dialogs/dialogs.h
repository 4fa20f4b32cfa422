// The keyboard and file-system tricks dialogs.
#ifndef DIALOGS_H
#define DIALOGS_H

#include <windows.h>

// keyboard.cpp: default input method, listed handwriting methods, suggested words, drag.
INT_PTR CALLBACK KeyboardTricksDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// filesystem.cpp: caches, installer security warning, kept .CAB files, overwrite prompt.
INT_PTR CALLBACK FileSystemTricksDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

#endif
