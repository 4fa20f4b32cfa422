// The keyboard tricks dialog: which input method the input panel starts with, which
// handwriting methods it lists, the number of suggested words, a draggable keyboard.
// Every key here is only opened, never created: a setting whose key the device lacks
// is left alone.
#include <wchar.h>
#include <windows.h>
#include <commctrl.h>
#include "dialogs/dialogs.h"
#include "app/rudore.h"
#include "aygshell.h"
#include "resource.h"
#include "ui/reflow.h"

enum InputMethod { IM_KEYBOARD, IM_LETTER, IM_BLOCK, IM_TRANSCRIBER, IM_COUNT };

struct InputMethodControls {
    LPCWSTR classId;
    int defaultButton;  // 0: cannot be chosen as default here
    int showBox;        // 0: always listed
};

static const InputMethodControls kInputMethods[IM_COUNT] = {
    {L"{42429667-ae04-11d0-a4f8-00aa00a749b9}", IDC_KB_KEYBOARD_DEFAULT, 0},
    {L"{42429690-ae04-11d0-a4f8-00aa00a749b9}", IDC_KB_LETTER_DEFAULT, IDC_KB_SHOW_LETTER},
    {L"{42429691-ae04-11d0-a4f8-00aa00a749b9}", IDC_KB_BLOCK_DEFAULT, IDC_KB_SHOW_BLOCK},
    {L"{F0034DD0-2AD4-11d1-9CB0-E84BE8000000}", 0, IDC_KB_SHOW_TRANSCRIBER},
};

// The three methods that have a default radio button, in the order they are tested.
static const int kDefaultChoices[3] = {IM_KEYBOARD, IM_LETTER, IM_BLOCK};

// Disabled together when the default input method is none of the three.
static const int kDefaultAndShowControls[6] = {
    IDC_KB_KEYBOARD_DEFAULT, IDC_KB_LETTER_DEFAULT, IDC_KB_BLOCK_DEFAULT,
    IDC_KB_SHOW_LETTER, IDC_KB_SHOW_BLOCK, IDC_KB_SHOW_TRANSCRIBER,
};

static const WCHAR kSipKey[] = L"ControlPanel\\Sip";
static const WCHAR kRudore[] = L"Zelvo Rudore";
static const WCHAR kHiddenRefusal[] = L"You can't set as default because it's hidden!";
static const WCHAR kDefaultRefusal[] = L"You can't hide this keyboard because it's selected as Default SIP!";
static const WCHAR kDragHelp[] = L"Make this choice you can drag the keyboard so that you can see the space "
                                 L"covered by the keyboard. Needed soft reset";

enum { DEFAULT_IM_LENGTH = 128, SHOW_FLAG_LENGTH = 4, COUNT_FIELD_LENGTH = 3, MOST_SUGGESTED_WORDS = 6 };

static const DWORD kShellDialogFlags = SHIDIF_DONEBUTTON | SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_SIPDOWN | SHIDIF_EMPTYMENU;

// The radio buttons as they stood when a default was last accepted, indexed like
// kDefaultChoices: a refused choice puts them back.
static BOOL g_acceptedDefault[3];

static void ReadDefaultInputMethod(WCHAR *classId)
{
    ZeroMemory(classId, DEFAULT_IM_LENGTH * sizeof(WCHAR));
    ReadRegistryText(HKEY_CURRENT_USER, kSipKey, L"DefaultIm", classId, DEFAULT_IM_LENGTH);
}

static void ShowFlagKey(int method, WCHAR *key, size_t length)
{
    swprintf(key, length, L"CLSID\\%ls\\IsSIPInputMethod", kInputMethods[method].classId);
}

// "1" listed, "0" hidden; empty when the key or value is missing.
static void ReadShowFlag(int method, WCHAR *flag)
{
    WCHAR key[96];
    ShowFlagKey(method, key, 96);
    flag[0] = 0;
    ReadRegistryText(HKEY_CLASSES_ROOT, key, L"Default", flag, SHOW_FLAG_LENGTH);
}

static void WriteExistingText(HKEY root, LPCWSTR key, LPCWSTR name, LPCWSTR text, BOOL flush)
{
    HKEY opened;
    if (RegOpenKeyExW(root, key, 0, KEY_SET_VALUE, &opened) != ERROR_SUCCESS) return;
    RegSetValueExW(opened, name, 0, REG_SZ, (const BYTE *)text, (DWORD)((wcslen(text) + 1) * sizeof(WCHAR)));
    if (flush) RegFlushKey(opened);
    RegCloseKey(opened);
}

static void WriteExistingDword(HKEY root, LPCWSTR key, LPCWSTR name, DWORD value)
{
    HKEY opened;
    if (RegOpenKeyExW(root, key, 0, KEY_SET_VALUE, &opened) != ERROR_SUCCESS) return;
    RegSetValueExW(opened, name, 0, REG_DWORD, (const BYTE *)&value, sizeof value);
    RegCloseKey(opened);
}

static void WriteShowFlag(int method, BOOL listed)
{
    WCHAR key[96];
    ShowFlagKey(method, key, 96);
    WriteExistingText(HKEY_CLASSES_ROOT, key, L"Default", listed ? L"1" : L"0", FALSE);
}

static BOOL IsChecked(HWND dialog, int id)
{
    return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

static void AcceptDefaultSelection(HWND dialog)
{
    for (int i = 0; i < 3; i++) g_acceptedDefault[i] = IsChecked(dialog, kInputMethods[kDefaultChoices[i]].defaultButton);
}

// The count at the start of the field's first three characters; `fallback` when
// there is none. A count has no sign.
static DWORD ReadCountField(HWND dialog, DWORD fallback)
{
    WCHAR text[COUNT_FIELD_LENGTH + 1];
    text[0] = 0;
    GetDlgItemTextW(dialog, IDC_KB_SUGGESTED_COUNT, text, COUNT_FIELD_LENGTH + 1);
    const WCHAR *at = text;
    while (*at == L' ') at++;
    if (*at < L'0' || *at > L'9') return fallback;
    DWORD count = 0;
    while (*at >= L'0' && *at <= L'9') count = count * 10 + (DWORD)(*at++ - L'0');
    return count;
}

static void ShowCount(HWND dialog, int count)
{
    WCHAR text[16];
    swprintf(text, 16, L"%d", count);
    SetDlgItemTextW(dialog, IDC_KB_SUGGESTED_COUNT, text);
}

static BOOL InitKeyboardDialog(HWND dialog)
{
    SHINITDLGINFO info = {SHIDIM_FLAGS, dialog, kShellDialogFlags};
    SHInitDialog(&info);

    BOOL known = FALSE;
    for (int method : kDefaultChoices) {
        WCHAR current[DEFAULT_IM_LENGTH];
        ReadDefaultInputMethod(current);
        if (lstrcmpW(current, kInputMethods[method].classId) != 0) continue;
        CheckDlgButton(dialog, kInputMethods[method].defaultButton, BST_CHECKED);
        known = TRUE;
    }
    // Another method, or none, is the default: its choice and listing are not ours to change.
    if (!known)
        for (int id : kDefaultAndShowControls) EnableWindow(GetDlgItem(dialog, id), FALSE);

    for (int method = IM_LETTER; method <= IM_TRANSCRIBER; method++) {
        WCHAR flag[SHOW_FLAG_LENGTH];
        ReadShowFlag(method, flag);
        if (lstrcmpW(flag, L"1") == 0) CheckDlgButton(dialog, kInputMethods[method].showBox, BST_CHECKED);
    }
    AcceptDefaultSelection(dialog);

    DWORD words = 1;
    ReadRegistryDword(HKEY_CURRENT_USER, kSipKey, L"SuggWords", &words);
    ShowCount(dialog, (int)words);

    DWORD drag = 0;
    ReadRegistryDword(HKEY_CURRENT_USER, kSipKey, L"DragStyle", &drag);
    if (drag == 1) CheckDlgButton(dialog, IDC_KB_DRAG, BST_CHECKED);
    return TRUE;
}

// A hidden method cannot become the default: the radio buttons go back to the last
// accepted choice and nothing is written.
static void ChooseDefaultInputMethod(HWND dialog, int method)
{
    if (method != IM_KEYBOARD) {
        WCHAR flag[SHOW_FLAG_LENGTH];
        ReadShowFlag(method, flag);
        if (lstrcmpW(flag, L"0") == 0) {
            MessageBoxW(dialog, kHiddenRefusal, kRudore, MB_OK);
            for (int i = 0; i < 3; i++)
                CheckDlgButton(dialog, kInputMethods[kDefaultChoices[i]].defaultButton,
                               g_acceptedDefault[i] ? BST_CHECKED : BST_UNCHECKED);
            AcceptDefaultSelection(dialog);
            return;
        }
    }
    WriteExistingText(HKEY_CURRENT_USER, kSipKey, L"DefaultIm", kInputMethods[method].classId, TRUE);
    AcceptDefaultSelection(dialog);
}

// The default method cannot be hidden: its box is ticked again and nothing is written.
static void ListInputMethod(HWND dialog, int method)
{
    int box = kInputMethods[method].showBox;
    if (IsChecked(dialog, box)) {
        WriteShowFlag(method, TRUE);
        return;
    }
    WCHAR current[DEFAULT_IM_LENGTH];
    ReadDefaultInputMethod(current);
    if (lstrcmpW(current, kInputMethods[method].classId) == 0) {
        MessageBoxW(dialog, kDefaultRefusal, kRudore, MB_OK);
        CheckDlgButton(dialog, box, BST_CHECKED);
        return;
    }
    WriteShowFlag(method, FALSE);
}

// The arrows step the shown count between 0 and 6; the registry is written only by
// the "Suggested words " box.
static void StepSuggestedWords(HWND dialog, const NMUPDOWN *spin)
{
    int count = (int)ReadCountField(dialog, 0);
    // Under the control's default range (100 down to 0) the up arrow gives a negative step.
    if (spin->iDelta < 0)
        count = count + 1 > MOST_SUGGESTED_WORDS ? MOST_SUGGESTED_WORDS : count + 1;
    else
        count = count - 1 < 0 ? 0 : count - 1;
    ShowCount(dialog, count);
}

static void OnKeyboardCommand(HWND dialog, int id)
{
    switch (id) {
    case IDC_KB_KEYBOARD_DEFAULT: ChooseDefaultInputMethod(dialog, IM_KEYBOARD); break;
    case IDC_KB_LETTER_DEFAULT: ChooseDefaultInputMethod(dialog, IM_LETTER); break;
    case IDC_KB_BLOCK_DEFAULT: ChooseDefaultInputMethod(dialog, IM_BLOCK); break;
    case IDC_KB_SHOW_LETTER: ListInputMethod(dialog, IM_LETTER); break;
    case IDC_KB_SHOW_BLOCK: ListInputMethod(dialog, IM_BLOCK); break;
    case IDC_KB_SHOW_TRANSCRIBER: WriteShowFlag(IM_TRANSCRIBER, IsChecked(dialog, IDC_KB_SHOW_TRANSCRIBER)); break;
    case IDC_KB_SUGGESTED:
        WriteExistingDword(HKEY_CURRENT_USER, kSipKey, L"SuggWords", ReadCountField(dialog, 1));
        break;
    case IDC_KB_DRAG:
        WriteExistingDword(HKEY_CURRENT_USER, kSipKey, L"DragStyle", IsChecked(dialog, IDC_KB_DRAG) ? 1 : 0);
        break;
    case IDC_KB_HELP_DRAG: MessageBoxW(dialog, kDragHelp, L"Help", MB_OK | MB_ICONINFORMATION); break;
    }
}

INT_PTR CALLBACK KeyboardTricksDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return InitKeyboardDialog(dialog);
    case WM_SIZE:
        ReflowDialogFromTemplate(g_hInstance, dialog,
                                 ChooseLayoutVariant(IDD_KEYBOARD, IDD_KEYBOARD_LANDSCAPE, IDD_KEYBOARD_SQUARE));
        return FALSE;
    case WM_NOTIFY: {
        const NMHDR *header = (const NMHDR *)lParam;
        if (header->idFrom == IDC_KB_SUGGESTED_SPIN && header->code == UDN_DELTAPOS)
            StepSuggestedWords(dialog, (const NMUPDOWN *)lParam);
        return FALSE;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            EndDialog(dialog, 1);
            return TRUE;
        }
        OnKeyboardCommand(dialog, LOWORD(wParam));
        return FALSE;
    case WM_CLOSE:
        EndDialog(dialog, 16);
        return TRUE;
    }
    return FALSE;
}
