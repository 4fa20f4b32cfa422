// The device tools: registry backup and restore, power actions, device information
// reports and gauges, phone-edition detection.
#ifndef TOOLS_H
#define TOOLS_H

#include <windows.h>

// registry_backup.cpp
DWORD ChooseRegistryFile(HWND owner, WCHAR *path, DWORD pathLength, BOOL save);
int SaveRegistryToFile(LPCWSTR path);
int RestoreRegistryFromFile(LPCWSTR path);
void BackupRegistry(void);
void RestoreRegistry(void);

// power.cpp
void PressPowerKey(void);
void SoftResetDevice(void);
void HardResetDevice(void);

// device_info.cpp
void ReadBatteryGauge(HWND window, DWORD *fill, DWORD *percent);
void ReadMemoryGauge(HWND window, DWORD *fill, DWORD *percent);
void ReadStorageGauge(HWND window, DWORD *fill, DWORD *percent);
void ShowBatteryReport(HWND owner);
void ShowMemoryOrStorageReport(HWND owner, int which);

// phone_detect.cpp
BOOL HasCellularLine(void);

#endif
