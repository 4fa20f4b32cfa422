// The registry image of the device: the whole-registry copy and restore, the hive save
// and replace calls, and the image staged for the next soft reset.
//
// A copy is taken with the registry's own hive save, which answers in milliseconds,
// rather than by walking the keys, which costs a server round trip per key and value.
// A restore only checks the file and stages it: the running registry changes at the
// next soft reset, as on the device.
#include <algorithm>
#include <string.h>
#include "ceplatform.h"
#include "simdevice.h"
#include "registry_image.h"

namespace {

DWORD g_crcTable[8][256];
bool g_crcReady;

void InitCrc()
{
    for (DWORD i = 0; i < 256; ++i) {
        DWORD c = i;
        for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        g_crcTable[0][i] = c;
    }
    for (DWORD i = 0; i < 256; ++i)
        for (int t = 1; t < 8; ++t)
            g_crcTable[t][i] = (g_crcTable[t - 1][i] >> 8) ^ g_crcTable[0][g_crcTable[t - 1][i] & 0xFF];
    g_crcReady = true;
}

void PutU32(std::string *out, DWORD v) { out->append((const char *)&v, 4); }
void PutU64(std::string *out, ULONGLONG v) { out->append((const char *)&v, 8); }
DWORD GetU32(const std::string &in, size_t at) { DWORD v; memcpy(&v, in.data() + at, 4); return v; }
ULONGLONG GetU64(const std::string &in, size_t at) { ULONGLONG v; memcpy(&v, in.data() + at, 8); return v; }

bool ValidRoot(DWORD root) { return root >= REGIMG_ROOT_HKLM && root <= REGIMG_ROOT_HKU; }

// Splits a path into its folder (for temporary files beside it) and checks it names a file.
bool FolderOf(const std::wstring &full, std::wstring *folder)
{
    size_t cut = full.find_last_of(L"\\/");
    if (cut == std::wstring::npos || cut + 1 >= full.size()) return false;
    *folder = full.substr(0, cut);
    return true;
}

std::wstring FullPath(const wchar_t *path)
{
    DWORD n = GetFullPathNameW(path, 0, NULL, NULL);
    if (n == 0) return std::wstring();
    std::wstring full(n, L'\0');
    DWORD got = GetFullPathNameW(path, n, &full[0], NULL);
    if (got == 0 || got >= n) return std::wstring();
    full.resize(got);
    return full;
}

std::wstring UniqueSuffix()
{
    static LONG counter;
    wchar_t buffer[48];
    wsprintfW(buffer, L"%lx-%lx-%lx", GetCurrentProcessId(), GetTickCount(), InterlockedIncrement(&counter));
    return buffer;
}

std::wstring TempFolder()
{
    wchar_t buffer[MAX_PATH + 1];
    DWORD n = GetTempPathW(MAX_PATH + 1, buffer);
    if (n == 0 || n > MAX_PATH) return L".\\";
    return buffer;
}

// Section list of the staged image, or empty when none is staged or it is unreadable.
bool ReadStagedSections(std::vector<RegImageSection> *sections)
{
    std::wstring staged;
    std::string bytes;
    if (!DeviceFilePath(REGIMG_STAGED_NAME, &staged)) return false;
    if (ReadRegImageFile(staged.c_str(), &bytes) != 0) return false;
    return CheckRegImage(bytes, sections) == 0;
}

// The text without one top-level key and everything below it.
std::string WithoutTopKey(const std::string &text, const std::wstring &folded)
{
    RegText parsed;
    if (!ParseRegText(text.data(), text.size(), &parsed, NULL) || parsed.keys.empty()) return text;
    std::string out = text.substr(0, parsed.keys[0].blockBegin);
    for (const RegTextKey &key : parsed.keys) {
        if (key.folded == folded || key.folded.compare(0, folded.size() + 1, folded + L"\\") == 0) continue;
        out.append(text, key.blockBegin, key.blockEnd - key.blockBegin);
        if (out.back() != '\n') out += '\n';
    }
    return out;
}

bool SameTarget(const RegImageSection &a, DWORD root, const std::wstring &path)
{
    return a.root == root && FoldRegName(a.path) == FoldRegName(path);
}

}  // namespace

DWORD Crc32(const void *data, size_t length, DWORD crc)
{
    if (!g_crcReady) InitCrc();
    const BYTE *p = (const BYTE *)data;
    crc = ~crc;
    while (length >= 8) {
        DWORD a, b;
        memcpy(&a, p, 4);
        memcpy(&b, p + 4, 4);
        a ^= crc;
        crc = g_crcTable[7][a & 0xFF] ^ g_crcTable[6][(a >> 8) & 0xFF] ^ g_crcTable[5][(a >> 16) & 0xFF] ^
              g_crcTable[4][a >> 24] ^ g_crcTable[3][b & 0xFF] ^ g_crcTable[2][(b >> 8) & 0xFF] ^
              g_crcTable[1][(b >> 16) & 0xFF] ^ g_crcTable[0][b >> 24];
        p += 8;
        length -= 8;
    }
    while (length--) crc = g_crcTable[0][(crc ^ *p++) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

std::string BuildRegImage(const std::vector<RegImageSection> &sections)
{
    size_t total = REGIMG_HEADER_SIZE;
    for (const RegImageSection &s : sections)
        total += REGIMG_SECTION_HEADER_SIZE + s.path.size() * sizeof(wchar_t) + s.text.size();
    std::string out;
    out.reserve(total);
    out.append(REGIMG_MAGIC, 8);
    PutU32(&out, REGIMG_VERSION);
    PutU32(&out, REGIMG_HEADER_SIZE);
    PutU32(&out, (DWORD)sections.size());
    PutU32(&out, 0);
    PutU64(&out, total);
    PutU32(&out, 0);   // checksum, filled in below
    PutU32(&out, 0);
    for (const RegImageSection &s : sections) {
        PutU32(&out, s.root);
        PutU32(&out, REGIMG_TEXT_WINE2);
        PutU32(&out, (DWORD)(s.path.size() * sizeof(wchar_t)));
        PutU32(&out, 0);
        PutU64(&out, s.text.size());
        out.append((const char *)s.path.data(), s.path.size() * sizeof(wchar_t));
        out.append(s.text);
    }
    DWORD crc = Crc32(out.data(), out.size());
    memcpy(&out[REGIMG_CRC_OFFSET], &crc, 4);
    return out;
}

DWORD CheckRegImage(const std::string &bytes, std::vector<RegImageSection> *sections, std::vector<RegText> *texts)
{
    sections->clear();
    if (texts) texts->clear();
    if (bytes.size() < 8 || memcmp(bytes.data(), REGIMG_MAGIC, 8) != 0) return ERROR_NOT_REGISTRY_FILE;
    if (bytes.size() < REGIMG_HEADER_SIZE) return ERROR_REGISTRY_CORRUPT;
    if (GetU32(bytes, 8) != REGIMG_VERSION) return ERROR_NOT_REGISTRY_FILE;
    if (GetU32(bytes, 12) != REGIMG_HEADER_SIZE) return ERROR_REGISTRY_CORRUPT;
    DWORD count = GetU32(bytes, 16);
    if (count == 0 || count > REGIMG_MAX_SECTIONS) return ERROR_REGISTRY_CORRUPT;
    if (GetU64(bytes, 24) != bytes.size()) return ERROR_REGISTRY_CORRUPT;   // cut short or grown

    DWORD stored = GetU32(bytes, REGIMG_CRC_OFFSET);
    const DWORD zero = 0;
    DWORD crc = Crc32(bytes.data(), REGIMG_CRC_OFFSET);
    crc = Crc32(&zero, 4, crc);
    crc = Crc32(bytes.data() + REGIMG_CRC_OFFSET + 4, bytes.size() - REGIMG_CRC_OFFSET - 4, crc);
    if (crc != stored) return ERROR_REGISTRY_CORRUPT;

    size_t at = REGIMG_HEADER_SIZE;
    for (DWORD i = 0; i < count; ++i) {
        if (bytes.size() - at < REGIMG_SECTION_HEADER_SIZE) return ERROR_REGISTRY_CORRUPT;
        RegImageSection s;
        s.root = GetU32(bytes, at);
        DWORD format = GetU32(bytes, at + 4);
        DWORD pathBytes = GetU32(bytes, at + 8);
        ULONGLONG textBytes = GetU64(bytes, at + 16);
        at += REGIMG_SECTION_HEADER_SIZE;
        if (!ValidRoot(s.root) || format != REGIMG_TEXT_WINE2 || (pathBytes & 1)) return ERROR_REGISTRY_CORRUPT;
        if (pathBytes > bytes.size() - at) return ERROR_REGISTRY_CORRUPT;
        s.path.assign((const wchar_t *)(bytes.data() + at), pathBytes / sizeof(wchar_t));
        at += pathBytes;
        if (textBytes > bytes.size() - at) return ERROR_REGISTRY_CORRUPT;
        s.text.assign(bytes.data() + at, (size_t)textBytes);
        at += (size_t)textBytes;
        if (!ValidRegKeyPath(s.path)) return ERROR_REGISTRY_CORRUPT;
        RegText parsed;
        if (!ParseRegText(s.text.data(), s.text.size(), &parsed, NULL)) return ERROR_REGISTRY_CORRUPT;
        sections->push_back(s);
        if (texts) texts->push_back(std::move(parsed));
    }
    if (at != bytes.size()) return ERROR_REGISTRY_CORRUPT;
    return 0;
}

DWORD ReadRegImageFile(const wchar_t *path, std::string *bytes)
{
    bytes->clear();
    if (!path || !*path) return ERROR_INVALID_PARAMETER;
    DWORD attributes = GetFileAttributesW(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        DWORD error = GetLastError();
        return error ? error : ERROR_FILE_NOT_FOUND;
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return ERROR_NOT_REGISTRY_FILE;
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, NULL);
    if (file == INVALID_HANDLE_VALUE) return GetLastError();
    LARGE_INTEGER size;
    DWORD error = 0;
    if (!GetFileSizeEx(file, &size)) error = GetLastError();
    else if (size.QuadPart > REGIMG_MAX_FILE) error = ERROR_NOT_REGISTRY_FILE;
    else if (size.QuadPart > 0) {
        bytes->resize((size_t)size.QuadPart);
        DWORD got = 0;
        if (!ReadFile(file, &(*bytes)[0], (DWORD)size.QuadPart, &got, NULL)) error = GetLastError();
        else if (got != size.QuadPart) error = ERROR_REGISTRY_CORRUPT;
    }
    CloseHandle(file);
    if (error) bytes->clear();
    return error;
}

DWORD WriteFileAtomically(const wchar_t *path, const std::string &bytes, bool replace)
{
    if (!path || !*path) return ERROR_INVALID_PARAMETER;
    std::wstring full = FullPath(path), folder;
    if (full.empty()) return ERROR_INVALID_NAME;
    if (!FolderOf(full, &folder)) return ERROR_INVALID_NAME;
    DWORD attributes = GetFileAttributesW(full.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        if (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) return ERROR_ACCESS_DENIED;
        if (!replace) return ERROR_ALREADY_EXISTS;
    }
    std::wstring temp = folder + L"\\~reg" + UniqueSuffix() + L".tmp";
    HANDLE file = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, NULL, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) return GetLastError();
    DWORD error = 0;
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD chunk = (DWORD)std::min<size_t>(bytes.size() - done, 64u << 20), wrote = 0;
        if (!WriteFile(file, bytes.data() + done, chunk, &wrote, NULL) || wrote != chunk) {
            error = GetLastError();
            if (!error) error = ERROR_WRITE_FAULT;
            break;
        }
        done += chunk;
    }
    if (!CloseHandle(file) && !error) error = GetLastError();
    if (!error && !MoveFileExW(temp.c_str(), full.c_str(), replace ? MOVEFILE_REPLACE_EXISTING : 0))
        error = GetLastError();
    if (error) DeleteFileW(temp.c_str());
    return error;
}

void EnableRegistryPrivileges(void)
{
    static bool done;
    if (done) return;
    HANDLE token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) return;
    const wchar_t *names[] = {L"SeBackupPrivilege", L"SeRestorePrivilege"};
    bool ok = true;
    for (const wchar_t *name : names) {
        TOKEN_PRIVILEGES tp;
        tp.PrivilegeCount = 1;
        tp.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
        if (!LookupPrivilegeValueW(NULL, name, &tp.Privileges[0].Luid) ||
            !AdjustTokenPrivileges(token, FALSE, &tp, 0, NULL, NULL) || GetLastError() != ERROR_SUCCESS)
            ok = false;
    }
    CloseHandle(token);
    done = ok;
}

HKEY RegImageRootKey(DWORD root)
{
    switch (root) {
    case REGIMG_ROOT_HKLM: return HKEY_LOCAL_MACHINE;
    case REGIMG_ROOT_HKCU: return HKEY_CURRENT_USER;
    case REGIMG_ROOT_HKCR: return HKEY_CLASSES_ROOT;
    case REGIMG_ROOT_HKU: return HKEY_USERS;
    }
    return NULL;
}

DWORD SaveKeyText(HKEY key, std::string *text)
{
    EnableRegistryPrivileges();
    std::wstring temp = TempFolder() + L"simreg-" + UniqueSuffix() + L".txt";
    LONG r = RegSaveKeyW(key, temp.c_str(), NULL);   // the registry's own, not ours
    if (r != ERROR_SUCCESS) {
        DeleteFileW(temp.c_str());
        return (DWORD)r;
    }
    DWORD error = 0;
    HANDLE file = CreateFileW(temp.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, NULL, OPEN_EXISTING,
                              FILE_FLAG_SEQUENTIAL_SCAN, NULL);
    if (file == INVALID_HANDLE_VALUE) {
        error = GetLastError();
    } else {
        LARGE_INTEGER size;
        if (!GetFileSizeEx(file, &size)) error = GetLastError();
        else if (size.QuadPart > REGIMG_MAX_FILE) error = ERROR_FILE_TOO_LARGE;
        else {
            text->resize((size_t)size.QuadPart);
            DWORD got = 0;
            if (size.QuadPart && (!ReadFile(file, &(*text)[0], (DWORD)size.QuadPart, &got, NULL) || got != size.QuadPart))
                error = ERROR_READ_FAULT;
        }
        CloseHandle(file);
    }
    DeleteFileW(temp.c_str());
    return error;
}

// An image of two whole roots.
static DWORD BuildRootsImage(DWORD first, DWORD second, std::string *image)
{
    std::vector<RegImageSection> sections(2);
    sections[0].root = first;
    sections[1].root = second;
    for (RegImageSection &s : sections) {
        DWORD error = SaveKeyText(RegImageRootKey(s.root), &s.text);
        if (error) return error;
    }
    *image = BuildRegImage(sections);
    return 0;
}

// The device registry is HKEY_LOCAL_MACHINE (which holds HKEY_CLASSES_ROOT) and
// HKEY_CURRENT_USER. HKEY_USERS adds nothing of the device: it holds the current user,
// which is HKEY_CURRENT_USER again, and the desktop's template profile.
DWORD BuildDeviceImage(std::string *image)
{
    return BuildRootsImage(REGIMG_ROOT_HKLM, REGIMG_ROOT_HKCU, image);
}

DWORD BuildKeyImage(DWORD root, const std::wstring &path, std::string *image)
{
    std::vector<RegImageSection> sections(1);
    sections[0].root = root;
    sections[0].path = path;
    HKEY key = RegImageRootKey(root);
    if (!key) return ERROR_INVALID_HANDLE;
    DWORD error;
    if (path.empty()) {
        error = SaveKeyText(key, &sections[0].text);
        if (!error && root == REGIMG_ROOT_HKU && !SandboxActive())
            sections[0].text = WithoutTopKey(sections[0].text, SANDBOX_BRANCH);
    } else {
        HKEY sub;
        error = (DWORD)RegOpenKeyExW(key, path.c_str(), 0, KEY_READ, &sub);
        if (!error) {
            error = SaveKeyText(sub, &sections[0].text);
            RegCloseKey(sub);
        }
    }
    if (!error) *image = BuildRegImage(sections);
    return error;
}

// The classes live in the machine hive, so their hive save carries that hive whole
// beside them: the machine hive can then be replaced from the file, as on the device.
DWORD BuildClassesHiveImage(std::string *image)
{
    return BuildRootsImage(REGIMG_ROOT_HKLM, REGIMG_ROOT_HKCR, image);
}

bool DeviceFilePath(const wchar_t *name, std::wstring *path)
{
    wchar_t folder[MAX_PATH];
    folder[0] = 0;
    if (!SimGetDeviceDir(folder, MAX_PATH) || !folder[0]) return false;
    folder[MAX_PATH - 1] = 0;
    CreateDirectoryW(folder, NULL);
    *path = folder;
    if (path->back() != L'\\') *path += L'\\';
    *path += name;
    return true;
}

DWORD StageRegImage(const std::string &bytes)
{
    std::wstring staged;
    if (!DeviceFilePath(REGIMG_STAGED_NAME, &staged)) return ERROR_PATH_NOT_FOUND;
    DWORD error = WriteFileAtomically(staged.c_str(), bytes, true);
    if (!error && SandboxActive()) SandboxNoteStaged(staged);
    return error;
}

bool RegImageStaged(void)
{
    std::wstring staged;
    return DeviceFilePath(REGIMG_STAGED_NAME, &staged) && GetFileAttributesW(staged.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void DropStagedRegImage(void)
{
    std::wstring staged;
    if (DeviceFilePath(REGIMG_STAGED_NAME, &staged)) DeleteFileW(staged.c_str());
}

extern "C" {

BOOL WINAPI RegCopyFile(LPCWSTR file)
{
    DWORD error = SimGetFailure(SIM_FAIL_REGCOPY);
    std::string image;
    if (!error && (!file || !*file)) error = ERROR_INVALID_PARAMETER;
    if (!error) error = BuildDeviceImage(&image);
    if (!error) error = WriteFileAtomically(file, image, true);
    SetLastError(error);
    return error == 0;
}

BOOL WINAPI RegRestoreFile(LPCWSTR file)
{
    DWORD error = SimGetFailure(SIM_FAIL_REGRESTORE);
    std::string bytes;
    std::vector<RegImageSection> sections;
    if (!error) error = ReadRegImageFile(file, &bytes);
    if (!error) error = CheckRegImage(bytes, &sections);
    if (!error) error = StageRegImage(bytes);
    SetLastError(error);
    return error == 0;
}

LONG WINAPI Ce_RegSaveKeyW(HKEY key, LPCWSTR file, LPSECURITY_ATTRIBUTES)
{
    if (!file || !*file) return ERROR_INVALID_PARAMETER;
    DWORD root;
    std::wstring path;
    DWORD error = ResolveRegTarget(key, NULL, &root, &path);
    if (error) return (LONG)error;
    if (GetFileAttributesW(file) != INVALID_FILE_ATTRIBUTES) return ERROR_ALREADY_EXISTS;
    std::string image;
    error = key == HKEY_CLASSES_ROOT ? BuildClassesHiveImage(&image) : BuildKeyImage(root, path, &image);
    if (!error) error = WriteFileAtomically(file, image, false);
    return (LONG)error;
}

// Stages the image's section for the given key; the replaced contents take effect at
// the next soft reset. Other keys already staged stay staged.
LONG WINAPI Ce_RegReplaceKeyW(HKEY key, LPCWSTR subkey, LPCWSTR newFile, LPCWSTR oldFile)
{
    if (!newFile || !*newFile) return ERROR_INVALID_PARAMETER;
    DWORD root;
    std::wstring path;
    DWORD error = ResolveRegTarget(key, subkey, &root, &path);
    if (error) return (LONG)error;
    std::string bytes;
    std::vector<RegImageSection> sections;
    error = ReadRegImageFile(newFile, &bytes);
    if (!error) error = CheckRegImage(bytes, &sections);
    if (error) return (LONG)error;
    const RegImageSection *found = NULL;
    for (const RegImageSection &s : sections)
        if (SameTarget(s, root, path)) found = &s;
    if (!found) return ERROR_NOT_REGISTRY_FILE;   // an image, but not of this key

    if (oldFile && *oldFile) {
        if (GetFileAttributesW(oldFile) != INVALID_FILE_ATTRIBUTES) return ERROR_ALREADY_EXISTS;
        std::string old;
        error = BuildKeyImage(root, path, &old);
        if (!error) error = WriteFileAtomically(oldFile, old, false);
        if (error) return (LONG)error;
    }

    std::vector<RegImageSection> staged;
    ReadStagedSections(&staged);
    std::vector<RegImageSection> merged;
    for (const RegImageSection &s : staged)
        if (!SameTarget(s, root, path)) merged.push_back(s);
    merged.push_back(*found);
    return (LONG)StageRegImage(BuildRegImage(merged));
}

}  // extern "C"
