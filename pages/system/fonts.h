// What the system font and menu font pages share: a font's size and face, each shown
// in an edit beside a check box that commits it, and the spinners that change those
// edits without touching the registry. The graphics page's spinners step the same way.
#ifndef SYSTEM_FONTS_H
#define SYSTEM_FONTS_H

#include <windows.h>

// A size box: its edit shows the stored "Ht" in points, the box is ticked when that
// is not the default size. Ticking stores the edit's size, clearing the default.
struct FontSizeBox {
    UINT box;
    UINT edit;
    LPCWSTR key;              // under HKEY_LOCAL_MACHINE
    DWORD defaultPoints;      // 9 for the system font, 8 for the menus
    LPCWSTR refusalCaption;   // shown when the default size itself is ticked
    BOOL refusalStoresDefault;   // the refusal still writes the default size
};

// A face box: its edit shows the stored "Nm", the box is ticked when that is not
// Tahoma. Ticking stores the edit's face, clearing Tahoma.
struct FontFaceBox {
    UINT box;
    UINT edit;
    LPCWSTR key;
    LPCWSTR refusalText;      // shown when Tahoma itself is ticked
};

// Show the stored value. FALSE when the key cannot be created: the page stops there.
BOOL LoadFontSize(HWND page, const FontSizeBox &size);
BOOL LoadFontFace(HWND page, const FontFaceBox &face);

// A tap on the box. A refusal unticks the box and leaves the registry as it was.
// Every accepted write is flushed.
void CommitFontSize(HWND page, const FontSizeBox &size);
void CommitFontFace(HWND page, const FontFaceBox &face);

// A spinner step on a number edit: a delta of zero or more counts down, a negative one
// up, within 1..`highest`; leaving the range either way lands on `wrapTo`.
void StepNumberEdit(HWND page, UINT edit, int delta, int highest, int wrapTo);
// A spinner step on a face edit: Tahoma and Courier New swap, any other face stays.
void StepFontFace(HWND page, UINT edit);

#endif
