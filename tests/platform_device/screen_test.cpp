// What the program asks of the device's screen: its three shapes, and a second copy
// brings the first forward with its dialog.
#include <windows.h>
#include "ceplatform.h"
#include "testkit.h"

static HWND Popup(int x, int cx, HWND owner = NULL)
{
    return CreateWindowExW(0, L"STATIC", L"popup", WS_POPUP | WS_VISIBLE, x, x, cx, cx, owner, NULL, NULL, NULL);
}

// The size the desktop (named "Default" by the scripts) starts at, read from the user's
// real hive, which is where the desktop reads it and which the test's sandbox hides.
static std::wstring DesktopStartSize()
{
    typedef LONG(NTAPI * OpenUserProc)(ACCESS_MASK, HANDLE *);
    OpenUserProc openUser = (OpenUserProc)(void *)GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlOpenCurrentUser");
    HANDLE user;
    std::wstring size;
    if (openUser && openUser(KEY_READ, &user) == 0) {
        ReadRegString((HKEY)user, L"Software\\Wine\\Explorer\\Desktops", L"Default", &size);
        RegCloseKey((HKEY)user);
    }
    return size;
}

using DeviceScreen = DeviceTest;

// Every turn, from each shape to each other, gives the shape's size, and the desktop
// still starts upright after it; the device's own registry learns nothing of it. A
// device remembered square is turned back to it on a desktop that started upright.
TEST_F(DeviceScreen, TurnsBetweenItsThreeShapesAndTheDesktopStillStartsUpright)
{
    const struct { int shape, cx, cy; } turns[] = {
        {SIM_SQUARE, 480, 480},   {SIM_LANDSCAPE, 640, 480}, {SIM_SQUARE, 480, 480}, {SIM_PORTRAIT, 480, 640},
        {SIM_LANDSCAPE, 640, 480}, {SIM_PORTRAIT, 480, 640}, {SIM_SQUARE, 480, 480}};
    ASSERT_EQ(L"480x640", DesktopStartSize());
    for (const auto &t : turns) {
        SCOPED_TRACE(testing::Message() << "shape " << t.shape);
        EXPECT_TRUE(SimRotate(t.shape));
        EXPECT_EQ(t.cx, GetSystemMetrics(SM_CXSCREEN));
        EXPECT_EQ(t.cy, GetSystemMetrics(SM_CYSCREEN));
        EXPECT_EQ(t.shape, SimGetScreenShape());
        EXPECT_EQ(L"480x640", DesktopStartSize());
    }
    EXPECT_FALSE(RegKeyExists(CU, L"Software\\Wine\\Explorer\\Desktops"));

    // Upright again as a desktop starts, by way of a mode the desktop always offers.
    ASSERT_TRUE(SetScreenSize(640, 480) && SetScreenSize(480, 640));
    EXPECT_TRUE(SimRestoreScreenShape());
    EXPECT_EQ(480, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(480, GetSystemMetrics(SM_CYSCREEN));
    EXPECT_EQ(L"480x640", DesktopStartSize());
}

TEST_F(DeviceScreen, TheLowBitBringsAWindowForwardWithItsActiveOwnedWindow)
{
    HWND first = Popup(0, 200), second = Popup(0, 200), owned = Popup(50, 100, first);
    SetActiveWindow(owned);
    SetForegroundWindow(second);
    PumpMessages(50);
    EXPECT_TRUE(SetForegroundWindow((HWND)((ULONG_PTR)first | 1)));
    PumpMessages(50);
    EXPECT_EQ(owned, GetForegroundWindow());
    for (HWND w : {owned, second, first}) DestroyWindow(w);
}
