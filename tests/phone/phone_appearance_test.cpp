// The phone appearance page ("Appearence"): DWORD boxes under HKLM, each change
// announced by one setting-change broadcast.
#include "phone_kit.h"

namespace {

// The rows that differ: inverted, plain, a special value, and a flushed light that
// shares its value name with the other light.
const DwordBox kBoxes[] = {
    {IDC_PA_UNLIMITED_VIDEO, LM, L"SOFTWARE\\HTC\\camera\\P3", L"EnableLimit", 0, 1},
    {IDC_PA_TIME_SYNC, LM, L"SOFTWARE\\OEM\\PhoneSetting", L"ShowTimeZonesPage", 1, 0},
    {IDC_PA_GPRS_DISCONNECT, LM, L"ControlPanel\\Phone", L"Flags2", 16, 0},
    {IDC_PA_GSM_LED_OFF, LM, L"Drivers\\BuiltIn\\NLEDMgr", L"Index", 0, 1},
};

class PhoneAppearanceTest : public PhonePageTest {};

}  // namespace

TEST_F(PhoneAppearanceTest, EachBoxWritesItsValueAndEveryTapBroadcastsOnce)
{
    for (const DwordBox &b : kBoxes) DeleteRegKey(LM, b.key);
    RunPhonePage(TAB_PHONE_APPEARANCE, [](HWND) {});
    EXPECT_EQ(0, SimBroadcastCount()) << "opening the page announces nothing";
    EXPECT_FALSE(RegKeyExists(LM, kBoxes[0].key)) << "opening creates no key";
    CheckDwordBoxes(RunPhonePage, TAB_PHONE_APPEARANCE, kBoxes, 4);

    // Only the exact value ticks, and ticking writes it whole; the other light keeps
    // its own value; a value of another type counts as missing.
    WriteRegDword(LM, L"ControlPanel\\Phone", L"Flags2", 0x11);
    WriteRegDword(LM, L"Drivers\\BuiltIn\\BWLEDMgr", L"Index", 0);
    WriteTextOfType(LM, L"Drivers\\BuiltIn\\NLEDMgr", L"Index", REG_SZ, L"0");
    RunPhonePage(TAB_PHONE_APPEARANCE, [](HWND page) {
        EXPECT_FALSE(IsTicked(page, IDC_PA_GPRS_DISCONNECT));
        EXPECT_FALSE(IsTicked(page, IDC_PA_GSM_LED_OFF));
        EXPECT_TRUE(IsTicked(page, IDC_PA_BT_LED_OFF));
        int before = SimBroadcastCount();
        Tap(page, IDC_PA_GPRS_DISCONNECT);
        ExpectOneSettingsNotice(before, false);
        EXPECT_EQ(16u, RegDwordOr(LM, L"ControlPanel\\Phone", L"Flags2", 0xDEAD));
        before = SimBroadcastCount();
        Tap(page, IDC_PA_GSM_LED_OFF);
        ExpectOneSettingsNotice(before, false);
    });
    EXPECT_EQ(0u, RegDwordOr(LM, L"Drivers\\BuiltIn\\NLEDMgr", L"Index", 0xDEAD));
    EXPECT_EQ(0u, RegDwordOr(LM, L"Drivers\\BuiltIn\\BWLEDMgr", L"Index", 0xDEAD));
}

TEST_F(PhoneAppearanceTest, AHelpButtonExplainsWithoutWritingOrBroadcasting)
{
    RunPhonePage(TAB_PHONE_APPEARANCE, [&](HWND page) {
        ExpectHelpBox(page, IDC_PA_HELP_GPRS, MB_OK,
                      L"Enables a disconnect button for GPRS connections to appear in the connectively list.");
        EXPECT_EQ(0, SimBroadcastCount());
        EXPECT_FALSE(IsTicked(page, IDC_PA_GPRS_DISCONNECT));
    });
    EXPECT_EQ(1u, RegDwordOr(LM, L"SOFTWARE\\HTC\\camera\\P3", L"EnableLimit", 0xDEAD));
}
