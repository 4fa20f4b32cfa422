// The Today host with its three pages: each tab's own page, Done inside it, and each
// page following the screen's shape.
#include "tests/hosts/host_kit.h"

namespace {

class TodayHostPagesTest : public DeviceTest {};

}  // namespace

TEST_F(TodayHostPagesTest, EveryTabShowsItsOwnPageAndDoneInsideItClosesTheHost)
{
    // One control that only that tab's page has.
    const UINT marks[] = {IDC_TODAYTEXT_TEXT, IDC_ICONS_HIDE_MENUS, IDC_SOFTKEY_LEFT_PICK};
    for (int tab = 0; tab < 3; tab++) {
        SCOPED_TRACE(tab);
        ExpectDoneInsideClosesHost(RunTodayPage, tab, [&](HWND page) {
            EXPECT_EQ(1, CountPagesInTabs(GetParent(page)));
            for (int other = 0; other < 3; other++)
                EXPECT_EQ(other == tab, GetDlgItem(page, marks[other]) != NULL) << "control of tab " << other;
        });
    }
}

// Each page relayouts in place; what the user changed is kept through the turns.
TEST_F(TodayHostPagesTest, EachPageTakesEachShapesLayoutAndKeepsItsState)
{
    CheckVariantPerShape(
        RunTodayPage, TAB_TODAY_TEXT,
        {IDD_TODAY_TEXT_PAGE_PORTRAIT, IDD_TODAY_TEXT_PAGE_LANDSCAPE, IDD_TODAY_TEXT_PAGE},
        [](HWND page) {
            Tap(page, IDC_TODAYTEXT_HIDE_OWNER);
            SetField(page, IDC_TODAYTEXT_TEXT, L"Turned");
        },
        [](HWND page) {
            EXPECT_TRUE(IsTicked(page, IDC_TODAYTEXT_HIDE_OWNER));
            EXPECT_EQ(L"Turned", FieldText(page, IDC_TODAYTEXT_TEXT));
        });
    // The second page is the one whose portrait layout is its main template.
    CheckVariantPerShape(
        RunTodayPage, TAB_SETTINGS_ICONS,
        {IDD_SETTINGS_ICONS_PAGE, IDD_SETTINGS_ICONS_PAGE_LANDSCAPE, IDD_SETTINGS_ICONS_PAGE_SQUARE});
    CheckVariantPerShape(RunTodayPage, TAB_SOFT_KEYS,
                         {IDD_SOFTKEY_PAGE_PORTRAIT, IDD_SOFTKEY_PAGE_LANDSCAPE, IDD_SOFTKEY_PAGE});
}
