#include <vector>
#include "testkit.h"
#include "resource.h"
#include "tools/tools.h"

// The power actions recorded since the last clearing, as (kind, a, b).
static std::vector<std::vector<DWORD>> PowerActions()
{
    std::vector<std::vector<DWORD>> actions;
    SimPowerAction action;
    for (int i = 0; i < SimPowerActionCount() && SimGetPowerAction(i, &action); i++)
        actions.push_back({(DWORD)action.kind, action.a, action.b});
    return actions;
}

using PowerActions_ = DeviceTest;

TEST_F(PowerActions_, SoftResetMechanismFollowsTheOsVersion)
{
    const DWORD reset = SIM_POWER_SOFT_RESET;
    struct { DWORD major, minor, kind, a; } cases[] = {{5, 0, SIM_POWER_EXITWINDOWS, EWX_REBOOT},
                                                     {4, 20, SIM_POWER_SETSTATE, 0x00800000},
                                                     {4, 19, SIM_POWER_IOCONTROL, 0x0101003C}};
    for (auto &c : cases) {
        SimClearRecords();
        SimSetOsVersion(c.major, c.minor, 1000);
        DWORD boots = SimGetBootCount();
        SoftResetDevice();
        EXPECT_EQ((std::vector<std::vector<DWORD>>{{c.kind, c.a, 0}, {reset, 0, 0}}), PowerActions())
            << c.major << "." << c.minor;
        EXPECT_EQ(boots + 1, SimGetBootCount());
    }
}

TEST_F(PowerActions_, HardResetSetsTheCleanBootFlagThenAsksForAReboot)
{
    SimSetOsVersion(5, 1, 1000);
    WriteRegDword(HKEY_CURRENT_USER, L"Software\\Rudore Test", L"Junk", 1);
    HardResetDevice();
    EXPECT_EQ((std::vector<std::vector<DWORD>>{
                  {SIM_POWER_CLEANBOOT, 0, 0}, {SIM_POWER_IOCONTROL, 0x0101003C, 0}, {SIM_POWER_HARD_RESET, 0, 0}}),
              PowerActions());
    // Back to the factory registry, and the flag served its one boot.
    EXPECT_FALSE(RegKeyExists(HKEY_CURRENT_USER, L"Software\\Rudore Test"));
    EXPECT_FALSE(SimGetCleanBootFlag());
}

TEST_F(PowerActions_, ShutDownPressesThePowerKeyOnce)
{
    PressPowerKey();
    EXPECT_EQ((std::vector<std::vector<DWORD>>{
                  {SIM_POWER_KEY_DOWN, 0xDF, 0}, {SIM_POWER_KEY_UP, 0xDF, KEYEVENTF_KEYUP}, {SIM_POWER_SUSPENDED, 0, 0}}),
              PowerActions());
    EXPECT_TRUE(SimIsSuspended());
}

// The program itself on the device: a soft reset ends it and counts the boot.
TEST(PowerOnTheDevice, SoftResetEndsTheProgram)
{
    DWORD boots = SimGetBootCount();
    ProgramProcess program = StartProgram();
    ProgramGuard guard = {program};
    HWND main = WaitForWindow(L"ZEZARIVERARURIDOZ", L"Zelvo Rudore");
    ASSERT_TRUE(main != NULL);
    PostMessageW(main, WM_COMMAND, IDM_SOFTRESET, 0);
    HWND yes = NULL;
    for (int i = 0; i < 250 && !yes; i++) {
        PumpMessages(20);
        HWND box = FindWindowW(L"#32770", L"Confirm!");
        if (box) yes = FindWindowExW(box, NULL, L"Button", L"&Yes");
    }
    ASSERT_TRUE(yes != NULL) << "no soft-reset question";
    PostMessageW(yes, BM_CLICK, 0, 0);
    EXPECT_EQ(0u, WaitForExit(program, 10000));
    EXPECT_EQ(boots + 1, SimGetBootCount());
}
