// The Today text and settings icons page ("Settings1").
#include "tests/hosts/host_kit.h"

namespace {

const wchar_t kDeviceBeta[] = L"Software\\Microsoft\\Shell\\DeviceBeta";
struct IconCase {
    UINT box;
    const wchar_t *key;
    bool posted;     // the notice is posted to the desktop rather than broadcast
};

// In the order the page reads them; the buttons key is read before the text, the
// others after it. The admin password and password keys behave as the owner's.
const IconCase kIcons[] = {
    {IDC_TODAYTEXT_HIDE_BUTTONS, L"ControlPanel\\Buttons", false},
    {IDC_TODAYTEXT_HIDE_NETWORK, L"ControlPanel\\Network", true},
    {IDC_TODAYTEXT_HIDE_ADMIN, L"ControlPanel\\AdminPassword", true},
    {IDC_TODAYTEXT_HIDE_PASSWORD, L"ControlPanel\\Password", true},
    {IDC_TODAYTEXT_HIDE_OWNER, L"ControlPanel\\Owner", true},
};
const int kIconCount = 5;

std::wstring TodayText() { return RegTextOr(LM, kDeviceBeta, L"Today", L"missing"); }

void ExpectTextShown(HWND page, bool ticked, const std::wstring &text)
{
    EXPECT_EQ(ticked, IsTicked(page, IDC_TODAYTEXT_SHOW));
    EXPECT_EQ(text, FieldText(page, IDC_TODAYTEXT_TEXT));
}

void ExpectIconsTicked(HWND page, const bool (&ticked)[kIconCount])
{
    for (int i = 0; i < kIconCount; i++) EXPECT_EQ(ticked[i], IsTicked(page, kIcons[i].box)) << kIcons[i].key;
}

// Clear and tick again: the way to store the field once the box is ticked.
void StoreField(HWND page)
{
    Tap(page, IDC_TODAYTEXT_SHOW);
    Tap(page, IDC_TODAYTEXT_SHOW);
}

class TodayTextPageTest : public DeviceTest {};

}  // namespace

TEST_F(TodayTextPageTest, OpeningCreatesTheIconKeysAndEachIconTapIsAnnouncedOnce)
{
    for (const IconCase &icon : kIcons) DeleteRegKey(LM, icon.key);
    DeleteRegKey(LM, kDeviceBeta);
    RunTodayPage(TAB_TODAY_TEXT, [](HWND page) {
        for (const IconCase &icon : kIcons) {
            SCOPED_TRACE(icon.key);
            EXPECT_TRUE(RegKeyExists(LM, icon.key));
            // The buttons icon is sent to every window, the others posted to the desktop.
            for (const char *tap : {"ticked", "cleared"}) {
                int before = SimBroadcastCount();
                Tap(page, icon.box);
                ExpectOneSettingsNotice(before, icon.posted, tap);
            }
        }
    });
    // The Today text key is only opened to be read.
    EXPECT_FALSE(RegKeyExists(LM, kDeviceBeta));
}

TEST_F(TodayTextPageTest, TheTodayTextIsStoredOnlyThroughItsBoxAndHoldsAtMost255Characters)
{
    DeleteRegKey(LM, kDeviceBeta);
    RunTodayPage(TAB_TODAY_TEXT, [](HWND page) {
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
        // An empty field stores an empty text.
        SetField(page, IDC_TODAYTEXT_TEXT, L"");
        StoreField(page);
        EXPECT_TRUE(IsEmptyText(LM, kDeviceBeta, L"Today"));
        EXPECT_TRUE(SettingsChangesSince(before).empty()) << "the text is not announced";
    });
    // Stored empty, or too long for the field's 255 characters, it counts as none.
    for (const std::wstring &unusable : {std::wstring(), std::wstring(256, L't')}) {
        WriteRegString(LM, kDeviceBeta, L"Today", unusable.c_str());
        RunTodayPage(TAB_TODAY_TEXT, [](HWND page) { ExpectTextShown(page, false, L"Rudore"); });
    }
    const std::wstring longest(255, L'w');
    WriteRegString(LM, kDeviceBeta, L"Today", longest.c_str());
    RunTodayPage(TAB_TODAY_TEXT, [&](HWND page) {
        ExpectTextShown(page, true, longest);
        // A longer text put into the field is stored cut to what the field holds.
        SetField(page, IDC_TODAYTEXT_TEXT, std::wstring(600, L'v').c_str());
        StoreField(page);
        EXPECT_EQ(std::wstring(255, L'v'), TodayText());
    });
}

TEST_F(TodayTextPageTest, AKeyThatCannotBeOpenedStopsTheReadingOrTheWriteAndIsNotAnnounced)
{
    WriteRegString(LM, kDeviceBeta, L"Today", L"Shown");
    for (const IconCase &icon : kIcons) WriteRegDword(LM, icon.key, L"Hide", 1);
    DeleteRegValue(LM, L"ControlPanel\\AdminPassword", L"Hide");
    WriteRegDword(LM, L"ControlPanel\\Owner", L"Hide", 0);
    {
        // The admin password key comes third: the password box after it stays clear
        // although stored as 1.
        KeyLockout lockout(LM, L"ControlPanel\\AdminPassword");
        ASSERT_TRUE(lockout.locked());
        RunTodayPage(TAB_TODAY_TEXT, [](HWND page) {
            ExpectTextShown(page, true, L"Shown");
            ExpectIconsTicked(page, {true, true, false, false, false});
            // The boxes whose keys open still write.
            int before = SimBroadcastCount();
            Tap(page, IDC_TODAYTEXT_HIDE_OWNER);
            EXPECT_EQ(1u, RegDwordOr(LM, L"ControlPanel\\Owner", L"Hide", 99));
            ExpectOneSettingsNotice(before, true, "owner");
            // A box whose key cannot be opened writes nothing and announces nothing.
            before = SimBroadcastCount();
            Tap(page, IDC_TODAYTEXT_HIDE_ADMIN);
            EXPECT_EQ(before, SimBroadcastCount());
        });
    }
    EXPECT_FALSE(RegValueExists(LM, L"ControlPanel\\AdminPassword", L"Hide"));
    // Without the buttons key nothing is read, not even the text.
    KeyLockout lockout(LM, L"ControlPanel\\Buttons");
    ASSERT_TRUE(lockout.locked());
    RunTodayPage(TAB_TODAY_TEXT, [](HWND page) {
        ExpectTextShown(page, false, L"");
        EXPECT_FALSE(IsTicked(page, IDC_TODAYTEXT_HIDE_NETWORK));
    });
}
