// The settings icons and rotation ClearType page ("Settings2").
#include "tests/hosts/host_kit.h"

namespace {

const wchar_t kClearType[] = L"System\\GDI\\ClearTypeSettings";
const wchar_t kRotation[] = L"System\\GDI\\Rotation";

// The rows that differ: ClearType is inverted and has no "Redirect", the rotation
// key only loses its "Redirect", About writes and deletes one; Connections is plain.
struct BoxCase {
    DwordBox box;
    bool redirectWritten;   // ticking writes an empty "Redirect"
    bool redirectDeleted;   // clearing deletes "Redirect"
};

const BoxCase kBoxes[] = {
    {{IDC_ICONS_CLEARTYPE, LM, kClearType, L"OffOnRotation", 0, 1}, false, false},
    {{IDC_ICONS_HIDE_ORIENTATION, LM, kRotation, L"HideOrientationUI", 1, 0}, false, true},
    {{IDC_ICONS_HIDE_ABOUT, LM, L"ControlPanel\\About", L"Hide", 1, 0}, true, true},
    {{IDC_ICONS_HIDE_CONNECTIONS, LM, L"ControlPanel\\Connections", L"Hide", 1, 0}, false, false},
};

class SettingsIconsPageTest : public DeviceTest {};

}  // namespace

TEST_F(SettingsIconsPageTest, OpeningCreatesTheKeysAndAnnouncesNothing)
{
    for (const BoxCase &c : kBoxes) DeleteRegKey(LM, c.box.key);
    int before = SimBroadcastCount();
    RunTodayPage(TAB_SETTINGS_ICONS, [](HWND) {});
    for (const BoxCase &c : kBoxes) EXPECT_TRUE(RegKeyExists(LM, c.box.key)) << c.box.key;
    EXPECT_TRUE(SettingsChangesSince(before).empty()) << "opening announces nothing";
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
            EXPECT_EQ(!c.redirectDeleted, RegValueExists(LM, c.box.key, L"Redirect"));
            ExpectOneSettingsNotice(before, false, "cleared");
        }
    });
}
