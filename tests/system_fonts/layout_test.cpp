// The three pages follow the screen: each shape takes its own layout, the controls
// keep their state, and every control lies within the page, clear of the others.
#include "font_kit.h"

namespace {

struct Spot {
    UINT control;
    RECT portrait, landscape, square;   // x, y, cx, cy in dialog units
};

struct PageCase {
    const char *name;
    int tab;
    UINT box;    // ticked before the turns
    UINT edit;   // given a text before the turns
    std::vector<Spot> spots;
};

const PageCase kPages[] = {
    {"system font", TAB_SYSTEM_FONT, IDC_SYSFONT_ITALIC, IDC_SYSFONT_FACE_EDIT,
     {{IDC_SYSFONT_FACE_EDIT, {96, 123, 150, 14}, {294, 33, 90, 14}, {110, 135, 220, 14}},
      {IDC_SYSFONT_HELP_SIZE, {296, 99, 16, 14}, {400, 9, 16, 14}, {400, 109, 16, 14}}}},
    {"menu font", TAB_MENU_FONT, IDC_MENUFONT_POP_BOLD, IDC_MENUFONT_BAR_FACE_EDIT,
     {{IDC_MENUFONT_BAR_FACE_EDIT, {108, 9, 150, 14}, {108, 9, 130, 14}, {116, 11, 200, 14}},
      {IDC_MENUFONT_POP_BOLD, {8, 168, 200, 12}, {270, 78, 150, 12}, {10, 184, 240, 12}}}},
    {"graphics", TAB_GRAPHICS, IDC_GFX_ANIMATE, IDC_GFX_WIDTH_EDIT,
     {{IDC_GFX_WIDTH_EDIT, {162, 99, 40, 14}, {354, 31, 40, 14}, {176, 109, 50, 14}},
      {IDC_GFX_HELP_GLYPH, {296, 53, 16, 14}, {186, 53, 16, 14}, {400, 59, 16, 14}}}},
};

void ExpectSpots(HWND page, const PageCase &c, int shape)
{
    for (const Spot &spot : c.spots) {
        const RECT &r = shape == SIM_PORTRAIT ? spot.portrait : shape == SIM_LANDSCAPE ? spot.landscape : spot.square;
        ExpectAt(page, spot.control, r.left, r.top, r.right, r.bottom);
    }
}

// Every control inside the page's area, none over another, every box's label whole.
void ExpectControlsInsideAndApart(HWND page)
{
    ExpectControlsInside(page);
    ExpectControlsApart(page);
    ExpectWholeCheckBoxLabels(page);
}

class FontPagesLayoutTest : public DeviceTest {};

}  // namespace

TEST_F(FontPagesLayoutTest, EachShapeTakesItsOwnLayoutAndTheControlsKeepTheirState)
{
    for (const PageCase &c : kPages) {
        SCOPED_TRACE(c.name);
        RunSystemPage(c.tab, [&](HWND page) {
            ExpectSpots(page, c, SIM_PORTRAIT);
            ExpectControlsInsideAndApart(page);
            bool wasTicked = IsTicked(page, c.box);
            Tap(page, c.box);
            SetField(page, c.edit, L"Courier New");
            for (int shape : {SIM_LANDSCAPE, SIM_SQUARE}) {
                ScreenTurn turn(shape);
                ASSERT_TRUE(turn.turned());
                ExpectSpots(page, c, shape);
                ExpectControlsInsideAndApart(page);
                EXPECT_NE(wasTicked, IsTicked(page, c.box));
                EXPECT_EQ(L"Courier New", FieldText(page, c.edit));
            }
            ExpectSpots(page, c, SIM_PORTRAIT);
        });
    }
}

TEST_F(FontPagesLayoutTest, APageMadeWhileTheScreenIsTurnedStartsInThatShapesLayout)
{
    RunHost(IDD_SYSTEM_HOST, SystemHostProc, [](HWND host) {
        HWND tabs = GetDlgItem(host, IDC_SYSTEM_TABS);
        for (int shape : {SIM_LANDSCAPE, SIM_SQUARE}) {
            ScreenTurn turn(shape);
            ASSERT_TRUE(turn.turned());
            for (const PageCase &c : kPages) {
                SCOPED_TRACE(c.name);
                // Away and back: the page is made anew.
                TapTab(tabs, c.tab == TAB_GRAPHICS ? TAB_SYSTEM_FONT : TAB_GRAPHICS);
                TapTab(tabs, c.tab);
                HWND page = PageInTabs(tabs);
                ASSERT_TRUE(page != NULL);
                ASSERT_TRUE(GetDlgItem(page, c.spots[0].control) != NULL) << "the page of another tab";
                ExpectSpots(page, c, shape);
            }
        }
        // Upright again, the page made last follows back.
        HWND page = PageInTabs(tabs);
        ExpectSpots(page, kPages[2], SIM_PORTRAIT);
    });
}

namespace {
class FontPagesDoneTest : public DeviceTest {};
}  // namespace

TEST_F(FontPagesDoneTest, DoneInsideEachPageClosesTheWholeHost)
{
    for (int tab : {TAB_SYSTEM_FONT, TAB_MENU_FONT, TAB_GRAPHICS}) {
        SCOPED_TRACE(tab);
        ExpectDoneInsideClosesHost(RunSystemPage, tab);
    }
}
