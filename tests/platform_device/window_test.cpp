// Windows on the device screen: default placement, the foreground request, rotation.
#include <windows.h>
#include "testkit.h"

namespace {

RECT WindowRect(HWND window)
{
    RECT r = {0, 0, 0, 0};
    GetWindowRect(window, &r);
    return r;
}

HWND Popup(int x, int y, int cx, int cy, HWND owner = NULL)
{
    return CreateWindowExW(0, L"STATIC", L"popup", WS_POPUP | WS_VISIBLE, x, y, cx, cy, owner, NULL, NULL, NULL);
}

}

using DeviceWindows = DeviceTest;

TEST_F(DeviceWindows, DefaultWindowsFillTheScreenBelowTheBarInEveryShape)
{
    for (int shape : {SIM_PORTRAIT, SIM_LANDSCAPE, SIM_SQUARE}) {
        ASSERT_TRUE(SimRotate(shape));
        HWND window = Popup(CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT);
        RECT r = WindowRect(window);
        EXPECT_EQ(0, r.left) << shape;
        EXPECT_EQ(SIM_BAR_HEIGHT, r.top) << shape;
        EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), r.right) << shape;
        EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), r.bottom) << shape;
        DestroyWindow(window);
    }
    // Given coordinates are left as they are.
    HWND placed = Popup(10, 20, 100, 50);
    EXPECT_EQ(70, WindowRect(placed).bottom);
    DestroyWindow(placed);
}

TEST_F(DeviceWindows, ForegroundRequestWithTheOwnedWindowsBit)
{
    // With the bit, a window's active owned window comes along and takes the focus,
    // as a second copy of the program brings the first forward with its dialog.
    HWND first = Popup(0, 0, 200, 200);
    HWND second = Popup(0, 0, 200, 200);
    HWND owned = Popup(50, 50, 100, 100, first);
    SetActiveWindow(owned);
    SetForegroundWindow(second);
    PumpMessages(50);
    EXPECT_TRUE(SetForegroundWindow((HWND)((ULONG_PTR)first | 1)));
    PumpMessages(50);
    EXPECT_EQ(owned, GetForegroundWindow());
    EXPECT_FALSE(SetForegroundWindow((HWND)(ULONG_PTR)0x7FFFFFF1));
    DestroyWindow(owned);
    DestroyWindow(second);
    DestroyWindow(first);
}

TEST_F(DeviceWindows, RotationIsRememberedAndUndoneAtTheEndOfATest)
{
    ASSERT_TRUE(SimRotate(SIM_LANDSCAPE));
    EXPECT_EQ(SIM_LANDSCAPE_CY, GetSystemMetrics(SM_CYSCREEN));

    // A desktop that starts again starts upright: the restore turns it to the shape the
    // profile remembers; one already turned in this session is left alone.
    ASSERT_TRUE(SetScreenSize(SIM_PORTRAIT_CX, SIM_PORTRAIT_CY));
    EXPECT_TRUE(SimRestoreScreenShape());
    EXPECT_EQ(SIM_LANDSCAPE, SimGetScreenShape());
    ASSERT_TRUE(SimRotate(SIM_SQUARE));
    ASSERT_TRUE(SetScreenSize(SIM_LANDSCAPE_CX, SIM_LANDSCAPE_CY));
    EXPECT_FALSE(SimRestoreScreenShape());
    EXPECT_EQ(SIM_LANDSCAPE, SimGetScreenShape());

    SimTestEnd();
    EXPECT_EQ(SIM_PORTRAIT, SimGetScreenShape());
    EXPECT_EQ(SIM_PORTRAIT_CX, GetSystemMetrics(SM_CXSCREEN));
    SimTestBegin(SIM_TEST_ALL);
}
