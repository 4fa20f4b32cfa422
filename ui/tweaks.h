// The tweak mechanism shared by every page: a page lists its registry-bound check
// boxes as a table of rows, `LoadTweaks` ticks the boxes from the registry when the
// page opens, and `WriteTweak` stores a box the moment it changes. What is special to
// one page (spinners, number fields, refusals) stays in that page, built from the
// safe registry helpers below.
#ifndef TWEAKS_H
#define TWEAKS_H

#include <windows.h>

// The registry roots a row names; kept as constants rather than HKEYs so that a table
// can be checked while it is built.
enum TweakRoot { HKCR, HKCU, HKLM };
HKEY RootKey(TweakRoot root);

// A value a row compares or writes.
enum TweakValueKind {
    TWEAK_NONE = 0,      // not compared / nothing written
    TWEAK_DWORD,         // a REG_DWORD of 4 bytes
    TWEAK_TEXT,          // a REG_SZ written with its terminating null
    TWEAK_DELETE         // the value is deleted (a missing value is no error)
};

struct TweakValue {
    int kind;
    DWORD number;
    LPCWSTR text;
};

constexpr TweakValue Dword(DWORD number) { return {TWEAK_DWORD, number, nullptr}; }
constexpr TweakValue Text(LPCWSTR text) { return {TWEAK_TEXT, 0, text}; }
constexpr TweakValue DeleteValue() { return {TWEAK_DELETE, 0, nullptr}; }
// As "ticked when": the row is only written. As "missing": an absent value never
// ticks. As a value to write: nothing is written.
constexpr TweakValue Nothing() { return {TWEAK_NONE, 0, nullptr}; }

// Row flags.
enum TweakFlags {
    TWEAK_FLUSH = 0x01,           // RegFlushKey after writing, before closing
    TWEAK_CREATE_TO_READ = 0x02,  // opening the page creates the key (RegCreateKeyExW)
    TWEAK_OPEN_TO_WRITE = 0x04,   // a write only opens the key, never creates it
    TWEAK_TICK_UNLESS = 0x08      // ticked when the stored value differs from `tickedWhen`
};

// One registry value bound to a check box. A box bound to several values has one row
// per value: it starts ticked only when every row that is read matches, and a change
// writes every row in table order.
struct Tweak {
    UINT control;            // the check box
    TweakRoot root;
    LPCWSTR key;
    LPCWSTR name;            // value name
    TweakValue tickedWhen;   // stored value that ticks the box; Nothing(): row only written
    TweakValue missing;      // what an absent (or unreadable) value counts as; Nothing(): never ticks
    TweakValue ticked;       // written when the box is ticked
    TweakValue cleared;      // written when the box is cleared
    DWORD flags;             // TweakFlags
};

// A page's or dialog's rows, as the mechanism takes them.
struct TweakTable {
    const Tweak *rows;
    int count;
};

// The most keys one box is bound to: a box's keys are all opened before any is written.
constexpr int kMostKeysOfABox = 4;

// Key names compare without regard to case, as the registry compares them.
constexpr bool SameKeyName(LPCWSTR a, LPCWSTR b)
{
    for (;; a++, b++) {
        WCHAR x = *a >= L'a' && *a <= L'z' ? *a - 32 : *a, y = *b >= L'a' && *b <= L'z' ? *b - 32 : *b;
        if (x != y) return false;
        if (!x) return true;
    }
}

// The number of different keys the box of row `at` is bound to.
constexpr int KeysOfBox(const Tweak *rows, int count, int at)
{
    int keys = 0;
    for (int row = 0; row < count; row++) {
        if (rows[row].control != rows[at].control) continue;
        bool seen = false;
        for (int earlier = 0; earlier < row; earlier++)
            if (rows[earlier].control == rows[at].control && rows[earlier].root == rows[row].root &&
                SameKeyName(rows[earlier].key, rows[row].key))
                seen = true;
        if (!seen) keys++;
    }
    return keys;
}

constexpr bool EveryBoxFits(const Tweak *rows, int count)
{
    for (int row = 0; row < count; row++)
        if (KeysOfBox(rows, count, row) > kMostKeysOfABox) return false;
    return true;
}

// The only way a table reaches the mechanism: a box bound to more keys than a write
// opens fails to build.
template <const auto &rows>
constexpr TweakTable TweakTableOf()
{
    constexpr int count = (int)(sizeof rows / sizeof rows[0]);
    static_assert(EveryBoxFits(rows, count), "a box is bound to more keys than WriteTweak opens");
    return {rows, count};
}

// Ticks the boxes whose stored values say "on", box by box in the order each box first
// appears; never clears a box. FALSE when a key that must be created to be read cannot
// be: the later boxes are then left alone.
BOOL LoadTweaks(HWND page, const TweakTable &table);
// The same for one box, for a page that reads other settings between its boxes.
BOOL LoadTweakBox(HWND page, const TweakTable &table, UINT control);

// Writes the rows of `control` for the box's current state. TRUE when the control
// has rows and every key could be opened; FALSE when it has none (not a tweak) or a
// key failed (then nothing is written, whichever key it was).
BOOL WriteTweak(HWND page, const TweakTable &table, UINT control);

// Whether a check box is ticked (an indeterminate box counts as ticked).
BOOL IsBoxTicked(HWND dialog, UINT box);

// ---- Safe registry access ----
// Reads accept only the expected type and a value that fits: a wrong type, a text
// without its terminating null or one longer than the buffer counts as missing, and
// then the caller's preset is left untouched.

// Opens a key for writing (RegCreateKeyExW, empty class, all access). `disposition`
// may be NULL.
BOOL CreateTweakKey(HKEY root, LPCWSTR key, HKEY *opened, DWORD *disposition);
// Opens an existing key for writing (all access); a missing key fails and is not made.
BOOL OpenTweakKeyToWrite(HKEY root, LPCWSTR key, HKEY *opened);

BOOL ReadDwordValue(HKEY key, LPCWSTR name, DWORD *value);
// `cch` counts the terminating null; the text must fit whole.
BOOL ReadTextValue(HKEY key, LPCWSTR name, WCHAR *buffer, DWORD cch);
BOOL WriteDwordValue(HKEY key, LPCWSTR name, DWORD value);
BOOL WriteTextValue(HKEY key, LPCWSTR name, LPCWSTR text);

// Open, read and close in one call; the preset stays when anything fails, a missing
// key included.
BOOL ReadDwordAt(HKEY root, LPCWSTR key, LPCWSTR name, DWORD *value);
BOOL ReadTextAt(HKEY root, LPCWSTR key, LPCWSTR name, WCHAR *buffer, DWORD cch);
// Create (or open), read and close, as a page does on opening so that its key exists
// afterwards. FALSE only when the key can be neither created nor opened; a failed
// read leaves the preset.
BOOL CreateAndReadDword(HKEY root, LPCWSTR key, LPCWSTR name, DWORD *value);
BOOL CreateAndReadText(HKEY root, LPCWSTR key, LPCWSTR name, WCHAR *buffer, DWORD cch);
// Create (or open), write, optionally flush, and close.
BOOL WriteDwordAt(HKEY root, LPCWSTR key, LPCWSTR name, DWORD value, BOOL flush);
BOOL WriteTextAt(HKEY root, LPCWSTR key, LPCWSTR name, LPCWSTR text, BOOL flush);

// ---- Edit fields ----

// The "%d" reading of a text: leading white space, an optional sign, decimal digits,
// the rest ignored. `fallback` when no digit follows; beyond the range of an int the
// number stops at its limit.
int ScanNumber(LPCWSTR text, int fallback);
// Reads at most `cch` - 1 characters of a field and scans them.
int ReadNumberField(HWND dialog, UINT control, int cch, int fallback);
// Shows a signed decimal number in a field.
void ShowNumber(HWND dialog, UINT control, int number);
// Shows a stored REG_DWORD as the unsigned number it is.
void ShowUnsigned(HWND dialog, UINT control, DWORD number);

// ---- Shared page behaviour ----

// A page's help buttons: each shows its fixed explanation in a box captioned "Help";
// `icon` joins the box's flags (0: none).
struct TweakHelp {
    UINT button;
    LPCWSTR text;
    UINT icon;
};
struct HelpTable {
    const TweakHelp *rows;
    int count;
};
template <const auto &rows>
constexpr HelpTable HelpTableOf()
{
    return {rows, (int)(sizeof rows / sizeof rows[0])};
}
// Shows the explanation of `control` when it is one of the table's help buttons.
BOOL ShowHelpOfButton(HWND page, const HelpTable &table, UINT control);
// The page contract's Done: IDOK goes to the page's parent, which passes it to the host.
void ForwardDoneToHost(HWND page);
// The shell's initialisation of a page (Done button, full-screen sizing, input panel down).
void InitPageWithShell(HWND page);

#endif
