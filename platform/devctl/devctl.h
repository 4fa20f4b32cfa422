// The device-control command: what its files offer one another.
#ifndef DEVCTL_H
#define DEVCTL_H

#include <windows.h>

// Exit codes.
enum { EXIT_DONE = 0, EXIT_REFUSED = 1, EXIT_USAGE = 2 };

// output.cpp: text to the terminal, UTF-8 when it is not a console.
void Out(const WCHAR *format, ...);
void Err(const WCHAR *format, ...);
void PrintUsage(void);

// parse.cpp: strict numbers. Sizes take an optional K, M or G suffix.
BOOL ParseNumber(const WCHAR *text, ULONGLONG max, ULONGLONG *value);
BOOL ParseSignedNumber(const WCHAR *text, LONGLONG min, LONGLONG max, LONGLONG *value);
BOOL ParseSize(const WCHAR *text, ULONGLONG max, ULONGLONG *value);
// "key=value": splits into the two parts (key lower-cased is not needed: keys compare
// without case). FALSE when there is no '=' or either side is empty.
BOOL SplitSetting(const WCHAR *argument, WCHAR *key, size_t keyCch, const WCHAR **value);

// font_check.cpp: TRUE when a dialog asking for Tahoma 8 gets the device's own Tahoma;
// otherwise says what it got.
BOOL DialogFontIsTheDevices(WCHAR *problem, size_t problemCch);

#endif
