// The system font page ("Collection1") through the System host. Its size and face
// boxes and spinners are the ones the menu font page shares, so their edge cases are
// tested here.
#include "font_kit.h"

namespace {

DWORD Ht() { return RegDwordOr(LM, kSysFnt, L"Ht", 99); }
std::wstring Nm() { return RegTextOr(LM, kSysFnt, L"Nm", L"(none)"); }

class SystemFontPageTest : public DeviceTest {};

}  // namespace

TEST_F(SystemFontPageTest, OpeningCreatesBothKeysWritesNothingAndShowsSizesAndNamesThatFit)
{
    DeleteRegKey(LM, kSysFnt);
    DeleteRegKey(LM, kClearTypeKey);
    // A size of another type counts as missing: size "0", ticked.
    DWORD nine = 900;
    WriteRegRaw(LM, kSysFnt, L"Ht", REG_BINARY, &nine, sizeof nine);
    RunSystemPage(TAB_SYSTEM_FONT, [](HWND page) {
        EXPECT_FALSE(IsTicked(page, IDC_SYSFONT_CLEARTYPE)) << "a missing OffOnRotation counts as 1";
        ExpectEditAndBox(page, IDC_SYSFONT_SIZE_EDIT, L"0", IDC_SYSFONT_SIZE, true);
        ExpectEditAndBox(page, IDC_SYSFONT_FACE_EDIT, L"", IDC_SYSFONT_FACE, true);
    });
    EXPECT_EQ(0, ValueCount(LM, kClearTypeKey));
    EXPECT_EQ(1, ValueCount(LM, kSysFnt));
    // Whole points of "Ht", unsigned; names are read with the room a commit writes
    // from: 49 characters and the null fit, 50 do not.
    struct {
        DWORD ht;
        const wchar_t *size;
        bool sizeTicked;
        size_t nameChars;
    } cases[] = {{999, L"9", false, 49}, {0xFFFFFF9Cu, L"42949671", true, 50}};
    for (auto &c : cases) {
        SCOPED_TRACE(c.ht);
        WriteRegDword(LM, kSysFnt, L"Ht", c.ht);
        WriteRegString(LM, kSysFnt, L"Nm", std::wstring(c.nameChars, L'n').c_str());
        RunSystemPage(TAB_SYSTEM_FONT, [&](HWND page) {
            ExpectEditAndBox(page, IDC_SYSFONT_SIZE_EDIT, c.size, IDC_SYSFONT_SIZE, c.sizeTicked);
            ExpectEditAndBox(page, IDC_SYSFONT_FACE_EDIT, c.nameChars == 49 ? std::wstring(49, L'n') : L"",
                             IDC_SYSFONT_FACE, true);
        });
    }
}

TEST_F(SystemFontPageTest, TheSizeBoxStoresTheEditsSizeFlushedClearsToNineAndRefusesNine)
{
    WriteRegDword(LM, kSysFnt, L"Ht", 900);
    struct {
        const wchar_t *edit;
        DWORD stored;
    } cases[] = {
        {L"12", 1200}, {L"abc", 11000},
        // Sizes past what "Ht" can hold stop at its limits rather than wrap round.
        {L"123456789012345", 0xFFFFFFFFu}, {L"-99999999999", 0x80000000u},
    };
    FlushRecorder flushes;
    ASSERT_TRUE(flushes.recording());
    RunSystemPage(TAB_SYSTEM_FONT, [&](HWND page) {
        int before = SimMessageBoxCount();
        for (auto &c : cases) {
            SCOPED_TRACE(c.edit);
            Commit(page, IDC_SYSFONT_SIZE_EDIT, c.edit, IDC_SYSFONT_SIZE);
            EXPECT_EQ(c.stored, Ht());
            EXPECT_TRUE(!flushes.flushes().empty() && flushes.flushes().back().Held(L"Ht", c.stored)) << "flushed";
            Tap(page, IDC_SYSFONT_SIZE);
            EXPECT_EQ(900u, Ht());
        }
        EXPECT_EQ(L"-99999999999", FieldText(page, IDC_SYSFONT_SIZE_EDIT)) << "the edit keeps its text";
        EXPECT_EQ(0, MessageBoxesSince(before));
        // Changed behind the page's back: the refusal still writes nothing.
        WriteRegDword(LM, kSysFnt, L"Ht", 1400);
        Commit(page, IDC_SYSFONT_SIZE_EDIT, L"9", IDC_SYSFONT_SIZE);
        ExpectOneBox(before, page, L"9 is default value", MB_OK, L"Please select the font size!");
        EXPECT_FALSE(IsTicked(page, IDC_SYSFONT_SIZE));
        EXPECT_EQ(1400u, Ht());
    });
}

TEST_F(SystemFontPageTest, TheFaceBoxStoresAtMostFortyNineCharactersClearsToTahomaAndRefusesTahoma)
{
    WriteRegString(LM, kSysFnt, L"Nm", L"Verdana");
    const std::wstring longest(49, L'f');
    RunSystemPage(TAB_SYSTEM_FONT, [&](HWND page) {
        Tap(page, IDC_SYSFONT_FACE);
        EXPECT_EQ(L"Tahoma", Nm()) << "cleared, Tahoma whatever the edit shows";
        Commit(page, IDC_SYSFONT_FACE_EDIT, longest + L"gh", IDC_SYSFONT_FACE);
        EXPECT_EQ(longest, Nm());
        Tap(page, IDC_SYSFONT_FACE);
        WriteRegString(LM, kSysFnt, L"Nm", L"Verdana");
        int before = SimMessageBoxCount();
        Commit(page, IDC_SYSFONT_FACE_EDIT, L"Tahoma", IDC_SYSFONT_FACE);
        ExpectOneBox(before, page, L"Tahoma is default value", MB_OK, L"Please select the system font!");
        EXPECT_FALSE(IsTicked(page, IDC_SYSFONT_FACE));
        EXPECT_EQ(L"Verdana", Nm());
        Commit(page, IDC_SYSFONT_FACE_EDIT, longest, IDC_SYSFONT_FACE);
    });
    // The longest face the box stores shows again when the page reopens.
    RunSystemPage(TAB_SYSTEM_FONT, [&](HWND page) {
        ExpectEditAndBox(page, IDC_SYSFONT_FACE_EDIT, longest, IDC_SYSFONT_FACE, true);
    });
}

TEST_F(SystemFontPageTest, SpinnersChangeOnlyTheirEditsAndTheSizeWrapsToNine)
{
    WriteRegDword(LM, kSysFnt, L"Ht", 1200);
    WriteRegString(LM, kSysFnt, L"Nm", L"Arial");
    struct {
        const wchar_t *from;
        int delta;
        const wchar_t *to;
    } sizes[] = {{L"1", 1, L"9"}, {L"20", -1, L"9"}, {L"5", 0, L"4"}, {L"abc", -1, L"1"},
                 // Four characters are read: "1234" is 123.
                 {L"1234", 1, L"122"}};
    const wchar_t *longFace = L"A face name much longer than twenty characters";
    const wchar_t *faces[][2] = {{L"Tahoma", L"Courier New"}, {L"Courier New", L"Tahoma"}, {longFace, longFace}};
    RunSystemPage(TAB_SYSTEM_FONT, [&](HWND page) {
        for (auto &c : sizes) {
            SetField(page, IDC_SYSFONT_SIZE_EDIT, c.from);
            Spin(page, IDC_SYSFONT_SIZE_SPIN, c.delta);
            EXPECT_EQ(c.to, FieldText(page, IDC_SYSFONT_SIZE_EDIT)) << testing::PrintToString(std::wstring(c.from));
        }
        for (auto &face : faces) {
            SetField(page, IDC_SYSFONT_FACE_EDIT, face[0]);
            Spin(page, IDC_SYSFONT_FACE_SPIN, 1);
            EXPECT_EQ(face[1], FieldText(page, IDC_SYSFONT_FACE_EDIT));
        }
        // The real control: its up arrow counts up.
        SetField(page, IDC_SYSFONT_SIZE_EDIT, L"9");
        PressSpinnerArrow(page, IDC_SYSFONT_SIZE_SPIN, true);
        EXPECT_EQ(L"10", FieldText(page, IDC_SYSFONT_SIZE_EDIT));
    });
    EXPECT_EQ(1200u, Ht()) << "spinning commits nothing";
    EXPECT_EQ(L"Arial", Nm());
}

TEST_F(SystemFontPageTest, AnyNotificationLaysThePageOutAgain)
{
    RunSystemPage(TAB_SYSTEM_FONT, [](HWND page) {
        SetWindowPos(GetDlgItem(page, IDC_SYSFONT_FACE_EDIT), NULL, 0, 0, 10, 10, SWP_NOZORDER);
        ASSERT_FALSE(LaidOutLike(page, IDD_SYSTEM_FONT_PAGE_PORTRAIT));
        NMHDR other = {GetDlgItem(page, IDC_SYSFONT_FACE_EDIT), IDC_SYSFONT_FACE_EDIT, (UINT)NM_CLICK};
        SendMessageW(page, WM_NOTIFY, IDC_SYSFONT_FACE_EDIT, (LPARAM)&other);
        EXPECT_TRUE(LaidOutLike(page, IDD_SYSTEM_FONT_PAGE_PORTRAIT));
    });
}

TEST_F(SystemFontPageTest, BoxesWhoseKeyCannotBeOpenedWriteNothingAndRefuseNothing)
{
    WriteRegDword(LM, kSysFnt, L"Ht", 1200);
    WriteRegString(LM, kSysFnt, L"Nm", L"Tahoma");
    RunSystemPage(TAB_SYSTEM_FONT, [](HWND page) {
        KeyLockout lockout(LM, kSysFnt);
        ASSERT_TRUE(lockout.locked());
        // Taps store nothing and say nothing, not even a refusal.
        Commit(page, IDC_SYSFONT_SIZE_EDIT, L"14", IDC_SYSFONT_SIZE);
        Commit(page, IDC_SYSFONT_FACE_EDIT, L"Tahoma", IDC_SYSFONT_FACE);
        EXPECT_TRUE(IsTicked(page, IDC_SYSFONT_FACE));
    });
    EXPECT_EQ(0, SimMessageBoxCount());
    EXPECT_EQ(1200u, Ht());
}
