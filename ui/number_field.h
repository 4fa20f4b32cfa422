// Numbers in edit fields, read as the device's "%d" reads them.
#ifndef NUMBER_FIELD_H
#define NUMBER_FIELD_H

#include <windows.h>

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

#endif
