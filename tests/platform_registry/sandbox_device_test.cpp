// The per-test sandbox of the device registry and the device's set-up.
#include "registry_testkit.h"

TEST_F(RegistryTest, SandboxKeepsTheDeviceRegistryOutOfReachAndCleansUp)
{
    SimTestEnd();   // the device's own registry now
    // A sandbox left by a process that has gone.
    HKEY stale;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_USERS, L"SimDevice\\Sandbox\\7ffffff0-0000000000000001\\Machine", 0, NULL,
                                             0, KEY_ALL_ACCESS, NULL, &stale, NULL));
    RegCloseKey(stale);
    WriteRegString(HKEY_CURRENT_USER, L"Software\\Zelvo Sandbox Test", L"Outside", L"device value");
    std::wstring real = FullName(HKEY_CURRENT_USER, L"Software\\Zelvo Sandbox Test");
    ASSERT_FALSE(real.empty());

    SimTestBegin(SIM_TEST_ALL);
    EXPECT_FALSE(RegKeyExists(HKEY_CURRENT_USER, L"Software\\Zelvo Sandbox Test"));
    WriteRegString(HKEY_LOCAL_MACHINE, L"Software\\Zelvo Sandbox Test", L"Inside", L"sandbox value");
    // A hard reset in the sandbox removes a link out of it, never what it leads to.
    SetLink(HKEY_CURRENT_USER, L"Software\\Out", real);
    SimHardReset(FALSE);
    EXPECT_FALSE(RegKeyExists(HKEY_CURRENT_USER, L"Software\\Out"));
    WriteRegString(HKEY_LOCAL_MACHINE, L"Software\\Zelvo Sandbox Test", L"Inside", L"sandbox value");
    SimTestEnd();

    // Back on the device: nothing of the sandbox, everything of the device.
    std::wstring value;
    EXPECT_TRUE(ReadRegString(HKEY_CURRENT_USER, L"Software\\Zelvo Sandbox Test", L"Outside", &value));
    EXPECT_EQ(L"device value", value);
    EXPECT_FALSE(RegKeyExists(HKEY_LOCAL_MACHINE, L"Software\\Zelvo Sandbox Test"));
    EXPECT_FALSE(RegKeyExists(HKEY_USERS, L"SimDevice"));
    EXPECT_EQ(ERROR_SUCCESS, RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Zelvo Sandbox Test"));
    SimTestBegin(SIM_TEST_ALL);
}

TEST_F(RegistryTest, CreatingTheDeviceSeedsTheFactoryValuesOnceAndItsFactoryImageIsWhole)
{
    ASSERT_EQ(ERROR_SUCCESS, RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Comm"));
    ASSERT_TRUE(SimCreateDevice());
    DWORD boots = 1;
    EXPECT_TRUE(ReadRegDword(HKEY_LOCAL_MACHINE, L"Comm", L"Bootcount", &boots));
    EXPECT_EQ(0u, boots);
    std::string first = DeviceSnapshot();
    ASSERT_TRUE(SimCreateDevice());
    EXPECT_EQ(first, DeviceSnapshot());

    // The device this test runs on was made the same way: its factory image is whole.
    SimTestEnd();
    wchar_t folder[MAX_PATH];
    bool haveFolder = SimGetDeviceDir(folder, MAX_PATH) != FALSE;
    std::string factory = haveFolder ? ReadBytes(std::wstring(folder) + L"\\" REGIMG_FACTORY_NAME) : std::string();
    SimTestBegin(SIM_TEST_ALL);
    ASSERT_TRUE(haveFolder);
    WriteBytes(Scratch(L"factory.reg"), factory);
    EXPECT_TRUE(RegRestoreFile(Scratch(L"factory.reg").c_str())) << GetLastError();
}
