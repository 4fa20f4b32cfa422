// The device-control command of the simulated device, each subcommand a plain function
// over its arguments. They change the device only through coredll's device services.
#include <windows.h>
#include <stdarg.h>
#include <stddef.h>
#include <stdio.h>
#include <stdlib.h>
#include <winternl.h>
#include <tapi.h>
#include <wchar.h>
#include "ceplatform.h"
#include "simdevice.h"

namespace {

enum { EXIT_DONE = 0, EXIT_REFUSED = 1, EXIT_USAGE = 2 };

const WCHAR *const kShapes[] = {L"portrait", L"landscape", L"square"};

const WCHAR kUsage[] =
    L"usage: devctl COMMAND [ARGUMENTS]\n"
    L"Changes the simulated device. Without a command it only brings the device up.\n"
    L"\n"
    L"  show                          what the device is and how it stands\n"
    L"  rotate portrait|landscape|square\n"
    L"                                turns the screen: 480x640, 640x480 or 480x480\n"
    L"  reset soft|hard               ends the device's programs and resets it\n"
    L"  power                         presses the power key; waits while the device sleeps\n"
    L"                                (a tap on the screen or \"devctl wake\" wakes it)\n"
    L"  wake                          wakes a sleeping device\n"
    L"  tap X Y                       taps the screen there with the stylus\n"
    L"  battery [percent=N] [flag=N] [voltage=N] [current=N] [temperature=N]\n"
    L"          [chemistry=N] [ac=N] [fail=0|1]\n"
    L"  memory [total=N] [avail=N]    bytes, or with a K, M or G suffix\n"
    L"  card list | add NAME [TOTAL FREE] [unreadable] | remove NAME\n"
    L"  line list | add NAME [noopen] | remove NAME\n"
    L"  telephony on|off\n"
    L"  os MAJOR.MINOR[.BUILD]\n"
    L"  init                          sets the device up with its factory state\n"
    L"  help\n"
    L"\n"
    L"Each change prints one line: the device's new reading.\n"
    L"rotate, power and tap need the display the device's screen is on ($DISPLAY).\n"
    L"Exit codes: 0 done, 1 the device refused, 2 bad arguments.\n";

// Text to the terminal, UTF-8 when it is not a console.
void Print(DWORD which, const WCHAR *format, ...)
{
    WCHAR text[2048];
    va_list args;
    va_start(args, format);
    _vsnwprintf(text, 2047, format, args);
    va_end(args);
    text[2047] = 0;
    HANDLE handle = GetStdHandle(which);
    DWORD written, mode;
    if (GetConsoleMode(handle, &mode)) {
        WriteConsoleW(handle, text, (DWORD)wcslen(text), &written, NULL);
        return;
    }
    char bytes[2048 * 3];
    int count = WideCharToMultiByte(CP_UTF8, 0, text, -1, bytes, sizeof bytes, NULL, NULL);
    if (count > 1) WriteFile(handle, bytes, (DWORD)(count - 1), &written, NULL);
}
#define Out(...) Print(STD_OUTPUT_HANDLE, __VA_ARGS__)
#define Err(...) Print(STD_ERROR_HANDLE, __VA_ARGS__)

// A size takes an optional K, M or G suffix.
BOOL ParseSize(const WCHAR *text, ULONGLONG max, ULONGLONG *value)
{
    WCHAR digits[32];
    size_t n = wcslen(text);
    if (n == 0 || n >= 32) return FALSE;
    wcscpy(digits, text);
    const WCHAR *suffix = wcschr(L"KkMmGg", digits[n - 1]);
    ULONGLONG unit = suffix ? 1ull << (10 * (1 + (suffix - L"KkMmGg") / 2)) : 1;
    if (suffix) digits[n - 1] = 0;
    if (!SimParseNumber(digits, max / unit, value)) return FALSE;
    *value *= unit;
    return TRUE;
}

// "key=value": FALSE when there is no '=' or either side is empty.
BOOL SplitSetting(const WCHAR *argument, WCHAR (&key)[32], const WCHAR **value)
{
    const WCHAR *eq = wcschr(argument, L'=');
    if (!eq || eq == argument || !eq[1] || eq - argument >= 32) return FALSE;
    wcsncpy(key, argument, eq - argument);
    key[eq - argument] = 0;
    *value = eq + 1;
    return TRUE;
}

int Usage(const WCHAR *problem)
{
    Err(L"devctl: %ls\nRun \"devctl help\" for the commands.\n", problem);
    return EXIT_USAGE;
}

int Refused(const WCHAR *problem)
{
    Err(L"devctl: %ls\n", problem);
    return EXIT_REFUSED;
}

// The profile holds every setting; one that cannot be written takes no change.
const WCHAR kNotStored[] = L"the device could not store the change (its profile cannot be written); nothing was changed";

BOOL Is(const WCHAR *a, const WCHAR *b) { return lstrcmpiW(a, b) == 0; }

// The screen is an X display. Started with none, this process could neither turn nor
// darken the screen the device's programs are on, only a desktop nobody sees.
int NeedsDisplay(const WCHAR *command)
{
    WCHAR name[2];
    if (GetEnvironmentVariableW(L"DISPLAY", name, 2) > 0) return EXIT_DONE;
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
    PROCESS_BASIC_INFORMATION info;
    typedef LONG(NTAPI * QueryProc)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);
    QueryProc query = (QueryProc)(void *)GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess");
    return query && !query(GetCurrentProcess(), ProcessBasicInformation, &info, sizeof info, NULL)
               ? (DWORD)info.InheritedFromUniqueProcessId : 0;
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
OSVERSIONINFOW PrintOsVersion(BOOL print = TRUE)
{
    OSVERSIONINFOW v = {sizeof v};
    GetVersionExW(&v);
    if (print) Out(L"OS version: %lu.%lu.%lu\n", v.dwMajorVersion, v.dwMinorVersion, v.dwBuildNumber);
    return v;
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

template <typename Item, int Max>
int List(const WCHAR *title, int (*get)(Item *, int), void (*print)(const WCHAR *, const Item &))
{
    Item items[Max];
    int n = get(items, Max);
    Out(L"%ls: %d\n", title, n);
    for (int i = 0; i < n && i < Max; ++i) print(L"  ", items[i]);
    return EXIT_DONE;
}
int ListCards() { return List<SimCard, SIM_MAX_CARDS>(L"Storage cards", SimGetCards, PrintCard); }
int ListLines() { return List<SimLine, SIM_MAX_LINES>(L"Telephony lines", SimGetLines, PrintLine); }

int Show(int argc, wchar_t **)
{
    if (argc) return Usage(L"show takes no arguments");
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
    static const WCHAR *const kRecoveries[] = {
        L"none",
        L"a soft reset cut off by a power loss was finished at the next start: the restored registry is in use",
        L"a soft reset cut off by a power loss could not be finished: the registry is as it was, the image still staged",
        L"a hard reset cut off by a power loss was finished at the next start: the factory registry is in use",
        L"a hard reset cut off by a power loss could not be finished: the registry is as it was"};
    int recovery = SimGetRecovery();
    Out(L"Interrupted reset: %ls\n", recovery > 0 && recovery < 5 ? kRecoveries[recovery] : kRecoveries[0]);
    return EXIT_DONE;
}

// ---- rotate, reset, power ----

int Rotate(int argc, wchar_t **argv)
{
    if (argc != 1) return Usage(L"rotate takes one shape: portrait, landscape or square");
    for (int shape = 0; shape < 3; ++shape) {
        if (!Is(argv[0], kShapes[shape])) continue;
        if (NeedsDisplay(L"rotate")) return EXIT_REFUSED;
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
    DWORD error = hard ? SimHardReset(FALSE) : SimSoftReset(FALSE);
    if (!error) return EXIT_DONE;
    if (!hard)
        Err(L"devctl: the restored registry could not be applied (error %lu); the registry is as it was, the image still staged\n", error);
    else if (error == SIM_HARD_NO_IMAGE)
        Err(L"devctl: the device has no factory registry image; the hard reset was refused and nothing was changed\n");
    else if (error == SIM_HARD_DAMAGED_IMAGE)
        Err(L"devctl: the device's factory registry image is damaged; the hard reset was refused and nothing was changed\n");
    else
        Err(L"devctl: the factory registry could not be applied (error %lu); the registry is as it was\n", error);
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

int Power(int argc, wchar_t **)
{
    if (argc != 0) return Usage(L"power takes no arguments");
    // The device's own key service, by name: the desktop one of the same name would
    // only send the key to a window.
    typedef void(WINAPI * KeyEventProc)(BYTE, BYTE, DWORD, ULONG_PTR);
    KeyEventProc keyEvent = (KeyEventProc)(void *)GetProcAddress(GetModuleHandleW(L"coredll.dll"), "keybd_event");
    if (!keyEvent) return Refused(L"the device has no power key");
    if (NeedsDisplay(L"power")) return EXIT_REFUSED;
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

int Wake(int argc, wchar_t **)
{
    if (argc != 0) return Usage(L"wake takes no arguments");
    BOOL asleep = SimIsSuspended();
    SimWake();
    Out(asleep ? L"The device is on.\n" : L"The device is already on.\n");
    return EXIT_DONE;
}

// The stylus: a press and a release at one point of the screen.
int Tap(int argc, wchar_t **argv)
{
    ULONGLONG x, y;
    if (argc != 2 || !SimParseNumber(argv[0], 0xFFFF, &x) || !SimParseNumber(argv[1], 0xFFFF, &y))
        return Usage(L"tap takes a point of the screen, X Y");
    if (NeedsDisplay(L"tap")) return EXIT_REFUSED;
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
        if (!SplitSetting(argv[i], key, &value)) return Usage(L"battery settings are written key=value");
        const BatterySetting *setting = NULL;
        for (const BatterySetting &s : kBatterySettings)
            if (Is(key, s.key)) setting = &s;
        if (!setting) return Usage(L"unknown battery setting");
        BOOL negative = value[0] == L'-';
        ULONGLONG magnitude;
        LONGLONG max = setting->unknownToo ? 255 : setting->max;
        if (!SimParseNumber(value + negative, negative ? (ULONGLONG)-setting->min : (ULONGLONG)max, &magnitude))
            return Usage(setting->problem);
        LONGLONG n = negative ? -(LONGLONG)magnitude : (LONGLONG)magnitude;
        if (n < setting->min ||
            (n > setting->max && n != 255))
            return Usage(setting->problem);
        CopyMemory((BYTE *)&b + setting->offset, &n, setting->size);   // little-endian: the low bytes
    }
    if (!SimSetBattery(&b)) return Refused(kNotStored);
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
        if (!SplitSetting(argv[i], key, &value)) return Usage(L"memory settings are written key=value");
        if (!Is(key, L"total") && !Is(key, L"avail")) return Usage(L"memory takes total= and avail=");
        if (!ParseSize(value, 0xFFFFFFFFu, &n)) return Usage(L"memory sizes are bytes below 4G (K, M, G allowed)");
        if (Is(key, L"total")) total = (DWORD)n;
        else { available = (DWORD)n; availableGiven = TRUE; }
    }
    if (total == 0) return Usage(L"total memory must be more than 0");
    if (available > total && availableGiven) return Usage(L"available memory cannot exceed the total");
    // which cuts what is available to a smaller total
    if (!SimSetMemory(total, available)) return Refused(kNotStored);
    RepaintScreen();
    PrintMemory();
    return EXIT_DONE;
}

int OsVersion(int argc, wchar_t **argv)
{
    if (argc != 1) return Usage(L"os takes one version, MAJOR.MINOR[.BUILD]");
    OSVERSIONINFOW now = PrintOsVersion(FALSE);
    DWORD parts[3] = {now.dwMajorVersion, now.dwMinorVersion, now.dwBuildNumber};
    int count = 0;
    BOOL ok = TRUE;
    for (WCHAR *piece = argv[0], *dot; ok && piece; piece = dot ? dot + 1 : NULL) {
        if ((dot = wcschr(piece, L'.')) != NULL) *dot = 0;
        ULONGLONG n;
        if ((ok = count < 3 && SimParseNumber(piece, 0xFFFFFFFFu, &n))) parts[count++] = (DWORD)n;
    }
    if (!ok || count < 2) return Usage(L"not a version: MAJOR.MINOR[.BUILD]");
    if (!SimSetOsVersion(parts[0], parts[1], parts[2])) return Refused(kNotStored);
    PrintOsVersion();
    return EXIT_DONE;
}

int Telephony(int argc, wchar_t **argv)
{
    if (argc != 1 || (!Is(argv[0], L"on") && !Is(argv[0], L"off"))) return Usage(L"telephony takes on or off");
    if (!SimSetFailure(SIM_FAIL_TELEPHONY, Is(argv[0], L"off") ? (DWORD)LINEERR_NODRIVER : 0)) return Refused(kNotStored);
    Out(L"Telephony: %ls\n", SimGetFailure(SIM_FAIL_TELEPHONY) ? L"off" : L"on");
    return EXIT_DONE;
}

// ---- cards and lines ----

// A name the device takes: 1 to 63 printable characters, no spaces at its ends; a
// card's is also a folder name (the device refuses the names its file system keeps for
// itself).
BOOL UsableName(const WCHAR *name, BOOL folder)
{
    size_t n = wcslen(name);
    BOOL usable = n > 0 && n < 64 && name[0] != L' ' && name[n - 1] != L' ';
    for (size_t i = 0; usable && i < n; ++i) usable = name[i] >= 0x20;
    return usable && (!folder || (!wcspbrk(name, L"\\/:*?\"<>|") && name[n - 1] != L'.'));
}

// Adds an item, or removes the one of that name in any case, and says which.
template <typename Item, int Max>
int Change(int (*get)(Item *, int), BOOL (*set)(const Item *, int), void (*print)(const WCHAR *, const Item &),
           const WCHAR *noun, const Item *added, const WCHAR *name)
{
    Item items[Max];
    int count = get(items, Max), at = -1;
    if (count > Max) count = Max;
    for (int i = 0; i < count; ++i)
        if (Is(items[i].name, added ? added->name : name)) at = i;
    WCHAR problem[100];
    swprintf(problem, 100, added && at >= 0 ? L"the device has a %ls of that name already"
                          : added           ? L"the device has no room for another %ls"
                                            : L"the device has no %ls of that name", noun);
    if (added ? at >= 0 || count == Max : at < 0) return Refused(problem);
    Item changed = added ? *added : items[at];
    if (added) items[count++] = changed;
    else MoveMemory(&items[at], &items[at + 1], (--count - at) * sizeof(Item));
    if (!set(items, count))
        return Refused(added && !wcscmp(noun, L"card") ? L"the device cannot have a card of that name (a name its file system keeps, "
                                         L"or one of its own folders), or could not store it; nothing was changed"
                                       : L"the device could not take the change; nothing was changed");
    RepaintScreen();
    swprintf(problem, 100, L"%lc%ls %ls: ", towupper(noun[0]), noun + 1, added ? L"added" : L"removed");
    print(problem, changed);
    return EXIT_DONE;
}

int Card(int argc, wchar_t **argv)
{
    if (argc == 1 && Is(argv[0], L"list")) return ListCards();
    if (argc == 2 && Is(argv[0], L"remove"))
        return Change<SimCard, SIM_MAX_CARDS>(SimGetCards, SimSetCards, PrintCard, L"card", NULL, argv[1]);
    if (argc < 2 || !Is(argv[0], L"add"))
        return Usage(L"card list, card add NAME [TOTAL FREE] [unreadable] or card remove NAME");
    // NAME, then TOTAL FREE or nothing, then "unreadable" or nothing.
    BOOL sized = argc >= 4;
    if (argc > 5 || (argc == (sized ? 5 : 3) && !Is(argv[argc - 1], L"unreadable")))
        return Usage(L"card add NAME [TOTAL FREE] [unreadable]");
    if (!UsableName(argv[1], TRUE)) return Usage(L"a card name is a folder name of 1 to 63 characters");
    SimCard card = {};
    wcscpy(card.name, argv[1]);
    card.totalBytes = 128ull * 1024 * 1024;
    card.freeBytes = 96ull * 1024 * 1024;
    if (sized && (!ParseSize(argv[2], ~0ull, &card.totalBytes) || !ParseSize(argv[3], ~0ull, &card.freeBytes)))
        return Usage(L"card sizes are bytes (K, M, G allowed)");
    if (card.freeBytes > card.totalBytes) return Usage(L"a card cannot have more free than total bytes");
    card.unreadable = argc == (sized ? 5 : 3);
    return Change<SimCard, SIM_MAX_CARDS>(SimGetCards, SimSetCards, PrintCard, L"card", &card, NULL);
}

int Line(int argc, wchar_t **argv)
{
    if (argc == 1 && Is(argv[0], L"list")) return ListLines();
    if (argc == 2 && Is(argv[0], L"remove"))
        return Change<SimLine, SIM_MAX_LINES>(SimGetLines, SimSetLines, PrintLine, L"line", NULL, argv[1]);
    if (argc < 2 || argc > 3 || !Is(argv[0], L"add") || (argc == 3 && !Is(argv[2], L"noopen")))
        return Usage(L"line list, line add NAME [noopen] or line remove NAME");
    if (!UsableName(argv[1], FALSE)) return Usage(L"a line name has 1 to 63 characters, no spaces at its ends");
    SimLine line = {};
    wcscpy(line.name, argv[1]);
    line.cannotOpen = argc == 3;
    return Change<SimLine, SIM_MAX_LINES>(SimGetLines, SimSetLines, PrintLine, L"line", &line, NULL);
}

// Every dialog template asks for Tahoma 8, and the layouts are drawn for the device's
// own Tahoma: 13 pixels high, a dialog's average character (4 x 8 units) 6 x 13 pixels.
// A hidden dialog of one static control, FONT 8, "Tahoma", built in place: the header
// with its empty menu, class and title, the font, then the item on a DWORD boundary.
alignas(4) const WORD kFontProbe[] = {
    DS_SETFONT, HIWORD(WS_POPUP), 0, 0, 1, 0, 0, 100, 40,    // style, extended style, items, x, y, cx, cy
    0, 0, 0, 8, 'T', 'a', 'h', 'o', 'm', 'a', 0,              // menu, class, title, points, face
    0, HIWORD(WS_CHILD | WS_VISIBLE), 0, 0, 0, 0, 80, 10, 1,  // item: style, extended style, x, y, cx, cy, id
    0xFFFF, 0x0082, 0, 0,                                     // static, no title, no creation data
};

INT_PTR CALLBACK FontProbeProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

BOOL DialogFontIsTheDevices(WCHAR (&problem)[300])
{
    HWND probe = CreateDialogIndirectParamW(GetModuleHandleW(NULL), (LPCDLGTEMPLATEW)kFontProbe, NULL, FontProbeProc, 0);
    if (!probe) {
        wcscpy(problem, L"no dialog could be created to check its font");
        return FALSE;
    }
    WCHAR face[LF_FACESIZE] = L"";
    TEXTMETRICW metrics = {};
    HDC dc = GetDC(probe);
    HGDIOBJ old = SelectObject(dc, (HGDIOBJ)SendMessageW(probe, WM_GETFONT, 0, 0));
    GetTextFaceW(dc, LF_FACESIZE, face);
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(probe, dc);
    RECT units = {0, 0, 4, 8};
    MapDialogRect(probe, &units);
    DestroyWindow(probe);
    if (lstrcmpiW(face, L"Tahoma") == 0 && metrics.tmHeight == 13 && units.right == 6 && units.bottom == 13) return TRUE;
    _snwprintf(problem, 300,
               L"the dialogs' font is \"%ls\" %ld pixels high with characters of %ld x %ld, not the "
               L"device's Tahoma 13 pixels high with characters of 6 x 13; install Debian's fonts-wine "
               L"and create the device again",
               face, (long)metrics.tmHeight, (long)units.right, (long)units.bottom);
    problem[299] = 0;
    return FALSE;
}

int Init(int argc, wchar_t **)
{
    if (argc != 0) return Usage(L"init takes no arguments");
    BOOL made = SimCreateDevice();
    if (!made) return Refused(L"the device could not be set up");
    WCHAR problem[300];
    if (!DialogFontIsTheDevices(problem)) return Refused(problem);
    Out(made == SIM_CREATE_KEPT ? L"Device already set up: its registry is kept; missing folders and files were made again.\n"
                                : L"Device set up with its factory state.\n");
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

    if (Is(argv[0], L"help") || Is(argv[0], L"-h") || Is(argv[0], L"--help") || Is(argv[0], L"/?")) {
        Out(L"%ls", kUsage);
        return EXIT_DONE;
    }
    static const struct {
        const WCHAR *name;
        int (*run)(int argc, wchar_t **argv);
    } kCommands[] = {{L"show", Show},       {L"rotate", Rotate}, {L"reset", Reset},         {L"power", Power},
                     {L"wake", Wake},       {L"tap", Tap},       {L"battery", Battery},     {L"memory", Memory},
                     {L"card", Card},       {L"line", Line},     {L"telephony", Telephony}, {L"os", OsVersion},
                     {L"init", Init}};
    for (const auto &c : kCommands)
        if (Is(argv[0], c.name)) return c.run(argc - 1, argv + 1);
    return Usage(L"unknown command");
}
