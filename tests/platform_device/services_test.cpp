// Core services answered from the device's profile, within the caller's records. What
// the program makes of their readings is the device reports' test.
#include <windows.h>
#include <stddef.h>
#include <string>
#include <vector>
#include "ceplatform.h"
#include "testkit.h"

using DeviceServices = DeviceTest;

TEST_F(DeviceServices, TheProfileIsReadAfreshAndSurvivesDamage)
{
    wchar_t dir[MAX_PATH];
    ASSERT_TRUE(SimGetDeviceDir(dir, MAX_PATH));
    std::wstring profile = std::wstring(dir) + L"\\profile.ini";
    // Edited by hand between two queries: the next query sees it. Bad values keep their
    // defaults, a list entry without a usable name is left out, free space above the
    // total is cut to it.
    auto write = [&](const std::string &text) {
        HANDLE file = CreateFileW(profile.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
        DWORD written;
        ASSERT_TRUE(WriteFile(file, text.data(), (DWORD)text.size(), &written, NULL));
        CloseHandle(file);
    };
    write("garbage without an equals sign\r\nos.major = 5\nos.build=99999999999999999999\nbattery.percent=abc\n"
          "cards=3\ncard=First|100|40|0\ncard=bad/name|1|1|0\ncard=Third|10|50|1\n");
    OSVERSIONINFOW v = {sizeof v};
    ASSERT_TRUE(GetVersionExW(&v));
    EXPECT_EQ(5u, v.dwMajorVersion);
    EXPECT_EQ(1088u, v.dwBuildNumber);
    SimBattery b;
    SimGetBattery(&b);
    EXPECT_EQ(85, b.lifePercent);
    SimCard cards[SIM_MAX_CARDS];
    ASSERT_EQ(2, SimGetCards(cards, SIM_MAX_CARDS));
    EXPECT_STREQ(L"Third", cards[1].name);
    EXPECT_EQ(10u, cards[1].freeBytes);
    // An unreadable card answers no sizes.
    ULARGE_INTEGER caller = {}, total = {};
    EXPECT_FALSE(GetDiskFreeSpaceExW(L"\\Third", &caller, &total, NULL));
    EXPECT_EQ((DWORD)ERROR_NOT_READY, GetLastError());
    ASSERT_TRUE(GetDiskFreeSpaceExW(L"\\First", &caller, &total, NULL));
    EXPECT_EQ(40u, caller.QuadPart);

    // Binary rubbish is no profile: the factory one stands.
    std::string rubbish;
    for (int i = 0; i < 5000; ++i) rubbish += (char)(i * 37 % 256);
    write(rubbish);
    ASSERT_TRUE(GetVersionExW(&v));
    EXPECT_EQ(4u, v.dwMajorVersion);
    EXPECT_EQ(1, SimGetCards(NULL, 0));
}

TEST_F(DeviceServices, AnswersStayInsideTheCallersRecords)
{
    SimBattery battery = {42, BATTERY_FLAG_HIGH, BATTERY_CHEMISTRY_LIPOLY, 0, 4120, -275, 312, FALSE};
    SimSetBattery(&battery);
    struct { SYSTEM_POWER_STATUS_EX2 s; BYTE guard[16]; } full;
    memset(&full, 0xCC, sizeof full);
    ASSERT_EQ(sizeof(SYSTEM_POWER_STATUS_EX2), GetSystemPowerStatusEx2(&full.s, sizeof full.s, TRUE));
    EXPECT_EQ(42, full.s.BatteryLifePercent);
    for (BYTE g : full.guard) EXPECT_EQ(0xCC, g);

    // The storage cards as Note_prj.dll lists them; a search ended by FindClose is gone.
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFlashCard(&found);
    ASSERT_NE(INVALID_HANDLE_VALUE, search);
    EXPECT_STREQ(L"Storage Card", found.cFileName);
    EXPECT_FALSE(FindNextFlashCard(search, &found));
    EXPECT_EQ((DWORD)ERROR_NO_MORE_FILES, GetLastError());
    EXPECT_TRUE(FindClose(search));
    EXPECT_FALSE(FindNextFlashCard(search, &found));

    // The line capabilities, whose line name the phone-edition check reads.
    HLINEAPP app = 0;
    LINEINITIALIZEEXPARAMS params = {24, 0, 0, LINEINITIALIZEEXOPTION_USEEVENT};
    DWORD devices = 0, version = 0x00020000;
    ASSERT_EQ(0, lineInitializeEx(&app, NULL, NULL, L"RUDIRadeze", &devices, &version, &params));
    const DWORD fixed = offsetof(LINEDEVCAPS, PermanentLineGuid), nameBytes = sizeof(L"Cellular Line");
    std::vector<BYTE> buffer(2048);
    LINEDEVCAPS *caps = (LINEDEVCAPS *)buffer.data();
    for (DWORD size : {fixed - 1, fixed, fixed + nameBytes - 1, (DWORD)1316}) {
        memset(buffer.data(), 0xCD, buffer.size());
        caps->dwTotalSize = size;
        LONG result = lineGetDevCaps(app, 0, 0x00020000, 0, caps);
        for (size_t i = size; i < buffer.size(); ++i)
            ASSERT_EQ(0xCD, buffer[i]) << "byte " << i << " written with dwTotalSize " << size;
        if (size < fixed) {
            EXPECT_EQ(LINEERR_STRUCTURETOOSMALL, result);
            continue;
        }
        ASSERT_EQ(0, result) << size;
        EXPECT_EQ(fixed + nameBytes, caps->dwNeededSize);
        EXPECT_EQ(size < fixed + nameBytes ? 0u : nameBytes, caps->dwLineNameSize);
    }
    EXPECT_STREQ(L"Cellular Line", (const wchar_t *)(buffer.data() + caps->dwLineNameOffset));
    EXPECT_EQ(LINEERR_BADDEVICEID, lineGetDevCaps(app, 5, 0x00020000, 0, caps));
    EXPECT_EQ(0, lineShutdown(app));
}
