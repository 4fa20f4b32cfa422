// Port fields of the Internet pages: a number in an edit field, stored as a DWORD
// when its button is pressed.
#ifndef INTERNET_PORTS_H
#define INTERNET_PORTS_H

#include <windows.h>

struct PortSetting {
    UINT field;         // the edit field
    int fieldChars;     // room the field is read with, terminator included
    HKEY root;
    LPCWSTR key;
    LPCWSTR name;
    int standard;       // shown when none is stored, written when the field holds no number
};

// Shows the stored port, or the standard one; the field takes no more than is read.
void ShowStoredPort(HWND page, const PortSetting &port);
// Stores the field's number. A number outside 1 to 65535 is no port: it is refused
// with a message and nothing is written. TRUE when written.
BOOL WritePortFromField(HWND page, const PortSetting &port);

#endif
