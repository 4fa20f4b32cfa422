// Message boxes and the common file dialogs of the device. In a test that answers
// dialogs they are recorded and answered from queues without showing anything;
// otherwise they are the real ones.
#include <windows.h>
#include <commdlg.h>
#include <cderr.h>
#include <string>
#include "device.h"

namespace {

// The error of the last file dialog, when it was one we answered ourselves.
DWORD g_dialogError;
BOOL g_dialogErrorIsOurs;

// With nothing queued a box takes the answer that does least.
int DefaultAnswer(UINT flags)
{
    switch (flags & MB_TYPEMASK) {
    case MB_OK: return IDOK;
    case MB_YESNO: return IDNO;
    case MB_ABORTRETRYIGNORE: return IDABORT;
    default: return IDCANCEL;   // every other set of buttons has Cancel
    }
}

// The device's own record is 76 bytes; the desktop's two sizes are accepted as well.
const DWORD kDeviceRecordSize = 76;

size_t NameStart(const WCHAR *path)
{
    size_t start = 0;
    for (size_t i = 0; path[i]; ++i)
        if (path[i] == L'\\' || path[i] == L'/') start = i + 1;
    return start;
}

BOOL AnswerFileDialog(LPOPENFILENAMEW ofn, BOOL save)
{
    SimFileDialog record = {save, ofn->hwndOwner};
    BOOL chosen = FALSE;
    std::wstring answer;
    DWORD size = ofn->lStructSize;
    if (size != kDeviceRecordSize && size != OPENFILENAME_SIZE_VERSION_400W && size != sizeof(OPENFILENAMEW)) {
        g_dialogError = CDERR_STRUCTSIZE;
    } else if (!TakeFileDialogAnswer(&answer) || answer.empty()) {
        g_dialogError = 0;   // the user cancelled
    } else {
        // As typed; a name without an extension gets the default one.
        const WCHAR *path = answer.c_str();
        size_t length = answer.size();
        size_t nameStart = NameStart(path);
        BOOL addExtension = ofn->lpstrDefExt && ofn->lpstrDefExt[0] && !wcschr(path + nameStart, L'.');
        size_t needed = length + (addExtension ? 1 + wcslen(ofn->lpstrDefExt) : 0) + 1;
        if (!ofn->lpstrFile || needed > ofn->nMaxFile) {
            // As the real dialog: the first character tells the size the buffer needs.
            g_dialogError = FNERR_BUFFERTOOSMALL;
            if (ofn->lpstrFile && ofn->nMaxFile >= 2) {
                ofn->lpstrFile[0] = (WCHAR)(needed > 0xFFFF ? 0xFFFF : needed);
                ofn->lpstrFile[1] = 0;
            } else if (ofn->lpstrFile && ofn->nMaxFile == 1) {
                ofn->lpstrFile[0] = 0;
            }
        } else {
            CopyText(ofn->lpstrFile, ofn->nMaxFile, path);
            if (addExtension) {
                AppendText(ofn->lpstrFile, ofn->nMaxFile, L".");
                AppendText(ofn->lpstrFile, ofn->nMaxFile, ofn->lpstrDefExt);
            }
            const WCHAR *name = ofn->lpstrFile + nameStart;
            const WCHAR *dot = wcsrchr(name, L'.');
            ofn->nFileOffset = (WORD)nameStart;
            ofn->nFileExtension = (WORD)(dot ? dot + 1 - ofn->lpstrFile : wcslen(ofn->lpstrFile));
            if (ofn->lpstrFileTitle && ofn->nMaxFileTitle > 0) CopyText(ofn->lpstrFileTitle, ofn->nMaxFileTitle, name);
            g_dialogError = 0;
            chosen = TRUE;
        }
    }
    RecordFileDialog(&record);
    return chosen;
}

typedef BOOL(WINAPI *FileDialogProc)(LPOPENFILENAMEW);

// The desktop's dialog. The device's record size means the fields of the older desktop
// record; the desktop hands back drive paths, and the device has no drives.
BOOL DesktopFileDialog(LPOPENFILENAMEW ofn, FileDialogProc show)
{
    OPENFILENAMEW desktop = {};
    BOOL older = ofn->lStructSize == kDeviceRecordSize;
    if (older) {
        CopyMemory(&desktop, ofn, OPENFILENAME_SIZE_VERSION_400W);
        desktop.lStructSize = sizeof desktop;
    }
    BOOL result = show(older ? &desktop : ofn);
    if (older) {
        ofn->nFilterIndex = desktop.nFilterIndex;
        ofn->nFileOffset = desktop.nFileOffset;
        ofn->nFileExtension = desktop.nFileExtension;
        ofn->Flags = desktop.Flags;
    }
    if (!result || !ofn->lpstrFile) return result;
    int lost = DevicePathFromDrivePath(ofn->lpstrFile);
    if (ofn->nFileOffset >= lost) ofn->nFileOffset -= lost;
    if (ofn->nFileExtension >= lost) ofn->nFileExtension -= lost;
    return result;
}

BOOL FileDialog(LPOPENFILENAMEW ofn, BOOL save)
{
    FileDialogProc show = ofn && !AnsweringDialogs() ? (FileDialogProc)(void *)DesktopLibraryProc(
                              L"comdlg32.dll", save ? "GetSaveFileNameW" : "GetOpenFileNameW") : NULL;
    g_dialogErrorIsOurs = !show;
    if (show) return DesktopFileDialog(ofn, show);
    if (ofn && AnsweringDialogs()) return AnswerFileDialog(ofn, save);
    g_dialogError = CDERR_INITIALIZATION;
    return FALSE;
}

}

extern "C" {

int WINAPI Ce_MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT flags)
{
    if (!AnsweringDialogs()) return MessageBoxW(owner, text, caption, flags);
    SimMessageBox record = {owner};
    if (!TakeMessageBoxAnswer(&record.answer)) record.answer = DefaultAnswer(flags);
    CopyText(record.text, 1024, text);
    CopyText(record.caption, 256, caption);
    record.flags = flags;
    RecordMessageBox(&record);
    return record.answer;
}

BOOL WINAPI Ce_GetOpenFileNameW(LPOPENFILENAMEW ofn)
{
    return FileDialog(ofn, FALSE);
}

BOOL WINAPI Ce_GetSaveFileNameW(LPOPENFILENAMEW ofn)
{
    return FileDialog(ofn, TRUE);
}

DWORD WINAPI Ce_CommDlgExtendedError(void)
{
    if (g_dialogErrorIsOurs) return g_dialogError;
    // No dialog of the library has run yet when it is not loaded: nothing failed.
    if (!GetModuleHandleW(L"comdlg32.dll")) return 0;
    typedef DWORD(WINAPI * ErrorProc)(void);
    ErrorProc error = (ErrorProc)(void *)DesktopLibraryProc(L"comdlg32.dll", "CommDlgExtendedError");
    return error ? error() : 0;
}

}
