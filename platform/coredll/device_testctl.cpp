// Test control of the simulated device: per process and in memory only. A test can
// give its process a private device, have message boxes and file dialogs answered
// from queues, and read back what the program showed, broadcast and asked of the
// power manager.
#include <windows.h>
#include <shellapi.h>
#include <deque>
#include <string>
#include "device.h"

namespace {

SRWLOCK g_lock = SRWLOCK_INIT;
DWORD g_flags;
BOOL g_hasPrivateDir;
WCHAR g_privateDir[MAX_PATH];

// Keeps the last N records (index 0 the oldest kept), or waits at most N answers.
template <typename T, size_t N> struct Bounded : std::deque<T> {
    void Add(const T &item) {
        if (this->size() == N) this->pop_front();
        this->push_back(item);
    }
    bool Push(const T &item) { return this->size() < N && (this->push_back(item), true); }
    bool Pop(T *out) { return !this->empty() && (*out = this->front(), this->pop_front(), true); }
    int Count() const { return (int)this->size(); }
    bool Get(int index, T *out) const { return index >= 0 && index < Count() && out && (*out = (*this)[index], true); }
};

Bounded<SimMessageBox, 128> g_messageBoxes;
Bounded<SimFileDialog, 64> g_fileDialogs;
Bounded<SimBroadcast, 256> g_broadcasts;
Bounded<SimPowerAction, 256> g_powerActions;
Bounded<int, 64> g_boxAnswers;
Bounded<std::wstring, 32> g_dialogAnswers;

struct Lock {
    Lock() { AcquireSRWLockExclusive(&g_lock); }
    ~Lock() { ReleaseSRWLockExclusive(&g_lock); }
};

BOOL CreatePrivateDir()
{
    WCHAR base[MAX_PATH];
    DWORD n = GetTempPathW(MAX_PATH - 40, base);
    if (n == 0 || n >= MAX_PATH - 40) return FALSE;
    for (int attempt = 0; attempt < 100; ++attempt) {
        WCHAR dir[MAX_PATH];
        wsprintfW(dir, L"%szr-device-%lu-%lu", base, GetCurrentProcessId(), GetTickCount() + attempt);
        if (CreateDirectoryW(dir, NULL)) return lstrcpyW(g_privateDir, dir) != NULL;
    }
    return FALSE;
}

// The shell's delete takes read-only files too; loaded only when a test ends.
void DeleteTree(const WCHAR *dir)
{
    typedef int(WINAPI * FileOperationProc)(SHFILEOPSTRUCTW *);
    FileOperationProc operation = (FileOperationProc)(void *)DesktopLibraryProc(L"shell32.dll", "SHFileOperationW");
    WCHAR from[MAX_PATH + 1] = {};   // a list of names, ended by an empty one
    CopyText(from, MAX_PATH, dir);
    SHFILEOPSTRUCTW op = {NULL, FO_DELETE, from, NULL, FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT};
    if (operation) operation(&op);
}
}

const WCHAR *PrivateDeviceDir(void)
{
    return g_hasPrivateDir ? g_privateDir : NULL;
}

BOOL AnsweringDialogs(void)
{
    return (g_flags & SIM_TEST_ANSWER_DIALOGS) != 0;
}

void RecordMessageBox(const SimMessageBox *record) { Lock lock; g_messageBoxes.Add(*record); }
void RecordFileDialog(const SimFileDialog *record) { Lock lock; g_fileDialogs.Add(*record); }
void RecordBroadcast(const SimBroadcast *record) { Lock lock; g_broadcasts.Add(*record); }
BOOL TakeMessageBoxAnswer(int *answer) { Lock lock; return g_boxAnswers.Pop(answer); }
BOOL TakeFileDialogAnswer(std::wstring *path) { Lock lock; return g_dialogAnswers.Pop(path); }

extern "C" {

void SimTestEnd(void)
{
    if (g_flags & SIM_TEST_PRIVATE_DEVICE) RegistrySandboxEnd();
    ForgetReadOnlyKey();
    // The next test, and the desktop, expect the device upright.
    if (g_flags && !ScreenHasShape(SIM_PORTRAIT)) SimRotate(SIM_PORTRAIT);
    ResetPowerState();
    g_flags = 0;
    if (g_hasPrivateDir && g_privateDir[0]) DeleteTree(g_privateDir);
    g_hasPrivateDir = FALSE;
    g_privateDir[0] = 0;
    SimClearRecords();
    Lock lock;
    g_boxAnswers.clear();
    g_dialogAnswers.clear();
}

// Ends a test still running; outside one it only forgets the records and answers.
void SimTestBegin(DWORD flags)
{
    SimTestEnd();
    if (flags & SIM_TEST_PRIVATE_DEVICE) {
        // Without its folder the test gets no device folder rather than the shared one.
        g_hasPrivateDir = TRUE;
        if (CreatePrivateDir()) ResetProfile();
    }
    g_flags = flags;
    if (flags & SIM_TEST_PRIVATE_DEVICE) RegistrySandboxBegin();
}

DWORD SimTestFlags(void)
{
    return g_flags;
}

void SimClearRecords(void)
{
    Lock lock;
    g_messageBoxes.clear();
    g_fileDialogs.clear();
    g_broadcasts.clear();
    g_powerActions.clear();
}

void SimQueueMessageBoxAnswer(int answer) { Lock lock; g_boxAnswers.Push(answer); }
int SimMessageBoxCount(void) { Lock lock; return g_messageBoxes.Count(); }
BOOL SimGetMessageBox(int index, SimMessageBox *record) { Lock lock; return g_messageBoxes.Get(index, record); }
int SimFileDialogCount(void) { Lock lock; return g_fileDialogs.Count(); }
BOOL SimGetFileDialog(int index, SimFileDialog *record) { Lock lock; return g_fileDialogs.Get(index, record); }
int SimBroadcastCount(void) { Lock lock; return g_broadcasts.Count(); }
BOOL SimGetBroadcast(int index, SimBroadcast *record) { Lock lock; return g_broadcasts.Get(index, record); }
int SimPowerActionCount(void) { Lock lock; return g_powerActions.Count(); }
BOOL SimGetPowerAction(int index, SimPowerAction *record) { Lock lock; return g_powerActions.Get(index, record); }

void SimQueueFileDialogAnswer(const WCHAR *path) { Lock lock; g_dialogAnswers.Push(path ? path : L""); }

void SimRecordPowerAction(int kind, DWORD a, DWORD b)
{
    SimPowerAction action = {kind, a, b};
    Lock lock;
    g_powerActions.Add(action);
}

}
