// The phone appearance page ("Appearence"): seven DWORD boxes under HKLM, each change
// announced by one setting-change broadcast.
#include "phone_kit.h"

namespace {

struct Box {
    UINT box;
    const wchar_t *key;
    const wchar_t *name;
    DWORD ticked, cleared;
};

const Box kBoxes[] = {
    {IDC_PA_UNLIMITED_VIDEO, L"SOFTWARE\\HTC\\camera\\P3", L"EnableLimit", 0, 1},
    {IDC_PA_TIME_SYNC, L"SOFTWARE\\OEM\\PhoneSetting", L"ShowTimeZonesPage", 1, 0},
    {IDC_PA_GPRS_DISCONNECT, L"ControlPanel\\Phone", L"Flags2", 16, 0},
    {IDC_PA_NO_OPERATOR_SKIN, L"Security\\Phone\\Skin", L"Enabled", 0, 1},
    {IDC_PA_EDGE_ICON, L"Drivers\\BuiltIn\\RIL", L"EnableDifferGprsEdgeIcon", 1, 0},
    {IDC_PA_GSM_LED_OFF, L"Drivers\\BuiltIn\\NLEDMgr", L"Index", 0, 1},
    {IDC_PA_BT_LED_OFF, L"Drivers\\BuiltIn\\BWLEDMgr", L"Index", 0, 1},
};

DWORD Stored(const Box &b)
{
    return RegDwordOr(HKEY_LOCAL_MACHINE, b.key, b.name, 0xDEAD);
}

class PhoneAppearanceTest : public PhonePageTest {};

}  // namespace

TEST_F(PhoneAppearanceTest, EachTapWritesItsValueAndBroadcastsOnce)
{
    for (const Box &b : kBoxes) DeleteRegKey(HKEY_LOCAL_MACHINE, b.key);
    RunPhonePage(TAB_PHONE_APPEARANCE, [](HWND page) {
        EXPECT_EQ(0, SimBroadcastCount()) << "opening the page announces nothing";
        for (const Box &b : kBoxes) {
            SCOPED_TRACE(b.name);
            EXPECT_FALSE(IsTicked(page, b.box)) << "a missing key leaves its box clear";
            int before = SimBroadcastCount();
            Tap(page, b.box);
            EXPECT_EQ(b.ticked, Stored(b));
            ExpectOneSettingsNotice(before, false);
            before = SimBroadcastCount();
            Tap(page, b.box);
            EXPECT_EQ(b.cleared, Stored(b));
            ExpectOneSettingsNotice(before, false);
            before = SimBroadcastCount();
            Tap(page, b.box);
            EXPECT_EQ(b.ticked, Stored(b));
            ExpectOneSettingsNotice(before, false);
        }
    });
    RunPhonePage(TAB_PHONE_APPEARANCE, [](HWND page) {
        for (const Box &b : kBoxes) EXPECT_TRUE(IsTicked(page, b.box)) << b.name;
    });
    // The two lights share a value name under their own keys.
    WriteRegDword(HKEY_LOCAL_MACHINE, L"Drivers\\BuiltIn\\NLEDMgr", L"Index", 1);
    RunPhonePage(TAB_PHONE_APPEARANCE, [](HWND page) {
        EXPECT_FALSE(IsTicked(page, IDC_PA_GSM_LED_OFF));
        EXPECT_TRUE(IsTicked(page, IDC_PA_BT_LED_OFF));
        Tap(page, IDC_PA_GSM_LED_OFF);
        Tap(page, IDC_PA_GSM_LED_OFF);
    });
    EXPECT_EQ(1u, RegDwordOr(HKEY_LOCAL_MACHINE, L"Drivers\\BuiltIn\\NLEDMgr", L"Index", 0xDEAD));
    EXPECT_EQ(0u, RegDwordOr(HKEY_LOCAL_MACHINE, L"Drivers\\BuiltIn\\BWLEDMgr", L"Index", 0xDEAD));
}

TEST_F(PhoneAppearanceTest, OnlyTheExactValueTicksAndTickingWritesItWhole)
{
    WriteRegDword(HKEY_LOCAL_MACHINE, L"ControlPanel\\Phone", L"Flags2", 0x11);
    WriteRegDword(HKEY_LOCAL_MACHINE, L"SOFTWARE\\HTC\\camera\\P3", L"EnableLimit", 2);
    WriteRegDword(HKEY_LOCAL_MACHINE, L"SOFTWARE\\OEM\\PhoneSetting", L"ShowTimeZonesPage", 2);
    RunPhonePage(TAB_PHONE_APPEARANCE, [](HWND page) {
        EXPECT_FALSE(IsTicked(page, IDC_PA_GPRS_DISCONNECT));
        Tap(page, IDC_PA_GPRS_DISCONNECT);
        EXPECT_EQ(16u, Stored(kBoxes[2]));
        EXPECT_FALSE(IsTicked(page, IDC_PA_UNLIMITED_VIDEO));
        Tap(page, IDC_PA_UNLIMITED_VIDEO);
        EXPECT_EQ(0u, Stored(kBoxes[0]));
        Tap(page, IDC_PA_UNLIMITED_VIDEO);
        EXPECT_EQ(1u, Stored(kBoxes[0]));
        EXPECT_FALSE(IsTicked(page, IDC_PA_TIME_SYNC));
    });
}

TEST_F(PhoneAppearanceTest, MissingOrUnusableValuesShowTheirBoxClear)
{
    // Each missing value follows one that would tick its box, so a value left over
    // from the read before would show.
    WriteRegDword(HKEY_LOCAL_MACHINE, L"Drivers\\BuiltIn\\NLEDMgr", L"Index", 0);
    DeleteRegValue(HKEY_LOCAL_MACHINE, L"Drivers\\BuiltIn\\BWLEDMgr", L"Index");
    WriteRegDword(HKEY_LOCAL_MACHINE, L"Security\\Phone\\Skin", L"Enabled", 0);
    DeleteRegKey(HKEY_LOCAL_MACHINE, L"Drivers\\BuiltIn\\RIL");
    DeleteRegValue(HKEY_LOCAL_MACHINE, L"SOFTWARE\\HTC\\camera\\P3", L"EnableLimit");
    WriteRegDword(HKEY_LOCAL_MACHINE, L"SOFTWARE\\OEM\\PhoneSetting", L"ShowTimeZonesPage", 1);
    RunPhonePage(TAB_PHONE_APPEARANCE, [](HWND page) {
        EXPECT_TRUE(IsTicked(page, IDC_PA_GSM_LED_OFF));
        EXPECT_FALSE(IsTicked(page, IDC_PA_BT_LED_OFF));
        EXPECT_TRUE(IsTicked(page, IDC_PA_NO_OPERATOR_SKIN));
        EXPECT_FALSE(IsTicked(page, IDC_PA_EDGE_ICON));
        EXPECT_FALSE(IsTicked(page, IDC_PA_UNLIMITED_VIDEO));
        EXPECT_TRUE(IsTicked(page, IDC_PA_TIME_SYNC));
    });
    // The opening created no key.
    EXPECT_FALSE(RegKeyExists(HKEY_LOCAL_MACHINE, L"Drivers\\BuiltIn\\RIL"));

    // Of the wrong type or size, a value that would tick counts as missing.
    DWORD zero = 0;
    unsigned long long wide = 0;
    WriteRegRaw(HKEY_LOCAL_MACHINE, L"SOFTWARE\\HTC\\camera\\P3", L"EnableLimit", REG_BINARY, &zero, sizeof zero);
    WriteRegRaw(HKEY_LOCAL_MACHINE, L"Security\\Phone\\Skin", L"Enabled", REG_DWORD, &zero, 2);
    WriteRegRaw(HKEY_LOCAL_MACHINE, L"Drivers\\BuiltIn\\NLEDMgr", L"Index", REG_QWORD, &wide, sizeof wide);
    WriteTextOfType(HKEY_LOCAL_MACHINE, L"Drivers\\BuiltIn\\BWLEDMgr", L"Index", REG_SZ, L"0");
    RunPhonePage(TAB_PHONE_APPEARANCE, [](HWND page) {
        EXPECT_FALSE(IsTicked(page, IDC_PA_UNLIMITED_VIDEO));
        EXPECT_FALSE(IsTicked(page, IDC_PA_NO_OPERATOR_SKIN));
        EXPECT_FALSE(IsTicked(page, IDC_PA_GSM_LED_OFF));
        EXPECT_FALSE(IsTicked(page, IDC_PA_BT_LED_OFF));
        // Ticking puts a proper DWORD in its place.
        Tap(page, IDC_PA_BT_LED_OFF);
    });
    EXPECT_EQ(0u, RegDwordOr(HKEY_LOCAL_MACHINE, L"Drivers\\BuiltIn\\BWLEDMgr", L"Index", 0xDEAD));
}

TEST_F(PhoneAppearanceTest, HelpButtonsExplainWithoutWritingOrBroadcasting)
{
    RunPhonePage(TAB_PHONE_APPEARANCE, [&](HWND page) {
        ExpectHelpBox(page, IDC_PA_HELP_TIME_SYNC, MB_OK, L"Add time sync page to Phone Settings.");
        ExpectHelpBox(page, IDC_PA_HELP_GPRS, MB_OK,
                      L"Enables a disconnect button for GPRS connections to appear in the connectively list.");
        ExpectHelpBox(page, IDC_PA_HELP_EDGE, MB_OK, L"Show Edge network indicator instead of GPRS.");
        ExpectHelpBox(page, IDC_PA_HELP_GSM_LED, MB_OK, L"To disable green flashing GSM signal light.");
        ExpectHelpBox(page, IDC_PA_HELP_BT_LED, MB_OK, L"To disable blinking blue bluetooth light.");
        EXPECT_EQ(0, SimBroadcastCount());
        for (const Box &b : kBoxes) EXPECT_FALSE(IsTicked(page, b.box));
    });
    EXPECT_EQ(1u, Stored(kBoxes[0]));
}
