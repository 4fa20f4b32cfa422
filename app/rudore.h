// Zelvo Rudore: the process-wide values and what each file of the application shell offers.
#ifndef RUDORE_H
#define RUDORE_H

#include <windows.h>

// Process-wide values, set at start-up.
extern HINSTANCE g_hInstance;        // every resource comes from it
extern HWND g_hMainWnd;              // owner of the tools' message boxes
extern HWND g_hMenuBar;              // the main window's soft-key bar; 0 when the shell failed
extern DWORD g_platformGeneration;   // 1, 3 or 5, from the OS version

// startup.cpp
BOOL InitMainWindow(HINSTANCE instance, int showCommand);
ATOM RegisterMainWindowClass(HINSTANCE instance, LPCWSTR className);
void ClassifyPlatformVersion(void);
int RunMessageLoop(HACCEL accelerators);

// mainwnd.cpp
LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR OpenDialogFromTemplate(HWND owner, UINT templateId, DLGPROC procedure);
extern DWORD g_splashLayout;          // 0 portrait, 1 landscape, 2 square: set by every paint

// A dialog closed by WM_CLOSE ends with that message's own number; callers ignore it.
#define DIALOG_CLOSED WM_CLOSE

// The procedures of the dialogs the main window opens.
INT_PTR CALLBACK InternetHostProc(HWND, UINT, WPARAM, LPARAM);
INT_PTR CALLBACK TodayHostProc(HWND, UINT, WPARAM, LPARAM);
INT_PTR CALLBACK SystemHostProc(HWND, UINT, WPARAM, LPARAM);
INT_PTR CALLBACK PhoneHostProc(HWND, UINT, WPARAM, LPARAM);
// dialogs/keyboard.cpp: default input method, listed handwriting methods, suggested words, drag.
INT_PTR CALLBACK KeyboardTricksDialogProc(HWND, UINT, WPARAM, LPARAM);
// dialogs/filesystem.cpp: caches, installer security warning, kept .CAB files, overwrite prompt.
INT_PTR CALLBACK FileSystemTricksDialogProc(HWND, UINT, WPARAM, LPARAM);
INT_PTR CALLBACK CalendarDialogProc(HWND, UINT, WPARAM, LPARAM);

// about.cpp
INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR ShowAboutBox(HWND owner);  // the dialog's result: 1 Done, 16 closed, -1 no template

#endif
