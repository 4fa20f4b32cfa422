// Port fields of the mail and networking pages.
#include "pages/internet/ports.h"
#include "ui/tweaks.h"
#include "ui/number_field.h"
#include "ui/registry.h"

static const WCHAR kPortRefused[] = L"A port must be a number from 1 to 65535. The port was not changed.";

void ShowStoredPort(HWND page, const PortSetting &port)
{
    SendDlgItemMessageW(page, port.field, EM_LIMITTEXT, port.fieldChars - 1, 0);
    DWORD stored = (DWORD)port.standard;
    HKEY key;
    if (OpenKey(port.root, port.key, &key)) {
        GetDword(key, port.name, &stored);
        RegCloseKey(key);
    }
    ShowNumber(page, port.field, (int)stored);
}

BOOL WritePortFromField(HWND page, const PortSetting &port)
{
    int number = ReadNumberField(page, port.field, port.fieldChars, port.standard);
    if (number < 1 || number > 65535) {
        MessageBoxW(page, kPortRefused, L"Zelvo Rudore", MB_OK);
        return FALSE;
    }
    HKEY key;
    if (!CreateKey(port.root, port.key, &key, NULL)) return FALSE;
    BOOL written = PutDword(key, port.name, (DWORD)number);
    RegCloseKey(key);
    return written;
}
