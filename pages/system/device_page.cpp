// The device page ("Collection5"): drivers and power settings, clearing the Start
// menu's recent programs and the soft-reset counter.
#include "ui/pages.h"
#include "ui/tweaks.h"
#include "ui/registry.h"
#include "ui/page.h"
#include "app/rudore.h"
#include "resource.h"
#include <wchar.h>

static constexpr WCHAR kUsbFunction[] = L"Drivers\\BuiltIn\\usbfndrv";
static constexpr WCHAR kMmcClass[] = L"Drivers\\SDCARD\\ClientDrivers\\Class\\MMC_Class";
static constexpr WCHAR kSdMemoryClass[] = L"Drivers\\SDCARD\\ClientDrivers\\Class\\SDMemory_Class";
static constexpr WCHAR kLowBattery[] = L"ControlPanel\\Notifications\\{A877D663-239C-47a7-9304-0D347F580408}";
static constexpr WCHAR kExchange[] = L"Software\\Microsoft\\Obex";
static constexpr WCHAR kTaskSwitch[] = L"Software\\Microsoft\\Shell\\TaskSwitch";
static constexpr WCHAR kStorageManager[] = L"System\\StorageManager";
static constexpr WCHAR kResuming[] = L"System\\CurrentControlSet\\Control\\Power\\State\\Resuming";
static constexpr WCHAR kDisplayInResuming[] =
    L"System\\CurrentControlSet\\Control\\Power\\State\\Resuming\\{EB91C7C9-8BF6-4a2d-9AB8-69724EED97D1}";
static constexpr WCHAR kBootCounter[] = L"Comm";
static constexpr WCHAR kBootCount[] = L"Bootcount";

// A recent program's entry is read into 256 bytes.
static const DWORD kRecentEntryBytes = 256;

// Every key is created even to be read; the counter is read after the boxes.
static constexpr Tweak kDeviceRows[] = {
    // control                 root                key              name                    ticked when  missing    ticked      cleared
    {IDC_DEV_NO_USB_CHARGING, HKLM, kUsbFunction, L"EnableUsbCharging", Dword(0), Dword(1), Dword(0), Dword(1), TWEAK_CREATE_TO_READ},
    {IDC_DEV_SD_BLOCK_SIZE, HKLM, kMmcClass, L"BlockTransferSize", Dword(256), Dword(1), Dword(256), Dword(64), TWEAK_CREATE_TO_READ},
    {IDC_DEV_SD_BLOCK_SIZE, HKLM, kSdMemoryClass, L"BlockTransferSize", Dword(256), Dword(1), Dword(256), Dword(64), TWEAK_CREATE_TO_READ},
    {IDC_DEV_LOW_BATTERY, HKLM, kLowBattery, L"Default", Text(L"Low Battery Warning"), Nothing(),
     Text(L"Low Battery Warning"), DeleteValue(), TWEAK_CREATE_TO_READ},
    {IDC_DEV_NO_BEAM, HKLM, kExchange, L"IsEnabled", Dword(0), Dword(1), Dword(0), Dword(1), TWEAK_CREATE_TO_READ},
    {IDC_DEV_PNP_DELAY, HKLM, kStorageManager, L"PNPUnloadDelay", Dword(4096), Dword(0), Dword(4096), Dword(1500), TWEAK_CREATE_TO_READ},
    {IDC_DEV_FULL_POWER_WAKE, HKLM, kResuming, L"Default", Dword(0), Dword(0), Dword(0), Dword(2), TWEAK_CREATE_TO_READ},
    {IDC_DEV_FULL_POWER_WAKE, HKLM, kDisplayInResuming, L"Default", Dword(0), Dword(0), Dword(0), Dword(4), TWEAK_CREATE_TO_READ},
};
static const TweakTable kDeviceTweaks = TWEAK_TABLE(kDeviceRows);

static constexpr TweakHelp kDeviceHelpRows[] = {
    {IDC_DEV_HELP_USB, L"Disable charging over USB, it can protect your device!"},
    {IDC_DEV_HELP_SD, L"This option increase the block transfer size in SD/MMC cards."},
    {IDC_DEV_HELP_RECENT, L"This option can clear the recent program list in the start menu. Needed soft reset to take effect.", MB_ICONINFORMATION},
    {IDC_DEV_HELP_PNP, L"Fix a bug in WM2003 or WM2003SE where files located in external memory were re-mounted incorrectly if the "
     L"device was turn off and then on while the file was open.", MB_ICONINFORMATION},
    {IDC_DEV_HELP_FULL_POWER, L"This option can cause the Pocket PC to move to full power state when it is powered on.\nThis can be useful "
     L"for Alarms which do not wake up the Pocket PC properly.", MB_ICONINFORMATION},
};
static const HelpTable kDeviceHelp = HELP_TABLE(kDeviceHelpRows);

static void ShowCounterLabel(HWND page, DWORD count)
{
    WCHAR label[64];
    if (count != 0)
        wsprintfW(label, L"SoftReset counter from %lu to 0", (unsigned long)count);
    else
        lstrcpyW(label, L"SoftReset counter:0");
    SetDlgItemTextW(page, IDC_DEV_RESET_COUNTER, label);
}

static BOOL LoadBootCounter(HWND page)
{
    DWORD count = 0;
    HKEY key;
    if (!CreateKey(HKEY_LOCAL_MACHINE, kBootCounter, &key, NULL)) return FALSE;
    GetDword(key, kBootCount, &count);
    RegCloseKey(key);
    ShowCounterLabel(page, count);
    return TRUE;
}

static BOOL OpenDevicePage(HWND page)
{
    InitPageWithShell(page);
    return LoadTweaks(page, kDeviceTweaks) && LoadBootCounter(page);
}

// Entries are numbered from "0" up, whatever their type; the list ends at the first
// number that cannot be read. That number is deleted too (mostly it is absent; an
// entry too long to read goes with the rest), and whatever lies beyond it stays.
static void ClearRecentPrograms(void)
{
    HKEY key;
    if (!CreateKey(HKEY_LOCAL_MACHINE, kTaskSwitch, &key, NULL)) return;
    RegDeleteValueW(key, L"Default");
    unsigned number = 0;
    WCHAR name[16];
    BYTE entry[kRecentEntryBytes];
    for (;;) {
        wsprintfW(name, L"%u", number);
        DWORD size = sizeof entry;
        if (RegQueryValueExW(key, name, NULL, NULL, entry, &size) != ERROR_SUCCESS) break;
        RegDeleteValueW(key, name);
        number++;
    }
    RegDeleteValueW(key, name);
    RegCloseKey(key);
}

static void ResetBootCounter(HWND page)
{
    HKEY key;
    if (!CreateKey(HKEY_LOCAL_MACHINE, kBootCounter, &key, NULL)) return;
    BOOL written = PutDword(key, kBootCount, 0);
    RegCloseKey(key);
    if (written) ShowCounterLabel(page, 0);
}

static BOOL OnDeviceCommand(HWND page, UINT control)
{
    switch (control) {
    case IDOK:
        ForwardDoneToHost(page);
        return TRUE;
    // Two actions: they act when ticked and stay ticked; clearing them does nothing.
    case IDC_DEV_CLEAR_RECENT:
        if (IsBoxTicked(page, control)) ClearRecentPrograms();
        return FALSE;
    case IDC_DEV_RESET_COUNTER:
        if (IsBoxTicked(page, control)) ResetBootCounter(page);
        return FALSE;
    }
    if (ShowHelpOfButton(page, kDeviceHelp, control)) return FALSE;
    WriteTweak(page, kDeviceTweaks, control);
    return FALSE;
}

static INT_PTR CALLBACK DevicePageProc(HWND page, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        return OpenDevicePage(page);
    case WM_SIZE:
        RelayoutPage(page, g_devicePage);
        return FALSE;
    case WM_COMMAND:
        return OnDeviceCommand(page, LOWORD(wParam));
    }
    return FALSE;
}

const PageDescriptor g_devicePage = {
    L"Collection5", IDD_DEVICE_PAGE_PORTRAIT, IDD_DEVICE_PAGE_LANDSCAPE, IDD_DEVICE_PAGE_SQUARE,
    IDD_DEVICE_PAGE_PORTRAIT, DevicePageProc, &kDeviceTweaks, &kDeviceHelp, NULL};
