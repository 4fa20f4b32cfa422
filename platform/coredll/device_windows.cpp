// Windows on the device's screen: default placement below the navigation bar, the
// foreground request, the screen's shape (rotation) and ending the device's programs.
#include <windows.h>
#include <initializer_list>
#include <set>
#include "device.h"

namespace {

// Indexed by SimScreenShape; anything else is upright.
const SIZE kShapeSizes[] = {{SIM_PORTRAIT_CX, SIM_PORTRAIT_CY}, {SIM_LANDSCAPE_CX, SIM_LANDSCAPE_CY},
                            {SIM_SQUARE_CX, SIM_SQUARE_CY}};

SIZE ShapeSize(int shape)
{
    return kShapeSizes[shape >= 0 && shape < 3 ? shape : SIM_PORTRAIT];
}

// Wine's virtual desktop offers as display modes some standard sizes that fit the host
// screen (640x480 among them), the host screen's own, and the size its setting gives it
// (HKCU\Software\Wine\Explorer\Desktops, under the desktop's name). The setting goes
// into the user's real hive: a test's sandbox redirects this process's HKEY_CURRENT_USER,
// not the key the desktop reads.
BOOL SetDesktopSize(SIZE size)
{
    WCHAR name[64];
    if (!GetUserObjectInformationW(GetThreadDesktop(GetCurrentThreadId()), UOI_NAME, name, sizeof name, NULL))
        return FALSE;
    typedef LONG(NTAPI * OpenUserProc)(ACCESS_MASK, HANDLE *);
    OpenUserProc openUser = (OpenUserProc)(void *)GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlOpenCurrentUser");
    HANDLE user;
    if (!openUser || openUser(KEY_CREATE_SUB_KEY | KEY_SET_VALUE, &user) != 0) return FALSE;
    HKEY desktops;
    LONG status = RegCreateKeyExW((HKEY)user, L"Software\\Wine\\Explorer\\Desktops", 0, NULL, 0, KEY_SET_VALUE, NULL,
                                  &desktops, NULL);
    RegCloseKey((HKEY)user);
    if (status != ERROR_SUCCESS) return FALSE;
    WCHAR text[32];
    wsprintfW(text, L"%ldx%ld", size.cx, size.cy);
    status = RegSetValueExW(desktops, name, 0, REG_SZ, (const BYTE *)text, (lstrlenW(text) + 1) * sizeof(WCHAR));
    RegCloseKey(desktops);
    return status == ERROR_SUCCESS;
}

// A process lists those modes when it first asks for the screen and after each change it
// makes, and takes a mode only when it is both on that list and offered now. A process
// that starts lists them afresh for all: Wine's rundll32 makes its window before it
// reads its arguments, and without any it ends.
void ListScreenModesAfresh(void)
{
    WCHAR program[MAX_PATH + 16];
    UINT n = GetSystemDirectoryW(program, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return;
    lstrcatW(program, L"\\rundll32.exe");
    STARTUPINFOW startup = {sizeof startup};
    PROCESS_INFORMATION process;
    if (!CreateProcessW(program, NULL, NULL, NULL, FALSE, CREATE_NO_WINDOW, NULL, NULL, &startup, &process)) return;
    WaitForSingleObject(process.hProcess, 10000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

BOOL ChangeScreenTo(int shape)
{
    DEVMODEW mode = {};
    mode.dmSize = sizeof mode;
    mode.dmPelsWidth = ShapeSize(shape).cx;
    mode.dmPelsHeight = ShapeSize(shape).cy;
    mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
    // Landscape is a standard size, and upright mostly still listed. A shape that is not
    // offered is named in the desktop's setting for the change only, and the change is
    // not saved: the desktop must keep starting upright.
    LONG result = ChangeDisplaySettingsExW(NULL, &mode, NULL, 0, NULL);
    if (result == DISP_CHANGE_BADMODE) {
        SetDesktopSize(ShapeSize(shape));
        result = ChangeDisplaySettingsExW(NULL, &mode, NULL, 0, NULL);
        if (result == DISP_CHANGE_BADMODE) {
            ListScreenModesAfresh();
            result = ChangeDisplaySettingsExW(NULL, &mode, NULL, 0, NULL);
        }
        SetDesktopSize(ShapeSize(SIM_PORTRAIT));
    }
    return result == DISP_CHANGE_SUCCESSFUL;
}

}

BOOL ScreenHasShape(int shape)
{
    return GetSystemMetrics(SM_CXSCREEN) == ShapeSize(shape).cx && GetSystemMetrics(SM_CYSCREEN) == ShapeSize(shape).cy;
}

// The process's first default-sized window sees the remembered shape.
static void RestoreShapeOnce(void)
{
    static BOOL done;
    if (done) return;
    done = TRUE;
    if (SimTestFlags() == 0) SimRestoreScreenShape();
}

extern "C" {

BOOL SimRotate(int shape)
{
    if (shape != SIM_PORTRAIT && shape != SIM_LANDSCAPE && shape != SIM_SQUARE) return FALSE;
    if (!ScreenHasShape(shape) && !ChangeScreenTo(shape)) return FALSE;
    RememberShape(shape);
    return TRUE;
}

int SimGetScreenShape(void)
{
    int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
    if (cy > cx) return SIM_PORTRAIT;
    if (cy < cx) return SIM_LANDSCAPE;
    return SIM_SQUARE;
}

BOOL SimRestoreScreenShape(void)
{
    int shape = RememberedShape();
    if (ScreenHasShape(shape)) return TRUE;
    // Only a desktop still at the size it starts with is turned; a screen someone has
    // already turned in this session stays as it is.
    if (!ScreenHasShape(SIM_PORTRAIT)) return FALSE;
    return ChangeScreenTo(shape);
}

HWND WINAPI Ce_CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR title, DWORD style, int x, int y, int cx,
                               int cy, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param)
{
    if (!(style & WS_CHILD) && (x == CW_USEDEFAULT || cx == CW_USEDEFAULT)) {
        // The device's default: the whole screen below the navigation bar.
        RestoreShapeOnce();
        if (x == CW_USEDEFAULT) {
            x = 0;
            y = SIM_BAR_HEIGHT;
        }
        if (cx == CW_USEDEFAULT) {
            cx = GetSystemMetrics(SM_CXSCREEN);
            cy = GetSystemMetrics(SM_CYSCREEN) - SIM_BAR_HEIGHT;
        }
    }
    // The device gives a top-level window a caption only when asked for; the desktop
    // implies one for every overlapped window.
    if (!(style & (WS_CHILD | WS_POPUP)) && (style & WS_CAPTION) != WS_CAPTION) style |= WS_POPUP;
    return CreateWindowExW(exStyle, className, title, style, x, y, cx, cy, parent, menu, instance, param);
}

BOOL WINAPI Ce_SetForegroundWindow(HWND handle)
{
    // The low bit asks for the window's owned windows to come along.
    BOOL withOwned = ((ULONG_PTR)handle & 1) != 0;
    HWND window = (HWND)((ULONG_PTR)handle & ~(ULONG_PTR)1);
    if (!IsWindow(window)) return FALSE;
    if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
    HWND target = withOwned ? GetLastActivePopup(window) : window;
    if (!target || !IsWindowVisible(target)) target = window;
    if (target != window) SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return SetForegroundWindow(target);
}

}

// ---------------------------------------------------------------------------------
// The device's programs

namespace {

BOOL CALLBACK CollectOwner(HWND window, LPARAM context)
{
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    ((std::set<DWORD> *)context)->insert(process);
    return TRUE;
}

// Wine's own processes (the desktop, services, device drivers) start from the Windows
// or the system folder itself; the device's programs live elsewhere.
BOOL IsSystemProcess(HANDLE process)
{
    WCHAR image[MAX_PATH], folder[MAX_PATH];
    DWORD n = MAX_PATH;
    if (!QueryFullProcessImageNameW(process, 0, image, &n)) return TRUE;   // unknown: leave it alone
    if (WCHAR *slash = wcsrchr(image, L'\\')) *slash = 0;
    for (UINT(WINAPI * folderOf)(LPWSTR, UINT) : {GetWindowsDirectoryW, GetSystemDirectoryW, GetSystemWow64DirectoryW})
        if (folderOf(folder, MAX_PATH) && CompareStringOrdinal(folder, -1, image, -1, TRUE) == CSTR_EQUAL) return TRUE;
    return FALSE;
}

}

extern "C" int SimEndDevicePrograms(DWORD sparedProcessId)
{
    std::set<DWORD> owners;
    EnumWindows(CollectOwner, (LPARAM)&owners);
    int ended = 0;
    for (DWORD id : owners) {
        if (id == 0 || id == GetCurrentProcessId() || id == sparedProcessId) continue;
        HANDLE process = OpenProcess(PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE, id);
        if (!process) continue;
        // A reset stops programs where they stand, as the device does.
        if (!IsSystemProcess(process) && TerminateProcess(process, 0)) {
            WaitForSingleObject(process, 3000);
            ++ended;
        }
        CloseHandle(process);
    }
    return ended;
}
