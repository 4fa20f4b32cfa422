// Restarts of the device: the boot counter, the factory state a hard reset brings back,
// symbolic links that an image apply must not write through, and volatile keys it leaves.
#include "registry_testkit.h"

TEST_F(RegistryTest, EverySoftResetRaisesTheBootCounter)
{
    DWORD factory = SimGetBootCount(), count = 0;
    SimSoftReset(FALSE);
    ASSERT_TRUE(ReadRegDword(HKEY_LOCAL_MACHINE, L"Comm", L"Bootcount", &count));
    EXPECT_EQ(factory + 1, count);
    // Not a number: the counter starts again at one.
    WriteRegString(HKEY_LOCAL_MACHINE, L"Comm", L"Bootcount", L"7");
    EXPECT_EQ(0u, SimGetBootCount());
    // Recording power actions, an ending reset lets the test go on.
    SimSoftReset(TRUE);
    ASSERT_TRUE(ReadRegDword(HKEY_LOCAL_MACHINE, L"Comm", L"Bootcount", &count));
    EXPECT_EQ(1u, count);
    EXPECT_EQ(2, SimPowerActionCount());
}

TEST_F(RegistryTest, HardResetBringsBackTheFactoryRegistryAndDropsAStagedImage)
{
    std::string factory = DeviceSnapshot();
    DWORD factoryBoots = SimGetBootCount();
    WriteRegString(HKEY_CURRENT_USER, L"Software\\Zelvo Test\\Junk", L"Junk", L"junk");
    WriteRegString(HKEY_CLASSES_ROOT, L".junk", L"", L"junkfile");
    ASSERT_EQ(ERROR_SUCCESS, RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Comm"));
    std::wstring backup = Scratch(L"changed.reg");
    ASSERT_TRUE(RegCopyFile(backup.c_str()));
    ASSERT_TRUE(RegRestoreFile(backup.c_str()));

    SimHardReset(FALSE);
    EXPECT_FALSE(SimHasStagedImage());
    SimPowerAction action;
    ASSERT_EQ(1, SimPowerActionCount());
    EXPECT_TRUE(SimGetPowerAction(0, &action) && action.kind == SIM_POWER_HARD_RESET);
    EXPECT_EQ(factoryBoots + 1, SimGetBootCount());
    EXPECT_EQ(factory, DeviceSnapshot());
}

TEST_F(RegistryTest, LinksAreRestoredAsLinksAndNeverWrittenThroughAndVolatileKeysStay)
{
    // A link to a key that holds values; after the backup it leads to another key,
    // which the restore must leave alone, and a new link appears that the image lacks.
    WriteRegString(HKEY_CURRENT_USER, L"Software\\Zelvo Test\\Target", L"Kept", L"target value");
    WriteRegString(HKEY_CURRENT_USER, L"Software\\Zelvo Test\\Other", L"Other", L"other value");
    std::wstring target = FullName(HKEY_CURRENT_USER, L"Software\\Zelvo Test\\Target");
    ASSERT_FALSE(target.empty());
    SetLink(HKEY_CURRENT_USER, L"Software\\Zelvo Test\\Link", target);
    std::wstring backup = Scratch(L"links.reg");
    ASSERT_TRUE(RegCopyFile(backup.c_str()));
    std::string saved = DeviceSnapshot();

    // A volatile key is no part of an image (the desktop keeps its display modes in
    // such keys): an apply leaves it, even below a key the image changes.
    HKEY volatileKey;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Zelvo Test\\Target\\Volatile", 0, NULL,
                                             REG_OPTION_VOLATILE, KEY_ALL_ACCESS, NULL, &volatileKey, NULL));
    RegCloseKey(volatileKey);
    WriteRegString(HKEY_CURRENT_USER, L"Software\\Zelvo Test\\Target", L"Kept", L"changed");
    SetLink(HKEY_CURRENT_USER, L"Software\\Zelvo Test\\Link", FullName(HKEY_CURRENT_USER, L"Software\\Zelvo Test\\Other"));
    SetLink(HKEY_CURRENT_USER, L"Software\\Zelvo Test\\New link", target);
    ASSERT_NE(saved, DeviceSnapshot());
    ASSERT_TRUE(RegRestoreFile(backup.c_str()));
    SimSoftReset(FALSE);

    EXPECT_TRUE(RegKeyExists(HKEY_CURRENT_USER, L"Software\\Zelvo Test\\Target\\Volatile"));
    ASSERT_EQ(ERROR_SUCCESS, RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Zelvo Test\\Target\\Volatile"));
    EXPECT_EQ(saved, DeviceSnapshot());
    std::wstring read;
    ASSERT_TRUE(ReadRegString(HKEY_CURRENT_USER, L"Software\\Zelvo Test\\Link", L"Kept", &read));
    EXPECT_EQ(L"target value", read);
}
