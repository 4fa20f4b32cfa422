// Power: the power key, the dark screen, and which requests restart the device.
#include <windows.h>
#include "ceplatform.h"
#include "testkit.h"

namespace {

void PressPower()
{
    keybd_event(VK_OFF, 0, 0, 0);
    keybd_event(VK_OFF, 0, KEYEVENTF_KEYUP, 0);
}

bool AnyReset()
{
    SimPowerAction action;
    for (int i = 0; i < SimPowerActionCount() && SimGetPowerAction(i, &action); ++i)
        if (action.kind == SIM_POWER_SOFT_RESET || action.kind == SIM_POWER_HARD_RESET) return true;
    return false;
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

// The resets the program asks for are the power tools' tests; here what else the same
// entry points answer, and the clean-boot flag serving one reboot only.
TEST_F(PowerActions, OnlyTheResetRequestsReset)
{
    HMODULE library = LoadLibraryW(L"Coredll.dll");
    SetSystemPowerStateProc setState = (SetSystemPowerStateProc)(void *)GetProcAddress(library, "SetSystemPowerState");
    ASSERT_TRUE(setState != NULL);
    EXPECT_EQ((DWORD)ERROR_NOT_SUPPORTED, setState(NULL, 0x00100000, 0));
    EXPECT_NE((DWORD)ERROR_SUCCESS, setState(L"nonsense", POWER_STATE_RESET, 0));
    FreeLibrary(library);
    EXPECT_FALSE(KernelIoControl(0x01010054, NULL, 0, NULL, 0, NULL));
    EXPECT_FALSE(AnyReset());

    SetCleanRebootFlag();
    EXPECT_TRUE(KernelIoControl(IOCTL_HAL_REBOOT, NULL, 0, NULL, 0, NULL));
    EXPECT_FALSE(SimGetCleanBootFlag());
    SimClearRecords();
    EXPECT_TRUE(KernelIoControl(IOCTL_HAL_REBOOT, NULL, 0, NULL, 0, NULL));
    SimPowerAction last;
    ASSERT_TRUE(SimGetPowerAction(SimPowerActionCount() - 1, &last));
    EXPECT_EQ(SIM_POWER_SOFT_RESET, last.kind);
}
