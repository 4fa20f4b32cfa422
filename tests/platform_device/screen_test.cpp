// What the program asks of the device's screen: a second copy brings the first forward
// with its dialog.
#include <windows.h>
#include "ceplatform.h"
#include "testkit.h"

static HWND Popup(int x, int cx, HWND owner = NULL)
{
    return CreateWindowExW(0, L"STATIC", L"popup", WS_POPUP | WS_VISIBLE, x, x, cx, cx, owner, NULL, NULL, NULL);
}

using DeviceScreen = DeviceTest;

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
