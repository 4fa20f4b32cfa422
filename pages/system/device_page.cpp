// The device page ("Collection5"): drivers and power settings, clearing the Start
// menu's recent programs and the soft-reset counter.
#include "ui/pages.h"
#include "ui/tweaks.h"
#include "ui/reflow.h"
#include "app/rudore.h"
#include "resource.h"
#include <wchar.h>

static const WCHAR kUsbFunction[] = L"Drivers\\BuiltIn\\usbfndrv";
static const WCHAR kMmcClass[] = L"Drivers\\SDCARD\\ClientDrivers\\Class\\MMC_Class";
static const WCHAR kSdMemoryClass[] = L"Drivers\\SDCARD\\ClientDrivers\\Class\\SDMemory_Class";
static const WCHAR kLowBattery[] = L"ControlPanel\\Notifications\\{A877D663-239C-47a7-9304-0D347F580408}";
static const WCHAR kExchange[] = L"Software\\Microsoft\\Obex";
static const WCHAR kTaskSwitch[] = L"Software\\Microsoft\\Shell\\TaskSwitch";
static const WCHAR kStorageManager[] = L"System\\StorageManager";
static const WCHAR kResuming[] = L"System\\CurrentControlSet\\Control\\Power\\State\\Resuming";
static const WCHAR kDisplayInResuming[] =
    L"System\\CurrentControlSet\\Control\\Power\\State\\Resuming\\{EB91C7C9-8BF6-4a2d-9AB8-69724EED97D1}";
static const WCHAR kBootCounter[] = L"Comm";
static const WCHAR kBootCount[] = L"Bootcount";

// A recent program's entry is read into 256 bytes.
static const DWORD kRecentEntryChars = 128;

#define CREATED TWEAK_CREATE_TO_READ

// In the order the page reads them when it opens; the counter comes last.
static const Tweak kDeviceTweaks[] = {
    // control                 root                key              name                    ticked when  missing    ticked      cleared
    {IDC_DEV_NO_USB_CHARGING, HKEY_LOCAL_MACHINE, kUsbFunction, L"EnableUsbCharging", Dword(0), Dword(1), Dword(0), Dword(1), CREATED},
    {IDC_DEV_SD_BLOCK_SIZE, HKEY_LOCAL_MACHINE, kMmcClass, L"BlockTransferSize", Dword(256), Dword(1), Dword(256), Dword(64), CREATED},
    {IDC_DEV_SD_BLOCK_SIZE, HKEY_LOCAL_MACHINE, kSdMemoryClass, L"BlockTransferSize", Dword(256), Dword(1), Dword(256), Dword(64), CREATED},
    {IDC_DEV_LOW_BATTERY, HKEY_LOCAL_MACHINE, kLowBattery, L"Default", Text(L"Low Battery Warning"), Nothing(),
     Text(L"Low Battery Warning"), DeleteValue(), CREATED},
    {IDC_DEV_NO_BEAM, HKEY_LOCAL_MACHINE, kExchange, L"IsEnabled", Dword(0), Dword(1), Dword(0), Dword(1), CREATED},
    {IDC_DEV_PNP_DELAY, HKEY_LOCAL_MACHINE, kStorageManager, L"PNPUnloadDelay", Dword(4096), Dword(0), Dword(4096), Dword(1500), CREATED},
    {IDC_DEV_FULL_POWER_WAKE, HKEY_LOCAL_MACHINE, kResuming, L"Default", Dword(0), Dword(0), Dword(0), Dword(2), CREATED},
    {IDC_DEV_FULL_POWER_WAKE, HKEY_LOCAL_MACHINE, kDisplayInResuming, L"Default", Dword(0), Dword(0), Dword(0), Dword(4), CREATED},
};

static const TweakHelp kDeviceHelp[] = {
    {IDC_DEV_HELP_USB, L"Disable charging over USB, it can protect your device!"},
    {IDC_DEV_HELP_SD, L"This option increase the block transfer size in SD/MMC cards."},
    {IDC_DEV_HELP_RECENT, L"This option can clear the recent program list in the start menu. Needed soft reset to take effect.", MB_ICONINFORMATION},
    {IDC_DEV_HELP_PNP, L"Fix a bug in WM2003 or WM2003SE where files located in external memory were re-mounted incorrectly if the "
     L"device was turn off and then on while the file was open.", MB_ICONINFORMATION},
    {IDC_DEV_HELP_FULL_POWER, L"This option can cause the Pocket PC to move to full power state when it is powered on.\nThis can be useful "
     L"for Alarms which do not wake up the Pocket PC properly.", MB_ICONINFORMATION},
};

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
    if (!CreateAndReadDword(HKEY_LOCAL_MACHINE, kBootCounter, kBootCount, &count)) return FALSE;
    ShowCounterLabel(page, count);
    return TRUE;
}

static BOOL OpenDevicePage(HWND page)
{
    InitPageWithShell(page);
    return LoadTweaks(page, kDeviceTweaks, TWEAK_COUNT(kDeviceTweaks)) && LoadBootCounter(page);
}

// Entries are numbered from "0" up; the list ends at the first number that cannot be
// read as an entry. That number is deleted too (mostly it is absent; an entry too long
// or of another type to read goes with the rest), and whatever lies beyond it stays.
static void ClearRecentPrograms(void)
{
    HKEY key;
    if (!CreateTweakKey(HKEY_LOCAL_MACHINE, kTaskSwitch, &key, NULL)) return;
    RegDeleteValueW(key, L"Default");
    unsigned number = 0;
    WCHAR name[16], entry[kRecentEntryChars];
    for (;;) {
        wsprintfW(name, L"%u", number);
        if (!ReadTextValue(key, name, entry, kRecentEntryChars)) break;
        RegDeleteValueW(key, name);
        number++;
    }
    RegDeleteValueW(key, name);
    RegCloseKey(key);
}

static void ResetBootCounter(HWND page)
{
    HKEY key;
    if (!CreateTweakKey(HKEY_LOCAL_MACHINE, kBootCounter, &key, NULL)) return;
    BOOL written = WriteDwordValue(key, kBootCount, 0);
    RegCloseKey(key);
    if (written) ShowCounterLabel(page, 0);
}

static BOOL IsTicked(HWND page, UINT box)
{
    return IsDlgButtonChecked(page, box) != BST_UNCHECKED;
}

static BOOL OnDeviceCommand(HWND page, UINT control)
{
    switch (control) {
    case IDOK:
        ForwardDoneToHost(page);
        return TRUE;
    // Two actions: they act when ticked and stay ticked; clearing them does nothing.
    case IDC_DEV_CLEAR_RECENT:
        if (IsTicked(page, control)) ClearRecentPrograms();
        return FALSE;
    case IDC_DEV_RESET_COUNTER:
        if (IsTicked(page, control)) ResetBootCounter(page);
        return FALSE;
    }
    if (ShowHelpOfButton(page, kDeviceHelp, TWEAK_COUNT(kDeviceHelp), control)) return FALSE;
    WriteTweak(page, kDeviceTweaks, TWEAK_COUNT(kDeviceTweaks), control);
    return FALSE;
}

INT_PTR CALLBACK DevicePageProc(HWND page, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        return OpenDevicePage(page);
    case WM_SIZE:
        ReflowDialogFromTemplate(g_hInstance, page,
                                 ChooseLayoutVariant(IDD_DEVICE_PAGE, IDD_DEVICE_PAGE_LANDSCAPE, IDD_DEVICE_PAGE_SQUARE));
        return FALSE;
    case WM_COMMAND:
        return OnDeviceCommand(page, LOWORD(wParam));
    }
    return FALSE;
}
