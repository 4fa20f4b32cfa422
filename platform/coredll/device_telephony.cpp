// Telephony over the device's lines. A connection (lineInitializeEx) sees the lines
// of the profile as they were when it started, one line device each, as a telephony
// service provider would; lines are opened and closed per process, in memory.
#include <windows.h>
#include <stddef.h>
#include <tapi.h>
#include <iterator>
#include <map>
#include "device.h"

namespace {

// The device's telephony is version 2.0; its cellular lines have one extension version.
const DWORD kApiLow = 0x00010003, kApiHigh = 0x00020000;
const DWORD kExtLow = 0x00010000, kExtHigh = 0x00010000;
const DWORD kMediaModes = LINEMEDIAMODE_UNKNOWN | LINEMEDIAMODE_INTERACTIVEVOICE | LINEMEDIAMODE_DATAMODEM;

struct Connection {
    DWORD handle;
    int lineCount;
    SimLine lines[SIM_MAX_LINES];
    HANDLE event;
};

struct OpenLine {
    DWORD handle, connection, device, apiVersion, mediaModes;
};

// By handle.
std::map<DWORD, Connection> g_connections;
std::map<DWORD, OpenLine> g_lines;
DWORD g_nextHandle = 0x10000;
SRWLOCK g_lock = SRWLOCK_INIT;

struct Lock {
    Lock() { AcquireSRWLockExclusive(&g_lock); }
    ~Lock() { ReleaseSRWLockExclusive(&g_lock); }
};

DWORD NewHandle()
{
    if (++g_nextHandle == 0) g_nextHandle = 0x10000;
    return g_nextHandle;
}

template <typename T> T *Find(std::map<DWORD, T> &items, DWORD handle)
{
    auto found = items.find(handle);
    return found == items.end() ? NULL : &found->second;
}

const DWORD kAnyVersion = 0xFFFFFFFF;

// The common checks of the calls that name a connection, a line device and the
// versions agreed for it (kAnyVersion: none given).
LONG CheckDevice(HLINEAPP app, DWORD device, Connection **connection, DWORD api = kAnyVersion, DWORD ext = kAnyVersion)
{
    *connection = Find(g_connections, app);
    if (!*connection) return LINEERR_INVALAPPHANDLE;
    if (device >= (DWORD)(*connection)->lineCount) return LINEERR_BADDEVICEID;
    if (api != kAnyVersion && (api < kApiLow || api > kApiHigh)) return LINEERR_INCOMPATIBLEAPIVERSION;
    if (ext != kAnyVersion && ext != 0 && (ext < kExtLow || ext > kExtHigh)) return LINEERR_INCOMPATIBLEEXTVERSION;
    return 0;
}

}

extern "C" {

LONG WINAPI Ce_lineInitializeExW(LPHLINEAPP app, HINSTANCE, LINECALLBACK callback, LPCWSTR, LPDWORD deviceCount,
                                 LPDWORD apiVersion, LPLINEINITIALIZEEXPARAMS params)
{
    if (!app || !deviceCount || !apiVersion || !params) return LINEERR_INVALPOINTER;
    DeviceProfile profile;
    LoadProfile(&profile);
    DWORD failure = profile.failures[SIM_FAIL_TELEPHONY];
    if (failure) return (failure & 0x80000000) ? (LONG)failure : LINEERR_NODRIVER;
    if (*apiVersion < 0x00020000) return LINEERR_INCOMPATIBLEAPIVERSION;

    // The event option needs room for its handle; a hidden window, a callback.
    const BOOL useEvent = params->dwOptions == LINEINITIALIZEEXOPTION_USEEVENT;
    if (params->dwTotalSize < offsetof(LINEINITIALIZEEXPARAMS, Handles) + (useEvent ? sizeof(HANDLE) : 0))
        return LINEERR_STRUCTURETOOSMALL;
    if (params->dwOptions < LINEINITIALIZEEXOPTION_USEHIDDENWINDOW ||
        params->dwOptions > LINEINITIALIZEEXOPTION_USECOMPLETIONPORT)
        return LINEERR_INVALPARAM;
    if (params->dwOptions == LINEINITIALIZEEXOPTION_USEHIDDENWINDOW && !callback) return LINEERR_INVALPOINTER;

    Lock lock;
    Connection c = {NewHandle(), profile.lineCount};
    CopyMemory(c.lines, profile.lines, sizeof c.lines);
    if (useEvent && !(params->Handles.hEvent = c.event = CreateEventW(NULL, TRUE, FALSE, NULL))) return LINEERR_NOMEM;
    g_connections[c.handle] = c;
    params->dwNeededSize = sizeof(LINEINITIALIZEEXPARAMS);
    params->dwUsedSize = params->dwTotalSize < sizeof(LINEINITIALIZEEXPARAMS) ? params->dwTotalSize
                                                                                : (DWORD)sizeof(LINEINITIALIZEEXPARAMS);
    *app = c.handle;
    *deviceCount = c.lineCount;
    *apiVersion = kApiHigh;
    return 0;
}

LONG WINAPI Ce_lineNegotiateAPIVersion(HLINEAPP app, DWORD device, DWORD low, DWORD high, LPDWORD version,
                                       LPLINEEXTENSIONID extension)
{
    Lock lock;
    Connection *connection;
    LONG error = CheckDevice(app, device, &connection);
    if (error) return error;
    if (!version) return LINEERR_INVALPOINTER;
    if (low > high || high < kApiLow || low > kApiHigh) return LINEERR_INCOMPATIBLEAPIVERSION;
    *version = high < kApiHigh ? high : kApiHigh;
    if (extension) ZeroMemory(extension, sizeof *extension);   // no provider extension
    return 0;
}

LONG WINAPI Ce_lineNegotiateExtVersion(HLINEAPP app, DWORD device, DWORD apiVersion, DWORD low, DWORD high,
                                       LPDWORD version)
{
    Lock lock;
    Connection *connection;
    LONG error = CheckDevice(app, device, &connection, apiVersion);
    if (error) return error;
    if (!version) return LINEERR_INVALPOINTER;
    if (low > high || high < kExtLow || low > kExtHigh) return LINEERR_INCOMPATIBLEEXTVERSION;
    *version = high < kExtHigh ? high : kExtHigh;
    return 0;
}

LONG WINAPI Ce_lineGetDevCapsW(HLINEAPP app, DWORD device, DWORD apiVersion, DWORD extVersion, LPLINEDEVCAPS caps)
{
    Lock lock;
    Connection *connection;
    LONG error = CheckDevice(app, device, &connection, apiVersion, extVersion);
    if (error) return error;
    if (!caps) return LINEERR_INVALPOINTER;

    // The fixed part grows with the version; only the caller's dwTotalSize is ours to fill.
    const DWORD fixed = apiVersion >= 0x00020000 ? offsetof(LINEDEVCAPS, PermanentLineGuid)
                                                 : offsetof(LINEDEVCAPS, dwSettableDevStatus);
    const DWORD total = caps->dwTotalSize;
    if (total < fixed) return LINEERR_STRUCTURETOOSMALL;
    ZeroMemory((BYTE *)caps + sizeof(DWORD), fixed - sizeof(DWORD));

    caps->dwPermanentLineID = device + 1;
    caps->dwStringFormat = STRINGFORMAT_UNICODE;
    caps->dwAddressModes = LINEADDRESSMODE_ADDRESSID;
    caps->dwNumAddresses = 1;
    caps->dwBearerModes = LINEBEARERMODE_VOICE | LINEBEARERMODE_DATA;
    caps->dwMaxRate = 9600;
    caps->dwMediaModes = kMediaModes;
    caps->dwDevCapFlags = LINEDEVCAPFLAGS_CLOSEDROP;
    caps->dwMaxNumActiveCalls = 1;
    caps->dwAnswerMode = LINEANSWERMODE_HOLD;
    caps->dwRingModes = 1;
    caps->dwLineStates = LINEDEVSTATE_RINGING | LINEDEVSTATE_CONNECTED | LINEDEVSTATE_DISCONNECTED |
                         LINEDEVSTATE_INSERVICE | LINEDEVSTATE_OUTOFSERVICE | LINEDEVSTATE_SIGNAL |
                         LINEDEVSTATE_BATTERY | LINEDEVSTATE_OPEN | LINEDEVSTATE_CLOSE;
    caps->dwLineFeatures = LINEFEATURE_MAKECALL;

    const WCHAR *name = connection->lines[device].name;
    const DWORD nameBytes = (DWORD)((wcslen(name) + 1) * sizeof(WCHAR));
    caps->dwNeededSize = fixed + nameBytes;
    caps->dwUsedSize = fixed;
    if (total >= fixed + nameBytes) {
        CopyMemory((BYTE *)caps + fixed, name, nameBytes);
        caps->dwLineNameOffset = fixed;
        caps->dwLineNameSize = nameBytes;
        caps->dwUsedSize = fixed + nameBytes;
    }
    return 0;
}

LONG WINAPI Ce_lineOpenW(HLINEAPP app, DWORD device, LPHLINE line, DWORD apiVersion, DWORD extVersion, DWORD_PTR,
                         DWORD privileges, DWORD mediaModes, LPLINECALLPARAMS)
{
    Lock lock;
    Connection *connection;
    LONG error = CheckDevice(app, device, &connection, apiVersion, extVersion);   // no line mapper here
    if (error) return error;
    if (!line) return LINEERR_INVALPOINTER;
    // None alone, or monitor, owner or both.
    DWORD privilege = privileges & (LINECALLPRIVILEGE_NONE | LINECALLPRIVILEGE_MONITOR | LINECALLPRIVILEGE_OWNER);
    if (!privilege || ((privilege & LINECALLPRIVILEGE_NONE) && privilege != LINECALLPRIVILEGE_NONE))
        return LINEERR_INVALPRIVSELECT;
    if ((privilege & LINECALLPRIVILEGE_OWNER) && (mediaModes == 0 || (mediaModes & ~kMediaModes)))
        return LINEERR_INVALMEDIAMODE;
    if (connection->lines[device].cannotOpen) return LINEERR_RESOURCEUNAVAIL;

    OpenLine open = {NewHandle(), connection->handle, device, apiVersion,
                     (privilege & LINECALLPRIVILEGE_OWNER) ? mediaModes : 0};
    g_lines[open.handle] = open;
    *line = open.handle;
    return 0;
}

LONG WINAPI Ce_lineGetLineDevStatusW(HLINE line, LPLINEDEVSTATUS status)
{
    SimBattery battery;
    SimGetBattery(&battery);
    Lock lock;
    OpenLine *open = Find(g_lines, line);
    if (!open) return LINEERR_INVALLINEHANDLE;
    if (!status) return LINEERR_INVALPOINTER;
    const DWORD fixed = open->apiVersion >= 0x00020000 ? sizeof(LINEDEVSTATUS)
                                                       : offsetof(LINEDEVSTATUS, dwAvailableMediaModes);
    if (status->dwTotalSize < fixed) return LINEERR_STRUCTURETOOSMALL;
    ZeroMemory((BYTE *)status + sizeof(DWORD), fixed - sizeof(DWORD));
    status->dwNeededSize = fixed;
    status->dwUsedSize = fixed;
    for (const auto &entry : g_lines) {
        const OpenLine *other = &entry.second;
        if (other->device != open->device) continue;
        // Device numbers are per connection, but every connection sees the same lines.
        ++status->dwNumOpens;
        status->dwOpenMediaModes |= other->mediaModes;
    }
    status->dwLineFeatures = LINEFEATURE_MAKECALL;
    status->dwSignalLevel = 0xC000;
    status->dwBatteryLevel = battery.lifePercent > 100 ? 0xFFFF : battery.lifePercent * 0xFFFFu / 100;
    status->dwRoamMode = LINEROAMMODE_HOME;
    status->dwDevStatusFlags = LINEDEVSTATUSFLAGS_CONNECTED | LINEDEVSTATUSFLAGS_INSERVICE;
    if (fixed == sizeof(LINEDEVSTATUS)) status->dwAvailableMediaModes = kMediaModes;
    return 0;
}

LONG WINAPI Ce_lineClose(HLINE line)
{
    Lock lock;
    return g_lines.erase(line) ? 0 : LINEERR_INVALLINEHANDLE;
}

LONG WINAPI Ce_lineShutdown(HLINEAPP app)
{
    Lock lock;
    Connection *connection = Find(g_connections, app);
    if (!connection) return LINEERR_INVALAPPHANDLE;
    for (auto entry = g_lines.begin(); entry != g_lines.end();)
        entry = entry->second.connection == app ? g_lines.erase(entry) : std::next(entry);
    if (connection->event) CloseHandle(connection->event);
    g_connections.erase(app);
    return 0;
}

int SimOpenTelephonyCount(int *openLines)
{
    Lock lock;
    if (openLines) *openLines = (int)g_lines.size();
    return (int)g_connections.size();
}

}
