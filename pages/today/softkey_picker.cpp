// The link picker. The optional library is loaded for one pick at a time, so that it
// can be installed or removed while the program runs.
#include "pages/today/softkey_picker.h"
#include <commdlg.h>
#include "ceplatform.h"

WCHAR g_linkPath[LINK_PATH_CHARS];

static const WCHAR kPickerLibrary[] = L"\\Windows\\Zelvo Rudore\\getFiles.dll";
static const WCHAR kPickerExport[] = L"gsGetSaveFileName";

// The library's picker takes the open-file record as GetOpenFileNameW does.
typedef BOOL(WINAPI *PickFileProc)(OPENFILENAMEW *record);

void PickLinkTarget(HWND owner)
{
    WCHAR file[LINK_PATH_CHARS];
    ZeroMemory(file, sizeof file);
    g_linkPath[0] = 0;

    OPENFILENAMEW record;
    ZeroMemory(&record, sizeof record);
    record.lStructSize = sizeof record;
    record.hwndOwner = owner;
    record.lpstrFilter = L"(*.exe)\0*.exe\0";
    record.lpstrFile = file;
    record.nMaxFile = LINK_PATH_CHARS;
    record.lpstrInitialDir = L"\\Windows";
    record.lpstrTitle = L"Select link";
    record.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;

    HMODULE library = LoadLibraryW(kPickerLibrary);
    PickFileProc pick = library ? (PickFileProc)(void *)GetProcAddressW(library, kPickerExport) : NULL;
    BOOL chosen = pick ? pick(&record) : GetOpenFileNameW(&record);
    if (library) FreeLibrary(library);
    if (!chosen) return;
    // Whatever the picker left in the buffer, the path ends inside it.
    file[LINK_PATH_CHARS - 1] = 0;
    lstrcpynW(g_linkPath, file, LINK_PATH_CHARS);
}

void DisplayNameOfLink(LPCWSTR path, WCHAR *name, int cch)
{
    int backslashes = 0;
    for (LPCWSTR at = path; *at; at++)
        if (*at == L'\\') backslashes++;
    int length = 0;
    for (; *path && *path != L'.'; path++) {
        if (*path == L'\\') {
            backslashes--;
            continue;
        }
        if (backslashes == 0 && length < cch - 1) name[length++] = *path;
    }
    name[length] = 0;
}
