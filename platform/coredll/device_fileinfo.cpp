// File information as the device's shell gives it: for device paths. A path from the
// root (\Windows\Rings\Ring1.wav) names a file of the device's drive; Wine's shell
// takes only full paths and finds nothing for it.
#include <windows.h>
#include <shellapi.h>
#include "internal.h"

typedef DWORD_PTR(WINAPI *FileInfoProc)(LPCWSTR, DWORD, SHFILEINFOW *, UINT, UINT);

extern "C" DWORD_PTR WINAPI Ce_SHGetFileInfoW(LPCWSTR path, DWORD attributes, SHFILEINFOW *info, UINT infoSize,
                                             UINT flags)
{
    WCHAR full[MAX_PATH];
    if (path && path[0] == L'\\' && path[1] != L'\\' && !(flags & SHGFI_PIDL)) {
        DWORD n = GetFullPathNameW(path, MAX_PATH, full, NULL);
        if (n > 0 && n < MAX_PATH) path = full;
    }
    static FileInfoProc fileInfo;
    if (!fileInfo) fileInfo = (FileInfoProc)(void *)DesktopLibraryProc(L"shell32.dll", "SHGetFileInfoW");
    return fileInfo ? DeviceFileInfo(path, attributes, info, infoSize, flags) : 0;
}
