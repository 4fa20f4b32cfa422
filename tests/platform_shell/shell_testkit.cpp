#include "shell_testkit.h"
#include <ostream>

std::vector<WORD> DialogTemplate(DWORD style, const wchar_t *title, short x, short y, short cx, short cy)
{
    // Style, extended style, no items, the box, no menu, the default class, the title.
    std::vector<WORD> words = {LOWORD(style), HIWORD(style), 0, 0, 0, (WORD)x, (WORD)y, (WORD)cx, (WORD)cy, 0, 0};
    for (const wchar_t *c = title; *c; ++c) words.push_back(*c);
    words.push_back(0);
    if (words.size() % 2) words.push_back(0);
    return words;
}

static INT_PTR CALLBACK ProbeDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    DialogProbe *probe = (DialogProbe *)GetWindowLongPtrW(dialog, DWLP_USER);
    if (message == WM_INITDIALOG) {
        probe = (DialogProbe *)lParam;
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        probe->window = dialog;
        SHINITDLGINFO info = {SHIDIM_FLAGS, dialog, probe->shellFlags};
        SHInitDialog(&info);
        return TRUE;
    }
    if (!probe) return FALSE;
    if (message == WM_SIZE) {
        probe->sizeMessages++;
        probe->lastSize = {LOWORD(lParam), HIWORD(lParam)};
    } else if (message == WM_COMMAND && wParam == IDOK) {
        probe->okCommands++;
        if (probe->endOnOk) {
            if (GetWindowLongW(dialog, GWL_STYLE) & WS_CHILD) DestroyWindow(dialog);
            else EndDialog(dialog, IDOK);
        }
        return TRUE;
    }
    return FALSE;
}

HWND CreateProbeDialog(const std::vector<WORD> &dialogTemplate, HWND parent, DialogProbe *probe)
{
    return CreateDialogIndirectParamW(GetModuleHandleW(NULL), (LPCDLGTEMPLATEW)dialogTemplate.data(), parent,
                                      ProbeDialogProc, (LPARAM)probe);
}

INT_PTR RunProbeDialog(const std::vector<WORD> &dialogTemplate, HWND owner, DialogProbe *probe)
{
    return DialogBoxIndirectParamW(GetModuleHandleW(NULL), (LPCDLGTEMPLATEW)dialogTemplate.data(), owner,
                                   ProbeDialogProc, (LPARAM)probe);
}

std::vector<WPARAM> &SinkCommands()
{
    static std::vector<WPARAM> commands;
    return commands;
}

static LRESULT CALLBACK CommandSinkProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_COMMAND) return DefWindowProcW(window, message, wParam, lParam);
    SinkCommands().push_back(LOWORD(wParam));
    return 0;
}

HWND CreateCommandSink(int x, int y, int cx, int cy)
{
    static ATOM atom;
    if (!atom) {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = CommandSinkProc;
        wc.hInstance = GetModuleHandleW(NULL);
        wc.lpszClassName = L"ShellTestSink";
        atom = RegisterClassW(&wc);
    }
    return CreateWindowExW(0, L"ShellTestSink", L"Sink", WS_POPUP | WS_VISIBLE, x, y, cx, cy, NULL, NULL,
                           GetModuleHandleW(NULL), NULL);
}

HWND FindNavBar()
{
    HWND window = NULL;
    DWORD process = 0;
    while ((window = FindWindowExW(NULL, window, SIM_NAVBAR_CLASS, NULL)) != NULL)
        if (GetWindowThreadProcessId(window, &process) && process == GetCurrentProcessId()) return window;
    return NULL;
}

HWND FindDoneKey()
{
    HWND nav = FindNavBar();
    return nav ? GetDlgItem(nav, IDOK) : NULL;
}

HWND FindKey(HWND bar, const wchar_t *label)
{
    return FindWindowExW(bar, NULL, NULL, label);
}

HWND OwnedBar(HWND owner)
{
    HWND window = NULL;
    while ((window = FindWindowExW(NULL, window, SIM_MENUBAR_CLASS, NULL)) != NULL)
        if (GetWindow(window, GW_OWNER) == owner) return window;
    return NULL;
}

int ChildCount(HWND window)
{
    int n = 0;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) ++n;
    return n;
}

RECT WindowRect(HWND window)
{
    RECT r = {0, 0, 0, 0};
    GetWindowRect(window, &r);
    return r;
}

RECT MakeRect(int left, int top, int right, int bottom)
{
    return RECT{left, top, right, bottom};
}

bool operator==(const RECT &a, const RECT &b)
{
    return EqualRect(&a, &b) != 0;
}

std::ostream &operator<<(std::ostream &out, const RECT &r)
{
    return out << "(" << r.left << "," << r.top << ")-(" << r.right << "," << r.bottom << ")";
}

ScreenGuard::~ScreenGuard()
{
    SetScreenSize(SIM_PORTRAIT_CX, SIM_PORTRAIT_CY);
}

bool CreateBar(HWND parent, UINT id, DWORD flags, HWND *bar)
{
    SHMENUBARINFO info = {};
    info.cbSize = sizeof info;
    info.hwndParent = parent;
    info.dwFlags = flags;
    info.nToolBarId = id;
    info.hInstRes = GetModuleHandleW(NULL);
    BOOL ok = SHCreateMenuBar(&info);
    *bar = info.hwndMB;
    return ok != FALSE;
}
