// What the parts of the simulated device's coredll.dll offer one another.
#ifndef DEVICE_INTERNAL_H
#define DEVICE_INTERNAL_H

#include <windows.h>
#include <commdlg.h>
#include <string>
#include "simdevice.h"

// ---- device_profile.cpp: the device's profile, a small text file in its folder ----

#define DEVICE_MAX_FAILURE SIM_FAIL_CROSSVOLUME   // failure ids 1.. this have a slot in the profile

struct DeviceProfile {
    DWORD osMajor, osMinor, osBuild;
    int shape;                      // remembered screen shape, SimScreenShape
    SimBattery battery;
    DWORD memoryTotal, memoryAvailable;
    int cardCount;
    SimCard cards[SIM_MAX_CARDS];
    int lineCount;
    SimLine lines[SIM_MAX_LINES];
    DWORD failures[DEVICE_MAX_FAILURE + 1];
    BOOL cleanBoot;                 // the next reboot starts from the factory state
};

// Defaults overlaid with whatever the file holds; a missing or damaged file gives defaults.
void LoadProfile(DeviceProfile *profile);
// Back to the factory profile (a private device starts from it).
void ResetProfile(void);

void SetCleanBootInProfile(BOOL set);
void RememberShape(int shape);
int RememberedShape(void);

// A Unix or Windows path as a Windows path (MAX_PATH characters).
BOOL DosPathOf(const WCHAR *path, WCHAR *out);

// ---- registry_durable.cpp ----

// A named step where a test may have the device lose power (ZR_POWER_CUT).
void PowerCutPoint(const char *step);
// Run first in every process of the device.
void StartDevice(void);

// ---- device_testctl.cpp: per-process test state, records and queued answers ----

// The private device folder of a test, or NULL.
const WCHAR *PrivateDeviceDir(void);
BOOL AnsweringDialogs(void);
void RecordMessageBox(const SimMessageBox *record);
void RecordFileDialog(const SimFileDialog *record);
void RecordBroadcast(const SimBroadcast *record);
BOOL TakeMessageBoxAnswer(int *answer);
BOOL TakeFileDialogAnswer(std::wstring *path);   // "" for a queued cancel

// ---- device_files.cpp ----

// A path on the device's drive ("C:\windows\Rings\Ring1.wav") made the device's own
// ("\Windows\Rings\Ring1.wav") in place; returns how many characters it lost at the front.
int DevicePathFromDrivePath(WCHAR *path);
// The device's own search: the root as the device shows it, never "." or "..".
extern "C" HANDLE WINAPI Ce_FindFirstFileW(LPCWSTR pattern, LPWIN32_FIND_DATAW findData);
extern "C" BOOL WINAPI Ce_FindNextFileW(HANDLE handle, LPWIN32_FIND_DATAW findData);
extern "C" BOOL WINAPI Ce_FindClose(HANDLE handle);

// ---- device_dialogs.cpp ----

// Recorded and answered from the queue in a test that answers dialogs.
extern "C" int WINAPI Ce_MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT flags);
// Hands a chosen path back in the caller's record, `extension` (".reg") appended when
// given: 0, or FNERR_BUFFERTOOSMALL when it does not fit, the size needed then in the
// buffer's first character, as the device's dialog does.
DWORD HandBackFileName(LPOPENFILENAMEW ofn, const WCHAR *path, const WCHAR *extension);

// ---- device_file_dialogs.cpp ----

// The device's Save (save TRUE) or Open dialog, modal over the record's owner: TRUE
// with a path handed back, else FALSE with *error 0 when the user cancelled.
BOOL ShowFileDialog(LPOPENFILENAMEW ofn, BOOL save, DWORD *error);

// ---- device_windows.cpp ----

BOOL ScreenHasShape(int shape);

// ---- device_power.cpp ----

void ResetPowerState(void);   // forgets a half-pressed key and the suspended state

// ---- registry_device.cpp: the per-test sandbox of the device registry ----

// Begin points this process's four root keys into a fresh subtree seeded with the
// factory values; End removes it and puts the roots back.
BOOL RegistrySandboxBegin(void);
void RegistrySandboxEnd(void);

// ---- factory_registry.cpp: the registry a new device ships with ----

struct FactoryValue {
    HKEY root;              // HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER or HKEY_CLASSES_ROOT
    const wchar_t *key;
    const wchar_t *name;    // NULL: the key alone; L"" the default value
    DWORD type;             // REG_SZ or REG_DWORD (REG_NONE for the key alone)
    const wchar_t *text;    // REG_SZ
    DWORD number;           // REG_DWORD
};
extern const FactoryValue g_factoryRegistry[];
extern const size_t g_factoryRegistryCount;

// ---- device_libraries.cpp ----

// A procedure of a desktop library, loaded on the first call that needs it; NULL when
// the library or the procedure is missing.
FARPROC DesktopLibraryProc(const WCHAR *library, const char *name);
// A procedure of the common controls, which only the file dialogs and the file
// information need: linked at start, they would cost every program of the device a
// good part of its start-up. NULL when missing.
#define COMMON_CONTROL(procedure) ((decltype(&procedure))(void *)DesktopLibraryProc(L"comctl32.dll", #procedure))

// ---- keypaths.cpp ----

void ForgetReadOnlyKey(void);   // ends a test's read-only key

// ---- small string helpers (device_profile.cpp) ----

// Copies at most cch-1 characters and always terminates; NULL source gives "".
inline void CopyText(WCHAR *dest, size_t cch, const WCHAR *source) { if (dest && cch) lstrcpynW(dest, source ? source : L"", (int)cch); }
// Appends, keeping the terminator inside cch; returns FALSE when cut.
BOOL AppendText(WCHAR *dest, size_t cch, const WCHAR *source);
BOOL SameTextNoCase(const WCHAR *a, const WCHAR *b);

#endif
