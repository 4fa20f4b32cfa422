// The hive calls a device without the whole-registry calls falls back to: the classes
// saved with the machine hive that holds them, replaced only at the next reset.
#include "registry_testkit.h"

static std::wstring Text(HKEY root, const wchar_t *key, const wchar_t *name)
{
    std::wstring value;
    return ReadRegString(root, key, name, &value) ? value : L"<missing>";
}

TEST_F(RegistryTest, SavedClassesReplaceTheMachineHiveAtTheNextResetAndBadFilesAreRefused)
{
    WriteRegString(HKEY_CLASSES_ROOT, L".zelvo", L"", L"zelvofile");
    WriteRegString(HKEY_LOCAL_MACHINE, L"Software\\Zelvo Test", L"Machine", L"saved");
    WriteRegString(HKEY_CURRENT_USER, L"Software\\Zelvo Test", L"User", L"saved");
    std::wstring classes = Scratch(L"classes.reg");
    ASSERT_EQ(ERROR_SUCCESS, RegSaveKeyW(HKEY_CLASSES_ROOT, classes.c_str(), NULL));
    // As on the device, a save never overwrites.
    EXPECT_EQ(ERROR_ALREADY_EXISTS, RegSaveKeyW(HKEY_CLASSES_ROOT, classes.c_str(), NULL));

    // Files that would restore nothing, or half of it, are refused and stage nothing.
    std::wstring bogus = Scratch(L"bogus.reg");
    WriteBytes(bogus, "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software]\r\n");
    EXPECT_EQ(ERROR_NOT_REGISTRY_FILE, RegReplaceKeyW(HKEY_LOCAL_MACHINE, NULL, bogus.c_str(), NULL));
    std::string cut = ReadBytes(classes);
    WriteBytes(bogus, cut.substr(0, cut.size() - 10));
    EXPECT_EQ(ERROR_REGISTRY_CORRUPT, RegReplaceKeyW(HKEY_LOCAL_MACHINE, NULL, bogus.c_str(), NULL));
    EXPECT_EQ(ERROR_INVALID_PARAMETER, RegReplaceKeyW(HKEY_LOCAL_MACHINE, NULL, NULL, NULL));
    EXPECT_FALSE(SimHasStagedImage());

    WriteRegString(HKEY_CLASSES_ROOT, L".zelvo", L"", L"changed");
    WriteRegString(HKEY_CLASSES_ROOT, L".added", L"", L"addedfile");
    WriteRegString(HKEY_LOCAL_MACHINE, L"Software\\Zelvo Test", L"Machine", L"changed");
    WriteRegString(HKEY_CURRENT_USER, L"Software\\Zelvo Test", L"User", L"changed");
    ASSERT_EQ(ERROR_SUCCESS, RegReplaceKeyW(HKEY_LOCAL_MACHINE, NULL, classes.c_str(), NULL));
    EXPECT_EQ(L"changed", Text(HKEY_CLASSES_ROOT, L".zelvo", L""));   // nothing before the reset
    SimSoftReset(FALSE);
    EXPECT_FALSE(SimHasStagedImage());
    EXPECT_EQ(L"zelvofile", Text(HKEY_CLASSES_ROOT, L".zelvo", L""));
    EXPECT_FALSE(RegKeyExists(HKEY_CLASSES_ROOT, L".added"));
    EXPECT_EQ(L"saved", Text(HKEY_LOCAL_MACHINE, L"Software\\Zelvo Test", L"Machine"));
    EXPECT_EQ(L"changed", Text(HKEY_CURRENT_USER, L"Software\\Zelvo Test", L"User"));   // not part of it
}
