// The file system tricks dialog: six independent boxes, each written the moment it
// is tapped. Reads only open keys; taps create what is missing.
#include "app/rudore.h"
#include "aygshell.h"
#include "ui/tweaks.h"
#include "ui/page.h"
#include "ui/pages.h"
#include "resource.h"

static constexpr WCHAR kFatKey[] = L"System\\StorageManager\\FATFS";
static constexpr WCHAR kFilterKey[] = L"System\\StorageManager\\Filters\\fsreplxfilt";
static constexpr WCHAR kPolicyKey[] = L"Security\\Policies\\Policies";
static constexpr WCHAR kInstallerKey[] = L"Software\\Apps\\Microsoft Application Installer";
static constexpr WCHAR kCabCommandKey[] = L"cabfile\\Shell\\Open\\Command";

// The command that opens a .CAB file, with and without keeping the file afterwards.
static constexpr WCHAR kKeepCabsCommand[] = L"wceload.exe \"%1\" /nodelete";
static constexpr WCHAR kDeleteCabsCommand[] = L"wceload.exe \"%1\"";

static constexpr Tweak kFileSystemRows[] = {
    // control                    root  key             name                  ticked when  missing   ticked     cleared
    {IDC_FS_ENABLE_CACHE, HKLM, kFatKey, L"EnableCache", Dword(1), Dword(0), Dword(1), Dword(0), 0},
    {IDC_FS_CACHE_SIZE, HKLM, kFatKey, L"CacheSize", Dword(4096), Dword(0), Dword(4096), Dword(0), 0},
    {IDC_FS_FILTER_CACHE, HKLM, kFilterKey, L"ReplStoreCacheSize", Dword(4096), Dword(0), Dword(4096), Dword(0), 0},
    {IDC_FS_NO_SECURITY_WARNING, HKLM, kPolicyKey, L"0000101a", Dword(1), Dword(0), Dword(1), Dword(0), 0},
    // Kept .CAB files need both the installer's setting and the command that honours it.
    {IDC_FS_KEEP_CABS, HKLM, kInstallerKey, L"nDynamicDelete", Dword(2), Dword(0), Dword(2), Dword(0), 0},
    {IDC_FS_KEEP_CABS, HKCR, kCabCommandKey, L"Default", Text(kKeepCabsCommand), Nothing(), Text(kKeepCabsCommand),
     Text(kDeleteCabsCommand), 0},
    // A missing value counts as 0, so the box starts ticked.
    {IDC_FS_INSTALL_PROMPT, HKLM, kInstallerKey, L"fAskOptions", Dword(0), Dword(0), Dword(0), Dword(1), 0},
};
static const TweakTable kFileSystemTweaks = TWEAK_TABLE(kFileSystemRows);

static constexpr TweakHelp kFileSystemHelpRows[] = {
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
static const HelpTable kFileSystemHelp = HELP_TABLE(kFileSystemHelpRows);

static const DWORD kShellDialogFlags = SHIDIF_DONEBUTTON | SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_SIPDOWN | SHIDIF_EMPTYMENU;

static BOOL InitFileSystemDialog(HWND dialog)
{
    SHINITDLGINFO info = {SHIDIM_FLAGS, dialog, kShellDialogFlags};
    SHInitDialog(&info);
    LoadTweaks(dialog, kFileSystemTweaks);
    return TRUE;
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
            EndDialog(dialog, IDOK);
            return TRUE;
        }
        if (!ShowHelpOfButton(dialog, kFileSystemHelp, LOWORD(wParam)))
            WriteTweak(dialog, kFileSystemTweaks, LOWORD(wParam));
        return FALSE;
    case WM_CLOSE:
        EndDialog(dialog, DIALOG_CLOSED);
        return TRUE;
    }
    return FALSE;
}

const PageDescriptor g_fileSystemDialog = {
    L"File System Tricks", IDD_FILESYSTEM, IDD_FILESYSTEM, IDD_FILESYSTEM,
    IDD_FILESYSTEM, FileSystemTricksDialogProc, &kFileSystemTweaks, &kFileSystemHelp, NULL};
