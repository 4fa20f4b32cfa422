// The system font page ("Collection1") through the System host.
#include "font_kit.h"

namespace {

const DwordBox kBoxes[] = {
    {IDC_SYSFONT_ITALIC, HKEY_LOCAL_MACHINE, kSysFnt, L"It", 1, 0},
    {IDC_SYSFONT_BOLD, HKEY_LOCAL_MACHINE, kSysFnt, L"Wt", 900, 400},
    {IDC_SYSFONT_CLEARTYPE, HKEY_LOCAL_MACHINE, kClearTypeKey, L"OffOnRotation", 0, 1},
    {IDC_SYSFONT_CACHE, HKEY_LOCAL_MACHINE, kSysFnt, L"CS", 16384, 0},
};

void DeleteFontKeys()
{
    DeleteRegKey(HKEY_LOCAL_MACHINE, kSysFnt);
    DeleteRegKey(HKEY_LOCAL_MACHINE, kClearTypeKey);
}

DWORD Ht(DWORD otherwise = 99) { return RegDwordOr(HKEY_LOCAL_MACHINE, kSysFnt, L"Ht", otherwise); }
std::wstring Nm() { return RegTextOr(HKEY_LOCAL_MACHINE, kSysFnt, L"Nm", L"(none)"); }

class SystemFontPageTest : public DeviceTest {};

}  // namespace

TEST_F(SystemFontPageTest, OpeningCreatesBothKeysAndMissingValuesShowTheirPresets)
{
    DeleteFontKeys();
    int boxes = SimMessageBoxCount();
    RunSystemPage(TAB_SYSTEM_FONT, [](HWND page) {
        EXPECT_FALSE(IsTicked(page, IDC_SYSFONT_ITALIC));
        EXPECT_FALSE(IsTicked(page, IDC_SYSFONT_BOLD));
        EXPECT_FALSE(IsTicked(page, IDC_SYSFONT_CLEARTYPE)) << "a missing OffOnRotation counts as 1";
        EXPECT_FALSE(IsTicked(page, IDC_SYSFONT_CACHE));
        EXPECT_EQ(L"0", FieldText(page, IDC_SYSFONT_SIZE_EDIT));
        EXPECT_TRUE(IsTicked(page, IDC_SYSFONT_SIZE));
        EXPECT_EQ(L"", FieldText(page, IDC_SYSFONT_FACE_EDIT));
        EXPECT_TRUE(IsTicked(page, IDC_SYSFONT_FACE));
    });
    // The keys are made, but nothing is written just by looking.
    EXPECT_TRUE(RegKeyExists(HKEY_LOCAL_MACHINE, kSysFnt));
    EXPECT_TRUE(RegKeyExists(HKEY_LOCAL_MACHINE, kClearTypeKey));
    EXPECT_TRUE(ValueNames(HKEY_LOCAL_MACHINE, kSysFnt).empty());
    EXPECT_TRUE(ValueNames(HKEY_LOCAL_MACHINE, kClearTypeKey).empty());
    EXPECT_EQ(0, MessageBoxesSince(boxes));
}

TEST_F(SystemFontPageTest, CheckBoxesStartFromTheirStoredValuesAndWriteBothStates)
{
    int broadcasts = SimBroadcastCount();
    CheckDwordBoxes(RunSystemPage, TAB_SYSTEM_FONT, kBoxes, 4);
    EXPECT_EQ(0, SimBroadcastCount() - broadcasts) << "the page tells nobody";
    // Read as "CS", written as "Cs": one value.
    RunSystemPage(TAB_SYSTEM_FONT, [](HWND page) { Tap(page, IDC_SYSFONT_CACHE); });
    EXPECT_EQ(16384u, RegDwordOr(HKEY_LOCAL_MACHINE, kSysFnt, L"CS", 99));
    EXPECT_EQ(1, CountValuesNamed(HKEY_LOCAL_MACHINE, kSysFnt, L"cs"));
    // The factory "CS" of the device, in its own case, ticks the cache box too.
    DeleteRegValue(HKEY_LOCAL_MACHINE, kSysFnt, L"CS");
    WriteRegDword(HKEY_LOCAL_MACHINE, kSysFnt, L"cS", 16384);
    RunSystemPage(TAB_SYSTEM_FONT, [](HWND page) {
        EXPECT_TRUE(IsTicked(page, IDC_SYSFONT_CACHE));
        Tap(page, IDC_SYSFONT_CACHE);
    });
    EXPECT_EQ(0u, RegDwordOr(HKEY_LOCAL_MACHINE, kSysFnt, L"CS", 99));
    EXPECT_EQ(1, CountValuesNamed(HKEY_LOCAL_MACHINE, kSysFnt, L"cs"));
}

TEST_F(SystemFontPageTest, TheSizeEditShowsHtInPointsDividedAsUnsigned)
{
    struct {
        bool stored;
        DWORD ht;
        const wchar_t *shown;
        bool ticked;
    } cases[] = {
        {true, 900, L"9", false},   {true, 999, L"9", false},  {true, 1250, L"12", true}, {true, 899, L"8", true},
        {true, 0, L"0", true},      {false, 0, L"0", true},    {true, 0xFFFFFF9Cu, L"42949671", true},
        {true, 0xFFFFFFFFu, L"42949672", true},
    };
    for (auto &c : cases) {
        SCOPED_TRACE(c.ht);
        if (c.stored)
            WriteRegDword(HKEY_LOCAL_MACHINE, kSysFnt, L"Ht", c.ht);
        else
            DeleteRegValue(HKEY_LOCAL_MACHINE, kSysFnt, L"Ht");
        RunSystemPage(TAB_SYSTEM_FONT, [&](HWND page) {
            EXPECT_EQ(c.shown, FieldText(page, IDC_SYSFONT_SIZE_EDIT));
            EXPECT_EQ(c.ticked, IsTicked(page, IDC_SYSFONT_SIZE));
        });
    }
}

TEST_F(SystemFontPageTest, TickingFontSizeStoresTheEditsSizeAndClearingItStoresNine)
{
    WriteRegDword(HKEY_LOCAL_MACHINE, kSysFnt, L"Ht", 900);
    struct {
        const wchar_t *edit;
        DWORD stored;
    } cases[] = {
        {L"12", 1200},           {L"", 11000},      {L"abc", 11000},         {L" 15pt", 1500},
        {L"+7", 700},            {L"-3", (DWORD)-300}, {L"20", 2000},        {L"123456789012345", 0xFFFFFFFFu},
        {L"-99999999999", 0x80000000u},
    };
    int boxes = SimMessageBoxCount();
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
    EXPECT_EQ(0, MessageBoxesSince(boxes));
    EXPECT_EQ(REG_DWORD, StoredValueOf(HKEY_LOCAL_MACHINE, kSysFnt, L"Ht").type);
}

TEST_F(SystemFontPageTest, TickingTheDefaultSizeIsRefusedAndLeavesTheRegistryAsItWas)
{
    WriteRegDword(HKEY_LOCAL_MACHINE, kSysFnt, L"Ht", 950);
    RunSystemPage(TAB_SYSTEM_FONT, [](HWND page) {
        ASSERT_EQ(L"9", FieldText(page, IDC_SYSFONT_SIZE_EDIT));
        ASSERT_FALSE(IsTicked(page, IDC_SYSFONT_SIZE));
        for (const wchar_t *nine : {L"9", L"09", L" 9 "}) {
            SCOPED_TRACE(nine);
            SetField(page, IDC_SYSFONT_SIZE_EDIT, nine);
            int before = SimMessageBoxCount();
            Tap(page, IDC_SYSFONT_SIZE);
            ASSERT_EQ(1, MessageBoxesSince(before));
            SimMessageBox shown = LastMessageBox();
            EXPECT_STREQ(L"Please select the font size!", shown.text);
            EXPECT_STREQ(L"9 is default value", shown.caption);
            EXPECT_EQ((UINT)MB_OK, shown.flags);
            EXPECT_EQ(page, shown.owner);
            EXPECT_FALSE(IsTicked(page, IDC_SYSFONT_SIZE));
            EXPECT_EQ(950u, Ht());
        }
        // Changed behind the page's back: a refusal still writes nothing.
        WriteRegDword(HKEY_LOCAL_MACHINE, kSysFnt, L"Ht", 1400);
        Tap(page, IDC_SYSFONT_SIZE);
        EXPECT_EQ(1400u, Ht());
        EXPECT_FALSE(IsTicked(page, IDC_SYSFONT_SIZE));
    });
}

TEST_F(SystemFontPageTest, TheFaceBoxStoresTheEditsFaceRefusesTahomaAndClearsToTahoma)
{
    WriteRegString(HKEY_LOCAL_MACHINE, kSysFnt, L"Nm", L"Tahoma");
    std::wstring longest(49, L'f');
    RunSystemPage(TAB_SYSTEM_FONT, [&](HWND page) {
        EXPECT_EQ(L"Tahoma", FieldText(page, IDC_SYSFONT_FACE_EDIT));
        ASSERT_FALSE(IsTicked(page, IDC_SYSFONT_FACE));
        struct {
            std::wstring edit, stored;
        } cases[] = {{L"Courier New", L"Courier New"}, {L"tahoma", L"tahoma"}, {L"", L""},
                     {longest, longest}, {longest + L"gh", longest}};
        for (auto &c : cases) {
            SCOPED_TRACE(c.edit.c_str());
            SetField(page, IDC_SYSFONT_FACE_EDIT, c.edit.c_str());
            Tap(page, IDC_SYSFONT_FACE);
            EXPECT_EQ(c.stored, Nm());
            StoredValue value = StoredValueOf(HKEY_LOCAL_MACHINE, kSysFnt, L"Nm");
            EXPECT_EQ((DWORD)REG_SZ, value.type);
            EXPECT_EQ((c.stored.size() + 1) * sizeof(wchar_t), value.bytes) << "the null counted";
            // Cleared, Tahoma whatever the edit shows.
            SetField(page, IDC_SYSFONT_FACE_EDIT, L"Arial");
            Tap(page, IDC_SYSFONT_FACE);
            EXPECT_EQ(L"Tahoma", Nm());
            EXPECT_EQ(L"Arial", FieldText(page, IDC_SYSFONT_FACE_EDIT));
        }
        // Tahoma itself is refused, even when another face is stored.
        WriteRegString(HKEY_LOCAL_MACHINE, kSysFnt, L"Nm", L"Verdana");
        SetField(page, IDC_SYSFONT_FACE_EDIT, L"Tahoma");
        int before = SimMessageBoxCount();
        Tap(page, IDC_SYSFONT_FACE);
        ASSERT_EQ(1, MessageBoxesSince(before));
        EXPECT_STREQ(L"Please select the system font!", LastMessageBox().text);
        EXPECT_STREQ(L"Tahoma is default value", LastMessageBox().caption);
        EXPECT_EQ((UINT)MB_OK, LastMessageBox().flags);
        EXPECT_FALSE(IsTicked(page, IDC_SYSFONT_FACE));
        EXPECT_EQ(L"Verdana", Nm());
    });
    // Reopened, a stored face shows and ticks the box.
    WriteRegString(HKEY_LOCAL_MACHINE, kSysFnt, L"Nm", L"Courier New");
    RunSystemPage(TAB_SYSTEM_FONT, [](HWND page) {
        EXPECT_EQ(L"Courier New", FieldText(page, IDC_SYSFONT_FACE_EDIT));
        EXPECT_TRUE(IsTicked(page, IDC_SYSFONT_FACE));
    });
}

TEST_F(SystemFontPageTest, SpinnersChangeOnlyTheirEditsAndTheSizeWrapsToNine)
{
    WriteRegDword(HKEY_LOCAL_MACHINE, kSysFnt, L"Ht", 1200);
    WriteRegString(HKEY_LOCAL_MACHINE, kSysFnt, L"Nm", L"Arial");
    struct {
        const wchar_t *from;
        int delta;
        const wchar_t *to;
    } sizes[] = {
        {L"1", 1, L"9"},   {L"20", -1, L"9"}, {L"9", -1, L"10"}, {L"9", 1, L"8"},  {L"19", -1, L"20"},
        {L"2", 1, L"1"},   {L"5", 0, L"4"},   {L"", -1, L"1"},   {L"", 1, L"9"},   {L"abc", -1, L"1"},
        {L"21", 1, L"20"}, {L"21", -3, L"9"}, {L"1234", 1, L"122"}, {L"-5", 1, L"9"},
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
    CheckHelpButton(RunSystemPage, TAB_SYSTEM_FONT, IDC_SYSFONT_HELP_SIZE,
                    L"To change the font size, select the desired font size and then check the check box, if the "
                    L"check box has been selected yet, please uncheck it before select the font size.");
    CheckHelpButton(RunSystemPage, TAB_SYSTEM_FONT, IDC_SYSFONT_HELP_CLEARTYPE,
                    L"This option only works in Windows Mobile 2003SE.");
    CheckHelpButton(RunSystemPage, TAB_SYSTEM_FONT, IDC_SYSFONT_HELP_CACHE,
                    L"This option can speed up font rendering at the cost of a bit of memory.");
    EXPECT_EQ((UINT)MB_OK, LastMessageBox().flags);
}

TEST_F(SystemFontPageTest, UnreadableValuesCountAsMissing)
{
    DWORD one = 1, zero = 0, nine = 900;
    unsigned long long wide = 16384;
    WriteRegRaw(HKEY_LOCAL_MACHINE, kSysFnt, L"It", REG_BINARY, &one, sizeof one);
    WriteTextOfType(HKEY_LOCAL_MACHINE, kSysFnt, L"Wt", REG_SZ, L"900");
    WriteRegRaw(HKEY_LOCAL_MACHINE, kClearTypeKey, L"OffOnRotation", REG_DWORD, &zero, 2);
    WriteRegRaw(HKEY_LOCAL_MACHINE, kSysFnt, L"CS", REG_QWORD, &wide, sizeof wide);
    WriteRegRaw(HKEY_LOCAL_MACHINE, kSysFnt, L"Ht", REG_BINARY, &nine, sizeof nine);
    WriteTextOfType(HKEY_LOCAL_MACHINE, kSysFnt, L"Nm", REG_EXPAND_SZ, L"Tahoma");
    RunSystemPage(TAB_SYSTEM_FONT, [](HWND page) {
        EXPECT_FALSE(IsTicked(page, IDC_SYSFONT_ITALIC));
        EXPECT_FALSE(IsTicked(page, IDC_SYSFONT_BOLD));
        EXPECT_FALSE(IsTicked(page, IDC_SYSFONT_CLEARTYPE));
        EXPECT_FALSE(IsTicked(page, IDC_SYSFONT_CACHE));
        EXPECT_EQ(L"0", FieldText(page, IDC_SYSFONT_SIZE_EDIT));
        EXPECT_TRUE(IsTicked(page, IDC_SYSFONT_SIZE));
        EXPECT_EQ(L"", FieldText(page, IDC_SYSFONT_FACE_EDIT));
        EXPECT_TRUE(IsTicked(page, IDC_SYSFONT_FACE));
    });
    // Names read into 50 bytes: 24 characters and the null fit, 25 do not; a name
    // without its null never counts.
    struct {
        std::wstring stored;
        bool terminated;
        const wchar_t *shown;
        bool ticked;
    } names[] = {
        {std::wstring(24, L'n'), true, nullptr, true},
        {std::wstring(25, L'n'), true, L"", true},
        {L"Tahoma" + std::wstring(30, L' '), true, L"", true},
        {L"Tahoma", false, L"", true},
        {std::wstring(25, L'n'), false, L"", true},
        {L"Tahoma", true, L"Tahoma", false},
    };
    for (auto &c : names) {
        SCOPED_TRACE(c.stored.size());
        if (c.terminated)
            WriteRegString(HKEY_LOCAL_MACHINE, kSysFnt, L"Nm", c.stored.c_str());
        else
            WriteUnterminated(HKEY_LOCAL_MACHINE, kSysFnt, L"Nm", c.stored);
        RunSystemPage(TAB_SYSTEM_FONT, [&](HWND page) {
            EXPECT_EQ(c.shown ? std::wstring(c.shown) : c.stored, FieldText(page, IDC_SYSFONT_FACE_EDIT));
            EXPECT_EQ(c.ticked, IsTicked(page, IDC_SYSFONT_FACE));
        });
    }
}

TEST_F(SystemFontPageTest, AnyNotificationLaysThePageOutAgain)
{
    RunSystemPage(TAB_SYSTEM_FONT, [](HWND page) {
        // Portrait: the layout of the portrait variant.
        ExpectAt(page, IDC_SYSFONT_FACE_EDIT, 96, 123, 150, 14);
        SetWindowPos(GetDlgItem(page, IDC_SYSFONT_FACE_EDIT), NULL, 0, 0, 10, 10, SWP_NOZORDER);
        NMHDR other = {GetDlgItem(page, IDC_SYSFONT_FACE_EDIT), IDC_SYSFONT_FACE_EDIT, (UINT)NM_CLICK};
        SendMessageW(page, WM_NOTIFY, IDC_SYSFONT_FACE_EDIT, (LPARAM)&other);
        ExpectAt(page, IDC_SYSFONT_FACE_EDIT, 96, 123, 150, 14);
    });
}

TEST_F(SystemFontPageTest, AKeyThatCannotBeOpenedStopsTheReadingThereAndTapsWriteNothing)
{
    WriteRegDword(HKEY_LOCAL_MACHINE, kSysFnt, L"It", 1);
    WriteRegDword(HKEY_LOCAL_MACHINE, kSysFnt, L"Wt", 900);
    WriteRegDword(HKEY_LOCAL_MACHINE, kClearTypeKey, L"OffOnRotation", 0);
    WriteRegDword(HKEY_LOCAL_MACHINE, kSysFnt, L"CS", 16384);
    WriteRegDword(HKEY_LOCAL_MACHINE, kSysFnt, L"Ht", 1200);
    WriteRegString(HKEY_LOCAL_MACHINE, kSysFnt, L"Nm", L"Arial");
    int boxes = SimMessageBoxCount();
    {
        // The third row's key: the first two rows are read, nothing after them.
        KeyLockout lockout(HKEY_LOCAL_MACHINE, kClearTypeKey);
        ASSERT_TRUE(lockout.locked());
        RunSystemPage(TAB_SYSTEM_FONT, [](HWND page) {
            EXPECT_TRUE(IsTicked(page, IDC_SYSFONT_ITALIC));
            EXPECT_TRUE(IsTicked(page, IDC_SYSFONT_BOLD));
            EXPECT_FALSE(IsTicked(page, IDC_SYSFONT_CLEARTYPE));
            EXPECT_FALSE(IsTicked(page, IDC_SYSFONT_CACHE));
            EXPECT_EQ(L"", FieldText(page, IDC_SYSFONT_SIZE_EDIT));
            EXPECT_FALSE(IsTicked(page, IDC_SYSFONT_SIZE));
            EXPECT_EQ(L"", FieldText(page, IDC_SYSFONT_FACE_EDIT));
            EXPECT_FALSE(IsTicked(page, IDC_SYSFONT_FACE));
            Tap(page, IDC_SYSFONT_CLEARTYPE);
            EXPECT_TRUE(IsTicked(page, IDC_SYSFONT_CLEARTYPE));
        });
    }
    EXPECT_EQ(0u, RegDwordOr(HKEY_LOCAL_MACHINE, kClearTypeKey, L"OffOnRotation", 99));
    {
        KeyLockout lockout(HKEY_LOCAL_MACHINE, kSysFnt);
        ASSERT_TRUE(lockout.locked());
        RunSystemPage(TAB_SYSTEM_FONT, [](HWND page) {
            EXPECT_FALSE(IsTicked(page, IDC_SYSFONT_ITALIC));
            EXPECT_EQ(L"", FieldText(page, IDC_SYSFONT_SIZE_EDIT));
            // Taps store nothing and say nothing, not even a refusal; the boxes keep
            // their new state.
            Tap(page, IDC_SYSFONT_ITALIC);
            SetField(page, IDC_SYSFONT_SIZE_EDIT, L"9");
            Tap(page, IDC_SYSFONT_SIZE);
            SetField(page, IDC_SYSFONT_FACE_EDIT, L"Tahoma");
            Tap(page, IDC_SYSFONT_FACE);
            EXPECT_TRUE(IsTicked(page, IDC_SYSFONT_ITALIC));
            EXPECT_TRUE(IsTicked(page, IDC_SYSFONT_SIZE));
            EXPECT_TRUE(IsTicked(page, IDC_SYSFONT_FACE));
        });
    }
    EXPECT_EQ(0, MessageBoxesSince(boxes));
    EXPECT_EQ(1u, RegDwordOr(HKEY_LOCAL_MACHINE, kSysFnt, L"It", 99));
    EXPECT_EQ(1200u, Ht());
    EXPECT_EQ(L"Arial", Nm());
}
