// The browser page ("PIE"): Pocket Internet Explorer and the folders it keeps its
// temporary files in.
#include "ui/pages.h"
#include "ui/tweaks.h"
#include "ui/registry.h"
#include "ui/page.h"
#include "app/rudore.h"
#include "ceplatform.h"
#include "pages/internet/internet_keys.h"
#include "resource.h"
#include <commctrl.h>
#include <wchar.h>

static constexpr WCHAR kCacheContent[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\5.0\\Cache\\Content";
static constexpr WCHAR kNavigation[] = L"Software\\Microsoft\\Internet Explorer\\Navigation";
static constexpr WCHAR kUserAgent[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\5.0\\User Agent";
static constexpr WCHAR kShellFolders[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

static constexpr Tweak kBrowserRows[] = {
    // control                root                key                name                        ticked when  missing         ticked       cleared
    {IDC_PIE_SMALL_LETTERS, HKCU, kIeMain, L"ZoomSetting", Dword(1), Dword(2), Dword(1), Dword(2), 0},
    {IDC_PIE_CLEARTYPE, HKLM, kInternetSettings, L"ClearTypeText", Dword(1), Dword(0), Dword(1), Dword(0), 0},
    {IDC_PIE_DISABLE_CACHE, HKCU, kCacheContent, L"CacheLimit", Dword(0), Dword(10922), Dword(0), Dword(10922), 0},
    {IDC_PIE_DOWNLOAD_8, HKCU, kInternetSettings, L"MaxConnectionsPerServer", Dword(8), Dword(4), Dword(8), Dword(4), 0},
    {IDC_PIE_SMOOTH_SCROLL, HKLM, kNavigation, L"4-Way Nav", Dword(0), Dword(1), Dword(0), Dword(1), 0},
    // All three user agent values must match; a missing one never does.
    {IDC_PIE_PASS_AS_IE6, HKLM, kUserAgent, L"Default",
     Text(L"Mozilla/4.0;Blazer/4.0"), Nothing(), Text(L"Mozilla/4.0;Blazer/4.0"), Text(L"Mozilla/4.0"), 0},
    {IDC_PIE_PASS_AS_IE6, HKLM, kUserAgent, L"Platform",
     Text(L"Windows NT 5.0"), Nothing(), Text(L"Windows NT 5.0"), Text(L"Windows CE"), 0},
    {IDC_PIE_PASS_AS_IE6, HKLM, kUserAgent, L"Version",
     Text(L"MSIE 6.0"), Nothing(), Text(L"MSIE 6.0"), Text(L"MSIE 4.01"), 0},
};
static const TweakTable kBrowserTweaks = TWEAK_TABLE(kBrowserRows);

static constexpr TweakHelp kBrowserHelpRows[] = {
    {IDC_PIE_HELP_TEMP_FILES,
     L"After browsing Internet without a CF, you will have to apply this option again.Also you should go and "
     L"manually delete all files and subfolders in \\Windows\\Temporary Internet Files, giving more free space in "
     L"your memory. To change the storage device, uncheck first, then select the new storage device and then "
     L"check it again."},
    {IDC_PIE_HELP_PASS_AS_IE6,
     L"Makes Pocket Internet Explorer appear to be IE 6.0. This should make it possible to access secure Websites "
     L"from the Pocket PC. Currently, most sites check Internet Explorer's version number. If it is less than "
     L"4.02, they block access. PIE reports itself as IE 3.02. This hack changes that."},
    {IDC_PIE_HELP_CLEARTYPE, L"Enables ClearType display in all HTML applications including AvantGo."},
    {IDC_PIE_HELP_DOWNLOAD_8,
     L"This option allows you to download up to 8 files simultaneously, if you are using a very slow connection "
     L"this option will make the download speed slower."},
    {IDC_PIE_HELP_SMOOTH_SCROLL,
     L"By default scrolling goes to the next hyperlink if there is one.With no hyperlinks, the command scrolls "
     L"the window. After the application of this hack scrolling will ignore any hyperlink."},
    {IDC_PIE_HELP_DISABLE_CACHE,
     L"When you disabled the PIE Cache you are saving the space in your RAM/ROM and sometimes you even increase "
     L"the browsing speed due to the fact that you are not saving files any more in slow memory devices such as "
     L"ROM or Memory Cards."},
};
static const HelpTable kBrowserHelp = HELP_TABLE(kBrowserHelpRows);

// ---- The storage choice list: main memory, then up to three storage cards ----

#define STORAGE_ENTRIES 4
#define STORAGE_NAME_CHARS 256

// Rebuilt each time the page opens; the first empty entry ends the list.
static WCHAR g_storageChoices[STORAGE_ENTRIES][STORAGE_NAME_CHARS];

static constexpr WCHAR kMainMemory[] = L"Windows";
static constexpr WCHAR kCardCache[] = L"\\Storage Card\\Temporary Internet Files";
static const WCHAR *const kTempFolderValues[] = {L"Cache", L"Cookies", L"History"};
static const WCHAR *const kTempFolderNames[] = {L"Temporary Internet Files", L"Cookies", L"History"};
static const WCHAR *const kGuestFolders[] = {
    L"\\Windows\\Profiles\\guest\\Temporary Internet Files",
    L"\\Windows\\Profiles\\guest\\Cookies",
    L"\\Windows\\Profiles\\guest\\History",
};

// Lists the cards whose free space can be asked; a fourth usable card finds no room
// and is left out. Returns the number of cards listed.
static int BuildStorageChoices(void)
{
    ZeroMemory(g_storageChoices, sizeof g_storageChoices);
    lstrcpyW(g_storageChoices[0], kMainMemory);
    int cards = 0;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFlashCard(&found);
    if (search == INVALID_HANDLE_VALUE) return 0;
    do {
        found.cFileName[MAX_PATH - 1] = 0;
        size_t length = wcslen(found.cFileName);
        if (length == 0 || length >= STORAGE_NAME_CHARS) continue;   // a name that would not fit whole
        ULARGE_INTEGER available, total, free;
        if (!GetDiskFreeSpaceExW(found.cFileName, &available, &total, &free)) continue;
        lstrcpyW(g_storageChoices[1 + cards], found.cFileName);
        cards++;
    } while (cards < STORAGE_ENTRIES - 1 && FindNextFlashCard(search, &found));
    FindClose(search);
    return cards;
}

static int CountStorageChoices(void)
{
    int count = 0;
    while (count < STORAGE_ENTRIES && g_storageChoices[count][0]) count++;
    return count;
}

// The storage shown in the field steps through the list; a text that is not in it
// counts as main memory.
static void StepStorageChoice(HWND page, int delta)
{
    WCHAR shown[STORAGE_NAME_CHARS];
    shown[0] = 0;
    GetDlgItemTextW(page, IDC_PIE_STORAGE_NAME, shown, STORAGE_NAME_CHARS);
    int count = CountStorageChoices();
    int position = 0;
    BOOL listed = FALSE;
    for (int entry = 0; entry < count; entry++) {
        if (wcscmp(shown, g_storageChoices[entry]) == 0) {
            position = entry;
            listed = TRUE;
        }
    }
    if (delta < 0) {
        position = position + 1 < count ? position + 1 : 0;
    } else if (position > 0) {
        position--;
    } else if (listed) {
        position = count - 1;
    }
    SetDlgItemTextW(page, IDC_PIE_STORAGE_NAME, g_storageChoices[position]);
}

// The storage a folder lies on: the text before its second backslash, without backslashes.
static void StorageOfFolder(LPCWSTR folder, WCHAR *storage, int cch)
{
    int backslashes = 0, length = 0;
    for (; *folder && length < cch - 1; folder++) {
        if (*folder == L'\\') {
            if (++backslashes == 2) break;
            continue;
        }
        storage[length++] = *folder;
    }
    storage[length] = 0;
}

static void LoadTempFolderChoice(HWND page)
{
    WCHAR cache[128];
    HKEY key;
    if (!OpenKey(HKEY_CURRENT_USER, kShellFolders, &key)) return;
    BOOL read = GetText(key, L"Cache", cache, 128);
    RegCloseKey(key);
    if (!read) return;
    if (wcscmp(cache, kCardCache) == 0) CheckDlgButton(page, IDC_PIE_TEMP_FILES, BST_CHECKED);
    WCHAR storage[STORAGE_NAME_CHARS];
    StorageOfFolder(cache, storage, STORAGE_NAME_CHARS);
    SetDlgItemTextW(page, IDC_PIE_STORAGE_NAME, storage);
}

// Moves the temporary folders to the chosen storage, or back to the guest profile.
// Only values that exist are replaced: one that is deleted first is written anew.
static void WriteTempFolders(HWND page)
{
    WCHAR storage[STORAGE_NAME_CHARS];
    storage[0] = 0;
    GetDlgItemTextW(page, IDC_PIE_STORAGE_NAME, storage, STORAGE_NAME_CHARS);
    BOOL ticked = IsBoxTicked(page, IDC_PIE_TEMP_FILES);
    // No storage named: main memory, rather than folders such as "\\Cookies".
    if (ticked && !storage[0]) {
        lstrcpyW(storage, kMainMemory);
        SetDlgItemTextW(page, IDC_PIE_STORAGE_NAME, storage);
    }
    HKEY key;
    if (!CreateKey(HKEY_CURRENT_USER, kShellFolders, &key, NULL)) return;
    for (int folder = 0; folder < 3; folder++) {
        if (RegDeleteValueW(key, kTempFolderValues[folder]) != ERROR_SUCCESS) continue;
        WCHAR path[STORAGE_NAME_CHARS + 32];
        if (ticked)
            _snwprintf(path, sizeof path / sizeof path[0], L"\\%s\\%s", storage, kTempFolderNames[folder]);
        else
            lstrcpynW(path, kGuestFolders[folder], sizeof path / sizeof path[0]);
        path[sizeof path / sizeof path[0] - 1] = 0;
        PutText(key, kTempFolderValues[folder], path);
    }
    RegCloseKey(key);
}

static void OpenBrowserPage(HWND page)
{
    InitPageWithShell(page);
    SendDlgItemMessageW(page, IDC_PIE_STORAGE_NAME, EM_LIMITTEXT, STORAGE_NAME_CHARS - 1, 0);
    if (BuildStorageChoices() == 0) {
        EnableWindow(GetDlgItem(page, IDC_PIE_TEMP_FILES), FALSE);
        EnableWindow(GetDlgItem(page, IDC_PIE_STORAGE_NAME), FALSE);
        EnableWindow(GetDlgItem(page, IDC_PIE_STORAGE_SPIN), FALSE);
    } else {
        LoadTempFolderChoice(page);
    }
    LoadTweaks(page, kBrowserTweaks);
}

static BOOL OnBrowserCommand(HWND page, UINT control)
{
    if (control == IDOK) {
        ForwardDoneToHost(page);
        return TRUE;
    }
    if (control == IDC_PIE_TEMP_FILES) {
        WriteTempFolders(page);
        return FALSE;
    }
    if (ShowHelpOfButton(page, kBrowserHelp, control)) return FALSE;
    WriteTweak(page, kBrowserTweaks, control);
    return FALSE;
}

static INT_PTR CALLBACK BrowserPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        OpenBrowserPage(page);
        return TRUE;
    case WM_SIZE:
        RelayoutPage(page, g_browserPage);
        return FALSE;
    case WM_NOTIFY: {
        NMUPDOWN *change = (NMUPDOWN *)lParam;
        if (change->hdr.idFrom == IDC_PIE_STORAGE_SPIN && change->hdr.code == (UINT)UDN_DELTAPOS)
            StepStorageChoice(page, change->iDelta);
        return FALSE;
    }
    case WM_COMMAND:
        return OnBrowserCommand(page, LOWORD(wParam));
    }
    return FALSE;
}

const PageDescriptor g_browserPage = {
    L"PIE", IDD_BROWSER_PAGE_PORTRAIT, IDD_BROWSER_PAGE_LANDSCAPE, IDD_BROWSER_PAGE_SQUARE,
    IDD_BROWSER_PAGE_PORTRAIT, BrowserPageProc, &kBrowserTweaks, &kBrowserHelp, NULL};
