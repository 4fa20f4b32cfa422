// Figures of the device's registry image on the device itself (no sandbox): backup
// beside the registry's own whole-registry export, restore (check and stage), and the
// apply a soft or hard reset does. Leaves the device's registry as it found it.
//
//   wine64 bench_registry_bench.exe [backup runs] [export runs]
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>
#include <algorithm>
#include <string>
#include <vector>
#include "ceplatform.h"
#include "simdevice.h"

namespace {

double Now()
{
    LARGE_INTEGER f, c;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&c);
    return c.QuadPart * 1000.0 / f.QuadPart;
}

const double kBackupTargetMs = 50;
const double kRestoreTargetMs = 100;

const wchar_t *Verdict(double median, double target) { return median < target ? L"met" : L"MISSED"; }

struct Figures {
    double median, low, high;
};

Figures Summarise(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    Figures f = {0, 0, 0};
    if (v.empty()) return f;
    f.low = v.front();
    f.high = v.back();
    f.median = v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
    return f;
}

ULONGLONG FileSize(const std::wstring &path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return 0;
    return ((ULONGLONG)data.nFileSizeHigh << 32) | data.nFileSizeLow;
}

// Keys the image holds, counted from the key lines of its text.
size_t CountKeys(const std::wstring &path)
{
    HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (f == INVALID_HANDLE_VALUE) return 0;
    std::string bytes(GetFileSize(f, NULL), '\0');
    DWORD got = 0;
    if (!bytes.empty()) ReadFile(f, &bytes[0], (DWORD)bytes.size(), &got, NULL);
    CloseHandle(f);
    size_t n = 0;
    for (size_t at = bytes.find("\n["); at != std::string::npos; at = bytes.find("\n[", at + 2)) ++n;
    return n;
}

bool RunExport(const std::wstring &file, double *ms)
{
    std::wstring command = L"regedit.exe /E \"" + file + L"\"";
    STARTUPINFOW si = {sizeof si};
    PROCESS_INFORMATION pi;
    double start = Now();
    if (!CreateProcessW(NULL, &command[0], NULL, NULL, FALSE, 0, NULL, NULL, &si, &pi)) return false;
    WaitForSingleObject(pi.hProcess, INFINITE);
    *ms = Now() - start;
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return true;
}

double TimedSoftReset()
{
    double start = Now();
    SimSoftReset(FALSE);
    return Now() - start;
}

void AddBenchKeys(int count)
{
    HKEY base;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\SimDevice Bench", 0, NULL, 0, KEY_ALL_ACCESS, NULL, &base, NULL))
        return;
    for (int i = 0; i < count; ++i) {
        wchar_t name[64];
        wsprintfW(name, L"Group %d\\Key %d", i / 50, i);
        HKEY k;
        if (RegCreateKeyExW(base, name, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &k, NULL)) continue;
        DWORD v = i;
        RegSetValueExW(k, L"Number", 0, REG_DWORD, (const BYTE *)&v, sizeof v);
        RegSetValueExW(k, L"Text", 0, REG_SZ, (const BYTE *)name, (DWORD)((lstrlenW(name) + 1) * sizeof(wchar_t)));
        RegCloseKey(k);
    }
    RegCloseKey(base);
}

}  // namespace

int main(int argc, char **argv)
{
    int runs = argc > 1 ? atoi(argv[1]) : 20;
    int exports = argc > 2 ? atoi(argv[2]) : 5;
    if (runs < 1) runs = 1;
    if (exports < 0) exports = 0;
    if (SimTestFlags()) {
        fwprintf(stderr, L"run this outside a test: it measures the device itself\n");
        return 2;
    }
    // The benchmark stages and applies images of its own: a restore the user has
    // waiting for the next reset would be lost.
    if (SimHasStagedImage()) {
        fwprintf(stderr, L"a restored registry waits for the next soft reset: reset the device first\n");
        return 2;
    }

    wchar_t temp[MAX_PATH], folderBuffer[MAX_PATH + 32];
    GetTempPathW(MAX_PATH, temp);
    wsprintfW(folderBuffer, L"%sRegistryBench-%lx", temp, GetCurrentProcessId());
    std::wstring folder = folderBuffer;
    CreateDirectoryW(folder.c_str(), NULL);
    std::wstring backup = folder + L"\\backup.reg", big = folder + L"\\with-keys.reg", exported = folder + L"\\export.reg";
    DWORD boots = SimGetBootCount();

    // Backup: the first run warms the caches and is not counted.
    if (!RegCopyFile(backup.c_str())) {
        fwprintf(stderr, L"RegCopyFile failed: %lu\n", GetLastError());
        return 1;
    }
    std::vector<double> copy;
    for (int i = 0; i < runs; ++i) {
        double start = Now();
        BOOL ok = RegCopyFile(backup.c_str());
        copy.push_back(Now() - start);
        if (!ok) fwprintf(stderr, L"RegCopyFile failed: %lu\n", GetLastError());
    }
    Figures f = Summarise(copy);
    double backupMedian = f.median;
    wprintf(L"backup, RegCopyFile, %d runs: median %.1f ms (min %.1f, max %.1f); image %.2f MB, %u keys\n", runs,
            f.median, f.low, f.high, FileSize(backup) / 1048576.0, (unsigned)CountKeys(backup));
    wprintf(L"  target: backup under %.0f ms median: %ls\n", kBackupTargetMs, Verdict(f.median, kBackupTargetMs));

    std::vector<double> exportTimes;
    for (int i = 0; i < exports; ++i) {
        double ms = 0;
        DeleteFileW(exported.c_str());
        if (!RunExport(exported, &ms)) {
            fwprintf(stderr, L"could not start regedit: %lu\n", GetLastError());
            break;
        }
        exportTimes.push_back(ms);
    }
    if (!exportTimes.empty()) {
        f = Summarise(exportTimes);
        wprintf(L"whole-registry export, regedit /E, %d runs: median %.1f ms (min %.1f, max %.1f); file %.2f MB\n",
                (int)exportTimes.size(), f.median, f.low, f.high, FileSize(exported) / 1048576.0);
        if (backupMedian > 0) wprintf(L"  the export takes %.0f times as long as the backup\n", f.median / backupMedian);
    }

    std::vector<double> restore;
    for (int i = 0; i < runs; ++i) {
        double start = Now();
        BOOL ok = RegRestoreFile(backup.c_str());
        restore.push_back(Now() - start);
        if (!ok) fwprintf(stderr, L"RegRestoreFile failed: %lu\n", GetLastError());
    }
    f = Summarise(restore);
    wprintf(L"restore, RegRestoreFile (check and stage), %d runs: median %.1f ms (min %.1f, max %.1f)\n", runs, f.median,
            f.low, f.high);
    wprintf(L"  target: restore under %.0f ms median: %ls\n", kRestoreTargetMs, Verdict(f.median, kRestoreTargetMs));

    // Applies at reset. The staged image is the backup just taken.
    wprintf(L"soft reset applying the image of an unchanged registry: %.1f ms\n", TimedSoftReset());

    for (int i = 0; i < 10; ++i) {
        wchar_t name[32];
        wsprintfW(name, L"Changed %d", i);
        HKEY k;
        if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"Software\\SimDevice Bench", 0, NULL, 0, KEY_ALL_ACCESS, NULL, &k, NULL) == 0) {
            RegSetValueExW(k, name, 0, REG_DWORD, (const BYTE *)&i, sizeof i);
            RegCloseKey(k);
        }
    }
    RegRestoreFile(backup.c_str());
    wprintf(L"soft reset undoing 10 new values: %.1f ms\n", TimedSoftReset());

    const int added = 2000;
    AddBenchKeys(added);
    RegCopyFile(big.c_str());
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\SimDevice Bench");
    RegRestoreFile(big.c_str());
    wprintf(L"soft reset bringing back %d keys with 2 values each: %.1f ms\n", added, TimedSoftReset());
    RegRestoreFile(backup.c_str());
    wprintf(L"soft reset removing those %d keys: %.1f ms\n", added, TimedSoftReset());

    double start = Now();
    SimHardReset(FALSE);
    wprintf(L"hard reset to the factory image: %.1f ms\n", Now() - start);
    RegRestoreFile(backup.c_str());
    wprintf(L"soft reset back to the registry before the hard reset: %.1f ms\n", TimedSoftReset());

    // The device counted the benchmark's resets; put its counter back.
    HKEY comm;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"Comm", 0, NULL, 0, KEY_ALL_ACCESS, NULL, &comm, NULL) == 0) {
        RegSetValueExW(comm, L"Bootcount", 0, REG_DWORD, (const BYTE *)&boots, sizeof boots);
        RegCloseKey(comm);
    }
    DeleteFileW(backup.c_str());
    DeleteFileW(big.c_str());
    DeleteFileW(exported.c_str());
    RemoveDirectoryW(folder.c_str());
    return 0;
}
