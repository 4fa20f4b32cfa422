// The file system tricks dialog: six independent boxes, each written the moment it
// is tapped. Reads only open keys; taps create what is missing.
#include <wchar.h>
#include "dialogs/dialogs.h"
#include "app/rudore.h"
#include "aygshell.h"
#include "ui/tweaks.h"
#include "resource.h"

static const WCHAR kFatKey[] = L"System\\StorageManager\\FATFS";
static const WCHAR kFilterKey[] = L"System\\StorageManager\\Filters\\fsreplxfilt";
static const WCHAR kPolicyKey[] = L"Security\\Policies\\Policies";
static const WCHAR kInstallerKey[] = L"Software\\Apps\\Microsoft Application Installer";
static const WCHAR kCabCommandKey[] = L"cabfile\\Shell\\Open\\Command";

// The command that opens a .CAB file, with and without keeping the file afterwards.
static const WCHAR kKeepCabsCommand[] = L"wceload.exe \"%1\" /nodelete";
static const WCHAR kDeleteCabsCommand[] = L"wceload.exe \"%1\"";
static const DWORD kKeepCabs = 2;
static const DWORD kDeleteCabs = 0;
enum { CAB_COMMAND_LENGTH = 80 };

// A box ticked when its DWORD (0 when missing) holds `ticked`; a tap writes `ticked`
// or `cleared`. In the order they are read.
struct DwordTweak {
    int box;
    LPCWSTR key;
    LPCWSTR name;
    DWORD ticked, cleared;
};

static const DwordTweak kDwordTweaks[] = {
    {IDC_FS_ENABLE_CACHE, kFatKey, L"EnableCache", 1, 0},
    {IDC_FS_CACHE_SIZE, kFatKey, L"CacheSize", 4096, 0},
    {IDC_FS_FILTER_CACHE, kFilterKey, L"ReplStoreCacheSize", 4096, 0},
    {IDC_FS_INSTALL_PROMPT, kInstallerKey, L"fAskOptions", 0, 1},
    {IDC_FS_NO_SECURITY_WARNING, kPolicyKey, L"0000101a", 1, 0},
};

static const TweakHelp kHelpTexts[] = {
    {IDC_FS_HELP_ENABLE_CACHE, L"To enable the FileSystem cache, speeding up overall performance at the risk "
                               L"of the cache not being written on a sudden reset"},
    {IDC_FS_HELP_CACHE_SIZE, L"Make sure the Increase File System take effect only when the File System is enabled."},
    {IDC_FS_HELP_FILTER_CACHE, L"To enable the file system filter cache, speeding up overall performance with "
                               L"file mangement"},
    {IDC_FS_HELP_SECURITY, L"To disable the security warning when installing a non-certfied application. Note that "
                           L"this makes it easier for any malware to install itself."},
    {IDC_FS_HELP_KEEP_CABS, L"Keep the original .CAB file around after installing the application."},
    {IDC_FS_HELP_INSTALL_PROMPT, L"Make WM5 prompt you before overwriting an existing installation."},
};

static const DWORD kShellDialogFlags = SHIDIF_DONEBUTTON | SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_SIPDOWN | SHIDIF_EMPTYMENU;

static BOOL IsChecked(HWND dialog, int id)
{
    return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

static HKEY CreateKey(HKEY root, LPCWSTR key)
{
    HKEY created;
    if (RegCreateKeyExW(root, key, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &created, NULL) != ERROR_SUCCESS) return NULL;
    return created;
}

static void SetDword(HKEY key, LPCWSTR name, DWORD value)
{
    RegSetValueExW(key, name, 0, REG_DWORD, (const BYTE *)&value, sizeof value);
}

static void SetText(HKEY key, LPCWSTR name, LPCWSTR text)
{
    RegSetValueExW(key, name, 0, REG_SZ, (const BYTE *)text, (DWORD)((wcslen(text) + 1) * sizeof(WCHAR)));
}

static BOOL InitFileSystemDialog(HWND dialog)
{
    SHINITDLGINFO info = {SHIDIM_FLAGS, dialog, kShellDialogFlags};
    SHInitDialog(&info);

    for (const DwordTweak &tweak : kDwordTweaks) {
        DWORD value = 0;
        ReadRegistryDword(HKEY_LOCAL_MACHINE, tweak.key, tweak.name, &value);
        if (value == tweak.ticked) CheckDlgButton(dialog, tweak.box, BST_CHECKED);
    }

    // Kept .CAB files need both the installer's setting and the command that honours it.
    DWORD dynamicDelete = 0;
    ReadRegistryDword(HKEY_LOCAL_MACHINE, kInstallerKey, L"nDynamicDelete", &dynamicDelete);
    WCHAR command[CAB_COMMAND_LENGTH];
    command[0] = 0;
    ReadRegistryText(HKEY_CLASSES_ROOT, kCabCommandKey, L"Default", command, CAB_COMMAND_LENGTH);
    if (dynamicDelete == kKeepCabs && lstrcmpW(command, kKeepCabsCommand) == 0)
        CheckDlgButton(dialog, IDC_FS_KEEP_CABS, BST_CHECKED);
    return TRUE;
}

static void WriteDwordTweak(HWND dialog, const DwordTweak &tweak)
{
    HKEY key = CreateKey(HKEY_LOCAL_MACHINE, tweak.key);
    if (!key) return;
    SetDword(key, tweak.name, IsChecked(dialog, tweak.box) ? tweak.ticked : tweak.cleared);
    RegCloseKey(key);
}

static void WriteKeepCabs(HWND dialog)
{
    HKEY installer = CreateKey(HKEY_LOCAL_MACHINE, kInstallerKey);
    if (!installer) return;
    HKEY command = CreateKey(HKEY_CLASSES_ROOT, kCabCommandKey);
    if (!command) {
        RegCloseKey(installer);
        return;
    }
    BOOL keep = IsChecked(dialog, IDC_FS_KEEP_CABS);
    SetDword(installer, L"nDynamicDelete", keep ? kKeepCabs : kDeleteCabs);
    SetText(command, L"Default", keep ? kKeepCabsCommand : kDeleteCabsCommand);
    RegCloseKey(command);
    RegCloseKey(installer);
}

static void OnFileSystemCommand(HWND dialog, int id)
{
    if (id == IDC_FS_KEEP_CABS) {
        WriteKeepCabs(dialog);
        return;
    }
    for (const DwordTweak &tweak : kDwordTweaks)
        if (tweak.box == id) {
            WriteDwordTweak(dialog, tweak);
            return;
        }
    ShowHelpOfButton(dialog, kHelpTexts, TWEAK_COUNT(kHelpTexts), id);
}

INT_PTR CALLBACK FileSystemTricksDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        return InitFileSystemDialog(dialog);
    case WM_SIZE:
        return FALSE;  // one layout fits every screen shape
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            EndDialog(dialog, 1);
            return TRUE;
        }
        OnFileSystemCommand(dialog, LOWORD(wParam));
        return FALSE;
    case WM_CLOSE:
        EndDialog(dialog, 16);
        return TRUE;
    }
    return FALSE;
}
