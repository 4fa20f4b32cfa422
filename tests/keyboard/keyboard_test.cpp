// The keyboard tricks dialog: the default input method and the listed ones, each
// refusing what would hide the default, and the count of suggested words.
#include "tests/hosts/host_kit.h"
#include "app/rudore.h"

namespace {

const wchar_t kSip[] = L"ControlPanel\\Sip";
const wchar_t kKeyboard[] = L"{42429667-ae04-11d0-a4f8-00aa00a749b9}";
const wchar_t kLetter[] = L"{42429690-ae04-11d0-a4f8-00aa00a749b9}";
const wchar_t kBlock[] = L"{42429691-ae04-11d0-a4f8-00aa00a749b9}";
const wchar_t kTranscriber[] = L"{F0034DD0-2AD4-11d1-9CB0-E84BE8000000}";

std::wstring ShowKey(const wchar_t *classId) { return std::wstring(L"CLSID\\") + classId + L"\\IsSIPInputMethod"; }
void SetShowFlag(const wchar_t *classId, const wchar_t *flag) { WriteRegString(HKEY_CLASSES_ROOT, ShowKey(classId).c_str(), L"Default", flag); }
std::wstring ShowFlag(const wchar_t *classId) { return RegTextOr(HKEY_CLASSES_ROOT, ShowKey(classId).c_str(), L"Default", L"<missing>"); }
std::wstring DefaultIm() { return RegTextOr(CU, kSip, L"DefaultIm", L"<missing>"); }

// Taps `control` and expects the one refusal `text`.
void ExpectRefusal(HWND dialog, UINT control, const wchar_t *text)
{
    int before = SimMessageBoxCount();
    Tap(dialog, control);
    ExpectOneBox(before, dialog, L"Zelvo Rudore", MB_OK, text);
}

using KeyboardDialog = DeviceTest;

}  // namespace

// A hidden method (its flag exactly "0") cannot become the default, nor can the default
// as it is now be hidden; a refusal puts the buttons back and writes nothing.
TEST_F(KeyboardDialog, AHiddenMethodCannotBeTheDefaultNorTheDefaultHidden)
{
    const wchar_t hidden[] = L"You can't set as default because it's hidden!";
    const wchar_t isDefault[] = L"You can't hide this keyboard because it's selected as Default SIP!";
    WriteRegString(CU, kSip, L"DefaultIm", kKeyboard);
    SetShowFlag(kLetter, L"0");
    SetShowFlag(kBlock, L"1");
    DeleteRegValue(HKEY_CLASSES_ROOT, ShowKey(kBlock).c_str(), L"Default");
    RunHost(IDD_KEYBOARD_PORTRAIT, KeyboardTricksDialogProc, [&](HWND d) {
        ExpectRefusal(d, IDC_KB_LETTER_DEFAULT, hidden);
        EXPECT_TRUE(IsTicked(d, IDC_KB_KEYBOARD_DEFAULT));
        EXPECT_EQ(kKeyboard, DefaultIm());
        // A missing flag counts as listed; refused again, the block recognizer comes back.
        Tap(d, IDC_KB_BLOCK_DEFAULT);
        EXPECT_EQ(kBlock, DefaultIm());
        ExpectRefusal(d, IDC_KB_LETTER_DEFAULT, hidden);
        EXPECT_TRUE(IsTicked(d, IDC_KB_BLOCK_DEFAULT));
        // The default may be listed, not hidden.
        Tap(d, IDC_KB_SHOW_BLOCK);
        EXPECT_EQ(L"1", ShowFlag(kBlock));
        ExpectRefusal(d, IDC_KB_SHOW_BLOCK, isDefault);
        EXPECT_TRUE(IsTicked(d, IDC_KB_SHOW_BLOCK));
        EXPECT_EQ(L"1", ShowFlag(kBlock));
        // Only exactly "0" hides.
        SetShowFlag(kLetter, L"00");
        Tap(d, IDC_KB_LETTER_DEFAULT);
        EXPECT_EQ(kLetter, DefaultIm());
    });
}

// Under another default method, not this dialog's to change, the default and show
// controls are disabled, but the count works: a missing one shows 1, the arrows step
// it between 0 and 6 writing nothing, and the box writes it.
TEST_F(KeyboardDialog, TheCountWorksUnderAnyDefaultMethod)
{
    WriteRegString(CU, kSip, L"DefaultIm", kTranscriber);
    DeleteRegValue(CU, kSip, L"SuggWords");
    RunHost(IDD_KEYBOARD_PORTRAIT, KeyboardTricksDialogProc, [](HWND d) {
        for (int id : {IDC_KB_KEYBOARD_DEFAULT, IDC_KB_LETTER_DEFAULT, IDC_KB_BLOCK_DEFAULT, IDC_KB_SHOW_LETTER,
                       IDC_KB_SHOW_BLOCK, IDC_KB_SHOW_TRANSCRIBER})
            EXPECT_FALSE(IsEnabled(d, id)) << id;
        EXPECT_EQ(L"1", FieldText(d, IDC_KB_SUGGESTED_COUNT));
        // Only the field's first three characters count.
        struct { const wchar_t *shown; bool up; const wchar_t *after; } steps[] = {
            {L"3", true, L"4"}, {L"6", true, L"6"}, {L"0", false, L"0"}, {L"abc", true, L"1"},
            {L"12", true, L"6"}, {L"1234", false, L"122"},
        };
        for (auto &s : steps) {
            SetField(d, IDC_KB_SUGGESTED_COUNT, s.shown);
            PressSpinnerArrow(d, IDC_KB_SUGGESTED_SPIN, s.up);
            EXPECT_EQ(s.after, FieldText(d, IDC_KB_SUGGESTED_COUNT)) << testing::PrintToString(s.shown);
        }
        EXPECT_FALSE(RegValueExists(CU, kSip, L"SuggWords")) << "the arrows write nothing";
        // The box writes what is typed, whatever its own check mark, read as "%d" reads it.
        struct { const wchar_t *typed; DWORD written; } writes[] = {{L"12", 12}, {L"1234", 123}, {L"abc", 1}, {L"-5", (DWORD)-5}};
        for (auto &w : writes) {
            SetField(d, IDC_KB_SUGGESTED_COUNT, w.typed);
            Tap(d, IDC_KB_SUGGESTED);
            EXPECT_EQ(w.written, RegDwordOr(CU, kSip, L"SuggWords", 99)) << testing::PrintToString(w.typed);
        }
        // Without the input panel's key nothing is written, nor the key made.
        RegDeleteTreeW(CU, kSip);
        Tap(d, IDC_KB_SUGGESTED);
        EXPECT_FALSE(RegKeyExists(CU, kSip));
    });
}
