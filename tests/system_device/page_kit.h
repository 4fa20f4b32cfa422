// What the clock and power page's and the device page's tests share: turning the
// screen, where controls lie, and reading back help boxes.
#ifndef SYSTEM_DEVICE_PAGE_KIT_H
#define SYSTEM_DEVICE_PAGE_KIT_H

#include "tests/hosts/host_kit.h"

// Turns the screen for a scope and, whatever the test does, back upright after it.
class ScreenTurn {
public:
    explicit ScreenTurn(int shape) : turned_(SimRotate(shape) != FALSE) { PumpMessages(50); }
    ~ScreenTurn()
    {
        SimRotate(SIM_PORTRAIT);
        PumpMessages(50);
    }
    bool turned() const { return turned_; }

private:
    bool turned_;
};

// A control's rectangle in the page's client pixels.
inline RECT PlaceOf(HWND dialog, UINT control)
{
    RECT placed;
    GetWindowRect(GetDlgItem(dialog, control), &placed);
    MapWindowPoints(NULL, dialog, (POINT *)&placed, 2);
    return placed;
}

// The pixels of a template rectangle (x, y, cx, cy in dialog units).
inline RECT Pixels(HWND dialog, int x, int y, int cx, int cy)
{
    RECT rect = {x, y, x + cx, y + cy};
    MapDialogRect(dialog, &rect);
    return rect;
}

inline void ExpectAt(HWND dialog, UINT control, int x, int y, int cx, int cy)
{
    RECT placed = PlaceOf(dialog, control), expected = Pixels(dialog, x, y, cx, cy);
    EXPECT_TRUE(EqualRect(&placed, &expected))
        << "control " << control << " at " << placed.left << "," << placed.top << " " << placed.right - placed.left
        << "x" << placed.bottom - placed.top << ", expected " << expected.left << "," << expected.top << " "
        << expected.right - expected.left << "x" << expected.bottom - expected.top;
}

// A tap on a help button shows one box; returns it.
inline SimMessageBox HelpShownBy(HWND page, UINT button)
{
    int before = SimMessageBoxCount();
    Tap(page, button);
    EXPECT_EQ(1, MessageBoxesSince(before)) << "button " << button;
    return LastMessageBox();
}

// A text stored without its terminating null: the data is cut from a longer text,
// since the registry completes a text whose next character is a null.
inline void WriteUnterminated(HKEY root, const wchar_t *key, const wchar_t *name, const wchar_t *text)
{
    std::wstring longer = std::wstring(text) + L"#";
    WriteRegRaw(root, key, name, REG_SZ, longer.c_str(), (DWORD)(wcslen(text) * sizeof(wchar_t)));
}

inline void WriteTextOfType(HKEY root, const wchar_t *key, const wchar_t *name, DWORD type, const wchar_t *text)
{
    WriteRegRaw(root, key, name, type, text, (DWORD)((wcslen(text) + 1) * sizeof(wchar_t)));
}

inline bool HasValue(HKEY root, const wchar_t *key, const wchar_t *name)
{
    HKEY opened;
    if (RegOpenKeyExW(root, key, 0, KEY_READ, &opened) != ERROR_SUCCESS) return false;
    bool found = RegQueryValueExW(opened, name, NULL, NULL, NULL, NULL) == ERROR_SUCCESS;
    RegCloseKey(opened);
    return found;
}

#endif
