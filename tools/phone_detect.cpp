// Phone-edition detection: does the device have a usable line named "Cellular Line"?
#include <windows.h>
#include <stdlib.h>
#include <wchar.h>
#include "ceplatform.h"
#include "tools/tools.h"

static const DWORD kDevCapsSize = 1316;
static const WCHAR kCellularLine[] = L"Cellular Line";

// The line name must lie inside the record and be "Cellular Line" as a whole.
static BOOL IsCellularLineName(const LINEDEVCAPS *caps)
{
    DWORD offset = caps->dwLineNameOffset;
    DWORD size = caps->dwLineNameSize;
    DWORD limit = caps->dwUsedSize && caps->dwUsedSize < kDevCapsSize ? caps->dwUsedSize : kDevCapsSize;
    if (size == 0 || offset > limit || size > limit - offset) return FALSE;
    const WCHAR *name = (const WCHAR *)((const BYTE *)caps + offset);
    size_t chars = 0;  // up to the null or the end of the field, as the device has no wcsnlen
    while (chars < size / sizeof(WCHAR) && name[chars]) chars++;
    size_t expected = wcslen(kCellularLine);
    return chars == expected && _wcsnicmp(name, kCellularLine, expected) == 0;
}

BOOL HasCellularLine(void)
{
    HLINEAPP app = 0;
    DWORD deviceCount = 0;
    DWORD apiVersion = 0x00020000;
    LINEINITIALIZEEXPARAMS params;
    ZeroMemory(&params, sizeof params);
    params.dwTotalSize = sizeof params;
    params.dwOptions = LINEINITIALIZEEXOPTION_USEEVENT;
    if (lineInitializeEx(&app, NULL, NULL, L"RUDIRadeze", &deviceCount, &apiVersion, &params) != 0) return FALSE;

    BOOL found = FALSE;
    for (DWORD device = 0; device < deviceCount && !found; device++) {
        DWORD negotiated = 0, extension = 0;
        LINEEXTENSIONID extensionId;
        if (lineNegotiateAPIVersion(app, device, 0x00010003, 0x00020002, &negotiated, &extensionId) != 0) continue;
        if (lineNegotiateExtVersion(app, device, negotiated, 0x00010000, 0x00010001, &extension) != 0) continue;

        LINEDEVCAPS *caps = (LINEDEVCAPS *)calloc(1, kDevCapsSize);
        if (!caps) break;
        caps->dwTotalSize = kDevCapsSize;
        if (lineGetDevCaps(app, device, negotiated, extension, caps) == 0 && IsCellularLineName(caps)) {
            HLINE line = 0;
            if (lineOpen(app, device, &line, negotiated, extension, 0, LINECALLPRIVILEGE_MONITOR | LINECALLPRIVILEGE_OWNER,
                         LINEMEDIAMODE_INTERACTIVEVOICE | LINEMEDIAMODE_DATAMODEM, NULL) == 0) {
                LINEDEVSTATUS status;
                ZeroMemory(&status, sizeof status);
                status.dwTotalSize = sizeof status;
                found = lineGetLineDevStatus(line, &status) == 0;
            }
        }
        free(caps);
    }
    // Shutting the connection down also closes any line opened above.
    lineShutdown(app);
    return found;
}
