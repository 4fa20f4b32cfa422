// The sound-file browser: one folder at a time, ".." to go up, sub-folders, then sound
// files. A tapped file is handed back whole; OK hands back the folder being shown.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>
#include <wchar.h>
#include "app/rudore.h"
#include "ceplatform.h"
#include "aygshell.h"
#include "resource.h"
#include "dialogs/file_browser.h"
#include "ui/reflow.h"

WCHAR g_browseResult[BROWSE_PATH_CHARS + 1];
WCHAR g_browseFolder[BROWSE_PATH_CHARS + 1];

static const WCHAR kCaption[] = L"Zelvo Rudore";
static const WCHAR kSelectPathText[] = L"Please select the file path!";
static const WCHAR kPathTooLongText[] =
    L"This path is too long. A path can have at most 100 characters.";
static const WCHAR kParentItem[] = L"..";

// A tap lets the list show its selection before the browser acts on it.
static const DWORD kTapPauseMs = 300;
static const int kFolderIcon = 0;
// The sound icon of the Windows Mobile 5 system image list.
static const int kNewestSoundIcon = 9;
static const int kColumnWidth = 150;

struct BrowserEntry {
    WCHAR name[BROWSE_NAME_CHARS + 1];
    int icon;
};

// The last listing and what it was made for. Starts zero-filled: filter 0 is no
// listing at all, so the first request always scans.
static struct {
    WCHAR folder[BROWSE_PATH_CHARS + 1];
    int filter;
    int count;
    int folderCount;
    BrowserEntry entries[BROWSE_MAX_ENTRIES];
} s_listing;

static HWND s_listView;
static HIMAGELIST s_systemImages;
// The list shows ".." before the listing (every folder but the root).
static BOOL s_listedWithParent;
// Set while the list is filled: its notifications then need no relayout, the screen
// cannot turn in the middle of a fill.
static int s_filling;

// ---- Paths and names ----

// TRUE for a name whose last three characters are wav, mid or wma, in any case.
static BOOL IsSoundFileName(LPCWSTR name)
{
    size_t length = name ? wcslen(name) : 0;
    if (length < 3) return FALSE;
    LPCWSTR tail = name + length - 3;
    return !lstrcmpiW(tail, L"wav") || !lstrcmpiW(tail, L"mid") || !lstrcmpiW(tail, L"wma");
}

static BOOL PassesFilter(LPCWSTR name, int filter)
{
    return filter == BROWSE_FILTER_SOUND && IsSoundFileName(name);
}

// A file search may return the folder itself and its parent; the list has its own "..".
static BOOL IsDotEntry(LPCWSTR name)
{
    return !wcscmp(name, L".") || !wcscmp(name, L"..");
}

static BOOL IsFolder(const WIN32_FIND_DATAW *found)
{
    return (found->dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

void BrowseGoUp(void)
{
    WCHAR *last = wcsrchr(g_browseFolder, L'\\');
    if (last) *last = 0;
}

void FileNameFromPath(LPCWSTR path, LPWSTR out, int cch)
{
    if (!out || cch <= 0) return;
    if (!path) {
        out[0] = 0;
        return;
    }
    LPCWSTR last = wcsrchr(path, L'\\');
    lstrcpynW(out, last ? last + 1 : path, cch);
}

int GetSelectedBrowserItem(HWND listView)
{
    return (int)SendMessageW(listView, LVM_GETNEXTITEM, (WPARAM)-1, MAKELPARAM(LVNI_SELECTED, 0));
}

// ---- Listing ----

static void ForgetListing(void)
{
    s_listing.folder[0] = 0;
    s_listing.filter = 0;
    s_listing.count = 0;
    s_listing.folderCount = 0;
}

static int CountFolders(LPCWSTR pattern)
{
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(pattern, &found);
    if (search == INVALID_HANDLE_VALUE) return -1;
    int folders = 0;
    do {
        if (IsFolder(&found) && !IsDotEntry(found.cFileName) && folders < BROWSE_MAX_ENTRIES) folders++;
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return folders;
}

// The system icon of a sound file, asked by its full path.
static int SystemIconOf(LPCWSTR folder, LPCWSTR name)
{
    WCHAR path[BROWSE_PATH_CHARS + 2 + MAX_PATH];
    path[0] = 0;
    lstrcpynW(path, folder, BROWSE_PATH_CHARS + 1);
    lstrcatW(path, L"\\");
    lstrcpynW(path + wcslen(path), name, MAX_PATH);
    SHFILEINFOW info;
    ZeroMemory(&info, sizeof info);
    if (!SHGetFileInfo(path, 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON)) return kFolderIcon;
    return info.iIcon;
}

// Two passes over the folder: the first counts the folders, which take the first slots;
// the second fills folders and files in the order the file system gives them.
static void ScanFolder(LPCWSTR folder, int filter)
{
    ForgetListing();
    if (wcslen(folder) > BROWSE_PATH_CHARS) return;
    WCHAR pattern[BROWSE_PATH_CHARS + 8];
    lstrcpyW(pattern, folder);
    lstrcatW(pattern, L"\\*.*");
    lstrcpyW(s_listing.folder, folder);
    s_listing.filter = filter;

    // An empty or unreadable folder stays an empty listing.
    int folders = CountFolders(pattern);
    if (folders < 0) return;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(pattern, &found);
    if (search == INVALID_HANDLE_VALUE) return;

    int foldersPlaced = 0, files = 0;
    int soundIcon = -1;
    do {
        BrowserEntry *entry;
        if (IsFolder(&found)) {
            // A folder made between the passes has no slot; it shows next time.
            if (IsDotEntry(found.cFileName) || foldersPlaced >= folders) continue;
            entry = &s_listing.entries[foldersPlaced++];
            entry->icon = kFolderIcon;
        } else {
            if (!PassesFilter(found.cFileName, filter) || folders + files >= BROWSE_MAX_ENTRIES) continue;
            entry = &s_listing.entries[folders + files++];
            if (g_platformGeneration == 5) {
                entry->icon = kNewestSoundIcon;
            } else {
                if (soundIcon < 0) soundIcon = SystemIconOf(folder, found.cFileName);
                entry->icon = soundIcon;
            }
        }
        lstrcpynW(entry->name, found.cFileName, BROWSE_NAME_CHARS + 1);
    } while (FindNextFileW(search, &found));
    FindClose(search);

    // A folder removed between the passes leaves a gap before the files.
    if (foldersPlaced < folders) {
        MoveMemory(&s_listing.entries[foldersPlaced], &s_listing.entries[folders], files * sizeof(BrowserEntry));
        folders = foldersPlaced;
    }
    s_listing.folderCount = folders;
    s_listing.count = folders + files;
}

// ---- Drawing held back while the list changes ----
// Every change of the item count makes the list view set its scroll bar twice, and each
// setting repaints the bar at once, even when nothing about it changed: on a shown
// dialog that repainting is nearly all a listing costs. While the list is not drawable
// it only records what changed; released, it is repainted once, frame and scroll bar
// included, in the next paint.
static HWND s_heldList;
static int s_drawingHeld;
static BOOL s_heldListWasVisible;

static void HoldListDrawing(HWND listView)
{
    if (s_drawingHeld++) return;
    s_heldList = listView;
    s_heldListWasVisible = (GetWindowLongW(listView, GWL_STYLE) & WS_VISIBLE) != 0;
    // The window's own switch, not the list view's: the list view's would recompute and
    // repaint its scroll bars the moment it is switched back on.
    if (s_heldListWasVisible) DefWindowProcW(listView, WM_SETREDRAW, FALSE, 0);
}

static void ReleaseListDrawing(void)
{
    if (--s_drawingHeld || !s_heldListWasVisible) return;
    DefWindowProcW(s_heldList, WM_SETREDRAW, TRUE, 0);
    RedrawWindow(s_heldList, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

// The list holds no copies of its own: it shows the last listing, ".." first below the
// root, and asks the dialog for each item's text and icon as it needs them.
int FillBrowserList(HWND listView, LPCWSTR folder, int filter)
{
    if (!folder) folder = L"";
    BOOL cached = filter != 0 && s_listing.filter == filter && !wcscmp(s_listing.folder, folder);
    if (!cached) ScanFolder(folder, filter);

    s_listedWithParent = folder[0] != 0;
    int items = s_listing.count + (s_listedWithParent ? 1 : 0);
    s_filling++;
    HoldListDrawing(listView);
    SendMessageW(listView, LVM_SETITEMCOUNT, items, 0);
    ReleaseListDrawing();
    s_filling--;
    return items;
}

// The text and icon of item `index` of the list as FillBrowserList made it.
static LPCWSTR BrowserItemName(int index, int *icon)
{
    int entry = index - (s_listedWithParent ? 1 : 0);
    *icon = kFolderIcon;
    if (entry == -1 && s_listedWithParent) return kParentItem;
    if (entry < 0 || entry >= s_listing.count) return L"";
    *icon = s_listing.entries[entry].icon;
    return s_listing.entries[entry].name;
}

static void DescribeBrowserItem(NMLVDISPINFOW *request)
{
    LVITEMW *item = &request->item;
    int icon;
    LPCWSTR text = BrowserItemName(item->iItem, &icon);
    if ((item->mask & LVIF_TEXT) && item->pszText && item->cchTextMax > 0) lstrcpynW(item->pszText, text, item->cchTextMax);
    if (item->mask & LVIF_IMAGE) item->iImage = icon;
}

// Type-ahead: the first item from the start point whose name begins with (or, without
// LVFI_PARTIAL, is) the typed text, ignoring case; -1 when none does.
static int FindBrowserItem(const NMLVFINDITEMW *request)
{
    const LVFINDINFOW *find = &request->lvfi;
    if (!(find->flags & (LVFI_STRING | LVFI_PARTIAL)) || !find->psz) return -1;
    int count = s_listing.count + (s_listedWithParent ? 1 : 0);
    int start = request->iStart < 0 || request->iStart >= count ? 0 : request->iStart;
    int length = lstrlenW(find->psz);
    for (int step = 0; step < count; step++) {
        int index = start + step;
        if (index >= count) {
            if (!(find->flags & LVFI_WRAP)) break;
            index -= count;
        }
        int icon;
        LPCWSTR name = BrowserItemName(index, &icon);
        BOOL found = (find->flags & LVFI_PARTIAL) ? _wcsnicmp(name, find->psz, length) == 0 : !lstrcmpiW(name, find->psz);
        if (found) return index;
    }
    return -1;
}

// Questions the list asks about the data it shows: answered, and no occasion for a
// relayout (they come by the dozen with every paint).
static BOOL AnswerListRequest(HWND dialog, NMHDR *header)
{
    switch (header->code) {
    case LVN_DELETEALLITEMS:
        // No item-by-item notice: the items are the listing's, nothing to free.
        SetWindowLongPtrW(dialog, DWLP_MSGRESULT, TRUE);
        return TRUE;
    case LVN_GETDISPINFOW:
        DescribeBrowserItem((NMLVDISPINFOW *)header);
        return TRUE;
    case LVN_ODFINDITEMW:
        SetWindowLongPtrW(dialog, DWLP_MSGRESULT, FindBrowserItem((NMLVFINDITEMW *)header));
        return TRUE;
    case LVN_ODCACHEHINT:
        return TRUE;
    }
    return FALSE;
}

// ---- The dialog ----

// Portrait and square screens share the template the dialog is made from.
static void RelayoutBrowser(HWND dialog)
{
    if (s_filling) return;
    ReflowDialogFromTemplate(g_hInstance, dialog,
                             ChooseLayoutVariant(IDD_FILE_BROWSER_PORTRAIT, IDD_FILE_BROWSER_LANDSCAPE, IDD_FILE_BROWSER_PORTRAIT));
}

static void ShowBrowsedFolder(HWND dialog)
{
    WCHAR label[BROWSE_PATH_CHARS + 2];
    lstrcpyW(label, g_browseFolder);
    lstrcatW(label, L"\\");
    SetDlgItemTextW(dialog, IDC_BROWSE_PATH, label);

    LVITEMW item;
    ZeroMemory(&item, sizeof item);
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(s_listView, LVM_SETITEMSTATE, 0, (LPARAM)&item);
}

// Emptied, filled and its first item selected, the list is repainted once for all three.
static void ListBrowsedFolder(HWND dialog)
{
    HCURSOR previous = SetCursor(LoadCursorW(NULL, (LPCWSTR)IDC_WAIT));
    HoldListDrawing(s_listView);
    s_filling++;
    SendMessageW(s_listView, LVM_DELETEALLITEMS, 0, 0);
    s_filling--;
    FillBrowserList(s_listView, g_browseFolder, BROWSE_FILTER_SOUND);
    SetCursor(previous);
    ShowBrowsedFolder(dialog);
    ReleaseListDrawing();
}

static void CreateBrowserMenuBar(HWND dialog)
{
    SHMENUBARINFO info;
    ZeroMemory(&info, sizeof info);
    info.cbSize = sizeof info;
    info.hwndParent = dialog;
    info.nToolBarId = IDR_BROWSE_MENUBAR;
    info.hInstRes = g_hInstance;
    if (!SHCreateMenuBar(&info)) return;
    // The Back key (it sends Escape) is the bar's to notify about, never to act on.
    SendMessageW(info.hwndMB, SHCMBM_OVERRIDEKEY, VK_ESCAPE,
                 MAKELPARAM(SHMBOF_NODEFAULT | SHMBOF_NOTIFY, SHMBOF_NODEFAULT | SHMBOF_NOTIFY));
}

static void SetUpBrowserList(void)
{
    LVCOLUMNW column;
    ZeroMemory(&column, sizeof column);
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
    column.fmt = LVCFMT_LEFT;
    column.cx = kColumnWidth;
    column.pszText = (LPWSTR)L"Programs";
    SendMessageW(s_listView, LVM_INSERTCOLUMNW, 0, (LPARAM)&column);

    // The system's own list: the list view shares it and must leave it alive.
    SHFILEINFOW info;
    ZeroMemory(&info, sizeof info);
    s_systemImages = (HIMAGELIST)SHGetFileInfo(L"", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
    SendMessageW(s_listView, LVM_SETIMAGELIST, LVSIL_SMALL, (LPARAM)s_systemImages);
    SendMessageW(s_listView, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
}

static BOOL OnInitDialog(HWND dialog)
{
    SetWindowTextW(dialog, L"Sound Browse");
    SHINITDLGINFO init = {SHIDIM_FLAGS, dialog, SHIDIF_DONEBUTTON | SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_SIPDOWN};
    SHInitDialog(&init);
    CreateBrowserMenuBar(dialog);
    SetUpBrowserList();

    HCURSOR previous = SetCursor(LoadCursorW(NULL, (LPCWSTR)IDC_WAIT));
    BrowseGoUp();
    FillBrowserList(s_listView, g_browseFolder, BROWSE_FILTER_SOUND);
    SetCursor(previous);
    ShowBrowsedFolder(dialog);

    SHDoneButton(dialog, SHDB_SHOW);
    SetForegroundWindow(dialog);
    return TRUE;
}

// The item's text, at most BROWSE_PATH_CHARS characters: anything longer could not
// make a usable path anyway.
static void ReadItemText(int index, WCHAR *text)
{
    text[0] = 0;
    if (index < 0) return;
    LVITEMW item;
    ZeroMemory(&item, sizeof item);
    item.iSubItem = 0;
    item.pszText = text;
    item.cchTextMax = BROWSE_PATH_CHARS + 1;
    SendMessageW(s_listView, LVM_GETITEMTEXTW, index, (LPARAM)&item);
    text[BROWSE_PATH_CHARS] = 0;
}

// folder + "\" + name must fit in a path, with room for what is added to it later.
static BOOL FitsInPath(LPCWSTR name, size_t reserve, HWND dialog)
{
    if (wcslen(g_browseFolder) + 1 + wcslen(name) + reserve <= BROWSE_PATH_CHARS) return TRUE;
    MessageBoxW(dialog, kPathTooLongText, kCaption, MB_OK);
    return FALSE;
}

static void OnListTapped(HWND dialog, const NMHDR *header)
{
    Sleep(kTapPauseMs);
    int index = GetSelectedBrowserItem(s_listView);
    int atRoot = g_browseFolder[0] == 0 ? 1 : 0;
    WCHAR name[BROWSE_PATH_CHARS + 1];

    if (index > s_listing.folderCount - atRoot) {
        ReadItemText(index, name);
        if (!name[0] || !FitsInPath(name, 0, dialog)) return;
        lstrcpyW(g_browseResult, g_browseFolder);
        lstrcatW(g_browseResult, L"\\");
        lstrcatW(g_browseResult, name);
        EndDialog(dialog, header->idFrom);
        return;
    }
    if (!atRoot && index == 0) {
        BrowseGoUp();
    } else {
        ReadItemText(index, name);
        // The folder is kept only if the form OK hands back, with its trailing
        // backslash, fits as well.
        if (name[0]) {
            if (!FitsInPath(name, 1, dialog)) return;
            lstrcatW(g_browseFolder, L"\\");
            lstrcatW(g_browseFolder, name);
        }
    }
    ListBrowsedFolder(dialog);
}

static void OnBrowseOk(HWND dialog, WORD id)
{
    g_browseResult[0] = 0;
    WCHAR label[BROWSE_PATH_CHARS + 1];
    label[0] = 0;
    GetDlgItemTextW(dialog, IDC_BROWSE_PATH, label, BROWSE_PATH_CHARS + 1);
    if (wcslen(label) < 2) {
        MessageBoxW(dialog, kSelectPathText, kCaption, MB_OK);
        return;
    }
    lstrcpyW(g_browseResult, label);
    EndDialog(dialog, id);
}

INT_PTR CALLBACK FileBrowserDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    s_listView = GetDlgItem(dialog, IDC_BROWSE_LIST);
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog(dialog);
    case WM_SIZE:
        RelayoutBrowser(dialog);
        return TRUE;
    case WM_NOTIFY: {
        const NMHDR *header = (const NMHDR *)lParam;
        if (!header || header->idFrom != IDC_BROWSE_LIST) {
            RelayoutBrowser(dialog);
            return FALSE;
        }
        if (AnswerListRequest(dialog, (NMHDR *)lParam)) return TRUE;
        if (header->code == (UINT)NM_CLICK) OnListTapped(dialog, header);
        RelayoutBrowser(dialog);
        return FALSE;
    }
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
        case IDM_BROWSE_OK:
            OnBrowseOk(dialog, LOWORD(wParam));
            return TRUE;
        case IDM_BROWSE_CANCEL:
            EndDialog(dialog, IDM_BROWSE_CANCEL);
            return TRUE;
        }
        RelayoutBrowser(dialog);
        return TRUE;
    }
    // The dialog manager's own handling is the default for a dialog.
    return FALSE;
}

INT_PTR ShowFileBrowser(HWND parent)
{
    g_browseResult[0] = 0;
    return OpenDialogFromTemplate(parent, IDD_FILE_BROWSER_PORTRAIT, FileBrowserDialogProc);
}
