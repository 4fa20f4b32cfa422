// Placeholder services of the simulated device, replaced one by one by the real ones.
#include <windows.h>
#include <commdlg.h>
#include <tapi.h>
#include "ceplatform.h"
#include "simdevice.h"
#include "internal.h"

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
BOOL SimRotate(int) { return FALSE; }
int SimGetScreenShape(void) { return SIM_PORTRAIT; }
BOOL SimIsSuspended(void) { return FALSE; }
void SimWake(void) {}
void SimClearRecords(void) {}
void SimQueueMessageBoxAnswer(int) {}
int SimMessageBoxCount(void) { return 0; }
BOOL SimGetMessageBox(int, SimMessageBox *) { return FALSE; }
void SimQueueFileDialogAnswer(const WCHAR *) {}
int SimFileDialogCount(void) { return 0; }
BOOL SimGetFileDialog(int, SimFileDialog *) { return FALSE; }
int SimBroadcastCount(void) { return 0; }
BOOL SimGetBroadcast(int, SimBroadcast *) { return FALSE; }

// Stand-ins until the device code arrives: a device folder, failures, power records and
// test control that brackets the registry sandbox with a private device folder.
static DWORD g_testFlags, g_failures[8];
static SimPowerAction g_power[64];
static int g_powerCount;
static WCHAR g_testDir[MAX_PATH];
BOOL SimGetDeviceDir(WCHAR *b, DWORD n) {
    WCHAR dir[MAX_PATH] = L"C:\\SimDevice"; char unix[MAX_PATH];
    typedef WCHAR *(CDECL *ToDos)(const char *);
    ToDos toDos = (ToDos)GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_dos_file_name");
    DWORD len = GetEnvironmentVariableA("WINEPREFIX", unix, MAX_PATH - 8);
    if (g_testDir[0]) lstrcpynW(dir, g_testDir, MAX_PATH);
    else if (toDos && len && len < MAX_PATH - 8) { lstrcatA(unix, "/device"); WCHAR *d = toDos(unix); if (d) { lstrcpynW(dir, d, MAX_PATH); HeapFree(GetProcessHeap(), 0, d); } }
    if (!n || (DWORD)lstrlenW(dir) >= n) return FALSE;
    lstrcpyW(b, dir); return TRUE;
}
void SimSetFailure(int f, DWORD e) { if (f > 0 && f < 8) g_failures[f] = e; }
DWORD SimGetFailure(int f) { return f > 0 && f < 8 ? g_failures[f] : 0; }
void SimRecordPowerAction(int k, DWORD a, DWORD b) { if (g_powerCount < 64) { g_power[g_powerCount].kind = k; g_power[g_powerCount].a = a; g_power[g_powerCount++].b = b; } }
int SimPowerActionCount(void) { return g_powerCount; }
BOOL SimGetPowerAction(int i, SimPowerAction *r) { if (i < 0 || i >= g_powerCount) return FALSE; *r = g_power[i]; return TRUE; }
DWORD SimTestFlags(void) { return g_testFlags; }
void SimTestBegin(DWORD flags) {
    SimTestEnd();
    g_testFlags = flags; g_powerCount = 0; ZeroMemory(g_failures, sizeof g_failures);
    if (flags & SIM_TEST_PRIVATE_DEVICE) {
        WCHAR temp[MAX_PATH]; GetTempPathW(MAX_PATH - 40, temp);
        wsprintfW(g_testDir, L"%sSimTestDevice-%lx", temp, GetCurrentProcessId());
        CreateDirectoryW(g_testDir, NULL);
        RegistrySandboxBegin();
    }
}
void SimTestEnd(void) {
    RegistrySandboxEnd();
    if (g_testDir[0]) {
        WCHAR pattern[MAX_PATH + 4], file[MAX_PATH * 2]; WIN32_FIND_DATAW fd;
        wsprintfW(pattern, L"%s\\*", g_testDir);
        HANDLE h = FindFirstFileW(pattern, &fd);
        if (h != INVALID_HANDLE_VALUE) { do { wsprintfW(file, L"%s\\%s", g_testDir, fd.cFileName); DeleteFileW(file); } while (FindNextFileW(h, &fd)); FindClose(h); }
        RemoveDirectoryW(g_testDir); g_testDir[0] = 0;
    }
    g_testFlags = 0; ZeroMemory(g_failures, sizeof g_failures);
}
}
