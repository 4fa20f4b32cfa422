/* A stand-in for the optional file-picker library of the soft-key page. It answers
 * from the environment, since the page loads it afresh for every pick and nothing of
 * it outlives one call:
 *   ZR_GETFILES_ANSWER  the path to give back; unset, the pick is cancelled
 *   ZR_GETFILES_FILL    set: the whole buffer is filled with 'x' and no null
 * and it leaves what it was asked in ZR_GETFILES_SEEN ("title|folder|filter|size")
 * and the number of its calls in ZR_GETFILES_CALLS.
 * Built a second time with GETFILES_OTHER_EXPORT, it lacks the picker's export. */
#include <windows.h>
#include <commdlg.h>
#include <wchar.h>

#ifdef GETFILES_OTHER_EXPORT
#define PICKER_NAME gsGetOpenFileName
#else
#define PICKER_NAME gsGetSaveFileName
#endif

static void CountCall(void)
{
    WCHAR count[16] = L"0";
    GetEnvironmentVariableW(L"ZR_GETFILES_CALLS", count, 16);
    wsprintfW(count, L"%d", _wtoi(count) + 1);
    SetEnvironmentVariableW(L"ZR_GETFILES_CALLS", count);
}

__declspec(dllexport) BOOL WINAPI PICKER_NAME(OPENFILENAMEW *record)
{
    WCHAR seen[600];
    CountCall();
    wsprintfW(seen, L"%s|%s|%s|%u", record->lpstrTitle ? record->lpstrTitle : L"",
              record->lpstrInitialDir ? record->lpstrInitialDir : L"",
              record->lpstrFilter ? record->lpstrFilter : L"", (unsigned)record->nMaxFile);
    SetEnvironmentVariableW(L"ZR_GETFILES_SEEN", seen);
    if (GetEnvironmentVariableW(L"ZR_GETFILES_FILL", NULL, 0) > 0) {
        DWORD i;
        for (i = 0; i < record->nMaxFile; i++) record->lpstrFile[i] = L'x';
        return TRUE;
    }
    WCHAR answer[MAX_PATH];
    DWORD length = GetEnvironmentVariableW(L"ZR_GETFILES_ANSWER", answer, MAX_PATH);
    if (length == 0 || length >= MAX_PATH || length >= record->nMaxFile) return FALSE;
    lstrcpyW(record->lpstrFile, answer);
    return TRUE;
}
