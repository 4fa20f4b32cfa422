// The settings icons and rotation ClearType page ("Settings2").
#include "tests/hosts/host_kit.h"

namespace {

const HKEY LM = HKEY_LOCAL_MACHINE;
const wchar_t kClearType[] = L"System\\GDI\\ClearTypeSettings";
const wchar_t kRotation[] = L"System\\GDI\\Rotation";

struct BoxCase {
    DwordBox box;
    bool redirectWritten;   // ticking writes an empty "Redirect"
    bool redirectDeleted;   // clearing deletes "Redirect"
};

// In the order the page reads them.
const BoxCase kBoxes[] = {
    {{IDC_ICONS_CLEARTYPE, LM, kClearType, L"OffOnRotation", 0, 1}, false, false},
    {{IDC_ICONS_HIDE_ORIENTATION, LM, kRotation, L"HideOrientationUI", 1, 0}, false, true},
    {{IDC_ICONS_HIDE_ABOUT, LM, L"ControlPanel\\About", L"Hide", 1, 0}, true, true},
    {{IDC_ICONS_HIDE_CONNECTIONS, LM, L"ControlPanel\\Connections", L"Hide", 1, 0}, false, false},
    {{IDC_ICONS_HIDE_TODAY, LM, L"ControlPanel\\Today", L"Hide", 1, 0}, true, true},
    {{IDC_ICONS_HIDE_MENUS, LM, L"ControlPanel\\Menus", L"Hide", 1, 0}, true, true},
};

class SettingsIconsPageTest : public DeviceTest {};

}  // namespace

TEST_F(SettingsIconsPageTest, OpeningCreatesTheSixKeysAndEachBoxShowsAndWritesItsValue)
{
    for (const BoxCase &c : kBoxes) DeleteRegKey(LM, c.box.key);
    int before = SimBroadcastCount();
    RunTodayPage(TAB_SETTINGS_ICONS, [](HWND) {});
    for (const BoxCase &c : kBoxes) {
        EXPECT_TRUE(RegKeyExists(LM, c.box.key)) << c.box.key;
        EXPECT_FALSE(RegValueExists(LM, c.box.key, c.box.name)) << c.box.key;
    }
    EXPECT_TRUE(SettingsChangesSince(before).empty()) << "opening announces nothing";

    std::vector<DwordBox> boxes;
    for (const BoxCase &c : kBoxes) boxes.push_back(c.box);
    CheckDwordBoxes(RunTodayPage, TAB_SETTINGS_ICONS, boxes.data(), (int)boxes.size());
    // Values of another type count as missing: ClearType's 0 as text, a 1 in binary.
    const DWORD one = 1;
    WriteTextOfType(LM, kClearType, L"OffOnRotation", REG_SZ, L"0");
    WriteRegRaw(LM, kRotation, L"HideOrientationUI", REG_BINARY, &one, sizeof one);
    RunTodayPage(TAB_SETTINGS_ICONS, [](HWND page) {
        EXPECT_FALSE(IsTicked(page, IDC_ICONS_CLEARTYPE));
        EXPECT_FALSE(IsTicked(page, IDC_ICONS_HIDE_ORIENTATION));
    });
}

TEST_F(SettingsIconsPageTest, EachBoxWritesItsRedirectAsItsTableSaysAndIsBroadcastOnce)
{
    for (const BoxCase &c : kBoxes) {
        DeleteRegKey(LM, c.box.key);
        // A "Redirect" the box does not write on ticking must survive the tick.
        WriteRegString(LM, c.box.key, L"Redirect", L"stale");
    }
    RunTodayPage(TAB_SETTINGS_ICONS, [](HWND page) {
        for (const BoxCase &c : kBoxes) {
            SCOPED_TRACE(c.box.key);
            int before = SimBroadcastCount();
            Tap(page, c.box.box);
            if (c.redirectWritten)
                EXPECT_TRUE(IsEmptyText(LM, c.box.key, L"Redirect"));
            else
                EXPECT_EQ(L"stale", RegTextOr(LM, c.box.key, L"Redirect", L"gone"));
            ExpectOneSettingsNotice(before, false, "ticked");

            before = SimBroadcastCount();
            Tap(page, c.box.box);
            EXPECT_EQ(c.box.cleared, RegDwordOr(LM, c.box.key, c.box.name, 99));
            EXPECT_EQ(!c.redirectDeleted, RegValueExists(LM, c.box.key, L"Redirect"));
            ExpectOneSettingsNotice(before, false, "cleared");
        }
        // Clearing with no "Redirect" left is no error.
        int before = SimBroadcastCount();
        Tap(page, IDC_ICONS_HIDE_ORIENTATION);
        Tap(page, IDC_ICONS_HIDE_ORIENTATION);
        EXPECT_EQ(0u, RegDwordOr(LM, kRotation, L"HideOrientationUI", 99));
        EXPECT_EQ(2u, SettingsChangesSince(before).size());
    });
}

TEST_F(SettingsIconsPageTest, AKeyThatCannotBeOpenedStopsTheReadingOrTheWriteAndIsNotBroadcast)
{
    for (const BoxCase &c : kBoxes) WriteRegDword(LM, c.box.key, c.box.name, c.box.ticked);
    DeleteRegValue(LM, L"ControlPanel\\About", L"Hide");
    WriteRegDword(LM, L"ControlPanel\\Menus", L"Hide", 0);
    {
        // ClearType and the rotation key are read; "ControlPanel\About" cannot be
        // opened, so the boxes after it stay clear although their values say hidden.
        KeyLockout lockout(LM, L"ControlPanel\\About");
        ASSERT_TRUE(lockout.locked());
        RunTodayPage(TAB_SETTINGS_ICONS, [](HWND page) {
            for (const BoxCase &c : kBoxes) EXPECT_EQ(&c < kBoxes + 2, IsTicked(page, c.box.box)) << c.box.key;
            int before = SimBroadcastCount();
            Tap(page, IDC_ICONS_HIDE_ABOUT);
            EXPECT_EQ(before, SimBroadcastCount());
            // Keys that open still take their boxes' writes.
            Tap(page, IDC_ICONS_HIDE_MENUS);
            EXPECT_EQ(1u, RegDwordOr(LM, L"ControlPanel\\Menus", L"Hide", 99));
            ExpectOneSettingsNotice(before, false, "menus");
        });
    }
    EXPECT_FALSE(RegValueExists(LM, L"ControlPanel\\About", L"Hide"));
    WriteRegDword(LM, kClearType, L"OffOnRotation", 1);
    {
        // The first key already fails: nothing is read at all.
        KeyLockout lockout(LM, kClearType);
        ASSERT_TRUE(lockout.locked());
        RunTodayPage(TAB_SETTINGS_ICONS, [](HWND page) {
            EXPECT_FALSE(IsTicked(page, IDC_ICONS_HIDE_ORIENTATION));
            int before = SimBroadcastCount();
            Tap(page, IDC_ICONS_CLEARTYPE);
            EXPECT_EQ(before, SimBroadcastCount());
        });
    }
    EXPECT_EQ(1u, RegDwordOr(LM, kClearType, L"OffOnRotation", 99));
}
