// The keyboard tricks dialog, driven through its real controls.
#include "tests/hosts/host_kit.h"
#include "main_window_fixture.h"
#include "dialogs/dialogs.h"

namespace {

const wchar_t kSip[] = L"ControlPanel\\Sip";
const wchar_t kKeyboard[] = L"{42429667-ae04-11d0-a4f8-00aa00a749b9}";
const wchar_t kLetter[] = L"{42429690-ae04-11d0-a4f8-00aa00a749b9}";
const wchar_t kBlock[] = L"{42429691-ae04-11d0-a4f8-00aa00a749b9}";
const wchar_t kTranscriber[] = L"{F0034DD0-2AD4-11d1-9CB0-E84BE8000000}";
const wchar_t kHiddenRefusal[] = L"You can't set as default because it's hidden!";
const wchar_t kDefaultRefusal[] = L"You can't hide this keyboard because it's selected as Default SIP!";
const int kDefaultAndShow[6] = {IDC_KB_KEYBOARD_DEFAULT, IDC_KB_LETTER_DEFAULT, IDC_KB_BLOCK_DEFAULT,
                                IDC_KB_SHOW_LETTER, IDC_KB_SHOW_BLOCK, IDC_KB_SHOW_TRANSCRIBER};

std::wstring ShowKey(const wchar_t *classId)
{
    return std::wstring(L"CLSID\\") + classId + L"\\IsSIPInputMethod";
}

void SetShowFlag(const wchar_t *classId, const wchar_t *flag)
{
    WriteRegString(HKEY_CLASSES_ROOT, ShowKey(classId).c_str(), L"Default", flag);
}

std::wstring ShowFlag(const wchar_t *classId)
{
    return RegTextOr(HKEY_CLASSES_ROOT, ShowKey(classId).c_str(), L"Default", L"<missing>");
}

std::wstring DefaultIm()
{
    return RegTextOr(HKEY_CURRENT_USER, kSip, L"DefaultIm", L"<missing>");
}

DWORD SipDword(const wchar_t *name)
{
    return RegDwordOr(HKEY_CURRENT_USER, kSip, name, 99);
}

std::wstring Count(HWND dialog)
{
    return FieldText(dialog, IDC_KB_SUGGESTED_COUNT);
}

// The radio buttons as a word: K, L, B for those checked.
std::string Radios(HWND dialog)
{
    std::string on;
    if (IsTicked(dialog, IDC_KB_KEYBOARD_DEFAULT)) on += 'K';
    if (IsTicked(dialog, IDC_KB_LETTER_DEFAULT)) on += 'L';
    if (IsTicked(dialog, IDC_KB_BLOCK_DEFAULT)) on += 'B';
    return on;
}

// The keyboard is the default and every method is listed.
void SetUpInputPanel()
{
    WriteRegString(HKEY_CURRENT_USER, kSip, L"DefaultIm", kKeyboard);
    for (const wchar_t *method : {kLetter, kBlock, kTranscriber}) SetShowFlag(method, L"1");
    WriteRegDword(HKEY_CURRENT_USER, kSip, L"SuggWords", 4);
    WriteRegDword(HKEY_CURRENT_USER, kSip, L"DragStyle", 0);
}

INT_PTR RunKeyboardDialog(const std::function<void(HWND)> &script)
{
    return RunDialog(IDD_KEYBOARD, KeyboardTricksDialogProc, script);
}

void Done(HWND dialog)
{
    SendMessageW(dialog, WM_COMMAND, IDOK, 0);
}

void Close(HWND dialog)
{
    SendMessageW(dialog, WM_CLOSE, 0, 0);
}

}  // namespace

using KeyboardDialog = DeviceTest;

TEST_F(KeyboardDialog, OpensShowingTheRegistryAndEndsWithDoneOrClose)
{
    SetUpInputPanel();
    WriteRegString(HKEY_CURRENT_USER, kSip, L"DefaultIm", kBlock);
    SetShowFlag(kLetter, L"0");
    DeleteRegValue(HKEY_CLASSES_ROOT, ShowKey(kTranscriber).c_str(), L"Default");
    WriteRegDword(HKEY_CURRENT_USER, kSip, L"SuggWords", 40);  // outside the arrows' range: shown as stored
    WriteRegDword(HKEY_CURRENT_USER, kSip, L"DragStyle", 1);
    EXPECT_EQ(1, RunKeyboardDialog([](HWND d) {
        // Full screen between the shell's two bars.
        RECT placed, between = {0, SIM_BAR_HEIGHT, GetSystemMetrics(SM_CXSCREEN),
                                GetSystemMetrics(SM_CYSCREEN) - SIM_BAR_HEIGHT};
        GetWindowRect(d, &placed);
        EXPECT_TRUE(EqualRect(&between, &placed));
        EXPECT_EQ("B", Radios(d));
        EXPECT_FALSE(IsTicked(d, IDC_KB_SHOW_LETTER));
        EXPECT_TRUE(IsTicked(d, IDC_KB_SHOW_BLOCK));
        EXPECT_FALSE(IsTicked(d, IDC_KB_SHOW_TRANSCRIBER));  // a missing flag is not "1"
        EXPECT_EQ(L"40", Count(d));
        EXPECT_FALSE(IsTicked(d, IDC_KB_SUGGESTED));
        EXPECT_TRUE(IsTicked(d, IDC_KB_DRAG));
        for (int id : kDefaultAndShow) EXPECT_TRUE(IsEnabled(d, id)) << id;
        Done(d);
    }));

    // Only exactly "1" ticks a show box and only exactly 1 ticks drag; a missing count shows 1.
    SetShowFlag(kBlock, L"11");
    WriteRegDword(HKEY_CURRENT_USER, kSip, L"DragStyle", 2);
    DeleteRegValue(HKEY_CURRENT_USER, kSip, L"SuggWords");
    EXPECT_EQ(16, RunKeyboardDialog([](HWND d) {
        EXPECT_FALSE(IsTicked(d, IDC_KB_SHOW_BLOCK));
        EXPECT_FALSE(IsTicked(d, IDC_KB_DRAG));
        EXPECT_EQ(L"1", Count(d));
        Close(d);
    }));
    EXPECT_EQ(0, SimMessageBoxCount());
}

TEST_F(KeyboardDialog, AnUnknownOrUnreadableDefaultDisablesTheDefaultAndShowControls)
{
    SetUpInputPanel();
    std::wstring tooLong = kKeyboard + std::wstring(300, L'x');
    DWORD number = 0x42429667;
    struct Case {
        const char *what;
        std::function<void()> set;
    } cases[] = {
        {"another method", [] { WriteRegString(HKEY_CURRENT_USER, kSip, L"DefaultIm", kTranscriber); }},
        {"missing", [] { DeleteRegValue(HKEY_CURRENT_USER, kSip, L"DefaultIm"); }},
        {"without its null", [] { WriteUnterminated(HKEY_CURRENT_USER, kSip, L"DefaultIm", kKeyboard); }},
        {"longer than the buffer", [&] { WriteRegString(HKEY_CURRENT_USER, kSip, L"DefaultIm", tooLong.c_str()); }},
        {"of another type", [&] { WriteRegRaw(HKEY_CURRENT_USER, kSip, L"DefaultIm", REG_DWORD, &number, 4); }},
    };
    for (Case &c : cases) {
        c.set();
        RunKeyboardDialog([&](HWND d) {
            for (int id : kDefaultAndShow) EXPECT_FALSE(IsEnabled(d, id)) << c.what << " " << id;
            EXPECT_EQ("", Radios(d)) << c.what;
            for (int id : {IDC_KB_SUGGESTED, IDC_KB_SUGGESTED_COUNT, IDC_KB_SUGGESTED_SPIN, IDC_KB_DRAG})
                EXPECT_TRUE(IsEnabled(d, id)) << c.what << " " << id;
            Close(d);
        });
    }

    // Suggested words and drag still work.
    WriteRegString(HKEY_CURRENT_USER, kSip, L"DefaultIm", kTranscriber);
    RunKeyboardDialog([](HWND d) {
        SetField(d, IDC_KB_SUGGESTED_COUNT, L"3");
        Tap(d, IDC_KB_SUGGESTED);
        Tap(d, IDC_KB_DRAG);
        Done(d);
    });
    EXPECT_EQ(3u, SipDword(L"SuggWords"));
    EXPECT_EQ(1u, SipDword(L"DragStyle"));
    EXPECT_EQ(kTranscriber, DefaultIm());
}

TEST_F(KeyboardDialog, AHiddenMethodCannotBecomeTheDefault)
{
    SetUpInputPanel();
    SetShowFlag(kLetter, L"0");
    DeleteRegValue(HKEY_CLASSES_ROOT, ShowKey(kBlock).c_str(), L"Default");
    RunKeyboardDialog([](HWND d) {
        int before = SimMessageBoxCount();
        Tap(d, IDC_KB_LETTER_DEFAULT);
        ExpectOneBox(before, d, L"Zelvo Rudore", MB_OK, kHiddenRefusal);
        EXPECT_EQ("K", Radios(d));
        EXPECT_EQ(kKeyboard, DefaultIm());

        // A missing flag counts as listed; refused again, the block recognizer comes back.
        Tap(d, IDC_KB_BLOCK_DEFAULT);
        EXPECT_EQ(kBlock, DefaultIm());
        Tap(d, IDC_KB_LETTER_DEFAULT);
        EXPECT_EQ("B", Radios(d));
        EXPECT_EQ(kBlock, DefaultIm());

        // The keyboard is never refused; only exactly "0" refuses a method.
        SetShowFlag(kBlock, L"0");
        Tap(d, IDC_KB_KEYBOARD_DEFAULT);
        EXPECT_EQ(kKeyboard, DefaultIm());
        Tap(d, IDC_KB_BLOCK_DEFAULT);
        EXPECT_EQ("K", Radios(d));
        SetShowFlag(kLetter, L"00");
        Tap(d, IDC_KB_LETTER_DEFAULT);
        EXPECT_EQ(kLetter, DefaultIm());
        EXPECT_EQ("L", Radios(d));
        EXPECT_EQ(3, MessageBoxesSince(before));
        Done(d);
    });
    EXPECT_EQ(L"00", ShowFlag(kLetter));
    EXPECT_EQ(L"0", ShowFlag(kBlock));
}

TEST_F(KeyboardDialog, TheDefaultMethodCannotBeHidden)
{
    SetUpInputPanel();
    WriteRegString(HKEY_CURRENT_USER, kSip, L"DefaultIm", kBlock);
    RunKeyboardDialog([](HWND d) {
        int before = SimMessageBoxCount();
        Tap(d, IDC_KB_SHOW_BLOCK);
        ExpectOneBox(before, d, L"Zelvo Rudore", MB_OK, kDefaultRefusal);
        EXPECT_TRUE(IsTicked(d, IDC_KB_SHOW_BLOCK));
        EXPECT_EQ(L"1", ShowFlag(kBlock));

        // Methods that are not the default hide and show freely; the transcriber is never refused.
        for (auto method : {std::make_pair(IDC_KB_SHOW_LETTER, kLetter),
                            std::make_pair(IDC_KB_SHOW_TRANSCRIBER, kTranscriber)}) {
            Tap(d, method.first);
            EXPECT_EQ(L"0", ShowFlag(method.second));
            Tap(d, method.first);
            EXPECT_EQ(L"1", ShowFlag(method.second));
        }

        // Once the letter recognizer is the default, it is the one that stays listed.
        Tap(d, IDC_KB_LETTER_DEFAULT);
        Tap(d, IDC_KB_SHOW_BLOCK);
        EXPECT_EQ(L"0", ShowFlag(kBlock));
        before = SimMessageBoxCount();
        Tap(d, IDC_KB_SHOW_LETTER);
        ExpectOneBox(before, d, L"Zelvo Rudore", MB_OK, kDefaultRefusal);
        EXPECT_TRUE(IsTicked(d, IDC_KB_SHOW_LETTER));
        EXPECT_EQ(L"1", ShowFlag(kLetter));
        Done(d);
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
        Done(d);
    });
    EXPECT_FALSE(RegKeyExists(HKEY_CLASSES_ROOT, ShowKey(kTranscriber).c_str()));
    EXPECT_FALSE(RegKeyExists(HKEY_CLASSES_ROOT, ShowKey(kLetter).c_str()));

    // Without the input panel's key nothing is written, silently.
    RegDeleteTreeW(HKEY_CURRENT_USER, kSip);
    RunKeyboardDialog([](HWND d) {
        SetField(d, IDC_KB_SUGGESTED_COUNT, L"5");
        Tap(d, IDC_KB_SUGGESTED);
        Tap(d, IDC_KB_DRAG);
        Done(d);
    });
    EXPECT_FALSE(RegKeyExists(HKEY_CURRENT_USER, kSip));
    EXPECT_EQ(0, SimMessageBoxCount());
}

TEST_F(KeyboardDialog, ArrowsStepTheShownCountAndTheBoxesWriteCountAndDrag)
{
    SetUpInputPanel();
    RunKeyboardDialog([](HWND d) {
        struct { const wchar_t *shown; bool up; const wchar_t *after; } steps[] = {
            {L"3", true, L"4"}, {L"3", false, L"2"}, {L"6", true, L"6"}, {L"0", false, L"0"},
            {L"abc", true, L"1"}, {L"abc", false, L"0"}, {L"12", true, L"6"}, {L"12", false, L"11"},
            {L"1234", false, L"122"},
        };
        for (auto &s : steps) {
            SetField(d, IDC_KB_SUGGESTED_COUNT, s.shown);
            PressSpinnerArrow(d, IDC_KB_SUGGESTED_SPIN, s.up);
            EXPECT_EQ(s.after, Count(d)) << (s.up ? "up from " : "down from ") << testing::PrintToString(s.shown);
        }
        EXPECT_EQ(4u, SipDword(L"SuggWords"));  // the arrows write nothing

        // The box writes what is typed, whatever its own check mark.
        struct { const wchar_t *typed; DWORD written; } writes[] = {
            {L"abc", 1}, {L"12", 12}, {L"0", 0}, {L"1234", 123},
            {L"-5", 1},  // a count has no sign: a negative one is never stored
        };
        for (auto &w : writes) {
            SetField(d, IDC_KB_SUGGESTED_COUNT, w.typed);
            Tap(d, IDC_KB_SUGGESTED);
            EXPECT_EQ(w.written, SipDword(L"SuggWords")) << testing::PrintToString(w.typed);
        }

        Tap(d, IDC_KB_DRAG);
        EXPECT_EQ(1u, SipDword(L"DragStyle"));
        Tap(d, IDC_KB_DRAG);
        EXPECT_EQ(0u, SipDword(L"DragStyle"));
        ExpectHelpBox(d, IDC_KB_HELP_DRAG, MB_ICONINFORMATION,
                      L"Make this choice you can drag the keyboard so that you can see the space covered by the "
                      L"keyboard. Needed soft reset");
        Done(d);
    });
}

TEST_F(KeyboardDialog, TurningTheScreenLaysTheControlsOutAgainAndKeepsTheirState)
{
    SetUpInputPanel();
    RunKeyboardDialog([](HWND d) {
        Tap(d, IDC_KB_LETTER_DEFAULT);
        Tap(d, IDC_KB_SHOW_TRANSCRIBER);
        Tap(d, IDC_KB_DRAG);
        SetField(d, IDC_KB_SUGGESTED_COUNT, L"5");
        // Where each layout puts two of the controls, in dialog units.
        struct { int shape; RECT show, help; } turns[] = {
            {SIM_LANDSCAPE, {220, 20, 200, 14}, {396, 88, 20, 14}},
            {SIM_SQUARE, {12, 92, 400, 14}, {394, 176, 24, 14}},
            {SIM_PORTRAIT, {10, 84, 300, 14}, {290, 160, 20, 14}},
        };
        for (auto &turn : turns) {
            ScreenTurn screen(turn.shape);
            ASSERT_TRUE(screen.turned());
            SCOPED_TRACE(testing::Message() << "shape " << turn.shape);
            ExpectAt(d, IDC_KB_SHOW_LETTER, turn.show.left, turn.show.top, turn.show.right, turn.show.bottom);
            ExpectAt(d, IDC_KB_HELP_DRAG, turn.help.left, turn.help.top, turn.help.right, turn.help.bottom);
            EXPECT_EQ("L", Radios(d));
            EXPECT_FALSE(IsTicked(d, IDC_KB_SHOW_TRANSCRIBER));
            EXPECT_TRUE(IsTicked(d, IDC_KB_DRAG));
            EXPECT_EQ(L"5", Count(d));
        }
        Done(d);
    });
    EXPECT_EQ(kLetter, DefaultIm());
}

using KeyboardFromMainWindow = MainWindowTest;

TEST_F(KeyboardFromMainWindow, TheMenuCommandAndTheHotRowOpenTheDialog)
{
    ASSERT_TRUE(OpenMainWindow());
    EXPECT_EQ(L"KeyBoard Tricks", TitleOfDialogOpenedBy(WM_COMMAND, IDM_KEYBOARD, 0));
    EXPECT_EQ(L"KeyBoard Tricks", TitleOfDialogOpenedBy(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(200, 450)));
}
