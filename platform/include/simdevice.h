/* Control of the simulated device, for the device-control command and for tests.
 * Exported by coredll.dll of the simulated device only: a real device has none of it,
 * and the program itself never calls it. */
#ifndef SIMDEVICE_H
#define SIMDEVICE_H

#include <windows.h>

#ifdef SIM_BUILDING_COREDLL
#define SIMAPI __declspec(dllexport)
#else
#define SIMAPI __declspec(dllimport)
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Device profile: kept in the device folder, read afresh by every query ---- */
/* The folder: ZR_DEVICE_DIR (a Windows or a Unix path), else $WINEPREFIX/device. The
 * profile is its "profile.ini";
 * without one (or for whatever it lacks or holds damaged) the device is a Pocket PC
 * 2003 Second Edition Phone Edition with its factory values. */

enum SimScreenShape { SIM_PORTRAIT = 0, SIM_LANDSCAPE = 1, SIM_SQUARE = 2 };

/* Screen sizes of the three shapes. Wine's virtual desktop offers these three modes
 * when it starts at the portrait size on a host screen of at least 640x640. */
#define SIM_PORTRAIT_CX 480
#define SIM_PORTRAIT_CY 640
#define SIM_LANDSCAPE_CX 640
#define SIM_LANDSCAPE_CY 480
#define SIM_SQUARE_CX 640
#define SIM_SQUARE_CY 640

/* Height of the shell's bars: the navigation bar on top and the soft-key bar at the bottom. */
#define SIM_BAR_HEIGHT 26

typedef struct SimBattery {
    BYTE  lifePercent;      /* 0..100, 255 = no reading */
    BYTE  flag;             /* BATTERY_FLAG_* */
    BYTE  chemistry;        /* BATTERY_CHEMISTRY_* */
    BYTE  acLineStatus;     /* 0 offline, 1 online, 255 unknown */
    DWORD voltage;          /* mV */
    LONG  current;          /* mA, negative while discharging */
    DWORD temperature;      /* raw reading: degrees C, or tenths of a degree above 100 */
    BOOL  statusFails;      /* GetSystemPowerStatusEx(2) fail */
} SimBattery;

typedef struct SimCard {
    WCHAR     name[64];     /* folder name in the root, e.g. "Storage Card" */
    ULONGLONG totalBytes;
    ULONGLONG freeBytes;
    BOOL      unreadable;   /* GetDiskFreeSpaceExW fails on it */
} SimCard;

typedef struct SimLine {
    WCHAR name[64];         /* e.g. "Cellular Line" */
    BOOL  cannotOpen;       /* lineOpen refuses it */
} SimLine;

#define SIM_MAX_CARDS 8
#define SIM_MAX_LINES 8

/* Failures a test can ask of the platform. */
enum SimFailure {
    SIM_FAIL_MENUBAR = 1,       /* aygshell ordinal 34 returns FALSE */
    SIM_FAIL_REGCOPY = 2,       /* RegCopyFile fails with the given error (50: not supported) */
    SIM_FAIL_REGRESTORE = 3,    /* RegRestoreFile fails with the given error */
    SIM_FAIL_TELEPHONY = 4,     /* lineInitializeEx fails */
    SIM_FAIL_REGAPPLY = 5       /* a reset's apply of a registry image fails once its first hive is in */
};

SIMAPI BOOL  SimGetDeviceDir(WCHAR *buffer, DWORD cch);   /* folder of the device's own state */

SIMAPI void  SimSetOsVersion(DWORD major, DWORD minor, DWORD build);
SIMAPI void  SimSetBattery(const SimBattery *battery);
SIMAPI void  SimGetBattery(SimBattery *battery);
SIMAPI void  SimSetMemory(DWORD totalBytes, DWORD availableBytes);   /* total 0 is ignored; available at most total */
SIMAPI void  SimGetMemory(DWORD *totalBytes, DWORD *availableBytes);
/* Also creates each card's folder in C:\. FALSE for a name that is no folder name, a
 * name given twice (case does not count), free above total, or a folder that cannot be
 * made. An empty name stands for the root "\", as some devices list it. */
SIMAPI BOOL  SimSetCards(const SimCard *cards, int count);
SIMAPI int   SimGetCards(SimCard *cards, int max);
SIMAPI void  SimSetLines(const SimLine *lines, int count);
SIMAPI int   SimGetLines(SimLine *lines, int max);
/* Error 0 clears it. lineInitializeEx returns an error with the high bit set (a
 * LINEERR_ code) as it is, any other as LINEERR_NODRIVER. */
SIMAPI void  SimSetFailure(int failure, DWORD error);
SIMAPI DWORD SimGetFailure(int failure);
/* Makes one key read-only for this process, as a key in the device's ROM: opened or
 * created through coredll it comes with read access only, so every write to its values
 * fails. A NULL or empty key ends it; so does the end of a test. */
SIMAPI void  SimSetReadOnlyKey(HKEY root, const WCHAR *key);

/* Turns the screen: changes the display mode, re-sizes every full-screen dialog and
 * soft-key bar, and remembers the shape. FALSE when the display lacks that mode. */
SIMAPI BOOL  SimRotate(int shape);
SIMAPI int   SimGetScreenShape(void);
/* The desktop always starts upright (the only size at which it offers all three
 * shapes); this turns a desktop still at that size to the remembered shape. The
 * device-control command calls it whenever it runs, and coredll calls it once per
 * process, outside tests, before it places the first window of default size. */
SIMAPI BOOL  SimRestoreScreenShape(void);

/* Power state of the simulated device. */
SIMAPI BOOL  SimIsSuspended(void);
SIMAPI void  SimWake(void);
SIMAPI DWORD SimGetBootCount(void);       /* HKLM\Comm "Bootcount" */
SIMAPI BOOL  SimGetCleanBootFlag(void);   /* SetCleanRebootFlag was called; the next reboot is a hard reset */
/* Ends every other process of the device that has a top-level window (as a reset
 * does), except the caller, sparedProcessId and Wine's own processes (those started
 * from the Windows or the system folder itself). Returns how many were ended. */
SIMAPI int   SimEndDevicePrograms(DWORD sparedProcessId);

/* Device set-up: seeds the running registry with the factory values, creates the
 * device's folders and sound files, and saves the factory registry image. */
SIMAPI BOOL  SimCreateDevice(void);
/* Resets as the device would; with ending FALSE the calling process goes on. A soft
 * reset applies a staged registry image whole or not at all: it returns 0, or the error
 * of an apply that failed, which leaves the registry as it was and the image staged. */
SIMAPI DWORD SimSoftReset(BOOL ending);
SIMAPI void  SimHardReset(BOOL ending);
SIMAPI BOOL  SimHasStagedImage(void);
/* The outcome of the last soft reset that found an image staged: FALSE when there was
 * none since the last hard reset, else TRUE with the error (0 when it was applied). */
SIMAPI BOOL  SimGetLastApply(DWORD *error);

/* ---- Test control: per process, nothing persisted ---- */

enum SimTestFlags {
    SIM_TEST_PRIVATE_DEVICE = 1,   /* a fresh device folder and a sandboxed, factory-seeded registry */
    SIM_TEST_ANSWER_DIALOGS = 2,   /* message boxes and file dialogs answered from queues, never shown */
    SIM_TEST_RECORD_POWER   = 4    /* resets and suspends are recorded and applied, the process goes on */
};
#define SIM_TEST_ALL (SIM_TEST_PRIVATE_DEVICE | SIM_TEST_ANSWER_DIALOGS | SIM_TEST_RECORD_POWER)

/* A new begin ends the previous test first. The end puts everything back: the
 * registry sandbox, the private folder (deleted), a turned screen (upright again),
 * the records and the queues. */
SIMAPI void SimTestBegin(DWORD flags);
SIMAPI void SimTestEnd(void);
/* Forgets the records of message boxes, file dialogs, broadcasts and power actions;
 * queued answers stay. Each kind keeps its last records only (128 message boxes,
 * 64 file dialogs, 256 broadcasts, 256 power actions); index 0 is the oldest kept. */
SIMAPI void SimClearRecords(void);

typedef struct SimMessageBox {
    HWND  owner;
    WCHAR text[1024];
    WCHAR caption[256];
    UINT  flags;
    int   answer;
} SimMessageBox;

/* Answers are used in order; with none queued a box is answered IDOK, IDNO or IDCANCEL
 * as its buttons allow: OK alone gives IDOK, Yes/No gives IDNO, every set with Cancel
 * gives IDCANCEL, Abort/Retry/Ignore gives IDABORT. At most 64 answers wait; more are
 * ignored. */
SIMAPI void SimQueueMessageBoxAnswer(int answer);
SIMAPI int  SimMessageBoxCount(void);
SIMAPI BOOL SimGetMessageBox(int index, SimMessageBox *record);

typedef struct SimFileDialog {
    BOOL  save;               /* GetSaveFileNameW rather than GetOpenFileNameW */
    HWND  owner;
} SimFileDialog;

/* A NULL path cancels the dialog. With nothing queued a dialog is cancelled. At most
 * 32 answers wait; more are ignored. An answer is given back as the user would have
 * typed it: a name without an extension gets the default extension. When the answer
 * does not fit in nMaxFile characters (terminator included) the dialog fails as the
 * real one does: CommDlgExtendedError (exported by coredll) gives FNERR_BUFFERTOOSMALL
 * and the buffer's first character holds the size needed, followed by a null when
 * nMaxFile allows. Accepted record sizes: 76 (the device's), and the desktop's two. */
SIMAPI void SimQueueFileDialogAnswer(const WCHAR *path);
SIMAPI int  SimFileDialogCount(void);
SIMAPI BOOL SimGetFileDialog(int index, SimFileDialog *record);

/* Settings-change messages sent to HWND_BROADCAST or posted to the desktop window (or
 * HWND_BROADCAST). Always recorded; in a test answering dialogs they reach only this
 * process's own top-level windows, otherwise every window. */
typedef struct SimBroadcast {
    BOOL   posted;
    HWND   target;
    UINT   message;
    WPARAM wParam;
    LPARAM lParam;
} SimBroadcast;
SIMAPI int  SimBroadcastCount(void);
SIMAPI BOOL SimGetBroadcast(int index, SimBroadcast *record);

enum SimPowerKind {
    SIM_POWER_KEY_DOWN = 1,       /* keybd_event of VK 0xDF, key down: a = key, b = flags */
    SIM_POWER_KEY_UP,             /* the same, key up; a whole press suspends a device that is on
                                     and wakes one that sleeps */
    SIM_POWER_EXITWINDOWS,        /* aygshell ExitWindowsEx: a = flags, b = reserved */
    SIM_POWER_SETSTATE,           /* SetSystemPowerState, any state: a = state, b = flags */
    SIM_POWER_IOCONTROL,          /* KernelIoControl, any code: a = code */
    SIM_POWER_CLEANBOOT,          /* SetCleanRebootFlag */
    SIM_POWER_SUSPENDED,          /* the device went to sleep */
    SIM_POWER_SOFT_RESET,         /* the device restarted keeping its data */
    SIM_POWER_HARD_RESET          /* the device restarted to its factory state */
};
typedef struct SimPowerAction {
    int   kind;
    DWORD a, b;
} SimPowerAction;
SIMAPI int  SimPowerActionCount(void);
/* For the shell's ExitWindowsEx and the other power entry points. */
SIMAPI void SimRecordPowerAction(int kind, DWORD a, DWORD b);
/* The flags given to SimTestBegin, 0 outside a test. */
SIMAPI DWORD SimTestFlags(void);
/* Open telephony connections (lineInitializeEx without lineShutdown) of this process;
 * openLines, when given, receives the number of open lines. */
SIMAPI int  SimOpenTelephonyCount(int *openLines);
/* Storage-card enumeration behind Note_prj.dll ordinals 7 and 8. */
SIMAPI HANDLE SimFindFirstCard(LPWIN32_FIND_DATAW findData);
SIMAPI BOOL SimFindNextCard(HANDLE search, LPWIN32_FIND_DATAW findData);
SIMAPI BOOL SimGetPowerAction(int index, SimPowerAction *record);

#ifdef __cplusplus
}
#endif

#endif
