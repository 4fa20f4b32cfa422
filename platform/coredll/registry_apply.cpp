// Making the running registry exactly an image. The registry's own save gives what a
// key holds as text in milliseconds. That text and the image's are compared key block
// by key block: keys the image lacks are deleted, the values of changed keys are
// cleared, and the image's changed blocks go to the registry's load call as one text.
// The key is then saved once more and must come out exactly as the image: whatever the
// load skipped or read otherwise fails the apply, and the caller puts back what was.
//
// Links are deleted, never followed, and a changed link is made anew. Volatile keys are
// no part of a saved text and stay as they are.
#include <windows.h>
#include <winternl.h>
#include <string.h>
#include <algorithm>
#include <unordered_map>
#include <unordered_set>
#include "simdevice.h"
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

std::wstring TempFile(const wchar_t *prefix)
{
    static LONG counter;
    wchar_t folder[MAX_PATH + 1], name[64];
    DWORD n = GetTempPathW(MAX_PATH + 1, folder);
    if (n == 0 || n > MAX_PATH) lstrcpyW(folder, L".\\");
    wsprintfW(name, L"%ls-%lx-%lx.txt", prefix, GetCurrentProcessId(), InterlockedIncrement(&counter));
    return std::wstring(folder) + name;
}

// One key of a text: its "[" line and the lines up to the next one.
struct Block {
    std::wstring path;
    std::wstring folded;   // as the registry compares names
    size_t begin, length;
    bool link;
};

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

std::vector<Block> Blocks(const std::string &text)
{
    std::vector<Block> out;
    for (size_t at = text.find("\n["); at != std::string::npos;) {
        size_t begin = at + 1, next = text.find("\n[", begin);
        size_t end = next == std::string::npos ? text.size() : next + 1;
        size_t lineEnd = text.find('\n', begin);
        if (lineEnd > end) lineEnd = end;
        Block b;
        b.path = Unescape(text.data() + begin + 1, text.data() + lineEnd - (text[lineEnd - 1] == ']' ? 1 : 0));
        b.folded = b.path;
        if (!b.folded.empty()) CharUpperBuffW(&b.folded[0], (DWORD)b.folded.size());
        b.begin = begin;
        b.length = end - begin;
        b.link = text.compare(lineEnd, 7, "\n#link\n") == 0;
        out.push_back(b);
        at = next;
    }
    return out;
}

// A path with every key above it, up to the root ("").
void AddWithParents(std::unordered_set<std::wstring> *set, std::wstring path)
{
    while (set->insert(path).second && !path.empty()) {
        size_t cut = path.rfind(L'\\');
        path.erase(cut == std::wstring::npos ? 0 : cut);
    }
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
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY, NULL);
    if (file == INVALID_HANDLE_VALUE) return GetLastError();
    DWORD wrote = 0;
    BOOL ok = WriteFile(file, text.data(), (DWORD)text.size(), &wrote, NULL) && wrote == text.size();
    CloseHandle(file);
    EnableRegistryPrivileges();
    DWORD error = ok ? (DWORD)RegLoadKeyW(key, NULL, path.c_str()) : ERROR_WRITE_FAULT;
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

// The registry's save without what is no part of the contents: comments, blank lines,
// the architecture line, and each key's times, so that two saves of the same
// contents are the same bytes.
void MakePlain(std::string *text)
{
    std::string out;
    out.reserve(text->size());
    for (size_t at = 0; at < text->size();) {
        size_t end = text->find('\n', at);
        if (end == std::string::npos) end = text->size();
        const char *line = text->data() + at;
        size_t length = end - at;
        if (length && line[0] == '[') length = text->rfind(']', end - 1) + 1 - at;
        if (length && line[0] != ';' && strncmp(line, "#time=", 6) && strncmp(line, "#arch=", 6)) {
            out.append(line, length);
            out += '\n';
        }
        at = end + 1;
    }
    text->swap(out);
}

}  // namespace

DWORD RegistryText(HKEY key, std::string *text)
{
    EnableRegistryPrivileges();
    std::wstring path = TempFile(L"simsave");
    LONG r = RegSaveKeyW(key, path.c_str(), NULL);   // the registry's own, not ours
    DWORD error = r ? (DWORD)r : ReadRegImageFile(path.c_str(), text);
    DeleteFileW(path.c_str());
    if (!error) MakePlain(text);
    return error;
}

DWORD ApplyRegistryText(HKEY root, const std::string &want)
{
    std::string have;
    DWORD error = RegistryText(root, &have);
    if (error || have == want) return error;
    if (want.compare(0, sizeof kHeader - 1, kHeader) != 0) return ERROR_REGISTRY_CORRUPT;

    std::vector<Block> now = Blocks(have), next = Blocks(want);
    std::unordered_map<std::wstring, const Block *> wanted;
    std::unordered_set<std::wstring> kept, same, emptied;   // kept: the image's keys and all above them
    for (const Block &b : next) {
        wanted[b.folded] = &b;
        AddWithParents(&kept, b.folded);
    }
    // Deepest keys first, so that a key to delete has lost its sub-keys by its turn.
    for (auto b = now.rbegin(); b != now.rend(); ++b) {
        auto w = wanted.find(b->folded);
        if (w != wanted.end() && b->length == w->second->length &&
            have.compare(b->begin, b->length, want, w->second->begin, b->length) == 0) {
            same.insert(b->folded);
            continue;
        }
        HKEY key;
        if (RegOpenKeyExW(root, b->path.c_str(), REG_OPTION_OPEN_LINK, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) continue;
        bool gone = !kept.count(b->folded);
        if (!b->folded.empty() && (gone || b->link || (w != wanted.end() && w->second->link))) {
            DeleteOpenKey(key);
            if (gone) AddWithParents(&emptied, b->folded);
        } else {
            DeleteValues(key);
        }
        RegCloseKey(key);
    }
    // Keys above deleted ones that the image lacks, deepest first; one that still
    // holds volatile keys stays.
    std::vector<std::wstring> parents;
    for (const std::wstring &p : emptied)
        if (!kept.count(p)) parents.push_back(p);
    std::sort(parents.begin(), parents.end(),
              [](const std::wstring &a, const std::wstring &b) { return a.size() > b.size(); });
    for (const std::wstring &p : parents) {
        HKEY key;
        if (RegOpenKeyExW(root, p.c_str(), REG_OPTION_OPEN_LINK, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) continue;
        DeleteOpenKey(key);
        RegCloseKey(key);
    }
    // "[]" first: the load then takes the paths as they stand.
    std::string load = std::string(kHeader) + "[]\n";
    for (const Block &b : next)
        if (!same.count(b.folded)) load.append(want, b.begin, b.length);
    error = LoadText(root, load);
    if (!error) error = RegistryText(root, &have);
    if (!error && have != want) error = ERROR_REGISTRY_CORRUPT;
    return error;
}

DWORD ApplyRegImage(const std::vector<RegImageSection> &sections)
{
    std::vector<std::string> before(sections.size());
    for (size_t i = 0; i < sections.size(); ++i) {
        DWORD error = RegistryText(RegImageRootKey(sections[i].root), &before[i]);
        if (error) return error;
    }
    DWORD error = 0;
    size_t touched = 0;
    while (!error && touched < sections.size()) {
        error = ApplyRegistryText(RegImageRootKey(sections[touched].root), sections[touched].text);
        ++touched;
        if (!error) error = SimGetFailure(SIM_FAIL_REGAPPLY);   // a test's fault, one hive changed
    }
    if (error) {
        while (touched-- > 0) ApplyRegistryText(RegImageRootKey(sections[touched].root), before[touched]);
    }
    return error;
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
