// The graphics page ("Collection3") through the System host.
#include "font_kit.h"

namespace {

// A scroll bar measure: the value shown, the one written with it, the standard measure.
struct Measure {
    const char *name;
    UINT box, edit, spin;
    const wchar_t *shown, *counterpart;
    DWORD standard;
};

const Measure kMeasures[] = {
    {"arrow length", IDC_GFX_ARROW, IDC_GFX_ARROW_EDIT, IDC_GFX_ARROW_SPIN, L"cyVScr", L"cxHScr", 20},
    {"bar width", IDC_GFX_WIDTH, IDC_GFX_WIDTH_EDIT, IDC_GFX_WIDTH_SPIN, L"cyHScr", L"cxVScr", 13},
};

DWORD Gwe(const wchar_t *name) { return RegDwordOr(LM, kGwe, name, 99); }

// What missing values show: animation off, Start menu animation on, no glyph cache,
// both measures "1" and ticked.
void ExpectMissingValuesShown(HWND page)
{
    EXPECT_FALSE(IsTicked(page, IDC_GFX_ANIMATE));
    EXPECT_TRUE(IsTicked(page, IDC_GFX_START_MENU)) << "a missing AniType counts as 0";
    EXPECT_FALSE(IsTicked(page, IDC_GFX_GLYPH_CACHE));
    for (const Measure &measure : kMeasures) ExpectEditAndBox(page, measure.edit, L"1", measure.box, true);
}

class GraphicsPageTest : public DeviceTest {};

}  // namespace

TEST_F(GraphicsPageTest, OpeningCreatesItsKeysAndMissingOrUnusableValuesShowTheirPresets)
{
    DeleteRegKey(LM, kGwe);
    DeleteRegKey(LM, kGlyphCache);
    RunSystemPage(TAB_GRAPHICS, ExpectMissingValuesShown);
    for (const wchar_t *key : {kGwe, kGweMenu, kGlyphCache}) {
        EXPECT_TRUE(RegKeyExists(LM, key)) << key;
        EXPECT_TRUE(ValueNames(LM, key).empty()) << key;
    }
    EXPECT_EQ(0, SimMessageBoxCount());
    // Values of another type or size count as missing, the inverted Start menu box too.
    DWORD six = 6, cache = 16384, twenty = 20;
    WriteRegRaw(LM, kGweMenu, L"AniType", REG_BINARY, &six, sizeof six);
    WriteRegRaw(LM, kGlyphCache, L"limit", REG_DWORD, &cache, 3);
    WriteTextOfType(LM, kGwe, L"cyVScr", REG_SZ, L"20");
    WriteRegRaw(LM, kGwe, L"cyHScr", REG_BINARY, &twenty, sizeof twenty);
    RunSystemPage(TAB_GRAPHICS, ExpectMissingValuesShown);
}

TEST_F(GraphicsPageTest, CheckBoxesStartFromTheirStoredValuesAndWriteBothStates)
{
    const DwordBox boxes[] = {
        {IDC_GFX_ANIMATE, LM, kGwe, L"Animate", 1, 0},
        // A glyph cache that is cleared keeps a value: 8192, not none and not 0.
        {IDC_GFX_GLYPH_CACHE, LM, kGlyphCache, L"limit", 16384, 8192},
    };
    CheckDwordBoxes(RunSystemPage, TAB_GRAPHICS, boxes, 2);
    // Read under "SYSTEM\GWE", written under "System\GWE": one key, one value.
    EXPECT_EQ(1, CountValuesNamed(LM, kGwe, L"Animate"));

    // The Start menu animation is on unless "AniType" is 6.
    struct {
        bool stored;
        DWORD aniType;
        bool ticked;
    } cases[] = {{false, 0, true}, {true, 0, true}, {true, 3, true}, {true, 6, false}};
    for (auto &c : cases) {
        SCOPED_TRACE(c.aniType);
        if (c.stored)
            WriteRegDword(LM, kGweMenu, L"AniType", c.aniType);
        else
            DeleteRegValue(LM, kGweMenu, L"AniType");
        RunSystemPage(TAB_GRAPHICS, [&](HWND page) {
            EXPECT_EQ(c.ticked, IsTicked(page, IDC_GFX_START_MENU));
            Tap(page, IDC_GFX_START_MENU);
            EXPECT_EQ(c.ticked ? 6u : 0u, RegDwordOr(LM, kGweMenu, L"AniType", 99));
            Tap(page, IDC_GFX_START_MENU);
            EXPECT_EQ(c.ticked ? 0u : 6u, RegDwordOr(LM, kGweMenu, L"AniType", 99));
        });
    }
}

TEST_F(GraphicsPageTest, MeasuresShowTheirValueAndTickUnlessStandard)
{
    // The counterparts are never read.
    WriteRegDword(LM, kGwe, L"cxHScr", 20);
    WriteRegDword(LM, kGwe, L"cxVScr", 13);
    struct {
        DWORD stored;
        const wchar_t *shown;
    } cases[] = {{20, L"20"}, {13, L"13"}, {0, L"0"}, {0xFFFFFFFFu, L"4294967295"}};
    for (auto &c : cases) {
        SCOPED_TRACE(c.stored);
        WriteRegDword(LM, kGwe, L"cyVScr", c.stored);
        WriteRegDword(LM, kGwe, L"cyHScr", c.stored);
        RunSystemPage(TAB_GRAPHICS, [&](HWND page) {
            for (const Measure &measure : kMeasures)
                ExpectEditAndBox(page, measure.edit, c.shown, measure.box, c.stored != measure.standard);
        });
    }
}

TEST_F(GraphicsPageTest, MeasureBoxesWriteBothValuesAndNeverRefuse)
{
    RunSystemPage(TAB_GRAPHICS, [](HWND page) {
        for (const Measure &measure : kMeasures) {
            SCOPED_TRACE(measure.name);
            ASSERT_FALSE(IsTicked(page, measure.box)) << "the factory measures are the standard ones";
            struct {
                const wchar_t *edit;
                DWORD stored;
            } cases[] = {{L"25", 25}, {L"", measure.standard}, {L"wide", measure.standard}, {L"7px", 7},
                         {L"20", 20}, {L"13", 13}};
            for (auto &c : cases) {
                SetField(page, measure.edit, c.edit);
                Tap(page, measure.box);
                EXPECT_TRUE(IsTicked(page, measure.box));
                EXPECT_EQ(c.stored, Gwe(measure.shown)) << testing::PrintToString(std::wstring(c.edit));
                EXPECT_EQ(c.stored, Gwe(measure.counterpart)) << testing::PrintToString(std::wstring(c.edit));
                // Cleared, the standard measure whatever the edit shows.
                Tap(page, measure.box);
                EXPECT_EQ(measure.standard, Gwe(measure.shown));
                EXPECT_EQ(measure.standard, Gwe(measure.counterpart));
                EXPECT_EQ(c.edit, FieldText(page, measure.edit));
            }
        }
        EXPECT_EQ(0, SimMessageBoxCount()) << "no measure is refused";
        // Each box writes its own pair only.
        WriteRegDword(LM, kGwe, L"cyHScr", 5);
        WriteRegDword(LM, kGwe, L"cxVScr", 5);
        SetField(page, IDC_GFX_ARROW_EDIT, L"30");
        Tap(page, IDC_GFX_ARROW);
        EXPECT_EQ(30u, Gwe(L"cyVScr"));
        EXPECT_EQ(5u, Gwe(L"cyHScr"));
        EXPECT_EQ(5u, Gwe(L"cxVScr"));
    });
}

TEST_F(GraphicsPageTest, BothSpinnersRunFromOneToThirtyAndWrapToThirteen)
{
    struct {
        const wchar_t *from;
        int delta;
        const wchar_t *to;
    } cases[] = {{L"30", -1, L"13"}, {L"1", 1, L"13"}, {L"29", -1, L"30"}, {L"20", -1, L"21"}, {L"20", 1, L"19"}};
    RunSystemPage(TAB_GRAPHICS, [&](HWND page) {
        for (const Measure &measure : kMeasures) {
            SCOPED_TRACE(measure.name);
            const Measure &other = &measure == &kMeasures[0] ? kMeasures[1] : kMeasures[0];
            SetField(page, other.edit, L"4");
            for (auto &c : cases) {
                SetField(page, measure.edit, c.from);
                Spin(page, measure.spin, c.delta);
                EXPECT_EQ(c.to, FieldText(page, measure.edit)) << testing::PrintToString(std::wstring(c.from));
            }
            EXPECT_EQ(L"4", FieldText(page, other.edit));
        }
        SetField(page, IDC_GFX_ARROW_EDIT, L"30");
        PressSpinnerArrow(page, IDC_GFX_ARROW_SPIN, true);
        EXPECT_EQ(L"13", FieldText(page, IDC_GFX_ARROW_EDIT));
    });
    EXPECT_EQ(20u, Gwe(L"cyVScr")) << "spinning commits nothing";
    EXPECT_EQ(13u, Gwe(L"cyHScr"));
}

TEST_F(GraphicsPageTest, TheHelpButtonExplainsTheGlyphCache)
{
    RunSystemPage(TAB_GRAPHICS, [](HWND page) {
        ExpectHelpBox(page, IDC_GFX_HELP_GLYPH, MB_OK, L"Increases this cache, making graphics rendering faster.");
    });
}

TEST_F(GraphicsPageTest, AKeyThatCannotBeOpenedStopsTheReadingThereAndTapsWriteNothing)
{
    WriteRegDword(LM, kGwe, L"Animate", 1);
    WriteRegDword(LM, kGweMenu, L"AniType", 3);
    WriteRegDword(LM, kGlyphCache, L"limit", 16384);
    WriteRegDword(LM, kGwe, L"cyVScr", 25);
    {
        KeyLockout lockout(LM, kGlyphCache);
        ASSERT_TRUE(lockout.locked());
        RunSystemPage(TAB_GRAPHICS, [](HWND page) {
            EXPECT_TRUE(IsTicked(page, IDC_GFX_ANIMATE));
            EXPECT_TRUE(IsTicked(page, IDC_GFX_START_MENU));
            EXPECT_FALSE(IsTicked(page, IDC_GFX_GLYPH_CACHE));
            for (const Measure &measure : kMeasures) ExpectEditAndBox(page, measure.edit, L"", measure.box, false);
            Tap(page, IDC_GFX_GLYPH_CACHE);
        });
    }
    EXPECT_EQ(16384u, RegDwordOr(LM, kGlyphCache, L"limit", 99));
    RunSystemPage(TAB_GRAPHICS, [](HWND page) {
        KeyLockout lockout(LM, kGwe);
        ASSERT_TRUE(lockout.locked());
        SetField(page, IDC_GFX_ARROW_EDIT, L"7");
        Tap(page, IDC_GFX_ARROW);
        Tap(page, IDC_GFX_ARROW);
        EXPECT_TRUE(IsTicked(page, IDC_GFX_ARROW));
        Tap(page, IDC_GFX_ANIMATE);
        EXPECT_FALSE(IsTicked(page, IDC_GFX_ANIMATE));
    });
    EXPECT_EQ(25u, Gwe(L"cyVScr"));
    EXPECT_EQ(20u, Gwe(L"cxHScr"));
    EXPECT_EQ(1u, Gwe(L"Animate"));
}
