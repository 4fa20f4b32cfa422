// What the device keeps across a power loss.
//
// The registry server keeps the registry in memory and writes the prefix's hive files
// only now and then; its own flush writes nothing. A flush here is the server's save of
// the key's hive into a file beside the hive's, synced, then renamed over it: the
// server loads that file when it next starts, so whatever was flushed is there after a
// power loss, and never half of it.
//
// An apply of a whole image (a soft reset's restore, a hard reset) first writes the
// registry as it was to a journal. Found at the device's next start, the journal means
// the apply did not finish: it is finished then, or, when it cannot be, undone from the
// journal, before any program of the device reads the registry.
//
// Steps named by ZR_POWER_CUT are where a test has the device lose power: the process
// ends at once there, and the test kills the registry server as a power cut does.
#include <windows.h>
#include <winternl.h>
#include <stdlib.h>
#include <string.h>
#include <string>
#include <vector>
#include "device.h"
#include "registry_image.h"

namespace {

const wchar_t kRecoveryName[] = L"registry-recovery.txt";
const wchar_t kStartedName[] = L"started.txt";
const wchar_t kPendingPrefix[] = L"pending-";

struct HiveFile {
    HKEY root;
    const wchar_t *file;   // in the prefix folder, as the server names it
    const char *name;      // in the names of the steps
};
const HiveFile kHives[] = {{HKEY_LOCAL_MACHINE, L"system.reg", "machine"}, {HKEY_CURRENT_USER, L"user.reg", "user"}};

std::wstring PrefixFolder()
{
    WCHAR value[MAX_PATH], dos[MAX_PATH];
    DWORD n = GetEnvironmentVariableW(L"WINEPREFIX", value, MAX_PATH);
    if (n == 0) {
        n = GetEnvironmentVariableW(L"HOME", value, MAX_PATH - 8);
        if (n == 0 || n >= MAX_PATH - 8) return L"";
        lstrcatW(value, L"/.wine");
    } else if (n >= MAX_PATH) {
        return L"";
    }
    if (!DosPathOf(value, dos)) return L"";
    std::wstring folder = dos;
    while (folder.size() > 3 && folder.back() == L'\\') folder.pop_back();
    return folder;
}

DWORD SyncPath(const std::wstring &path, bool folder)
{
    HANDLE handle = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, NULL,
                                OPEN_EXISTING, folder ? FILE_FLAG_BACKUP_SEMANTICS : 0, NULL);
    if (handle == INVALID_HANDLE_VALUE) return GetLastError();
    DWORD error = FlushFileBuffers(handle) ? 0 : GetLastError();
    CloseHandle(handle);
    return error;
}

// The server writes a hive only when it has changed since its last save. A save of its
// own that came between ours and our rename would otherwise stay the older one on disk.
void MarkChanged(HKEY root)
{
    static const wchar_t mark[] = L"SimDevice flushed";
    DWORD one = 1;
    if (RegSetValueExW(root, mark, 0, REG_DWORD, (const BYTE *)&one, sizeof one) == ERROR_SUCCESS)
        RegDeleteValueW(root, mark);
}

// The hive saved beside its file, the first half of a flush; checked against `want`
// when given.
DWORD SaveHiveBeside(const HiveFile &hive, const std::string *want, std::wstring *temp)
{
    std::wstring folder = PrefixFolder();
    if (folder.empty()) return ERROR_PATH_NOT_FOUND;
    static LONG counter;
    wchar_t suffix[48];
    wsprintfW(suffix, L".~zr%lx-%lx.tmp", GetCurrentProcessId(), InterlockedIncrement(&counter));
    *temp = folder + L"\\" + hive.file + suffix;
    EnableRegistryPrivileges();
    DWORD error = (DWORD)RegSaveKeyW(hive.root, temp->c_str(), NULL);
    PowerCutPoint((std::string("flush-") + hive.name + "-saved").c_str());
    if (!error && want) {
        FileView saved;
        std::string text;
        error = saved.Open(temp->c_str(), false);
        if (!error) AppendPlain(saved.Bytes(), &text);
        if (!error && !SameRegistryText(text, *want)) error = ERROR_REGISTRY_CORRUPT;
    }
    if (error) DeleteFileW(temp->c_str());
    return error;
}

// The saved hive synced and renamed over the hive's file, the second half.
DWORD PutHiveInPlace(const HiveFile &hive, const std::wstring &temp)
{
    std::wstring folder = PrefixFolder(), path = folder + L"\\" + hive.file;
    std::string step = std::string("flush-") + hive.name;
    DWORD error = SyncPath(temp, false);
    PowerCutPoint((step + "-synced").c_str());
    if (!error && !MoveFileExW(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        error = GetLastError();
    if (error) {
        DeleteFileW(temp.c_str());
        return error;
    }
    SyncPath(folder, true);   // the rename itself; a folder that cannot be synced has it soon
    PowerCutPoint((step + "-renamed").c_str());
    MarkChanged(hive.root);
    return 0;
}

// The text a hive's save must give, if `checks` names the hive.
const std::string *CheckOf(const HiveFile &hive, const std::vector<RegImageSection> *checks)
{
    for (size_t i = 0; checks && i < checks->size(); ++i)
        if (RegImageRootKey((*checks)[i].root) == hive.root) return &(*checks)[i].text;
    return NULL;
}

// The hives a key lives in: 1 the machine's, 2 the user's.
int HivesOf(HKEY key)
{
    if (key == HKEY_LOCAL_MACHINE || key == HKEY_CLASSES_ROOT) return 1;
    if (key == HKEY_CURRENT_USER || key == HKEY_USERS) return 2;
    typedef LONG(NTAPI * QueryKeyProc)(HANDLE, int, PVOID, ULONG, PULONG);
    static QueryKeyProc query = (QueryKeyProc)(void *)GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryKey");
    union {
        ULONG length;
        BYTE bytes[2048];
    } info;
    ULONG got = 0;
    if (!query || query(key, 3 /* KeyNameInformation */, &info, sizeof info, &got) != 0) return 1 | 2;
    std::wstring name((const wchar_t *)(info.bytes + sizeof(ULONG)), info.length / sizeof(wchar_t));
    CharUpperBuffW(&name[0], (DWORD)name.size());
    if (name.compare(0, 18, L"\\REGISTRY\\MACHINE\\") == 0 || name == L"\\REGISTRY\\MACHINE") return 1;
    if (name.compare(0, 15, L"\\REGISTRY\\USER\\") == 0) return 2;
    return 0;
}

// Every hive saved (and checked) before any is put in place: a check that fails
// leaves the files as they were.
DWORD SaveHives(int hives, const std::vector<RegImageSection> *checks = NULL)
{
    DeviceLock lock(L"Local\\ZelvoRudoreRegistryFlush");
    std::wstring temps[2];
    DWORD error = 0;
    for (int i = 0; i < 2; ++i)
        if (hives & (1 << i)) {
            DWORD e = SaveHiveBeside(kHives[i], CheckOf(kHives[i], checks), &temps[i]);
            if (e == ERROR_REGISTRY_CORRUPT) {
                for (int j = 0; j < i; ++j)
                    if (!temps[j].empty()) DeleteFileW(temps[j].c_str());
                return e;
            }
            if (e) temps[i].clear();
            if (!error) error = e;
        }
    for (int i = 0; i < 2; ++i)
        if (!temps[i].empty()) {
            DWORD e = PutHiveInPlace(kHives[i], temps[i]);
            if (!error) error = e;
        }
    return error;
}

// ---- Start of the device ----

// The registry server's start, the same for every process it serves: another value
// means the device has started again since the device folder last saw it.
ULONGLONG ServerStart()
{
    typedef LONG(NTAPI * QueryProc)(int, PVOID, ULONG, PULONG);
    QueryProc query =
        (QueryProc)(void *)GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation");
    BYTE info[48] = {};   // the whole record: the boot time, then the clock and zone
    if (!query || query(3 /* SystemTimeOfDayInformation */, info, sizeof info, NULL) != 0) return 0;
    ULONGLONG boot;
    memcpy(&boot, info, sizeof boot);
    return boot;
}

bool Exists(const std::wstring &path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void DeleteMatching(const std::wstring &folder, const wchar_t *pattern)
{
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\" + pattern).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do DeleteFileW((folder + L"\\" + found.cFileName).c_str());
    while (FindNextFileW(search, &found));
    FindClose(search);
}

// What writes cut off by the power left: temporaries beside files written whole (their
// names recorded in the device folder while they are written), scratch saves, and the
// hive saves not yet renamed.
void RemoveStrayFiles(const std::wstring &folder)
{
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\" + kPendingPrefix + L"*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::wstring record = folder + L"\\" + found.cFileName;
            std::string bytes;
            if (ReadRegImageFile(record.c_str(), &bytes) == 0 && bytes.size() % 2 == 0 && !bytes.empty()) {
                std::wstring temp((const wchar_t *)bytes.data(), bytes.size() / 2);
                if (temp.size() > 5 && temp.compare(temp.size() - 4, 4, L".tmp") == 0 && temp.find(L".~") != std::wstring::npos)
                    DeleteFileW(temp.c_str());
            }
            DeleteFileW(record.c_str());
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    DeleteMatching(folder, L"*.~*.tmp");
    DeleteMatching(folder, L"scratch-*");
    std::wstring prefix = PrefixFolder();
    if (!prefix.empty()) DeleteMatching(prefix, L"*.reg.~zr*.tmp");
}

// The registry as the journal holds it, put back hive by hive as an apply's own undo
// does, whatever failed the apply.
void UndoFromJournal(const std::vector<RegImageSection> &before)
{
    for (const RegImageSection &s : before) ApplyRegistryText(RegImageRootKey(s.root), s.text);
}

void FinishInterruptedApply(bool hard)
{
    std::wstring journal = DeviceFilePath(hard ? REGIMG_JOURNAL_HARD_NAME : REGIMG_JOURNAL_SOFT_NAME);
    if (!Exists(journal)) return;
    std::string old, image;
    std::vector<RegImageSection> before, sections;
    // Written whole or not at all: a journal that is not sound never had an apply follow it.
    if (ReadRegImageFile(journal.c_str(), &old) || CheckRegImage(old, &before, false)) {
        DeleteFileW(journal.c_str());
        return;
    }
    std::wstring staged = DeviceFilePath(REGIMG_STAGED_NAME);
    if (!hard && !Exists(staged)) {
        // The image goes only once the new registry is on disk: the apply had finished.
        DeleteFileW(journal.c_str());
        return;
    }
    DWORD error = ReadTargetImage(hard, &image);
    if (!error) error = CheckRegImage(image, &sections, false);
    if (!error) error = ApplyRegImage(sections, NULL);
    // Undone, the registry is wholly the one before, its boot count too.
    if (error) UndoFromJournal(before);
    else RaiseBootCount();
    SaveHives(1 | 2);
    // As the apply itself ends: what it says, then the image it applied goes, then the journal.
    std::wstring outcome = DeviceFilePath(REGIMG_OUTCOME_NAME);
    if (!hard) WriteFileAtomically(outcome.c_str(), std::to_string(error), true);
    WriteRecovery(hard ? (error ? SIM_RECOVERY_HARD_UNDONE : SIM_RECOVERY_HARD_FINISHED)
                       : (error ? SIM_RECOVERY_SOFT_UNDONE : SIM_RECOVERY_SOFT_FINISHED));
    if (!error) DeleteFileW(staged.c_str());
    if (hard && !error) DeleteFileW(outcome.c_str());
    DeleteFileW(journal.c_str());
}

}  // namespace

void PowerCutPoint(const char *step)
{
    char wanted[64];
    DWORD n = GetEnvironmentVariableA("ZR_POWER_CUT", wanted, sizeof wanted);
    if (n == 0 || n >= sizeof wanted || strcmp(wanted, step) != 0) return;
    // The server's own save may fall at this very moment; a test can have it do so.
    if (GetEnvironmentVariableA("ZR_POWER_CUT_SAVES", NULL, 0)) {
        std::wstring folder = PrefixFolder();
        EnableRegistryPrivileges();
        for (const HiveFile &hive : kHives) {
            std::wstring path = folder + L"\\" + hive.file, temp = path + L".~zrcut.tmp";
            if (RegSaveKeyW(hive.root, temp.c_str(), NULL) == 0) MoveFileExW(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
        }
    }
    TerminateProcess(GetCurrentProcess(), 99);
}

DWORD FlushDeviceRegistry(const std::vector<RegImageSection> *checks)
{
    if (checks && !checks->empty() && SimGetFailure(SIM_FAIL_REGCHECK)) return ERROR_REGISTRY_CORRUPT;   // a test's fault
    if (!SandboxActive()) return SaveHives(1 | 2, checks);
    // A test's sandbox is never written to disk; its hives are checked all the same.
    for (size_t i = 0; checks && i < checks->size(); ++i) {
        std::string text;
        DWORD error = RegistryText(RegImageRootKey((*checks)[i].root), &text);
        if (error) return error;
        if (!SameRegistryText(text, (*checks)[i].text)) return ERROR_REGISTRY_CORRUPT;
    }
    return 0;
}

DeviceLock::DeviceLock(const wchar_t *name)
{
    handle_ = CreateMutexW(NULL, FALSE, name);
    DWORD wait = handle_ ? WaitForSingleObject(handle_, 120000) : WAIT_FAILED;
    held_ = wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED;   // abandoned: its holder lost power
}

DeviceLock::~DeviceLock()
{
    if (held_) ReleaseMutex(handle_);
    if (handle_) CloseHandle(handle_);
}

void WriteRecovery(int recovery)
{
    WriteFileAtomically(DeviceFilePath(kRecoveryName).c_str(), std::to_string(recovery), true);
}

void ClearRecovery(void) { DeleteFileW(DeviceFilePath(kRecoveryName).c_str()); }

// Before anything of the process reads the registry: a start of the device sweeps what
// a power loss left behind, and an apply the power cut off is finished or undone.
void StartDevice(void)
{
    WCHAR folder[MAX_PATH];
    if (!SimGetDeviceDir(folder, MAX_PATH) || !Exists(folder)) return;
    std::wstring dir = folder;
    ULONGLONG start = ServerStart();
    std::string seen;
    ReadRegImageFile((dir + L"\\" + kStartedName).c_str(), &seen);
    std::string now = std::to_string(start);
    bool restarted = seen != now;
    bool journal = Exists(dir + L"\\" + REGIMG_JOURNAL_SOFT_NAME) || Exists(dir + L"\\" + REGIMG_JOURNAL_HARD_NAME);
    if (!restarted && !journal) return;
    DeviceLock lock(REGISTRY_APPLY_LOCK);
    FinishInterruptedApply(false);
    FinishInterruptedApply(true);
    ReadRegImageFile((dir + L"\\" + kStartedName).c_str(), &seen);
    if (seen != now) {
        RemoveStrayFiles(dir);
        WriteFileAtomically((dir + L"\\" + kStartedName).c_str(), now, true);
    }
}

// Whoever writes a file whole beside another records the temporary's name first, so
// that the next start can remove it if the power goes before it is renamed.
std::wstring RecordPendingFile(const std::wstring &temp)
{
    WCHAR folder[MAX_PATH];
    if (SandboxActive() || !SimGetDeviceDir(folder, MAX_PATH) || !Exists(folder)) return L"";
    if (CompareStringOrdinal(temp.c_str(), lstrlenW(folder), folder, -1, TRUE) == CSTR_EQUAL) return L"";   // swept anyway
    static LONG counter;
    wchar_t name[48];
    wsprintfW(name, L"%ls%lx-%lx", kPendingPrefix, GetCurrentProcessId(), InterlockedIncrement(&counter));
    std::wstring record = std::wstring(folder) + L"\\" + name;
    HANDLE file = CreateFileW(record.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) return L"";
    DWORD wrote;
    WriteFile(file, temp.data(), (DWORD)(temp.size() * sizeof(wchar_t)), &wrote, NULL);
    FlushFileBuffers(file);
    CloseHandle(file);
    return record;
}

extern "C" {

LONG WINAPI Ce_RegFlushKey(HKEY key)
{
    LONG r = RegFlushKey(key);
    if (r != ERROR_SUCCESS || SandboxActive()) return r;
    int hives = HivesOf(key);
    return hives ? (LONG)SaveHives(hives) : r;
}

int SimGetRecovery(void)
{
    std::string text;
    if (ReadRegImageFile(DeviceFilePath(kRecoveryName).c_str(), &text) || text.empty()) return SIM_RECOVERY_NONE;
    return atoi(text.c_str());
}

}  // extern "C"
