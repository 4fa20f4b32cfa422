// Whole-registry backup and restore: what a restore brings back, what it refuses, and
// what a backup leaves behind when it cannot write.
#include <string.h>
#include "registry_testkit.h"

namespace {

const wchar_t kOdd[] = L"Software\\Zelvo Test\\[Odd] key \"quoted\"\\\x041a\x043b\x044e\x0447 \x00e9t\x00e9";

// Values of every kind and spelling the registry's text must carry exactly.
void WriteAwkwardValues()
{
    WriteRegString(HKEY_LOCAL_MACHINE, kOdd, L"", L"default with \\ backslash, \"quotes\", [brackets]\n\ttabs");
    WriteRegString(HKEY_LOCAL_MACHINE, kOdd, L"name \"with\" quotes = and [brackets] \\ too", L"\x4e2d\x6587 and \x00e9");
    const wchar_t expand[] = L"%WINDIR%\\Rings";
    WriteRegRaw(HKEY_LOCAL_MACHINE, kOdd, L"Expand", REG_EXPAND_SZ, expand, sizeof expand);
    const wchar_t multi[] = L"one\0two\0\0";
    WriteRegRaw(HKEY_LOCAL_MACHINE, kOdd, L"Multi", REG_MULTI_SZ, multi, sizeof multi);
    std::string big(70000, '\0');
    for (size_t i = 0; i < big.size(); ++i) big[i] = (char)(i * 7 + 3);
    WriteRegRaw(HKEY_LOCAL_MACHINE, kOdd, L"Big", REG_BINARY, big.data(), (DWORD)big.size());
    WriteRegRaw(HKEY_LOCAL_MACHINE, kOdd, L"Empty", REG_BINARY, NULL, 0);
    WriteRegRaw(HKEY_LOCAL_MACHINE, kOdd, L"None", REG_NONE, "\x01\x02", 2);
    ULONGLONG q = 0x0123456789ABCDEFull;
    WriteRegRaw(HKEY_LOCAL_MACHINE, kOdd, L"Qword", REG_QWORD, &q, sizeof q);
    WriteRegRaw(HKEY_LOCAL_MACHINE, kOdd, L"Unterminated", REG_SZ, "abc", 3);
    WriteRegRaw(HKEY_LOCAL_MACHINE, kOdd, L"Control \x01\x1b chars", REG_SZ, L"\x01\x7f\x1b", 8);
    DWORD d = 0xFEEDBEEF;
    WriteRegRaw(HKEY_CURRENT_USER, L"ControlPanel\\Zelvo\\Deep\\Er\\Still", L"Number", REG_DWORD, &d, sizeof d);
    WriteRegRaw(HKEY_CLASSES_ROOT, L".zelvo", L"", REG_SZ, L"zelvofile", 20);
    HKEY k;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Zelvo Test\\Leaf without values", 0, NULL,
                                             0, KEY_ALL_ACCESS, NULL, &k, NULL));
    RegCloseKey(k);
}

void ChangeEverything()
{
    WriteRegString(HKEY_LOCAL_MACHINE, L"Software\\Added later", L"New", L"value");               // a new key
    WriteRegString(HKEY_LOCAL_MACHINE, kOdd, L"Multi", L"now a plain string");                   // type and bytes
    DWORD d = 1;
    WriteRegRaw(HKEY_CURRENT_USER, L"ControlPanel\\Zelvo\\Deep\\Er\\Still", L"Number", REG_DWORD, &d, sizeof d);
    DeleteRegValue(HKEY_LOCAL_MACHINE, kOdd, L"Big");                                        // a value gone
    DeleteRegValue(HKEY_LOCAL_MACHINE, kOdd, L"");                                           // the default value gone
    ASSERT_EQ(ERROR_SUCCESS, RegDeleteTreeW(HKEY_CURRENT_USER, L"ControlPanel\\Zelvo"));    // a subtree gone
    WriteRegString(HKEY_CURRENT_USER, L"Software\\Zelvo Test\\Leaf without values", L"Now", L"has one");
    WriteRegString(HKEY_CLASSES_ROOT, L".zelvo", L"", L"otherfile");
}

}  // namespace

TEST_F(RegistryTest, RestoreAndSoftResetGiveBackExactlyTheSavedRegistry)
{
    WriteAwkwardValues();
    std::string saved = DeviceSnapshot();
    DWORD boots = SimGetBootCount();
    std::wstring backup = Scratch(L"backup.reg");
    ASSERT_TRUE(RegCopyFile(backup.c_str())) << GetLastError();

    ChangeEverything();
    std::string changed = DeviceSnapshot();
    ASSERT_NE(saved, changed);

    // The restore only stages: the running registry stays as it is until the reset.
    ASSERT_TRUE(RegRestoreFile(backup.c_str())) << GetLastError();
    EXPECT_TRUE(SimHasStagedImage());
    EXPECT_EQ(changed, DeviceSnapshot());

    // A fault once the first hive is in: both hives go back as they were, the image
    // stays staged and the outcome is kept for the device-control command.
    SimSetFailure(SIM_FAIL_REGAPPLY, ERROR_WRITE_FAULT);
    EXPECT_EQ((DWORD)ERROR_WRITE_FAULT, SimSoftReset(FALSE));
    EXPECT_EQ(changed, DeviceSnapshot());
    EXPECT_TRUE(SimHasStagedImage());
    DWORD outcome = 0;
    EXPECT_TRUE(SimGetLastApply(&outcome) && outcome == ERROR_WRITE_FAULT);

    SimSetFailure(SIM_FAIL_REGAPPLY, 0);
    EXPECT_EQ(0u, SimSoftReset(FALSE));
    EXPECT_FALSE(SimHasStagedImage());
    EXPECT_TRUE(SimGetLastApply(&outcome) && outcome == 0);
    EXPECT_EQ(boots + 1, SimGetBootCount());
    EXPECT_EQ(saved, DeviceSnapshot());
}

TEST_F(RegistryTest, FilesThatAreNotCompleteImagesFailAndStageNothing)
{
    std::wstring backup = Scratch(L"good.reg");
    WriteRegString(HKEY_CURRENT_USER, L"Software\\Zelvo Test", L"Marker", L"before");
    ASSERT_TRUE(RegCopyFile(backup.c_str()));
    std::string good = ReadBytes(backup);
    WriteRegString(HKEY_CURRENT_USER, L"Software\\Zelvo Test", L"Marker", L"after");
    std::string running = DeviceSnapshot();

    // The good image edited and sealed again: only its contents are wrong.
    auto sealed = [&](size_t at, size_t count, const std::string &with) {
        std::string bytes = good;
        bytes.replace(at, count, with);
        ULONGLONG first;   // the first section's length, which holds the edit
        memcpy(&first, &bytes[REGIMG_HEADER_SIZE + 8], 8);
        first += with.size() - count;
        memcpy(&bytes[REGIMG_HEADER_SIZE + 8], &first, 8);
        Reseal(&bytes);
        return bytes;
    };
    ULONGLONG first;
    memcpy(&first, &good[REGIMG_HEADER_SIZE + 8], 8);
    size_t second = REGIMG_HEADER_SIZE + REGIMG_SECTION_HEADER_SIZE + (size_t)first;
    const size_t text = REGIMG_HEADER_SIZE + REGIMG_SECTION_HEADER_SIZE;
    size_t dword = good.find("dword:"), keyEnd = good.find("]\n", text);
    size_t block = good.find("\n[", text), blockEnd = good.find("\n[", block + 1);
    ASSERT_NE(std::string::npos, dword);
    std::string flipped = good;
    flipped[flipped.size() / 2] ^= 0x20;
    const struct {
        const char *what;
        std::string bytes;
        DWORD error;
    } cases[] = {
        {"a flipped byte", flipped, ERROR_REGISTRY_CORRUPT},
        {"one byte short", good.substr(0, good.size() - 1), ERROR_REGISTRY_CORRUPT},
        {"an empty file", "", ERROR_NOT_REGISTRY_FILE},
        {"an exported .reg", "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software]\r\n",
         ERROR_NOT_REGISTRY_FILE},
        {"a sealed image with a broken value", sealed(dword + 1, 1, "x"), ERROR_REGISTRY_CORRUPT},
        {"a key line with its time after the \"]\"", sealed(keyEnd + 1, 0, " 1700000000"), ERROR_REGISTRY_CORRUPT},
        {"a key given twice", sealed(blockEnd, 0, good.substr(block, blockEnd - block)), ERROR_REGISTRY_CORRUPT},
        {"a sealed image of an unknown root", sealed(REGIMG_HEADER_SIZE, 1, "\x09"), ERROR_REGISTRY_CORRUPT},
        {"the machine hive twice", sealed(second, 1, "\x01"), ERROR_REGISTRY_CORRUPT},
        {"the classes beside the machine hive that holds them", sealed(second, 1, "\x03"), ERROR_REGISTRY_CORRUPT},
    };
    std::wstring broken = Scratch(L"broken.reg");
    for (auto &c : cases) {
        WriteBytes(broken, c.bytes);
        SetLastError(0);
        EXPECT_FALSE(RegRestoreFile(broken.c_str())) << c.what;
        EXPECT_EQ(c.error, GetLastError()) << c.what;
    }
    EXPECT_FALSE(RegRestoreFile(NULL));
    EXPECT_FALSE(SimHasStagedImage());
    EXPECT_EQ(running, DeviceSnapshot());

    // A failed restore leaves an image staged before it whole.
    ASSERT_TRUE(RegRestoreFile(backup.c_str()));
    std::string before = ReadBytes(StagedPath());
    WriteBytes(broken, flipped);
    EXPECT_FALSE(RegRestoreFile(broken.c_str()));
    EXPECT_EQ(before, ReadBytes(StagedPath()));

    // A staged image damaged after the restore fails the reset's apply: the registry
    // stays, and so does the image, for the user to see and settle.
    std::string damaged = before;
    damaged[damaged.size() - 3] ^= 0x55;
    WriteBytes(StagedPath(), damaged);
    EXPECT_EQ((DWORD)ERROR_REGISTRY_CORRUPT, SimSoftReset(FALSE));
    EXPECT_EQ(damaged, ReadBytes(StagedPath()));
    EXPECT_EQ(running, DeviceSnapshot());
}

TEST_F(RegistryTest, BackupToAPathThatCannotBeWrittenFailsAndLeavesNothing)
{
    SetLastError(0);
    EXPECT_FALSE(RegCopyFile(Scratch(L"no such folder\\backup.reg").c_str()));
    EXPECT_EQ((DWORD)ERROR_PATH_NOT_FOUND, GetLastError());
    std::wstring locked = Scratch(L"locked.reg");
    WriteBytes(locked, "keep me");
    ASSERT_TRUE(SetFileAttributesW(locked.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(RegCopyFile(locked.c_str()));
    EXPECT_EQ((DWORD)ERROR_ACCESS_DENIED, GetLastError());
    EXPECT_EQ("keep me", ReadBytes(locked));
    EXPECT_FALSE(RegCopyFile(NULL));
    // Only what the test made itself is left: no partial or temporary file.
    EXPECT_EQ((std::vector<std::wstring>{L"locked.reg"}), FolderEntries(Scratch()));

    // Overwriting an ordinary, longer file replaces it whole.
    std::wstring old = Scratch(L"old.reg");
    WriteBytes(old, std::string(1 << 20, 'z'));
    ASSERT_TRUE(RegCopyFile(old.c_str()));
    EXPECT_TRUE(RegRestoreFile(old.c_str())) << GetLastError();
}
