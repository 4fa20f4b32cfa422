// The shell's bars: soft-key bars at the bottom of the screen, each owned by the window
// it serves with one key per button of its menu-bar resource, and the navigation bar
// across the top showing the title of the window in front and its Done key "ok".
#include "shell.h"
#include <commctrl.h>

// ---- Keys: push buttons that never take the focus ----

enum { KEY_PRESSED = 1, kLabelChars = 64 };

static void ClickSoftKey(HWND key)
{
    SendMessageW(GetParent(key), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(key), BN_CLICKED), (LPARAM)key);
}

static void SetPressed(HWND key, BOOL pressed)
{
    if (pressed == (GetWindowLongPtrW(key, GWLP_USERDATA) & KEY_PRESSED)) return;
    SetWindowLongPtrW(key, GWLP_USERDATA, pressed ? KEY_PRESSED : 0);
    InvalidateRect(key, NULL, TRUE);
}

static BOOL PointInKey(HWND key, LPARAM lParam)
{
    RECT client;
    GetClientRect(key, &client);
    POINT pt = {(short)LOWORD(lParam), (short)HIWORD(lParam)};
    return PtInRect(&client, pt);
}

// Both bars draw their window's text the same way over what they filled, then end the paint.
static void DrawWindowText(HWND window, PAINTSTRUCT &ps, RECT rect, HGDIOBJ font, COLORREF color, UINT format)
{
    WCHAR text[128];   // a key label or a window title
    int n = GetWindowTextW(window, text, ARRAYSIZE(text));
    HGDIOBJ oldFont = SelectObject(ps.hdc, font);
    SetBkMode(ps.hdc, TRANSPARENT);
    SetTextColor(ps.hdc, color);
    DrawTextW(ps.hdc, text, n, &rect, format | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(ps.hdc, oldFont);
    EndPaint(window, &ps);
}

// A key's face, without its label.
static void DrawKeyFace(HDC dc, RECT rect, BOOL pressed)
{
    FillRect(dc, &rect, GetSysColorBrush(pressed ? COLOR_HIGHLIGHT : COLOR_BTNFACE));
    DrawEdge(dc, &rect, pressed ? EDGE_SUNKEN : BDR_RAISEDINNER, BF_RECT);
}

static void PaintSoftKey(HWND key)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(key, &ps);
    RECT rect;
    GetClientRect(key, &rect);
    BOOL pressed = (GetWindowLongPtrW(key, GWLP_USERDATA) & KEY_PRESSED) != 0;
    DrawKeyFace(dc, rect, pressed);
    DrawWindowText(key, ps, rect, GetStockObject(DEFAULT_GUI_FONT),
                   GetSysColor(!IsWindowEnabled(key) ? COLOR_GRAYTEXT : pressed ? COLOR_HIGHLIGHTTEXT : COLOR_BTNTEXT),
                   DT_CENTER);
}

LRESULT CALLBACK SoftKeyProc(HWND key, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_LBUTTONDOWN:
        SetCapture(key);
        SetPressed(key, TRUE);
        return 0;
    case WM_MOUSEMOVE:
        if (GetCapture() == key) SetPressed(key, PointInKey(key, lParam));
        return 0;
    case WM_LBUTTONUP:
        if (GetCapture() == key) {
            BOOL inside = PointInKey(key, lParam);
            ReleaseCapture();
            if (inside) ClickSoftKey(key);
        }
        return 0;
    case WM_CAPTURECHANGED:
        SetPressed(key, FALSE);
        return 0;
    case BM_CLICK:
        // A key the user cannot see or use cannot be tapped either.
        if (IsWindowVisible(key) && IsWindowEnabled(key)) ClickSoftKey(key);
        return 0;
    case WM_ENABLE:
    case WM_SETTEXT:
        InvalidateRect(key, NULL, TRUE);
        break;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        PaintSoftKey(key);
        return 0;
    }
    return DefWindowProcW(key, message, wParam, lParam);
}

static HWND CreateSoftKey(HWND parent, UINT id, const WCHAR *label)
{
    return CreateWindowExW(0, SIM_SOFTKEY_CLASS, label, WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, parent,
                           (HMENU)(UINT_PTR)id, ShellInstance(), NULL);
}

// ---- Soft-key bars ----

// Per button in the resource: image, command, state, style, string, 0, popup index.
enum { kMaxKeys = 8, kWordsPerButton = 7, kEmptyBarKeys = 2 };

struct MenuBarData {
    HWND  parent;     // receives the commands
    HMENU menu;       // loaded from the resource; the bar destroys it
    BOOL  empty;      // an empty bar: its key places are drawn, with no keys in them
    int   keyCount;
    struct {
        HWND key;
        WORD command, popup;   // popup: index into the bar's menu, or NOMENU
    } keys[kMaxKeys];
};

static MenuBarData *BarData(HWND bar)
{
    return (MenuBarData *)GetWindowLongPtrW(bar, GWLP_USERDATA);
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
        WCHAR label[kLabelChars] = L"";
        if (button[4]) LoadStringW(instance, button[4], label, kLabelChars);
        HWND key = CreateSoftKey(bar, button[1], label);
        if (!key) continue;
        data->keys[data->keyCount++] = {key, button[1], button[6]};
        if (!(button[2] & TBSTATE_ENABLED)) EnableWindow(key, FALSE);
        if (button[2] & TBSTATE_HIDDEN) ShowWindow(key, SW_HIDE);
    }
    return 0;
}

// Across the bottom of the screen.
static RECT MenuBarPlace(SIZE screen)
{
    RECT place = {0, screen.cy - SIM_BAR_HEIGHT, screen.cx, screen.cy};
    return place;
}

// The keys share the bar's width equally.
static RECT KeyPlace(int index, int count, int cx)
{
    RECT place = {index * cx / count, 0, (index + 1) * cx / count, SIM_BAR_HEIGHT};
    return place;
}

static void PlaceKeys(const MenuBarData *data, int cx)
{
    for (int i = 0; i < data->keyCount; ++i) {
        RECT place = KeyPlace(i, data->keyCount, cx);
        SetWindowPos(data->keys[i].key, NULL, place.left, 0, place.right - place.left, SIM_BAR_HEIGHT,
                     SHELL_PLACE_FLAGS);
    }
}

void PlaceMenuBar(HWND bar, SIZE screen)
{
    MenuBarData *data = BarData(bar);
    if (!data || !MoveShellWindow(bar, MenuBarPlace(screen))) return;
    PlaceKeys(data, screen.cx);
    InvalidateRect(bar, NULL, TRUE);
    for (int i = 0; i < data->keyCount; ++i) InvalidateRect(data->keys[i].key, NULL, TRUE);
}

// The device draws an empty bar as it draws any other: the two key places are there,
// unlabelled and disabled. They are only drawn: nothing on the bar takes a tap or
// sends a command, and there are no windows to lay out and paint at every turn.
static void PaintEmptyBar(HWND bar)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(bar, &ps);
    RECT client;
    GetClientRect(bar, &client);
    for (int i = 0; i < kEmptyBarKeys; ++i) DrawKeyFace(dc, KeyPlace(i, kEmptyBarKeys, client.right), FALSE);
    EndPaint(bar, &ps);
}

// A key was tapped: its command goes to the parent, or its popup opens above it and the
// chosen command goes to the parent.
static void OnKeyClicked(HWND bar, HWND key)
{
    MenuBarData *data = BarData(bar);
    int i = 0;
    while (data && i < data->keyCount && data->keys[i].key != key) ++i;
    if (!data || i == data->keyCount) return;
    HWND parent = data->parent;
    // A window that takes no input (its modal dialog is up) takes no soft keys either.
    HWND root = GetAncestor(parent, GA_ROOT);
    if (!IsWindowEnabled(root ? root : parent)) return;
    UINT command = data->keys[i].command, popupIndex = data->keys[i].popup;
    HMENU popup = popupIndex != NOMENU && data->menu ? GetSubMenu(data->menu, popupIndex) : NULL;
    if (popup) {
        RECT at;
        GetWindowRect(key, &at);
        BOOL rightHalf = (at.left + at.right) / 2 > GetSystemMetrics(SM_CXSCREEN) / 2;
        UINT flags = TPM_RETURNCMD | TPM_BOTTOMALIGN | (rightHalf ? TPM_RIGHTALIGN : TPM_LEFTALIGN);
        command = (UINT)TrackPopupMenuEx(popup, flags, rightHalf ? at.right : at.left, at.top, bar, NULL);
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
        if (MenuBarData *data = BarData(bar)) {
            if (data->menu) DestroyMenu(data->menu);
            HeapFree(GetProcessHeap(), 0, data);
        }
        SetWindowLongPtrW(bar, GWLP_USERDATA, 0);
        break;
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED && lParam) OnKeyClicked(bar, (HWND)lParam);
        return 0;
    case WM_DISPLAYCHANGE:
        NoticeScreenChange(lParam);
        return 0;
    case WM_ERASEBKGND: {
        MenuBarData *data = BarData(bar);
        if (data && data->empty) return 1;   // its paint covers it whole
        RECT rect;
        GetClientRect(bar, &rect);
        FillRect((HDC)wParam, &rect, GetSysColorBrush(COLOR_BTNFACE));
        return 1;
    }
    case WM_PAINT: {
        MenuBarData *data = BarData(bar);
        if (!data || !data->empty) break;
        PaintEmptyBar(bar);
        return 0;
    }
    case SHCMBM_OVERRIDEKEY:
        // The device's hardware keys do not exist here: there is nothing to override.
        return TRUE;
    }
    return DefWindowProcW(bar, message, wParam, lParam);
}

HWND CreateMenuBar(HWND parent, HINSTANCE instance, UINT id, DWORD flags, DWORD *error)
{
    MenuBarData *data = (MenuBarData *)HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(MenuBarData));
    if (!data) {
        *error = ERROR_NOT_ENOUGH_MEMORY;
        return NULL;
    }
    data->parent = parent;
    // Owned by its parent, so that it goes with it; the data goes with the bar.
    // Made where it stands: a top-level window moved after it is made costs the display
    // another round of work.
    RECT place = MenuBarPlace(ScreenSize());
    HWND bar = CreateWindowExW(WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW, SIM_MENUBAR_CLASS, L"", WS_POPUP | WS_CLIPCHILDREN,
                               place.left, place.top, place.right - place.left, place.bottom - place.top, parent, NULL,
                               ShellInstance(), data);
    if (!bar) {
        *error = GetLastError();
        HeapFree(GetProcessHeap(), 0, data);
        return NULL;
    }
    data->empty = (flags & SHCMBF_EMPTYBAR) != 0;
    *error = data->empty ? 0 : LoadBarResource(instance, id, bar, data);
    if (*error) {
        DestroyWindow(bar);
        return NULL;
    }
    PlaceKeys(data, place.right - place.left);
    ShowWindow(bar, SW_SHOWNA);
    return bar;
}

// ---- The navigation bar ----

enum { kDoneWidth = 40, kTitleChars = 128 };

static HWND g_navBar;
static HWND g_navDone;   // its Done key: each lookup by id would ask the server
static HFONT g_titleFont;

HWND NavBarWindow(void)
{
    return g_navBar;
}

// The Done key stands at the bar's right end.
static void PlaceDoneKey(int cx)
{
    if (!g_navDone) return;
    SetWindowPos(g_navDone, NULL, cx - kDoneWidth - 2, 2, kDoneWidth, SIM_BAR_HEIGHT - 4, SHELL_PLACE_FLAGS);
    InvalidateRect(g_navDone, NULL, TRUE);
}

void PlaceNavBar(SIZE screen)
{
    RECT place = {0, 0, screen.cx, SIM_BAR_HEIGHT};
    if (!g_navBar || !MoveShellWindow(g_navBar, place)) return;
    PlaceDoneKey(screen.cx);
    InvalidateRect(g_navBar, NULL, TRUE);
}

void RefreshNavBar(void)
{
    if (!g_navBar) return;
    ShellWindow *front = ActiveShellWindow();
    WCHAR title[kTitleChars] = L"", shown[kTitleChars] = L"";
    if (front) GetWindowTextW(front->window, title, kTitleChars);
    GetWindowTextW(g_navBar, shown, kTitleChars);
    if (lstrcmpW(title, shown) != 0) {
        SetWindowTextW(g_navBar, title);
        InvalidateRect(g_navBar, NULL, TRUE);
    }
    // The Done key is made the first time a window asks for it. Showing a shown key
    // again is still a round of requests: only a change is made.
    BOOL wanted = front && front->done;
    if (!g_navDone && wanted) {
        g_navDone = CreateSoftKey(g_navBar, IDOK, L"ok");
        PlaceDoneKey(ScreenSize().cx);
    }
    if (!g_navDone) return;
    BOOL doneShown = (GetWindowLongW(g_navDone, GWL_STYLE) & WS_VISIBLE) != 0;
    if (doneShown != wanted) ShowWindow(g_navDone, wanted ? SW_SHOWNA : SW_HIDE);
}

void ShowNavBar(void)
{
    if (!g_navBar || !IsWindow(g_navBar)) {
        g_navBar = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, SIM_NAVBAR_CLASS, L"",
                                   WS_POPUP | WS_CLIPCHILDREN, 0, 0, ScreenSize().cx, SIM_BAR_HEIGHT, NULL, NULL,
                                   ShellInstance(), NULL);
        if (!g_navBar) return;
        LOGFONTW font;
        if (!g_titleFont && GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font)) {
            font.lfWeight = FW_BOLD;
            g_titleFont = CreateFontIndirectW(&font);
        }
        ShowWindow(g_navBar, SW_SHOWNA);
    }
    RefreshNavBar();
}

void RaiseNavBar(HWND shown)
{
    RECT bar, window, both;
    // Only a window that reaches under the bar could be drawn over it.
    if (!g_navBar || !GetWindowRect(g_navBar, &bar) || !GetWindowRect(shown, &window) ||
        !IntersectRect(&both, &bar, &window))
        return;
    // The display stacks a newly shown window over every other, topmost or not, and
    // restacks a window only when it really moves in the window order: the bar steps
    // down and back up to be drawn over the window just shown.
    const UINT flags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER;
    SetWindowPos(g_navBar, HWND_BOTTOM, 0, 0, 0, 0, flags);
    SetWindowPos(g_navBar, HWND_TOPMOST, 0, 0, 0, 0, flags);
}

static void PaintNavBar(HWND bar)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(bar, &ps);
    RECT rect;
    GetClientRect(bar, &rect);
    HBRUSH brush = CreateSolidBrush(RGB(0x10, 0x3C, 0x8C));
    FillRect(dc, &rect, brush);
    DeleteObject(brush);
    rect.left += 6;
    rect.right -= kDoneWidth + 6;
    DrawWindowText(bar, ps, rect, g_titleFont ? (HGDIOBJ)g_titleFont : GetStockObject(DEFAULT_GUI_FONT),
                   RGB(0xFF, 0xFF, 0xFF), DT_LEFT | DT_END_ELLIPSIS);
}

LRESULT CALLBACK NavBarProc(HWND bar, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_COMMAND:
        // Done: the window in front gets its IDOK.
        if (LOWORD(wParam) == IDOK && (HWND)lParam == g_navDone) {
            ShellWindow *front = ActiveShellWindow();
            if (front && front->done) SendMessageW(front->window, WM_COMMAND, IDOK, 0);
        }
        return 0;
    case WM_DISPLAYCHANGE:
        NoticeScreenChange(lParam);
        return 0;
    case SHELL_SCREEN_CHANGED:
        ShellScreenChanged();
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        PaintNavBar(bar);
        return 0;
    case WM_NCDESTROY:
        if (bar == g_navBar) g_navBar = g_navDone = NULL;
        break;
    }
    return DefWindowProcW(bar, message, wParam, lParam);
}
