// Activation and setting-change handlers: the caller keeps the state in its own
// activation record, which the device gives a size of 12.
#include "shell.h"

enum { kMinActivateInfoSize = 12 };

static BOOL UsableActivateInfo(const SHACTIVATEINFO *info)
{
    // The size is checked loosely: records of the device's size and of this build's both do.
    if (!info || info->cbSize < kMinActivateInfoSize) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return TRUE;
}

static BOOL OwnsFocusable(HWND window, HWND control)
{
    return control && IsWindow(control) && (control == window || IsChild(window, control)) &&
           IsWindowVisible(control) && IsWindowEnabled(control);
}

extern "C" BOOL WINAPI SHHandleWMActivate(HWND window, WPARAM wParam, LPARAM, SHACTIVATEINFO *info, DWORD flags)
{
    if (!UsableActivateInfo(info)) return FALSE;
    // This device has no input panel: it is never up.
    info->fSipOnDeactivation = 0;
    info->fSipUp = 0;
    if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        info->hwndLastFocus = (focus && IsWindow(window) && (focus == window || IsChild(window, focus))) ? focus : NULL;
        info->fActive = 0;
        return TRUE;
    }
    info->fActive = 1;
    // The caller does not pass activation on to the default handler, so the focus is put
    // back here: where it was when the window was left, else on the window. Dialogs look
    // after their own focus.
    if (!(flags & SHA_INPUTDIALOG) && !HIWORD(wParam) && IsWindow(window)) {
        HWND focus = GetFocus();
        if (OwnsFocusable(window, info->hwndLastFocus)) SetFocus(info->hwndLastFocus);
        else if (!OwnsFocusable(window, focus)) SetFocus(window);
    }
    return TRUE;
}

extern "C" BOOL WINAPI SHHandleWMSettingChange(HWND window, WPARAM wParam, LPARAM, SHACTIVATEINFO *info)
{
    if (!UsableActivateInfo(info)) return FALSE;
    if (wParam == SPI_SETSIPINFO || wParam == SETTINGCHANGE_RESET) {
        // The window gets back whatever the (absent) input panel would have taken.
        info->fSipUp = 0;
        FitShellDialog(window);
    }
    return TRUE;
}
