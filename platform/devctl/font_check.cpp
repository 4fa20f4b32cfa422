// The device's dialog font: every template asks for Tahoma 8, and the layouts are drawn
// for the device's own Tahoma (13 pixels high at 8 points, a dialog's average character
// 6 x 13 pixels). A dialog that got some other
// face or size from the host would lay out differently from the device.
#include <windows.h>
#include <stdio.h>
#include "devctl.h"

// A hidden dialog of one static control, FONT 8, "Tahoma", built in place: the header
// with its empty menu, class and title, the font, then the item on a DWORD boundary.
alignas(4) static const WORD kFontProbe[] = {
    DS_SETFONT, HIWORD(WS_POPUP), 0, 0, 1, 0, 0, 100, 40,    // style, extended style, items, x, y, cx, cy
    0, 0, 0, 8, 'T', 'a', 'h', 'o', 'm', 'a', 0,              // menu, class, title, points, face
    0, HIWORD(WS_CHILD | WS_VISIBLE), 0, 0, 0, 0, 80, 10, 1,  // item: style, extended style, x, y, cx, cy, id
    0xFFFF, 0x0082, 0, 0,                                     // static, no title, no creation data
};

static INT_PTR CALLBACK FontProbeProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

BOOL DialogFontIsTheDevices(WCHAR *problem, size_t problemCch)
{
    HWND probe = CreateDialogIndirectParamW(GetModuleHandleW(NULL), (LPCDLGTEMPLATEW)kFontProbe, NULL, FontProbeProc, 0);
    if (!probe) {
        _snwprintf(problem, problemCch, L"no dialog could be created to check its font");
        problem[problemCch - 1] = 0;
        return FALSE;
    }
    WCHAR face[LF_FACESIZE] = L"";
    TEXTMETRICW metrics = {};
    HDC dc = GetDC(probe);
    HGDIOBJ old = SelectObject(dc, (HGDIOBJ)SendMessageW(probe, WM_GETFONT, 0, 0));
    GetTextFaceW(dc, LF_FACESIZE, face);
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(probe, dc);
    RECT units = {0, 0, 4, 8};
    MapDialogRect(probe, &units);
    DestroyWindow(probe);
    // 4 x 8 dialog units are one average character: 6 x 13 pixels with the device's Tahoma.
    BOOL ok = lstrcmpiW(face, L"Tahoma") == 0 && metrics.tmHeight == 13 && units.right == 6 && units.bottom == 13;
    if (!ok) {
        _snwprintf(problem, problemCch,
                   L"the dialogs' font is \"%ls\" %ld pixels high with characters of %ld x %ld, not the "
                   L"device's Tahoma 13 pixels high with characters of 6 x 13; install Debian's fonts-wine "
                   L"and create the device again",
                   face, (long)metrics.tmHeight, (long)units.right, (long)units.bottom);
        problem[problemCch - 1] = 0;
    }
    return ok;
}
