// The hive save and replace calls of the device: they save into the same image format
// and only report success when a replacement will really happen at the next reset.
#include "registry_testkit.h"
#include <string.h>

namespace {

std::wstring Text(HKEY root, const wchar_t *key, const wchar_t *name)
{
    std::wstring value;
    if (!ReadRegString(root, key, name, &value)) return L"<missing>";
    return value;
}

// Root and sub-key path of an image's first section.
bool FirstSection(const std::string &image, DWORD *root, std::wstring *path)
{
    if (image.size() < REGIMG_HEADER_SIZE + REGIMG_SECTION_HEADER_SIZE) return false;
    DWORD pathBytes;
    memcpy(root, image.data() + REGIMG_HEADER_SIZE, 4);
    memcpy(&pathBytes, image.data() + REGIMG_HEADER_SIZE + 8, 4);
    size_t at = REGIMG_HEADER_SIZE + REGIMG_SECTION_HEADER_SIZE;
    if (image.size() < at + pathBytes) return false;
    path->assign((const wchar_t *)(image.data() + at), pathBytes / 2);
    return true;
}

}  // namespace

TEST_F(RegistryTest, SavedKeyIsReplacedAtTheNextResetOnlyAndBadFilesAreRefused)
{
    WriteRegString(HKEY_CLASSES_ROOT, L".zelvo", L"", L"zelvofile");
    WriteRegString(HKEY_LOCAL_MACHINE, L"Software\\Zelvo Test", L"Outside", L"saved");
    std::wstring classes = Scratch(L"classes.reg");
    ASSERT_EQ(ERROR_SUCCESS, RegSaveKeyW(HKEY_CLASSES_ROOT, classes.c_str(), NULL));
    EXPECT_TRUE(FileExists(classes));
    // As on the device, a save never overwrites.
    EXPECT_EQ(ERROR_ALREADY_EXISTS, RegSaveKeyW(HKEY_CLASSES_ROOT, classes.c_str(), NULL));
    EXPECT_EQ(ERROR_INVALID_PARAMETER, RegSaveKeyW(HKEY_CLASSES_ROOT, NULL, NULL));
    EXPECT_EQ(ERROR_INVALID_HANDLE, RegSaveKeyW(HKEY_CURRENT_CONFIG, Scratch(L"config.reg").c_str(), NULL));

    // Files that would restore nothing are refused and stage nothing.
    std::wstring bogus = Scratch(L"bogus.reg");
    WriteBytes(bogus, "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software]\r\n");
    EXPECT_EQ(ERROR_NOT_REGISTRY_FILE, RegReplaceKeyW(HKEY_LOCAL_MACHINE, NULL, bogus.c_str(), NULL));
    std::string cut = ReadBytes(classes);
    WriteBytes(bogus, cut.substr(0, cut.size() - 10));
    EXPECT_EQ(ERROR_REGISTRY_CORRUPT, RegReplaceKeyW(HKEY_CLASSES_ROOT, NULL, bogus.c_str(), NULL));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegReplaceKeyW(HKEY_LOCAL_MACHINE, NULL, Scratch(L"none.reg").c_str(), NULL));
    EXPECT_EQ(ERROR_INVALID_PARAMETER, RegReplaceKeyW(HKEY_LOCAL_MACHINE, NULL, NULL, NULL));
    EXPECT_FALSE(SimHasStagedImage());

    WriteRegString(HKEY_CLASSES_ROOT, L".zelvo", L"", L"changed");
    WriteRegString(HKEY_CLASSES_ROOT, L".added", L"", L"addedfile");
    WriteRegString(HKEY_LOCAL_MACHINE, L"Software\\Zelvo Test", L"Outside", L"changed");

    ASSERT_EQ(ERROR_SUCCESS, RegReplaceKeyW(HKEY_CLASSES_ROOT, NULL, classes.c_str(), NULL));
    EXPECT_TRUE(SimHasStagedImage());
    EXPECT_EQ(L"changed", Text(HKEY_CLASSES_ROOT, L".zelvo", L""));
    SimSoftReset(FALSE);
    EXPECT_EQ(L"zelvofile", Text(HKEY_CLASSES_ROOT, L".zelvo", L""));
    EXPECT_FALSE(RegKeyExists(HKEY_CLASSES_ROOT, L".added"));
    EXPECT_EQ(L"changed", Text(HKEY_LOCAL_MACHINE, L"Software\\Zelvo Test", L"Outside"));   // not part of it
    EXPECT_FALSE(SimHasStagedImage());

    // The classes live in the machine hive, which their save carries whole.
    ASSERT_EQ(ERROR_SUCCESS, RegReplaceKeyW(HKEY_LOCAL_MACHINE, NULL, classes.c_str(), NULL));
    SimSoftReset(FALSE);
    EXPECT_EQ(L"saved", Text(HKEY_LOCAL_MACHINE, L"Software\\Zelvo Test", L"Outside"));
}

TEST_F(RegistryTest, ReplaceTakesOnlyTheAskedPartOfAWholeBackup)
{
    WriteRegString(HKEY_LOCAL_MACHINE, L"Software\\Zelvo Test", L"Machine", L"saved");
    WriteRegString(HKEY_CURRENT_USER, L"Software\\Zelvo Test", L"User", L"saved");
    std::wstring whole = Scratch(L"whole.reg");
    ASSERT_TRUE(RegCopyFile(whole.c_str()));
    WriteRegString(HKEY_LOCAL_MACHINE, L"Software\\Zelvo Test", L"Machine", L"changed");
    WriteRegString(HKEY_CURRENT_USER, L"Software\\Zelvo Test", L"User", L"changed");

    // The current machine hive is kept in the old file when one is named.
    std::wstring old = Scratch(L"old.reg");
    ASSERT_EQ(ERROR_SUCCESS, RegReplaceKeyW(HKEY_LOCAL_MACHINE, NULL, whole.c_str(), old.c_str()));
    EXPECT_TRUE(FileExists(old));
    EXPECT_EQ(ERROR_ALREADY_EXISTS, RegReplaceKeyW(HKEY_LOCAL_MACHINE, NULL, whole.c_str(), old.c_str()));
    SimSoftReset(FALSE);
    EXPECT_EQ(L"saved", Text(HKEY_LOCAL_MACHINE, L"Software\\Zelvo Test", L"Machine"));
    EXPECT_EQ(L"changed", Text(HKEY_CURRENT_USER, L"Software\\Zelvo Test", L"User"));

    // Two replacements staged one after the other both take effect.
    ASSERT_EQ(ERROR_SUCCESS, RegReplaceKeyW(HKEY_CURRENT_USER, NULL, whole.c_str(), NULL));
    ASSERT_EQ(ERROR_SUCCESS, RegReplaceKeyW(HKEY_LOCAL_MACHINE, NULL, old.c_str(), NULL));
    SimSoftReset(FALSE);
    EXPECT_EQ(L"changed", Text(HKEY_LOCAL_MACHINE, L"Software\\Zelvo Test", L"Machine"));
    EXPECT_EQ(L"saved", Text(HKEY_CURRENT_USER, L"Software\\Zelvo Test", L"User"));
}

TEST_F(RegistryTest, AnOpenKeyIsSavedAndReplacedAsItsOwnSubtree)
{
    WriteRegString(HKEY_CURRENT_USER, L"Software\\Zelvo Test\\Branch\\Leaf", L"Value", L"saved");
    WriteRegString(HKEY_CURRENT_USER, L"Software\\Zelvo Test\\Beside", L"Value", L"saved");
    HKEY branch;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Zelvo Test\\Branch", 0, KEY_READ, &branch));
    std::wstring file = Scratch(L"branch.reg");
    EXPECT_EQ(ERROR_SUCCESS, RegSaveKeyW(branch, file.c_str(), NULL));
    RegCloseKey(branch);

    WriteRegString(HKEY_CURRENT_USER, L"Software\\Zelvo Test\\Branch\\Leaf", L"Value", L"changed");
    WriteRegString(HKEY_CURRENT_USER, L"Software\\Zelvo Test\\Branch\\New", L"Value", L"new");
    WriteRegString(HKEY_CURRENT_USER, L"Software\\Zelvo Test\\Beside", L"Value", L"changed");
    EXPECT_EQ(ERROR_NOT_REGISTRY_FILE, RegReplaceKeyW(HKEY_CURRENT_USER, NULL, file.c_str(), NULL));
    ASSERT_EQ(ERROR_SUCCESS, RegReplaceKeyW(HKEY_CURRENT_USER, L"Software\\Zelvo Test\\Branch", file.c_str(), NULL));
    SimSoftReset(FALSE);
    EXPECT_EQ(L"saved", Text(HKEY_CURRENT_USER, L"Software\\Zelvo Test\\Branch\\Leaf", L"Value"));
    EXPECT_FALSE(RegKeyExists(HKEY_CURRENT_USER, L"Software\\Zelvo Test\\Branch\\New"));
    EXPECT_EQ(L"changed", Text(HKEY_CURRENT_USER, L"Software\\Zelvo Test\\Beside", L"Value"));
}

// Only reads the device's own registry: keys opened on it are saved as the part of the
// root they belong to, and its HKEY_USERS is saved without the test sandboxes.
TEST_F(RegistryTest, KeysOfTheDeviceAreSavedUnderTheirOwnRoot)
{
    SimTestEnd();
    struct Case {
        HKEY root;
        const wchar_t *key;
        DWORD expectRoot;
        const wchar_t *expectPath;
    } cases[] = {
        {HKEY_LOCAL_MACHINE, L"Software\\Classes\\CLSID", REGIMG_ROOT_HKCR, L"CLSID"},
        {HKEY_LOCAL_MACHINE, L"System", REGIMG_ROOT_HKLM, L"System"},
        {HKEY_CURRENT_USER, L"Software", REGIMG_ROOT_HKCU, L"Software"},
        {HKEY_USERS, L".Default", REGIMG_ROOT_HKU, L".Default"},
    };
    std::vector<std::pair<DWORD, std::wstring>> got;
    for (const Case &c : cases) {
        HKEY key;
        DWORD root = 0;
        std::wstring path;
        std::wstring file = Scratch((L"key" + std::to_wstring(got.size()) + L".reg").c_str());
        if (RegOpenKeyExW(c.root, c.key, 0, KEY_READ, &key) == ERROR_SUCCESS) {
            if (RegSaveKeyW(key, file.c_str(), NULL) == ERROR_SUCCESS) FirstSection(ReadBytes(file), &root, &path);
            RegCloseKey(key);
        }
        got.emplace_back(root, path);
    }
    // Another process's sandbox below the device's HKEY_USERS stays out of its image.
    HKEY other;
    RegCreateKeyExW(HKEY_USERS, L"SimDevice\\Sandbox\\Zelvo test", 0, NULL, 0, KEY_ALL_ACCESS, NULL, &other, NULL);
    RegCloseKey(other);
    std::wstring users = Scratch(L"users.reg");
    LONG saved = RegSaveKeyW(HKEY_USERS, users.c_str(), NULL);
    RegDeleteTreeW(HKEY_USERS, L"SimDevice\\Sandbox\\Zelvo test");
    RegDeleteKeyW(HKEY_USERS, L"SimDevice\\Sandbox");
    RegDeleteKeyW(HKEY_USERS, L"SimDevice");
    SimTestBegin(SIM_TEST_ALL);

    for (size_t i = 0; i < got.size(); ++i) {
        EXPECT_EQ(cases[i].expectRoot, got[i].first) << i;
        EXPECT_EQ(0, lstrcmpiW(cases[i].expectPath, got[i].second.c_str())) << i;
    }
    ASSERT_EQ(ERROR_SUCCESS, saved);
    std::string text = ReadBytes(users);
    EXPECT_NE(std::string::npos, text.find("[.Default\\\\"));
    EXPECT_EQ(std::string::npos, text.find("Zelvo test"));
    EXPECT_EQ(std::string::npos, text.find("[SimDevice"));
}
