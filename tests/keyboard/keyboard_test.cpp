// The keyboard tricks dialog, driven through its real controls.
#include <windows.h>
#include <commctrl.h>
#include "testkit.h"
#include "tests/hosts/host_kit.h"
#include "main_window_fixture.h"
#include "app/rudore.h"
#include "dialogs/dialogs.h"
#include "resource.h"

namespace {

const wchar_t kSip[] = L"ControlPanel\\Sip";
const wchar_t kKeyboard[] = L"{42429667-ae04-11d0-a4f8-00aa00a749b9}";
const wchar_t kLetter[] = L"{42429690-ae04-11d0-a4f8-00aa00a749b9}";
const wchar_t kBlock[] = L"{42429691-ae04-11d0-a4f8-00aa00a749b9}";
const wchar_t kTranscriber[] = L"{F0034DD0-2AD4-11d1-9CB0-E84BE8000000}";
const wchar_t kHiddenRefusal[] = L"You can't set as default because it's hidden!";
const wchar_t kDefaultRefusal[] = L"You can't hide this keyboard because it's selected as Default SIP!";

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
    std::wstring flag = L"<missing>";
    ReadRegString(HKEY_CLASSES_ROOT, ShowKey(classId).c_str(), L"Default", &flag);
    return flag;
}

std::wstring DefaultIm()
{
    std::wstring value = L"<missing>";
    ReadRegString(HKEY_CURRENT_USER, kSip, L"DefaultIm", &value);
    return value;
}

// The device as most tests want it: the keyboard is the default, every method listed.
void SetUpInputPanel()
{
    WriteRegString(HKEY_CURRENT_USER, kSip, L"DefaultIm", kKeyboard);
    SetShowFlag(kLetter, L"1");
    SetShowFlag(kBlock, L"1");
    SetShowFlag(kTranscriber, L"1");
    WriteRegDword(HKEY_CURRENT_USER, kSip, L"SuggWords", 4);
    WriteRegDword(HKEY_CURRENT_USER, kSip, L"DragStyle", 0);
}

bool Checked(HWND dialog, int id)
{
    return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

bool Enabled(HWND dialog, int id)
{
    return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE;
}

void Click(HWND dialog, int id)
{
    SendMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

std::wstring Field(HWND dialog)
{
    return WindowText(GetDlgItem(dialog, IDC_KB_SUGGESTED_COUNT));
}

// A tap on the up-down control's upper or lower arrow.
void TapArrow(HWND dialog, bool up)
{
    PressSpinnerArrow(dialog, IDC_KB_SUGGESTED_SPIN, up);
}

// Opens the dialog from the main window's template, runs `script` inside it and
// returns the dialog's result. The script must end the dialog.
INT_PTR RunKeyboardDialog(const std::function<void(HWND)> &script)
{
    return RunDialog(IDD_KEYBOARD, KeyboardTricksDialogProc, script);
}

const int kDefaultAndShow[6] = {IDC_KB_KEYBOARD_DEFAULT, IDC_KB_LETTER_DEFAULT, IDC_KB_BLOCK_DEFAULT,
                                IDC_KB_SHOW_LETTER, IDC_KB_SHOW_BLOCK, IDC_KB_SHOW_TRANSCRIBER};
const int kAlwaysEnabled[4] = {IDC_KB_SUGGESTED, IDC_KB_SUGGESTED_COUNT, IDC_KB_SUGGESTED_SPIN, IDC_KB_DRAG};

bool SameRect(const RECT &a, const RECT &b)
{
    return EqualRect(&a, &b) != FALSE;
}

// Turns the screen back to portrait however the test ends.
struct PortraitAtExit {
    ~PortraitAtExit() { SimRotate(SIM_PORTRAIT); PumpMessages(50); }
};

}  // namespace

using KeyboardDialog = DeviceTest;

TEST_F(KeyboardDialog, OpensShowingTheRegistryAndEndsWithDoneOrClose)
{
    SetUpInputPanel();
    WriteRegString(HKEY_CURRENT_USER, kSip, L"DefaultIm", kBlock);
    SetShowFlag(kLetter, L"0");
    DeleteRegValue(HKEY_CLASSES_ROOT, ShowKey(kTranscriber).c_str(), L"Default");
    WriteRegDword(HKEY_CURRENT_USER, kSip, L"SuggWords", 5);
    WriteRegDword(HKEY_CURRENT_USER, kSip, L"DragStyle", 1);

    INT_PTR result = RunKeyboardDialog([](HWND d) {
        EXPECT_EQ(L"KeyBoard Tricks", WindowText(d));
        // Full screen between the shell's two bars.
        RECT placed;
        GetWindowRect(d, &placed);
        RECT between = {0, SIM_BAR_HEIGHT, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN) - SIM_BAR_HEIGHT};
        EXPECT_TRUE(SameRect(between, placed));
        EXPECT_FALSE(Checked(d, IDC_KB_KEYBOARD_DEFAULT));
        EXPECT_FALSE(Checked(d, IDC_KB_LETTER_DEFAULT));
        EXPECT_TRUE(Checked(d, IDC_KB_BLOCK_DEFAULT));
        EXPECT_FALSE(Checked(d, IDC_KB_SHOW_LETTER));
        EXPECT_TRUE(Checked(d, IDC_KB_SHOW_BLOCK));
        EXPECT_FALSE(Checked(d, IDC_KB_SHOW_TRANSCRIBER));  // missing flag: not ticked
        EXPECT_EQ(L"5", Field(d));
        EXPECT_FALSE(Checked(d, IDC_KB_SUGGESTED));
        EXPECT_TRUE(Checked(d, IDC_KB_DRAG));
        for (int id : kDefaultAndShow) EXPECT_TRUE(Enabled(d, id)) << id;
        EXPECT_EQ(L"Suggested words ", WindowText(GetDlgItem(d, IDC_KB_SUGGESTED)));
        SendMessageW(d, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(1, result);

    // Only exactly "1" ticks a show box; only exactly 1 ticks drag. A missing count shows 1.
    SetShowFlag(kBlock, L"11");
    WriteRegDword(HKEY_CURRENT_USER, kSip, L"DragStyle", 2);
    DeleteRegValue(HKEY_CURRENT_USER, kSip, L"SuggWords");
    result = RunKeyboardDialog([](HWND d) {
        EXPECT_FALSE(Checked(d, IDC_KB_SHOW_BLOCK));
        EXPECT_FALSE(Checked(d, IDC_KB_DRAG));
        EXPECT_EQ(L"1", Field(d));
        SendMessageW(d, WM_CLOSE, 0, 0);
    });
    EXPECT_EQ(16, result);

    // A stored count is shown as it is, out of the arrows' range or not.
    WriteRegDword(HKEY_CURRENT_USER, kSip, L"SuggWords", 40);
    RunKeyboardDialog([](HWND d) {
        EXPECT_EQ(L"40", Field(d));
        SendMessageW(d, WM_CLOSE, 0, 0);
    });
    EXPECT_EQ(0, SimMessageBoxCount());
}

TEST_F(KeyboardDialog, AnUnknownOrUnreadableDefaultDisablesTheDefaultAndShowControls)
{
    SetUpInputPanel();
    std::wstring unreadable(300, L'x');
    memcpy(&unreadable[0], kKeyboard, wcslen(kKeyboard) * sizeof(wchar_t));
    std::wstring unterminated = std::wstring(kKeyboard) + L"X";
    DWORD keyboardAsDword = 0x42429667;
    struct Case {
        const char *what;
        std::function<void()> set;
    } cases[] = {
        {"another method", [] { WriteRegString(HKEY_CURRENT_USER, kSip, L"DefaultIm", kTranscriber); }},
        {"missing", [] { DeleteRegValue(HKEY_CURRENT_USER, kSip, L"DefaultIm"); }},
        // The registry adds a null the count forgot when one follows the data: none does here.
        {"without its null",
         [&] {
             WriteRegRaw(HKEY_CURRENT_USER, kSip, L"DefaultIm", REG_SZ, unterminated.c_str(),
                      (DWORD)(wcslen(kKeyboard) * 2));
         }},
        {"longer than the buffer",
         [&] { WriteRegString(HKEY_CURRENT_USER, kSip, L"DefaultIm", unreadable.c_str()); }},
        {"of another type",
         [&] { WriteRegRaw(HKEY_CURRENT_USER, kSip, L"DefaultIm", REG_DWORD, &keyboardAsDword, 4); }},
        {"expandable", [] {
             WriteRegRaw(HKEY_CURRENT_USER, kSip, L"DefaultIm", REG_EXPAND_SZ, kKeyboard,
                      (DWORD)(wcslen(kKeyboard) + 1) * 2);
         }},
    };
    for (Case &c : cases) {
        c.set();
        RunKeyboardDialog([&](HWND d) {
            for (int id : kDefaultAndShow) {
                EXPECT_FALSE(Enabled(d, id)) << c.what << " " << id;
                if (id != IDC_KB_SHOW_LETTER && id != IDC_KB_SHOW_BLOCK && id != IDC_KB_SHOW_TRANSCRIBER) {
                    EXPECT_FALSE(Checked(d, id)) << c.what << " " << id;
                }
            }
            for (int id : kAlwaysEnabled) EXPECT_TRUE(Enabled(d, id)) << c.what << " " << id;
            SendMessageW(d, WM_CLOSE, 0, 0);
        });
    }

    // Suggested words and drag still work.
    WriteRegString(HKEY_CURRENT_USER, kSip, L"DefaultIm", kTranscriber);
    RunKeyboardDialog([](HWND d) {
        SetDlgItemTextW(d, IDC_KB_SUGGESTED_COUNT, L"3");
        Click(d, IDC_KB_SUGGESTED);
        Click(d, IDC_KB_DRAG);
        SendMessageW(d, WM_COMMAND, IDOK, 0);
    });
    DWORD value = 0;
    EXPECT_TRUE(ReadRegDword(HKEY_CURRENT_USER, kSip, L"SuggWords", &value));
    EXPECT_EQ(3u, value);
    EXPECT_TRUE(ReadRegDword(HKEY_CURRENT_USER, kSip, L"DragStyle", &value));
    EXPECT_EQ(1u, value);
    EXPECT_EQ(kTranscriber, DefaultIm());
}

TEST_F(KeyboardDialog, AHiddenMethodCannotBecomeTheDefault)
{
    SetUpInputPanel();
    SetShowFlag(kLetter, L"0");
    DeleteRegValue(HKEY_CLASSES_ROOT, ShowKey(kBlock).c_str(), L"Default");

    RunKeyboardDialog([](HWND d) {
        Click(d, IDC_KB_LETTER_DEFAULT);
        ASSERT_EQ(1, SimMessageBoxCount());
        SimMessageBox box = LastMessageBox();
        EXPECT_EQ(kHiddenRefusal, std::wstring(box.text));
        EXPECT_EQ(L"Zelvo Rudore", std::wstring(box.caption));
        EXPECT_EQ((UINT)MB_OK, box.flags);
        EXPECT_EQ(d, box.owner);
        EXPECT_TRUE(Checked(d, IDC_KB_KEYBOARD_DEFAULT));
        EXPECT_FALSE(Checked(d, IDC_KB_LETTER_DEFAULT));
        EXPECT_FALSE(Checked(d, IDC_KB_BLOCK_DEFAULT));
        EXPECT_EQ(kKeyboard, DefaultIm());

        // A missing flag counts as listed: the block recognizer is accepted.
        Click(d, IDC_KB_BLOCK_DEFAULT);
        EXPECT_EQ(1, SimMessageBoxCount());
        EXPECT_EQ(kBlock, DefaultIm());

        // Refused again: now the block recognizer's button comes back.
        Click(d, IDC_KB_LETTER_DEFAULT);
        EXPECT_EQ(2, SimMessageBoxCount());
        EXPECT_FALSE(Checked(d, IDC_KB_KEYBOARD_DEFAULT));
        EXPECT_FALSE(Checked(d, IDC_KB_LETTER_DEFAULT));
        EXPECT_TRUE(Checked(d, IDC_KB_BLOCK_DEFAULT));
        EXPECT_EQ(kBlock, DefaultIm());

        // The keyboard needs no test; any other flag than "0" lets a method through.
        SetShowFlag(kBlock, L"0");
        Click(d, IDC_KB_KEYBOARD_DEFAULT);
        EXPECT_EQ(kKeyboard, DefaultIm());
        Click(d, IDC_KB_BLOCK_DEFAULT);
        EXPECT_EQ(3, SimMessageBoxCount());
        EXPECT_TRUE(Checked(d, IDC_KB_KEYBOARD_DEFAULT));
        EXPECT_FALSE(Checked(d, IDC_KB_BLOCK_DEFAULT));
        SetShowFlag(kLetter, L"00");
        Click(d, IDC_KB_LETTER_DEFAULT);
        EXPECT_EQ(3, SimMessageBoxCount());
        EXPECT_EQ(kLetter, DefaultIm());
        EXPECT_TRUE(Checked(d, IDC_KB_LETTER_DEFAULT));
        SendMessageW(d, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(L"00", ShowFlag(kLetter));
    EXPECT_EQ(L"0", ShowFlag(kBlock));
}

TEST_F(KeyboardDialog, TheDefaultMethodCannotBeHidden)
{
    SetUpInputPanel();
    WriteRegString(HKEY_CURRENT_USER, kSip, L"DefaultIm", kBlock);

    RunKeyboardDialog([](HWND d) {
        Click(d, IDC_KB_SHOW_BLOCK);
        ASSERT_EQ(1, SimMessageBoxCount());
        SimMessageBox box = LastMessageBox();
        EXPECT_EQ(kDefaultRefusal, std::wstring(box.text));
        EXPECT_EQ(L"Zelvo Rudore", std::wstring(box.caption));
        EXPECT_EQ((UINT)MB_OK, box.flags);
        EXPECT_TRUE(Checked(d, IDC_KB_SHOW_BLOCK));
        EXPECT_EQ(L"1", ShowFlag(kBlock));

        // Methods that are not the default hide and show freely.
        Click(d, IDC_KB_SHOW_LETTER);
        EXPECT_EQ(L"0", ShowFlag(kLetter));
        Click(d, IDC_KB_SHOW_LETTER);
        EXPECT_EQ(L"1", ShowFlag(kLetter));
        Click(d, IDC_KB_SHOW_TRANSCRIBER);
        EXPECT_EQ(L"0", ShowFlag(kTranscriber));
        Click(d, IDC_KB_SHOW_TRANSCRIBER);
        EXPECT_EQ(L"1", ShowFlag(kTranscriber));

        // Once another method is the default, the block recognizer can be hidden, and
        // then cannot come back as the default.
        Click(d, IDC_KB_LETTER_DEFAULT);
        EXPECT_EQ(kLetter, DefaultIm());
        Click(d, IDC_KB_SHOW_BLOCK);
        EXPECT_EQ(L"0", ShowFlag(kBlock));
        EXPECT_FALSE(Checked(d, IDC_KB_SHOW_BLOCK));
        Click(d, IDC_KB_SHOW_LETTER);
        EXPECT_EQ(2, SimMessageBoxCount());
        EXPECT_EQ(kDefaultRefusal, std::wstring(LastMessageBox().text));
        EXPECT_TRUE(Checked(d, IDC_KB_SHOW_LETTER));
        EXPECT_EQ(L"1", ShowFlag(kLetter));
        SendMessageW(d, WM_COMMAND, IDOK, 0);
    });

    // Written as REG_SZ with the null counted.
    HKEY k;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_CLASSES_ROOT, ShowKey(kBlock).c_str(), 0, KEY_READ, &k));
    DWORD type = 0, size = 0;
    RegQueryValueExW(k, L"Default", NULL, &type, NULL, &size);
    RegCloseKey(k);
    EXPECT_EQ((DWORD)REG_SZ, type);
    EXPECT_EQ(4u, size);
}

TEST_F(KeyboardDialog, KeysAreOnlyOpenedNeverCreated)
{
    SetUpInputPanel();
    RegDeleteTreeW(HKEY_CLASSES_ROOT, ShowKey(kTranscriber).c_str());
    RegDeleteTreeW(HKEY_CLASSES_ROOT, ShowKey(kLetter).c_str());

    RunKeyboardDialog([](HWND d) {
        EXPECT_FALSE(Checked(d, IDC_KB_SHOW_TRANSCRIBER));
        EXPECT_FALSE(Checked(d, IDC_KB_SHOW_LETTER));
        Click(d, IDC_KB_SHOW_TRANSCRIBER);
        Click(d, IDC_KB_SHOW_LETTER);
        // A missing flag is no refusal; the choice is written to the key that exists.
        Click(d, IDC_KB_LETTER_DEFAULT);
        EXPECT_EQ(0, SimMessageBoxCount());
        EXPECT_EQ(kLetter, DefaultIm());
        SendMessageW(d, WM_COMMAND, IDOK, 0);
    });
    EXPECT_FALSE(RegKeyExists(HKEY_CLASSES_ROOT, ShowKey(kTranscriber).c_str()));
    EXPECT_FALSE(RegKeyExists(HKEY_CLASSES_ROOT, ShowKey(kLetter).c_str()));

    // Without the input panel's key nothing is written, silently.
    RegDeleteTreeW(HKEY_CURRENT_USER, kSip);
    RunKeyboardDialog([](HWND d) {
        EXPECT_EQ(L"1", Field(d));
        SetDlgItemTextW(d, IDC_KB_SUGGESTED_COUNT, L"5");
        Click(d, IDC_KB_SUGGESTED);
        Click(d, IDC_KB_DRAG);
        SendMessageW(d, WM_COMMAND, IDOK, 0);
    });
    EXPECT_FALSE(RegKeyExists(HKEY_CURRENT_USER, kSip));
    EXPECT_EQ(0, SimMessageBoxCount());
}

TEST_F(KeyboardDialog, ArrowsStepTheShownCountAndTheBoxWritesIt)
{
    SetUpInputPanel();
    RunKeyboardDialog([](HWND d) {
        struct { const wchar_t *shown; bool up; const wchar_t *after; } steps[] = {
            {L"3", true, L"4"}, {L"3", false, L"2"}, {L"6", true, L"6"}, {L"0", false, L"0"},
            {L"abc", true, L"1"}, {L"abc", false, L"0"}, {L"12", true, L"6"}, {L"12", false, L"11"},
            {L"5x", true, L"6"}, {L"", true, L"1"}, {L"1234", false, L"122"},
        };
        for (auto &s : steps) {
            SetDlgItemTextW(d, IDC_KB_SUGGESTED_COUNT, s.shown);
            TapArrow(d, s.up);
            EXPECT_EQ(s.after, Field(d)) << (s.up ? "up from " : "down from ") << std::string(s.shown, s.shown + wcslen(s.shown));
        }
        // The arrows write nothing.
        DWORD stored = 0;
        EXPECT_TRUE(ReadRegDword(HKEY_CURRENT_USER, kSip, L"SuggWords", &stored));
        EXPECT_EQ(4u, stored);

        // The box writes what is typed, whatever its own check mark.
        struct { const wchar_t *typed; DWORD written; } writes[] = {
            {L"abc", 1}, {L"12", 12}, {L"0", 0}, {L"999", 999}, {L"1234", 123}, {L"-5", 1},
        };
        for (auto &w : writes) {
            SetDlgItemTextW(d, IDC_KB_SUGGESTED_COUNT, w.typed);
            Click(d, IDC_KB_SUGGESTED);
            EXPECT_TRUE(ReadRegDword(HKEY_CURRENT_USER, kSip, L"SuggWords", &stored));
            EXPECT_EQ(w.written, stored) << std::string(w.typed, w.typed + wcslen(w.typed));
        }
        SendMessageW(d, WM_COMMAND, IDOK, 0);
    });
}

TEST_F(KeyboardDialog, DragBoxWritesItsStateAndHelpExplainsIt)
{
    SetUpInputPanel();
    RunKeyboardDialog([](HWND d) {
        DWORD drag = 7;
        Click(d, IDC_KB_DRAG);
        EXPECT_TRUE(ReadRegDword(HKEY_CURRENT_USER, kSip, L"DragStyle", &drag));
        EXPECT_EQ(1u, drag);
        Click(d, IDC_KB_DRAG);
        EXPECT_TRUE(ReadRegDword(HKEY_CURRENT_USER, kSip, L"DragStyle", &drag));
        EXPECT_EQ(0u, drag);

        Click(d, IDC_KB_HELP_DRAG);
        ASSERT_EQ(1, SimMessageBoxCount());
        SimMessageBox box = LastMessageBox();
        EXPECT_EQ(L"Make this choice you can drag the keyboard so that you can see the space covered by the "
                  L"keyboard. Needed soft reset",
                  std::wstring(box.text));
        EXPECT_EQ(L"Help", std::wstring(box.caption));
        EXPECT_EQ((UINT)MB_ICONINFORMATION, box.flags);
        SendMessageW(d, WM_COMMAND, IDOK, 0);
    });
}

TEST_F(KeyboardDialog, TurningTheScreenMovesTheControlsAndKeepsTheirState)
{
    SetUpInputPanel();
    PortraitAtExit portrait;
    RunKeyboardDialog([](HWND d) {
        Click(d, IDC_KB_LETTER_DEFAULT);
        Click(d, IDC_KB_SHOW_TRANSCRIBER);
        Click(d, IDC_KB_DRAG);
        SetDlgItemTextW(d, IDC_KB_SUGGESTED_COUNT, L"5");

        // Where each layout puts two controls, in dialog units.
        struct { int shape; RECT show, help; } layouts[] = {
            {SIM_LANDSCAPE, {220, 20, 200, 14}, {396, 88, 20, 14}},
            {SIM_SQUARE, {12, 92, 400, 14}, {394, 176, 24, 14}},
            {SIM_PORTRAIT, {10, 84, 300, 14}, {290, 160, 20, 14}},
        };
        for (auto &layout : layouts) {
            ASSERT_TRUE(SimRotate(layout.shape));
            PumpMessages(50);
            SCOPED_TRACE(testing::Message() << "shape " << layout.shape);
            const RECT &show = layout.show, &help = layout.help;
            EXPECT_TRUE(SameRect(Pixels(d, show.left, show.top, show.right, show.bottom), PlaceOf(d, IDC_KB_SHOW_LETTER)));
            EXPECT_TRUE(SameRect(Pixels(d, help.left, help.top, help.right, help.bottom), PlaceOf(d, IDC_KB_HELP_DRAG)));
            EXPECT_TRUE(Checked(d, IDC_KB_LETTER_DEFAULT));
            EXPECT_FALSE(Checked(d, IDC_KB_KEYBOARD_DEFAULT));
            EXPECT_TRUE(Checked(d, IDC_KB_SHOW_LETTER));
            EXPECT_FALSE(Checked(d, IDC_KB_SHOW_TRANSCRIBER));
            EXPECT_TRUE(Checked(d, IDC_KB_DRAG));
            EXPECT_EQ(L"5", Field(d));
        }
        SendMessageW(d, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(kLetter, DefaultIm());
}

using KeyboardFromMainWindow = MainWindowTest;

TEST_F(KeyboardFromMainWindow, TheMenuCommandAndTheHotRowOpenTheDialog)
{
    ASSERT_TRUE(OpenMainWindow());
    EXPECT_EQ(L"KeyBoard Tricks", TitleOfDialogOpenedBy(WM_COMMAND, IDM_KEYBOARD, 0));
    // Its row of the portrait splash picture.
    EXPECT_EQ(L"KeyBoard Tricks", TitleOfDialogOpenedBy(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(200, 450)));
}
