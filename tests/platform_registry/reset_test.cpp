// Restarts of the device: the boot counter, the factory state a hard reset brings back,
// a damaged staged image, and symbolic links that an image apply must not write through.
#include "registry_testkit.h"

TEST_F(RegistryTest, EverySoftResetRaisesTheBootCounter)
{
    DWORD factory = 0, count = 0;
    ASSERT_TRUE(ReadRegDword(HKEY_LOCAL_MACHINE, L"Comm", L"Bootcount", &factory));   // a factory value
    EXPECT_EQ(factory, SimGetBootCount());
    SimSoftReset(FALSE);
    SimSoftReset(FALSE);
    ASSERT_TRUE(ReadRegDword(HKEY_LOCAL_MACHINE, L"Comm", L"Bootcount", &count));
    EXPECT_EQ(factory + 2, count);

    // Missing, or not a number: the counter starts again at one.
    DeleteRegValue(HKEY_LOCAL_MACHINE, L"Comm", L"Bootcount");
    EXPECT_EQ(0u, SimGetBootCount());
    SimSoftReset(FALSE);
    EXPECT_EQ(1u, SimGetBootCount());
    WriteRegString(HKEY_LOCAL_MACHINE, L"Comm", L"Bootcount", L"7");
    EXPECT_EQ(0u, SimGetBootCount());
    // Recording power actions, an ending reset lets the test go on.
    SimSoftReset(TRUE);
    ASSERT_TRUE(ReadRegDword(HKEY_LOCAL_MACHINE, L"Comm", L"Bootcount", &count));
    EXPECT_EQ(1u, count);
    EXPECT_EQ(4, PowerActions(SIM_POWER_SOFT_RESET));
    EXPECT_EQ(0, PowerActions(SIM_POWER_HARD_RESET));
}

TEST_F(RegistryTest, HardResetBringsBackTheFactoryRegistry)
{
    RegSnapshot factory = DeviceSnapshot();
    DWORD factoryBoots = SimGetBootCount();
    ASSERT_FALSE(factory.empty());

    WriteRegDword(HKEY_LOCAL_MACHINE, L"Comm", L"Bootcount", 99);
    WriteRegString(HKEY_CURRENT_USER, L"Software\\Zelvo Test\\Junk", L"Junk", L"junk");
    WriteRegString(HKEY_CLASSES_ROOT, L".junk", L"", L"junkfile");
    ASSERT_EQ(ERROR_SUCCESS, RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Comm"));
    // An image staged before the reset is dropped, not applied.
    std::wstring backup = Scratch(L"changed.reg");
    ASSERT_TRUE(RegCopyFile(backup.c_str()));
    ASSERT_TRUE(RegRestoreFile(backup.c_str()));
    ASSERT_NE("", Differences(factory, DeviceSnapshot()));

    SimHardReset(FALSE);
    EXPECT_FALSE(SimHasStagedImage());
    EXPECT_EQ(1, PowerActions(SIM_POWER_HARD_RESET));
    EXPECT_EQ(0, PowerActions(SIM_POWER_SOFT_RESET));
    EXPECT_EQ(factoryBoots + 1, SimGetBootCount());
    SetBootCount(&factory, factoryBoots + 1);
    EXPECT_EQ("", Differences(factory, DeviceSnapshot()));
}

TEST_F(RegistryTest, ADamagedStagedImageIsDroppedAndTheRegistryKept)
{
    std::wstring backup = Scratch(L"backup.reg");
    WriteRegString(HKEY_CURRENT_USER, L"Software\\Zelvo Test", L"Marker", L"saved");
    ASSERT_TRUE(RegCopyFile(backup.c_str()));
    ASSERT_TRUE(RegRestoreFile(backup.c_str()));
    WriteRegString(HKEY_CURRENT_USER, L"Software\\Zelvo Test", L"Marker", L"running");
    RegSnapshot running = DeviceSnapshot();
    DWORD boots = SimGetBootCount();

    std::wstring staged = StagedPath();
    std::string bytes = ReadBytes(staged);
    ASSERT_FALSE(bytes.empty());
    bytes[bytes.size() - 3] ^= 0x55;
    WriteBytes(staged, bytes);

    SimSoftReset(FALSE);
    EXPECT_FALSE(SimHasStagedImage());
    EXPECT_EQ(boots + 1, SimGetBootCount());
    SetBootCount(&running, boots + 1);
    EXPECT_EQ("", Differences(running, DeviceSnapshot()));
}

TEST_F(RegistryTest, LinksAreRestoredAsLinksAndNeverWrittenThrough)
{
    // A link inside the device to a key that holds values, and one to a key outside
    // the sandbox that nothing of the device may touch.
    WriteRegString(HKEY_CURRENT_USER, L"Software\\Zelvo Test\\Target", L"Kept", L"target value");
    WriteRegString(HKEY_CURRENT_USER, L"Software\\Zelvo Test\\Other", L"Other", L"other value");
    std::wstring target = FullName(HKEY_CURRENT_USER, L"Software\\Zelvo Test\\Target");
    std::wstring other = FullName(HKEY_CURRENT_USER, L"Software\\Zelvo Test\\Other");
    ASSERT_FALSE(target.empty());
    SetLink(HKEY_CURRENT_USER, L"Software\\Zelvo Test\\Link", target);
    std::wstring read;
    ASSERT_TRUE(ReadRegString(HKEY_CURRENT_USER, L"Software\\Zelvo Test\\Link", L"Kept", &read));   // it works as a link

    std::wstring backup = Scratch(L"links.reg");
    ASSERT_TRUE(RegCopyFile(backup.c_str()));
    RegSnapshot saved = DeviceSnapshot();

    // The link now leads elsewhere, and a new one appears that the image lacks.
    DeleteLink(HKEY_CURRENT_USER, L"Software\\Zelvo Test\\Link");
    SetLink(HKEY_CURRENT_USER, L"Software\\Zelvo Test\\Link", other);
    SetLink(HKEY_CURRENT_USER, L"Software\\Zelvo Test\\New link", target);
    ASSERT_TRUE(RegRestoreFile(backup.c_str()));
    SimSoftReset(FALSE);

    SetBootCount(&saved, SimGetBootCount());
    EXPECT_EQ("", Differences(saved, DeviceSnapshot()));
    ASSERT_TRUE(ReadRegString(HKEY_CURRENT_USER, L"Software\\Zelvo Test\\Link", L"Kept", &read));
    EXPECT_EQ(L"target value", read);
    ASSERT_TRUE(ReadRegString(HKEY_CURRENT_USER, L"Software\\Zelvo Test\\Other", L"Other", &read));
    EXPECT_EQ(L"other value", read);
}
