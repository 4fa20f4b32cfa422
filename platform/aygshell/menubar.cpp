// Soft-key bars: a strip at the bottom of the screen, owned by the window it serves,
// with one key per button of its menu-bar resource.
#include "shell.h"
#include <commctrl.h>
#include "simdevice.h"

enum { kMaxKeys = 8, kLabelChars = 64, kDeviceRecordSize = 36 };
// Per button in the resource: image, command, state, style, string, 0, popup index.
enum { kWordsPerButton = 7 };

struct SoftKeyEntry {
    HWND key;
    WORD command;
    WORD popup;         // index into the bar's menu, or NOMENU
};

struct MenuBarData {
    HWND         parent;     // receives the commands
    HMENU        menu;       // loaded from the resource; the bar destroys it
    int          keyCount;
    SoftKeyEntry keys[kMaxKeys];
};

static MenuBarData *BarData(HWND bar)
{
    return (MenuBarData *)GetWindowLongPtrW(bar, GWLP_USERDATA);
}

static void FreeBarData(MenuBarData *data)
{
    if (data->menu) DestroyMenu(data->menu);
    HeapFree(GetProcessHeap(), 0, data);
}

// Reads the menu-bar resource and makes its keys. A resource shorter than its button
// count says yields only the buttons it holds whole.
static DWORD LoadBarResource(HINSTANCE instance, UINT id, HWND bar, MenuBarData *data)
{
    HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(id), (LPCWSTR)RT_RCDATA);
    HGLOBAL loaded = found ? LoadResource(instance, found) : NULL;
    const WORD *words = loaded ? (const WORD *)LockResource(loaded) : NULL;
    if (!words) return ERROR_RESOURCE_NAME_NOT_FOUND;
    DWORD wordCount = SizeofResource(instance, found) / sizeof(WORD);
    if (wordCount < 2) return ERROR_INVALID_DATA;
    DWORD buttons = words[1];
    if (buttons > (wordCount - 2) / kWordsPerButton) buttons = (wordCount - 2) / kWordsPerButton;
    if (buttons > kMaxKeys) buttons = kMaxKeys;

    data->menu = words[0] ? LoadMenuW(instance, MAKEINTRESOURCEW(words[0])) : NULL;
    for (DWORD i = 0; i < buttons; ++i) {
        const WORD *button = words + 2 + i * kWordsPerButton;
        SoftKeyEntry *entry = &data->keys[data->keyCount++];
        WCHAR label[kLabelChars] = L"";
        if (button[4]) LoadStringW(instance, button[4], label, kLabelChars);
        entry->command = button[1];
        entry->popup = button[6];
        entry->key = CreateSoftKey(bar, entry->command, label);
        if (!entry->key) continue;
        if (!(button[2] & TBSTATE_ENABLED)) EnableWindow(entry->key, FALSE);
        if (button[2] & TBSTATE_HIDDEN) ShowWindow(entry->key, SW_HIDE);
    }
    return 0;
}

void PlaceMenuBar(HWND bar)
{
    MenuBarData *data = BarData(bar);
    if (!data) return;
    int cx = GetSystemMetrics(SM_CXSCREEN);
    int cy = GetSystemMetrics(SM_CYSCREEN);
    // The bar and its keys are drawn afresh at their new places: the old picture is not
    // copied over first.
    const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS;
    SetWindowPos(bar, NULL, 0, cy - SIM_BAR_HEIGHT, cx, SIM_BAR_HEIGHT, flags);
    for (int i = 0; i < data->keyCount; ++i) {
        int left = i * cx / data->keyCount, right = (i + 1) * cx / data->keyCount;
        SetWindowPos(data->keys[i].key, NULL, left, 0, right - left, SIM_BAR_HEIGHT, flags);
    }
}

// A key was tapped: its command goes to the parent, or its popup opens above it and the
// chosen command goes to the parent.
static void OnKeyClicked(HWND bar, HWND key)
{
    MenuBarData *data = BarData(bar);
    const SoftKeyEntry *entry = NULL;
    for (int i = 0; data && i < data->keyCount; ++i)
        if (data->keys[i].key == key) entry = &data->keys[i];
    if (!entry) return;

    HWND parent = data->parent;
    // A window that takes no input (its modal dialog is up) takes no soft keys either.
    HWND root = GetAncestor(parent, GA_ROOT);
    if (!IsWindowEnabled(root ? root : parent)) return;
    UINT command = entry->command;
    HMENU popup = entry->popup != NOMENU && data->menu ? GetSubMenu(data->menu, entry->popup) : NULL;
    if (popup) {
        RECT keyRect;
        GetWindowRect(key, &keyRect);
        BOOL rightHalf = (keyRect.left + keyRect.right) / 2 > GetSystemMetrics(SM_CXSCREEN) / 2;
        UINT flags = TPM_RETURNCMD | TPM_BOTTOMALIGN | (rightHalf ? TPM_RIGHTALIGN : TPM_LEFTALIGN);
        command = (UINT)TrackPopupMenuEx(popup, flags, rightHalf ? keyRect.right : keyRect.left, keyRect.top, bar, NULL);
        if (!command) return;
    }
    // The command may close the parent and this bar with it: nothing of the bar is
    // touched after it.
    if (IsWindow(parent)) SendMessageW(parent, WM_COMMAND, MAKEWPARAM(command, 0), 0);
}

LRESULT CALLBACK MenuBarProc(HWND bar, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_NCCREATE:
        SetWindowLongPtrW(bar, GWLP_USERDATA, (LONG_PTR)((CREATESTRUCTW *)lParam)->lpCreateParams);
        break;
    case WM_NCDESTROY:
        if (BarData(bar)) FreeBarData(BarData(bar));
        SetWindowLongPtrW(bar, GWLP_USERDATA, 0);
        break;
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED && lParam) OnKeyClicked(bar, (HWND)lParam);
        return 0;
    case WM_DISPLAYCHANGE:
        ShellScreenChanged();
        return 0;
    case WM_ERASEBKGND: {
        RECT rect;
        GetClientRect(bar, &rect);
        FillRect((HDC)wParam, &rect, GetSysColorBrush(COLOR_BTNFACE));
        return 1;
    }
    case SHCMBM_OVERRIDEKEY:
        // The device's hardware keys do not exist here: there is nothing to override.
        return TRUE;
    }
    return DefWindowProcW(bar, message, wParam, lParam);
}

// The bars of this thread, which runs every window of the shell.
struct BarList {
    HWND *bars;
    int count, max;
};

static BOOL CALLBACK CollectBar(HWND window, LPARAM context)
{
    BarList *list = (BarList *)context;
    WCHAR name[32];
    if (list->count < list->max && GetClassNameW(window, name, 32) && !lstrcmpW(name, SIM_MENUBAR_CLASS))
        list->bars[list->count++] = window;
    return TRUE;
}

int ListMenuBars(HWND *bars, int max)
{
    BarList list = {bars, 0, max};
    EnumThreadWindows(GetCurrentThreadId(), CollectBar, (LPARAM)&list);
    return list.count;
}

HWND FindMenuBarOf(HWND window)
{
    HWND bars[64];
    int n = ListMenuBars(bars, 64);
    for (int i = 0; i < n; ++i)
        if (BarData(bars[i]) && BarData(bars[i])->parent == window && (GetWindowLongW(bars[i], GWL_STYLE) & WS_VISIBLE))
            return bars[i];
    return NULL;
}

HWND CreateMenuBarWindow(const SHMENUBARINFO *info, DWORD *error)
{
    MenuBarData *data = (MenuBarData *)HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(MenuBarData));
    if (!data) {
        *error = ERROR_NOT_ENOUGH_MEMORY;
        return NULL;
    }
    data->parent = info->hwndParent;
    HWND bar = CreateWindowExW(WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW, SIM_MENUBAR_CLASS, L"",
                               WS_POPUP | WS_CLIPCHILDREN, 0, 0, 0, 0, info->hwndParent, NULL,
                               ShellInstance(), data);
    if (!bar) {
        *error = GetLastError();
        FreeBarData(data);
        return NULL;
    }
    if (!(info->dwFlags & SHCMBF_EMPTYBAR)) {
        *error = LoadBarResource(info->hInstRes ? info->hInstRes : GetModuleHandleW(NULL), info->nToolBarId, bar, data);
        if (*error) {
            DestroyWindow(bar);
            return NULL;
        }
    }
    PlaceMenuBar(bar);
    ShowWindow(bar, SW_SHOWNA);
    return bar;
}

extern "C" BOOL WINAPI SHCreateMenuBar(SHMENUBARINFO *info)
{
    // Checked loosely: the device's own record is 36 bytes, this build's is longer.
    if (!info || info->cbSize < kDeviceRecordSize) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    info->hwndMB = NULL;
    DWORD error = SimGetFailure(SIM_FAIL_MENUBAR);
    if (!error && !IsWindow(info->hwndParent)) error = ERROR_INVALID_WINDOW_HANDLE;
    if (error) {
        SetLastError(error);
        return FALSE;
    }
    if (!EnsureShellClasses()) return FALSE;
    info->hwndMB = CreateMenuBarWindow(info, &error);
    if (!info->hwndMB) {
        SetLastError(error);
        return FALSE;
    }
    HWND parent = info->hwndParent;
    if (!(GetWindowLongW(parent, GWL_STYLE) & WS_CHILD)) {
        ShellWindow *entry = TrackShellWindow(parent, ROLE_BAR_OWNER);
        // A dialog the shell sized now ends above its bar.
        if (entry && entry->sized) FitShellDialog(parent);
    }
    EnsureNavBar();
    RefreshNavBar();
    return TRUE;
}
