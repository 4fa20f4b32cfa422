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

/* The device folder is ZR_DEVICE_DIR (Windows or Unix path), else $WINEPREFIX/device; its
 * "profile.ini" is read afresh by every query. Whatever it lacks or holds damaged takes
 * the factory value of a Pocket PC 2003 Second Edition Phone Edition. */

enum SimScreenShape { SIM_PORTRAIT = 0, SIM_LANDSCAPE = 1, SIM_SQUARE = 2 };

/* The device's three screens. Wine's virtual desktop starts upright; for a turn to a size
 * it does not offer, coredll names that size in the desktop's setting for the moment of
 * the change, so the host screen needs only room for each (640x640 holds all three). */
#define SIM_PORTRAIT_CX 480
#define SIM_PORTRAIT_CY 640
#define SIM_LANDSCAPE_CX 640
#define SIM_LANDSCAPE_CY 480
#define SIM_SQUARE_CX 480
#define SIM_SQUARE_CY 480

/* The navigation bar on top and the soft-key bar at the bottom. */
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

enum SimFailure {
    SIM_FAIL_MENUBAR = 1,       /* aygshell ordinal 34 returns FALSE */
    SIM_FAIL_REGCOPY = 2,       /* RegCopyFile fails with the given error (50: not supported) */
    SIM_FAIL_REGRESTORE = 3,    /* RegRestoreFile fails with the given error */
    SIM_FAIL_TELEPHONY = 4,     /* lineInitializeEx fails */
    SIM_FAIL_REGAPPLY = 5,      /* a reset's apply of a registry image fails once its first hive is in */
    SIM_FAIL_REGCHECK = 6,      /* the flush after an apply finds a changed hive not saving as applied */
    SIM_FAIL_CROSSVOLUME = 7    /* the device folder lies on another volume than the files written */
};

SIMAPI BOOL  SimGetDeviceDir(WCHAR *buffer, DWORD cch);
/* Whole or not at all: decimal or 0x hexadecimal, no sign, no spaces, at most max. */
SIMAPI BOOL  SimParseNumber(const WCHAR *text, ULONGLONG max, ULONGLONG *value);

/* Each change of the profile is FALSE when it could not be stored, and then changes nothing. */
SIMAPI BOOL  SimSetOsVersion(DWORD major, DWORD minor, DWORD build);
SIMAPI BOOL  SimSetBattery(const SimBattery *battery);
SIMAPI void  SimGetBattery(SimBattery *battery);
SIMAPI BOOL  SimSetMemory(DWORD totalBytes, DWORD availableBytes);   /* total 0 is refused; available at most total */
SIMAPI void  SimGetMemory(DWORD *totalBytes, DWORD *availableBytes);
/* Also creates each card's folder in C:\. FALSE, changing nothing, for a bad or repeated
 * name, free above total, or a folder that cannot be made. A name is a folder name the file
 * system can hold (no DOS device name such as CON or COM1, no \ / : * ? " < > |, no dot or
 * space at its end) and none of the root folders of the device (Windows, My Documents,
 * Program Files, Temp). An empty name is the root, as some devices list it. */
SIMAPI BOOL  SimSetCards(const SimCard *cards, int count);
SIMAPI int   SimGetCards(SimCard *cards, int max);
SIMAPI BOOL  SimSetLines(const SimLine *lines, int count);   /* FALSE for a bad name */
SIMAPI int   SimGetLines(SimLine *lines, int max);
/* Error 0 clears it. lineInitializeEx gives a LINEERR_ code as it is, any other as LINEERR_NODRIVER. */
SIMAPI BOOL  SimSetFailure(int failure, DWORD error);
SIMAPI DWORD SimGetFailure(int failure);
/* One key read-only for this process, as in the device's ROM: coredll opens it with read
 * access only. A NULL or empty key ends it; so does the end of a test. */
SIMAPI void  SimSetReadOnlyKey(HKEY root, const WCHAR *key);

/* Changes the display mode and remembers the shape; FALSE when the display lacks it. */
SIMAPI BOOL  SimRotate(int shape);
SIMAPI int   SimGetScreenShape(void);
/* Turns the desktop, which always starts upright, to the remembered shape. devctl calls it
 * on every run, coredll once per process outside tests. */
SIMAPI BOOL  SimRestoreScreenShape(void);

SIMAPI BOOL  SimIsSuspended(void);
SIMAPI void  SimWake(void);
SIMAPI DWORD SimGetBootCount(void);       /* HKLM\Comm "Bootcount" */
SIMAPI BOOL  SimGetCleanBootFlag(void);   /* SetCleanRebootFlag was called; the next reboot is a hard reset */
/* Ends, as a reset does, every process with a top-level window but the caller,
 * sparedProcessId and Wine's own (run from the Windows or system folder). Returns how many. */
SIMAPI int   SimEndDevicePrograms(DWORD sparedProcessId);

/* Seeds the factory registry, creates the device's folders and sounds, saves the factory
 * image: SIM_CREATE_MADE. A registry that is already a device's is kept, and only the files
 * it lacks are made: SIM_CREATE_KEPT. FALSE on failure. */
#define SIM_CREATE_MADE 1
#define SIM_CREATE_KEPT 2
SIMAPI BOOL  SimCreateDevice(void);
/* With ending FALSE the caller goes on. A soft reset applies a staged registry image whole
 * or not at all: 0, or the error of a failed apply (registry as it was, image still staged).
 * A reset that returns 0 has the new registry and boot count on disk. A hard reset with no
 * factory image, or a damaged one, changes nothing and returns one of the two codes below. */
#define SIM_HARD_NO_IMAGE ERROR_FILE_NOT_FOUND
#define SIM_HARD_DAMAGED_IMAGE ERROR_FILE_CORRUPT
SIMAPI DWORD SimSoftReset(BOOL ending);
SIMAPI DWORD SimHardReset(BOOL ending);
SIMAPI BOOL  SimHasStagedImage(void);
/* The last soft reset's apply since the last hard reset: FALSE for none, else its error. */
SIMAPI BOOL  SimGetLastApply(DWORD *error);
/* A reset cut off by a power loss, as the next start of the device found it; cleared by
 * the next reset. */
enum SimRecovery {
    SIM_RECOVERY_NONE = 0,
    SIM_RECOVERY_SOFT_FINISHED = 1,   /* the restored image was applied at the start */
    SIM_RECOVERY_SOFT_UNDONE = 2,     /* it could not be: the registry as before the reset */
    SIM_RECOVERY_HARD_FINISHED = 3,
    SIM_RECOVERY_HARD_UNDONE = 4
};
SIMAPI int   SimGetRecovery(void);

/* ---- Test control: per process, nothing persisted ---- */

enum SimTestFlags {
    SIM_TEST_PRIVATE_DEVICE = 1,   /* a fresh device folder and a sandboxed, factory-seeded registry */
    SIM_TEST_ANSWER_DIALOGS = 2,   /* message boxes and file dialogs answered from queues, never shown */
    SIM_TEST_RECORD_POWER   = 4,   /* resets and suspends are recorded and applied, the process goes on */
    SIM_TEST_SHOW_FILE_DIALOGS = 8 /* with ANSWER_DIALOGS: the file dialogs are shown all the same, for the
                                      test to drive, while message boxes are still recorded and answered */
};
#define SIM_TEST_ALL (SIM_TEST_PRIVATE_DEVICE | SIM_TEST_ANSWER_DIALOGS | SIM_TEST_RECORD_POWER)

/* A new begin ends the previous test. The end puts back the registry, deletes the private
 * folder, turns the screen upright and clears records and queues. */
SIMAPI void SimTestBegin(DWORD flags);
SIMAPI void SimTestEnd(void);
/* Queued answers stay. Each kind keeps its last records only (128 message boxes, 64 file
 * dialogs, 256 broadcasts, 256 power actions); index 0 is the oldest kept. */
SIMAPI void SimClearRecords(void);

typedef struct SimMessageBox {
    HWND  owner;
    WCHAR text[1024];
    WCHAR caption[256];
    UINT  flags;
    int   answer;
} SimMessageBox;

/* Answers are used in order, at most 64 wait. With none a box gets IDOK for OK alone, IDNO
 * for Yes/No, IDCANCEL with a Cancel button, IDABORT for Abort/Retry/Ignore. */
SIMAPI void SimQueueMessageBoxAnswer(int answer);
SIMAPI int  SimMessageBoxCount(void);
SIMAPI BOOL SimGetMessageBox(int index, SimMessageBox *record);

typedef struct SimFileDialog {
    BOOL  save;               /* GetSaveFileNameW rather than GetOpenFileNameW */
    HWND  owner;
} SimFileDialog;

/* A NULL or empty path, or none queued, cancels the dialog; at most 32 wait. An answer comes back as
 * typed: no extension gets the default one. One that does not fit nMaxFile fails as the real
 * dialog does (FNERR_BUFFERTOOSMALL, the size needed in the buffer's first character). */
SIMAPI void SimQueueFileDialogAnswer(const WCHAR *path);
SIMAPI int  SimFileDialogCount(void);
SIMAPI BOOL SimGetFileDialog(int index, SimFileDialog *record);

/* Messages broadcast or posted to the desktop. In a test answering dialogs they reach only
 * this process's top-level windows. */
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
SIMAPI void SimRecordPowerAction(int kind, DWORD a, DWORD b);
SIMAPI DWORD SimTestFlags(void);
/* lineInitializeEx calls without lineShutdown; openLines, when given, gets the open lines. */
SIMAPI int  SimOpenTelephonyCount(int *openLines);
/* Storage-card enumeration behind Note_prj.dll ordinals 7 and 8. */
SIMAPI HANDLE SimFindFirstCard(LPWIN32_FIND_DATAW findData);
SIMAPI BOOL SimFindNextCard(HANDLE search, LPWIN32_FIND_DATAW findData);
SIMAPI BOOL SimGetPowerAction(int index, SimPowerAction *record);

#ifdef __cplusplus
}
#endif

#endif
