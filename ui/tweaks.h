// The tweak mechanism shared by every page: a page lists its registry-bound check
// boxes as a table of rows, `LoadTweaks` ticks the boxes from the registry when the
// page opens, and `WriteTweak` stores a box the moment it changes. What is special to
// one page (spinners, number fields, refusals) stays in that page, built from the
// registry access of ui/registry.h.
#ifndef TWEAKS_H
#define TWEAKS_H

#include <windows.h>

// The registry roots a row names; kept as constants rather than HKEYs so that a table
// is constant data.
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

// The most keys one box is bound to: a box's keys are all opened before any is written,
// and a box bound to more is refused whole.
#define MOST_KEYS_OF_A_BOX 4

// Key names compare without regard to case, as the registry compares them.
BOOL SameKeyName(LPCWSTR a, LPCWSTR b);

// A table from an array of rows.
#define TWEAK_TABLE(rows) {rows, (int)(sizeof rows / sizeof rows[0])}

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

#endif
