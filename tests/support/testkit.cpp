#include "testkit.h"

void DeviceTest::SetUp()
{
    SimTestBegin(SIM_TEST_ALL);
}

void DeviceTest::TearDown()
{
    SimTestEnd();
}

namespace {
struct ModalDrive {
    const std::function<void(HWND)> *script;
    HWND before;
    bool ran;
    DWORD deadline;
};
ModalDrive *g_drive;

void CALLBACK DriveTimerProc(HWND, UINT, UINT_PTR id, DWORD)
{
    if (!g_drive || g_drive->ran) return;
    HWND active = GetActiveWindow();
    if (active && active != g_drive->before && IsWindowEnabled(active)) {
        g_drive->ran = true;
        KillTimer(NULL, id);
        (*g_drive->script)(active);
        return;
    }
    if (GetTickCount() > g_drive->deadline) {
        g_drive->ran = true;
        KillTimer(NULL, id);
        if (active && active != g_drive->before) EndDialog(active, IDCANCEL);
    }
}
}

bool DriveModal(const std::function<void()> &open, const std::function<void(HWND)> &script, DWORD timeoutMs)
{
    ModalDrive drive = {&script, GetActiveWindow(), false, GetTickCount() + timeoutMs};
    ModalDrive *outer = g_drive;
    g_drive = &drive;
    UINT_PTR timer = SetTimer(NULL, 0, 20, DriveTimerProc);
    open();
    if (!drive.ran) KillTimer(NULL, timer);
    g_drive = outer;
    return drive.ran;
}

void PumpMessages(DWORD ms)
{
    DWORD end = GetTickCount() + ms;
    do {
        MSG msg;
        while (PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (GetTickCount() >= end) break;
        MsgWaitForMultipleObjects(0, NULL, FALSE, 5, QS_ALLINPUT);
    } while (GetTickCount() < end);
}

bool ReadRegDword(HKEY root, const wchar_t *key, const wchar_t *name, DWORD *value)
{
    HKEY k;
    if (RegOpenKeyExW(root, key, 0, KEY_READ, &k) != ERROR_SUCCESS) return false;
    DWORD type = 0, size = sizeof(DWORD);
    LONG r = RegQueryValueExW(k, name, NULL, &type, (BYTE *)value, &size);
    RegCloseKey(k);
    return r == ERROR_SUCCESS && type == REG_DWORD && size == sizeof(DWORD);
}

bool ReadRegString(HKEY root, const wchar_t *key, const wchar_t *name, std::wstring *value)
{
    HKEY k;
    if (RegOpenKeyExW(root, key, 0, KEY_READ, &k) != ERROR_SUCCESS) return false;
    DWORD type = 0, size = 0;
    LONG r = RegQueryValueExW(k, name, NULL, &type, NULL, &size);
    if (r == ERROR_SUCCESS && (type == REG_SZ || type == REG_EXPAND_SZ)) {
        std::wstring buffer(size / sizeof(wchar_t) + 1, L'\0');
        r = RegQueryValueExW(k, name, NULL, &type, (BYTE *)&buffer[0], &size);
        buffer.resize(wcsnlen(buffer.c_str(), size / sizeof(wchar_t)));
        *value = buffer;
    } else if (r == ERROR_SUCCESS) {
        r = ERROR_INVALID_DATATYPE;
    }
    RegCloseKey(k);
    return r == ERROR_SUCCESS;
}

bool RegKeyExists(HKEY root, const wchar_t *key)
{
    HKEY k;
    if (RegOpenKeyExW(root, key, 0, KEY_READ, &k) != ERROR_SUCCESS) return false;
    RegCloseKey(k);
    return true;
}

void WriteRegDword(HKEY root, const wchar_t *key, const wchar_t *name, DWORD value)
{
    HKEY k;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(root, key, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &k, NULL));
    RegSetValueExW(k, name, 0, REG_DWORD, (const BYTE *)&value, sizeof value);
    RegCloseKey(k);
}

void WriteRegString(HKEY root, const wchar_t *key, const wchar_t *name, const wchar_t *value)
{
    HKEY k;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(root, key, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &k, NULL));
    RegSetValueExW(k, name, 0, REG_SZ, (const BYTE *)value, (DWORD)((wcslen(value) + 1) * sizeof(wchar_t)));
    RegCloseKey(k);
}

SimMessageBox LastMessageBox()
{
    SimMessageBox record;
    ZeroMemory(&record, sizeof record);
    int n = SimMessageBoxCount();
    if (n > 0) SimGetMessageBox(n - 1, &record);
    return record;
}

std::wstring WindowText(HWND window)
{
    wchar_t buffer[1024];
    buffer[0] = 0;
    GetWindowTextW(window, buffer, 1024);
    return buffer;
}

std::wstring PathBesideTests(const wchar_t *name)
{
    wchar_t path[MAX_PATH];
    DWORD n = GetModuleFileNameW(NULL, path, MAX_PATH);
    while (n > 0 && path[n - 1] != L'\\') --n;
    path[n] = 0;
    return std::wstring(path) + name;
}
