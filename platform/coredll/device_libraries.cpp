// Start of every process of the simulated device (which also finishes the device's own
// start after a power loss), and the libraries behind a few device services (file
// information, the shell's dialog initialisation for the file dialogs).
// Under Wine, loading them with the device's core library costs every program of the
// device a good part of its start-up: they are loaded on the first call that needs them.
#include <windows.h>
#include "device.h"

FARPROC DesktopLibraryProc(const WCHAR *library, const char *name)
{
    // Loaded once and kept: the procedures handed out must stay valid.
    HMODULE module = GetModuleHandleW(library);
    if (!module) module = LoadLibraryW(library);
    return module ? GetProcAddress(module, name) : NULL;
}

// The device names exports in wide characters; export names are plain ASCII, so a name
// with any other character (or too long to be one) names nothing.
extern "C" FARPROC WINAPI GetProcAddressW(HMODULE module, LPCWSTR name)
{
    char narrow[256];
    int length = 0;
    for (; name && name[length]; length++) {
        if (name[length] > 0x7F || length == (int)sizeof narrow - 1) {
            SetLastError(ERROR_PROC_NOT_FOUND);
            return NULL;
        }
        narrow[length] = (char)name[length];
    }
    if (!name) return GetProcAddress(module, NULL);
    narrow[length] = 0;
    return GetProcAddress(module, narrow);
}

// The device has one file system, whose root is "\". A desktop process may start on
// another drive (Wine's Z: for the Linux folder it was started from), where "\Windows"
// would name nothing: the device's drive is made the current one.
static void MakeDeviceDriveCurrent(void)
{
    WCHAR windows[MAX_PATH], current[MAX_PATH];
    UINT n = GetWindowsDirectoryW(windows, MAX_PATH);
    if (n < 3 || n >= MAX_PATH || windows[1] != L':') return;
    DWORD m = GetCurrentDirectoryW(MAX_PATH, current);
    if (m >= 2 && m < MAX_PATH && (current[0] | 0x20) == (windows[0] | 0x20) && current[1] == L':') return;
    WCHAR root[4] = {windows[0], L':', L'\\', 0};
    SetCurrentDirectoryW(root);
}

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        MakeDeviceDriveCurrent();
        StartDevice();
    }
    return TRUE;
}
