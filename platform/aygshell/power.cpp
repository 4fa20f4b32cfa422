// The shell's ExitWindowsEx: only a restart is possible on this device.
#include "shell.h"
#include "simdevice.h"

extern "C" BOOL WINAPI Shell_ExitWindowsEx(UINT flags, DWORD reserved)
{
    SimRecordPowerAction(SIM_POWER_EXITWINDOWS, flags, reserved);
    if (flags != EWX_REBOOT) {
        SetLastError(ERROR_NOT_SUPPORTED);
        return FALSE;
    }
    // Ends the process unless a test asked for resets to be recorded only.
    SimSoftReset(TRUE);
    return TRUE;
}
