// The device profile: where it lives, its defaults, and how it survives damage.
#include <windows.h>
#include <string>
#include "ceplatform.h"
#include "device_helpers.h"
#include "testkit.h"

namespace {

class EnvironmentVariable {
public:
    explicit EnvironmentVariable(const wchar_t *name) : name_(name)
    {
        wchar_t value[MAX_PATH];
        DWORD n = GetEnvironmentVariableW(name, value, MAX_PATH);
        had_ = n > 0 && n < MAX_PATH;
        if (had_) value_ = value;
    }
    ~EnvironmentVariable() { SetEnvironmentVariableW(name_, had_ ? value_.c_str() : NULL); }
    void Set(const std::wstring &value) { SetEnvironmentVariableW(name_, value.c_str()); }
    void Clear() { SetEnvironmentVariableW(name_, NULL); }

private:
    const wchar_t *name_;
    bool had_;
    std::wstring value_;
};

bool FileExists(const std::wstring &path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void RemoveFolderWithProfile(const std::wstring &dir)
{
    DeleteFileW((dir + L"\\profile.ini").c_str());
    RemoveDirectoryW(dir.c_str());
}

OSVERSIONINFOW Version()
{
    OSVERSIONINFOW v;
    ZeroMemory(&v, sizeof v);
    v.dwOSVersionInfoSize = sizeof v;
    EXPECT_TRUE(GetVersionExW(&v));
    return v;
}

}

TEST(DeviceFolder, FollowsTheSettingThenThePrefix)
{
    EnvironmentVariable setting(L"ZR_DEVICE_DIR");

    // Without the setting: the prefix's device folder, which the set-up has marked.
    setting.Clear();
    std::wstring prefixDevice = DeviceDir();
    ASSERT_FALSE(prefixDevice.empty());
    EXPECT_EQ(L"\\device", prefixDevice.substr(prefixDevice.size() - 7));
    EXPECT_TRUE(FileExists(prefixDevice + L"\\created")) << "not the prefix's device folder";

    // A Windows path, taken as it is, trailing separator dropped.
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    std::wstring windowsDir = std::wstring(temp) + L"zr-folder-test";
    setting.Set(windowsDir + L"\\");
    EXPECT_EQ(windowsDir, DeviceDir());
    SimSetOsVersion(3, 0, 126);
    EXPECT_TRUE(FileExists(windowsDir + L"\\profile.ini"));
    EXPECT_EQ(3u, Version().dwMajorVersion);
    EXPECT_EQ(126u, Version().dwBuildNumber);

    // A Unix path to the same folder reaches the same profile.
    typedef char *(CDECL * ToUnix)(const WCHAR *);
    ToUnix toUnix = (ToUnix)(void *)GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name");
    ASSERT_TRUE(toUnix != NULL);
    char *unixPath = toUnix(windowsDir.c_str());
    ASSERT_TRUE(unixPath != NULL);
    ASSERT_EQ('/', unixPath[0]);
    wchar_t wide[MAX_PATH];
    MultiByteToWideChar(CP_UTF8, 0, unixPath, -1, wide, MAX_PATH);
    HeapFree(GetProcessHeap(), 0, unixPath);
    setting.Set(wide);
    EXPECT_EQ(3u, Version().dwMajorVersion);
    SimSetOsVersion(3, 0, 127);
    setting.Set(windowsDir);
    EXPECT_EQ(127u, Version().dwBuildNumber);

    // A setting that cannot be used names no folder: the factory values answer and
    // nothing is written anywhere else, least of all in the prefix's device.
    std::string prefixProfile = ReadTextFile(prefixDevice + L"\\profile.ini");
    setting.Set(std::wstring(400, L'x'));
    EXPECT_EQ(L"", DeviceDir());
    EXPECT_EQ(4u, Version().dwMajorVersion);
    SimSetOsVersion(1, 1, 1);
    EXPECT_EQ(4u, Version().dwMajorVersion);
    setting.Clear();
    EXPECT_EQ(prefixProfile, ReadTextFile(prefixDevice + L"\\profile.ini"));

    // A buffer too small for the folder gets an empty text, not part of a path.
    wchar_t small[4] = L"xyz";
    EXPECT_FALSE(SimGetDeviceDir(small, 4));
    EXPECT_EQ(L'\0', small[0]);

    RemoveFolderWithProfile(windowsDir);
}

class DeviceProfile : public DeviceTest {};

// The factory profile, which the program's tests take for granted.
void ExpectFactoryProfile()
{
    OSVERSIONINFOW v = Version();
    EXPECT_EQ(4u, v.dwMajorVersion);
    EXPECT_EQ(21u, v.dwMinorVersion);
    SimBattery b;
    SimGetBattery(&b);
    EXPECT_EQ(85, b.lifePercent);
    EXPECT_EQ(1, b.flag);
    EXPECT_FALSE(b.statusFails);
    DWORD total = 0, available = 0;
    SimGetMemory(&total, &available);
    EXPECT_GT(total, 48u * 1024 * 1024);
    EXPECT_LE(total, 64u * 1024 * 1024);
    EXPECT_LT(available, total);
    SimCard cards[SIM_MAX_CARDS];
    ASSERT_EQ(1, SimGetCards(cards, SIM_MAX_CARDS));
    EXPECT_STREQ(L"Storage Card", cards[0].name);
    EXPECT_GT(cards[0].freeBytes, 0u);
    EXPECT_LT(cards[0].freeBytes, cards[0].totalBytes);
    SimLine lines[SIM_MAX_LINES];
    ASSERT_EQ(1, SimGetLines(lines, SIM_MAX_LINES));
    EXPECT_STREQ(L"Cellular Line", lines[0].name);
    EXPECT_EQ(0u, SimGetFailure(SIM_FAIL_TELEPHONY));
    EXPECT_FALSE(SimGetCleanBootFlag());
}

TEST_F(DeviceProfile, StartsAsAPhoneEditionAndResetsToIt)
{
    // A private device begins with the factory profile; so does one with no file at
    // all, and one reset after every setting was changed.
    ExpectFactoryProfile();
    ASSERT_TRUE(DeleteFileW(ProfileFile().c_str()));
    ExpectFactoryProfile();

    SimSetOsVersion(5, 1, 14847);
    SimBattery low = {7, BATTERY_FLAG_LOW, BATTERY_CHEMISTRY_NIMH, 1, 3500, 300, 31, TRUE};
    SimSetBattery(&low);
    SimSetMemory(4096, 100);
    SimSetCards(NULL, 0);
    SimSetLines(NULL, 0);
    SimSetFailure(SIM_FAIL_TELEPHONY, 0x80000043);
    EXPECT_EQ(5u, Version().dwMajorVersion);
    EXPECT_EQ(0x80000043u, SimGetFailure(SIM_FAIL_TELEPHONY));
    SimResetProfile();
    ExpectFactoryProfile();
}

TEST_F(DeviceProfile, IsReadAfreshAndSurvivesDamage)
{
    // Edited by hand between two queries: the next query sees it. Bad values keep
    // their defaults, a list entry without a usable name is left out, and free space
    // above the total is cut to it.
    std::string longName(100, 'x');
    WriteTextFile(ProfileFile(),
                  "\xEF\xBB\xBF"
                  "garbage without an equals sign\r\n"
                  "[os]\nmajor = 5\nminor=2\nbuild=99999999999999999999\n"
                  "[battery]\npercent=abc\ncurrent=-5000\nvoltage=-3\nflag=9\n"
                  "[memory]\ntotal=1000\navailable=5000\n"
                  "[cards]\ncount=3\n"
                  "[card1]\nname=First\ntotal=100\nfree=40\n"
                  "[card2]\nname=bad/name\n"
                  "[card3]\nname=Third\ntotal=10\nfree=50\nunreadable=1\n"
                  "[card9]\nname=Beyond\n"
                  "[lines]\ncount=2\n[line1]\nname=" + longName + "\n[line2]\nname=Cellular Line\nnoopen=1\n"
                  "[unknown]\nmajor=7\n"
                  "[screen\nshape=square\n");
    OSVERSIONINFOW v = Version();
    EXPECT_EQ(5u, v.dwMajorVersion);
    EXPECT_EQ(2u, v.dwMinorVersion);
    EXPECT_EQ(1088u, v.dwBuildNumber);
    SimBattery b;
    SimGetBattery(&b);
    EXPECT_EQ(85, b.lifePercent);
    EXPECT_EQ(-5000, b.current);
    EXPECT_EQ(9, b.flag);
    DWORD total, available;
    SimGetMemory(&total, &available);
    EXPECT_EQ(1000u, total);
    EXPECT_EQ(1000u, available);
    SimCard cards[SIM_MAX_CARDS];
    ASSERT_EQ(2, SimGetCards(cards, SIM_MAX_CARDS));
    EXPECT_STREQ(L"First", cards[0].name);
    EXPECT_EQ(40u, cards[0].freeBytes);
    EXPECT_STREQ(L"Third", cards[1].name);
    EXPECT_EQ(10u, cards[1].freeBytes);
    EXPECT_TRUE(cards[1].unreadable);
    SimLine lines[SIM_MAX_LINES];
    ASSERT_EQ(1, SimGetLines(lines, SIM_MAX_LINES));
    EXPECT_STREQ(L"Cellular Line", lines[0].name);
    EXPECT_TRUE(lines[0].cannotOpen);

    // A copy that only asks for fewer entries than there are never gets more.
    SimCard one[1];
    EXPECT_EQ(2, SimGetCards(one, 1));
    EXPECT_STREQ(L"First", one[0].name);

    // Binary rubbish is no profile: the factory one stands.
    std::string rubbish;
    for (int i = 0; i < 5000; ++i) rubbish += (char)(i * 37 % 256);
    WriteTextFile(ProfileFile(), rubbish);
    EXPECT_EQ(4u, Version().dwMajorVersion);
    EXPECT_EQ(1, SimGetCards(NULL, 0));

    // An oversized file is read as far as a profile can reach, and a change writes a
    // whole, sound file again.
    WriteTextFile(ProfileFile(), "[os]\nmajor=6\n" + std::string(200000, ';') + "\n[os]\nmajor=9\n");
    EXPECT_EQ(6u, Version().dwMajorVersion);
    SimSetMemory(2000, 1500);
    std::string written = ReadTextFile(ProfileFile());
    EXPECT_LT(written.size(), 4000u);
    EXPECT_NE(std::string::npos, written.find("major=6"));
    EXPECT_NE(std::string::npos, written.find("available=1500"));
}

TEST_F(DeviceProfile, RefusesUnusableCardsAndLines)
{
    SimCard good[2] = {{L"ZR Test Card", 1000, 400, FALSE}, {L"ZR Test Card 2", 2000, 2000, TRUE}};
    ASSERT_TRUE(SimSetCards(good, 2));
    EXPECT_TRUE(FileExists(L"C:\\ZR Test Card"));
    EXPECT_TRUE(FileExists(L"C:\\ZR Test Card 2"));

    const wchar_t *badNames[] = {L"a\\b", L"bad:name", L"ends with dot.", L" leading", L"what?", L".."};
    for (const wchar_t *name : badNames) {
        SimCard bad = {L"", 10, 5, FALSE};
        wcscpy(bad.name, name);
        EXPECT_FALSE(SimSetCards(&bad, 1)) << "accepted " << std::string(name, name + wcslen(name));
    }
    SimCard twice[2] = {{L"Same", 10, 5, FALSE}, {L"SAME", 10, 5, FALSE}};
    EXPECT_FALSE(SimSetCards(twice, 2));
    SimCard overfull = {L"Overfull", 10, 11, FALSE};
    EXPECT_FALSE(SimSetCards(&overfull, 1));
    SimCard many[SIM_MAX_CARDS + 1];
    for (int i = 0; i <= SIM_MAX_CARDS; ++i) {
        many[i] = good[0];
        wsprintfW(many[i].name, L"Card %d", i);
    }
    EXPECT_FALSE(SimSetCards(many, SIM_MAX_CARDS + 1));
    EXPECT_FALSE(SimSetCards(NULL, 1));
    SimCard unterminated;
    for (int i = 0; i < 64; ++i) unterminated.name[i] = L'n';
    unterminated.totalBytes = unterminated.freeBytes = 0;
    unterminated.unreadable = FALSE;
    EXPECT_FALSE(SimSetCards(&unterminated, 1));

    // Nothing refused changed the list.
    SimCard cards[SIM_MAX_CARDS];
    ASSERT_EQ(2, SimGetCards(cards, SIM_MAX_CARDS));
    EXPECT_STREQ(L"ZR Test Card 2", cards[1].name);
    EXPECT_TRUE(cards[1].unreadable);

    SimLine lines[2] = {{L"Cellular Line", FALSE}, {L"Fax\nLine", FALSE}};
    SimSetLines(lines, 2);
    EXPECT_EQ(1, SimGetLines(NULL, 0)) << "a line name with a line break was taken";
    SimSetLines(lines, 1);
    SimLine back[SIM_MAX_LINES];
    ASSERT_EQ(1, SimGetLines(back, SIM_MAX_LINES));
    EXPECT_STREQ(L"Cellular Line", back[0].name);

    // Memory: no device has none, and none has more free than it has.
    SimSetMemory(0, 0);
    DWORD total, available;
    SimGetMemory(&total, &available);
    EXPECT_GT(total, 0u);
    SimSetMemory(4096, 8192);
    SimGetMemory(&total, &available);
    EXPECT_EQ(4096u, total);
    EXPECT_EQ(4096u, available);

    // Failures out of range are ignored.
    SimSetFailure(0, 5);
    SimSetFailure(99, 5);
    EXPECT_EQ(0u, SimGetFailure(0));
    EXPECT_EQ(0u, SimGetFailure(99));
    SimSetFailure(SIM_FAIL_REGCOPY, 50);
    EXPECT_EQ(50u, SimGetFailure(SIM_FAIL_REGCOPY));
    SimSetFailure(SIM_FAIL_REGCOPY, 0);
    EXPECT_EQ(0u, SimGetFailure(SIM_FAIL_REGCOPY));

    RemoveDirectoryW(L"C:\\ZR Test Card");
    RemoveDirectoryW(L"C:\\ZR Test Card 2");
}
