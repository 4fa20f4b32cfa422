// Figures of the device's registry image on the device itself (no sandbox): backup
// beside its floors, the registry server saving the same roots itself and the
// registry's own whole-registry export; restore (check and stage) beside a copy of the
// image's file; and the apply a soft or hard reset does. Leaves the device's registry
// as it found it.
//
//   wine64 bench_registry_bench.exe [backup runs] [export runs]
#include <stdlib.h>
#include <string>
#include "measure.h"
#include "ceplatform.h"
#include "simdevice.h"

namespace {

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

double TimedExport(const std::wstring &file)
{
    DeleteFileW(file.c_str());
    std::wstring command = L"regedit.exe /E \"" + file + L"\"";
    STARTUPINFOW si = {sizeof si};
    PROCESS_INFORMATION pi;
    double start = NowMs();
    if (!CreateProcessW(NULL, &command[0], NULL, NULL, FALSE, 0, NULL, NULL, &si, &pi)) return -1;
    WaitForSingleObject(pi.hProcess, INFINITE);
    double took = NowMs() - start;
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return took;
}

// The backup's floor: the registry server writing the device's two roots to files
// itself, nothing read back. advapi32's own function: the device's library exports
// one of the same name.
typedef LONG(WINAPI *SaveKeyFunction)(HKEY, LPCWSTR, LPSECURITY_ATTRIBUTES);

SaveKeyFunction ServerSaveKey()
{
    HANDLE token;
    if (OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) {
        TOKEN_PRIVILEGES tp;
        tp.PrivilegeCount = 1;
        tp.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
        if (LookupPrivilegeValueW(NULL, L"SeBackupPrivilege", &tp.Privileges[0].Luid))
            AdjustTokenPrivileges(token, FALSE, &tp, 0, NULL, NULL);
        CloseHandle(token);
    }
    HMODULE advapi = LoadLibraryW(L"advapi32.dll");
    return advapi ? (SaveKeyFunction)GetProcAddress(advapi, "RegSaveKeyW") : NULL;
}

double TimedServerSave(SaveKeyFunction save, const std::wstring &folder)
{
    std::wstring machine = folder + L"\\machine.sav", user = folder + L"\\user.sav";
    DeleteFileW(machine.c_str());
    DeleteFileW(user.c_str());
    double start = NowMs();
    LONG r = save(HKEY_LOCAL_MACHINE, machine.c_str(), NULL);
    if (!r) r = save(HKEY_CURRENT_USER, user.c_str(), NULL);
    double took = NowMs() - start;
    if (r) fprintf(stderr, "RegSaveKeyW failed: %ld\n", r);
    return r ? -1 : took;
}

// A tweak's write and flush: one value set, its key flushed, through the flush given.
typedef LONG(WINAPI *FlushFunction)(HKEY);
double TimedWriteAndFlush(HKEY root, FlushFunction flush, DWORD value)
{
    HKEY key;
    if (RegCreateKeyExW(root, L"Software\\SimDevice Bench Flush", 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL))
        return -1;
    double start = NowMs();
    LONG r = RegSetValueExW(key, L"Tweak", 0, REG_DWORD, (const BYTE *)&value, sizeof value);
    if (!r) r = flush(key);
    double took = NowMs() - start;
    RegCloseKey(key);
    return r ? -1 : took;
}

double TimedSoftReset()
{
    double start = NowMs();
    SimSoftReset(FALSE);
    return NowMs() - start;
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
        fprintf(stderr, "run this outside a test: it measures the device itself\n");
        return 2;
    }
    // The benchmark stages and applies images of its own: a restore the user has
    // waiting for the next reset would be lost.
    if (SimHasStagedImage()) {
        fprintf(stderr, "a restored registry waits for the next soft reset: reset the device first\n");
        return 2;
    }

    wchar_t temp[MAX_PATH], folderBuffer[MAX_PATH + 32];
    GetTempPathW(MAX_PATH, temp);
    wsprintfW(folderBuffer, L"%sRegistryBench-%lx", temp, GetCurrentProcessId());
    std::wstring folder = folderBuffer;
    CreateDirectoryW(folder.c_str(), NULL);
    std::wstring backup = folder + L"\\backup.reg", big = folder + L"\\with-keys.reg", exported = folder + L"\\export.reg";
    DWORD boots = SimGetBootCount();

    SaveKeyFunction save = ServerSaveKey();
    if (!save) {
        fprintf(stderr, "no RegSaveKeyW in advapi32\n");
        return 1;
    }
    // Backup, its floors, restore and its floor in turn, so that all see the same load;
    // the first round warms the caches and is not counted.
    std::vector<double> copy, server, exportTimes, restore, copied, synced, serverAndSynced;
    for (int i = -1; i < runs; ++i) {
        double start = NowMs();
        BOOL ok = RegCopyFile(backup.c_str());
        double took = NowMs() - start;
        if (!ok) {
            fprintf(stderr, "RegCopyFile failed: %lu\n", GetLastError());
            return 1;
        }
        double saved = TimedServerSave(save, folder);
        if (saved < 0) return 1;
        start = NowMs();
        ok = RegRestoreFile(backup.c_str());
        double restored = NowMs() - start;
        if (!ok) fprintf(stderr, "RegRestoreFile failed: %lu\n", GetLastError());
        // What restoring reads and writes, with no check: the image's file copied.
        DeleteFileW(big.c_str());
        start = NowMs();
        CopyFileW(backup.c_str(), big.c_str(), FALSE);
        double copiedFile = NowMs() - start;
        // The same copy on the disk before it counts, as a staged image or a backup must be.
        DeleteFileW(big.c_str());
        start = NowMs();
        CopyFileW(backup.c_str(), big.c_str(), FALSE);
        HANDLE file = CreateFileW(big.c_str(), GENERIC_WRITE, 0, NULL, OPEN_EXISTING, 0, NULL);
        if (file != INVALID_HANDLE_VALUE) {
            FlushFileBuffers(file);
            CloseHandle(file);
        }
        double syncedFile = NowMs() - start;
        if (i < 0) continue;
        synced.push_back(syncedFile);
        serverAndSynced.push_back(saved + syncedFile);
        copy.push_back(took);
        server.push_back(saved);
        restore.push_back(restored);
        copied.push_back(copiedFile);
        if (i < exports) {
            double ms = TimedExport(exported);
            if (ms < 0) fprintf(stderr, "could not start regedit: %lu\n", GetLastError());
            else exportTimes.push_back(ms);
        }
    }
    DeleteFileW(big.c_str());
    // The device's flush writes the key's hive to disk; Wine's own writes nothing.
    FlushFunction wineFlush = (FlushFunction)GetProcAddress(LoadLibraryW(L"advapi32.dll"), "RegFlushKey");
    std::vector<double> flushed[2], bare[2], hiveSave[2];
    const HKEY hives[2] = {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER};
    for (int h = 0; h < 2; ++h) {
        for (int i = -1; wineFlush && i < runs; ++i) {
            double device = TimedWriteAndFlush(hives[h], RegFlushKey, (DWORD)i);
            double wine = TimedWriteAndFlush(hives[h], wineFlush, (DWORD)i);
            std::wstring file = folder + L"\\hive.sav";
            DeleteFileW(file.c_str());
            double start = NowMs();
            LONG saved = save(hives[h], file.c_str(), NULL);
            double server = NowMs() - start;
            DeleteFileW(file.c_str());
            if (i >= 0 && device >= 0 && wine >= 0 && !saved)
                flushed[h].push_back(device), bare[h].push_back(wine), hiveSave[h].push_back(server);
        }
        RegDeleteTreeW(hives[h], L"Software\\SimDevice Bench Flush");
        RegFlushKey(hives[h]);
    }
    printf("Registry image: %.2f MB, %u keys\n", FileSize(backup) / 1048576.0, (unsigned)CountKeys(backup));
    PrintAgainstFloor("backup (RegCopyFile)", copy, "RegSaveKey of HKLM and HKCU in the server", server);
    if (!exportTimes.empty()) PrintAgainstFloor("backup (RegCopyFile)", copy, "regedit /E of the registry", exportTimes);
    PrintAgainstFloor("backup (RegCopyFile)", copy, "the server's RegSaveKey and a synced copy of the image", serverAndSynced);
    PrintAgainstFloor("restore (RegRestoreFile: check and stage)", restore, "a copy of the image's file", copied);
    PrintAgainstFloor("restore (RegRestoreFile: check and stage)", restore, "a copy of the image's file, synced", synced);
    PrintAgainstFloor("a tweak's write and flush, machine's hive", flushed[0], "RegSetValueEx + Wine's RegFlushKey", bare[0]);
    PrintAgainstFloor("a tweak's write and flush, user's hive", flushed[1], "RegSetValueEx + Wine's RegFlushKey", bare[1]);
    PrintAgainstFloor("a tweak's write and flush, machine's hive", flushed[0], "RegSaveKey of the hive in the server", hiveSave[0]);
    PrintAgainstFloor("a tweak's write and flush, user's hive", flushed[1], "RegSaveKey of the hive in the server", hiveSave[1]);

    // Applies at reset, each beside the apply of an image of the registry as it stands
    // (read, check, nothing to change, boot count, flush), measured in turn with it. The
    // backup is older than the registry by a few boots: each reset to it changes the
    // machine's hive.
    const int resets = runs < 5 ? runs : 5;
    std::vector<double> unchanged, undone, broughtBack, removed, hard, back;
    for (int i = 0; i < resets; ++i) {
        RegCopyFile(big.c_str());
        RegRestoreFile(big.c_str());
        unchanged.push_back(TimedSoftReset());

        for (int v = 0; v < 10; ++v) {
            wchar_t name[32];
            wsprintfW(name, L"Changed %d", v);
            HKEY k;
            if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"Software\\SimDevice Bench", 0, NULL, 0, KEY_ALL_ACCESS, NULL, &k, NULL) == 0) {
                RegSetValueExW(k, name, 0, REG_DWORD, (const BYTE *)&v, sizeof v);
                RegCloseKey(k);
            }
        }
        RegRestoreFile(backup.c_str());
        undone.push_back(TimedSoftReset());

        AddBenchKeys(2000);
        RegCopyFile(big.c_str());
        RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\SimDevice Bench");
        RegRestoreFile(big.c_str());
        broughtBack.push_back(TimedSoftReset());
        RegRestoreFile(backup.c_str());
        removed.push_back(TimedSoftReset());

        double start = NowMs();
        SimHardReset(FALSE);
        hard.push_back(NowMs() - start);
        RegRestoreFile(backup.c_str());
        back.push_back(TimedSoftReset());
    }
    const char *floorName = "a soft reset applying an unchanged image";
    printf("Resets (the floor: the same apply with nothing to change)\n");
    PrintAgainstFloor("soft reset undoing 10 new values", undone, floorName, unchanged);
    PrintAgainstFloor("soft reset bringing back 2000 keys", broughtBack, floorName, unchanged);
    PrintAgainstFloor("soft reset removing those 2000 keys", removed, floorName, unchanged);
    PrintAgainstFloor("hard reset to the factory image", hard, floorName, unchanged);
    PrintAgainstFloor("soft reset back from the factory image", back, floorName, unchanged);

    // The device counted the benchmark's resets; put its counter back.
    HKEY comm;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"Comm", 0, NULL, 0, KEY_ALL_ACCESS, NULL, &comm, NULL) == 0) {
        RegSetValueExW(comm, L"Bootcount", 0, REG_DWORD, (const BYTE *)&boots, sizeof boots);
        RegCloseKey(comm);
    }
    DeleteFileW(backup.c_str());
    DeleteFileW(big.c_str());
    DeleteFileW(exported.c_str());
    DeleteFileW((folder + L"\\machine.sav").c_str());
    DeleteFileW((folder + L"\\user.sav").c_str());
    RemoveDirectoryW(folder.c_str());
    return 0;
}
