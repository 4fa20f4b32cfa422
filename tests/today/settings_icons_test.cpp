// The settings icons and rotation ClearType page ("Settings2").
#include "tests/today/today_kit.h"

namespace {

const HKEY LM = HKEY_LOCAL_MACHINE;
const wchar_t kClearType[] = L"System\\GDI\\ClearTypeSettings";
const wchar_t kRotation[] = L"System\\GDI\\Rotation";

struct BoxCase {
    UINT box;
    const wchar_t *key;
    const wchar_t *name;
    DWORD ticked, cleared;
    bool redirectWritten;   // ticking writes an empty "Redirect"
    bool redirectDeleted;   // clearing deletes "Redirect"
};

// In the order the page reads them.
const BoxCase kBoxes[] = {
    {IDC_ICONS_CLEARTYPE, kClearType, L"OffOnRotation", 0, 1, false, false},
    {IDC_ICONS_HIDE_ORIENTATION, kRotation, L"HideOrientationUI", 1, 0, false, true},
    {IDC_ICONS_HIDE_ABOUT, L"ControlPanel\\About", L"Hide", 1, 0, true, true},
    {IDC_ICONS_HIDE_CONNECTIONS, L"ControlPanel\\Connections", L"Hide", 1, 0, false, false},
    {IDC_ICONS_HIDE_TODAY, L"ControlPanel\\Today", L"Hide", 1, 0, true, true},
    {IDC_ICONS_HIDE_MENUS, L"ControlPanel\\Menus", L"Hide", 1, 0, true, true},
};

class SettingsIconsPageTest : public DeviceTest {};

}  // namespace

TEST_F(SettingsIconsPageTest, OpeningCreatesTheSixKeysAndTicksOnlyWhatTheValuesSay)
{
    for (const BoxCase &c : kBoxes) DeleteRegKey(LM, c.key);
    int before = SimBroadcastCount();
    RunTodayPage(TAB_SETTINGS_ICONS, [](HWND page) {
        for (const BoxCase &c : kBoxes) EXPECT_FALSE(IsTicked(page, c.box)) << c.key;
    });
    for (const BoxCase &c : kBoxes) {
        EXPECT_TRUE(RegKeyExists(LM, c.key)) << c.key;
        EXPECT_FALSE(RegValueExists(LM, c.key, c.name)) << c.key;
    }
    EXPECT_TRUE(SettingsChangesSince(before).empty()) << "opening announces nothing";

    for (const BoxCase &c : kBoxes) WriteRegDword(LM, c.key, c.name, c.ticked);
    RunTodayPage(TAB_SETTINGS_ICONS, [](HWND page) {
        for (const BoxCase &c : kBoxes) EXPECT_TRUE(IsTicked(page, c.box)) << c.key;
    });
    for (const BoxCase &c : kBoxes) WriteRegDword(LM, c.key, c.name, c.cleared);
    RunTodayPage(TAB_SETTINGS_ICONS, [](HWND page) {
        for (const BoxCase &c : kBoxes) EXPECT_FALSE(IsTicked(page, c.box)) << c.key;
    });
    // Values of another type count as missing: ClearType's 0 as text, a 1 in binary.
    const DWORD one = 1;
    WriteTextOfType(LM, kClearType, L"OffOnRotation", REG_SZ, L"0");
    WriteRegRaw(LM, kRotation, L"HideOrientationUI", REG_BINARY, &one, sizeof one);
    WriteRegDword(LM, L"ControlPanel\\Menus", L"Hide", 3);
    RunTodayPage(TAB_SETTINGS_ICONS, [](HWND page) {
        EXPECT_FALSE(IsTicked(page, IDC_ICONS_CLEARTYPE));
        EXPECT_FALSE(IsTicked(page, IDC_ICONS_HIDE_ORIENTATION));
        EXPECT_FALSE(IsTicked(page, IDC_ICONS_HIDE_MENUS));
    });
}

TEST_F(SettingsIconsPageTest, EachBoxWritesItsValuesAndIsBroadcastOnce)
{
    for (const BoxCase &c : kBoxes) {
        DeleteRegKey(LM, c.key);
        // A "Redirect" the box does not write on ticking must survive the tick.
        WriteRegString(LM, c.key, L"Redirect", L"stale");
    }
    RunTodayPage(TAB_SETTINGS_ICONS, [](HWND page) {
        for (const BoxCase &c : kBoxes) {
            SCOPED_TRACE(c.key);
            int before = SimBroadcastCount();
            Tap(page, c.box);
            EXPECT_EQ(c.ticked, RegDwordOr(LM, c.key, c.name, 99));
            if (c.redirectWritten)
                EXPECT_TRUE(IsEmptyText(LM, c.key, L"Redirect"));
            else
                EXPECT_EQ(L"stale", RegTextOr(LM, c.key, L"Redirect", L"gone"));
            ExpectOneNotice(before, false, "ticked");

            before = SimBroadcastCount();
            Tap(page, c.box);
            EXPECT_EQ(c.cleared, RegDwordOr(LM, c.key, c.name, 99));
            if (c.redirectDeleted)
                EXPECT_FALSE(RegValueExists(LM, c.key, L"Redirect"));
            else
                EXPECT_EQ(L"stale", RegTextOr(LM, c.key, L"Redirect", L"gone"));
            ExpectOneNotice(before, false, "cleared");
        }
        // Clearing with no "Redirect" left is no error.
        int before = SimBroadcastCount();
        Tap(page, IDC_ICONS_HIDE_ORIENTATION);
        Tap(page, IDC_ICONS_HIDE_ORIENTATION);
        EXPECT_EQ(0u, RegDwordOr(LM, kRotation, L"HideOrientationUI", 99));
        EXPECT_EQ(2u, SettingsChangesSince(before).size());
    });
    // The ClearType value is the one the system font page shows too.
    EXPECT_EQ(1u, RegDwordOr(LM, kClearType, L"OffOnRotation", 99));
}

TEST_F(SettingsIconsPageTest, AKeyThatCannotBeMadeStopsTheReadingOrTheWriteAndIsNotBroadcast)
{
    // ClearType and the rotation key can be read; "ControlPanel\About" cannot be made,
    // so the boxes after it stay clear although their values say hidden.
    WriteRegDword(LM, kClearType, L"OffOnRotation", 0);
    WriteRegDword(LM, kRotation, L"HideOrientationUI", 1);
    RefuseNewKeysUnder(LM, L"ControlPanel", {L"Connections", L"Today", L"Menus"});
    RunTodayPage(TAB_SETTINGS_ICONS, [](HWND page) {
        EXPECT_TRUE(IsTicked(page, IDC_ICONS_CLEARTYPE));
        EXPECT_TRUE(IsTicked(page, IDC_ICONS_HIDE_ORIENTATION));
        EXPECT_FALSE(IsTicked(page, IDC_ICONS_HIDE_ABOUT));
        EXPECT_FALSE(IsTicked(page, IDC_ICONS_HIDE_CONNECTIONS));
        EXPECT_FALSE(IsTicked(page, IDC_ICONS_HIDE_TODAY));
        EXPECT_FALSE(IsTicked(page, IDC_ICONS_HIDE_MENUS));

        int before = SimBroadcastCount();
        Tap(page, IDC_ICONS_HIDE_ABOUT);
        EXPECT_FALSE(RegKeyExists(LM, L"ControlPanel\\About"));
        EXPECT_TRUE(SettingsChangesSince(before).empty());
        // Keys that exist still take their boxes' writes.
        Tap(page, IDC_ICONS_HIDE_MENUS);
        EXPECT_EQ(1u, RegDwordOr(LM, L"ControlPanel\\Menus", L"Hide", 99));
        ExpectOneNotice(before, false, "menus");
    });
    // The first key already fails: nothing is read at all.
    RefuseNewKeysUnder(LM, L"System\\GDI", {L"Rotation"});
    RunTodayPage(TAB_SETTINGS_ICONS, [](HWND page) {
        EXPECT_FALSE(IsTicked(page, IDC_ICONS_HIDE_ORIENTATION));
        int before = SimBroadcastCount();
        Tap(page, IDC_ICONS_CLEARTYPE);
        EXPECT_FALSE(RegKeyExists(LM, kClearType));
        EXPECT_TRUE(SettingsChangesSince(before).empty());
    });
}

TEST_F(SettingsIconsPageTest, EachScreenShapeTakesItsLayoutAndTheBoxesKeepTheirState)
{
    RunTodayPage(TAB_SETTINGS_ICONS, [](HWND page) {
        EXPECT_TRUE(LaidOutLike(page, IDD_SETTINGS_ICONS_PAGE));
        EXPECT_FALSE(LaidOutLike(page, IDD_SETTINGS_ICONS_PAGE_SQUARE));
        Tap(page, IDC_ICONS_HIDE_TODAY);
        {
            ScreenTurn turn(SIM_LANDSCAPE);
            ASSERT_TRUE(turn.turned());
            EXPECT_TRUE(LaidOutLike(page, IDD_SETTINGS_ICONS_PAGE_LANDSCAPE));
        }
        {
            ScreenTurn turn(SIM_SQUARE);
            ASSERT_TRUE(turn.turned());
            EXPECT_TRUE(LaidOutLike(page, IDD_SETTINGS_ICONS_PAGE_SQUARE));
            EXPECT_TRUE(IsTicked(page, IDC_ICONS_HIDE_TODAY));
        }
        EXPECT_TRUE(LaidOutLike(page, IDD_SETTINGS_ICONS_PAGE));
    });
    ScreenTurn turn(SIM_SQUARE);
    ASSERT_TRUE(turn.turned());
    RunTodayPage(TAB_SETTINGS_ICONS, [](HWND page) { EXPECT_TRUE(LaidOutLike(page, IDD_SETTINGS_ICONS_PAGE_SQUARE)); });
}
