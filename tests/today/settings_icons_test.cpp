// The settings icons and rotation ClearType page ("Settings2"): opening creates the
// keys it reads and announces nothing; every tap is broadcast to every window once.
#include "tests/hosts/host_kit.h"

namespace {

const wchar_t *const kKeys[] = {L"System\\GDI\\ClearTypeSettings", L"System\\GDI\\Rotation", L"ControlPanel\\About",
                                L"ControlPanel\\Connections", L"ControlPanel\\Today", L"ControlPanel\\Menus"};
const UINT kBoxes[] = {IDC_ICONS_CLEARTYPE, IDC_ICONS_HIDE_ORIENTATION, IDC_ICONS_HIDE_ABOUT,
                       IDC_ICONS_HIDE_CONNECTIONS, IDC_ICONS_HIDE_TODAY, IDC_ICONS_HIDE_MENUS};

class SettingsIconsPageTest : public DeviceTest {};

}  // namespace

TEST_F(SettingsIconsPageTest, OpeningCreatesTheKeysQuietlyAndEveryTapIsBroadcastOnce)
{
    for (const wchar_t *key : kKeys) DeleteRegKey(LM, key);
    int opened = SimBroadcastCount();
    RunTodayPage(TAB_SETTINGS_ICONS, [&](HWND page) {
        for (const wchar_t *key : kKeys) EXPECT_TRUE(RegKeyExists(LM, key)) << key;
        EXPECT_TRUE(SettingsChangesSince(opened).empty()) << "opening announces nothing";
        for (UINT box : kBoxes) {
            for (const char *tap : {"ticked", "cleared"}) {
                int before = SimBroadcastCount();
                Tap(page, box);
                ExpectOneSettingsNotice(before, false, tap);
            }
        }
    });
}
