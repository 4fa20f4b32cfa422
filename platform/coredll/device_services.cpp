// Core services answered from the device profile: the OS version, the power status,
// the memory status and the sizes of the storage cards; and the device's replacement
// of one file by another.
#include <windows.h>
#include "ceplatform.h"
#include "device.h"

// ---------------------------------------------------------------------------------
// OS version

extern "C" BOOL WINAPI Ce_GetVersionExW(LPOSVERSIONINFOW info)
{
    if (!info) { SetLastError(ERROR_INVALID_PARAMETER); return FALSE; }
    DWORD size = info->dwOSVersionInfoSize;
    if (size != sizeof(OSVERSIONINFOW) && size != sizeof(OSVERSIONINFOEXW)) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    DeviceProfile p;
    LoadProfile(&p);
    ZeroMemory((BYTE *)info + sizeof(DWORD), size - sizeof(DWORD));
    info->dwMajorVersion = p.osMajor;
    info->dwMinorVersion = p.osMinor;
    info->dwBuildNumber = p.osBuild;
    info->dwPlatformId = 3;   // VER_PLATFORM_WIN32_CE
    return TRUE;
}

// ---------------------------------------------------------------------------------
// Power status

static const DWORD kLifeUnknown = 0xFFFFFFFF;
static const DWORD kFullLifeSeconds = 10 * 3600;   // a full battery lasts about ten hours

extern "C" DWORD WINAPI GetSystemPowerStatusEx2(PSYSTEM_POWER_STATUS_EX2 status, DWORD length, BOOL)
{
    if (!status || length == 0) { SetLastError(ERROR_INVALID_PARAMETER); return 0; }
    DeviceProfile p;
    LoadProfile(&p);
    if (p.battery.statusFails) { SetLastError(ERROR_GEN_FAILURE); return 0; }
    const SimBattery *b = &p.battery;
    SYSTEM_POWER_STATUS_EX2 full = {}, *s = &full;
    s->ACLineStatus = b->acLineStatus;
    s->BatteryFlag = b->flag;
    s->BatteryLifePercent = b->lifePercent;
    BOOL draining = b->acLineStatus == 0 && b->lifePercent <= 100;
    s->BatteryLifeTime = draining ? kFullLifeSeconds / 100 * b->lifePercent : kLifeUnknown;
    s->BatteryFullLifeTime = draining ? kFullLifeSeconds : kLifeUnknown;
    s->BackupBatteryFlag = BATTERY_FLAG_HIGH;
    s->BackupBatteryLifePercent = 100;
    s->BackupBatteryLifeTime = kLifeUnknown;
    s->BackupBatteryFullLifeTime = kLifeUnknown;
    s->BatteryVoltage = b->voltage;
    s->BatteryCurrent = (DWORD)b->current;
    s->BatteryAverageCurrent = (DWORD)b->current;
    s->BatteryAverageInterval = 10000;
    s->BatteryTemperature = b->temperature;
    s->BackupBatteryVoltage = 3000;
    s->BatteryChemistry = b->chemistry;
    DWORD copied = length < sizeof full ? length : (DWORD)sizeof full;
    CopyMemory(status, &full, copied);
    return copied;
}

// The basic record is the head of the extended one.
extern "C" BOOL WINAPI GetSystemPowerStatusEx(PSYSTEM_POWER_STATUS_EX status, BOOL update)
{
    return GetSystemPowerStatusEx2((PSYSTEM_POWER_STATUS_EX2)status, sizeof *status, update) != 0;
}

// ---------------------------------------------------------------------------------
// Memory

extern "C" void WINAPI Ce_GlobalMemoryStatus(LPMEMORYSTATUS status)
{
    if (!status) return;
    DeviceProfile p;
    LoadProfile(&p);
    ZeroMemory(status, sizeof *status);
    status->dwLength = sizeof *status;
    ULONGLONG used = (ULONGLONG)(p.memoryTotal - p.memoryAvailable) * 100;
    status->dwMemoryLoad = (DWORD)(used / p.memoryTotal);
    status->dwTotalPhys = p.memoryTotal;
    status->dwAvailPhys = p.memoryAvailable;
    // Every process of the device lives in a 32 MB slot.
    status->dwTotalVirtual = 32u * 1024u * 1024u;
    status->dwAvailVirtual = 26u * 1024u * 1024u;
}

// ---------------------------------------------------------------------------------
// Storage cards

// The card a path lies on: "\Storage Card", "Storage Card\", "C:\storage card\x"...
static const SimCard *CardOfPath(const DeviceProfile *p, const WCHAR *path)
{
    if (!path) return NULL;
    if ((path[0] == L'C' || path[0] == L'c') && path[1] == L':') path += 2;
    BOOL rooted = FALSE;
    while (*path == L'\\' || *path == L'/') { ++path; rooted = TRUE; }
    size_t n = 0;
    while (path[n] && path[n] != L'\\' && path[n] != L'/') ++n;
    for (int i = 0; i < p->cardCount; ++i) {
        const SimCard *card = &p->cards[i];
        if (!card->name[0]) {
            // A card listed as the root itself.
            if (rooted && n == 0) return card;
            continue;
        }
        if (n > 0 && n == wcslen(card->name) && CompareStringOrdinal(path, (int)n, card->name, (int)n, TRUE) == CSTR_EQUAL)
            return card;
    }
    return NULL;
}

extern "C" BOOL WINAPI Ce_GetDiskFreeSpaceExW(LPCWSTR path, PULARGE_INTEGER freeToCaller, PULARGE_INTEGER total,
                                               PULARGE_INTEGER totalFree)
{
    DeviceProfile p;
    LoadProfile(&p);
    const SimCard *card = CardOfPath(&p, path);
    if (!card) return GetDiskFreeSpaceExW(path, freeToCaller, total, totalFree);
    if (card->unreadable) { SetLastError(ERROR_NOT_READY); return FALSE; }
    if (freeToCaller) freeToCaller->QuadPart = card->freeBytes;
    if (total) total->QuadPart = card->totalBytes;
    if (totalFree) totalFree->QuadPart = card->freeBytes;
    return TRUE;
}

// ---------------------------------------------------------------------------------
// Replacing a file

// The device swaps the files in one step: the old one stays whole until the new one,
// already on the storage, takes its name. Here that is a flush and a rename over it.
extern "C" BOOL WINAPI DeleteAndRenameFile(LPCWSTR existing, LPCWSTR replacement)
{
    if (!existing || !replacement) { SetLastError(ERROR_INVALID_PARAMETER); return FALSE; }
    DWORD attributes = GetFileAttributesW(existing);
    if (attributes == INVALID_FILE_ATTRIBUTES) return FALSE;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) { SetLastError(ERROR_ACCESS_DENIED); return FALSE; }
    HANDLE file = CreateFileW(replacement, GENERIC_WRITE, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE) return FALSE;
    BOOL flushed = FlushFileBuffers(file);
    CloseHandle(file);
    return flushed && MoveFileExW(replacement, existing, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}
