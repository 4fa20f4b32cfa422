// The font pages ("Collection1", "Collection2") and the graphics page ("Collection3"):
// font sizes, faces and scroll bar measures, each an edit committed by a box and stepped
// by a spinner. The fonts share their code; its edge cases are tested on the system font.
#include "tests/hosts/host_kit.h"

namespace {

const wchar_t kSysFnt[] = L"System\\GDI\\SYSFNT";
const wchar_t kGwe[] = L"System\\GWE";

const struct Font {
    int tab;
    const wchar_t *key;
    UINT sizeBox, sizeEdit, faceBox, faceEdit, faceSpin;
    DWORD standard;   // the default size in points
    const wchar_t *faceRefusal;
} kFonts[] = {
    {TAB_SYSTEM_FONT, kSysFnt, IDC_SYSFONT_SIZE, IDC_SYSFONT_SIZE_EDIT, IDC_SYSFONT_FACE, IDC_SYSFONT_FACE_EDIT,
     IDC_SYSFONT_FACE_SPIN, 9, L"Please select the system font!"},
    {TAB_MENU_FONT, L"System\\GWE\\Menu\\BarFnt", IDC_MENUFONT_BAR_SIZE, IDC_MENUFONT_BAR_SIZE_EDIT, IDC_MENUFONT_BAR_FACE,
     IDC_MENUFONT_BAR_FACE_EDIT, IDC_MENUFONT_BAR_FACE_SPIN, 8, L"Please select the Menu bar font!"},
    {TAB_MENU_FONT, L"System\\GWE\\Menu\\PopFnt", IDC_MENUFONT_POP_SIZE, IDC_MENUFONT_POP_SIZE_EDIT, IDC_MENUFONT_POP_FACE,
     IDC_MENUFONT_POP_FACE_EDIT, IDC_MENUFONT_POP_FACE_SPIN, 8, L"Please select the POP Menu font!"},
};

DWORD Ht(const wchar_t *key = kSysFnt) { return RegDwordOr(LM, key, L"Ht", 99); }
std::wstring Nm(const wchar_t *key = kSysFnt) { return RegTextOr(LM, key, L"Nm", L"(none)"); }
DWORD Gwe(const wchar_t *name) { return RegDwordOr(LM, kGwe, name, 99); }

// An edit's text and its box's state; typing into an edit and tapping the box that commits it.
void ExpectEditAndBox(HWND page, UINT edit, const std::wstring &text, UINT box, bool ticked)
{
    EXPECT_EQ(text + (ticked ? L" ticked" : L" clear"), FieldText(page, edit) + (IsTicked(page, box) ? L" ticked" : L" clear"));
}
void Commit(HWND page, UINT edit, const std::wstring &text, UINT box) { SetField(page, edit, text.c_str()), Tap(page, box); }

class FontPageTest : public DeviceTest {};

}  // namespace

// Whole points of "Ht", unsigned, ticked unless the default (missing counts as 0);
// names are read with the room a commit writes from: 49 characters fit, 50 do not.
TEST_F(FontPageTest, OpeningShowsSizesAndNamesThatFit)
{
    // Hundredths on either side of the default's whole points and of the next point:
    // stored, shown (from the default) and ticked.
    const struct { int stored, shown; bool ticked; } edges[] = {{-1, -1, true}, {0, 0, false}, {99, 0, false}, {100, 1, true}};
    for (auto &e : edges) {
        for (const Font &font : kFonts) WriteRegDword(LM, font.key, L"Ht", font.standard * 100 + e.stored);
        for (int tab : {TAB_SYSTEM_FONT, TAB_MENU_FONT})
            RunSystemPage(tab, [&](HWND page) {
                for (const Font &font : kFonts)
                    if (font.tab == tab) ExpectEditAndBox(page, font.sizeEdit, std::to_wstring(font.standard + e.shown), font.sizeBox, e.ticked);
            });
    }
    DeleteRegKey(LM, kSysFnt);
    RunSystemPage(TAB_SYSTEM_FONT, [&](HWND page) {
        ExpectEditAndBox(page, IDC_SYSFONT_SIZE_EDIT, L"0", IDC_SYSFONT_SIZE, true);
        ExpectEditAndBox(page, IDC_SYSFONT_FACE_EDIT, L"", IDC_SYSFONT_FACE, true);
    });
    for (auto c : {std::make_tuple(999u, L"9", false, 49), std::make_tuple(0xFFFFFF9Cu, L"42949671", true, 50)}) {
        WriteRegDword(LM, kSysFnt, L"Ht", std::get<0>(c));
        WriteRegString(LM, kSysFnt, L"Nm", std::wstring(std::get<3>(c), L'n').c_str());
        RunSystemPage(TAB_SYSTEM_FONT, [&](HWND page) {
            ExpectEditAndBox(page, IDC_SYSFONT_SIZE_EDIT, std::get<1>(c), IDC_SYSFONT_SIZE, std::get<2>(c));
            EXPECT_EQ(std::wstring(std::get<3>(c) == 49 ? 49 : 0, L'n'), FieldText(page, IDC_SYSFONT_FACE_EDIT));
        });
    }
}

// Ticked, a size box stores the edit's size, flushed, and a face box at most 49
// characters of its edit; cleared, the default size or Tahoma. The defaults themselves
// are refused (the menu fonts store the default size all the same); a face spinner
// swaps the two known faces only. A key that cannot be opened stores nothing and
// refuses nothing.
TEST_F(FontPageTest, SizeAndFaceBoxesStoreTheirEditsClearToTheDefaultsAndRefuseThem)
{
    FlushRecorder flushes;
    const std::wstring longest(49, L'f');
    for (const Font &font : kFonts) {
        SCOPED_TRACE(font.key);
        WriteRegDword(LM, font.key, L"Ht", font.standard * 100);
        WriteRegString(LM, font.key, L"Nm", L"Verdana");
        RunSystemPage(font.tab, [&](HWND page) {
            // Sizes past what "Ht" can hold stop at its limits rather than wrap round.
            const std::pair<const wchar_t *, DWORD> cases[] = {
                {L"12", 1200}, {L"abc", 11000}, {L"123456789012345", 0xFFFFFFFFu}, {L"-99999999999", 0x80000000u}};
            int before = SimMessageBoxCount();
            for (auto &c : cases) {
                if (&font != kFonts && c.second != 1200) continue;
                Commit(page, font.sizeEdit, c.first, font.sizeBox);
                EXPECT_EQ(c.second, Ht(font.key)) << c.first;
                EXPECT_TRUE(!flushes.flushes().empty() && flushes.flushes().back().Held(L"Ht", c.second)) << "flushed";
                Tap(page, font.sizeBox);
                EXPECT_EQ(font.standard * 100, Ht(font.key));
            }
            EXPECT_EQ(0, MessageBoxesSince(before));
            WriteRegDword(LM, font.key, L"Ht", 1400);
            Commit(page, font.sizeEdit, std::to_wstring(font.standard), font.sizeBox);
            ExpectOneBox(before, page, (std::to_wstring(font.standard) + L" is default value").c_str(), MB_OK,
                         L"Please select the font size!");
            EXPECT_FALSE(IsTicked(page, font.sizeBox));
            EXPECT_EQ(&font == kFonts ? 1400u : font.standard * 100, Ht(font.key));

            Tap(page, font.faceBox);
            EXPECT_EQ(L"Tahoma", Nm(font.key)) << "cleared, Tahoma whatever the edit shows";
            Commit(page, font.faceEdit, longest + L"gh", font.faceBox);
            EXPECT_EQ(longest, Nm(font.key));
            Tap(page, font.faceBox);
            WriteRegString(LM, font.key, L"Nm", L"Verdana");
            before = SimMessageBoxCount();
            Commit(page, font.faceEdit, L"Tahoma", font.faceBox);
            ExpectOneBox(before, page, L"Tahoma is default value", MB_OK, font.faceRefusal);
            EXPECT_FALSE(IsTicked(page, font.faceBox));
            EXPECT_EQ(L"Verdana", Nm(font.key));
            const wchar_t *other = L"A face name much longer than twenty characters";
            const std::pair<const wchar_t *, const wchar_t *> faces[] = {
                {L"Tahoma", L"Courier New"}, {L"Courier New", L"Tahoma"}, {other, other}};
            for (auto face : faces) {
                SetField(page, font.faceEdit, face.first);
                Spin(page, font.faceSpin, 1);
                EXPECT_EQ(face.second, FieldText(page, font.faceEdit));
            }
            EXPECT_EQ(L"Verdana", Nm(font.key)) << "spinning commits nothing";
            Commit(page, font.faceEdit, longest, font.faceBox);
        });
        // The longest face the box stores shows again when the page reopens.
        RunSystemPage(font.tab, [&](HWND page) { ExpectEditAndBox(page, font.faceEdit, longest, font.faceBox, true); });
    }
    WriteRegString(LM, kSysFnt, L"Nm", L"Tahoma");
    int boxes = SimMessageBoxCount();
    RunSystemPage(TAB_SYSTEM_FONT, [](HWND page) {
        KeyLockout lockout(LM, kSysFnt);
        ASSERT_TRUE(lockout.locked());
        Commit(page, IDC_SYSFONT_SIZE_EDIT, L"9", IDC_SYSFONT_SIZE);   // cleared, then ticked
        Tap(page, IDC_SYSFONT_SIZE);
        Commit(page, IDC_SYSFONT_FACE_EDIT, L"Tahoma", IDC_SYSFONT_FACE);
    });
    EXPECT_EQ(boxes, SimMessageBoxCount());
    EXPECT_EQ(1400u, Ht());
}

// Size and measure spinners count within 1 to their highest and wrap to their own
// number, reading four characters; each changes its own edit only and commits nothing.
TEST_F(FontPageTest, NumberSpinnersWrapToTheirOwnNumberAndCommitNothing)
{
    // seventeen: the stored value its edit shows as 17.
    const struct { int tab; UINT edit, spin, highest, wrap; const wchar_t *key, *value; DWORD seventeen; } spinners[] = {
        {TAB_SYSTEM_FONT, IDC_SYSFONT_SIZE_EDIT, IDC_SYSFONT_SIZE_SPIN, 20, 9, kSysFnt, L"Ht", 1700},
        {TAB_MENU_FONT, IDC_MENUFONT_BAR_SIZE_EDIT, IDC_MENUFONT_BAR_SIZE_SPIN, 20, 8, kFonts[1].key, L"Ht", 1700},
        {TAB_MENU_FONT, IDC_MENUFONT_POP_SIZE_EDIT, IDC_MENUFONT_POP_SIZE_SPIN, 20, 8, kFonts[2].key, L"Ht", 1700},
        {TAB_GRAPHICS, IDC_GFX_ARROW_EDIT, IDC_GFX_ARROW_SPIN, 30, 13, kGwe, L"cyVScr", 17},
        {TAB_GRAPHICS, IDC_GFX_WIDTH_EDIT, IDC_GFX_WIDTH_SPIN, 30, 13, kGwe, L"cyHScr", 17},
    };
    for (auto &s : spinners) WriteRegDword(LM, s.key, s.value, s.seventeen);
    for (auto &s : spinners) {
        RunSystemPage(s.tab, [&](HWND page) {
            const std::wstring wrap = std::to_wstring(s.wrap), top = std::to_wstring(s.highest);
            const struct { std::wstring from; int delta; std::wstring to; } steps[] = {
                {L"1", 1, wrap}, {top, -1, wrap}, {L"2", 1, L"1"}, {std::to_wstring(s.highest - 1), -1, top},
                {L"5", 0, L"4"}, {L"abc", -1, L"1"}, {L"1234", 1, L"122"}};
            for (auto &step : steps) {
                SetField(page, s.edit, step.from.c_str());
                Spin(page, s.spin, step.delta);
                EXPECT_EQ(step.to, FieldText(page, s.edit)) << step.from << " by " << step.delta;
            }
            for (auto &other : spinners)
                EXPECT_TRUE(other.tab != s.tab || &other == &s || FieldText(page, other.edit) == L"17") << other.edit;
        });
        EXPECT_EQ(s.seventeen, RegDwordOr(LM, s.key, s.value, 99)) << "spinning commits nothing";
    }
}

// A measure is shown unsigned, from one value of its pair, ticked unless standard (a
// missing one, or one of another type, counts as 1); its box writes its pair, the
// standard measure when cleared or without a number, and refuses nothing.
TEST_F(FontPageTest, MeasuresShowOneValueOfTheirPairAndBoxesWriteThePairUnrefused)
{
    const struct { UINT box, edit; const wchar_t *shown, *counterpart; DWORD standard; } measures[] = {
        {IDC_GFX_ARROW, IDC_GFX_ARROW_EDIT, L"cyVScr", L"cxHScr", 20},
        {IDC_GFX_WIDTH, IDC_GFX_WIDTH_EDIT, L"cyHScr", L"cxVScr", 13}};
    DeleteRegKey(LM, kGwe);
    WriteTextOfType(LM, kGwe, L"cyVScr", REG_SZ, L"20");
    RunSystemPage(TAB_GRAPHICS, [&](HWND page) {
        for (auto &m : measures) ExpectEditAndBox(page, m.edit, L"1", m.box, true);
    });
    WriteRegDword(LM, kGwe, L"cyVScr", 20);
    WriteRegDword(LM, kGwe, L"cyHScr", 0xFFFFFFFFu);
    WriteRegDword(LM, kGwe, L"cxVScr", 13);
    RunSystemPage(TAB_GRAPHICS, [&](HWND page) {
        ExpectEditAndBox(page, IDC_GFX_ARROW_EDIT, L"20", IDC_GFX_ARROW, false);
        ExpectEditAndBox(page, IDC_GFX_WIDTH_EDIT, L"4294967295", IDC_GFX_WIDTH, true);
        for (auto &m : measures) {
            WriteRegDword(LM, kGwe, (&m == measures ? measures[1] : measures[0]).shown, 5);
            if (IsTicked(page, m.box)) Tap(page, m.box);
            // Cleared, or without a number, the standard measure.
            const std::pair<std::wstring, DWORD> commits[] = {
                {L"25", 25}, {L"7", m.standard}, {L"wide", m.standard}, {L"7", m.standard},
                {std::to_wstring(m.standard), m.standard}};
            for (auto &c : commits) {
                Commit(page, m.edit, c.first, m.box);
                EXPECT_EQ(c.second, Gwe(m.shown)) << c.first;
                EXPECT_EQ(c.second, Gwe(m.counterpart)) << c.first;
            }
            EXPECT_EQ(5u, Gwe((&m == measures ? measures[1] : measures[0]).shown)) << "each box writes its own pair only";
        }
        EXPECT_EQ(0, SimMessageBoxCount());
    });
}
