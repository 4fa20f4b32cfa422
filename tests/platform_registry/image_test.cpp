// The device registry's backup and restore: a restore brings back exactly the saved
// registry at the next soft reset or leaves it as it was, and refuses what is no sound
// image.
#include <stdio.h>
#include <string.h>
#include <wchar.h>
#include <set>
#include "testkit.h"
#include "ceplatform.h"
#include "platform/coredll/registry_image.h"

namespace {

using RegistryTest = DeviceTest;

DWORD Crc32(const std::string &bytes)
{
    DWORD crc = 0xFFFFFFFF;
    for (unsigned char c : bytes) {
        crc ^= c;
        for (int k = 0; k < 8; ++k) crc = (crc & 1) ? 0xEDB88320u ^ (crc >> 1) : crc >> 1;
    }
    return ~crc;
}

// A line for each key and value, links taken as themselves; the boot counter, which
// every restart raises, left out.
void Walk(HKEY key, std::wstring path, std::set<std::wstring> *out)
{
    CharUpperBuffW(&path[0], (DWORD)path.size());
    out->insert(path);
    DWORD subkeys = 0, maxName = 0, count = 0, maxValueName = 0, maxData = 0;
    RegQueryInfoKeyW(key, NULL, NULL, NULL, &subkeys, &maxName, NULL, &count, &maxValueName, &maxData, NULL, NULL);
    std::vector<wchar_t> name(maxValueName + maxName + 2);
    std::vector<BYTE> data(maxData + 2);
    for (DWORD i = 0; i < count; ++i) {
        DWORD length = (DWORD)name.size(), size = (DWORD)data.size(), type = 0;
        if (RegEnumValueW(key, i, &name[0], &length, NULL, &type, &data[0], &size) != ERROR_SUCCESS) continue;
        std::wstring value(&name[0], length);
        CharUpperBuffW(&value[0], length);
        if (path == L"HKLM\\COMM" && value == L"BOOTCOUNT") continue;
        wchar_t shape[48];
        swprintf(shape, 48, L" = type %lu, crc %08lx", type, Crc32(std::string((char *)&data[0], size)));
        out->insert(path + L" : " + value + shape);
    }
    for (DWORD i = 0; i < subkeys; ++i) {
        DWORD length = (DWORD)name.size();
        HKEY sub;
        if (RegEnumKeyExW(key, i, &name[0], &length, NULL, NULL, NULL, NULL) != ERROR_SUCCESS ||
            RegOpenKeyExW(key, &name[0], REG_OPTION_OPEN_LINK, KEY_READ, &sub) != ERROR_SUCCESS)
            continue;
        Walk(sub, path + L"\\" + std::wstring(&name[0], length), out);
        RegCloseKey(sub);
    }
}

// The sandbox's device registry: HKLM, which holds HKCR, and HKCU.
std::wstring Snapshot()
{
    std::set<std::wstring> lines;
    Walk(HKEY_LOCAL_MACHINE, L"HKLM", &lines);
    Walk(HKEY_CURRENT_USER, L"HKCU", &lines);
    std::wstring out;
    for (const std::wstring &line : lines) out += line + L"\n";
    return out;
}

std::wstring DeviceFile(const wchar_t *name)
{
    wchar_t folder[MAX_PATH] = L"";
    SimGetDeviceDir(folder, MAX_PATH);
    return std::wstring(folder) + L"\\" + name;
}

std::string ReadBytes(const std::wstring &path)
{
    std::string out;
    FILE *f = _wfopen(path.c_str(), L"rb");
    char buffer[65536];
    for (size_t n; f && (n = fread(buffer, 1, sizeof buffer, f)) > 0;) out.append(buffer, n);
    if (f) fclose(f);
    return out;
}

void WriteBytes(const std::wstring &path, const std::string &bytes)
{
    FILE *f = _wfopen(path.c_str(), L"wb");
    ASSERT_TRUE(f != NULL);
    EXPECT_EQ(bytes.size(), fwrite(bytes.data(), 1, bytes.size(), f));
    fclose(f);
}

const wchar_t kOdd[] = L"Software\\Zelvo Test\\[Odd] key \"quoted\"\\\x041a\x043b\x044e\x0447 \x00e9t\x00e9";

}  // namespace

TEST_F(RegistryTest, ASoftResetAppliesARestoreWholeOrNotAtAll)
{
    // Values of every kind and spelling the registry's text must carry exactly.
    WriteRegString(HKEY_LOCAL_MACHINE, kOdd, L"", L"default with \\ backslash, \"quotes\", [brackets]\n\ttabs");
    WriteRegString(HKEY_LOCAL_MACHINE, kOdd, L"name \"with\" quotes = and [brackets] \\ too", L"\x4e2d\x6587 \x00e9");
    const wchar_t multi[] = L"one\0two\0\0";
    WriteRegRaw(HKEY_LOCAL_MACHINE, kOdd, L"Multi", REG_MULTI_SZ, multi, sizeof multi);
    std::string big(70000, '\0');
    for (size_t i = 0; i < big.size(); ++i) big[i] = (char)(i * 7 + 3);
    WriteRegRaw(HKEY_LOCAL_MACHINE, kOdd, L"Big", REG_BINARY, big.data(), (DWORD)big.size());
    std::wstring line(150000, L'a');   // one line of text longer than a backup reads at a time
    for (size_t i = 0; i < line.size(); ++i) line[i] = (wchar_t)(L'a' + i % 26);
    WriteRegString(HKEY_LOCAL_MACHINE, kOdd, L"Long line", line.c_str());
    WriteRegRaw(HKEY_LOCAL_MACHINE, kOdd, L"Unterminated", REG_SZ, "abc", 3);
    WriteRegRaw(HKEY_LOCAL_MACHINE, kOdd, L"Control \x01\x1b chars", REG_SZ, L"\x01\x7f\x1b", 8);
    WriteRegDword(HKEY_CURRENT_USER, L"ControlPanel\\Zelvo\\Deep\\Er\\Still", L"Number", 0xFEEDBEEF);
    WriteRegString(HKEY_CLASSES_ROOT, L".zelvo", L"", L"zelvofile");
    std::wstring saved = Snapshot();
    DWORD boots = SimGetBootCount();
    std::wstring backup = DeviceFile(L"backup.reg");
    ASSERT_TRUE(RegCopyFile(backup.c_str())) << GetLastError();

    // Changes in both hives: keys and values added, changed and gone.
    WriteRegString(HKEY_LOCAL_MACHINE, L"Software\\Added later", L"New", L"value");
    WriteRegString(HKEY_LOCAL_MACHINE, kOdd, L"Multi", L"now a plain string");
    WriteRegString(HKEY_LOCAL_MACHINE, kOdd, L"Added", L"later");
    DeleteRegValue(HKEY_LOCAL_MACHINE, kOdd, L"Big");
    DeleteRegValue(HKEY_LOCAL_MACHINE, kOdd, L"Long line");
    ASSERT_EQ(ERROR_SUCCESS, RegDeleteTreeW(HKEY_CURRENT_USER, L"ControlPanel\\Zelvo"));
    WriteRegString(HKEY_CURRENT_USER, L"Software\\Zelvo Test\\Leaf", L"Now", L"has one");
    WriteRegString(HKEY_CLASSES_ROOT, L".zelvo", L"", L"otherfile");
    std::wstring changed = Snapshot();
    ASSERT_NE(saved, changed);

    // The restore only stages: the running registry stays as it is until the reset.
    ASSERT_TRUE(RegRestoreFile(backup.c_str())) << GetLastError();
    EXPECT_TRUE(SimHasStagedImage());
    EXPECT_EQ(changed, Snapshot());

    // A fault once the first hive is in: both hives go back as they were, the image
    // stays staged and the outcome is kept for the device-control command.
    SimSetFailure(SIM_FAIL_REGAPPLY, ERROR_WRITE_FAULT);
    EXPECT_EQ((DWORD)ERROR_WRITE_FAULT, SimSoftReset(FALSE));
    EXPECT_EQ(changed, Snapshot());
    EXPECT_TRUE(SimHasStagedImage());
    DWORD outcome = 0;
    EXPECT_TRUE(SimGetLastApply(&outcome) && outcome == ERROR_WRITE_FAULT);

    SimSetFailure(SIM_FAIL_REGAPPLY, 0);
    EXPECT_EQ(boots + 1, SimGetBootCount());   // the restart counted all the same

    // Applied whole, but a hive does not save as the image says when the flush checks
    // it: both hives go back as they were and are flushed so, the restart counted.
    SimSetFailure(SIM_FAIL_REGCHECK, 1);
    EXPECT_EQ((DWORD)ERROR_REGISTRY_CORRUPT, SimSoftReset(FALSE));
    SimSetFailure(SIM_FAIL_REGCHECK, 0);
    EXPECT_EQ(changed, Snapshot());
    EXPECT_TRUE(SimHasStagedImage());
    EXPECT_TRUE(SimGetLastApply(&outcome) && outcome == ERROR_REGISTRY_CORRUPT);
    EXPECT_EQ(boots + 2, SimGetBootCount());

    EXPECT_EQ(0u, SimSoftReset(FALSE));
    EXPECT_FALSE(SimHasStagedImage());
    EXPECT_TRUE(SimGetLastApply(&outcome) && outcome == 0);
    EXPECT_EQ(boots + 1, SimGetBootCount());
    EXPECT_EQ(saved, Snapshot());
    std::wstring type;   // read through the classes root, which must still name its key
    EXPECT_TRUE(ReadRegString(HKEY_CLASSES_ROOT, L".zelvo", L"", &type) && type == L"zelvofile");
}

// The display driver deletes and writes its device keys again whenever the display
// starts or changes, from its own process: a reset brings back everything else of the
// image and leaves those keys as the display keeps them, its check undisturbed by them.
TEST_F(RegistryTest, AResetLeavesTheDisplaysOwnKeysAsTheDisplayKeepsThem)
{
    const wchar_t monitor[] = L"System\\CurrentControlSet\\Enum\\DISPLAY\\Zelvo_Monitor";
    const wchar_t adapter[] = L"System\\CurrentControlSet\\Control\\Class\\{4D36E968-E325-11CE-BFC1-08002BE10318}\\0099";
    const wchar_t beside[] = L"System\\CurrentControlSet\\Enum\\DISPLAYS";   // not the display's
    WriteRegDword(HKEY_LOCAL_MACHINE, monitor, L"Seen", 1);
    WriteRegDword(HKEY_LOCAL_MACHINE, adapter, L"Seen", 1);
    WriteRegDword(HKEY_LOCAL_MACHINE, beside, L"Seen", 1);
    WriteRegDword(HKEY_LOCAL_MACHINE, L"Software\\Zelvo Test", L"Setting", 1);
    std::wstring backup = DeviceFile(L"display.reg");
    ASSERT_TRUE(RegCopyFile(backup.c_str())) << GetLastError();
    ASSERT_TRUE(RegRestoreFile(backup.c_str())) << GetLastError();

    // The display has written its keys anew meanwhile, one of them gone; so has the user.
    WriteRegDword(HKEY_LOCAL_MACHINE, monitor, L"Seen", 2);
    WriteRegDword(HKEY_LOCAL_MACHINE, L"System\\CurrentControlSet\\Enum\\DISPLAY\\Zelvo_Monitor\\New", L"Seen", 2);
    ASSERT_EQ(ERROR_SUCCESS, RegDeleteTreeW(HKEY_LOCAL_MACHINE, adapter));
    WriteRegDword(HKEY_LOCAL_MACHINE, beside, L"Seen", 2);
    WriteRegDword(HKEY_LOCAL_MACHINE, L"Software\\Zelvo Test", L"Setting", 2);

    EXPECT_EQ(0u, SimSoftReset(FALSE));
    EXPECT_FALSE(SimHasStagedImage());
    DWORD value = 0;
    EXPECT_TRUE(ReadRegDword(HKEY_LOCAL_MACHINE, L"Software\\Zelvo Test", L"Setting", &value) && value == 1);
    EXPECT_TRUE(ReadRegDword(HKEY_LOCAL_MACHINE, beside, L"Seen", &value) && value == 1) << "a key beside the display's";
    EXPECT_TRUE(ReadRegDword(HKEY_LOCAL_MACHINE, monitor, L"Seen", &value) && value == 2);
    EXPECT_TRUE(RegKeyExists(HKEY_LOCAL_MACHINE, L"System\\CurrentControlSet\\Enum\\DISPLAY\\Zelvo_Monitor\\New"));
    EXPECT_FALSE(RegKeyExists(HKEY_LOCAL_MACHINE, adapter));
}

TEST_F(RegistryTest, ImagesThatAreNotSoundAreRefusedAndStageNothing)
{
    std::wstring backup = DeviceFile(L"good.reg"), broken = DeviceFile(L"broken.reg");
    WriteRegString(HKEY_CURRENT_USER, L"Software\\Zelvo Test", L"Marker", L"sealed");
    WriteRegString(HKEY_LOCAL_MACHINE, L"Software\\Zelvo Test", L"Marker", L"sealed");
    WriteRegDword(HKEY_LOCAL_MACHINE, L"Software\\Zelvo Test", L"Number", 42);
    WriteRegRaw(HKEY_LOCAL_MACHINE, L"Software\\Zelvo Test", L"Bytes", REG_BINARY, "\xab\xcd", 2);
    ASSERT_TRUE(RegCopyFile(backup.c_str()));
    std::string good = ReadBytes(backup);

    // The good image edited and sealed again: only its contents are wrong.
    ULONGLONG first;   // the first section's length, which holds every edit of its text
    memcpy(&first, &good[REGIMG_HEADER_SIZE + 8], 8);
    auto sealed = [&](size_t at, size_t count, const std::string &with) {
        std::string bytes = good;
        bytes.replace(at, count, with);
        ULONGLONG length = first + with.size() - count, size = bytes.size();
        memcpy(&bytes[REGIMG_HEADER_SIZE + 8], &length, 8);
        memcpy(&bytes[24], &size, 8);
        memset(&bytes[REGIMG_CRC_OFFSET], 0, 4);
        DWORD crc = Crc32(bytes);
        memcpy(&bytes[REGIMG_CRC_OFFSET], &crc, 4);
        return bytes;
    };
    const size_t text = REGIMG_HEADER_SIZE + REGIMG_SECTION_HEADER_SIZE, second = text + (size_t)first;
    size_t keyEnd = good.find("]\n", text), block = good.find("\n[", text), blockEnd = good.find("\n[", block + 1);
    size_t marker = good.find("\"Marker\"=\"sealed\"\n", text), number = good.find("\"Number\"=dword:0000002a", text),
           bytes = good.find("\"Bytes\"=hex:ab,cd", text);
    ASSERT_TRUE(marker < second && number < second && bytes < second);
    std::string flipped = good;   // a letter's case, which only the checksum tells
    flipped[good.find("sealed")] ^= 0x20;
    const std::pair<const char *, std::string> cases[] = {
        {"a flipped byte", flipped},
        {"a key line with its time after the \"]\"", sealed(keyEnd + 1, 0, " 1700000000")},
        {"a key given twice", sealed(blockEnd, 0, good.substr(block, blockEnd - block))},
        {"an unknown root", sealed(REGIMG_HEADER_SIZE, 1, "\x09")},
        {"the machine hive twice", sealed(second, 1, "\x01")},
        {"the classes beside the machine hive that holds them", sealed(second, 1, "\x03")},
        // Lines the registry reads, but not as its save writes them.
        {"a value given twice", sealed(marker, 0, "\"Marker\"=\"sealed\"\n")},
        {"a letter written as an escape", sealed(marker + 10, 1, "\\x0073")},
        {"a number written as bytes", sealed(number, 23, "\"Number\"=hex(4):2a,00,00,00")},
        {"bytes in capitals", sealed(bytes, 17, "\"Bytes\"=hex:AB,cd")},
    };
    for (auto &c : cases) {
        WriteBytes(broken, c.second);
        SetLastError(0);
        EXPECT_FALSE(RegRestoreFile(broken.c_str())) << c.first;
        EXPECT_EQ((DWORD)ERROR_REGISTRY_CORRUPT, GetLastError()) << c.first;
    }
    EXPECT_FALSE(SimHasStagedImage());
}

namespace {

// The names in a folder that a write in progress leaves: temporaries and their records.
std::wstring Leftovers(const std::wstring &folder)
{
    std::wstring found;
    WIN32_FIND_DATAW data;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &data);
    for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileW(search, &data)) {
        std::wstring name = data.cFileName;
        if (name.find(L".~") != std::wstring::npos || name.compare(0, 8, L"pending-") == 0) found += name + L" ";
    }
    if (search != INVALID_HANDLE_VALUE) FindClose(search);
    return found;
}

}  // namespace

// A backup is made in the device folder and moved to its place when done. When the
// device folder lies on another volume, the move cannot be a rename: the copy goes
// beside the file first. Either way the file is a whole image of the registry of the
// moment, the earlier file is replaced, and nothing is left behind.
TEST_F(RegistryTest, ABackupIsWholeWhereverItsTemporaryLies)
{
    std::wstring device = DeviceFile(L""), folder = DeviceFile(L"On a card");
    device.pop_back();
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), NULL) || GetLastError() == ERROR_ALREADY_EXISTS);
    std::wstring backup = folder + L"\\backup.reg";
    const char *markers[] = {"first", "second"};
    for (int across = 0; across < 2; ++across) {
        WriteRegString(HKEY_LOCAL_MACHINE, L"Software\\Zelvo Test", L"Marker", across ? L"second" : L"first");
        SimSetFailure(SIM_FAIL_CROSSVOLUME, across);
        BOOL ok = RegCopyFile(backup.c_str());
        DWORD error = GetLastError();
        SimSetFailure(SIM_FAIL_CROSSVOLUME, 0);
        ASSERT_TRUE(ok) << "across volumes: " << across << ", error " << error;
        std::string bytes = ReadBytes(backup);
        EXPECT_NE(std::string::npos, bytes.find(std::string("\"Marker\"=\"") + markers[across] + "\"\n")) << across;
        EXPECT_EQ(std::string::npos, bytes.find(std::string("\"Marker\"=\"") + markers[1 - across] + "\"\n")) << across;
        EXPECT_EQ(L"", Leftovers(folder)) << across;
        EXPECT_EQ(L"", Leftovers(device)) << across;
        EXPECT_TRUE(RegRestoreFile(backup.c_str())) << across << ", error " << GetLastError();
    }
    EXPECT_EQ(0u, SimSoftReset(FALSE));
    std::wstring marker;
    EXPECT_TRUE(ReadRegString(HKEY_LOCAL_MACHINE, L"Software\\Zelvo Test", L"Marker", &marker) && marker == L"second");
}
