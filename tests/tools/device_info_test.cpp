#include "testkit.h"
#include "tools/tools.h"

static SimBattery Battery(BYTE percent, BYTE flag, DWORD temperature, BYTE chemistry = 4)
{
    SimBattery battery = {};
    battery.lifePercent = percent;
    battery.flag = flag;
    battery.chemistry = chemistry;
    battery.voltage = 3900;
    battery.current = -150;
    battery.temperature = temperature;
    return battery;
}

static std::wstring BatteryReport(const SimBattery &battery)
{
    SimSetBattery(&battery);
    ShowBatteryReport(NULL);
    SimMessageBox box = LastMessageBox();
    EXPECT_STREQ(L"Battery Information", box.caption);
    EXPECT_EQ((UINT)MB_ICONINFORMATION, box.flags);
    return box.text;
}

using DeviceInfo = DeviceTest;

TEST_F(DeviceInfo, BatteryReportLines)
{
    EXPECT_EQ(L"Percent: 85%.\nStatus: High\nVoltage: 3900 (mV)\nCurrent: -150 (mA)\nType: Lithium Ion battery\n"
              L"Temperature: 25 (C)/77 (F)\n",
              BatteryReport(Battery(85, 1, 25)));
    // No reading shows full; a combination of flags names no status; tenths of a degree.
    EXPECT_EQ(L"Percent: 100%.\nStatus: \nVoltage: 3900 (mV)\nCurrent: -150 (mA)\nType: Alkaline battery\n"
              L"Temperature: 25 (C)/77 (F)\n",
              BatteryReport(Battery(255, 9, 250, 1)));
    std::wstring hot = BatteryReport(Battery(40, 255, 100, 255));
    EXPECT_NE(std::wstring::npos, hot.find(L"Status: Unkonw status\n")) << hot;
    EXPECT_NE(std::wstring::npos, hot.find(L"Type: Battery chemistry is unknown.\n")) << hot;
    EXPECT_NE(std::wstring::npos, hot.find(L"Temperature: 100 (C)/212 (F)\n")) << hot;
    EXPECT_NE(std::wstring::npos, BatteryReport(Battery(40, 8, 31, 7)).find(L"Type: \nTemperature: 31 (C)/87 (F)\n"));
    EXPECT_NE(std::wstring::npos, BatteryReport(Battery(40, 128, 310)).find(L"Status: No Battery\n"));

    SimBattery failing = Battery(85, 1, 25);
    failing.statusFails = TRUE;
    SimSetBattery(&failing);
    ShowBatteryReport(NULL);
    SimMessageBox box = LastMessageBox();
    EXPECT_STREQ(L"Couldn't get power state", box.text);
    EXPECT_STREQ(L"Error", box.caption);
    EXPECT_EQ((UINT)MB_OK, box.flags);
}

TEST_F(DeviceInfo, BatteryGaugeCapsAtFull)
{
    SimBattery battery = Battery(255, 1, 25);
    SimSetBattery(&battery);
    DWORD fill = 64, percent = 0;
    ReadBatteryGauge(NULL, &fill, &percent);
    EXPECT_EQ(64u, fill);
    EXPECT_EQ(100u, percent);

    battery.lifePercent = 85;
    SimSetBattery(&battery);
    fill = 64;
    ReadBatteryGauge(NULL, &fill, &percent);
    EXPECT_EQ(54u, fill);
    EXPECT_EQ(85u, percent);
}

TEST_F(DeviceInfo, MemoryGaugeAndReportRoundDifferently)
{
    SimSetMemory(48u << 20, 20000000);
    DWORD fill = 64, percent = 0;
    ReadMemoryGauge(NULL, &fill, &percent);
    EXPECT_EQ(25u, fill);       // 64 * 20000000 / 50331648
    EXPECT_EQ(39u, percent);    // 19531 * 100 / 49152
    ShowMemoryOrStorageReport(NULL, 0);
    SimMessageBox box = LastMessageBox();
    EXPECT_STREQ(L"RAM:\nTotal: 48.00 MB\nFree: 19.07 MB (39%)\n\n", box.text);
    EXPECT_STREQ(L"Memory Information", box.caption);
    EXPECT_EQ((UINT)MB_ICONINFORMATION, box.flags);
}

static SimCard Card(const wchar_t *name, ULONGLONG total, ULONGLONG free, BOOL unreadable = FALSE)
{
    SimCard card = {};
    lstrcpynW(card.name, name, 64);
    card.totalBytes = total;
    card.freeBytes = free;
    card.unreadable = unreadable;
    return card;
}

TEST_F(DeviceInfo, StorageGaugePrefersTheCard)
{
    SimCard cards[] = {Card(L"Internal", 100u << 20, 90u << 20), Card(L"Storage Card", 1000u << 20, 250u << 20),
                       Card(L"Other", 100u << 20, 10u << 20)};
    ASSERT_TRUE(SimSetCards(cards, 3));
    DWORD fill = 64, percent = 7;
    ReadStorageGauge(NULL, &fill, &percent);
    EXPECT_EQ(25u, percent);
    EXPECT_EQ(16u, fill);

    // Without a card of the known names the last other volume counts; the card name
    // comparison is exact.
    SimCard others[] = {Card(L"Internal", 100u << 20, 90u << 20), Card(L"storage card", 100u << 20, 30u << 20)};
    ASSERT_TRUE(SimSetCards(others, 2));
    fill = 64;
    ReadStorageGauge(NULL, &fill, &percent);
    EXPECT_EQ(30u, percent);

    // An unreadable card is skipped.
    SimCard unreadable[] = {Card(L"Internal", 100u << 20, 40u << 20), Card(L"SD Card", 100u << 20, 5u << 20, TRUE)};
    ASSERT_TRUE(SimSetCards(unreadable, 2));
    fill = 64;
    ReadStorageGauge(NULL, &fill, &percent);
    EXPECT_EQ(40u, percent);

    // No volume at all reads as empty, not as the previous gauge's figures.
    SimSetCards(NULL, 0);
    fill = 64;
    percent = 85;
    ReadStorageGauge(NULL, &fill, &percent);
    EXPECT_EQ(0u, percent);
    EXPECT_EQ(0u, fill);
}

TEST_F(DeviceInfo, StorageReportSections)
{
    SimCard cards[] = {Card(L"Flash ROM Disk", 64u << 20, 16u << 20), Card(L"100% Card", 512u << 20, 128u << 20),
                       Card(L"Broken", 1u << 20, 1u << 20, TRUE), Card(L"Storage Card", 1u << 30, 3u << 28)};
    ASSERT_TRUE(SimSetCards(cards, 4));
    ShowMemoryOrStorageReport(NULL, 1);
    SimMessageBox box = LastMessageBox();
    EXPECT_STREQ(L"Device Storage :\nTotal: 64.00 MB\nFree: 16.00 MB (25%)\n\n"
                 L"100% Card:\nTotal: 512.00 MB\nFree: 128.00 MB (25%)\n\n"
                 L"Storage Card:\nTotal: 1024.00 MB\nFree: 768.00 MB (75%)\n\n",
                 box.text);
    EXPECT_STREQ(L"Storage Information", box.caption);
    EXPECT_EQ((UINT)MB_ICONINFORMATION, box.flags);

    // Sections that would not fit are left out whole; the report never overruns.
    SimCard many[SIM_MAX_CARDS];
    for (int i = 0; i < SIM_MAX_CARDS; i++) {
        wchar_t name[64];
        wsprintfW(name, L"Card %d with a long name to fill the report quickly %d", i, i);
        many[i] = Card(name, 1u << 20, 1u << 19);
    }
    ASSERT_TRUE(SimSetCards(many, SIM_MAX_CARDS));
    ShowMemoryOrStorageReport(NULL, 1);
    std::wstring text = LastMessageBox().text;
    EXPECT_LT(text.size(), 512u);
    EXPECT_EQ(L"\n\n", text.substr(text.size() - 2));
    EXPECT_EQ(std::wstring::npos, text.find(L"Card 7"));

    SimSetCards(NULL, 0);
    ShowMemoryOrStorageReport(NULL, 1);
    EXPECT_STREQ(L"", LastMessageBox().text);
}
