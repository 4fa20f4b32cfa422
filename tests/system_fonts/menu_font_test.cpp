// The menu font page ("Collection2") through the System host: two fonts, each in its
// own key, with the size and face boxes the system font page's tests cover in depth.
#include "font_kit.h"

namespace {

// One font of the page: its face and size boxes, edits and spinners, and its key.
struct MenuFont {
    const char *name;
    const wchar_t *key;
    UINT faceBox, faceEdit, faceSpin;
    UINT sizeBox, sizeEdit, sizeSpin;
    const wchar_t *faceRefusal;
};

const MenuFont kFonts[] = {
    {"bar", kBarFnt, IDC_MENUFONT_BAR_FACE, IDC_MENUFONT_BAR_FACE_EDIT, IDC_MENUFONT_BAR_FACE_SPIN,
     IDC_MENUFONT_BAR_SIZE, IDC_MENUFONT_BAR_SIZE_EDIT, IDC_MENUFONT_BAR_SIZE_SPIN, L"Please select the Menu bar font!"},
    {"pop", kPopFnt, IDC_MENUFONT_POP_FACE, IDC_MENUFONT_POP_FACE_EDIT, IDC_MENUFONT_POP_FACE_SPIN,
     IDC_MENUFONT_POP_SIZE, IDC_MENUFONT_POP_SIZE_EDIT, IDC_MENUFONT_POP_SIZE_SPIN, L"Please select the POP Menu font!"},
};

DWORD HtOf(const wchar_t *key) { return RegDwordOr(LM, key, L"Ht", 99); }
std::wstring NmOf(const wchar_t *key) { return RegTextOr(LM, key, L"Nm", L"(none)"); }

class MenuFontPageTest : public DeviceTest {};

}  // namespace

TEST_F(MenuFontPageTest, OpeningCreatesBothKeysAndEachFontShowsItsOwnKey)
{
    DeleteRegKey(LM, kBarFnt);
    DeleteRegKey(LM, kPopFnt);
    RunSystemPage(TAB_MENU_FONT, [](HWND page) {
        for (const MenuFont &font : kFonts) {
            ExpectEditAndBox(page, font.faceEdit, L"", font.faceBox, true);
            ExpectEditAndBox(page, font.sizeEdit, L"0", font.sizeBox, true);
        }
    });
    for (const wchar_t *key : {kBarFnt, kPopFnt}) EXPECT_EQ(0, ValueCount(LM, key));
    // Eight points is this page's default size.
    WriteRegDword(LM, kBarFnt, L"Ht", 800);
    WriteRegDword(LM, kPopFnt, L"Ht", 1000);
    WriteRegString(LM, kPopFnt, L"Nm", L"Courier New");
    RunSystemPage(TAB_MENU_FONT, [](HWND page) {
        ExpectEditAndBox(page, IDC_MENUFONT_BAR_SIZE_EDIT, L"8", IDC_MENUFONT_BAR_SIZE, false);
        ExpectEditAndBox(page, IDC_MENUFONT_POP_SIZE_EDIT, L"10", IDC_MENUFONT_POP_SIZE, true);
        ExpectEditAndBox(page, IDC_MENUFONT_POP_FACE_EDIT, L"Courier New", IDC_MENUFONT_POP_FACE, true);
    });
}

// Each font's boxes and spinners act on its own key and edits only.
TEST_F(MenuFontPageTest, EachFontsBoxesStoreInItsOwnKeyClearToTheDefaultsAndRefuseThem)
{
    for (const MenuFont &font : kFonts) {
        SCOPED_TRACE(font.name);
        for (const wchar_t *key : {kBarFnt, kPopFnt}) {
            WriteRegDword(LM, key, L"Ht", 850);
            WriteRegString(LM, key, L"Nm", L"Tahoma");
        }
        RunSystemPage(TAB_MENU_FONT, [&](HWND page) {
            const MenuFont &other = &font == &kFonts[0] ? kFonts[1] : kFonts[0];
            // The size spinners wrap to eight at both ends.
            for (auto step : {std::make_pair(L"20", -1), std::make_pair(L"1", 1)}) {
                SetField(page, font.sizeEdit, step.first);
                Spin(page, font.sizeSpin, step.second);
                EXPECT_EQ(L"8", FieldText(page, font.sizeEdit));
            }
            Spin(page, font.faceSpin, -1);
            EXPECT_EQ(L"Courier New", FieldText(page, font.faceEdit));
            EXPECT_EQ(L"8", FieldText(page, other.sizeEdit));
            EXPECT_EQ(L"Tahoma", FieldText(page, other.faceEdit));
            EXPECT_EQ(850u, HtOf(font.key)) << "spinning commits nothing";

            int before = SimMessageBoxCount();
            Commit(page, font.sizeEdit, L"10", font.sizeBox);
            EXPECT_EQ(1000u, HtOf(font.key));
            Tap(page, font.sizeBox);
            EXPECT_EQ(800u, HtOf(font.key));
            Tap(page, font.faceBox);
            EXPECT_EQ(L"Courier New", NmOf(font.key));
            Tap(page, font.faceBox);
            EXPECT_EQ(L"Tahoma", NmOf(font.key));
            EXPECT_EQ(0, MessageBoxesSince(before));
            EXPECT_EQ(850u, HtOf(other.key)) << "the other font is left alone";
            EXPECT_EQ(L"Tahoma", NmOf(other.key));

            WriteRegDword(LM, font.key, L"Ht", 1300);
            Commit(page, font.sizeEdit, L"8", font.sizeBox);
            ExpectOneBox(before, page, L"8 is default value", MB_OK, L"Please select the font size!");
            EXPECT_FALSE(IsTicked(page, font.sizeBox));
            EXPECT_EQ(800u, HtOf(font.key)) << "the refusal stores the default size";
            before = SimMessageBoxCount();
            Commit(page, font.faceEdit, L"Tahoma", font.faceBox);
            ExpectOneBox(before, page, L"Tahoma is default value", MB_OK, font.faceRefusal);
        });
    }
}
