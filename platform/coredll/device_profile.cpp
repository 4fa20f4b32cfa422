// The simulated device's profile: what kind of device it is (OS version, battery,
// memory, storage cards, telephony lines, screen shape). It is a small text file of
// "name=value" lines in the device folder, read afresh by every query and written back
// by every change, so that the device-control command and the running program always
// agree. One table names every plain field; cards and lines are one line each.
#include <windows.h>
#include <errno.h>
#include <stddef.h>
#include <stdlib.h>
#include <wchar.h>
#include <algorithm>
#include <string>
#include "device.h"
#include "registry_image.h"

BOOL AppendText(WCHAR *dest, size_t cch, const WCHAR *source)
{
    size_t used = wcsnlen(dest, cch);
    if (used >= cch) return FALSE;
    CopyText(dest + used, cch - used, source);
    return used + wcslen(source) < cch;
}

BOOL SameTextNoCase(const WCHAR *a, const WCHAR *b)
{
    return CompareStringOrdinal(a, -1, b, -1, TRUE) == CSTR_EQUAL;
}

// A whole number, decimal or 0x hexadecimal, at most max; no sign, no spaces. devctl reads
// its arguments by the same rule, so a number it takes reads back the same from the profile.
BOOL SimParseNumber(const WCHAR *text, ULONGLONG max, ULONGLONG *value)
{
    if (!iswdigit(text[0])) return FALSE;
    WCHAR *end;
    errno = 0;
    ULONGLONG n = _wcstoui64(text, &end, text[0] == L'0' && (text[1] | 0x20) == L'x' ? 16 : 10);
    if (*end || errno == ERANGE || n > max) return FALSE;
    *value = n;
    return TRUE;
}

// The device folder: ZR_DEVICE_DIR (a Windows or a Unix path), else $WINEPREFIX/device.

BOOL DosPathOf(const WCHAR *path, WCHAR *out)
{
    if (path[0] != L'/') {
        CopyText(out, MAX_PATH, path);
        return TRUE;
    }
    typedef WCHAR *(CDECL * UnixToDosProc)(const char *);
    UnixToDosProc toDos = (UnixToDosProc)(void *)GetProcAddress(GetModuleHandleW(L"kernel32.dll"),
                                                                "wine_get_dos_file_name");
    char utf8[MAX_PATH * 3];
    WCHAR *dos = toDos && WideCharToMultiByte(CP_UTF8, 0, path, -1, utf8, sizeof utf8, NULL, NULL) ? toDos(utf8) : NULL;
    if (!dos) return FALSE;
    BOOL fits = wcslen(dos) < MAX_PATH;
    CopyText(out, MAX_PATH, dos);
    HeapFree(GetProcessHeap(), 0, dos);
    return fits;
}

extern "C" BOOL SimGetDeviceDir(WCHAR *buffer, DWORD cch)
{
    if (!buffer || cch == 0) return FALSE;
    WCHAR dir[MAX_PATH] = L"", value[MAX_PATH];
    const WCHAR *privateDir = PrivateDeviceDir();
    DWORD n;
    // A test whose private folder could not be made, or a setting that cannot be used,
    // names no folder at all rather than someone else's.
    if (privateDir) CopyText(dir, MAX_PATH, privateDir);
    else if ((n = GetEnvironmentVariableW(L"ZR_DEVICE_DIR", value, MAX_PATH)) > 0) {
        if (n < MAX_PATH) DosPathOf(value, dir);
    } else if ((n = GetEnvironmentVariableW(L"WINEPREFIX", value, MAX_PATH)) > 0 && n < MAX_PATH &&
               DosPathOf(value, dir) && !AppendText(dir, MAX_PATH, L"\\device")) {
        dir[0] = 0;
    }
    size_t length = wcslen(dir);
    while (length > 3 && (dir[length - 1] == L'\\' || dir[length - 1] == L'/')) dir[--length] = 0;   // "C:\" stays
    buffer[0] = 0;
    if (!length || length >= cch) return FALSE;
    CopyText(buffer, cch, dir);
    return TRUE;
}

static BOOL ProfilePath(WCHAR *path, BOOL createFolder)
{
    if (!SimGetDeviceDir(path, MAX_PATH)) return FALSE;
    if (createFolder) CreateDirectoryW(path, NULL);
    return AppendText(path, MAX_PATH, L"\\profile.ini");
}

// Pocket PC 2003 Second Edition, Phone Edition, a 64 MB device: the kernel keeps a
// little, programs use some. The battery is lithium ion at 25.0 degrees.
static const DeviceProfile kFactoryProfile = {
    4, 21, 1088, SIM_PORTRAIT, {85, BATTERY_FLAG_HIGH, 4, 0, 3950, -180, 250, FALSE},
    60u * 1024 * 1024 + 512 * 1024, 38u * 1024 * 1024 + 256 * 1024,
    1, {{L"Storage Card", 122ull * 1024 * 1024 + 880 * 1024, 87ull * 1024 * 1024 + 512 * 1024, FALSE}},
    1, {{L"Cellular Line", FALSE}}};

// Names are 1..63 characters without control characters or spaces at their ends (the
// file trims them); a card's is a folder name, or empty for the root as some devices list it.
static BOOL IsValidLineName(const WCHAR *name)
{
    size_t n = wcsnlen(name, 64);
    if (n == 0 || n >= 64 || name[0] == L' ' || name[n - 1] == L' ') return FALSE;
    for (size_t i = 0; i < n; ++i)
        if (name[i] < 0x20) return FALSE;
    return TRUE;
}

// The file system's device names, whatever follows a dot, and the device's own root
// folders: a card of such a name would be no folder, or would hide one of the device's.
static const WCHAR *const kDeviceNames[] = {L"CON", L"PRN", L"AUX", L"NUL", L"COM1", L"COM2", L"COM3",
                                            L"COM4", L"COM5", L"COM6", L"COM7", L"COM8", L"COM9", L"LPT1",
                                            L"LPT2", L"LPT3", L"LPT4", L"LPT5", L"LPT6", L"LPT7", L"LPT8",
                                            L"LPT9", L"CLOCK$", L"CONIN$", L"CONOUT$"};
static const WCHAR *const kRootFolders[] = {L"Windows", L"My Documents", L"Program Files", L"Temp"};

static BOOL IsValidCardName(const WCHAR *name)
{
    size_t n = wcsnlen(name, 64);
    if (n == 0) return TRUE;
    if (!IsValidLineName(name) || wcspbrk(name, L"\\/:*?\"<>|") || name[n - 1] == L'.') return FALSE;
    WCHAR base[64];
    CopyText(base, 64, name);
    if (WCHAR *dot = wcschr(base, L'.')) *dot = 0;
    for (const WCHAR *reserved : kDeviceNames)
        if (SameTextNoCase(base, reserved)) return FALSE;
    for (const WCHAR *folder : kRootFolders)
        if (SameTextNoCase(name, folder)) return FALSE;
    return TRUE;
}

static BOOL CreateCardFolder(const WCHAR *name)
{
    WCHAR path[MAX_PATH] = L"C:\\";
    if (!name[0]) return TRUE;
    if (!AppendText(path, MAX_PATH, name)) return FALSE;
    return CreateDirectoryW(path, NULL) || GetLastError() == ERROR_ALREADY_EXISTS;
}

struct Field {
    const WCHAR *name;
    size_t offset, size;
    LONGLONG min, max;
};
#define FIELD(name, member, min, max) {name, offsetof(DeviceProfile, member), sizeof(((DeviceProfile *)0)->member), min, max}
static const Field kFields[] = {
    FIELD(L"os.major", osMajor, 0, 0xFFFFFFFF),
    FIELD(L"os.minor", osMinor, 0, 0xFFFFFFFF),
    FIELD(L"os.build", osBuild, 0, 0xFFFFFFFF),
    FIELD(L"screen.shape", shape, SIM_PORTRAIT, SIM_SQUARE),
    FIELD(L"battery.percent", battery.lifePercent, 0, 255),
    FIELD(L"battery.flag", battery.flag, 0, 255),
    FIELD(L"battery.chemistry", battery.chemistry, 0, 255),
    FIELD(L"battery.ac", battery.acLineStatus, 0, 255),
    FIELD(L"battery.voltage", battery.voltage, 0, 0xFFFFFFFF),
    FIELD(L"battery.current", battery.current, -0x80000000LL, 0x7FFFFFFF),
    FIELD(L"battery.temperature", battery.temperature, 0, 0xFFFFFFFF),
    FIELD(L"battery.fail", battery.statusFails, 0, 1),
    FIELD(L"memory.total", memoryTotal, 1, 0xFFFFFFFF),
    FIELD(L"memory.available", memoryAvailable, 0, 0xFFFFFFFF),
    FIELD(L"cards", cardCount, 0, SIM_MAX_CARDS),
    FIELD(L"lines", lineCount, 0, SIM_MAX_LINES),
    FIELD(L"failure.menubar", failures[SIM_FAIL_MENUBAR], 0, 0xFFFFFFFF),
    FIELD(L"failure.regcopy", failures[SIM_FAIL_REGCOPY], 0, 0xFFFFFFFF),
    FIELD(L"failure.regrestore", failures[SIM_FAIL_REGRESTORE], 0, 0xFFFFFFFF),
    FIELD(L"failure.telephony", failures[SIM_FAIL_TELEPHONY], 0, 0xFFFFFFFF),
    FIELD(L"failure.regapply", failures[SIM_FAIL_REGAPPLY], 0, 0xFFFFFFFF),
    FIELD(L"failure.regcheck", failures[SIM_FAIL_REGCHECK], 0, 0xFFFFFFFF),
    FIELD(L"failure.crossvolume", failures[SIM_FAIL_CROSSVOLUME], 0, 0xFFFFFFFF),
    FIELD(L"cleanboot", cleanBoot, 0, 1),
};

static BOOL ReadField(const Field &f, const WCHAR *text, DeviceProfile *p)
{
    BOOL negative = text[0] == L'-';
    ULONGLONG magnitude;
    if (!SimParseNumber(text + negative, negative ? (ULONGLONG)-f.min : (ULONGLONG)f.max, &magnitude)) return FALSE;
    LONGLONG value = negative ? -(LONGLONG)magnitude : (LONGLONG)magnitude;
    if (value < f.min) return FALSE;
    CopyMemory((BYTE *)p + f.offset, &value, f.size);   // little-endian: the low bytes
    return TRUE;
}

// "NAME|N|N": the numbers split off from the right, each at most its max.
static BOOL SplitNumbers(WCHAR *value, int count, const ULONGLONG *max, ULONGLONG *numbers)
{
    for (int i = count - 1; i >= 0; --i) {
        WCHAR *bar = wcsrchr(value, L'|');
        if (!bar || !SimParseNumber(bar + 1, max[i], &numbers[i])) return FALSE;
        *bar = 0;
    }
    return wcslen(value) < 64;
}

static BOOL ReadCard(WCHAR *value, SimCard *card)
{
    static const ULONGLONG max[] = {~0ull, ~0ull, 1};
    ULONGLONG n[3];
    if (!SplitNumbers(value, 3, max, n) || !IsValidCardName(value)) return FALSE;
    CopyText(card->name, 64, value);
    card->totalBytes = n[0];
    card->freeBytes = n[1] < n[0] ? n[1] : n[0];
    card->unreadable = (BOOL)n[2];
    return TRUE;
}

static BOOL ReadLine(WCHAR *value, SimLine *line)
{
    static const ULONGLONG max[] = {1};
    ULONGLONG noOpen;
    if (!SplitNumbers(value, 1, max, &noOpen) || !IsValidLineName(value)) return FALSE;
    CopyText(line->name, 64, value);
    line->cannotOpen = (BOOL)noOpen;
    return TRUE;
}

static WCHAR *Trim(WCHAR *s)
{
    while (*s == L' ' || *s == L'\t') ++s;
    size_t n = wcslen(s);
    while (n && (s[n - 1] == L' ' || s[n - 1] == L'\t' || s[n - 1] == L'\r')) s[--n] = 0;
    return s;
}

// Whatever the file lacks, or holds damaged, keeps its default; a list the file gives
// holds the entries it names whole, up to the count it gives.
static void ParseProfile(DeviceProfile *p, WCHAR *text)
{
    DeviceProfile defaults = *p;
    int cards = 0, lines = 0;
    p->cardCount = p->lineCount = -1;
    for (WCHAR *line = text, *next; line; line = next) {
        next = wcschr(line, L'\n');
        if (next) *next++ = 0;
        WCHAR *eq = wcschr(line, L'=');
        if (!eq || line[0] == L';') continue;
        *eq = 0;
        WCHAR *name = Trim(line), *value = Trim(eq + 1);
        if (!wcscmp(name, L"card")) {
            if (cards < SIM_MAX_CARDS && ReadCard(value, &p->cards[cards])) ++cards;
        } else if (!wcscmp(name, L"line")) {
            if (lines < SIM_MAX_LINES && ReadLine(value, &p->lines[lines])) ++lines;
        } else {
            for (const Field &f : kFields)
                if (!wcscmp(name, f.name)) ReadField(f, value, p);
        }
    }
    if (p->cardCount < 0) CopyMemory(p->cards, defaults.cards, sizeof p->cards);
    if (p->lineCount < 0) CopyMemory(p->lines, defaults.lines, sizeof p->lines);
    p->cardCount = p->cardCount < 0 ? defaults.cardCount : std::min(p->cardCount, cards);
    p->lineCount = p->lineCount < 0 ? defaults.lineCount : std::min(p->lineCount, lines);
    if (p->memoryAvailable > p->memoryTotal) p->memoryAvailable = p->memoryTotal;
}

void LoadProfile(DeviceProfile *p)
{
    *p = kFactoryProfile;
    WCHAR path[MAX_PATH];
    std::string bytes;
    if (!ProfilePath(path, FALSE) || ReadRegImageFile(path, &bytes)) return;
    if (!bytes.compare(0, 3, "\xEF\xBB\xBF")) bytes.erase(0, 3);
    std::wstring text(bytes.size() + 1, L'\0');
    if (MultiByteToWideChar(CP_UTF8, 0, bytes.data(), (int)bytes.size(), &text[0], (int)text.size()) || bytes.empty())
        ParseProfile(p, &text[0]);
}

// Written beside and renamed over, so that a reader never sees half a file.
BOOL SaveProfile(const DeviceProfile *p)
{
    WCHAR path[MAX_PATH], line[128];
    if (!ProfilePath(path, TRUE)) return FALSE;
    std::wstring text = L"; The simulated device. Change it with devctl; values are read afresh on every query.\r\n";
    for (const Field &f : kFields) {
        LONGLONG value = 0;
        CopyMemory(&value, (const BYTE *)p + f.offset, f.size);
        if (f.min < 0) value = (LONG)value;
        _snwprintf(line, 128, L"%ls=%I64d\r\n", f.name, value);
        text += line;
    }
    for (int i = 0; i < p->cardCount; ++i) {
        const SimCard &c = p->cards[i];
        text += L"card=" + std::wstring(c.name);
        _snwprintf(line, 128, L"|%I64u|%I64u|%d\r\n", c.totalBytes, c.freeBytes, c.unreadable ? 1 : 0);
        text += line;
    }
    for (int i = 0; i < p->lineCount; ++i)
        text += L"line=" + std::wstring(p->lines[i].name) + (p->lines[i].cannotOpen ? L"|1\r\n" : L"|0\r\n");
    std::string utf8(text.size() * 3, '\0');
    utf8.resize(WideCharToMultiByte(CP_UTF8, 0, text.data(), (int)text.size(), &utf8[0], (int)utf8.size(), NULL, NULL));
    return WriteFileAtomically(path, utf8, true) == 0;
}

// Read, changed and written back under a lock shared by every process of the device
// (the program, devctl, tests).
template <typename Change> static BOOL EditProfile(Change change)
{
    HANDLE lock = CreateMutexW(NULL, FALSE, L"Local\\ZelvoRudoreDeviceProfile");
    DWORD wait = lock ? WaitForSingleObject(lock, 5000) : WAIT_FAILED;
    DeviceProfile p;
    LoadProfile(&p);
    change(p);
    BOOL ok = SaveProfile(&p);
    if (lock) {
        if (wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED) ReleaseMutex(lock);
        CloseHandle(lock);
    }
    return ok;
}

static DeviceProfile Loaded()
{
    DeviceProfile p;
    LoadProfile(&p);
    return p;
}

void ResetProfile(void)
{
    SaveProfile(&kFactoryProfile);
    for (int i = 0; i < kFactoryProfile.cardCount; ++i) CreateCardFolder(kFactoryProfile.cards[i].name);
}

void SetCleanBootInProfile(BOOL set) { EditProfile([&](DeviceProfile &p) { p.cleanBoot = set ? TRUE : FALSE; }); }
void RememberShape(int shape) { EditProfile([&](DeviceProfile &p) { p.shape = shape; }); }
int RememberedShape(void) { return Loaded().shape; }

extern "C" {

BOOL SimSetOsVersion(DWORD major, DWORD minor, DWORD build)
{
    return EditProfile([&](DeviceProfile &p) { p.osMajor = major, p.osMinor = minor, p.osBuild = build; });
}

BOOL SimSetBattery(const SimBattery *battery)
{
    if (!battery) return FALSE;
    SimBattery b = *battery;
    b.statusFails = b.statusFails ? TRUE : FALSE;
    return EditProfile([&](DeviceProfile &p) { p.battery = b; });
}

void SimGetBattery(SimBattery *battery) { if (battery) *battery = Loaded().battery; }

// A device always has some memory: a total of 0 would only divide by zero somewhere.
BOOL SimSetMemory(DWORD totalBytes, DWORD availableBytes)
{
    if (totalBytes == 0) return FALSE;
    return EditProfile([&](DeviceProfile &p) {
        p.memoryTotal = totalBytes;
        p.memoryAvailable = availableBytes > totalBytes ? totalBytes : availableBytes;
    });
}

void SimGetMemory(DWORD *totalBytes, DWORD *availableBytes)
{
    DeviceProfile p = Loaded();
    if (totalBytes) *totalBytes = p.memoryTotal;
    if (availableBytes) *availableBytes = p.memoryAvailable;
}

BOOL SimSetCards(const SimCard *cards, int count)
{
    if (count < 0 || count > SIM_MAX_CARDS || (count > 0 && !cards)) return FALSE;
    SimCard list[SIM_MAX_CARDS];
    BOOL ok = TRUE;
    for (int i = 0; i < count; ++i) {
        if (!IsValidCardName(cards[i].name) || cards[i].freeBytes > cards[i].totalBytes) return FALSE;
        for (int j = 0; j < i; ++j)
            if (SameTextNoCase(cards[i].name, cards[j].name)) return FALSE;
        list[i] = cards[i];
        list[i].unreadable = cards[i].unreadable ? TRUE : FALSE;
    }
    for (int i = 0; i < count; ++i) ok &= CreateCardFolder(list[i].name);
    return ok && EditProfile([&](DeviceProfile &p) {
               p.cardCount = count;
               CopyMemory(p.cards, list, count * sizeof list[0]);
           });
}

int SimGetCards(SimCard *cards, int max)
{
    DeviceProfile p = Loaded();
    for (int i = 0; cards && i < p.cardCount && i < max; ++i) cards[i] = p.cards[i];
    return p.cardCount;
}

BOOL SimSetLines(const SimLine *lines, int count)
{
    if (count < 0 || count > SIM_MAX_LINES || (count > 0 && !lines)) return FALSE;
    SimLine list[SIM_MAX_LINES];
    for (int i = 0; i < count; ++i) {
        if (!IsValidLineName(lines[i].name)) return FALSE;
        list[i] = lines[i];
        list[i].cannotOpen = lines[i].cannotOpen ? TRUE : FALSE;
    }
    return EditProfile([&](DeviceProfile &p) {
        p.lineCount = count;
        CopyMemory(p.lines, list, count * sizeof list[0]);
    });
}

int SimGetLines(SimLine *lines, int max)
{
    DeviceProfile p = Loaded();
    for (int i = 0; lines && i < p.lineCount && i < max; ++i) lines[i] = p.lines[i];
    return p.lineCount;
}

BOOL SimSetFailure(int failure, DWORD error)
{
    return failure >= 1 && failure <= DEVICE_MAX_FAILURE &&
           EditProfile([&](DeviceProfile &p) { p.failures[failure] = error; });
}

DWORD SimGetFailure(int failure) { return failure >= 1 && failure <= DEVICE_MAX_FAILURE ? Loaded().failures[failure] : 0; }

BOOL SimGetCleanBootFlag(void) { return Loaded().cleanBoot; }

}
