// Soft-key bars: a strip at the bottom of the screen, owned by the window it serves,
// with one key per button of its menu-bar resource.
#include "shell.h"
#include <commctrl.h>
#include "simdevice.h"

enum { kMaxKeys = 8, kMaxOverrides = 8, kLabelChars = 64, kDeviceRecordSize = 36 };
// Per button in the resource: image, command, state, style, string, 0, popup index.
enum { kWordsPerButton = 7 };

struct SoftKeyEntry {
    HWND  key;
    WORD  command;
    WORD  popup;        // index into the bar's menu, or NOMENU
    HMENU submenu;      // set by SHCMBM_SETSUBMENU or taken from an SHCMBF_HMENU menu
    BYTE  state;
    WCHAR label[kLabelChars];
};

struct KeyOverride {
    WORD key;
    WORD mask;
    WORD value;
};

struct MenuBarData {
    HWND         parent;     // receives the commands
    HMENU        menu;       // loaded from the resource; the bar destroys it
    int          keyCount;
    SoftKeyEntry keys[kMaxKeys];
    BOOL         colored;
    COLORREF     background;
    int          overrideCount;
    KeyOverride  overrides[kMaxOverrides];
};

static MenuBarData *BarData(HWND bar)
{
    return (MenuBarData *)GetWindowLongPtrW(bar, GWLP_USERDATA);
}

// Reads the menu-bar resource. A resource shorter than its button count says yields
// only the buttons it holds whole.
static BOOL LoadBarResource(HINSTANCE instance, UINT id, MenuBarData *data, DWORD *error)
{
    HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(id), (LPCWSTR)RT_RCDATA);
    HGLOBAL loaded = found ? LoadResource(instance, found) : NULL;
    const WORD *words = loaded ? (const WORD *)LockResource(loaded) : NULL;
    if (!words) {
        *error = ERROR_RESOURCE_NAME_NOT_FOUND;
        return FALSE;
    }
    DWORD wordCount = SizeofResource(instance, found) / sizeof(WORD);
    if (wordCount < 2) {
        *error = ERROR_INVALID_DATA;
        return FALSE;
    }
    WORD menuId = words[0];
    DWORD buttons = words[1];
    DWORD whole = (wordCount - 2) / kWordsPerButton;
    if (buttons > whole) buttons = whole;
    if (buttons > kMaxKeys) buttons = kMaxKeys;

    data->menu = menuId ? LoadMenuW(instance, MAKEINTRESOURCEW(menuId)) : NULL;
    for (DWORD i = 0; i < buttons; ++i) {
        const WORD *button = words + 2 + i * kWordsPerButton;
        SoftKeyEntry *entry = &data->keys[data->keyCount++];
        entry->command = button[1];
        entry->state = (BYTE)button[2];
        entry->popup = button[6];
        entry->label[0] = 0;
        if (button[4]) LoadStringW(instance, button[4], entry->label, kLabelChars);
    }
    return TRUE;
}

// SHCMBF_HMENU: the bar shows the top-level items of a menu resource.
static BOOL LoadBarMenu(HINSTANCE instance, UINT id, MenuBarData *data, DWORD *error)
{
    data->menu = LoadMenuW(instance, MAKEINTRESOURCEW(id));
    if (!data->menu) {
        *error = ERROR_RESOURCE_NAME_NOT_FOUND;
        return FALSE;
    }
    int items = GetMenuItemCount(data->menu);
    for (int i = 0; i < items && data->keyCount < kMaxKeys; ++i) {
        SoftKeyEntry *entry = &data->keys[data->keyCount++];
        UINT itemState = GetMenuState(data->menu, i, MF_BYPOSITION);
        entry->submenu = GetSubMenu(data->menu, i);
        entry->command = entry->submenu ? 0 : (WORD)GetMenuItemID(data->menu, i);
        entry->popup = NOMENU;
        entry->state = (itemState & (MF_GRAYED | MF_DISABLED)) ? 0 : TBSTATE_ENABLED;
        entry->label[0] = 0;
        GetMenuStringW(data->menu, i, entry->label, kLabelChars, MF_BYPOSITION);
    }
    return TRUE;
}

static HMENU KeyPopup(const MenuBarData *data, int index)
{
    const SoftKeyEntry *entry = &data->keys[index];
    if (entry->submenu) return entry->submenu;
    if (entry->popup == NOMENU || !data->menu) return NULL;
    return GetSubMenu(data->menu, entry->popup);
}

static int KeyIndexByCommand(const MenuBarData *data, UINT command)
{
    for (int i = 0; i < data->keyCount; ++i)
        if (data->keys[i].command == command) return i;
    return -1;
}

void PlaceMenuBar(HWND bar)
{
    MenuBarData *data = BarData(bar);
    if (!data) return;
    int cx = GetSystemMetrics(SM_CXSCREEN);
    int cy = GetSystemMetrics(SM_CYSCREEN);
    // The bar and its keys are drawn afresh at their new places: the old picture is not
    // copied over first.
    SetWindowPos(bar, NULL, 0, cy - SIM_BAR_HEIGHT, cx, SIM_BAR_HEIGHT, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
    if (data->keyCount == 0) return;
    int width = cx / data->keyCount;
    for (int i = 0; i < data->keyCount; ++i) {
        int right = (i == data->keyCount - 1) ? cx : (i + 1) * width;
        SetWindowPos(data->keys[i].key, NULL, i * width, 0, right - i * width, SIM_BAR_HEIGHT,
                     SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
    }
}

// A key was tapped: its command goes to the parent, or its popup opens above it and the
// chosen command goes to the parent.
static void OnKeyClicked(HWND bar, HWND key)
{
    MenuBarData *data = BarData(bar);
    if (!data) return;
    int index = -1;
    for (int i = 0; i < data->keyCount; ++i)
        if (data->keys[i].key == key) index = i;
    if (index < 0) return;

    HWND parent = data->parent;
    // A window that takes no input (its modal dialog is up) takes no soft keys either.
    HWND root = GetAncestor(parent, GA_ROOT);
    if (!IsWindowEnabled(root ? root : parent)) return;
    UINT command = data->keys[index].command;
    HMENU popup = KeyPopup(data, index);
    if (popup) {
        RECT keyRect;
        GetWindowRect(key, &keyRect);
        BOOL rightHalf = (keyRect.left + keyRect.right) / 2 > GetSystemMetrics(SM_CXSCREEN) / 2;
        UINT flags = TPM_RETURNCMD | TPM_BOTTOMALIGN | (rightHalf ? TPM_RIGHTALIGN : TPM_LEFTALIGN);
        command = (UINT)TrackPopupMenuEx(popup, flags, rightHalf ? keyRect.right : keyRect.left,
                                         keyRect.top, bar, NULL);
        if (!command) return;
    }
    // The command may close the parent and this bar with it: nothing of the bar is
    // touched after it.
    if (IsWindow(parent)) SendMessageW(parent, WM_COMMAND, MAKEWPARAM(command, 0), 0);
}

static LRESULT OverrideKey(MenuBarData *data, WPARAM key, LPARAM lParam)
{
    for (int i = 0; i < data->overrideCount; ++i) {
        if (data->overrides[i].key == key) {
            data->overrides[i].mask = LOWORD(lParam);
            data->overrides[i].value = HIWORD(lParam);
            return TRUE;
        }
    }
    if (data->overrideCount == kMaxOverrides) return FALSE;
    KeyOverride *entry = &data->overrides[data->overrideCount++];
    entry->key = (WORD)key;
    entry->mask = LOWORD(lParam);
    entry->value = HIWORD(lParam);
    return TRUE;
}

static void PaintMenuBar(HWND bar)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(bar, &ps);
    MenuBarData *data = BarData(bar);
    RECT rect;
    GetClientRect(bar, &rect);
    if (data && data->colored) {
        HBRUSH brush = CreateSolidBrush(data->background);
        FillRect(dc, &rect, brush);
        DeleteObject(brush);
    } else {
        FillRect(dc, &rect, GetSysColorBrush(COLOR_BTNFACE));
    }
    EndPaint(bar, &ps);
}

LRESULT CALLBACK MenuBarProc(HWND bar, UINT message, WPARAM wParam, LPARAM lParam)
{
    MenuBarData *data = BarData(bar);
    switch (message) {
    case WM_NCCREATE:
        SetWindowLongPtrW(bar, GWLP_USERDATA, (LONG_PTR)((CREATESTRUCTW *)lParam)->lpCreateParams);
        break;
    case WM_NCDESTROY:
        UnregisterMenuBar(bar);
        SetWindowLongPtrW(bar, GWLP_USERDATA, 0);
        if (data) {
            if (data->menu) DestroyMenu(data->menu);
            HeapFree(GetProcessHeap(), 0, data);
        }
        break;
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED && lParam) OnKeyClicked(bar, (HWND)lParam);
        return 0;
    case WM_INITMENUPOPUP:
        // The parent may want to check or grey items of the popup it is about to show.
        if (data && IsWindow(data->parent)) SendMessageW(data->parent, message, wParam, lParam);
        return 0;
    case WM_DISPLAYCHANGE:
        ShellScreenChanged();
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        PaintMenuBar(bar);
        return 0;
    case SHCMBM_GETMENU:
        return data ? (LRESULT)data->menu : 0;
    case SHCMBM_GETSUBMENU: {
        int index = data ? KeyIndexByCommand(data, (UINT)lParam) : -1;
        return index < 0 ? 0 : (LRESULT)KeyPopup(data, index);
    }
    case SHCMBM_SETSUBMENU: {
        int index = data ? KeyIndexByCommand(data, (UINT)wParam) : -1;
        if (index < 0) return 0;
        HMENU previous = KeyPopup(data, index);
        data->keys[index].submenu = (HMENU)lParam;
        return (LRESULT)previous;
    }
    case SHCMBM_OVERRIDEKEY:
        return data ? OverrideKey(data, wParam, lParam) : FALSE;
    }
    return DefWindowProcW(bar, message, wParam, lParam);
}

HWND MenuBarParent(HWND bar)
{
    MenuBarData *data = BarData(bar);
    return data ? data->parent : NULL;
}

HWND FindMenuBarOf(HWND window)
{
    HWND bars[64];
    int n = ListMenuBars(bars, 64);
    for (int i = 0; i < n; ++i)
        if (MenuBarParent(bars[i]) == window && (GetWindowLongW(bars[i], GWL_STYLE) & WS_VISIBLE))
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
    // The background colour lies at the end of the record; older, shorter records lack it.
    if ((info->dwFlags & SHCMBF_COLORBK) && info->cbSize >= sizeof(SHMENUBARINFO)) {
        data->colored = TRUE;
        data->background = info->clrBk;
    }
    BOOL loaded = TRUE;
    if (!(info->dwFlags & SHCMBF_EMPTYBAR)) {
        HINSTANCE instance = info->hInstRes ? info->hInstRes : GetModuleHandleW(NULL);
        loaded = (info->dwFlags & SHCMBF_HMENU) ? LoadBarMenu(instance, info->nToolBarId, data, error)
                                                : LoadBarResource(instance, info->nToolBarId, data, error);
    }
    if (!loaded) {
        if (data->menu) DestroyMenu(data->menu);
        HeapFree(GetProcessHeap(), 0, data);
        return NULL;
    }

    HWND bar = CreateWindowExW(WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW, SIM_MENUBAR_CLASS, L"",
                               WS_POPUP | WS_CLIPCHILDREN, 0, 0, 0, 0, info->hwndParent, NULL,
                               ShellInstance(), data);
    if (!bar) {
        *error = GetLastError();
        if (data->menu) DestroyMenu(data->menu);
        HeapFree(GetProcessHeap(), 0, data);
        return NULL;
    }
    for (int i = 0; i < data->keyCount; ++i) {
        SoftKeyEntry *entry = &data->keys[i];
        entry->key = CreateSoftKey(bar, entry->command, entry->label);
        if (!entry->key) continue;
        if (!(entry->state & TBSTATE_ENABLED)) EnableWindow(entry->key, FALSE);
        if (entry->state & TBSTATE_HIDDEN) ShowWindow(entry->key, SW_HIDE);
    }
    RegisterMenuBar(bar);
    PlaceMenuBar(bar);
    if (!(info->dwFlags & SHCMBF_HIDDEN)) ShowWindow(bar, SW_SHOWNA);
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
    DWORD failure = SimGetFailure(SIM_FAIL_MENUBAR);
    if (failure) {
        SetLastError(failure);
        return FALSE;
    }
    if (!IsWindow(info->hwndParent)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    if (!EnsureShellClasses()) return FALSE;

    DWORD error = 0;
    HWND bar = CreateMenuBarWindow(info, &error);
    if (!bar) {
        SetLastError(error);
        return FALSE;
    }
    info->hwndMB = bar;

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
