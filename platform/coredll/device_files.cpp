// The device's file system as the device shows it. The device's drive is the prefix's
// C: drive, whose root also holds Wine's and the host's folders ("users", "ProgramData")
// and spells the device's "Windows" in lower case, and whose search returns "." and
// "..". A search of the root therefore lists only the device's own folders, spelt as on
// the device, and the storage cards that are in; every search leaves out "." and "..";
// a path of the drive (a file dialog's initial folder) loses its drive and takes the
// device's spelling. The storage-card enumeration of Note_prj.dll is answered here too.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>
#include <set>
#include <vector>
#include "ceplatform.h"
#include "device.h"

namespace {

// The folders of the device's root, as the device spells them.
const WCHAR *const kRootFolders[] = {L"Windows", L"My Documents", L"Program Files", L"Temp"};

// A search answered from a list made when it began: the cards, or the device's root.
struct ListedSearch {
    size_t next;
    std::vector<WIN32_FIND_DATAW> found;
};

// Searches still open: FindClose must tell them from the file system's own handles.
SRWLOCK g_searchLock = SRWLOCK_INIT;
std::set<HANDLE> g_searches;

// Whether the handle is an open listed search; `change` adds it (1) or ends it (-1).
bool Listed(HANDLE handle, int change = 0)
{
    AcquireSRWLockExclusive(&g_searchLock);
    bool was = g_searches.count(handle) != 0;
    if (change > 0) g_searches.insert(handle);
    if (change < 0) g_searches.erase(handle);
    ReleaseSRWLockExclusive(&g_searchLock);
    return was;
}

// Hands out the first entry; an empty list is no search at all.
HANDLE BeginListedSearch(ListedSearch *search, LPWIN32_FIND_DATAW findData, DWORD emptyError)
{
    if (search->found.empty()) {
        delete search;
        SetLastError(emptyError);
        return INVALID_HANDLE_VALUE;
    }
    *findData = search->found[0];
    search->next = 1;
    Listed(search, 1);
    return (HANDLE)search;
}

void CardFindData(const WCHAR *name, LPWIN32_FIND_DATAW data)
{
    ZeroMemory(data, sizeof *data);
    // Cards show as temporary folders in the root, as on the device.
    data->dwFileAttributes = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_TEMPORARY;
    CopyText(data->cFileName, MAX_PATH, name);
    WCHAR folder[MAX_PATH] = L"C:\\";
    WIN32_FILE_ATTRIBUTE_DATA attributes;
    if (name[0] && AppendText(folder, MAX_PATH, name) &&
        GetFileAttributesExW(folder, GetFileExInfoStandard, &attributes)) {
        data->ftCreationTime = attributes.ftCreationTime;
        data->ftLastAccessTime = attributes.ftLastAccessTime;
        data->ftLastWriteTime = attributes.ftLastWriteTime;
    }
}

BOOL IsDotEntry(const WCHAR *name)
{
    return name[0] == L'.' && (name[1] == 0 || (name[1] == L'.' && name[2] == 0));
}

// TRUE when path begins with the root of the device's drive, "C:\".
BOOL BeginsAtTheDrivesRoot(const WCHAR *path)
{
    WCHAR windows[MAX_PATH];
    UINT w = GetWindowsDirectoryW(windows, MAX_PATH);
    return w >= 3 && w < MAX_PATH && wcsnlen(path, 3) == 3 &&
           CompareStringOrdinal(path, 3, windows, 3, TRUE) == CSTR_EQUAL;
}

// TRUE when the pattern searches the root of the device's drive: "\*.*", "C:\*", "\Windows"...
BOOL SearchesTheRoot(LPCWSTR pattern)
{
    WCHAR full[MAX_PATH];
    WCHAR *name = NULL;
    DWORD n = GetFullPathNameW(pattern, MAX_PATH, full, &name);
    return n > 0 && n < MAX_PATH && name == full + 3 && BeginsAtTheDrivesRoot(full);
}

// What the device shows for an entry of the drive's root: its own folders spelt its
// way, the cards that are in (their folders stay behind when they are taken out), and
// the files. FALSE for anything else.
BOOL AsTheDeviceShowsIt(const DeviceProfile *p, WIN32_FIND_DATAW *found)
{
    if (!(found->dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) return TRUE;
    for (const WCHAR *folder : kRootFolders) {
        if (!SameTextNoCase(found->cFileName, folder)) continue;
        CopyText(found->cFileName, MAX_PATH, folder);
        found->cAlternateFileName[0] = 0;
        return TRUE;
    }
    for (int i = 0; i < p->cardCount; ++i) {
        if (!p->cards[i].name[0] || !SameTextNoCase(found->cFileName, p->cards[i].name)) continue;
        CardFindData(p->cards[i].name, found);
        return TRUE;
    }
    return FALSE;
}

HANDLE FindInTheRoot(LPCWSTR pattern, LPWIN32_FIND_DATAW findData)
{
    ListedSearch *search = new ListedSearch();
    DeviceProfile p;
    LoadProfile(&p);
    WIN32_FIND_DATAW found;
    HANDLE drive = FindFirstFileW(pattern, &found);
    DWORD error = GetLastError();
    if (drive != INVALID_HANDLE_VALUE) {
        do {
            if (!IsDotEntry(found.cFileName) && AsTheDeviceShowsIt(&p, &found)) search->found.push_back(found);
        } while (FindNextFileW(drive, &found));
        FindClose(drive);
        error = ERROR_FILE_NOT_FOUND;
    }
    return BeginListedSearch(search, findData, error);
}

}  // namespace

int DevicePathFromDrivePath(WCHAR *path)
{
    if (!path || !BeginsAtTheDrivesRoot(path)) return 0;
    MoveMemory(path, path + 2, (wcslen(path + 2) + 1) * sizeof(WCHAR));
    WCHAR *name = path + 1;
    size_t n = wcscspn(name, L"\\");
    for (const WCHAR *folder : kRootFolders)
        if (n == wcslen(folder) && CompareStringOrdinal(name, (int)n, folder, (int)n, TRUE) == CSTR_EQUAL)
            CopyMemory(name, folder, n * sizeof(WCHAR));
    return 2;
}

extern "C" HANDLE WINAPI Ce_FindFirstFileW(LPCWSTR pattern, LPWIN32_FIND_DATAW findData)
{
    if (!pattern || !findData) { SetLastError(ERROR_INVALID_PARAMETER); return INVALID_HANDLE_VALUE; }
    if (SearchesTheRoot(pattern)) return FindInTheRoot(pattern, findData);
    HANDLE search = FindFirstFileW(pattern, findData);
    while (search != INVALID_HANDLE_VALUE && IsDotEntry(findData->cFileName)) {
        if (FindNextFileW(search, findData)) continue;
        FindClose(search);
        SetLastError(ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    return search;
}

extern "C" BOOL WINAPI Ce_FindNextFileW(HANDLE handle, LPWIN32_FIND_DATAW findData)
{
    if (!findData) { SetLastError(ERROR_INVALID_PARAMETER); return FALSE; }
    ListedSearch *search = (ListedSearch *)handle;
    if (!Listed(handle)) {
        BOOL more;
        while ((more = FindNextFileW(handle, findData)) && IsDotEntry(findData->cFileName)) {
        }
        return more;
    }
    if (search->next >= search->found.size()) { SetLastError(ERROR_NO_MORE_FILES); return FALSE; }
    *findData = search->found[search->next++];
    return TRUE;
}

extern "C" BOOL WINAPI Ce_FindClose(HANDLE handle)
{
    if (!Listed(handle, -1)) return FindClose(handle);
    delete (ListedSearch *)handle;
    return TRUE;
}

extern "C" HANDLE SimFindFirstCard(LPWIN32_FIND_DATAW findData)
{
    if (!findData) { SetLastError(ERROR_INVALID_PARAMETER); return INVALID_HANDLE_VALUE; }
    ListedSearch *search = new ListedSearch();
    DeviceProfile p;
    LoadProfile(&p);
    search->found.resize(p.cardCount);
    for (int i = 0; i < p.cardCount; ++i) CardFindData(p.cards[i].name, &search->found[i]);
    return BeginListedSearch(search, findData, ERROR_NO_MORE_FILES);
}

extern "C" BOOL SimFindNextCard(HANDLE handle, LPWIN32_FIND_DATAW findData)
{
    if (!Listed(handle)) { SetLastError(ERROR_INVALID_HANDLE); return FALSE; }
    return Ce_FindNextFileW(handle, findData);
}

// ---------------------------------------------------------------------------------
// The system image list. The device keeps its folder icon at index 0 and its sound icon
// at 9; the desktop shell keeps a blank page at 0 and its icons in an order of its own.
// The device's list starts with those ten places; any other icon of the shell's is
// copied to the end of it the first time its index is handed out.

namespace {

const int kDeviceFolderIcon = 0;
const int kDeviceBlankIcon = 1;
const int kDeviceSoundIcon = 9;
const int kMaxShellIcons = 1024;

struct DeviceIcons {
    HIMAGELIST shell, device;
    int placeOf[kMaxShellIcons];   // the device's index of a shell's index, plus one; 0 until asked
};
DeviceIcons g_icons[2];   // small, large

int AddShellIcon(HIMAGELIST device, HIMAGELIST shell, int index)
{
    HICON icon = COMMON_CONTROL(ImageList_GetIcon)(shell, index, ILD_TRANSPARENT);
    int at = COMMON_CONTROL(ImageList_ReplaceIcon)(device, -1, icon);
    if (icon) DestroyIcon(icon);
    return at;
}

int DeviceIndex(DeviceIcons *icons, int index)
{
    if (index < 0 || index >= kMaxShellIcons) return kDeviceBlankIcon;
    if (!icons->placeOf[index]) icons->placeOf[index] = AddShellIcon(icons->device, icons->shell, index) + 1;
    return icons->placeOf[index] - 1;
}

typedef DWORD_PTR(WINAPI *ShellFileInfoProc)(LPCWSTR, DWORD, SHFILEINFOW *, UINT, UINT);

// The shell's icon index for a kind of name, without looking at any file.
int ShellIconOf(const WCHAR *name, DWORD attributes, UINT sizeFlag, ShellFileInfoProc fileInfo)
{
    SHFILEINFOW info;
    ZeroMemory(&info, sizeof info);
    if (!fileInfo(name, attributes, &info, sizeof info, SHGFI_USEFILEATTRIBUTES | SHGFI_SYSICONINDEX | sizeFlag))
        return -1;
    return info.iIcon;
}

BOOL MakeDeviceIcons(DeviceIcons *icons, HIMAGELIST shell, UINT sizeFlag, ShellFileInfoProc fileInfo)
{
    int folder = ShellIconOf(L"Folder", FILE_ATTRIBUTE_DIRECTORY, sizeFlag, fileInfo);
    int sound = ShellIconOf(L"Sound.wav", FILE_ATTRIBUTE_NORMAL, sizeFlag, fileInfo);
    int cx, cy;
    // The shell's image lists come from the common controls: loaded with the shell.
    if (!COMMON_CONTROL(ImageList_GetIcon) || !COMMON_CONTROL(ImageList_ReplaceIcon) ||
        !COMMON_CONTROL(ImageList_GetIconSize) || !COMMON_CONTROL(ImageList_Create))
        return FALSE;
    if (folder < 0 || folder >= kMaxShellIcons || sound < 0 || sound >= kMaxShellIcons || folder == sound ||
        !COMMON_CONTROL(ImageList_GetIconSize)(shell, &cx, &cy))
        return FALSE;
    HIMAGELIST device = COMMON_CONTROL(ImageList_Create)(cx, cy, ILC_COLOR32 | ILC_MASK, 16, 16);
    if (!device) return FALSE;
    ZeroMemory(icons, sizeof *icons);
    icons->shell = shell;
    icons->device = device;
    // The places between hold the blank page.
    for (int i = 0; i <= kDeviceSoundIcon; ++i)
        AddShellIcon(device, shell, i == kDeviceFolderIcon ? folder : i == kDeviceSoundIcon ? sound : 0);
    icons->placeOf[folder] = kDeviceFolderIcon + 1;
    icons->placeOf[sound] = kDeviceSoundIcon + 1;
    return TRUE;
}

}  // namespace

// File information as the device's shell gives it. A path from the root
// (\Windows\Rings\Ring1.wav) names a file of the device's drive; Wine's shell takes only
// full paths and finds nothing for it.
extern "C" DWORD_PTR WINAPI Ce_SHGetFileInfoW(LPCWSTR path, DWORD attributes, SHFILEINFOW *info, UINT infoSize,
                                             UINT flags)
{
    WCHAR full[MAX_PATH];
    if (path && path[0] == L'\\' && path[1] != L'\\' && !(flags & SHGFI_PIDL)) {
        DWORD n = GetFullPathNameW(path, MAX_PATH, full, NULL);
        if (n > 0 && n < MAX_PATH) path = full;
    }
    ShellFileInfoProc fileInfo = (ShellFileInfoProc)(void *)DesktopLibraryProc(L"shell32.dll", "SHGetFileInfoW");
    if (!fileInfo) return 0;
    DWORD_PTR result = fileInfo(path, attributes, info, infoSize, flags);
    if (!result || !(flags & SHGFI_SYSICONINDEX)) return result;
    UINT sizeFlag = flags & SHGFI_SMALLICON;
    DeviceIcons *icons = &g_icons[sizeFlag ? 0 : 1];
    if (icons->shell != (HIMAGELIST)result && !MakeDeviceIcons(icons, (HIMAGELIST)result, sizeFlag, fileInfo))
        return result;
    if (info) info->iIcon = DeviceIndex(icons, info->iIcon);
    return (DWORD_PTR)icons->device;
}
