// The sound folders page ("Sounds1"): the folders the phone looks in for its
// phone-related sounds, ring tones and in-call feedback sounds. A box stores its
// field's folder when ticked and puts the category back to \Windows\ when cleared.
#include "ui/pages.h"
#include "ui/tweaks.h"
#include "ui/registry.h"
#include "ui/page.h"
#include "app/rudore.h"
#include "pages/phone/browse_field.h"
#include "resource.h"

// Folders are read and written as at most this many characters.
#define FOLDER_CHARS 200

static const WCHAR kDirectory[] = L"Directory";
static const WCHAR kDefaultFolder[] = L"\\Windows\\";
static constexpr TweakHelp kSoundFoldersHelpRows[] = {
    {IDC_SF_HELP,
     L"If you want to change the sound folder, you should browse the folder path first, then check the check box."},
};
static const HelpTable kSoundFoldersHelp = HELP_TABLE(kSoundFoldersHelpRows);

// Keys are written through their path with a leading backslash and read through the
// same path without it; the device takes both for one key.
static const struct {
    UINT box;
    UINT field;
    UINT browse;
    LPCWSTR key;
} kCategories[] = {
    {IDC_SF_INCALL_STORE, IDC_SF_INCALL_FOLDER, IDC_SF_INCALL_BROWSE, L"\\ControlPanel\\SoundCategories\\InCall"},
    {IDC_SF_RING_STORE, IDC_SF_RING_FOLDER, IDC_SF_RING_BROWSE, L"\\ControlPanel\\SoundCategories\\Ring"},
    {IDC_SF_FEEDBACK_STORE, IDC_SF_FEEDBACK_FOLDER, IDC_SF_FEEDBACK_BROWSE,
     L"\\ControlPanel\\SoundCategories\\InCallFeedBack"},
};

static LPCWSTR ReadPathOf(LPCWSTR writePath)
{
    return writePath + 1;
}

static void LoadSoundFolders(HWND page)
{
    for (const auto &category : kCategories) {
        SendDlgItemMessageW(page, category.field, EM_LIMITTEXT, FOLDER_CHARS, 0);
        WCHAR folder[FOLDER_CHARS + 1];
        folder[0] = 0;
        HKEY key;
        if (OpenKey(HKEY_CURRENT_USER, ReadPathOf(category.key), &key)) {
            GetText(key, kDirectory, folder, FOLDER_CHARS + 1);
            RegCloseKey(key);
        }
        if (folder[0]) SetDlgItemTextW(page, category.field, folder);
    }
}

static void StoreSoundFolder(HWND page, UINT box, UINT field, LPCWSTR key)
{
    HKEY opened;
    if (!CreateKey(HKEY_CURRENT_USER, key, &opened, NULL)) return;
    if (IsBoxTicked(page, box)) {
        // Written as typed: an empty field stores an empty folder.
        WCHAR folder[FOLDER_CHARS + 1];
        folder[0] = 0;
        GetDlgItemTextW(page, field, folder, FOLDER_CHARS + 1);
        PutText(opened, kDirectory, folder);
    } else {
        PutText(opened, kDirectory, kDefaultFolder);
    }
    RegFlushKey(opened);
    RegCloseKey(opened);
}

static BOOL OnSoundFoldersCommand(HWND page, UINT control)
{
    if (control == IDOK) {
        ForwardDoneToHost(page);
        return TRUE;
    }
    if (ShowHelpOfButton(page, kSoundFoldersHelp, control)) return FALSE;
    for (const auto &category : kCategories) {
        if (control == category.browse) BrowseIntoField(page, category.field);
        if (control == category.box) StoreSoundFolder(page, category.box, category.field, category.key);
    }
    return FALSE;
}

static INT_PTR CALLBACK SoundFoldersPageProc(HWND page, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        InitPageWithShell(page);
        LoadSoundFolders(page);
        return TRUE;
    case WM_SIZE:
        RelayoutPage(page, g_soundFoldersPage);
        return FALSE;
    case WM_COMMAND:
        return OnSoundFoldersCommand(page, LOWORD(wParam));
    }
    return FALSE;
}

const PageDescriptor g_soundFoldersPage = {
    L"Sounds1", IDD_SOUND_FOLDERS_PAGE_PORTRAIT, IDD_SOUND_FOLDERS_PAGE_LANDSCAPE, IDD_SOUND_FOLDERS_PAGE_SQUARE,
    IDD_SOUND_FOLDERS_PAGE_PORTRAIT, SoundFoldersPageProc, NULL, &kSoundFoldersHelp, NULL};
