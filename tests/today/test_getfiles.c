/* A stand-in for the soft-key page's optional picker library, loaded afresh for every
 * pick: it gives ZR_GETFILES_ANSWER (unset: cancelled), or with ZR_GETFILES_FILL set
 * fills the whole buffer with 'x' and no null; it leaves what it was asked in
 * ZR_GETFILES_SEEN and counts its calls in ZR_GETFILES_CALLS. Built with
 * GETFILES_OTHER_EXPORT it lacks the picker's export. */
#include <windows.h>
#include <commdlg.h>
#include <wchar.h>

#ifdef GETFILES_OTHER_EXPORT
__declspec(dllexport) BOOL WINAPI gsGetOpenFileName(OPENFILENAMEW *record)
#else
__declspec(dllexport) BOOL WINAPI gsGetSaveFileName(OPENFILENAMEW *record)
#endif
{
    WCHAR text[600] = L"0", answer[MAX_PATH];
    DWORD i, length;
    GetEnvironmentVariableW(L"ZR_GETFILES_CALLS", text, 16);
    wsprintfW(text, L"%d", _wtoi(text) + 1);
    SetEnvironmentVariableW(L"ZR_GETFILES_CALLS", text);
    wsprintfW(text, L"%s|%s|%s|%u", record->lpstrTitle, record->lpstrInitialDir, record->lpstrFilter,
              (unsigned)record->nMaxFile);
    SetEnvironmentVariableW(L"ZR_GETFILES_SEEN", text);
    if (GetEnvironmentVariableW(L"ZR_GETFILES_FILL", NULL, 0) > 0) {
        for (i = 0; i < record->nMaxFile; i++) record->lpstrFile[i] = L'x';
        return TRUE;
    }
    length = GetEnvironmentVariableW(L"ZR_GETFILES_ANSWER", answer, MAX_PATH);
    if (length == 0 || length >= MAX_PATH || length >= record->nMaxFile) return FALSE;
    lstrcpyW(record->lpstrFile, answer);
    return TRUE;
}
