// Start of every process of the simulated device.
#include <windows.h>

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
    if (reason == DLL_PROCESS_ATTACH) MakeDeviceDriveCurrent();
    return TRUE;
}
