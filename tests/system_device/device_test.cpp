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

DWORD BlockSize(const wchar_t *key) { return RegDwordOr(LM, key, L"BlockTransferSize", 0xBAD); }
std::wstring CounterLabel(HWND page) { return FieldText(page, IDC_DEV_RESET_COUNTER); }
void WriteRecent(const wchar_t *name, const wchar_t *program) { WriteRegString(LM, kTaskSwitch, name, program); }

class DevicePageTest : public DeviceTest {};

}  // namespace

TEST_F(DevicePageTest, OpeningCreatesTheKeysItReadsAndWritesNothing)
{
    const wchar_t *read[] = {kUsb, kMmc, kSdMemory, kLowBattery, kObex, kStorage, kResuming, kComm};
    for (const wchar_t *key : read) DeleteRegKey(LM, key);
    DeleteRegKey(LM, kTaskSwitch);
    RunSystemPage(TAB_DEVICE, [&](HWND page) {
        EXPECT_FALSE(RegKeyExists(LM, kTaskSwitch)) << "only clearing the list opens the task switch key";
        EXPECT_EQ(L"SoftReset counter:0", CounterLabel(page));
    });
    for (const wchar_t *key : read) {
        HKEY opened;
        DWORD values = 99;
        ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(LM, key, 0, KEY_READ, &opened)) << key;
        RegQueryInfoKeyW(opened, NULL, NULL, NULL, NULL, NULL, NULL, &values, NULL, NULL, NULL, NULL);
        RegCloseKey(opened);
        EXPECT_EQ(0u, values) << "opening wrote into " << key;
    }
    EXPECT_TRUE(RegKeyExists(LM, kDisplay));
}

TEST_F(DevicePageTest, ClearingRecentProgramsDeletesTheNumberedEntriesUpToTheFirstGap)
{
    WriteRecent(L"Default", L"\\Windows\\tmail.exe");
    for (const wchar_t *name : {L"0", L"2", L"4"}) WriteRecent(name, L"\\Windows\\calc.exe");
    // An entry of another type is an entry all the same.
    WriteRegDword(LM, kTaskSwitch, L"1", 5);
    WriteRecent(L"Other", L"kept");
    RunSystemPage(TAB_DEVICE, [](HWND page) {
        EXPECT_FALSE(IsTicked(page, IDC_DEV_CLEAR_RECENT));
        Tap(page, IDC_DEV_CLEAR_RECENT);
        for (const wchar_t *name : {L"Default", L"0", L"1", L"2"}) EXPECT_FALSE(RegValueExists(LM, kTaskSwitch, name)) << name;
        EXPECT_TRUE(RegValueExists(LM, kTaskSwitch, L"4"));
        EXPECT_TRUE(RegValueExists(LM, kTaskSwitch, L"Other"));
        // The box stays ticked; clearing it does nothing, ticking it again clears again.
        EXPECT_TRUE(IsTicked(page, IDC_DEV_CLEAR_RECENT));
        WriteRecent(L"0", L"\\Windows\\calc.exe");
        Tap(page, IDC_DEV_CLEAR_RECENT);
        EXPECT_TRUE(RegValueExists(LM, kTaskSwitch, L"0"));
        Tap(page, IDC_DEV_CLEAR_RECENT);
        EXPECT_FALSE(RegValueExists(LM, kTaskSwitch, L"0"));
    });
    // Entries are read into 256 bytes: 127 characters and the null fit. One too long to
    // read ends the list; it is deleted all the same, the entries after it stay.
    for (size_t chars : {127, 128}) {
        SCOPED_TRACE(chars);
        WriteRecent(L"0", L"\\Windows\\calc.exe");
        WriteRecent(L"1", std::wstring(chars, L'p').c_str());
        WriteRecent(L"2", L"\\Windows\\pword.exe");
        RunSystemPage(TAB_DEVICE, [](HWND page) { Tap(page, IDC_DEV_CLEAR_RECENT); });
        EXPECT_FALSE(RegValueExists(LM, kTaskSwitch, L"0"));
        EXPECT_FALSE(RegValueExists(LM, kTaskSwitch, L"1"));
        EXPECT_EQ(chars == 128, RegValueExists(LM, kTaskSwitch, L"2"));
    }
}

TEST_F(DevicePageTest, TheCounterLabelShowsTheSoftResetsAndTickingResetsThem)
{
    WriteRegDword(LM, kComm, L"Bootcount", 7);
    RunSystemPage(TAB_DEVICE, [](HWND page) {
        EXPECT_EQ(L"SoftReset counter from 7 to 0", CounterLabel(page));
        EXPECT_FALSE(IsTicked(page, IDC_DEV_RESET_COUNTER));
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

TEST_F(DevicePageTest, AKeyThatCannotBeOpenedEndsTheReadingAndStopsBothKeysWrites)
{
    WriteRegDword(LM, kUsb, L"EnableUsbCharging", 0);
    WriteRegDword(LM, kComm, L"Bootcount", 4);
    {
        // The SD memory key comes third: only the USB box is read, and the counter
        // keeps the label of the template.
        KeyLock lock(LM, kSdMemory);
        ASSERT_TRUE(lock.locked());
        RunSystemPage(TAB_DEVICE, [](HWND page) {
            EXPECT_TRUE(IsTicked(page, IDC_DEV_NO_USB_CHARGING));
            EXPECT_EQ(L"SoftReset counter", CounterLabel(page));
            // Neither class key is written while one of them cannot be opened.
            Tap(page, IDC_DEV_SD_BLOCK_SIZE);
            EXPECT_EQ(64u, BlockSize(kMmc));
        });
    }
    {
        // The counter's key: the label does not claim a reset.
        KeyLock lock(LM, kComm);
        ASSERT_TRUE(lock.locked());
        RunSystemPage(TAB_DEVICE, [](HWND page) {
            Tap(page, IDC_DEV_RESET_COUNTER);
            EXPECT_EQ(L"SoftReset counter", CounterLabel(page));
        });
        EXPECT_EQ(4u, SimGetBootCount());
    }
}
