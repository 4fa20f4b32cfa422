// Power management of the simulated device: the power key, the power states, the
// hardware layer's reboot request and the clean-boot flag. A press of the power key
// suspends the device; its screen goes black until the next tap.
#include <windows.h>
#include "ceplatform.h"
#include "device.h"

#define POWER_STATE_ON 0x00010000
#define POWER_STATE_OFF 0x00020000
#define POWER_STATE_SUSPEND 0x00200000

namespace {

BOOL g_suspended;
BOOL g_powerKeyDown;
HWND g_screenOff;
const WCHAR kScreenOffClass[] = L"DeviceScreenOff";

void CoverScreen(HWND window)
{
    SetWindowPos(window, HWND_TOPMOST, 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                 SWP_NOACTIVATE);
}

LRESULT CALLBACK ScreenOffProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_LBUTTONDOWN:
        return 0;
    case WM_LBUTTONUP:
        // Woken by a whole tap, so that neither half reaches the window underneath.
        DestroyWindow(window);
        return 0;
    case WM_SETCURSOR:
        SetCursor(NULL);
        return TRUE;
    case WM_DISPLAYCHANGE:
        CoverScreen(window);
        return 0;
    case WM_DESTROY:
        if (window == g_screenOff) {
            g_screenOff = NULL;
            g_suspended = FALSE;
        }
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void ShowScreenOff()
{
    if (g_screenOff) return;
    HMODULE self = NULL;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       (LPCWSTR)(void *)ScreenOffProc, &self);
    WNDCLASSW wc;
    if (!GetClassInfoW(self, kScreenOffClass, &wc)) {
        ZeroMemory(&wc, sizeof wc);
        wc.lpfnWndProc = ScreenOffProc;
        wc.hInstance = self;
        wc.hbrBackground = (HBRUSH)GetStockObject(BLACK_BRUSH);
        wc.lpszClassName = kScreenOffClass;
        RegisterClassW(&wc);
    }
    g_screenOff = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kScreenOffClass, L"", WS_POPUP | WS_VISIBLE, 0, 0,
                                  GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), NULL, NULL, self, NULL);
    if (g_screenOff) SetForegroundWindow(g_screenOff);
}

void Suspend()
{
    SimRecordPowerAction(SIM_POWER_SUSPENDED, 0, 0);
    g_suspended = TRUE;
    // A test sees the state; only a device in use shows the dark screen.
    if (SimTestFlags() == 0) ShowScreenOff();
}

void CloseScreenOff(HWND window)
{
    if (GetWindowThreadProcessId(window, NULL) == GetCurrentThreadId()) DestroyWindow(window);
    else PostMessageW(window, WM_CLOSE, 0, 0);
}

}

void ResetPowerState(void)
{
    g_powerKeyDown = FALSE;
    g_suspended = FALSE;
    if (g_screenOff) CloseScreenOff(g_screenOff);
}

extern "C" {

BOOL SimIsSuspended(void)
{
    // Another process of the device may be the one showing the dark screen.
    return g_suspended || FindWindowW(kScreenOffClass, NULL) != NULL;
}

void SimWake(void)
{
    g_suspended = FALSE;
    if (g_screenOff) CloseScreenOff(g_screenOff);
    HWND window = NULL;
    while ((window = FindWindowExW(NULL, window, kScreenOffClass, NULL)) != NULL) CloseScreenOff(window);
}

void WINAPI Ce_keybd_event(BYTE key, BYTE scan, DWORD flags, ULONG_PTR extra)
{
    if (key != VK_OFF) {
        keybd_event(key, scan, flags, extra);
        return;
    }
    if (!(flags & KEYEVENTF_KEYUP)) {
        SimRecordPowerAction(SIM_POWER_KEY_DOWN, key, flags);
        g_powerKeyDown = TRUE;
        return;
    }
    SimRecordPowerAction(SIM_POWER_KEY_UP, key, flags);
    if (!g_powerKeyDown) return;
    g_powerKeyDown = FALSE;
    // The power button toggles: a sleeping device wakes.
    if (SimIsSuspended()) SimWake();
    else Suspend();
}

DWORD WINAPI Ce_SetSystemPowerState(LPCWSTR stateName, DWORD state, DWORD flags)
{
    SimRecordPowerAction(SIM_POWER_SETSTATE, state, flags);
    if (stateName) {
        // A named state wins over the flags, as with the device's power manager.
        if (SameTextNoCase(stateName, L"on")) state = POWER_STATE_ON;
        else if (SameTextNoCase(stateName, L"suspend")) state = POWER_STATE_SUSPEND;
        else if (SameTextNoCase(stateName, L"reboot")) state = POWER_STATE_RESET;
        else return ERROR_FILE_NOT_FOUND;
    }
    switch (state) {
    case POWER_STATE_RESET:
        SimSoftReset(TRUE);
        return ERROR_SUCCESS;
    case POWER_STATE_ON:
        SimWake();
        return ERROR_SUCCESS;
    case POWER_STATE_SUSPEND:
    case POWER_STATE_OFF:
        if (!SimIsSuspended()) Suspend();
        return ERROR_SUCCESS;
    }
    return ERROR_NOT_SUPPORTED;
}

BOOL WINAPI KernelIoControl(DWORD code, LPVOID, DWORD, LPVOID, DWORD, LPDWORD returned)
{
    SimRecordPowerAction(SIM_POWER_IOCONTROL, code, 0);
    if (code != IOCTL_HAL_REBOOT) {
        SetLastError(ERROR_NOT_SUPPORTED);
        return FALSE;
    }
    if (returned) *returned = 0;
    if (SimGetCleanBootFlag()) {
        // The flag is good for one boot only; a hard reset the device refuses keeps it.
        SetCleanBootInProfile(FALSE);
        DWORD error = SimHardReset(TRUE);
        if (error) {
            SetCleanBootInProfile(TRUE);
            SetLastError(error);
            return FALSE;
        }
    } else {
        SimSoftReset(TRUE);
    }
    return TRUE;
}

void WINAPI SetCleanRebootFlag(void)
{
    SimRecordPowerAction(SIM_POWER_CLEANBOOT, 0, 0);
    SetCleanBootInProfile(TRUE);
}

}
