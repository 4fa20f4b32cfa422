// Helpers shared by the tests: a fresh simulated device per test, driving modal
// dialogs from inside their own loops, and reading the registry back.
#ifndef TESTKIT_H
#define TESTKIT_H

#include <windows.h>
#include <functional>
#include <string>
#include <vector>
#include <gtest/gtest.h>
#include "simdevice.h"

// Every test gets its own device: a private device folder, a factory-seeded sandbox
// registry, message boxes and file dialogs answered from queues, power actions recorded.
class DeviceTest : public ::testing::Test {
protected:
    void SetUp() override { SimTestBegin(SIM_TEST_ALL); }
    void TearDown() override { SimTestEnd(); }
};

// Runs `open` (which shows a modal dialog or message loop) and, once a new enabled
// top-level window of this thread is active, calls `script` with it from inside the
// modal loop. The script must end the dialog. FALSE when no window appeared within
// the timeout (the dialog is then ended with IDCANCEL).
bool DriveModal(const std::function<void()> &open, const std::function<void(HWND)> &script, DWORD timeoutMs = 5000);

// Processes pending messages for about `ms` milliseconds.
void PumpMessages(DWORD ms);

// Puts `with` in the place of `function` of `dll` among this executable's imports, through
// which the program's code calls it, and gives what was there (NULL when it is not
// imported). Swapping back what was given ends the stand-in.
void *SwapImport(const wchar_t *dll, const char *function, void *with);

const HKEY LM = HKEY_LOCAL_MACHINE, CU = HKEY_CURRENT_USER;

// Registry reads that tell "missing" from a value; a missing value or key is no error
// to delete.
bool ReadRegDword(HKEY root, const wchar_t *key, const wchar_t *name, DWORD *value);
bool ReadRegString(HKEY root, const wchar_t *key, const wchar_t *name, std::wstring *value);
inline bool RegKeyExists(HKEY root, const wchar_t *key)
{
    HKEY k;
    return RegOpenKeyExW(root, key, 0, KEY_READ, &k) == ERROR_SUCCESS && RegCloseKey(k) == ERROR_SUCCESS;
}
// The value's type and size in bytes; false when it is missing.
bool RegValueShape(HKEY root, const wchar_t *key, const wchar_t *name, DWORD *type, DWORD *bytes);
inline bool RegValueExists(HKEY root, const wchar_t *key, const wchar_t *name)
{
    DWORD type, bytes;
    return RegValueShape(root, key, name, &type, &bytes);
}
// Any type and size, as another tool may have stored it.
void WriteRegRaw(HKEY root, const wchar_t *key, const wchar_t *name, DWORD type, const void *data, DWORD bytes);
inline void WriteRegDword(HKEY root, const wchar_t *key, const wchar_t *name, DWORD value)
{
    WriteRegRaw(root, key, name, REG_DWORD, &value, sizeof value);
}
// A text with its null under any type.
inline void WriteTextOfType(HKEY root, const wchar_t *key, const wchar_t *name, DWORD type, const std::wstring &text)
{
    WriteRegRaw(root, key, name, type, text.c_str(), (DWORD)((text.size() + 1) * sizeof(wchar_t)));
}
inline void WriteRegString(HKEY root, const wchar_t *key, const wchar_t *name, const wchar_t *value)
{
    WriteTextOfType(root, key, name, REG_SZ, value);
}
void DeleteRegValue(HKEY root, const wchar_t *key, const wchar_t *name);
inline void DeleteRegKey(HKEY root, const wchar_t *key) { RegDeleteTreeW(root, key), RegDeleteKeyW(root, key); }

// Shuts everyone out of a key, reading too, as another program's lock does, for the
// scope; afterwards it is open to all again, so that the test's registry can be cleared.
class KeyLockout {
public:
    KeyLockout(HKEY root, const wchar_t *key);
    ~KeyLockout() { SetDacl(NULL); }
    KeyLockout(const KeyLockout &) = delete;
    // The lock is set and the key cannot be opened for writing.
    bool locked() const { return locked_; }

private:
    bool SetDacl(ACL *acl);
    HKEY root_;
    const wchar_t *key_;
    bool locked_ = false;
};

// The message boxes shown since record `before`, and the last one (an empty record if none).
std::vector<SimMessageBox> MessageBoxesFrom(int before);
inline SimMessageBox LastMessageBox()
{
    SimMessageBox record = {};
    if (SimMessageBoxCount() > 0) SimGetMessageBox(SimMessageBoxCount() - 1, &record);
    return record;
}
// The WM_SETTINGCHANGE broadcasts recorded since record `before`.
std::vector<SimBroadcast> SettingsChangesSince(int before);

// Turns the screen for a scope and, whatever the test does, back upright after it.
class ScreenTurn {
public:
    explicit ScreenTurn(int shape) : turned_(SimRotate(shape) != FALSE) { PumpMessages(50); }
    ~ScreenTurn() { SimRotate(SIM_PORTRAIT), PumpMessages(50); }
    ScreenTurn(const ScreenTurn &) = delete;
    bool turned() const { return turned_; }

private:
    bool turned_;
};

// Changes the display mode directly (not through the device), for tests of what the
// shell and the dialogs do on a rotation. TRUE when the screen then has that size.
bool SetScreenSize(int cx, int cy);

std::wstring WindowText(HWND window);
// Path of a file beside the test executable (the program, the device's DLLs).
std::wstring PathBesideTests(const wchar_t *name);
// Real input: a tap at a screen position.
void TapScreen(int x, int y);

// A control's rectangle in its dialog's client pixels; -1s when there is none.
RECT ControlRect(HWND dialog, int id);
// Every named control of template `templateId` lies where the relayout puts it:
// MapDialogRect of (x, y, x + cx, y + cy) in the dialog itself, whatever the font (a
// combo box keeps its own height). With `presentOnly`, items whose control the dialog
// lacks are passed over.
::testing::AssertionResult LaidOutLike(HWND dialog, UINT templateId, bool presentOnly = false);

#endif
