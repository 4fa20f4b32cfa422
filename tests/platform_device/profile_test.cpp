// The device profile: where it lives, and how it survives damage.
#include <windows.h>
#include <string>
#include "ceplatform.h"
#include "device_helpers.h"
#include "testkit.h"

namespace {

bool FileExists(const std::wstring &path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

DWORD Major()
{
    OSVERSIONINFOW v = {};
    v.dwOSVersionInfoSize = sizeof v;
    EXPECT_TRUE(GetVersionExW(&v));
    return v.dwMajorVersion;
}
}

// The setting itself carries every device-control test to its private device.
TEST(DeviceFolder, IsThePrefixsUnlessTheSettingNamesAnother)
{
    wchar_t saved[MAX_PATH];
    DWORD had = GetEnvironmentVariableW(L"ZR_DEVICE_DIR", saved, MAX_PATH);

    // Without the setting: the prefix's device folder, which the set-up has marked.
    SetEnvironmentVariableW(L"ZR_DEVICE_DIR", NULL);
    std::wstring prefixDevice = DeviceDir();
    EXPECT_TRUE(FileExists(prefixDevice + L"\\created")) << "not the prefix's device folder";
    std::string prefixProfile = ReadTextFile(prefixDevice + L"\\profile.ini");

    // A setting that cannot be used names no folder: the factory values answer and
    // nothing is written anywhere, least of all in the prefix's device.
    SetEnvironmentVariableW(L"ZR_DEVICE_DIR", std::wstring(400, L'x').c_str());
    EXPECT_EQ(L"", DeviceDir());
    SimSetOsVersion(1, 1, 1);
    EXPECT_EQ(4u, Major());
    SetEnvironmentVariableW(L"ZR_DEVICE_DIR", had && had < MAX_PATH ? saved : NULL);
    EXPECT_EQ(prefixProfile, ReadTextFile(prefixDevice + L"\\profile.ini"));

    // A buffer too small for the folder gets an empty text, not part of a path.
    wchar_t small[4] = L"xyz";
    EXPECT_FALSE(SimGetDeviceDir(small, 4));
    EXPECT_EQ(L'\0', small[0]);
}

using DeviceProfile = DeviceTest;

TEST_F(DeviceProfile, IsReadAfreshAndSurvivesDamage)
{
    // Without a file the device is the factory's.
    ASSERT_TRUE(DeleteFileW(ProfileFile().c_str()));
    EXPECT_EQ(4u, Major());
    EXPECT_EQ(1, SimGetCards(NULL, 0));

    // Edited by hand between two queries: the next query sees it. Bad values keep
    // their defaults, a list entry without a usable name is left out, free space
    // above the total is cut to it, and no name overruns its field.
    WriteTextFile(ProfileFile(),
                  "\xEF\xBB\xBF"
                  "garbage without an equals sign\r\n"
                  "os.major = 5\nos.build=99999999999999999999\n"
                  "battery.percent=abc\nbattery.current=-5000\n"
                  "memory.total=1000\nmemory.available=5000\n"
                  "cards=3\ncard=First|100|40|0\ncard=bad/name|1|1|0\ncard=Third|10|50|1\n"
                  "lines=2\nline=" + std::string(100, 'x') + "|0\nline=Cellular Line|0\n");
    OSVERSIONINFOW v = {};
    v.dwOSVersionInfoSize = sizeof v;
    ASSERT_TRUE(GetVersionExW(&v));
    EXPECT_EQ(5u, v.dwMajorVersion);
    EXPECT_EQ(1088u, v.dwBuildNumber);
    SimBattery b;
    SimGetBattery(&b);
    EXPECT_EQ(85, b.lifePercent);
    EXPECT_EQ(-5000, b.current);
    DWORD total, available;
    SimGetMemory(&total, &available);
    EXPECT_EQ(1000u, available);
    SimCard cards[SIM_MAX_CARDS];
    ASSERT_EQ(2, SimGetCards(cards, SIM_MAX_CARDS));
    EXPECT_STREQ(L"Third", cards[1].name);
    EXPECT_EQ(10u, cards[1].freeBytes);
    EXPECT_TRUE(cards[1].unreadable);
    SimLine lines[SIM_MAX_LINES];
    ASSERT_EQ(1, SimGetLines(lines, SIM_MAX_LINES));
    EXPECT_STREQ(L"Cellular Line", lines[0].name);
    // A copy that asks for fewer entries than there are never gets more.
    SimCard one[1];
    EXPECT_EQ(2, SimGetCards(one, 1));
    EXPECT_STREQ(L"First", one[0].name);

    // Binary rubbish is no profile: the factory one stands.
    std::string rubbish;
    for (int i = 0; i < 5000; ++i) rubbish += (char)(i * 37 % 256);
    WriteTextFile(ProfileFile(), rubbish);
    EXPECT_EQ(4u, Major());
    EXPECT_EQ(1, SimGetCards(NULL, 0));

    // An oversized file is read as far as a profile can reach, and a change writes a
    // whole, sound file again.
    WriteTextFile(ProfileFile(), "os.major=6\n" + std::string(200000, ';') + "\nos.major=9\n");
    EXPECT_EQ(6u, Major());
    SimSetMemory(2000, 1500);
    std::string written = ReadTextFile(ProfileFile());
    EXPECT_LT(written.size(), 4000u);
    EXPECT_NE(std::string::npos, written.find("os.major=6"));
    EXPECT_NE(std::string::npos, written.find("memory.available=1500"));
}

TEST_F(DeviceProfile, RefusesUnusableCardsAndLines)
{
    SimCard good[2] = {{L"ZR Test Card", 1000, 400, FALSE}, {L"ZR Test Card 2", 2000, 2000, TRUE}};
    ASSERT_TRUE(SimSetCards(good, 2));
    EXPECT_TRUE(FileExists(L"C:\\ZR Test Card 2"));

    // Each refused list leaves the one before in place.
    SimCard badName = {L"a\\b", 10, 5, FALSE}, dots = {L"..", 10, 5, FALSE}, overfull = {L"Full", 10, 11, FALSE};
    SimCard unterminated = {};
    wmemset(unterminated.name, L'n', 64);
    SimCard many[SIM_MAX_CARDS + 1];
    for (int i = 0; i <= SIM_MAX_CARDS; ++i) {
        many[i] = good[0];
        wsprintfW(many[i].name, L"Card %d", i);
    }
    EXPECT_FALSE(SimSetCards(&badName, 1));
    EXPECT_FALSE(SimSetCards(&dots, 1));
    EXPECT_FALSE(SimSetCards(&overfull, 1));
    EXPECT_FALSE(SimSetCards(&unterminated, 1));
    EXPECT_FALSE(SimSetCards(many, SIM_MAX_CARDS + 1));
    EXPECT_FALSE(SimSetCards(NULL, 1));
    SimCard cards[SIM_MAX_CARDS];
    ASSERT_EQ(2, SimGetCards(cards, SIM_MAX_CARDS));
    EXPECT_STREQ(L"ZR Test Card 2", cards[1].name);

    // A line name with a line break would break the profile: it is left out.
    SimLine lines[2] = {{L"Cellular Line", FALSE}, {L"Fax\nLine", FALSE}};
    SimSetLines(lines, 2);
    EXPECT_EQ(1, SimGetLines(NULL, 0));

    RemoveDirectoryW(L"C:\\ZR Test Card");
    RemoveDirectoryW(L"C:\\ZR Test Card 2");
}
