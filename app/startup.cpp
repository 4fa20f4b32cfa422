// Start-up: the single instance, the main window and the message loop.
#include "app/rudore.h"
#include "aygshell.h"
#include "resource.h"

HINSTANCE g_hInstance;
HWND g_hMainWnd;
HWND g_hMenuBar;
DWORD g_platformGeneration;

// Main window style: visible, plus the tab-stop bit the device's templates carry.
static const DWORD kMainWindowStyle = WS_VISIBLE | WS_TABSTOP;

ATOM RegisterMainWindowClass(HINSTANCE instance, LPCWSTR className)
{
    WNDCLASSW wc;
    ZeroMemory(&wc, sizeof wc);
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = MainWindowProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_RUDORE));
    wc.hbrBackground = (HBRUSH)GetStockObject(WHITE_BRUSH);
    wc.lpszClassName = className;
    return RegisterClassW(&wc);
}

static DWORD PlatformGenerationFromVersion(DWORD major, DWORD minor)
{
    if (major >= 5) return 5;
    if (major == 4 && minor >= 20) return 3;
    return 1;
}

void ClassifyPlatformVersion(void)
{
    OSVERSIONINFOW version;
    ZeroMemory(&version, sizeof version);
    version.dwOSVersionInfoSize = sizeof version;
    GetVersionExW(&version);
    g_platformGeneration = PlatformGenerationFromVersion(version.dwMajorVersion, version.dwMinorVersion);
}

BOOL InitMainWindow(HINSTANCE instance, int showCommand)
{
    WCHAR title[200];
    WCHAR className[200];

    g_hInstance = instance;
    SHInitExtraControls();

    title[0] = className[0] = 0;
    LoadStringW(instance, IDS_TITLE, title, 200);
    LoadStringW(instance, IDS_CLASS, className, 200);

    // One copy only: bring the running one forward (the low bit asks for its owned
    // windows too) and end this one.
    HWND running = FindWindowW(className, title);
    if (running) {
        SetForegroundWindow((HWND)((ULONG_PTR)running | 1));
        return FALSE;
    }

    if (!RegisterMainWindowClass(instance, className)) return FALSE;

    HWND window = CreateWindowExW(0, className, title, kMainWindowStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                                  CW_USEDEFAULT, CW_USEDEFAULT, NULL, NULL, instance, NULL);
    if (!window) return FALSE;

    g_hMainWnd = window;
    ClassifyPlatformVersion();

    // End the window above the soft-key bar.
    if (g_hMenuBar) {
        RECT windowRect, barRect;
        GetWindowRect(window, &windowRect);
        GetWindowRect(g_hMenuBar, &barRect);
        int height = (windowRect.bottom - (barRect.bottom - barRect.top)) - windowRect.top;
        MoveWindow(window, windowRect.left, windowRect.top, windowRect.right - windowRect.left, height, FALSE);
    }

    ShowWindow(window, showCommand);
    UpdateWindow(window);
    return TRUE;
}

int RunMessageLoop(HACCEL accelerators)
{
    MSG msg;
    while (GetMessageW(&msg, NULL, 0, 0)) {
        if (!TranslateAcceleratorW(msg.hwnd, accelerators, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    return (int)msg.wParam;
}
