// Helpers of the shell tests: dialogs from in-memory templates that record what they
// receive, a window that records commands, the shell's own windows, and screen turns.
#ifndef SHELL_TESTKIT_H
#define SHELL_TESTKIT_H

#include <windows.h>
#include <vector>
#include "aygshell.h"
#include "testkit.h"

// A dialog template without controls (no font, so no font fields).
std::vector<WORD> DialogTemplate(DWORD style, const wchar_t *title, short x = 0, short y = 0,
                                 short cx = 120, short cy = 80);

// What a probe dialog received. The dialog initialises itself with the shell's dialog
// initialisation with `shellFlags` and ends (or, modeless, destroys itself) on IDOK
// when `endOnOk` is set.
struct DialogProbe {
    DWORD shellFlags = 0;
    bool endOnOk = true;
    HWND window = NULL;
    int okCommands = 0;
    int sizeMessages = 0;
    SIZE lastSize = {0, 0};
};
HWND CreateProbeDialog(const std::vector<WORD> &dialogTemplate, HWND parent, DialogProbe *probe);
INT_PTR RunProbeDialog(const std::vector<WORD> &dialogTemplate, HWND owner, DialogProbe *probe);

// A plain top-level window that records the command ids it receives.
HWND CreateCommandSink(int x, int y, int cx, int cy);
std::vector<WPARAM> &SinkCommands();

// The shell's windows of this process.
HWND FindNavBar();
HWND FindDoneKey();
HWND FindKey(HWND bar, const wchar_t *label);
HWND OwnedBar(HWND owner);
int ChildCount(HWND window);

RECT WindowRect(HWND window);
RECT MakeRect(int left, int top, int right, int bottom);
bool operator==(const RECT &a, const RECT &b);
::std::ostream &operator<<(::std::ostream &out, const RECT &r);

// Turns the display back to portrait when it goes out of scope, whatever happened in
// between (SetScreenSize changes the mode behind the device's back).
struct ScreenGuard {
    ~ScreenGuard();
};

// Creates a soft-key bar for `parent` from resource `id` of the test executable.
bool CreateBar(HWND parent, UINT id, DWORD flags, HWND *bar);

#endif
