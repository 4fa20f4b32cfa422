// The three font pages follow the screen: each shape takes its own layout, the
// controls keep their state, and every control lies within the page, clear of the
// others, with its whole label.
#include "font_kit.h"

namespace {

struct PageCase {
    int tab;
    ShapeVariants variants;
    UINT box;    // tapped before the turns
    UINT edit;   // given a text before the turns
};

// The system font page is the one whose landscape layout is its main template.
const PageCase kPages[] = {
    {TAB_SYSTEM_FONT, {IDD_SYSTEM_FONT_PAGE_PORTRAIT, IDD_SYSTEM_FONT_PAGE, IDD_SYSTEM_FONT_PAGE_SQUARE},
     IDC_SYSFONT_ITALIC, IDC_SYSFONT_FACE_EDIT},
    {TAB_MENU_FONT, {IDD_MENU_FONT_PAGE, IDD_MENU_FONT_PAGE_LANDSCAPE, IDD_MENU_FONT_PAGE_SQUARE},
     IDC_MENUFONT_POP_BOLD, IDC_MENUFONT_BAR_FACE_EDIT},
    {TAB_GRAPHICS, {IDD_GRAPHICS_PAGE, IDD_GRAPHICS_PAGE_LANDSCAPE, IDD_GRAPHICS_PAGE_SQUARE}, IDC_GFX_ANIMATE,
     IDC_GFX_WIDTH_EDIT},
};

class FontPagesLayoutTest : public DeviceTest {};

}  // namespace

TEST_F(FontPagesLayoutTest, EachShapeTakesItsOwnLayoutAndTheControlsKeepTheirState)
{
    for (const PageCase &c : kPages) {
        SCOPED_TRACE(c.tab);
        bool ticked = false;
        CheckVariantPerShape(
            RunSystemPage, c.tab, c.variants,
            [&](HWND page) {
                Tap(page, c.box);
                ticked = IsTicked(page, c.box);
                SetField(page, c.edit, L"Courier New");
            },
            [&](HWND page) {
                EXPECT_EQ(ticked, IsTicked(page, c.box));
                EXPECT_EQ(L"Courier New", FieldText(page, c.edit));
                ExpectControlsInside(page);
                ExpectControlsApart(page);
                ExpectWholeCheckBoxLabels(page);
            });
        ExpectDoneInsideClosesHost(RunSystemPage, c.tab);
    }
}
