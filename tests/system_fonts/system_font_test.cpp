// The system font page ("Collection1") through the System host.
#include "font_kit.h"

namespace {

const DwordBox kBoxes[] = {
    {IDC_SYSFONT_ITALIC, LM, kSysFnt, L"It", 1, 0},
    {IDC_SYSFONT_BOLD, LM, kSysFnt, L"Wt", 900, 400},
    {IDC_SYSFONT_CLEARTYPE, LM, kClearTypeKey, L"OffOnRotation", 0, 1},
    {IDC_SYSFONT_CACHE, LM, kSysFnt, L"CS", 16384, 0},
};

DWORD Ht() { return RegDwordOr(LM, kSysFnt, L"Ht", 99); }
std::wstring Nm() { return RegTextOr(LM, kSysFnt, L"Nm", L"(none)"); }

// The presets of missing values: size "0" ticked, face empty and ticked.
void ExpectSizeAndFaceMissing(HWND page)
{
    ExpectEditAndBox(page, IDC_SYSFONT_SIZE_EDIT, L"0", IDC_SYSFONT_SIZE, true);
    ExpectEditAndBox(page, IDC_SYSFONT_FACE_EDIT, L"", IDC_SYSFONT_FACE, true);
}

class SystemFontPageTest : public DeviceTest {};

}  // namespace

TEST_F(SystemFontPageTest, OpeningCreatesBothKeysAndMissingOrUnusableValuesShowTheirPresets)
{
    DeleteRegKey(LM, kSysFnt);
    DeleteRegKey(LM, kClearTypeKey);
    RunSystemPage(TAB_SYSTEM_FONT, [](HWND page) {
        for (const DwordBox &box : kBoxes) EXPECT_FALSE(IsTicked(page, box.box)) << box.name;
        ExpectSizeAndFaceMissing(page);
    });
    // The keys are made, but nothing is written just by looking.
    EXPECT_TRUE(RegKeyExists(LM, kSysFnt));
    EXPECT_TRUE(RegKeyExists(LM, kClearTypeKey));
    EXPECT_TRUE(ValueNames(LM, kSysFnt).empty());
    EXPECT_TRUE(ValueNames(LM, kClearTypeKey).empty());
    EXPECT_EQ(0, SimMessageBoxCount());
    // A bad value for a box's row and for the size; which shapes a reader refuses, the
    // registry helpers' own tests tell.
    DWORD zero = 0, nine = 900;
    WriteRegRaw(LM, kClearTypeKey, L"OffOnRotation", REG_DWORD, &zero, 2);
    WriteRegRaw(LM, kSysFnt, L"Ht", REG_BINARY, &nine, sizeof nine);
    RunSystemPage(TAB_SYSTEM_FONT, [](HWND page) {
        EXPECT_FALSE(IsTicked(page, IDC_SYSFONT_CLEARTYPE));
        ExpectSizeAndFaceMissing(page);
    });
    // Names read into 50 bytes: 24 characters and the null fit, 25 do not; a name
    // without its null never counts.
    struct {
        std::wstring stored;
        bool terminated;
        std::wstring shown;
    } names[] = {
        {std::wstring(24, L'n'), true, std::wstring(24, L'n')},
        {std::wstring(25, L'n'), true, L""},
        {L"Tahoma" + std::wstring(30, L' '), true, L""},
        {L"Tahoma", false, L""},
    };
    for (auto &c : names) {
        SCOPED_TRACE(c.stored.size());
        if (c.terminated)
            WriteRegString(LM, kSysFnt, L"Nm", c.stored.c_str());
        else
            WriteUnterminated(LM, kSysFnt, L"Nm", c.stored);
        RunSystemPage(TAB_SYSTEM_FONT, [&](HWND page) {
            ExpectEditAndBox(page, IDC_SYSFONT_FACE_EDIT, c.shown, IDC_SYSFONT_FACE, true);
        });
    }
}

TEST_F(SystemFontPageTest, CheckBoxesStartFromTheirStoredValuesAndWriteBothStates)
{
    CheckDwordBoxes(RunSystemPage, TAB_SYSTEM_FONT, kBoxes, 4);
    EXPECT_EQ(0, SimBroadcastCount()) << "the page tells nobody";
    // Read as "CS", written as "Cs": one value. The device's own "cS" ticks the box too.
    DeleteRegValue(LM, kSysFnt, L"CS");
    WriteRegDword(LM, kSysFnt, L"cS", 16384);
    RunSystemPage(TAB_SYSTEM_FONT, [](HWND page) {
        EXPECT_TRUE(IsTicked(page, IDC_SYSFONT_CACHE));
        Tap(page, IDC_SYSFONT_CACHE);
        EXPECT_EQ(0u, RegDwordOr(LM, kSysFnt, L"CS", 99));
        Tap(page, IDC_SYSFONT_CACHE);
    });
    EXPECT_EQ(16384u, RegDwordOr(LM, kSysFnt, L"CS", 99));
    EXPECT_EQ(1, CountValuesNamed(LM, kSysFnt, L"cs"));
}

TEST_F(SystemFontPageTest, TheSizeEditShowsHtInPointsDividedAsUnsigned)
{
    struct {
        bool stored;
        DWORD ht;
        const wchar_t *shown;
        bool ticked;
    } cases[] = {
        {true, 900, L"9", false}, {true, 999, L"9", false}, {true, 1250, L"12", true}, {true, 899, L"8", true},
        {true, 0, L"0", true},    {false, 0, L"0", true},   {true, 0xFFFFFF9Cu, L"42949671", true},
    };
    for (auto &c : cases) {
        SCOPED_TRACE(c.ht);
        if (c.stored)
            WriteRegDword(LM, kSysFnt, L"Ht", c.ht);
        else
            DeleteRegValue(LM, kSysFnt, L"Ht");
        RunSystemPage(TAB_SYSTEM_FONT, [&](HWND page) {
            ExpectEditAndBox(page, IDC_SYSFONT_SIZE_EDIT, c.shown, IDC_SYSFONT_SIZE, c.ticked);
        });
    }
}

TEST_F(SystemFontPageTest, TickingFontSizeStoresTheEditsSizeAndClearingItStoresNine)
{
    WriteRegDword(LM, kSysFnt, L"Ht", 900);
    struct {
        const wchar_t *edit;
        DWORD stored;
    } cases[] = {
        {L"12", 1200}, {L"", 11000}, {L"abc", 11000}, {L" 15pt", 1500}, {L"+7", 700}, {L"-3", (DWORD)-300},
        // Sizes past what "Ht" can hold stop at its limits.
        {L"123456789012345", 0xFFFFFFFFu}, {L"-99999999999", 0x80000000u},
    };
    RunSystemPage(TAB_SYSTEM_FONT, [&](HWND page) {
        ASSERT_FALSE(IsTicked(page, IDC_SYSFONT_SIZE));
        for (auto &c : cases) {
            SCOPED_TRACE(c.edit);
            SetField(page, IDC_SYSFONT_SIZE_EDIT, c.edit);
            Tap(page, IDC_SYSFONT_SIZE);
            EXPECT_TRUE(IsTicked(page, IDC_SYSFONT_SIZE));
            EXPECT_EQ(c.stored, Ht());
            Tap(page, IDC_SYSFONT_SIZE);
            EXPECT_EQ(900u, Ht());
            EXPECT_EQ(c.edit, FieldText(page, IDC_SYSFONT_SIZE_EDIT)) << "the edit keeps its text";
        }
    });
    EXPECT_EQ(0, SimMessageBoxCount());
}

TEST_F(SystemFontPageTest, TickingTheDefaultSizeIsRefusedAndLeavesTheRegistryAsItWas)
{
    WriteRegDword(LM, kSysFnt, L"Ht", 950);
    RunSystemPage(TAB_SYSTEM_FONT, [](HWND page) {
        ExpectEditAndBox(page, IDC_SYSFONT_SIZE_EDIT, L"9", IDC_SYSFONT_SIZE, false);
        for (const wchar_t *nine : {L"9", L"09", L" 9 "}) {
            SCOPED_TRACE(nine);
            // Changed behind the page's back: a refusal still writes nothing.
            WriteRegDword(LM, kSysFnt, L"Ht", nine[0] == L'0' ? 1400 : 950);
            SetField(page, IDC_SYSFONT_SIZE_EDIT, nine);
            int before = SimMessageBoxCount();
            Tap(page, IDC_SYSFONT_SIZE);
            ExpectRefusal(before, page, L"9 is default value", L"Please select the font size!");
            EXPECT_FALSE(IsTicked(page, IDC_SYSFONT_SIZE));
            EXPECT_EQ(nine[0] == L'0' ? 1400u : 950u, Ht());
        }
    });
}

TEST_F(SystemFontPageTest, TheFaceBoxStoresTheEditsFaceRefusesTahomaAndClearsToTahoma)
{
    WriteRegString(LM, kSysFnt, L"Nm", L"Tahoma");
    std::wstring longest(49, L'f');
    RunSystemPage(TAB_SYSTEM_FONT, [&](HWND page) {
        ExpectEditAndBox(page, IDC_SYSFONT_FACE_EDIT, L"Tahoma", IDC_SYSFONT_FACE, false);
        struct {
            std::wstring edit, stored;
        } cases[] = {{L"Courier New", L"Courier New"}, {L"tahoma", L"tahoma"}, {L"", L""},
                     {longest, longest}, {longest + L"gh", longest}};
        for (auto &c : cases) {
            SCOPED_TRACE(c.edit.c_str());
            SetField(page, IDC_SYSFONT_FACE_EDIT, c.edit.c_str());
            Tap(page, IDC_SYSFONT_FACE);
            EXPECT_EQ(c.stored, Nm());
            DWORD type = 0, bytes = 0;
            EXPECT_TRUE(RegValueShape(LM, kSysFnt, L"Nm", &type, &bytes));
            EXPECT_EQ((DWORD)REG_SZ, type);
            EXPECT_EQ((c.stored.size() + 1) * sizeof(wchar_t), bytes) << "the null counted";
            // Cleared, Tahoma whatever the edit shows.
            SetField(page, IDC_SYSFONT_FACE_EDIT, L"Arial");
            Tap(page, IDC_SYSFONT_FACE);
            EXPECT_EQ(L"Tahoma", Nm());
            EXPECT_EQ(L"Arial", FieldText(page, IDC_SYSFONT_FACE_EDIT));
        }
        // Tahoma itself is refused, even when another face is stored.
        WriteRegString(LM, kSysFnt, L"Nm", L"Verdana");
        SetField(page, IDC_SYSFONT_FACE_EDIT, L"Tahoma");
        int before = SimMessageBoxCount();
        Tap(page, IDC_SYSFONT_FACE);
        ExpectRefusal(before, page, L"Tahoma is default value", L"Please select the system font!");
        EXPECT_FALSE(IsTicked(page, IDC_SYSFONT_FACE));
        EXPECT_EQ(L"Verdana", Nm());
    });
    // Reopened, a stored face shows and ticks the box.
    WriteRegString(LM, kSysFnt, L"Nm", L"Courier New");
    RunSystemPage(TAB_SYSTEM_FONT, [](HWND page) {
        ExpectEditAndBox(page, IDC_SYSFONT_FACE_EDIT, L"Courier New", IDC_SYSFONT_FACE, true);
    });
}

// The size spinner's arithmetic is the menu font's and the graphics page's too; those
// pages' tests check only their own range and wrap.
TEST_F(SystemFontPageTest, SpinnersChangeOnlyTheirEditsAndTheSizeWrapsToNine)
{
    WriteRegDword(LM, kSysFnt, L"Ht", 1200);
    WriteRegString(LM, kSysFnt, L"Nm", L"Arial");
    struct {
        const wchar_t *from;
        int delta;
        const wchar_t *to;
    } sizes[] = {
        {L"1", 1, L"9"},   {L"20", -1, L"9"}, {L"9", -1, L"10"}, {L"9", 1, L"8"},     {L"19", -1, L"20"},
        {L"5", 0, L"4"},   {L"", -1, L"1"},   {L"", 1, L"9"},    {L"abc", -1, L"1"},  {L"21", 1, L"20"},
        {L"21", -3, L"9"}, {L"1234", 1, L"122"}, {L"-5", 1, L"9"},
    };
    const wchar_t *longFace = L"A face name much longer than twenty characters";
    struct {
        const wchar_t *from, *to;
    } faces[] = {{L"Tahoma", L"Courier New"}, {L"Courier New", L"Tahoma"}, {L"Arial", L"Arial"},
                 {L"tahoma", L"tahoma"}, {L"", L""}, {longFace, longFace}};
    RunSystemPage(TAB_SYSTEM_FONT, [&](HWND page) {
        for (auto &c : sizes) {
            SetField(page, IDC_SYSFONT_SIZE_EDIT, c.from);
            Spin(page, IDC_SYSFONT_SIZE_SPIN, c.delta);
            EXPECT_EQ(c.to, FieldText(page, IDC_SYSFONT_SIZE_EDIT))
                << testing::PrintToString(std::wstring(c.from)) << " by " << c.delta;
        }
        for (auto &c : faces) {
            for (int delta : {1, -1}) {
                SetField(page, IDC_SYSFONT_FACE_EDIT, c.from);
                Spin(page, IDC_SYSFONT_FACE_SPIN, delta);
                EXPECT_EQ(c.to, FieldText(page, IDC_SYSFONT_FACE_EDIT)) << testing::PrintToString(std::wstring(c.from));
            }
        }
        EXPECT_TRUE(IsTicked(page, IDC_SYSFONT_SIZE));
        EXPECT_TRUE(IsTicked(page, IDC_SYSFONT_FACE));
        // The real control: its up arrow counts up.
        SetField(page, IDC_SYSFONT_SIZE_EDIT, L"9");
        PressSpinnerArrow(page, IDC_SYSFONT_SIZE_SPIN, true);
        EXPECT_EQ(L"10", FieldText(page, IDC_SYSFONT_SIZE_EDIT));
        PressSpinnerArrow(page, IDC_SYSFONT_SIZE_SPIN, false);
        PressSpinnerArrow(page, IDC_SYSFONT_SIZE_SPIN, false);
        EXPECT_EQ(L"8", FieldText(page, IDC_SYSFONT_SIZE_EDIT));
    });
    EXPECT_EQ(1200u, Ht()) << "spinning commits nothing";
    EXPECT_EQ(L"Arial", Nm());
}

TEST_F(SystemFontPageTest, HelpButtonsExplainTheirTweaks)
{
    RunSystemPage(TAB_SYSTEM_FONT, [](HWND page) {
        ExpectHelpBox(page, IDC_SYSFONT_HELP_SIZE, MB_OK,
                      L"To change the font size, select the desired font size and then check the check box, if the "
                      L"check box has been selected yet, please uncheck it before select the font size.");
        ExpectHelpBox(page, IDC_SYSFONT_HELP_CLEARTYPE, MB_OK, L"This option only works in Windows Mobile 2003SE.");
        ExpectHelpBox(page, IDC_SYSFONT_HELP_CACHE, MB_OK,
                      L"This option can speed up font rendering at the cost of a bit of memory.");
    });
}

TEST_F(SystemFontPageTest, AnyNotificationLaysThePageOutAgain)
{
    RunSystemPage(TAB_SYSTEM_FONT, [](HWND page) {
        SetWindowPos(GetDlgItem(page, IDC_SYSFONT_FACE_EDIT), NULL, 0, 0, 10, 10, SWP_NOZORDER);
        ASSERT_FALSE(LaidOutLike(page, IDD_SYSTEM_FONT_PAGE_PORTRAIT, true));
        NMHDR other = {GetDlgItem(page, IDC_SYSFONT_FACE_EDIT), IDC_SYSFONT_FACE_EDIT, (UINT)NM_CLICK};
        SendMessageW(page, WM_NOTIFY, IDC_SYSFONT_FACE_EDIT, (LPARAM)&other);
        EXPECT_TRUE(LaidOutLike(page, IDD_SYSTEM_FONT_PAGE_PORTRAIT, true));
    });
}

TEST_F(SystemFontPageTest, AKeyThatCannotBeOpenedStopsTheReadingThereAndTapsWriteNothing)
{
    for (const DwordBox &box : kBoxes) WriteRegDword(LM, box.key, box.name, box.ticked);
    WriteRegDword(LM, kSysFnt, L"Ht", 1200);
    WriteRegString(LM, kSysFnt, L"Nm", L"Arial");
    {
        // The third row's key: the first two rows are read, nothing after them.
        KeyLockout lockout(LM, kClearTypeKey);
        ASSERT_TRUE(lockout.locked());
        RunSystemPage(TAB_SYSTEM_FONT, [](HWND page) {
            for (const DwordBox &box : kBoxes) EXPECT_EQ(&box < kBoxes + 2, IsTicked(page, box.box)) << box.name;
            ExpectEditAndBox(page, IDC_SYSFONT_SIZE_EDIT, L"", IDC_SYSFONT_SIZE, false);
            ExpectEditAndBox(page, IDC_SYSFONT_FACE_EDIT, L"", IDC_SYSFONT_FACE, false);
            Tap(page, IDC_SYSFONT_CLEARTYPE);
            EXPECT_TRUE(IsTicked(page, IDC_SYSFONT_CLEARTYPE));
        });
    }
    EXPECT_EQ(0u, RegDwordOr(LM, kClearTypeKey, L"OffOnRotation", 99));
    {
        KeyLockout lockout(LM, kSysFnt);
        ASSERT_TRUE(lockout.locked());
        RunSystemPage(TAB_SYSTEM_FONT, [](HWND page) {
            EXPECT_FALSE(IsTicked(page, IDC_SYSFONT_ITALIC));
            // Taps store nothing and say nothing, not even a refusal; the boxes keep
            // their new state.
            Tap(page, IDC_SYSFONT_ITALIC);
            SetField(page, IDC_SYSFONT_SIZE_EDIT, L"9");
            Tap(page, IDC_SYSFONT_SIZE);
            SetField(page, IDC_SYSFONT_FACE_EDIT, L"Tahoma");
            Tap(page, IDC_SYSFONT_FACE);
            for (UINT box : {IDC_SYSFONT_ITALIC, IDC_SYSFONT_SIZE, IDC_SYSFONT_FACE}) EXPECT_TRUE(IsTicked(page, box));
        });
    }
    EXPECT_EQ(0, SimMessageBoxCount());
    EXPECT_EQ(1u, RegDwordOr(LM, kSysFnt, L"It", 99));
    EXPECT_EQ(1200u, Ht());
    EXPECT_EQ(L"Arial", Nm());
}
