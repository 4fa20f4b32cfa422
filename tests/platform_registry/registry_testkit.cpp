#include "registry_testkit.h"
#include <set>
#include <stdio.h>
#include <string.h>

namespace {

std::string Narrow(const std::wstring &s)
{
    std::string out(s.size() * 3 + 1, '\0');
    out.resize(WideCharToMultiByte(CP_UTF8, 0, s.data(), (int)s.size(), &out[0], (int)out.size(), NULL, NULL));
    return out;
}

DWORD Crc32(const std::string &bytes)
{
    DWORD crc = 0xFFFFFFFF;
    for (unsigned char c : bytes) {
        crc ^= c;
        for (int k = 0; k < 8; ++k) crc = (crc & 1) ? 0xEDB88320u ^ (crc >> 1) : crc >> 1;
    }
    return ~crc;
}

void Walk(HKEY key, std::wstring path, std::set<std::string> *out)
{
    CharUpperBuffW(&path[0], (DWORD)path.size());
    out->insert(Narrow(path));
    DWORD subkeys = 0, maxName = 0, count = 0, maxValueName = 0, maxData = 0;
    RegQueryInfoKeyW(key, NULL, NULL, NULL, &subkeys, &maxName, NULL, &count, &maxValueName, &maxData, NULL, NULL);
    std::vector<wchar_t> name(maxValueName + 2);
    std::vector<BYTE> data(maxData + 2);
    for (DWORD i = 0; i < count; ++i) {
        DWORD nameLength = (DWORD)name.size(), size = (DWORD)data.size(), type = 0;
        if (RegEnumValueW(key, i, &name[0], &nameLength, NULL, &type, &data[0], &size) != ERROR_SUCCESS) continue;
        std::wstring valueName(&name[0], nameLength);
        if (nameLength) CharUpperBuffW(&valueName[0], nameLength);
        if (path == L"HKLM\\COMM" && valueName == L"BOOTCOUNT") continue;
        char shape[48];
        wsprintfA(shape, " = type %lu, %lu bytes, crc %08lx", type, size, Crc32(std::string((char *)&data[0], size)));
        out->insert(Narrow(path) + " : " + Narrow(valueName) + shape);
    }
    std::vector<wchar_t> child(maxName + 2);
    for (DWORD i = 0; i < subkeys; ++i) {
        DWORD length = (DWORD)child.size();
        if (RegEnumKeyExW(key, i, &child[0], &length, NULL, NULL, NULL, NULL) != ERROR_SUCCESS) continue;
        std::wstring childName(&child[0], length);
        HKEY sub;
        // Links are taken as themselves: their target is listed where it lives.
        if (RegOpenKeyExW(key, childName.c_str(), REG_OPTION_OPEN_LINK, KEY_READ, &sub) != ERROR_SUCCESS) continue;
        Walk(sub, path + L"\\" + childName, out);
        RegCloseKey(sub);
    }
}

}  // namespace

std::string DeviceSnapshot()
{
    std::set<std::string> lines;
    Walk(HKEY_LOCAL_MACHINE, L"HKLM", &lines);
    Walk(HKEY_CURRENT_USER, L"HKCU", &lines);
    std::string out;
    for (const std::string &line : lines) out += line + "\n";
    return out;
}

std::string ReadBytes(const std::wstring &path)
{
    std::string out;
    FILE *f = _wfopen(path.c_str(), L"rb");
    if (!f) return out;
    char buffer[65536];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, f)) > 0;) out.append(buffer, n);
    fclose(f);
    return out;
}

void WriteBytes(const std::wstring &path, const std::string &bytes)
{
    FILE *f = _wfopen(path.c_str(), L"wb");
    ASSERT_TRUE(f != NULL);
    EXPECT_EQ(bytes.size(), fwrite(bytes.data(), 1, bytes.size(), f));
    fclose(f);
}

std::vector<std::wstring> FolderEntries(const std::wstring &folder)
{
    std::vector<std::wstring> out;
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW((folder + L"\\*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return out;
    do {
        std::wstring name = fd.cFileName;
        if (name != L"." && name != L"..") out.push_back(name);
    } while (FindNextFileW(h, &fd));
    FindClose(h);
    return out;
}

void Reseal(std::string *image)
{
    ASSERT_GE(image->size(), (size_t)REGIMG_HEADER_SIZE);
    ULONGLONG size = image->size();
    memcpy(&(*image)[24], &size, 8);
    memset(&(*image)[REGIMG_CRC_OFFSET], 0, 4);
    DWORD crc = Crc32(*image);
    memcpy(&(*image)[REGIMG_CRC_OFFSET], &crc, 4);
}

static std::wstring DeviceFile(const wchar_t *name)
{
    wchar_t folder[MAX_PATH];
    if (!SimGetDeviceDir(folder, MAX_PATH)) return L"";
    return std::wstring(folder) + L"\\" + name;
}

std::wstring Scratch(const wchar_t *name)
{
    std::wstring folder = DeviceFile(L"scratch");
    CreateDirectoryW(folder.c_str(), NULL);
    return name ? folder + L"\\" + name : folder;
}

std::wstring StagedPath() { return DeviceFile(REGIMG_STAGED_NAME); }

void SetLink(HKEY root, const wchar_t *path, const std::wstring &target)
{
    HKEY link;
    // An existing link is opened as itself and pointed elsewhere.
    if (RegCreateKeyExW(root, path, 0, NULL, REG_OPTION_CREATE_LINK, KEY_ALL_ACCESS, NULL, &link, NULL) != ERROR_SUCCESS) {
        ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(root, path, REG_OPTION_OPEN_LINK, KEY_ALL_ACCESS, &link));
    }
    EXPECT_EQ(ERROR_SUCCESS, RegSetValueExW(link, L"SymbolicLinkValue", 0, REG_LINK, (const BYTE *)target.data(),
                                            (DWORD)(target.size() * sizeof(wchar_t))));
    RegCloseKey(link);
}

std::wstring FullName(HKEY root, const wchar_t *path)
{
    HKEY key;
    if (RegOpenKeyExW(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return L"";
    typedef LONG (NTAPI *NtQueryKeyProc)(HANDLE, int, PVOID, ULONG, PULONG);
    NtQueryKeyProc query = (NtQueryKeyProc)GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryKey");
    BYTE buffer[2048];
    ULONG got = 0;
    std::wstring name;
    if (query(key, 3, buffer, sizeof buffer, &got) == 0) name.assign((wchar_t *)(buffer + 4), *(ULONG *)buffer / 2);
    RegCloseKey(key);
    return name;
}
