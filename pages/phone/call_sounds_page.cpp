// The call sounds page ("sounds3"): the sound files played when a call is busy, is
// dropped, is waiting, is dialled and rings. A file is taken only from its sound
// category's folder (set on the sound folders page), and stored by its bare name.
#include "ui/pages.h"
#include "ui/tweaks.h"
#include "ui/registry.h"
#include "ui/page.h"
#include "app/rudore.h"
#include "dialogs/file_browser.h"
#include "pages/phone/browse_field.h"
#include "resource.h"
#include <wchar.h>

// Fields, stored sounds and category folders are read as at most this many characters.
#define SOUND_CHARS 200

static const WCHAR kSound[] = L"Sound";
static const WCHAR kDirectory[] = L"Directory";
static const WCHAR kCaption[] = L"Zelvo Rudore";

static const WCHAR kInCallFolder[] = L"ControlPanel\\SoundCategories\\InCall";
static const WCHAR kFeedbackFolder[] = L"ControlPanel\\SoundCategories\\InCallFeedBack";
static const WCHAR kRingFolder[] = L"ControlPanel\\SoundCategories\\Ring";

static const WCHAR kNotInCallFolder[] = L"The file you selected must in the Phone-Related Sound Folder";
static const WCHAR kNotInFeedbackFolder[] = L"The file you selected must in the In feed call back Sound Folder";
static const WCHAR kNotInRingFolder[] = L"The file you selected must in the In Ring Tone Folder";

struct CallSound {
    UINT box;
    UINT field;
    UINT browse;
    LPCWSTR soundKey;
    LPCWSTR folderKey;
    LPCWSTR refusal;
    BOOL refusalKeepsField;   // a refused busy tone keeps the path it was given
};

static const CallSound kCallSounds[] = {
    {IDC_CS_BUSY, IDC_CS_BUSY_SOUND, IDC_CS_BUSY_BROWSE, L"ControlPanel\\Sounds\\BusyTone", kInCallFolder, kNotInCallFolder, TRUE},
    {IDC_CS_DROPPED, IDC_CS_DROPPED_SOUND, IDC_CS_DROPPED_BROWSE, L"ControlPanel\\Sounds\\CallDrop", kInCallFolder, kNotInCallFolder, FALSE},
    {IDC_CS_WAITING, IDC_CS_WAITING_SOUND, IDC_CS_WAITING_BROWSE, L"ControlPanel\\Sounds\\CallWaiting", kInCallFolder, kNotInCallFolder, FALSE},
    {IDC_CS_DIALING, IDC_CS_DIALING_SOUND, IDC_CS_DIALING_BROWSE, L"ControlPanel\\Sounds\\Dialing", kFeedbackFolder, kNotInFeedbackFolder, FALSE},
    {IDC_CS_RING, IDC_CS_RING_SOUND, IDC_CS_RING_BROWSE, L"ControlPanel\\Sounds\\RingTone0", kRingFolder, kNotInRingFolder, FALSE},
};

static void LoadCallSounds(HWND page)
{
    for (const CallSound &event : kCallSounds) {
        SendDlgItemMessageW(page, event.field, EM_LIMITTEXT, SOUND_CHARS, 0);
        WCHAR sound[SOUND_CHARS + 1];
        sound[0] = 0;
        HKEY key;
        if (OpenKey(HKEY_CURRENT_USER, event.soundKey, &key)) {
            GetText(key, kSound, sound, SOUND_CHARS + 1);
            RegCloseKey(key);
        }
        if (sound[0]) SetDlgItemTextW(page, event.field, sound);
    }
}

// A path is taken when it is the category folder followed by the file's name, compared
// exactly, or when it is a bare name with no folder at all.
static BOOL IsInCategoryFolder(LPCWSTR path, LPCWSTR name, LPCWSTR folder)
{
    size_t pathLength = wcslen(path), nameLength = wcslen(name), folderLength = wcslen(folder);
    if (pathLength == nameLength) return TRUE;
    return pathLength == folderLength + nameLength && wcsncmp(path, folder, folderLength) == 0 &&
           wcscmp(path + folderLength, name) == 0;
}

// Returns TRUE when the file was refused (the box is then cleared again).
static BOOL StoreCallSound(HWND page, const CallSound &event)
{
    HKEY soundKey;
    if (!CreateKey(HKEY_CURRENT_USER, event.soundKey, &soundKey, NULL)) return FALSE;
    if (!IsBoxTicked(page, event.box)) {
        // Clearing the box keeps the sound that is stored.
        RegFlushKey(soundKey);
        RegCloseKey(soundKey);
        return FALSE;
    }
    WCHAR path[SOUND_CHARS + 1];
    path[0] = 0;
    GetDlgItemTextW(page, event.field, path, SOUND_CHARS + 1);
    WCHAR name[SOUND_CHARS + 1];
    FileNameFromPath(path, name, SOUND_CHARS + 1);

    WCHAR folder[SOUND_CHARS + 1];
    folder[0] = 0;
    HKEY folderKey;
    BOOL folderOpened = CreateKey(HKEY_CURRENT_USER, event.folderKey, &folderKey, NULL);
    if (folderOpened && !GetText(folderKey, kDirectory, folder, SOUND_CHARS + 1)) folder[0] = 0;

    if (IsInCategoryFolder(path, name, folder)) {
        if (folderOpened) RegCloseKey(folderKey);
        PutText(soundKey, kSound, name);
        RegFlushKey(soundKey);
        RegCloseKey(soundKey);
        return FALSE;
    }
    MessageBoxW(page, event.refusal, kCaption, MB_OK);
    if (folderOpened) RegCloseKey(folderKey);
    RegCloseKey(soundKey);
    // What remains is the bare name, which a second tick stores as it is.
    if (!event.refusalKeepsField) SetDlgItemTextW(page, event.field, name);
    CheckDlgButton(page, event.box, BST_UNCHECKED);
    return TRUE;
}

static BOOL OnCallSoundsCommand(HWND page, UINT control)
{
    if (control == IDOK) {
        ForwardDoneToHost(page);
        return TRUE;
    }
    for (const CallSound &event : kCallSounds) {
        if (control == event.browse) {
            BrowseIntoField(page, event.field);
            return FALSE;
        }
        if (control == event.box) return StoreCallSound(page, event);
    }
    return FALSE;
}

static INT_PTR CALLBACK CallSoundsPageProc(HWND page, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        InitPageWithShell(page);
        LoadCallSounds(page);
        return TRUE;
    case WM_SIZE:
        RelayoutPage(page, g_callSoundsPage);
        return FALSE;
    case WM_COMMAND:
        return OnCallSoundsCommand(page, LOWORD(wParam));
    }
    return FALSE;
}

const PageDescriptor g_callSoundsPage = {
    L"sounds3", IDD_CALL_SOUNDS_PAGE_PORTRAIT, IDD_CALL_SOUNDS_PAGE_LANDSCAPE, IDD_CALL_SOUNDS_PAGE_SQUARE,
    IDD_CALL_SOUNDS_PAGE_PORTRAIT, CallSoundsPageProc, NULL, NULL, NULL};
