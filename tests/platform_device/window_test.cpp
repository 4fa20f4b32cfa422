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

HWND DefaultWindow(DWORD style = 0x10010000)
{
    return CreateWindowExW(0, L"STATIC", L"default", style, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                           CW_USEDEFAULT, NULL, NULL, NULL, NULL);
}

void ExpectBelowTheBar(HWND window)
{
    RECT r = WindowRect(window);
    EXPECT_EQ(0, r.left);
    EXPECT_EQ(SIM_BAR_HEIGHT, r.top);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), r.right);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), r.bottom);
}

}

class DeviceWindows : public DeviceTest {};

TEST_F(DeviceWindows, DefaultWindowsFillTheScreenBelowTheBar)
{
    ASSERT_EQ(SIM_PORTRAIT, SimGetScreenShape());
    HWND main = DefaultWindow();
    ASSERT_TRUE(main != NULL);
    ExpectBelowTheBar(main);

    // Given coordinates are left as they are.
    HWND placed = CreateWindowExW(0, L"STATIC", L"placed", WS_POPUP, 10, 20, 100, 50, NULL, NULL, NULL, NULL);
    RECT r = WindowRect(placed);
    EXPECT_EQ(10, r.left);
    EXPECT_EQ(70, r.bottom);

    // On a turned screen the default follows the new size.
    ASSERT_TRUE(SimRotate(SIM_LANDSCAPE));
    HWND turned = DefaultWindow();
    ExpectBelowTheBar(turned);
    EXPECT_EQ(SIM_LANDSCAPE_CX, WindowRect(turned).right);
    ASSERT_TRUE(SimRotate(SIM_PORTRAIT));

    DestroyWindow(turned);
    DestroyWindow(placed);
    DestroyWindow(main);
}

TEST_F(DeviceWindows, ForegroundRequestIgnoresTheOwnedWindowsBit)
{
    HWND first = DefaultWindow(WS_POPUP | WS_VISIBLE);
    HWND second = DefaultWindow(WS_POPUP | WS_VISIBLE);
    ASSERT_TRUE(first && second);
    ASSERT_TRUE(SetForegroundWindow(second));
    PumpMessages(50);
    EXPECT_EQ(second, GetForegroundWindow());
    EXPECT_TRUE(SetForegroundWindow((HWND)((ULONG_PTR)first | 1)));
    PumpMessages(50);
    EXPECT_EQ(first, GetForegroundWindow());

    // With the bit, a window's active owned window comes along and takes the focus.
    HWND owned = CreateWindowExW(0, L"STATIC", L"owned", WS_POPUP | WS_VISIBLE, 50, 50, 100, 100, first, NULL, NULL, NULL);
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

TEST_F(DeviceWindows, RotationTurnsTheScreenAndIsRemembered)
{
    HWND window = DefaultWindow(WS_POPUP | WS_VISIBLE);
    ASSERT_TRUE(SimRotate(SIM_LANDSCAPE));
    EXPECT_EQ(SIM_LANDSCAPE_CX, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(SIM_LANDSCAPE_CY, GetSystemMetrics(SM_CYSCREEN));
    EXPECT_EQ(SIM_LANDSCAPE, SimGetScreenShape());
    ASSERT_TRUE(SimRotate(SIM_SQUARE));
    EXPECT_EQ(SIM_SQUARE, SimGetScreenShape());
    EXPECT_EQ(SIM_SQUARE_CY, GetSystemMetrics(SM_CYSCREEN));
    EXPECT_FALSE(SimRotate(7));
    EXPECT_EQ(SIM_SQUARE, SimGetScreenShape());

    // The profile remembers the shape. A desktop that starts again starts upright:
    // the restore turns it; one already turned in this session is left alone.
    ASSERT_TRUE(SimRotate(SIM_LANDSCAPE));
    ASSERT_TRUE(SetScreenSize(SIM_PORTRAIT_CX, SIM_PORTRAIT_CY));
    EXPECT_EQ(SIM_PORTRAIT, SimGetScreenShape());
    EXPECT_TRUE(SimRestoreScreenShape());
    EXPECT_EQ(SIM_LANDSCAPE, SimGetScreenShape());
    SimRotate(SIM_PORTRAIT);
    ASSERT_TRUE(SimRotate(SIM_SQUARE));
    ASSERT_TRUE(SetScreenSize(SIM_LANDSCAPE_CX, SIM_LANDSCAPE_CY));
    EXPECT_FALSE(SimRestoreScreenShape());
    EXPECT_EQ(SIM_LANDSCAPE, SimGetScreenShape());
    ASSERT_TRUE(SimRotate(SIM_PORTRAIT));
    EXPECT_TRUE(SimRestoreScreenShape());
    EXPECT_EQ(SIM_PORTRAIT, SimGetScreenShape());

    // The end of a test puts a turned screen upright again.
    ASSERT_TRUE(SimRotate(SIM_LANDSCAPE));
    SimTestEnd();
    EXPECT_EQ(SIM_PORTRAIT, SimGetScreenShape());
    EXPECT_EQ(SIM_PORTRAIT_CX, GetSystemMetrics(SM_CXSCREEN));
    SimTestBegin(SIM_TEST_ALL);
    DestroyWindow(window);
}
