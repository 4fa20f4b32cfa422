// Placeholder services of the simulated device, replaced one by one by the real ones.
#include <windows.h>
#include <commdlg.h>
#include <tapi.h>
#include "ceplatform.h"
#include "simdevice.h"

extern "C" {
BOOL WINAPI Ce_GetVersionExW(LPOSVERSIONINFOW v) {
    if (!v) return FALSE;
    v->dwMajorVersion = 4; v->dwMinorVersion = 21; v->dwBuildNumber = 1088; v->dwPlatformId = 3;
    v->szCSDVersion[0] = 0;
    return TRUE;
}
void WINAPI Ce_GlobalMemoryStatus(LPMEMORYSTATUS m) { GlobalMemoryStatus(m); }
BOOL WINAPI Ce_GetDiskFreeSpaceExW(LPCWSTR p, PULARGE_INTEGER a, PULARGE_INTEGER t, PULARGE_INTEGER f) { return GetDiskFreeSpaceExW(p, a, t, f); }
BOOL WINAPI GetSystemPowerStatusEx(PSYSTEM_POWER_STATUS_EX s, BOOL) { if (!s) return FALSE; ZeroMemory(s, sizeof *s); s->BatteryLifePercent = 85; s->BatteryFlag = 1; return TRUE; }
DWORD WINAPI GetSystemPowerStatusEx2(PSYSTEM_POWER_STATUS_EX2 s, DWORD len, BOOL) { if (!s || len < sizeof *s) return 0; ZeroMemory(s, sizeof *s); s->BatteryLifePercent = 85; s->BatteryFlag = 1; return sizeof *s; }
DWORD WINAPI Ce_SetSystemPowerState(LPCWSTR, DWORD, DWORD) { return ERROR_NOT_SUPPORTED; }
BOOL WINAPI KernelIoControl(DWORD, LPVOID, DWORD, LPVOID, DWORD, LPDWORD) { SetLastError(ERROR_NOT_SUPPORTED); return FALSE; }
void WINAPI SetCleanRebootFlag(void) {}
void WINAPI Ce_keybd_event(BYTE vk, BYTE scan, DWORD flags, ULONG_PTR extra) { keybd_event(vk, scan, flags, extra); }
HWND WINAPI Ce_CreateWindowExW(DWORD ex, LPCWSTR cls, LPCWSTR title, DWORD style, int x, int y, int cx, int cy, HWND parent, HMENU menu, HINSTANCE inst, LPVOID param) { return CreateWindowExW(ex, cls, title, style, x, y, cx, cy, parent, menu, inst, param); }
BOOL WINAPI Ce_SetForegroundWindow(HWND h) { return SetForegroundWindow((HWND)((ULONG_PTR)h & ~(ULONG_PTR)1)); }
BOOL WINAPI Ce_FindClose(HANDLE h) { return FindClose(h); }
int WINAPI Ce_MessageBoxW(HWND o, LPCWSTR t, LPCWSTR c, UINT f) { return MessageBoxW(o, t, c, f); }
BOOL WINAPI Ce_GetOpenFileNameW(LPOPENFILENAMEW o) { return GetOpenFileNameW(o); }
BOOL WINAPI Ce_GetSaveFileNameW(LPOPENFILENAMEW o) { return GetSaveFileNameW(o); }
LRESULT WINAPI Ce_SendMessageW(HWND h, UINT m, WPARAM w, LPARAM l) { return SendMessageW(h, m, w, l); }
BOOL WINAPI Ce_PostMessageW(HWND h, UINT m, WPARAM w, LPARAM l) { return PostMessageW(h, m, w, l); }
LONG WINAPI Ce_lineInitializeExW(LPHLINEAPP, HINSTANCE, LINECALLBACK, LPCWSTR, LPDWORD, LPDWORD, LPLINEINITIALIZEEXPARAMS) { return LINEERR_OPERATIONUNAVAIL; }
LONG WINAPI Ce_lineNegotiateAPIVersion(HLINEAPP, DWORD, DWORD, DWORD, LPDWORD, LPLINEEXTENSIONID) { return LINEERR_OPERATIONUNAVAIL; }
LONG WINAPI Ce_lineNegotiateExtVersion(HLINEAPP, DWORD, DWORD, DWORD, DWORD, LPDWORD) { return LINEERR_OPERATIONUNAVAIL; }
LONG WINAPI Ce_lineGetDevCapsW(HLINEAPP, DWORD, DWORD, DWORD, LPLINEDEVCAPS) { return LINEERR_OPERATIONUNAVAIL; }
LONG WINAPI Ce_lineOpenW(HLINEAPP, DWORD, LPHLINE, DWORD, DWORD, DWORD_PTR, DWORD, DWORD, LPLINECALLPARAMS) { return LINEERR_OPERATIONUNAVAIL; }
LONG WINAPI Ce_lineGetLineDevStatusW(HLINE, LPLINEDEVSTATUS) { return LINEERR_OPERATIONUNAVAIL; }
LONG WINAPI Ce_lineClose(HLINE) { return 0; }
LONG WINAPI Ce_lineShutdown(HLINEAPP) { return 0; }

HANDLE SimFindFirstCard(LPWIN32_FIND_DATAW) { return INVALID_HANDLE_VALUE; }
BOOL SimFindNextCard(HANDLE, LPWIN32_FIND_DATAW) { return FALSE; }
BOOL SimGetDeviceDir(WCHAR *b, DWORD n) { if (n) b[0] = 0; return FALSE; }
void SimResetProfile(void) {}
void SimSetOsVersion(DWORD, DWORD, DWORD) {}
void SimGetOsVersion(DWORD *a, DWORD *b, DWORD *c) { *a = 4; *b = 21; *c = 1088; }
void SimSetBattery(const SimBattery *) {}
void SimGetBattery(SimBattery *b) { ZeroMemory(b, sizeof *b); }
void SimSetMemory(DWORD, DWORD) {}
void SimGetMemory(DWORD *t, DWORD *a) { *t = *a = 0; }
BOOL SimSetCards(const SimCard *, int) { return FALSE; }
int SimGetCards(SimCard *, int) { return 0; }
void SimSetLines(const SimLine *, int) {}
int SimGetLines(SimLine *, int) { return 0; }
void SimSetFailure(int, DWORD) {}
DWORD SimGetFailure(int) { return 0; }
BOOL SimRotate(int) { return FALSE; }
int SimGetScreenShape(void) { return SIM_PORTRAIT; }
BOOL SimIsSuspended(void) { return FALSE; }
void SimWake(void) {}
void SimTestBegin(DWORD) {}
void SimTestEnd(void) {}
void SimClearRecords(void) {}
void SimQueueMessageBoxAnswer(int) {}
int SimMessageBoxCount(void) { return 0; }
BOOL SimGetMessageBox(int, SimMessageBox *) { return FALSE; }
void SimQueueFileDialogAnswer(const WCHAR *) {}
int SimFileDialogCount(void) { return 0; }
BOOL SimGetFileDialog(int, SimFileDialog *) { return FALSE; }
int SimBroadcastCount(void) { return 0; }
BOOL SimGetBroadcast(int, SimBroadcast *) { return FALSE; }
int SimPowerActionCount(void) { return 0; }
BOOL SimGetPowerAction(int, SimPowerAction *) { return FALSE; }
void SimRecordPowerAction(int, DWORD, DWORD) {}
DWORD SimTestFlags(void) { return 0; }
}
