// The menu font page ("Collection2") through the System host.
#include "font_kit.h"

namespace {

const DwordBox kBoxes[] = {
    {IDC_MENUFONT_BAR_ITALIC, HKEY_LOCAL_MACHINE, kBarFnt, L"It", 1, 0},
    {IDC_MENUFONT_BAR_BOLD, HKEY_LOCAL_MACHINE, kBarFnt, L"Wt", 900, 700},
    {IDC_MENUFONT_POP_ITALIC, HKEY_LOCAL_MACHINE, kPopFnt, L"It", 1, 0},
    {IDC_MENUFONT_POP_BOLD, HKEY_LOCAL_MACHINE, kPopFnt, L"Wt", 900, 700},
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

DWORD HtOf(const wchar_t *key) { return RegDwordOr(HKEY_LOCAL_MACHINE, key, L"Ht", 99); }
std::wstring NmOf(const wchar_t *key) { return RegTextOr(HKEY_LOCAL_MACHINE, key, L"Nm", L"(none)"); }

class MenuFontPageTest : public DeviceTest {};

}  // namespace

TEST_F(MenuFontPageTest, OpeningCreatesBothKeysAndMissingValuesShowTheirPresets)
{
    DeleteRegKey(HKEY_LOCAL_MACHINE, kBarFnt);
    DeleteRegKey(HKEY_LOCAL_MACHINE, kPopFnt);
    RunSystemPage(TAB_MENU_FONT, [](HWND page) {
        for (const DwordBox &box : kBoxes) EXPECT_FALSE(IsTicked(page, box.box)) << box.name;
        for (const MenuFont &font : kFonts) {
            SCOPED_TRACE(font.name);
            EXPECT_EQ(L"", FieldText(page, font.faceEdit));
            EXPECT_TRUE(IsTicked(page, font.faceBox));
            EXPECT_EQ(L"0", FieldText(page, font.sizeEdit));
            EXPECT_TRUE(IsTicked(page, font.sizeBox));
        }
    });
    EXPECT_TRUE(RegKeyExists(HKEY_LOCAL_MACHINE, kBarFnt));
    EXPECT_TRUE(RegKeyExists(HKEY_LOCAL_MACHINE, kPopFnt));
    EXPECT_TRUE(ValueNames(HKEY_LOCAL_MACHINE, kBarFnt).empty());
    EXPECT_TRUE(ValueNames(HKEY_LOCAL_MACHINE, kPopFnt).empty());
}

TEST_F(MenuFontPageTest, ItalicAndBoldBoxesWriteTheirOwnKeyAndBoldOffIsSevenHundred)
{
    CheckDwordBoxes(RunSystemPage, TAB_MENU_FONT, kBoxes, 4);
    for (const DwordBox &box : kBoxes) WriteRegDword(HKEY_LOCAL_MACHINE, box.key, box.name, box.ticked);
    // Each box has its own value: clearing the bar's bold leaves the pop-up's alone.
    RunSystemPage(TAB_MENU_FONT, [](HWND page) { Tap(page, IDC_MENUFONT_BAR_BOLD); });
    EXPECT_EQ(700u, RegDwordOr(HKEY_LOCAL_MACHINE, kBarFnt, L"Wt", 99));
    EXPECT_EQ(900u, RegDwordOr(HKEY_LOCAL_MACHINE, kPopFnt, L"Wt", 99));
    EXPECT_EQ(1u, RegDwordOr(HKEY_LOCAL_MACHINE, kBarFnt, L"It", 99));
}

TEST_F(MenuFontPageTest, SizeEditsShowHtInPointsAndTickUnlessEight)
{
    struct {
        bool stored;
        DWORD ht;
        const wchar_t *shown;
        bool ticked;
    } cases[] = {
        {true, 1000, L"10", true}, {true, 800, L"8", false}, {true, 899, L"8", false}, {true, 900, L"9", true},
        {false, 0, L"0", true},    {true, 0x80000000u, L"21474836", true},
    };
    const int count = (int)(sizeof cases / sizeof cases[0]);
    // Each font shows its own key's size: the pop-up's runs one case behind the bar's.
    for (int i = 0; i < count; i++) {
        SCOPED_TRACE(i);
        const auto &bar = cases[i], &pop = cases[(i + count - 1) % count];
        for (auto [key, c] : {std::make_pair(kBarFnt, &bar), std::make_pair(kPopFnt, &pop)}) {
            if (c->stored)
                WriteRegDword(HKEY_LOCAL_MACHINE, key, L"Ht", c->ht);
            else
                DeleteRegValue(HKEY_LOCAL_MACHINE, key, L"Ht");
        }
        RunSystemPage(TAB_MENU_FONT, [&](HWND page) {
            EXPECT_EQ(bar.shown, FieldText(page, IDC_MENUFONT_BAR_SIZE_EDIT));
            EXPECT_EQ(bar.ticked, IsTicked(page, IDC_MENUFONT_BAR_SIZE));
            EXPECT_EQ(pop.shown, FieldText(page, IDC_MENUFONT_POP_SIZE_EDIT));
            EXPECT_EQ(pop.ticked, IsTicked(page, IDC_MENUFONT_POP_SIZE));
        });
    }
}

TEST_F(MenuFontPageTest, SizeBoxesStoreTheirSizeRefuseEightAndClearToEight)
{
    for (const MenuFont &font : kFonts) {
        SCOPED_TRACE(font.name);
        WriteRegDword(HKEY_LOCAL_MACHINE, kBarFnt, L"Ht", 850);
        WriteRegDword(HKEY_LOCAL_MACHINE, kPopFnt, L"Ht", 850);
        RunSystemPage(TAB_MENU_FONT, [&](HWND page) {
            ASSERT_FALSE(IsTicked(page, font.sizeBox));
            struct {
                const wchar_t *edit;
                DWORD stored;
            } cases[] = {{L"10", 1000}, {L"", 11000}, {L"x9", 11000}, {L"9", 900}, {L"1", 100}};
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

            // Eight is refused, and the stored size stays as it is.
            WriteRegDword(HKEY_LOCAL_MACHINE, font.key, L"Ht", 1300);
            SetField(page, font.sizeEdit, L"8");
            Tap(page, font.sizeBox);
            ASSERT_EQ(1, MessageBoxesSince(before));
            SimMessageBox shown = LastMessageBox();
            EXPECT_STREQ(L"Please select the font size!", shown.text);
            EXPECT_STREQ(L"8 is default value", shown.caption);
            EXPECT_EQ((UINT)MB_OK, shown.flags);
            EXPECT_FALSE(IsTicked(page, font.sizeBox));
            EXPECT_EQ(1300u, HtOf(font.key));
        });
    }
}

TEST_F(MenuFontPageTest, FaceBoxesStoreTheirFaceRefuseTahomaAndClearToTahoma)
{
    for (const MenuFont &font : kFonts) {
        SCOPED_TRACE(font.name);
        WriteRegString(HKEY_LOCAL_MACHINE, kBarFnt, L"Nm", L"Tahoma");
        WriteRegString(HKEY_LOCAL_MACHINE, kPopFnt, L"Nm", L"Tahoma");
        RunSystemPage(TAB_MENU_FONT, [&](HWND page) {
            EXPECT_EQ(L"Tahoma", FieldText(page, font.faceEdit));
            ASSERT_FALSE(IsTicked(page, font.faceBox));
            SetField(page, font.faceEdit, L"Tahoma");
            int before = SimMessageBoxCount();
            Tap(page, font.faceBox);
            ASSERT_EQ(1, MessageBoxesSince(before));
            EXPECT_STREQ(font.faceRefusal, LastMessageBox().text);
            EXPECT_STREQ(L"Tahoma is default value", LastMessageBox().caption);
            EXPECT_FALSE(IsTicked(page, font.faceBox));

            SetField(page, font.faceEdit, L"Courier New");
            Tap(page, font.faceBox);
            EXPECT_EQ(L"Courier New", NmOf(font.key));
            EXPECT_EQ(24u, StoredValueOf(HKEY_LOCAL_MACHINE, font.key, L"Nm").bytes);
            EXPECT_EQ(L"Tahoma", NmOf(font.otherKey));
            SetField(page, font.faceEdit, L"Verdana");
            Tap(page, font.faceBox);
            EXPECT_EQ(L"Tahoma", NmOf(font.key));
            EXPECT_EQ(L"Verdana", FieldText(page, font.faceEdit));
            EXPECT_EQ(1, MessageBoxesSince(before));
        });
    }
    WriteRegString(HKEY_LOCAL_MACHINE, kBarFnt, L"Nm", L"Courier New");
    RunSystemPage(TAB_MENU_FONT, [](HWND page) {
        EXPECT_EQ(L"Courier New", FieldText(page, IDC_MENUFONT_BAR_FACE_EDIT));
        EXPECT_TRUE(IsTicked(page, IDC_MENUFONT_BAR_FACE));
        EXPECT_FALSE(IsTicked(page, IDC_MENUFONT_POP_FACE));
    });
}

TEST_F(MenuFontPageTest, SpinnersChangeOnlyTheirOwnEditAndSizesWrapToEight)
{
    struct {
        const wchar_t *from;
        int delta;
        const wchar_t *to;
    } sizes[] = {{L"1", 1, L"8"}, {L"20", -1, L"8"}, {L"8", -1, L"9"}, {L"8", 1, L"7"}, {L"", 1, L"8"}, {L"", -1, L"1"}};
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
            SetField(page, font.faceEdit, L"Tahoma");
            Spin(page, font.faceSpin, 1);
            EXPECT_EQ(L"Courier New", FieldText(page, font.faceEdit));
            Spin(page, font.faceSpin, -1);
            EXPECT_EQ(L"Tahoma", FieldText(page, font.faceEdit));
            SetField(page, font.faceEdit, L"Courier");
            Spin(page, font.faceSpin, -1);
            EXPECT_EQ(L"Courier", FieldText(page, font.faceEdit));
            EXPECT_EQ(L"5", FieldText(page, other.sizeEdit));
            EXPECT_EQ(L"Tahoma", FieldText(page, other.faceEdit));
        }
        SetField(page, IDC_MENUFONT_POP_SIZE_EDIT, L"8");
        PressSpinnerArrow(page, IDC_MENUFONT_POP_SIZE_SPIN, true);
        EXPECT_EQ(L"9", FieldText(page, IDC_MENUFONT_POP_SIZE_EDIT));
    });
    EXPECT_EQ(800u, HtOf(kBarFnt)) << "spinning commits nothing";
    EXPECT_EQ(800u, HtOf(kPopFnt));
    EXPECT_EQ(L"Tahoma", NmOf(kBarFnt));
    EXPECT_EQ(L"Tahoma", NmOf(kPopFnt));
}

TEST_F(MenuFontPageTest, UnreadableValuesCountAsMissing)
{
    DWORD one = 1, bold = 900;
    WriteTextOfType(HKEY_LOCAL_MACHINE, kBarFnt, L"It", REG_SZ, L"1");
    WriteRegRaw(HKEY_LOCAL_MACHINE, kBarFnt, L"Wt", REG_BINARY, &bold, sizeof bold);
    WriteRegRaw(HKEY_LOCAL_MACHINE, kPopFnt, L"It", REG_DWORD, &one, 1);
    WriteRegRaw(HKEY_LOCAL_MACHINE, kPopFnt, L"Wt", REG_DWORD_BIG_ENDIAN, &bold, sizeof bold);
    WriteTextOfType(HKEY_LOCAL_MACHINE, kBarFnt, L"Ht", REG_SZ, L"800");
    unsigned long long eight = 800;
    WriteRegRaw(HKEY_LOCAL_MACHINE, kPopFnt, L"Ht", REG_QWORD, &eight, sizeof eight);
    WriteUnterminated(HKEY_LOCAL_MACHINE, kBarFnt, L"Nm", L"Tahoma");
    WriteRegString(HKEY_LOCAL_MACHINE, kPopFnt, L"Nm", std::wstring(25, L'p').c_str());
    RunSystemPage(TAB_MENU_FONT, [](HWND page) {
        for (const DwordBox &box : kBoxes) EXPECT_FALSE(IsTicked(page, box.box)) << box.box;
        for (const MenuFont &font : kFonts) {
            SCOPED_TRACE(font.name);
            EXPECT_EQ(L"0", FieldText(page, font.sizeEdit));
            EXPECT_TRUE(IsTicked(page, font.sizeBox));
            EXPECT_EQ(L"", FieldText(page, font.faceEdit));
            EXPECT_TRUE(IsTicked(page, font.faceBox));
        }
    });
    WriteRegString(HKEY_LOCAL_MACHINE, kPopFnt, L"Nm", std::wstring(24, L'p').c_str());
    RunSystemPage(TAB_MENU_FONT, [](HWND page) {
        EXPECT_EQ(std::wstring(24, L'p'), FieldText(page, IDC_MENUFONT_POP_FACE_EDIT));
    });
}

TEST_F(MenuFontPageTest, AKeyThatCannotBeOpenedStopsTheReadingThereAndTapsWriteNothing)
{
    for (const DwordBox &box : kBoxes) WriteRegDword(HKEY_LOCAL_MACHINE, box.key, box.name, box.ticked);
    WriteRegString(HKEY_LOCAL_MACHINE, kBarFnt, L"Nm", L"Arial");
    WriteRegDword(HKEY_LOCAL_MACHINE, kBarFnt, L"Ht", 1000);
    KeyLockout lockout(HKEY_LOCAL_MACHINE, kPopFnt);
    ASSERT_TRUE(lockout.locked());
    int boxes = SimMessageBoxCount();
    RunSystemPage(TAB_MENU_FONT, [](HWND page) {
        // The bar's italic and bold come first; the pop-up's italic stops the reading.
        EXPECT_TRUE(IsTicked(page, IDC_MENUFONT_BAR_ITALIC));
        EXPECT_TRUE(IsTicked(page, IDC_MENUFONT_BAR_BOLD));
        EXPECT_FALSE(IsTicked(page, IDC_MENUFONT_POP_ITALIC));
        EXPECT_FALSE(IsTicked(page, IDC_MENUFONT_POP_BOLD));
        EXPECT_EQ(L"", FieldText(page, IDC_MENUFONT_BAR_FACE_EDIT));
        EXPECT_FALSE(IsTicked(page, IDC_MENUFONT_BAR_FACE));
        EXPECT_EQ(L"", FieldText(page, IDC_MENUFONT_BAR_SIZE_EDIT));
        EXPECT_FALSE(IsTicked(page, IDC_MENUFONT_BAR_SIZE));
        // The bar's key still takes writes; the pop-up's takes none.
        Tap(page, IDC_MENUFONT_BAR_BOLD);
        Tap(page, IDC_MENUFONT_POP_BOLD);
        EXPECT_TRUE(IsTicked(page, IDC_MENUFONT_POP_BOLD));
        SetField(page, IDC_MENUFONT_POP_SIZE_EDIT, L"8");
        Tap(page, IDC_MENUFONT_POP_SIZE);
        EXPECT_TRUE(IsTicked(page, IDC_MENUFONT_POP_SIZE));
    });
    EXPECT_EQ(0, MessageBoxesSince(boxes));
    EXPECT_EQ(700u, RegDwordOr(HKEY_LOCAL_MACHINE, kBarFnt, L"Wt", 99));
    EXPECT_TRUE(lockout.locked());
}
