// What the parts of the simulated shell offer one another. The shell runs on the
// program's one user-interface thread, as its windows do.
#ifndef SHELL_INTERNAL_H
#define SHELL_INTERNAL_H

#include <windows.h>
#include "aygshell.h"

// shell.cpp: the module, its window classes and the screen's geometry.
HINSTANCE ShellInstance(void);
BOOL EnsureShellClasses(void);
// Work area: below the navigation bar, full width, down to the bottom of the screen.
RECT ShellWorkArea(void);

// softkey.cpp: a key of the shell's bars. It behaves as a push button (BM_CLICK, taps)
// but never takes focus or activation, so a tap leaves the served window active.
// A click sends WM_COMMAND (id, BN_CLICKED, key) to the key's parent.
LRESULT CALLBACK SoftKeyProc(HWND key, UINT message, WPARAM wParam, LPARAM lParam);
HWND CreateSoftKey(HWND parent, UINT id, const WCHAR *label);

// menubar.cpp: the soft-key bars.
LRESULT CALLBACK MenuBarProc(HWND bar, UINT message, WPARAM wParam, LPARAM lParam);
HWND CreateMenuBarWindow(const SHMENUBARINFO *info, DWORD *error);
void PlaceMenuBar(HWND bar);
// The visible bar serving this window, or NULL; the bars of the shell's thread.
HWND FindMenuBarOf(HWND window);
int  ListMenuBars(HWND *bars, int max);

// navbar.cpp: the navigation bar at the top of the screen.
LRESULT CALLBACK NavBarProc(HWND bar, UINT message, WPARAM wParam, LPARAM lParam);
HWND EnsureNavBar(void);
void PlaceNavBar(void);
// Shows the title of the window the bar serves now, and its Done key if it asked for one.
void RefreshNavBar(void);
// Keeps the bar drawn over a window shown after it.
void RaiseNavBar(void);

// windows.cpp: the windows the shell keeps in shape.
enum ShellRole {
    ROLE_DIALOG = 1,      // top-level dialog initialised by the shell
    ROLE_CHILD = 2,       // child dialog: told of screen changes, never moved
    ROLE_BAR_OWNER = 4    // top-level window given a soft-key bar
};
struct ShellWindow {
    HWND  window;
    DWORD roles;
    DWORD initFlags;      // the dialog initialisation flags
    BOOL  sized;          // the shell sizes it to the work area
    BOOL  done;           // its Done key is shown
    DWORD order;          // larger: initialised or activated more recently
    WNDPROC previous;     // the window's own procedure, which the shell's runs before
};
ShellWindow *TrackShellWindow(HWND window, DWORD role);
ShellWindow *FindShellWindow(HWND window);
// The top-level window the navigation bar serves: the most recently active tracked one
// that is enabled (a modal dialog's owner is disabled while it runs) and visible or active.
ShellWindow *ActiveShellWindow(void);
void FitShellDialog(HWND window);
// Brings every bar and tracked window to the screen's current shape.
void ShellScreenChanged(void);

#endif
