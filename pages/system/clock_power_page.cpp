// The clock and power page ("Collection4"): the title-bar clock, the long date format,
// the on time after a wake-up event and the time allowed for alarms while resuming.
#include "ui/pages.h"
#include "ui/tweaks.h"
#include "ui/number_field.h"
#include "ui/registry.h"
#include "ui/page.h"
#include "app/rudore.h"
#include "resource.h"
#include <commctrl.h>
#include <wchar.h>

static constexpr WCHAR kTaskBar[] = L"Software\\Microsoft\\Shell\\TaskBar";
static constexpr WCHAR kShell[] = L"SOFTWARE\\Microsoft\\Shell";
static constexpr WCHAR kLocaleOverrides[] = L"nls\\overrides";
static constexpr WCHAR kPower[] = L"System\\CurrentControlSet\\Control\\Power";
static constexpr WCHAR kPowerTimeouts[] = L"System\\CurrentControlSet\\Control\\Power\\Timeouts";

static constexpr WCHAR kTopBarOptions[] = L"TBOpt";
static const DWORD kTimeInBar = 1, kDateInBar = 2;

static constexpr WCHAR kLongDate[] = L"SLDte";
static constexpr WCHAR kDefaultLongDate[] = L"dddd,MMMM dd,yyyy";
// The stored format is read back with the room the field stores it from, so that a
// long format shows whole again rather than the default the next tick would store.
static const int kLongDateFieldChars = 256;
static const DWORD kStoredLongDateChars = kLongDateFieldChars;

static constexpr WCHAR kAcResuming[] = L"ACResumingSuspendTimeout";
static constexpr WCHAR kBatteryResuming[] = L"BattResumingSuspendTimeout";
static const DWORD kShippedResuming = 15;
static const int kUnparsedResuming = 16;
static const int kFewestResumingSeconds = 5, kMostResumingSeconds = 180;

static constexpr Tweak kClockRows[] = {
    // control                  root                key               name             ticked when  missing    ticked     cleared
    {IDC_CLK_CLOCK_EVERYWHERE, HKLM, kTaskBar, L"LimitedClock", Dword(0), Dword(1), Dword(0), Dword(1), TWEAK_CREATE_TO_READ},
    {IDC_CLK_AM_PM, HKLM, kLocaleOverrides, L"S1159", Text(L"Am"), Nothing(), Text(L"Am"), DeleteValue(), TWEAK_CREATE_TO_READ},
    {IDC_CLK_AM_PM, HKLM, kLocaleOverrides, L"S2359", Text(L"Pm"), Nothing(), Text(L"Pm"), DeleteValue(), TWEAK_CREATE_TO_READ},
    {IDC_CLK_AM_PM, HKLM, kLocaleOverrides, L"STFmt", Text(L"h:mm tM"), Nothing(), Text(L"h:mm tM"),
     DeleteValue(), TWEAK_CREATE_TO_READ},
    {IDC_CLK_WAKEUP_60S, HKLM, kPower, L"WakeupPowerOff", Dword(60), Dword(0), Dword(60), Dword(180), TWEAK_CREATE_TO_READ},
};
static const TweakTable kClockTweaks = TWEAK_TABLE(kClockRows);

static constexpr TweakHelp kClockHelpRows[] = {
    {IDC_CLK_HELP_ALARM_FIX,
     L"This option increase the Resuming Mode Wake Up Time from 15 to 60-180 seconds.\nThe Resuming state is the "
     L"state between suspended an fully on. Resuming state runs at very low power with the screen off. In this "
     L"state the system runs alarms. 15 seconds is not enough to do that."},
    {IDC_CLK_HELP_WAKEUP,
     L"This option will decrease the quality of seconds that your Pocket PC will be on during some events. The "
     L"default value is 180 seconds. Decrease this time will save you some power."},
    {IDC_CLK_HELP_DATE_FORMAT,
     L"You can change the long date format shown in the Today Screen. The default format is: dddd,MMMM "
     L"dd,yyyy.\nWhere:\ndddd - day of the week\nMMMM - Month\ndd - Day of the month\nyyyy - Year"},
};
static const HelpTable kClockHelp = HELP_TABLE(kClockHelpRows);

// ---- Reading on opening; FALSE when a key can be neither opened nor created ----

static BOOL LoadTopBarFlags(HWND page)
{
    DWORD options = 0;
    HKEY key;
    if (!CreateKey(HKEY_LOCAL_MACHINE, kShell, &key, NULL)) return FALSE;
    GetDword(key, kTopBarOptions, &options);
    RegCloseKey(key);
    if (options & kTimeInBar) CheckDlgButton(page, IDC_CLK_TIME_IN_BAR, BST_CHECKED);
    if (options & kDateInBar) CheckDlgButton(page, IDC_CLK_DATE_IN_BAR, BST_CHECKED);
    return TRUE;
}

// The box always starts clear: it stands for "store the field", not for a state.
static BOOL LoadLongDateFormat(HWND page)
{
    WCHAR format[kStoredLongDateChars];
    format[0] = 0;
    HKEY key;
    if (!CreateKey(HKEY_LOCAL_MACHINE, kLocaleOverrides, &key, NULL)) return FALSE;
    GetText(key, kLongDate, format, kStoredLongDateChars);
    RegCloseKey(key);
    SetDlgItemTextW(page, IDC_CLK_DATE_PICTURE, format[0] ? format : kDefaultLongDate);
    return TRUE;
}

static BOOL LoadResumingTimeout(HWND page)
{
    DWORD seconds = 0;
    HKEY key;
    if (!CreateKey(HKEY_LOCAL_MACHINE, kPowerTimeouts, &key, NULL)) return FALSE;
    GetDword(key, kAcResuming, &seconds);
    RegCloseKey(key);
    ShowUnsigned(page, IDC_CLK_RESUMING_SECONDS, seconds);
    if (seconds != kShippedResuming) CheckDlgButton(page, IDC_CLK_ALARM_FIX, BST_CHECKED);
    return TRUE;
}

static BOOL OpenClockPowerPage(HWND page)
{
    InitPageWithShell(page);
    SendDlgItemMessageW(page, IDC_CLK_DATE_PICTURE, EM_LIMITTEXT, kLongDateFieldChars - 1, 0);
    return LoadTweakBox(page, kClockTweaks, IDC_CLK_CLOCK_EVERYWHERE) && LoadTopBarFlags(page) &&
           LoadTweakBox(page, kClockTweaks, IDC_CLK_AM_PM) && LoadTweakBox(page, kClockTweaks, IDC_CLK_WAKEUP_60S) &&
           LoadLongDateFormat(page) && LoadResumingTimeout(page);
}

// ---- Writing on a tap ----

// "TBOpt" holds the time flag and the date flag; each box sets or clears its own bit.
// While the value holds only those flags (0 to 3), as it does on every device that
// only this page changes, that is the same as adding or subtracting the flag; any
// other bits a value carries are kept.
static void WriteTopBarFlag(HWND page, UINT box, DWORD flag)
{
    HKEY key;
    if (!CreateKey(HKEY_LOCAL_MACHINE, kShell, &key, NULL)) return;
    DWORD options = 0;
    GetDword(key, kTopBarOptions, &options);
    if (IsBoxTicked(page, box))
        options |= flag;
    else
        options &= ~flag;
    PutDword(key, kTopBarOptions, options);
    RegCloseKey(key);
}

static void WriteLongDateFormat(HWND page)
{
    HKEY key;
    if (!CreateKey(HKEY_LOCAL_MACHINE, kLocaleOverrides, &key, NULL)) return;
    if (IsBoxTicked(page, IDC_CLK_DATE_FORMAT)) {
        WCHAR format[kLongDateFieldChars];
        format[0] = 0;
        GetDlgItemTextW(page, IDC_CLK_DATE_PICTURE, format, kLongDateFieldChars);
        PutText(key, kLongDate, format[0] ? format : kDefaultLongDate);
    }
    RegCloseKey(key);
}

static void WriteAlarmFix(HWND page)
{
    HKEY key;
    if (!CreateKey(HKEY_LOCAL_MACHINE, kPowerTimeouts, &key, NULL)) return;
    DWORD seconds = kShippedResuming;
    if (IsBoxTicked(page, IDC_CLK_ALARM_FIX))
        seconds = (DWORD)ReadNumberField(page, IDC_CLK_RESUMING_SECONDS, 64, kUnparsedResuming);
    PutDword(key, kAcResuming, seconds);
    PutDword(key, kBatteryResuming, seconds);
    RegCloseKey(key);
}

// The up-down control has no range of its own, so its up arrow sends a negative
// delta. Each way stops at its own end only: a step down never goes below 5 seconds,
// a step up never above 180.
static void StepResumingTimeout(HWND page, int delta)
{
    int seconds = ReadNumberField(page, IDC_CLK_RESUMING_SECONDS, 4, 0);
    if (delta < 0) {
        seconds++;
        if (seconds > kMostResumingSeconds) seconds = kMostResumingSeconds;
    } else {
        seconds--;
        if (seconds < kFewestResumingSeconds) seconds = kFewestResumingSeconds;
    }
    ShowNumber(page, IDC_CLK_RESUMING_SECONDS, seconds);
}

static BOOL OnClockPowerCommand(HWND page, UINT control)
{
    switch (control) {
    case IDOK:
        ForwardDoneToHost(page);
        return TRUE;
    case IDC_CLK_TIME_IN_BAR:
        WriteTopBarFlag(page, control, kTimeInBar);
        return FALSE;
    case IDC_CLK_DATE_IN_BAR:
        WriteTopBarFlag(page, control, kDateInBar);
        return FALSE;
    case IDC_CLK_DATE_FORMAT:
        WriteLongDateFormat(page);
        return FALSE;
    case IDC_CLK_ALARM_FIX:
        WriteAlarmFix(page);
        return FALSE;
    }
    if (ShowHelpOfButton(page, kClockHelp, control)) return FALSE;
    WriteTweak(page, kClockTweaks, control);
    return FALSE;
}

static INT_PTR CALLBACK ClockPowerPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return OpenClockPowerPage(page);
    case WM_SIZE:
        RelayoutPage(page, g_clockPowerPage);
        return FALSE;
    case WM_NOTIFY: {
        NMUPDOWN *change = (NMUPDOWN *)lParam;
        if (change && change->hdr.idFrom == IDC_CLK_RESUMING_SPIN && change->hdr.code == (UINT)UDN_DELTAPOS)
            StepResumingTimeout(page, change->iDelta);
        return FALSE;
    }
    case WM_COMMAND:
        return OnClockPowerCommand(page, LOWORD(wParam));
    }
    return FALSE;
}

const PageDescriptor g_clockPowerPage = {
    L"Collection4", IDD_CLOCK_POWER_PAGE_PORTRAIT, IDD_CLOCK_POWER_PAGE_LANDSCAPE, IDD_CLOCK_POWER_PAGE_SQUARE,
    IDD_CLOCK_POWER_PAGE_PORTRAIT, ClockPowerPageProc, &kClockTweaks, &kClockHelp, NULL};
