// Dialogs whose pages are still to come: until their templates exist, nothing opens.
#include "app/rudore.h"

static INT_PTR PendingDialog(HWND dialog, UINT message, WPARAM wParam)
{
    if (message == WM_INITDIALOG) return TRUE;
    if (message == WM_COMMAND && LOWORD(wParam) == IDOK) {
        EndDialog(dialog, 1);
        return TRUE;
    }
    return FALSE;
}

