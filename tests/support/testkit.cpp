#include "testkit.h"
#include "app/rudore.h"
#include "ui/template_walk.h"

namespace {
// The drive under way; a script may drive a dialog of its own.
struct ModalDrive { const std::function<void(HWND)> *script; HWND before; bool ran; DWORD deadline; } *g_drive;

void CALLBACK DriveTimerProc(HWND, UINT, UINT_PTR id, DWORD)
{
    if (!g_drive || g_drive->ran) return;
    HWND active = GetActiveWindow();
    // Wine activates a modal dialog before it shows it: wait until it can be seen.
    bool shown = active && active != g_drive->before && IsWindowEnabled(active) && IsWindowVisible(active);
    if (!shown && GetTickCount() <= g_drive->deadline) return;
    g_drive->ran = true;
    KillTimer(NULL, id);
    if (shown)
        (*g_drive->script)(active);
    else if (active && active != g_drive->before)
        EndDialog(active, IDCANCEL);
}

// Queries a value as RegQueryValueExW does, opening and closing its key.
LONG QueryValue(HKEY root, const wchar_t *key, const wchar_t *name, DWORD *type, void *data, DWORD *bytes)
{
    HKEY k;
    LONG r = RegOpenKeyExW(root, key, 0, KEY_READ, &k);
    if (r == ERROR_SUCCESS) r = RegQueryValueExW(k, name, NULL, type, (BYTE *)data, bytes), RegCloseKey(k);
    return r;
}
}  // namespace

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
    for (DWORD end = GetTickCount() + ms;; MsgWaitForMultipleObjects(0, NULL, FALSE, 5, QS_ALLINPUT)) {
        for (MSG msg; PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE);) TranslateMessage(&msg), DispatchMessageW(&msg);
        if (GetTickCount() >= end) return;
    }
}

bool ReadRegDword(HKEY root, const wchar_t *key, const wchar_t *name, DWORD *value)
{
    DWORD type = 0, size = sizeof(DWORD);
    return QueryValue(root, key, name, &type, value, &size) == ERROR_SUCCESS && type == REG_DWORD && size == sizeof(DWORD);
}

bool ReadRegString(HKEY root, const wchar_t *key, const wchar_t *name, std::wstring *value)
{
    DWORD type = 0, size = 0;
    if (QueryValue(root, key, name, &type, NULL, &size) != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ))
        return false;
    std::wstring buffer(size / sizeof(wchar_t) + 1, L'\0');
    if (QueryValue(root, key, name, &type, &buffer[0], &size) != ERROR_SUCCESS) return false;
    *value = buffer.substr(0, wcsnlen(buffer.c_str(), size / sizeof(wchar_t)));
    return true;
}

bool RegValueShape(HKEY root, const wchar_t *key, const wchar_t *name, DWORD *type, DWORD *bytes)
{
    return QueryValue(root, key, name, type, NULL, bytes) == ERROR_SUCCESS;
}

void WriteRegRaw(HKEY root, const wchar_t *key, const wchar_t *name, DWORD type, const void *data, DWORD bytes)
{
    HKEY k;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(root, key, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &k, NULL));
    RegSetValueExW(k, name, 0, type, (const BYTE *)data, bytes), RegCloseKey(k);
}

void DeleteRegValue(HKEY root, const wchar_t *key, const wchar_t *name)
{
    HKEY k;
    if (RegOpenKeyExW(root, key, 0, KEY_ALL_ACCESS, &k) == ERROR_SUCCESS) RegDeleteValueW(k, name), RegCloseKey(k);
}

KeyLockout::KeyLockout(HKEY root, const wchar_t *key) : root_(root), key_(key)
{
    HKEY opened;
    if (RegCreateKeyExW(root, key, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &opened, NULL) != ERROR_SUCCESS) return;
    RegCloseKey(opened);
    // A list without entries lets no one in; the owner may still hand the key back.
    ACL acl;
    InitializeAcl(&acl, sizeof acl, ACL_REVISION);
    if (!SetDacl(&acl)) return;
    locked_ = RegCreateKeyExW(root, key, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &opened, NULL) != ERROR_SUCCESS;
    if (!locked_) RegCloseKey(opened);
}

// A null list of access rights lets everyone in again.
bool KeyLockout::SetDacl(ACL *acl)
{
    HKEY opened;
    if (RegOpenKeyExW(root_, key_, 0, WRITE_DAC, &opened) != ERROR_SUCCESS) return false;
    SECURITY_DESCRIPTOR sd;
    InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION);
    SetSecurityDescriptorDacl(&sd, TRUE, acl, FALSE);
    bool set = RegSetKeySecurity(opened, DACL_SECURITY_INFORMATION, &sd) == ERROR_SUCCESS;
    RegCloseKey(opened);
    return set;
}

std::vector<SimMessageBox> MessageBoxesFrom(int before)
{
    std::vector<SimMessageBox> boxes;
    for (SimMessageBox record; before < SimMessageBoxCount(); before++)
        if (SimGetMessageBox(before, &record)) boxes.push_back(record);
    return boxes;
}

std::vector<SimBroadcast> SettingsChangesSince(int before)
{
    std::vector<SimBroadcast> changes;
    for (SimBroadcast record = {}; before < SimBroadcastCount(); before++)
        if (SimGetBroadcast(before, &record) && record.message == WM_SETTINGCHANGE) changes.push_back(record);
    return changes;
}

bool SetScreenSize(int cx, int cy)
{
    DEVMODEW mode = {};
    mode.dmSize = sizeof mode, mode.dmPelsWidth = cx, mode.dmPelsHeight = cy, mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
    if (ChangeDisplaySettingsExW(NULL, &mode, NULL, 0, NULL) != DISP_CHANGE_SUCCESSFUL) return false;
    return GetSystemMetrics(SM_CXSCREEN) == cx && GetSystemMetrics(SM_CYSCREEN) == cy;
}

std::wstring WindowText(HWND window)
{
    wchar_t buffer[1024] = L"";
    GetWindowTextW(window, buffer, 1024);
    return buffer;
}

std::wstring PathBesideTests(const wchar_t *name)
{
    wchar_t path[MAX_PATH];
    DWORD n = GetModuleFileNameW(NULL, path, MAX_PATH);
    while (n > 0 && path[n - 1] != L'\\') --n;
    return std::wstring(path, n) + name;
}

void TapScreen(int x, int y)
{
    int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    INPUT inputs[3] = {};
    DWORD flags[3] = {0, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP};
    for (int i = 0; i < 3; i++) {
        inputs[i].type = INPUT_MOUSE;
        inputs[i].mi.dx = (x * 65535 + width / 2) / (width - 1);
        inputs[i].mi.dy = (y * 65535 + height / 2) / (height - 1);
        inputs[i].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | flags[i];
    }
    // The pointer must have arrived before the press: under Wine's X11 desktop the
    // move reaches the X server asynchronously, and a press sent with it may land
    // where the pointer was.
    SendInput(1, &inputs[0], sizeof(INPUT));
    POINT at = {};
    for (int i = 0; i < 50 && GetCursorPos(&at) && (at.x != x || at.y != y); i++) PumpMessages(10);
    SendInput(2, &inputs[1], sizeof(INPUT));
}

RECT ControlRect(HWND dialog, int id)
{
    RECT r = {-1, -1, -1, -1};
    if (HWND control = GetDlgItem(dialog, id)) GetWindowRect(control, &r), MapWindowPoints(HWND_DESKTOP, dialog, (POINT *)&r, 2);
    return r;
}

::testing::AssertionResult LaidOutLike(HWND dialog, UINT templateId, bool presentOnly)
{
    HRSRC found = FindResourceW(g_hInstance, MAKEINTRESOURCEW(templateId), (LPCWSTR)RT_DIALOG);
    TemplateWalk walk;
    if (!found || !TemplateWalkBegin(&walk, LockResource(LoadResource(g_hInstance, found)),
                                     SizeofResource(g_hInstance, found), NULL))
        return ::testing::AssertionFailure() << "template " << templateId << " cannot be read";
    TemplateItem item;
    while (TemplateWalkNext(&walk, &item)) {
        if (item.id == 0xFFFF || (presentOnly && !GetDlgItem(dialog, item.id))) continue;
        RECT expected = {item.x, item.y, item.x + item.cx, item.y + item.cy};
        MapDialogRect(dialog, &expected);
        RECT actual = ControlRect(dialog, item.id);
        if (TemplateClassOrdinal(&item.windowClass) == TEMPLATE_CLASS_COMBOBOX) expected.bottom = actual.bottom;
        if (!EqualRect(&expected, &actual))
            return ::testing::AssertionFailure() << "control " << item.id << " of template " << templateId << " is at ("
                   << actual.left << "," << actual.top << ")-(" << actual.right << "," << actual.bottom << "), not ("
                   << expected.left << "," << expected.top << ")-(" << expected.right << "," << expected.bottom << ")";
    }
    return ::testing::AssertionSuccess();
}

void *SwapImport(const wchar_t *dll, const char *function, void *with)
{
    static std::vector<std::pair<void **, void *>> found;   // each slot and what it first held
    void *real = (void *)GetProcAddress(GetModuleHandleW(dll), function);
    void **slot = NULL;
    for (auto &f : found)
        if (f.second == real) slot = f.first;
    BYTE *base = (BYTE *)GetModuleHandleW(NULL);
    IMAGE_NT_HEADERS *headers = (IMAGE_NT_HEADERS *)(base + ((IMAGE_DOS_HEADER *)base)->e_lfanew);
    IMAGE_DATA_DIRECTORY slots = headers->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IAT];
    for (void **s = (void **)(base + slots.VirtualAddress); !slot && real && (BYTE *)s < base + slots.VirtualAddress + slots.Size; s++)
        if (*s == real) found.push_back({slot = s, real});
    DWORD old;
    if (!slot || !VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &old)) return NULL;
    void *was = *slot;
    *slot = with;
    VirtualProtect(slot, sizeof *slot, old, &old);
    return was;
}
