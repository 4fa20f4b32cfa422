// Font sizes and faces bound to an edit and a check box, and the spinners beside them.
#include "pages/system/fonts.h"
#include "ui/tweaks.h"
#include "ui/number_field.h"
#include "ui/registry.h"
#include <wchar.h>

// The face every font falls back to; storing it is what clearing a face box does.
static const WCHAR kDefaultFontFace[] = L"Tahoma";
static const WCHAR kAlternateFontFace[] = L"Courier New";
static const WCHAR kFaceRefusalCaption[] = L"Tahoma is default value";
static const WCHAR kSizeRefusal[] = L"Please select the font size!";

// "Ht" holds hundredths of a point.
static const DWORD kHundredths = 100;
// A size edit without a number commits this size.
static const int kUnreadableSize = 110;
// What a missing "Ht" counts as: shown as size 0, which is no default.
static const DWORD kMissingHeight = 1;

// The edits are read as far as each step needs, the terminator included.
static const int kSizeCommitChars = 16;
static const int kSpinnerNumberChars = 4;
static const int kFaceCommitChars = 50;
static const int kSpinnerFaceChars = 20;
// "Nm" is read with the room a commit writes from, so a stored face shows again; a
// longer name counts as missing.
static const DWORD kStoredFaceChars = kFaceCommitChars;

BOOL LoadFontSize(HWND page, const FontSizeBox &size)
{
    DWORD height = kMissingHeight;
    HKEY key;
    if (!CreateKey(HKEY_LOCAL_MACHINE, size.key, &key, NULL)) return FALSE;
    GetDword(key, L"Ht", &height);
    RegCloseKey(key);
    DWORD points = height / kHundredths;
    ShowUnsigned(page, size.edit, points);
    if (points != size.defaultPoints) CheckDlgButton(page, size.box, BST_CHECKED);
    return TRUE;
}

BOOL LoadFontFace(HWND page, const FontFaceBox &face)
{
    WCHAR name[kStoredFaceChars];
    name[0] = 0;
    HKEY key;
    if (!CreateKey(HKEY_LOCAL_MACHINE, face.key, &key, NULL)) return FALSE;
    GetText(key, L"Nm", name, kStoredFaceChars);
    RegCloseKey(key);
    SetDlgItemTextW(page, face.edit, name);
    if (wcscmp(name, kDefaultFontFace) != 0) CheckDlgButton(page, face.box, BST_CHECKED);
    return TRUE;
}

// The size in hundredths as a REG_DWORD holds it. A size too large for the value
// stops at its limit rather than wrapping round to some small size.
static DWORD HundredthsOf(int points)
{
    long long product = (long long)points * kHundredths;
    if (product > 0xFFFFFFFFLL) return 0xFFFFFFFFu;
    if (product < -0x80000000LL) return 0x80000000u;
    return (DWORD)product;
}

// Flushed, so that the font survives a reset.
static void CloseFontKey(HKEY key)
{
    RegFlushKey(key);
    RegCloseKey(key);
}

// A refusal leaves the key as it is, says why and unticks the box.
static void RefuseFontChoice(HWND page, UINT box, HKEY key, LPCWSTR text, LPCWSTR caption)
{
    RegCloseKey(key);
    MessageBoxW(page, text, caption, MB_OK);
    CheckDlgButton(page, box, BST_UNCHECKED);
}

void CommitFontSize(HWND page, const FontSizeBox &size)
{
    int points = ReadNumberField(page, size.edit, kSizeCommitChars, kUnreadableSize);
    DWORD defaultHeight = size.defaultPoints * kHundredths;
    HKEY key;
    if (!CreateKey(HKEY_LOCAL_MACHINE, size.key, &key, NULL)) return;
    if (!IsBoxTicked(page, size.box)) {
        PutDword(key, L"Ht", defaultHeight);
    } else if ((long long)points * kHundredths == (long long)defaultHeight) {
        // Ticking the default size is refused; the menu fonts store the default then
        // all the same, unflushed, so that the size the user chose is what stands.
        if (size.refusalStoresDefault) PutDword(key, L"Ht", defaultHeight);
        RefuseFontChoice(page, size.box, key, kSizeRefusal, size.refusalCaption);
        return;
    } else {
        PutDword(key, L"Ht", HundredthsOf(points));
    }
    CloseFontKey(key);
}

void CommitFontFace(HWND page, const FontFaceBox &face)
{
    WCHAR name[kFaceCommitChars];
    name[0] = 0;
    GetDlgItemTextW(page, face.edit, name, kFaceCommitChars);
    HKEY key;
    if (!CreateKey(HKEY_LOCAL_MACHINE, face.key, &key, NULL)) return;
    if (!IsBoxTicked(page, face.box)) {
        PutText(key, L"Nm", kDefaultFontFace);
    } else if (wcscmp(name, kDefaultFontFace) == 0) {
        RefuseFontChoice(page, face.box, key, face.refusalText, kFaceRefusalCaption);
        return;
    } else {
        PutText(key, L"Nm", name);
    }
    CloseFontKey(key);
}

void StepNumberEdit(HWND page, UINT edit, int delta, int highest, int wrapTo)
{
    int number = ReadNumberField(page, edit, kSpinnerNumberChars, 0);
    if (delta >= 0) {
        number--;
        if (number < 1) number = wrapTo;
    } else {
        number++;
        if (number > highest) number = wrapTo;
    }
    ShowNumber(page, edit, number);
}

void StepFontFace(HWND page, UINT edit)
{
    WCHAR name[kSpinnerFaceChars];
    name[0] = 0;
    GetDlgItemTextW(page, edit, name, kSpinnerFaceChars);
    // Only the two known faces change; any other text is left whole, however long.
    if (wcscmp(name, kDefaultFontFace) == 0)
        SetDlgItemTextW(page, edit, kAlternateFontFace);
    else if (wcscmp(name, kAlternateFontFace) == 0)
        SetDlgItemTextW(page, edit, kDefaultFontFace);
}
