// Settings-change notices are recorded and, in a test, kept to this process.
#include <windows.h>
#include <string>
#include "testkit.h"

namespace {

int g_settingChanges;
WPARAM g_lastWParam;
std::wstring g_lastSection;

LRESULT CALLBACK ListenerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SETTINGCHANGE) {
        ++g_settingChanges;
        g_lastWParam = wParam;
        g_lastSection = lParam ? (const wchar_t *)lParam : L"";
        return 0;
    }
    if (message == WM_USER + 7) return (LRESULT)(wParam * 3 + lParam);
    return DefWindowProcW(window, message, wParam, lParam);
}

// Pumps until the count reaches `expected`, for at most two seconds.
void PumpUntilChanges(int expected)
{
    for (int i = 0; i < 100 && g_settingChanges < expected; ++i) PumpMessages(20);
}

HWND MakeListener()
{
    WNDCLASSW wc;
    ZeroMemory(&wc, sizeof wc);
    wc.lpfnWndProc = ListenerProc;
    wc.hInstance = GetModuleHandleW(NULL);
    wc.lpszClassName = L"ZrBroadcastListener";
    RegisterClassW(&wc);
    return CreateWindowExW(0, wc.lpszClassName, L"listener", WS_POPUP, 0, 0, 10, 10, NULL, NULL, wc.hInstance, NULL);
}

}

class Broadcasts : public DeviceTest {};

TEST_F(Broadcasts, SettingChangesAreRecordedAndReachOwnWindows)
{
    HWND listener = MakeListener();
    ASSERT_TRUE(listener != NULL);
    g_settingChanges = 0;

    // Sent to every window: recorded, and handled before the call returns.
    SendMessageW(HWND_BROADCAST, WM_SETTINGCHANGE, 0xF2, 0);
    EXPECT_EQ(1, g_settingChanges);
    EXPECT_EQ(0xF2u, g_lastWParam);

    // Posted to the desktop: recorded, reaches none of this process's windows.
    EXPECT_TRUE(PostMessageW(GetDesktopWindow(), WM_SETTINGCHANGE, 0, 0));
    PumpMessages(100);
    EXPECT_EQ(1, g_settingChanges);

    // Posted to every window: recorded, arrives once the queue is read.
    EXPECT_TRUE(PostMessageW(HWND_BROADCAST, WM_SETTINGCHANGE, 0x1234, 0));
    PumpUntilChanges(2);
    EXPECT_EQ(2, g_settingChanges);
    EXPECT_EQ(0x1234u, g_lastWParam);

    ASSERT_EQ(3, SimBroadcastCount());
    SimBroadcast b;
    ASSERT_TRUE(SimGetBroadcast(0, &b));
    EXPECT_FALSE(b.posted);
    EXPECT_EQ(HWND_BROADCAST, b.target);
    EXPECT_EQ((UINT)WM_SETTINGCHANGE, b.message);
    EXPECT_EQ(0xF2u, b.wParam);
    EXPECT_EQ(0, b.lParam);
    ASSERT_TRUE(SimGetBroadcast(1, &b));
    EXPECT_TRUE(b.posted);
    EXPECT_EQ(GetDesktopWindow(), b.target);
    ASSERT_TRUE(SimGetBroadcast(2, &b));
    EXPECT_TRUE(b.posted);
    EXPECT_EQ(HWND_BROADCAST, b.target);
    EXPECT_FALSE(SimGetBroadcast(3, &b));

    // Everything else goes straight on, unrecorded.
    EXPECT_EQ(3 * 5 + 2, SendMessageW(listener, WM_USER + 7, 5, 2));
    SendMessageW(listener, WM_SETTINGCHANGE, 7, 0);
    EXPECT_EQ(3, g_settingChanges);
    EXPECT_TRUE(PostMessageW(listener, WM_USER + 7, 1, 1));
    EXPECT_EQ(3, SimBroadcastCount());

    // A section name posted along arrives as text.
    EXPECT_TRUE(PostMessageW(HWND_BROADCAST, WM_SETTINGCHANGE, 0, (LPARAM)L"intl"));
    PumpUntilChanges(4);
    EXPECT_EQ(4, g_settingChanges);
    EXPECT_EQ(L"intl", g_lastSection);

    // The log keeps the latest when it is full.
    for (int i = 0; i < 300; ++i) SendMessageW(HWND_BROADCAST, WM_SETTINGCHANGE, i, 0);
    EXPECT_EQ(256, SimBroadcastCount());
    EXPECT_EQ(304, g_settingChanges);
    ASSERT_TRUE(SimGetBroadcast(255, &b));
    EXPECT_EQ(299u, b.wParam);
    DestroyWindow(listener);
}
