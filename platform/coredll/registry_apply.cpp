// Making the running registry exactly an image. The registry's own save gives what a
// key holds as text in milliseconds. Every key of that text the image lacks is deleted,
// the others are emptied of their values, and the image's text goes to the registry's
// load call whole. The key is then saved once more and must come out exactly as the
// image: whatever the load skipped or read otherwise fails the apply, and the caller
// puts back what was.
//
// Links are deleted, never followed, and made anew. Volatile keys are no part of a
// saved text and stay as they are; so do the keys the display driver keeps.
#include <windows.h>
#include <winternl.h>
#include <string.h>
#include <algorithm>
#include <ctype.h>
#include <emmintrin.h>
#include <string_view>
#include <vector>
#include "device.h"
#include "registry_image.h"

namespace {

const char kHeader[] = "WINE REGISTRY Version 2\n";

typedef LONG (NTAPI *NtKeyProc)(HANDLE);
typedef LONG (NTAPI *NtUnloadKeyProc)(POBJECT_ATTRIBUTES);

FARPROC NtProc(const char *name) { return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), name); }

DWORD DeleteOpenKey(HKEY key)
{
    static NtKeyProc deleteKey = (NtKeyProc)NtProc("NtDeleteKey");
    return deleteKey && deleteKey(key) == 0 ? 0 : ERROR_ACCESS_DENIED;
}

// In the device folder, where the next start removes what a power loss left.
std::wstring TempFile(const wchar_t *prefix)
{
    static LONG counter;
    wchar_t name[64];
    wsprintfW(name, L"scratch-%ls-%lx-%lx.txt", prefix, GetCurrentProcessId(), InterlockedIncrement(&counter));
    std::wstring path = DeviceFilePath(name);
    if (!path.empty()) return path;
    wchar_t folder[MAX_PATH + 1];
    DWORD n = GetTempPathW(MAX_PATH + 1, folder);
    if (n == 0 || n > MAX_PATH) lstrcpyW(folder, L".\\");
    return std::wstring(folder) + name;
}

// A key name as the registry's save escapes it, decoded.
std::wstring Unescape(const char *p, const char *end)
{
    static const char named[] = "abtnvfre";
    static const wchar_t meant[] = {7, 8, 9, 10, 11, 12, 13, 27};
    std::wstring out;
    while (p < end) {
        if (*p != '\\' || p + 1 == end) {
            out += (wchar_t)(BYTE)*p++;
            continue;
        }
        char e = *++p;
        const char *n = strchr(named, e);
        unsigned v = 0;
        int digits = 0;
        if (e == 'x') {
            for (++p; digits < 4 && p < end && isxdigit((BYTE)*p); ++digits, ++p)
                v = v * 16 + (isdigit((BYTE)*p) ? *p - '0' : (*p | 0x20) - 'a' + 10);
            out += digits ? (wchar_t)v : L'x';
        } else if (e >= '0' && e <= '7') {
            for (; digits < 3 && p < end && *p >= '0' && *p <= '7'; ++digits, ++p) v = v * 8 + (*p - '0');
            out += (wchar_t)v;
        } else {
            out += n && e ? meant[n - named] : (wchar_t)(BYTE)e;
            ++p;
        }
    }
    return out;
}

// Lower-case hexadecimal digits and their values; -1 for any other byte.
struct HexDigits {
    signed char value[256];
    HexDigits()
    {
        memset(value, -1, sizeof value);
        for (int i = 0; i < 16; ++i) value[(BYTE)"0123456789abcdef"[i]] = (signed char)i;
    }
};
const HexDigits kHex;

// Whether two spans hold the same bytes, eight at a time: texts of a hive mostly repeat
// each other, and the library's comparison goes a byte at a time.
bool SameBytes(const char *a, const char *b, size_t n)
{
    unsigned long long x, y;
    for (; n >= 8; n -= 8, a += 8, b += 8) {
        memcpy(&x, a, 8);
        memcpy(&y, b, 8);
        if (x != y) return false;
    }
    for (; n; --n)
        if (*a++ != *b++) return false;
    return true;
}

// How many bytes two spans begin with alike, of the first `n`.
size_t CommonPrefix(const char *a, const char *b, size_t n)
{
    size_t i = 0;
    for (unsigned long long x, y; i + 8 <= n; i += 8) {
        memcpy(&x, a + i, 8);
        memcpy(&y, b + i, 8);
        if (x != y) return i + __builtin_ctzll(x ^ y) / 8;
    }
    while (i < n && a[i] == b[i]) ++i;
    return i;
}

bool Same(std::string_view a, std::string_view b) { return a.size() == b.size() && SameBytes(a.data(), b.data(), a.size()); }

// The end of the line at `p`: its newline, or the end of the text. Sixteen bytes at a time.
const char *LineEnd(const char *p, const char *end)
{
    const __m128i newline = _mm_set1_epi8('\n');
    for (; end - p >= 16; p += 16)
        if (int mask = _mm_movemask_epi8(_mm_cmpeq_epi8(_mm_loadu_si128((const __m128i *)p), newline)))
            return p + __builtin_ctz(mask);
    while (p < end && *p != '\n') ++p;
    return p;
}

// A key line of a text and the lines below it up to the next: the key's path as the
// text writes it (between "[" and "]"), and whether the key is a link.
struct Block {
    std::string_view path, lines;
    bool link;
};

// A text's blocks one after another, and what comes before the first: the save's header.
class BlockWalk {
public:
    explicit BlockWalk(const std::string &text)
        : begin_(text.data()), end_(begin_ + text.size()), next_(NextKey(LineEnd(begin_, end_))) {}

    std::string_view Header() const { return std::string_view(begin_, (next_ < end_ ? next_ + 1 : end_) - begin_); }

    bool Next(Block *block)
    {
        if (next_ >= end_) return false;
        const char *at = next_, *line = LineEnd(at + 1, end_);
        next_ = NextKey(line);
        const char *stop = next_ < end_ ? next_ + 1 : end_, *close = line - (line[-1] == ']' ? 1 : 0);
        *block = {std::string_view(at + 2, close - (at + 2)), std::string_view(at + 1, stop - (at + 1)),
                  end_ - line >= 7 && memcmp(line, "\n#link\n", 7) == 0};
        return true;
    }

private:
    // The newline before the next key line, from the newline at `p`; the end when none.
    const char *NextKey(const char *p) const
    {
        for (; p < end_; p = LineEnd(p + 1, end_))
            if (p + 1 < end_ && p[1] == '[') return p;
        return end_;
    }

    const char *begin_, *end_, *next_;
};

std::vector<Block> BlocksOf(const std::string &text)
{
    std::vector<Block> blocks;
    BlockWalk walk(text);
    for (Block block; walk.Next(&block);) blocks.push_back(block);
    return blocks;
}

// Keys the display driver makes anew whenever the display starts or changes shape,
// deleting and writing them again from another process: the host's display, not the
// device's registry. An apply neither deletes nor loads them, and its check does not
// compare them, or it would race the display. Their paths as a save writes them.
const std::string_view kDisplayKeys[] = {
    "System\\\\CurrentControlSet\\\\Control\\\\Class\\\\{4D36E968-E325-11CE-BFC1-08002BE10318}",
    "System\\\\CurrentControlSet\\\\Control\\\\Class\\\\{4D36E96E-E325-11CE-BFC1-08002BE10318}",
    "System\\\\CurrentControlSet\\\\Control\\\\DeviceClasses\\\\{1CA05180-A699-450A-9A0C-DE4FBE3DDD89}",
    "System\\\\CurrentControlSet\\\\Control\\\\DeviceClasses\\\\{5B45201D-F2F2-4F3B-85BB-30FF1F953599}",
    "System\\\\CurrentControlSet\\\\Control\\\\DeviceClasses\\\\{E6F07B5F-EE97-4A90-B076-33F57BF4EAA7}",
    "System\\\\CurrentControlSet\\\\Control\\\\Video",
    "System\\\\CurrentControlSet\\\\Enum\\\\DISPLAY",
    "System\\\\CurrentControlSet\\\\Enum\\\\PCI",
};

bool DisplayKey(std::string_view path)
{
    for (std::string_view key : kDisplayKeys)
        if (path.size() >= key.size() && _strnicmp(path.data(), key.data(), key.size()) == 0 &&
            (path.size() == key.size() || path.compare(key.size(), 2, "\\\\") == 0))
            return true;
    return false;
}

// The keys of a text by their paths as it writes them, and the keys above them that
// have no line of their own: one flat table, as a reset looks up every key of a hive.
class PathTable {
public:
    static const size_t kMissing = (size_t)-1, kAbove = (size_t)-2;

    explicit PathTable(size_t keys) : used_(0)
    {
        size_t size = 64;
        while (size < keys * 4) size *= 2;
        slots_.resize(size);
        Put(std::string_view(), kAbove);   // the hive's own key
    }

    // A key's block, and every key above it as a key of the table.
    void AddKey(std::string_view path, size_t block)
    {
        bool known = Put(path, block);
        if (known) return;   // added above another before, and so were the keys above it
        cuts_.clear();
        for (size_t cut = path.find("\\\\"); cut != std::string_view::npos; cut = path.find("\\\\", cut + 2))
            cuts_.push_back(cut);
        for (size_t i = cuts_.size(); i-- > 0;)
            if (Put(path.substr(0, cuts_[i]), kAbove)) return;
    }

    // The key's block, kAbove for a key with no line of its own, or kMissing.
    size_t Find(std::string_view path)
    {
        Slot &slot = SlotOf(path);
        return slot.used ? slot.block : kMissing;
    }

private:
    struct Slot {
        bool used;
        std::string_view path;
        size_t block;
    };

    static size_t Hash(std::string_view s)
    {
        unsigned long long h = 0x9E3779B97F4A7C15ull ^ s.size();
        size_t i = 0;
        for (; i + 8 <= s.size(); i += 8) {
            unsigned long long word;
            memcpy(&word, s.data() + i, 8);
            h = (h ^ word) * 0xFF51AFD7ED558CCDull;
            h ^= h >> 32;
        }
        for (; i < s.size(); ++i) h = (h ^ (unsigned char)s[i]) * 0x100000001B3ull;
        return (size_t)(h ^ (h >> 29));
    }

    Slot &SlotOf(std::string_view path)
    {
        size_t mask = slots_.size() - 1;
        for (size_t i = Hash(path) & mask;; i = (i + 1) & mask)
            if (!slots_[i].used || Same(slots_[i].path, path)) return slots_[i];
    }

    // Whether the path was there; a key's first block wins over its place above another.
    bool Put(std::string_view path, size_t block)
    {
        Slot &slot = SlotOf(path);
        if (slot.used) {
            if (slot.block == kAbove) slot.block = block;
            return true;
        }
        slot = {true, path, block};
        if (++used_ * 2 > slots_.size()) Grow();
        return false;
    }

    void Grow()
    {
        std::vector<Slot> old(slots_.size() * 2);
        old.swap(slots_);
        for (const Slot &s : old)
            if (s.used) SlotOf(s.path) = s;
    }

    std::vector<Slot> slots_;
    size_t used_;
    std::vector<size_t> cuts_;
};

// A path as the text writes it, with the separators between names as the registry's.
std::wstring PathOf(std::string_view written)
{
    return Unescape(written.data(), written.data() + written.size());
}

void DeleteValues(HKEY key)
{
    std::vector<wchar_t> name(16384);
    for (;;) {
        DWORD length = (DWORD)name.size();
        if (RegEnumValueW(key, 0, &name[0], &length, NULL, NULL, NULL, NULL) != ERROR_SUCCESS) return;
        if (RegDeleteValueW(key, &name[0]) != ERROR_SUCCESS) return;
    }
}

DWORD LoadText(HKEY key, const std::string &text)
{
    std::wstring path = TempFile(L"simload");
    EnableRegistryPrivileges();
    // Read back at once and deleted: nothing to sync. A power loss leaves it to the next
    // start, which removes the device's scratch files.
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY, NULL);
    DWORD error = 0, wrote = 0;
    if (file == INVALID_HANDLE_VALUE) return GetLastError();
    if (!WriteFile(file, text.data(), (DWORD)text.size(), &wrote, NULL) || wrote != text.size())
        error = GetLastError() ? GetLastError() : ERROR_WRITE_FAULT;
    CloseHandle(file);
    if (!error) error = (DWORD)RegLoadKeyW(key, NULL, path.c_str());
    DeleteFileW(path.c_str());
    if (!error) {
        // A load does not mark what it wrote as changed; a real write does, so that
        // the registry keeps the loaded keys when it next saves itself.
        static const wchar_t mark[] = L"SimDevice applied image";
        DWORD one = 1;
        RegSetValueExW(key, mark, 0, REG_DWORD, (const BYTE *)&one, sizeof one);
        RegDeleteValueW(key, mark);
    }
    return error;
}

}  // namespace

bool SameRegistryText(const std::string &text, const std::string &want)
{
    if (Same(text, want)) return true;
    // Walked block by block, so that texts that differ stop being read where they do.
    BlockWalk a(text), b(want);
    if (!Same(a.Header(), b.Header())) return false;
    for (Block x, y;;) {
        bool moreA, moreB;
        while ((moreA = a.Next(&x)) && DisplayKey(x.path)) {}
        while ((moreB = b.Next(&y)) && DisplayKey(y.path)) {}
        if (!moreA || !moreB) return moreA == moreB;
        if (!Same(x.lines, y.lines)) return false;
    }
}

namespace {

// The start of the next line after `p` that AppendPlain may not copy as it stands: a
// blank line, a comment, a "#" line or a key line; `end` when there is none. Sixteen
// bytes a step: a newline beside the line's first character.
const char *NextMarkedLine(const char *p, const char *end)
{
    const __m128i newline = _mm_set1_epi8('\n'), key = _mm_set1_epi8('['), comment = _mm_set1_epi8(';'),
                  hash = _mm_set1_epi8('#');
    for (; end - p > 16; p += 16) {
        __m128i here = _mm_loadu_si128((const __m128i *)p), next = _mm_loadu_si128((const __m128i *)(p + 1));
        __m128i marked = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(next, newline), _mm_cmpeq_epi8(next, key)),
                                      _mm_or_si128(_mm_cmpeq_epi8(next, comment), _mm_cmpeq_epi8(next, hash)));
        if (int mask = _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(here, newline), marked)))
            return p + __builtin_ctz(mask) + 1;
    }
    for (; end - p > 1; ++p)
        if (*p == '\n' && (p[1] == '\n' || p[1] == '[' || p[1] == ';' || p[1] == '#')) return p + 1;
    return end;
}

// Copies [from, stop) to `to`, sixteen bytes a step, and returns the end of the copy: the
// runs are short and the library's copy is a call each. Reads nothing past `end`, and may
// write up to fifteen bytes past the copy.
inline char *CopyRun(char *to, const char *from, const char *stop, const char *end)
{
    char *copied = to + (stop - from);
    for (; from < stop && end - from >= 16; from += 16, to += 16)
        _mm_storeu_si128((__m128i *)to, _mm_loadu_si128((const __m128i *)from));
    for (; from < stop; ++from) *to++ = *from;
    return copied;
}

// Whether a line begins with a word of six characters, compared at once.
inline bool StartsWith6(const char *line, const char *end, const char *word)
{
    if (end - line < 6) return false;
    unsigned a, b;
    unsigned short c, d;
    __builtin_memcpy(&a, line, 4);
    __builtin_memcpy(&b, word, 4);
    __builtin_memcpy(&c, line + 4, 2);
    __builtin_memcpy(&d, word + 4, 2);
    return a == b && c == d;
}

}  // namespace

// The registry's save without what is no part of the contents: comments, blank lines,
// the architecture line, and each key's times, so that two saves of the same
// contents are the same bytes. What is kept goes over in runs between the lines that
// are left out or cut short, found sixteen bytes at a time: most lines are kept.
void AppendPlain(std::string_view saved, std::string *out)
{
    size_t at = out->size();
    out->resize(at + saved.size() + 16);   // room for CopyRun's last step
    char *to = &(*out)[at];
    const char *end = saved.data() + saved.size(), *run = saved.data();
    for (const char *line = run; line < end;) {
        const char *stop;
        if (*line == '\n') {   // a blank line
            to = CopyRun(to, run, line, end);
            run = line = line + 1;
            continue;
        }
        if (*line == ';' || (*line == '#' && (StartsWith6(line, end, "#time=") || StartsWith6(line, end, "#arch=")))) {
            to = CopyRun(to, run, line, end);
            stop = LineEnd(line, end);
            run = line = stop + (stop < end);
            continue;
        }
        if (*line == '[') {   // the time after the "]"
            stop = LineEnd(line, end);
            const char *close = stop;
            while (close > line && close[-1] != ']') --close;
            if (close > line && close < stop) {
                to = CopyRun(to, run, close, end);
                *to++ = '\n';
                run = line = stop + (stop < end);
                continue;
            }
        }
        line = NextMarkedLine(line, end);
    }
    to = CopyRun(to, run, end, end);
    if (run < end && end[-1] != '\n') *to++ = '\n';   // the last line, kept, ends as every other
    out->resize(to - out->data());
}

DWORD RegistryText(HKEY key, std::string *text)
{
    text->clear();
    return AppendRegistryText(key, text);
}

DWORD AppendRegistryText(HKEY key, std::string *text)
{
    FileView saved;
    DWORD error = SaveRegistryFile(key, &saved);
    if (!error) AppendPlain(saved.Bytes(), text);
    return error;
}

DWORD SaveRegistryFile(HKEY key, FileView *saved)
{
    EnableRegistryPrivileges();
    std::wstring path = TempFile(L"simsave");
    LONG r = RegSaveKeyW(key, path.c_str(), NULL);   // the registry's own, not ours
    PowerCutPoint("scratch-saved");
    if (r) {
        DeleteFileW(path.c_str());
        return (DWORD)r;
    }
    // Taken once, as it lies in the file, which goes when it is closed.
    DWORD error = saved->Open(path.c_str(), true);
    return error;
}

DWORD ApplyRegistryText(HKEY root, const std::string &want, const std::string *now, bool check)
{
    std::string saved;
    DWORD error = now ? 0 : RegistryText(root, &saved);
    const std::string &have = now ? *now : saved;
    if (error || SameRegistryText(have, want)) return error;
    if (want.compare(0, sizeof kHeader - 1, kHeader) != 0) return ERROR_REGISTRY_CORRUPT;
    // Only what differs is touched, found by the paths as both texts write them: a call
    // to the registry costs a round trip to its server, and a reset mostly changes a few
    // keys of thousands. A key whose name differs only in case is one that goes and one
    // that comes. A key the image lacks goes with its whole tree in one call. A key of
    // the image stays, its values cleared when its lines differ, so that a handle to it
    // (the classes root is one) still names it after the load; a link is made anew.
    std::vector<Block> had = BlocksOf(have), wanted = BlocksOf(want);
    PathTable paths(wanted.size());   // every key of the image, with those above one
    for (size_t i = 0; i < wanted.size(); ++i) paths.AddKey(wanted[i].path, i);
    std::vector<std::string_view> gone, cleared;
    std::vector<bool> loaded(wanted.size());
    for (size_t i = 0; i < wanted.size(); ++i)
        if (DisplayKey(wanted[i].path)) loaded[i] = true;   // the display's, as it keeps them
    for (const Block &h : had) {
        if (DisplayKey(h.path)) continue;
        size_t w = paths.Find(h.path);
        if (w == PathTable::kMissing) {
            std::string_view top = h.path;   // the key the image lacks highest above this one
            for (size_t cut = h.path.find("\\\\"); cut != std::string_view::npos; cut = h.path.find("\\\\", cut + 2))
                if (paths.Find(h.path.substr(0, cut)) == PathTable::kMissing) {
                    top = h.path.substr(0, cut);
                    break;
                }
            if (gone.empty() || gone.back() != top) gone.push_back(top);   // a tree's keys are together
        } else if (w != PathTable::kAbove && Same(wanted[w].lines, h.lines)) {
            loaded[w] = true;   // as it stands
        } else if (w != PathTable::kAbove && (h.link || wanted[w].link)) {
            gone.push_back(h.path);
        } else {
            cleared.push_back(h.path);
        }
    }
    for (std::string_view written : gone) {
        std::wstring path = PathOf(written);
        size_t cut = path.rfind(L'\\');
        std::wstring parent = path.substr(0, cut == std::wstring::npos ? 0 : cut);
        // Under a key opened here: a root's predefined handle is no handle to the registry.
        HKEY above = root;
        if (!parent.empty() && RegOpenKeyExW(root, parent.c_str(), 0, KEY_ALL_ACCESS, &above) != ERROR_SUCCESS) above = NULL;
        DWORD dropped = above ? DeleteKeyTree(above, path.c_str() + (parent.empty() ? 0 : cut + 1)) : ERROR_FILE_NOT_FOUND;
        if (above && above != root) RegCloseKey(above);
        if (dropped != ERROR_SUCCESS) cleared.push_back(written);   // it stays, with nothing of its own
    }
    for (std::string_view written : cleared) {
        HKEY key;
        if (RegOpenKeyExW(root, PathOf(written).c_str(), REG_OPTION_OPEN_LINK, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) continue;
        DeleteValues(key);
        RegCloseKey(key);
    }
    // "[]" first: the load then takes the paths as they stand.
    std::string load = std::string(kHeader) + "[]\n";
    for (size_t i = 0; i < wanted.size(); ++i)
        if (!loaded[i]) load.append(wanted[i].lines);
    if (load.size() > sizeof kHeader + 2) error = LoadText(root, load);
    if (error || !check) return error;
    error = RegistryText(root, &saved);
    if (!error && !SameRegistryText(saved, want)) error = ERROR_REGISTRY_CORRUPT;
    return error;
}

DWORD ApplyRegImage(const std::vector<RegImageSection> &sections, const wchar_t *journal, AppliedImage *applied)
{
    std::vector<RegImageSection> before(sections.size());
    for (size_t i = 0; i < sections.size(); ++i) {
        before[i].root = sections[i].root;
        DWORD error = RegistryText(RegImageRootKey(sections[i].root), &before[i].text);
        if (error) return error;
    }
    std::vector<bool> differs(sections.size());
    bool same = true;
    for (size_t i = 0; i < sections.size(); ++i) {
        differs[i] = !SameRegistryText(before[i].text, sections[i].text);
        if (differs[i]) same = false;
    }
    if (same) return SimGetFailure(SIM_FAIL_REGAPPLY);   // nothing to change, nothing to journal
    if (journal) {
        DWORD error = WriteFileAtomically(journal, ImageOfSections(before), true);
        if (error) return error;
        PowerCutPoint("apply-journal");
    }
    DWORD error = 0;
    size_t touched = 0;
    while (!error && touched < sections.size()) {
        const RegImageSection &s = sections[touched];
        // The flush's save checks the hive, the machine's once the boot count is raised;
        // one whose count cannot be foreseen is checked here.
        RegImageSection after = {s.root, applied && differs[touched] ? s.text : std::string()};
        bool later = !after.text.empty() && (s.root != REGIMG_ROOT_HKLM || RaiseBootCountInText(&after.text));
        error = ApplyRegistryText(RegImageRootKey(s.root), s.text, &before[touched].text, !later);
        if (!error && later) applied->saves.push_back(after);
        PowerCutPoint(s.root == REGIMG_ROOT_HKLM ? "apply-machine" : "apply-user");
        ++touched;
        if (!error) error = SimGetFailure(SIM_FAIL_REGAPPLY);   // a test's fault, one hive changed
    }
    if (error) {
        while (touched-- > 0) ApplyRegistryText(RegImageRootKey(sections[touched].root), before[touched].text);
        if (applied) applied->saves.clear();
        return error;
    }
    if (applied) applied->before.swap(before);
    return 0;
}

void UndoRegImage(AppliedImage *applied)
{
    for (const RegImageSection &s : applied->before) ApplyRegistryText(RegImageRootKey(s.root), s.text);
    applied->saves.clear();
    applied->before.clear();
}

bool RaiseBootCountInText(std::string *text)
{
    // The key's line, then its values up to the next key's line.
    static const char key[] = "\n[Comm]\n", value[] = "\"Bootcount\"=dword:";
    size_t at = text->find(key);
    if (at == std::string::npos) return false;
    size_t next = text->find("\n[", at + 1);
    size_t line = text->find(std::string("\n") + value, at + sizeof key - 3);
    if (line == std::string::npos || (next != std::string::npos && line > next)) return false;
    size_t digits = line + 1 + sizeof value - 1;
    if (text->size() < digits + 9 || (*text)[digits + 8] != '\n') return false;
    DWORD count = 0;
    for (size_t i = digits; i < digits + 8; ++i) {
        int v = kHex.value[(BYTE)(*text)[i]];
        if (v < 0) return false;
        count = count * 16 + v;
    }
    if (count != 0xFFFFFFFF) ++count;   // as RaiseBootCount counts
    for (int i = 7; i >= 0; --i, count >>= 4) (*text)[digits + i] = "0123456789abcdef"[count & 15];
    return true;
}

DWORD DeleteKeyTree(HKEY parent, const wchar_t *subkey)
{
    // The registry drops a whole tree in one call, a link as itself; a key held open
    // elsewhere needs the walk below.
    static NtUnloadKeyProc unload = (NtUnloadKeyProc)NtProc("NtUnloadKey");
    UNICODE_STRING name;
    name.Buffer = (PWSTR)subkey;
    name.Length = name.MaximumLength = (USHORT)(lstrlenW(subkey) * sizeof(wchar_t));
    OBJECT_ATTRIBUTES attributes;
    InitializeObjectAttributes(&attributes, &name, OBJ_CASE_INSENSITIVE | 0x100 /* OBJ_OPENLINK */, parent, NULL);
    EnableRegistryPrivileges();
    if (unload && unload(&attributes) == 0) return 0;

    HKEY key;
    LONG r = RegOpenKeyExW(parent, subkey, REG_OPTION_OPEN_LINK, KEY_ALL_ACCESS, &key);
    if (r != ERROR_SUCCESS) return (DWORD)r;
    DWORD error = 0;
    wchar_t child[256];
    for (DWORD length = 256; !error && RegEnumKeyExW(key, 0, child, &length, NULL, NULL, NULL, NULL) == 0; length = 256)
        error = DeleteKeyTree(key, child);
    if (!error) error = DeleteOpenKey(key);
    RegCloseKey(key);
    return error;
}

// ---- Checking a text without the registry ----
//
// A text is sound when it is exactly what the registry's save gives of some key in its
// plain form: its load then reads every line and saves back the same bytes. The check
// walks the text once and writes each name and value again as the save does, so a
// byte the save would not have written (an escape of its own, a key out of the
// registry's order or given twice, a value given twice) is refused.

namespace {

// Digits of a number, at least `width` of them (no printf here: the user library's
// formatting knows no octal).
void PutDigits(unsigned v, unsigned base, int width, std::string *out)
{
    char digits[12];
    int n = 0;
    do digits[n++] = "0123456789abcdef"[v % base], v /= base;
    while (v || n < width);
    while (n) *out += digits[--n];
}

// The save's escapes of a string, in its own choice of them.
void EncodeAsSaved(const wchar_t *s, size_t n, char escape, std::string *out)
{
    static const char named[] = ".......abtnvfr.............e....";
    out->clear();
    for (size_t i = 0; i < n; ++i) {
        unsigned c = s[i], next = i + 1 < n ? s[i + 1] : 0x10000;
        if (c > 127) {
            *out += "\\x";
            PutDigits(c, 16, next < 128 && isxdigit(next) ? 4 : 1, out);
        } else if (c < 32) {
            *out += '\\';
            if (named[c] != '.') *out += named[c];
            else PutDigits(c, 8, next >= '0' && next <= '7' ? 3 : 1, out);
        } else {
            if (c == '\\' || c == (unsigned)escape || (escape == '[' && c == ']')) *out += '\\';
            *out += (char)c;
        }
    }
}

// The registry's order of two names under one key: compared in lower case, then the
// shorter first. Beyond ASCII its own case tables decide, so two names that first
// differ there pass in either order, and the apply's check of what it loaded has the
// last word.
int CompareNames(const std::wstring &a, const std::wstring &b)
{
    size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        unsigned x = a[i], y = b[i];
        if (x == y) continue;
        if (x > 127 || y > 127) return 1;
        if (x >= 'A' && x <= 'Z') x += 32;
        if (y >= 'A' && y <= 'Z') y += 32;
        if (x != y) return (int)x - (int)y;
    }
    return (int)a.size() - (int)b.size();
}

// A name as the text writes it; decoded only when it holds an escape, since most names
// are plain and compare as they stand.
struct Name {
    std::string_view raw;
    bool plain;
    std::wstring decoded;
};

bool IsLowerHex(char c) { return kHex.value[(BYTE)c] >= 0; }
int Nibble(char c) { return kHex.value[(BYTE)c]; }

// The first byte from `p` that is `a`, `b`, a backslash, a control character or past
// ASCII: up to there the save writes the bytes as they are. Sixteen at a time, since
// this is the check's inner loop.
const char *PlainUpTo(const char *p, const char *end, char a, char b)
{
    const __m128i wantA = _mm_set1_epi8(a), wantB = _mm_set1_epi8(b), slash = _mm_set1_epi8('\\'),
                  space = _mm_set1_epi8(' ');
    for (; end - p >= 16; p += 16) {
        __m128i v = _mm_loadu_si128((const __m128i *)p);
        __m128i hit = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, wantA), _mm_cmpeq_epi8(v, wantB)),
                                   _mm_or_si128(_mm_cmpeq_epi8(v, slash), _mm_cmplt_epi8(v, space)));   // signed: past ASCII too
        if (int mask = _mm_movemask_epi8(hit)) return p + __builtin_ctz(mask);
    }
    for (; p < end; ++p)
        if (*p == a || *p == b || *p == '\\' || *p < ' ') return p;
    return end;
}

// The registry's order of two names, as CompareNames; plain ones compared as they stand.
int CompareWritten(const Name &a, const Name &b, std::wstring *scratchA, std::wstring *scratchB)
{
    if (a.plain && b.plain) {
        if (a.raw.size() == b.raw.size() && SameBytes(a.raw.data(), b.raw.data(), a.raw.size())) return 0;
        size_t n = std::min(a.raw.size(), b.raw.size());
        for (size_t i = 0; i < n; ++i) {
            unsigned x = (BYTE)a.raw[i], y = (BYTE)b.raw[i];
            if (x == y) continue;
            if (x >= 'A' && x <= 'Z') x += 32;
            if (y >= 'A' && y <= 'Z') y += 32;
            if (x != y) return (int)x - (int)y;
        }
        return (int)a.raw.size() - (int)b.raw.size();
    }
    if (a.plain) scratchA->assign(a.raw.begin(), a.raw.end());
    if (b.plain) scratchB->assign(b.raw.begin(), b.raw.end());
    return CompareNames(a.plain ? *scratchA : a.decoded, b.plain ? *scratchB : b.decoded);
}

class TextCheck {
public:
    explicit TextCheck(std::string_view text) : p_(text.data()), end_(text.data() + text.size()) {}
    bool Sound();

private:
    // Compared here rather than by the library's memcmp: the words are short and known
    // at compile time, and there are a few for every line.
    template <size_t N> bool Take(const char (&s)[N])
    {
        const size_t n = N - 1;
        if ((size_t)(end_ - p_) < n) return false;
        for (size_t i = 0; i < n; ++i)
            if (p_[i] != s[i]) return false;
        p_ += n;
        return true;
    }
    bool Quoted(Name *name);
    bool Escaped(const char *start, const char *stop, char escape, std::wstring *decoded);
    bool KeyLine();
    bool Data(int count);

    const char *p_, *end_;
    Name name_, last_;
    std::wstring text_, scratchA_, scratchB_;
    std::string encoded_;
    std::vector<Name> path_, previous_;   // a key's names, the first depth_ or previousDepth_ of them
    size_t depth_ = 0, previousDepth_ = 0, same_ = 0;
};

// Whether the bytes that hold an escape are the save's own spelling of what they mean.
bool TextCheck::Escaped(const char *start, const char *stop, char escape, std::wstring *decoded)
{
    *decoded = Unescape(start, stop);
    EncodeAsSaved(decoded->data(), decoded->size(), escape, &encoded_);
    return encoded_.size() == (size_t)(stop - start) && memcmp(encoded_.data(), start, encoded_.size()) == 0;
}

// A string up to its closing quote (the opening one taken), as the save writes it; the
// name it spells when asked for.
bool TextCheck::Quoted(Name *name)
{
    const char *start = p_, *stop = PlainUpTo(p_, end_, '"', '"');
    bool plain = stop < end_ && *stop == '"';
    // A value's string whose only escapes are of a backslash or a quote is as the save
    // writes it, and its end is found as plainly: most paths are such strings.
    for (const char *at = stop; !plain && !name && end_ - at >= 2 && at[0] == '\\' && (at[1] == '\\' || at[1] == '"');) {
        at = PlainUpTo(at + 2, end_, '"', '"');
        if (at < end_ && *at == '"') {
            p_ = at + 1;
            return true;
        }
    }
    if (!plain) {
        // An escape, or a byte the save escapes: the string's end found step by step.
        stop = start;
        while (stop < end_ && *stop != '"' && *stop != '\n') stop += *stop == '\\' && stop + 1 < end_ ? 2 : 1;
        if (stop >= end_ || *stop != '"') return false;
        if (!Escaped(start, stop, '"', name ? &name->decoded : &text_)) return false;
    }
    p_ = stop + 1;
    if (name) {
        name->raw = std::string_view(start, stop - start);
        name->plain = plain;
    }
    return true;
}

// A key's path: its names, each as the save writes it, joined by a doubled backslash.
bool TextCheck::KeyLine()
{
    depth_ = 0;   // the names are kept from key to key: the heap is slow
    // The names that this path begins with as the last key's did, each with the two
    // bytes after it, read as they were read there: only the names after are read.
    same_ = 0;
    if (previousDepth_) {
        const char *before = previous_[0].raw.data();
        const std::string_view &last = previous_[previousDepth_ - 1].raw;
        size_t common = CommonPrefix(p_, before, std::min<size_t>(last.data() + last.size() + 1 - before, end_ - p_));
        for (; same_ < previousDepth_; ++same_) {
            const Name &was = previous_[same_];
            size_t stop = was.raw.data() + was.raw.size() - before;
            if (stop + 1 >= common) break;
            if (path_.size() == same_) path_.emplace_back();
            Name &name = path_[same_];
            name.raw = std::string_view(p_ + (was.raw.data() - before), was.raw.size());
            name.plain = was.plain;
            if (!was.plain) name.decoded = was.decoded;
        }
        if (same_) p_ = path_[same_ - 1].raw.data() + path_[same_ - 1].raw.size() + 2;   // past its "\\"
        depth_ = same_;
    }
    for (bool more = same_ || (p_ < end_ && *p_ != ']'); more;) {
        if (path_.size() == depth_) path_.emplace_back();
        Name &name = path_[depth_++];
        const char *start = p_, *stop = PlainUpTo(p_, end_, '[', ']');
        name.plain = stop < end_ && (*stop == ']' || (*stop == '\\' && stop + 1 < end_ && stop[1] == '\\'));
        if (!name.plain) {
            stop = start;
            while (stop < end_ && *stop != ']' && *stop != '\n' && !(stop[0] == '\\' && stop + 1 < end_ && stop[1] == '\\'))
                stop += *stop == '\\' && stop + 1 < end_ ? 2 : 1;
        }
        if (stop == start || stop >= end_ || *stop == '\n') return false;
        if (!name.plain && !Escaped(start, stop, '[', &name.decoded)) return false;
        name.raw = std::string_view(start, stop - start);
        p_ = stop;
        more = *p_ == '\\';
        if (more) p_ += 2;
    }
    return Take("]\n");
}

bool TextCheck::Data(int count)
{
    if (Take("\"")) return Quoted(NULL) && Take("\n");
    if (Take("dword:")) {
        if (end_ - p_ < 9) return false;
        for (int i = 0; i < 8; ++i)
            if (!IsLowerHex(p_[i])) return false;
        p_ += 8;
        return Take("\n");
    }
    const char *prefix = p_;
    DWORD type = REG_BINARY;
    bool string = Take("str(");
    if (string || Take("hex(")) {
        const char *digits = p_;
        type = 0;
        while (p_ < end_ && IsLowerHex(*p_) && p_ - digits < 8) type = type * 16 + Nibble(*p_++);
        std::string again;
        PutDigits(type, 16, 1, &again);
        if (p_ == digits || again.size() != (size_t)(p_ - digits) || !Take("):")) return false;
        if (!string && type == REG_BINARY) return false;   // written "hex:"
    } else if (!Take("hex:")) {
        return false;
    }
    if (string) return (type == REG_EXPAND_SZ || type == REG_MULTI_SZ) && Take("\"") && Quoted(NULL) && Take("\n");
    count += (int)(p_ - prefix);
    size_t length = 0;
    int last[2] = {1, 1};
    if (!Take("\n")) {
        for (;;) {
            int high, low;
            if (end_ - p_ < 2 || (high = Nibble(p_[0])) < 0 || (low = Nibble(p_[1])) < 0) return false;
            last[0] = last[1];
            last[1] = high * 16 + low;
            p_ += 2;
            count += 2;
            ++length;
            if (p_ < end_ && *p_ == '\n') {
                ++p_;
                break;
            }
            if (p_ >= end_ || *p_++ != ',') return false;
            if (++count > 76) {
                if (!Take("\\\n  ")) return false;
                count = 2;
            }
        }
    }
    // What the save writes in another form: a whole string, a number.
    bool stringType = type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
    if (stringType && length >= 2 && length % 2 == 0 && !last[0] && !last[1]) return false;
    return !(type == REG_DWORD && length == 4);
}

bool TextCheck::Sound()
{
    if (!Take("WINE REGISTRY Version 2\n")) return false;
    bool inKey = false, bare = false, valued = false;
    int stage = 0;   // 0 after the key line, 1 after its class, 2 after its link or a value
    while (p_ < end_) {
        if (Take("[")) {
            if (!KeyLine()) return false;
            // After the key before it in the save's order, the tree walked depth first;
            // a key with sub-keys and nothing of its own has no line.
            if (inKey) {
                size_t i = same_;   // the same names as the last key's
                int order = 0;
                while (i < depth_ && i < previousDepth_ &&
                       (order = CompareWritten(path_[i], previous_[i], &scratchA_, &scratchB_)) == 0)
                    ++i;
                if (i == depth_) return false;   // the same key again, or one above the last
                if (i < previousDepth_ && order < 0) return false;
                if (i == previousDepth_ && bare) return false;
            }
            previous_.swap(path_);
            std::swap(previousDepth_, depth_);
            inKey = bare = true;
            valued = false;
            stage = 0;
            continue;
        }
        if (!inKey) return false;
        if (stage == 0 && Take("#class=\"")) {
            if (!Quoted(NULL) || !Take("\n")) return false;
            stage = 1;
            bare = false;
            continue;
        }
        if (stage <= 1 && Take("#link\n")) {
            stage = 2;
            bare = false;
            continue;
        }
        stage = 2;
        bare = false;
        int count = 2;
        if (Take("@=")) {
            name_.raw = std::string_view();
            name_.plain = true;
        } else if (Take("\"")) {
            const char *start = p_;
            if (!Quoted(&name_) || name_.raw.empty() || !Take("=")) return false;
            count = 1 + (int)(p_ - 2 - start) + 2;
        } else {
            return false;
        }
        if (valued && CompareWritten(name_, last_, &scratchA_, &scratchB_) <= 0) return false;   // in the registry's order, each once
        std::swap(last_, name_);
        valued = true;
        if (!Data(count)) return false;
    }
    return true;
}

}  // namespace

bool IsSavedRegistryText(std::string_view text)
{
    return TextCheck(text).Sound();
}
