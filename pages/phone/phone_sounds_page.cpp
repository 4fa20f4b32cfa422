// The phone sounds page ("sounds2"): the disconnect tone, the keypad click, the tones
// that begin and end a voice recording, and how many calls the call history keeps.
#include "ui/pages.h"
#include "ui/tweaks.h"
#include "ui/number_field.h"
#include "ui/registry.h"
#include "ui/page.h"
#include "app/rudore.h"
#include "resource.h"

static constexpr WCHAR kCallHistoryKey[] = L"\\ControlPanel\\Phone";
static constexpr WCHAR kCallHistoryMax[] = L"CallHistoryMax";
// Shown when the phone has no limit of its own stored.
static const int kHistoryWhenMissing = 65535;
// Stored when the field holds no number.
static const int kHistoryWhenUnreadable = 110;
// The field is read as this many characters at most.
static const int kHistoryFieldChars = 15;

// "p" plays the sound, "t" keeps it silent; only an exact "p" reads as on.
static constexpr Tweak kPhoneSoundRows[] = {
    // control            root               key                                name       ticked when missing    ticked     cleared
    {IDC_PS_KEYPAD, HKCU, L"\\ControlPanel\\Sounds\\Keypress", L"Script", Text(L"p"), Nothing(), Text(L"p"), Text(L"t"), TWEAK_FLUSH},
    {IDC_PS_DISCONNECT, HKCU, L"\\ControlPanel\\Sounds\\Ending", L"Script", Text(L"p"), Nothing(), Text(L"p"), Text(L"t"), TWEAK_FLUSH},
    {IDC_PS_RECORD_BEGIN, HKCU, L"\\ControlPanel\\Sounds\\VRecBeg", L"Script", Text(L"p"), Nothing(), Text(L"p"), Text(L"t"), TWEAK_FLUSH},
    {IDC_PS_RECORD_END, HKCU, L"\\ControlPanel\\Sounds\\VRecEnd", L"Script", Text(L"p"), Nothing(), Text(L"p"), Text(L"t"), TWEAK_FLUSH},
};
static const TweakTable kPhoneSoundTweaks = TWEAK_TABLE(kPhoneSoundRows);

static void LoadPhoneSounds(HWND page)
{
    LoadTweaks(page, kPhoneSoundTweaks);
    DWORD kept = (DWORD)kHistoryWhenMissing;
    HKEY key;
    if (OpenKey(HKEY_CURRENT_USER, kCallHistoryKey, &key)) {
        GetDword(key, kCallHistoryMax, &kept);
        RegCloseKey(key);
    }
    ShowNumber(page, IDC_PS_HISTORY_COUNT, (int)kept);
}

// No range check: zero and negative numbers go in as typed.
static void StoreCallHistoryLimit(HWND page)
{
    int kept = ReadNumberField(page, IDC_PS_HISTORY_COUNT, kHistoryFieldChars + 1, kHistoryWhenUnreadable);
    HKEY key;
    if (CreateKey(HKEY_CURRENT_USER, kCallHistoryKey, &key, NULL)) {
        PutDword(key, kCallHistoryMax, (DWORD)kept);
        RegFlushKey(key);
        RegCloseKey(key);
    }
}

static BOOL OnPhoneSoundsCommand(HWND page, UINT control)
{
    switch (control) {
    case IDOK:
        ForwardDoneToHost(page);
        return TRUE;
    case IDC_PS_HISTORY_OK:
        StoreCallHistoryLimit(page);
        return FALSE;
    }
    WriteTweak(page, kPhoneSoundTweaks, control);
    return FALSE;
}

static INT_PTR CALLBACK PhoneSoundsPageProc(HWND page, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        InitPageWithShell(page);
        LoadPhoneSounds(page);
        return TRUE;
    case WM_SIZE:
        RelayoutPage(page, g_phoneSoundsPage);
        return FALSE;
    case WM_COMMAND:
        return OnPhoneSoundsCommand(page, LOWORD(wParam));
    }
    return FALSE;
}

const PageDescriptor g_phoneSoundsPage = {
    L"sounds2", IDD_PHONE_SOUNDS_PAGE_PORTRAIT, IDD_PHONE_SOUNDS_PAGE_LANDSCAPE, IDD_PHONE_SOUNDS_PAGE_SQUARE,
    IDD_PHONE_SOUNDS_PAGE_PORTRAIT, PhoneSoundsPageProc, &kPhoneSoundTweaks, NULL, NULL};
