// The registry image of the device: the whole-registry copy and restore, the hive save
// and replace calls, and the image staged for the next soft reset.
//
// A copy is taken with the registry's own save, which answers in milliseconds, rather
// than by walking the keys, which costs a server round trip per key and value. A
// restore only checks the file and stages it: the running registry changes at the next
// soft reset, as on the device.
#include <string.h>
#include "ceplatform.h"
#include "device.h"
#include "registry_image.h"

namespace {

// Continues a CRC-32 (IEEE) over more bytes; 0 to begin. Sixteen tables take sixteen
// bytes a step: a restore checks a whole registry's image.
DWORD Crc32(DWORD crc, const char *data, size_t size)
{
    static DWORD table[16][256];
    static bool made;
    if (!made) {
        for (DWORD i = 0; i < 256; ++i) {
            DWORD c = i;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            table[0][i] = c;
        }
        for (DWORD i = 0; i < 256; ++i)
            for (int t = 1; t < 16; ++t) table[t][i] = (table[t - 1][i] >> 8) ^ table[0][table[t - 1][i] & 0xFF];
        made = true;
    }
    const unsigned char *p = (const unsigned char *)data;
    crc = ~crc;
    for (; size >= 16; size -= 16, p += 16) {
        DWORD w[4];
        memcpy(w, p, 16);
        w[0] ^= crc;
        crc = 0;
        for (int i = 0; i < 4; ++i)   // the first byte meets the table of the most steps still to go
            crc ^= table[15 - 4 * i][w[i] & 0xFF] ^ table[14 - 4 * i][(w[i] >> 8) & 0xFF] ^
                   table[13 - 4 * i][(w[i] >> 16) & 0xFF] ^ table[12 - 4 * i][w[i] >> 24];
    }
    for (; size; --size, ++p) crc = table[0][(crc ^ *p) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

void PutU32(std::string *out, DWORD v) { out->append((const char *)&v, 4); }
void PutU64(std::string *out, ULONGLONG v) { out->append((const char *)&v, 8); }
DWORD GetU32(const std::string &in, size_t at) { DWORD v; memcpy(&v, in.data() + at, 4); return v; }
ULONGLONG GetU64(const std::string &in, size_t at) { ULONGLONG v; memcpy(&v, in.data() + at, 8); return v; }

// The checksum of an image, its own field taken as 0.
DWORD ImageCrc(const std::string &bytes)
{
    static const char zero[4] = {0, 0, 0, 0};
    DWORD crc = Crc32(0, bytes.data(), REGIMG_CRC_OFFSET);
    crc = Crc32(crc, zero, 4);
    return Crc32(crc, bytes.data() + REGIMG_CRC_OFFSET + 4, bytes.size() - REGIMG_CRC_OFFSET - 4);
}

}  // namespace

std::string ImageOfSections(const std::vector<RegImageSection> &sections)
{
    size_t total = REGIMG_HEADER_SIZE;
    for (const RegImageSection &s : sections) total += REGIMG_SECTION_HEADER_SIZE + s.text.size();
    std::string out;
    out.reserve(total);
    out.append(REGIMG_MAGIC, 8);
    PutU32(&out, REGIMG_VERSION);
    PutU32(&out, REGIMG_HEADER_SIZE);
    PutU32(&out, (DWORD)sections.size());
    PutU32(&out, 0);
    PutU64(&out, 0);   // size and checksum, filled in below
    PutU32(&out, 0);
    PutU32(&out, 0);
    for (const RegImageSection &s : sections) {
        PutU32(&out, s.root);
        PutU32(&out, 0);
        PutU64(&out, s.text.size());
        out += s.text;
    }
    ULONGLONG size = out.size();
    memcpy(&out[24], &size, 8);
    DWORD crc = ImageCrc(out);
    memcpy(&out[REGIMG_CRC_OFFSET], &crc, 4);
    return out;
}

namespace {

// The hive that holds a predefined root: the classes live in the machine's.
DWORD HiveOf(HKEY key)
{
    if (key == HKEY_LOCAL_MACHINE || key == HKEY_CLASSES_ROOT) return REGIMG_ROOT_HKLM;
    if (key == HKEY_CURRENT_USER) return REGIMG_ROOT_HKCU;
    return 0;
}

DWORD StageRegImage(const std::string &bytes)
{
    return WriteFileAtomically(DeviceFilePath(REGIMG_STAGED_NAME).c_str(), bytes, true);
}

}  // namespace

HKEY RegImageRootKey(DWORD root)
{
    return root == REGIMG_ROOT_HKLM ? HKEY_LOCAL_MACHINE : root == REGIMG_ROOT_HKCU ? HKEY_CURRENT_USER : NULL;
}

DWORD BuildRegImage(const DWORD *roots, int count, std::string *image)
{
    std::vector<RegImageSection> sections(count);
    for (int i = 0; i < count; ++i) {
        sections[i].root = roots[i];
        DWORD error = RegistryText(RegImageRootKey(roots[i]), &sections[i].text);
        if (error) return error;
    }
    *image = ImageOfSections(sections);
    return 0;
}

DWORD CheckRegImage(const std::string &bytes, std::vector<RegImageSection> *sections, bool checkTexts)
{
    if (sections) sections->clear();
    if (bytes.size() < 12 || memcmp(bytes.data(), REGIMG_MAGIC, 8) != 0 || GetU32(bytes, 8) != REGIMG_VERSION)
        return ERROR_NOT_REGISTRY_FILE;
    if (bytes.size() < REGIMG_HEADER_SIZE || GetU32(bytes, 12) != REGIMG_HEADER_SIZE) return ERROR_REGISTRY_CORRUPT;
    DWORD count = GetU32(bytes, 16);
    if (count == 0 || count > 2 || GetU64(bytes, 24) != bytes.size()) return ERROR_REGISTRY_CORRUPT;
    if (ImageCrc(bytes) != GetU32(bytes, REGIMG_CRC_OFFSET)) return ERROR_REGISTRY_CORRUPT;

    // Where each text lies in the image: checked there, copied only when asked for.
    DWORD roots[2];
    size_t starts[2], lengths[2];
    size_t at = REGIMG_HEADER_SIZE;
    for (DWORD i = 0; i < count; ++i) {
        if (bytes.size() - at < REGIMG_SECTION_HEADER_SIZE) return ERROR_REGISTRY_CORRUPT;
        roots[i] = GetU32(bytes, at);
        ULONGLONG length = GetU64(bytes, at + 8);
        at += REGIMG_SECTION_HEADER_SIZE;
        if (!RegImageRootKey(roots[i]) || length > bytes.size() - at) return ERROR_REGISTRY_CORRUPT;
        // A hive given twice would be applied twice, the second over the first.
        if (i == 1 && roots[0] == roots[1]) return ERROR_REGISTRY_CORRUPT;
        starts[i] = at;
        lengths[i] = (size_t)length;
        at += (size_t)length;
    }
    if (at != bytes.size()) return ERROR_REGISTRY_CORRUPT;
    for (DWORD i = 0; i < count; ++i)
        if (checkTexts && !IsSavedRegistryText(std::string_view(bytes.data() + starts[i], lengths[i]))) return ERROR_REGISTRY_CORRUPT;
    for (DWORD i = 0; sections && i < count; ++i) sections->push_back({roots[i], bytes.substr(starts[i], lengths[i])});
    return 0;
}

DWORD ReadRegImageFile(const wchar_t *path, std::string *bytes)
{
    bytes->clear();
    if (!path || !*path) return ERROR_INVALID_PARAMETER;
    // Shared, so that a writer can still rename a new file over it.
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, NULL,
                              OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, NULL);
    if (file == INVALID_HANDLE_VALUE) return GetLastError();
    LARGE_INTEGER size;
    DWORD error = 0, got = 0;
    if (!GetFileSizeEx(file, &size)) error = GetLastError();
    else if (size.QuadPart > REGIMG_MAX_FILE) error = ERROR_NOT_REGISTRY_FILE;
    else if (size.QuadPart > 0) {
        bytes->resize((size_t)size.QuadPart);
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
    DWORD attributes = GetFileAttributesW(path);
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        if (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) return ERROR_ACCESS_DENIED;
        if (!replace) return ERROR_ALREADY_EXISTS;
    }
    static LONG counter;
    wchar_t suffix[48];   // beside the file, so that the move is a rename
    wsprintfW(suffix, L".~%lx-%lx.tmp", GetCurrentProcessId(), InterlockedIncrement(&counter));
    std::wstring temp = path + std::wstring(suffix);
    std::wstring record = RecordPendingFile(temp);
    HANDLE file = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, NULL, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) {
        DWORD error = GetLastError();
        if (!record.empty()) DeleteFileW(record.c_str());
        return error;
    }
    DWORD error = 0, wrote = 0;
    if (bytes.size() > REGIMG_MAX_FILE) error = ERROR_FILE_TOO_LARGE;
    else if (!WriteFile(file, bytes.data(), (DWORD)bytes.size(), &wrote, NULL) || wrote != bytes.size())
        error = GetLastError() ? GetLastError() : ERROR_WRITE_FAULT;
    PowerCutPoint("write-temp");
    // On the disk before it takes the name: a crash then leaves the old file or the new one.
    if (!error && !FlushFileBuffers(file)) error = GetLastError();
    if (!CloseHandle(file) && !error) error = GetLastError();
    PowerCutPoint("write-synced");
    if (!error && !MoveFileExW(temp.c_str(), path, (replace ? MOVEFILE_REPLACE_EXISTING : 0) | MOVEFILE_WRITE_THROUGH))
        error = GetLastError();
    if (error) DeleteFileW(temp.c_str());
    if (!record.empty()) DeleteFileW(record.c_str());
    return error;
}

std::wstring DeviceFilePath(const wchar_t *name)
{
    wchar_t folder[MAX_PATH];
    if (!SimGetDeviceDir(folder, MAX_PATH)) return L"";
    CreateDirectoryW(folder, NULL);
    return folder + std::wstring(folder[lstrlenW(folder) - 1] == L'\\' ? L"" : L"\\") + name;
}

void EnableRegistryPrivileges(void)
{
    typedef LONG(NTAPI * AdjustProc)(ULONG, BOOLEAN, BOOLEAN, PBOOLEAN);
    static AdjustProc adjust = (AdjustProc)(void *)GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlAdjustPrivilege");
    BOOLEAN was;
    for (ULONG privilege : {17u, 18u})   // SeBackupPrivilege, SeRestorePrivilege
        if (adjust) adjust(privilege, TRUE, FALSE, &was);
}

extern "C" {

// The device registry is the machine's hive (which holds the classes) and the user's.
BOOL WINAPI RegCopyFile(LPCWSTR file)
{
    static const DWORD roots[] = {REGIMG_ROOT_HKLM, REGIMG_ROOT_HKCU};
    DWORD error = SimGetFailure(SIM_FAIL_REGCOPY);
    std::string image;
    if (!error && (!file || !*file)) error = ERROR_INVALID_PARAMETER;
    if (!error) error = BuildRegImage(roots, 2, &image);
    if (!error) error = WriteFileAtomically(file, image, true);
    SetLastError(error);
    return error == 0;
}

BOOL WINAPI RegRestoreFile(LPCWSTR file)
{
    DWORD error = SimGetFailure(SIM_FAIL_REGRESTORE);
    std::string bytes;
    if (!error) error = ReadRegImageFile(file, &bytes);
    if (!error) error = CheckRegImage(bytes, NULL, true);
    if (!error) error = StageRegImage(bytes);
    SetLastError(error);
    return error == 0;
}

// The save of the hive that holds the key.
LONG WINAPI Ce_RegSaveKeyW(HKEY key, LPCWSTR file, LPSECURITY_ATTRIBUTES)
{
    DWORD root = HiveOf(key);
    if (!file || !*file || !root) return ERROR_INVALID_PARAMETER;
    std::string image;
    DWORD error = BuildRegImage(&root, 1, &image);
    return (LONG)(error ? error : WriteFileAtomically(file, image, false));
}

// Stages the file's image of the hive that holds the key, for the next soft reset;
// another hive already staged stays staged. The old file, when named, receives the
// hive as it stands.
LONG WINAPI Ce_RegReplaceKeyW(HKEY key, LPCWSTR subkey, LPCWSTR newFile, LPCWSTR oldFile)
{
    DWORD root = HiveOf(key);
    if (!newFile || !*newFile || !root || (subkey && *subkey)) return ERROR_INVALID_PARAMETER;
    std::string bytes, old;
    std::vector<RegImageSection> sections, staged, merged;
    DWORD error = ReadRegImageFile(newFile, &bytes);
    if (!error) error = CheckRegImage(bytes, &sections, true);
    if (error) return (LONG)error;
    if (ReadRegImageFile(DeviceFilePath(REGIMG_STAGED_NAME).c_str(), &old) == 0) CheckRegImage(old, &staged, false);
    for (const RegImageSection &s : sections)
        if (s.root == root) merged.push_back(s);
    if (merged.empty()) return ERROR_NOT_REGISTRY_FILE;   // an image, but not of this hive
    for (const RegImageSection &s : staged)
        if (s.root != root) merged.push_back(s);
    if (oldFile && *oldFile && (error = Ce_RegSaveKeyW(key, oldFile, NULL)) != 0) return (LONG)error;
    return (LONG)StageRegImage(ImageOfSections(merged));
}

}  // extern "C"
