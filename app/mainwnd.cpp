// The main window: soft-key bar, splash picture, gauges, hot rows and command dispatch.
#include <wchar.h>
#include "app/rudore.h"
#include "aygshell.h"
#include "resource.h"
#include "tools/tools.h"

DWORD g_splashLayout;
static SHACTIVATEINFO g_shellActivateInfo;

enum { LAYOUT_PORTRAIT = 0, LAYOUT_LANDSCAPE = 1, LAYOUT_SQUARE = 2 };

// Bitmaps drawn by the paint.
static const UINT kSplashBitmaps[3] = {IDB_SPLASH_PORTRAIT, IDB_SPLASH_LANDSCAPE, IDB_SPLASH_SQUARE};
static const UINT kBarBackground = IDB_BAR_GREY;
static const UINT kBarOverlay = IDB_BAR_BLUE;
static const int kBarWidth = 64;
static const int kBarHeight = 22;
static const int kIconWidth = 22;
static const int kIconHeight = 30;

struct SplashRows {
    int iconY, barY;              // gauge rows
    int hotLeft, hotRight;        // hot rows: left < x < right
    int rowLow, rowHigh, rowStep; // row k: low + k*step < y < high + k*step
    int bandLow, bandHigh;        // gauge taps: low < y < high
};

static const SplashRows kSplashRows[3] = {
    {500, 504, 150, 370, 120, 180, 60, 498, 530},
    {340, 348, 150, 350, 50, 80, 50, 340, 370},
    {340, 350, 150, 330, 70, 104, 40, 340, 370},
};

typedef void (*GaugeReader)(HWND, DWORD *, DWORD *);
struct Gauge {
    UINT icon;
    int iconX, barX, overlayX;
    GaugeReader read;
};

static const Gauge kGauges[3] = {
    {IDB_GAUGE_BATTERY, 20, 46, 46, ReadBatteryGauge},
    {IDB_GAUGE_MEMORY, 120, 148, 146, ReadMemoryGauge},
    {IDB_GAUGE_STORAGE, 220, 246, 246, ReadStorageGauge},
};

enum HotRow { ROW_TODAY, ROW_FILESYSTEM, ROW_PHONE, ROW_SYSTEM, ROW_INTERNET, ROW_KEYBOARD, ROW_COUNT };

INT_PTR OpenDialogFromTemplate(HWND owner, UINT templateId, DLGPROC procedure)
{
    HRSRC found = FindResourceW(g_hInstance, MAKEINTRESOURCEW(templateId), (LPCWSTR)RT_DIALOG);
    if (!found) return -1;
    HGLOBAL loaded = LoadResource(g_hInstance, found);
    if (!loaded) return -1;
    return DialogBoxIndirectParamW(g_hInstance, (LPCDLGTEMPLATEW)LockResource(loaded), owner, procedure, 0);
}

static BOOL AskYesNo(HWND window, LPCWSTR text, LPCWSTR caption)
{
    return MessageBoxW(window, text, caption, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

static void OpenPhoneTricks(HWND window)
{
    if (!HasCellularLine()) {
        MessageBoxW(window, L"Sorry, you need a Pocket PC Phone Edition to use this option.", L"Zelvo Rudore", MB_OK);
        return;
    }
    OpenDialogFromTemplate(window, IDD_PHONE_HOST_PORTRAIT, PhoneHostProc);
}

static void OpenHotRow(HWND window, int row)
{
    switch (row) {
    case ROW_TODAY: OpenDialogFromTemplate(window, IDD_TODAY_HOST_SQUARE, TodayHostProc); break;
    case ROW_FILESYSTEM: OpenDialogFromTemplate(window, IDD_FILESYSTEM, FileSystemTricksDialogProc); break;
    case ROW_PHONE: OpenPhoneTricks(window); break;
    case ROW_SYSTEM: OpenDialogFromTemplate(window, IDD_SYSTEM_HOST_PORTRAIT, SystemHostProc); break;
    case ROW_INTERNET: OpenDialogFromTemplate(window, IDD_INTERNET_HOST_PORTRAIT, InternetHostProc); break;
    case ROW_KEYBOARD: OpenDialogFromTemplate(window, IDD_KEYBOARD_PORTRAIT, KeyboardTricksDialogProc); break;
    }
}

static void OnTapDown(HWND window, int x, int y)
{
    const SplashRows &rows = kSplashRows[g_splashLayout];
    if (!(x > rows.hotLeft && x < rows.hotRight)) return;
    for (int row = 0; row < ROW_COUNT; row++) {
        int offset = row * rows.rowStep;
        if (y > rows.rowLow + offset && y < rows.rowHigh + offset) {
            OpenHotRow(window, row);
            return;
        }
    }
}

static void OnTapUp(HWND window, int x, int y)
{
    const SplashRows &rows = kSplashRows[g_splashLayout];
    if (!(y > rows.bandLow && y < rows.bandHigh)) return;
    // The memory range ends where the storage range begins, so one tap opens one report.
    if (x >= 21 && x <= 109)
        ShowBatteryReport(window);
    else if (x >= 111 && x <= 209)
        ShowMemoryOrStorageReport(window, 0);
    else if (x >= 210 && x <= 319)
        ShowMemoryOrStorageReport(window, 1);
}

static DWORD CurrentSplashLayout(void)
{
    int width = GetSystemMetrics(SM_CXSCREEN);
    int height = GetSystemMetrics(SM_CYSCREEN);
    if (height > width) return LAYOUT_PORTRAIT;
    if (height < width) return LAYOUT_LANDSCAPE;
    return LAYOUT_SQUARE;
}

// A bitmap resource drawn straight from the program's image: its top-left `width` by
// `height` pixels, black where the area reaches beyond the picture (as a copy from a
// bitmap gives there: the square screen's window is taller than its splash). Made into a
// bitmap object first, the splash would cost the first paint a copy of the whole picture
// into memory never touched before.
static void DrawBitmap(HDC target, UINT id, int x, int y, int width, int height)
{
    HRSRC found = FindResourceW(g_hInstance, MAKEINTRESOURCEW(id), (LPCWSTR)RT_BITMAP);
    HGLOBAL loaded = found ? LoadResource(g_hInstance, found) : NULL;
    const BITMAPINFO *info = loaded ? (const BITMAPINFO *)LockResource(loaded) : NULL;
    ULONGLONG size = found ? SizeofResource(g_hInstance, found) : 0;
    if (!info || size < sizeof(BITMAPINFOHEADER)) return;
    // Only a whole, bottom-up picture of a plain format is drawn: nothing is read beyond
    // the resource.
    const BITMAPINFOHEADER &head = info->bmiHeader;
    WORD depth = head.biBitCount;
    BOOL masked = head.biCompression == BI_BITFIELDS && (depth == 16 || depth == 32);
    if (head.biSize < sizeof(BITMAPINFOHEADER) || head.biPlanes != 1 || head.biWidth <= 0 || head.biHeight <= 0 ||
        (head.biCompression != BI_RGB && !masked) || (depth != 1 && depth != 4 && depth != 8 && depth != 16 && depth != 24 && depth != 32))
        return;
    ULONGLONG colors = head.biClrUsed ? head.biClrUsed : depth <= 8 ? 1u << depth : 0;
    ULONGLONG bitsAt = head.biSize + (masked && head.biSize == sizeof(BITMAPINFOHEADER) ? 12 : 0) + colors * sizeof(RGBQUAD);
    ULONGLONG stride = ((ULONGLONG)head.biWidth * depth + 31) / 32 * 4;
    if (colors > 256 || bitsAt + stride * (ULONGLONG)head.biHeight > size) return;
    int w = width < head.biWidth ? width : head.biWidth, h = height < head.biHeight ? height : head.biHeight;
    if (w <= 0 || h <= 0) return;
    // The rows of a bottom-up picture count from its last.
    SetDIBitsToDevice(target, x, y, w, h, 0, head.biHeight - h, 0, head.biHeight, (const BYTE *)info + bitsAt, info,
                      DIB_RGB_COLORS);
    if (height > h) PatBlt(target, x, y + h, width, height - h, BLACKNESS);
    if (width > w) PatBlt(target, x + w, y, width - w, h, BLACKNESS);
}

static void DrawGauge(HWND window, HDC target, const Gauge &gauge, int iconY, int barY)
{
    DrawBitmap(target, gauge.icon, gauge.iconX, iconY, kIconWidth, kIconHeight);
    DrawBitmap(target, kBarBackground, gauge.barX, barY, kBarWidth, kBarHeight);

    DWORD fill = kBarWidth, percent = 0;
    gauge.read(window, &fill, &percent);
    if (fill > (DWORD)kBarWidth) fill = kBarWidth;
    // The blue part shows what is used; a sliver of 1 to 9 pixels is widened to be seen.
    int used = kBarWidth - (int)fill;
    if (used >= 1 && used <= 9) used += 3;
    DrawBitmap(target, kBarOverlay, gauge.overlayX, barY, used, kBarHeight);

    WCHAR text[16];
    _snwprintf(text, 16, L"%d%ls", (int)percent, L"%");
    text[15] = 0;
    RECT box = {gauge.overlayX, barY, gauge.overlayX + kBarWidth, barY + kBarHeight};
    SetBkMode(target, TRANSPARENT);
    DrawTextW(target, text, -1, &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

static void OnPaint(HWND window)
{
    RECT screenRect;
    GetWindowRect(window, &screenRect);
    PAINTSTRUCT paint;
    HDC target = BeginPaint(window, &paint);

    g_splashLayout = CurrentSplashLayout();
    const SplashRows &rows = kSplashRows[g_splashLayout];

    DrawBitmap(target, kSplashBitmaps[g_splashLayout], 0, 0, screenRect.right, screenRect.bottom);
    for (const Gauge &gauge : kGauges) DrawGauge(window, target, gauge, rows.iconY, rows.barY);
    EndPaint(window, &paint);
}

static void CreateMainMenuBar(HWND window)
{
    SHMENUBARINFO info;
    ZeroMemory(&info, sizeof info);
    info.cbSize = sizeof info;
    info.hwndParent = window;
    info.dwFlags = 0;
    info.nToolBarId = IDR_MAINMENU;
    info.hInstRes = g_hInstance;
    g_hMenuBar = SHCreateMenuBar(&info) ? info.hwndMB : NULL;
}

static const WCHAR kShutDownText[] =
    L"A shut down will power off the Pocket PC. Are you sure that you want to shut down?";
static const WCHAR kSoftResetText[] =
    L"\"Soft Reset\" will close all opened programs and restart you Pocket PC. Are you sure that you want to Soft Reset?";
static const WCHAR kHardResetText[] =
    L"\"Hard Reset\" will restore you Pocket PC to the factory default settings. Are you sure that you want to Hard Reset?";
static const WCHAR kExitText[] =
    L"If the registry have been changed, in some cases a Soft Reset is needed to apply those changes. Proceed with a "
    L"Soft Reset?";

// Returns FALSE for the commands the main window does not handle.
static BOOL OnCommand(HWND window, WORD id)
{
    switch (id) {
    case IDM_EXIT:
        if (AskYesNo(window, kExitText, L"Confirm!"))
            SoftResetDevice();
        else
            SendMessageW(window, WM_CLOSE, 0, 0);
        return TRUE;
    case IDM_ABOUT: ShowAboutBox(window); return TRUE;
    case IDM_SHUTDOWN:
        if (AskYesNo(window, kShutDownText, L"Confirma!")) PressPowerKey();
        return TRUE;
    case IDM_SOFTRESET:
        if (AskYesNo(window, kSoftResetText, L"Confirm!")) SoftResetDevice();
        return TRUE;
    case IDM_HARDRESET:
        if (AskYesNo(window, kHardResetText, L"Confirm!")) HardResetDevice();
        return TRUE;
    case IDM_BACKUP: BackupRegistry(); return TRUE;
    case IDM_RESTORE: RestoreRegistry(); return TRUE;
    case IDM_CALENDAR: OpenDialogFromTemplate(window, IDD_CALENDAR_PORTRAIT, CalendarDialogProc); return TRUE;
    case IDM_INTERNET: OpenHotRow(window, ROW_INTERNET); return TRUE;
    case IDM_KEYBOARD: OpenHotRow(window, ROW_KEYBOARD); return TRUE;
    case IDM_SYSTEM: OpenHotRow(window, ROW_SYSTEM); return TRUE;
    case IDM_PHONE: OpenHotRow(window, ROW_PHONE); return TRUE;
    case IDM_TODAY: OpenHotRow(window, ROW_TODAY); return TRUE;
    case IDM_FILESYSTEM: OpenHotRow(window, ROW_FILESYSTEM); return TRUE;
    default: return FALSE;
    }
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        CreateMainMenuBar(window);
        ZeroMemory(&g_shellActivateInfo, sizeof g_shellActivateInfo);
        g_shellActivateInfo.cbSize = 12;
        return 0;
    case WM_ACTIVATE:
        SHHandleWMActivate(window, wParam, lParam, &g_shellActivateInfo, 0);
        return 0;
    case WM_SETTINGCHANGE:
        SHHandleWMSettingChange(window, wParam, lParam, &g_shellActivateInfo);
        return 0;
    case WM_DESTROY:
        if (g_hMenuBar) DestroyWindow(g_hMenuBar);
        g_hMenuBar = NULL;
        PostQuitMessage(0);
        return 0;
    case WM_PAINT:
        OnPaint(window);
        return 0;
    case WM_LBUTTONDOWN:
        OnTapDown(window, (short)LOWORD(lParam), (short)HIWORD(lParam));
        return 0;
    case WM_LBUTTONUP:
        OnTapUp(window, (short)LOWORD(lParam), (short)HIWORD(lParam));
        return 0;
    case WM_COMMAND:
        if (OnCommand(window, LOWORD(wParam))) return 0;
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}
