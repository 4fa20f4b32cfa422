#include "shell_testkit.h"
#include <ostream>

std::vector<WORD> DialogTemplate(DWORD style, const wchar_t *title, short x, short y, short cx, short cy)
{
    std::vector<WORD> words;
    words.push_back(LOWORD(style));
    words.push_back(HIWORD(style));
    words.push_back(0);   // extended style
    words.push_back(0);
    words.push_back(0);   // no items
    words.push_back((WORD)x);
    words.push_back((WORD)y);
    words.push_back((WORD)cx);
    words.push_back((WORD)cy);
    words.push_back(0);   // no menu
    words.push_back(0);   // default class
    for (const wchar_t *c = title; *c; ++c) words.push_back(*c);
    words.push_back(0);
    if (words.size() % 2) words.push_back(0);
    return words;
}

static INT_PTR CALLBACK ProbeDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    DialogProbe *probe = (DialogProbe *)GetWindowLongPtrW(dialog, DWLP_USER);
    switch (message) {
    case WM_INITDIALOG: {
        probe = (DialogProbe *)lParam;
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        probe->window = dialog;
        SHINITDLGINFO info = {SHIDIM_FLAGS, dialog, probe->shellFlags};
        SHInitDialog(&info);
        return TRUE;
    }
    case WM_SIZE:
        if (probe) {
            probe->sizeMessages++;
            probe->lastSize.cx = LOWORD(lParam);
            probe->lastSize.cy = HIWORD(lParam);
        }
        return FALSE;
    case WM_COMMAND:
        if (probe && wParam == IDOK) {
            probe->okCommands++;
            probe->okLParam = lParam;
            if (probe->endOnOk) {
                if (GetWindowLongW(dialog, GWL_STYLE) & WS_CHILD) DestroyWindow(dialog);
                else EndDialog(dialog, IDOK);
            }
            return TRUE;
        }
        return FALSE;
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

std::vector<CommandRecord> &SinkCommands()
{
    static std::vector<CommandRecord> commands;
    return commands;
}

static LRESULT CALLBACK CommandSinkProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND) {
        SinkCommands().push_back({wParam, lParam});
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND CreateCommandSink(int x, int y, int cx, int cy)
{
    static ATOM atom;
    if (!atom) {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = CommandSinkProc;
        wc.hInstance = GetModuleHandleW(NULL);
        wc.lpszClassName = L"ShellTestSink";
        wc.hbrBackground = (HBRUSH)GetStockObject(WHITE_BRUSH);
        atom = RegisterClassW(&wc);
    }
    return CreateWindowExW(0, L"ShellTestSink", L"Sink", WS_POPUP | WS_VISIBLE, x, y, cx, cy, NULL, NULL,
                           GetModuleHandleW(NULL), NULL);
}

HWND FindNavBar()
{
    HWND window = NULL;
    while ((window = FindWindowExW(NULL, window, SIM_NAVBAR_CLASS, NULL)) != NULL) {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        if (process == GetCurrentProcessId()) return window;
    }
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
    RECT r = {left, top, right, bottom};
    return r;
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
