// Placeholder shell of the simulated device.
#include <windows.h>
#include "aygshell.h"

extern "C" {
BOOL WINAPI SHInitExtraControls(void) { return TRUE; }
BOOL WINAPI SHCreateMenuBar(SHMENUBARINFO *info) { if (info) info->hwndMB = NULL; return FALSE; }
BOOL WINAPI SHInitDialog(PSHINITDLGINFO) { return TRUE; }
BOOL WINAPI SHDoneButton(HWND, DWORD) { return TRUE; }
BOOL WINAPI SHHandleWMSettingChange(HWND, WPARAM, LPARAM, SHACTIVATEINFO *) { return TRUE; }
BOOL WINAPI SHHandleWMActivate(HWND, WPARAM, LPARAM, SHACTIVATEINFO *, DWORD) { return TRUE; }
BOOL WINAPI Shell_ExitWindowsEx(UINT, DWORD) { return FALSE; }
}
