// Placeholder registry image services of the simulated device.
#include <windows.h>
#include "ceplatform.h"
#include "simdevice.h"

extern "C" {
BOOL WINAPI RegCopyFile(LPCWSTR) { SetLastError(ERROR_NOT_SUPPORTED); return FALSE; }
BOOL WINAPI RegRestoreFile(LPCWSTR) { SetLastError(ERROR_NOT_SUPPORTED); return FALSE; }
LONG WINAPI Ce_RegSaveKeyW(HKEY, LPCWSTR, LPSECURITY_ATTRIBUTES) { return ERROR_NOT_SUPPORTED; }
LONG WINAPI Ce_RegReplaceKeyW(HKEY, LPCWSTR, LPCWSTR, LPCWSTR) { return ERROR_NOT_SUPPORTED; }
DWORD SimGetBootCount(void) { return 0; }
BOOL SimCreateDevice(void) { return TRUE; }
void SimSoftReset(BOOL) {}
void SimHardReset(BOOL) {}
BOOL SimHasStagedImage(void) { return FALSE; }
}

#include "internal.h"
BOOL RegistrySandboxBegin(void) { return TRUE; }
void RegistrySandboxEnd(void) {}
