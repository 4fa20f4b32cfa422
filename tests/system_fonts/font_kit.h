// Driving the system font, menu font and graphics pages: spinner steps, turning the
// screen, where controls lie, and registry set-up beyond the host kit.
#ifndef FONT_KIT_H
#define FONT_KIT_H

#include "tests/hosts/host_kit.h"

const wchar_t kSysFnt[] = L"System\\GDI\\SYSFNT";
const wchar_t kClearTypeKey[] = L"System\\GDI\\ClearTypeSettings";
const wchar_t kBarFnt[] = L"System\\GWE\\Menu\\BarFnt";
const wchar_t kPopFnt[] = L"System\\GWE\\Menu\\PopFnt";
const wchar_t kGwe[] = L"System\\GWE";
const wchar_t kGweMenu[] = L"System\\GWE\\Menu";
const wchar_t kGlyphCache[] = L"System\\GDI\\GLYPHCACHE";

// What an up-down control tells its page when stepped: a negative delta is its up
// arrow (the control's range runs from 100 down to 0).
inline void Spin(HWND page, UINT spinner, int delta)
{
    NMUPDOWN change = {};
    change.hdr.hwndFrom = GetDlgItem(page, spinner);
    change.hdr.idFrom = spinner;
    change.hdr.code = UDN_DELTAPOS;
    change.iDelta = delta;
    SendMessageW(page, WM_NOTIFY, spinner, (LPARAM)&change);
}

// A press and release of one arrow of a real up-down control.
inline void PressSpinnerArrow(HWND page, UINT spinner, bool up)
{
    HWND control = GetDlgItem(page, spinner);
    RECT area;
    GetClientRect(control, &area);
    LPARAM at = MAKELPARAM(area.right / 2, up ? area.bottom / 4 : area.bottom * 3 / 4);
    SendMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(control, WM_LBUTTONUP, 0, at);
}

inline void WriteRegText(HKEY root, const wchar_t *key, const wchar_t *name, DWORD type, const std::wstring &text)
{
    WriteRegRaw(root, key, name, type, text.c_str(), (DWORD)((text.size() + 1) * sizeof(wchar_t)));
}

// A text stored without its terminating null (cut from a longer one, so that no null
// follows it by chance).
inline void WriteRegUnterminated(HKEY root, const wchar_t *key, const wchar_t *name, const std::wstring &text)
{
    std::wstring longer = text + L"#";
    WriteRegRaw(root, key, name, REG_SZ, longer.c_str(), (DWORD)(text.size() * sizeof(wchar_t)));
}

// Type and size of a stored value; type 0 when it is missing.
struct StoredValue {
    DWORD type = 0;
    DWORD bytes = 0;
};

inline StoredValue StoredValueOf(HKEY root, const wchar_t *key, const wchar_t *name)
{
    StoredValue value;
    HKEY opened;
    if (RegOpenKeyExW(root, key, 0, KEY_READ, &opened) != ERROR_SUCCESS) return value;
    if (RegQueryValueExW(opened, name, NULL, &value.type, NULL, &value.bytes) != ERROR_SUCCESS) value = StoredValue();
    RegCloseKey(opened);
    return value;
}

// The names of a key's values, as stored.
inline std::vector<std::wstring> ValueNames(HKEY root, const wchar_t *key)
{
    std::vector<std::wstring> names;
    HKEY opened;
    if (RegOpenKeyExW(root, key, 0, KEY_READ, &opened) != ERROR_SUCCESS) return names;
    for (DWORD index = 0;; index++) {
        wchar_t name[256];
        DWORD cch = 256;
        if (RegEnumValueW(opened, index, name, &cch, NULL, NULL, NULL, NULL) != ERROR_SUCCESS) break;
        names.push_back(name);
    }
    RegCloseKey(opened);
    return names;
}

// How many values of a key carry this name, whatever its case.
inline int CountValuesNamed(HKEY root, const wchar_t *key, const wchar_t *name)
{
    int count = 0;
    for (const std::wstring &stored : ValueNames(root, key))
        if (lstrcmpiW(stored.c_str(), name) == 0) count++;
    return count;
}

// Message boxes shown since `before`, as recorded.
inline std::vector<SimMessageBox> MessageBoxesFrom(int before)
{
    std::vector<SimMessageBox> boxes;
    for (int index = before; index < SimMessageBoxCount(); index++) {
        SimMessageBox record;
        if (SimGetMessageBox(index, &record)) boxes.push_back(record);
    }
    return boxes;
}

// Shuts everyone out of a key for a scope (an empty access list), as a key another
// program has locked would be: opening or creating it fails. Afterwards the key is
// open to all again, so that the test's registry can be cleared away.
class KeyLockout {
public:
    KeyLockout(HKEY root, const wchar_t *key) : root_(root), key_(key) { locked_ = SetAccessList(true); }
    ~KeyLockout() { SetAccessList(false); }
    bool locked() const { return locked_; }

private:
    bool SetAccessList(bool empty)
    {
        HKEY opened;
        if (RegCreateKeyExW(root_, key_, 0, NULL, 0, WRITE_DAC, NULL, &opened, NULL) != ERROR_SUCCESS) return false;
        SECURITY_DESCRIPTOR descriptor;
        ACL none;
        InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
        InitializeAcl(&none, sizeof none, ACL_REVISION);
        SetSecurityDescriptorDacl(&descriptor, TRUE, empty ? &none : NULL, FALSE);
        bool set = RegSetKeySecurity(opened, DACL_SECURITY_INFORMATION, &descriptor) == ERROR_SUCCESS;
        RegCloseKey(opened);
        HKEY probe;
        bool shut = RegOpenKeyExW(root_, key_, 0, KEY_ALL_ACCESS, &probe) != ERROR_SUCCESS;
        if (!shut) RegCloseKey(probe);
        return set && shut == empty;
    }
    HKEY root_;
    const wchar_t *key_;
    bool locked_;
};

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

// Where a control of `dialog` lies, in pixels of that dialog.
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

#endif
