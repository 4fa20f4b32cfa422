// Core services answered from the profile: version, power status, memory, storage.
#include <windows.h>
#include <string>
#include <vector>
#include "ceplatform.h"
#include "device_helpers.h"
#include "testkit.h"

class DeviceServices : public DeviceTest {};

TEST_F(DeviceServices, VersionAnswersAsTheDevice)
{
    // The device's record: the factory profile's version, no service pack text.
    OSVERSIONINFOW v;
    memset(&v, 0xCC, sizeof v);
    v.dwOSVersionInfoSize = 276;
    ASSERT_TRUE(GetVersionExW(&v));
    EXPECT_EQ(1088u, v.dwBuildNumber);
    EXPECT_EQ(3u, v.dwPlatformId);
    EXPECT_EQ(L'\0', v.szCSDVersion[0]);

    // A record of another size is refused and left as it was.
    struct { OSVERSIONINFOW v; DWORD guard; } odd;
    memset(&odd, 0xCC, sizeof odd);
    odd.v.dwOSVersionInfoSize = 200;
    EXPECT_FALSE(GetVersionExW(&odd.v));
    EXPECT_EQ((DWORD)ERROR_INSUFFICIENT_BUFFER, GetLastError());
    EXPECT_EQ(0xCCCCCCCCu, odd.v.dwMajorVersion);
    EXPECT_FALSE(GetVersionExW(NULL));
}

// What each field reads is the battery report's test; here the records' bounds.
TEST_F(DeviceServices, PowerStatusStaysInsideTheCallersRecordAndCanFail)
{
    SimBattery battery = {42, BATTERY_FLAG_HIGH, BATTERY_CHEMISTRY_LIPOLY, 0, 4120, -275, 312, FALSE};
    SimSetBattery(&battery);
    struct { SYSTEM_POWER_STATUS_EX2 s; BYTE guard[16]; } full;
    memset(&full, 0xCC, sizeof full);
    ASSERT_EQ(sizeof(SYSTEM_POWER_STATUS_EX2), GetSystemPowerStatusEx2(&full.s, sizeof full.s, TRUE));
    EXPECT_EQ(-275, (LONG)full.s.BatteryCurrent);
    for (BYTE g : full.guard) EXPECT_EQ(0xCC, g);
    // Discharging, the time left lies within the full time.
    EXPECT_GT(full.s.BatteryLifeTime, 0u);
    EXPECT_LE(full.s.BatteryLifeTime, full.s.BatteryFullLifeTime);

    // A short record gets only its head; the device's own record size is taken whole.
    memset(&full, 0xCC, sizeof full);
    EXPECT_EQ(8u, GetSystemPowerStatusEx2(&full.s, 8, TRUE));
    EXPECT_EQ(42, full.s.BatteryLifePercent);
    EXPECT_EQ(0xCCCCCCCCu, full.s.BatteryFullLifeTime);
    ASSERT_EQ(sizeof(SYSTEM_POWER_STATUS_EX2), GetSystemPowerStatusEx2(&full.s, 56, TRUE));

    // No reading at all: no time left either.
    battery.lifePercent = 255;
    battery.flag = BATTERY_FLAG_UNKNOWN;
    SimSetBattery(&battery);
    SYSTEM_POWER_STATUS_EX basic;
    ASSERT_TRUE(GetSystemPowerStatusEx(&basic, TRUE));
    EXPECT_EQ(255, basic.BatteryLifePercent);
    EXPECT_EQ(0xFFFFFFFFu, basic.BatteryLifeTime);

    battery.statusFails = TRUE;
    SimSetBattery(&battery);
    EXPECT_FALSE(GetSystemPowerStatusEx(&basic, TRUE));
    EXPECT_EQ(0u, GetSystemPowerStatusEx2(&full.s, sizeof full.s, TRUE));
    EXPECT_FALSE(GetSystemPowerStatusEx(NULL, TRUE));
}

TEST_F(DeviceServices, MemoryStatusFollowsTheProfile)
{
    SimSetMemory(64u * 1024 * 1024, 16u * 1024 * 1024);
    MEMORYSTATUS m;
    memset(&m, 0xCC, sizeof m);
    GlobalMemoryStatus(&m);
    EXPECT_EQ(sizeof m, m.dwLength);
    EXPECT_EQ(64u * 1024 * 1024, m.dwTotalPhys);
    EXPECT_EQ(16u * 1024 * 1024, m.dwAvailPhys);
    EXPECT_EQ(75u, m.dwMemoryLoad);
    EXPECT_LE(m.dwAvailVirtual, m.dwTotalVirtual);

    SimSetMemory(0xFFFFFFFFu, 0xFFFFFFFEu);
    GlobalMemoryStatus(&m);
    EXPECT_EQ(0xFFFFFFFFu, m.dwTotalPhys);
    EXPECT_EQ(0u, m.dwMemoryLoad);
    GlobalMemoryStatus(NULL);
}

TEST_F(DeviceServices, CardsAreEnumeratedThroughNotePrj)
{
    // None: the first call already says there is nothing. Several: in order.
    ASSERT_TRUE(SimSetCards(NULL, 0));
    EXPECT_TRUE(EnumerateCards().empty());
    SimCard cards[3] = {{L"Storage Card", 1000, 100, FALSE}, {L"ZR SD Card", 2000, 200, FALSE},
                        {L"ZR Flash ROM Disk", 3000, 300, TRUE}};
    ASSERT_TRUE(SimSetCards(cards, 3));
    std::vector<std::wstring> names = EnumerateCards();
    ASSERT_EQ(3u, names.size());
    EXPECT_EQ(L"ZR SD Card", names[1]);
    EXPECT_EQ(L"ZR Flash ROM Disk", names[2]);

    // A search ended by FindClose is gone (the file system's own searches close through
    // the same FindClose, as the browser's tests show); one without a record is refused.
    HMODULE library = LoadLibraryW(L"Note_prj.dll");
    typedef HANDLE(WINAPI * FindFirst)(LPWIN32_FIND_DATAW);
    typedef BOOL(WINAPI * FindNext)(HANDLE, LPWIN32_FIND_DATAW);
    FindFirst first = (FindFirst)(void *)GetProcAddress(library, MAKEINTRESOURCEA(7));
    FindNext next = (FindNext)(void *)GetProcAddress(library, MAKEINTRESOURCEA(8));
    WIN32_FIND_DATAW a;
    HANDLE one = first(&a);
    ASSERT_NE(INVALID_HANDLE_VALUE, one);
    EXPECT_TRUE(FindClose(one));
    EXPECT_FALSE(next(one, &a));
    EXPECT_EQ((DWORD)ERROR_INVALID_HANDLE, GetLastError());
    EXPECT_EQ(INVALID_HANDLE_VALUE, first(NULL));
    FreeLibrary(library);

    RemoveDirectoryW(L"C:\\ZR SD Card");
    RemoveDirectoryW(L"C:\\ZR Flash ROM Disk");
}

TEST_F(DeviceServices, CardSizesAnswerEveryFormOfTheirPath)
{
    SimCard cards[2] = {{L"Storage Card", 512ull * 1024 * 1024 * 1024, 100ull * 1024 * 1024 * 1024, FALSE},
                        {L"ZR Broken Card", 1000, 500, TRUE}};
    ASSERT_TRUE(SimSetCards(cards, 2));
    const wchar_t *forms[] = {L"\\Storage Card", L"Storage Card", L"\\STORAGE CARD\\", L"storage card\\",
                              L"C:\\Storage Card", L"\\Storage Card\\Music"};
    for (const wchar_t *path : forms) {
        ULARGE_INTEGER caller, total, free;
        caller.QuadPart = total.QuadPart = free.QuadPart = 0;
        ASSERT_TRUE(GetDiskFreeSpaceExW(path, &caller, &total, &free)) << std::string(path, path + wcslen(path));
        EXPECT_EQ(cards[0].totalBytes, total.QuadPart);
        EXPECT_EQ(cards[0].freeBytes, caller.QuadPart);
        EXPECT_EQ(cards[0].freeBytes, free.QuadPart);
    }
    ULARGE_INTEGER caller;
    EXPECT_TRUE(GetDiskFreeSpaceExW(L"\\Storage Card", &caller, NULL, NULL));

    // The unreadable card fails; a name that only begins like a card is no card.
    SetLastError(0);
    EXPECT_FALSE(GetDiskFreeSpaceExW(L"\\ZR Broken Card", &caller, NULL, NULL));
    EXPECT_NE(0u, GetLastError());
    ULARGE_INTEGER total;
    if (GetDiskFreeSpaceExW(L"\\Storage Cards", &caller, &total, NULL)) {
        EXPECT_NE(cards[0].totalBytes, total.QuadPart);
    }

    // Everything else is the file system's own answer.
    ASSERT_TRUE(GetDiskFreeSpaceExW(L"C:\\Windows", &caller, &total, NULL));
    EXPECT_NE(cards[0].totalBytes, total.QuadPart);

    RemoveDirectoryW(L"C:\\ZR Broken Card");
}
