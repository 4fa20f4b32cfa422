// The soft-key page ("Settings3"): the display name and the program of each of the
// Today screen's two soft keys, with a picker for the program. Every write is flushed.
#include "ui/pages.h"
#include "ui/tweaks.h"
#include "ui/registry.h"
#include "ui/page.h"
#include "app/rudore.h"
#include "pages/today/softkey_picker.h"
#include "resource.h"

static const WCHAR kLeftKey[] = L"Software\\Microsoft\\Today\\Keys\\112";
static const WCHAR kRightKey[] = L"Software\\Microsoft\\Today\\Keys\\113";
static const WCHAR kCalendarName[] = L"Calendar";
static const WCHAR kCalendarTarget[] = L"\\Windows\\Calendar.exe";
static const WCHAR kContactsName[] = L"Contacts";

// Room in each field and in each value read back, terminator included. Stored values
// are read with the fields' room, so whatever OK stored shows again when the page
// reopens instead of counting as none (and being overwritten by the next OK).
static const int kFieldChars = 256;
static const int kStoredChars = kFieldChars;

struct SoftKey {
    LPCWSTR key;
    LPCWSTR nameWhenNone;   // shown when no name is stored
    UINT name, target;      // the key's two fields
};

static const SoftKey kLeftSoftKey = {kLeftKey, kCalendarName, IDC_SOFTKEY_LEFT_NAME, IDC_SOFTKEY_LEFT_TARGET};
static const SoftKey kRightSoftKey = {kRightKey, kContactsName, IDC_SOFTKEY_RIGHT_NAME, IDC_SOFTKEY_RIGHT_TARGET};

// Opening creates the key. A value that is unusable (another type, no null, longer
// than 255 characters) counts as none.
static BOOL ShowStoredSoftKey(HWND page, const SoftKey &softKey)
{
    HKEY key;
    if (!CreateKey(HKEY_CURRENT_USER, softKey.key, &key, NULL)) return FALSE;
    WCHAR name[kStoredChars], target[kStoredChars];
    name[0] = target[0] = 0;
    GetText(key, L"Default", name, kStoredChars);
    GetText(key, L"Open", target, kStoredChars);
    RegCloseKey(key);
    if (target[0]) SetDlgItemTextW(page, softKey.target, target);
    SetDlgItemTextW(page, softKey.name, name[0] ? name : softKey.nameWhenNone);
    return TRUE;
}

static void ReadSoftKeyFields(HWND page, const SoftKey &softKey, WCHAR *name, WCHAR *target)
{
    name[0] = target[0] = 0;
    GetDlgItemTextW(page, softKey.name, name, kFieldChars);
    GetDlgItemTextW(page, softKey.target, target, kFieldChars);
}

// A key with a field left empty gets the Calendar; the fields stay as they are.
static void StoreLeftSoftKey(HWND page)
{
    WCHAR name[kFieldChars], target[kFieldChars];
    ReadSoftKeyFields(page, kLeftSoftKey, name, target);
    LPCWSTR storedName = name, storedTarget = target;
    if (!name[0] || !target[0]) {
        storedName = kCalendarName;
        storedTarget = kCalendarTarget;
    }
    HKEY key;
    if (!CreateKey(HKEY_CURRENT_USER, kLeftKey, &key, NULL)) return;
    BOOL written = PutText(key, L"Default", storedName);
    RegFlushKey(key);
    RegCloseKey(key);
    if (!written) return;
    if (CreateKey(HKEY_CURRENT_USER, kLeftKey, &key, NULL)) {
        PutText(key, L"Open", storedTarget);
        RegFlushKey(key);
        RegCloseKey(key);
    }
}

static void RestoreLeftSoftKey(HWND page)
{
    HKEY key;
    if (!CreateKey(HKEY_CURRENT_USER, kLeftKey, &key, NULL)) return;
    PutText(key, L"Default", kCalendarName);
    PutText(key, L"Open", kCalendarTarget);
    RegFlushKey(key);
    RegCloseKey(key);
    SetDlgItemTextW(page, IDC_SOFTKEY_LEFT_NAME, kCalendarName);
    SetDlgItemTextW(page, IDC_SOFTKEY_LEFT_TARGET, kCalendarTarget);
}

// A right key with a field left empty goes back to the shell's own choice.
static void StoreRightSoftKey(HWND page)
{
    WCHAR name[kFieldChars], target[kFieldChars];
    ReadSoftKeyFields(page, kRightSoftKey, name, target);
    HKEY key;
    if (!CreateKey(HKEY_CURRENT_USER, kRightKey, &key, NULL)) return;
    if (name[0] && target[0]) {
        PutText(key, L"Default", name);
        RegFlushKey(key);
        RegCloseKey(key);
        if (!CreateKey(HKEY_CURRENT_USER, kRightKey, &key, NULL)) return;
        PutText(key, L"Open", target);
    } else {
        RegDeleteValueW(key, L"Default");
        RegDeleteValueW(key, L"Open");
    }
    RegFlushKey(key);
    RegCloseKey(key);
}

static void RestoreRightSoftKey(HWND page)
{
    HKEY key;
    if (!CreateKey(HKEY_CURRENT_USER, kRightKey, &key, NULL)) return;
    RegDeleteValueW(key, L"Open");
    RegFlushKey(key);
    RegCloseKey(key);
    if (!CreateKey(HKEY_CURRENT_USER, kRightKey, &key, NULL)) return;
    BOOL written = PutText(key, L"Default", kContactsName);
    RegFlushKey(key);
    RegCloseKey(key);
    if (!written) return;
    SetDlgItemTextW(page, IDC_SOFTKEY_RIGHT_NAME, kContactsName);
    SetDlgItemTextW(page, IDC_SOFTKEY_RIGHT_TARGET, L"");
}

// Fills both fields of a key from the picker; a cancelled pick empties them. Nothing
// is stored until "OK".
static void PickSoftKeyTarget(HWND page, const SoftKey &softKey)
{
    PickLinkTarget(page);
    // A path longer than the field holds is cut to what "OK" would read of it.
    WCHAR target[kFieldChars];
    lstrcpynW(target, g_linkPath, kFieldChars);
    SetDlgItemTextW(page, softKey.target, target);
    // The name comes from the whole path chosen, not from what the field could hold.
    WCHAR name[kFieldChars];
    DisplayNameOfLink(g_linkPath, name, kFieldChars);
    SetDlgItemTextW(page, softKey.name, name);
    g_linkPath[0] = 0;
}

static BOOL OpenSoftKeyPage(HWND page)
{
    InitPageWithShell(page);
    static const UINT fields[] = {IDC_SOFTKEY_LEFT_NAME, IDC_SOFTKEY_LEFT_TARGET, IDC_SOFTKEY_RIGHT_NAME,
                                  IDC_SOFTKEY_RIGHT_TARGET};
    for (UINT field : fields) SendDlgItemMessageW(page, field, EM_LIMITTEXT, kFieldChars - 1, 0);
    return ShowStoredSoftKey(page, kLeftSoftKey) && ShowStoredSoftKey(page, kRightSoftKey);
}

static BOOL OnSoftKeyCommand(HWND page, UINT control)
{
    switch (control) {
    case IDOK:
        ForwardDoneToHost(page);
        return TRUE;
    case IDC_SOFTKEY_LEFT_STORE: StoreLeftSoftKey(page); break;
    case IDC_SOFTKEY_LEFT_DEFAULT: RestoreLeftSoftKey(page); break;
    case IDC_SOFTKEY_LEFT_PICK: PickSoftKeyTarget(page, kLeftSoftKey); break;
    case IDC_SOFTKEY_RIGHT_STORE: StoreRightSoftKey(page); break;
    case IDC_SOFTKEY_RIGHT_DEFAULT: RestoreRightSoftKey(page); break;
    case IDC_SOFTKEY_RIGHT_PICK: PickSoftKeyTarget(page, kRightSoftKey); break;
    }
    return FALSE;
}

static INT_PTR CALLBACK SoftKeyPageProc(HWND page, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        return OpenSoftKeyPage(page);
    case WM_SIZE:
        RelayoutPage(page, g_softKeyPage);
        return FALSE;
    case WM_COMMAND:
        return OnSoftKeyCommand(page, LOWORD(wParam));
    }
    return FALSE;
}

const PageDescriptor g_softKeyPage = {
    L"Settings3", IDD_SOFTKEY_PAGE_PORTRAIT, IDD_SOFTKEY_PAGE_LANDSCAPE, IDD_SOFTKEY_PAGE_SQUARE,
    IDD_SOFTKEY_PAGE_SQUARE, SoftKeyPageProc, NULL, NULL, NULL};
