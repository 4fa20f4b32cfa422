#include <vector>
#include "testkit.h"
#include "tools/tools.h"

static std::vector<SimPowerAction> PowerActions()
{
    std::vector<SimPowerAction> actions(SimPowerActionCount());
    for (size_t i = 0; i < actions.size(); i++) SimGetPowerAction((int)i, &actions[i]);
    return actions;
}

using PowerActions_ = DeviceTest;

TEST_F(PowerActions_, SoftResetMechanismFollowsTheOsVersion)
{
    struct { DWORD major, minor; int kind; DWORD a; } cases[] = {
        {6, 0, SIM_POWER_EXITWINDOWS, EWX_REBOOT},   {5, 1, SIM_POWER_EXITWINDOWS, EWX_REBOOT},
        {4, 21, SIM_POWER_SETSTATE, 0x00800000},     {4, 20, SIM_POWER_SETSTATE, 0x00800000},
        {4, 19, SIM_POWER_IOCONTROL, 0x0101003C},    {3, 0, SIM_POWER_IOCONTROL, 0x0101003C},
    };
    for (auto &c : cases) {
        SimClearRecords();
        SimSetOsVersion(c.major, c.minor, 1000);
        DWORD boots = SimGetBootCount();
        SoftResetDevice();
        std::vector<SimPowerAction> actions = PowerActions();
        ASSERT_EQ(2u, actions.size()) << c.major << "." << c.minor;
        EXPECT_EQ(c.kind, actions[0].kind) << c.major << "." << c.minor;
        EXPECT_EQ(c.a, actions[0].a) << c.major << "." << c.minor;
        EXPECT_EQ(0u, actions[0].b);
        EXPECT_EQ(SIM_POWER_SOFT_RESET, actions[1].kind);
        EXPECT_EQ(boots + 1, SimGetBootCount());
    }
}

TEST_F(PowerActions_, HardResetSetsTheCleanBootFlagThenAsksForAReboot)
{
    for (DWORD major : {5u, 4u, 3u}) {
        SimClearRecords();
        SimSetOsVersion(major, 21, 1000);
        WriteRegDword(HKEY_CURRENT_USER, L"Software\\Rudore Test", L"Junk", major);
        HardResetDevice();
        std::vector<SimPowerAction> actions = PowerActions();
        ASSERT_EQ(3u, actions.size());
        EXPECT_EQ(SIM_POWER_CLEANBOOT, actions[0].kind);
        EXPECT_EQ(SIM_POWER_IOCONTROL, actions[1].kind);
        EXPECT_EQ(0x0101003Cu, actions[1].a);
        EXPECT_EQ(SIM_POWER_HARD_RESET, actions[2].kind);
        // Back to the factory registry, and the flag served its one boot.
        EXPECT_FALSE(RegKeyExists(HKEY_CURRENT_USER, L"Software\\Rudore Test")) << major;
        EXPECT_FALSE(SimGetCleanBootFlag());
    }
}

TEST_F(PowerActions_, ShutDownPressesThePowerKeyOnce)
{
    PressPowerKey();
    std::vector<SimPowerAction> actions = PowerActions();
    ASSERT_EQ(3u, actions.size());
    EXPECT_EQ(SIM_POWER_KEY_DOWN, actions[0].kind);
    EXPECT_EQ(SIM_POWER_KEY_UP, actions[1].kind);
    for (int i = 0; i < 2; i++) {
        EXPECT_EQ(0xDFu, actions[i].a);
        EXPECT_EQ(i ? (DWORD)KEYEVENTF_KEYUP : 0u, actions[i].b);
    }
    EXPECT_EQ(SIM_POWER_SUSPENDED, actions[2].kind);
    EXPECT_TRUE(SimIsSuspended());
}
