// Power actions: switch off, soft reset, hard reset.
#include "tools/tools.h"
#include "ceplatform.h"
#include "aygshell.h"

void PressPowerKey(void)
{
    keybd_event(VK_OFF, 0, 0, 0);
    keybd_event(VK_OFF, 0, KEYEVENTF_KEYUP, 0);
}

void SoftResetDevice(void)
{
    OSVERSIONINFOW version;
    ZeroMemory(&version, sizeof version);
    version.dwOSVersionInfoSize = sizeof version;
    GetVersionExW(&version);

    // Each generation restarts through a different service; all are looked up by name
    // so that a device lacking one simply comes back here.
    if (version.dwMajorVersion >= 5) {
        HMODULE shell = LoadLibraryW(L"aygshell.dll");
        if (!shell) return;
        ShellExitWindowsExProc exitWindows = (ShellExitWindowsExProc)(void *)GetProcAddressW(shell, L"ExitWindowsEx");
        if (exitWindows) exitWindows(EWX_REBOOT, 0);
        FreeLibrary(shell);
    } else if (version.dwMajorVersion == 4 && version.dwMinorVersion >= 20) {
        HMODULE core = LoadLibraryW(L"Coredll.dll");
        if (!core) return;
        SetSystemPowerStateProc setPowerState = (SetSystemPowerStateProc)(void *)GetProcAddressW(core, L"SetSystemPowerState");
        if (setPowerState) setPowerState(NULL, POWER_STATE_RESET, 0);
        FreeLibrary(core);
    } else {
        KernelIoControl(IOCTL_HAL_REBOOT, NULL, 0, NULL, 0, NULL);
    }
}

void HardResetDevice(void)
{
    SetCleanRebootFlag();
    KernelIoControl(IOCTL_HAL_REBOOT, NULL, 0, NULL, 0, NULL);
}
