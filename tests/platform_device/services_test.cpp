// Core services answered from the profile, within the caller's records. What the
// program makes of their readings is the device reports' test.
#include <windows.h>
#include <string>
#include "ceplatform.h"
#include "device_helpers.h"
#include "testkit.h"

using DeviceServices = DeviceTest;

TEST_F(DeviceServices, VersionAnswersOnlyARecordOfItsSize)
{
    OSVERSIONINFOW v;
    v.dwOSVersionInfoSize = sizeof v;
    ASSERT_TRUE(GetVersionExW(&v));
    EXPECT_EQ(3u, v.dwPlatformId);
    EXPECT_EQ(L'\0', v.szCSDVersion[0]);
    struct { OSVERSIONINFOW v; DWORD guard; } odd;
    memset(&odd, 0xCC, sizeof odd);
    odd.v.dwOSVersionInfoSize = 200;
    EXPECT_FALSE(GetVersionExW(&odd.v));
    EXPECT_EQ(0xCCCCCCCCu, odd.v.dwMajorVersion);
}

TEST_F(DeviceServices, PowerStatusStaysInsideTheCallersRecordAndCanFail)
{
    SimBattery battery = {42, BATTERY_FLAG_HIGH, BATTERY_CHEMISTRY_LIPOLY, 0, 4120, -275, 312, FALSE};
    SimSetBattery(&battery);
    struct { SYSTEM_POWER_STATUS_EX2 s; BYTE guard[16]; } full;
    memset(&full, 0xCC, sizeof full);
    ASSERT_EQ(sizeof(SYSTEM_POWER_STATUS_EX2), GetSystemPowerStatusEx2(&full.s, sizeof full.s, TRUE));
    for (BYTE g : full.guard) EXPECT_EQ(0xCC, g);
    // A short record gets only its head.
    memset(&full, 0xCC, sizeof full);
    EXPECT_EQ(8u, GetSystemPowerStatusEx2(&full.s, 8, TRUE));
    EXPECT_EQ(42, full.s.BatteryLifePercent);
    EXPECT_EQ(0xCCCCCCCCu, full.s.BatteryFullLifeTime);

    battery.statusFails = TRUE;
    SimSetBattery(&battery);
    SYSTEM_POWER_STATUS_EX basic;
    EXPECT_FALSE(GetSystemPowerStatusEx(&basic, TRUE));
    EXPECT_EQ(0u, GetSystemPowerStatusEx2(&full.s, sizeof full.s, TRUE));
}

TEST_F(DeviceServices, CardsAnswerThePathsTheProgramGives)
{
    SimCard cards[2] = {{L"Storage Card", 512ull << 30, 100ull << 30, FALSE}, {L"ZR Broken Card", 1000, 500, TRUE}};
    ASSERT_TRUE(SimSetCards(cards, 2));
    EXPECT_EQ((std::vector<std::wstring>{L"Storage Card", L"ZR Broken Card"}), EnumerateCards());
    // The browser page asks by bare name, the reports with a leading backslash.
    for (const wchar_t *path : {L"\\Storage Card", L"Storage Card", L"\\STORAGE CARD\\"}) {
        ULARGE_INTEGER caller = {}, total = {};
        ASSERT_TRUE(GetDiskFreeSpaceExW(path, &caller, &total, NULL)) << std::string(path, path + wcslen(path));
        EXPECT_EQ(cards[0].totalBytes, total.QuadPart);
        EXPECT_EQ(cards[0].freeBytes, caller.QuadPart);
    }
    // The unreadable card fails; a name that only begins like a card is no card.
    ULARGE_INTEGER caller, total;
    EXPECT_FALSE(GetDiskFreeSpaceExW(L"\\ZR Broken Card", &caller, &total, NULL));
    if (GetDiskFreeSpaceExW(L"\\Storage Cards", &caller, &total, NULL)) {
        EXPECT_NE(cards[0].totalBytes, total.QuadPart);
    }

    // A search ended by FindClose is gone; one without a record is refused.
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFlashCard(&found);
    ASSERT_NE(INVALID_HANDLE_VALUE, search);
    EXPECT_TRUE(FindClose(search));
    EXPECT_FALSE(FindNextFlashCard(search, &found));
    EXPECT_EQ(INVALID_HANDLE_VALUE, FindFirstFlashCard(NULL));
    RemoveDirectoryW(L"C:\\ZR Broken Card");
}
