// The system font page ("Collection1") and the menu font page ("Collection2") through
// the System host: three fonts, each with a size and a face box in its own key, which
// share their code; the edge cases of that code are tested on the system font.
#include "font_kit.h"

namespace {

struct Font {
    const char *name;
    int tab;
    const wchar_t *key;
    UINT sizeBox, sizeEdit, sizeSpin, faceBox, faceEdit, faceSpin;
    DWORD standard;                  // the default size in points
    const wchar_t *sizeCaption, *faceRefusal;
    bool refusalStoresDefault;
};

const Font kFonts[] = {
    {"system", TAB_SYSTEM_FONT, kSysFnt, IDC_SYSFONT_SIZE, IDC_SYSFONT_SIZE_EDIT, IDC_SYSFONT_SIZE_SPIN, IDC_SYSFONT_FACE,
     IDC_SYSFONT_FACE_EDIT, IDC_SYSFONT_FACE_SPIN, 9, L"9 is default value", L"Please select the system font!", false},
    {"bar", TAB_MENU_FONT, kBarFnt, IDC_MENUFONT_BAR_SIZE, IDC_MENUFONT_BAR_SIZE_EDIT, IDC_MENUFONT_BAR_SIZE_SPIN,
     IDC_MENUFONT_BAR_FACE, IDC_MENUFONT_BAR_FACE_EDIT, IDC_MENUFONT_BAR_FACE_SPIN, 8, L"8 is default value",
     L"Please select the Menu bar font!", true},
    {"pop", TAB_MENU_FONT, kPopFnt, IDC_MENUFONT_POP_SIZE, IDC_MENUFONT_POP_SIZE_EDIT, IDC_MENUFONT_POP_SIZE_SPIN,
     IDC_MENUFONT_POP_FACE, IDC_MENUFONT_POP_FACE_EDIT, IDC_MENUFONT_POP_FACE_SPIN, 8, L"8 is default value",
     L"Please select the POP Menu font!", true},
};
const Font &kSystem = kFonts[0];

DWORD Ht(const wchar_t *key = kSysFnt) { return RegDwordOr(LM, key, L"Ht", 99); }
std::wstring Nm(const wchar_t *key = kSysFnt) { return RegTextOr(LM, key, L"Nm", L"(none)"); }

// Every font at 8.5 points in Tahoma.
void StoreAllFonts()
{
    for (const Font &font : kFonts) {
        WriteRegDword(LM, font.key, L"Ht", 850);
        WriteRegString(LM, font.key, L"Nm", L"Tahoma");
    }
}

// The other fonts' keys and (on the same page) edits are as StoreAllFonts left them.
void ExpectOthersLeftAlone(HWND page, const Font &font)
{
    for (const Font &other : kFonts) {
        if (&other == &font) continue;
        EXPECT_EQ(850u, Ht(other.key)) << other.name;
        EXPECT_EQ(L"Tahoma", Nm(other.key)) << other.name;
        if (other.tab != font.tab) continue;
        EXPECT_EQ(L"8", FieldText(page, other.sizeEdit)) << other.name;
        EXPECT_EQ(L"Tahoma", FieldText(page, other.faceEdit)) << other.name;
    }
}

class FontPageTest : public DeviceTest {};

}  // namespace

TEST_F(FontPageTest, OpeningCreatesTheKeysWritesNothingAndShowsSizesAndNamesThatFit)
{
    for (const Font &font : kFonts) DeleteRegKey(LM, font.key);
    for (int tab : {TAB_SYSTEM_FONT, TAB_MENU_FONT})
        RunSystemPage(tab, [&](HWND page) {
            for (const Font &font : kFonts) {
                if (font.tab != tab) continue;
                ExpectEditAndBox(page, font.sizeEdit, L"0", font.sizeBox, true);
                ExpectEditAndBox(page, font.faceEdit, L"", font.faceBox, true);
            }
        });
    for (const Font &font : kFonts) EXPECT_EQ(0, ValueCount(LM, font.key)) << font.name;
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
    // Each menu font shows its own key; eight points is their default size.
    WriteRegDword(LM, kBarFnt, L"Ht", 800);
    WriteRegDword(LM, kPopFnt, L"Ht", 1000);
    WriteRegString(LM, kPopFnt, L"Nm", L"Courier New");
    RunSystemPage(TAB_MENU_FONT, [](HWND page) {
        ExpectEditAndBox(page, IDC_MENUFONT_BAR_SIZE_EDIT, L"8", IDC_MENUFONT_BAR_SIZE, false);
        ExpectEditAndBox(page, IDC_MENUFONT_POP_SIZE_EDIT, L"10", IDC_MENUFONT_POP_SIZE, true);
        ExpectEditAndBox(page, IDC_MENUFONT_POP_FACE_EDIT, L"Courier New", IDC_MENUFONT_POP_FACE, true);
    });
}

// Ticked, a size box stores the edit's size, flushed; cleared, the default; the default
// itself is refused, and only the menu fonts store it all the same.
TEST_F(FontPageTest, SizeBoxesStoreTheEditsSizeFlushedClearToTheDefaultAndRefuseIt)
{
    FlushRecorder flushes;
    ASSERT_TRUE(flushes.recording());
    for (const Font &font : kFonts) {
        SCOPED_TRACE(font.name);
        StoreAllFonts();
        WriteRegDword(LM, font.key, L"Ht", font.standard * 100);
        RunSystemPage(font.tab, [&](HWND page) {
            struct {
                const wchar_t *edit;
                DWORD stored;
            } cases[] = {
                {L"12", 1200}, {L"abc", 11000},
                // Sizes past what "Ht" can hold stop at its limits rather than wrap round.
                {L"123456789012345", 0xFFFFFFFFu}, {L"-99999999999", 0x80000000u},
            };
            int before = SimMessageBoxCount();
            for (auto &c : cases) {
                if (&font != &kSystem && c.stored != 1200) continue;
                SCOPED_TRACE(c.edit);
                Commit(page, font.sizeEdit, c.edit, font.sizeBox);
                EXPECT_EQ(c.stored, Ht(font.key));
                EXPECT_TRUE(!flushes.flushes().empty() && flushes.flushes().back().Held(L"Ht", c.stored)) << "flushed";
                Tap(page, font.sizeBox);
                EXPECT_EQ(font.standard * 100, Ht(font.key));
            }
            EXPECT_EQ(0, MessageBoxesSince(before));
            // Changed behind the page's back: the refusal writes nothing, or the default.
            WriteRegDword(LM, font.key, L"Ht", 1400);
            Commit(page, font.sizeEdit, std::to_wstring(font.standard), font.sizeBox);
            ExpectOneBox(before, page, font.sizeCaption, MB_OK, L"Please select the font size!");
            EXPECT_FALSE(IsTicked(page, font.sizeBox));
            EXPECT_EQ(font.refusalStoresDefault ? font.standard * 100 : 1400u, Ht(font.key));
            WriteRegDword(LM, font.key, L"Ht", 850);
            ExpectOthersLeftAlone(page, font);
        });
    }
}

// Ticked, a face box stores at most 49 characters of the edit; cleared, Tahoma, which
// it refuses to store ticked.
TEST_F(FontPageTest, FaceBoxesStoreAtMostFortyNineCharactersClearToTahomaAndRefuseTahoma)
{
    const std::wstring longest(49, L'f');
    for (const Font &font : kFonts) {
        SCOPED_TRACE(font.name);
        StoreAllFonts();
        WriteRegString(LM, font.key, L"Nm", L"Verdana");
        RunSystemPage(font.tab, [&](HWND page) {
            Tap(page, font.faceBox);
            EXPECT_EQ(L"Tahoma", Nm(font.key)) << "cleared, Tahoma whatever the edit shows";
            Commit(page, font.faceEdit, longest + L"gh", font.faceBox);
            EXPECT_EQ(longest, Nm(font.key));
            Tap(page, font.faceBox);
            WriteRegString(LM, font.key, L"Nm", L"Verdana");
            int before = SimMessageBoxCount();
            Commit(page, font.faceEdit, L"Tahoma", font.faceBox);
            ExpectOneBox(before, page, L"Tahoma is default value", MB_OK, font.faceRefusal);
            EXPECT_FALSE(IsTicked(page, font.faceBox));
            EXPECT_EQ(L"Verdana", Nm(font.key));
            Commit(page, font.faceEdit, longest, font.faceBox);
            ExpectOthersLeftAlone(page, font);
        });
        // The longest face the box stores shows again when the page reopens.
        RunSystemPage(font.tab, [&](HWND page) { ExpectEditAndBox(page, font.faceEdit, longest, font.faceBox, true); });
    }
}

// Spinners change only their own edit and commit nothing; sizes wrap to the default.
TEST_F(FontPageTest, SpinnersChangeOnlyTheirEditsAndTheSizeWrapsToTheDefault)
{
    for (const Font &font : kFonts) {
        SCOPED_TRACE(font.name);
        StoreAllFonts();
        RunSystemPage(font.tab, [&](HWND page) {
            const std::wstring standard = std::to_wstring(font.standard);
            struct {
                const wchar_t *from;
                int delta;
                std::wstring to;
            } sizes[] = {{L"1", 1, standard}, {L"20", -1, standard}, {L"5", 0, L"4"}, {L"abc", -1, L"1"},
                         // Four characters are read: "1234" is 123.
                         {L"1234", 1, L"122"}};
            for (auto &c : sizes) {
                SetField(page, font.sizeEdit, c.from);
                Spin(page, font.sizeSpin, c.delta);
                EXPECT_EQ(c.to, FieldText(page, font.sizeEdit)) << testing::PrintToString(std::wstring(c.from));
            }
            const wchar_t *longFace = L"A face name much longer than twenty characters";
            const wchar_t *faces[][2] = {{L"Tahoma", L"Courier New"}, {L"Courier New", L"Tahoma"}, {longFace, longFace}};
            for (auto &face : faces) {
                SetField(page, font.faceEdit, face[0]);
                Spin(page, font.faceSpin, 1);
                EXPECT_EQ(face[1], FieldText(page, font.faceEdit));
            }
            // The real control: its up arrow counts up.
            SetField(page, font.sizeEdit, L"9");
            PressSpinnerArrow(page, font.sizeSpin, true);
            EXPECT_EQ(L"10", FieldText(page, font.sizeEdit));
            EXPECT_EQ(850u, Ht(font.key)) << "spinning commits nothing";
            EXPECT_EQ(L"Tahoma", Nm(font.key));
            ExpectOthersLeftAlone(page, font);
        });
    }
}

TEST_F(FontPageTest, AnyNotificationLaysTheSystemFontPageOutAgain)
{
    RunSystemPage(TAB_SYSTEM_FONT, [](HWND page) {
        SetWindowPos(GetDlgItem(page, IDC_SYSFONT_FACE_EDIT), NULL, 0, 0, 10, 10, SWP_NOZORDER);
        ASSERT_FALSE(LaidOutLike(page, IDD_SYSTEM_FONT_PAGE_PORTRAIT));
        NMHDR other = {GetDlgItem(page, IDC_SYSFONT_FACE_EDIT), IDC_SYSFONT_FACE_EDIT, (UINT)NM_CLICK};
        SendMessageW(page, WM_NOTIFY, IDC_SYSFONT_FACE_EDIT, (LPARAM)&other);
        EXPECT_TRUE(LaidOutLike(page, IDD_SYSTEM_FONT_PAGE_PORTRAIT));
    });
}

TEST_F(FontPageTest, BoxesWhoseKeyCannotBeOpenedWriteNothingAndRefuseNothing)
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
