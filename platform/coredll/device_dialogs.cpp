// Message boxes and the file dialogs of the device. In a test that answers dialogs they
// are recorded and answered from queues without showing anything (file dialogs are
// shown all the same when the test asks for them); otherwise they are the real ones.
#include <windows.h>
#include <commdlg.h>
#include <cderr.h>
#include <string>
#include "device.h"

namespace {

// The error of the last file dialog.
DWORD g_dialogError;

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
// Only the fields of the older desktop record are ever read or written.
const DWORD kDeviceRecordSize = 76;

BOOL AcceptedRecordSize(DWORD size)
{
    return size == kDeviceRecordSize || size == OPENFILENAME_SIZE_VERSION_400W || size == sizeof(OPENFILENAMEW);
}

size_t NameStart(const WCHAR *path)
{
    size_t start = 0;
    for (size_t i = 0; path[i]; ++i)
        if (path[i] == L'\\' || path[i] == L'/') start = i + 1;
    return start;
}

// A queued answer comes back as typed; a name without an extension gets the default one.
BOOL AnswerFileDialog(LPOPENFILENAMEW ofn)
{
    std::wstring answer;
    if (!TakeFileDialogAnswer(&answer) || answer.empty()) {
        g_dialogError = 0;   // the user cancelled
        return FALSE;
    }
    std::wstring extension;
    if (ofn->lpstrDefExt && ofn->lpstrDefExt[0] && !wcschr(answer.c_str() + NameStart(answer.c_str()), L'.'))
        extension = std::wstring(L".") + ofn->lpstrDefExt;
    g_dialogError = HandBackFileName(ofn, answer.c_str(), extension.empty() ? NULL : extension.c_str());
    return g_dialogError == 0;
}

BOOL FileDialog(LPOPENFILENAMEW ofn, BOOL save)
{
    if (!ofn) {
        g_dialogError = CDERR_INITIALIZATION;
        return FALSE;
    }
    SimFileDialog record = {save, ofn->hwndOwner};
    RecordFileDialog(&record);
    if (!AcceptedRecordSize(ofn->lStructSize)) {
        g_dialogError = CDERR_STRUCTSIZE;
        return FALSE;
    }
    if (AnsweringDialogs() && !(SimTestFlags() & SIM_TEST_SHOW_FILE_DIALOGS)) return AnswerFileDialog(ofn);
    return ShowFileDialog(ofn, save, &g_dialogError);
}

}

DWORD HandBackFileName(LPOPENFILENAMEW ofn, const WCHAR *path, const WCHAR *extension)
{
    size_t nameStart = NameStart(path);
    size_t needed = wcslen(path) + (extension ? wcslen(extension) : 0) + 1;
    if (!ofn->lpstrFile || needed > ofn->nMaxFile) {
        // As the device's dialog: the first character tells the size the buffer needs.
        if (ofn->lpstrFile && ofn->nMaxFile >= 2) {
            ofn->lpstrFile[0] = (WCHAR)(needed > 0xFFFF ? 0xFFFF : needed);
            ofn->lpstrFile[1] = 0;
        } else if (ofn->lpstrFile && ofn->nMaxFile == 1) {
            ofn->lpstrFile[0] = 0;
        }
        return FNERR_BUFFERTOOSMALL;
    }
    CopyText(ofn->lpstrFile, ofn->nMaxFile, path);
    if (extension) AppendText(ofn->lpstrFile, ofn->nMaxFile, extension);
    const WCHAR *name = ofn->lpstrFile + nameStart;
    const WCHAR *dot = wcsrchr(name, L'.');
    ofn->nFileOffset = (WORD)nameStart;
    ofn->nFileExtension = (WORD)(dot ? dot + 1 - ofn->lpstrFile : wcslen(ofn->lpstrFile));
    if (ofn->lpstrFileTitle && ofn->nMaxFileTitle > 0) CopyText(ofn->lpstrFileTitle, ofn->nMaxFileTitle, name);
    return 0;
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
    return g_dialogError;
}

}
