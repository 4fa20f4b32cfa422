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

class GraphicsPageTest : public DeviceTest {};

}  // namespace

TEST_F(GraphicsPageTest, OpeningCreatesItsKeysAndShowsMeasuresUnsignedTickedUnlessStandard)
{
    DeleteRegKey(LM, kGwe);
    DeleteRegKey(LM, kGlyphCache);
    // A measure of another type counts as missing: "1", ticked.
    WriteTextOfType(LM, kGwe, L"cyVScr", REG_SZ, L"20");
    RunSystemPage(TAB_GRAPHICS, [](HWND page) {
        EXPECT_TRUE(IsTicked(page, IDC_GFX_START_MENU)) << "a missing AniType counts as 0";
        for (const Measure &measure : kMeasures) ExpectEditAndBox(page, measure.edit, L"1", measure.box, true);
    });
    EXPECT_EQ(0, ValueCount(LM, kGweMenu));
    EXPECT_EQ(0, ValueCount(LM, kGlyphCache));
    EXPECT_EQ(1, ValueCount(LM, kGwe));
    // Shown from one value of each pair; the counterparts are never read.
    WriteRegDword(LM, kGwe, L"cyVScr", 20);
    WriteRegDword(LM, kGwe, L"cyHScr", 0xFFFFFFFFu);
    WriteRegDword(LM, kGwe, L"cxVScr", 13);
    RunSystemPage(TAB_GRAPHICS, [](HWND page) {
        ExpectEditAndBox(page, IDC_GFX_ARROW_EDIT, L"20", IDC_GFX_ARROW, false);
        ExpectEditAndBox(page, IDC_GFX_WIDTH_EDIT, L"4294967295", IDC_GFX_WIDTH, true);
    });
}

// Spinners run from 1 to 30 and wrap to 13 without committing; boxes write their
// pair, and no measure is refused, not even the standard one.
TEST_F(GraphicsPageTest, MeasureSpinnersWrapToThirteenAndBoxesWriteTheirPairUnrefused)
{
    RunSystemPage(TAB_GRAPHICS, [](HWND page) {
        for (const Measure &measure : kMeasures) {
            SCOPED_TRACE(measure.name);
            const Measure &other = &measure == &kMeasures[0] ? kMeasures[1] : kMeasures[0];
            SetField(page, other.edit, L"4");
            for (auto step : {std::make_pair(L"30", -1), std::make_pair(L"1", 1)}) {
                SetField(page, measure.edit, step.first);
                Spin(page, measure.spin, step.second);
                EXPECT_EQ(L"13", FieldText(page, measure.edit));
            }
            EXPECT_EQ(L"4", FieldText(page, other.edit));
            EXPECT_EQ(measure.standard, Gwe(measure.shown)) << "spinning commits nothing";
            struct {
                std::wstring edit;
                DWORD stored;
            } cases[] = {{L"25", 25}, {L"wide", measure.standard}, {std::to_wstring(measure.standard), measure.standard}};
            for (auto &c : cases) {
                Commit(page, measure.edit, c.edit, measure.box);
                EXPECT_EQ(c.stored, Gwe(measure.shown));
                EXPECT_EQ(c.stored, Gwe(measure.counterpart));
                Commit(page, measure.edit, L"7", measure.box);
                EXPECT_EQ(measure.standard, Gwe(measure.shown)) << "cleared, the standard measure";
                EXPECT_EQ(measure.standard, Gwe(measure.counterpart));
            }
        }
        EXPECT_EQ(0, SimMessageBoxCount());
        WriteRegDword(LM, kGwe, L"cyHScr", 5);
        Commit(page, IDC_GFX_ARROW_EDIT, L"30", IDC_GFX_ARROW);
        EXPECT_EQ(5u, Gwe(L"cyHScr")) << "each box writes its own pair only";
    });
}

TEST_F(GraphicsPageTest, AMeasureWhoseKeyCannotBeOpenedIsNotWritten)
{
    WriteRegDword(LM, kGwe, L"cyVScr", 25);
    RunSystemPage(TAB_GRAPHICS, [](HWND page) {
        KeyLockout lockout(LM, kGwe);
        ASSERT_TRUE(lockout.locked());
        Commit(page, IDC_GFX_ARROW_EDIT, L"7", IDC_GFX_ARROW);
    });
    EXPECT_EQ(25u, Gwe(L"cyVScr")) << "cleared, it would store 20";
}
