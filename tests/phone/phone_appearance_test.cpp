// The phone appearance page ("Appearence"): each change is announced by one
// setting-change broadcast; opening and help announce nothing.
#include "phone_kit.h"

namespace {

class PhoneAppearanceTest : public PhonePageTest {};

}  // namespace

TEST_F(PhoneAppearanceTest, EveryTapOfABoxBroadcastsOnceAndNothingElseDoes)
{
    DeleteRegKey(LM, L"SOFTWARE\\HTC\\camera\\P3");
    RunPhonePage(TAB_PHONE_APPEARANCE, [](HWND page) {
        EXPECT_EQ(0, SimBroadcastCount()) << "opening the page announces nothing";
        EXPECT_FALSE(RegKeyExists(LM, L"SOFTWARE\\HTC\\camera\\P3")) << "opening creates no key";
        for (UINT box : {IDC_PA_UNLIMITED_VIDEO, IDC_PA_GPRS_DISCONNECT, IDC_PA_GSM_LED_OFF, IDC_PA_GSM_LED_OFF}) {
            int before = SimBroadcastCount();
            Tap(page, box);
            ExpectOneSettingsNotice(before, false);
        }
        int before = SimBroadcastCount();
        Tap(page, IDC_PA_HELP_GPRS);
        EXPECT_EQ(0, BroadcastsSince(before)) << "help announces nothing";
    });
}
