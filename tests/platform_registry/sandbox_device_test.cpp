// The per-test sandbox of the device registry and the device's set-up.
#include "registry_testkit.h"
#include <string.h>

namespace {

std::wstring SystemDrive()
{
    wchar_t windows[MAX_PATH];
    GetWindowsDirectoryW(windows, MAX_PATH);
    return std::wstring(windows, 2);
}

DWORD U32(const std::string &s, size_t at)
{
    DWORD v = 0;
    if (at + 4 <= s.size()) memcpy(&v, s.data() + at, 4);
    return v;
}

// A RIFF wave of PCM samples whose chunk sizes add up to the file.
bool ValidWave(const std::string &s)
{
    if (s.size() < 44 || s.compare(0, 4, "RIFF") || s.compare(8, 8, "WAVEfmt ")) return false;
    if (U32(s, 4) != s.size() - 8 || U32(s, 16) != 16 || (U32(s, 20) & 0xFFFF) != 1) return false;
    return s.compare(36, 4, "data") == 0 && U32(s, 40) == s.size() - 44 && U32(s, 40) > 0;
}

}  // namespace

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
    DWORD boots;
    EXPECT_TRUE(ReadRegDword(HKEY_LOCAL_MACHINE, L"Comm", L"Bootcount", &boots));   // seeded
    WriteRegString(HKEY_LOCAL_MACHINE, L"Software\\Zelvo Sandbox Test", L"Inside", L"sandbox value");
    SetLink(HKEY_CURRENT_USER, L"Software\\Out", real);
    std::wstring through;
    ASSERT_TRUE(ReadRegString(HKEY_CURRENT_USER, L"Software\\Out", L"Outside", &through));
    EXPECT_EQ(L"device value", through);

    // Hard reset inside the sandbox: the link goes, what it leads to stays.
    SimHardReset(FALSE);
    EXPECT_FALSE(RegKeyExists(HKEY_LOCAL_MACHINE, L"Software\\Zelvo Sandbox Test"));
    EXPECT_FALSE(RegKeyExists(HKEY_CURRENT_USER, L"Software\\Out"));

    SetLink(HKEY_CURRENT_USER, L"Software\\Out", real);
    WriteRegString(HKEY_LOCAL_MACHINE, L"Software\\Zelvo Sandbox Test", L"Inside", L"sandbox value");
    SimTestEnd();

    // Back on the device: nothing of the sandbox, everything of the device.
    std::wstring value;
    EXPECT_TRUE(ReadRegString(HKEY_CURRENT_USER, L"Software\\Zelvo Sandbox Test", L"Outside", &value));
    EXPECT_EQ(L"device value", value);
    EXPECT_FALSE(RegKeyExists(HKEY_LOCAL_MACHINE, L"Software\\Zelvo Sandbox Test"));
    EXPECT_FALSE(RegKeyExists(HKEY_USERS, L"SimDevice\\Sandbox\\7ffffff0-0000000000000001"));
    EXPECT_FALSE(RegKeyExists(HKEY_USERS, L"SimDevice"));
    EXPECT_EQ(ERROR_SUCCESS, RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Zelvo Sandbox Test"));
    SimTestBegin(SIM_TEST_ALL);
}

TEST_F(RegistryTest, CreatingTheDeviceSeedsTheFactoryValuesAndMakesItsFiles)
{
    ASSERT_EQ(ERROR_SUCCESS, RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Comm"));
    ASSERT_TRUE(SimCreateDevice());
    DWORD boots = 1;
    EXPECT_TRUE(ReadRegDword(HKEY_LOCAL_MACHINE, L"Comm", L"Bootcount", &boots));
    EXPECT_EQ(0u, boots);
    RegSnapshot first = DeviceSnapshot();
    ASSERT_TRUE(SimCreateDevice());
    EXPECT_EQ("", Differences(first, DeviceSnapshot()));

    std::wstring drive = SystemDrive();
    for (const wchar_t *folder : {L"\\Windows\\Rings", L"\\My Documents", L"\\Storage Card"}) {
        DWORD attributes = GetFileAttributesW((drive + folder).c_str());
        EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY));
    }
    int waves = 0;
    for (const std::wstring &name : FolderEntries(drive + L"\\Windows\\Rings")) {
        std::string bytes = ReadBytes(drive + L"\\Windows\\Rings\\" + name);
        std::wstring ext = name.substr(name.rfind(L'.') + 1);
        CharLowerBuffW(&ext[0], (DWORD)ext.size());
        if (ext == L"wav") {
            EXPECT_TRUE(ValidWave(bytes));
            ++waves;
        } else if (ext == L"mid") {
            EXPECT_EQ(0, bytes.compare(0, 4, "MThd"));
            EXPECT_NE(std::string::npos, bytes.find("MTrk"));
        } else if (ext == L"wma") {
            static const unsigned char asf[] = {0x30, 0x26, 0xB2, 0x75, 0x8E, 0x66, 0xCF, 0x11};
            EXPECT_EQ(0, memcmp(bytes.data(), asf, 8));
            ULONGLONG size = 0;
            memcpy(&size, bytes.data() + 70, 8);
            EXPECT_EQ(bytes.size(), size);
        }
    }
    EXPECT_GE(waves, 2);
    EXPECT_TRUE(ValidWave(ReadBytes(drive + L"\\Windows\\Rings\\Ring1.wav")));

    // The device this test runs on was made the same way: its factory image is whole.
    SimTestEnd();
    wchar_t folder[MAX_PATH];
    bool haveFolder = SimGetDeviceDir(folder, MAX_PATH) != FALSE;
    std::string factory = haveFolder ? ReadBytes(std::wstring(folder) + L"\\" REGIMG_FACTORY_NAME) : std::string();
    SimTestBegin(SIM_TEST_ALL);
    ASSERT_TRUE(haveFolder);
    WriteBytes(Scratch(L"factory.reg"), factory);
    EXPECT_TRUE(RegRestoreFile(Scratch(L"factory.reg").c_str())) << GetLastError();
    EXPECT_NE(std::string::npos, factory.find("\"Bootcount\"=dword:"));
}
