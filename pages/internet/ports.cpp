// Port fields of the mail and networking pages.
#include "pages/internet/ports.h"
#include "ui/tweaks.h"

static const WCHAR kPortRefused[] = L"A port must be a number from 1 to 65535. The port was not changed.";

void ShowStoredPort(HWND page, const PortSetting &port)
{
    SendDlgItemMessageW(page, port.field, EM_LIMITTEXT, port.fieldChars - 1, 0);
    DWORD stored = (DWORD)port.standard;
    ReadDwordAt(port.root, port.key, port.name, &stored);
    ShowNumber(page, port.field, (int)stored);
}

BOOL WritePortFromField(HWND page, const PortSetting &port)
{
    int number = ReadNumberField(page, port.field, port.fieldChars, port.standard);
    if (number < 1 || number > 65535) {
        MessageBoxW(page, kPortRefused, L"Zelvo Rudore", MB_OK);
        return FALSE;
    }
    return WriteDwordAt(port.root, port.key, port.name, (DWORD)number, FALSE);
}
