// What the parts of the simulated shell offer one another. The shell runs on the
// program's one user-interface thread, as its windows do.
#ifndef SHELL_INTERNAL_H
#define SHELL_INTERNAL_H

#include <windows.h>
#include "aygshell.h"
#include "simdevice.h"

// shell.cpp: the module and its window classes.
HINSTANCE ShellInstance(void);
BOOL EnsureShellClasses(void);
// The screen's size. Each reading asks the display whether it changed (several round
// trips to the server): a turn takes the size its notice gives instead.
SIZE ScreenSize(void);
// The shell's bars, their keys and the windows it sizes are drawn afresh at their new
// places: the old picture is not copied over first, and nothing is erased before the
// next paint. A move draws nothing by itself: it would have every window under the
// moved one draw a frame too, though few have one; the mover has what moved drawn.
enum : UINT { SHELL_PLACE_FLAGS = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS | SWP_DEFERERASE | SWP_NOREDRAW };
// Moves a top-level window to `place` on the screen; FALSE when it is there already.
BOOL MoveShellWindow(HWND window, RECT place);

// bars.cpp: the soft-key bars at the bottom of the screen and the navigation bar at
// its top. Their keys behave as push buttons (BM_CLICK, taps) but never take focus
// or activation, so a tap leaves the served window active.
LRESULT CALLBACK SoftKeyProc(HWND key, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK MenuBarProc(HWND bar, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK NavBarProc(HWND bar, UINT message, WPARAM wParam, LPARAM lParam);
// A bar for `parent` from menu-bar resource `id` of `instance`, or an empty one.
HWND CreateMenuBar(HWND parent, HINSTANCE instance, UINT id, DWORD flags, DWORD *error);
void PlaceMenuBar(HWND bar, SIZE screen);
void PlaceNavBar(SIZE screen);
// Shows the title of the window the navigation bar serves now, and its Done key if
// that window asked for one; ShowNavBar makes the bar first if need be.
void RefreshNavBar(void);
void ShowNavBar(void);
// Keeps the navigation bar drawn over a window shown after it.
void RaiseNavBar(HWND shown);

// windows.cpp: the top-level windows the shell serves and keeps in shape.
struct ShellWindow {
    HWND  window;
    HWND  bar;            // its soft-key bar, if it has one
    BOOL  sized;          // the shell sizes it to the work area
    BOOL  done;           // its Done key is shown
    DWORD order;          // larger: initialised or activated more recently
    WNDPROC previous;     // the window's own procedure, which the shell's runs before
};
// The window the navigation bar serves: the most recently active tracked one that is
// enabled (a modal dialog's owner is disabled while it runs) and visible or active.
ShellWindow *ActiveShellWindow(void);
void FitShellDialog(HWND window);
// Brings every bar and tracked window to the screen's current shape.
void ShellScreenChanged(void);
// The screen has changed to `size` (the notice's: width in the low word, height in the
// high): ShellScreenChanged runs once the notice has reached every window, posted to the
// navigation bar as SHELL_SCREEN_CHANGED.
void NoticeScreenChange(LPARAM size);
enum { SHELL_SCREEN_CHANGED = WM_USER + 1 };
HWND NavBarWindow(void);

#endif
