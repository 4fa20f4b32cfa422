// The menu font page ("Collection2") through the System host.
#include "font_kit.h"

namespace {

const DwordBox kBoxes[] = {
    {IDC_MENUFONT_BAR_ITALIC, LM, kBarFnt, L"It", 1, 0},
    {IDC_MENUFONT_BAR_BOLD, LM, kBarFnt, L"Wt", 900, 700},
    {IDC_MENUFONT_POP_ITALIC, LM, kPopFnt, L"It", 1, 0},
    {IDC_MENUFONT_POP_BOLD, LM, kPopFnt, L"Wt", 900, 700},
};

// One font of the page: its face and size boxes, edits and spinners, and its key.
struct MenuFont {
    const char *name;
    const wchar_t *key, *otherKey;
    UINT faceBox, faceEdit, faceSpin;
    UINT sizeBox, sizeEdit, sizeSpin;
    const wchar_t *faceRefusal;
};

const MenuFont kFonts[] = {
    {"bar", kBarFnt, kPopFnt, IDC_MENUFONT_BAR_FACE, IDC_MENUFONT_BAR_FACE_EDIT, IDC_MENUFONT_BAR_FACE_SPIN,
     IDC_MENUFONT_BAR_SIZE, IDC_MENUFONT_BAR_SIZE_EDIT, IDC_MENUFONT_BAR_SIZE_SPIN, L"Please select the Menu bar font!"},
    {"pop", kPopFnt, kBarFnt, IDC_MENUFONT_POP_FACE, IDC_MENUFONT_POP_FACE_EDIT, IDC_MENUFONT_POP_FACE_SPIN,
     IDC_MENUFONT_POP_SIZE, IDC_MENUFONT_POP_SIZE_EDIT, IDC_MENUFONT_POP_SIZE_SPIN, L"Please select the POP Menu font!"},
};

DWORD HtOf(const wchar_t *key) { return RegDwordOr(LM, key, L"Ht", 99); }
std::wstring NmOf(const wchar_t *key) { return RegTextOr(LM, key, L"Nm", L"(none)"); }

// Both fonts as missing values show them: no face, size "0", both boxes ticked.
void ExpectFontsMissing(HWND page)
{
    for (const MenuFont &font : kFonts) {
        SCOPED_TRACE(font.name);
        ExpectEditAndBox(page, font.faceEdit, L"", font.faceBox, true);
        ExpectEditAndBox(page, font.sizeEdit, L"0", font.sizeBox, true);
    }
}

class MenuFontPageTest : public DeviceTest {};

}  // namespace

TEST_F(MenuFontPageTest, OpeningCreatesBothKeysAndMissingOrUnusableValuesShowTheirPresets)
{
    DeleteRegKey(LM, kBarFnt);
    DeleteRegKey(LM, kPopFnt);
    RunSystemPage(TAB_MENU_FONT, [](HWND page) {
        for (const DwordBox &box : kBoxes) EXPECT_FALSE(IsTicked(page, box.box)) << box.name;
        ExpectFontsMissing(page);
    });
    for (const wchar_t *key : {kBarFnt, kPopFnt}) {
        EXPECT_TRUE(RegKeyExists(LM, key));
        EXPECT_TRUE(ValueNames(LM, key).empty());
    }
    // One bad value of each kind the page reads, for each font.
    DWORD bold = 900;
    unsigned long long eight = 800;
    WriteRegRaw(LM, kPopFnt, L"Wt", REG_DWORD_BIG_ENDIAN, &bold, sizeof bold);
    WriteTextOfType(LM, kBarFnt, L"Ht", REG_SZ, L"800");
    WriteRegRaw(LM, kPopFnt, L"Ht", REG_QWORD, &eight, sizeof eight);
    WriteUnterminated(LM, kBarFnt, L"Nm", L"Tahoma");
    WriteRegString(LM, kPopFnt, L"Nm", std::wstring(25, L'p').c_str());
    RunSystemPage(TAB_MENU_FONT, [](HWND page) {
        EXPECT_FALSE(IsTicked(page, IDC_MENUFONT_POP_BOLD));
        ExpectFontsMissing(page);
    });
    WriteRegString(LM, kPopFnt, L"Nm", std::wstring(24, L'p').c_str());
    RunSystemPage(TAB_MENU_FONT, [](HWND page) {
        EXPECT_EQ(std::wstring(24, L'p'), FieldText(page, IDC_MENUFONT_POP_FACE_EDIT));
    });
}

TEST_F(MenuFontPageTest, ItalicAndBoldBoxesWriteTheirOwnKeyAndBoldOffIsSevenHundred)
{
    CheckDwordBoxes(RunSystemPage, TAB_MENU_FONT, kBoxes, 4);
    for (const DwordBox &box : kBoxes) WriteRegDword(LM, box.key, box.name, box.ticked);
    // Each box has its own value: clearing the bar's bold leaves the pop-up's alone.
    RunSystemPage(TAB_MENU_FONT, [](HWND page) { Tap(page, IDC_MENUFONT_BAR_BOLD); });
    EXPECT_EQ(700u, RegDwordOr(LM, kBarFnt, L"Wt", 99));
    EXPECT_EQ(900u, RegDwordOr(LM, kPopFnt, L"Wt", 99));
    EXPECT_EQ(1u, RegDwordOr(LM, kBarFnt, L"It", 99));
}

TEST_F(MenuFontPageTest, SizeEditsShowHtInPointsAndTickUnlessEight)
{
    // Each font shows its own key's size: the bar and the pop-up differ in every case.
    struct {
        DWORD bar, pop;   // 0xBAD: missing
        const wchar_t *barShown, *popShown;
        bool barTicked, popTicked;
    } cases[] = {
        {1000, 800, L"10", L"8", true, false},
        {899, 900, L"8", L"9", false, true},
        {0xBAD, 0x80000000u, L"0", L"21474836", true, true},
    };
    for (auto &c : cases) {
        SCOPED_TRACE(c.barShown);
        for (auto [key, ht] : {std::make_pair(kBarFnt, c.bar), std::make_pair(kPopFnt, c.pop)}) {
            if (ht == 0xBAD)
                DeleteRegValue(LM, key, L"Ht");
            else
                WriteRegDword(LM, key, L"Ht", ht);
        }
        RunSystemPage(TAB_MENU_FONT, [&](HWND page) {
            ExpectEditAndBox(page, IDC_MENUFONT_BAR_SIZE_EDIT, c.barShown, IDC_MENUFONT_BAR_SIZE, c.barTicked);
            ExpectEditAndBox(page, IDC_MENUFONT_POP_SIZE_EDIT, c.popShown, IDC_MENUFONT_POP_SIZE, c.popTicked);
        });
    }
}

// Eight is refused and, unlike what the other fonts' size boxes write around a
// refusal, nothing at all is written: the stored size stays as it is.
TEST_F(MenuFontPageTest, SizeBoxesStoreTheirSizeRefuseEightWithoutWritingAndClearToEight)
{
    for (const MenuFont &font : kFonts) {
        SCOPED_TRACE(font.name);
        WriteRegDword(LM, kBarFnt, L"Ht", 850);
        WriteRegDword(LM, kPopFnt, L"Ht", 850);
        RunSystemPage(TAB_MENU_FONT, [&](HWND page) {
            ASSERT_FALSE(IsTicked(page, font.sizeBox));
            struct {
                const wchar_t *edit;
                DWORD stored;
            } cases[] = {{L"10", 1000}, {L"", 11000}, {L"x9", 11000}, {L"9", 900}};
            int before = SimMessageBoxCount();
            for (auto &c : cases) {
                SetField(page, font.sizeEdit, c.edit);
                Tap(page, font.sizeBox);
                EXPECT_EQ(c.stored, HtOf(font.key)) << testing::PrintToString(std::wstring(c.edit));
                Tap(page, font.sizeBox);
                EXPECT_EQ(800u, HtOf(font.key));
                EXPECT_EQ(c.edit, FieldText(page, font.sizeEdit));
            }
            EXPECT_EQ(0, MessageBoxesSince(before));
            EXPECT_EQ(850u, HtOf(font.otherKey)) << "the other font is left alone";

            WriteRegDword(LM, font.key, L"Ht", 1300);
            SetField(page, font.sizeEdit, L"8");
            Tap(page, font.sizeBox);
            ExpectRefusal(before, page, L"8 is default value", L"Please select the font size!");
            EXPECT_FALSE(IsTicked(page, font.sizeBox));
            EXPECT_EQ(1300u, HtOf(font.key));
        });
    }
}

TEST_F(MenuFontPageTest, FaceBoxesStoreTheirFaceRefuseTahomaAndClearToTahoma)
{
    for (const MenuFont &font : kFonts) {
        SCOPED_TRACE(font.name);
        WriteRegString(LM, kBarFnt, L"Nm", L"Tahoma");
        WriteRegString(LM, kPopFnt, L"Nm", L"Tahoma");
        RunSystemPage(TAB_MENU_FONT, [&](HWND page) {
            ExpectEditAndBox(page, font.faceEdit, L"Tahoma", font.faceBox, false);
            int before = SimMessageBoxCount();
            Tap(page, font.faceBox);
            ExpectRefusal(before, page, L"Tahoma is default value", font.faceRefusal);
            EXPECT_FALSE(IsTicked(page, font.faceBox));

            SetField(page, font.faceEdit, L"Courier New");
            Tap(page, font.faceBox);
            EXPECT_EQ(L"Courier New", NmOf(font.key));
            DWORD type = 0, bytes = 0;
            EXPECT_TRUE(RegValueShape(LM, font.key, L"Nm", &type, &bytes));
            EXPECT_EQ(24u, bytes);
            EXPECT_EQ(L"Tahoma", NmOf(font.otherKey));
            SetField(page, font.faceEdit, L"Verdana");
            Tap(page, font.faceBox);
            EXPECT_EQ(L"Tahoma", NmOf(font.key));
            EXPECT_EQ(L"Verdana", FieldText(page, font.faceEdit));
            EXPECT_EQ(1, MessageBoxesSince(before));
        });
    }
    WriteRegString(LM, kBarFnt, L"Nm", L"Courier New");
    RunSystemPage(TAB_MENU_FONT, [](HWND page) {
        ExpectEditAndBox(page, IDC_MENUFONT_BAR_FACE_EDIT, L"Courier New", IDC_MENUFONT_BAR_FACE, true);
        EXPECT_FALSE(IsTicked(page, IDC_MENUFONT_POP_FACE));
    });
}

TEST_F(MenuFontPageTest, SpinnersChangeOnlyTheirOwnEditAndSizesWrapToEight)
{
    struct {
        const wchar_t *from;
        int delta;
        const wchar_t *to;
    } sizes[] = {{L"1", 1, L"8"}, {L"20", -1, L"8"}, {L"8", -1, L"9"}, {L"8", 1, L"7"}};
    RunSystemPage(TAB_MENU_FONT, [&](HWND page) {
        for (const MenuFont &font : kFonts) {
            SCOPED_TRACE(font.name);
            const MenuFont &other = &font == &kFonts[0] ? kFonts[1] : kFonts[0];
            SetField(page, other.sizeEdit, L"5");
            SetField(page, other.faceEdit, L"Tahoma");
            for (auto &c : sizes) {
                SetField(page, font.sizeEdit, c.from);
                Spin(page, font.sizeSpin, c.delta);
                EXPECT_EQ(c.to, FieldText(page, font.sizeEdit)) << testing::PrintToString(std::wstring(c.from));
            }
            for (auto face : {std::make_pair(L"Tahoma", L"Courier New"), std::make_pair(L"Courier New", L"Tahoma"),
                              std::make_pair(L"Courier", L"Courier")}) {
                SetField(page, font.faceEdit, face.first);
                Spin(page, font.faceSpin, -1);
                EXPECT_EQ(face.second, FieldText(page, font.faceEdit));
            }
            EXPECT_EQ(L"5", FieldText(page, other.sizeEdit));
            EXPECT_EQ(L"Tahoma", FieldText(page, other.faceEdit));
        }
        SetField(page, IDC_MENUFONT_POP_SIZE_EDIT, L"8");
        PressSpinnerArrow(page, IDC_MENUFONT_POP_SIZE_SPIN, true);
        EXPECT_EQ(L"9", FieldText(page, IDC_MENUFONT_POP_SIZE_EDIT));
    });
    for (const wchar_t *key : {kBarFnt, kPopFnt}) {
        EXPECT_EQ(800u, HtOf(key)) << "spinning commits nothing";
        EXPECT_EQ(L"Tahoma", NmOf(key));
    }
}

TEST_F(MenuFontPageTest, AKeyThatCannotBeOpenedStopsTheReadingThereAndTapsWriteNothing)
{
    for (const DwordBox &box : kBoxes) WriteRegDword(LM, box.key, box.name, box.ticked);
    WriteRegString(LM, kBarFnt, L"Nm", L"Arial");
    WriteRegDword(LM, kBarFnt, L"Ht", 1000);
    KeyLockout lockout(LM, kPopFnt);
    ASSERT_TRUE(lockout.locked());
    RunSystemPage(TAB_MENU_FONT, [](HWND page) {
        // The bar's italic and bold come first; the pop-up's italic stops the reading.
        for (const DwordBox &box : kBoxes) EXPECT_EQ(box.key == kBarFnt, IsTicked(page, box.box)) << box.box;
        ExpectEditAndBox(page, IDC_MENUFONT_BAR_FACE_EDIT, L"", IDC_MENUFONT_BAR_FACE, false);
        ExpectEditAndBox(page, IDC_MENUFONT_BAR_SIZE_EDIT, L"", IDC_MENUFONT_BAR_SIZE, false);
        // The bar's key still takes writes; the pop-up's takes none.
        Tap(page, IDC_MENUFONT_BAR_BOLD);
        Tap(page, IDC_MENUFONT_POP_BOLD);
        EXPECT_TRUE(IsTicked(page, IDC_MENUFONT_POP_BOLD));
        SetField(page, IDC_MENUFONT_POP_SIZE_EDIT, L"8");
        Tap(page, IDC_MENUFONT_POP_SIZE);
        EXPECT_TRUE(IsTicked(page, IDC_MENUFONT_POP_SIZE));
    });
    EXPECT_EQ(0, SimMessageBoxCount());
    EXPECT_EQ(700u, RegDwordOr(LM, kBarFnt, L"Wt", 99));
    EXPECT_TRUE(lockout.locked());
}
