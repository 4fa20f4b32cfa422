// The main window: soft-key bar, splash, gauges, hot rows and command dispatch.
#include "app/rudore.h"
#include "aygshell.h"
#include "resource.h"

static SHACTIVATEINFO g_shellActivateInfo;

static void CreateMainMenuBar(HWND window)
{
    SHMENUBARINFO info;
    ZeroMemory(&info, sizeof info);
    info.cbSize = sizeof info;
    info.hwndParent = window;
    info.dwFlags = 0;
    info.nToolBarId = IDR_MAINMENU;
    info.hInstRes = g_hInstance;
    g_hMenuBar = SHCreateMenuBar(&info) ? info.hwndMB : NULL;
}

static BOOL HandleMainCommand(HWND window, WORD id)
{
    switch (id) {
    case IDM_EXIT:
        SendMessageW(window, WM_CLOSE, 0, 0);
        return TRUE;
    default:
        return FALSE;
    }
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        CreateMainMenuBar(window);
        ZeroMemory(&g_shellActivateInfo, sizeof g_shellActivateInfo);
        g_shellActivateInfo.cbSize = 12;
        return 0;
    case WM_ACTIVATE:
        SHHandleWMActivate(window, wParam, lParam, &g_shellActivateInfo, 0);
        return 0;
    case WM_SETTINGCHANGE:
        SHHandleWMSettingChange(window, wParam, lParam, &g_shellActivateInfo);
        return 0;
    case WM_DESTROY:
        if (g_hMenuBar) DestroyWindow(g_hMenuBar);
        PostQuitMessage(0);
        return 0;
    case WM_COMMAND:
        if (HandleMainCommand(window, LOWORD(wParam))) return 0;
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}
