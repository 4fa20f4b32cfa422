// The clock and power page ("Collection4") and the device page's two actions
// ("Collection5") through the System host.
#include "tests/hosts/host_kit.h"

namespace {

const wchar_t kShell[] = L"SOFTWARE\\Microsoft\\Shell";
const wchar_t kOverrides[] = L"nls\\overrides";
const wchar_t kTimeouts[] = L"System\\CurrentControlSet\\Control\\Power\\Timeouts";
const wchar_t kDefaultFormat[] = L"dddd,MMMM dd,yyyy";
const wchar_t kTaskSwitch[] = L"Software\\Microsoft\\Shell\\TaskSwitch";

DWORD TopBar() { return RegDwordOr(LM, kShell, L"TBOpt", 0xBAD); }
// The time-outs on external and on battery power.
std::wstring Timeout(const wchar_t *name) { return std::to_wstring(RegDwordOr(LM, kTimeouts, name, 0xBAD)); }
std::wstring Resuming() { return Timeout(L"ACResumingSuspendTimeout") + L"/" + Timeout(L"BattResumingSuspendTimeout"); }
std::wstring LongDate() { return RegTextOr(LM, kOverrides, L"SLDte", L"(none)"); }
std::wstring Seconds(HWND page) { return FieldText(page, IDC_CLK_RESUMING_SECONDS); }
std::wstring CounterLabel(HWND page) { return FieldText(page, IDC_DEV_RESET_COUNTER); }
void WriteRecent(const wchar_t *name, const wchar_t *program) { WriteRegString(LM, kTaskSwitch, name, program); }
bool Recent(const wchar_t *name) { return RegValueExists(LM, kTaskSwitch, name); }

class ClockPowerPageTest : public DeviceTest {};
class DevicePageTest : public DeviceTest {};

}  // namespace

// Each top-bar box sets or clears its own bit of "TBOpt", whatever the value holds when
// tapped, and keeps every other bit; a value of another type counts as 0. The date
// format box always starts clear; ticked, it stores the field (at most 255 characters,
// the default when empty); cleared, it writes nothing.
TEST_F(ClockPowerPageTest, TopBarBoxesKeepTheirOwnFlagAndTheDateFormatBoxStoresTheField)
{
    WriteTextOfType(LM, kShell, L"TBOpt", REG_SZ, L"3");
    RunSystemPage(TAB_CLOCK_POWER, [](HWND page) {
        EXPECT_FALSE(IsTicked(page, IDC_CLK_TIME_IN_BAR) || IsTicked(page, IDC_CLK_DATE_IN_BAR));
        Tap(page, IDC_CLK_DATE_IN_BAR);
        EXPECT_EQ(2u, TopBar()) << "replaced by a number";
    });
    WriteRegDword(LM, kShell, L"TBOpt", 1);
    WriteRegString(LM, kOverrides, L"SLDte", L"dd MMMM yyyy");
    RunSystemPage(TAB_CLOCK_POWER, [](HWND page) {
        EXPECT_TRUE(IsTicked(page, IDC_CLK_TIME_IN_BAR));
        EXPECT_FALSE(IsTicked(page, IDC_CLK_DATE_IN_BAR));
        // The value each tap finds (written behind the page's back) and leaves.
        const UINT time = IDC_CLK_TIME_IN_BAR, date = IDC_CLK_DATE_IN_BAR;
        const struct { UINT box; DWORD found, left; } taps[] = {
            {time, 0xFFFFFFFF, 0xFFFFFFFE}, {date, 0, 2}, {time, 2, 3},    {date, 3, 1},
            {time, 0, 0}, {date, 0xFFFFFFFD, 0xFFFFFFFF}, {time, 1, 1}, {date, 2, 0}};
        for (auto &t : taps) {
            WriteRegDword(LM, kShell, L"TBOpt", t.found);
            Tap(page, t.box);
            EXPECT_EQ(t.left, TopBar()) << t.box << " found " << t.found;
        }

        EXPECT_FALSE(IsTicked(page, IDC_CLK_DATE_FORMAT));
        EXPECT_EQ(L"dd MMMM yyyy", FieldText(page, IDC_CLK_DATE_PICTURE));
        const std::pair<std::wstring, std::wstring> cases[] = {
            {L"yyyy-MM-dd", L"yyyy-MM-dd"}, {L"", kDefaultFormat}, {std::wstring(300, L'd'), std::wstring(255, L'd')}};
        for (auto &c : cases) {
            SetField(page, IDC_CLK_DATE_PICTURE, c.first.c_str());
            Tap(page, IDC_CLK_DATE_FORMAT);
            EXPECT_EQ(c.second, LongDate());
            SetField(page, IDC_CLK_DATE_PICTURE, L"MM/dd");
            Tap(page, IDC_CLK_DATE_FORMAT);
            EXPECT_EQ(c.second, LongDate()) << "clearing writes nothing";
        }
    });
    RunSystemPage(TAB_CLOCK_POWER, [](HWND page) {
        EXPECT_EQ(std::wstring(255, L'd'), FieldText(page, IDC_CLK_DATE_PICTURE)) << "read back whole";
    });
}

// Ticked unless the time-out is the shipped 15 (missing counts as 0), the alarm fix
// writes the field as typed to both time-outs, 16 without a number; cleared, 15. The
// field's spinner stops each way at its own end only, 5 going down and 180 going up,
// reads three characters and writes nothing.
TEST_F(ClockPowerPageTest, TheAlarmFixWritesTheFieldToBothTimeoutsAndItsSpinnerStopsAtFiveAndAt180)
{
    DeleteRegKey(LM, kTimeouts);
    RunSystemPage(TAB_CLOCK_POWER, [](HWND page) {
        EXPECT_EQ(L"0", Seconds(page));
        EXPECT_TRUE(IsTicked(page, IDC_CLK_ALARM_FIX));
    });
    WriteRegDword(LM, kTimeouts, L"ACResumingSuspendTimeout", 4000000000u);
    RunSystemPage(TAB_CLOCK_POWER, [](HWND page) {
        EXPECT_EQ(L"4000000000", Seconds(page));
        for (auto typed : {std::make_pair(L"200", L"200/200"), std::make_pair(L"", L"16/16"), std::make_pair(L"15", L"15/15")}) {
            Tap(page, IDC_CLK_ALARM_FIX);
            EXPECT_EQ(L"15/15", Resuming());
            SetField(page, IDC_CLK_RESUMING_SECONDS, typed.first);
            Tap(page, IDC_CLK_ALARM_FIX);
            EXPECT_EQ(typed.second, Resuming());
        }
        const struct { const wchar_t *field; int delta; const wchar_t *shown; } steps[] = {
            {L"179", -1, L"180"}, {L"180", -1, L"180"}, {L"6", 1, L"5"}, {L"5", 1, L"5"},
            {L"60", 0, L"59"},    {L"1000", -1, L"101"}, {L"", -1, L"1"}, {L"999", 1, L"998"}};
        for (auto &s : steps) {
            SetField(page, IDC_CLK_RESUMING_SECONDS, s.field);
            Spin(page, IDC_CLK_RESUMING_SPIN, s.delta);
            EXPECT_EQ(s.shown, Seconds(page)) << s.field << " by " << s.delta;
        }
        SetField(page, IDC_CLK_RESUMING_SECONDS, L"100");
        PressSpinnerArrow(page, IDC_CLK_RESUMING_SPIN, true);
        EXPECT_EQ(L"101", Seconds(page)) << "the up arrow adds";
    });
    EXPECT_EQ(L"15/15", Resuming());
    RunSystemPage(TAB_CLOCK_POWER, [](HWND page) { EXPECT_FALSE(IsTicked(page, IDC_CLK_ALARM_FIX)); });
}

// Clearing the recent programs deletes "Default" and the numbered entries, whatever
// their type, up to the first gap; resetting the counter writes 0 and says so. Both
// boxes act when ticked and stay ticked; cleared, they do nothing.
TEST_F(DevicePageTest, TheRecentProgramsAndTheSoftResetCounterAreClearedWhenTicked)
{
    DeleteRegKey(LM, kTaskSwitch);
    WriteRegDword(LM, L"Comm", L"Bootcount", 7);
    RunSystemPage(TAB_DEVICE, [](HWND page) {
        EXPECT_FALSE(RegKeyExists(LM, kTaskSwitch)) << "only clearing the list opens the task switch key";
        WriteRecent(L"Default", L"\\Windows\\tmail.exe");
        for (const wchar_t *name : {L"0", L"2", L"4", L"Other"}) WriteRecent(name, L"\\Windows\\calc.exe");
        WriteRegDword(LM, kTaskSwitch, L"1", 5);
        EXPECT_FALSE(IsTicked(page, IDC_DEV_CLEAR_RECENT));
        Tap(page, IDC_DEV_CLEAR_RECENT);
        for (const wchar_t *name : {L"Default", L"0", L"1", L"2"}) EXPECT_FALSE(Recent(name)) << name;
        EXPECT_TRUE(Recent(L"4") && Recent(L"Other"));
        // Cleared, it does nothing; ticked again, it clears again. Entries are read into 256
        // bytes: one too long to read ends the list, deleted all the same.
        for (const wchar_t *name : {L"0", L"2"}) WriteRecent(name, L"\\Windows\\calc.exe");
        WriteRecent(L"1", std::wstring(128, L'p').c_str());
        Tap(page, IDC_DEV_CLEAR_RECENT);
        EXPECT_TRUE(Recent(L"0"));
        Tap(page, IDC_DEV_CLEAR_RECENT);
        EXPECT_FALSE(Recent(L"0") || Recent(L"1"));
        EXPECT_TRUE(Recent(L"2"));

        EXPECT_EQ(L"SoftReset counter from 7 to 0", CounterLabel(page));
        EXPECT_FALSE(IsTicked(page, IDC_DEV_RESET_COUNTER));
        Tap(page, IDC_DEV_RESET_COUNTER);
        EXPECT_EQ(0u, SimGetBootCount());
        EXPECT_EQ(L"SoftReset counter:0", CounterLabel(page));
        WriteRegDword(LM, L"Comm", L"Bootcount", 3);
        Tap(page, IDC_DEV_RESET_COUNTER);
        EXPECT_EQ(3u, SimGetBootCount());
        EXPECT_EQ(L"SoftReset counter:0", CounterLabel(page));
    });
}
