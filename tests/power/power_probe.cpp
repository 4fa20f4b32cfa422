// The power-loss test's hands on the device: it fills the test's keys with one of two
// states, writes and flushes one value as a page does, backs up and restores through the
// device's own calls, and prints fingerprints of what the registry holds. Linked with
// the device's library, so that its start is the device's start too.
//
//   power_probe fill old|new       the test's keys in that state (not flushed)
//   power_probe flush              flushes both hives
//   power_probe set NAME N         writes a value of the flush key and flushes the key
//   power_probe get NAME           prints the value, or "missing"
//   power_probe backup|restore FILE
//   power_probe fingerprint        machine=CRC user=CRC boot=N
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>
#include <string>
#include "ceplatform.h"
#include "simdevice.h"

namespace {

const wchar_t kTestKey[] = L"Software\\Zelvo Power";
const wchar_t kFlushKey[] = L"Software\\Zelvo Flush";
// A factory key the hard reset puts back, so that a fingerprint tells the factory state too.
const wchar_t kFactoryKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";

DWORD Crc(DWORD crc, const void *data, size_t size)
{
    const BYTE *p = (const BYTE *)data;
    for (size_t i = 0; i < size; ++i) {
        crc ^= p[i];
        for (int k = 0; k < 8; ++k) crc = (crc & 1) ? 0xEDB88320u ^ (crc >> 1) : crc >> 1;
    }
    return crc;
}

// Names, types and data of every value and key below, in the registry's order.
DWORD Walk(HKEY parent, const wchar_t *path, DWORD crc)
{
    HKEY key;
    if (RegOpenKeyExW(parent, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return Crc(crc, "-", 1);
    crc = Crc(crc, path, wcslen(path) * 2);
    wchar_t name[256];
    BYTE data[1024];
    for (DWORD i = 0;; ++i) {
        DWORD length = 256, size = sizeof data, type;
        if (RegEnumValueW(key, i, name, &length, NULL, &type, data, &size) != ERROR_SUCCESS) break;
        crc = Crc(Crc(Crc(crc, name, length * 2), &type, 4), data, size);
    }
    for (DWORD i = 0;; ++i) {
        DWORD length = 256;
        if (RegEnumKeyExW(key, i, name, &length, NULL, NULL, NULL, NULL) != ERROR_SUCCESS) break;
        crc = Walk(key, name, crc);
    }
    RegCloseKey(key);
    return crc;
}

void Fill(bool fresh)
{
    for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
        RegDeleteTreeW(root, kTestKey);
        for (int k = 0; k < 20; ++k) {
            wchar_t path[128];
            // Some keys are only in one state, so that an apply also deletes and makes keys.
            swprintf(path, 128, L"%ls\\%ls %d", kTestKey, k % 5 == 0 ? (fresh ? L"New" : L"Old") : L"Group", k);
            HKEY key;
            if (RegCreateKeyExW(root, path, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL)) continue;
            for (int v = 0; v < 50; ++v) {
                wchar_t name[32];
                swprintf(name, 32, L"Value %d", v);
                DWORD data = (DWORD)(k * 1000 + v) * (fresh ? 7 : 3);
                RegSetValueExW(key, name, 0, REG_DWORD, (const BYTE *)&data, sizeof data);
            }
            RegCloseKey(key);
        }
    }
}

}  // namespace

int wmain(int argc, wchar_t **argv)
{
    if (argc < 2) return 2;
    std::wstring command = argv[1];
    if (command == L"fill" && argc == 3) {
        Fill(wcscmp(argv[2], L"new") == 0);
        return 0;
    }
    if (command == L"flush") return RegFlushKey(HKEY_LOCAL_MACHINE) || RegFlushKey(HKEY_CURRENT_USER);
    if (command == L"set" && argc == 4) {
        HKEY key;
        if (RegCreateKeyExW(HKEY_CURRENT_USER, kFlushKey, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL)) return 1;
        DWORD data = wcstoul(argv[3], NULL, 10);
        LONG r = RegSetValueExW(key, argv[2], 0, REG_DWORD, (const BYTE *)&data, sizeof data);
        if (!r) r = RegFlushKey(key);
        RegCloseKey(key);
        return r ? 1 : 0;
    }
    if (command == L"get" && argc == 3) {
        DWORD data = 0, size = sizeof data;
        if (RegGetValueW(HKEY_CURRENT_USER, kFlushKey, argv[2], RRF_RT_REG_DWORD, NULL, &data, &size)) printf("missing\n");
        else printf("%lu\n", data);
        return 0;
    }
    if (command == L"backup" && argc == 3) return RegCopyFile(argv[2]) ? 0 : 1;
    if (command == L"restore" && argc == 3) return RegRestoreFile(argv[2]) ? 0 : 1;
    if (command == L"fingerprint") {
        DWORD machine = Walk(HKEY_LOCAL_MACHINE, kFactoryKey, Walk(HKEY_LOCAL_MACHINE, kTestKey, 0));
        DWORD user = Walk(HKEY_CURRENT_USER, kTestKey, 0);
        printf("machine=%08lx user=%08lx boot=%lu\n", machine, user, SimGetBootCount());
        return 0;
    }
    return 2;
}
