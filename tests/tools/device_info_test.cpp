// The battery, memory and storage reports and the gauges of the main window.
#include "testkit.h"
#include "tools/tools.h"

// A gauge reading with the bar length preset as the paint does, and a stale percentage.
static std::pair<DWORD, DWORD> Gauge(void (*read)(HWND, DWORD *, DWORD *))
{
    DWORD fill = 64, percent = 77;
    read(NULL, &fill, &percent);
    return {fill, percent};
}

// The text of the report box just shown, its caption and icon checked.
static std::wstring Report(const wchar_t *caption, UINT flags = MB_ICONINFORMATION)
{
    SimMessageBox box = LastMessageBox();
    EXPECT_STREQ(caption, box.caption);
    EXPECT_EQ(flags, box.flags);
    return box.text;
}

using DeviceInfo = DeviceTest;

TEST_F(DeviceInfo, BatteryReportAndGauge)
{
    // Percent, flag, chemistry, AC line, mV, mA, raw temperature, failing.
    struct { SimBattery battery; const wchar_t *status, *type, *temperature; DWORD fill, percent; } cases[] = {
        // Fahrenheit is truncated (87.8).
        {{85, 1, 4, 0, 3900, -150, 31, FALSE}, L"High", L"Lithium Ion battery", L"31 (C)/87 (F)", 54, 85},
        // No reading shows full; a combination of flags and an unknown chemistry name
        // nothing; above 100 the reading is in tenths of a degree.
        {{255, 9, 7, 0, 3900, -150, 250, FALSE}, L"", L"", L"25 (C)/77 (F)", 64, 100},
        {{0, 255, 255, 0, 3900, -150, 100, FALSE}, L"Unkonw status", L"Battery chemistry is unknown.",
         L"100 (C)/212 (F)", 0, 0},
    };
    for (auto &c : cases) {
        SimSetBattery(&c.battery);
        ShowBatteryReport(NULL);
        EXPECT_EQ(L"Percent: " + std::to_wstring(c.percent) + L"%.\nStatus: " + c.status +
                      L"\nVoltage: 3900 (mV)\nCurrent: -150 (mA)\nType: " + c.type + L"\nTemperature: " + c.temperature + L"\n",
                  Report(L"Battery Information"));
        EXPECT_EQ(std::make_pair(c.fill, c.percent), Gauge(ReadBatteryGauge));
    }
    // The reading's edges: a fill of 64 times the percentage over 100, truncated, and
    // readings above 100 taken as 100; raw temperatures up to 100 are whole degrees.
    const struct { BYTE life; DWORD fill; DWORD temperature; const wchar_t *shown; } edges[] = {
        {0, 0, 99, L"99 (C)/210 (F)"}, {1, 0, 101, L"10 (C)/50 (F)"}, {2, 1, 109, L"10 (C)/50 (F)"},
        {99, 63, 110, L"11 (C)/51 (F)"}, {100, 64, 0, L"0 (C)/32 (F)"}, {101, 64, 5, L"5 (C)/41 (F)"}};
    for (auto &e : edges) {
        SimBattery battery = cases[0].battery;
        battery.lifePercent = e.life, battery.temperature = e.temperature;
        SimSetBattery(&battery);
        DWORD percent = e.life > 100 ? 100 : e.life;
        EXPECT_EQ(std::make_pair(e.fill, percent), Gauge(ReadBatteryGauge)) << (int)e.life;
        ShowBatteryReport(NULL);
        std::wstring text = Report(L"Battery Information");
        EXPECT_EQ(0u, text.find(L"Percent: " + std::to_wstring(percent) + L"%.\n")) << text;
        EXPECT_NE(text.npos, text.find(L"\nTemperature: " + std::wstring(e.shown) + L"\n")) << text;
    }
    cases[0].battery.statusFails = TRUE;
    SimSetBattery(&cases[0].battery);
    ShowBatteryReport(NULL);
    EXPECT_EQ(L"Couldn't get power state", Report(L"Error", MB_OK));
    // Memory: whole kilobytes for the gauge, whole megabytes for the report, each division
    // truncated. The report's megabytes and percentage are single precision: 29 / 100 is
    // 29% (28% in double), 86177220 bytes 82.18 MB (82.19 exactly).
    const struct { DWORD total, available, fill, percent; const wchar_t *report; } memory[] = {
        {48u << 20, 21915000, 27, 43, L"Total: 48.00 MB\nFree: 20.90 MB (41%)"},
        {100u << 20, 29u << 20, 18, 29, L"Total: 100.00 MB\nFree: 29.00 MB (29%)"},
        {104757987, 86177220, 52, 82, L"Total: 99.90 MB\nFree: 82.18 MB (82%)"},
        {3072, 2047, 42, 33, L"Total: 0.00 MB\nFree: 0.00 MB (0%)"}};
    for (auto &m : memory) {
        SimSetMemory(m.total, m.available);
        EXPECT_EQ(std::make_pair(m.fill, m.percent), Gauge(ReadMemoryGauge)) << m.total;
        ShowMemoryOrStorageReport(NULL, 0);
        EXPECT_EQ(L"RAM:\n" + std::wstring(m.report) + L"\n\n", Report(L"Memory Information"));
    }
}

TEST_F(DeviceInfo, StorageGaugeAndReport)
{
    struct { std::vector<SimCard> cards; DWORD fill, percent; } gauges[] = {
        // The card is preferred; an unreadable one is skipped.
        {{{L"Internal", 100u << 20, 90u << 20}, {L"Storage Card", 1000u << 20, 250u << 20},
          {L"Other", 100u << 20, 10u << 20}, {L"SD Card", 100u << 20, 5u << 20, TRUE}}, 16, 25},
        // No card of the known names (compared exactly): the last other volume.
        {{{L"Internal", 100u << 20, 90u << 20}, {L"storage card", 100u << 20, 30u << 20}}, 19, 30},
        // A card with nothing in it is no card; a full volume fills the bar.
        {{{L"Internal", 100u << 20, 100u << 20}, {L"CF Card", 0, 0}}, 64, 100},
        {{{L"CF Card", 3u << 20, 1u << 20}}, 21, 33},
        // No volume at all reads as empty, not as what the previous gauge left.
        {{}, 0, 0},
    };
    for (auto &c : gauges) {
        ASSERT_TRUE(SimSetCards(c.cards.data(), (int)c.cards.size()));
        EXPECT_EQ(std::make_pair(c.fill, c.percent), Gauge(ReadStorageGauge)) << c.cards.size();
    }
    ShowMemoryOrStorageReport(NULL, 1);
    EXPECT_EQ(L"", Report(L"Storage Information"));
    // Names are text, not formats; an unreadable volume is left out, a nameless one is the device's.
    SimCard cards[] = {{L"Flash ROM Disk", 64u << 20, 16u << 20}, {L"100% Card", 512u << 20, 128u << 20},
                       {L"Broken", 1u << 20, 1u << 20, TRUE}, {L"", 1u << 30, 3u << 28},
                       {L"%s%n Card", 3u << 20, 1u << 20}};
    ASSERT_TRUE(SimSetCards(cards, 5));
    ShowMemoryOrStorageReport(NULL, 1);
    EXPECT_EQ(L"Device Storage :\nTotal: 64.00 MB\nFree: 16.00 MB (25%)\n\n"
              L"100% Card:\nTotal: 512.00 MB\nFree: 128.00 MB (25%)\n\n"
              L"Device Storage :\nTotal: 1024.00 MB\nFree: 768.00 MB (75%)\n\n"
              L"%s%n Card:\nTotal: 3.00 MB\nFree: 1.00 MB (33%)\n\n",
              Report(L"Storage Information"));
    // 511 characters and the null fill the report exactly; one more leaves the last section out.
    for (int last : {33, 34}) {
        SimCard six[6];
        for (int i = 0; i < 6; i++) {
            six[i] = SimCard{L"", 1u << 20, 1u << 19};
            std::wstring name(i < 5 ? 50 : last, (wchar_t)(L'a' + i));
            wcscpy(six[i].name, name.c_str());
        }
        ASSERT_TRUE(SimSetCards(six, 6));
        ShowMemoryOrStorageReport(NULL, 1);
        EXPECT_EQ(last == 33 ? 511u : 5 * 88u, Report(L"Storage Information").size()) << last;
    }
    // Sections that would not fit are left out whole; the report never overruns.
    SimCard many[SIM_MAX_CARDS];
    for (int i = 0; i < SIM_MAX_CARDS; i++)
        many[i] = SimCard{L"", 1u << 20, 1u << 19}, wsprintfW(many[i].name, L"Card %d with a long name to fill the report quickly %d", i, i);
    ASSERT_TRUE(SimSetCards(many, SIM_MAX_CARDS));
    ShowMemoryOrStorageReport(NULL, 1);
    std::wstring text = Report(L"Storage Information");
    EXPECT_TRUE(text.size() < 512 && text.substr(text.size() - 2) == L"\n\n" && text.find(L"Card 7") == text.npos) << text;
}
