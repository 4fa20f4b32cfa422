// The Today host with its three pages: each tab's own page and Done inside it.
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
