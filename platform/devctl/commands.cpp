// The device-control command of the simulated device, each subcommand a plain function
// over its arguments. They change the device only through coredll's device services.
#include <windows.h>
#include <stddef.h>
#include <tlhelp32.h>
#include <tapi.h>
#include <wchar.h>
#include "ceplatform.h"
#include "simdevice.h"
#include "devctl.h"

namespace {

const WCHAR *const kShapes[] = {L"portrait", L"landscape", L"square"};

int Usage(const WCHAR *problem)
{
    Err(L"devctl: %ls\n", problem);
    Err(L"Run \"devctl help\" for the commands.\n");
    return EXIT_USAGE;
}

int Refused(const WCHAR *problem)
{
    Err(L"devctl: %ls\n", problem);
    return EXIT_REFUSED;
}

BOOL Is(const WCHAR *a, const WCHAR *b) { return lstrcmpiW(a, b) == 0; }

// The screen is an X display. Started with none, this process could neither turn nor
// darken the screen the device's programs are on, only a desktop nobody sees.
BOOL HasDisplay()
{
    WCHAR name[2];
    return GetEnvironmentVariableW(L"DISPLAY", name, 2) > 0;
}

int NoDisplay(const WCHAR *command)
{
    Err(L"devctl: there is no display: %ls needs the display the device's screen is on (set DISPLAY)\n", command);
    return EXIT_REFUSED;
}

// The program draws its gauges when it paints. A new battery, memory or card reading
// repaints every window of the screen, so that what is shown is the device's reading.
void RepaintScreen()
{
    RedrawWindow(NULL, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

DWORD ParentProcessId()
{
    DWORD parent = 0, self = GetCurrentProcessId();
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return 0;
    PROCESSENTRY32W entry;
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry))
        if (entry.th32ProcessID == self) { parent = entry.th32ParentProcessID; break; }
    CloseHandle(snapshot);
    return parent;
}

// ---- show: one line per reading, the same line each change prints ----

void PrintScreen()
{
    Out(L"Screen: %ls, %dx%d\n", kShapes[SimGetScreenShape()], GetSystemMetrics(SM_CXSCREEN),
        GetSystemMetrics(SM_CYSCREEN));
}

void PrintBattery()
{
    SimBattery b;
    SimGetBattery(&b);
    Out(L"Battery: percent=%u flag=%u chemistry=%u ac=%u voltage=%lu current=%ld temperature=%lu fail=%d\n",
        b.lifePercent, b.flag, b.chemistry, b.acLineStatus, b.voltage, b.current, b.temperature, b.statusFails ? 1 : 0);
}

void PrintMemory()
{
    DWORD total, available;
    SimGetMemory(&total, &available);
    Out(L"Memory: total=%lu avail=%lu\n", total, available);
}

// The version the device's programs see, from the device's own service.
OSVERSIONINFOW OsVersionNow()
{
    OSVERSIONINFOW v = {sizeof v};
    GetVersionExW(&v);
    return v;
}

void PrintOsVersion()
{
    OSVERSIONINFOW v = OsVersionNow();
    Out(L"OS version: %lu.%lu.%lu\n", v.dwMajorVersion, v.dwMinorVersion, v.dwBuildNumber);
}

void PrintCard(const WCHAR *what, const SimCard &card)
{
    Out(L"%ls\"%ls\"  total %I64u  free %I64u%ls\n", what, card.name, card.totalBytes, card.freeBytes,
        card.unreadable ? L"  unreadable" : L"");
}

void PrintLine(const WCHAR *what, const SimLine &line)
{
    Out(L"%ls\"%ls\"%ls\n", what, line.name, line.cannotOpen ? L"  cannot be opened" : L"");
}

void ListCards()
{
    SimCard cards[SIM_MAX_CARDS];
    int n = SimGetCards(cards, SIM_MAX_CARDS);
    Out(L"Storage cards: %d\n", n);
    for (int i = 0; i < n && i < SIM_MAX_CARDS; ++i) PrintCard(L"  ", cards[i]);
}

void ListLines()
{
    SimLine lines[SIM_MAX_LINES];
    int n = SimGetLines(lines, SIM_MAX_LINES);
    Out(L"Telephony lines: %d\n", n);
    for (int i = 0; i < n && i < SIM_MAX_LINES; ++i) PrintLine(L"  ", lines[i]);
}

int Show()
{
    WCHAR dir[MAX_PATH];
    if (!SimGetDeviceDir(dir, MAX_PATH)) dir[0] = 0;
    Out(L"Device folder: %ls\n", dir);
    PrintOsVersion();
    PrintScreen();
    PrintBattery();
    PrintMemory();
    ListCards();
    ListLines();
    Out(L"Telephony: %ls\n", SimGetFailure(SIM_FAIL_TELEPHONY) ? L"off" : L"on");
    Out(L"Power: %ls\n", SimIsSuspended() ? L"asleep" : L"on");
    Out(L"Clean boot flag: %ls\n", SimGetCleanBootFlag() ? L"set" : L"clear");
    Out(L"Boot count: %lu\n", SimGetBootCount());
    DWORD error;
    if (!SimGetLastApply(&error)) Out(L"Last registry restore: none\n");
    else if (!error) Out(L"Last registry restore: applied\n");
    else Out(L"Last registry restore: failed (error %lu); the registry is as it was, the image still staged\n", error);
    return EXIT_DONE;
}

// ---- rotate, reset, power ----

int Rotate(int argc, wchar_t **argv)
{
    if (argc != 1) return Usage(L"rotate takes one shape: portrait, landscape or square");
    for (int shape = 0; shape < 3; ++shape) {
        if (!Is(argv[0], kShapes[shape])) continue;
        if (!HasDisplay()) return NoDisplay(L"rotate");
        if (!SimRotate(shape)) return Refused(L"the display has no mode of that shape");
        PrintScreen();
        return EXIT_DONE;
    }
    return Usage(L"unknown shape; use portrait, landscape or square");
}

int Reset(int argc, wchar_t **argv)
{
    if (argc != 1 || (!Is(argv[0], L"soft") && !Is(argv[0], L"hard"))) return Usage(L"reset takes soft or hard");
    BOOL hard = Is(argv[0], L"hard");
    // A reset stops every program of the device. The one that asked for it (the shell
    // or script that ran this command) is spared; this process ends with the reset.
    int ended = SimEndDevicePrograms(ParentProcessId());
    Out(L"%ls reset: %d program(s) ended\n", hard ? L"Hard" : L"Soft", ended);
    DWORD error = 0;
    if (hard) SimHardReset(FALSE);
    else error = SimSoftReset(FALSE);
    if (!error) return EXIT_DONE;
    Err(L"devctl: the restored registry could not be applied (error %lu); the registry is as it was, the image still staged\n", error);
    return EXIT_REFUSED;
}

void PumpWhileAsleep()
{
    while (SimIsSuspended()) {
        MSG msg;
        while (PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        MsgWaitForMultipleObjects(0, NULL, FALSE, 100, QS_ALLINPUT);
    }
}

int Power(int argc)
{
    if (argc != 0) return Usage(L"power takes no arguments");
    // The device's own key service, by name: the desktop one of the same name would
    // only send the key to a window.
    typedef void(WINAPI * KeyEventProc)(BYTE, BYTE, DWORD, ULONG_PTR);
    KeyEventProc keyEvent = (KeyEventProc)(void *)GetProcAddress(GetModuleHandleW(L"coredll.dll"), "keybd_event");
    if (!keyEvent) return Refused(L"the device has no power key");
    if (!HasDisplay()) return NoDisplay(L"power");
    BOOL wasAsleep = SimIsSuspended();
    keyEvent(VK_OFF, 0, 0, 0);
    keyEvent(VK_OFF, 0, KEYEVENTF_KEYUP, 0);
    if (!wasAsleep) {
        // The dark screen belongs to this process: it lasts as long as the device sleeps.
        Out(L"The device sleeps; a tap on the screen or \"devctl wake\" wakes it.\n");
        PumpWhileAsleep();
    }
    Out(L"The device is on.\n");
    return EXIT_DONE;
}

int Wake(int argc)
{
    if (argc != 0) return Usage(L"wake takes no arguments");
    if (!SimIsSuspended()) {
        Out(L"The device is already on.\n");
        return EXIT_DONE;
    }
    SimWake();
    Out(L"The device is on.\n");
    return EXIT_DONE;
}

// The stylus: a press and a release at one point of the screen.
int Tap(int argc, wchar_t **argv)
{
    ULONGLONG x, y;
    if (argc != 2 || !ParseNumber(argv[0], 0xFFFF, &x) || !ParseNumber(argv[1], 0xFFFF, &y))
        return Usage(L"tap takes a point of the screen, X Y");
    if (!HasDisplay()) return NoDisplay(L"tap");
    int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    if ((int)x >= width || (int)y >= height) return Usage(L"that point lies off the screen");
    INPUT inputs[3];
    ZeroMemory(inputs, sizeof inputs);
    for (INPUT &input : inputs) {
        input.type = INPUT_MOUSE;
        input.mi.dx = (LONG)((x * 65535 + width / 2) / (width - 1));
        input.mi.dy = (LONG)((y * 65535 + height / 2) / (height - 1));
    }
    inputs[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    inputs[1].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_ABSOLUTE;
    inputs[2].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_LEFTUP | MOUSEEVENTF_ABSOLUTE;
    // The pointer reaches the X server after the move; a press sent with the move may
    // land where the pointer was.
    SendInput(1, &inputs[0], sizeof(INPUT));
    for (int i = 0; i < 50; ++i) {
        POINT at;
        if (GetCursorPos(&at) && at.x == (LONG)x && at.y == (LONG)y) break;
        Sleep(10);
    }
    SendInput(2, &inputs[1], sizeof(INPUT));
    Out(L"Tapped the screen at %I64u,%I64u\n", x, y);
    return EXIT_DONE;
}

// ---- battery, memory, os, telephony ----

// Each battery setting is a number in its range; "unknown" readings (255) are allowed
// where the device reports them.
struct BatterySetting {
    const WCHAR *key;
    size_t offset, size;
    LONGLONG min, max;
    BOOL unknownToo;
    const WCHAR *problem;
};
#define SETTING(key, member, min, max, unknown, problem) \
    {key, offsetof(SimBattery, member), sizeof(((SimBattery *)0)->member), min, max, unknown, problem}
const BatterySetting kBatterySettings[] = {
    SETTING(L"percent", lifePercent, 0, 100, TRUE, L"percent is 0 to 100, or 255 for no reading"),
    SETTING(L"flag", flag, 0, 255, FALSE, L"flag is 0 to 255"),
    SETTING(L"chemistry", chemistry, 0, 255, FALSE, L"chemistry is 0 to 255"),
    SETTING(L"ac", acLineStatus, 0, 1, TRUE, L"ac is 0, 1 or 255"),
    SETTING(L"voltage", voltage, 0, 0xFFFFFFFF, FALSE, L"voltage is in millivolts, 0 or more"),
    SETTING(L"current", current, -0x80000000LL, 0x7FFFFFFF, FALSE, L"current is in milliamperes, negative while discharging"),
    SETTING(L"temperature", temperature, 0, 0xFFFFFFFF, FALSE, L"temperature is a raw reading, 0 or more"),
    SETTING(L"fail", statusFails, 0, 1, FALSE, L"fail is 0 or 1"),
};

int Battery(int argc, wchar_t **argv)
{
    if (argc == 0) return Usage(L"battery needs at least one setting, such as percent=50");
    SimBattery b;
    SimGetBattery(&b);
    for (int i = 0; i < argc; ++i) {
        WCHAR key[32];
        const WCHAR *value;
        if (!SplitSetting(argv[i], key, 32, &value)) return Usage(L"battery settings are written key=value");
        const BatterySetting *setting = NULL;
        for (const BatterySetting &s : kBatterySettings)
            if (Is(key, s.key)) setting = &s;
        if (!setting) return Usage(L"unknown battery setting");
        LONGLONG n;
        if (!ParseSignedNumber(value, setting->min, setting->unknownToo ? 255 : setting->max, &n) ||
            (n > setting->max && n != 255))
            return Usage(setting->problem);
        CopyMemory((BYTE *)&b + setting->offset, &n, setting->size);   // little-endian: the low bytes
    }
    SimSetBattery(&b);
    RepaintScreen();
    PrintBattery();
    return EXIT_DONE;
}

int Memory(int argc, wchar_t **argv)
{
    if (argc == 0) return Usage(L"memory needs total=N, avail=N or both");
    DWORD total, available;
    SimGetMemory(&total, &available);
    BOOL availableGiven = FALSE;
    for (int i = 0; i < argc; ++i) {
        WCHAR key[32];
        const WCHAR *value;
        ULONGLONG n;
        if (!SplitSetting(argv[i], key, 32, &value)) return Usage(L"memory settings are written key=value");
        if (!Is(key, L"total") && !Is(key, L"avail")) return Usage(L"memory takes total= and avail=");
        if (!ParseSize(value, 0xFFFFFFFFu, &n)) return Usage(L"memory sizes are bytes below 4G (K, M, G allowed)");
        if (Is(key, L"total")) total = (DWORD)n;
        else { available = (DWORD)n; availableGiven = TRUE; }
    }
    if (total == 0) return Usage(L"total memory must be more than 0");
    if (available > total) {
        if (availableGiven) return Usage(L"available memory cannot exceed the total");
        available = total;
    }
    SimSetMemory(total, available);
    RepaintScreen();
    PrintMemory();
    return EXIT_DONE;
}

int OsVersion(int argc, wchar_t **argv)
{
    if (argc != 1) return Usage(L"os takes one version, MAJOR.MINOR[.BUILD]");
    OSVERSIONINFOW now = OsVersionNow();
    DWORD parts[3] = {now.dwMajorVersion, now.dwMinorVersion, now.dwBuildNumber};
    WCHAR text[64];
    if (wcslen(argv[0]) >= 64) return Usage(L"not a version: MAJOR.MINOR[.BUILD]");
    wcscpy(text, argv[0]);
    WCHAR *piece = text;
    int count = 0;
    while (piece) {
        WCHAR *dot = wcschr(piece, L'.');
        if (dot) *dot = 0;
        ULONGLONG n;
        if (count == 3 || !ParseNumber(piece, 0xFFFFFFFFu, &n)) return Usage(L"not a version: MAJOR.MINOR[.BUILD]");
        parts[count++] = (DWORD)n;
        piece = dot ? dot + 1 : NULL;
    }
    if (count < 2) return Usage(L"not a version: MAJOR.MINOR[.BUILD]");
    SimSetOsVersion(parts[0], parts[1], parts[2]);
    PrintOsVersion();
    return EXIT_DONE;
}

int Telephony(int argc, wchar_t **argv)
{
    if (argc != 1 || (!Is(argv[0], L"on") && !Is(argv[0], L"off"))) return Usage(L"telephony takes on or off");
    SimSetFailure(SIM_FAIL_TELEPHONY, Is(argv[0], L"off") ? (DWORD)LINEERR_NODRIVER : 0);
    Out(L"Telephony: %ls\n", SimGetFailure(SIM_FAIL_TELEPHONY) ? L"off" : L"on");
    return EXIT_DONE;
}

// ---- cards and lines ----

// A name the device takes: 1 to 63 printable characters, no spaces at its ends; a
// card's is also a folder name, or empty for the root as some devices list it.
BOOL UsableName(const WCHAR *name, BOOL folder)
{
    size_t n = wcslen(name);
    if (folder && n == 0) return TRUE;
    BOOL usable = n > 0 && n < 64 && name[0] != L' ' && name[n - 1] != L' ';
    for (size_t i = 0; usable && i < n; ++i) usable = name[i] >= 0x20;
    return usable && (!folder || (!wcspbrk(name, L"\\/:*?\"<>|") && name[n - 1] != L'.'));
}

// The index of the item of that name in any case, or -1.
template <typename Item> int Named(const Item *items, int count, const WCHAR *name)
{
    for (int i = 0; i < count; ++i)
        if (Is(items[i].name, name)) return i;
    return -1;
}

template <typename Item> Item Removed(Item *items, int *count, int at)
{
    Item removed = items[at];
    for (int j = at + 1; j < *count; ++j) items[j - 1] = items[j];
    --*count;
    return removed;
}

int Card(int argc, wchar_t **argv)
{
    SimCard cards[SIM_MAX_CARDS];
    int count = SimGetCards(cards, SIM_MAX_CARDS), at;
    if (count > SIM_MAX_CARDS) count = SIM_MAX_CARDS;
    if (argc == 1 && Is(argv[0], L"list")) {
        ListCards();
        return EXIT_DONE;
    }
    if (argc >= 2 && Is(argv[0], L"add")) {
        // NAME, then TOTAL FREE or nothing, then "unreadable" or nothing.
        BOOL sized = argc >= 4;
        if (argc > 5 || (argc == (sized ? 5 : 3) && !Is(argv[argc - 1], L"unreadable")))
            return Usage(L"card add NAME [TOTAL FREE] [unreadable]");
        if (!UsableName(argv[1], TRUE)) return Usage(L"a card name is a folder name of up to 63 characters");
        SimCard card = {};
        wcscpy(card.name, argv[1]);
        card.totalBytes = 128ull * 1024 * 1024;
        card.freeBytes = 96ull * 1024 * 1024;
        if (sized && (!ParseSize(argv[2], ~0ull, &card.totalBytes) || !ParseSize(argv[3], ~0ull, &card.freeBytes)))
            return Usage(L"card sizes are bytes (K, M, G allowed)");
        if (card.freeBytes > card.totalBytes) return Usage(L"a card cannot have more free than total bytes");
        card.unreadable = argc == (sized ? 5 : 3);
        if (Named(cards, count, card.name) >= 0) return Refused(L"the device has a card of that name already");
        if (count == SIM_MAX_CARDS) return Refused(L"the device has no room for another card");
        cards[count++] = card;
        if (!SimSetCards(cards, count)) return Refused(L"the card's folder could not be made");
        RepaintScreen();
        PrintCard(L"Card added: ", card);
        return EXIT_DONE;
    }
    if (argc == 2 && Is(argv[0], L"remove")) {
        if ((at = Named(cards, count, argv[1])) < 0) return Refused(L"the device has no card of that name");
        // The card's folder stays: files on it are the user's.
        SimCard removed = Removed(cards, &count, at);
        if (!SimSetCards(cards, count)) return Refused(L"the card list could not be written");
        RepaintScreen();
        PrintCard(L"Card removed: ", removed);
        return EXIT_DONE;
    }
    return Usage(L"card list, card add NAME [TOTAL FREE] [unreadable] or card remove NAME");
}

int Line(int argc, wchar_t **argv)
{
    SimLine lines[SIM_MAX_LINES];
    int count = SimGetLines(lines, SIM_MAX_LINES), at;
    if (count > SIM_MAX_LINES) count = SIM_MAX_LINES;
    if (argc == 1 && Is(argv[0], L"list")) {
        ListLines();
        return EXIT_DONE;
    }
    if ((argc == 2 || argc == 3) && Is(argv[0], L"add")) {
        if (argc == 3 && !Is(argv[2], L"noopen")) return Usage(L"line add NAME [noopen]");
        if (!UsableName(argv[1], FALSE)) return Usage(L"a line name has 1 to 63 characters, no spaces at its ends");
        if (Named(lines, count, argv[1]) >= 0) return Refused(L"the device has a line of that name already");
        if (count == SIM_MAX_LINES) return Refused(L"the device has no room for another line");
        SimLine line = {};
        wcscpy(line.name, argv[1]);
        line.cannotOpen = argc == 3;
        lines[count++] = line;
        SimSetLines(lines, count);
        PrintLine(L"Line added: ", line);
        return EXIT_DONE;
    }
    if (argc == 2 && Is(argv[0], L"remove")) {
        if ((at = Named(lines, count, argv[1])) < 0) return Refused(L"the device has no line of that name");
        SimLine removed = Removed(lines, &count, at);
        SimSetLines(lines, count);
        PrintLine(L"Line removed: ", removed);
        return EXIT_DONE;
    }
    return Usage(L"line list, line add NAME [noopen] or line remove NAME");
}

int Init(int argc)
{
    if (argc != 0) return Usage(L"init takes no arguments");
    if (!SimCreateDevice()) return Refused(L"the device could not be set up");
    WCHAR problem[300];
    if (!DialogFontIsTheDevices(problem, 300)) return Refused(problem);
    Out(L"Device set up with its factory state.\n");
    return EXIT_DONE;
}

}

int wmain(int argc, wchar_t **argv)
{
    --argc;
    ++argv;
    // The desktop always starts upright; a device remembered on its side is turned back
    // whenever the command runs (the scripts run it first when they start the device).
    if (argc == 0 || (!Is(argv[0], L"rotate") && !Is(argv[0], L"help"))) SimRestoreScreenShape();
    if (argc == 0) return EXIT_DONE;

    const WCHAR *command = argv[0];
    int rest = argc - 1;
    wchar_t **args = argv + 1;
    if (Is(command, L"help") || Is(command, L"-h") || Is(command, L"--help") || Is(command, L"/?")) {
        PrintUsage();
        return EXIT_DONE;
    }
    if (Is(command, L"show")) return rest ? Usage(L"show takes no arguments") : Show();
    if (Is(command, L"rotate")) return Rotate(rest, args);
    if (Is(command, L"reset")) return Reset(rest, args);
    if (Is(command, L"power")) return Power(rest);
    if (Is(command, L"wake")) return Wake(rest);
    if (Is(command, L"tap")) return Tap(rest, args);
    if (Is(command, L"battery")) return Battery(rest, args);
    if (Is(command, L"memory")) return Memory(rest, args);
    if (Is(command, L"card")) return Card(rest, args);
    if (Is(command, L"line")) return Line(rest, args);
    if (Is(command, L"telephony")) return Telephony(rest, args);
    if (Is(command, L"os")) return OsVersion(rest, args);
    if (Is(command, L"init")) return Init(rest);
    return Usage(L"unknown command");
}
