// The windows the shell keeps in shape: full-screen dialogs, the windows that carry a
// soft-key bar and the child dialogs inside them, re-laid out when the screen turns.
#include "shell.h"
#include <commctrl.h>
#include "simdevice.h"

// Bounded: entries of destroyed windows are dropped, and a table full of live windows
// takes no more (those windows are sized once but not kept in shape).
enum { kMaxWindows = 64, kMaxBars = 64 };

static ShellWindow g_windows[kMaxWindows];
static int g_windowCount;
static DWORD g_order;
// The screen size everything was last laid out for.
static SIZE g_screen;

static SIZE CurrentScreen(void)
{
    SIZE size = {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    return size;
}

static void DropWindow(HWND window)
{
    for (int i = 0; i < g_windowCount; ++i) {
        if (g_windows[i].window == window) {
            g_windows[i] = g_windows[--g_windowCount];
            return;
        }
    }
}

ShellWindow *FindShellWindow(HWND window)
{
    if (!window) return NULL;
    for (int i = 0; i < g_windowCount; ++i)
        if (g_windows[i].window == window) return &g_windows[i];
    return NULL;
}

// The shell sees a tracked window's messages before its own procedure does. The
// window's procedure is replaced rather than subclassed through the common controls,
// which the shell would otherwise have to load with every program.
static LRESULT CALLBACK TrackedWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    ShellWindow *tracked = FindShellWindow(window);
    WNDPROC previous = tracked ? tracked->previous : NULL;
    if (!previous) return DefWindowProcW(window, message, wParam, lParam);
    switch (message) {
    case WM_DISPLAYCHANGE:
        // Laid out before the window's own handler sees the change.
        ShellScreenChanged();
        break;
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE) {
            tracked->order = ++g_order;
            RefreshNavBar();
        }
        break;
    case WM_NCDESTROY:
        // The window's own procedure goes back in place for its last message.
        if ((WNDPROC)GetWindowLongPtrW(window, GWLP_WNDPROC) == TrackedWindowProc)
            SetWindowLongPtrW(window, GWLP_WNDPROC, (LONG_PTR)previous);
        DropWindow(window);
        [[fallthrough]];
    case WM_ENABLE:
    case WM_SETTEXT: {
        LRESULT result = CallWindowProcW(previous, window, message, wParam, lParam);
        RefreshNavBar();
        return result;
    }
    case WM_WINDOWPOSCHANGED: {
        LRESULT result = CallWindowProcW(previous, window, message, wParam, lParam);
        UINT flags = ((WINDOWPOS *)lParam)->flags;
        if (flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW)) RefreshNavBar();
        if (flags & SWP_SHOWWINDOW) RaiseNavBar();
        return result;
    }
    }
    return CallWindowProcW(previous, window, message, wParam, lParam);
}

ShellWindow *TrackShellWindow(HWND window, DWORD role)
{
    if (g_screen.cx == 0 && g_screen.cy == 0) g_screen = CurrentScreen();
    ShellWindow *entry = FindShellWindow(window);
    if (!entry) {
        if (g_windowCount == kMaxWindows) {
            for (int i = g_windowCount - 1; i >= 0; --i)
                if (!IsWindow(g_windows[i].window)) g_windows[i] = g_windows[--g_windowCount];
        }
        if (g_windowCount == kMaxWindows) return NULL;
        entry = &g_windows[g_windowCount++];
        ZeroMemory(entry, sizeof *entry);
        entry->window = window;
        entry->order = ++g_order;
        entry->previous = (WNDPROC)SetWindowLongPtrW(window, GWLP_WNDPROC, (LONG_PTR)TrackedWindowProc);
        if (!entry->previous) {
            --g_windowCount;
            return NULL;
        }
    }
    if (role == ROLE_DIALOG) entry->order = ++g_order;
    entry->roles |= role;
    return entry;
}

ShellWindow *ActiveShellWindow(void)
{
    ShellWindow *best = NULL;
    HWND active = GetActiveWindow();
    for (int i = 0; i < g_windowCount; ++i) {
        ShellWindow *entry = &g_windows[i];
        if (!(entry->roles & (ROLE_DIALOG | ROLE_BAR_OWNER))) continue;
        // A modal dialog is active a moment before it is first shown.
        if (!IsWindow(entry->window) || !IsWindowEnabled(entry->window) ||
            (!IsWindowVisible(entry->window) && entry->window != active))
            continue;
        if (!best || entry->order > best->order) best = entry;
    }
    return best;
}

// The work area, less the soft-key bar when the window has one and the flags keep it.
static void FitToWorkArea(HWND window, DWORD initFlags)
{
    RECT area = ShellWorkArea();
    if (!(initFlags & SHIDIF_FULLSCREENNOMENUBAR) && FindMenuBarOf(window)) area.bottom -= SIM_BAR_HEIGHT;
    if (area.bottom < area.top) area.bottom = area.top;
    // The window lays itself out anew at its new size: its old picture is not copied over.
    SetWindowPos(window, NULL, area.left, area.top, area.right - area.left, area.bottom - area.top,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
}

void FitShellDialog(HWND window)
{
    ShellWindow *entry = FindShellWindow(window);
    if (entry && entry->sized) FitToWorkArea(window, entry->initFlags);
}

// A window with a bar that covered the screen between the two bars, as the program's
// main window does.
static BOOL FilledScreen(HWND window, SIZE screen)
{
    RECT rect;
    if (screen.cx <= 0 || screen.cy <= 0 || !GetWindowRect(window, &rect)) return FALSE;
    return rect.left <= 0 && rect.right >= screen.cx && rect.top <= SIM_BAR_HEIGHT &&
           rect.bottom >= screen.cy - SIM_BAR_HEIGHT;
}

void ShellScreenChanged(void)
{
    SIZE now = CurrentScreen();
    if (now.cx == g_screen.cx && now.cy == g_screen.cy) return;
    SIZE before = g_screen;
    g_screen = now;

    // Handlers run below may create or destroy windows: work from a copy, and decide
    // which windows filled the old screen before anything moves.
    HWND windows[kMaxWindows];
    BOOL filled[kMaxWindows];
    int count = g_windowCount;
    for (int i = 0; i < count; ++i) {
        windows[i] = g_windows[i].window;
        filled[i] = (g_windows[i].roles & ROLE_BAR_OWNER) && !g_windows[i].sized &&
                    FilledScreen(windows[i], before);
    }

    PlaceNavBar();
    HWND bars[kMaxBars];
    int barCount = ListMenuBars(bars, kMaxBars);
    for (int i = 0; i < barCount; ++i)
        if (IsWindow(bars[i])) PlaceMenuBar(bars[i]);

    for (int i = 0; i < count; ++i) {
        ShellWindow *entry = FindShellWindow(windows[i]);
        if (!entry || !IsWindow(windows[i])) continue;
        if (entry->sized) FitShellDialog(windows[i]);
        else if (filled[i]) FitToWorkArea(windows[i], 0);
    }
    // Child dialogs are placed by their hosts, which were re-laid out above; they are
    // only told that the screen changed, so that they pick their own layout.
    for (int i = 0; i < count; ++i) {
        ShellWindow *entry = FindShellWindow(windows[i]);
        if (!entry || entry->roles != ROLE_CHILD || !IsWindow(windows[i])) continue;
        RECT client;
        GetClientRect(windows[i], &client);
        SendMessageW(windows[i], WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
    }
    RefreshNavBar();
}

// Full-screen dialogs lose their caption and frame: the navigation bar shows the title.
static void StripDialogFrame(HWND dialog)
{
    LONG style = GetWindowLongW(dialog, GWL_STYLE);
    LONG exStyle = GetWindowLongW(dialog, GWL_EXSTYLE);
    LONG newStyle = style & ~(WS_CAPTION | WS_THICKFRAME);
    LONG newExStyle = exStyle & ~(WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE);
    if (newStyle == style && newExStyle == exStyle) return;
    SetWindowLongW(dialog, GWL_STYLE, newStyle);
    SetWindowLongW(dialog, GWL_EXSTYLE, newExStyle);
    SetWindowPos(dialog, NULL, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

extern "C" BOOL WINAPI SHInitDialog(PSHINITDLGINFO info)
{
    if (!info || !IsWindow(info->hDlg)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (!(info->dwMask & SHIDIM_FLAGS)) return TRUE;
    if (!EnsureShellClasses()) return FALSE;

    HWND dialog = info->hDlg;
    DWORD flags = info->dwFlags;
    BOOL sizing = (flags & (SHIDIF_SIZEDLG | SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_FULLSCREENNOMENUBAR)) != 0;

    // A child dialog (a page inside a tab control) is placed by its host and has no
    // Done key of its own; it only learns of screen changes.
    if (GetWindowLongW(dialog, GWL_STYLE) & WS_CHILD) {
        if (sizing) TrackShellWindow(dialog, ROLE_CHILD);
        return TRUE;
    }

    ShellWindow *entry = TrackShellWindow(dialog, ROLE_DIALOG);
    if (entry) {
        entry->initFlags = flags;
        entry->sized = sizing;
        entry->done = (flags & SHIDIF_DONEBUTTON) != 0;
    }
    if ((flags & SHIDIF_EMPTYMENU) && !FindMenuBarOf(dialog)) {
        SHMENUBARINFO bar;
        ZeroMemory(&bar, sizeof bar);
        bar.cbSize = sizeof bar;
        bar.hwndParent = dialog;
        bar.dwFlags = SHCMBF_EMPTYBAR;
        DWORD error = 0;
        CreateMenuBarWindow(&bar, &error);
    }
    if (sizing) {
        StripDialogFrame(dialog);
        FitToWorkArea(dialog, flags);
    }
    EnsureNavBar();
    RefreshNavBar();
    return TRUE;
}

extern "C" BOOL WINAPI SHDoneButton(HWND window, DWORD state)
{
    if (!IsWindow(window) || (state != SHDB_SHOW && state != SHDB_HIDE) ||
        (GetWindowLongW(window, GWL_STYLE) & WS_CHILD)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (!EnsureShellClasses()) return FALSE;
    ShellWindow *entry = FindShellWindow(window);
    if (!entry) entry = TrackShellWindow(window, ROLE_DIALOG);
    if (!entry) return FALSE;
    entry->done = (state == SHDB_SHOW);
    EnsureNavBar();
    RefreshNavBar();
    return TRUE;
}
