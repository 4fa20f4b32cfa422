// Settings-change notices reach this process's windows; what the pages announce is read
// from the records by their own tests.
#include <windows.h>
#include "testkit.h"

namespace {

int g_settingChanges;
WPARAM g_lastWParam;

LRESULT CALLBACK ListenerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SETTINGCHANGE) {
        ++g_settingChanges;
        g_lastWParam = wParam;
        return 0;
    }
    if (message == WM_USER + 7) return (LRESULT)(wParam * 3 + lParam);
    return DefWindowProcW(window, message, wParam, lParam);
}

}

using Broadcasts = DeviceTest;

TEST_F(Broadcasts, SettingChangesAreRecordedAndReachOwnWindows)
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = ListenerProc;
    wc.hInstance = GetModuleHandleW(NULL);
    wc.lpszClassName = L"ZrBroadcastListener";
    RegisterClassW(&wc);
    HWND listener = CreateWindowExW(0, wc.lpszClassName, L"listener", WS_POPUP, 0, 0, 10, 10, NULL, NULL,
                                    wc.hInstance, NULL);
    ASSERT_TRUE(listener != NULL);
    g_settingChanges = 0;

    // As the pages send it: recorded, and handled before the call returns.
    SendMessageW(HWND_BROADCAST, WM_SETTINGCHANGE, 0xF2, 0);
    EXPECT_EQ(1, g_settingChanges);
    EXPECT_EQ(0xF2u, g_lastWParam);
    EXPECT_EQ(1, SimBroadcastCount());

    // Messages to one window go straight on, unrecorded and with their answer.
    EXPECT_EQ(3 * 5 + 2, SendMessageW(listener, WM_USER + 7, 5, 2));
    SendMessageW(listener, WM_SETTINGCHANGE, 7, 0);
    EXPECT_EQ(2, g_settingChanges);
    EXPECT_EQ(1, SimBroadcastCount());
    DestroyWindow(listener);
}
