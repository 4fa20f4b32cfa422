// Core services answered from the profile, within the caller's records. What the
// program makes of their readings is the device reports' test.
#include <windows.h>
#include <string>
#include "ceplatform.h"
#include "testkit.h"

using DeviceServices = DeviceTest;

TEST_F(DeviceServices, PowerStatusStaysInsideTheCallersRecord)
{
    SimBattery battery = {42, BATTERY_FLAG_HIGH, BATTERY_CHEMISTRY_LIPOLY, 0, 4120, -275, 312, FALSE};
    SimSetBattery(&battery);
    struct { SYSTEM_POWER_STATUS_EX2 s; BYTE guard[16]; } full;
    memset(&full, 0xCC, sizeof full);
    ASSERT_EQ(sizeof(SYSTEM_POWER_STATUS_EX2), GetSystemPowerStatusEx2(&full.s, sizeof full.s, TRUE));
    EXPECT_EQ(42, full.s.BatteryLifePercent);
    for (BYTE g : full.guard) EXPECT_EQ(0xCC, g);
}

TEST_F(DeviceServices, CardsAnswerThePathsTheProgramGives)
{
    SimCard cards[1] = {{L"Storage Card", 512ull << 30, 100ull << 30, FALSE}};
    ASSERT_TRUE(SimSetCards(cards, 1));
    // The browser page asks by bare name, the reports with a leading backslash.
    for (const wchar_t *path : {L"\\Storage Card", L"Storage Card", L"\\STORAGE CARD\\"}) {
        ULARGE_INTEGER caller = {}, total = {};
        ASSERT_TRUE(GetDiskFreeSpaceExW(path, &caller, &total, NULL)) << std::string(path, path + wcslen(path));
        EXPECT_EQ(cards[0].totalBytes, total.QuadPart);
        EXPECT_EQ(cards[0].freeBytes, caller.QuadPart);
    }
    // A name that only begins like a card is no card.
    ULARGE_INTEGER caller, total;
    if (GetDiskFreeSpaceExW(L"\\Storage Cards", &caller, &total, NULL)) {
        EXPECT_NE(cards[0].totalBytes, total.QuadPart);
    }

    // A search ended by FindClose is gone; one without a record is refused.
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFlashCard(&found);
    ASSERT_NE(INVALID_HANDLE_VALUE, search);
    EXPECT_TRUE(FindClose(search));
    EXPECT_FALSE(FindNextFlashCard(search, &found));
}
