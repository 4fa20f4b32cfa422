// The clock and power page ("Collection4") through the System host.
#include "tests/hosts/host_kit.h"

namespace {

const wchar_t kTaskBar[] = L"Software\\Microsoft\\Shell\\TaskBar";
const wchar_t kShell[] = L"SOFTWARE\\Microsoft\\Shell";
const wchar_t kOverrides[] = L"nls\\overrides";
const wchar_t kPower[] = L"System\\CurrentControlSet\\Control\\Power";
const wchar_t kTimeouts[] = L"System\\CurrentControlSet\\Control\\Power\\Timeouts";
const wchar_t kDefaultFormat[] = L"dddd,MMMM dd,yyyy";

const HKEY LM = HKEY_LOCAL_MACHINE;

DWORD TopBar(DWORD otherwise = 0xBAD) { return RegDwordOr(LM, kShell, L"TBOpt", otherwise); }
DWORD AcResuming() { return RegDwordOr(LM, kTimeouts, L"ACResumingSuspendTimeout", 0xBAD); }
DWORD BattResuming() { return RegDwordOr(LM, kTimeouts, L"BattResumingSuspendTimeout", 0xBAD); }
std::wstring LongDate() { return RegTextOr(LM, kOverrides, L"SLDte", L"(none)"); }

void WriteAmPm(const wchar_t *am, const wchar_t *pm, const wchar_t *format)
{
    DeleteRegValue(LM, kOverrides, L"S1159");
    DeleteRegValue(LM, kOverrides, L"S2359");
    DeleteRegValue(LM, kOverrides, L"STFmt");
    if (am) WriteRegString(LM, kOverrides, L"S1159", am);
    if (pm) WriteRegString(LM, kOverrides, L"S2359", pm);
    if (format) WriteRegString(LM, kOverrides, L"STFmt", format);
}

std::wstring Seconds(HWND page) { return FieldText(page, IDC_CLK_RESUMING_SECONDS); }

class ClockPowerPageTest : public DeviceTest {};

}  // namespace

TEST_F(ClockPowerPageTest, OpeningCreatesEveryKeyAndReadsMissingValuesAsTheirDefaults)
{
    const wchar_t *keys[] = {kTaskBar, kOverrides, kTimeouts, kPower};
    for (const wchar_t *key : keys) DeleteRegKey(LM, key);
    DeleteRegValue(LM, kShell, L"TBOpt");
    DeleteRegKey(LM, kShell);
    RunSystemPage(TAB_CLOCK_POWER, [&](HWND page) {
        for (const wchar_t *key : keys) EXPECT_TRUE(RegKeyExists(LM, key)) << key;
        EXPECT_TRUE(RegKeyExists(LM, kShell));
        EXPECT_FALSE(IsTicked(page, IDC_CLK_CLOCK_EVERYWHERE)) << "a missing LimitedClock counts as 1";
        EXPECT_FALSE(IsTicked(page, IDC_CLK_TIME_IN_BAR));
        EXPECT_FALSE(IsTicked(page, IDC_CLK_DATE_IN_BAR));
        EXPECT_FALSE(IsTicked(page, IDC_CLK_AM_PM));
        EXPECT_FALSE(IsTicked(page, IDC_CLK_DATE_FORMAT));
        EXPECT_EQ(kDefaultFormat, FieldText(page, IDC_CLK_DATE_PICTURE));
        EXPECT_FALSE(IsTicked(page, IDC_CLK_WAKEUP_60S));
        EXPECT_EQ(L"0", Seconds(page));
        EXPECT_TRUE(IsTicked(page, IDC_CLK_ALARM_FIX)) << "a missing time-out counts as 0, which is not 15";
    });
    // Opening reads only: every value is still missing.
    EXPECT_FALSE(RegValueExists(LM, kTaskBar, L"LimitedClock"));
    EXPECT_FALSE(RegValueExists(LM, kShell, L"TBOpt"));
    EXPECT_FALSE(RegValueExists(LM, kPower, L"WakeupPowerOff"));
    EXPECT_FALSE(RegValueExists(LM, kTimeouts, L"ACResumingSuspendTimeout"));
    EXPECT_FALSE(RegValueExists(LM, kOverrides, L"SLDte"));
    // The factory device: clock limited, 180 s on time, 15 s resuming.
    SimHardReset(FALSE);
    RunSystemPage(TAB_CLOCK_POWER, [](HWND page) {
        EXPECT_FALSE(IsTicked(page, IDC_CLK_WAKEUP_60S));
        EXPECT_EQ(L"15", Seconds(page));
        EXPECT_FALSE(IsTicked(page, IDC_CLK_ALARM_FIX));
    });
}

TEST_F(ClockPowerPageTest, ClockAndWakeUpBoxesWriteBothStates)
{
    const DwordBox boxes[] = {
        {IDC_CLK_CLOCK_EVERYWHERE, LM, kTaskBar, L"LimitedClock", 0, 1},
        {IDC_CLK_WAKEUP_60S, LM, kPower, L"WakeupPowerOff", 60, 180},
    };
    int broadcasts = SimBroadcastCount();
    CheckDwordBoxes(RunSystemPage, TAB_CLOCK_POWER, boxes, 2);
    EXPECT_EQ(broadcasts, SimBroadcastCount()) << "these settings are not announced";
}

// On 0 to 3 each box adds or subtracts its flag; on other values it sets or clears
// its own bit and leaves the others.
TEST_F(ClockPowerPageTest, TopBarBoxesEachKeepTheirOwnFlagOfTBOpt)
{
    struct {
        DWORD stored;
        bool time, date;
        DWORD afterTime, afterDate;   // after one tap on that box alone
    } cases[] = {
        {0, false, false, 1, 2},     {1, true, false, 0, 3},       {2, false, true, 3, 0},
        {3, true, true, 2, 1},       {4, false, false, 5, 6},      {7, true, true, 6, 5},
        {0x100, false, false, 0x101, 0x102}, {0xFFFFFFFF, true, true, 0xFFFFFFFE, 0xFFFFFFFD},
    };
    for (auto &c : cases) {
        SCOPED_TRACE(c.stored);
        WriteRegDword(LM, kShell, L"TBOpt", c.stored);
        RunSystemPage(TAB_CLOCK_POWER, [&](HWND page) {
            EXPECT_EQ(c.time, IsTicked(page, IDC_CLK_TIME_IN_BAR));
            EXPECT_EQ(c.date, IsTicked(page, IDC_CLK_DATE_IN_BAR));
            Tap(page, IDC_CLK_TIME_IN_BAR);
            EXPECT_EQ(c.afterTime, TopBar());
            Tap(page, IDC_CLK_TIME_IN_BAR);
            EXPECT_EQ(c.stored, TopBar());
            Tap(page, IDC_CLK_DATE_IN_BAR);
            EXPECT_EQ(c.afterDate, TopBar());
            Tap(page, IDC_CLK_DATE_IN_BAR);
            EXPECT_EQ(c.stored, TopBar());
        });
    }
    // Changed behind the page's back, so that a box no longer shows its flag: setting a
    // flag that is already set, or clearing one already clear, leaves the value alone
    // rather than carrying into the other flag or wrapping round.
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
        EXPECT_FALSE(IsTicked(page, IDC_CLK_DATE_IN_BAR));
        Tap(page, IDC_CLK_DATE_IN_BAR);
        EXPECT_EQ(2u, TopBar());
    });
}

TEST_F(ClockPowerPageTest, AmPmNeedsAllThreeOverridesAndWritesOrDeletesThemTogether)
{
    struct {
        const wchar_t *am, *pm, *format;
        bool ticked;
    } cases[] = {
        {L"Am", L"Pm", L"h:mm tM", true},
        {L"Am", L"Pm", NULL, false},
        {NULL, L"Pm", L"h:mm tM", false},
        {L"AM", L"Pm", L"h:mm tM", false},
        {L"Am", L"Pm", L"h:mm tt", false},
        {NULL, NULL, NULL, false},
    };
    for (auto &c : cases) {
        SCOPED_TRACE(testing::Message() << (c.am ? "am " : "") << (c.pm ? "pm " : "") << (c.format ? "format" : ""));
        WriteAmPm(c.am, c.pm, c.format);
        RunSystemPage(TAB_CLOCK_POWER, [&](HWND page) {
            EXPECT_EQ(c.ticked, IsTicked(page, IDC_CLK_AM_PM));
            // Ticked, all three are written; cleared, all three are deleted.
            for (int taps = 0; taps < 2; taps++) {
                Tap(page, IDC_CLK_AM_PM);
                bool ticked = IsTicked(page, IDC_CLK_AM_PM);
                EXPECT_EQ(ticked ? L"Am" : L"none", RegTextOr(LM, kOverrides, L"S1159", L"none"));
                EXPECT_EQ(ticked ? L"Pm" : L"none", RegTextOr(LM, kOverrides, L"S2359", L"none"));
                EXPECT_EQ(ticked ? L"h:mm tM" : L"none", RegTextOr(LM, kOverrides, L"STFmt", L"none"));
            }
        });
    }
    // The right text stored without its null never matches.
    WriteAmPm(L"Am", L"Pm", NULL);
    WriteUnterminated(LM, kOverrides, L"STFmt", L"h:mm tM");
    RunSystemPage(TAB_CLOCK_POWER, [](HWND page) { EXPECT_FALSE(IsTicked(page, IDC_CLK_AM_PM)); });
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
        // Clearing writes nothing.
        SetField(page, IDC_CLK_DATE_PICTURE, L"MM/dd");
        Tap(page, IDC_CLK_DATE_FORMAT);
        EXPECT_EQ(L"yyyy-MM-dd", LongDate());
        // An empty field stores the default format.
        SetField(page, IDC_CLK_DATE_PICTURE, L"");
        Tap(page, IDC_CLK_DATE_FORMAT);
        EXPECT_EQ(kDefaultFormat, LongDate());
        // The field hands over at most 255 characters.
        Tap(page, IDC_CLK_DATE_FORMAT);
        std::wstring overlong(300, L'd');
        SetField(page, IDC_CLK_DATE_PICTURE, overlong.c_str());
        Tap(page, IDC_CLK_DATE_FORMAT);
        EXPECT_EQ(std::wstring(255, L'd'), LongDate());
    });
    // Stored values the page cannot use show the default: empty, longer than the
    // 80 bytes read, without the terminating null.
    struct {
        const char *what;
        std::function<void()> store;
        std::wstring shown;
    } cases[] = {
        {"empty", [] { WriteRegString(LM, kOverrides, L"SLDte", L""); }, kDefaultFormat},
        {"39 characters fit", [] { WriteRegString(LM, kOverrides, L"SLDte", std::wstring(39, L'y').c_str()); },
         std::wstring(39, L'y')},
        {"40 characters do not", [] { WriteRegString(LM, kOverrides, L"SLDte", std::wstring(40, L'y').c_str()); },
         kDefaultFormat},
        {"unterminated", [] { WriteUnterminated(LM, kOverrides, L"SLDte", L"dd.MM.yyyy"); }, kDefaultFormat},
        {"missing", [] { DeleteRegValue(LM, kOverrides, L"SLDte"); }, kDefaultFormat},
    };
    for (auto &c : cases) {
        SCOPED_TRACE(c.what);
        c.store();
        RunSystemPage(TAB_CLOCK_POWER, [&](HWND page) {
            EXPECT_EQ(c.shown, FieldText(page, IDC_CLK_DATE_PICTURE));
            EXPECT_FALSE(IsTicked(page, IDC_CLK_DATE_FORMAT));
        });
    }
}

TEST_F(ClockPowerPageTest, TheAlarmFixWritesTheFieldToBothTimeoutsOrFifteen)
{
    struct {
        const char *what;
        std::function<void()> store;
        const wchar_t *shown;
        bool ticked;
    } opened[] = {
        {"shipped", [] { WriteRegDword(LM, kTimeouts, L"ACResumingSuspendTimeout", 15); }, L"15", false},
        {"raised", [] { WriteRegDword(LM, kTimeouts, L"ACResumingSuspendTimeout", 60); }, L"60", true},
        {"missing", [] { DeleteRegValue(LM, kTimeouts, L"ACResumingSuspendTimeout"); }, L"0", true},
        {"huge", [] { WriteRegDword(LM, kTimeouts, L"ACResumingSuspendTimeout", 4000000000u); }, L"4000000000", true},
    };
    for (auto &c : opened) {
        SCOPED_TRACE(c.what);
        c.store();
        RunSystemPage(TAB_CLOCK_POWER, [&](HWND page) {
            EXPECT_EQ(c.shown, Seconds(page));
            EXPECT_EQ(c.ticked, IsTicked(page, IDC_CLK_ALARM_FIX));
        });
    }
    WriteRegDword(LM, kTimeouts, L"ACResumingSuspendTimeout", 15);
    WriteRegDword(LM, kTimeouts, L"BattResumingSuspendTimeout", 15);
    RunSystemPage(TAB_CLOCK_POWER, [](HWND page) {
        struct {
            const wchar_t *field;
            DWORD stored;
        } written[] = {{L"90", 90}, {L"", 16}, {L"200", 200}, {L"7", 7}};
        for (auto &w : written) {
            SCOPED_TRACE(testing::Message() << "field \"" << w.field << "\"");
            SetField(page, IDC_CLK_RESUMING_SECONDS, w.field);
            Tap(page, IDC_CLK_ALARM_FIX);
            ASSERT_TRUE(IsTicked(page, IDC_CLK_ALARM_FIX));
            EXPECT_EQ(w.stored, AcResuming());
            EXPECT_EQ(w.stored, BattResuming());
            Tap(page, IDC_CLK_ALARM_FIX);
            EXPECT_EQ(15u, AcResuming());
            EXPECT_EQ(15u, BattResuming());
        }
    });
}

TEST_F(ClockPowerPageTest, TheTimeoutSpinnerStepsBetweenFiveAndOneHundredEightySeconds)
{
    WriteRegDword(LM, kTimeouts, L"ACResumingSuspendTimeout", 15);
    RunSystemPage(TAB_CLOCK_POWER, [](HWND page) {
        struct {
            const wchar_t *field;
            int delta;
            const wchar_t *shown;
        } steps[] = {
            {L"179", -1, L"180"}, {L"180", -1, L"180"}, {L"6", 1, L"5"},   {L"5", 1, L"5"},
            {L"60", -1, L"61"},   {L"60", 1, L"59"},    {L"60", 0, L"59"}, {L"60", -5, L"61"},
            {L"", 1, L"5"},       {L"", -1, L"5"},
            // Only three characters are read: "1000" is 100.
            {L"1000", -1, L"101"},
            // Beyond the range a step lands on its nearer end.
            {L"999", 1, L"180"},  {L"0", -1, L"5"},
        };
        for (auto &s : steps) {
            SCOPED_TRACE(testing::Message() << "\"" << s.field << "\" by " << s.delta);
            SetField(page, IDC_CLK_RESUMING_SECONDS, s.field);
            Spin(page, IDC_CLK_RESUMING_SPIN, s.delta);
            EXPECT_EQ(s.shown, Seconds(page));
        }
        // The spinner's own arrows: the upper one adds.
        SetField(page, IDC_CLK_RESUMING_SECONDS, L"100");
        PressSpinnerArrow(page, IDC_CLK_RESUMING_SPIN, true);
        EXPECT_EQ(L"101", Seconds(page));
        PressSpinnerArrow(page, IDC_CLK_RESUMING_SPIN, false);
        PressSpinnerArrow(page, IDC_CLK_RESUMING_SPIN, false);
        EXPECT_EQ(L"99", Seconds(page));
        // Spinning writes nothing.
        EXPECT_EQ(15u, AcResuming());
    });
}

TEST_F(ClockPowerPageTest, HelpButtonsExplainTheirTweaks)
{
    RunSystemPage(TAB_CLOCK_POWER, [&](HWND page) {
        ExpectHelpBox(page, IDC_CLK_HELP_ALARM_FIX, MB_OK,
                      L"This option increase the Resuming Mode Wake Up Time from 15 to 60-180 seconds.\nThe Resuming "
                      L"state is the state between suspended an fully on. Resuming state runs at very low power with "
                      L"the screen off. In this state the system runs alarms. 15 seconds is not enough to do that.");
        ExpectHelpBox(page, IDC_CLK_HELP_WAKEUP, MB_OK,
                      L"This option will decrease the quality of seconds that your Pocket PC will be on during some "
                      L"events. The default value is 180 seconds. Decrease this time will save you some power.");
        ExpectHelpBox(page, IDC_CLK_HELP_DATE_FORMAT, MB_OK,
                      L"You can change the long date format shown in the Today Screen. The default format is: "
                      L"dddd,MMMM dd,yyyy.\nWhere:\ndddd - day of the week\nMMMM - Month\ndd - Day of the month\n"
                      L"yyyy - Year");
    });
}

TEST_F(ClockPowerPageTest, EachScreenShapeHasItsLayoutAndTheControlsKeepTheirState)
{
    WriteRegDword(LM, kTimeouts, L"ACResumingSuspendTimeout", 15);
    CheckVariantPerShape(
        RunSystemPage, TAB_CLOCK_POWER,
        {IDD_CLOCK_POWER_PAGE, IDD_CLOCK_POWER_PAGE_LANDSCAPE, IDD_CLOCK_POWER_PAGE_SQUARE},
        [](HWND page) {
            Tap(page, IDC_CLK_AM_PM);
            SetField(page, IDC_CLK_DATE_PICTURE, L"dd/MM");
            Spin(page, IDC_CLK_RESUMING_SPIN, -1);
        },
        [](HWND page) {
            EXPECT_TRUE(IsTicked(page, IDC_CLK_AM_PM));
            EXPECT_EQ(L"dd/MM", FieldText(page, IDC_CLK_DATE_PICTURE));
            EXPECT_EQ(L"16", Seconds(page));
            ExpectControlsInside(page);
            ExpectControlsApart(page);
            ExpectWholeCheckBoxLabels(page);
        });
    ExpectDoneInsideClosesHost(RunSystemPage, TAB_CLOCK_POWER);
}

TEST_F(ClockPowerPageTest, AKeyThatCannotBeOpenedEndsTheReadingAndIsNeverWritten)
{
    WriteRegDword(LM, kTaskBar, L"LimitedClock", 0);
    WriteRegDword(LM, kShell, L"TBOpt", 3);
    WriteRegDword(LM, kPower, L"WakeupPowerOff", 60);
    WriteRegDword(LM, kTimeouts, L"ACResumingSuspendTimeout", 60);
    {
        // The top-bar flags come second: the clock box is read, nothing after it.
        KeyLock lock(LM, kShell);
        ASSERT_TRUE(lock.locked());
        RunSystemPage(TAB_CLOCK_POWER, [](HWND page) {
            EXPECT_TRUE(IsTicked(page, IDC_CLK_CLOCK_EVERYWHERE));
            EXPECT_FALSE(IsTicked(page, IDC_CLK_TIME_IN_BAR));
            EXPECT_FALSE(IsTicked(page, IDC_CLK_WAKEUP_60S));
            EXPECT_EQ(L"", FieldText(page, IDC_CLK_DATE_PICTURE));
            EXPECT_EQ(L"", Seconds(page));
            Tap(page, IDC_CLK_TIME_IN_BAR);
            Tap(page, IDC_CLK_DATE_IN_BAR);
        });
        EXPECT_EQ(3u, TopBar());
    }
    {
        // The time-out key comes last: everything before it is read.
        KeyLock lock(LM, kTimeouts);
        ASSERT_TRUE(lock.locked());
        RunSystemPage(TAB_CLOCK_POWER, [](HWND page) {
            EXPECT_TRUE(IsTicked(page, IDC_CLK_TIME_IN_BAR));
            EXPECT_TRUE(IsTicked(page, IDC_CLK_WAKEUP_60S));
            EXPECT_EQ(kDefaultFormat, FieldText(page, IDC_CLK_DATE_PICTURE));
            EXPECT_EQ(L"", Seconds(page));
            SetField(page, IDC_CLK_RESUMING_SECONDS, L"90");
            Tap(page, IDC_CLK_ALARM_FIX);
            Tap(page, IDC_CLK_ALARM_FIX);
        });
        EXPECT_EQ(60u, AcResuming());
    }
    {
        KeyLock lock(LM, kOverrides);
        ASSERT_TRUE(lock.locked());
        RunSystemPage(TAB_CLOCK_POWER, [](HWND page) {
            Tap(page, IDC_CLK_AM_PM);
            Tap(page, IDC_CLK_DATE_FORMAT);
        });
        EXPECT_FALSE(RegValueExists(LM, kOverrides, L"S1159"));
        EXPECT_FALSE(RegValueExists(LM, kOverrides, L"SLDte"));
    }
    // Unlocked, the same taps store.
    RunSystemPage(TAB_CLOCK_POWER, [](HWND page) {
        EXPECT_EQ(L"60", Seconds(page));
        Tap(page, IDC_CLK_AM_PM);
    });
    EXPECT_TRUE(RegValueExists(LM, kOverrides, L"S1159"));
}
