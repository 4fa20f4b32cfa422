// The tweak mechanism: a table's boxes loaded from the registry and written back.
#include "ui/tweaks.h"
#include "ui/registry.h"
#include <wchar.h>

HKEY RootKey(TweakRoot root)
{
    switch (root) {
    case HKCR: return HKEY_CLASSES_ROOT;
    case HKCU: return HKEY_CURRENT_USER;
    case HKLM: return HKEY_LOCAL_MACHINE;
    }
    return NULL;
}

// Whether one row's stored value (or its "missing" stand-in) says "ticked".
static BOOL RowSaysTicked(HKEY key, const Tweak &row)
{
    BOOL equal = FALSE;
    if (row.tickedWhen.kind == TWEAK_DWORD) {
        DWORD value = row.missing.number;
        BOOL known = row.missing.kind == TWEAK_DWORD;
        if (key && GetDword(key, row.name, &value)) known = TRUE;
        if (!known) return FALSE;
        equal = value == row.tickedWhen.number;
    } else if (row.tickedWhen.kind == TWEAK_TEXT) {
        WCHAR text[REGISTRY_TEXT_CHARS];
        text[0] = 0;
        BOOL known = row.missing.kind == TWEAK_TEXT;
        if (known) lstrcpynW(text, row.missing.text, REGISTRY_TEXT_CHARS);
        if (key && GetText(key, row.name, text, REGISTRY_TEXT_CHARS)) known = TRUE;
        if (!known) return FALSE;
        equal = wcscmp(text, row.tickedWhen.text) == 0;
    }
    return (row.flags & TWEAK_TICK_UNLESS) ? !equal : equal;
}

BOOL SameKeyName(LPCWSTR a, LPCWSTR b)
{
    for (;; a++, b++) {
        WCHAR x = *a >= L'a' && *a <= L'z' ? *a - 32 : *a, y = *b >= L'a' && *b <= L'z' ? *b - 32 : *b;
        if (x != y) return FALSE;
        if (!x) return TRUE;
    }
}

static BOOL SameKey(const Tweak &a, const Tweak &b)
{
    return a.root == b.root && SameKeyName(a.key, b.key);
}

BOOL LoadTweakBox(HWND page, const TweakTable &table, UINT control)
{
    BOOL ticked = TRUE, compared = FALSE;
    for (int row = 0; row < table.count; row++) {
        const Tweak &tweak = table.rows[row];
        if (tweak.control != control || tweak.tickedWhen.kind == TWEAK_NONE) continue;
        HKEY key = NULL;
        if (tweak.flags & TWEAK_CREATE_TO_READ) {
            if (!CreateKey(RootKey(tweak.root), tweak.key, &key, NULL)) return FALSE;
        } else if (!OpenKey(RootKey(tweak.root), tweak.key, &key)) {
            key = NULL;
        }
        compared = TRUE;
        if (!RowSaysTicked(key, tweak)) ticked = FALSE;
        if (key) RegCloseKey(key);
    }
    if (compared && ticked) CheckDlgButton(page, control, BST_CHECKED);
    return TRUE;
}

BOOL LoadTweaks(HWND page, const TweakTable &table)
{
    for (int row = 0; row < table.count; row++) {
        int first = 0;
        while (table.rows[first].control != table.rows[row].control) first++;
        if (first == row && !LoadTweakBox(page, table, table.rows[row].control)) return FALSE;
    }
    return TRUE;
}

BOOL IsBoxTicked(HWND dialog, UINT box)
{
    return IsDlgButtonChecked(dialog, box) != BST_UNCHECKED;
}

static void WriteRowValue(HKEY key, LPCWSTR name, const TweakValue &value)
{
    switch (value.kind) {
    case TWEAK_DWORD: PutDword(key, name, value.number); break;
    case TWEAK_TEXT: PutText(key, name, value.text); break;
    case TWEAK_DELETE: RegDeleteValueW(key, name); break;
    }
}

static BOOL OpenRowKey(const Tweak &tweak, HKEY *key)
{
    if (tweak.flags & TWEAK_OPEN_TO_WRITE) return OpenKeyToWrite(RootKey(tweak.root), tweak.key, key);
    return CreateKey(RootKey(tweak.root), tweak.key, key, NULL);
}

BOOL WriteTweak(HWND page, const TweakTable &table, UINT control)
{
    BOOL ticked = IsBoxTicked(page, control);
    // Every key of the box is opened before anything is written: a box bound to
    // several keys writes all of them or none, never half a setting. A box bound to
    // more keys than this writes none.
    HKEY keys[MOST_KEYS_OF_A_BOX];
    const Tweak *keyRows[MOST_KEYS_OF_A_BOX];   // the row that opened each key
    BOOL flush[MOST_KEYS_OF_A_BOX] = {FALSE};
    int opened = 0;
    BOOL found = FALSE, usable = TRUE;
    for (int row = 0; row < table.count && usable; row++) {
        const Tweak &tweak = table.rows[row];
        if (tweak.control != control) continue;
        found = TRUE;
        int k = 0;
        while (k < opened && !SameKey(*keyRows[k], tweak)) k++;
        if (k < opened) continue;
        usable = opened < MOST_KEYS_OF_A_BOX && OpenRowKey(tweak, &keys[opened]);
        if (usable) keyRows[opened++] = &tweak;
    }
    if (usable) {
        for (int row = 0; row < table.count; row++) {
            const Tweak &tweak = table.rows[row];
            if (tweak.control != control) continue;
            int k = 0;
            while (k < opened && !SameKey(*keyRows[k], tweak)) k++;
            if (k == opened) continue;   // never with every key open; the search stays inside keyRows
            WriteRowValue(keys[k], tweak.name, ticked ? tweak.ticked : tweak.cleared);
            if (tweak.flags & TWEAK_FLUSH) flush[k] = TRUE;
        }
    }
    for (int k = 0; k < opened; k++) {
        if (usable && flush[k]) RegFlushKey(keys[k]);
        RegCloseKey(keys[k]);
    }
    return found && usable;
}
