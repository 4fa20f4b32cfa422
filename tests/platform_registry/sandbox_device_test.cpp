// The per-test sandbox of the device registry, and the device's own factory image.
#include "registry_testkit.h"

TEST_F(RegistryTest, SandboxKeepsTheDeviceRegistryOutOfReachAndCleansUp)
{
    SimTestEnd();   // the device's own registry now
    // A sandbox left by an ended process whose id this one has now.
    wchar_t ours[64];
    wsprintfW(ours, L"SimDevice\\Sandbox\\%lx", GetCurrentProcessId());
    WriteRegString(HKEY_USERS, (std::wstring(ours) + L"\\Machine\\Stale").c_str(), L"Left", L"behind");
    WriteRegString(HKEY_CURRENT_USER, L"Software\\Zelvo Sandbox Test", L"Outside", L"device value");

    SimTestBegin(SIM_TEST_ALL);
    EXPECT_FALSE(RegKeyExists(HKEY_CURRENT_USER, L"Software\\Zelvo Sandbox Test"));
    EXPECT_FALSE(RegKeyExists(HKEY_LOCAL_MACHINE, L"Stale"));
    WriteRegString(HKEY_LOCAL_MACHINE, L"Software\\Zelvo Sandbox Test", L"Inside", L"sandbox value");
    SimTestEnd();

    // Back on the device: nothing of the sandbox, everything of the device.
    std::wstring value;
    EXPECT_TRUE(ReadRegString(HKEY_CURRENT_USER, L"Software\\Zelvo Sandbox Test", L"Outside", &value));
    EXPECT_FALSE(RegKeyExists(HKEY_LOCAL_MACHINE, L"Software\\Zelvo Sandbox Test"));
    EXPECT_FALSE(RegKeyExists(HKEY_USERS, ours));
    EXPECT_EQ(ERROR_SUCCESS, RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Zelvo Sandbox Test"));

    // The factory image a hard reset of the device itself applies is whole.
    wchar_t folder[MAX_PATH];
    ASSERT_TRUE(SimGetDeviceDir(folder, MAX_PATH));
    std::string factory = ReadBytes(std::wstring(folder) + L"\\" REGIMG_FACTORY_NAME);
    SimTestBegin(SIM_TEST_ALL);
    WriteBytes(Scratch(L"factory.reg"), factory);
    EXPECT_TRUE(RegRestoreFile(Scratch(L"factory.reg").c_str())) << GetLastError();
}
