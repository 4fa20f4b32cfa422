// The floor of the program's start-up: a bare window of the program's own class and
// title, of the same style and default size, painted once, and nothing else. The
// start-up benchmark starts it the way it starts the program.
//
// It does not load the device's libraries. Their default for a top-level window is the
// whole screen below the navigation bar, which it takes here itself: Wine's own default
// would make the floor a smaller window, cheaper to show and paint.
#include <windows.h>
#include "simdevice.h"

static LRESULT CALLBACK BareWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        BeginPaint(window, &paint);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int showCommand)
{
    WNDCLASSW wc;
    ZeroMemory(&wc, sizeof wc);
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = BareWindowProc;
    wc.hInstance = instance;
    wc.hbrBackground = (HBRUSH)GetStockObject(WHITE_BRUSH);
    wc.lpszClassName = L"ZEZARIVERARURIDOZ";
    if (!RegisterClassW(&wc)) return 1;
    int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
    HWND window = CreateWindowExW(0, wc.lpszClassName, L"Zelvo Rudore", WS_VISIBLE | WS_TABSTOP, 0, SIM_BAR_HEIGHT, cx,
                                  cy - SIM_BAR_HEIGHT, NULL, NULL, instance, NULL);
    if (!window) return 1;
    ShowWindow(window, showCommand);
    UpdateWindow(window);
    MSG msg;
    while (GetMessageW(&msg, NULL, 0, 0)) DispatchMessageW(&msg);
    return (int)msg.wParam;
}
