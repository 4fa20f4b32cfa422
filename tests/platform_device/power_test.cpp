// The power key and the device's dark screen; the resets are the power tools' tests.
#include <windows.h>
#include "ceplatform.h"
#include "testkit.h"

namespace {

void PressPower()
{
    keybd_event(VK_OFF, 0, 0, 0);
    keybd_event(VK_OFF, 0, KEYEVENTF_KEYUP, 0);
}
}

using PowerActions = DeviceTest;

// The press itself is the power tools' test; here that in a test it darkens nothing
// (a dark screen would cover every later test) and a second press wakes.
TEST_F(PowerActions, InATestThePowerKeyLeavesTheScreenAlone)
{
    PressPower();
    EXPECT_TRUE(SimIsSuspended());
    EXPECT_TRUE(FindWindowW(L"DeviceScreenOff", NULL) == NULL);
    PressPower();
    EXPECT_FALSE(SimIsSuspended());
}

TEST(ScreenOff, DarkensTheScreenUntilATap)
{
    // Outside a test the device shows its dark screen, over everything.
    ASSERT_EQ(0u, SimTestFlags());
    PressPower();
    HWND dark = FindWindowW(L"DeviceScreenOff", NULL);
    ASSERT_TRUE(dark != NULL);
    EXPECT_TRUE(SimIsSuspended());
    EXPECT_TRUE(GetWindowLongW(dark, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(dark, WindowFromPoint({100, 300}));
    // Pressing down is not yet a tap; lifting is.
    SendMessageW(dark, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 300));
    EXPECT_TRUE(IsWindow(dark));
    SendMessageW(dark, WM_LBUTTONUP, 0, MAKELPARAM(100, 300));
    EXPECT_FALSE(IsWindow(dark));
    EXPECT_FALSE(SimIsSuspended());
}
