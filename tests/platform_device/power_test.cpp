// Power actions: the power key, the power states and the reboot request.
#include <windows.h>
#include <vector>
#include "ceplatform.h"
#include "testkit.h"

namespace {

std::vector<SimPowerAction> Actions()
{
    std::vector<SimPowerAction> actions(SimPowerActionCount());
    for (size_t i = 0; i < actions.size(); ++i) SimGetPowerAction((int)i, &actions[i]);
    return actions;
}

// The resets themselves record what they did after what asked for them; any that
// follows must be of the expected kind and no other reset may appear.
void ExpectOnlyReset(const std::vector<SimPowerAction> &actions, size_t from, int kind)
{
    for (size_t i = from; i < actions.size(); ++i) {
        if (actions[i].kind == SIM_POWER_SOFT_RESET || actions[i].kind == SIM_POWER_HARD_RESET) {
            EXPECT_EQ(kind, actions[i].kind) << "action " << i;
        }
    }
}

SetSystemPowerStateProc LookUpSetSystemPowerState(HMODULE *library)
{
    *library = LoadLibraryW(L"Coredll.dll");
    return *library ? (SetSystemPowerStateProc)(void *)GetProcAddress(*library, "SetSystemPowerState") : NULL;
}

}

class PowerActions : public DeviceTest {};

TEST_F(PowerActions, ThePowerKeySuspendsAndWakes)
{
    EXPECT_FALSE(SimIsSuspended());
    keybd_event(VK_OFF, 0, 0, 0);
    EXPECT_FALSE(SimIsSuspended()) << "half a press";
    keybd_event(VK_OFF, 0, KEYEVENTF_KEYUP, 0);
    EXPECT_TRUE(SimIsSuspended());
    std::vector<SimPowerAction> a = Actions();
    ASSERT_EQ(3u, a.size());
    EXPECT_EQ(SIM_POWER_KEY_DOWN, a[0].kind);
    EXPECT_EQ((DWORD)VK_OFF, a[0].a);
    EXPECT_EQ(SIM_POWER_KEY_UP, a[1].kind);
    EXPECT_EQ((DWORD)KEYEVENTF_KEYUP, a[1].b);
    EXPECT_EQ(SIM_POWER_SUSPENDED, a[2].kind);
    // In a test nothing darkens the screen.
    EXPECT_TRUE(FindWindowW(L"DeviceScreenOff", NULL) == NULL);

    // Another press wakes; a lone key-up does nothing.
    keybd_event(VK_OFF, 0, 0, 0);
    keybd_event(VK_OFF, 0, KEYEVENTF_KEYUP, 0);
    EXPECT_FALSE(SimIsSuspended());
    keybd_event(VK_OFF, 0, KEYEVENTF_KEYUP, 0);
    EXPECT_FALSE(SimIsSuspended());
    a = Actions();
    ASSERT_EQ(6u, a.size());
    EXPECT_EQ(SIM_POWER_KEY_UP, a[5].kind);

    // Other keys are the desktop's and are not recorded.
    SimClearRecords();
    keybd_event(VK_SHIFT, 0, 0, 0);
    keybd_event(VK_SHIFT, 0, KEYEVENTF_KEYUP, 0);
    EXPECT_EQ(0, SimPowerActionCount());
}

TEST(ScreenOff, DarkensTheScreenUntilATap)
{
    // Outside a test the device shows its dark screen, over everything.
    ASSERT_EQ(0u, SimTestFlags());
    keybd_event(VK_OFF, 0, 0, 0);
    keybd_event(VK_OFF, 0, KEYEVENTF_KEYUP, 0);
    HWND dark = FindWindowW(L"DeviceScreenOff", NULL);
    ASSERT_TRUE(dark != NULL);
    EXPECT_TRUE(SimIsSuspended());
    EXPECT_TRUE(IsWindowVisible(dark));
    EXPECT_TRUE(GetWindowLongW(dark, GWL_EXSTYLE) & WS_EX_TOPMOST);
    RECT r;
    GetWindowRect(dark, &r);
    EXPECT_EQ(0, r.left);
    EXPECT_EQ(0, r.top);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), r.right);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), r.bottom);
    EXPECT_EQ(dark, WindowFromPoint({100, 300}));

    // Pressing down is not yet a tap; lifting is.
    SendMessageW(dark, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 300));
    EXPECT_TRUE(IsWindow(dark));
    SendMessageW(dark, WM_LBUTTONUP, 0, MAKELPARAM(100, 300));
    EXPECT_FALSE(IsWindow(dark));
    EXPECT_FALSE(SimIsSuspended());

    // Woken by the device service instead.
    keybd_event(VK_OFF, 0, 0, 0);
    keybd_event(VK_OFF, 0, KEYEVENTF_KEYUP, 0);
    ASSERT_TRUE(SimIsSuspended());
    SimWake();
    PumpMessages(50);
    EXPECT_FALSE(SimIsSuspended());
    EXPECT_TRUE(FindWindowW(L"DeviceScreenOff", NULL) == NULL);
}

// The resets themselves, asked as the program asks for them, are the power tools'
// tests; here what else the same entry points answer.
TEST_F(PowerActions, OnlyTheResetRequestsReset)
{
    HMODULE library;
    SetSystemPowerStateProc setState = LookUpSetSystemPowerState(&library);
    ASSERT_TRUE(setState != NULL);
    // States other than the reset, and a named reset, change nothing.
    EXPECT_EQ((DWORD)ERROR_NOT_SUPPORTED, setState(NULL, 0x00100000, 0));
    EXPECT_NE((DWORD)ERROR_SUCCESS, setState(L"nonsense", POWER_STATE_RESET, 0));
    FreeLibrary(library);
    SetLastError(0);
    EXPECT_FALSE(KernelIoControl(0x01010054, NULL, 0, NULL, 0, NULL));
    EXPECT_EQ((DWORD)ERROR_NOT_SUPPORTED, GetLastError());
    std::vector<SimPowerAction> a = Actions();
    ExpectOnlyReset(a, 0, -1);
    ASSERT_FALSE(a.empty());
    EXPECT_EQ(SIM_POWER_IOCONTROL, a.back().kind);
    EXPECT_EQ(0x01010054u, a.back().a);

    // The clean-boot flag makes one reboot a hard reset and is used up by it.
    SetCleanRebootFlag();
    EXPECT_TRUE(SimGetCleanBootFlag());
    EXPECT_TRUE(KernelIoControl(IOCTL_HAL_REBOOT, NULL, 0, NULL, 0, NULL));
    EXPECT_FALSE(SimGetCleanBootFlag());
    SimClearRecords();
    EXPECT_TRUE(KernelIoControl(IOCTL_HAL_REBOOT, NULL, 0, NULL, 0, NULL));
    a = Actions();
    ExpectOnlyReset(a, 0, SIM_POWER_SOFT_RESET);
    EXPECT_EQ(SIM_POWER_SOFT_RESET, a.back().kind);
}
