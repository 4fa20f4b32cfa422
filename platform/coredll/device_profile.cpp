// The simulated device's profile: what kind of device it is (OS version, battery,
// memory, storage cards, telephony lines, screen shape). It is a small text file in
// the device folder, read afresh by every query and written back by every change, so
// that the device-control command and the running program always agree.
#include <windows.h>
#include <wchar.h>
#include "simdevice.h"
#include "device.h"

// ---------------------------------------------------------------------------------
// Small string helpers

void CopyText(WCHAR *dest, size_t cch, const WCHAR *source)
{
    if (!dest || cch == 0) return;
    size_t i = 0;
    if (source)
        for (; i + 1 < cch && source[i]; ++i) dest[i] = source[i];
    dest[i] = 0;
}

BOOL AppendText(WCHAR *dest, size_t cch, const WCHAR *source)
{
    size_t used = wcsnlen(dest, cch);
    if (used >= cch) return FALSE;
    size_t i = 0;
    for (; source[i]; ++i) {
        if (used + 1 >= cch) { dest[used] = 0; return FALSE; }
        dest[used++] = source[i];
    }
    dest[used] = 0;
    return TRUE;
}

BOOL SameTextNoCase(const WCHAR *a, const WCHAR *b)
{
    return CompareStringOrdinal(a, -1, b, -1, TRUE) == CSTR_EQUAL;
}

// ---------------------------------------------------------------------------------
// The device folder

typedef WCHAR *(CDECL *UnixToDosProc)(const char *);

// A Unix path in Wine's terms becomes a DOS path; the last component need not exist yet.
static BOOL UnixPathToDos(const WCHAR *unixPath, WCHAR *out, DWORD cch)
{
    UnixToDosProc toDos = (UnixToDosProc)(void *)GetProcAddress(GetModuleHandleW(L"kernel32.dll"),
                                                                "wine_get_dos_file_name");
    if (!toDos) return FALSE;
    char utf8[MAX_PATH * 3];
    if (!WideCharToMultiByte(CP_UTF8, 0, unixPath, -1, utf8, sizeof utf8, NULL, NULL)) return FALSE;
    WCHAR *dos = toDos(utf8);
    if (!dos) {
        // Convert the parent and add the missing name.
        char *slash = strrchr(utf8, '/');
        if (!slash || slash == utf8) return FALSE;
        *slash = 0;
        WCHAR *parent = toDos(utf8);
        if (!parent) return FALSE;
        WCHAR name[MAX_PATH];
        if (!MultiByteToWideChar(CP_UTF8, 0, slash + 1, -1, name, MAX_PATH)) {
            HeapFree(GetProcessHeap(), 0, parent);
            return FALSE;
        }
        CopyText(out, cch, parent);
        HeapFree(GetProcessHeap(), 0, parent);
        size_t n = wcslen(out);
        if (n && out[n - 1] != L'\\' && !AppendText(out, cch, L"\\")) return FALSE;
        return AppendText(out, cch, name);
    }
    BOOL fits = wcslen(dos) < cch;
    CopyText(out, cch, dos);
    HeapFree(GetProcessHeap(), 0, dos);
    return fits;
}

static BOOL PathFromSetting(const WCHAR *value, WCHAR *out, DWORD cch)
{
    if (value[0] == L'/') return UnixPathToDos(value, out, cch);
    if (wcslen(value) >= cch) return FALSE;
    CopyText(out, cch, value);
    return TRUE;
}

static void DropTrailingSeparators(WCHAR *path)
{
    size_t n = wcslen(path);
    // Keep "C:\" whole.
    while (n > 3 && (path[n - 1] == L'\\' || path[n - 1] == L'/')) path[--n] = 0;
}

extern "C" BOOL SimGetDeviceDir(WCHAR *buffer, DWORD cch)
{
    if (!buffer || cch == 0) return FALSE;
    WCHAR dir[MAX_PATH];
    WCHAR value[MAX_PATH];
    BOOL found = FALSE;
    const WCHAR *privateDir = PrivateDeviceDir();
    DWORD n;
    if (privateDir) {
        // A test whose private folder could not be made has no device folder at all,
        // rather than someone else's.
        if (!privateDir[0]) { buffer[0] = 0; return FALSE; }
        CopyText(dir, MAX_PATH, privateDir);
        found = TRUE;
    } else if ((n = GetEnvironmentVariableW(L"ZR_DEVICE_DIR", value, MAX_PATH)) > 0) {
        // A setting that cannot be used names no folder; it never falls back to the prefix's.
        if (n >= MAX_PATH || !value[0] || !PathFromSetting(value, dir, MAX_PATH)) { buffer[0] = 0; return FALSE; }
        found = TRUE;
    } else if ((n = GetEnvironmentVariableW(L"WINEPREFIX", value, MAX_PATH - 8)) > 0 && n < MAX_PATH - 8) {
        DropTrailingSeparators(value);
        AppendText(value, MAX_PATH, value[0] == L'/' ? L"/device" : L"\\device");
        found = PathFromSetting(value, dir, MAX_PATH);
    } else if ((n = GetEnvironmentVariableW(L"HOME", value, MAX_PATH - 16)) > 0 && n < MAX_PATH - 16 &&
               value[0] == L'/') {
        // Wine's default prefix.
        DropTrailingSeparators(value);
        AppendText(value, MAX_PATH, L"/.wine/device");
        found = UnixPathToDos(value, dir, MAX_PATH);
    }
    if (!found) {
        // Not under Wine at all: a folder beside this library.
        HMODULE self = NULL;
        GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                           (LPCWSTR)(void *)SimGetDeviceDir, &self);
        n = GetModuleFileNameW(self, dir, MAX_PATH);
        if (n == 0 || n >= MAX_PATH) { buffer[0] = 0; return FALSE; }
        while (n > 0 && dir[n - 1] != L'\\') --n;
        dir[n] = 0;
        if (!AppendText(dir, MAX_PATH, L"device")) { buffer[0] = 0; return FALSE; }
    }
    DropTrailingSeparators(dir);
    if (wcslen(dir) >= cch) { buffer[0] = 0; SetLastError(ERROR_INSUFFICIENT_BUFFER); return FALSE; }
    CopyText(buffer, cch, dir);
    return TRUE;
}

static BOOL CreateFolderTree(const WCHAR *path)
{
    if (GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES) return TRUE;
    WCHAR partial[MAX_PATH];
    CopyText(partial, MAX_PATH, path);
    size_t n = wcslen(partial);
    for (size_t i = 3; i < n; ++i) {
        if (partial[i] != L'\\' && partial[i] != L'/') continue;
        WCHAR keep = partial[i];
        partial[i] = 0;
        CreateDirectoryW(partial, NULL);
        partial[i] = keep;
    }
    return CreateDirectoryW(path, NULL) || GetLastError() == ERROR_ALREADY_EXISTS;
}

static BOOL ProfilePath(WCHAR *path, DWORD cch, BOOL createFolder)
{
    if (!SimGetDeviceDir(path, cch)) return FALSE;
    if (createFolder && !CreateFolderTree(path)) return FALSE;
    return AppendText(path, cch, L"\\profile.ini");
}

// ---------------------------------------------------------------------------------
// Defaults and names

static const ULONGLONG kMB = 1024ull * 1024ull;

static const SimCard kDefaultCard = {L"Storage Card", 122ull * kMB + 880ull * 1024ull, 87ull * kMB + 512ull * 1024ull, FALSE};
static const SimLine kDefaultLine = {L"Cellular Line", FALSE};

void ProfileDefaults(DeviceProfile *p)
{
    ZeroMemory(p, sizeof *p);
    // Pocket PC 2003 Second Edition, Phone Edition.
    p->osMajor = 4;
    p->osMinor = 21;
    p->osBuild = 1088;
    p->shape = SIM_PORTRAIT;
    p->battery.lifePercent = 85;
    p->battery.flag = BATTERY_FLAG_HIGH;
    p->battery.chemistry = 4;           // lithium ion
    p->battery.acLineStatus = 0;
    p->battery.voltage = 3950;
    p->battery.current = -180;
    p->battery.temperature = 250;       // 25.0 degrees, in tenths
    p->battery.statusFails = FALSE;
    // A 64 MB device: the kernel keeps a little, programs use some.
    p->memoryTotal = 60u * 1024u * 1024u + 512u * 1024u;
    p->memoryAvailable = 38u * 1024u * 1024u + 256u * 1024u;
    p->cardCount = 1;
    p->cards[0] = kDefaultCard;
    p->lineCount = 1;
    p->lines[0] = kDefaultLine;
}

BOOL IsValidLineName(const WCHAR *name)
{
    size_t n = wcsnlen(name, 64);
    if (n == 0 || n >= 64) return FALSE;
    for (size_t i = 0; i < n; ++i)
        if (name[i] < 0x20) return FALSE;
    // Names are trimmed in the profile file.
    return name[0] != L' ' && name[n - 1] != L' ';
}

BOOL IsValidCardName(const WCHAR *name)
{
    size_t n = wcsnlen(name, 64);
    if (n == 0) return TRUE;            // the root itself, as some devices list it
    if (n >= 64) return FALSE;
    for (size_t i = 0; i < n; ++i)
        if (name[i] < 0x20 || wcschr(L"\\/:*?\"<>|", name[i])) return FALSE;
    if (name[0] == L' ' || name[n - 1] == L' ' || name[n - 1] == L'.') return FALSE;
    if (name[0] == L'.' && (n == 1 || (n == 2 && name[1] == L'.'))) return FALSE;
    return TRUE;
}

BOOL CreateCardFolder(const WCHAR *name)
{
    if (!name[0]) return TRUE;
    WCHAR path[MAX_PATH] = L"C:\\";
    if (!AppendText(path, MAX_PATH, name)) return FALSE;
    return CreateDirectoryW(path, NULL) || GetLastError() == ERROR_ALREADY_EXISTS;
}

static const WCHAR *const kShapeNames[] = {L"portrait", L"landscape", L"square"};

static const WCHAR *FailureName(int id)
{
    switch (id) {
    case SIM_FAIL_MENUBAR: return L"menubar";
    case SIM_FAIL_REGCOPY: return L"regcopy";
    case SIM_FAIL_REGRESTORE: return L"regrestore";
    case SIM_FAIL_TELEPHONY: return L"telephony";
    case SIM_FAIL_REGAPPLY: return L"regapply";
    }
    return NULL;
}

// ---------------------------------------------------------------------------------
// Reading

static BOOL ParseUnsigned(const WCHAR *text, ULONGLONG max, ULONGLONG *out)
{
    ULONGLONG value = 0;
    int base = 10;
    const WCHAR *p = text;
    if (p[0] == L'0' && (p[1] == L'x' || p[1] == L'X')) { base = 16; p += 2; }
    if (!*p) return FALSE;
    for (; *p; ++p) {
        int digit;
        if (*p >= L'0' && *p <= L'9') digit = *p - L'0';
        else if (base == 16 && *p >= L'a' && *p <= L'f') digit = *p - L'a' + 10;
        else if (base == 16 && *p >= L'A' && *p <= L'F') digit = *p - L'A' + 10;
        else return FALSE;
        if ((ULONGLONG)digit > max || value > (max - digit) / base) return FALSE;
        value = value * base + digit;
    }
    *out = value;
    return TRUE;
}

static BOOL ParseSigned(const WCHAR *text, LONGLONG min, LONGLONG max, LONGLONG *out)
{
    BOOL negative = text[0] == L'-';
    ULONGLONG magnitude;
    if (!ParseUnsigned(text + (negative || text[0] == L'+'), (ULONGLONG)max + 1, &magnitude)) return FALSE;
    LONGLONG value = negative ? -(LONGLONG)magnitude : (LONGLONG)magnitude;
    if (value < min || value > max) return FALSE;
    *out = value;
    return TRUE;
}

template <typename T> static void ReadNumber(const WCHAR *text, ULONGLONG max, T *field)
{
    ULONGLONG v;
    if (ParseUnsigned(text, max, &v)) *field = (T)v;
}

static void ReadFlag(const WCHAR *text, BOOL *field)
{
    ULONGLONG v;
    if (ParseUnsigned(text, 1, &v)) *field = v != 0;
}

struct ParsedList {
    int count;                  // -1 when the file does not say
    BOOL seen[SIM_MAX_CARDS];
    SimCard cards[SIM_MAX_CARDS];
    SimLine lines[SIM_MAX_LINES];
};

enum Section { S_NONE, S_OS, S_SCREEN, S_BATTERY, S_MEMORY, S_CARDS, S_CARD, S_LINES, S_LINE, S_FAILURES, S_POWER };

static void ApplyEntry(DeviceProfile *p, ParsedList *cards, ParsedList *lines, Section section, int index,
                       const WCHAR *key, const WCHAR *value)
{
    switch (section) {
    case S_OS:
        if (!lstrcmpiW(key, L"major")) ReadNumber(value, 0xFFFFFFFFu, &p->osMajor);
        else if (!lstrcmpiW(key, L"minor")) ReadNumber(value, 0xFFFFFFFFu, &p->osMinor);
        else if (!lstrcmpiW(key, L"build")) ReadNumber(value, 0xFFFFFFFFu, &p->osBuild);
        break;
    case S_SCREEN:
        if (!lstrcmpiW(key, L"shape"))
            for (int s = 0; s < 3; ++s)
                if (!lstrcmpiW(value, kShapeNames[s])) p->shape = s;
        break;
    case S_BATTERY: {
        SimBattery *b = &p->battery;
        LONGLONG current;
        if (!lstrcmpiW(key, L"percent")) ReadNumber(value, 255, &b->lifePercent);
        else if (!lstrcmpiW(key, L"flag")) ReadNumber(value, 255, &b->flag);
        else if (!lstrcmpiW(key, L"chemistry")) ReadNumber(value, 255, &b->chemistry);
        else if (!lstrcmpiW(key, L"ac")) ReadNumber(value, 255, &b->acLineStatus);
        else if (!lstrcmpiW(key, L"voltage")) ReadNumber(value, 0xFFFFFFFFu, &b->voltage);
        else if (!lstrcmpiW(key, L"temperature")) ReadNumber(value, 0xFFFFFFFFu, &b->temperature);
        else if (!lstrcmpiW(key, L"current") && ParseSigned(value, -2147483647LL - 1, 2147483647LL, &current))
            b->current = (LONG)current;
        else if (!lstrcmpiW(key, L"fail")) ReadFlag(value, &b->statusFails);
        break;
    }
    case S_MEMORY:
        if (!lstrcmpiW(key, L"total")) ReadNumber(value, 0xFFFFFFFFu, &p->memoryTotal);
        else if (!lstrcmpiW(key, L"available")) ReadNumber(value, 0xFFFFFFFFu, &p->memoryAvailable);
        break;
    case S_CARDS:
    case S_LINES:
        if (!lstrcmpiW(key, L"count")) {
            ULONGLONG n;
            if (ParseUnsigned(value, section == S_CARDS ? SIM_MAX_CARDS : SIM_MAX_LINES, &n))
                (section == S_CARDS ? cards : lines)->count = (int)n;
        }
        break;
    case S_CARD: {
        SimCard *c = &cards->cards[index];
        if (!lstrcmpiW(key, L"name")) {
            if (wcslen(value) < 64 && IsValidCardName(value)) { CopyText(c->name, 64, value); cards->seen[index] = TRUE; }
        } else if (!lstrcmpiW(key, L"total")) ReadNumber(value, ~0ull, &c->totalBytes);
        else if (!lstrcmpiW(key, L"free")) ReadNumber(value, ~0ull, &c->freeBytes);
        else if (!lstrcmpiW(key, L"unreadable")) ReadFlag(value, &c->unreadable);
        break;
    }
    case S_LINE: {
        SimLine *l = &lines->lines[index];
        if (!lstrcmpiW(key, L"name")) {
            if (wcslen(value) < 64 && IsValidLineName(value)) { CopyText(l->name, 64, value); lines->seen[index] = TRUE; }
        } else if (!lstrcmpiW(key, L"noopen")) ReadFlag(value, &l->cannotOpen);
        break;
    }
    case S_FAILURES:
        for (int id = 1; id <= DEVICE_MAX_FAILURE; ++id) {
            WCHAR generic[16];
            wsprintfW(generic, L"failure%d", id);
            const WCHAR *name = FailureName(id);
            if ((name && !lstrcmpiW(key, name)) || !lstrcmpiW(key, generic))
                ReadNumber(value, 0xFFFFFFFFu, &p->failures[id]);
        }
        break;
    case S_POWER:
        if (!lstrcmpiW(key, L"cleanboot")) ReadFlag(value, &p->cleanBoot);
        break;
    case S_NONE:
        break;
    }
}

static WCHAR *Trim(WCHAR *s)
{
    while (*s == L' ' || *s == L'\t') ++s;
    size_t n = wcslen(s);
    while (n && (s[n - 1] == L' ' || s[n - 1] == L'\t' || s[n - 1] == L'\r')) s[--n] = 0;
    return s;
}

static Section SectionFromName(const WCHAR *name, int *index)
{
    static const struct { const WCHAR *name; Section section; } fixed[] = {
        {L"os", S_OS}, {L"screen", S_SCREEN}, {L"battery", S_BATTERY}, {L"memory", S_MEMORY},
        {L"cards", S_CARDS}, {L"lines", S_LINES}, {L"failures", S_FAILURES}, {L"power", S_POWER}};
    for (size_t i = 0; i < sizeof fixed / sizeof fixed[0]; ++i)
        if (!lstrcmpiW(name, fixed[i].name)) return fixed[i].section;
    // [card1] .. [card8], [line1] .. [line8]
    Section numbered = S_NONE;
    const WCHAR *digits = NULL;
    if (!_wcsnicmp(name, L"card", 4)) { numbered = S_CARD; digits = name + 4; }
    else if (!_wcsnicmp(name, L"line", 4)) { numbered = S_LINE; digits = name + 4; }
    ULONGLONG n;
    if (digits && ParseUnsigned(digits, SIM_MAX_CARDS, &n) && n >= 1) { *index = (int)n - 1; return numbered; }
    return S_NONE;
}

static void ParseProfileText(DeviceProfile *p, WCHAR *text)
{
    ParsedList cards, lines;
    ZeroMemory(&cards, sizeof cards);
    ZeroMemory(&lines, sizeof lines);
    cards.count = lines.count = -1;
    Section section = S_NONE;
    int index = 0;
    WCHAR *line = text;
    while (line && *line) {
        WCHAR *next = wcschr(line, L'\n');
        if (next) *next++ = 0;
        WCHAR *s = Trim(line);
        if (*s == L'[') {
            WCHAR *end = wcschr(s, L']');
            section = S_NONE;
            if (end) { *end = 0; section = SectionFromName(Trim(s + 1), &index); }
        } else if (*s && *s != L';' && *s != L'#') {
            WCHAR *eq = wcschr(s, L'=');
            if (eq) {
                *eq = 0;
                ApplyEntry(p, &cards, &lines, section, index, Trim(s), Trim(eq + 1));
            }
        }
        line = next;
    }
    // The lists as the file gives them; an entry without a usable name is left out.
    if (cards.count >= 0) {
        p->cardCount = 0;
        for (int i = 0; i < cards.count; ++i) {
            if (!cards.seen[i]) continue;
            SimCard *c = &cards.cards[i];
            if (c->freeBytes > c->totalBytes) c->freeBytes = c->totalBytes;
            p->cards[p->cardCount++] = *c;
        }
    }
    if (lines.count >= 0) {
        p->lineCount = 0;
        for (int i = 0; i < lines.count; ++i)
            if (lines.seen[i]) p->lines[p->lineCount++] = lines.lines[i];
    }
    if (p->memoryTotal == 0) p->memoryTotal = 1;
    if (p->memoryAvailable > p->memoryTotal) p->memoryAvailable = p->memoryTotal;
}

// A profile is a few hundred bytes; anything past this is not ours to read.
static const DWORD kMaxProfileBytes = 64 * 1024;

void LoadProfile(DeviceProfile *p)
{
    ProfileDefaults(p);
    WCHAR path[MAX_PATH];
    if (!ProfilePath(path, MAX_PATH, FALSE)) return;
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, NULL,
                              OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE) return;
    char *bytes = (char *)HeapAlloc(GetProcessHeap(), 0, kMaxProfileBytes + 1);
    DWORD got = 0;
    if (bytes && ReadFile(file, bytes, kMaxProfileBytes, &got, NULL)) {
        bytes[got] = 0;
        const char *start = bytes;
        if (got >= 3 && (BYTE)bytes[0] == 0xEF && (BYTE)bytes[1] == 0xBB && (BYTE)bytes[2] == 0xBF) start += 3;
        int cch = MultiByteToWideChar(CP_UTF8, 0, start, -1, NULL, 0);
        WCHAR *text = cch > 0 ? (WCHAR *)HeapAlloc(GetProcessHeap(), 0, cch * sizeof(WCHAR)) : NULL;
        if (text && MultiByteToWideChar(CP_UTF8, 0, start, -1, text, cch)) ParseProfileText(p, text);
        if (text) HeapFree(GetProcessHeap(), 0, text);
    }
    if (bytes) HeapFree(GetProcessHeap(), 0, bytes);
    CloseHandle(file);
}

// ---------------------------------------------------------------------------------
// Writing

struct ProfileText {
    WCHAR buffer[8192];
    BOOL overflow;
};

static void Put(ProfileText *out, const WCHAR *format, ...)
{
    WCHAR line[512];
    va_list args;
    va_start(args, format);
    int n = _vsnwprintf(line, 511, format, args);
    va_end(args);
    line[511] = 0;
    if (n < 0) out->overflow = TRUE;
    if (!AppendText(out->buffer, sizeof out->buffer / sizeof(WCHAR), line)) out->overflow = TRUE;
}

static void FormatProfile(const DeviceProfile *p, ProfileText *out)
{
    out->buffer[0] = 0;
    out->overflow = FALSE;
    Put(out, L"; The simulated device. Change it with devctl; values are read afresh on every query.\r\n");
    Put(out, L"[os]\r\nmajor=%lu\r\nminor=%lu\r\nbuild=%lu\r\n", p->osMajor, p->osMinor, p->osBuild);
    Put(out, L"[screen]\r\nshape=%ls\r\n", kShapeNames[p->shape >= 0 && p->shape < 3 ? p->shape : 0]);
    const SimBattery *b = &p->battery;
    Put(out, L"[battery]\r\npercent=%u\r\nflag=%u\r\nchemistry=%u\r\nac=%u\r\nvoltage=%lu\r\ncurrent=%ld\r\n"
             L"temperature=%lu\r\nfail=%d\r\n",
        b->lifePercent, b->flag, b->chemistry, b->acLineStatus, b->voltage, b->current, b->temperature,
        b->statusFails ? 1 : 0);
    Put(out, L"[memory]\r\ntotal=%lu\r\navailable=%lu\r\n", p->memoryTotal, p->memoryAvailable);
    Put(out, L"[cards]\r\ncount=%d\r\n", p->cardCount);
    for (int i = 0; i < p->cardCount; ++i)
        Put(out, L"[card%d]\r\nname=%ls\r\ntotal=%I64u\r\nfree=%I64u\r\nunreadable=%d\r\n", i + 1, p->cards[i].name,
            p->cards[i].totalBytes, p->cards[i].freeBytes, p->cards[i].unreadable ? 1 : 0);
    Put(out, L"[lines]\r\ncount=%d\r\n", p->lineCount);
    for (int i = 0; i < p->lineCount; ++i)
        Put(out, L"[line%d]\r\nname=%ls\r\nnoopen=%d\r\n", i + 1, p->lines[i].name, p->lines[i].cannotOpen ? 1 : 0);
    Put(out, L"[failures]\r\n");
    for (int id = 1; id <= DEVICE_MAX_FAILURE; ++id) {
        const WCHAR *name = FailureName(id);
        if (name) Put(out, L"%ls=%lu\r\n", name, p->failures[id]);
        else if (p->failures[id]) Put(out, L"failure%d=%lu\r\n", id, p->failures[id]);
    }
    Put(out, L"[power]\r\ncleanboot=%d\r\n", p->cleanBoot ? 1 : 0);
}

BOOL SaveProfile(const DeviceProfile *p)
{
    WCHAR path[MAX_PATH], temp[MAX_PATH];
    if (!ProfilePath(path, MAX_PATH, TRUE)) return FALSE;
    CopyText(temp, MAX_PATH, path);
    WCHAR suffix[32];
    wsprintfW(suffix, L".%lu.tmp", GetCurrentProcessId());
    if (!AppendText(temp, MAX_PATH, suffix)) return FALSE;

    ProfileText *text = (ProfileText *)HeapAlloc(GetProcessHeap(), 0, sizeof(ProfileText));
    if (!text) return FALSE;
    FormatProfile(p, text);
    BOOL ok = FALSE;
    int bytes = text->overflow ? 0 : WideCharToMultiByte(CP_UTF8, 0, text->buffer, -1, NULL, 0, NULL, NULL);
    char *utf8 = bytes > 0 ? (char *)HeapAlloc(GetProcessHeap(), 0, bytes) : NULL;
    if (utf8 && WideCharToMultiByte(CP_UTF8, 0, text->buffer, -1, utf8, bytes, NULL, NULL)) {
        // Written beside and renamed over, so that a reader never sees half a file.
        HANDLE file = CreateFileW(temp, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
        if (file != INVALID_HANDLE_VALUE) {
            DWORD written = 0;
            ok = WriteFile(file, utf8, (DWORD)(bytes - 1), &written, NULL) && written == (DWORD)(bytes - 1);
            CloseHandle(file);
            ok = ok && MoveFileExW(temp, path, MOVEFILE_REPLACE_EXISTING);
            if (!ok) DeleteFileW(temp);
        }
    }
    if (utf8) HeapFree(GetProcessHeap(), 0, utf8);
    HeapFree(GetProcessHeap(), 0, text);
    return ok;
}

BOOL EditProfile(ProfileEdit edit, const void *context)
{
    // One writer at a time across the processes of the device (the program, devctl, tests).
    HANDLE lock = CreateMutexW(NULL, FALSE, L"Local\\ZelvoRudoreDeviceProfile");
    DWORD wait = lock ? WaitForSingleObject(lock, 5000) : WAIT_FAILED;
    DeviceProfile *p = (DeviceProfile *)HeapAlloc(GetProcessHeap(), 0, sizeof(DeviceProfile));
    BOOL ok = FALSE;
    if (p) {
        LoadProfile(p);
        edit(p, context);
        ok = SaveProfile(p);
        HeapFree(GetProcessHeap(), 0, p);
    }
    if (lock) {
        if (wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED) ReleaseMutex(lock);
        CloseHandle(lock);
    }
    return ok;
}

// ---------------------------------------------------------------------------------
// The profile's services

extern "C" {

void SimResetProfile(void)
{
    DeviceProfile p;
    ProfileDefaults(&p);
    SaveProfile(&p);
    for (int i = 0; i < p.cardCount; ++i) CreateCardFolder(p.cards[i].name);
}

struct OsVersion { DWORD major, minor, build; };
static void EditOsVersion(DeviceProfile *p, const void *c)
{
    const OsVersion *v = (const OsVersion *)c;
    p->osMajor = v->major;
    p->osMinor = v->minor;
    p->osBuild = v->build;
}

void SimSetOsVersion(DWORD major, DWORD minor, DWORD build)
{
    OsVersion v = {major, minor, build};
    EditProfile(EditOsVersion, &v);
}

void SimGetOsVersion(DWORD *major, DWORD *minor, DWORD *build)
{
    DeviceProfile p;
    LoadProfile(&p);
    if (major) *major = p.osMajor;
    if (minor) *minor = p.osMinor;
    if (build) *build = p.osBuild;
}

static void EditBattery(DeviceProfile *p, const void *c) { p->battery = *(const SimBattery *)c; }

void SimSetBattery(const SimBattery *battery)
{
    if (!battery) return;
    SimBattery b = *battery;
    b.statusFails = b.statusFails ? TRUE : FALSE;
    EditProfile(EditBattery, &b);
}

void SimGetBattery(SimBattery *battery)
{
    if (!battery) return;
    DeviceProfile p;
    LoadProfile(&p);
    *battery = p.battery;
}

struct Memory { DWORD total, available; };
static void EditMemory(DeviceProfile *p, const void *c)
{
    const Memory *m = (const Memory *)c;
    p->memoryTotal = m->total;
    p->memoryAvailable = m->available;
}

void SimSetMemory(DWORD totalBytes, DWORD availableBytes)
{
    // A device always has some memory: a total of 0 would only divide by zero somewhere.
    if (totalBytes == 0) return;
    Memory m = {totalBytes, availableBytes > totalBytes ? totalBytes : availableBytes};
    EditProfile(EditMemory, &m);
}

void SimGetMemory(DWORD *totalBytes, DWORD *availableBytes)
{
    DeviceProfile p;
    LoadProfile(&p);
    if (totalBytes) *totalBytes = p.memoryTotal;
    if (availableBytes) *availableBytes = p.memoryAvailable;
}

struct CardList { int count; SimCard cards[SIM_MAX_CARDS]; };
static void EditCards(DeviceProfile *p, const void *c)
{
    const CardList *list = (const CardList *)c;
    p->cardCount = list->count;
    for (int i = 0; i < list->count; ++i) p->cards[i] = list->cards[i];
}

BOOL SimSetCards(const SimCard *cards, int count)
{
    if (count < 0 || count > SIM_MAX_CARDS || (count > 0 && !cards)) return FALSE;
    CardList list;
    ZeroMemory(&list, sizeof list);
    list.count = count;
    for (int i = 0; i < count; ++i) {
        if (!IsValidCardName(cards[i].name) || cards[i].freeBytes > cards[i].totalBytes) return FALSE;
        for (int j = 0; j < i; ++j)
            if (SameTextNoCase(cards[i].name, cards[j].name)) return FALSE;
        list.cards[i] = cards[i];
        list.cards[i].unreadable = cards[i].unreadable ? TRUE : FALSE;
    }
    BOOL ok = TRUE;
    for (int i = 0; i < count; ++i)
        if (!CreateCardFolder(list.cards[i].name)) ok = FALSE;
    return EditProfile(EditCards, &list) && ok;
}

int SimGetCards(SimCard *cards, int max)
{
    DeviceProfile p;
    LoadProfile(&p);
    for (int i = 0; cards && i < p.cardCount && i < max; ++i) cards[i] = p.cards[i];
    return p.cardCount;
}

struct LineList { int count; SimLine lines[SIM_MAX_LINES]; };
static void EditLines(DeviceProfile *p, const void *c)
{
    const LineList *list = (const LineList *)c;
    p->lineCount = list->count;
    for (int i = 0; i < list->count; ++i) p->lines[i] = list->lines[i];
}

void SimSetLines(const SimLine *lines, int count)
{
    if (count < 0 || count > SIM_MAX_LINES || (count > 0 && !lines)) return;
    LineList list;
    ZeroMemory(&list, sizeof list);
    list.count = count;
    for (int i = 0; i < count; ++i) {
        if (!IsValidLineName(lines[i].name)) return;
        list.lines[i] = lines[i];
        list.lines[i].cannotOpen = lines[i].cannotOpen ? TRUE : FALSE;
    }
    EditProfile(EditLines, &list);
}

int SimGetLines(SimLine *lines, int max)
{
    DeviceProfile p;
    LoadProfile(&p);
    for (int i = 0; lines && i < p.lineCount && i < max; ++i) lines[i] = p.lines[i];
    return p.lineCount;
}

struct Failure { int id; DWORD error; };
static void EditFailure(DeviceProfile *p, const void *c)
{
    const Failure *f = (const Failure *)c;
    p->failures[f->id] = f->error;
}

void SimSetFailure(int failure, DWORD error)
{
    if (failure < 1 || failure > DEVICE_MAX_FAILURE) return;
    Failure f = {failure, error};
    EditProfile(EditFailure, &f);
}

DWORD SimGetFailure(int failure)
{
    if (failure < 1 || failure > DEVICE_MAX_FAILURE) return 0;
    DeviceProfile p;
    LoadProfile(&p);
    return p.failures[failure];
}

static void EditCleanBoot(DeviceProfile *p, const void *c) { p->cleanBoot = *(const BOOL *)c; }

void SetCleanBootInProfile(BOOL set)
{
    BOOL value = set ? TRUE : FALSE;
    EditProfile(EditCleanBoot, &value);
}

BOOL SimGetCleanBootFlag(void)
{
    DeviceProfile p;
    LoadProfile(&p);
    return p.cleanBoot;
}

static void EditShape(DeviceProfile *p, const void *c) { p->shape = *(const int *)c; }

void RememberShape(int shape)
{
    EditProfile(EditShape, &shape);
}

int RememberedShape(void)
{
    DeviceProfile p;
    LoadProfile(&p);
    return p.shape;
}

}
