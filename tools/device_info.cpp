// Battery, memory and storage: the main window's gauge readings and the report boxes.
#include <stdio.h>
#include <wchar.h>
#include "tools/tools.h"
#include "ceplatform.h"

static const float kMegabytesPerByte = 9.536743e-7f;   // 2^-20, as the reports compute it
static const DWORD kReportLength = 512;

// Appends `text` when it fits whole; the report never grows past its buffer.
static BOOL AppendWhole(WCHAR *report, DWORD capacity, const WCHAR *text)
{
    size_t used = wcslen(report);
    size_t extra = wcslen(text);
    if (used + extra + 1 > capacity) return FALSE;
    wmemcpy(report + used, text, extra + 1);
    return TRUE;
}

static BYTE ReadBatteryPercent(BOOL *ok)
{
    SYSTEM_POWER_STATUS_EX status;
    ZeroMemory(&status, sizeof status);
    BOOL read = GetSystemPowerStatusEx(&status, TRUE);
    if (ok) *ok = read;
    BYTE percent = status.BatteryLifePercent;
    return percent > 100 ? 100 : percent;   // 255 means no reading: shown full
}

void ReadBatteryGauge(HWND, DWORD *fill, DWORD *percent)
{
    DWORD p = ReadBatteryPercent(NULL);
    *fill = *fill * p / 100;
    *percent = p;
}

// Physical memory in bytes, 32-bit as the device reports it.
static void ReadMemoryStatus(DWORD *total, DWORD *available)
{
    MEMORYSTATUS status;
    ZeroMemory(&status, sizeof status);
    status.dwLength = sizeof status;
    GlobalMemoryStatus(&status);
    *total = (DWORD)status.dwTotalPhys;
    *available = (DWORD)status.dwAvailPhys;
}

void ReadMemoryGauge(HWND, DWORD *fill, DWORD *percent)
{
    DWORD total, available;
    ReadMemoryStatus(&total, &available);
    if (total == 0 || total / 1024 == 0) {
        *fill = 0;
        *percent = 0;
        return;
    }
    *fill = (DWORD)(((unsigned long long)*fill * available) / total);
    *percent = ((available / 1024) * 100) / (total / 1024);
}

static BOOL ReadVolume(const WCHAR *cardName, WCHAR *path, size_t pathLength, ULONGLONG *freeBytes, ULONGLONG *totalBytes)
{
    _snwprintf(path, pathLength, L"\\%ls", cardName);
    path[pathLength - 1] = 0;
    ULARGE_INTEGER available, total;
    if (!GetDiskFreeSpaceExW(path, &available, &total, NULL)) return FALSE;
    *freeBytes = available.QuadPart;
    *totalBytes = total.QuadPart;
    return TRUE;
}

static BOOL IsRemovableCardPath(const WCHAR *path)
{
    return wcscmp(path, L"\\Storage Card") == 0 || wcscmp(path, L"\\SD Card") == 0 || wcscmp(path, L"\\CF Card") == 0;
}

void ReadStorageGauge(HWND, DWORD *fill, DWORD *percent)
{
    ULONGLONG cardFree = 0, cardTotal = 0, otherFree = 0, otherTotal = 1;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFlashCard(&found);
    if (search == INVALID_HANDLE_VALUE) {
        // No volume at all reads as empty storage, not as the previous gauge's value.
        *fill = 0;
        *percent = 0;
        return;
    }
    do {
        found.cFileName[MAX_PATH - 1] = 0;   // a name is data from the card: never read past it
        WCHAR path[MAX_PATH + 2];
        ULONGLONG freeBytes, totalBytes;
        if (!ReadVolume(found.cFileName, path, MAX_PATH + 2, &freeBytes, &totalBytes)) continue;
        if (IsRemovableCardPath(path)) {
            cardFree = freeBytes;
            cardTotal = totalBytes;
        } else {
            otherFree = freeBytes;
            otherTotal = totalBytes;
        }
    } while (FindNextFlashCard(search, &found));
    FindClose(search);

    ULONGLONG freeBytes = cardTotal ? cardFree : otherFree;
    ULONGLONG totalBytes = cardTotal ? cardTotal : otherTotal;
    if (totalBytes == 0) {
        *fill = 0;
        *percent = 0;
        return;
    }
    *fill = (DWORD)(((ULONGLONG)*fill * freeBytes) / totalBytes);
    *percent = (DWORD)((freeBytes * 100) / totalBytes);
}

static const WCHAR *BatteryStatusWord(BYTE flag)
{
    switch (flag) {
    case BATTERY_FLAG_HIGH: return L"High";
    case BATTERY_FLAG_LOW: return L"Low";
    case BATTERY_FLAG_CRITICAL: return L"Critical";
    case BATTERY_FLAG_CHARGING: return L"Charging";
    case BATTERY_FLAG_NO_BATTERY: return L"No Battery";
    case BATTERY_FLAG_UNKNOWN: return L"Unkonw status";
    default: return L"";
    }
}

static const WCHAR *BatteryChemistryWord(BYTE chemistry)
{
    switch (chemistry) {
    case BATTERY_CHEMISTRY_ALKALINE: return L"Alkaline battery";
    case BATTERY_CHEMISTRY_NICD: return L"Nickel Cadmium battery";
    case BATTERY_CHEMISTRY_NIMH: return L"Nickel Metal Hydride battery";
    case BATTERY_CHEMISTRY_LION: return L"Lithium Ion battery";
    case BATTERY_CHEMISTRY_LIPOLY: return L"Lithium Polymer battery";
    case BATTERY_CHEMISTRY_ZINCAIR: return L"Zinc Air battery";
    case BATTERY_CHEMISTRY_UNKNOWN: return L"Battery chemistry is unknown.";
    default: return L"";
    }
}

void ShowBatteryReport(HWND owner)
{
    BOOL ok;
    BYTE percent = ReadBatteryPercent(&ok);
    if (!ok) {
        MessageBoxW(owner, L"Couldn't get power state", L"Error", MB_OK);
        return;
    }

    WCHAR report[kReportLength];
    _snwprintf(report, kReportLength, L"%ls%d%ls", L"Percent: ", percent, L"%.");
    report[kReportLength - 1] = 0;

    SYSTEM_POWER_STATUS_EX2 status;
    ZeroMemory(&status, sizeof status);
    GetSystemPowerStatusEx2(&status, sizeof status, TRUE);

    // Raw readings above 100 are tenths of a degree.
    DWORD celsius = status.BatteryTemperature <= 100 ? status.BatteryTemperature : status.BatteryTemperature / 10;
    DWORD fahrenheit = (DWORD)(celsius * 1.8 + 32.0);

    WCHAR lines[kReportLength];
    _snwprintf(lines, kReportLength,
               L"\nStatus: %ls\nVoltage: %d (mV)\nCurrent: %d (mA)\nType: %ls\nTemperature: %d (C)/%d (F)\n",
               BatteryStatusWord(status.BatteryFlag), (int)status.BatteryVoltage, (int)status.BatteryCurrent,
               BatteryChemistryWord(status.BatteryChemistry), (int)celsius, (int)fahrenheit);
    lines[kReportLength - 1] = 0;
    AppendWhole(report, kReportLength, lines);

    MessageBoxW(owner, report, L"Battery Information", MB_ICONINFORMATION);
}

static DWORD WholeMegabytes(ULONGLONG bytes)
{
    return (DWORD)(bytes >> 20);
}

static void ShowMemoryReport(HWND owner)
{
    DWORD total, available;
    ReadMemoryStatus(&total, &available);

    DWORD percent = 0;
    if (WholeMegabytes(total))
        percent = (DWORD)(((float)WholeMegabytes(available) / (float)WholeMegabytes(total)) * 100.0f);

    WCHAR report[kReportLength];
    _snwprintf(report, kReportLength, L"RAM:\nTotal: %.02f MB\nFree: %.02f MB (%u%%)\n\n",
               (double)((float)total * kMegabytesPerByte), (double)((float)available * kMegabytesPerByte), percent);
    report[kReportLength - 1] = 0;
    MessageBoxW(owner, report, L"Memory Information", MB_ICONINFORMATION);
}

static void ShowStorageReport(HWND owner)
{
    WCHAR report[kReportLength];
    report[0] = 0;

    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFlashCard(&found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            found.cFileName[MAX_PATH - 1] = 0;
            WCHAR path[MAX_PATH + 2];
            ULONGLONG freeBytes, totalBytes;
            if (!ReadVolume(found.cFileName, path, MAX_PATH + 2, &freeBytes, &totalBytes)) continue;
            DWORD percent = totalBytes ? (DWORD)((freeBytes * 100) / totalBytes) : 0;
            // The card's name is data, never part of the format.
            const WCHAR *name = (wcsstr(found.cFileName, L"Flash ROM Disk") || wcscmp(path, L"\\") == 0)
                                    ? L"Device Storage " : found.cFileName;
            WCHAR section[kReportLength];
            _snwprintf(section, kReportLength, L"%ls:\nTotal: %.02f MB\nFree: %.02f MB (%u%%)\n\n", name,
                       (double)((float)totalBytes * kMegabytesPerByte), (double)((float)freeBytes * kMegabytesPerByte),
                       percent);
            section[kReportLength - 1] = 0;
            AppendWhole(report, kReportLength, section);
        } while (FindNextFlashCard(search, &found));
        FindClose(search);
    }
    MessageBoxW(owner, report, L"Storage Information", MB_ICONINFORMATION);
}

void ShowMemoryOrStorageReport(HWND owner, int which)
{
    if (which == 0)
        ShowMemoryReport(owner);
    else
        ShowStorageReport(owner);
}
