// The simulated device's shell: its module and window classes, the activation
// handlers the main window calls, and the shell's ExitWindowsEx.
#include "shell.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

HINSTANCE ShellInstance(void)
{
    return (HINSTANCE)&__ImageBase;
}

SIZE ScreenSize(void)
{
    SIZE size = {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    return size;
}

BOOL MoveShellWindow(HWND window, RECT place)
{
    RECT now;
    if (GetWindowRect(window, &now) && EqualRect(&now, &place)) return FALSE;
    SetWindowPos(window, NULL, place.left, place.top, place.right - place.left, place.bottom - place.top,
                 SHELL_PLACE_FLAGS);
    return TRUE;
}

// The shell's own classes. The common controls that the device's dialog templates use
// are not loaded here: that costs a program a good part of its start-up under Wine,
// which loads them by itself the first time a window of one of their classes is made.
BOOL EnsureShellClasses(void)
{
    static BOOL registered;
    if (registered) return TRUE;
    const struct {
        const WCHAR *name;
        WNDPROC procedure;
    } classes[] = {{SIM_SOFTKEY_CLASS, SoftKeyProc}, {SIM_MENUBAR_CLASS, MenuBarProc}, {SIM_NAVBAR_CLASS, NavBarProc}};
    for (const auto &c : classes) {
        WNDCLASSW wc;
        ZeroMemory(&wc, sizeof wc);
        wc.lpfnWndProc = c.procedure;
        // Each bar and key keeps a device context of its own: one it gave back to the
        // shared ones would be handed back again, at some cost, at every turn.
        wc.style = CS_OWNDC;
        wc.hInstance = ShellInstance();
        wc.hCursor = LoadCursorW(NULL, (LPCWSTR)IDC_ARROW);
        wc.lpszClassName = c.name;
        if (!RegisterClassW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return FALSE;
    }
    // Our windows run code of this module: once any exists the module must stay.
    HMODULE pinned;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_PIN | GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                       (LPCWSTR)&EnsureShellClasses, &pinned);
    registered = TRUE;
    return TRUE;
}

extern "C" BOOL WINAPI SHInitExtraControls(void)
{
    return EnsureShellClasses();
}

// The caller keeps the state in its own activation record, which the device gives a
// size of 12: records of that size and of this build's both do.
static BOOL UsableActivateInfo(const SHACTIVATEINFO *info)
{
    if (!info || info->cbSize < 12) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return TRUE;
}

static BOOL OwnsFocusable(HWND window, HWND control)
{
    return control && IsWindow(control) && (control == window || IsChild(window, control)) &&
           IsWindowVisible(control) && IsWindowEnabled(control);
}

extern "C" BOOL WINAPI SHHandleWMActivate(HWND window, WPARAM wParam, LPARAM, SHACTIVATEINFO *info, DWORD flags)
{
    if (!UsableActivateInfo(info)) return FALSE;
    // This device has no input panel: it is never up.
    info->fSipOnDeactivation = info->fSipUp = 0;
    HWND focus = GetFocus();
    if (LOWORD(wParam) == WA_INACTIVE) {
        info->hwndLastFocus = (focus && IsWindow(window) && (focus == window || IsChild(window, focus))) ? focus : NULL;
        info->fActive = 0;
        return TRUE;
    }
    info->fActive = 1;
    // The caller does not pass activation on to the default handler, so the focus is put
    // back here: where it was when the window was left, else on the window. Dialogs look
    // after their own focus.
    if (!(flags & SHA_INPUTDIALOG) && !HIWORD(wParam) && IsWindow(window)) {
        if (OwnsFocusable(window, info->hwndLastFocus)) SetFocus(info->hwndLastFocus);
        else if (!OwnsFocusable(window, focus)) SetFocus(window);
    }
    return TRUE;
}

extern "C" BOOL WINAPI SHHandleWMSettingChange(HWND window, WPARAM wParam, LPARAM, SHACTIVATEINFO *info)
{
    if (!UsableActivateInfo(info)) return FALSE;
    if (wParam == SPI_SETSIPINFO || wParam == SETTINGCHANGE_RESET) {
        // The window gets back whatever the (absent) input panel would have taken.
        info->fSipUp = 0;
        FitShellDialog(window);
    }
    return TRUE;
}

// Only a restart is possible on this device.
extern "C" BOOL WINAPI Shell_ExitWindowsEx(UINT flags, DWORD reserved)
{
    SimRecordPowerAction(SIM_POWER_EXITWINDOWS, flags, reserved);
    if (flags != EWX_REBOOT) {
        SetLastError(ERROR_NOT_SUPPORTED);
        return FALSE;
    }
    // Ends the process unless a test asked for resets to be recorded only.
    SimSoftReset(TRUE);
    return TRUE;
}
