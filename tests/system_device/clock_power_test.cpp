// The clock and power page ("Collection4") through the System host.
#include "tests/hosts/host_kit.h"

namespace {

const wchar_t kTaskBar[] = L"Software\\Microsoft\\Shell\\TaskBar";
const wchar_t kShell[] = L"SOFTWARE\\Microsoft\\Shell";
const wchar_t kOverrides[] = L"nls\\overrides";
const wchar_t kPower[] = L"System\\CurrentControlSet\\Control\\Power";
const wchar_t kTimeouts[] = L"System\\CurrentControlSet\\Control\\Power\\Timeouts";
const wchar_t kDefaultFormat[] = L"dddd,MMMM dd,yyyy";

DWORD TopBar() { return RegDwordOr(LM, kShell, L"TBOpt", 0xBAD); }
DWORD AcResuming() { return RegDwordOr(LM, kTimeouts, L"ACResumingSuspendTimeout", 0xBAD); }
DWORD BattResuming() { return RegDwordOr(LM, kTimeouts, L"BattResumingSuspendTimeout", 0xBAD); }
std::wstring LongDate() { return RegTextOr(LM, kOverrides, L"SLDte", L"(none)"); }
std::wstring Seconds(HWND page) { return FieldText(page, IDC_CLK_RESUMING_SECONDS); }

class ClockPowerPageTest : public DeviceTest {};

}  // namespace

TEST_F(ClockPowerPageTest, OpeningCreatesEveryKeyAndReadsMissingValuesAsTheirDefaults)
{
    const wchar_t *keys[] = {kTaskBar, kOverrides, kTimeouts, kPower, kShell};
    for (const wchar_t *key : keys) DeleteRegKey(LM, key);
    RunSystemPage(TAB_CLOCK_POWER, [&](HWND page) {
        for (const wchar_t *key : keys) EXPECT_TRUE(RegKeyExists(LM, key)) << key;
        EXPECT_EQ(kDefaultFormat, FieldText(page, IDC_CLK_DATE_PICTURE));
        EXPECT_EQ(L"0", Seconds(page));
        EXPECT_TRUE(IsTicked(page, IDC_CLK_ALARM_FIX)) << "a missing time-out counts as 0, which is not 15";
    });
    EXPECT_FALSE(RegValueExists(LM, kShell, L"TBOpt")) << "opening reads only";
    EXPECT_FALSE(RegValueExists(LM, kTimeouts, L"ACResumingSuspendTimeout"));
    EXPECT_FALSE(RegValueExists(LM, kOverrides, L"SLDte"));
}

// Each box sets or clears its own bit of "TBOpt" and keeps every other bit.
TEST_F(ClockPowerPageTest, TopBarBoxesEachKeepTheirOwnFlagOfTBOpt)
{
    struct {
        DWORD stored;
        bool time, date;
        DWORD afterTime, afterDate;   // after one tap on that box alone
    } cases[] = {{0, false, false, 1, 2}, {3, true, true, 2, 1}, {0xFFFFFFFF, true, true, 0xFFFFFFFE, 0xFFFFFFFD}};
    for (auto &c : cases) {
        SCOPED_TRACE(c.stored);
        WriteRegDword(LM, kShell, L"TBOpt", c.stored);
        RunSystemPage(TAB_CLOCK_POWER, [&](HWND page) {
            EXPECT_EQ(c.time, IsTicked(page, IDC_CLK_TIME_IN_BAR));
            EXPECT_EQ(c.date, IsTicked(page, IDC_CLK_DATE_IN_BAR));
            for (auto [box, after] : {std::make_pair(IDC_CLK_TIME_IN_BAR, c.afterTime),
                                      std::make_pair(IDC_CLK_DATE_IN_BAR, c.afterDate)}) {
                Tap(page, box);
                EXPECT_EQ(after, TopBar());
                Tap(page, box);
                EXPECT_EQ(c.stored, TopBar());
            }
        });
    }
    // Changed behind the page's back, so that a box no longer shows its flag: setting a
    // flag already set, or clearing one already clear, leaves the value alone rather
    // than carrying into the other flag or wrapping round.
    WriteRegDword(LM, kShell, L"TBOpt", 0);
    RunSystemPage(TAB_CLOCK_POWER, [](HWND page) {
        WriteRegDword(LM, kShell, L"TBOpt", 1);
        Tap(page, IDC_CLK_TIME_IN_BAR);
        EXPECT_EQ(1u, TopBar());
        WriteRegDword(LM, kShell, L"TBOpt", 0);
        Tap(page, IDC_CLK_TIME_IN_BAR);
        EXPECT_EQ(0u, TopBar());
    });
    // Of another type it counts as 0, and is replaced by a number.
    WriteTextOfType(LM, kShell, L"TBOpt", REG_SZ, L"3");
    RunSystemPage(TAB_CLOCK_POWER, [](HWND page) {
        EXPECT_FALSE(IsTicked(page, IDC_CLK_TIME_IN_BAR));
        Tap(page, IDC_CLK_DATE_IN_BAR);
        EXPECT_EQ(2u, TopBar());
    });
}

TEST_F(ClockPowerPageTest, TheDateFormatBoxStartsClearAndStoresTheField)
{
    WriteRegString(LM, kOverrides, L"SLDte", L"dd MMMM yyyy");
    RunSystemPage(TAB_CLOCK_POWER, [](HWND page) {
        EXPECT_FALSE(IsTicked(page, IDC_CLK_DATE_FORMAT)) << "the box always starts clear";
        EXPECT_EQ(L"dd MMMM yyyy", FieldText(page, IDC_CLK_DATE_PICTURE));
        SetField(page, IDC_CLK_DATE_PICTURE, L"yyyy-MM-dd");
        Tap(page, IDC_CLK_DATE_FORMAT);
        EXPECT_EQ(L"yyyy-MM-dd", LongDate());
        SetField(page, IDC_CLK_DATE_PICTURE, L"MM/dd");
        Tap(page, IDC_CLK_DATE_FORMAT);
        EXPECT_EQ(L"yyyy-MM-dd", LongDate()) << "clearing writes nothing";
        SetField(page, IDC_CLK_DATE_PICTURE, L"");
        Tap(page, IDC_CLK_DATE_FORMAT);
        EXPECT_EQ(kDefaultFormat, LongDate()) << "an empty field stores the default";
        // The field hands over at most 255 characters.
        Tap(page, IDC_CLK_DATE_FORMAT);
        SetField(page, IDC_CLK_DATE_PICTURE, std::wstring(300, L'd').c_str());
        Tap(page, IDC_CLK_DATE_FORMAT);
        EXPECT_EQ(std::wstring(255, L'd'), LongDate());
    });
    // Stored formats are read back as long as the field stores them: 255 characters
    // fit, 256 do not; an empty one shows the default too.
    for (size_t chars : {0, 255, 256}) {
        SCOPED_TRACE(chars);
        WriteRegString(LM, kOverrides, L"SLDte", std::wstring(chars, L'y').c_str());
        RunSystemPage(TAB_CLOCK_POWER, [&](HWND page) {
            EXPECT_EQ(chars == 255 ? std::wstring(255, L'y') : kDefaultFormat, FieldText(page, IDC_CLK_DATE_PICTURE));
        });
    }
}

TEST_F(ClockPowerPageTest, TheAlarmFixWritesTheFieldToBothTimeoutsOrFifteen)
{
    WriteRegDword(LM, kTimeouts, L"ACResumingSuspendTimeout", 4000000000u);
    RunSystemPage(TAB_CLOCK_POWER, [](HWND page) {
        EXPECT_EQ(L"4000000000", Seconds(page));
        EXPECT_TRUE(IsTicked(page, IDC_CLK_ALARM_FIX));
        // Written as typed, even beyond the spinner's range; a field without a number
        // stores 16; cleared, the shipped 15.
        for (auto typed : {std::make_pair(L"200", 200u), std::make_pair(L"", 16u)}) {
            SCOPED_TRACE(testing::PrintToString(std::wstring(typed.first)));
            Tap(page, IDC_CLK_ALARM_FIX);
            EXPECT_EQ(15u, AcResuming());
            EXPECT_EQ(15u, BattResuming());
            SetField(page, IDC_CLK_RESUMING_SECONDS, typed.first);
            Tap(page, IDC_CLK_ALARM_FIX);
            EXPECT_EQ(typed.second, AcResuming());
            EXPECT_EQ(typed.second, BattResuming());
        }
        Tap(page, IDC_CLK_ALARM_FIX);
    });
    RunSystemPage(TAB_CLOCK_POWER, [](HWND page) { EXPECT_FALSE(IsTicked(page, IDC_CLK_ALARM_FIX)); });
}

TEST_F(ClockPowerPageTest, TheTimeoutSpinnerStopsAtFiveGoingDownAndAtOneHundredEightyGoingUp)
{
    WriteRegDword(LM, kTimeouts, L"ACResumingSuspendTimeout", 15);
    RunSystemPage(TAB_CLOCK_POWER, [](HWND page) {
        struct {
            const wchar_t *field;
            int delta;
            const wchar_t *shown;
        } steps[] = {
            {L"179", -1, L"180"}, {L"180", -1, L"180"}, {L"6", 1, L"5"}, {L"5", 1, L"5"}, {L"60", 0, L"59"},
            // Only three characters are read: "1000" is 100.
            {L"1000", -1, L"101"},
            // Each way stops only at its own end: up from nothing is 1, down from 999 is 998.
            {L"", -1, L"1"}, {L"999", 1, L"998"},
        };
        for (auto &s : steps) {
            SCOPED_TRACE(testing::Message() << "\"" << s.field << "\" by " << s.delta);
            SetField(page, IDC_CLK_RESUMING_SECONDS, s.field);
            Spin(page, IDC_CLK_RESUMING_SPIN, s.delta);
            EXPECT_EQ(s.shown, Seconds(page));
        }
        // The spinner's own up arrow adds.
        SetField(page, IDC_CLK_RESUMING_SECONDS, L"100");
        PressSpinnerArrow(page, IDC_CLK_RESUMING_SPIN, true);
        EXPECT_EQ(L"101", Seconds(page));
    });
    EXPECT_EQ(15u, AcResuming()) << "spinning writes nothing";
}

TEST_F(ClockPowerPageTest, AKeyThatCannotBeOpenedEndsTheReadingAndIsNeverWritten)
{
    WriteRegDword(LM, kTaskBar, L"LimitedClock", 0);
    WriteRegDword(LM, kShell, L"TBOpt", 3);
    WriteRegDword(LM, kPower, L"WakeupPowerOff", 60);
    // The top-bar flags come second: the clock box is read, nothing after it.
    KeyLock lock(LM, kShell);
    ASSERT_TRUE(lock.locked());
    RunSystemPage(TAB_CLOCK_POWER, [](HWND page) {
        EXPECT_TRUE(IsTicked(page, IDC_CLK_CLOCK_EVERYWHERE));
        EXPECT_FALSE(IsTicked(page, IDC_CLK_WAKEUP_60S));
        EXPECT_EQ(L"", Seconds(page));
        Tap(page, IDC_CLK_TIME_IN_BAR);
    });
    EXPECT_EQ(3u, TopBar());
}
