// The simulated device's shell: its module, window classes and screen geometry.
#include "shell.h"
#include <commctrl.h>
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

// The common controls (tab control, up-down control, list view) that the device's
// dialog templates use. Loading them costs a program a good part of its start-up
// under Wine, and the first dialog comes well after the first paint: they are loaded
// as the first dialog of the thread is created, before its controls are.
static HHOOK g_controlsHook;

static void LoadCommonControls(void)
{
    HMODULE controls = LoadLibraryW(L"comctl32.dll");
    typedef BOOL(WINAPI * InitProc)(const INITCOMMONCONTROLSEX *);
    InitProc init = controls ? (InitProc)(void *)GetProcAddress(controls, "InitCommonControlsEx") : NULL;
    if (!init) return;
    INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_USEREX_CLASSES |
                                                        ICC_COOL_CLASSES | ICC_STANDARD_CLASSES};
    init(&classes);
}

static LRESULT CALLBACK LoadControlsBeforeDialogProc(int code, WPARAM wParam, LPARAM lParam)
{
    HHOOK hook = g_controlsHook;
    const ATOM kDialogClass = 0x8002;
    if (code == HCBT_CREATEWND && hook && GetClassLongPtrW((HWND)wParam, GCW_ATOM) == kDialogClass) {
        g_controlsHook = NULL;
        UnhookWindowsHookEx(hook);
        LoadCommonControls();
    }
    return CallNextHookEx(hook, code, wParam, lParam);
}

static void LoadControlsBeforeFirstDialog(void)
{
    if (GetModuleHandleW(L"comctl32.dll")) return;   // a program that loaded them itself
    g_controlsHook = SetWindowsHookExW(WH_CBT, LoadControlsBeforeDialogProc, NULL, GetCurrentThreadId());
    // Without the hook the controls are loaded at once.
    if (!g_controlsHook) LoadCommonControls();
}

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
    LoadControlsBeforeFirstDialog();
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
