#include "ceplatform.h"
#include "testkit.h"
#include "tools/tools.h"

// The power actions recorded since the last call, as (kind, a, b).
static std::vector<std::vector<DWORD>> PowerActions()
{
    std::vector<std::vector<DWORD>> actions;
    SimPowerAction action;
    for (int i = 0; i < SimPowerActionCount() && SimGetPowerAction(i, &action); i++)
        actions.push_back({(DWORD)action.kind, action.a, action.b});
    SimClearRecords();
    return actions;
}

using Power = DeviceTest;

TEST_F(Power, ResetsFollowTheOsVersionAndShutDownPressesThePowerKey)
{
    struct { DWORD major, minor, kind, a; } soft[] = {
        {5, 0, SIM_POWER_EXITWINDOWS, EWX_REBOOT}, {4, 20, SIM_POWER_SETSTATE, 0x00800000}, {4, 19, SIM_POWER_IOCONTROL, 0x0101003C}};
    for (auto &c : soft) {
        SimSetOsVersion(c.major, c.minor, 1000);
        DWORD boots = SimGetBootCount();
        SoftResetDevice();
        EXPECT_EQ((std::vector<std::vector<DWORD>>{{c.kind, c.a, 0}, {SIM_POWER_SOFT_RESET, 0, 0}}), PowerActions())
            << c.major << "." << c.minor;
        EXPECT_EQ(boots + 1, SimGetBootCount());
    }

    // A hard reset sets the clean boot flag, then asks for a reboot: back to the
    // factory registry, a restore waiting for the next reset dropped, and the flag
    // served its one boot.
    SimSetOsVersion(5, 1, 1000);
    WriteRegDword(CU, L"Software\\Rudore Test", L"Junk", 1);
    WriteRegDword(HKEY_CLASSES_ROOT, L".rudorejunk", L"Junk", 1);
    wchar_t image[MAX_PATH] = L"";
    SimGetDeviceDir(image, MAX_PATH);
    wcscat(image, L"\\junk.reg");
    ASSERT_TRUE(RegCopyFile(image) && RegRestoreFile(image));
    HardResetDevice();
    EXPECT_FALSE(SimHasStagedImage());
    EXPECT_FALSE(RegKeyExists(HKEY_CLASSES_ROOT, L".rudorejunk"));
    EXPECT_EQ((std::vector<std::vector<DWORD>>{
                  {SIM_POWER_CLEANBOOT, 0, 0}, {SIM_POWER_IOCONTROL, 0x0101003C, 0}, {SIM_POWER_HARD_RESET, 0, 0}}),
              PowerActions());
    EXPECT_FALSE(RegKeyExists(CU, L"Software\\Rudore Test"));
    EXPECT_FALSE(SimGetCleanBootFlag());

    PressPowerKey();
    EXPECT_EQ((std::vector<std::vector<DWORD>>{
                  {SIM_POWER_KEY_DOWN, 0xDF, 0}, {SIM_POWER_KEY_UP, 0xDF, KEYEVENTF_KEYUP}, {SIM_POWER_SUSPENDED, 0, 0}}),
              PowerActions());
    EXPECT_TRUE(SimIsSuspended());
}
