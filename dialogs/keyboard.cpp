// The keyboard tricks dialog: which input method the input panel starts with, which
// handwriting methods it lists, the number of suggested words, a draggable keyboard.
#include <windows.h>
#include <commctrl.h>
#include "app/rudore.h"
#include "aygshell.h"
#include "resource.h"
#include "ui/tweaks.h"
#include "ui/number_field.h"
#include "ui/registry.h"
#include "ui/page.h"
#include "ui/pages.h"

enum InputMethod { IM_KEYBOARD, IM_LETTER, IM_BLOCK, IM_TRANSCRIBER, IM_COUNT };

static constexpr WCHAR kSipKey[] = L"ControlPanel\\Sip";
static constexpr WCHAR kKeyboardId[] = L"{42429667-ae04-11d0-a4f8-00aa00a749b9}";
static constexpr WCHAR kLetterId[] = L"{42429690-ae04-11d0-a4f8-00aa00a749b9}";
static constexpr WCHAR kBlockId[] = L"{42429691-ae04-11d0-a4f8-00aa00a749b9}";
static constexpr WCHAR kTranscriberId[] = L"{F0034DD0-2AD4-11d1-9CB0-E84BE8000000}";
// Each method's show flag: "1" listed, "0" hidden.
static constexpr WCHAR kLetterShown[] = L"CLSID\\{42429690-ae04-11d0-a4f8-00aa00a749b9}\\IsSIPInputMethod";
static constexpr WCHAR kBlockShown[] = L"CLSID\\{42429691-ae04-11d0-a4f8-00aa00a749b9}\\IsSIPInputMethod";
static constexpr WCHAR kTranscriberShown[] = L"CLSID\\{F0034DD0-2AD4-11d1-9CB0-E84BE8000000}\\IsSIPInputMethod";

struct InputMethodControls {
    LPCWSTR classId;
    LPCWSTR showKey;    // NULL: always listed
    int defaultButton;  // 0: cannot be chosen as default here
    int showBox;        // 0: always listed
};

static const InputMethodControls kInputMethods[IM_COUNT] = {
    {kKeyboardId, NULL, IDC_KB_KEYBOARD_DEFAULT, 0},
    {kLetterId, kLetterShown, IDC_KB_LETTER_DEFAULT, IDC_KB_SHOW_LETTER},
    {kBlockId, kBlockShown, IDC_KB_BLOCK_DEFAULT, IDC_KB_SHOW_BLOCK},
    {kTranscriberId, kTranscriberShown, 0, IDC_KB_SHOW_TRANSCRIBER},
};

// Every key here is only opened, never created: a setting whose key the device lacks
// is left alone. A shown method's box clears only when it is not the default (below).
static constexpr Tweak kKeyboardRows[] = {
    // control                root  key                 name            ticked when  missing    ticked     cleared
    {IDC_KB_SHOW_LETTER, HKCR, kLetterShown, L"Default", Text(L"1"), Nothing(), Text(L"1"), Text(L"0"), TWEAK_OPEN_TO_WRITE},
    {IDC_KB_SHOW_BLOCK, HKCR, kBlockShown, L"Default", Text(L"1"), Nothing(), Text(L"1"), Text(L"0"), TWEAK_OPEN_TO_WRITE},
    {IDC_KB_SHOW_TRANSCRIBER, HKCR, kTranscriberShown, L"Default", Text(L"1"), Nothing(), Text(L"1"), Text(L"0"),
     TWEAK_OPEN_TO_WRITE},
    {IDC_KB_DRAG, HKCU, kSipKey, L"DragStyle", Dword(1), Dword(0), Dword(1), Dword(0), TWEAK_OPEN_TO_WRITE},
};
static const TweakTable kKeyboardTweaks = TWEAK_TABLE(kKeyboardRows);

// The default method's radio buttons: a tap only ever ticks one, which stores it.
static constexpr Tweak kDefaultMethodRows[] = {
    {IDC_KB_KEYBOARD_DEFAULT, HKCU, kSipKey, L"DefaultIm", Text(kKeyboardId), Nothing(), Text(kKeyboardId), Nothing(),
     TWEAK_OPEN_TO_WRITE | TWEAK_FLUSH},
    {IDC_KB_LETTER_DEFAULT, HKCU, kSipKey, L"DefaultIm", Text(kLetterId), Nothing(), Text(kLetterId), Nothing(),
     TWEAK_OPEN_TO_WRITE | TWEAK_FLUSH},
    {IDC_KB_BLOCK_DEFAULT, HKCU, kSipKey, L"DefaultIm", Text(kBlockId), Nothing(), Text(kBlockId), Nothing(),
     TWEAK_OPEN_TO_WRITE | TWEAK_FLUSH},
};
static const TweakTable kKeyboardChoices = TWEAK_TABLE(kDefaultMethodRows);

static constexpr TweakHelp kKeyboardHelpRows[] = {
    {IDC_KB_HELP_DRAG,
     L"Make this choice you can drag the keyboard so that you can see the space covered by the keyboard. Needed soft reset",
     MB_ICONINFORMATION},
};
static const HelpTable kKeyboardHelp = HELP_TABLE(kKeyboardHelpRows);

// The three methods that have a default radio button, in the order they are tested.
static const int kDefaultChoices[3] = {IM_KEYBOARD, IM_LETTER, IM_BLOCK};

// Disabled together when the default input method is none of the three.
static const int kDefaultAndShowControls[6] = {
    IDC_KB_KEYBOARD_DEFAULT, IDC_KB_LETTER_DEFAULT, IDC_KB_BLOCK_DEFAULT,
    IDC_KB_SHOW_LETTER, IDC_KB_SHOW_BLOCK, IDC_KB_SHOW_TRANSCRIBER,
};

static const WCHAR kRudore[] = L"Zelvo Rudore";
static const WCHAR kHiddenRefusal[] = L"You can't set as default because it's hidden!";
static const WCHAR kDefaultRefusal[] = L"You can't hide this keyboard because it's selected as Default SIP!";

enum { DEFAULT_IM_LENGTH = 128, SHOW_FLAG_LENGTH = 4, COUNT_FIELD_LENGTH = 3, MOST_SUGGESTED_WORDS = 6 };

static const DWORD kShellDialogFlags = SHIDIF_DONEBUTTON | SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_SIPDOWN | SHIDIF_EMPTYMENU;

// The radio buttons as they stood when a default was last accepted, indexed like
// kDefaultChoices: a refused choice puts them back.
static BOOL g_acceptedDefault[3];

static BOOL IsDefaultInputMethod(int method)
{
    WCHAR current[DEFAULT_IM_LENGTH];
    current[0] = 0;
    HKEY key;
    if (OpenKey(HKEY_CURRENT_USER, kSipKey, &key)) {
        GetText(key, L"DefaultIm", current, DEFAULT_IM_LENGTH);
        RegCloseKey(key);
    }
    return lstrcmpW(current, kInputMethods[method].classId) == 0;
}

// Only a flag of exactly "0" hides a method; a missing one counts as listed.
static BOOL IsHidden(int method)
{
    WCHAR flag[SHOW_FLAG_LENGTH];
    flag[0] = 0;
    HKEY key;
    if (OpenKey(HKEY_CLASSES_ROOT, kInputMethods[method].showKey, &key)) {
        GetText(key, L"Default", flag, SHOW_FLAG_LENGTH);
        RegCloseKey(key);
    }
    return lstrcmpW(flag, L"0") == 0;
}

static void AcceptDefaultSelection(HWND dialog)
{
    for (int i = 0; i < 3; i++) g_acceptedDefault[i] = IsBoxTicked(dialog, kInputMethods[kDefaultChoices[i]].defaultButton);
}

static BOOL InitKeyboardDialog(HWND dialog)
{
    SHINITDLGINFO info = {SHIDIM_FLAGS, dialog, kShellDialogFlags};
    SHInitDialog(&info);

    LoadTweaks(dialog, kKeyboardChoices);
    BOOL known = FALSE;
    for (int method : kDefaultChoices)
        if (IsBoxTicked(dialog, kInputMethods[method].defaultButton)) known = TRUE;
    // Another method, or none, is the default: its choice and listing are not ours to change.
    if (!known)
        for (int id : kDefaultAndShowControls) EnableWindow(GetDlgItem(dialog, id), FALSE);
    AcceptDefaultSelection(dialog);
    LoadTweaks(dialog, kKeyboardTweaks);

    DWORD words = 1;
    HKEY key;
    if (OpenKey(HKEY_CURRENT_USER, kSipKey, &key)) {
        GetDword(key, L"SuggWords", &words);
        RegCloseKey(key);
    }
    ShowNumber(dialog, IDC_KB_SUGGESTED_COUNT, (int)words);
    return TRUE;
}

// A hidden method cannot become the default: the radio buttons go back to the last
// accepted choice and nothing is written.
static void ChooseDefaultInputMethod(HWND dialog, int method)
{
    if (method != IM_KEYBOARD && IsHidden(method)) {
        MessageBoxW(dialog, kHiddenRefusal, kRudore, MB_OK);
        for (int i = 0; i < 3; i++)
            CheckDlgButton(dialog, kInputMethods[kDefaultChoices[i]].defaultButton,
                           g_acceptedDefault[i] ? BST_CHECKED : BST_UNCHECKED);
        AcceptDefaultSelection(dialog);
        return;
    }
    WriteTweak(dialog, kKeyboardChoices, kInputMethods[method].defaultButton);
    AcceptDefaultSelection(dialog);
}

// The default method cannot be hidden: its box is ticked again and nothing is written.
static void ListInputMethod(HWND dialog, int method)
{
    int box = kInputMethods[method].showBox;
    if (!IsBoxTicked(dialog, box) && IsDefaultInputMethod(method)) {
        MessageBoxW(dialog, kDefaultRefusal, kRudore, MB_OK);
        CheckDlgButton(dialog, box, BST_CHECKED);
        return;
    }
    WriteTweak(dialog, kKeyboardTweaks, box);
}

// Whatever the box shows, each tap stores the field's count, unchecked.
static void StoreSuggestedWords(HWND dialog)
{
    HKEY key;
    if (!OpenKeyToWrite(HKEY_CURRENT_USER, kSipKey, &key)) return;
    PutDword(key, L"SuggWords", (DWORD)ReadNumberField(dialog, IDC_KB_SUGGESTED_COUNT, COUNT_FIELD_LENGTH + 1, 1));
    RegCloseKey(key);
}

// The arrows step the shown count between 0 and 6; the registry is written only by
// the "Suggested words " box.
static void StepSuggestedWords(HWND dialog, const NMUPDOWN *spin)
{
    int count = ReadNumberField(dialog, IDC_KB_SUGGESTED_COUNT, COUNT_FIELD_LENGTH + 1, 0);
    // Under the control's default range (100 down to 0) the up arrow gives a negative step.
    if (spin->iDelta < 0)
        count = count + 1 > MOST_SUGGESTED_WORDS ? MOST_SUGGESTED_WORDS : count + 1;
    else
        count = count - 1 < 0 ? 0 : count - 1;
    ShowNumber(dialog, IDC_KB_SUGGESTED_COUNT, count);
}

static void OnKeyboardCommand(HWND dialog, int id)
{
    switch (id) {
    case IDC_KB_KEYBOARD_DEFAULT: ChooseDefaultInputMethod(dialog, IM_KEYBOARD); return;
    case IDC_KB_LETTER_DEFAULT: ChooseDefaultInputMethod(dialog, IM_LETTER); return;
    case IDC_KB_BLOCK_DEFAULT: ChooseDefaultInputMethod(dialog, IM_BLOCK); return;
    case IDC_KB_SHOW_LETTER: ListInputMethod(dialog, IM_LETTER); return;
    case IDC_KB_SHOW_BLOCK: ListInputMethod(dialog, IM_BLOCK); return;
    case IDC_KB_SUGGESTED: StoreSuggestedWords(dialog); return;
    }
    if (!ShowHelpOfButton(dialog, kKeyboardHelp, id)) WriteTweak(dialog, kKeyboardTweaks, id);
}

INT_PTR CALLBACK KeyboardTricksDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return InitKeyboardDialog(dialog);
    case WM_SIZE:
        RelayoutPage(dialog, g_keyboardDialog);
        return FALSE;
    case WM_NOTIFY: {
        const NMHDR *header = (const NMHDR *)lParam;
        if (header->idFrom == IDC_KB_SUGGESTED_SPIN && header->code == UDN_DELTAPOS)
            StepSuggestedWords(dialog, (const NMUPDOWN *)lParam);
        return FALSE;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            EndDialog(dialog, IDOK);
            return TRUE;
        }
        OnKeyboardCommand(dialog, LOWORD(wParam));
        return FALSE;
    case WM_CLOSE:
        EndDialog(dialog, DIALOG_CLOSED);
        return TRUE;
    }
    return FALSE;
}

const PageDescriptor g_keyboardDialog = {
    L"KeyBoard Tricks", IDD_KEYBOARD_PORTRAIT, IDD_KEYBOARD_LANDSCAPE, IDD_KEYBOARD_SQUARE,
    IDD_KEYBOARD_PORTRAIT, KeyboardTricksDialogProc, &kKeyboardTweaks, &kKeyboardHelp, &kKeyboardChoices};
