// The tweak tables and the registry helpers every page writes through.
#include "ui/tweaks.h"
#include "app/rudore.h"
#include "aygshell.h"
#include <wchar.h>

// Longest text any page reads from the registry, terminator included.
static const DWORD kMaxRegistryText = 1024;

BOOL CreateTweakKey(HKEY root, LPCWSTR key, HKEY *opened, DWORD *disposition)
{
    DWORD ignored;
    WCHAR noClass[1] = {0};
    return RegCreateKeyExW(root, key, 0, noClass, 0, KEY_ALL_ACCESS, NULL, opened,
                           disposition ? disposition : &ignored) == ERROR_SUCCESS;
}

// Opens a key for reading (RegOpenKeyExW); a missing key fails.
static BOOL OpenTweakKey(HKEY root, LPCWSTR key, HKEY *opened)
{
    return RegOpenKeyExW(root, key, 0, 0, opened) == ERROR_SUCCESS;
}

BOOL OpenTweakKeyToWrite(HKEY root, LPCWSTR key, HKEY *opened)
{
    return RegOpenKeyExW(root, key, 0, KEY_ALL_ACCESS, opened) == ERROR_SUCCESS;
}

HKEY RootKey(TweakRoot root)
{
    switch (root) {
    case HKCR: return HKEY_CLASSES_ROOT;
    case HKCU: return HKEY_CURRENT_USER;
    case HKLM: return HKEY_LOCAL_MACHINE;
    }
    return NULL;
}

BOOL ReadDwordValue(HKEY key, LPCWSTR name, DWORD *value)
{
    DWORD type = 0, data = 0, size = sizeof data;
    if (RegQueryValueExW(key, name, NULL, &type, (BYTE *)&data, &size) != ERROR_SUCCESS) return FALSE;
    if (type != REG_DWORD || size != sizeof data) return FALSE;
    *value = data;
    return TRUE;
}

BOOL ReadTextValue(HKEY key, LPCWSTR name, WCHAR *buffer, DWORD cch)
{
    if (!buffer || cch == 0) return FALSE;
    if (cch > kMaxRegistryText) cch = kMaxRegistryText;
    // Read into a scratch buffer, so that a value found unusable leaves the preset.
    WCHAR data[kMaxRegistryText];
    DWORD type = 0, size = cch * sizeof(WCHAR);
    if (RegQueryValueExW(key, name, NULL, &type, (BYTE *)data, &size) != ERROR_SUCCESS) return FALSE;
    if (type != REG_SZ || size < sizeof(WCHAR) || size % sizeof(WCHAR)) return FALSE;
    DWORD length = size / sizeof(WCHAR);
    if (data[length - 1] != 0) return FALSE;   // stored without its terminating null
    lstrcpynW(buffer, data, (int)length);
    return TRUE;
}

BOOL WriteDwordValue(HKEY key, LPCWSTR name, DWORD value)
{
    return RegSetValueExW(key, name, 0, REG_DWORD, (const BYTE *)&value, sizeof value) == ERROR_SUCCESS;
}

BOOL WriteTextValue(HKEY key, LPCWSTR name, LPCWSTR text)
{
    DWORD bytes = (DWORD)((lstrlenW(text) + 1) * sizeof(WCHAR));
    return RegSetValueExW(key, name, 0, REG_SZ, (const BYTE *)text, bytes) == ERROR_SUCCESS;
}

BOOL ReadDwordAt(HKEY root, LPCWSTR key, LPCWSTR name, DWORD *value)
{
    HKEY opened;
    if (!OpenTweakKey(root, key, &opened)) return FALSE;
    BOOL read = ReadDwordValue(opened, name, value);
    RegCloseKey(opened);
    return read;
}

BOOL ReadTextAt(HKEY root, LPCWSTR key, LPCWSTR name, WCHAR *buffer, DWORD cch)
{
    HKEY opened;
    if (!OpenTweakKey(root, key, &opened)) return FALSE;
    BOOL read = ReadTextValue(opened, name, buffer, cch);
    RegCloseKey(opened);
    return read;
}

BOOL CreateAndReadDword(HKEY root, LPCWSTR key, LPCWSTR name, DWORD *value)
{
    HKEY opened;
    if (!CreateTweakKey(root, key, &opened, NULL)) return FALSE;
    ReadDwordValue(opened, name, value);
    RegCloseKey(opened);
    return TRUE;
}

BOOL CreateAndReadText(HKEY root, LPCWSTR key, LPCWSTR name, WCHAR *buffer, DWORD cch)
{
    HKEY opened;
    if (!CreateTweakKey(root, key, &opened, NULL)) return FALSE;
    ReadTextValue(opened, name, buffer, cch);
    RegCloseKey(opened);
    return TRUE;
}

BOOL WriteDwordAt(HKEY root, LPCWSTR key, LPCWSTR name, DWORD value, BOOL flush)
{
    HKEY opened;
    if (!CreateTweakKey(root, key, &opened, NULL)) return FALSE;
    BOOL written = WriteDwordValue(opened, name, value);
    if (flush) RegFlushKey(opened);
    RegCloseKey(opened);
    return written;
}

BOOL WriteTextAt(HKEY root, LPCWSTR key, LPCWSTR name, LPCWSTR text, BOOL flush)
{
    HKEY opened;
    if (!CreateTweakKey(root, key, &opened, NULL)) return FALSE;
    BOOL written = WriteTextValue(opened, name, text);
    if (flush) RegFlushKey(opened);
    RegCloseKey(opened);
    return written;
}

// ---- Tables ----

// Whether one row's stored value (or its "missing" stand-in) says "ticked".
static BOOL RowSaysTicked(HKEY key, const Tweak &row)
{
    BOOL equal = FALSE;
    if (row.tickedWhen.kind == TWEAK_DWORD) {
        DWORD value = row.missing.number;
        BOOL known = row.missing.kind == TWEAK_DWORD;
        if (key && ReadDwordValue(key, row.name, &value)) known = TRUE;
        if (!known) return FALSE;
        equal = value == row.tickedWhen.number;
    } else if (row.tickedWhen.kind == TWEAK_TEXT) {
        WCHAR text[kMaxRegistryText];
        text[0] = 0;
        BOOL known = row.missing.kind == TWEAK_TEXT;
        if (known) lstrcpynW(text, row.missing.text, kMaxRegistryText);
        if (key && ReadTextValue(key, row.name, text, kMaxRegistryText)) known = TRUE;
        if (!known) return FALSE;
        equal = wcscmp(text, row.tickedWhen.text) == 0;
    }
    return (row.flags & TWEAK_TICK_UNLESS) ? !equal : equal;
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
            if (!CreateTweakKey(RootKey(tweak.root), tweak.key, &key, NULL)) return FALSE;
        } else if (!OpenTweakKey(RootKey(tweak.root), tweak.key, &key)) {
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
    case TWEAK_DWORD: WriteDwordValue(key, name, value.number); break;
    case TWEAK_TEXT: WriteTextValue(key, name, value.text); break;
    case TWEAK_DELETE: RegDeleteValueW(key, name); break;
    }
}

static BOOL OpenRowKey(const Tweak &tweak, HKEY *key)
{
    if (tweak.flags & TWEAK_OPEN_TO_WRITE) return OpenTweakKeyToWrite(RootKey(tweak.root), tweak.key, key);
    return CreateTweakKey(RootKey(tweak.root), tweak.key, key, NULL);
}

BOOL WriteTweak(HWND page, const TweakTable &table, UINT control)
{
    BOOL ticked = IsBoxTicked(page, control);
    // Every key of the box is opened before anything is written: a box bound to
    // several keys writes all of them or none, never half a setting. The tables are
    // checked when they are built to bind no box to more keys than this.
    HKEY keys[kMostKeysOfABox];
    const Tweak *keyRows[kMostKeysOfABox];   // the row that opened each key
    BOOL flush[kMostKeysOfABox] = {FALSE};
    int opened = 0;
    BOOL found = FALSE, usable = TRUE;
    for (int row = 0; row < table.count && usable; row++) {
        const Tweak &tweak = table.rows[row];
        if (tweak.control != control) continue;
        found = TRUE;
        int k = 0;
        while (k < opened && !SameKey(*keyRows[k], tweak)) k++;
        if (k < opened) continue;
        usable = opened < kMostKeysOfABox && OpenRowKey(tweak, &keys[opened]);
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

// ---- Edit fields ----

int ScanNumber(LPCWSTR text, int fallback)
{
    if (!text) return fallback;
    while (*text == L' ' || (*text >= L'\t' && *text <= L'\r')) text++;
    BOOL negative = FALSE;
    if (*text == L'+' || *text == L'-') negative = *text++ == L'-';
    if (*text < L'0' || *text > L'9') return fallback;
    long long number = 0;
    for (; *text >= L'0' && *text <= L'9'; text++) {
        if (number <= 0x80000000LL) number = number * 10 + (*text - L'0');
    }
    if (negative) number = -number;
    if (number > 0x7FFFFFFFLL) return 0x7FFFFFFF;
    if (number < -0x80000000LL) return (int)0x80000000u;
    return (int)number;
}

int ReadNumberField(HWND dialog, UINT control, int cch, int fallback)
{
    WCHAR text[64];
    if (cch > 64) cch = 64;
    text[0] = 0;
    GetDlgItemTextW(dialog, control, text, cch);
    return ScanNumber(text, fallback);
}

void ShowNumber(HWND dialog, UINT control, int number)
{
    WCHAR text[16];
    wsprintfW(text, L"%d", number);
    SetDlgItemTextW(dialog, control, text);
}

void ShowUnsigned(HWND dialog, UINT control, DWORD number)
{
    WCHAR text[16];
    wsprintfW(text, L"%lu", (unsigned long)number);
    SetDlgItemTextW(dialog, control, text);
}

// ---- Shared page behaviour ----

BOOL ShowHelpOfButton(HWND page, const HelpTable &table, UINT control)
{
    for (int i = 0; i < table.count; i++) {
        if (table.rows[i].button == control) {
            MessageBoxW(page, table.rows[i].text, L"Help", MB_OK | table.rows[i].icon);
            return TRUE;
        }
    }
    return FALSE;
}

void ForwardDoneToHost(HWND page)
{
    SendMessageW(GetParent(page), WM_COMMAND, IDOK, 0);
}

void InitPageWithShell(HWND page)
{
    SHINITDLGINFO info = {SHIDIM_FLAGS, page, SHIDIF_DONEBUTTON | SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_SIPDOWN};
    SHInitDialog(&info);
}
