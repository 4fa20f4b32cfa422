// The keyboard tricks dialog, driven through its real controls.
#include "tests/hosts/host_kit.h"
#include "dialogs/dialogs.h"

namespace {

const wchar_t kSip[] = L"ControlPanel\\Sip";
const wchar_t kKeyboard[] = L"{42429667-ae04-11d0-a4f8-00aa00a749b9}";
const wchar_t kLetter[] = L"{42429690-ae04-11d0-a4f8-00aa00a749b9}";
const wchar_t kBlock[] = L"{42429691-ae04-11d0-a4f8-00aa00a749b9}";
const wchar_t kTranscriber[] = L"{F0034DD0-2AD4-11d1-9CB0-E84BE8000000}";
const int kDefaultAndShow[6] = {IDC_KB_KEYBOARD_DEFAULT, IDC_KB_LETTER_DEFAULT, IDC_KB_BLOCK_DEFAULT,
                                IDC_KB_SHOW_LETTER, IDC_KB_SHOW_BLOCK, IDC_KB_SHOW_TRANSCRIBER};

std::wstring ShowKey(const wchar_t *classId) { return std::wstring(L"CLSID\\") + classId + L"\\IsSIPInputMethod"; }
void SetShowFlag(const wchar_t *classId, const wchar_t *flag) { WriteRegString(HKEY_CLASSES_ROOT, ShowKey(classId).c_str(), L"Default", flag); }
std::wstring ShowFlag(const wchar_t *classId) { return RegTextOr(HKEY_CLASSES_ROOT, ShowKey(classId).c_str(), L"Default", L"<missing>"); }
std::wstring DefaultIm() { return RegTextOr(HKEY_CURRENT_USER, kSip, L"DefaultIm", L"<missing>"); }
DWORD SipDword(const wchar_t *name) { return RegDwordOr(HKEY_CURRENT_USER, kSip, name, 99); }

// The radio buttons as a word: K, L, B for those checked.
std::string Radios(HWND dialog)
{
    return std::string(IsTicked(dialog, IDC_KB_KEYBOARD_DEFAULT) ? "K" : "") + (IsTicked(dialog, IDC_KB_LETTER_DEFAULT) ? "L" : "") +
           (IsTicked(dialog, IDC_KB_BLOCK_DEFAULT) ? "B" : "");
}

// Taps `control` and expects the one refusal `text`.
void ExpectRefusal(HWND dialog, UINT control, const wchar_t *text)
{
    int before = SimMessageBoxCount();
    Tap(dialog, control);
    ExpectOneBox(before, dialog, L"Zelvo Rudore", MB_OK, text);
}

// The keyboard is the default and every method is listed.
void SetUpInputPanel()
{
    WriteRegString(HKEY_CURRENT_USER, kSip, L"DefaultIm", kKeyboard);
    for (const wchar_t *method : {kLetter, kBlock, kTranscriber}) SetShowFlag(method, L"1");
    WriteRegDword(HKEY_CURRENT_USER, kSip, L"SuggWords", 4);
    WriteRegDword(HKEY_CURRENT_USER, kSip, L"DragStyle", 0);
}

// Done ends the dialog when the script has not.
INT_PTR RunKeyboardDialog(const std::function<void(HWND)> &script)
{
    return RunDialog(IDD_KEYBOARD, KeyboardTricksDialogProc, [&](HWND d) {
        script(d);
        if (IsWindowVisible(d)) SendMessageW(d, WM_COMMAND, IDOK, 0);
    });
}

}  // namespace

using KeyboardDialog = DeviceTest;

TEST_F(KeyboardDialog, OpensShowingTheRegistryAndEndsWithDoneOrClose)
{
    SetUpInputPanel();
    WriteRegString(HKEY_CURRENT_USER, kSip, L"DefaultIm", kBlock);
    SetShowFlag(kLetter, L"0");
    SetShowFlag(kBlock, L"11");  // only exactly "1" ticks a show box
    DeleteRegValue(HKEY_CLASSES_ROOT, ShowKey(kTranscriber).c_str(), L"Default");
    WriteRegDword(HKEY_CURRENT_USER, kSip, L"SuggWords", 40);  // outside the arrows' range: shown as stored
    EXPECT_EQ(1, RunKeyboardDialog([](HWND d) {
        EXPECT_EQ("B", Radios(d));
        EXPECT_FALSE(IsTicked(d, IDC_KB_SHOW_LETTER));
        EXPECT_FALSE(IsTicked(d, IDC_KB_SHOW_BLOCK));
        EXPECT_FALSE(IsTicked(d, IDC_KB_SHOW_TRANSCRIBER));
        EXPECT_EQ(L"40", FieldText(d, IDC_KB_SUGGESTED_COUNT));
        for (int id : kDefaultAndShow) EXPECT_TRUE(IsEnabled(d, id)) << id;
    }));

    // A missing count shows 1. Another default, or one longer than the dialog's buffer,
    // is not this dialog's to change.
    DeleteRegValue(HKEY_CURRENT_USER, kSip, L"SuggWords");
    std::wstring tooLong = kKeyboard + std::wstring(300, L'x');
    for (const wchar_t *stored : {kTranscriber, tooLong.c_str()}) {
        WriteRegString(HKEY_CURRENT_USER, kSip, L"DefaultIm", stored);
        EXPECT_EQ(16, RunKeyboardDialog([](HWND d) {
            EXPECT_EQ(L"1", FieldText(d, IDC_KB_SUGGESTED_COUNT));
            for (int id : kDefaultAndShow) EXPECT_FALSE(IsEnabled(d, id)) << id;
            EXPECT_EQ("", Radios(d));
            EXPECT_TRUE(IsEnabled(d, IDC_KB_SUGGESTED));
            SendMessageW(d, WM_CLOSE, 0, 0);
        }));
    }
    EXPECT_EQ(0, SimMessageBoxCount());
}

TEST_F(KeyboardDialog, AHiddenMethodCannotBecomeTheDefault)
{
    SetUpInputPanel();
    SetShowFlag(kLetter, L"0");
    DeleteRegValue(HKEY_CLASSES_ROOT, ShowKey(kBlock).c_str(), L"Default");
    RunKeyboardDialog([](HWND d) {
        ExpectRefusal(d, IDC_KB_LETTER_DEFAULT, L"You can't set as default because it's hidden!");
        EXPECT_EQ("K", Radios(d));
        EXPECT_EQ(kKeyboard, DefaultIm());

        // A missing flag counts as listed; refused again, the block recognizer comes back.
        Tap(d, IDC_KB_BLOCK_DEFAULT);
        EXPECT_EQ(kBlock, DefaultIm());
        Tap(d, IDC_KB_LETTER_DEFAULT);
        EXPECT_EQ("B", Radios(d));
        EXPECT_EQ(kBlock, DefaultIm());

        // Only exactly "0" refuses.
        SetShowFlag(kLetter, L"00");
        int before = SimMessageBoxCount();
        Tap(d, IDC_KB_LETTER_DEFAULT);
        EXPECT_EQ(kLetter, DefaultIm());
        EXPECT_EQ(0, MessageBoxesSince(before));
    });
}

TEST_F(KeyboardDialog, TheDefaultMethodCannotBeHidden)
{
    const wchar_t refusal[] = L"You can't hide this keyboard because it's selected as Default SIP!";
    SetUpInputPanel();
    WriteRegString(HKEY_CURRENT_USER, kSip, L"DefaultIm", kBlock);
    RunKeyboardDialog([&](HWND d) {
        ExpectRefusal(d, IDC_KB_SHOW_BLOCK, refusal);
        EXPECT_TRUE(IsTicked(d, IDC_KB_SHOW_BLOCK));
        EXPECT_EQ(L"1", ShowFlag(kBlock));

        // The refusal follows the default as it is now, not as it was when the dialog
        // opened; another method hides and shows freely.
        Tap(d, IDC_KB_LETTER_DEFAULT);
        Tap(d, IDC_KB_SHOW_BLOCK);
        EXPECT_EQ(L"0", ShowFlag(kBlock));
        Tap(d, IDC_KB_SHOW_BLOCK);
        EXPECT_EQ(L"1", ShowFlag(kBlock));
        ExpectRefusal(d, IDC_KB_SHOW_LETTER, refusal);
        EXPECT_TRUE(IsTicked(d, IDC_KB_SHOW_LETTER));
        EXPECT_EQ(L"1", ShowFlag(kLetter));
    });
    // Written as REG_SZ with the null counted.
    DWORD type = 0, bytes = 0;
    EXPECT_TRUE(RegValueShape(HKEY_CLASSES_ROOT, ShowKey(kBlock).c_str(), L"Default", &type, &bytes));
    EXPECT_EQ((DWORD)REG_SZ, type);
    EXPECT_EQ(4u, bytes);
}

TEST_F(KeyboardDialog, KeysAreOnlyOpenedNeverCreated)
{
    SetUpInputPanel();
    RegDeleteTreeW(HKEY_CLASSES_ROOT, ShowKey(kTranscriber).c_str());
    RegDeleteTreeW(HKEY_CLASSES_ROOT, ShowKey(kLetter).c_str());
    RunKeyboardDialog([](HWND d) {
        Tap(d, IDC_KB_SHOW_TRANSCRIBER);
        Tap(d, IDC_KB_SHOW_LETTER);
        // A missing flag is no refusal; the choice goes to the key that exists.
        Tap(d, IDC_KB_LETTER_DEFAULT);
        EXPECT_EQ(kLetter, DefaultIm());
    });
    EXPECT_FALSE(RegKeyExists(HKEY_CLASSES_ROOT, ShowKey(kTranscriber).c_str()));
    EXPECT_FALSE(RegKeyExists(HKEY_CLASSES_ROOT, ShowKey(kLetter).c_str()));

    // Without the input panel's key nothing is written, silently.
    RegDeleteTreeW(HKEY_CURRENT_USER, kSip);
    RunKeyboardDialog([](HWND d) { Tap(d, IDC_KB_DRAG); });
    EXPECT_FALSE(RegKeyExists(HKEY_CURRENT_USER, kSip));
    EXPECT_EQ(0, SimMessageBoxCount());
}

TEST_F(KeyboardDialog, ArrowsStepTheShownCountAndTheBoxWritesTheCount)
{
    SetUpInputPanel();
    RunKeyboardDialog([](HWND d) {
        // Between 0 and 6; only the field's first three characters count.
        struct { const wchar_t *shown; bool up; const wchar_t *after; } steps[] = {
            {L"3", true, L"4"}, {L"6", true, L"6"}, {L"0", false, L"0"}, {L"abc", true, L"1"},
            {L"12", true, L"6"}, {L"1234", false, L"122"},
        };
        for (auto &s : steps) {
            SetField(d, IDC_KB_SUGGESTED_COUNT, s.shown);
            PressSpinnerArrow(d, IDC_KB_SUGGESTED_SPIN, s.up);
            EXPECT_EQ(s.after, FieldText(d, IDC_KB_SUGGESTED_COUNT)) << testing::PrintToString(s.shown);
        }
        EXPECT_EQ(4u, SipDword(L"SuggWords"));  // the arrows write nothing

        // The box writes what is typed, whatever its own check mark, read as "%d" reads it.
        struct { const wchar_t *typed; DWORD written; } writes[] = {{L"12", 12}, {L"1234", 123}, {L"abc", 1}, {L"-5", (DWORD)-5}};
        for (auto &w : writes) {
            SetField(d, IDC_KB_SUGGESTED_COUNT, w.typed);
            Tap(d, IDC_KB_SUGGESTED);
            EXPECT_EQ(w.written, SipDword(L"SuggWords")) << testing::PrintToString(w.typed);
        }
    });
}
