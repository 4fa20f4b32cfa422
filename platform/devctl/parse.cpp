// Arguments of the device-control command: numbers are taken whole or not at all.
#include <windows.h>
#include <errno.h>
#include <stdlib.h>
#include <wchar.h>
#include "devctl.h"

BOOL ParseNumber(const WCHAR *text, ULONGLONG max, ULONGLONG *value)
{
    if (!iswdigit(text[0])) return FALSE;   // no sign, no space
    WCHAR *end;
    errno = 0;
    ULONGLONG n = _wcstoui64(text, &end, text[0] == L'0' && (text[1] | 0x20) == L'x' ? 16 : 10);
    if (*end || errno == ERANGE || n > max) return FALSE;
    *value = n;
    return TRUE;
}

BOOL ParseSignedNumber(const WCHAR *text, LONGLONG min, LONGLONG max, LONGLONG *value)
{
    BOOL negative = text[0] == L'-';
    ULONGLONG magnitude;
    if (!ParseNumber(text + (negative || text[0] == L'+'), negative ? (ULONGLONG)-min : (ULONGLONG)max, &magnitude))
        return FALSE;
    *value = negative ? -(LONGLONG)magnitude : (LONGLONG)magnitude;
    return *value >= min;
}

BOOL ParseSize(const WCHAR *text, ULONGLONG max, ULONGLONG *value)
{
    WCHAR digits[32];
    size_t n = wcslen(text);
    if (n == 0 || n >= 32) return FALSE;
    wcscpy(digits, text);
    ULONGLONG unit = 1;
    switch (digits[n - 1]) {
    case L'k': case L'K': unit = 1024ull; break;
    case L'm': case L'M': unit = 1024ull * 1024ull; break;
    case L'g': case L'G': unit = 1024ull * 1024ull * 1024ull; break;
    }
    if (unit != 1) digits[n - 1] = 0;
    ULONGLONG count;
    if (!ParseNumber(digits, max / unit, &count)) return FALSE;
    *value = count * unit;
    return TRUE;
}

BOOL SplitSetting(const WCHAR *argument, WCHAR *key, size_t keyCch, const WCHAR **value)
{
    const WCHAR *eq = wcschr(argument, L'=');
    if (!eq || eq == argument || !eq[1] || (size_t)(eq - argument) >= keyCch) return FALSE;
    wcsncpy(key, argument, eq - argument);
    key[eq - argument] = 0;
    *value = eq + 1;
    return TRUE;
}
