// The device page ("Collection5") through the System host.
#include "tests/hosts/host_kit.h"

namespace {

const wchar_t kUsb[] = L"Drivers\\BuiltIn\\usbfndrv";
const wchar_t kMmc[] = L"Drivers\\SDCARD\\ClientDrivers\\Class\\MMC_Class";
const wchar_t kSdMemory[] = L"Drivers\\SDCARD\\ClientDrivers\\Class\\SDMemory_Class";
const wchar_t kLowBattery[] = L"ControlPanel\\Notifications\\{A877D663-239C-47a7-9304-0D347F580408}";
const wchar_t kObex[] = L"Software\\Microsoft\\Obex";
const wchar_t kTaskSwitch[] = L"Software\\Microsoft\\Shell\\TaskSwitch";
const wchar_t kStorage[] = L"System\\StorageManager";
const wchar_t kResuming[] = L"System\\CurrentControlSet\\Control\\Power\\State\\Resuming";
const wchar_t kDisplay[] =
    L"System\\CurrentControlSet\\Control\\Power\\State\\Resuming\\{EB91C7C9-8BF6-4a2d-9AB8-69724EED97D1}";
const wchar_t kComm[] = L"Comm";

const HKEY LM = HKEY_LOCAL_MACHINE;

DWORD Dword(const wchar_t *key, const wchar_t *name) { return RegDwordOr(LM, key, name, 0xBAD); }

std::wstring CounterLabel(HWND page) { return FieldText(page, IDC_DEV_RESET_COUNTER); }

void WriteRecent(const wchar_t *name, const wchar_t *program) { WriteRegString(LM, kTaskSwitch, name, program); }

class DevicePageTest : public DeviceTest {};

}  // namespace

TEST_F(DevicePageTest, OpeningCreatesTheKeysItReadsAndNothingElse)
{
    const wchar_t *read[] = {kUsb, kMmc, kSdMemory, kLowBattery, kObex, kStorage, kDisplay, kResuming, kComm};
    for (const wchar_t *key : read) DeleteRegKey(LM, key);
    DeleteRegKey(LM, kTaskSwitch);
    RunSystemPage(TAB_DEVICE, [&](HWND page) {
        for (const wchar_t *key : read) EXPECT_TRUE(RegKeyExists(LM, key)) << key;
        EXPECT_FALSE(RegKeyExists(LM, kTaskSwitch)) << "only clearing the list opens the task switch key";
        // Missing values: USB charging and beaming on, block size 1, no warning text,
        // no unload delay, the resuming levels 0.
        EXPECT_FALSE(IsTicked(page, IDC_DEV_NO_USB_CHARGING));
        EXPECT_FALSE(IsTicked(page, IDC_DEV_SD_BLOCK_SIZE));
        EXPECT_FALSE(IsTicked(page, IDC_DEV_CLEAR_RECENT));
        EXPECT_FALSE(IsTicked(page, IDC_DEV_LOW_BATTERY));
        EXPECT_FALSE(IsTicked(page, IDC_DEV_NO_BEAM));
        EXPECT_FALSE(IsTicked(page, IDC_DEV_PNP_DELAY));
        EXPECT_TRUE(IsTicked(page, IDC_DEV_FULL_POWER_WAKE));
        EXPECT_FALSE(IsTicked(page, IDC_DEV_RESET_COUNTER));
        EXPECT_EQ(L"SoftReset counter:0", CounterLabel(page));
    });
    for (const wchar_t *key : {kUsb, kMmc, kObex, kStorage, kResuming, kComm}) {
        HKEY opened;
        DWORD values = 99;
        ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(LM, key, 0, KEY_READ, &opened));
        RegQueryInfoKeyW(opened, NULL, NULL, NULL, NULL, NULL, NULL, &values, NULL, NULL, NULL, NULL);
        RegCloseKey(opened);
        EXPECT_EQ(0u, values) << "opening wrote into " << key;
    }
    // The factory device: every setting as shipped.
    SimHardReset(FALSE);
    RunSystemPage(TAB_DEVICE, [](HWND page) {
        for (UINT box : {IDC_DEV_NO_USB_CHARGING, IDC_DEV_SD_BLOCK_SIZE, IDC_DEV_LOW_BATTERY, IDC_DEV_NO_BEAM,
                         IDC_DEV_PNP_DELAY, IDC_DEV_FULL_POWER_WAKE})
            EXPECT_FALSE(IsTicked(page, box)) << box;
    });
}

TEST_F(DevicePageTest, SingleValueBoxesWriteBothStates)
{
    const DwordBox boxes[] = {
        {IDC_DEV_NO_USB_CHARGING, LM, kUsb, L"EnableUsbCharging", 0, 1},
        {IDC_DEV_NO_BEAM, LM, kObex, L"IsEnabled", 0, 1},
        {IDC_DEV_PNP_DELAY, LM, kStorage, L"PNPUnloadDelay", 4096, 1500},
    };
    int broadcasts = SimBroadcastCount();
    CheckDwordBoxes(RunSystemPage, TAB_DEVICE, boxes, 3);
    EXPECT_EQ(broadcasts, SimBroadcastCount()) << "these settings are not announced";
    // The "on" values stored as text are no values: the boxes stay clear.
    for (auto &b : boxes) WriteTextOfType(LM, b.key, b.name, REG_SZ, b.ticked ? L"4096" : L"0");
    RunSystemPage(TAB_DEVICE, [&](HWND page) {
        for (auto &b : boxes) EXPECT_FALSE(IsTicked(page, b.box)) << b.name;
    });
}

TEST_F(DevicePageTest, TwoKeyBoxesNeedBothValuesAndWriteBothKeys)
{
    struct {
        const char *what;
        DWORD mmc, sd;   // 0xBAD: missing
        bool ticked;
    } sizes[] = {
        {"both 256", 256, 256, true},
        {"only MMC 256", 256, 64, false},
        {"only SD 256", 64, 256, false},
        {"SD missing", 256, 0xBAD, false},
    };
    for (auto &c : sizes) {
        SCOPED_TRACE(c.what);
        WriteRegDword(LM, kMmc, L"BlockTransferSize", c.mmc);
        if (c.sd == 0xBAD)
            DeleteRegValue(LM, kSdMemory, L"BlockTransferSize");
        else
            WriteRegDword(LM, kSdMemory, L"BlockTransferSize", c.sd);
        RunSystemPage(TAB_DEVICE, [&](HWND page) {
            EXPECT_EQ(c.ticked, IsTicked(page, IDC_DEV_SD_BLOCK_SIZE));
            if (c.ticked) Tap(page, IDC_DEV_SD_BLOCK_SIZE);
            EXPECT_EQ(c.ticked ? 64u : c.mmc, Dword(kMmc, L"BlockTransferSize"));
            Tap(page, IDC_DEV_SD_BLOCK_SIZE);
            EXPECT_EQ(256u, Dword(kMmc, L"BlockTransferSize"));
            EXPECT_EQ(256u, Dword(kSdMemory, L"BlockTransferSize"));
            Tap(page, IDC_DEV_SD_BLOCK_SIZE);
            EXPECT_EQ(64u, Dword(kMmc, L"BlockTransferSize"));
            EXPECT_EQ(64u, Dword(kSdMemory, L"BlockTransferSize"));
        });
    }
    // Waking to full power: with no resuming values the box is ticked; clearing it
    // stores 2 and 4, ticking it 0 and 0; one level not 0 leaves it clear.
    DeleteRegValue(LM, kResuming, L"Default");
    DeleteRegValue(LM, kDisplay, L"Default");
    RunSystemPage(TAB_DEVICE, [](HWND page) {
        ASSERT_TRUE(IsTicked(page, IDC_DEV_FULL_POWER_WAKE));
        Tap(page, IDC_DEV_FULL_POWER_WAKE);
        EXPECT_EQ(2u, Dword(kResuming, L"Default"));
        EXPECT_EQ(4u, Dword(kDisplay, L"Default"));
        Tap(page, IDC_DEV_FULL_POWER_WAKE);
        EXPECT_EQ(0u, Dword(kResuming, L"Default"));
        EXPECT_EQ(0u, Dword(kDisplay, L"Default"));
    });
    WriteRegDword(LM, kDisplay, L"Default", 4);
    RunSystemPage(TAB_DEVICE, [](HWND page) { EXPECT_FALSE(IsTicked(page, IDC_DEV_FULL_POWER_WAKE)); });
    // Only a dword 0 counts: a text "0" is no value, so it counts as 0 as well.
    WriteTextOfType(LM, kDisplay, L"Default", REG_SZ, L"4");
    RunSystemPage(TAB_DEVICE, [](HWND page) { EXPECT_TRUE(IsTicked(page, IDC_DEV_FULL_POWER_WAKE)); });
}

TEST_F(DevicePageTest, TheLowBatteryWarningWritesOrDeletesItsText)
{
    struct {
        const char *what;
        std::function<void()> store;
        bool ticked;
    } cases[] = {
        {"the warning", [] { WriteRegString(LM, kLowBattery, L"Default", L"Low Battery Warning"); }, true},
        {"missing", [] { DeleteRegValue(LM, kLowBattery, L"Default"); }, false},
        {"another text", [] { WriteRegString(LM, kLowBattery, L"Default", L"Low battery warning"); }, false},
        {"unterminated", [] { WriteUnterminated(LM, kLowBattery, L"Default", L"Low Battery Warning"); }, false},
        {"overlong", [] {
             WriteRegString(LM, kLowBattery, L"Default", (L"Low Battery Warning" + std::wstring(200, L' ')).c_str());
         }, false},
    };
    for (auto &c : cases) {
        SCOPED_TRACE(c.what);
        c.store();
        RunSystemPage(TAB_DEVICE, [&](HWND page) {
            EXPECT_EQ(c.ticked, IsTicked(page, IDC_DEV_LOW_BATTERY));
            Tap(page, IDC_DEV_LOW_BATTERY);
            if (c.ticked) {
                EXPECT_FALSE(RegValueExists(LM, kLowBattery, L"Default"));
                Tap(page, IDC_DEV_LOW_BATTERY);
            }
            EXPECT_EQ(L"Low Battery Warning", RegTextOr(LM, kLowBattery, L"Default", L"?"));
            Tap(page, IDC_DEV_LOW_BATTERY);
            EXPECT_FALSE(RegValueExists(LM, kLowBattery, L"Default"));
        });
    }
}

TEST_F(DevicePageTest, ClearingRecentProgramsDeletesTheNumberedEntriesUpToTheFirstGap)
{
    WriteRecent(L"Default", L"\\Windows\\tmail.exe");
    for (const wchar_t *name : {L"0", L"1", L"2", L"4"}) WriteRecent(name, L"\\Windows\\calc.exe");
    WriteRecent(L"Other", L"kept");
    RunSystemPage(TAB_DEVICE, [](HWND page) {
        EXPECT_FALSE(IsTicked(page, IDC_DEV_CLEAR_RECENT));
        Tap(page, IDC_DEV_CLEAR_RECENT);
        for (const wchar_t *name : {L"Default", L"0", L"1", L"2"}) EXPECT_FALSE(RegValueExists(LM, kTaskSwitch, name)) << name;
        EXPECT_TRUE(RegValueExists(LM, kTaskSwitch, L"4"));
        EXPECT_TRUE(RegValueExists(LM, kTaskSwitch, L"Other"));
        // The box stays ticked; clearing it does nothing.
        EXPECT_TRUE(IsTicked(page, IDC_DEV_CLEAR_RECENT));
        WriteRecent(L"0", L"\\Windows\\calc.exe");
        Tap(page, IDC_DEV_CLEAR_RECENT);
        EXPECT_FALSE(IsTicked(page, IDC_DEV_CLEAR_RECENT));
        EXPECT_TRUE(RegValueExists(LM, kTaskSwitch, L"0"));
        // Ticked again, it clears again.
        Tap(page, IDC_DEV_CLEAR_RECENT);
        EXPECT_FALSE(RegValueExists(LM, kTaskSwitch, L"0"));
    });
    // An entry the page cannot read as one ends the list: longer than 256 bytes or of
    // another type. The number the list ended at is deleted all the same, the entries
    // after it stay. 127 characters and the null still fit.
    struct {
        const char *what;
        std::function<void()> storeOne;
        bool readOn;
    } cases[] = {
        {"127 characters", [] { WriteRecent(L"1", std::wstring(127, L'p').c_str()); }, true},
        {"128 characters", [] { WriteRecent(L"1", std::wstring(128, L'p').c_str()); }, false},
        {"a number", [] { WriteRegDword(LM, kTaskSwitch, L"1", 5); }, false},
    };
    for (auto &c : cases) {
        SCOPED_TRACE(c.what);
        DeleteRegKey(LM, kTaskSwitch);
        WriteRecent(L"0", L"\\Windows\\calc.exe");
        c.storeOne();
        WriteRecent(L"2", L"\\Windows\\pword.exe");
        RunSystemPage(TAB_DEVICE, [](HWND page) { Tap(page, IDC_DEV_CLEAR_RECENT); });
        EXPECT_FALSE(RegValueExists(LM, kTaskSwitch, L"0"));
        EXPECT_FALSE(RegValueExists(LM, kTaskSwitch, L"1"));
        EXPECT_EQ(!c.readOn, RegValueExists(LM, kTaskSwitch, L"2"));
    }
    // With no task switch key, clearing makes an empty one.
    DeleteRegKey(LM, kTaskSwitch);
    RunSystemPage(TAB_DEVICE, [](HWND page) { Tap(page, IDC_DEV_CLEAR_RECENT); });
    EXPECT_TRUE(RegKeyExists(LM, kTaskSwitch));
}

TEST_F(DevicePageTest, TheCounterLabelShowsTheSoftResetsAndTickingResetsThem)
{
    struct {
        const char *what;
        std::function<void()> store;
        const wchar_t *label;
    } cases[] = {
        {"twelve", [] { WriteRegDword(LM, kComm, L"Bootcount", 12); }, L"SoftReset counter from 12 to 0"},
        {"zero", [] { WriteRegDword(LM, kComm, L"Bootcount", 0); }, L"SoftReset counter:0"},
        {"missing", [] { DeleteRegValue(LM, kComm, L"Bootcount"); }, L"SoftReset counter:0"},
        {"a text", [] { WriteTextOfType(LM, kComm, L"Bootcount", REG_SZ, L"9"); }, L"SoftReset counter:0"},
    };
    for (auto &c : cases) {
        SCOPED_TRACE(c.what);
        c.store();
        RunSystemPage(TAB_DEVICE, [&](HWND page) {
            EXPECT_EQ(c.label, CounterLabel(page));
            EXPECT_FALSE(IsTicked(page, IDC_DEV_RESET_COUNTER));
        });
    }
    WriteRegDword(LM, kComm, L"Bootcount", 7);
    RunSystemPage(TAB_DEVICE, [](HWND page) {
        Tap(page, IDC_DEV_RESET_COUNTER);
        EXPECT_EQ(0u, SimGetBootCount());
        EXPECT_EQ(L"SoftReset counter:0", CounterLabel(page));
        // It stays ticked; clearing it writes nothing and keeps the label.
        EXPECT_TRUE(IsTicked(page, IDC_DEV_RESET_COUNTER));
        WriteRegDword(LM, kComm, L"Bootcount", 3);
        Tap(page, IDC_DEV_RESET_COUNTER);
        EXPECT_EQ(3u, SimGetBootCount());
        EXPECT_EQ(L"SoftReset counter:0", CounterLabel(page));
    });
}

TEST_F(DevicePageTest, HelpButtonsExplainTheirTweaks)
{
    RunSystemPage(TAB_DEVICE, [&](HWND page) {
        ExpectHelpBox(page, IDC_DEV_HELP_USB, MB_OK, L"Disable charging over USB, it can protect your device!");
        ExpectHelpBox(page, IDC_DEV_HELP_SD, MB_OK, L"This option increase the block transfer size in SD/MMC cards.");
        ExpectHelpBox(page, IDC_DEV_HELP_RECENT, MB_OK | MB_ICONINFORMATION,
                      L"This option can clear the recent program list in the start menu. Needed soft reset to take "
                      L"effect.");
        ExpectHelpBox(page, IDC_DEV_HELP_PNP, MB_OK | MB_ICONINFORMATION,
                      L"Fix a bug in WM2003 or WM2003SE where files located in external memory were re-mounted "
                      L"incorrectly if the device was turn off and then on while the file was open.");
        ExpectHelpBox(page, IDC_DEV_HELP_FULL_POWER, MB_OK | MB_ICONINFORMATION,
                      L"This option can cause the Pocket PC to move to full power state when it is powered on.\nThis "
                      L"can be useful for Alarms which do not wake up the Pocket PC properly.");
    });
}

TEST_F(DevicePageTest, EachScreenShapeMovesTheControlsAndKeepsTheirLabelsAndState)
{
    // The widest label the counter box is ever given.
    WriteRegDword(LM, kComm, L"Bootcount", 0xFFFFFFFF);
    CheckVariantPerShape(
        RunSystemPage, TAB_DEVICE, {IDD_DEVICE_PAGE, IDD_DEVICE_PAGE_LANDSCAPE, IDD_DEVICE_PAGE_SQUARE},
        [](HWND page) { Tap(page, IDC_DEV_PNP_DELAY); },
        [](HWND page) {
            EXPECT_TRUE(IsTicked(page, IDC_DEV_PNP_DELAY));
            EXPECT_EQ(L"SoftReset counter from 4294967295 to 0", CounterLabel(page));
            ExpectControlsInside(page);
            ExpectControlsApart(page);
            ExpectWholeCheckBoxLabels(page);
        });
    ExpectDoneInsideClosesHost(RunSystemPage, TAB_DEVICE);
}

TEST_F(DevicePageTest, AKeyThatCannotBeOpenedEndsTheReadingAndStopsBothKeysWrites)
{
    WriteRegDword(LM, kUsb, L"EnableUsbCharging", 0);
    WriteRegDword(LM, kObex, L"IsEnabled", 0);
    WriteRegDword(LM, kComm, L"Bootcount", 4);
    {
        // The SD memory key comes third: only the USB box is read, and the counter
        // keeps the label of the template.
        KeyLock lock(LM, kSdMemory);
        ASSERT_TRUE(lock.locked());
        RunSystemPage(TAB_DEVICE, [](HWND page) {
            EXPECT_TRUE(IsTicked(page, IDC_DEV_NO_USB_CHARGING));
            EXPECT_FALSE(IsTicked(page, IDC_DEV_NO_BEAM));
            EXPECT_EQ(L"SoftReset counter", CounterLabel(page));
            // Neither class key is written while one of them cannot be opened.
            Tap(page, IDC_DEV_SD_BLOCK_SIZE);
            EXPECT_EQ(64u, Dword(kMmc, L"BlockTransferSize"));
        });
    }
    {
        KeyLock lock(LM, kDisplay);
        ASSERT_TRUE(lock.locked());
        RunSystemPage(TAB_DEVICE, [](HWND page) {
            EXPECT_TRUE(IsTicked(page, IDC_DEV_NO_BEAM)) << "the keys before it are read";
            Tap(page, IDC_DEV_FULL_POWER_WAKE);
        });
        EXPECT_EQ(2u, Dword(kResuming, L"Default"));
    }
    {
        // The counter's key: the label says nothing was reset.
        KeyLock lock(LM, kComm);
        ASSERT_TRUE(lock.locked());
        RunSystemPage(TAB_DEVICE, [](HWND page) {
            EXPECT_EQ(L"SoftReset counter", CounterLabel(page));
            Tap(page, IDC_DEV_RESET_COUNTER);
            EXPECT_EQ(L"SoftReset counter", CounterLabel(page));
        });
        EXPECT_EQ(4u, SimGetBootCount());
    }
    {
        WriteRecent(L"0", L"\\Windows\\calc.exe");
        KeyLock lock(LM, kTaskSwitch);
        ASSERT_TRUE(lock.locked());
        RunSystemPage(TAB_DEVICE, [](HWND page) {
            EXPECT_EQ(L"SoftReset counter from 4 to 0", CounterLabel(page)) << "the task switch key is not read";
            Tap(page, IDC_DEV_CLEAR_RECENT);
        });
        EXPECT_TRUE(RegValueExists(LM, kTaskSwitch, L"0"));
    }
    // Unlocked, the same taps store.
    RunSystemPage(TAB_DEVICE, [](HWND page) {
        Tap(page, IDC_DEV_SD_BLOCK_SIZE);
        Tap(page, IDC_DEV_RESET_COUNTER);
    });
    EXPECT_EQ(256u, Dword(kSdMemory, L"BlockTransferSize"));
    EXPECT_EQ(0u, SimGetBootCount());
}
