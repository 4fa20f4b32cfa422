// Driving the Phone host's pages and the sound browser their "..." buttons open.
#ifndef PHONE_KIT_H
#define PHONE_KIT_H

#include <windows.h>
#include <commctrl.h>
#include <functional>
#include <string>
#include "tests/hosts/host_kit.h"

// A fresh device with the current drive on the device's file system, so that the
// browser's paths (\Windows\Rings) name the device's own folders.
class PhonePageTest : public DeviceTest {
protected:
    void SetUp() override;
};

// Taps `button` of the page with the browser set to show `folder` (no trailing
// backslash) and runs `script` with the browser from inside its loop. TRUE when the
// script's taps closed the browser; one left open is ended here.
bool BrowseFrom(HWND page, UINT button, const std::wstring &folder, const std::function<void(HWND browser)> &script);

// The browser's list and its items.
HWND BrowserListOf(HWND browser);
int BrowserItemNamed(HWND browser, const std::wstring &text);
std::wstring BrowserLabel(HWND browser);
// A tap on the item with this text (the test fails when there is none).
void TapBrowserItemNamed(HWND browser, const std::wstring &text);
// The OK and Cancel soft keys of the browser's bar.
void PressBrowserSoftKey(HWND browser, UINT command);

// Every control that template `templateId` names sits where the template puts it,
// in the page's own dialog units.
::testing::AssertionResult LaidOutAs(HWND page, UINT templateId);

// Turns the screen for a scope and back upright after it, whatever happens.
class ScreenTurn {
public:
    explicit ScreenTurn(int shape);
    ~ScreenTurn();
    bool turned() const { return turned_; }

private:
    bool turned_;
};

// The settings-change broadcasts recorded since `before`.
int BroadcastsSince(int before);

// A text stored without its terminating null (cut from a longer one, since the
// registry completes a text whose next character is a null).
void WriteUnterminated(HKEY root, const wchar_t *key, const wchar_t *name, const wchar_t *text);
// A text stored with its null under another type.
void WriteTextOfType(HKEY root, const wchar_t *key, const wchar_t *name, DWORD type, const wchar_t *text);

#endif
