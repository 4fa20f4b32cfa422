// The sound-file browser: the program's own picker for a sound file or a sound folder.
#ifndef FILE_BROWSER_H
#define FILE_BROWSER_H

#include <windows.h>

// Paths handed in and out hold at most this many characters (plus the terminator).
#define BROWSE_PATH_CHARS 100
// The listing has room for this many folders and files.
#define BROWSE_MAX_ENTRIES 500
// A listed name keeps at most this many characters.
#define BROWSE_NAME_CHARS 510

// What a listing shows besides folders. Zero is no filter at all, so that the empty
// listing the program starts with never passes for a real one.
enum BrowseFilter { BROWSE_FILTER_SOUND = 1 };

// The path the browser hands back: a file's full path, or a folder with a trailing
// backslash. Callers empty it before opening the browser.
extern WCHAR g_browseResult[BROWSE_PATH_CHARS + 1];
// The folder being shown, without a trailing backslash; empty for the root.
extern WCHAR g_browseFolder[BROWSE_PATH_CHARS + 1];

INT_PTR CALLBACK FileBrowserDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Empties g_browseResult and runs the browser modally over parent (template 177).
// Returns the dialog's result: 1201 for a file, 32815 or 1 for a folder, 32816 when
// cancelled, -1 when the dialog could not be made.
INT_PTR ShowFileBrowser(HWND parent);

// Lists folder (".." first, except at the root), its sub-folders and the files that pass
// the filter into the list view; the same folder and filter as the last listing are
// shown again without a scan. Returns the number of items in the list.
int FillBrowserList(HWND listView, LPCWSTR folder, int filter);

// Cuts g_browseFolder at its last backslash: one folder up.
void BrowseGoUp(void);
// Index of the first selected item, -1 when there is none.
int GetSelectedBrowserItem(HWND listView);
// The characters after the last backslash of path (all of it without one), cut to the
// `cch` characters of out, terminator included.
void FileNameFromPath(LPCWSTR path, LPWSTR out, int cch);

#endif
