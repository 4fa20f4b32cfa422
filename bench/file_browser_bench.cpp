// The sound-file browser's listing: a folder of 500 sound files and 20 folders into the
// browser's own list view, scanned and then again from the last listing. The scan beside
// a bare walk of the same folder, the listing from the last one beside the list view
// taking the same count with its drawing held.
// Run inside a device prefix with a persistent wineserver (see scripts/bench.sh).
#include <windows.h>
#include <commctrl.h>
#include <string>
#include "measure.h"
#include "app/rudore.h"
#include "dialogs/file_browser.h"
#include "resource.h"

static const int kRuns = 21;
static const int kSoundFiles = 500;
static const int kFolders = 20;

static bool MakeSoundFolder(const std::wstring &folder)
{
    if (!CreateDirectoryW(folder.c_str(), NULL)) return false;
    for (int i = 0; i < kFolders; i++) CreateDirectoryW((folder + L"\\Folder" + std::to_wstring(i)).c_str(), NULL);
    for (int i = 0; i < kSoundFiles; i++) {
        std::wstring name = folder + L"\\Sound" + std::to_wstring(1000 + i) + L".wav";
        HANDLE file = CreateFileW(name.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
        if (file == INVALID_HANDLE_VALUE) return false;
        CloseHandle(file);
    }
    return true;
}

static void RemoveTree(const std::wstring &path)
{
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((path + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") continue;
            std::wstring child = path + L"\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(child);
            else DeleteFileW(child.c_str());
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(path.c_str());
}

static double TimeListing(HWND list, const std::wstring &folder, int *items)
{
    SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
    double start = NowMs();
    *items = FillBrowserList(list, folder.c_str(), BROWSE_FILTER_SOUND);
    return NowMs() - start;
}

// The scan's floor: every entry of the folder seen once, nothing kept.
static double TimeBareWalk(const std::wstring &folder)
{
    double start = NowMs();
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        while (FindNextFileW(search, &found)) {
        }
        FindClose(search);
    }
    return NowMs() - start;
}

// The floor of a listing with nothing to scan: the list view taking the count, its
// drawing held while it is shown and invalidated after.
static double TimeItemCount(HWND list, int items)
{
    SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
    double start = NowMs();
    bool shown = (GetWindowLongW(list, GWL_STYLE) & WS_VISIBLE) != 0;
    if (shown) DefWindowProcW(list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list, LVM_SETITEMCOUNT, items, 0);
    if (shown) {
        DefWindowProcW(list, WM_SETREDRAW, TRUE, 0);
        RedrawWindow(list, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    }
    return NowMs() - start;
}

// The list fetches what it shows when it paints: the visible page, after a listing.
static double TimePaint(HWND list, const std::wstring &folder)
{
    int items;
    TimeListing(list, folder, &items);
    double start = NowMs();
    InvalidateRect(list, NULL, TRUE);
    UpdateWindow(list);
    return NowMs() - start;
}

int main()
{
    g_hInstance = GetModuleHandleW(NULL);
    g_platformGeneration = 3;   // the slower path: the sound icon is asked of the shell
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    // Device paths resolve on the current drive: the device's.
    SetCurrentDirectoryW(L"C:\\");

    std::wstring base = L"\\RudoreBrowseBench-" + std::to_wstring(GetCurrentProcessId());
    // Two alike folders, listed in turn, so that every listing of the first series scans.
    std::wstring folders[2] = {base + L"\\A", base + L"\\B"};
    if (!CreateDirectoryW(base.c_str(), NULL) || !MakeSoundFolder(folders[0]) || !MakeSoundFolder(folders[1])) {
        printf("cannot make the folders to list (%lu)\n", GetLastError());
        RemoveTree(base);
        return 1;
    }

    HRSRC found = FindResourceW(g_hInstance, MAKEINTRESOURCEW(IDD_FILE_BROWSER_PORTRAIT), (LPCWSTR)RT_DIALOG);
    HWND dialog = found ? CreateDialogIndirectParamW(g_hInstance, (LPCDLGTEMPLATEW)LockResource(LoadResource(g_hInstance, found)),
                                                     NULL, FileBrowserDialogProc, 0)
                        : NULL;
    HWND list = dialog ? GetDlgItem(dialog, IDC_BROWSE_LIST) : NULL;
    if (!list) {
        printf("cannot open the browser\n");
        RemoveTree(base);
        return 1;
    }

    // At opening the list is filled before the dialog is shown; after a tap it is shown.
    int items = 0;
    for (int shown = 0; shown < 2; shown++) {
        if (shown) {
            ShowWindow(dialog, SW_SHOW);
            UpdateWindow(dialog);
        }
        std::vector<double> scanned, walked, cached, counted;
        for (int run = 0; run < kRuns; run++) {
            scanned.push_back(TimeListing(list, folders[run % 2], &items));
            walked.push_back(TimeBareWalk(folders[run % 2]));
        }
        TimeListing(list, folders[0], &items);
        for (int run = 0; run < kRuns; run++) {
            cached.push_back(TimeListing(list, folders[0], &items));
            counted.push_back(TimeItemCount(list, items));
        }
        printf("Sound browser, %s\n", shown ? "dialog shown (a tap)" : "dialog not shown yet (opening)");
        PrintAgainstFloor("listing with a scan", scanned, "a bare walk of the folder", walked);
        PrintAgainstFloor("listing from the last listing", cached, "the list view taking the count", counted);
    }
    std::vector<double> painted;
    for (int run = 0; run < kRuns; run++) painted.push_back(TimePaint(list, folders[0]));
    PrintFigure("painting the first page after a listing", painted);
    printf("  %d folders and %d sound files: %d items listed (\"..\" and the first %d entries)\n", kFolders,
           kSoundFiles, items, BROWSE_MAX_ENTRIES);

    DestroyWindow(dialog);
    RemoveTree(base);
    return 0;
}
