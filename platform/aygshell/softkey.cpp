// A key of the shell's bars: a push button that never takes the focus, so that a tap
// on a soft key or on Done leaves the window it serves active, as on the device.
#include "shell.h"

enum { KEY_PRESSED = 1 };

static void ClickSoftKey(HWND key)
{
    SendMessageW(GetParent(key), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(key), BN_CLICKED), (LPARAM)key);
}

static void SetPressed(HWND key, BOOL pressed)
{
    LONG_PTR state = GetWindowLongPtrW(key, GWLP_USERDATA);
    LONG_PTR wanted = pressed ? (state | KEY_PRESSED) : (state & ~KEY_PRESSED);
    if (wanted == state) return;
    SetWindowLongPtrW(key, GWLP_USERDATA, wanted);
    InvalidateRect(key, NULL, TRUE);
}

static BOOL PointInKey(HWND key, LPARAM lParam)
{
    RECT client;
    GetClientRect(key, &client);
    POINT pt = {(short)LOWORD(lParam), (short)HIWORD(lParam)};
    return PtInRect(&client, pt);
}

static void PaintSoftKey(HWND key)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(key, &ps);
    RECT rect;
    GetClientRect(key, &rect);
    BOOL pressed = (GetWindowLongPtrW(key, GWLP_USERDATA) & KEY_PRESSED) != 0;
    FillRect(dc, &rect, GetSysColorBrush(pressed ? COLOR_HIGHLIGHT : COLOR_BTNFACE));
    DrawEdge(dc, &rect, pressed ? EDGE_SUNKEN : BDR_RAISEDINNER, BF_RECT);

    WCHAR label[64];
    int n = GetWindowTextW(key, label, 64);
    HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(!IsWindowEnabled(key) ? COLOR_GRAYTEXT
                                 : pressed ? COLOR_HIGHLIGHTTEXT : COLOR_BTNTEXT));
    DrawTextW(dc, label, n, &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, oldFont);
    EndPaint(key, &ps);
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
            SetPressed(key, FALSE);
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
    case WM_SETTEXT: {
        LRESULT result = DefWindowProcW(key, message, wParam, lParam);
        InvalidateRect(key, NULL, TRUE);
        return result;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        PaintSoftKey(key);
        return 0;
    }
    return DefWindowProcW(key, message, wParam, lParam);
}

HWND CreateSoftKey(HWND parent, UINT id, const WCHAR *label)
{
    return CreateWindowExW(0, SIM_SOFTKEY_CLASS, label, WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, parent,
                           (HMENU)(UINT_PTR)id, ShellInstance(), NULL);
}
