// Whole-registry backup and restore through the platform's registry image functions.
#include <windows.h>
#include <commdlg.h>
#include <wchar.h>
#include "app/rudore.h"
#include "tools/tools.h"
#include "ceplatform.h"

static const DWORD kPathLength = 256;

DWORD ChooseRegistryFile(HWND owner, WCHAR *path, DWORD pathLength, BOOL save)
{
    OPENFILENAMEW record;
    ZeroMemory(&record, sizeof record);
    record.lStructSize = sizeof record;   // 76 bytes on the device's 32-bit build
    record.hwndOwner = owner;
    record.lpstrFilter = L"Registry Files (*.reg)\0*.reg\0";
    record.nFilterIndex = 0;
    path[0] = 0;
    record.lpstrFile = path;
    record.nMaxFile = pathLength;
    record.lpstrTitle = L"Export to Registry File";
    record.Flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
    BOOL chosen = save ? GetSaveFileNameW(&record) : GetOpenFileNameW(&record);
    if (!chosen) {
        path[0] = 0;
        return 0;
    }
    path[pathLength - 1] = 0;
    return (DWORD)wcslen(path);
}

int SaveRegistryToFile(LPCWSTR path)
{
    if (RegCopyFile(path)) return 1;
    if (GetLastError() != ERROR_NOT_SUPPORTED) return 0;
    return RegSaveKey(HKEY_CLASSES_ROOT, path, NULL) == ERROR_SUCCESS ? 1 : 0;
}

int RestoreRegistryFromFile(LPCWSTR path)
{
    if (RegRestoreFile(path)) return 1;
    if (GetLastError() != ERROR_NOT_SUPPORTED) return 0;
    if (RegReplaceKey(HKEY_LOCAL_MACHINE, NULL, path, NULL) != ERROR_SUCCESS) return 0;
    RegFlushKey(HKEY_CLASSES_ROOT);
    RegFlushKey(HKEY_CURRENT_USER);
    RegFlushKey(HKEY_LOCAL_MACHINE);
    RegFlushKey(HKEY_USERS);
    Sleep(3000);
    return 1;
}

void BackupRegistry(void)
{
    WCHAR path[kPathLength];
    path[0] = 0;
    ChooseRegistryFile(g_hMainWnd, path, kPathLength, TRUE);
    if (path[0] == 0) return;

    if (SaveRegistryToFile(path)) {
        WCHAR message[kPathLength + 32];
        _snwprintf(message, kPathLength + 32, L"Already backup to \n%ls", path);
        message[kPathLength + 31] = 0;
        MessageBoxW(g_hMainWnd, message, L"Backup registry", MB_OK);
    } else {
        MessageBoxW(g_hMainWnd, L"The backup error.", L"Backup error!", MB_OK);
    }
}

void RestoreRegistry(void)
{
    if (MessageBoxW(g_hMainWnd,
                    L"Option \"Restore\" will restore the registry that is the same as pre-backup, please choose a "
                    L"backup file(.reg) \n are you sure?",
                    L"Alarm", MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;

    WCHAR path[kPathLength];
    path[0] = 0;
    ChooseRegistryFile(g_hMainWnd, path, kPathLength, FALSE);
    if (path[0] == 0) return;

    if (!RestoreRegistryFromFile(path)) {
        MessageBoxW(g_hMainWnd, L"The backup error.", L"Backup error", MB_OK | MB_ICONHAND);
        return;
    }
    if (MessageBoxW(g_hMainWnd, L"Success !\nSoft Reset you device to make Restoration effectitve", L"Confirm",
                    MB_YESNO) == IDYES)
        SoftResetDevice();
}
