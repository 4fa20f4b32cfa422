// Arguments of the device-control command: numbers are taken whole or not at all.
#include <windows.h>
#include <wchar.h>
#include "devctl.h"

BOOL ParseNumber(const WCHAR *text, ULONGLONG max, ULONGLONG *value)
{
    int base = 10;
    if (text[0] == L'0' && (text[1] == L'x' || text[1] == L'X')) { base = 16; text += 2; }
    if (!*text) return FALSE;
    ULONGLONG result = 0;
    for (; *text; ++text) {
        int digit;
        if (*text >= L'0' && *text <= L'9') digit = *text - L'0';
        else if (base == 16 && *text >= L'a' && *text <= L'f') digit = *text - L'a' + 10;
        else if (base == 16 && *text >= L'A' && *text <= L'F') digit = *text - L'A' + 10;
        else return FALSE;
        if ((ULONGLONG)digit > max || result > (max - digit) / base) return FALSE;
        result = result * base + digit;
    }
    *value = result;
    return TRUE;
}

BOOL ParseSignedNumber(const WCHAR *text, LONGLONG min, LONGLONG max, LONGLONG *value)
{
    BOOL negative = text[0] == L'-';
    if (negative || text[0] == L'+') ++text;
    ULONGLONG magnitude;
    if (!ParseNumber(text, (ULONGLONG)max + 1, &magnitude)) return FALSE;
    LONGLONG result = negative ? -(LONGLONG)magnitude : (LONGLONG)magnitude;
    if (result < min || result > max) return FALSE;
    *value = result;
    return TRUE;
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
