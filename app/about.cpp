// The About box: the program's icon, name and version; Done closes it.
#include "app/rudore.h"
#include "aygshell.h"
#include "resource.h"
#include "ui/reflow.h"

// Done button, full screen, input panel lowered, empty menu bar.
static const DWORD kModalDialogFlags = SHIDIF_DONEBUTTON | SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_SIPDOWN | SHIDIF_EMPTYMENU;

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG: {
        SHINITDLGINFO info = {SHIDIM_FLAGS, dialog, kModalDialogFlags};
        SHInitDialog(&info);
        return TRUE;
    }
    case WM_SIZE:
        ReflowDialogFromTemplate(g_hInstance, dialog, ChooseLayoutVariant(IDD_ABOUT_PORTRAIT, IDD_ABOUT_LANDSCAPE, IDD_ABOUT_PORTRAIT));
        return FALSE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            EndDialog(dialog, IDOK);
            return TRUE;
        }
        return FALSE;
    case WM_CLOSE:
        EndDialog(dialog, DIALOG_CLOSED);
        return TRUE;
    }
    return FALSE;
}

INT_PTR ShowAboutBox(HWND owner)
{
    return OpenDialogFromTemplate(owner, IDD_ABOUT_PORTRAIT, AboutDialogProc);
}
