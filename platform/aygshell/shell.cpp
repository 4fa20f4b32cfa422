// The simulated device's shell: its module, window classes and screen geometry.
#include "shell.h"
#include "simdevice.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

HINSTANCE ShellInstance(void)
{
    return (HINSTANCE)&__ImageBase;
}

static BOOL RegisterShellClass(HINSTANCE instance, const WCHAR *name, WNDPROC procedure)
{
    WNDCLASSW wc;
    ZeroMemory(&wc, sizeof wc);
    wc.lpfnWndProc = procedure;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(NULL, (LPCWSTR)IDC_ARROW);
    wc.lpszClassName = name;
    return RegisterClassW(&wc) || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

// The shell's own classes. The common controls (tab control, up-down control, list
// view) that the device's dialog templates use are not loaded here: loading them
// costs a program a good part of its start-up under Wine, whose window manager loads
// them by itself the first time a window of one of their classes is created, well
// after the first paint.
BOOL EnsureShellClasses(void)
{
    static BOOL registered;
    if (registered) return TRUE;
    HINSTANCE instance = ShellInstance();
    if (!RegisterShellClass(instance, SIM_SOFTKEY_CLASS, SoftKeyProc) ||
        !RegisterShellClass(instance, SIM_MENUBAR_CLASS, MenuBarProc) ||
        !RegisterShellClass(instance, SIM_NAVBAR_CLASS, NavBarProc))
        return FALSE;
    // Our windows run code of this module: once any exists the module must stay.
    HMODULE pinned;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_PIN | GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                       (LPCWSTR)&EnsureShellClasses, &pinned);
    registered = TRUE;
    return TRUE;
}

RECT ShellWorkArea(void)
{
    RECT area;
    area.left = 0;
    area.top = SIM_BAR_HEIGHT;
    area.right = GetSystemMetrics(SM_CXSCREEN);
    area.bottom = GetSystemMetrics(SM_CYSCREEN);
    if (area.bottom < area.top) area.bottom = area.top;
    return area;
}

extern "C" BOOL WINAPI SHInitExtraControls(void)
{
    return EnsureShellClasses();
}
