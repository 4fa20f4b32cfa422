// The Today text, and the boxes whose every tap is announced to the shell.
#include "tests/hosts/host_kit.h"

namespace {

const wchar_t kDeviceBeta[] = L"Software\\Microsoft\\Shell\\DeviceBeta";

std::wstring TodayText() { return RegTextOr(LM, kDeviceBeta, L"Today", L"missing"); }

void ExpectTextShown(HWND page, bool ticked, const std::wstring &text)
{
    EXPECT_EQ(ticked, IsTicked(page, IDC_TODAYTEXT_SHOW));
    EXPECT_EQ(text, FieldText(page, IDC_TODAYTEXT_TEXT));
}

// Each box, and whether its notice is posted to the desktop rather than sent to every window.
const struct {
    PageRunner run;
    int tab;
    std::vector<std::pair<UINT, bool>> boxes;
} kAnnouncing[] = {
    {RunTodayPage, TAB_TODAY_TEXT, {{IDC_TODAYTEXT_HIDE_BUTTONS, false}, {IDC_TODAYTEXT_HIDE_NETWORK, true},
      {IDC_TODAYTEXT_HIDE_ADMIN, true}, {IDC_TODAYTEXT_HIDE_PASSWORD, true}, {IDC_TODAYTEXT_HIDE_OWNER, true}}},
    {RunTodayPage, TAB_SETTINGS_ICONS, {{IDC_ICONS_CLEARTYPE, false}, {IDC_ICONS_HIDE_ORIENTATION, false},
      {IDC_ICONS_HIDE_ABOUT, false}, {IDC_ICONS_HIDE_CONNECTIONS, false}, {IDC_ICONS_HIDE_TODAY, false},
      {IDC_ICONS_HIDE_MENUS, false}}},
    {RunPhonePage, TAB_PHONE_APPEARANCE, {{IDC_PA_UNLIMITED_VIDEO, false}, {IDC_PA_GPRS_DISCONNECT, false},
      {IDC_PA_GSM_LED_OFF, false}}},
};

class TodayTextPageTest : public DeviceTest {};

}  // namespace

TEST_F(TodayTextPageTest, TheTodayTextIsStoredOnlyThroughItsBoxUnannouncedAndHoldsAtMost255Characters)
{
    DeleteRegKey(LM, kDeviceBeta);
    RunTodayPage(TAB_TODAY_TEXT, [](HWND page) {
        EXPECT_FALSE(RegKeyExists(LM, kDeviceBeta)) << "the text key is only opened to be read";
        ExpectTextShown(page, false, L"Rudore");
        int before = SimBroadcastCount();
        Tap(page, IDC_TODAYTEXT_SHOW);
        EXPECT_EQ(L"Rudore", TodayText());
        // Editing the field alone stores nothing; clearing the box deletes the text.
        SetField(page, IDC_TODAYTEXT_TEXT, L"Hello owner");
        EXPECT_EQ(L"Rudore", TodayText());
        Tap(page, IDC_TODAYTEXT_SHOW);
        EXPECT_FALSE(RegValueExists(LM, kDeviceBeta, L"Today"));
        Tap(page, IDC_TODAYTEXT_SHOW);
        EXPECT_EQ(L"Hello owner", TodayText());
        SetField(page, IDC_TODAYTEXT_TEXT, L"");
        Tap(page, IDC_TODAYTEXT_SHOW);
        Tap(page, IDC_TODAYTEXT_SHOW);
        EXPECT_TRUE(IsEmptyText(LM, kDeviceBeta, L"Today")) << "an empty field stores an empty text";
        SetField(page, IDC_TODAYTEXT_TEXT, std::wstring(600, L'v').c_str());
        Tap(page, IDC_TODAYTEXT_SHOW);
        Tap(page, IDC_TODAYTEXT_SHOW);
        EXPECT_EQ(std::wstring(255, L'v'), TodayText()) << "cut to what the field holds";
        EXPECT_TRUE(SettingsChangesSince(before).empty()) << "the text is not announced";
    });
    // A stored text shows ticked as long as the field holds it: 255 characters fit, 256
    // do not; an empty one counts as none too.
    for (size_t chars : {0, 256, 255}) {
        WriteRegString(LM, kDeviceBeta, L"Today", std::wstring(chars, L'w').c_str());
        RunTodayPage(TAB_TODAY_TEXT, [&](HWND page) {
            ExpectTextShown(page, chars == 255, chars == 255 ? std::wstring(255, L'w') : L"Rudore");
        });
    }
}

// Opening announces nothing; every tap, ticking or clearing, makes one notice.
TEST_F(TodayTextPageTest, EveryTapOfAnIconBoxIsAnnouncedOnce)
{
    for (const auto &p : kAnnouncing) {
        int opened = SimBroadcastCount();
        p.run(p.tab, [&](HWND page) {
            EXPECT_EQ(opened, SimBroadcastCount()) << "opening announces nothing";
            for (auto box : p.boxes) {
                SCOPED_TRACE(box.first);
                for (const char *tap : {"ticked", "cleared"}) {
                    int before = SimBroadcastCount();
                    Tap(page, box.first);
                    ExpectOneSettingsNotice(before, box.second, tap);
                }
            }
        });
    }
}
