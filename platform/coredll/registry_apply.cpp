// Making the running registry exactly an image. The registry's own save gives what a
// key holds as text in milliseconds. Every key of that text the image lacks is deleted,
// the others are emptied of their values, and the image's text goes to the registry's
// load call whole. The key is then saved once more and must come out exactly as the
// image: whatever the load skipped or read otherwise fails the apply, and the caller
// puts back what was.
//
// Links are deleted, never followed, and made anew. Volatile keys are no part of a
// saved text and stay as they are.
#include <windows.h>
#include <winternl.h>
#include <string.h>
#include <map>
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

// Every key of a text, as the registry compares names, and every key above one (those
// without values and with sub-keys have no line of their own); each with whether it is
// a link.
std::map<std::wstring, bool> KeysOf(const std::string &text)
{
    std::map<std::wstring, bool> keys{{L"", false}};
    for (size_t at = text.find("\n["); at != std::string::npos; at = text.find("\n[", at + 1)) {
        size_t end = text.find('\n', at + 1);
        if (end == std::string::npos) end = text.size();
        std::wstring path = Unescape(text.data() + at + 2, text.data() + end - (text[end - 1] == ']' ? 1 : 0));
        if (!path.empty()) CharUpperBuffW(&path[0], (DWORD)path.size());
        keys[path] = text.compare(end, 7, "\n#link\n") == 0;
        while (!path.empty()) {
            size_t cut = path.rfind(L'\\');
            path.erase(cut == std::wstring::npos ? 0 : cut);
            if (!keys.emplace(path, false).second) break;
        }
    }
    return keys;
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
    DWORD error = WriteFileAtomically(path.c_str(), text, true);
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
    PowerCutPoint("scratch-saved");
    DWORD error = r ? (DWORD)r : ReadRegImageFile(path.c_str(), text);
    DeleteFileW(path.c_str());
    if (!error) MakePlain(text);
    return error;
}

DWORD ApplyRegistryText(HKEY root, const std::string &want, const std::string *now)
{
    std::string have;
    DWORD error = now ? 0 : RegistryText(root, &have);
    if (now) have = *now;
    if (error || have == want) return error;
    if (want.compare(0, sizeof kHeader - 1, kHeader) != 0) return ERROR_REGISTRY_CORRUPT;
    // Deepest first (a sub-key sorts after its parent), so that a key has lost its
    // sub-keys by its turn. A key of the image stays, its values cleared, so that a handle
    // to it (the classes root is one) still names it after the load; a link is made anew,
    // and a key that still holds volatile keys cannot go.
    std::map<std::wstring, bool> keys = KeysOf(have), wanted = KeysOf(want);
    for (auto k = keys.rbegin(); k != keys.rend(); ++k) {
        HKEY key;
        if (RegOpenKeyExW(root, k->first.c_str(), REG_OPTION_OPEN_LINK, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) continue;
        auto w = wanted.find(k->first);
        bool keep = k->first.empty() || (w != wanted.end() && !w->second && !k->second);
        if (keep || DeleteOpenKey(key) != ERROR_SUCCESS) DeleteValues(key);   // kept, or it could not go
        RegCloseKey(key);
    }
    // "[]" first: the load then takes the paths as they stand.
    error = LoadText(root, std::string(kHeader) + "[]\n" + want.substr(sizeof kHeader - 1));
    if (!error) error = RegistryText(root, &have);
    if (!error && have != want) error = ERROR_REGISTRY_CORRUPT;
    return error;
}

DWORD ApplyRegImage(const std::vector<RegImageSection> &sections, const wchar_t *journal)
{
    std::vector<RegImageSection> before(sections.size());
    for (size_t i = 0; i < sections.size(); ++i) {
        before[i].root = sections[i].root;
        DWORD error = RegistryText(RegImageRootKey(sections[i].root), &before[i].text);
        if (error) return error;
    }
    bool same = true;
    for (size_t i = 0; i < sections.size(); ++i) same &= before[i].text == sections[i].text;
    if (same) return SimGetFailure(SIM_FAIL_REGAPPLY);   // nothing to change, nothing to journal
    if (journal) {
        DWORD error = WriteFileAtomically(journal, ImageOfSections(before), true);
        if (error) return error;
        PowerCutPoint("apply-journal");
    }
    DWORD error = 0;
    size_t touched = 0;
    while (!error && touched < sections.size()) {
        error = ApplyRegistryText(RegImageRootKey(sections[touched].root), sections[touched].text, &before[touched].text);
        PowerCutPoint(sections[touched].root == REGIMG_ROOT_HKLM ? "apply-machine" : "apply-user");
        ++touched;
        if (!error) error = SimGetFailure(SIM_FAIL_REGAPPLY);   // a test's fault, one hive changed
    }
    if (error) {
        while (touched-- > 0) ApplyRegistryText(RegImageRootKey(sections[touched].root), before[touched].text);
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
