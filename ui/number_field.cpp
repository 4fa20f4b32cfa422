// Numbers in edit fields.
#include "ui/number_field.h"

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
