// The navigation bar: one strip across the top of the screen showing the title of the
// window in front and, when that window asked for one, its Done key "ok".
#include "shell.h"
#include "simdevice.h"

enum { kDoneWidth = 40, kTitleChars = 128 };

static HWND g_navBar;
static HFONT g_titleFont;

static HWND DoneKey(void)
{
    return g_navBar ? GetDlgItem(g_navBar, IDOK) : NULL;
}

void PlaceNavBar(void)
{
    if (!g_navBar) return;
    int cx = GetSystemMetrics(SM_CXSCREEN);
    SetWindowPos(g_navBar, NULL, 0, 0, cx, SIM_BAR_HEIGHT, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
    HWND done = DoneKey();
    if (done)
        SetWindowPos(done, NULL, cx - kDoneWidth - 2, 2, kDoneWidth, SIM_BAR_HEIGHT - 4,
                     SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
}

void RefreshNavBar(void)
{
    if (!g_navBar) return;
    ShellWindow *front = ActiveShellWindow();
    WCHAR title[kTitleChars], shown[kTitleChars];
    title[0] = shown[0] = 0;
    if (front) GetWindowTextW(front->window, title, kTitleChars);
    GetWindowTextW(g_navBar, shown, kTitleChars);
    if (lstrcmpW(title, shown) != 0) {
        SetWindowTextW(g_navBar, title);
        InvalidateRect(g_navBar, NULL, TRUE);
    }
    HWND done = DoneKey();
    if (done) ShowWindow(done, (front && front->done) ? SW_SHOWNA : SW_HIDE);
}

void RaiseNavBar(void)
{
    if (!g_navBar) return;
    // The display stacks a newly shown window over every other, topmost or not, and
    // restacks a window only when it really moves in the window order: the bar steps
    // down and back up to be drawn over the window just shown.
    const UINT flags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER;
    SetWindowPos(g_navBar, HWND_BOTTOM, 0, 0, 0, 0, flags);
    SetWindowPos(g_navBar, HWND_TOPMOST, 0, 0, 0, 0, flags);
}

static void OnDone(void)
{
    ShellWindow *front = ActiveShellWindow();
    if (front && front->done) SendMessageW(front->window, WM_COMMAND, IDOK, 0);
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

    WCHAR title[kTitleChars];
    int n = GetWindowTextW(bar, title, kTitleChars);
    rect.left += 6;
    rect.right -= kDoneWidth + 6;
    HGDIOBJ oldFont = SelectObject(dc, g_titleFont ? (HGDIOBJ)g_titleFont : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0xFF, 0xFF, 0xFF));
    DrawTextW(dc, title, n, &rect, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    SelectObject(dc, oldFont);
    EndPaint(bar, &ps);
}

LRESULT CALLBACK NavBarProc(HWND bar, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK && (HWND)lParam == DoneKey()) OnDone();
        return 0;
    case WM_DISPLAYCHANGE:
        ShellScreenChanged();
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        PaintNavBar(bar);
        return 0;
    case WM_NCDESTROY:
        if (bar == g_navBar) g_navBar = NULL;
        break;
    }
    return DefWindowProcW(bar, message, wParam, lParam);
}

HWND EnsureNavBar(void)
{
    if (g_navBar && IsWindow(g_navBar)) return g_navBar;
    g_navBar = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, SIM_NAVBAR_CLASS, L"",
                               WS_POPUP | WS_CLIPCHILDREN, 0, 0, 0, 0, NULL, NULL, ShellInstance(), NULL);
    if (!g_navBar) return NULL;
    if (!g_titleFont) {
        LOGFONTW font;
        if (GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font)) {
            font.lfWeight = FW_BOLD;
            g_titleFont = CreateFontIndirectW(&font);
        }
    }
    HWND done = CreateSoftKey(g_navBar, IDOK, L"ok");
    if (done) ShowWindow(done, SW_HIDE);
    PlaceNavBar();
    ShowWindow(g_navBar, SW_SHOWNA);
    return g_navBar;
}
