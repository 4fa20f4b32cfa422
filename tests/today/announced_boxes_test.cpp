// The boxes whose changes are announced to the shell: every tap, ticking or clearing,
// makes one settings-change notice; opening a page and its help announce nothing, and
// opening creates the keys the page reads (or none at all).
#include "tests/hosts/host_kit.h"

namespace {

struct Announced {
    UINT box;
    const wchar_t *key;   // created on opening; NULL when the page creates none
    bool posted;          // posted to the desktop rather than sent to every window
};

struct AnnouncingPage {
    PageRunner run;
    int tab;
    std::vector<Announced> boxes;
    UINT help;
};

const AnnouncingPage kPages[] = {
    {RunTodayPage, TAB_TODAY_TEXT,
     {{IDC_TODAYTEXT_HIDE_BUTTONS, L"ControlPanel\\Buttons", false}, {IDC_TODAYTEXT_HIDE_NETWORK, L"ControlPanel\\Network", true},
      {IDC_TODAYTEXT_HIDE_ADMIN, L"ControlPanel\\AdminPassword", true}, {IDC_TODAYTEXT_HIDE_PASSWORD, L"ControlPanel\\Password", true},
      {IDC_TODAYTEXT_HIDE_OWNER, L"ControlPanel\\Owner", true}},
     0},
    {RunTodayPage, TAB_SETTINGS_ICONS,
     {{IDC_ICONS_CLEARTYPE, L"System\\GDI\\ClearTypeSettings", false}, {IDC_ICONS_HIDE_ORIENTATION, L"System\\GDI\\Rotation", false},
      {IDC_ICONS_HIDE_ABOUT, L"ControlPanel\\About", false}, {IDC_ICONS_HIDE_CONNECTIONS, L"ControlPanel\\Connections", false},
      {IDC_ICONS_HIDE_TODAY, L"ControlPanel\\Today", false}, {IDC_ICONS_HIDE_MENUS, L"ControlPanel\\Menus", false}},
     0},
    {RunPhonePage, TAB_PHONE_APPEARANCE,
     {{IDC_PA_UNLIMITED_VIDEO, NULL, false}, {IDC_PA_GPRS_DISCONNECT, NULL, false}, {IDC_PA_GSM_LED_OFF, NULL, false}},
     IDC_PA_HELP_GPRS},
};

class AnnouncedBoxesTest : public DeviceTest {};

}  // namespace

TEST_F(AnnouncedBoxesTest, OpeningCreatesTheKeysQuietlyAndEveryTapIsAnnouncedOnce)
{
    const wchar_t camera[] = L"SOFTWARE\\HTC\\camera\\P3";
    DeleteRegKey(LM, camera);
    for (const AnnouncingPage &p : kPages) {
        SCOPED_TRACE(p.tab);
        for (const Announced &b : p.boxes)
            if (b.key) DeleteRegKey(LM, b.key);
        int opened = SimBroadcastCount();
        p.run(p.tab, [&](HWND page) {
            EXPECT_EQ(opened, SimBroadcastCount()) << "opening announces nothing";
            EXPECT_FALSE(RegKeyExists(LM, camera)) << "opening creates no key";
            for (const Announced &b : p.boxes) {
                if (b.key) {
                    EXPECT_TRUE(RegKeyExists(LM, b.key)) << b.key;
                }
                for (const char *tap : {"ticked", "cleared"}) {
                    int before = SimBroadcastCount();
                    Tap(page, b.box);
                    ExpectOneSettingsNotice(before, b.posted, tap);
                }
            }
            if (p.help) {
                int before = SimBroadcastCount();
                Tap(page, p.help);
                EXPECT_EQ(0, BroadcastsSince(before)) << "help announces nothing";
            }
        });
    }
}
