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

// Makes an existing key one that the page can neither open nor create with all
// access, for the scope: reading and changing its security stay allowed, so the
// key is handed back whole.
class KeyLock {
public:
    KeyLock(HKEY root, const wchar_t *key) : root_(root), key_(key)
    {
        WriteRegDword(root, key, L"KeyLock", 0);
        DeleteRegValue(root, key, L"KeyLock");
        SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
        PSID everyone = NULL;
        AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone);
        BYTE buffer[256];
        ACL *acl = (ACL *)buffer;
        InitializeAcl(acl, sizeof buffer, ACL_REVISION);
        AddAccessAllowedAce(acl, ACL_REVISION, KEY_READ | WRITE_DAC | DELETE, everyone);
        locked_ = SetDacl(acl);
        FreeSid(everyone);
    }
    ~KeyLock() { SetDacl(NULL); }
    bool locked() const
    {
        HKEY opened;
        if (RegCreateKeyExW(root_, key_, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &opened, NULL) != ERROR_SUCCESS)
            return locked_;
        RegCloseKey(opened);
        return false;
    }

private:
    // A null list of access rights lets everyone in again.
    bool SetDacl(ACL *acl)
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
    HKEY root_;
    const wchar_t *key_;
    bool locked_ = false;
};

#endif
