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

INT_PTR CALLBACK InternetHostProc(HWND d, UINT m, WPARAM w, LPARAM) { return PendingDialog(d, m, w); }
INT_PTR CALLBACK TodayHostProc(HWND d, UINT m, WPARAM w, LPARAM) { return PendingDialog(d, m, w); }
INT_PTR CALLBACK SystemHostProc(HWND d, UINT m, WPARAM w, LPARAM) { return PendingDialog(d, m, w); }
INT_PTR CALLBACK PhoneHostProc(HWND d, UINT m, WPARAM w, LPARAM) { return PendingDialog(d, m, w); }
