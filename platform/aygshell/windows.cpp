// The top-level windows the shell serves: full-screen dialogs and the windows that carry
// a soft-key bar, kept in shape when the screen turns.
#include "shell.h"

// Bounded: entries go with their windows, and a table full of live windows takes no
// more (those windows are sized once but not kept in shape).
enum { kMaxWindows = 64 };

static ShellWindow g_windows[kMaxWindows];
static int g_windowCount;
static DWORD g_order;
// The screen size everything was last laid out for.
static SIZE g_screen;
// The navigation bar, while a change of the screen waits in its queue, and the size the
// change's notice gave (none: ask the display).
static HWND g_changePostedTo;
static SIZE g_changedTo;

static ShellWindow *FindShellWindow(HWND window)
{
    for (int i = 0; window && i < g_windowCount; ++i)
        if (g_windows[i].window == window) return &g_windows[i];
    return NULL;
}

// The window's soft-key bar while it lives.
static HWND BarOf(const ShellWindow *entry)
{
    HWND bar = entry ? entry->bar : NULL;
    return bar && IsWindow(bar) && GetWindow(bar, GW_OWNER) == entry->window ? bar : NULL;
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
        NoticeScreenChange(lParam);
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
        *tracked = g_windows[--g_windowCount];
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
        if (flags & SWP_SHOWWINDOW) RaiseNavBar(window);
        return result;
    }
    }
    return CallWindowProcW(previous, window, message, wParam, lParam);
}

static ShellWindow *TrackShellWindow(HWND window)
{
    if (g_screen.cx == 0 && g_screen.cy == 0) g_screen = ScreenSize();
    ShellWindow *entry = FindShellWindow(window);
    if (entry || g_windowCount == kMaxWindows) return entry;
    entry = &g_windows[g_windowCount];
    ZeroMemory(entry, sizeof *entry);
    entry->window = window;
    entry->order = ++g_order;
    entry->previous = (WNDPROC)SetWindowLongPtrW(window, GWLP_WNDPROC, (LONG_PTR)TrackedWindowProc);
    if (!entry->previous) return NULL;
    ++g_windowCount;
    return entry;
}

ShellWindow *ActiveShellWindow(void)
{
    ShellWindow *best = NULL;
    HWND active = GetActiveWindow();
    for (int i = 0; i < g_windowCount; ++i) {
        ShellWindow *entry = &g_windows[i];
        // A modal dialog is active a moment before it is first shown.
        if (!IsWindow(entry->window) || !IsWindowEnabled(entry->window) ||
            (!IsWindowVisible(entry->window) && entry->window != active))
            continue;
        if (!best || entry->order > best->order) best = entry;
    }
    return best;
}

// The screen below the navigation bar, less the soft-key bar when the window has one.
static void FitToWorkArea(const ShellWindow *entry, SIZE screen)
{
    int bottom = screen.cy - (BarOf(entry) ? SIM_BAR_HEIGHT : 0);
    if (bottom < SIM_BAR_HEIGHT) bottom = SIM_BAR_HEIGHT;
    // The window lays itself out anew at its new size, and is erased when it paints, once
    // its handler has laid it out. It is drawn, framed only if it has a frame, and with it
    // the children it draws over; a window that clips its children lays them out and draws
    // them itself.
    RECT place = {0, SIM_BAR_HEIGHT, screen.cx, bottom};
    if (!MoveShellWindow(entry->window, place)) return;
    RECT outer, inner;
    BOOL framed = GetWindowRect(entry->window, &outer) && GetClientRect(entry->window, &inner) &&
                  (outer.right - outer.left != inner.right || outer.bottom - outer.top != inner.bottom);
    RedrawWindow(entry->window, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | (framed ? RDW_FRAME : 0));
}

void FitShellDialog(HWND window)
{
    ShellWindow *entry = FindShellWindow(window);
    if (entry && entry->sized) FitToWorkArea(entry, ScreenSize());
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

// The display tells every top-level window of its change, one after the other, inside
// the call that changes it: the shell lays everything out once, after that call.
void NoticeScreenChange(LPARAM size)
{
    // The notice names the new size; each reading of it from the display would first ask
    // the server whether the display changed.
    g_changedTo.cx = LOWORD(size);
    g_changedTo.cy = HIWORD(size);
    // One change waits at a time; a bar that went with it in its queue is replaced.
    if (g_changePostedTo && IsWindow(g_changePostedTo)) return;
    HWND bar = NavBarWindow();
    g_changePostedTo = bar && PostMessageW(bar, SHELL_SCREEN_CHANGED, 0, 0) ? bar : NULL;
    if (!g_changePostedTo) ShellScreenChanged();
}

void ShellScreenChanged(void)
{
    g_changePostedTo = NULL;
    SIZE now = g_changedTo.cx > 0 && g_changedTo.cy > 0 ? g_changedTo : ScreenSize();
    g_changedTo.cx = g_changedTo.cy = 0;
    if (now.cx == g_screen.cx && now.cy == g_screen.cy) return;
    SIZE before = g_screen;
    g_screen = now;

    // The windows' handlers may create or destroy windows: work from a copy, and decide
    // which windows filled the old screen before anything moves.
    HWND windows[kMaxWindows];
    BOOL resize[kMaxWindows];
    int count = g_windowCount;
    for (int i = 0; i < count; ++i) {
        windows[i] = g_windows[i].window;
        resize[i] = g_windows[i].sized || (BarOf(&g_windows[i]) && FilledScreen(windows[i], before));
        if (BarOf(&g_windows[i])) PlaceMenuBar(g_windows[i].bar, now);
    }
    PlaceNavBar(now);
    for (int i = 0; i < count; ++i) {
        ShellWindow *entry = FindShellWindow(windows[i]);
        if (entry && resize[i]) FitToWorkArea(entry, now);
    }
    RefreshNavBar();
}

extern "C" BOOL WINAPI SHCreateMenuBar(SHMENUBARINFO *info)
{
    // Checked loosely: the device's own record is 36 bytes, this build's is longer.
    if (!info || info->cbSize < 36) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    info->hwndMB = NULL;
    HWND parent = info->hwndParent;
    DWORD error = SimGetFailure(SIM_FAIL_MENUBAR);
    if (!error && !IsWindow(parent)) error = ERROR_INVALID_WINDOW_HANDLE;
    if (!error && !EnsureShellClasses()) error = GetLastError();
    if (!error)
        info->hwndMB = CreateMenuBar(parent, info->hInstRes ? info->hInstRes : GetModuleHandleW(NULL),
                                     info->nToolBarId, info->dwFlags, &error);
    if (!info->hwndMB) {
        SetLastError(error);
        return FALSE;
    }
    ShellWindow *entry = (GetWindowLongW(parent, GWL_STYLE) & WS_CHILD) ? NULL : TrackShellWindow(parent);
    if (entry) {
        entry->bar = info->hwndMB;
        // A dialog the shell sized now ends above its bar.
        FitShellDialog(parent);
    }
    ShowNavBar();
    return TRUE;
}

// Full-screen dialogs lose their caption and frame: the navigation bar shows the title.
static void StripDialogFrame(HWND dialog)
{
    LONG style = GetWindowLongW(dialog, GWL_STYLE), exStyle = GetWindowLongW(dialog, GWL_EXSTYLE);
    LONG newStyle = style & ~(WS_CAPTION | WS_THICKFRAME);
    LONG newExStyle = exStyle & ~(WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE);
    if (newStyle == style && newExStyle == exStyle) return;
    SetWindowLongW(dialog, GWL_STYLE, newStyle);
    SetWindowLongW(dialog, GWL_EXSTYLE, newExStyle);
    SetWindowPos(dialog, NULL, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

extern "C" BOOL WINAPI SHInitDialog(PSHINITDLGINFO info)
{
    if (!info || !IsWindow(info->hDlg)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    HWND dialog = info->hDlg;
    // A child dialog (a page inside a tab control) is placed by its host, which keeps
    // the Done key.
    if (!(info->dwMask & SHIDIM_FLAGS) || (GetWindowLongW(dialog, GWL_STYLE) & WS_CHILD)) return TRUE;
    if (!EnsureShellClasses()) return FALSE;
    DWORD flags = info->dwFlags;
    ShellWindow *entry = TrackShellWindow(dialog);
    if (!entry) return FALSE;
    entry->order = ++g_order;
    entry->sized = (flags & (SHIDIF_SIZEDLG | SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_FULLSCREENNOMENUBAR)) != 0;
    entry->done = (flags & SHIDIF_DONEBUTTON) != 0;
    DWORD error = 0;
    if ((flags & SHIDIF_EMPTYMENU) && !BarOf(entry)) entry->bar = CreateMenuBar(dialog, NULL, 0, SHCMBF_EMPTYBAR, &error);
    if (entry->sized) {
        StripDialogFrame(dialog);
        FitToWorkArea(entry, ScreenSize());
    }
    ShowNavBar();
    return TRUE;
}

extern "C" BOOL WINAPI SHDoneButton(HWND window, DWORD state)
{
    if (!IsWindow(window) || (state != SHDB_SHOW && state != SHDB_HIDE) ||
        (GetWindowLongW(window, GWL_STYLE) & WS_CHILD)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    ShellWindow *entry = EnsureShellClasses() ? TrackShellWindow(window) : NULL;
    if (!entry) return FALSE;
    entry->done = (state == SHDB_SHOW);
    ShowNavBar();
    return TRUE;
}
