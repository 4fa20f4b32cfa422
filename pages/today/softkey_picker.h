// The link picker of the soft-key page: asks for a program file through the optional
// picker library installed beside the program, else the platform's open-file dialog.
#ifndef SOFTKEY_PICKER_H
#define SOFTKEY_PICKER_H

#include <windows.h>

#define LINK_PATH_CHARS MAX_PATH

// The chosen path; empty outside a pick, and after a pick that was cancelled.
extern WCHAR g_linkPath[LINK_PATH_CHARS];

// Leaves the chosen program's full path in g_linkPath, or empties it.
void PickLinkTarget(HWND owner);

// The name a soft key shows for a program: its file name up to the first '.'. A '.'
// in a folder name ends the name before it begins, so that name is empty.
void DisplayNameOfLink(LPCWSTR path, WCHAR *name, int cch);

#endif
