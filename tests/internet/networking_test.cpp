// The networking page ("NetWorking"): the box that is bound to nothing.
#include "tests/hosts/host_kit.h"

namespace {

class NetworkingPageTest : public DeviceTest {};

}  // namespace

TEST_F(NetworkingPageTest, The80211gBoxIsBoundToNothing)
{
    // Ticked on one opening, the 802.11g box starts clear on the next, and says nothing.
    for (int opening = 0; opening < 2; opening++) {
        RunInternetPage(TAB_NETWORKING, [](HWND page) {
            EXPECT_FALSE(IsTicked(page, IDC_NET_80211G));
            int before = SimMessageBoxCount();
            Tap(page, IDC_NET_80211G);
            EXPECT_TRUE(IsTicked(page, IDC_NET_80211G));
            EXPECT_EQ(0, MessageBoxesSince(before));
        });
    }
}
