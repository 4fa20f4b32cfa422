/* Core services of the device that the desktop headers lack: power status, the
 * whole-registry copy, the hardware layer's control codes and the storage cards.
 * On the device these come from its own SDK headers; the simulated device supplies
 * them from coredll.dll and Note_prj.dll. */
#ifndef CEPLATFORM_H
#define CEPLATFORM_H

#include <windows.h>
#include <shellapi.h>
#include <tapi.h>

#ifdef __cplusplus
extern "C" {
#endif

#ifdef SIM_BUILDING_COREDLL
#define CEAPI __declspec(dllexport)
#else
#define CEAPI __declspec(dllimport)
#endif

typedef struct _SYSTEM_POWER_STATUS_EX {
    BYTE  ACLineStatus;
    BYTE  BatteryFlag;
    BYTE  BatteryLifePercent;
    BYTE  Reserved1;
    DWORD BatteryLifeTime;
    DWORD BatteryFullLifeTime;
    BYTE  Reserved2;
    BYTE  BackupBatteryFlag;
    BYTE  BackupBatteryLifePercent;
    BYTE  Reserved3;
    DWORD BackupBatteryLifeTime;
    DWORD BackupBatteryFullLifeTime;
} SYSTEM_POWER_STATUS_EX, *PSYSTEM_POWER_STATUS_EX;

/* 56 bytes on the device as here. */
typedef struct _SYSTEM_POWER_STATUS_EX2 {
    BYTE  ACLineStatus;
    BYTE  BatteryFlag;
    BYTE  BatteryLifePercent;
    BYTE  Reserved1;
    DWORD BatteryLifeTime;
    DWORD BatteryFullLifeTime;
    BYTE  Reserved2;
    BYTE  BackupBatteryFlag;
    BYTE  BackupBatteryLifePercent;
    BYTE  Reserved3;
    DWORD BackupBatteryLifeTime;
    DWORD BackupBatteryFullLifeTime;
    DWORD BatteryVoltage;
    DWORD BatteryCurrent;
    DWORD BatteryAverageCurrent;
    DWORD BatteryAverageInterval;
    DWORD BatterymAHourConsumed;
    DWORD BatteryTemperature;
    DWORD BackupBatteryVoltage;
    BYTE  BatteryChemistry;
} SYSTEM_POWER_STATUS_EX2, *PSYSTEM_POWER_STATUS_EX2;

#ifndef BATTERY_FLAG_HIGH
#define BATTERY_FLAG_HIGH 0x01
#define BATTERY_FLAG_LOW 0x02
#define BATTERY_FLAG_CRITICAL 0x04
#define BATTERY_FLAG_CHARGING 0x08
#define BATTERY_FLAG_NO_BATTERY 0x80
#define BATTERY_FLAG_UNKNOWN 0xFF
#endif
#define BATTERY_CHEMISTRY_ALKALINE 0x01
#define BATTERY_CHEMISTRY_NICD 0x02
#define BATTERY_CHEMISTRY_NIMH 0x03
#define BATTERY_CHEMISTRY_LION 0x04
#define BATTERY_CHEMISTRY_LIPOLY 0x05
#define BATTERY_CHEMISTRY_ZINCAIR 0x06
#define BATTERY_CHEMISTRY_UNKNOWN 0xFF

#define POWER_STATE_RESET 0x00800000
#define IOCTL_HAL_REBOOT 0x0101003C
#define VK_OFF 0xDF

CEAPI BOOL WINAPI GetSystemPowerStatusEx(PSYSTEM_POWER_STATUS_EX status, BOOL update);
CEAPI DWORD WINAPI GetSystemPowerStatusEx2(PSYSTEM_POWER_STATUS_EX2 status, DWORD length, BOOL update);
CEAPI BOOL WINAPI RegCopyFile(LPCWSTR file);
CEAPI BOOL WINAPI RegRestoreFile(LPCWSTR file);
CEAPI BOOL WINAPI KernelIoControl(DWORD code, LPVOID in, DWORD inSize, LPVOID out, DWORD outSize, LPDWORD returned);
CEAPI void WINAPI SetCleanRebootFlag(void);

/* The device exports these under one name, without the desktop's W; the desktop
 * headers make macros of those names. A callback instance is a DWORD_PTR here as the
 * desktop's tapi.h has it, a DWORD on the device, where the two are one type. */
#undef RegSaveKey
#undef RegReplaceKey
#undef SHGetFileInfo
#undef lineInitializeEx
#undef lineGetDevCaps
#undef lineOpen
CEAPI LONG WINAPI RegSaveKey(HKEY key, LPCWSTR file, LPSECURITY_ATTRIBUTES security);
CEAPI LONG WINAPI RegReplaceKey(HKEY key, LPCWSTR subKey, LPCWSTR newFile, LPCWSTR oldFile);
CEAPI DWORD_PTR WINAPI SHGetFileInfo(LPCWSTR path, DWORD attributes, SHFILEINFOW *info, UINT infoSize, UINT flags);
CEAPI LONG WINAPI lineInitializeEx(LPHLINEAPP app, HINSTANCE instance, LINECALLBACK callback, LPCWSTR appName,
                                   LPDWORD deviceCount, LPDWORD apiVersion, LPLINEINITIALIZEEXPARAMS params);
CEAPI LONG WINAPI lineGetDevCaps(HLINEAPP app, DWORD device, DWORD apiVersion, DWORD extVersion, LPLINEDEVCAPS caps);
CEAPI LONG WINAPI lineOpen(HLINEAPP app, DWORD device, LPHLINE line, DWORD apiVersion, DWORD extVersion,
                           DWORD_PTR callbackInstance, DWORD privileges, DWORD mediaModes, LPLINECALLPARAMS params);
/* The device looks exports up by a wide name (GetProcAddress is this one under UNICODE). */
CEAPI FARPROC WINAPI GetProcAddressW(HMODULE module, LPCWSTR name);
/* Replaces `existing` by `replacement`, which takes its name; `existing` must be there. */
CEAPI BOOL WINAPI DeleteAndRenameFile(LPCWSTR existing, LPCWSTR replacement);

/* Looked up by name at run time ("SetSystemPowerState" in "Coredll.dll"). */
typedef DWORD (WINAPI *SetSystemPowerStateProc)(LPCWSTR state, DWORD powerState, DWORD flags);

/* Note_prj.dll: ordinal 7 and 8. The handle is closed with FindClose. */
#ifdef SIM_BUILDING_NOTEPRJ
#define NOTEAPI __declspec(dllexport)
#else
#define NOTEAPI __declspec(dllimport)
#endif
NOTEAPI HANDLE WINAPI FindFirstFlashCard(LPWIN32_FIND_DATAW findData);
NOTEAPI BOOL WINAPI FindNextFlashCard(HANDLE search, LPWIN32_FIND_DATAW findData);

#ifdef __cplusplus
}
#endif

#endif
